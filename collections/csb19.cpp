#include "csb19.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "conversion.hpp"
#include "log_errores.hpp"
#include "piezas.hpp"
#include "reloj.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// DDMMAA of a process date: "DD/MM/AAAA" from batch mode, already DDMMAA from the dialog.
std::string fechaCargo(const std::string& fechaProceso) {
    if (!contiene(fechaProceso, "/")) {
        return fechaProceso;
    }
    const std::string dia = Mid(fechaProceso, 1, 2);
    const std::string mes = Mid(fechaProceso, 4, 2);
    const std::string anio = Mid(fechaProceso, 7, 4);
    return rellenarCeros(dia, 2) + rellenarCeros(mes, 2) + (anio.size() > 2 ? Mid(anio, 3, 2) : anio);
}

} // namespace

bool ModuloCSB19::cargarPartes(const ParametrosConversion& parametros) {
    BaseDatos& bd = entorno.baseDatos;
    const auto fila =
        leerFilaParte(bd, entorno.avisos,
                      "SELECT nifpre, sufpre, nompre FROM presentadores WHERE id_presentador = ? "
                      "ORDER BY id_presentador",
                      parametros.idPresentador, "No se puede obtener los datos del presentador");
    if (!fila) {
        return false;
    }
    piezas.idPresentador = rellenar((*fila)[0], 9) + rellenar((*fila)[1], 3);
    piezas.nombrePresentador = rellenar((*fila)[2], 40);
    piezas.fechaCreacion = fechaDDMMAA(entorno.reloj.ahora());

    const auto emisor = leerFilaParte(bd, entorno.avisos,
                                      "SELECT nifemi, sufemi, nomemi, cuenta FROM emisores WHERE id_emi = ? "
                                      "ORDER BY id_emi",
                                      parametros.idEmisor, "No se puede obtener los datos del emisor");
    if (!emisor) {
        return false;
    }
    piezas.idEmisor = rellenar((*emisor)[0], 9) + rellenar((*emisor)[1], 3);
    piezas.nombreEmisor = rellenar((*emisor)[2], 40);
    const std::string& cuenta = (*emisor)[3];
    piezas.entidadEmisor = conCeros(Mid(cuenta, 1, 4), 4);
    piezas.oficinaEmisor = conCeros(Mid(cuenta, 5, 4), 4);
    piezas.dcEmisor = conCeros(Mid(cuenta, 9, 2), 2);
    piezas.cuentaEmisor = conCeros(Mid(cuenta, 11, 10), 10);
    piezas.fechaCargo = fechaCargo(estado.gFechaProceso);
    return true;
}

void ModuloCSB19::escribirLog(EscritorLog& log) {
    EscribirLog(log, estado.gNumeroLinea, piezas.idEmisor, piezas.nombreTitularRecibo);
    LimpiarOpcionalesCSB19();
}

const char* ModuloCSB19::mensajeFalloLog() const {
    return kFalloLogCobros;
}

void GenerarCSB19(EstadoEjecucion& estado, Entorno& entorno, const ParametrosConversion& parametros) {
    ModuloCSB19 modulo(estado, entorno);
    ejecutarConversion(modulo, parametros);
}

} // namespace trovanel
