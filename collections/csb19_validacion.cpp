#include "csb19.hpp"

#include "cuenta_bancaria.hpp"
#include "piezas.hpp"
#include "texto.hpp"

#include <algorithm>
#include <string_view>

namespace trovanel {

namespace {

// Entity and account: a piece that is zero or no number at all is no account.
bool cuentaInvalida(std::string_view pieza) {
    return !esNumerico(pieza) || !hayCifraSignificativa(pieza);
}

} // namespace

void ModuloCSB19::validarPropio(CampoCobro tipo, const CampoEstructura& campo, std::string_view valorLeido) {
    const std::string& defecto = campo.valorcampo;
    PiezasCSB19& p = piezas;

    switch (tipo) {
    case CampoCobro::Entidad:
        conCerosEn(p.entidad, valorLeido.substr(0, 4), 4);
        if (cuentaInvalida(p.entidad) && !defecto.empty()) {
            p.entidad = conCerosAjustado(defecto, 4);
        }
        if (cuentaInvalida(p.entidad)) {
            anotarError("Error : Entidad incorrecta");
        }
        break;
    case CampoCobro::Oficina:
        p.oficina.assign(recortar(valorLeido.substr(0, 4)));
        if (!defecto.empty()) {
            p.oficina = conCerosAjustado(defecto, 4);
        }
        if (p.oficina.size() < 4) {
            anotarError("Error : Oficina incorrecta");
        }
        break;
    case CampoCobro::DC:
        if (colocado(campo)) {
            rellenarEn(p.dc, valorLeido.substr(0, 2), 2);
        } else {
            p.dc.assign(std::string_view(defecto).substr(0, 2));
        }
        // Blank, a lone digit or letters are no check digits: never half of them in a bank file.
        if (!digitosControlValidos(p.dc, true)) {
            anotarError("Error : DC incorrecto");
        }
        break;
    case CampoCobro::Cuenta:
        if (colocado(campo)) {
            conCerosEn(p.cuenta, valorLeido, 10);
        } else {
            p.cuenta = conCerosAjustado(defecto, 10);
        }
        if (cuentaInvalida(p.cuenta)) {
            anotarError("Error : Cuenta incorrecta");
        }
        break;
    case CampoCobro::Concepto1:
        rellenarEn(p.concepto1, valorLeido.substr(0, 40), 40);
        break;
    case CampoCobro::NombreTitularCuenta:
        if (!rellenarEn(p.nombreTitularCuenta, valorLeido, 40) && !enBlanco(p.nombreTitular)) {
            p.nombreTitularCuenta = p.nombreTitular;
        }
        break;
    case CampoCobro::Direccion:
    case CampoCobro::Localidad: {
        const std::size_t ancho = tipo == CampoCobro::Direccion ? 40 : 35;
        std::string& pieza = tipo == CampoCobro::Direccion ? p.direccion : p.localidad;
        if (colocado(campo)) {
            if (!rellenarEn(pieza, valorLeido, ancho) && !defecto.empty()) {
                rellenarEn(pieza, defecto, ancho);
            }
        } else {
            pieza = Left(Trim(valorLeido), static_cast<std::int64_t>(ancho));
        }
        break;
    }
    case CampoCobro::CP:
        validarCP(campo, valorLeido);
        break;
    default:
        break;
    }
}

void ModuloCSB19::validarCP(const CampoEstructura& campo, std::string_view valor) {
    std::string& cp = piezas.cp;
    if (!colocado(campo)) {
        cp = Trim(valor);
        return;
    }
    // The postal code is taken again from the raw line, five characters from its start, whatever span
    // the template gives it; spreadsheet and database rows have no raw line.
    if (lectura.hayLineaBruta && campo.inicio >= 1) {
        conCerosEn(cp, cortar(lectura.gLineaActual, campo.inicio, 5), 5);
    } else {
        // A sheet's or table's code may have lost its leading zero on the way (a number column).
        cp = Trim(valor);
        if (esNumerico(cp)) {
            cp = conCeros(cp, 5);
        }
    }
    const std::string& defecto = campo.valorcampo;
    if (!esNumerico(cp)) {
        cp = defecto.empty() ? "00000" : conCerosAjustado(defecto, 5);
    } else if (!defecto.empty() && esValorCero(cp)) {
        cp = conCerosAjustado(defecto, 5);
    }
}

void ModuloCSB19::LimpiarOpcionalesCSB19() {
    limpiarConceptos();
    piezas.nombreTitularCuenta.clear();
}

} // namespace trovanel
