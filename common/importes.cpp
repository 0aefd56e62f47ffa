#include "importes.hpp"

#include "texto.hpp"

#include <cstdint>

namespace trovanel {

namespace {

// The cents of the text whose character number i is caracter(i), of largo characters, in one pass.
template <typename Caracter>
void leerCentimos(ImporteNormalizado& resultado, std::size_t largo, Caracter caracter) {
    constexpr std::uint64_t kDoceCifras = 1'000'000'000'000;
    // Everything after the first comma is decimals: cut to two, or completed to two with "0".
    std::size_t fin = largo;
    std::size_t cerosFinales = 0;
    bool hayComa = false;
    // The value of the last twelve digits read, and how many there are from the first significant one.
    std::uint64_t ultimas = 0;
    std::size_t significativas = 0;
    for (std::size_t i = 0; i < fin; ++i) {
        const char c = caracter(i);
        if (esDigito(c)) {
            significativas += c != '0' || significativas > 0 ? 1 : 0;
            ultimas = ultimas * 10 + static_cast<std::uint64_t>(c - '0');
            if (ultimas >= kDoceCifras) {
                ultimas %= kDoceCifras;
            }
        } else if (c == ',' && !hayComa) {
            hayComa = true;
            const std::size_t decimales = largo - i - 1;
            if (decimales < 2) {
                cerosFinales = 2 - decimales;
            } else {
                fin = i + 3;
            }
        }
    }
    resultado.desbordado = significativas > 0 && significativas + cerosFinales > 12;
    // The completed decimals are cents too: the last digits make room for them.
    std::uint64_t valor = ultimas;
    for (std::size_t i = 0; i < cerosFinales; ++i) {
        valor = valor % (kDoceCifras / 10) * 10;
    }
    resultado.valor = static_cast<std::int64_t>(valor);
    resultado.centimos.assign(12, '0');
    for (std::size_t posicion = 12; valor != 0; valor /= 10) {
        resultado.centimos[--posicion] = static_cast<char>('0' + valor % 10);
    }
}

} // namespace

ImporteNormalizado NormalizarImporte(std::string_view textoImporte, std::string_view marcaNegativo) {
    ImporteNormalizado resultado;
    // The text is read in place, in two parts when the marker falls inside it: this runs for every
    // order's amount.
    std::string_view antes = textoImporte;
    std::string_view despues;
    if (!marcaNegativo.empty()) {
        const auto posicion = textoImporte.find(marcaNegativo);
        if (posicion != std::string_view::npos) {
            antes = textoImporte.substr(0, posicion);
            despues = textoImporte.substr(posicion + marcaNegativo.size());
            if (marcaNegativo.find_first_not_of(' ') != std::string_view::npos) {
                resultado.signo = '-';
            }
        }
    }

    if (despues.empty()) {
        // Mostly so: without a marker inside it the text is read as one piece.
        leerCentimos(resultado, antes.size(), [antes](std::size_t i) { return antes[i]; });
    } else {
        leerCentimos(resultado, antes.size() + despues.size(), [antes, despues](std::size_t i) {
            return i < antes.size() ? antes[i] : despues[i - antes.size()];
        });
    }
    return resultado;
}

} // namespace trovanel
