#include "codificacion.hpp"

#include "procesador.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace trovanel {

namespace {

// The byte-order mark: opening a text, it says the text is UTF-8.
constexpr char32_t kMarcaOrden = 0xFEFF;
constexpr char32_t kCaracterReemplazo = 0xFFFD;

// Code points of bytes 0x80-0x9F; the five bytes Windows-1252 leaves undefined map to the C1
// controls of the same value, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kBloque80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The base letter, in Windows-1252 (octal where not ASCII), of each Latin letter of U+0100-U+024F and
// U+1E00-U+1EFF, "\0" where there is none (ligatures, IPA and African letters, digraphs). Made once from
// Unicode's data: the canonical decomposition's letter with the marks that Windows-1252 has composed with it
// (ǘ: ü, ế: ê), else the letter that the character's name says it is built on (Ł: "L with stroke").
constexpr char kBasesLatinas[] = "AaAaAaCcCcCcCcDd"                                           // U+0100
                                 "DdEeEeEeEeEeGgGg"                                           // U+0110
                                 "GgGgHhHhIiIiIiIi"                                           // U+0120
                                 "Ii\0\0JjKkkLlLlLlL"                                         // U+0130
                                 "lLlNnNnNnnNnOoOo"                                           // U+0140
                                 "Oo\214\234RrRrRrSsSsSs"                                     // U+0150
                                 "\212\232TtTtTtUuUuUuUu"                                     // U+0160
                                 "UuUuWwYy\237ZzZz\216\236s"                                  // U+0170
                                 "bBBb\0\0\0Cc\0DDd\0\0\0"                                    // U+0180
                                 "\0F\203G\0\0\0IKkl\0\0NnO"                                  // U+0190
                                 "Oo\0\0Pp\0\0\0\0\0tTtTU"                                    // U+01A0
                                 "u\0VYyZz\0\0\0\0\0\0\0\0\0"                                 // U+01B0
                                 "\0\0\0\0\0\0\0\0\0\0\0\0\0AaI"                              // U+01C0
                                 "iOoUu\334\374\334\374\334\374\334\374\0\304\344"            // U+01D0
                                 "Aa\306\346GgGgKkOoOo\0\0"                                   // U+01E0
                                 "j\0\0\0Gg\0\0Nn\305\345\306\346\330\370"                    // U+01F0
                                 "AaAaEeEeIiIiOoOo"                                           // U+0200
                                 "RrRrUuUuSsTt\0\0Hh"                                         // U+0210
                                 "Nd\0\0ZzAaEe\326\366\325\365Oo"                             // U+0220
                                 "OoYylntj\0\0ACcLTs"                                         // U+0230
                                 "z\0\0BU\0EeJj\0qRrYy"                                       // U+0240
                                 "AaBbBbBb\307\347DdDdDd"                                     // U+1E00
                                 "DdDd\310\350\311\351EeEeEeFf"                               // U+1E10
                                 "GgHhHhHhHhHhIi\317\357"                                     // U+1E20
                                 "KkKkKkLlLlLlLlMm"                                           // U+1E30
                                 "MmMmNnNnNnNn\325\365\325\365"                               // U+1E40
                                 "\322\362\323\363PpPpRrRrRrRr"                               // U+1E50
                                 "SsSsSs\212\232SsTtTtTt"                                     // U+1E60
                                 "TtUuUuUu\332\372\334\374VvVv"                               // U+1E70
                                 "WwWwWwWwWwXxXxYy"                                           // U+1E80
                                 "ZzZzZzhtwyasss\0\0"                                         // U+1E90
                                 "AaAa\302\342\302\342\302\342\302\342\302\342\301\341"       // U+1EA0
                                 "\300\340Aa\303\343AaEeEeEe\312\352"                         // U+1EB0
                                 "\312\352\312\352\312\352\312\352IiIiOoOo"                   // U+1EC0
                                 "\324\364\324\364\324\364\324\364\324\364\323\363\322\362Oo" // U+1ED0
                                 "\325\365OoUuUu\332\372\331\371UuUu"                         // U+1EE0
                                 "UuYyYyYyYy\0\0\0\0Yy";                                      // U+1EF0
constexpr char32_t kInicioExtendidaA = 0x100;
constexpr char32_t kFinExtendidaB = 0x250;
constexpr char32_t kInicioAdicional = 0x1E00;
constexpr char32_t kFinAdicional = 0x1F00;
static_assert(sizeof kBasesLatinas - 1 ==
              (kFinExtendidaB - kInicioExtendidaA) + (kFinAdicional - kInicioAdicional));

// For each combining mark that Windows-1252 has letters with: the letters it goes on and what they become.
struct LetrasCompuestas {
    char32_t marca;
    std::string_view bases;
    std::string_view compuestas;
};
constexpr LetrasCompuestas kCompuestas[] = {
    {0x300, "AEIOUaeiou", "\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2\xF9"},
    {0x301, "AEIOUYaeiouy", "\xC1\xC9\xCD\xD3\xDA\xDD\xE1\xE9\xED\xF3\xFA\xFD"},
    {0x302, "AEIOUaeiou", "\xC2\xCA\xCE\xD4\xDB\xE2\xEA\xEE\xF4\xFB"},
    {0x303, "ANOano", "\xC3\xD1\xD5\xE3\xF1\xF5"},
    {0x308, "YAEIOUaeiouy", "\x9F\xC4\xCB\xCF\xD6\xDC\xE4\xEB\xEF\xF6\xFC\xFF"},
    {0x30A, "Aa", "\xC5\xE5"},
    {0x30C, "SZsz", "\x8A\x8E\x9A\x9E"},
    {0x327, "Cc", "\xC7\xE7"},
};
constexpr char32_t kPrimeraMarca = 0x300;
constexpr char32_t kUltimaMarca = 0x36F;

// The base letter of a Latin letter that Windows-1252 lacks, or '\0'.
char baseLatina(char32_t cp) {
    if (cp >= kInicioExtendidaA && cp < kFinExtendidaB) {
        return kBasesLatinas[cp - kInicioExtendidaA];
    }
    if (cp >= kInicioAdicional && cp < kFinAdicional) {
        return kBasesLatinas[(kFinExtendidaB - kInicioExtendidaA) + (cp - kInicioAdicional)];
    }
    return '\0';
}

// The letter with a combining mark on it where Windows-1252 has one, else the letter as it was.
char conMarca(char letra, char32_t marca) {
    for (const LetrasCompuestas& compuestas : kCompuestas) {
        if (compuestas.marca == marca) {
            const std::size_t lugar = compuestas.bases.find(letra);
            return lugar == std::string_view::npos ? letra : compuestas.compuestas[lugar];
        }
    }
    return letra;
}

// Decodes one UTF-8 sequence at i; returns its length, 0 when it is not well-formed.
std::size_t decodificar(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t largo = 0;
    char32_t minimo = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        largo = 2;
        cp = b0 & 0x1F;
        minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        largo = 3;
        cp = b0 & 0x0F;
        minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        largo = 4;
        cp = b0 & 0x07;
        minimo = 0x10000;
    } else {
        return 0;
    }
    if (i + largo > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < largo; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return largo;
}

#ifdef TROVANEL_AVX2
// The ASCII run from i in steps of 128 bytes, where the processor has 32-byte registers; where it stops,
// the rest is looked at more closely.
[[gnu::target("avx2")]] std::size_t finAscii128(const char* datos, std::size_t i, std::size_t largo) {
    for (; i + 128 <= largo; i += 128) {
        const auto* bloques = reinterpret_cast<const __m256i*>(datos + i);
        const __m256i todos = _mm256_or_si256(
            _mm256_or_si256(_mm256_loadu_si256(bloques), _mm256_loadu_si256(bloques + 1)),
            _mm256_or_si256(_mm256_loadu_si256(bloques + 2), _mm256_loadu_si256(bloques + 3)));
        if (_mm256_movemask_epi8(todos) != 0) {
            break;
        }
    }
    return i;
}

#endif

// Index of the first byte from i with its high bit set, or largo. Most text is ASCII: 128 or 64 bytes at
// a time where the processor has 32- or 16-byte registers (every input file is scanned whole), else 32.
std::size_t finAscii(const char* datos, std::size_t i, std::size_t largo) {
#ifdef TROVANEL_AVX2
    if (conAvx2()) {
        i = finAscii128(datos, i, largo);
    }
#endif
#ifdef __SSE2__
    while (conSse2() && i + 64 <= largo) {
        const auto bloque = [datos, i](std::size_t desde) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(datos + i + desde));
        };
        const __m128i todos =
            _mm_or_si128(_mm_or_si128(bloque(0), bloque(16)), _mm_or_si128(bloque(32), bloque(48)));
        if (_mm_movemask_epi8(todos) != 0) {
            break;
        }
        i += 64;
    }
