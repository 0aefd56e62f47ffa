#include "formato_numero.hpp"

#include "valores_texto.hpp"

#include <algorithm>
#include <cmath>

namespace trovanel {

namespace {

// Serial of 01/01/10000 in the 1900 system, the first day past the calendar; the 1904 system counts
// 1,462 days fewer.
constexpr double kFinCalendario1900 = 2958466;
constexpr double kDiasHasta1904 = 1462;

bool esSimboloMoneda(char c) {
    // $, euro, pound and yen in Windows-1252.
    return c == '$' || c == '\x80' || c == '\xA3' || c == '\xA5';
}

} // namespace

ClaseFormato clasificarFormato(std::string_view f) {
    bool fecha = false;
    bool moneda = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (c == '"') {
            const std::size_t fin = std::min(f.find('"', i + 1), f.size());
            moneda = moneda || std::any_of(f.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                           f.begin() + static_cast<std::ptrdiff_t>(fin), esSimboloMoneda);
            i = fin;
        } else if (c == '\\' || c == '_' || c == '*') {
            // An escaped character, a blank of a character's width, a fill character: literal text.
            if (i + 1 < f.size()) {
                moneda = moneda || (c == '\\' && esSimboloMoneda(f[i + 1]));
                ++i;
            }
        } else if (c == '[') {
            const std::size_t fin = std::min(f.find(']', i + 1), f.size());
            const std::string_view dentro = f.substr(i + 1, fin - i - 1);
            if (!dentro.empty() && dentro[0] == '$') {
                // [$symbol-locale]: a currency when it carries a symbol.
                moneda = moneda || (dentro.size() > 1 && dentro[1] != '-');
            } else if (!dentro.empty() && dentro.find_first_not_of("hHmMsS") == std::string_view::npos) {
                fecha = true; // elapsed time: [h], [mm], [ss]
            }
            i = fin;
        } else if ((c == 'G' || c == 'g') && f.substr(i, 7).size() == 7 &&
                   std::equal(f.begin() + static_cast<std::ptrdiff_t>(i),
                              f.begin() + static_cast<std::ptrdiff_t>(i + 7), "general",
                              [](char a, char b) { return (a | 0x20) == b; })) {
            i += 6;
        } else if (esSimboloMoneda(c)) {
            moneda = true;
        } else {
            switch (c | 0x20) {
            case 'y':
            case 'm':
            case 'd':
            case 'h':
            case 's':
                fecha = true;
                break;
            default:
                break;
            }
        }
    }
    return fecha ? ClaseFormato::Fecha : moneda ? ClaseFormato::Moneda : ClaseFormato::Numero;
}

ClaseFormato claseIncorporada(std::uint32_t ifmt) {
    if ((ifmt >= 14 && ifmt <= 22) || (ifmt >= 45 && ifmt <= 47) || (ifmt >= 27 && ifmt <= 36) ||
        (ifmt >= 50 && ifmt <= 58)) {
        return ClaseFormato::Fecha;
    }
    if ((ifmt >= 5 && ifmt <= 8) || ifmt == 42 || ifmt == 44) {
        return ClaseFormato::Moneda;
    }
    return ClaseFormato::Numero;
}

std::string textoCeldaNumerica(double valor, ClaseFormato clase, bool sistema1904) {
    switch (clase) {
    case ClaseFormato::Fecha: {
        const double fin = sistema1904 ? kFinCalendario1900 - kDiasHasta1904 : kFinCalendario1900;
        // Compared as written, to the second: 31/12/9999 23:59:59.9 would already be the next day.
        if (valor >= 0 && std::round(valor * 86400.0) < fin * 86400.0) {
            return textoFecha(valor, sistema1904, true);
        }
        return textoNumero(valor);
    }
    case ClaseFormato::Moneda:
        return textoMoneda(valor);
    case ClaseFormato::Numero:
        break;
    }
    return textoNumero(valor);
}

} // namespace trovanel
