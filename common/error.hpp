#pragma once

#include <stdexcept>
#include <string>

namespace trovanel {

// The one exception type of the program: it carries the Spanish text that a window or batch mode shows.
class ErrorTrovanel : public std::runtime_error {
public:
    explicit ErrorTrovanel(const std::string& mensaje) : std::runtime_error(mensaje) {}
};

// Shown for any input, text or workbook or table, that cannot be opened or read.
inline constexpr const char* kNoSeAbreEntrada = "No se puede abrir el fichero de entrada";
// Shown for a bank file that cannot be created or written.
inline constexpr const char* kNoSeCreaSalida = "No se puede crear el fichero de salida";

} // namespace trovanel
