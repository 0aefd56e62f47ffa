#pragma once

#include "cobros.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// Norm 58 adds the due date and the debtor's address of record 56-76.
struct PiezasCSB58 : PiezasCobro {
    // Blank until read; the record writer brings each to its width.
    std::string domicilioDeudor;    // 40
    std::string localidadDeudor;    // 35
    std::string localidadOrdenante; // 38
    std::string cpDeudor;           // 5
    std::string codProvincia;       // 2
};

// Norm 58 advances on receivables: 162-character records 51, 53, 56-70 to 56-76, 58 and 59.
class ModuloCSB58 : public ModuloCobros {
public:
    ModuloCSB58(EstadoEjecucion& estado, Entorno& entorno);

    PiezasCSB58 piezas;

    bool cargarPartes(const ParametrosConversion& parametros) override;
    // Also finds the due dates' formats, once for the run.
    void iniciarEjecucion() override;
    // Text input: a credit without an account needs the debtor's address.
    bool aceptarOrden() override;
    // Counted multi-invoice text: the file's first order line opens a credit before any invoice line.
    bool primeraLineaDeOrdenAbreOrden() const override { return true; }

    // Clears the optional pieces between credits: return code, internal reference, concepts and the
    // debtor's address; the towns, postal code and province stay for the next credit.
    void LimpiarOpcionalesCSB58();

protected:
    void validarPropio(CampoCobro campo, const CampoEstructura& estructura,
                       std::string_view valorLeido) override;
    // Record 56-76, written only for a credit with a debtor's address.
    void escribirDomicilio(FicheroSalida& salida) override;
    void limpiarOpcionales() override { LimpiarOpcionalesCSB58(); }
    // The concept, the debtor's address and towns, the postal code and the province.
    PiezaSimple piezaSimplePropia(CampoCobro campo) override;

private:
    // The date format of each field of the template, by the field's place (buscarFormatoFecha()).
    std::vector<std::size_t> formatosFecha_;
};

// Converts one input into a norm 58 bank file.
ResultadoConversion GenerarCSB58(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros);

} // namespace trovanel
