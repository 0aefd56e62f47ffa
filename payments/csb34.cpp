#include "csb34.hpp"

#include "avisos.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "piezas.hpp"
#include "registro_fijo.hpp"
#include "reloj.hpp"
#include "texto.hpp"

#include <utility>

namespace trovanel {

namespace {

const RasgosPago kRasgosCSB34{"No se pueden obtener datos del presentador", false, true, 999'999'999'999};

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

ModuloCSB34::ModuloCSB34(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion,
                         std::string tipoPlantilla)
    : ModuloPagos(estadoEjecucion, entornoEjecucion, kRasgosCSB34), gTipoPlantilla(sinSufijo(tipoPlantilla)) {
    piezas.operacion = operacion(gTipoPlantilla);
    piezas.concepto = gTipoPlantilla == "CSB34N" ? "1" : "9";
    nominaOTransferencia_ = gTipoPlantilla == "CSB34N" || gTipoPlantilla == "CSB34T";
    claveSinGuion_ = gTipoPlantilla == "PAGOSC";
}

bool ModuloCSB34::cargarPartes(const ParametrosConversion& parametros) {
    if (!ModuloPagos::cargarPartes(parametros)) {
        return false;
    }
    piezas.fechaEnvio = fechaDDMMAA(entorno.reloj.ahora());
    piezas.fechaEmision = ddmmaaDeFechaLarga(parametros.gFechaProceso);
    piezas.detalleCargo = parametros.detalleCargo;
    // Typed in the dialog or given on the command line, they go into the header records as the party's
    // own values do, and are checked as those are.
    for (const auto& [valor, campo] :
         {std::pair{&parametros.domicilioOrdenante, "el domicilio del ordenante"},
          std::pair{&parametros.plazaOrdenante, "la plaza del ordenante"}}) {
        if (hayCaracterControl(*valor)) {
            entorno.avisos.critico(std::string("Caracter no valido en ") + campo);
            return false;
        }
    }
    piezas.domicilioOrdenante = Trim(parametros.domicilioOrdenante);
    piezas.plazaOrdenante = Trim(parametros.plazaOrdenante);
    return true;
}

void ModuloCSB34::iniciarEjecucion() {
    ModuloPagos::iniciarEjecucion();
    // Payroll is paid with the charges code "1" unless the template says otherwise.
    if (gTipoPlantilla == "CSB34N") {
        piezas.gastos = "1";
    }
}

bool ModuloCSB34::escribirRegistros(FicheroSalida& salida) {
    const PiezasCSB34& p = piezas;
    if (gCabeceraPendiente) {
        // Header records 001 to 004: the ordering party, then its data at positions 30 to 72.
        escribirCabecera001(salida, p.fechaEnvio, p.fechaEmision, p.detalleCargo);
        for (const auto& [numero, dato] : {std::pair<const char*, std::string_view>{"002", ordenante.nombre},
                                           {"003", p.domicilioOrdenante},
                                           {"004", p.plazaOrdenante}}) {
            RegistroFijo r = registroCabecera(salida, numero);
            escribir(poner(r, {{dato, 36}, {"", 7}}));
        }
        gCabeceraPendiente = false;
    }

    const std::string_view op = p.operacion;
    const std::string_view clave = p.claveBeneficiario;
    const std::string* cuenta[3] = {&p.entidad, &p.oficina, &p.cuenta};
    char* resto = escribirRegistroImporte(salida, op, clave, cuenta);
    ponerTexto(resto, p.gastos, 1);
    ponerTexto(resto + 1, p.concepto, 1);
    ponerTexto(resto + 2, signo, 1);
    ponerTexto(resto + 4, p.dc, 2);
    ponerTexto(resto + 6, p.fechaVto, 6);
    char* nombre = registroDetalle(salida, "011");
    ponerTexto(nombre, p.nombre, 36);
    ponerTexto(nombre + 36, p.fechaFactura, 7);

    // The optional records, each written when its data is not blank.
    escribirOpcional(salida, "012", p.domicilio, 36);
    escribirOpcional(salida, "013", p.domicilio2, 36);
    escribirOpcional(salida, "014", p.cp, 5, p.plaza, 31);
    escribirOpcional(salida, "015", p.provinciaBeneficiario, 36);
    escribirOpcional(salida, "016", p.conceptoOrden, 36);
    escribirOpcional(salida, "017", p.conceptoOrden2, 36);
    escribirOpcional(salida, "018", p.dni, 18);
    escribirOpcional(salida, "019", p.ref12, 12, p.ref16, 16);
    escribirOpcional(salida, "020", p.telefono, 10, p.email, 26);
    escribirOpcional(salida, "021", cortar(p.email, 27, 36), 36);
    return salida.correcto();
}

ResultadoConversion GenerarCSB34(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    // Trimmed once here; the run state's own type is never touched.
    ModuloCSB34 modulo(estado, entorno, Trim(parametros.gTipoEstructura));
    return ejecutarConversionPagos(modulo, parametros);
}

} // namespace trovanel
