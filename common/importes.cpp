#include "importes.hpp"

#include "texto.hpp"

#include <cstdint>
#include <cstring>

namespace trovanel {

namespace {

// One past the largest amount the twelve digits of the cents hold.
constexpr std::uint64_t kDoceCifras = 1'000'000'000'000;

// What an amount's text comes to: the twelve digits of its cents, their value, and whether more
// significant digits were cut off.
struct Centimos {
    char cifras[12];
    std::int64_t valor = 0;
    bool desbordado = false;
};

// The cents of a value of more than 17 digits, leading zeros maybe, from its last twelve digits.
template <typename Caracter>
void leerCentimosLargos(Centimos& resultado, std::size_t fin, std::size_t cerosFinales, Caracter caracter) {
    // The value of the last twelve digits read, and how many there are from the first significant one.
    std::uint64_t ultimas = 0;
    std::size_t significativas = 0;
    for (std::size_t i = 0; i < fin; ++i) {
        const char c = caracter(i);
        if (esDigito(c)) {
            significativas += c != '0' || significativas > 0 ? 1 : 0;
            ultimas = (ultimas * 10 + static_cast<std::uint64_t>(c - '0')) % kDoceCifras;
        }
    }
    resultado.desbordado = significativas > 0 && significativas + cerosFinales > 12;
    // The completed decimals are cents too: the last digits make room for them.
    for (std::size_t i = 0; i < cerosFinales; ++i) {
        ultimas = ultimas % (kDoceCifras / 10) * 10;
    }
    resultado.valor = static_cast<std::int64_t>(ultimas);
    std::memset(resultado.cifras, '0', sizeof resultado.cifras);
    for (std::size_t posicion = 12; ultimas != 0; ultimas /= 10) {
        resultado.cifras[--posicion] = static_cast<char>('0' + ultimas % 10);
    }
}

// The cents of the text whose character number i is caracter(i), of largo characters, in one pass.
template <typename Caracter> void leerCentimos(Centimos& resultado, std::size_t largo, Caracter caracter) {
    // Everything after the first comma is decimals: cut to two, or completed to two with "0".
    std::size_t fin = largo;
    std::size_t cerosFinales = 0;
    bool hayComa = false;
    // Mostly an amount has a few digits: their value is read whole, and the digits themselves go after
    // twelve "0", so that the cents are the last twelve characters once the decimals are completed.
    std::uint64_t entero = 0;
    std::size_t cifras = 0;
    char texto[12 + 32];
    std::memset(texto, '0', 12);
    for (std::size_t i = 0; i < fin; ++i) {
        const char c = caracter(i);
        if (esDigito(c)) {
            entero = entero * 10 + static_cast<std::uint64_t>(c - '0');
            texto[12 + cifras % 32] = c;
            ++cifras;
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
    if (cifras > 17) {
        leerCentimosLargos(resultado, fin, cerosFinales, caracter);
        return;
    }
    texto[12 + cifras] = '0';
    texto[13 + cifras] = '0';
    std::memcpy(resultado.cifras, texto + cifras + cerosFinales, sizeof resultado.cifras);
    // Seventeen digits and two zeros still fit: more than twelve significant ones do not fit the cents.
    const std::uint64_t completo = entero * (cerosFinales == 0 ? 1 : cerosFinales == 1 ? 10 : 100);
    resultado.desbordado = completo >= kDoceCifras;
    resultado.valor = static_cast<std::int64_t>(completo % kDoceCifras);
}

} // namespace

ImporteNormalizado NormalizarImporte(std::string_view textoImporte, std::string_view marcaNegativo) {
    Centimos resultado;
    char signo = ' ';
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
                signo = '-';
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
    // Built at once: the text of the cents is made where it stays.
    return {std::string(resultado.cifras, sizeof resultado.cifras), resultado.valor, signo,
            resultado.desbordado};
}

} // namespace trovanel