#endif
    constexpr std::uint64_t kAltos = 0x8080808080808080ULL;
    while (i + 32 <= largo) {
        std::uint64_t bloque[4];
        std::memcpy(bloque, datos + i, sizeof bloque);
        if (((bloque[0] | bloque[1] | bloque[2] | bloque[3]) & kAltos) != 0) {
            break;
        }
        i += 32;
    }
    while (i < largo && static_cast<unsigned char>(datos[i]) < 0x80) {
        ++i;
    }
    return i;
}

// Index of the first byte from i that may begin a character of several bytes (a lead byte followed by
// a continuation byte), or one of the last bytes, which are looked at one by one. Once a text is known
// not to be UTF-8 only such a character is still of interest, and Windows-1252 text has none: its accented
// letters are followed by ASCII. 16 bytes at a time where the processor has 16-byte registers.
std::size_t siguientePosibleMultibyte(const char* datos, std::size_t i, std::size_t largo) {
#ifdef __SSE2__
    const __m128i primerPrincipal = _mm_set1_epi8(static_cast<char>(0xC2));
    const __m128i ultimoPrincipal = _mm_set1_epi8(static_cast<char>(0xF4));
    const __m128i altos = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i continuacion = _mm_set1_epi8(static_cast<char>(0x80));
    while (conSse2() && i + 17 <= largo) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(datos + i));
        const __m128i siguientes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(datos + i + 1));
        // Unsigned comparisons: C2 <= byte <= F4, and the next one is 80 to BF.
        const __m128i principal = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(bytes, primerPrincipal), bytes),
                                                _mm_cmpeq_epi8(_mm_min_epu8(bytes, ultimoPrincipal), bytes));
        const __m128i seguido = _mm_cmpeq_epi8(_mm_and_si128(siguientes, altos), continuacion);
        const int mascara = _mm_movemask_epi8(_mm_and_si128(principal, seguido));
        if (mascara != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mascara)));
        }
        i += 16;
    }
