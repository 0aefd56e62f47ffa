#include "fechas.hpp"
#include "piezas.hpp"
#include "texto.hpp"
#include "zop.hpp"

#include <algorithm>
#include <iterator>
#include <utility>

namespace trovanel {

namespace {

using Simple = PiezaSimple<CampoZOP, PiezasZOP>;

// The plain texts: trimmed and at their width, cut when longer.
constexpr Simple kTextos[] = {
    {CampoZOP::Direccion, &PiezasZOP::direccion, 31},
    {CampoZOP::Email, &PiezasZOP::email, 36},
    {CampoZOP::Localidad, &PiezasZOP::localidad, 31},
    {CampoZOP::NombreProveedor, &PiezasZOP::nombre, 36},
    {CampoZOP::NumeroFactura, &PiezasZOP::numeroFactura, 16},
};
// The same, but all blanks when longer.
constexpr Simple kTextosEnBlancoSiNoCaben[] = {
    {CampoZOP::NumeroCalle, &PiezasZOP::numeroCalle, 5},
    {CampoZOP::Pais, &PiezasZOP::pais, 2},
    {CampoZOP::ReferenciaInterna, &PiezasZOP::referenciaInterna, 14},
};
// The numbers, trimmed and zero-filled to their width, cut when longer.
constexpr Simple kNumeros[] = {
    {CampoZOP::Entidad, &PiezasZOP::entidad, 4},
    {CampoZOP::Oficina, &PiezasZOP::oficina, 4},
    {CampoZOP::DC, &PiezasZOP::dc, 2},
    {CampoZOP::Cuenta, &PiezasZOP::cuenta, 10},
};

// A telephone or fax number of nine digits at least, as the records read it: nothing else is a number.
// Written into numero, emptied when it is none.
void numeroTelefono(std::string& numero, std::string_view valor) {
    conCerosEn(numero, valor, 9);
    if (!esNumerico(numero) || !hayCifraSignificativa(numero)) {
        numero.clear();
    }
}

bool esFechaAAMMDD(std::string_view fecha) {
    const char ddmmaa[] = {fecha.size() == 6 ? fecha[4] : ' ', fecha.size() == 6 ? fecha[5] : ' ',
                           fecha.size() == 6 ? fecha[2] : ' ', fecha.size() == 6 ? fecha[3] : ' ',
                           fecha.size() == 6 ? fecha[0] : ' ', fecha.size() == 6 ? fecha[1] : ' '};
    return fecha.size() == 6 && esFechaDDMMAA(std::string_view(ddmmaa, 6));
}

} // namespace

CampoZOP campoZOP(std::string_view nombre) {
    // In the order of CampoZOP, after Desconocido.
    static constexpr std::string_view kNombres[] = {"FormaPago",
                                                    "ClaveProveedor",
                                                    "CP",
                                                    "Cuenta",
                                                    "DC",
                                                    "Direccion",
                                                    "email",
                                                    "Entidad",
                                                    "Fax",
                                                    "FechaVto",
                                                    "Importe",
                                                    "Localidad",
                                                    "NombreProveedor",
                                                    "NumeroCalle",
                                                    "NumeroFactura",
                                                    "Oficina",
                                                    "Pais",
                                                    "ReferenciaInterna",
                                                    "SignoNegativo",
                                                    "Telefono"};
    static_assert(std::size(kNombres) == static_cast<std::size_t>(CampoZOP::Telefono));
    const auto* encontrado = std::find(std::begin(kNombres), std::end(kNombres), nombre);
    return encontrado == std::end(kNombres) ? CampoZOP::Desconocido
                                            : static_cast<CampoZOP>(1 + (encontrado - std::begin(kNombres)));
}

void ModuloZOP::validarFormaPago(const CampoEstructura& campo, std::string_view valorLeido) {
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
    conCerosAjustadoEn(piezas.cp, valor, 5);
    const std::string& nombre = provincia(piezas.cp);
    rellenarEn(piezas.provincia, nombre, 31);
    if (nombre.empty()) {
        anotarError("Error : CP erroneo");
    }
}

void ModuloZOP::validarFechaVto(const CampoEstructura& campo, std::string_view valorLeido) {
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

void ModuloZOP::validarCampoFamilia(const CampoEstructura& campo, int codigo, std::string_view valorLeido,
                                    std::string_view valor) {
    PiezasZOP& p = piezas;
    const auto tipo = static_cast<CampoZOP>(codigo);
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
        rellenarEn(p.claveProveedor, clave, 10);
        break;
    }
    case CampoZOP::CP:
        validarCP(campo, valor);
        break;
    case CampoZOP::FechaVto:
        validarFechaVto(campo, valorLeido);
        break;
    case CampoZOP::Telefono: {
        // Ten characters: nine digits and a blank, or the first ten of a longer number.
        std::string& numero = numero_;
        numeroTelefono(numero, valor);
        if (numero.empty()) {
            p.telefono.assign(10, '0');
        } else {
            rellenarEn(p.telefono, std::string_view(numero).substr(0, 10), 10);
        }
        break;
    }
    case CampoZOP::Fax: {
        // Nine digits and a blank, even for a longer number.
        std::string& numero = numero_;
        numeroTelefono(numero, valor);
        rellenarEn(p.fax,
                   numero.empty() ? std::string_view("000000000") : std::string_view(numero).substr(0, 9),
                   10);
        break;
    }
    case CampoZOP::Entidad:
    case CampoZOP::Oficina:
    case CampoZOP::DC:
    case CampoZOP::Cuenta: {
        const Simple* numero = buscarPieza(tipo, kNumeros);
        conCerosAjustadoEn(p.*numero->pieza, valor, numero->ancho);
        // Only a transfer needs an account to pay into.
        if (tipo == CampoZOP::Entidad && esTransferencia() &&
            !(soloDigitos(p.entidad) && hayCifraSignificativa(p.entidad))) {
            anotarError("Error : Número de entidad erroneo");
        }
        if (tipo == CampoZOP::Cuenta && esTransferencia() && !numeroNoCero(p.cuenta)) {
            anotarError("Error : Número de cuenta erroneo");
        }
        break;
    }
    default:
        if (const Simple* texto = buscarPieza(tipo, kTextos)) {
            rellenarEn(p.*texto->pieza, valor, texto->ancho);
        } else if (const Simple* corto = buscarPieza(tipo, kTextosEnBlancoSiNoCaben)) {
            rellenarEn(p.*corto->pieza, valor.size() <= corto->ancho ? valor : std::string_view(),
                       corto->ancho);
        }
        break;
    }
}

} // namespace trovanel
