#pragma once

#include <string>
#include <string_view>

namespace trovanel {

class BaseDatos;

// Province name of a postal code, from its first two characters; "" when there is none or the
// lookup fails.
std::string ObtenerProvincia(BaseDatos& baseDatos, std::string_view codigoPostal);

} // namespace trovanel
