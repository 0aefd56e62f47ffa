#include "reescritura.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "fichero_salida.hpp"
#include "lector_lineas.hpp"

namespace trovanel {

ResultadoReescritura reescribirPorLineas(const std::filesystem::path& ruta,
                                         const std::function<void(std::string&)>& transformar) {
    LectorLineas lector(ruta);
    // A folder opens but cannot be read; the reader has already tried.
    if (!lector.abierto() || lector.error()) {
        return ResultadoReescritura::NoSePuedeLeer;
    }
    FicheroSalida salida(ruta);
    if (!salida.abierto()) {
        return ResultadoReescritura::NoSePuedeEscribir;
    }
    std::string linea;
    while (lector.leer(linea)) {
        transformar(linea);
        salida.escribirLinea(linea);
    }
    if (lector.error()) {
        return ResultadoReescritura::NoSePuedeLeer;
    }
    return salida.confirmar() ? ResultadoReescritura::Hecha : ResultadoReescritura::NoSePuedeEscribir;
}

void ConvertirSaltosLinea(const std::filesystem::path& ruta) {
    switch (reescribirPorLineas(ruta, [](std::string&) {})) {
    case ResultadoReescritura::Hecha:
        return;
    case ResultadoReescritura::NoSePuedeLeer:
        throw ErrorTrovanel("No se puede abrir el fichero " + rutaComoTexto(ruta));
    case ResultadoReescritura::NoSePuedeEscribir:
        throw ErrorTrovanel("No se puede crear el fichero Auxiliar");
    }
}

} // namespace trovanel
