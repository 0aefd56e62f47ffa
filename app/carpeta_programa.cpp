#include "carpeta_programa.hpp"

#include "avisos.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "datos_iniciales.hpp"
#include "fichero_entrada.hpp"
#include "fichero_salida.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace trovanel {

namespace {

inline constexpr const char* kNombreEjemplo = "recibos.txt";

// Creating a file is the only sure test: permissions say nothing of a read-only file system, and root
// passes every permission check. The file has no name where the file system allows it.
std::error_code probarEscritura(const std::filesystem::path& carpeta) {
    int descriptor = ::open(carpeta.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        std::string plantilla = (carpeta / ".trovanel-escritura-XXXXXX").native();
        descriptor = ::mkostemp(plantilla.data(), O_CLOEXEC);
        if (descriptor >= 0) {
            ::unlink(plantilla.c_str());
        }
    }
    if (descriptor < 0) {
        return {errno, std::generic_category()};
    }
    ::close(descriptor);
    return {};
}

} // namespace

std::string mensajeCarpetaInutilizable(const std::filesystem::path& carpeta, const std::string& motivo) {
    return "Error: No se puede usar la carpeta del programa " + utf8ACp1252(carpeta.string()) + " (" +
           motivo +
           ").\r\nPara usar otra carpeta, indique su ruta en la variable de entorno TROVANEL_HOME "
           "(por ejemplo: TROVANEL_HOME=/ruta/de/la/carpeta trovanel).";
}

bool prepararCarpetaPrograma(const std::filesystem::path& carpeta, Avisos& avisos) {
    std::error_code error;
    const bool nueva =
        std::filesystem::symlink_status(carpeta, error).type() == std::filesystem::file_type::not_found;
    std::filesystem::create_directories(carpeta, error);
    if (!error && nueva) {
        // It will hold client names and accounts: the user's alone. A folder that was there is left as
        // its owner set it.
        std::filesystem::permissions(carpeta, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    }
    if (!error && !std::filesystem::is_directory(carpeta, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error) {
        error = probarEscritura(carpeta);
    }
    if (error) {
        // A file in the way (the folder itself or one above it) is not a missing folder.
        avisos.critico(mensajeCarpetaInutilizable(
            carpeta, error.value() == ENOTDIR ? "no es una carpeta" : motivoSistema(error.value())));
        return false;
    }

    const auto tipo = [&](const std::filesystem::path& ruta) {
        std::error_code e;
        return std::filesystem::symlink_status(ruta, e).type();
    };
    if (tipo(carpeta / kNombreBaseDatos) == std::filesystem::file_type::not_found &&
        tipo(carpeta / kNombreEjemplo) == std::filesystem::file_type::not_found) {
        // An example that cannot be written is no reason to stop: the user's own files still convert.
        FicheroSalida ejemplo(carpeta / kNombreEjemplo, FicheroSalida::Permisos::Privados);
        ejemplo.escribir(ejemploRecibos());
        ejemplo.confirmar();
    }
    return true;
}

} // namespace trovanel
