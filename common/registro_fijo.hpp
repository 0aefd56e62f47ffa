#pragma once

#include <cassert>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace trovanel {

// A piece longer than 64 characters, out of line: inlined where a short source is in view, GCC's
// -Warray-bounds at -O2 and above would take the copy for a read past it.
[[gnu::noinline]] void copiarPiezaLarga(char* destino, const char* origen, std::size_t n);

// n characters, at least one Palabra and at most two, as the first and the last Palabra, which may overlap.
template <typename Palabra> inline void copiarSolapado(char* destino, const char* origen, std::size_t n) {
    assert(n >= sizeof(Palabra) && n <= 2 * sizeof(Palabra));
    Palabra primeros;
    Palabra ultimos;
    std::memcpy(&primeros, origen, sizeof(Palabra));
    std::memcpy(&ultimos, origen + n - sizeof(Palabra), sizeof(Palabra));
    std::memcpy(destino, &primeros, sizeof(Palabra));
    std::memcpy(destino + n - sizeof(Palabra), &ultimos, sizeof(Palabra));
}

// The pieces of a record are at most a few dozen characters long: those are copied with two
// overlapping moves rather than a call. memcpy must not be handed the null data of an empty view, even
// to copy nothing.
inline void copiarPieza(char* destino, const char* origen, std::size_t n) {
    if (n >= 8 && n <= 16) {
        copiarSolapado<std::uint64_t>(destino, origen, n);
    } else if (n >= 4 && n < 8) {
        copiarSolapado<std::uint32_t>(destino, origen, n);
    } else if (n > 16 && n <= 64) {
        // Names, addresses and concepts: 16 characters at a time and an overlapping last 16, still
        // without a call. (Fixed moves of 32 would read past a short source as far as GCC can tell, and
        // its -Warray-bounds, an error here, refuses them in an optimised build.)
        char bloque[16];
        for (std::size_t i = 0; i + 16 < n; i += 16) {
            std::memcpy(bloque, origen + i, 16);
            std::memcpy(destino + i, bloque, 16);
        }
        std::memcpy(bloque, origen + n - 16, 16);
        std::memcpy(destino + n - 16, bloque, 16);
    } else if (n > 64) {
        copiarPiezaLarga(destino, origen, n);
    } else if (n > 0) {
        destino[0] = origen[0];
        destino[n / 2] = origen[n / 2];
        destino[n - 1] = origen[n - 1];
    }
}

// n times the character c, likewise without a call for the short runs of a record's pieces.
inline void llenarPieza(char* destino, char c, std::size_t n) {
    if (n >= 8) {
        const std::uint64_t palabra = 0x0101010101010101ULL * static_cast<unsigned char>(c);
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            std::memcpy(destino + i, &palabra, 8);
        }
        std::memcpy(destino + n - 8, &palabra, 8);
    } else if (n >= 4) {
        const std::uint32_t palabra = 0x01010101U * static_cast<unsigned char>(c);
        std::memcpy(destino, &palabra, 4);
        std::memcpy(destino + n - 4, &palabra, 4);
    } else if (n > 0) {
        destino[0] = c;
        destino[n / 2] = c;
        destino[n - 1] = c;
    }
}

// A text piece in a record that is blank there: left-justified, cut to its first n characters.
inline void ponerTexto(char* destino, std::string_view valor, std::size_t n) {
    copiarPieza(destino, valor.data(), valor.size() < n ? valor.size() : n);
}

// Right-justified, completed with "0" on the left; a longer value keeps its last n characters.
inline void ponerCeros(char* destino, std::string_view valor, std::size_t n) {
    if (valor.size() >= n) {
        copiarPieza(destino, valor.data() + (valor.size() - n), n);
    } else {
        llenarPieza(destino, '0', n - valor.size());
        copiarPieza(destino + (n - valor.size()), valor.data(), valor.size());
    }
}

// A count or an amount in cents as its digits without sign, written into cifras.
inline std::string_view cifrasSinSigno(std::int64_t valor, char (&cifras)[24]) {
    const std::uint64_t absoluto = valor < 0
                                       ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(valor)
                                       : static_cast<std::uint64_t>(valor);
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, absoluto).ptr;
    return {cifras, static_cast<std::size_t>(fin - cifras)};
}

} // namespace trovanel
