#include "csb58.hpp"

#include "conversion.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

namespace trovanel {

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
        escribirOpcional(registroOrden(salida, '6')
                             .texto(p.domicilioDeudor, 40)
                             .texto(p.localidadDeudor, 35)
                             .texto(p.cpDeudor, 5)
                             .texto(p.localidadOrdenante, 38)
                             .texto(p.codProvincia, 2)
                             .blancos(6 + 8));
    }
}

ResultadoConversion GenerarCSB58(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    ModuloCSB58 modulo(estado, entorno);
    return ejecutarConversion(modulo, parametros);
}

} // namespace trovanel
