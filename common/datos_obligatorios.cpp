#include "datos_obligatorios.hpp"

#include "texto.hpp"

namespace trovanel {

bool esDatoQueFalta(const CampoEstructura& campo) {
    return campo.obligatorio && campo.inicio == 0 && campo.fin == 0 && !contiene(campo.campo, "Importe");
}

std::vector<std::size_t> camposQueFaltan(const std::vector<CampoEstructura>& campos) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        if (esDatoQueFalta(campos[i])) {
            indices.push_back(i);
        }
    }
    return indices;
}

} // namespace trovanel
