#include "fichero_salida.hpp"

#include "codificacion.hpp"
#include "fichero_entrada.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {
// What follows the target's name in the name of a file being written: the mark and six characters.
constexpr std::string_view kMarca = ".trovanel-";
constexpr std::size_t kLargoSufijo = 6;
constexpr std::string_view kLetras = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool permitidoSinNombre = true;

mode_t permisosPorDefecto() {
    // mkstemp creates 0600; a bank file should get the permissions any new file of the user gets.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return static_cast<mode_t>(0666 & ~mascara);
}

std::string prefijoTemporal(const std::filesystem::path& destino) {
    return destino.filename().native() + std::string(kMarca);
}

bool esTemporalDe(const std::string& nombre, const std::string& prefijo) {
    if (nombre.size() != prefijo.size() + kLargoSufijo || !nombre.starts_with(prefijo)) {
        return false;
    }
    return nombre.find_first_not_of(kLetras, prefijo.size()) == std::string::npos;
}

std::filesystem::path nombreTemporalNuevo(const std::filesystem::path& carpeta, const std::string& prefijo) {
    static std::mt19937 generador{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letra(0, kLetras.size() - 1);
    std::string nombre = prefijo;
    for (std::size_t i = 0; i < kLargoSufijo; ++i) {
        nombre += kLetras[letra(generador)];
    }
    return carpeta / nombre;
}

void quitar(const std::filesystem::path& ruta) {
    std::error_code ignorado;
    std::filesystem::remove(ruta, ignorado);
}
} // namespace

void FicheroSalida::permitirSinNombre(bool permitir) {
    permitidoSinNombre = permitir;
}

std::optional<std::filesystem::path> FicheroSalida::destinoFinal(const std::filesystem::path& destino) {
    // As many links as the system itself follows before it gives up on a loop.
    constexpr int kMaxEnlaces = 40;
    std::filesystem::path ruta = destino;
    for (int enlaces = 0; enlaces <= kMaxEnlaces; ++enlaces) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(ruta, error))) {
            return ruta;
        }
        const std::filesystem::path objetivo = std::filesystem::read_symlink(ruta, error);
        if (error) {
            return ruta;
        }
        // A relative link leads from the folder that holds it.
        ruta = objetivo.is_absolute() ? objetivo : ruta.parent_path() / objetivo;
    }
    return std::nullopt;
}

namespace {
std::filesystem::path carpetaDe(const std::filesystem::path& ruta) {
    return ruta.has_parent_path() ? ruta.parent_path() : ".";
}

// Why the file at ruta (no link) cannot be put in place; empty when it can.
std::string motivoDestino(const std::filesystem::path& ruta) {
    std::error_code error;
    const auto estado = std::filesystem::status(ruta, error);
    if (ruta.filename().empty() || std::filesystem::is_directory(estado)) {
        return motivoSistema(EISDIR);
    }
    if (std::filesystem::exists(estado)) {
        if (!std::filesystem::is_regular_file(estado)) {
            return kNoEsFicheroRegular;
        }
        if (::access(ruta.c_str(), W_OK) != 0) {
            return motivoSistema(errno);
        }
    }
    // The file is made in its folder and renamed there.
    const std::filesystem::path carpeta = carpetaDe(ruta);
    struct stat datos {};
    if (::stat(carpeta.c_str(), &datos) != 0 && errno != ENOENT && errno != ENOTDIR) {
        return motivoSistema(errno);
    }
    if (!S_ISDIR(datos.st_mode)) {
        return "su carpeta no existe";
    }
    if (::access(carpeta.c_str(), W_OK | X_OK) != 0) {
        return errno == EACCES || errno == EPERM ? "no tiene permiso para escribir en su carpeta"
                                                 : motivoSistema(errno);
    }
    return {};
}

// destinoInutilizable, given where destino's links lead.
std::string motivoDestinoFinal(const std::filesystem::path& destino,
                               const std::optional<std::filesystem::path>& final) {
    if (!final) {
        return motivoSistema(ELOOP);
    }
    const std::string motivo = motivoDestino(*final);
    if (motivo.empty() || *final == destino) {
        return motivo;
    }
    // The reason is the file's the link leads to, which the user may not have in mind.
    return "lleva a " + rutaComoTexto(*final) + ": " + motivo;
}
} // namespace

