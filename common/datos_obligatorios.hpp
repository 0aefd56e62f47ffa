#pragma once

#include "estado_ejecucion.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

namespace trovanel {

// A mandatory field that the template does not place in the input: the user supplies it when the
// conversion starts. An amount is never asked.
bool esDatoQueFalta(const CampoEstructura& campo);

// The indexes of those fields, in template order.
std::vector<std::size_t> camposQueFaltan(const std::vector<CampoEstructura>& campos);

// Asks the user for the missing mandatory fields; the window implements it. It writes each value into
// the field's valorcampo (a date into gFechaDatos, or gFechaFacturaDatos for FechaFactura, in the order the
// template type gTipoEstructura writes its dates) and returns whether the user accepted.
class SolicitudDatosObligatorios {
public:
    virtual ~SolicitudDatosObligatorios() = default;
    virtual bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                          std::string_view gTipoEstructura) = 0;
};

} // namespace trovanel
