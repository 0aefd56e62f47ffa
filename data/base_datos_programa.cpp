#include "base_datos_programa.hpp"

#include "codificacion.hpp"
#include "datos_iniciales.hpp"

#include <unistd.h>

#include <string>
#include <system_error>

namespace trovanel {

void crearBaseDatosPrograma(const std::filesystem::path& ruta) {
    std::filesystem::path provisional = ruta;
    provisional += ".nueva-" + std::to_string(::getpid());
    std::error_code ignorado;
    std::filesystem::remove(provisional, ignorado);
    try {
        {
            BaseDatos bd = BaseDatos::abrir(provisional, BaseDatos::Modo::Creacion);
            BaseDatos::Transaccion transaccion(bd);
            bd.ejecutarScript(esquemaSql());
            bd.ejecutarScript(semillaSql());
            transaccion.confirmar();
        }
        std::error_code error;
        std::filesystem::rename(provisional, ruta, error);
        if (error) {
            throw ErrorBaseDatos("No se puede crear la base de datos " + rutaComoTexto(ruta));
        }
    } catch (...) {
        std::filesystem::remove(provisional, ignorado);
        throw;
    }
}

BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta) {
    std::error_code error;
    if (!std::filesystem::exists(ruta, error) && !error) {
        crearBaseDatosPrograma(ruta);
    }
    return BaseDatos::abrir(ruta, BaseDatos::Modo::Exclusiva);
}

} // namespace trovanel
