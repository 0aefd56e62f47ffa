#include "csb58.hpp"

#include "conversion.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "registro_dispuesto.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// Record 56-76: the debtor's address, the ordering party's town and the province.
// One piece a line, as the norm lists them.
// clang-format off
enum class Domicilio5676 {
    Registro,
    Datos,
    Emisor,
    Referencia,
    Domicilio,
    Localidad,
    CP,
    LocalidadOrdenante,
    Provincia,
    Libre,
};
constexpr Tramo<Domicilio5676> kDomicilio5676[] = {
    {Domicilio5676::Registro, 0, 2},
    {Domicilio5676::Datos, 2, 2},
    {Domicilio5676::Emisor, 4, 12},
    {Domicilio5676::Referencia, 16, 12},
    {Domicilio5676::Domicilio, 28, 40},
    {Domicilio5676::Localidad, 68, 35},
    {Domicilio5676::CP, 103, 5},
    {Domicilio5676::LocalidadOrdenante, 108, 38},
    {Domicilio5676::Provincia, 146, 2},
    {Domicilio5676::Libre, 148, 14},
};
// clang-format on
static_assert(llenaRegistro(kDomicilio5676, 162));

} // namespace

ModuloCSB58::ModuloCSB58(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion)
    : ModuloCobros(estadoEjecucion, entornoEjecucion, kRasgosCSB58, piezas) {
    // The check digits stay so when the template has no DC field.
    piezas.dc = "**";
}

bool ModuloCSB58::cargarPartes(const ParametrosConversion& parametros) {
    // A date typed for an earlier run must never stand in for this run's due dates.
    estado.gFechaDatos.clear();
    return ModuloCobros::cargarPartes(parametros);
}

void ModuloCSB58::iniciarEjecucion() {
    ModuloCobros::iniciarEjecucion();
    formatosFecha_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        formatosFecha_.push_back(buscarFormatoFecha(campo.valorcampo));
    }
}

bool ModuloCSB58::aceptarOrden() {
    if (!ModuloCobros::aceptarOrden()) {
        return false;
    }
    // An account that is no number counts as none, whatever the address.
    const std::string& cuenta = piezas.cuenta;
    const bool numerica = esNumerico(cuenta);
    const bool noNumerica = !cuenta.empty() && !numerica;
    // esValorCero() without reading the account twice.
    const bool sinCuenta = cuenta.empty() || (numerica && !hayCifraSignificativa(cuenta));
    if (noNumerica || (sinCuenta && enBlanco(piezas.domicilioDeudor))) {
        anotarError("Error : El domicilio del deudor es obligatorio si no existe cuenta");
        return false;
    }
    return true;
}

void ModuloCSB58::escribirDomicilio(FicheroSalida& salida) {
    const PiezasCSB58& p = piezas;
    if (!enBlanco(p.domicilioDeudor)) {
        using P = Domicilio5676;
        registroOrden<kDomicilio5676>(salida, '6')
            .texto<P::Domicilio>(p.domicilioDeudor)
            .texto<P::Localidad>(p.localidadDeudor)
            .texto<P::CP>(p.cpDeudor)
            .texto<P::LocalidadOrdenante>(p.localidadOrdenante)
            .texto<P::Provincia>(p.codProvincia);
    }
}

ResultadoConversion GenerarCSB58(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    ModuloCSB58 modulo(estado, entorno);
    return ejecutarConversion(modulo, parametros);
}

} // namespace trovanel
