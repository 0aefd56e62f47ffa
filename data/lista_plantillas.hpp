#pragma once

#include "tipos_plantilla.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace trovanel {

class BaseDatos;

struct EntradaPlantilla {
    std::int64_t id = 0;
    std::string tipo;  // as stored, untrimmed
    std::string texto; // descripcion followed by the kind label for user templates
};

// The template list shown by the dialogs and editors, in id order. With todas the base templates are
// included (unlabelled); without it they are left out. Throws ErrorTrovanel with
// "No se pueden cargar las plantilla" CR LF "Error: " and the description when the query fails.
std::vector<EntradaPlantilla> CargarPlantillas(BaseDatos& baseDatos, bool todas);

} // namespace trovanel
