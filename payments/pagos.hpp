#pragma once

#include "familia_conversion.hpp"
#include "piezas.hpp"
#include "registro_dispuesto.hpp"
#include "texto.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace trovanel {

// The 72-character records both payment families share, as the norms lay them out: each piece, where it
// starts, its width; one piece a line.
// clang-format off
// Header records 002 to 004: one datum of the ordering party.
enum class CabeceraDato { Registro, Datos, Ordenante, Libre1, Numero, Dato, Libre2 };
constexpr Tramo<CabeceraDato> kCabeceraDato[] = {
    {CabeceraDato::Registro, 0, 2},
    {CabeceraDato::Datos, 2, 2},
    {CabeceraDato::Ordenante, 4, 10},
    {CabeceraDato::Libre1, 14, 12},
    {CabeceraDato::Numero, 26, 3},
    {CabeceraDato::Dato, 29, 36},
    {CabeceraDato::Libre2, 65, 7},
};
static_assert(llenaRegistro(kCabeceraDato, 72));

// The start every detail record of an order shares, built once per order: "06", the operation, the
// ordering party's NIF and the beneficiary's key. The record's number follows it.
enum class InicioDetalle { Registro, Operacion, Ordenante, Clave };
constexpr Tramo<InicioDetalle> kInicioDetalle[] = {
    {InicioDetalle::Registro, 0, 2},
    {InicioDetalle::Operacion, 2, 2},
    {InicioDetalle::Ordenante, 4, 10},
    {InicioDetalle::Clave, 14, 12},
};
static_assert(llenaRegistro(kInicioDetalle, 26));

// A detail record of one text, or of two side by side, of the widths the record's number has.
enum class DetalleTexto { Inicio, Numero, Texto, Libre };
template <std::size_t Ancho>
constexpr Tramo<DetalleTexto> kDetalleTexto[] = {
    {DetalleTexto::Inicio, 0, 26},
    {DetalleTexto::Numero, 26, 3},
    {DetalleTexto::Texto, 29, Ancho},
    {DetalleTexto::Libre, 29 + Ancho, 43 - Ancho},
};
enum class DetalleDosTextos { Inicio, Numero, Primero, Segundo, Libre };
template <std::size_t Ancho, std::size_t AnchoOtro>
constexpr Tramo<DetalleDosTextos> kDetalleDosTextos[] = {
    {DetalleDosTextos::Inicio, 0, 26},
    {DetalleDosTextos::Numero, 26, 3},
    {DetalleDosTextos::Primero, 29, Ancho},
    {DetalleDosTextos::Segundo, 29 + Ancho, AnchoOtro},
    {DetalleDosTextos::Libre, 29 + Ancho + AnchoOtro, 43 - Ancho - AnchoOtro},
};
// clang-format on

// The ordering party as the payment records print it.
struct Ordenante {
    std::string nif; // 10 characters
    std::string nombre;
    PartesCuenta cuenta;
};

// What sets one payment family apart in what the base does for both.
struct RasgosPago {
    const char* falloOrdenante; // the ordering party cannot be read
    bool nifConGuion;           // the party's NIF goes out with its "-"
    bool totalesSeCuentan;      // the totals record counts itself among the records
    std::int64_t importeMaximo; // the largest amount in cents an order may carry
};

// What the payment families share: the ordering party, the 72-character records, the header flag, the
// counters and the 64-bit total, the amount and its sign, the province of a postal code and the log
// block, which names no party. Each family adds its fields, its records and its totals record.
class ModuloPagos : public FamiliaConversion {
public:
    static constexpr std::size_t kAncho = 72;

    ModuloPagos(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion, const RasgosPago& rasgos)
        : FamiliaConversion(estadoEjecucion, entornoEjecucion), rasgos_(rasgos) {}

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    // The amount and its sign are validated alike in every payment family; the other fields by the family.
    void validarPieza(std::string_view valorLeido) final;
    // An order whose amount was never read, or was refused, has no amount to send.
    bool aceptarOrden() override;
    // The totals record: "08", the sum, the orders and the records written.
    bool escribirTotales(FicheroSalida& salida) override;
    void escribirLog(EscritorLog& log) override;
    const char* mensajeFalloLog() const override;
    // Payments validate a cell's text without its surrounding blanks.
    bool recortaCeldas() const override { return true; }

