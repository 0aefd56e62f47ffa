#include "csb19.hpp"

#include "importes.hpp"
#include "piezas.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

bool colocado(const CampoEstructura& campo) {
    return campo.inicio != 0 || campo.fin != 0;
}

// Entity and account: a piece that is zero or no number at all is no account.
bool cuentaInvalida(const std::string& pieza) {
    return !esNumerico(pieza) || esValorCero(pieza);
}

} // namespace

ModuloCSB19::CampoResuelto ModuloCSB19::resolver(const std::string& nombre) {
    struct Nombre {
        std::string_view texto;
        Campo campo;
    };
    static constexpr Nombre kNombres[] = {
        {"CodigoReferencia", Campo::CodigoReferencia},
        {"NombreTitularRecibo", Campo::NombreTitularRecibo},
        {"Entidad", Campo::Entidad},
        {"Oficina", Campo::Oficina},
        {"DC", Campo::DC},
        {"Cuenta", Campo::Cuenta},
        {"Importe", Campo::Importe},
        {"CodigoDevolucion", Campo::CodigoDevolucion},
        {"ReferenciaInterna", Campo::ReferenciaInterna},
        {"Concepto1", Campo::Concepto1},
        {"NombreTitularCuenta", Campo::NombreTitularCuenta},
        {"Direccion", Campo::Direccion},
        {"Localidad", Campo::Localidad},
        {"CP", Campo::CP},
    };
    for (const Nombre& n : kNombres) {
        if (nombre == n.texto) {
            return {n.campo, 0};
        }
    }
    if (nombre.starts_with("Concepto")) {
        const auto numero = leerEntero(nombre.substr(8));
        if (numero && *numero >= 2 && *numero <= 16 && nombre.substr(8) == std::to_string(*numero)) {
            return {Campo::ConceptoN, static_cast<int>(*numero)};
        }
    }
    return {};
}

void ModuloCSB19::iniciarEjecucion() {
    gCabPresentadorPendiente = true;
    gCabEmisorPendiente = true;
    gNumRegistrosIndividuales = 0;
    gNumRegistrosTotal = 0;
    gImporteTotal = 0;
    gMarcaNegativo.clear();
    camposResueltos_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        camposResueltos_.push_back(resolver(campo.campo));
    }
}

