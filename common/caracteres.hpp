#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

class Avisos;

struct SustitucionCaracter {
    std::string buscar;     // one character
    std::string reemplazar; // any text, maybe empty
};

inline constexpr const char* kFicheroCaracteres = "caracteres.ini";

inline constexpr const char* kMsgNoSeAbreCaracteres = "No se puede abrir el fichero (caracter.ini)";

// Reads the replacement pairs of caracteres.ini in the program folder: one pair a line, the character
// to find, "=", its replacement (the rest of the line); empty lines are skipped. A file that cannot be
// read whole, holds no line, a line that is not such a pair or a control character is refused whole:
// kMsgNoSeAbreCaracteres with the path and the reason is shown and nothing is given, so that no bank
// file is written without the replacements that were asked for, or with a control character.
std::optional<std::vector<SustitucionCaracter>> CargarCaracteres(const std::filesystem::path& carpetaPrograma,
                                                                 Avisos& avisos);

// Applies the table to one line: each entry in order, over the line as the earlier entries left it,
// in one left-to-right pass (a replacement is never searched again).
void aplicarSustituciones(std::string& linea, const std::vector<SustitucionCaracter>& tabla);

// Rewrites the bank file at ruta with the table. A missing file is left alone without a message; a file
// that cannot be read or rewritten shows its message and stays as it was.
void SustituirCaracteres(const std::filesystem::path& ruta, const std::vector<SustitucionCaracter>& tabla,
                         Avisos& avisos);

} // namespace trovanel
