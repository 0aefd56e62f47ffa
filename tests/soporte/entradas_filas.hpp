#pragma once

#include "base_datos.hpp"
#include "constructor_datos.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace trovanel::pruebas {

// Rows of cells for a generated sheet or table, written as text: "" no value (no cell; an empty text in
// a table), "#n" an integer number, "~n" a floating-point one ("." as decimal point), "^" a Null (no
// cell in a sheet), anything else text (Windows-1252).
using FilasPrueba = std::vector<std::vector<std::string>>;

// An .xlsx workbook with that sheet; row 0 of filas is the sheet's row 1, cell 0 is column A.
void escribirHojaXlsx(const std::filesystem::path& ruta, const std::string& hoja, const FilasPrueba& filas);
// An SQLite database with that table: columns of no declared type, named by columnas.
void escribirTablaSqlite(const std::filesystem::path& ruta, const std::string& tabla,
                         const std::vector<std::string>& columnas, const FilasPrueba& filas);

// The same orders as a fixed-position text, as rows: one cell per placed field of the template (column A
// the first), cut as the text reader cuts them, then the line's number, so that an empty line is still a
// row of the used range. The fields named in numeros have a cell of digits written as the number they
// make (0418 as 418).
FilasPrueba filasDeTexto(const std::string& texto, const std::vector<CampoPlantilla>& campos,
                         const std::vector<std::string>& numeros = {});
// That template for those rows, as the sheet and table editors place a field: each placed field names
// its column, by letter (sheets) or by a name of the same letter (tables), and gets fin 1 beside the inicio
// of the text template; the other fields keep their values.
std::vector<CampoPlantilla> plantillaDeFilas(std::vector<CampoPlantilla> campos);
// The fields of a stored template (name, span, value and whether mandatory), to give them as rows.
std::vector<CampoPlantilla> camposDePlantilla(BaseDatos& baseDatos, std::int64_t idPlantilla);
// The table columns of those rows.
std::vector<std::string> columnasDeFilas(const std::vector<CampoPlantilla>& campos);
// The orders of that text as the sheet (an .xlsx ruta) or the table named "Remesa".
void escribirRemesaFilas(const std::filesystem::path& ruta, const std::string& texto,
                         const std::vector<CampoPlantilla>& campos,
                         const std::vector<std::string>& numeros = {});

// One input of rows of the golden tables and the files written by hand for it.
struct CasoFilas {
    const char* nombre;
    const char* tipo;    // the template's type: its suffix picks the sheet ("Ex") or table ("Ac") reader
    const char* fichero; // the input's name in the work folder
    // nullptr: the orders of the one-line text, written as a sheet (.xlsx) or table named "Remesa"; else a
    // file copied from tests/data or, when muestra, from the sample files' folder.
    const char* origen;
    bool muestra;
    const char* hojaTabla;
    const char* salida; // the expected bank file and log, under the norm's folder of tests/data
    const char* log;
};

// Puts the case's input into carpeta and gives its path; texto and campos are the one-line text and template.
std::filesystem::path prepararEntrada(const CasoFilas& caso, const std::filesystem::path& carpeta,
                                      const std::string& texto, const std::vector<CampoPlantilla>& campos);

} // namespace trovanel::pruebas
