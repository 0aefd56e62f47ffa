#pragma once

#include "estado_ejecucion.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// What the missing-data dialog builds for one asked field. The first matching name part decides:
// "FormaPago", then "Gastos", then "Fecha"; anything else is typed as it is.
enum class ClaseFilaDatos { FormaPago, Gastos, Fecha, Texto };

struct FilaDatos {
    // The field's index in gCamposEstructura; the controls are named after it.
    std::size_t indice = 0;
    ClaseFilaDatos clase = ClaseFilaDatos::Texto;
    // The field's name: the row's caption.
    std::string etiqueta;
    // Items of a combo box, in the order shown; the first starts selected.
    std::vector<std::string> opciones;
    // Characters a box takes; 0 = no limit.
    int longitudMaxima = 0;
};

// A date box takes a whole DD/MM/AAAA, whatever the field's longitud says.
inline constexpr int kLongitudFecha = 10;

// One row per asked field, in the order given.
std::vector<FilaDatos> filasDatosObligatorios(const std::vector<CampoEstructura>& campos,
                                              const std::vector<std::size_t>& indices);

// What the user left in one row: the text typed, or the item chosen in a combo box.
struct ValorDato {
    std::size_t indice = 0;
    ClaseFilaDatos clase = ClaseFilaDatos::Texto;
    std::string texto;
};

enum class ResultadoDatos { Aceptado, Incompleto, FechaIncorrecta, CaracterNoValido };

// Checks the rows in order and stores each value that can be stored: combo codes and typed text
// (blanks kept) into valorcampo, a date into gFechaDatos (year first for ZOP), or into gFechaFacturaDatos
// when its field is FechaFactura. A bad date, or a typed text holding a control character (one that
// Windows-1252 lacks arrives as such), stops at once and wins over an empty box; the text's field index
// goes into rechazado when asked. Values stored by a refused attempt stay; the next attempt stores them
// again.
ResultadoDatos aceptar(EstadoEjecucion& estado, const std::vector<ValorDato>& valores,
                       std::string_view gTipoEstructura, std::size_t* rechazado = nullptr);

// Day, month and four-digit year, all digits, forming a real calendar date. The conversion dialog
// has its own, laxer check of the same name.
namespace dialogo_datos {
bool FechaCorrecta(std::string_view dia, std::string_view mes, std::string_view anio);
} // namespace dialogo_datos

} // namespace trovanel
