#pragma once

#include "base_datos.hpp"

#include <filesystem>

namespace trovanel {

inline constexpr const char* kNombreBaseDatos = "Estructuras.db";

// Creates the program's database at ruta with its schema and seed. The file appears under its name only
// once it is complete, so an interrupted creation never leaves a half-built database behind.
// Throws ErrorBaseDatos.
void crearBaseDatosPrograma(const std::filesystem::path& ruta);

// Opens the program's database exclusively, creating it first when no file exists. An existing file is
// never rewritten. Throws ErrorBaseDatos with the description of the failure.
BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta);

} // namespace trovanel
