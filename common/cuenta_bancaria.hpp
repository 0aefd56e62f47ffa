#pragma once

#include <string>
#include <string_view>

namespace trovanel {

// The two check digits of a Spanish 20-digit account code (entity 4, office 4, account number 10).
// Only the first 4, 4 and 10 characters are read; "**" when any of them is missing or not a digit.
std::string CalcularDC(std::string_view codigoEntidad, std::string_view codigoOficina,
                       std::string_view numeroCuenta);

} // namespace trovanel
