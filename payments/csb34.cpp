#include "csb34.hpp"

#include "avisos.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "piezas.hpp"
#include "registro_dispuesto.hpp"
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

// The order's records as the norm lays them out: each piece, where it starts, its width; one piece a line.
// clang-format off
// Record 010: the amount, the beneficiary's account, the charges and concept codes, the sign and the due
// date.
enum class Importe010 {
    Inicio,
    Numero,
    Importe,
    Entidad,
    Oficina,
    Cuenta,
    Gastos,
    Concepto,
    Signo,
    Libre1,
    DC,
    FechaVto,
    Libre2,
};
constexpr Tramo<Importe010> kImporte010[] = {
    {Importe010::Inicio, 0, 26},
    {Importe010::Numero, 26, 3},
    {Importe010::Importe, 29, 12},
    {Importe010::Entidad, 41, 4},
    {Importe010::Oficina, 45, 4},
    {Importe010::Cuenta, 49, 10},
    {Importe010::Gastos, 59, 1},
    {Importe010::Concepto, 60, 1},
    {Importe010::Signo, 61, 1},
    {Importe010::Libre1, 62, 1},
    {Importe010::DC, 63, 2},
    {Importe010::FechaVto, 65, 6},
    {Importe010::Libre2, 71, 1},
};
static_assert(llenaRegistro(kImporte010, 72));

// Record 011: the beneficiary's name and the invoice date.
enum class Nombre011 { Inicio, Numero, Nombre, FechaFactura };
constexpr Tramo<Nombre011> kNombre011[] = {
    {Nombre011::Inicio, 0, 26},
    {Nombre011::Numero, 26, 3},
    {Nombre011::Nombre, 29, 36},
    {Nombre011::FechaFactura, 65, 7},
};
static_assert(llenaRegistro(kNombre011, 72));
// clang-format on

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
            registroCabecera<kCabeceraDato>(salida, numero).texto<CabeceraDato::Dato>(dato);
        }
        gCabeceraPendiente = false;
    }

    const std::string_view op = p.operacion;
    const std::string_view clave = p.claveBeneficiario;
    const std::string* cuenta[3] = {&p.entidad, &p.oficina, &p.cuenta};
    using I = Importe010;
    escribirRegistroImporte<kImporte010>(salida, op, clave, cuenta)
        .texto<I::Gastos>(p.gastos)
        .texto<I::Concepto>(p.concepto)
        .texto<I::Signo>(signo)
        .texto<I::DC>(p.dc)
        .texto<I::FechaVto>(p.fechaVto);
    registroDetalle<kNombre011>(salida, "011")
        .texto<Nombre011::Nombre>(p.nombre)
        .texto<Nombre011::FechaFactura>(p.fechaFactura);

    // The optional records, each written when its data is not blank.
    escribirOpcional<36>(salida, "012", p.domicilio);
    escribirOpcional<36>(salida, "013", p.domicilio2);
    escribirOpcional<5, 31>(salida, "014", p.cp, p.plaza);
    escribirOpcional<36>(salida, "015", p.provinciaBeneficiario);
    escribirOpcional<36>(salida, "016", p.conceptoOrden);
    escribirOpcional<36>(salida, "017", p.conceptoOrden2);
    escribirOpcional<18>(salida, "018", p.dni);
    escribirOpcional<12, 16>(salida, "019", p.ref12, p.ref16);
    escribirOpcional<10, 26>(salida, "020", p.telefono, p.email);
    escribirOpcional<36>(salida, "021", cortar(p.email, 27, 36));
    return salida.correcto();
}

ResultadoConversion GenerarCSB34(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    // Trimmed once here; the run state's own type is never touched.
    ModuloCSB34 modulo(estado, entorno, Trim(parametros.gTipoEstructura));
    return ejecutarConversionPagos(modulo, parametros);
}

} // namespace trovanel
