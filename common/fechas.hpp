#pragma once

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

} // namespace trovanel
