#include "fichero_entrada.hpp"

#include "codificacion.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace trovanel {

namespace {

HuellaFichero huellaDeDatos(const struct stat& datos) {
    return {static_cast<std::uint64_t>(datos.st_dev), static_cast<std::uint64_t>(datos.st_ino),
            static_cast<std::uint64_t>(datos.st_size), static_cast<std::int64_t>(datos.st_mtim.tv_sec),
            static_cast<std::int64_t>(datos.st_mtim.tv_nsec)};
}

} // namespace

std::optional<HuellaFichero> huellaDe(int descriptor) {
    struct stat datos {};
    if (::fstat(descriptor, &datos) != 0) {
        return std::nullopt;
    }
    return huellaDeDatos(datos);
}

std::optional<HuellaFichero> huellaDe(const std::filesystem::path& ruta) {
    struct stat datos {};
    if (::stat(ruta.c_str(), &datos) != 0) {
        return std::nullopt;
    }
    return huellaDeDatos(datos);
}

FicheroEntrada::FicheroEntrada(const std::filesystem::path& ruta) {
    // O_NONBLOCK: opening a pipe without a writer would otherwise wait for one for ever. It changes
    // nothing for a regular file.
    int descriptor = -1;
    do {
        descriptor = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        errorSistema_ = errno;
        // A folder cannot be opened for reading on every system: it is no file either way.
        struct stat datos {};
        if (::stat(ruta.c_str(), &datos) == 0) {
            noEsFichero_ = !S_ISREG(datos.st_mode);
            errorSistema_ = noEsFichero_ ? 0 : errorSistema_;
        } else {
            ausente_ = errno == ENOENT || errno == ENOTDIR;
        }
        return;
    }
    struct stat datos {};
    const bool conDatos = ::fstat(descriptor, &datos) == 0;
    if (!conDatos || !S_ISREG(datos.st_mode)) {
        noEsFichero_ = conDatos;
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
    huella_ = huellaDeDatos(datos);
}

FicheroEntrada::~FicheroEntrada() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

int FicheroEntrada::soltar() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

std::string mensajeEntrada(std::string_view mensaje, const std::filesystem::path& ruta,
                           std::string_view motivo) {
    std::error_code error;
    const std::filesystem::path absoluta = std::filesystem::absolute(ruta, error);
    std::string texto(mensaje);
    texto += "\r\n";
    texto += rutaComoTexto(error ? ruta : absoluta);
    texto += ": ";
    texto += motivo;
    return texto;
}

std::string motivoSistema(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "no existe";
    case EACCES:
    case EPERM:
        return "no tiene permiso";
    case EISDIR:
        return "es una carpeta";
    case EROFS:
        return "el disco es de solo lectura";
    case ENOSPC:
    case EDQUOT:
        return "no queda espacio en el disco";
    case ENAMETOOLONG:
        return "el nombre es demasiado largo";
    case ELOOP:
        return "demasiados enlaces simbólicos";
    case EIO:
        return "error de lectura o escritura del disco";
    case EFBIG:
        return "el fichero supera el tamaño máximo permitido";
    case EEXIST:
        return "ya existe";
    case EBUSY:
    case ETXTBSY:
        return "está en uso";
    case EMFILE:
    case ENFILE:
        return "hay demasiados ficheros abiertos";
    case ENOMEM:
        return "no hay memoria suficiente";
    case ENXIO:
    case ENODEV:
        return "el dispositivo no está disponible";
    case EAGAIN:
    case EINTR:
        return "no está disponible en este momento";
    case ENOTEMPTY:
        return "la carpeta no está vacía";
    case EXDEV:
        return "está en otro disco";
    case EMLINK:
        return "tiene demasiados enlaces";
    case EOPNOTSUPP:
        return "el sistema de ficheros no lo permite";
    case EINVAL:
        return "el nombre o la operación no son válidos";
    case 0:
        return "no se puede usar";
    default:
        // The system's text is UTF-8; messages are Windows-1252.
        return utf8ACp1252(std::strerror(error));
    }
}

} // namespace trovanel
