#pragma once

#include "base_datos.hpp"

#include <filesystem>

namespace trovanel {

inline constexpr const char* kNombreBaseDatos = "Estructuras.db";

// Creates the program's database at ruta with its schema and seed. The file appears under its name only
// once it is complete, so an interrupted creation never leaves a half-built database behind.
// Throws ErrorBaseDatos.
void crearBaseDatosPrograma(const std::filesystem::path& ruta);

// Opens the program's database exclusively (CerrojoBaseDatos), creating it first when there is no file
// or only an empty one (what an interrupted copy leaves); creada, when given, tells which. An existing
// database is never rewritten, and a file that lacks the program's tables is refused without a change.
// Throws ErrorBaseDatos with the description of the failure.
BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta, bool* creada = nullptr);

} // namespace trovanel
