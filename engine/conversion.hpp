#pragma once

#include "conversores.hpp"

namespace trovanel {

class FamiliaConversion;

// The steps every family's driver shares: the parties, the template's fields, the missing mandatory
// data, the reader that fits the template and the input, and the end of the run. Every failure shows
// its message; the outcome is given back.
ResultadoConversion ejecutarConversion(FamiliaConversion& familia, const ParametrosConversion& parametros);

} // namespace trovanel
