#include "log_errores.hpp"

#include "avisos.hpp"
#include "estado_ejecucion.hpp"
#include "fichero_entrada.hpp"
#include "reloj.hpp"
#include "texto.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>

namespace trovanel {

namespace {
constexpr std::string_view kAsteriscos = "*************************************";
constexpr std::size_t kTamanoBuffer = 1 << 16;

// One thread writes the log: the stream's lock would only cost time on every line.
bool escribir(std::FILE* f, std::string_view texto) {
#ifdef __GLIBC__
    return fwrite_unlocked(texto.data(), 1, texto.size(), f) == texto.size();
#else
    return std::fwrite(texto.data(), 1, texto.size(), f) == texto.size();
#endif
}

} // namespace

EscritorLog::EscritorLog(std::filesystem::path ruta, EstadoEjecucion& estado, const Reloj& reloj,
                         Avisos& avisos, std::string mensajeFallo)
    : ruta_(std::move(ruta)), estado_(estado), reloj_(reloj), avisos_(avisos),
      mensajeFallo_(std::move(mensajeFallo)) {}

EscritorLog::~EscritorLog() {
    cerrar();
}

bool EscritorLog::abrir() {
    if (fichero_ != nullptr) {
        return true;
    }
    if (ruta_.empty()) {
        return false;
    }
    // Never through a link nor into anything but a plain file: a log linked to config.ini or to the
    // database would write the rejected orders' text into it. O_NONBLOCK keeps a FIFO from blocking.
    const int fd =
        ::open(ruta_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat datos {};
        const bool existe = ::lstat(ruta_.c_str(), &datos) == 0;
        motivo_ = existe && S_ISLNK(datos.st_mode)                               ? "es un enlace simbólico"
                  : existe && !S_ISREG(datos.st_mode) && !S_ISDIR(datos.st_mode) ? kNoEsFicheroRegular
                                                                                 : motivoSistema(error);
        return false;
    }
    struct stat datos {};
    if (::fstat(fd, &datos) != 0 || !S_ISREG(datos.st_mode)) {
        motivo_ = kNoEsFicheroRegular;
        ::close(fd);
        return false;
    }
    fichero_ = ::fdopen(fd, "ab");
    if (fichero_ == nullptr) {
        motivo_ = motivoSistema(errno);
        ::close(fd);
        return false;
    }
    if (!buffer_) {
        buffer_ = std::make_unique<char[]>(kTamanoBuffer);
    }
    std::setvbuf(fichero_, buffer_.get(), _IOFBF, kTamanoBuffer);
    return true;
}

void EscritorLog::escribirBloque(std::int64_t numeroLinea,
                                 std::initializer_list<std::string_view> identificacion) {
    empezarBloque(numeroLinea);
    for (std::string_view linea : identificacion) {
        anadirLinea(linea);
    }
    terminarBloque();
}

void EscritorLog::escribirBloqueRotulado(std::int64_t numeroLinea,
                                         std::initializer_list<LineaRotulada> identificacion) {
    empezarBloque(numeroLinea);
    for (const LineaRotulada& linea : identificacion) {
        anadirLinea(linea.rotulo, linea.valor);
    }
    terminarBloque();
}

void EscritorLog::anadirLinea(std::string_view rotulo, std::string_view valor) {
    const std::size_t desde = bloque_.size();
    bloque_.append(rotulo).append(valor);
    // A control character is written as "?": a NUL or a CR of the input would otherwise break the log's
    // lines or hide the rest of them.
    if (hayCaracterControl(std::string_view(bloque_).substr(desde))) {
        for (std::size_t i = desde; i < bloque_.size(); ++i) {
            if (esCaracterControl(bloque_[i])) {
                bloque_[i] = '?';
            }
        }
    }
    bloque_.append("\r\n");
}

void EscritorLog::empezarBloque(std::int64_t numeroLinea) {
    bloque_.clear();
    anadirLinea(kAsteriscos);
    char cifras[24];
    const char* fin = std::to_chars(cifras, cifras + sizeof cifras, numeroLinea).ptr;
    anadirLinea("Numero Linea: ", std::string_view(cifras, static_cast<std::size_t>(fin - cifras)));
}

void EscritorLog::terminarBloque() {
    anadirLinea(" ");
    for (const std::string& error : estado_.gErrores) {
        anadirLinea(error);
    }
    bool bien = abrir();
    if (bien && estado_.gCabeceraLogPendiente) {
        const FechaHora ahora = reloj_.ahora();
        std::string cabecera(kAsteriscos);
        cabecera.append("\r\n").append(fechaCorta(ahora)).append(" - ").append(horaLarga(ahora));
        cabecera.append("\r\n");
        bien = escribir(fichero_, cabecera);
        errorEscritura(bien);
        // Only a header that really went out stops the next block from writing it.
        estado_.gCabeceraLogPendiente = !bien;
    }
    if (bien) {
        bien = escribir(fichero_, bloque_);
        errorEscritura(bien);
    }
    estado_.gErrores.clear();
    if (!bien) {
        fallido_ = true;
        avisarFallo();
        if (fichero_ != nullptr) {
            std::fclose(fichero_);
            fichero_ = nullptr;
        }
    }
}

bool EscritorLog::cerrar() {
    if (fichero_ == nullptr) {
        return true;
    }
    const bool bien = std::fclose(fichero_) == 0;
    errorEscritura(bien);
    fichero_ = nullptr;
    if (!bien) {
        fallido_ = true;
        avisarFallo();
    }
    return bien;
}

void EscritorLog::errorEscritura(bool bien) {
    if (!bien) {
        motivo_ = motivoSistema(errno);
    }
}

void EscritorLog::avisarFallo() {
    // The log's path and the reason after the family's message, as for any file that fails.
    avisos_.critico(ruta_.empty() ? mensajeFallo_ : mensajeEntrada(mensajeFallo_, ruta_, motivo_));
}

void EscribirLog(EscritorLog& log, std::int64_t numLinea, std::string_view nifOrdenante,
                 std::string_view nombreTitular) {
    log.escribirBloqueRotulado(numLinea,
                               {{"Nif Ordenante: ", nifOrdenante}, {"Nombre Titular: ", nombreTitular}});
}

} // namespace trovanel
