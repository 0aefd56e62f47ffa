#include "configuracion.hpp"

#include "fichero_salida.hpp"
#include "lector_lineas.hpp"
#include "texto.hpp"

#include <system_error>

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

bool escribirConfiguracionInicial(const std::filesystem::path& carpetaPrograma) {
    const std::filesystem::path ruta = carpetaPrograma / kFicheroConfiguracion;
    std::error_code error;
    if (std::filesystem::symlink_status(ruta, error).type() != std::filesystem::file_type::not_found) {
        return !error;
    }
    FicheroSalida fichero(ruta);
    fichero.escribirLinea("administrador=false");
    fichero.escribirLinea("caracteres=false");
    return fichero.confirmar();
}

} // namespace trovanel
