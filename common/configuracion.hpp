#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

inline constexpr const char* kFicheroConfiguracion = "config.ini";

// Lines "carpeta_<purpose>=<folder>" of config.ini keep the folder each file dialog last used. They are
// the program's own: the flags never read them, so a folder named after a flag sets nothing.
inline constexpr std::string_view kPrefijoCarpeta = "carpeta_";
inline constexpr std::string_view kCarpetaEntrada = "entrada";         // the conversion's input
inline constexpr std::string_view kCarpetaOrigenPlantilla = "origen";  // the editors' workbook or table
inline constexpr std::string_view kCarpetaIntercambio = "intercambio"; // template export and import
inline constexpr std::string_view kCarpetaCuentas = "cuentas";         // the bank's accounts file

// How this process runs, the same for every conversion: the flags of config.ini, the user's language and
// the database files that start-up opened and copied.
struct Configuracion {
    bool gAdministrador = false;
    bool gCaracteres = false;
    // "0a" for Spanish, "09" otherwise.
    std::string gIdioma;
    // The program's database and the day's copy of it, which the main window deletes when it closes.
    std::filesystem::path gRutaBDOrigen;
    std::filesystem::path gRutaCopiaBD;
};

// Reads config.ini of the program folder. A line containing "administrador" sets that flag to whether
// the same line contains "true"; likewise "caracteres"; case matters and a later line wins; the folder
// lines above are skipped. Nothing when the file cannot be opened.
std::optional<Configuracion> leerConfiguracion(const std::filesystem::path& carpetaPrograma);

// Writes config.ini with both flags off, as a new installation has it, unless one exists already: an
// existing file is never rewritten. False when it could not be written.
bool escribirConfiguracionInicial(const std::filesystem::path& carpetaPrograma);

// The folder last kept for that purpose; nothing when config.ini has none.
std::optional<std::filesystem::path> leerCarpetaReciente(const std::filesystem::path& carpetaPrograma,
                                                         std::string_view proposito);

// Keeps the folder for that purpose in config.ini: its line is replaced, or added at the end with the
// file's own line end; every other line stays byte for byte. A missing config.ini is not made again (its
// absence is what the main window reports), and a folder with a line end in its name is not kept. False
// when nothing was kept.
bool guardarCarpetaReciente(const std::filesystem::path& carpetaPrograma, std::string_view proposito,
                            const std::filesystem::path& carpeta);

} // namespace trovanel
