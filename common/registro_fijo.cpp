#include "registro_fijo.hpp"

#include "error.hpp"
#include "fichero_salida.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace trovanel {

namespace {
// The pieces are mostly a few characters long: those are copied with at most two overlapping moves
// rather than a call. memcpy must not be handed the null data of an empty view, even to copy nothing.
void copiar(char* destino, const char* origen, std::size_t n) {
    if (n >= 8 && n <= 16) {
        std::uint64_t primeros;
        std::uint64_t ultimos;
        std::memcpy(&primeros, origen, 8);
        std::memcpy(&ultimos, origen + n - 8, 8);
        std::memcpy(destino, &primeros, 8);
        std::memcpy(destino + n - 8, &ultimos, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t primeros;
        std::uint32_t ultimos;
        std::memcpy(&primeros, origen, 4);
        std::memcpy(&ultimos, origen + n - 4, 4);
        std::memcpy(destino, &primeros, 4);
        std::memcpy(destino + n - 4, &ultimos, 4);
    } else if (n > 16) {
        std::memcpy(destino, origen, n);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            destino[i] = origen[i];
        }
    }
}
} // namespace

// The record starts as blanks, so a text piece copies only the value itself.
RegistroFijo::RegistroFijo(FicheroSalida& salida, std::size_t ancho)
    : datos_(salida.reservarLinea(ancho)), ancho_(ancho) {
    std::memset(datos_, ' ', ancho);
}

RegistroFijo& RegistroFijo::texto(std::string_view valor, std::size_t n) {
    if (char* destino = reservar(n)) {
        copiar(destino, valor.data(), std::min(valor.size(), n));
    }
    return *this;
}

RegistroFijo& RegistroFijo::ceros(std::string_view valor, std::size_t n) {
    if (char* destino = reservar(n)) {
        if (valor.size() >= n) {
            copiar(destino, valor.data() + (valor.size() - n), n);
        } else {
            std::memset(destino, '0', n - valor.size());
            copiar(destino + (n - valor.size()), valor.data(), valor.size());
        }
    }
    return *this;
}

RegistroFijo& RegistroFijo::numero(std::int64_t valor, std::size_t n) {
    char cifras[24];
    const std::uint64_t absoluto = valor < 0
                                       ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(valor)
                                       : static_cast<std::uint64_t>(valor);
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, absoluto).ptr;
    return ceros(std::string_view(cifras, static_cast<std::size_t>(fin - cifras)), n);
}

std::string_view RegistroFijo::terminar() const {
    if (largo_ != ancho_) {
        throw ErrorTrovanel("Registro de " + std::to_string(largo_) + " caracteres en lugar de " +
                            std::to_string(ancho_));
    }
    return {datos_, ancho_};
}

} // namespace trovanel
