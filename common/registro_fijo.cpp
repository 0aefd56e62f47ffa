#include "registro_fijo.hpp"

#include <cstring>

namespace trovanel {

void copiarPiezaLarga(char* destino, const char* origen, std::size_t n) {
    std::memcpy(destino, origen, n);
}

} // namespace trovanel
