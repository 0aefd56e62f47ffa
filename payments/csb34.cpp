#include "csb34.hpp"

#include "avisos.hpp"
#include "conversion.hpp"
#include "entrada_excel_access.hpp"
#include "error.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "piezas.hpp"
#include "registro_fijo.hpp"
#include "reloj.hpp"
#include "texto.hpp"

#include <filesystem>
#include <system_error>

namespace trovanel {

namespace {

const RasgosPago kRasgosCSB34{"No se pueden obtener datos del presentador"};

// The type code without its input suffix.
std::string sinSufijo(const std::string& tipo) {
    const std::string sufijo = Right(tipo, 2);
    return sufijo == "Ex" || sufijo == "Ac" ? tipo.substr(0, tipo.size() - 2) : tipo;
}

// Operation code of the detail and totals records by the kind of order.
const char* operacion(const std::string& tipoBase) {
    if (tipoBase == "CSB34T" || tipoBase == "CSB34N") {
        return "56";
    }
    if (tipoBase == "CSB34C") {
        return "57";
    }
    if (tipoBase == "CSB34P") {
        return "58";
    }
    return "59";
}

} // namespace

ModuloCSB34::ModuloCSB34(EstadoEjecucion& estado, Entorno& entorno, std::string tipoPlantilla)
    : ModuloPagos(estado, entorno, kRasgosCSB34), gTipoPlantilla(sinSufijo(tipoPlantilla)) {
    piezas.operacion = operacion(gTipoPlantilla);
    piezas.concepto = gTipoPlantilla == "CSB34N" ? "1" : "9";
    nominaOTransferencia_ = gTipoPlantilla == "CSB34N" || gTipoPlantilla == "CSB34T";
}

bool ModuloCSB34::cargarPartes(const ParametrosConversion& parametros) {
    if (!ModuloPagos::cargarPartes(parametros)) {
        return false;
    }
    piezas.fechaEnvio = fechaDDMMAA(entorno.reloj.ahora());
    piezas.fechaEmision = ddmmaaDeFechaLarga(estado.gFechaProceso);
    piezas.detalleCargo = parametros.detalleCargo;
    piezas.domicilioOrdenante = Trim(parametros.domicilioOrdenante);
    piezas.plazaOrdenante = Trim(parametros.plazaOrdenante);
    return true;
}

void ModuloCSB34::iniciarEjecucion() {
    ModuloPagos::iniciarEjecucion();
    camposResueltos_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        camposResueltos_.push_back(campoCSB34(campo.campo));
    }
    // Payroll is paid with the charges code "1" unless the template says otherwise.
    if (gTipoPlantilla == "CSB34N") {
        piezas.gastos = "1";
    }
}

RegistroFijo ModuloCSB34::registroDetalle(std::string_view numero) const {
    RegistroFijo r = registro();
    r.texto("06", 2).texto(piezas.operacion, 2).texto(ordenante.nif, 10).texto(piezas.claveBeneficiario, 12);
    r.texto(numero, 3);
    return r;
}

void ModuloCSB34::escribirSiHay(FicheroSalida& salida, std::string_view numero, std::string_view dato,
                                std::size_t ancho) {
    if (!enBlanco(dato)) {
        escribir(salida, registroDetalle(numero).texto(dato, ancho).blancos(kAncho - 29 - ancho));
    }
}

bool ModuloCSB34::escribirRegistros(FicheroSalida& salida) {
    const PiezasCSB34& p = piezas;
    if (gCabeceraPendiente) {
        const auto cabecera = [this](std::string_view numero) {
            RegistroFijo r = registro();
            r.texto("03", 2).texto("56", 2).texto(ordenante.nif, 10).blancos(12).texto(numero, 3);
            return r;
        };
        escribir(salida, cabecera("001")
                             .texto(p.fechaEnvio, 6)
                             .texto(p.fechaEmision, 6)
                             .texto(ordenante.entidad, 4)
                             .texto(ordenante.oficina, 4)
                             .texto(ordenante.cuenta, 10)
                             .texto(p.detalleCargo, 1)
                             .blancos(3)
                             .texto(ordenante.dc, 2)
                             .blancos(7));
        escribir(salida, cabecera("002").texto(ordenante.nombre, 36).blancos(7));
        escribir(salida, cabecera("003").texto(p.domicilioOrdenante, 36).blancos(7));
        escribir(salida, cabecera("004").texto(p.plazaOrdenante, 36).blancos(7));
        gCabeceraPendiente = false;
    }

    escribir(salida, registroDetalle("010")
                         .ceros(importe, 12)
                         .texto(p.entidad, 4)
                         .texto(p.oficina, 4)
                         .texto(p.cuenta, 10)
                         .texto(p.gastos, 1)
                         .texto(p.concepto, 1)
                         .texto(signo, 1)
                         .blancos(1)
                         .texto(p.dc, 2)
                         .texto(p.fechaVto, 6)
                         .blancos(1));
    ++gNumRegistrosIndividuales;
    sumarImporte();
    escribir(salida, registroDetalle("011").texto(p.nombre, 36).texto(p.fechaFactura, 7));
    escribirSiHay(salida, "012", p.domicilio, 36);
    escribirSiHay(salida, "013", p.domicilio2, 36);
    if (!enBlanco(p.cp) || !enBlanco(p.plaza)) {
        escribir(salida, registroDetalle("014").texto(p.cp, 5).texto(p.plaza, 31).blancos(7));
    }
    escribirSiHay(salida, "015", p.provinciaBeneficiario, 36);
    escribirSiHay(salida, "016", p.conceptoOrden, 36);
    escribirSiHay(salida, "017", p.conceptoOrden2, 36);
    escribirSiHay(salida, "018", p.dni, 18);
    if (!enBlanco(p.ref12) || !enBlanco(p.ref16)) {
        escribir(salida, registroDetalle("019").texto(p.ref12, 12).texto(p.ref16, 16).blancos(15));
    }
    if (!enBlanco(p.telefono) || !enBlanco(p.email)) {
        escribir(salida, registroDetalle("020").texto(p.telefono, 10).texto(p.email, 26).blancos(7));
    }
    escribirSiHay(salida, "021", Mid(p.email, 27, 36), 36);
    return salida.correcto();
}

bool ModuloCSB34::escribirTotales(FicheroSalida& salida) {
    const std::string total = textoTotal(12);
    ++gNumRegistrosTotal; // the totals record counts itself
    salida.escribirLinea(registro()
                             .texto("08", 2)
                             .texto("56", 2)
                             .texto(ordenante.nif, 10)
                             .blancos(12 + 3)
                             .texto(total, 12)
                             .numero(gNumRegistrosIndividuales, 8)
                             .numero(gNumRegistrosTotal, 10)
                             .blancos(13)
                             .terminar());
    return salida.correcto();
}

void GenerarCSB34(EstadoEjecucion& estado, Entorno& entorno, const ParametrosConversion& parametros) {
    // Trimmed once here; the run state's own type is never touched.
    ModuloCSB34 modulo(estado, entorno, Trim(parametros.tipoPlantilla));
    try {
        ejecutarConversion(modulo, parametros);
    } catch (const ErrorTrovanel& e) {
        // The totals did not fit: the bank file was never put in place, and no earlier one of that name
        // may pass for this run's.
        std::error_code ignorado;
        std::filesystem::remove(parametros.rutaSalida, ignorado);
        CerrarLibroExcel(estado);
        estado.gCamposEstructura.clear();
        entorno.avisos.critico(e.what());
        estado.gError = true;
    }
}

} // namespace trovanel
