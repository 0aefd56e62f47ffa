#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace trovanel {

// One field of the loaded template, from a row of detalleestructura.
struct CampoEstructura {
    std::string campo;
    std::int64_t inicio = 0;
    std::int64_t fin = 0;
    std::string valorlinea;
    std::string valorcampo;
    std::int64_t inilinea = 0;
    std::int64_t finlinea = 0;
    bool obligatorio = false;
    int longitud = 0;
};

// What a conversion builds while it runs, shared by its driver, its readers, the missing-data answer and
// the log: the template as loaded, the date typed for the run, the errors of the order being read and the
// log's state. The process's configuration is Configuracion; what a run is asked to do, with its paths,
// is ParametrosConversion; how it ended, ResultadoConversion. The conversion dialog and batch mode build
// one for each run, so nothing of a run (its template, a date typed for it) can reach the next. Member names
// are the program's historic ones so that each can be traced to the place that sets it.
struct EstadoEjecucion {
    // Fields of the current template, element i = row i in id_campo order.
    std::vector<CampoEstructura> gCamposEstructura;
    // "-" or " ": the sign found by the last amount normalisation.
    std::string gSignoImporte = " ";
    // The date typed in the missing-data dialog, in the order the template's type writes dates.
    std::string gFechaDatos;
    // The date typed there for the invoice date (FechaFactura), apart: it never stands in for the due date.
    std::string gFechaFacturaDatos;
    // Input line (or row) of the order being logged.
    std::int64_t gNumeroLinea = 0;
    // Error texts of the current order, in the order found; the log writer prints and clears them.
    std::vector<std::string> gErrores;
    // The run's header line in the log is still to be written.
    bool gCabeceraLogPendiente = false;

    // What every validator and reader does on an error: record the text and the line it was found on.
    void anotarError(std::string texto, std::int64_t numeroLinea) {
        gErrores.push_back(std::move(texto));
        gNumeroLinea = numeroLinea;
    }
};

} // namespace trovanel
