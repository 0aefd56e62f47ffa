#include "conversores_disponibles.hpp"

#include "conversores.hpp"
#include "csb19.hpp"

namespace trovanel {

void registrarConversores(RegistroConversores& registro) {
    // Families without a driver yet are absent: batch mode reports them as not available.
    registro.registrar(Familia::CSB19, GenerarCSB19);
}

} // namespace trovanel
