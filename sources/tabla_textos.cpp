#include "tabla_textos.hpp"

#include <algorithm>
#include <string>

namespace trovanel {

void TablaTextos::reservar(std::size_t texto, std::size_t cantidad) {
    texto_.reserve(std::min(texto, maximo_));
    finales_.reserve(std::min(cantidad, maximo_ / sizeof(std::uint32_t)));
}

ErrorTablaTextosLlena::ErrorTablaTextosLlena(std::size_t maximo)
    : ErrorTrovanel(kNoSeAbreEntrada),
      motivo_("sus textos compartidos ocupan más de " + std::to_string(maximo) + " bytes") {}

void TablaTextos::exigirQueCabe(std::size_t bytes) const {
    if (!cabe(bytes)) {
        throw ErrorTablaTextosLlena(maximo_);
    }
}

void TablaTextos::anadir(std::string_view texto) {
    exigirQueCabe(texto.size());
    texto_ += texto;
    finales_.push_back(static_cast<std::uint32_t>(texto_.size()));
}

} // namespace trovanel
