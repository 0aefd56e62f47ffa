#pragma once

#include "familia_conversion.hpp"
#include "registro_dispuesto.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The pieces both collection norms print: the fixed ones come from the parties, the others from each
// order's validation, carried over between the orders of a run.
struct PiezasCobro {
    std::string idPresentador;     // NIF (9) and suffix (3)
    std::string nombrePresentador; // 40
    std::string idEmisor;          // NIF (9) and suffix (3)
    std::string nombreEmisor;      // 40
    std::string entidadEmisor;
    std::string oficinaEmisor;
    std::string dcEmisor;
    std::string cuentaEmisor;
    std::string fechaCreacion; // DDMMAA, today
    std::string fechaCargo;    // DDMMAA of the process date; blank where the norm has none

    std::string codigoReferencia;
    std::string nombreTitular;
    std::string entidad;
    std::string oficina;
    std::string dc;
    std::string cuenta;
    std::string importe; // 10 digits, cents; empty until an amount is validated
    std::string codigoDevolucion = std::string(6, ' ');
    std::string referenciaInterna = std::string(10, ' ');
    std::string concepto1;
    std::string fechaVto; // DDMMAA; blank in the norms without due dates
    // Concepto2 ... Concepto16 at their own numbers; 0 and 1 unused.
    std::array<std::string, 17> conceptos;
};

// Every field name of both norms; each norm names the ones it knows.
enum class CampoCobro {
    Desconocido,
    CodigoReferencia,
    NombreTitular,
    Entidad,
    Oficina,
    DC,
    Cuenta,
    Importe,
    CodigoDevolucion,
    ReferenciaInterna,
    Concepto1,
    ConceptoN,
    NombreTitularCuenta,
    Direccion,
    Localidad,
    CP,
    FechaVto,
    DomicilioDeudor,
    LocalidadDeudor,
    LocalidadOrdenante,
    CPDeudor,
    CodProvincia,
    // Not a name: a field resolved to a piece every order fills alike (ModuloCobros::PiezaSimple).
    Simple,
};

struct NombreCampoCobro {
    std::string_view texto;
    CampoCobro campo;
};

// What sets one collection norm apart in the records and messages the two share.
struct RasgosCobro {
    const char* codigoDatos;   // data code of records 51 to 59: "80", "70"
    const char* procedimiento; // record 53
    const char* colaCabecera;  // last 14 characters of record 53
    const char* falloEmisor;   // the issuer cannot be read
    const char* sinTitular;    // the holder's name is blank
    // The names of this norm's own fields; the shared ones are known to every norm.
    std::span<const NombreCampoCobro> nombres;
};

extern const RasgosCobro kRasgosCSB19;
extern const RasgosCobro kRasgosCSB58;

// What norms 19 and 58 share: the parties, the headers and totals, the credit record up to its first
// concept, the concept records, the amount and total checks and the log block. Each norm adds its own
// fields, the tail of its credit record and its address record.
class ModuloCobros : public FamiliaConversion {
public:
    // piezas: the norm's own pieces, of which the shared ones are part.
    ModuloCobros(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion, const RasgosCobro& rasgos,
                 PiezasCobro& piezas)
        : FamiliaConversion(estadoEjecucion, entornoEjecucion), rasgos_(rasgos), comunes_(piezas) {}

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    void validarPieza(std::string_view valorLeido) override;
    bool aceptarOrden() override;
    bool escribirRegistros(FicheroSalida& salida) override;
    bool escribirTotales(FicheroSalida& salida) override;
    void escribirLog(EscritorLog& log) override;
    const char* mensajeFalloLog() const override;

    bool gCabPresentadorPendiente = false;
    bool gCabEmisorPendiente = false;
    std::int64_t gImporteTotal = 0;
    std::int64_t gNumRegistrosIndividuales = 0;
    std::int64_t gNumRegistrosTotal = 0;
    std::string gMarcaNegativo;

protected:
    // A piece every order fills alike, with no check of its own: the value padded with blanks to its
    // width, or its first characters zero-filled to it.
    struct PiezaSimple {
        enum class Relleno : std::uint8_t { Blancos, Ceros };
        std::string* pieza = nullptr; // null: the field has validators of its own
        std::uint32_t ancho = 0;
        Relleno relleno = Relleno::Blancos;
    };
    struct CampoResuelto {
        CampoCobro campo = CampoCobro::Desconocido;
        // ConceptoN: the concept's number; Simple: the piece's place among the run's simple pieces.
        int numeroConcepto = 0;
    };

    // The norm's own field when it is a simple piece; none by default.
    virtual PiezaSimple piezaSimplePropia(CampoCobro /*campo*/) { return {}; }

    // A field of this norm only.
    virtual void validarPropio(CampoCobro campo, const CampoEstructura& estructura,
                               std::string_view valorLeido) = 0;
    // The address record, when the order has one.
    virtual void escribirDomicilio(FicheroSalida& salida) = 0;
    // Clears the optional pieces between orders.
    virtual void limpiarOpcionales() = 0;

    // Every record of both norms is 162 characters long.
    static constexpr std::size_t kAnchoRegistro = 162;

    // A record 56 of the order laid out by Tramos, built in the bank file and counted among its records:
    // its data code ends in the digit, and the issuer and the order's reference follow. Every table of a
    // record 56 starts with those pieces. Inline: every order writes two or more.
    template <const auto& Tramos>
    RegistroDispuesto<Tramos> registroOrden(FicheroSalida& salida, char digito) {
        using Pieza = typename RegistroDispuesto<Tramos>::Pieza;
        static_assert(RegistroDispuesto<Tramos>::kAncho == kAnchoRegistro);
        RegistroDispuesto<Tramos> registro(salida);
        const char datos[] = {rasgos_.codigoDatos[0], digito};
        registro.template texto<Pieza::Registro>("56")
            .template texto<Pieza::Datos>({datos, 2})
            .template texto<Pieza::Emisor>(comunes_.idEmisor)
            .template texto<Pieza::Referencia>(comunes_.codigoReferencia);
        ++gNumRegistrosTotal;
        return registro;
    }

    // Empties concepts 2 to 16.
    void limpiarConceptos();

    // The value padded to its width, else the default, else the error.
    void textoConDefecto(std::string& pieza, std::string_view valor, const std::string& defecto,
                         std::size_t ancho, const char* error);

    // The field's name as this norm knows it; a simple piece as CampoCobro::Simple.
    CampoResuelto resolver(const std::string& nombre);

private:
    CampoResuelto resolverNombre(const std::string& nombre) const;
    PiezaSimple piezaSimple(CampoCobro campo);
    static void ponerSimple(const PiezaSimple& simple, std::string_view valor);
    void validarImporte(std::string_view valorLeido);

    const RasgosCobro& rasgos_;
    PiezasCobro& comunes_;
    // The amount piece holds a valid amount of this run. An order that inherits an amount (multi-line
    // templates) must not go out with one that was never read or was refused.
    bool importeValido_ = false;
    // A concept 2 to 16 was read since they were last emptied.
    bool hayConceptos_ = false;
    // The amount piece's value in cents.
    std::int64_t importeCentimos_ = 0;
    // The field names this norm knows, resolved when the run starts for every field of its template,
    // by the field's place.
    std::vector<CampoResuelto> camposResueltos_;
    // The simple pieces of the fields resolved to CampoCobro::Simple.
    std::vector<PiezaSimple> simples_;
};

} // namespace trovanel
