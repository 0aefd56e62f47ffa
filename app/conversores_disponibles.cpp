#include "conversores_disponibles.hpp"

#include "conversores.hpp"

namespace trovanel {

void registrarConversores(RegistroConversores& /*registro*/) {
    // No family's driver is part of this build yet: batch mode and the dialog report each as not
    // available.
}

} // namespace trovanel
