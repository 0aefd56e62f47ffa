#include "cuenta_bancaria.hpp"
#include "fechas.hpp"
#include "piezas.hpp"
#include "texto.hpp"
#include "zop.hpp"

#include <algorithm>
#include <iterator>
#include <utility>

namespace trovanel {

namespace {

// How a field's piece is made from its value, by the field.
enum class Forma : char {
    Propia,      // the field's own rules
    Texto,       // trimmed and at its width, cut when longer
    TextoSiCabe, // the same, but all blanks when longer
    Numero,      // trimmed and zero-filled to its width, cut when longer
};
// A field: its name in the templates and how its piece is made.
struct PiezaCampo {
    CampoZOP campo;
    std::string_view nombre;
    Forma forma;
    std::string PiezasZOP::*pieza;
    std::size_t ancho;
};

// True when entry i of the table describes the field of code i, up to the last field: a table indexed by
// the field's code cannot drift from CampoZOP.
template <std::size_t N> constexpr bool sigueACampoZOP(const PiezaCampo (&tabla)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(tabla[i].campo) != i) {
            return false;
        }
    }
    return tabla[N - 1].campo == kUltimoCampoZOP;
}

// Every field by its code, so that its piece is found without a search; Desconocido has no name.
constexpr PiezaCampo kPiezas[] = {
    {CampoZOP::Desconocido, "", Forma::Propia, nullptr, 0},
    {CampoZOP::FormaPago, "FormaPago", Forma::Propia, nullptr, 0},
    {CampoZOP::ClaveProveedor, "ClaveProveedor", Forma::Propia, nullptr, 0},
    {CampoZOP::CP, "CP", Forma::Propia, nullptr, 0},
    {CampoZOP::Cuenta, "Cuenta", Forma::Numero, &PiezasZOP::cuenta, 10},
    {CampoZOP::DC, "DC", Forma::Numero, &PiezasZOP::dc, 2},
    {CampoZOP::Direccion, "Direccion", Forma::Texto, &PiezasZOP::direccion, 31},
    {CampoZOP::Email, "email", Forma::Texto, &PiezasZOP::email, 36},
    {CampoZOP::Entidad, "Entidad", Forma::Numero, &PiezasZOP::entidad, 4},
    {CampoZOP::Fax, "Fax", Forma::Propia, nullptr, 0},
    {CampoZOP::FechaVto, "FechaVto", Forma::Propia, nullptr, 0},
    {CampoZOP::Importe, "Importe", Forma::Propia, nullptr, 0},
    {CampoZOP::Localidad, "Localidad", Forma::Texto, &PiezasZOP::localidad, 31},
    {CampoZOP::NombreProveedor, "NombreProveedor", Forma::Texto, &PiezasZOP::nombre, 36},
    {CampoZOP::NumeroCalle, "NumeroCalle", Forma::TextoSiCabe, &PiezasZOP::numeroCalle, 5},
    {CampoZOP::NumeroFactura, "NumeroFactura", Forma::Texto, &PiezasZOP::numeroFactura, 16},
    {CampoZOP::Oficina, "Oficina", Forma::Numero, &PiezasZOP::oficina, 4},
    {CampoZOP::Pais, "Pais", Forma::TextoSiCabe, &PiezasZOP::pais, 2},
    {CampoZOP::ReferenciaInterna, "ReferenciaInterna", Forma::TextoSiCabe, &PiezasZOP::referenciaInterna, 14},
    {CampoZOP::SignoNegativo, "SignoNegativo", Forma::Propia, nullptr, 0},
    {CampoZOP::Telefono, "Telefono", Forma::Propia, nullptr, 0},
};
static_assert(sigueACampoZOP(kPiezas));

// A telephone or fax number of nine digits at least, as the records read it, written into its piece:
// false when it is no number (nothing else is one), and the piece is then the caller's to fill.
bool numeroTelefonoEn(std::string& pieza, std::string_view valor) {
    // A blank one would be all zeros: no number.
    const std::string_view numero = recortar(valor);
    if (numero.empty()) {
        return false;
    }
    conCerosEn(pieza, numero, 9);
    return esNumerico(pieza) && hayCifraSignificativa(pieza);
}

