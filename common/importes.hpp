#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trovanel {

struct ImporteNormalizado {
    // Twelve digits, the amount in cents, right-aligned and zero-filled.
    std::string centimos;
    // The same as a number.
    std::int64_t valor = 0;
    // '-' when a negative marker was cut out, ' ' otherwise.
    char signo = ' ';
    // The amount has more than twelve significant digits of cents: it does not fit and centimos holds
    // only its rightmost twelve. Validators reject such an amount.
    bool desbordado = false;
};

// Turns an input amount ("1.234,5", "-75,129", "1500") into cents. Everything after the first comma
// counts as decimals, cut (never rounded) or completed to two; without a comma all digits are cents.
// The first occurrence of marcaNegativo (case-sensitive) is cut out and gives the sign "-".
ImporteNormalizado NormalizarImporte(std::string_view textoImporte, std::string_view marcaNegativo);

} // namespace trovanel
