#pragma once

#include "configuracion.hpp"
#include "contexto_ventanas.hpp"

#include <filesystem>
#include <string>
#include <string_view>

namespace trovanel {

// Where a file dialog for that purpose (the kCarpeta… names of configuracion.hpp) opens: the folder of
// the file last chosen for it, while it exists, else the program folder for a conversion's input and the
// user's home folder for the others.
std::filesystem::path carpetaInicial(const std::filesystem::path& carpetaPrograma,
                                     std::string_view proposito);

// The selector's dialogs opened there; a chosen file's folder is kept for the next time.
std::filesystem::path abrirFicheroPara(const ContextoVentanas& contexto, std::string_view proposito,
                                       const std::string& titulo, const std::string& filtro);
std::filesystem::path guardarFicheroPara(const ContextoVentanas& contexto, std::string_view proposito,
                                         const std::string& titulo);

} // namespace trovanel
