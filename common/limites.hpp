#pragma once

#include <cstddef>
#include <cstdint>

namespace trovanel {

// What one input may make the program hold at once, whatever the input. Real inputs stay far below each
// limit; past one the input is refused with its reader's message, so that no input, however hostile,
// takes the process past a few hundred megabytes. The README lists them and what happens past them.

// One line of a text input, of the bank's accounts file or of a template exchange file, in bytes as
// they stand in the file, without the line end. A record of any norm takes a few hundred.
inline constexpr std::size_t kMaxLinea = std::size_t{1} << 20;

// One value of a sheet or a table: a cell, a shared string, a column's text. A spreadsheet cell holds
// at most 32,767 characters; this leaves room for their escapes and UTF-8 form.
inline constexpr std::size_t kMaxValor = std::size_t{256} << 10;

// The values of one row of a sheet, together.
inline constexpr std::size_t kMaxFila = std::size_t{4} << 20;

// Columns of a database table read as input (Access allows 255): with kMaxValor, what a row holds.
inline constexpr int kMaxColumnasTabla = 255;

// The shared strings of a workbook, text and index: the one thing a workbook reader keeps whole.
inline constexpr std::size_t kMaxTablaTextos = std::size_t{128} << 20;

// An .xls file, which is read whole (a sheet of the format holds at most 65,536 rows of 256 cells).
inline constexpr std::uintmax_t kMaxLibroXls = std::uintmax_t{64} << 20;

// A template exchange file, which is read whole before anything is stored. A template takes kilobytes.
inline constexpr std::uintmax_t kMaxFicheroIntercambio = std::uintmax_t{16} << 20;

// The character table (caracteres.ini), read whole: a table of every character takes a few kilobytes.
// The same bound holds for what the 256 characters become, together, once every pair has applied.
inline constexpr std::uintmax_t kMaxFicheroCaracteres = std::uintmax_t{64} << 10;

} // namespace trovanel
