#include "texto.hpp"

#include "procesador.hpp"

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace trovanel {

namespace {

constexpr std::uint64_t kUnos = 0x0101010101010101;
constexpr std::uint64_t kAltos = 0x8080808080808080;
constexpr std::uint64_t kBlancos = kUnos * ' ';

// The words are read in memory order: the first character is the lowest byte.
static_assert(std::endian::native == std::endian::little);

std::uint64_t ocho(const char* p) {
    std::uint64_t palabra;
    std::memcpy(&palabra, p, sizeof palabra);
    return palabra;
}

// Four to sixteen characters, all decimal digits: tested in two words that may overlap, as plain digit
// runs (accounts, codes, telephones) are the most of what is tested.
[[gnu::always_inline]] inline bool sonCifrasEnPalabras(const char* datos, std::size_t n) {
    assert(n >= 4 && n <= 16);
    if (n >= 8) {
        return sonOchoCifras(ocho(datos)) && sonOchoCifras(ocho(datos + n - 8));
    }
    std::uint32_t primeros;
    std::uint32_t ultimos;
    std::memcpy(&primeros, datos, 4);
    std::memcpy(&ultimos, datos + n - 4, 4);
    return sonCuatroCifras(primeros) && sonCuatroCifras(ultimos);
}

} // namespace

std::string_view recortarExtremos(std::string_view texto) {
    // Padding comes in runs of blanks: eight characters are looked at together, and the first one that
    // is not a blank is found in the word that holds it (the last byte in memory is the highest).
    const char* datos = texto.data();
    std::size_t inicio = 0;
    std::size_t fin = texto.size();
    bool finHallado = false;
    while (fin - inicio >= 8) {
        const std::uint64_t distintos = ocho(datos + fin - 8) ^ kBlancos;
        if (distintos != 0) {
            fin = fin - 8 + static_cast<std::size_t>(63 - std::countl_zero(distintos)) / 8 + 1;
            finHallado = true;
            break;
        }
        fin -= 8;
    }
    while (!finHallado && fin > inicio && datos[fin - 1] == ' ') {
        --fin;
    }
    while (fin - inicio >= 8) {
        const std::uint64_t distintos = ocho(datos + inicio) ^ kBlancos;
        if (distintos != 0) {
            inicio += static_cast<std::size_t>(std::countr_zero(distintos)) / 8;
            return texto.substr(inicio, fin - inicio);
        }
        inicio += 8;
    }
    while (inicio < fin && datos[inicio] == ' ') {
        ++inicio;
    }
    return texto.substr(inicio, fin - inicio);
}

bool soloBlancos(std::string_view texto) {
    const char* datos = texto.data();
    std::size_t i = 0;
    for (; i + 8 <= texto.size(); i += 8) {
        if (ocho(datos + i) != kBlancos) {
            return false;
        }
    }
    for (; i < texto.size(); ++i) {
        if (datos[i] != ' ') {
            return false;
        }
    }
    return true;
}

namespace {

#ifdef TROVANEL_AVX2
// The places of the control characters among 32, where the processor has 32-byte registers.
[[gnu::target("avx2")]] inline unsigned controles32(const char* datos) {
    const __m256i bloque = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(datos));
    const __m256i limite = _mm256_set1_epi8(0x1F);
    return static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(_mm256_max_epu8(bloque, limite), limite),
                                             _mm256_cmpeq_epi8(bloque, _mm256_set1_epi8(0x7F)))));
}

// primerControl() of a text of at least 32 characters, 32 at a time: every line read is scanned whole.
[[gnu::target("avx2")]] std::size_t primerControl32(const char* datos, std::size_t n) {
    std::size_t i = 0;
    for (; i + 128 <= n; i += 128) {
        const unsigned a = controles32(datos + i);
        const unsigned b = controles32(datos + i + 32);
        const unsigned c = controles32(datos + i + 64);
        const unsigned d = controles32(datos + i + 96);
        if ((a | b | c | d) != 0) {
            const std::uint64_t primeras = a | std::uint64_t{b} << 32;
            const std::uint64_t ultimas = c | std::uint64_t{d} << 32;
            return primeras != 0 ? i + static_cast<std::size_t>(std::countr_zero(primeras))
                                 : i + 64 + static_cast<std::size_t>(std::countr_zero(ultimas));
        }
    }
    for (; i + 32 <= n; i += 32) {
        if (const unsigned control = controles32(datos + i); control != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(control));
        }
    }
    // The last 32, those before i seen already without one.
    const unsigned control = i < n ? controles32(datos + n - 32) : 0;
    return control == 0 ? n : n - 32 + static_cast<std::size_t>(std::countr_zero(control));
}

#endif

} // namespace