void ModuloCSB19::validarCampo(std::string& valorLeido) {
    const std::size_t indice = lectura.gIndiceCampo;
    const CampoEstructura& campo = estado.gCamposEstructura.at(indice);
    const CampoResuelto resuelto =
        indice < camposResueltos_.size() ? camposResueltos_[indice] : resolver(campo.campo);
    const std::string& defecto = campo.valorcampo;
    PiezasCSB19& p = piezas;

    switch (resuelto.campo) {
    case Campo::Desconocido:
        break;
    case Campo::CodigoReferencia:
        p.codigoReferencia = rellenar(valorLeido, 12);
        if (enBlanco(p.codigoReferencia) && !defecto.empty()) {
            p.codigoReferencia = rellenar(defecto, 12);
        }
        if (enBlanco(p.codigoReferencia)) {
            anotarError("Error : No tiene código de referencia");
        }
        break;
    case Campo::NombreTitularRecibo:
        p.nombreTitularRecibo = rellenar(valorLeido, 40);
        if (enBlanco(p.nombreTitularRecibo) && !defecto.empty()) {
            p.nombreTitularRecibo = rellenar(defecto, 40);
        }
        if (enBlanco(p.nombreTitularRecibo)) {
            anotarError("Error : No hay nombre de titular del recibo");
        }
        break;
    case Campo::Entidad:
        p.entidad = conCeros(Left(valorLeido, 4), 4);
        if (cuentaInvalida(p.entidad) && !defecto.empty()) {
            p.entidad = conCerosAjustado(defecto, 4);
        }
        if (cuentaInvalida(p.entidad)) {
            anotarError("Error : Entidad incorrecta");
        }
        break;
    case Campo::Oficina:
        p.oficina = Trim(Left(valorLeido, 4));
        if (!defecto.empty()) {
            p.oficina = conCerosAjustado(defecto, 4);
        }
        if (p.oficina.size() < 4) {
            anotarError("Error : Oficina incorrecta");
        }
        break;
    case Campo::DC:
        p.dc = colocado(campo) ? rellenar(Left(valorLeido, 2), 2) : Left(defecto, 2);
        if (enBlanco(p.dc)) {
            anotarError("Error : DC incorrecto");
        }
        break;
    case Campo::Cuenta:
        p.cuenta = colocado(campo) ? conCeros(valorLeido, 10) : conCerosAjustado(defecto, 10);
        if (cuentaInvalida(p.cuenta)) {
            anotarError("Error : Cuenta incorrecta");
        }
        break;
    case Campo::Importe: {
        valorLeido = Trim(valorLeido);
        const ImporteNormalizado importe = NormalizarImporte(valorLeido, gMarcaNegativo);
        estado.gSignoImporte = std::string(1, importe.signo);
        p.importe = importe.centimos.substr(2);
        // The record holds ten digits: a larger amount is refused, never cut.
        importeValido_ =
            p.importe != "0000000000" && !importe.desbordado && importe.centimos.substr(0, 2) == "00";
        if (!importeValido_) {
            anotarError("Error : Importe incorrecto");
        }
        break;
    }
    case Campo::CodigoDevolucion:
        p.codigoDevolucion = rellenar(valorLeido, 6);
        break;
    case Campo::ReferenciaInterna:
        p.referenciaInterna = rellenar(valorLeido, 10);
        break;
    case Campo::Concepto1:
        valorLeido = Left(valorLeido, 40);
        p.concepto1 = rellenar(valorLeido, 40);
        break;
    case Campo::NombreTitularCuenta:
        p.nombreTitularCuenta = rellenar(valorLeido, 40);
        if (enBlanco(p.nombreTitularCuenta) && !enBlanco(p.nombreTitularRecibo)) {
            p.nombreTitularCuenta = p.nombreTitularRecibo;
        }
        break;
    case Campo::Direccion:
    case Campo::Localidad: {
        const std::size_t ancho = resuelto.campo == Campo::Direccion ? 40 : 35;
        std::string& pieza = resuelto.campo == Campo::Direccion ? p.direccion : p.localidad;
        if (colocado(campo)) {
            pieza = rellenar(valorLeido, ancho);
            if (enBlanco(pieza) && !defecto.empty()) {
                pieza = rellenar(defecto, ancho);
            }
        } else {
            pieza = Left(Trim(valorLeido), static_cast<std::int64_t>(ancho));
        }
        break;
    }
    case Campo::CP:
        validarCP(campo, valorLeido);
        break;
    case Campo::ConceptoN:
        p.conceptos[static_cast<std::size_t>(resuelto.numeroConcepto)] = rellenar(valorLeido, 40);
        break;
    }
}

void ModuloCSB19::validarCP(const CampoEstructura& campo, const std::string& valor) {
    std::string& cp = piezas.cp;
    if (!colocado(campo)) {
        cp = Trim(valor);
        return;
    }
    // The postal code is taken again from the raw line, five characters from its start, whatever span
    // the template gives it; spreadsheet and database rows have no raw line.
    if (lectura.hayLineaBruta && campo.inicio >= 1) {
        cp = conCeros(Mid(lectura.gLineaActual, campo.inicio, 5), 5);
    } else {
        cp = Trim(valor);
    }
    const std::string& defecto = campo.valorcampo;
    if (!esNumerico(cp)) {
        cp = defecto.empty() ? "00000" : conCerosAjustado(defecto, 5);
    } else if (esValorCero(cp) && !defecto.empty()) {
        cp = conCerosAjustado(defecto, 5);
    }
}

void ModuloCSB19::LimpiarOpcionalesCSB19() {
    for (std::size_t i = 2; i < piezas.conceptos.size(); ++i) {
        piezas.conceptos[i].clear();
    }
    piezas.nombreTitularCuenta.clear();
}

} // namespace trovanel
