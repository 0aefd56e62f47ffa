#pragma once

#include <filesystem>
#include <string>

namespace trovanel {

// The program folder: TROVANEL_HOME when set, otherwise the folder of the executable. The database,
// the configuration files and relative batch inputs live there.
std::filesystem::path carpetaPrograma();

// The user's language as two hexadecimal digits of its identifier: "0a" for Spanish, "09" for any other
// language, from LC_ALL, LC_MESSAGES or LANG.
std::string idiomaUsuario();

} // namespace trovanel
