#pragma once

namespace trovanel {

class RegistroConversores;

// Registers the driver of every family this build converts.
void registrarConversores(RegistroConversores& registro);

} // namespace trovanel