std::string FicheroSalida::destinoInutilizable(const std::filesystem::path& destino) {
    // Putting the file in place at the end would replace a read-only file, a FIFO or a device node, and
    // fail on a folder, or in a folder that is missing or may not be written, only after all the work:
    // refuse them now.
    return motivoDestinoFinal(destino, destinoFinal(destino));
}

std::string FicheroSalida::motivo() const {
    return motivo_.empty() ? motivoSistema(errorSistema_) : motivo_;
}

FicheroSalida::FicheroSalida(std::filesystem::path destino, Permisos permisos)
    : destino_(std::move(destino)), permisos_(permisos) {
    const auto final = destinoFinal(destino_);
    motivo_ = motivoDestinoFinal(destino_, final);
    if (!motivo_.empty()) {
        return;
    }
    final_ = *final;
    const std::filesystem::path carpeta = carpetaDe(final_);
    quitarAbandonados(carpeta);
    int fd = permitidoSinNombre ? abrirSinNombre(carpeta) : -1;
    if (fd < 0) {
        fd = abrirConNombre(carpeta);
    }
    if (fd < 0) {
        errorSistema_ = errno;
        return;
    }
    if (permisos_ == Permisos::Privados) {
        // Whatever the umask: the mode given at creation can only lose bits to it. It was never wider.
        ::fchmod(fd, S_IRUSR | S_IWUSR);
    }
    // A new file: nobody else can hold its lock.
    ::flock(fd, LOCK_EX | LOCK_NB);
    descriptor_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    fichero_ = descriptor_ < 0 ? nullptr : ::fdopen(fd, "wb");
    if (fichero_ == nullptr) {
        errorSistema_ = errno;
        ::close(fd);
        descartar();
        return;
    }
    std::setvbuf(fichero_, nullptr, _IONBF, 0);
    buffer_ = std::make_unique_for_overwrite<char[]>(kTamanoBuffer);
}

