#pragma once

#include "familia_conversion.hpp"
#include "piezas.hpp"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace trovanel {

class RegistroFijo;

// The ordering party as the payment records print it.
struct Ordenante {
    std::string nif; // first "-" removed, 10 characters
    std::string nombre;
    PartesCuenta cuenta;
};

// What sets one payment family apart in what the base does for both.
struct RasgosPago {
    const char* falloOrdenante; // the ordering party cannot be read
};

// What the payment families share: the ordering party, the 72-character records, the header flag, the
// counters and the 64-bit total, the amount and its sign, the province of a postal code and the log
// block, which names no party. Each family adds its fields, its records and its totals record.
class ModuloPagos : public FamiliaConversion {
public:
    static constexpr std::size_t kAncho = 72;

    ModuloPagos(EstadoEjecucion& estado, Entorno& entorno, const RasgosPago& rasgos)
        : FamiliaConversion(estado, entorno), rasgos_(rasgos) {}

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    // An order whose amount was never read, or was refused, has no amount to send.
    bool aceptarOrden() override;
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
    // One piece of a record: its text, left-justified at its width.
    struct Pieza {
        std::string_view texto;
        std::size_t ancho;
    };

    // A record of the family's width, and one written with its count.
    static RegistroFijo registro();
    // Appends the pieces in their order.
    static RegistroFijo& poner(RegistroFijo& registro, std::initializer_list<Pieza> piezas);
    void escribir(FicheroSalida& salida, const RegistroFijo& registro);
    // Adds the current order's amount to the total, by its sign.
    void sumarImporte();
    // The total as the totals record prints it: a negative one as its signed text zero-filled on the
    // left. Throws, with the message the run ends with, when it does not fit its width.
    std::string textoTotal(std::size_t ancho) const;

    void validarImporte(const CampoEstructura& campo, const std::string& valorLeido);
    void validarSigno(const CampoEstructura& campo, const std::string& valorLeido);
    // Province name of a postal code, looked up once per province in a run.
    const std::string& provincia(std::string_view codigoPostal);

private:
    const RasgosPago& rasgos_;
    bool importeValido_ = false;
    // The total left 64 bits: it fits no record either.
    bool totalDesbordado_ = false;
    std::unordered_map<std::string, std::string> provincias_;
};

inline constexpr const char* kTotalNoCabe = "El importe total no cabe en el registro de totales";

} // namespace trovanel
