#pragma once

#include "familia_conversion.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trovanel {

// The pieces of the direct-debit records: the fixed ones come from the parties, the others from each
// receipt's validation. They start blank at every run and carry over between the receipts of a run.
struct PiezasCSB19 {
    std::string idPresentador;     // NIF (9) and suffix (3)
    std::string nombrePresentador; // 40
    std::string idEmisor;          // NIF (9) and suffix (3)
    std::string nombreEmisor;      // 40
    std::string entidadEmisor;
    std::string oficinaEmisor;
    std::string dcEmisor;
    std::string cuentaEmisor;
    std::string fechaCreacion; // DDMMAA, today
    std::string fechaCargo;    // DDMMAA, the process date

    std::string codigoReferencia;
    std::string nombreTitularRecibo;
    std::string entidad;
    std::string oficina;
    std::string dc;
    std::string cuenta;
    std::string importe; // 10 digits, cents; empty until an amount is validated
    std::string codigoDevolucion = std::string(6, ' ');
    std::string referenciaInterna = std::string(10, ' ');
    std::string concepto1;
    std::string nombreTitularCuenta = std::string(40, ' ');
    std::string direccion = std::string(40, ' ');
    std::string localidad = std::string(35, ' ');
    std::string cp = std::string(5, ' ');
    // Concepto2 ... Concepto16 at their own numbers; 0 and 1 unused.
    std::array<std::string, 17> conceptos;
};

// Norm 19 direct-debit remittances: 162-character records 51, 53, 56-80 to 56-86, 58 and 59.
class ModuloCSB19 : public FamiliaConversion {
public:
    using FamiliaConversion::FamiliaConversion;

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    void validarCampo(std::string& valorLeido) override;
    bool aceptarOrden() override;
    bool escribirRegistros(FicheroSalida& salida) override;
    bool escribirTotales(FicheroSalida& salida) override;
    void escribirLog(EscritorLog& log) override;
    const char* mensajeFalloLog() const override;

    // Clears the optional pieces between receipts: concepts 2 to 16 and the account holder.
    void LimpiarOpcionalesCSB19();

    PiezasCSB19 piezas;
    bool gCabPresentadorPendiente = false;
    bool gCabEmisorPendiente = false;
    std::int64_t gImporteTotal = 0;
    std::int64_t gNumRegistrosIndividuales = 0;
    std::int64_t gNumRegistrosTotal = 0;
    std::string gMarcaNegativo;

private:
    // The amount piece holds a valid amount of this run. A receipt that inherits an amount (multi-line
    // templates) must not go out with one that was never read or was refused.
    bool importeValido_ = false;

    // The field names this family knows, resolved once per run instead of per line.
    enum class Campo {
        Desconocido,
        CodigoReferencia,
        NombreTitularRecibo,
        Entidad,
        Oficina,
        DC,
        Cuenta,
        Importe,
        CodigoDevolucion,
        ReferenciaInterna,
        Concepto1,
        NombreTitularCuenta,
        Direccion,
        Localidad,
        CP,
        ConceptoN,
    };
    struct CampoResuelto {
        Campo campo = Campo::Desconocido;
        int numeroConcepto = 0;
    };
    static CampoResuelto resolver(const std::string& nombre);

    void validarCP(const CampoEstructura& campo, const std::string& valor);

    std::vector<CampoResuelto> camposResueltos_;
};

// Converts one input into a norm 19 bank file.
void GenerarCSB19(EstadoEjecucion& estado, Entorno& entorno, const ParametrosConversion& parametros);

} // namespace trovanel