bool esFechaAAMMDD(std::string_view fecha) {
    const char ddmmaa[] = {fecha.size() == 6 ? fecha[4] : ' ', fecha.size() == 6 ? fecha[5] : ' ',
                           fecha.size() == 6 ? fecha[2] : ' ', fecha.size() == 6 ? fecha[3] : ' ',
                           fecha.size() == 6 ? fecha[0] : ' ', fecha.size() == 6 ? fecha[1] : ' '};
    return fecha.size() == 6 && esFechaDDMMAA(std::string_view(ddmmaa, 6));
}

} // namespace

CampoZOP campoZOP(std::string_view nombre) {
    const auto* encontrado = std::find_if(std::next(std::begin(kPiezas)), std::end(kPiezas),
                                          [nombre](const PiezaCampo& p) { return p.nombre == nombre; });
    return encontrado == std::end(kPiezas) ? CampoZOP::Desconocido : encontrado->campo;
}

IdentificadoresForma identificadoresForma(std::string_view valorcampo) {
    // Cheque, transfer and certified payment, joined by "-"; those missing stay empty.
    IdentificadoresForma identificadores;
    std::string_view resto = valorcampo;
    for (std::string_view& identificador : identificadores) {
        const std::size_t guion = resto.find('-');
        identificador = resto.substr(0, guion);
        if (guion == std::string_view::npos) {
            break;
        }
        resto.remove_prefix(guion + 1);
    }
    return identificadores;
}

void ModuloZOP::validarFormaPago(std::string_view valorLeido) {
    formaPagoVista_ = true;
    // What the template's value says is the same for every order: read once per run for its field.
    const CampoZOPResuelto& forma = camposZOP_[campoResuelto(camposZOP_.size())];
    if (forma.formaPagoEnBlanco) {
        anotarError("Error : No se puede determinar la forma de pago");
        return;
    }
    // A form chosen in the dialog, whatever the input holds.
    if (!forma.operacionDialogo.empty()) {
        piezas.operacion = forma.operacionDialogo;
        return;
    }
    // The identifiers compared exactly: an empty or missing one never matches, so an empty input is no
    // payment form.
    static constexpr std::string_view kOperaciones[] = {"57", "56", "59"};
    const IdentificadoresForma& identificadores = forma.identificadoresForma;
    for (std::size_t i = 0; i < identificadores.size(); ++i) {
        if (!identificadores[i].empty() && valorLeido == identificadores[i]) {
            if (piezas.operacion != kOperaciones[i]) {
                piezas.operacion.assign(kOperaciones[i]);
            }
            return;
        }
    }
    anotarError("Error : La forma de pago es incorrecta");
}

void ModuloZOP::validarCP(const CampoEstructura& campo, std::string_view valor) {
    // A table hands "" for a postal code it has no column for: that is no postal code to refuse.
    if (valor.empty() && !enLaEntrada(campo)) {
        return;
    }
    conCerosAjustadoEn(piezas.cp, valor, 5);
    const std::string& nombre = provincia(piezas.cp);
    // Consecutive orders mostly share their province: its piece is written only when it changes.
    if (&nombre != provinciaPuesta_) {
        rellenarEn(piezas.provincia, nombre, 31);
        provinciaPuesta_ = &nombre;
    }
    if (nombre.empty()) {
        anotarError("Error : CP erroneo");
    }
}

void ModuloZOP::validarFechaVto(const CampoEstructura& campo, std::string_view valorLeido) {
    std::string& fecha = piezas.fechaVto;
    // A blank date is no date: it stays blank rather than becoming zeros of a format.
    if (enLaEntrada(campo) && !enBlanco(valorLeido)) {
        fechaAAMMDDEn(fecha, valorLeido, camposZOP_[campoResuelto(camposZOP_.size())].formatoVto);
    } else {
        fecha.clear();
    }
    if (campo.obligatorio) {
        if (!estado.gFechaDatos.empty()) {
            fecha = estado.gFechaDatos;
        }
        if (!esFechaAAMMDD(fecha)) {
            anotarError("Error : Fecha de vto incorrecta");
        }
    }
}

