#include "importes.hpp"

#include "texto.hpp"

namespace trovanel {

ImporteNormalizado NormalizarImporte(std::string_view textoImporte, std::string_view marcaNegativo) {
    ImporteNormalizado resultado;
    std::string t(textoImporte);

    if (!marcaNegativo.empty()) {
        const auto posicion = t.find(marcaNegativo);
        if (posicion != std::string::npos) {
            t.erase(posicion, marcaNegativo.size());
            if (marcaNegativo.find_first_not_of(' ') != std::string_view::npos) {
                resultado.signo = '-';
            }
        }
    }

    const auto coma = t.find(',');
    if (coma != std::string::npos) {
        const std::size_t decimales = t.size() - coma - 1;
        if (decimales < 2) {
            t.append(2 - decimales, '0');
        } else {
            t.resize(coma + 3);
        }
    }

    std::string digitos;
    digitos.reserve(t.size());
    for (char c : t) {
        if (esDigito(c)) {
            digitos.push_back(c);
        }
    }

    const auto primeraSignificativa = digitos.find_first_not_of('0');
    if (primeraSignificativa != std::string::npos && digitos.size() - primeraSignificativa > 12) {
        resultado.desbordado = true;
    }
    resultado.centimos =
        digitos.size() > 12 ? digitos.substr(digitos.size() - 12) : rellenarCeros(digitos, 12);
    return resultado;
}

} // namespace trovanel
