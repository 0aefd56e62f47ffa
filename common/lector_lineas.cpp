#include "lector_lineas.hpp"

#include "codificacion.hpp"
#include "texto.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <tuple>
#include <utility>

namespace trovanel {

namespace {
constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

// The first CR or LF of a block, or nullptr.
const char* primerFinal(const char* inicio, std::size_t largo) {
    const auto* lf = static_cast<const char*>(std::memchr(inicio, '\n', largo));
    const std::size_t hastaLf = lf == nullptr ? largo : static_cast<std::size_t>(lf - inicio);
    const auto* cr = static_cast<const char*>(std::memchr(inicio, '\r', hastaLf));
    return cr != nullptr ? cr : lf;
}
} // namespace

LectorLineas::LectorLineas(const std::filesystem::path& ruta, Texto texto, std::size_t maximoLinea)
    : maximoLinea_(maximoLinea) {
    FicheroEntrada entrada(ruta);
    if (!entrada.abierto()) {
        fallo_ = entrada.noEsFichero() ? Fallo::NoEsFichero : Fallo::NoSeAbre;
        errorSistema_ = entrada.errorSistema();
        return;
    }
    fichero_ = ::fdopen(entrada.descriptor(), "rb");
    if (fichero_ == nullptr) {
        fallo_ = Fallo::NoSeAbre;
        errorSistema_ = errno;
        return;
    }
    entrada.soltar();
    huella_ = entrada.huella();
    buffer_.resize(kTamanoBuffer);
    // One pass before reading: the file's first line end decides the kind of all of them (a file without
    // any is one line), and the whole file decides its encoding.
    const bool detectar = texto == Texto::DetectarUtf8;
    bool finalVisto = false;
    bool marcaUtf8 = false;
    bool alFinal = false;
    std::uint64_t leidos = 0;
    ComprobadorUtf8 comprobador;
    // A mixed file is refused as soon as it is known to be one.
    while (!finalVisto || (detectar && !comprobador.mezclado())) {
        const std::size_t bloqueLeido = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
        if (bloqueLeido == 0) {
            alFinal = true;
            break;
        }
        const std::string_view bloque(buffer_.data(), bloqueLeido);
        if (!finalVisto) {
            if (const char* final = primerFinal(bloque.data(), bloque.size())) {
                separaPorCR_ = *final == '\r';
                finalVisto = true;
            }
        }
        if (detectar) {
            // The mark is a UTF-8 character too: a byte that is not UTF-8 after it mixes two encodings.
            marcaUtf8 = marcaUtf8 || (leidos == 0 && bloque.starts_with(kMarcaUtf8));
            comprobador.anadir(bloque);
        }
        leidos += bloqueLeido;
        // A first line this long is refused when it is read: nothing more is to be learnt of the file.
        if (!finalVisto && leidos > maximoLinea_ + kMarcaUtf8.size() + 1) {
            break;
        }
    }
    if (alFinal) {
        comprobador.terminar();
    }
    utf8_ = marcaUtf8 || comprobador.pareceUtf8();
    if (std::ferror(fichero_) != 0) {
        fallar(Fallo::Lectura);
    } else if ((alFinal && leidos != huella_.tamano) || huellaDe(::fileno(fichero_)) != huella_) {
        fallar(Fallo::Cambiado);
    } else if (comprobador.mezclado()) {
        fallar(Fallo::Mezcla);
        std::tie(lineaUtf8_, lineaNoUtf8_) =
            lineasDeLosBytes(comprobador.primerMultibyte(), comprobador.primerInvalido());
        return;
    }
    const std::size_t inicio = marcaUtf8 ? kMarcaUtf8.size() : 0;
    if (std::fseek(fichero_, static_cast<long>(inicio), SEEK_SET) != 0) {
        fallar(Fallo::Lectura);
    }
    leidos_ = inicio;
}

std::pair<std::int64_t, std::int64_t> LectorLineas::lineasDeLosBytes(std::uint64_t uno, std::uint64_t otro) {
    // Counted as leer() ends lines: at every CR among CR line ends (a CR LF is one end), at every LF
    // among LF ones. One read from the start up to the later byte.
    const char terminador = separaPorCR_ ? '\r' : '\n';
    const std::uint64_t antes = std::min(uno, otro);
    const std::uint64_t despues = std::max(uno, otro);
    std::int64_t lineaAntes = 1;
    std::int64_t lineaDespues = 1;
    if (std::fseek(fichero_, 0, SEEK_SET) == 0) {
        for (std::uint64_t desde = 0; desde < despues;) {
            const std::size_t leido = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
            if (leido == 0) {
                break;
            }
            const char* datos = buffer_.data();
            const auto hasta = [&](std::uint64_t lugar) {
                return static_cast<std::size_t>(
                    std::min<std::uint64_t>(leido, lugar - std::min(lugar, desde)));
            };
            const std::int64_t primeros = std::count(datos, datos + hasta(antes), terminador);
            lineaAntes += primeros;
            lineaDespues += primeros + std::count(datos + hasta(antes), datos + hasta(despues), terminador);
            desde += leido;
        }
    }
    return uno <= otro ? std::pair{lineaAntes, lineaDespues} : std::pair{lineaDespues, lineaAntes};
}

LectorLineas::~LectorLineas() {
    if (fichero_ != nullptr) {
        std::fclose(fichero_);
    }
}

bool LectorLineas::terminarSinCambios() {
    // Fewer bytes than at the open: cut while it was read; more, or another time: written meanwhile.
    if (leidos_ != huella_.tamano || huellaDe(::fileno(fichero_)) != huella_) {
        fallar(Fallo::Cambiado);
        return false;
    }
    return true;
}

bool LectorLineas::rellenar() {
    if (fin_ || fallo_ != Fallo::Ninguno) {
        return false;
    }
    largo_ = std::fread(buffer_.data(), 1, buffer_.size(), fichero_);
    posicion_ = 0;
    if (largo_ == 0) {
        fin_ = true;
        if (std::ferror(fichero_) != 0) {
            fallar(Fallo::Lectura);
        } else {
            terminarSinCambios();
        }
        return false;
    }
    leidos_ += largo_;
    return true;
}

bool LectorLineas::entregar(std::string& linea) {
    if (linea.size() > maximoLinea_) {
        fallar(Fallo::LineaLarga);
        return false;
    }
    // A character without a Windows-1252 byte or base letter becomes a control character: the order that
    // holds it in a field is refused.
    if (utf8_ && !utf8ACp1252EnSitio(linea, kSinEquivalente)) {
        limpia_ = false;
    }
    ++lineas_;
    return true;
}

bool LectorLineas::leer(std::string& linea) {
    linea.clear();
    if (fichero_ == nullptr || fallo_ != Fallo::Ninguno) {
        return false;
    }
    const char terminador = separaPorCR_ ? '\r' : '\n';
    // Among LF line ends a line may still hold the CR of its CR LF until its end is found.
    const std::size_t tope = maximoLinea_ + (separaPorCR_ ? 0 : 1);
    limpia_ = true;
    bool algoLeido = false;
    for (;;) {
        if (posicion_ >= largo_ && !rellenar()) {
            // A last line without a line end.
            return algoLeido && fallo_ == Fallo::Ninguno && entregar(linea);
        }
        algoLeido = true;
        const char* inicio = buffer_.data() + posicion_;
        const std::size_t disponible = largo_ - posicion_;
        // The line end is the first control character, unless the line holds another one: the scan
        // tells the line clean on the way.
        const std::size_t control = primerControl({inicio, disponible});
        const char* encontrado = inicio + control;
        if (control == disponible) {
            encontrado = nullptr;
        } else if (*encontrado != terminador) {
            limpia_ = false;
            encontrado = static_cast<const char*>(std::memchr(encontrado, terminador, disponible - control));
        }
        const std::size_t trozo =
            encontrado == nullptr ? disponible : static_cast<std::size_t>(encontrado - inicio);
        if (trozo > tope - linea.size()) {
            fallar(Fallo::LineaLarga);
            return false;
        }
        linea.append(inicio, trozo);
        if (encontrado == nullptr) {
            posicion_ = largo_;
            continue;
        }
        posicion_ += trozo + 1;
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
        return fallo_ == Fallo::Ninguno && entregar(linea);
    }
}

std::string LectorLineas::motivo() const {
    switch (fallo_) {
    case Fallo::NoEsFichero:
        return kNoEsFicheroRegular;
    case Fallo::LineaLarga:
        return "la línea " + std::to_string(lineaFallida()) + " tiene más de " +
               std::to_string(maximoLinea_) + " bytes";
    case Fallo::Cambiado:
        return kCambiadoAlLeer;
    case Fallo::Mezcla:
        return "la línea " + std::to_string(lineaUtf8_) + " tiene caracteres en UTF-8 y " +
               (lineaNoUtf8_ == lineaUtf8_ ? std::string("otros que no lo son")
                                           : "la línea " + std::to_string(lineaNoUtf8_) +
                                                 " caracteres que no son UTF-8 (Windows-1252)") +
               ": guarde el fichero entero en una sola codificación";
    case Fallo::NoSeAbre:
        return motivoSistema(errorSistema_);
    case Fallo::Lectura:
        return motivoSistema(EIO);
    case Fallo::Ninguno:
        break;
    }
    return {};
}

} // namespace trovanel
