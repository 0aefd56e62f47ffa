#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace trovanel {

// Rewrites a text file line by line through transformar, every line ended by CR LF. The new text goes to
// a temporary file beside it that replaces the file only when the whole rewrite succeeded.
enum class ResultadoReescritura { Hecha, NoSePuedeLeer, NoSePuedeEscribir };

ResultadoReescritura reescribirPorLineas(const std::filesystem::path& ruta,
                                         const std::function<void(std::string&)>& transformar);

// Rewrites a file with CR LF line ends (lines split as LectorLineas splits them). Throws ErrorTrovanel
// when it cannot; the file is then unchanged.
void ConvertirSaltosLinea(const std::filesystem::path& ruta);

} // namespace trovanel
