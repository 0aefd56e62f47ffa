#pragma once

#include <string>
#include <string_view>

namespace trovanel {

// The two check digits of a Spanish 20-digit account code (entity 4, office 4, account number 10).
// Only the first 4, 4 and 10 characters are read; "**" when any of them is missing or not a digit.
std::string CalcularDC(std::string_view codigoEntidad, std::string_view codigoOficina,
                       std::string_view numeroCuenta);

// Check digits as a bank file may carry them: two digits, or "**" (they could not be computed) where the
// family takes that. Whether they match the account is not checked.
bool digitosControlValidos(std::string_view dc, bool admiteAsteriscos);

} // namespace trovanel
