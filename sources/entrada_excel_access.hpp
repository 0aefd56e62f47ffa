#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class Avisos;
class LibroExcel;

// The input workbook the dialog opened for the conversion (read-only; closed by the driver after an Excel
// read). Shared so that whoever holds it needs no sight of the workbook readers: the deleter comes from
// the place that opened it.
struct LibroEntrada {
    std::shared_ptr<LibroExcel> gLibroExcel;
    bool gLibroAbierto = false;
    std::string gRutaLibro;
};

// Opens the workbook at ruta into libro.gLibroExcel and gives its sheet names, in order; the caller
// lists them and selects the first. A blank path changes nothing and gives nothing. A workbook that
// cannot be opened shows "No se puede abrir el fichero de entrada", leaves gLibroAbierto False and
// gives nothing.
std::optional<std::vector<std::string>> AbrirLibroExcel(LibroEntrada& libro, Avisos& avisos,
                                                        const std::filesystem::path& ruta);

// The same for the workbook at libro.gRutaLibro, without listing.
void AbrirLibroExcelRuta(LibroEntrada& libro, Avisos& avisos);

// Closes the workbook, as the drivers do after reading it.
void CerrarLibroExcel(LibroEntrada& libro);

// The user tables of the database at ruta, in the file's order, when gTablaAccess is not blank. A file
// that cannot be opened shows "Error: " and the description and gives nothing.
std::optional<std::vector<std::string>> ListarTablasAccess(std::string_view gTablaAccess, Avisos& avisos,
                                                           const std::filesystem::path& ruta);

} // namespace trovanel
