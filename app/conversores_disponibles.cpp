#include "conversores_disponibles.hpp"

#include "conversores.hpp"
#include "csb19.hpp"
#include "csb34.hpp"
#include "csb58.hpp"
#include "zop.hpp"

namespace trovanel {

void registrarConversores(RegistroConversores& registro) {
    // Families without a driver yet are absent: batch mode reports them as not available.
    registro.registrar(Familia::CSB19, GenerarCSB19);
    registro.registrar(Familia::CSB58, GenerarCSB58);
    registro.registrar(Familia::CSB34, GenerarCSB34);
    registro.registrar(Familia::ZOP, GenerarZOP);
}

} // namespace trovanel
