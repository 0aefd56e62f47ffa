#include "registro_fijo.hpp"

#include "error.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace trovanel {

namespace {
// memcpy must not be handed the null data of an empty view, even to copy nothing.
void copiar(char* destino, const char* origen, std::size_t n) {
    if (n != 0) {
        std::memcpy(destino, origen, n);
    }
}
} // namespace

RegistroFijo::RegistroFijo(std::size_t ancho) : ancho_(ancho), texto_(ancho, ' ') {}

char* RegistroFijo::reservar(std::size_t n) {
    const std::size_t desde = largo_;
    largo_ += n;
    // A layout longer than its width is reported by terminar(); nothing is written past the record.
    return largo_ <= ancho_ ? texto_.data() + desde : nullptr;
}

RegistroFijo& RegistroFijo::texto(std::string_view valor, std::size_t n) {
    // The record starts as blanks, so only the value itself is copied.
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

const std::string& RegistroFijo::terminar() const {
    if (largo_ != ancho_) {
        throw ErrorTrovanel("Registro de " + std::to_string(largo_) + " caracteres en lugar de " +
                            std::to_string(ancho_));
    }
    return texto_;
}

} // namespace trovanel