    Ordenante ordenante;
    bool gCabeceraPendiente = false;
    std::int64_t gNumRegistrosTotal = 0;
    std::int64_t gNumRegistrosIndividuales = 0;
    std::int64_t gImporteTotal = 0;
    // The template has a sign field that the input does not carry: the sign is a marker in the amount.
    bool gSignoEnImporte = false;
    std::string gMarcaNegativo;

    // The order's amount (12 digits of cents, empty until read) and sign ("-" or blank).
    std::string importe;
    std::string signo = " ";

protected:
    // The family's code of a template field name, compared exactly; 0 for a name it does not know.
    virtual int resolverCampo(std::string_view nombre) const = 0;
    // The field the input carries: a position in a text line, or a column of a sheet or a table.
    static bool enLaEntrada(const CampoEstructura& campo) {
        return colocado(campo) || !campo.valorlinea.empty();
    }
    // A piece that reads as a number other than 0.
    static bool numeroNoCero(std::string_view pieza);

    // A header record laid out by Tramos, in the bank file and counted: "03", "56", the party's NIF and
    // the record's number; the family puts the data.
    template <const auto& Tramos>
    RegistroDispuesto<Tramos> registroCabecera(FicheroSalida& salida, std::string_view numero) {
        using P = typename RegistroDispuesto<Tramos>::Pieza;
        static_assert(RegistroDispuesto<Tramos>::kAncho == kAncho);
        RegistroDispuesto<Tramos> registro(salida);
        registro.template texto<P::Registro>("03")
            .template texto<P::Datos>("56")
            .template texto<P::Ordenante>(ordenante.nif)
            .template texto<P::Numero>(numero);
        ++gNumRegistrosTotal;
        return registro;
    }
    // Header record 001: the two dates as the family writes them, the charge account, and one character
    // between account and check digits (norm 34's charge detail, blank otherwise).
    void escribirCabecera001(FicheroSalida& salida, std::string_view envio, std::string_view emision,
                             std::string_view detalleCargo);
    // A detail record laid out by Tramos of the order whose record 010 was written last, in the bank
    // file and counted: the order's start and the record's number; the family puts the data. Inline:
    // every order writes two or more.
    template <const auto& Tramos>
    RegistroDispuesto<Tramos> registroDetalle(FicheroSalida& salida, const char (&numero)[4]) {
        using P = typename RegistroDispuesto<Tramos>::Pieza;
        static_assert(RegistroDispuesto<Tramos>::kAncho == kAncho);
        static_assert(Tramos[static_cast<std::size_t>(P::Inicio)].ancho == kInicioDetalleAncho);
        RegistroDispuesto<Tramos> registro(salida);
        registro.template texto<P::Inicio>({inicioDetalle_.data(), kInicioDetalleAncho})
            .template texto<P::Numero>({numero, 3});
        ++gNumRegistrosTotal;
        return registro;
    }
    // An optional detail record of one text, or of two side by side, written only when either is not
    // blank. Inlined, so that the widths are constants where the records are laid out.
    template <std::size_t Ancho>
    [[gnu::always_inline]] void escribirOpcional(FicheroSalida& salida, const char (&numero)[4],
                                                 std::string_view texto) {
        if (!enBlanco(texto)) {
            registroDetalle<kDetalleTexto<Ancho>>(salida, numero).template texto<DetalleTexto::Texto>(texto);
        }
    }
    template <std::size_t Ancho, std::size_t AnchoOtro>
    [[gnu::always_inline]] void escribirOpcional(FicheroSalida& salida, const char (&numero)[4],
                                                 std::string_view texto, std::string_view otro) {
        if (!enBlanco(texto) || !enBlanco(otro)) {
            using P = DetalleDosTextos;
            registroDetalle<kDetalleDosTextos<Ancho, AnchoOtro>>(salida, numero)
                .template texto<P::Primero>(texto)
                .template texto<P::Segundo>(otro);
        }
    }
    // Record 010 of the order laid out by Tramos, its first: the amount, then entity, office and
    // account; the family puts its own pieces. The order then counts in the totals.
    template <const auto& Tramos>
    RegistroDispuesto<Tramos> escribirRegistroImporte(FicheroSalida& salida, std::string_view operacion,
                                                      std::string_view clave,
                                                      const std::string* cuentaOrden[3]) {
        using P = typename RegistroDispuesto<Tramos>::Pieza;
        empezarOrden(operacion, clave);
        RegistroDispuesto<Tramos> registro = registroDetalle<Tramos>(salida, "010");
        registro.template ceros<P::Importe>(importe)
            .template texto<P::Entidad>(*cuentaOrden[0])
            .template texto<P::Oficina>(*cuentaOrden[1])
            .template texto<P::Cuenta>(*cuentaOrden[2]);
        return registro;
    }
    // The total as the totals record prints it: a negative one as its signed text zero-filled on the
    // left. Throws, with the message the run ends with, when it does not fit its width.
    std::string textoTotal(std::size_t ancho) const;

