#pragma once

#include <filesystem>
#include <string>

namespace trovanel {

class Avisos;

// What is said when the program folder cannot be made or written: the folder, the reason (already in
// the messages' Windows-1252) and how to choose another one.
std::string mensajeCarpetaInutilizable(const std::filesystem::path& carpeta, const std::string& motivo);

// Gets the program folder ready before the database opens: makes it (and the folders above it) when
// missing and checks that files can be written in it. A folder without a database is a first start: the
// example input of the seeded template goes there too, unless a file of that name exists. A folder that
// cannot be used is reported and gives false; the process then ends as without a database.
bool prepararCarpetaPrograma(const std::filesystem::path& carpeta, Avisos& avisos);

} // namespace trovanel
