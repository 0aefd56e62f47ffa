#pragma once

#include "pagos.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The pieces of the supplier-payment records: the header's dates from the run, the detail records' from
// each order's validation, carried over between the orders of a run. Each starts blank at its width.
struct PiezasZOP {
    std::string fechaCreacion; // today, AAMMDD
    std::string fechaEmision;  // the process date, AAMMDD
    // "56" transfer, "57" cheque, "59" certified payment; empty while the payment form is not known.
    std::string operacion;
    std::string claveProveedor = std::string(10, ' ');
    std::string entidad = std::string(4, ' ');
    std::string oficina = std::string(4, ' ');
    std::string dc = std::string(2, ' ');
    std::string cuenta = std::string(10, ' ');
    std::string nombre = std::string(36, ' ');
    std::string direccion = std::string(31, ' ');
    std::string numeroCalle = std::string(5, ' ');
    std::string telefono = std::string(10, ' ');
    std::string cp = std::string(5, ' ');
    std::string localidad = std::string(31, ' ');
    std::string provincia = std::string(31, ' ');
    std::string pais = std::string(2, ' ');
    std::string fax = std::string(10, ' ');
    std::string email;
    std::string fechaVto = std::string(6, ' '); // AAMMDD
    std::string numeroFactura = std::string(16, ' ');
    std::string referenciaInterna = std::string(14, ' ');
};

// Every field name the supplier-payment validator knows ("email" in lower case).
enum class CampoZOP {
    Desconocido,
    FormaPago,
    ClaveProveedor,
    CP,
    Cuenta,
    DC,
    Direccion,
    Email,
    Entidad,
    Fax,
    FechaVto,
    Importe,
    Localidad,
    NombreProveedor,
    NumeroCalle,
    NumeroFactura,
    Oficina,
    Pais,
    ReferenciaInterna,
    SignoNegativo,
    Telefono,
};
// The last code: a field added after it takes its place here, and the validator's table, indexed by the
// codes, is checked at compile time to reach it.
constexpr CampoZOP kUltimoCampoZOP = CampoZOP::Telefono;

CampoZOP campoZOP(std::string_view nombre);

// The operation of a payment-form code of the missing-data dialog: "Tipo6" transfer "56", "Tipo7" cheque
// "57", "Tipo9" certified payment "59"; empty for any other text.
std::string operacionDeCodigo(std::string_view codigo);

// How a template's format reads a due date: in one of the formats it names (its place as
// buscarFormatoFecha() gives it, kSinFormatoFecha for "DDMMAA", which is read as it stands) and turned
// round to AAMMDD, or as read when it names none.
struct FormatoVto {
    bool conFormato;
    std::size_t formato;
};
FormatoVto formatoVto(std::string_view nombre);
// A due date read in a format as AAMMDD, written into fecha.
void fechaAAMMDDEn(std::string& fecha, std::string_view texto, FormatoVto formato);

// The identifiers of cheque, transfer and certified payment in a payment-form field's template value
// ("C-T-P"), those it does not give empty.
using IdentificadoresForma = std::array<std::string_view, 3>;
IdentificadoresForma identificadoresForma(std::string_view valorcampo);

// Supplier payments: cheques, transfers and certified payments with the supplier's address, telephone,
// fax and e-mail, in 72-character records 001, 010-016, "170", 018 and the totals record.
class ModuloZOP : public ModuloPagos {
public:
    ModuloZOP(EstadoEjecucion& estado, Entorno& entorno);

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    // The payment form must be known, and a transfer needs its entity and account.
    void revisarOrden() override;
    bool escribirRegistros(FicheroSalida& salida) override;
    // The block names the supplier by its key and its name.
    void escribirLog(EscritorLog& log) override;

    PiezasZOP piezas;

protected:
    void validarCampoFamilia(const CampoEstructura& campo, int codigo, std::string_view valorLeido) override;
    int resolverCampo(std::string_view nombre) const override { return static_cast<int>(campoZOP(nombre)); }

private:
    bool esTransferencia() const { return piezas.operacion == std::string_view("56"); }
    void validarFormaPago(std::string_view valorLeido);
    void validarCP(const CampoEstructura& campo, std::string_view valor);
    void validarFechaVto(const CampoEstructura& campo, std::string_view valorLeido);
    // The fields other than plain texts, out of their way.
    [[gnu::noinline]] void validarPropio(const CampoEstructura& campo, CampoZOP tipo,
                                         std::string_view valorLeido);
    // The sign and the e-mail belong to one order: after it, written or rejected, the next order has
    // neither unless its own input gives them.
    void limpiarOrden();
    // The order's payment-form field was validated: its own message, if any, says what went wrong.
    bool formaPagoVista_ = false;
    // What the template says of a payment-form or due-date field, the same for every order.
    struct CampoZOPResuelto {
        // Payment form: blank, the dialog's operation, or the identifiers the input is compared with.
        bool formaPagoEnBlanco = false;
        std::string operacionDialogo;
        IdentificadoresForma identificadoresForma;
        // Due date: the format it is read in.
        FormatoVto formatoVto{false, 0};
    };
    // Every field of the template, resolved when the run starts, by the field's place.
    std::vector<CampoZOPResuelto> camposZOP_;
    // The province name whose piece was written last, by its address (names are kept for the run).
    const std::string* provinciaPuesta_ = nullptr;
    // The telephone and fax pieces hold numbers other than 0: records 013 and 016 are written.
    bool telefonoNoCero_ = false;
    bool faxNoCero_ = false;
};

// Converts one input into a supplier-payment bank file.
ResultadoConversion GenerarZOP(EstadoEjecucion& estado, Entorno& entorno,
                               const ParametrosConversion& parametros);

} // namespace trovanel
