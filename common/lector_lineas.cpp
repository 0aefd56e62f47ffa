#include "lector_lineas.hpp"

#include "codificacion.hpp"

#include <cstring>
#include <string_view>

namespace trovanel {

namespace {
constexpr std::size_t kTamanoBuffer = 1 << 18;
constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

// The first CR or LF of a block, or nullptr.
const char* primerFinal(const char* inicio, std::size_t largo) {
    const auto* lf = static_cast<const char*>(std::memchr(inicio, '\n', largo));
    const std::size_t hastaLf = lf == nullptr ? largo : static_cast<std::size_t>(lf - inicio);
    const auto* cr = static_cast<const char*>(std::memchr(inicio, '\r', hastaLf));
    return cr != nullptr ? cr : lf;
}
} // namespace

LectorLineas::LectorLineas(const std::filesystem::path& ruta, Texto texto) : buffer_(kTamanoBuffer) {
    fichero_ = std::fopen(ruta.c_str(), "rb");
    if (fichero_ == nullptr) {
        return;
    }
    // One pass before reading: the file's first line end decides the kind of all of them (a file without
    // any is one line), and the whole file decides its encoding.
    bool finalVisto = false;
    bool marcaUtf8 = false;
    bool comprobar = texto == Texto::DetectarUtf8;
    ComprobadorUtf8 comprobador;
    for (bool primerBloque = true; !finalVisto || comprobar; primerBloque = false) {
        const std::size_t leidos = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
        if (leidos == 0) {
            break;
        }
        const std::string_view bloque(buffer_.data(), leidos);
        if (!finalVisto) {
            if (const char* final = primerFinal(bloque.data(), bloque.size())) {
                separaPorCR_ = *final == '\r';
                finalVisto = true;
            }
        }
        if (primerBloque && comprobar && bloque.starts_with(kMarcaUtf8)) {
            marcaUtf8 = true;
            comprobar = false;
        }
        if (comprobar) {
            comprobador.anadir(bloque);
            comprobar = !comprobador.descartado();
        }
    }
    utf8_ = marcaUtf8 || (texto == Texto::DetectarUtf8 && comprobador.pareceUtf8());
    error_ = std::ferror(fichero_) != 0;
    if (std::fseek(fichero_, marcaUtf8 ? static_cast<long>(kMarcaUtf8.size()) : 0, SEEK_SET) != 0) {
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
            // A last line without a line end.
            if (algoLeido && utf8_) {
                utf8ACp1252EnSitio(linea);
            }
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
        } else if (!linea.empty() && linea.back() == '\r') {
            // CR LF among LF line ends is one line end as well.
            linea.pop_back();
        }
        if (utf8_) {
            utf8ACp1252EnSitio(linea);
        }
        return !error_;
    }
}

} // namespace trovanel
