#include "multifactura.hpp"

#include "texto.hpp"

namespace trovanel {

namespace {

std::string_view sinCerosIzquierda(std::string_view digitos) {
    const std::size_t primero = digitos.find_first_not_of('0');
    return primero == std::string_view::npos ? std::string_view("0") : digitos.substr(primero);
}

} // namespace

std::optional<ClaveFactura> prepararClaveFactura(const std::vector<CampoEstructura>& campos,
                                                 const std::vector<MultifacturaPlantilla>& filas) {
    ClaveFactura clave;
    std::string nombre;
    for (const MultifacturaPlantilla& fila : filas) {
        if (fila.campos.empty()) {
            continue;
        }
        // A later row overrides what an earlier one set; a counted row makes the whole template counted.
        nombre = Trim(std::string_view(fila.campos).substr(0, fila.campos.find('@')));
        if (fila.inicio != 0) {
            clave.contada = true;
            clave.camposContados.clear();
            for (std::size_t i = 0; i < campos.size(); ++i) {
                // An id_campo without a row leaves an element without a name: it names nothing.
                if (!campos[i].campo.empty() && contiene(fila.campos, campos[i].campo)) {
                    clave.camposContados.push_back(i);
                }
            }
        }
    }
    if (nombre.empty()) {
        return std::nullopt;
    }
    const CampoEstructura* campoClave = nullptr;
    for (const CampoEstructura& campo : campos) {
        if (campo.campo == nombre) {
            campoClave = &campo;
        }
    }
    if (campoClave == nullptr || campoClave->inilinea < 1 || campoClave->finlinea < campoClave->inilinea ||
        campoClave->valorlinea.empty()) {
        return std::nullopt;
    }
    clave.inicio = campoClave->inilinea;
    clave.fin = campoClave->finlinea;
    clave.valor = campoClave->valorlinea;
    if (clave.contada && !soloDigitos(clave.valor)) {
        return std::nullopt;
    }
    return clave;
}

std::string siguienteCuenta(std::string_view cuenta, std::size_t largoInicio) {
    std::string siguiente(sinCerosIzquierda(cuenta));
    std::size_t i = siguiente.size();
    while (i > 0 && siguiente[i - 1] == '9') {
        siguiente[--i] = '0';
    }
    if (i == 0) {
        siguiente.insert(siguiente.begin(), '1');
    } else {
        ++siguiente[i - 1];
    }
    if (siguiente.size() < largoInicio) {
        siguiente.insert(0, largoInicio - siguiente.size(), '0');
    }
    return siguiente;
}

bool esMismoNumero(std::string_view pieza, std::string_view digitos) {
    return soloDigitos(pieza) && sinCerosIzquierda(pieza) == sinCerosIzquierda(digitos);
}

} // namespace trovanel
