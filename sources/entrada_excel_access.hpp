#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

class Avisos;
struct EstadoEjecucion;

// Opens the workbook at ruta into estado.gLibroExcel and gives its sheet names, in order; the caller
// lists them and selects the first. A blank path changes nothing and gives nothing. A workbook that
// cannot be opened shows "No se puede abrir el fichero de entrada", leaves gLibroAbierto False and
// gives nothing.
std::optional<std::vector<std::string>> AbrirLibroExcel(EstadoEjecucion& estado, Avisos& avisos,
                                                        const std::filesystem::path& ruta);

// The same for the workbook at estado.gRutaLibro, without listing.
void AbrirLibroExcelRuta(EstadoEjecucion& estado, Avisos& avisos);

// Closes the workbook of the run state, as the drivers do after reading it.
void CerrarLibroExcel(EstadoEjecucion& estado);

// The user tables of the database at ruta, in the file's order, when gTablaAccess is not blank. A file
// that cannot be opened shows "Error: " and the description and gives nothing.
std::optional<std::vector<std::string>> ListarTablasAccess(EstadoEjecucion& estado, Avisos& avisos,
                                                           const std::filesystem::path& ruta);

} // namespace trovanel