int FicheroSalida::abrirSinNombre(const std::filesystem::path& carpeta) {
    // The mode goes through the umask, as for any new file of the user; a private file is the user's
    // from the start.
    const mode_t modo = permisos_ == Permisos::Privados ? S_IRUSR | S_IWUSR : 0666;
    const int fd = ::open(carpeta.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, modo);
    if (fd < 0) {
        return -1;
    }
    // Naming it at the end goes through /proc: without /proc, take the named way from the start.
    const std::string enlace = "/proc/self/fd/" + std::to_string(fd);
    if (::access(enlace.c_str(), F_OK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int FicheroSalida::abrirConNombre(const std::filesystem::path& carpeta) {
    const std::string plantilla = (carpeta / (prefijoTemporal(final_) + "XXXXXX")).native();
    std::vector<char> nombre(plantilla.begin(), plantilla.end());
    nombre.push_back('\0');
    const int fd = ::mkostemp(nombre.data(), O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    temporal_ = std::filesystem::path(nombre.data());
    // mkostemp made it the user's alone: only a file that is not private gets what the umask gives.
    if (permisos_ == Permisos::DelUsuario) {
        ::fchmod(fd, permisosPorDefecto());
    }
    return fd;
}

void FicheroSalida::quitarAbandonados(const std::filesystem::path& carpeta) const {
    // Files of this target that a killed process left. A live one (another process writing the same
    // target) keeps its lock and stays.
    const std::string prefijo = prefijoTemporal(final_);
    std::error_code error;
    for (std::filesystem::directory_iterator it(carpeta, error), fin; !error && it != fin;
         it.increment(error)) {
        const std::filesystem::path& ruta = it->path();
        if (!esTemporalDe(ruta.filename().native(), prefijo)) {
            continue;
        }
        const int fd = ::open(ruta.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat datos {};
        if (::fstat(fd, &datos) == 0 && S_ISREG(datos.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(ruta.c_str());
        }
        ::close(fd);
    }
}

FicheroSalida::~FicheroSalida() {
    descartar();
}

void FicheroSalida::escribirBloque(const char* datos, std::size_t n) {
    if (transformar_) {
        transformado_.assign(datos, n);
        transformar_(transformado_);
        datos = transformado_.data();
        n = transformado_.size();
    }
    // One thread writes each file: the stream's lock would only cost time.
#ifdef __GLIBC__
    const std::size_t escritos = fwrite_unlocked(datos, 1, n, fichero_);
#else
    const std::size_t escritos = std::fwrite(datos, 1, n, fichero_);
#endif
    if (escritos != n) {
        fallo_ = true;
        errorSistema_ = errno;
    }
}

void FicheroSalida::volcar() {
    if (usado_ != 0 && fichero_ != nullptr && !fallo_) {
        escribirBloque(buffer_.get(), usado_);
    }
    usado_ = 0;
}

void FicheroSalida::escribir(std::string_view texto) {
    if (fichero_ == nullptr || fallo_) {
        fallo_ = true;
        return;
    }
    if (texto.size() > kTamanoBuffer - usado_) {
        volcar();
    }
    if (texto.size() >= kTamanoBuffer) {
        escribirBloque(texto.data(), texto.size());
    } else if (!texto.empty()) {
        std::memcpy(buffer_.get() + usado_, texto.data(), texto.size());
        usado_ += texto.size();
    }
}

void FicheroSalida::escribirLinea(std::string_view texto) {
    escribir(texto);
    escribir("\r\n");
}

char* FicheroSalida::reservarLineaTrasVolcar(std::size_t n) {
    volcar();
    if (fichero_ == nullptr || fallo_ || n + 2 > kTamanoBuffer) {
        // Nothing more reaches the file: the line is built where it harms nothing, and is dropped.
        fallo_ = true;
        descartado_.resize(n + 2);
        return descartado_.data();
    }
    return reservarLinea(n);
}

bool FicheroSalida::confirmar() {
    if (fichero_ == nullptr) {
        return false;
    }
    volcar();
    bool bien = !fallo_ && std::fflush(fichero_) == 0;
    if (!fallo_ && !bien) {
        errorSistema_ = errno;
    }
    if (std::fclose(fichero_) != 0 && bien) {
        errorSistema_ = errno;
        bien = false;
    }
    fichero_ = nullptr;
    if (bien && !ponerNombre()) {
        errorSistema_ = errno;
        bien = false;
    }
    descartar();
    fallo_ = fallo_ || !bien;
    return bien;
}

bool FicheroSalida::ponerNombre() {
    if (temporal_.empty()) {
        // A link cannot replace a name: give the file a fresh name of its own, then rename it over the
        // target, which replaces the earlier file in one step.
        const std::string enlace = "/proc/self/fd/" + std::to_string(descriptor_);
        const std::string prefijo = prefijoTemporal(final_);
        const std::filesystem::path carpeta = carpetaDe(final_);
        for (int intento = 0; intento < 100 && temporal_.empty(); ++intento) {
            const std::filesystem::path nombre = nombreTemporalNuevo(carpeta, prefijo);
            if (::linkat(AT_FDCWD, enlace.c_str(), AT_FDCWD, nombre.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                temporal_ = nombre;
            } else if (errno != EEXIST) {
                return false;
            }
        }
        if (temporal_.empty()) {
            return false;
        }
    }
    if (::rename(temporal_.c_str(), final_.c_str()) != 0) {
        return false;
    }
    temporal_.clear();
    return true;
}

void FicheroSalida::descartar() {
    usado_ = 0;
    if (fichero_ != nullptr) {
        std::fclose(fichero_);
        fichero_ = nullptr;
    }
    // The name goes before the lock, so no other process takes this file for an abandoned one.
    if (!temporal_.empty()) {
        quitar(temporal_);
        temporal_.clear();
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

} // namespace trovanel
