#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trovanel {

struct FechaHora;

bool anioBisiesto(int anio);
// True when the day exists in that month of that year (years 1 to 9999).
bool fechaValida(int anio, int mes, int dia);

// DDMMAA of a date.
std::string fechaDDMMAA(const FechaHora& fecha);
// DDMMAA of "DD/MM/AAAA" (batch mode); a text without "/" is taken as DDMMAA already (the dialog's).
std::string ddmmaaDeFechaLarga(const std::string& fecha);
// Exactly six digits DDMMAA forming a calendar date (years 2000 to 2099).
bool esFechaDDMMAA(std::string_view texto);

// Which two-character parts of a date are trimmed and completed with "0" on the left before they are
// joined, in the four formats written with "/": the collections norms fill the parts their records
// were built with; the payment norms fill the day and the month.
enum class RellenoFecha { Anticipos, Pagos };

// A date read in a template's format ("AAMMDD", "DDMMAAAA", "AAAAMMDD", "DD/MM/AA", "AA/MM/DD",
// "DD/MM/AAAA", "AAAA/MM/DD") as DDMMAA; a format not named here leaves the text unchanged.
std::string fechaVtoDDMMAA(std::string_view texto, std::string_view formato, RellenoFecha relleno);

// The place of one of those formats, found once for all the dates a run reads in it;
// kSinFormatoFecha for a name that is none of them.
inline constexpr std::size_t kSinFormatoFecha = static_cast<std::size_t>(-1);
std::size_t buscarFormatoFecha(std::string_view nombre);
// fechaVtoDDMMAA() in a format already found: kSinFormatoFecha leaves the text unchanged.
std::string fechaVtoEnFormato(std::string_view texto, std::size_t formato, RellenoFecha relleno);
// The same for a format that was found, into six characters of the caller's: the date's length.
std::size_t fechaVtoEnFormatoEn(char (&fecha)[6], std::string_view texto, std::size_t formato,
                                RellenoFecha relleno);

} // namespace trovanel
