#pragma once

#include "cobros.hpp"

#include <string>

namespace trovanel {

// Norm 19 adds the account holder and the debtor's address of record 56-86.
struct PiezasCSB19 : PiezasCobro {
    std::string nombreTitularCuenta = std::string(40, ' ');
    std::string direccion = std::string(40, ' ');
    std::string localidad = std::string(35, ' ');
    std::string cp = std::string(5, ' ');
};

// Norm 19 direct-debit remittances: 162-character records 51, 53, 56-80 to 56-86, 58 and 59.
class ModuloCSB19 : public ModuloCobros {
public:
    ModuloCSB19(EstadoEjecucion& estado, Entorno& entorno);

    bool cargarPartes(const ParametrosConversion& parametros) override;

    // Clears the optional pieces between receipts: concepts 2 to 16 and the account holder.
    void LimpiarOpcionalesCSB19();

    PiezasCSB19 piezas;

protected:
    void validarPropio(CampoCobro campo, const CampoEstructura& estructura,
                       std::string_view valorLeido) override;
    void escribirDomicilio(FicheroSalida& salida) override;
    void limpiarOpcionales() override { LimpiarOpcionalesCSB19(); }

private:
    void validarCP(const CampoEstructura& campo, std::string_view valor);
};

// Converts one input into a norm 19 bank file.
ResultadoConversion GenerarCSB19(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros);

} // namespace trovanel
