#include "tabla_textos.hpp"

#include "error.hpp"
#include "libro_excel.hpp"

#include <algorithm>

namespace trovanel {

void TablaTextos::reservar(std::size_t texto, std::size_t cantidad) {
    texto_.reserve(std::min(texto, maximo_));
    finales_.reserve(std::min(cantidad, maximo_ / sizeof(std::uint32_t)));
}

void TablaTextos::anadir(std::string_view texto) {
    if (!cabe(texto.size())) {
        danado();
    }
    texto_ += texto;
    finales_.push_back(static_cast<std::uint32_t>(texto_.size()));
}

} // namespace trovanel