void ModuloZOP::validarCampoFamilia(const CampoEstructura& campo, int codigo, std::string_view valorLeido) {
    // The plain texts go straight to their piece, which trims the value itself; the others, with more
    // to do, are kept out of their way.
    const PiezaCampo& forma = kPiezas[static_cast<std::size_t>(codigo)];
    if (forma.forma == Forma::Texto) {
        rellenarEn(piezas.*forma.pieza, valorLeido, forma.ancho);
        return;
    }
    validarPropio(campo, static_cast<CampoZOP>(codigo), valorLeido);
}

void ModuloZOP::validarPropio(const CampoEstructura& campo, CampoZOP tipo, std::string_view valorLeido) {
    PiezasZOP& p = piezas;
    const PiezaCampo& forma = kPiezas[static_cast<std::size_t>(tipo)];
    switch (forma.forma) {
    case Forma::TextoSiCabe: {
        const std::string_view valor = recortar(valorLeido);
        rellenarEn(p.*forma.pieza, valor.size() <= forma.ancho ? valor : std::string_view(), forma.ancho);
        return;
    }
    case Forma::Numero:
        conCerosAjustadoEn(p.*forma.pieza, valorLeido, forma.ancho);
        // Only a transfer needs an account to pay into.
        if (tipo == CampoZOP::Entidad && esTransferencia() &&
            !(soloDigitos(p.entidad) && hayCifraSignificativa(p.entidad))) {
            anotarError("Error : Número de entidad erroneo");
        }
        if (tipo == CampoZOP::Cuenta && esTransferencia() && !numeroNoCero(p.cuenta)) {
            anotarError("Error : Número de cuenta erroneo");
        }
        // Zero-filled, a blank or a lone digit is two digits already: letters are left.
        if (tipo == CampoZOP::DC && !digitosControlValidos(p.dc, false)) {
            anotarError("Error : DC incorrecto");
        }
        return;
    case Forma::Texto:
    case Forma::Propia:
        break;
    }
    switch (tipo) {
    case CampoZOP::FormaPago:
        validarFormaPago(valorLeido);
        break;
    case CampoZOP::ClaveProveedor: {
        // Cut to its width before the "-" goes, as the supplier's key always was.
        const std::string_view clave = !enLaEntrada(campo) && !enBlanco(campo.valorcampo)
                                           ? recortar(campo.valorcampo)
                                           : recortar(valorLeido);
        rellenarEn(p.claveProveedor, sinPrimerGuion(clave.substr(0, 10)), 10);
        break;
    }
    case CampoZOP::CP:
        validarCP(campo, recortar(valorLeido));
        break;
    case CampoZOP::FechaVto:
        validarFechaVto(campo, valorLeido);
        break;
    case CampoZOP::Telefono:
        // Ten characters: nine digits and a blank, or the first ten of a longer number. A number's first
        // ten are a number too, so only its digits tell whether record 013 is written.
        if (numeroTelefonoEn(p.telefono, valorLeido)) {
            p.telefono.resize(10, ' ');
            telefonoNoCero_ = hayCifraSignificativa(p.telefono);
        } else {
            p.telefono.assign(10, '0');
            telefonoNoCero_ = false;
        }
        break;
    case CampoZOP::Fax:
        // Nine digits and a blank, even for a longer number.
        if (numeroTelefonoEn(p.fax, valorLeido)) {
            p.fax.resize(9);
            p.fax.push_back(' ');
            faxNoCero_ = hayCifraSignificativa(p.fax);
        } else {
            p.fax.assign("000000000 ");
            faxNoCero_ = false;
        }
        break;
    default:
        break;
    }
}

} // namespace trovanel
