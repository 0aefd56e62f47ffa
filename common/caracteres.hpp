#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trovanel {

class Avisos;

struct SustitucionCaracter {
    std::string buscar;     // one character
    std::string reemplazar; // any text, maybe empty
};

inline constexpr const char* kFicheroCaracteres = "caracteres.ini";

// Reads the replacement pairs of caracteres.ini in the program folder: one pair a line, the character
// to find, "=", its replacement (the rest of the line). Lines that are not such a pair are ignored. A
// file that cannot be opened or holds no line shows "No se puede abrir el fichero (caracter.ini)" and
// gives an empty table.
std::vector<SustitucionCaracter> CargarCaracteres(const std::filesystem::path& carpetaPrograma,
                                                  Avisos& avisos);

// Applies the table to one line: each entry in order, over the line as the earlier entries left it,
// in one left-to-right pass (a replacement is never searched again).
void aplicarSustituciones(std::string& linea, const std::vector<SustitucionCaracter>& tabla);

// Rewrites the bank file at ruta with the table. A missing file is left alone without a message; a file
// that cannot be read or rewritten shows its message and stays as it was.
void SustituirCaracteres(const std::filesystem::path& ruta, const std::vector<SustitucionCaracter>& tabla,
                         Avisos& avisos);

} // namespace trovanel
