#pragma once

#include <filesystem>
#include <optional>

namespace trovanel {

inline constexpr const char* kFicheroConfiguracion = "config.ini";

struct Configuracion {
    bool administrador = false;
    bool caracteres = false;
};

// Reads config.ini of the program folder. A line containing "administrador" sets that flag to whether
// the same line contains "true"; likewise "caracteres"; case matters and a later line wins. Nothing when
// the file cannot be opened.
std::optional<Configuracion> leerConfiguracion(const std::filesystem::path& carpetaPrograma);

// Writes config.ini with both flags off, as a new installation has it, unless one exists already: an
// existing file is never rewritten. False when it could not be written.
bool escribirConfiguracionInicial(const std::filesystem::path& carpetaPrograma);

} // namespace trovanel
