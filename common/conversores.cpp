#include "conversores.hpp"

#include "texto.hpp"

namespace trovanel {

RutasConversion derivarRutasConversion(const std::filesystem::path& entrada) {
    const std::string nombre = entrada.filename().native();
    std::filesystem::path base;
    if (!contiene(Right(nombre, 4), ".")) {
        base = entrada;
    } else {
        base = entrada.parent_path() / nombre.substr(0, nombre.find('.'));
    }
    RutasConversion rutas{base, base};
    rutas.salida += ".out";
    rutas.log += ".log";
    if (rutas.salida == entrada) {
        rutas.salida += "1";
    }
    if (rutas.log == entrada) {
        rutas.log += "1";
    }
    return rutas;
}

} // namespace trovanel
