#include "registro_fijo.hpp"

#include "error.hpp"

namespace trovanel {

RegistroFijo& RegistroFijo::texto(std::string_view valor, std::size_t n) {
    const std::size_t tomados = valor.size() < n ? valor.size() : n;
    texto_.append(valor.data(), tomados);
    texto_.append(n - tomados, ' ');
    return *this;
}

RegistroFijo& RegistroFijo::ceros(std::string_view valor, std::size_t n) {
    if (valor.size() >= n) {
        texto_.append(valor.substr(valor.size() - n));
    } else {
        texto_.append(n - valor.size(), '0');
        texto_.append(valor);
    }
    return *this;
}

RegistroFijo& RegistroFijo::numero(std::int64_t valor, std::size_t n) {
    return ceros(std::to_string(valor < 0 ? -valor : valor), n);
}

const std::string& RegistroFijo::terminar() const {
    if (texto_.size() != ancho_) {
        throw ErrorTrovanel("Registro de " + std::to_string(texto_.size()) + " caracteres en lugar de " +
                            std::to_string(ancho_));
    }
    return texto_;
}

} // namespace trovanel
