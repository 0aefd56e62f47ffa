#include "registro_fijo.hpp"

#include "error.hpp"
#include "fichero_salida.hpp"

#include <cstring>
#include <string>

namespace trovanel {

void copiarPiezaLarga(char* destino, const char* origen, std::size_t n) {
    std::memcpy(destino, origen, n);
}

RegistroFijo& RegistroFijo::numero(std::int64_t valor, std::size_t n) {
    char cifras[24];
    return ceros(cifrasSinSigno(valor, cifras), n);
}

void RegistroFijo::fallarAncho() const {
    throw ErrorTrovanel("Registro de " + std::to_string(largo_) + " caracteres en lugar de " +
                        std::to_string(ancho_));
}

} // namespace trovanel
