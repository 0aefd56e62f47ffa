#include "lector_lineas.hpp"

#include <cstring>

namespace trovanel {

namespace {
constexpr std::size_t kTamanoBuffer = 1 << 18;
}

LectorLineas::LectorLineas(const std::filesystem::path& ruta) : buffer_(kTamanoBuffer) {
    fichero_ = std::fopen(ruta.c_str(), "rb");
    if (fichero_ == nullptr) {
        return;
    }
    // The kind of line end is decided by the whole file: one pass up to the first CR.
    while (!separaPorCR_) {
        const std::size_t leidos = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
        if (leidos == 0) {
            break;
        }
        separaPorCR_ = std::memchr(buffer_.data(), '\r', leidos) != nullptr;
    }
    error_ = std::ferror(fichero_) != 0;
    if (std::fseek(fichero_, 0, SEEK_SET) != 0) {
        error_ = true;
    }
}

LectorLineas::~LectorLineas() {
    if (fichero_ != nullptr) {
        std::fclose(fichero_);
    }
}

bool LectorLineas::rellenar() {
    if (fin_ || error_) {
        return false;
    }
    largo_ = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
    posicion_ = 0;
    if (largo_ == 0) {
        fin_ = true;
        error_ = std::ferror(fichero_) != 0;
        return false;
    }
    return true;
}

bool LectorLineas::leer(std::string& linea) {
    linea.clear();
    if (fichero_ == nullptr || error_) {
        return false;
    }
    const char terminador = separaPorCR_ ? '\r' : '\n';
    bool algoLeido = false;
    for (;;) {
        if (posicion_ >= largo_ && !rellenar()) {
            return algoLeido && !error_;
        }
        algoLeido = true;
        const char* inicio = buffer_.data() + posicion_;
        const std::size_t disponible = largo_ - posicion_;
        const auto* encontrado = static_cast<const char*>(std::memchr(inicio, terminador, disponible));
        if (encontrado == nullptr) {
            linea.append(inicio, disponible);
            posicion_ = largo_;
            continue;
        }
        linea.append(inicio, static_cast<std::size_t>(encontrado - inicio));
        posicion_ += static_cast<std::size_t>(encontrado - inicio) + 1;
        if (separaPorCR_) {
            // CR LF counts as one line end; the LF may lie in the next block.
            if (posicion_ >= largo_) {
                rellenar();
            }
            if (posicion_ < largo_ && buffer_[posicion_] == '\n') {
                ++posicion_;
            }
        }
        return !error_;
    }
}

} // namespace trovanel
