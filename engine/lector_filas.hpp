#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

class FamiliaConversion;
class LibroExcel;

// The row reader: every row of a sheet, or every record of a table, is one order. Each template field
// names its column in valorlinea (column letters for a sheet, the column's name for a table); the line
// number is the row's number in the sheet, or the record's position in the table from 1. What differs
// between the inputs is told here once: a sheet yields every row from 1 to the last one holding a cell
// (empty rows too) and leaves a field alone when its column cannot be read; a table yields its records
// and hands "" then. Either way a column that cannot be read takes the field's non-blank valorcampo.
// The log names a rejected order by its row's number, set at the flush, so a check that the family makes
// on the whole order (the supplier payments' account check) names the same row as its field checks.
//
// An input that cannot be opened or turns out damaged ends the run as failed, with the message shown
// and no bank file of that name left behind.

// The sheet of an open workbook; the workbook stays open.
void leerHoja(FamiliaConversion& familia, LibroExcel& libro, std::string_view hoja,
              const std::filesystem::path& rutaSalida);
// The same for the workbook at rutaLibro, opened read-only and closed within the call.
void leerHoja(FamiliaConversion& familia, const std::filesystem::path& rutaLibro, std::string_view hoja,
              const std::filesystem::path& rutaSalida);
// A table of a database (Access or SQLite), opened read-only and closed within the call.
void leerTabla(FamiliaConversion& familia, const std::filesystem::path& rutaBase, std::string_view tabla,
               const std::filesystem::path& rutaSalida);

// A floating-point or currency amount as the validators read amounts: exactly two decimals after ",",
// rounded half away from zero on the decimal digits shown ("1500" -> "1500,00", "-2,675" -> "-2,68");
// nothing when the text is not such a number.
std::optional<std::string> importeDosDecimales(std::string_view texto);

} // namespace trovanel
