#include "importes.hpp"

#include "texto.hpp"

namespace trovanel {

namespace {

// The cents of the text whose character number i is caracter(i), of largo characters.
template <typename Caracter>
void leerCentimos(ImporteNormalizado& resultado, std::size_t largo, Caracter caracter) {
    // Everything after the first comma is decimals: cut to two, or completed to two with "0".
    std::size_t fin = largo;
    std::size_t cerosFinales = 0;
    for (std::size_t i = 0; i < largo; ++i) {
        if (caracter(i) == ',') {
            const std::size_t decimales = largo - i - 1;
            if (decimales < 2) {
                cerosFinales = 2 - decimales;
            } else {
                fin = i + 3;
            }
            break;
        }
    }

    // The digits, and the place of the first significant one, in one pass; then the last twelve.
    std::size_t cifras = 0;
    std::size_t primeraSignificativa = std::string_view::npos;
    for (std::size_t i = 0; i < fin; ++i) {
        const char c = caracter(i);
        if (esDigito(c)) {
            if (c != '0' && primeraSignificativa == std::string_view::npos) {
                primeraSignificativa = cifras;
            }
            ++cifras;
        }
    }
    const std::size_t total = cifras + cerosFinales;
    resultado.desbordado =
        primeraSignificativa != std::string_view::npos && total - primeraSignificativa > 12;
    resultado.centimos.assign(12, '0');
    // The digit numbered n (from 0) goes to place n - (total - 12) when that is one of the twelve.
    std::size_t numero = 0;
    for (std::size_t i = 0; i < fin; ++i) {
        const char c = caracter(i);
        if (esDigito(c)) {
            if (numero + 12 >= total) {
                resultado.centimos[numero + 12 - total] = c;
                resultado.valor = resultado.valor * 10 + (c - '0');
            }
            ++numero;
        }
    }
    // The completed decimals are cents too.
    for (std::size_t i = 0; i < cerosFinales && i < 12; ++i) {
        resultado.valor *= 10;
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