std::size_t primerControl(std::string_view texto) {
    const char* datos = texto.data();
    const std::size_t n = texto.size();
#ifdef TROVANEL_AVX2
    if (n >= 32 && conAvx2()) {
        return primerControl32(datos, n);
    }
#endif
    std::size_t i = 0;
#ifdef __SSE2__
    if (conSse2()) {
        // Sixteen at a time: a byte at most 0x1F is its own maximum with 0x1F.
        const __m128i limite = _mm_set1_epi8(0x1F);
        const __m128i supr = _mm_set1_epi8(0x7F);
        const auto controles = [&](std::size_t desde) {
            const __m128i bloque = _mm_loadu_si128(reinterpret_cast<const __m128i*>(datos + desde));
            return _mm_or_si128(_mm_cmpeq_epi8(_mm_max_epu8(bloque, limite), limite),
                                _mm_cmpeq_epi8(bloque, supr));
        };
        const auto mascara = [](__m128i control) {
            return static_cast<unsigned>(_mm_movemask_epi8(control));
        };
        // A whole line is checked at once: four blocks to one test, the place sought only once found.
        for (; i + 64 <= n; i += 64) {
            const __m128i a = controles(i);
            const __m128i b = controles(i + 16);
            const __m128i c = controles(i + 32);
            const __m128i d = controles(i + 48);
            if (mascara(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0) {
                const std::uint64_t todas = mascara(a) | std::uint64_t{mascara(b)} << 16 |
                                            std::uint64_t{mascara(c)} << 32 | std::uint64_t{mascara(d)} << 48;
                return i + static_cast<std::size_t>(std::countr_zero(todas));
            }
        }
        for (; i + 16 <= n; i += 16) {
            if (const unsigned control = mascara(controles(i)); control != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(control));
            }
        }
        // The rest of a longer text: its last sixteen, those before i seen already without one.
        if (i < n && n >= 16) {
            const unsigned control = mascara(controles(n - 16));
            return control == 0 ? n : n - 16 + static_cast<std::size_t>(std::countr_zero(control));
        }
    }
#endif
    for (; i + 8 <= n; i += 8) {
        // A byte below 0x20, or one equal to 0x7F (zero once xored): the high bit of some byte is set,
        // exactly so for the first one.
        const std::uint64_t palabra = ocho(datos + i);
        const std::uint64_t sinSupr = palabra ^ (kUnos * 0x7F);
        if (const std::uint64_t control =
                (((palabra - kUnos * 0x20) & ~palabra) | ((sinSupr - kUnos) & ~sinSupr)) & kAltos;
            control != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(control)) / 8;
        }
    }
    for (; i < n; ++i) {
        if (esCaracterControl(datos[i])) {
            return i;
        }
    }
    return n;
}

std::string Trim(std::string_view texto) {
    return std::string(recortar(texto));
}

std::string Mid(std::string_view texto, std::int64_t p, std::int64_t n) {
    return std::string(cortar(texto, p, n));
}

std::string Mid(std::string_view texto, std::int64_t p) {
    return Mid(texto, p, static_cast<std::int64_t>(texto.size()));
}

std::string Left(std::string_view texto, std::int64_t n) {
    if (n <= 0) {
        return {};
    }
    return std::string(texto.substr(0, static_cast<std::uint64_t>(n)));
}

std::string Right(std::string_view texto, std::int64_t n) {
    if (n <= 0) {
        return {};
    }
    const auto cuantos = static_cast<std::uint64_t>(n);
    if (cuantos >= texto.size()) {
        return std::string(texto);
    }
    return std::string(texto.substr(texto.size() - cuantos));
}

std::string rellenarBlancos(std::string_view texto, std::size_t n) {
    std::string resultado(texto.substr(0, n));
    resultado.resize(n, ' ');
    return resultado;
}

std::string rellenarCeros(std::string_view texto, std::size_t n) {
    if (texto.size() >= n) {
        return std::string(texto);
    }
    return std::string(n - texto.size(), '0') + std::string(texto);
}

int valorHex(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool soloDigitos(std::string_view texto) {
    if (texto.size() >= 4 && texto.size() <= 16) {
        return sonCifrasEnPalabras(texto.data(), texto.size());
    }
    if (texto.empty()) {
        return false;
    }
    for (char c : texto) {
        if (!esDigito(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t> leerEntero(std::string_view texto) {
    std::string_view v = recortar(texto);
    bool negativo = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negativo = v.front() == '-';
        v.remove_prefix(1);
    }
    if (!soloDigitos(v)) {
        return std::nullopt;
    }
    std::int64_t valor = 0;
    const auto [fin, ec] = std::from_chars(v.data(), v.data() + v.size(), valor);
    if (ec != std::errc{} || fin != v.data() + v.size()) {
        return std::nullopt;
    }
    return negativo ? -valor : valor;
}

bool esNumerico(std::string_view texto) {
    std::string_view v = recortar(texto);
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        v.remove_prefix(1);
    }
    // Mostly plain digits: up to sixteen at once, else eight at a time while they are all digits.
    if (v.size() >= 4 && v.size() <= 16 && sonCifrasEnPalabras(v.data(), v.size())) {
        return true;
    }
    std::size_t i = 0;
    while (i + 8 <= v.size() && sonOchoCifras(ocho(v.data() + i))) {
        i += 8;
    }
    bool hayDigito = i > 0;
    bool haySeparador = false;
    for (const char c : v.substr(i)) {
        if (esDigito(c)) {
            hayDigito = true;
        } else if ((c == '.' || c == ',') && !haySeparador) {
            haySeparador = true;
        } else {
            return false;
        }
    }
    return hayDigito;
}

bool hayCifraSignificativa(std::string_view texto) {
    for (char c : texto) {
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

bool esValorCero(std::string_view texto) {
    return esNumerico(texto) && !hayCifraSignificativa(texto);
}

bool contiene(std::string_view texto, std::string_view buscado) {
    return texto.find(buscado) != std::string_view::npos;
}

namespace {
char minusculaAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool igualesSinMayusculas(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return minusculaAscii(x) == minusculaAscii(y);
           });
}

std::string minusculasAscii(std::string_view texto) {
    std::string resultado(texto);
    for (char& c : resultado) {
        c = minusculaAscii(c);
    }
    return resultado;
}

} // namespace trovanel
