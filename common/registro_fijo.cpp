#include "registro_fijo.hpp"

#include "error.hpp"
#include "fichero_salida.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace trovanel {

namespace {
// memcpy must not be handed the null data of an empty view, even to copy nothing.
void copiar(char* destino, const char* origen, std::size_t n) {
    if (n != 0) {
        std::memcpy(destino, origen, n);
    }
}
} // namespace

RegistroFijo::RegistroFijo(FicheroSalida& salida, std::size_t ancho)
    : datos_(salida.reservarLinea(ancho)), ancho_(ancho) {}

RegistroFijo& RegistroFijo::texto(std::string_view valor, std::size_t n) {
    if (char* destino = reservar(n)) {
        const std::size_t copiados = std::min(valor.size(), n);
        copiar(destino, valor.data(), copiados);
        std::memset(destino + copiados, ' ', n - copiados);
    }
    return *this;
}

RegistroFijo& RegistroFijo::blancos(std::size_t n) {
    if (char* destino = reservar(n)) {
        std::memset(destino, ' ', n);
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
