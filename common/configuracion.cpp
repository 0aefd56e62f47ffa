#include "configuracion.hpp"

#include "lector_lineas.hpp"
#include "texto.hpp"

namespace trovanel {

std::optional<Configuracion> leerConfiguracion(const std::filesystem::path& carpetaPrograma) {
    LectorLineas lector(carpetaPrograma / kFicheroConfiguracion);
    if (!lector.abierto()) {
        return std::nullopt;
    }
    Configuracion configuracion;
    std::string linea;
    while (lector.leer(linea)) {
        const bool verdadero = contiene(linea, "true");
        if (contiene(linea, "administrador")) {
            configuracion.administrador = verdadero;
        }
        if (contiene(linea, "caracteres")) {
            configuracion.caracteres = verdadero;
        }
    }
    if (lector.error()) {
        return std::nullopt;
    }
    return configuracion;
}

} // namespace trovanel
