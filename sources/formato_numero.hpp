#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trovanel {

// How a spreadsheet's number format shows a cell's number, which decides the value it hands over: a
// date (or time), a currency amount, or a plain number.
enum class ClaseFormato : std::uint8_t { Numero, Fecha, Moneda };

// The class of a format code (Windows-1252): a date when it holds a date or time letter outside quoted
// text, escapes and bracketed colours, conditions and locales ("[h]" elapsed hours do count); a currency
// when it carries a currency symbol.
ClaseFormato clasificarFormato(std::string_view codigo);

// Built-in formats the files name only by number.
ClaseFormato claseIncorporada(std::uint32_t id);

// The text a number cell hands over, the same for every workbook format: a date from 01/01/1900 to
// 31/12/9999 (serials of the workbook's date system, 1904 or 1900), a currency amount rounded to four
// decimals, or the number. Under a date format a negative number, or one past the calendar, reads as
// the plain number, as a spreadsheet shows it.
std::string textoCeldaNumerica(double valor, ClaseFormato clase, bool sistema1904);

} // namespace trovanel
