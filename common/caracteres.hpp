#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

class Avisos;

struct SustitucionCaracter {
    std::string buscar;     // one character
    std::string reemplazar; // any text, maybe empty
};

// The pairs of caracteres.ini, and the one pass over a bank file's text that they come to.
struct TablaCaracteres {
    std::vector<SustitucionCaracter> pares;
    std::function<void(std::string&)> sustituir;
};

inline constexpr const char* kFicheroCaracteres = "caracteres.ini";

inline constexpr const char* kMsgNoSeAbreCaracteres = "No se puede abrir el fichero (caracter.ini)";

// Reads the replacement pairs of caracteres.ini in the program folder: one pair a line, the character
// to find, "=", its replacement (the rest of the line); empty lines are skipped. A file that cannot be
// read whole, is larger than kMaxFicheroCaracteres, holds no pair (nothing but blank lines or a
// byte-order mark), a line that is not such a pair, a control character or a character that a bank file
// cannot carry (one Windows-1252 lacks), or pairs that together make the characters longer than
// kMaxFicheroCaracteres, is refused whole: kMsgNoSeAbreCaracteres with the path and the reason is shown
// and nothing is given, so that no bank file is written without the replacements that were asked for,
// or with a control character or a "?" that stands for nothing.
std::optional<TablaCaracteres> CargarCaracteres(const std::filesystem::path& carpetaPrograma, Avisos& avisos);

// The table as one pass over any text, which FicheroSalida applies to a bank file block by block as it
// writes it, so that the file is put in place with its replacements or not at all. Each pair replaces one
// character wherever it stands, over the text as the earlier pairs left it (a replacement is never
// searched again): the pairs in order come to one replacement for each character, the same whatever the
// blocks' boundaries. Nothing when the 256 characters, together, would become longer than
// kMaxFicheroCaracteres (which CargarCaracteres refuses).
std::optional<std::function<void(std::string&)>>
sustitucionPorBloques(const std::vector<SustitucionCaracter>& tabla);

} // namespace trovanel
