#include "fechas.hpp"
#include "piezas.hpp"
#include "texto.hpp"
#include "zop.hpp"

#include <utility>

namespace trovanel {

namespace {

// The plain texts: trimmed and at their width; a blanked one that does not fit becomes all blanks.
struct TextoZOP {
    CampoZOP campo;
    std::string PiezasZOP::*pieza;
    std::size_t ancho;
    bool enBlancoSiNoCabe;
};
constexpr TextoZOP kTextos[] = {
    {CampoZOP::Direccion, &PiezasZOP::direccion, 31, false},
    {CampoZOP::Email, &PiezasZOP::email, 36, false},
    {CampoZOP::Localidad, &PiezasZOP::localidad, 31, false},
    {CampoZOP::NombreProveedor, &PiezasZOP::nombre, 36, false},
    {CampoZOP::NumeroFactura, &PiezasZOP::numeroFactura, 16, false},
    {CampoZOP::NumeroCalle, &PiezasZOP::numeroCalle, 5, true},
    {CampoZOP::Pais, &PiezasZOP::pais, 2, true},
    {CampoZOP::ReferenciaInterna, &PiezasZOP::referenciaInterna, 14, true},
};

// The numbers, trimmed and zero-filled to their width, cut when longer.
struct NumeroZOP {
    CampoZOP campo;
    std::string PiezasZOP::*pieza;
    std::size_t ancho;
};
constexpr NumeroZOP kNumeros[] = {
    {CampoZOP::Entidad, &PiezasZOP::entidad, 4},
    {CampoZOP::Oficina, &PiezasZOP::oficina, 4},
    {CampoZOP::DC, &PiezasZOP::dc, 2},
    {CampoZOP::Cuenta, &PiezasZOP::cuenta, 10},
};

// A telephone or fax number of nine digits at least, as the records read it: nothing else is a number.
std::string numeroTelefono(std::string_view valor) {
    const std::string numero = conCeros(valor, 9);
    return esNumerico(numero) && !esValorCero(numero) ? numero : std::string();
}

bool esFechaAAMMDD(std::string_view fecha) {
    return fecha.size() == 6 && esFechaDDMMAA(Mid(fecha, 5, 2) + Mid(fecha, 3, 2) + Mid(fecha, 1, 2));
}

} // namespace

CampoZOP campoZOP(std::string_view nombre) {
    using C = CampoZOP;
    static constexpr std::pair<std::string_view, CampoZOP> kNombres[] = {
        {"FormaPago", C::FormaPago},
        {"ClaveProveedor", C::ClaveProveedor},
        {"CP", C::CP},
        {"Cuenta", C::Cuenta},
        {"DC", C::DC},
        {"Direccion", C::Direccion},
        {"email", C::Email},
        {"Entidad", C::Entidad},
        {"Fax", C::Fax},
        {"FechaVto", C::FechaVto},
        {"Importe", C::Importe},
        {"Localidad", C::Localidad},
        {"NombreProveedor", C::NombreProveedor},
        {"NumeroCalle", C::NumeroCalle},
        {"NumeroFactura", C::NumeroFactura},
        {"Oficina", C::Oficina},
        {"Pais", C::Pais},
        {"ReferenciaInterna", C::ReferenciaInterna},
        {"SignoNegativo", C::SignoNegativo},
        {"Telefono", C::Telefono},
    };
    return campoPorNombre(nombre, kNombres);
}

void ModuloZOP::validarFormaPago(const CampoEstructura& campo, const std::string& valorLeido) {
    formaPagoVista_ = true;
    if (enBlanco(campo.valorcampo)) {
        anotarError("Error : No se puede determinar la forma de pago");
        return;
    }
    // A form chosen in the dialog, whatever the input holds.
    if (std::string operacion = operacionDeCodigo(campo.valorcampo); !operacion.empty()) {
        piezas.operacion = std::move(operacion);
        return;
    }
    // The identifiers of cheque, transfer and certified payment, joined by "-", compared exactly: an
    // empty or missing one never matches, so an empty input is no payment form.
    static constexpr const char* kOperaciones[] = {"57", "56", "59"};
    std::string_view resto = campo.valorcampo;
    for (const char* operacion : kOperaciones) {
        const std::size_t guion = resto.find('-');
        const std::string_view identificador = resto.substr(0, guion);
        if (!identificador.empty() && valorLeido == identificador) {
            piezas.operacion = operacion;
            return;
        }
        if (guion == std::string_view::npos) {
            break;
        }
        resto.remove_prefix(guion + 1);
    }
    anotarError("Error : La forma de pago es incorrecta");
}

void ModuloZOP::validarCP(const CampoEstructura& campo, std::string_view valor) {
    // A table hands "" for a postal code it has no column for: that is no postal code to refuse.
    if (valor.empty() && !enLaEntrada(campo)) {
        return;
    }
    piezas.cp = conCerosAjustado(valor, 5);
    const std::string& nombre = provincia(piezas.cp);
    piezas.provincia = rellenar(nombre, 31);
    if (nombre.empty()) {
        anotarError("Error : CP erroneo");
    }
}

void ModuloZOP::validarFechaVto(const CampoEstructura& campo, const std::string& valorLeido) {
    std::string& fecha = piezas.fechaVto;
    // A blank date is no date: it stays blank rather than becoming zeros of a format.
    fecha = enLaEntrada(campo) && !enBlanco(valorLeido) ? fechaAAMMDD(valorLeido, campo.valorcampo)
                                                        : std::string();
    if (campo.obligatorio) {
        if (!estado.gFechaDatos.empty()) {
            fecha = estado.gFechaDatos;
        }
        if (!esFechaAAMMDD(fecha)) {
            anotarError("Error : Fecha de vto incorrecta");
        }
    }
}

void ModuloZOP::validarCampo(std::string& valorLeido) {
    const CampoEstructura& campo = estado.gCamposEstructura.at(lectura.gIndiceCampo);
    const auto tipo = static_cast<CampoZOP>(codigoCampo());
    const std::string_view valor = recortar(valorLeido);
    PiezasZOP& p = piezas;

    switch (tipo) {
    case CampoZOP::FormaPago:
        validarFormaPago(campo, valorLeido);
        break;
    case CampoZOP::ClaveProveedor: {
        // Cut to its width before the "-" goes, as the supplier's key always was.
        std::string clave =
            Left(!enLaEntrada(campo) && !enBlanco(campo.valorcampo) ? recortar(campo.valorcampo) : valor, 10);
        if (const auto guion = clave.find('-'); guion != std::string::npos) {
            clave.erase(guion, 1);
        }
        p.claveProveedor = rellenar(clave, 10);
        break;
    }
    case CampoZOP::CP:
        validarCP(campo, valor);
        break;
    case CampoZOP::Importe:
        validarImporte(campo, valorLeido);
        break;
    case CampoZOP::SignoNegativo:
        validarSigno(campo, valorLeido);
        break;
    case CampoZOP::FechaVto:
        validarFechaVto(campo, valorLeido);
        break;
    case CampoZOP::Telefono: {
        // Ten characters: nine digits and a blank, or the first ten of a longer number.
        const std::string numero = numeroTelefono(valor);
        p.telefono = numero.empty() ? std::string(10, '0') : rellenarBlancos(Left(numero, 10), 10);
        break;
    }
    case CampoZOP::Fax: {
        // Nine digits and a blank, even for a longer number.
        const std::string numero = numeroTelefono(valor);
        p.fax = rellenarBlancos(numero.empty() ? "000000000" : Left(numero, 9), 10);
        break;
    }
    default:
        for (const NumeroZOP& numero : kNumeros) {
            if (numero.campo == tipo) {
                p.*numero.pieza = conCerosAjustado(valor, numero.ancho);
            }
        }
        for (const TextoZOP& texto : kTextos) {
            if (texto.campo == tipo) {
                const bool cabe = valor.size() <= texto.ancho || !texto.enBlancoSiNoCabe;
                p.*texto.pieza = rellenar(cabe ? valor : std::string_view(), texto.ancho);
            }
        }
        // Only a transfer needs an account to pay into.
        if (tipo == CampoZOP::Entidad && p.operacion == "56" &&
            !(soloDigitos(p.entidad) && !esValorCero(p.entidad))) {
            anotarError("Error : Número de entidad erroneo");
        }
        if (tipo == CampoZOP::Cuenta && p.operacion == "56" && !numeroNoCero(p.cuenta)) {
            anotarError("Error : Número de cuenta erroneo");
        }
        break;
    }
}

} // namespace trovanel
