#pragma once

#include "conversores.hpp"

#include <cstdint>
#include <filesystem>

namespace trovanel::pruebas {

// What the dialog hands a driver: the template on the input into the bank file, for the presenter (and
// the issuer of a collection), appending rejections to the log; the rest as each test needs it.
inline ParametrosConversion peticion(const std::filesystem::path& entrada,
                                     const std::filesystem::path& salida, std::int64_t plantilla,
                                     std::int64_t presentador, std::int64_t emisor,
                                     const std::filesystem::path& log) {
    ParametrosConversion parametros;
    parametros.rutaEntrada = entrada;
    parametros.rutaSalida = salida;
    parametros.idEstructura = plantilla;
    parametros.idPresentador = presentador;
    parametros.idEmisor = emisor;
    parametros.gFicheroLog = log;
    return parametros;
}

} // namespace trovanel::pruebas
