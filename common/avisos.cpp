#include "avisos.hpp"

#include "codificacion.hpp"

#include <cstdio>

namespace trovanel {

namespace {
void escribir(const std::string& texto) {
    std::string linea = cp1252AUtf8(texto);
    // Messages carry CR LF between their lines as the windows show them; a terminal wants LF.
    std::string limpio;
    limpio.reserve(linea.size() + 1);
    for (char c : linea) {
        if (c != '\r') {
            limpio.push_back(c);
        }
    }
    limpio.push_back('\n');
    std::fputs(limpio.c_str(), stderr);
    std::fflush(stderr);
}
} // namespace

void AvisosConsola::informacion(const std::string& texto) {
    escribir(texto);
}
void AvisosConsola::critico(const std::string& texto) {
    escribir(texto);
}
void AvisosConsola::simple(const std::string& texto) {
    escribir(texto);
}
bool AvisosConsola::pregunta(const std::string& texto) {
    escribir(texto);
    return false;
}

} // namespace trovanel
