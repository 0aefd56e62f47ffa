#include "csb34.hpp"

#include "cuenta_bancaria.hpp"
#include "fechas.hpp"
#include "piezas.hpp"
#include "reloj.hpp"
#include "texto.hpp"

#include <utility>

namespace trovanel {

namespace {

// A text of two pieces of 36: the first 36 characters, and the next 36 when there are more.
void partirEn36(std::string_view texto, std::string& primera, std::string& segunda) {
    rellenarEn(primera, texto, 36);
    if (texto.size() > 36) {
        rellenarEn(segunda, texto.substr(36), 36);
    } else {
        segunda.clear();
    }
}

constexpr PiezaSimple<CampoCSB34, PiezasCSB34> kTextosSimples[] = {
    {CampoCSB34::DNI, &PiezasCSB34::dni, 18},
    {CampoCSB34::Ref12, &PiezasCSB34::ref12, 12},
    {CampoCSB34::Ref16, &PiezasCSB34::ref16, 16},
    {CampoCSB34::TlfMovil, &PiezasCSB34::telefono, 10},
};

// The template's value when it has one, else the value read.
std::string_view plantillaOValor(const CampoEstructura& campo, std::string_view valor) {
    return campo.valorcampo.empty() ? valor : std::string_view(campo.valorcampo);
}

} // namespace

CampoCSB34 campoCSB34(std::string_view nombre) {
    using C = CampoCSB34;
    static constexpr std::pair<std::string_view, CampoCSB34> kNombres[] = {
        {"ClaveBeneficiario", C::ClaveBeneficiario},
        {"Importe", C::Importe},
        {"SignoNegativo", C::SignoNegativo},
        {"Entidad", C::Entidad},
        {"Oficina", C::Oficina},
        {"DC", C::DC},
        {"Cuenta", C::Cuenta},
        {"Gastos", C::Gastos},
        {"FechaVto", C::FechaVto},
        {"NombreBeneficiario", C::NombreBeneficiario},
        {"FechaFactura", C::FechaFactura},
        {"DomicilioBeneficiario", C::DomicilioBeneficiario},
        {"CPBeneficiario", C::CPBeneficiario},
        {"PlazaBeneficiario", C::PlazaBeneficiario},
        {"ProvinciaBeneficiario", C::ProvinciaBeneficiario},
        {"ConceptoOrden", C::ConceptoOrden},
        {"Observacion", C::ConceptoOrden},
        {"DNI", C::DNI},
        {"IdentificacionBeneficiario", C::DNI},
        {"Ref12", C::Ref12},
        {"Ref16", C::Ref16},
        {"NumeroFactura", C::NumeroFactura},
        {"TlfMovil", C::TlfMovil},
        {"Email", C::Email},
    };
    return campoPorNombre(nombre, kNombres);
}

void ModuloCSB34::datoDeDireccion(std::string& dato, const CampoEstructura& campo, std::string_view valor,
                                  const char* supuesto, std::size_t mirados, const char* error) {
    // Payroll and transfers fill in a blank postal code or town; the other kinds take the template's
    // value and refuse a blank one.
    dato.assign(recortar(nominaOTransferencia_ ? valor : plantillaOValor(campo, valor)));
    if (nominaOTransferencia_ && dato.empty()) {
        dato = supuesto;
    }
    if (!nominaOTransferencia_ && enBlanco(std::string_view(dato).substr(0, mirados))) {
        anotarError(error);
    }
}

// The beneficiary's account: entity, office, check digits and number.
void ModuloCSB34::validarCuenta(CampoCSB34 tipo, const CampoEstructura& campo, std::string_view valorLeido) {
    const bool otrasClases = !nominaOTransferencia_;
    PiezasCSB34& p = piezas;
    switch (tipo) {
    case CampoCSB34::Entidad: {
        const std::string_view leida = valorLeido.substr(0, 4);
        conCerosAjustadoEn(p.entidad, campo.obligatorio ? plantillaOValor(campo, leida) : leida, 4);
        if (campo.obligatorio && (!esNumerico(p.entidad) || !hayCifraSignificativa(p.entidad))) {
            anotarError("Error : Entidad incorrecta");
        }
        break;
    }
    case CampoCSB34::Oficina: {
        std::string_view oficina = recortar(valorLeido.substr(0, 4));
        std::string dePlantilla;
        if (campo.obligatorio && !campo.valorcampo.empty()) {
            dePlantilla = conCeros(campo.valorcampo, 4);
            oficina = dePlantilla;
        }
        // A short office is refused, not made up with zeros as the entity is.
        if (campo.obligatorio && oficina.size() < 4) {
            anotarError("Error : Oficina incorrecta");
        }
        conCerosAjustadoEn(p.oficina, oficina, 4);
        break;
    }
    case CampoCSB34::DC: {
        rellenarEn(p.dc, valorLeido.substr(0, 2), 2);
        if (campo.obligatorio && !campo.valorcampo.empty()) {
            p.dc = conCerosAjustado(campo.valorcampo, 2);
        }
        // Blank only where the kind allows it; anything else must be two digits.
        if (enBlanco(p.dc) ? campo.obligatorio && !otrasClases : !digitosControlValidos(p.dc, false)) {
            anotarError("Error : DC incorrecto");
        }
        break;
    }
    case CampoCSB34::Cuenta: {
        const std::string_view cuenta =
            recortar(campo.obligatorio ? plantillaOValor(campo, valorLeido) : valorLeido);
        conCerosAjustadoEn(p.cuenta, cuenta, 10);
        if (campo.obligatorio && (!soloDigitos(cuenta) || !hayCifraSignificativa(cuenta))) {
            anotarError("Error : Cuenta incorrecta");
        }
        break;
    }
    default:
        break;
    }
}

// The due date and the invoice date.
void ModuloCSB34::validarFecha(CampoCSB34 tipo, const CampoEstructura& campo, std::string_view valorLeido) {
    PiezasCSB34& p = piezas;
    switch (tipo) {
    case CampoCSB34::FechaVto: {
        p.fechaVto = colocado(campo) ? fechaVtoDDMMAA(valorLeido, campo.valorcampo, RellenoFecha::Pagos)
                                     : std::string();
        if (campo.obligatorio) {
            if (!estado.gFechaDatos.empty()) {
                p.fechaVto = estado.gFechaDatos;
            }
            if (!esFechaDDMMAA(p.fechaVto)) {
                anotarError("Error : Fecha de vto incorrecta");
            }
        }
        break;
    }
    case CampoCSB34::FechaFactura: {
        const std::string_view fecha = colocado(campo) ? recortar(valorLeido) : std::string_view();
        if (!colocado(campo) && campo.obligatorio && !estado.gFechaFacturaDatos.empty()) {
            // Typed when the run started, already checked there.
            p.fechaFactura = estado.gFechaFacturaDatos + " ";
        } else if (enBlanco(fecha)) {
            p.fechaFactura = fechaDDMMAA(entorno.reloj.ahora()) + " ";
        } else {
            const std::string convertida = fechaVtoDDMMAA(fecha, campo.valorcampo, RellenoFecha::Pagos);
            if (!esFechaDDMMAA(convertida)) {
                anotarError("Error : Fecha de concepto incorrecta");
            }
            p.fechaFactura = rellenar(convertida, 7);
        }
        break;
    }
    default:
        break;
    }
}

void ModuloCSB34::validarClave(const CampoEstructura& campo, std::string_view valorLeido) {
    std::string_view clave = plantillaOValor(campo, valorLeido);
    if (claveSinGuion_) {
        clave = sinPrimerGuion(recortar(clave));
    }
    if (!rellenarEn(piezas.claveBeneficiario, clave, 12)) {
        anotarError("Error : No hay clave de beneficiario");
    }
}

void ModuloCSB34::validarGastos(const CampoEstructura& campo, std::string_view valorLeido) {
    if (!colocado(campo)) {
        // A column that gives nothing leaves the run's charges (payroll's "1") alone.
        if (!campo.valorcampo.empty()) {
            piezas.gastos = Left(campo.valorcampo, 1);
        }
        return;
    }
    const std::string_view valor = recortar(valorLeido);
    const std::string_view gastos = campo.obligatorio ? plantillaOValor(campo, valor) : valor;
    if (campo.obligatorio && gastos != "1" && gastos != "2") {
        anotarError("Error : No se ha especificado los gastos");
    }
    piezas.gastos.assign(gastos.substr(0, 1));
}

void ModuloCSB34::validarDireccion(CampoCSB34 tipo, const CampoEstructura& campo,
                                   std::string_view valorLeido) {
    const bool otrasClases = !nominaOTransferencia_;
    PiezasCSB34& p = piezas;
    switch (tipo) {
    case CampoCSB34::DomicilioBeneficiario: {
        const std::string_view domicilio = recortar(valorLeido);
        partirEn36(enBlanco(domicilio) && !otrasClases ? "Desconocido" : domicilio, p.domicilio,
                   p.domicilio2);
        if (enBlanco(domicilio) && otrasClases) {
            anotarError("Error : Falta domicilio del Beneficiario");
        }
        break;
    }
    case CampoCSB34::CPBeneficiario:
        datoDeDireccion(p.cp, campo, valorLeido, "00000", 5, "Error : Falta CP del Beneficiario");
        p.provinciaBeneficiario = provincia(std::string_view(p.cp).substr(0, 5));
        break;
    case CampoCSB34::PlazaBeneficiario:
        datoDeDireccion(p.plaza, campo, valorLeido, "Desconocido", 10,
                        "Error : Falta Plaza del Beneficiario");
        break;
    default: // the province
        if (const std::string_view provinciaLeida = recortar(valorLeido); enBlanco(provinciaLeida)) {
            p.provinciaBeneficiario = provincia(std::string_view(p.cp).substr(0, 5));
        } else {
            p.provinciaBeneficiario.assign(provinciaLeida);
        }
        break;
    }
}

void ModuloCSB34::validarCampoFamilia(const CampoEstructura& campo, int codigo, std::string_view valorLeido) {
    const auto tipo = static_cast<CampoCSB34>(codigo);
    // The value without its surrounding blanks, where the piece does not trim it itself: a piece at its
    // width copies a value that starts with a character as it is, its blanks at the end as padding.
    const auto valor = [valorLeido] { return recortar(valorLeido); };
    PiezasCSB34& p = piezas;

    switch (tipo) {
    case CampoCSB34::ClaveBeneficiario:
        validarClave(campo, valorLeido);
        break;
    case CampoCSB34::Entidad:
    case CampoCSB34::Oficina:
    case CampoCSB34::DC:
    case CampoCSB34::Cuenta:
        validarCuenta(tipo, campo, valorLeido);
        break;
    case CampoCSB34::Gastos:
        validarGastos(campo, valorLeido);
        break;
    case CampoCSB34::FechaVto:
    case CampoCSB34::FechaFactura:
        validarFecha(tipo, campo, valorLeido);
        break;
    case CampoCSB34::NombreBeneficiario: {
        if (!rellenarEn(p.nombre, valorLeido, 36)) {
            anotarError("Error : Falta nombre de Beneficiario");
        }
        break;
    }
    case CampoCSB34::DomicilioBeneficiario:
    case CampoCSB34::CPBeneficiario:
    case CampoCSB34::PlazaBeneficiario:
    case CampoCSB34::ProvinciaBeneficiario:
        validarDireccion(tipo, campo, valorLeido);
        break;
    case CampoCSB34::ConceptoOrden:
        partirEn36(valor(), p.conceptoOrden, p.conceptoOrden2);
        break;
    case CampoCSB34::NumeroFactura:
        if (campo.obligatorio && enBlanco(valorLeido)) {
            anotarError("Error : No se ha especificado número de factura");
        }
        rellenarEn(p.ref16, valorLeido, 16);
        break;
    case CampoCSB34::Email:
        p.email = valor();
        break;
    default:
        // The plain texts: trimmed and at their width, never refused.
        if (const auto* texto = buscarPieza(tipo, kTextosSimples)) {
            rellenarEn(p.*texto->pieza, valorLeido, texto->ancho);
        }
        break;
    }
}

} // namespace trovanel
