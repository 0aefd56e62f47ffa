#pragma once

#include <string>

namespace trovanel {

// Values of spreadsheet cells and database columns become text as Spanish regional settings write
// them, whatever this machine's locale: decimal comma, no grouping, dates day first.

// Up to `digitos` significant digits, trailing zeros dropped: 1234.5 -> "1234,5", 0.30000000000000004 ->
// "0,3"; very large or very small numbers in exponent form ("1,5E+20").
std::string textoNumero(double valor, int digitos = 15);

// A currency value: rounded to four decimals first.
std::string textoMoneda(double valor);

// A date serial number (days since 30/12/1899, or since 01/01/1904 in workbooks of that system) as
// "DD/MM/AAAA", with " HH:MM:SS" when it has a time of day, or the time alone when it has no date part.
// Workbooks of the 1900 system count the nonexistent 29/02/1900 (serial 60); seriesExcel1900 says so.
std::string textoFecha(double serie, bool sistema1904 = false, bool seriesExcel1900 = false);

// "Verdadero" or "Falso".
std::string textoBooleano(bool valor);

} // namespace trovanel
