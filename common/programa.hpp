#pragma once

#include <filesystem>
#include <string>

namespace trovanel {

// The program folder: TROVANEL_HOME when set, otherwise $XDG_DATA_HOME/trovanel (~/.local/share/trovanel
// when that is unset or not absolute). An installed program cannot write beside its executable, so the
// database, the configuration files and relative batch inputs live there. Always absolute.
std::filesystem::path carpetaPrograma();

// The user's home folder: HOME, or the password database's entry when HOME is unset.
std::filesystem::path carpetaPersonal();

// The user's manual where the installation puts it, found from the running executable.
std::filesystem::path rutaManual();

// The user's language as two hexadecimal digits of its identifier: "0a" for Spanish, "09" for any other
// language, from LC_ALL, LC_MESSAGES or LANG.
std::string idiomaUsuario();

} // namespace trovanel
