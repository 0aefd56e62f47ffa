#include "conversores.hpp"

#include "avisos.hpp"
#include "error.hpp"
#include "estado_ejecucion.hpp"
#include "texto.hpp"

namespace trovanel {

std::string mensajeSinConversor(std::string_view codigoBase) {
    return "Esta versión del programa aún no genera ficheros de tipo " + std::string(codigoBase);
}

ResultadoConversion ejecutarConversor(const Conversor& conversor, EstadoEjecucion& estado, Entorno& entorno,
                                      const ParametrosConversion& parametros) {
    try {
        return conversor(estado, entorno, parametros);
    } catch (const ErrorTrovanel& e) {
        entorno.avisos.critico(e.what());
        ResultadoConversion resultado;
        resultado.clase = ResultadoConversion::Clase::Fallido;
        resultado.mensaje = e.what();
        resultado.log = parametros.gFicheroLog;
        return resultado;
    }
}

RutasConversion derivarRutasConversion(const std::filesystem::path& entrada) {
    const std::string nombre = entrada.filename().native();
    std::filesystem::path base;
    if (!contiene(Right(nombre, 4), ".")) {
        base = entrada;
    } else {
        base = entrada.parent_path() / nombre.substr(0, nombre.find('.'));
    }
    RutasConversion rutas{base, base};
    rutas.salida += ".out";
    rutas.log += ".log";
    if (rutas.salida == entrada) {
        rutas.salida += "1";
    }
    if (rutas.log == entrada) {
        rutas.log += "1";
    }
    return rutas;
}

} // namespace trovanel
