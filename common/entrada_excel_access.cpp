#include "entrada_excel_access.hpp"

#include "avisos.hpp"
#include "error.hpp"
#include "estado_ejecucion.hpp"
#include "origen_access.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

bool abrirEnEstado(EstadoEjecucion& estado, Avisos& avisos, const std::filesystem::path& ruta) {
    try {
        estado.gLibroExcel = abrirLibroExcel(ruta);
        estado.gLibroAbierto = true;
        return true;
    } catch (const ErrorTrovanel& e) {
        // A workbook that could not be opened is never taken for an open one.
        estado.gLibroExcel.reset();
        estado.gLibroAbierto = false;
        avisos.critico(e.what());
        return false;
    }
}

} // namespace

std::optional<std::vector<std::string>> AbrirLibroExcel(EstadoEjecucion& estado, Avisos& avisos,
                                                        const std::filesystem::path& ruta) {
    if (Trim(ruta.native()).empty() || !abrirEnEstado(estado, avisos, ruta)) {
        return std::nullopt;
    }
    return estado.gLibroExcel->hojas();
}

void AbrirLibroExcelRuta(EstadoEjecucion& estado, Avisos& avisos) {
    if (Trim(estado.gRutaLibro).empty()) {
        return;
    }
    abrirEnEstado(estado, avisos, estado.gRutaLibro);
}

void CerrarLibroExcel(EstadoEjecucion& estado) {
    estado.gLibroExcel.reset();
    estado.gLibroAbierto = false;
}

std::optional<std::vector<std::string>> ListarTablasAccess(EstadoEjecucion& estado, Avisos& avisos,
                                                           const std::filesystem::path& ruta) {
    if (Trim(estado.gTablaAccess).empty()) {
        return std::nullopt;
    }
    try {
        return abrirOrigenAccess(ruta)->tablas();
    } catch (const ErrorTrovanel& e) {
        avisos.critico(std::string("Error: ") + e.what());
        return std::nullopt;
    }
}

} // namespace trovanel
