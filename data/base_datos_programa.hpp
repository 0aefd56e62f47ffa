#pragma once

#include "base_datos.hpp"

#include <filesystem>
#include <string_view>

namespace trovanel {

inline constexpr const char* kNombreBaseDatos = "Estructuras.db";
// What ends the name of a day's copy of the database ("532003.Copy").
inline constexpr const char* kExtensionCopia = ".Copy";

// What a file of the program folder is to the database, by its name alone.
enum class FicheroDeBaseDatos {
    Ninguno,
    // The database, its journal, or the files a first start builds a new one in.
    BaseDatos,
    // A day's copy of any day, or the files one is made in.
    Copia,
};
FicheroDeBaseDatos clasificarFichero(std::string_view nombre);

// Creates the program's database at ruta with its schema and seed. The file appears under its name only
// once it is complete, so an interrupted creation never leaves a half-built database behind.
// Throws ErrorBaseDatos.
void crearBaseDatosPrograma(const std::filesystem::path& ruta);

// Opens the program's database exclusively (CerrojoBaseDatos), creating it first when there is no file
// or only an empty one (what an interrupted copy leaves). An existing database is never rewritten, and a
// file that lacks the program's tables is refused without a change.
// First of all, once the lock is held, it removes what a killed start left beside the database: a new
// database being built, a day's copy being made, and their journals.
// Throws ErrorBaseDatos with the description of the failure.
BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta);

// Makes a copy of the database at copia. It is written under a name of its own and takes copia's name
// only once complete, and never in the place of a file (or link) of that name. Throws ErrorBaseDatos.
void copiarBaseDatosPrograma(BaseDatos& baseDatos, const std::filesystem::path& copia);

} // namespace trovanel
