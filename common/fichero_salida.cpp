#include "fichero_salida.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {
constexpr std::size_t kTamanoBuffer = 1 << 16;

mode_t permisosPorDefecto() {
    // mkstemp creates 0600; a bank file should get the permissions any new file of the user gets.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return static_cast<mode_t>(0666 & ~mascara);
}
} // namespace

FicheroSalida::FicheroSalida(std::filesystem::path destino) : destino_(std::move(destino)) {
    // The rename at the end would replace a read-only file and fail on a folder only after all the
    // work: refuse both now, as opening the target itself for writing would.
    std::error_code error;
    const auto estado = std::filesystem::status(destino_, error);
    if (std::filesystem::exists(estado) &&
        (std::filesystem::is_directory(estado) || ::access(destino_.c_str(), W_OK) != 0)) {
        return;
    }
    std::string plantilla = destino_.string() + ".tmp-XXXXXX";
    std::vector<char> nombre(plantilla.begin(), plantilla.end());
    nombre.push_back('\0');
    const int fd = ::mkstemp(nombre.data());
    if (fd < 0) {
        return;
    }
    temporal_ = std::filesystem::path(nombre.data());
    ::fchmod(fd, permisosPorDefecto());
    fichero_ = ::fdopen(fd, "wb");
    if (fichero_ == nullptr) {
        ::close(fd);
        std::error_code ignorado;
        std::filesystem::remove(temporal_, ignorado);
        return;
    }
    buffer_ = std::make_unique<char[]>(kTamanoBuffer);
    std::setvbuf(fichero_, buffer_.get(), _IOFBF, kTamanoBuffer);
}

FicheroSalida::~FicheroSalida() {
    descartar();
}

void FicheroSalida::escribir(std::string_view texto) {
    if (fichero_ == nullptr || fallo_) {
        fallo_ = true;
        return;
    }
    if (std::fwrite(texto.data(), 1, texto.size(), fichero_) != texto.size()) {
        fallo_ = true;
    }
}

void FicheroSalida::escribirLinea(std::string_view texto) {
    escribir(texto);
    escribir("\r\n");
}

bool FicheroSalida::confirmar() {
    if (fichero_ == nullptr) {
        return false;
    }
    bool bien = !fallo_ && std::fflush(fichero_) == 0;
    bien = std::fclose(fichero_) == 0 && bien;
    fichero_ = nullptr;
    if (bien) {
        std::error_code error;
        std::filesystem::rename(temporal_, destino_, error);
        bien = !error;
    }
    if (!bien) {
        std::error_code ignorado;
        std::filesystem::remove(temporal_, ignorado);
        fallo_ = true;
    }
    temporal_.clear();
    return bien;
}

void FicheroSalida::descartar() {
    if (fichero_ != nullptr) {
        std::fclose(fichero_);
        fichero_ = nullptr;
    }
    if (!temporal_.empty()) {
        std::error_code ignorado;
        std::filesystem::remove(temporal_, ignorado);
        temporal_.clear();
    }
}

} // namespace trovanel
