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

// The state that the dialog, batch mode, the drivers and the log share for the life of the process.
// The application owns one; tests make their own. Member names are the program's historic ones so
// that each can be traced to the place that sets it.
struct EstadoEjecucion {
    // Type code of the current template with its "Ex"/"Ac" suffix; empty in batch mode (text input).
    std::string gTipoEstructura;
    // Fields of the current template, element i = row i in id_campo order.
    std::vector<CampoEstructura> gCamposEstructura;
    // "-" or " ": the sign found by the last amount normalisation.
    std::string gSignoImporte = " ";
    // Error log of the conversion: the input's name with ".log".
    std::filesystem::path gFicheroLog;
    std::string gFechaDatos;
    // Input line (or row) of the order being logged.
    std::int64_t gNumeroLinea = 0;
    bool gMostrarResultado = false;
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
