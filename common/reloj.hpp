#pragma once

#include "fechas.hpp"

#include <string>

namespace trovanel {

struct FechaHora {
    int anio = 0;
    int mes = 0;
    int dia = 0;
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
};

// Today's date and time, injected so that tests pin them.
class Reloj {
public:
    virtual ~Reloj() = default;
    virtual FechaHora ahora() const = 0;
};

class RelojSistema : public Reloj {
public:
    FechaHora ahora() const override;
};

// Spanish short date and time as the log header prints them: 06/12/2026 and 10:45:33.
std::string fechaCorta(const FechaHora& f);
std::string horaLarga(const FechaHora& f);

} // namespace trovanel
