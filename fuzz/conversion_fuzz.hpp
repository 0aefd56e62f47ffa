#pragma once

// What the harnesses that run whole conversions share: silent messages, a pinned clock and the program
// database of the harness's folder with its example presenter and issuer.

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "reloj.hpp"
#include "soporte_fuzz.hpp"

#include <cstdint>
#include <string>

namespace trovanel::fuzz {

class AvisosMudos : public Avisos {
public:
    void informacion(const std::string&) override {}
    void critico(const std::string&) override {}
    void simple(const std::string&) override {}
    bool pregunta(const std::string&) override { return false; }
};

class RelojFijo : public Reloj {
public:
    FechaHora ahora() const override { return {2026, 3, 15, 10, 30, 0}; }
};

inline constexpr std::int64_t kPresentadorEjemplo = 1;
inline constexpr std::int64_t kEmisorEjemplo = 1;

inline BaseDatos crearBase(const CarpetaFuzz& carpeta) {
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    return BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
}

// Everything a norm 19 run needs, made once per process.
struct EntornoCSB19 {
    const CarpetaFuzz& carpeta = carpetaProceso();
    BaseDatos baseDatos = crearBase(carpeta);
    AvisosMudos avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    const Conversor* conversor = nullptr;

    EntornoCSB19() {
        registrarConversores(registro);
        conversor = registro.buscar(Familia::CSB19);
    }
};

} // namespace trovanel::fuzz
