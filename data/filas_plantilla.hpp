#pragma once

#include "estado_ejecucion.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

class BaseDatos;

// One row of detalleestructura as stored: texts untrimmed, id_campo as written (it may leave gaps).
struct FilaCampoPlantilla {
    std::int64_t idCampo = 0;
    CampoEstructura campo;
};

// One row of multifactura as stored. inicio is kept as text: "0" or nothing means the invoice keys do
// not count up, anything else that they do.
struct FilaMultifacturaPlantilla {
    std::int64_t orden = 0;
    std::string campos;
    std::string valor;
    std::string inicio;
    // Carried along for the template exchange file; no conversion reads it.
    double fin = 0;
};

// A template with all its rows: estructura, its fields in id_campo order and its multi-invoice rows in
// orden order.
struct FilasPlantilla {
    std::int64_t id = 0;
    std::string tipo;
    std::string descripcion;
    std::int64_t principiolinea = -1;
    bool multifactura = false;
    std::vector<FilaCampoPlantilla> campos;
    std::vector<FilaMultifacturaPlantilla> filasMultifactura;
};

// Reads one template; nothing when there is no estructura row of that id. Throws ErrorBaseDatos when a
// query fails. Window-free, so the conversions and the template editors load templates the same way.
std::optional<FilasPlantilla> leerFilasPlantilla(BaseDatos& baseDatos, std::int64_t idEstructura);

} // namespace trovanel
