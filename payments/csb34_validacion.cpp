#include "csb34.hpp"

#include "fechas.hpp"
#include "piezas.hpp"
#include "reloj.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// A text of two pieces of 36: the first 36 characters, and the next 36 when there are more.
void partirEn36(std::string_view texto, std::string& primera, std::string& segunda) {
    primera = rellenar(texto, 36);
    segunda = texto.size() > 36 ? rellenar(texto.substr(36), 36) : std::string();
}

// The template's value when it has one, else the value read.
std::string_view plantillaOValor(const CampoEstructura& campo, std::string_view valor) {
    return campo.valorcampo.empty() ? valor : std::string_view(campo.valorcampo);
}

} // namespace

void ModuloCSB34::validarCampo(std::string& valorLeido) {
    const CampoEstructura& campo = estado.gCamposEstructura.at(lectura.gIndiceCampo);
    const std::string& nombre = campo.campo;
    const std::string_view valor = recortar(valorLeido);
    const bool otrasClases = !nominaOTransferencia();
    PiezasCSB34& p = piezas;

    if (nombre == "ClaveBeneficiario") {
        std::string clave = Trim(plantillaOValor(campo, valor));
        if (gTipoPlantilla == "PAGOSC") {
            if (const auto guion = clave.find('-'); guion != std::string::npos) {
                clave.erase(guion, 1);
            }
        }
        p.claveBeneficiario = rellenar(clave, 12);
        if (enBlanco(clave)) {
            anotarError("Error : No hay clave de beneficiario");
        }
    } else if (nombre == "Importe") {
        validarImporte(campo, valorLeido);
    } else if (nombre == "SignoNegativo") {
        validarSigno(campo, valorLeido);
    } else if (nombre == "Entidad") {
        p.entidad = conCerosAjustado(
            campo.obligatorio ? plantillaOValor(campo, Left(valorLeido, 4)) : Left(valorLeido, 4), 4);
        if (campo.obligatorio && (!esNumerico(p.entidad) || esValorCero(p.entidad))) {
            anotarError("Error : Entidad incorrecta");
        }
    } else if (nombre == "Oficina") {
        std::string oficina = Trim(Left(valorLeido, 4));
        if (campo.obligatorio && !campo.valorcampo.empty()) {
            oficina = conCeros(campo.valorcampo, 4);
        }
        // A short office is refused, not made up with zeros as the entity is.
        if (campo.obligatorio && oficina.size() < 4) {
            anotarError("Error : Oficina incorrecta");
        }
        p.oficina = conCerosAjustado(oficina, 4);
    } else if (nombre == "DC") {
        p.dc = rellenar(Left(valorLeido, 2), 2);
        if (campo.obligatorio && !campo.valorcampo.empty()) {
            p.dc = conCerosAjustado(campo.valorcampo, 2);
        }
        if (campo.obligatorio && enBlanco(p.dc) && !otrasClases) {
            anotarError("Error : DC incorrecto");
        }
    } else if (nombre == "Cuenta") {
        const std::string cuenta = Trim(campo.obligatorio ? plantillaOValor(campo, valor) : valor);
        p.cuenta = conCerosAjustado(cuenta, 10);
        if (campo.obligatorio && (!soloDigitos(cuenta) || esValorCero(cuenta))) {
            anotarError("Error : Cuenta incorrecta");
        }
    } else if (nombre == "Gastos") {
        if (!colocado(campo)) {
            // A column that gives nothing leaves the run's charges (payroll's "1") alone.
            if (!campo.valorcampo.empty()) {
                p.gastos = Left(campo.valorcampo, 1);
            }
        } else {
            const std::string gastos(campo.obligatorio ? plantillaOValor(campo, valor) : valor);
            if (campo.obligatorio && gastos != "1" && gastos != "2") {
                anotarError("Error : No se ha especificado los gastos");
            }
            p.gastos = Left(gastos, 1);
        }
    } else if (nombre == "FechaVto") {
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
    } else if (nombre == "NombreBeneficiario") {
        p.nombre = rellenar(valor, 36);
        if (enBlanco(valor)) {
            anotarError("Error : Falta nombre de Beneficiario");
        }
    } else if (nombre == "FechaFactura") {
        const std::string_view fecha = colocado(campo) ? valor : std::string_view();
        if (enBlanco(fecha)) {
            p.fechaFactura = fechaDDMMAA(entorno.reloj.ahora()) + " ";
        } else {
            const std::string convertida = fechaVtoDDMMAA(fecha, campo.valorcampo, RellenoFecha::Pagos);
            if (!esFechaDDMMAA(convertida)) {
                anotarError("Error : Fecha de concepto incorrecta");
            }
            p.fechaFactura = rellenar(convertida, 7);
        }
    } else if (nombre == "DomicilioBeneficiario") {
        partirEn36(enBlanco(valor) && !otrasClases ? "Desconocido" : valor, p.domicilio, p.domicilio2);
        if (enBlanco(valor) && otrasClases) {
            anotarError("Error : Falta domicilio del Beneficiario");
        }
    } else if (nombre == "CPBeneficiario") {
        p.cp = Trim(otrasClases ? plantillaOValor(campo, valor) : valor);
        if (p.cp.empty() && !otrasClases) {
            p.cp = "00000";
        }
        p.provinciaBeneficiario = provincia(Left(p.cp, 5));
        if (otrasClases && enBlanco(Left(p.cp, 5))) {
            anotarError("Error : Falta CP del Beneficiario");
        }
    } else if (nombre == "PlazaBeneficiario") {
        p.plaza = Trim(otrasClases ? plantillaOValor(campo, valor) : valor);
        if (p.plaza.empty() && !otrasClases) {
            p.plaza = "Desconocido";
        }
        if (otrasClases && enBlanco(Left(p.plaza, 10))) {
            anotarError("Error : Falta Plaza del Beneficiario");
        }
    } else if (nombre == "ProvinciaBeneficiario") {
        p.provinciaBeneficiario = enBlanco(valor) ? provincia(Left(p.cp, 5)) : std::string(valor);
    } else if (nombre == "ConceptoOrden" || nombre == "Observacion") {
        partirEn36(valor, p.conceptoOrden, p.conceptoOrden2);
    } else if (nombre == "DNI" || nombre == "IdentificacionBeneficiario") {
        p.dni = rellenar(valor, 18);
    } else if (nombre == "Ref12") {
        p.ref12 = rellenar(valor, 12);
    } else if (nombre == "Ref16" || nombre == "NumeroFactura") {
        p.ref16 = rellenar(valor, 16);
        if (nombre == "NumeroFactura" && campo.obligatorio && enBlanco(valor)) {
            anotarError("Error : No se ha especificado número de factura");
        }
    } else if (nombre == "TlfMovil") {
        p.telefono = rellenar(valor, 10);
    } else if (nombre == "Email") {
        p.email = valor;
    }
}

} // namespace trovanel
