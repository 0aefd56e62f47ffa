#include "csb19.hpp"

#include "conversion.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

namespace trovanel {

ModuloCSB19::ModuloCSB19(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion)
    : ModuloCobros(estadoEjecucion, entornoEjecucion, kRasgosCSB19, piezas) {}

bool ModuloCSB19::cargarPartes(const ParametrosConversion& parametros) {
    if (!ModuloCobros::cargarPartes(parametros)) {
        return false;
    }
    piezas.fechaCargo = ddmmaaDeFechaLarga(parametros.gFechaProceso);
    return true;
}

void ModuloCSB19::escribirDomicilio(FicheroSalida& salida) {
    const PiezasCSB19& p = piezas;
    if (!enBlanco(p.nombreTitularCuenta) && !enBlanco(p.direccion)) {
        escribirOpcional(registroOrden(salida, '6')
                             .texto(p.nombreTitularCuenta, 40)
                             .texto(p.direccion, 40)
                             .texto(p.localidad, 35)
                             .texto(p.cp, 5)
                             .blancos(14));
    }
}

ResultadoConversion GenerarCSB19(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    ModuloCSB19 modulo(estado, entorno);
    return ejecutarConversion(modulo, parametros);
}

} // namespace trovanel
