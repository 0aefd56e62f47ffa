#pragma once

#include "familia_conversion.hpp"
#include "piezas.hpp"
#include "registro_fijo.hpp"
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

    // One piece of a record: its text, left-justified at its width.
    struct Pieza {
        std::string_view texto;
        std::size_t ancho;
    };

    // Appends the pieces in their order.
    static RegistroFijo& poner(RegistroFijo& registro, std::initializer_list<Pieza> piezas);
    // A record built in the bank file is finished and counted.
    void escribir(const RegistroFijo& registro);
    // A header record in the bank file: "03", "56", the party's NIF, the free zone and the record number.
    RegistroFijo registroCabecera(FicheroSalida& salida, std::string_view numero) const;
    // Header record 001: the two dates as the family writes them, the charge account, and one character
    // between account and check digits (norm 34's charge detail, blank otherwise).
    void escribirCabecera001(FicheroSalida& salida, std::string_view envio, std::string_view emision,
                             std::string_view detalleCargo);
    // A detail record of the order whose record 010 was written last, in the bank file and counted:
    // "06", the operation, the party's NIF, the beneficiary's key (12) and the number, blanks after it.
    // Its layout is fixed, so it is built with moves of known sizes; the family puts its pieces at
    // their places from the returned position 30 on.
    char* registroDetalle(FicheroSalida& salida, const char (&numero)[4]) {
        char* r = salida.reservarLinea(kAncho);
        std::memcpy(r, inicioDetalle_.data(), kInicioDetalle);
        std::memcpy(r + kInicioDetalle, numero, 3);
        std::memset(r + kDatosDetalle, ' ', kAncho - kDatosDetalle);
        ++gNumRegistrosTotal;
        return r + kDatosDetalle;
    }
    // An optional detail record of one text after the number, or two side by side: written only when
    // either is not blank. Inlined, so that the widths are constants where the records are laid out.
    [[gnu::always_inline]] void escribirOpcional(FicheroSalida& salida, const char (&numero)[4],
                                                 std::string_view texto, std::size_t ancho,
                                                 std::string_view otro = {}, std::size_t anchoOtro = 0) {
        if (!enBlanco(texto) || !enBlanco(otro)) {
            char* r = registroDetalle(salida, numero);
            ponerTexto(r, texto, ancho);
            ponerTexto(r + ancho, otro, anchoOtro);
        }
    }
    // Record 010 of the order, its first: the amount, then entity, office and account; the family puts
    // its pieces from the returned position 60 on. The order then counts in the totals.
    char* escribirRegistroImporte(FicheroSalida& salida, std::string_view operacion, std::string_view clave,
                                  const std::string* cuentaOrden[3]);
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
    // The start of the current order's detail records: "06", operation, NIF and key.
    static constexpr std::size_t kInicioDetalle = 26;
    static constexpr std::size_t kDatosDetalle = kInicioDetalle + 3;
    std::array<char, kInicioDetalle> inicioDetalle_{};
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