    // One field of the family's own: its template row, its code and the value read, which each field
    // trims as far as it needs to.
    virtual void validarCampoFamilia(const CampoEstructura& campo, int codigo,
                                     std::string_view valorLeido) = 0;
    // The text without its first "-": when it has one, in a buffer of the module's, kept from one
    // order to the next and valid until the next call.
    std::string_view sinPrimerGuion(std::string_view texto);
    // Province name of a postal code, looked up once per province in a run.
    const std::string& provincia(std::string_view codigoPostal);

private:
    // The start of the order's detail records, and the order counted in the totals.
    void empezarOrden(std::string_view operacion, std::string_view clave);
    // Adds the current order's amount to the total, by its sign.
    void sumarImporte();
    void validarImporte(const CampoEstructura& campo, std::string_view valorLeido);
    void validarSigno(const CampoEstructura& campo, std::string_view valorLeido);

    const RasgosPago& rasgos_;
    enum class CampoComun : char { Otro, Importe, Signo };
    // A template field as resolved when the run starts: the family's code and the shared kind.
    struct CampoResuelto {
        int codigo;
        CampoComun comun;
    };
    CampoResuelto resolver(const CampoEstructura& campo) const;
    // validarPieza() of the amount and the sign.
    [[gnu::noinline]] void validarPiezaComun(const CampoEstructura& campo, CampoComun comun,
                                             std::string_view valorLeido);
    // Every field of the template, resolved when the run starts, by the field's place.
    std::vector<CampoResuelto> camposResueltos_;
    bool importeValido_ = false;
    // The amount piece's value in cents, kept for the totals.
    std::int64_t importeCentimos_ = 0;
    // The total left 64 bits: it fits no record either.
    bool totalDesbordado_ = false;
    std::unordered_map<std::string, std::string> provincias_;
    std::array<std::string, 100> provinciaPorNumero_;
    std::array<bool, 100> provinciaLeida_{};
    // The start of the current order's detail records.
    static constexpr std::size_t kInicioDetalleAncho = RegistroDispuesto<kInicioDetalle>::kAncho;
    std::array<char, kInicioDetalleAncho> inicioDetalle_{};
    // sinPrimerGuion()'s text.
    std::string sinGuion_;
};

inline constexpr const char* kTotalNoCabe = "El importe total no cabe en el registro de totales";

// The field a name selects in a family's table of names, the enumeration's first value for none.
template <typename Campo, std::size_t N>
Campo campoPorNombre(std::string_view nombre, const std::pair<std::string_view, Campo> (&nombres)[N]) {
    for (const auto& [texto, campo] : nombres) {
        if (nombre == texto) {
            return campo;
        }
    }
    return Campo{};
}

// A field whose piece is its value trimmed at a width, found in a family's table by the field.
template <typename Campo, typename Piezas> struct PiezaSimple {
    Campo campo;
    std::string Piezas::*pieza;
    std::size_t ancho;
};

template <typename Campo, typename Piezas, std::size_t N>
const PiezaSimple<Campo, Piezas>* buscarPieza(Campo campo, const PiezaSimple<Campo, Piezas> (&tabla)[N]) {
    for (const auto& entrada : tabla) {
        if (entrada.campo == campo) {
            return &entrada;
        }
    }
    return nullptr;
}

// A payment family's run: the engine's steps, and a total that does not fit ends the run with its
// message and no bank file.
ResultadoConversion ejecutarConversionPagos(ModuloPagos& modulo, const ParametrosConversion& parametros);

} // namespace trovanel
