#pragma once

// The byte classes and character rules of the XML scanner, shared by its files. Inline: the scanner's
// loops run them for every byte of a sheet.

#include "libro_excel.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace trovanel::xlsx::caracteres_xml {

// Byte classes. Bytes from 0x80 up start or continue a UTF-8 character, checked where it is met.
enum : std::uint8_t {
    kEspecialTexto = 1,    // stops a run of character data
    kEspecialValor = 2,    // stops a run of an attribute value
    kEspecialEtiqueta = 4, // stops the search for the end of a start tag
    kInicioNombre = 8,
    kNombre = 16,
    kBlanco = 32,
    kDosPuntos = 64,
};

inline constexpr std::array<std::uint8_t, 256> kClases = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
        // Beyond ASCII, names take almost every character: those are checked as UTF-8 where met.
        const bool letra = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
        std::uint8_t v = 0;
        if (control || c >= 0x80 || c == '<' || c == '&' || c == '\r' || c == ']') {
            v |= kEspecialTexto;
        }
        if (control || c >= 0x80 || c == '<' || c == '&' || c == '\t' || c == '\n' || c == '\r' || c == '"' ||
            c == '\'') {
            v |= kEspecialValor;
        }
        if (c == 0 || c == '"' || c == '\'' || c == '>') {
            v |= kEspecialEtiqueta;
        }
        if (letra) {
            v |= kInicioNombre | kNombre;
        }
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
            v |= kNombre;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            v |= kBlanco;
        }
        if (c == ':') {
            v |= kDosPuntos;
        }
        t[static_cast<std::size_t>(c)] = v;
    }
    return t;
}();

inline bool es(char c, std::uint8_t clase) {
    return (kClases[static_cast<unsigned char>(c)] & clase) != 0;
}

inline char* saltarBlancos(char* p) {
    while (es(*p, kBlanco)) {
        ++p;
    }
    return p;
}

inline bool alto(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

inline bool inicioNombre(char c) {
    return es(c, kInicioNombre) || alto(c);
}

// The length of the UTF-8 character at p, if XML allows it (no surrogates, no U+FFFE or U+FFFF, no
// overlong forms); 0 if not, -1 when it would go on past fin.
inline int caracterUtf8(const char* p, const char* fin) {
    const auto b = [p](int i) { return static_cast<unsigned char>(p[i]); };
    const unsigned c = b(0);
    const int n = c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    if (n == 0) {
        return 0;
    }
    if (fin - p < n) {
        return -1;
    }
    for (int i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) ||
        (c == 0xEF && b(1) == 0xBF && b(2) > 0xBD) || (c == 0xF0 && b(1) < 0x90) ||
        (c == 0xF4 && b(1) > 0x8F)) {
        return 0;
    }
    return n;
}

// Past the characters of a name: fin when one goes on past the data.
inline char* saltarNombre(char* p, const char* fin) {
    while (true) {
        while (es(*p, kNombre)) {
            ++p;
        }
        if (!alto(*p)) {
            return p;
        }
        const int n = caracterUtf8(p, fin);
        if (n < 0) {
            return const_cast<char*>(fin);
        }
        if (n == 0) {
            danado();
        }
        p += n;
    }
}

// Checks that [a, b) holds only characters XML allows and turns its line ends into "\n", in place;
// returns the new end.
inline char* normalizar(char* a, const char* b) {
    char* w = a;
    for (const char* r = a; r < b;) {
        const auto c = static_cast<unsigned char>(*r);
        if (c >= 0x80) {
            const int n = caracterUtf8(r, b);
            if (n <= 0) {
                danado();
            }
            std::memmove(w, r, static_cast<std::size_t>(n));
            w += n;
            r += n;
        } else if (c == '\r') {
            *w++ = '\n';
            r += r + 1 < b && r[1] == '\n' ? 2 : 1;
        } else if (c < 0x20 && c != '\t' && c != '\n') {
            danado();
        } else {
            *w++ = *r++;
        }
    }
    return w;
}

inline std::string_view sinPrefijo(std::string_view nombre) {
    const auto dosPuntos = nombre.rfind(':');
    return dosPuntos == std::string_view::npos ? nombre : nombre.substr(dosPuntos + 1);
}

// Writes a character XML allows, in UTF-8, at w.
inline void escribirCaracter(std::uint32_t c, char*& w) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE ||
        c == 0xFFFF) {
        danado();
    }
    if (c < 0x80) {
        *w++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *w++ = static_cast<char>(0xC0 | (c >> 6));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *w++ = static_cast<char>(0xE0 | (c >> 12));
        *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *w++ = static_cast<char>(0xF0 | (c >> 18));
        *w++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    }
}

inline bool igualesSinCaja(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x | 0x20 : x) == (y >= 'A' && y <= 'Z' ? y | 0x20 : y);
           });
}

} // namespace trovanel::xlsx::caracteres_xml