#else
    (void)datos;
    (void)largo;
#endif
    return i;
}

} // namespace

void anadirUtf8(std::string& salida, char32_t cp) {
    if (cp < 0x80) {
        salida.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        salida.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        salida.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        salida.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        salida.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        salida.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        salida.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        salida.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        salida.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        salida.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::optional<char> byteWindows1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t i = 0; i < kBloque80.size(); ++i) {
        if (kBloque80[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

bool todoEnWindows1252(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t largo = decodificar(utf8, i, cp);
        if (largo == 0 || !byteWindows1252(cp)) {
            return false;
        }
        i += largo;
    }
    return true;
}

bool utf8ACp1252EnSitio(std::string& texto, char sinEquivalente) {
    const std::string_view utf8 = texto;
    std::size_t i = finAscii(utf8.data(), 0, utf8.size());
    std::size_t escrito = i;
    bool todos = true;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t largo = decodificar(utf8, i, cp);
        i += largo == 0 ? 1 : largo;
        if (largo == 0) {
            cp = kCaracterReemplazo; // each invalid byte stands for a character Windows-1252 lacks
        }
        if (const auto byte = byteWindows1252(cp)) {
            texto[escrito++] = *byte;
        } else if (cp >= kPrimeraMarca && cp <= kUltimaMarca) {
            // A combining mark: on the letter before it, or nowhere.
            if (escrito > 0) {
                texto[escrito - 1] = conMarca(texto[escrito - 1], cp);
            }
        } else if (const char base = baseLatina(cp); base != '\0') {
            texto[escrito++] = base;
        } else {
            texto[escrito++] = sinEquivalente;
            todos = false;
        }
        // The ASCII run up to the next sequence moves down as it is.
        const std::size_t fin = finAscii(utf8.data(), i, utf8.size());
        std::memmove(texto.data() + escrito, utf8.data() + i, fin - i);
        escrito += fin - i;
        i = fin;
    }
    texto.resize(escrito);
    return todos;
}

std::string utf8ACp1252(std::string_view utf8, char sinEquivalente) {
    std::string salida(utf8);
    utf8ACp1252EnSitio(salida, sinEquivalente);
    return salida;
}

std::string cp1252AUtf8(std::string_view cp1252) {
    std::string salida;
    salida.reserve(cp1252.size() + cp1252.size() / 8);
    for (char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            salida.push_back(c);
        } else if (b < 0xA0) {
            anadirUtf8(salida, kBloque80[b - 0x80]);
        } else {
            anadirUtf8(salida, b);
        }
    }
    return salida;
}

bool pareceUtf8(std::string_view texto) {
    ComprobadorUtf8 comprobador;
    comprobador.anadir(texto);
    return comprobador.pareceUtf8();
}

void ComprobadorUtf8::anotarInvalido(std::uint64_t lugar) {
    if (!invalido_) {
        invalido_ = true;
        primerInvalido_ = lugar;
    }
}

void ComprobadorUtf8::anadir(std::string_view trozo) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(trozo.data());
    const std::size_t largo = trozo.size();
    std::size_t i = 0;
    while (i < largo && !mezclado()) {
        if (pendientes_ > 0) {
            const unsigned char b = bytes[i];
            if (b < minimo_ || b > maximo_) {
                // The character is cut short: its lead byte is no UTF-8, and this byte starts afresh.
                anotarInvalido(inicioCaracter_);
                pendientes_ = 0;
            } else {
                ++i;
                caracter_ = (caracter_ << 6) | (b & 0x3F);
                if (--pendientes_ == 0 && !deWindows1252_) {
                    multibyte_ = true;
                    if ((caracter_ >= 0xA0 && byteWindows1252(caracter_)) ||
                        (caracter_ == kMarcaOrden && inicioCaracter_ == 0)) {
                        deWindows1252_ = true;
                        primerMultibyte_ = inicioCaracter_;
                    }
                }
            }
            minimo_ = 0x80;
            maximo_ = 0xBF;
            continue;
        }
        if (invalido_) {
            i = siguientePosibleMultibyte(trozo.data(), i, largo);
        }
        i = finAscii(trozo.data(), i, largo);
        if (i == largo) {
            break;
        }
        const unsigned char b = bytes[i];
        inicioCaracter_ = inicioTrozo_ + i;
        ++i;
        // The lead byte fixes the length and the range of the first continuation byte, which rules out
        // overlong forms, surrogate halves and code points past U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            pendientes_ = 1;
            caracter_ = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pendientes_ = 2;
            caracter_ = b & 0x0F;
            minimo_ = b == 0xE0 ? 0xA0 : 0x80;
            maximo_ = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            pendientes_ = 3;
            caracter_ = b & 0x07;
            minimo_ = b == 0xF0 ? 0x90 : 0x80;
            maximo_ = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            anotarInvalido(inicioCaracter_);
        }
    }
    inicioTrozo_ += largo;
}

void ComprobadorUtf8::terminar() {
    if (pendientes_ > 0) {
        anotarInvalido(inicioCaracter_);
        pendientes_ = 0;
    }
}

std::string rutaComoTexto(const std::filesystem::path& ruta) {
    const std::string& nativo = ruta.native();
    return pareceUtf8(nativo) ? utf8ACp1252(nativo) : nativo;
}

} // namespace trovanel
