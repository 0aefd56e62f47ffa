#pragma once

#include "estado_ejecucion.hpp"
#include "plantilla.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The key that tells the invoice lines of a multi-invoice template, taken from its multifactura rows
// and the field they name. Built for each run, so nothing of an earlier template can reach this one.
struct ClaveFactura {
    // Positions of the key piece (the key field's line key) in every line.
    std::int64_t inicio = 0;
    std::int64_t fin = 0;
    // The key field's valorlinea: what every invoice line carries, or the first value of the count.
    std::string valor;
    // The invoice lines carry a count (01, 02, 03...) instead of one value.
    bool contada = false;
    // Indexes in gCamposEstructura of the fields whose line keys follow the count.
    std::vector<std::size_t> camposContados;
};

// The key of a multi-invoice template: the field named in the last row with fields (before its first
// "@") and, when a row says the keys count up, every field whose name occurs in that row. Nothing when
// no field bears that name, the field has no line key, its value is blank, or a count starts from
// something other than digits: the template cannot tell its invoice lines.
std::optional<ClaveFactura> prepararClaveFactura(const std::vector<CampoEstructura>& campos,
                                                 const std::vector<MultifacturaPlantilla>& filas);

// The next value of a count: one more, with zeros on the left up to the length of the first value, and
// never cut ("99" gives "100"). cuenta holds digits only.
std::string siguienteCuenta(std::string_view cuenta, std::size_t largoInicio);

// Whether a key piece, read as a number, is the number that digits write. A piece that is no run of
// digits (blank, letters, a sign) is no number and never equal.
bool esMismoNumero(std::string_view pieza, std::string_view digitos);

} // namespace trovanel
