#pragma once

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

} // namespace trovanel::pruebas
