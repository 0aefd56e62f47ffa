#include "codificacion.hpp"

#include <array>
#include <cstdint>

namespace trovanel {

namespace {

// Code points of bytes 0x80-0x9F; the five bytes Windows-1252 leaves undefined map to the C1
// controls of the same value, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kBloque80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char aCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t i = 0; i < kBloque80.size(); ++i) {
        if (kBloque80[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
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

std::string utf8ACp1252(std::string_view utf8) {
    std::string salida;
    salida.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t largo = decodificar(utf8, i, cp);
        if (largo == 0) {
            salida.push_back('?');
            ++i;
            continue;
        }
        salida.push_back(aCp1252(cp));
        i += largo;
    }
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
    bool multibyte = false;
    std::size_t i = 0;
    while (i < texto.size()) {
        char32_t cp = 0;
        const std::size_t largo = decodificar(texto, i, cp);
        if (largo == 0) {
            return false;
        }
        multibyte = multibyte || largo > 1;
        i += largo;
    }
    return multibyte;
}

std::string rutaComoTexto(const std::filesystem::path& ruta) {
    const std::string& nativo = ruta.native();
    return pareceUtf8(nativo) ? utf8ACp1252(nativo) : nativo;
}

} // namespace trovanel
