#include "entrada_excel_access.hpp"

#include "avisos.hpp"
#include "error.hpp"
#include "estado_ejecucion.hpp"
#include "libro_excel.hpp"
#include "origen_access.hpp"

#include <string_view>

namespace trovanel {

namespace {

// Blank as Trim() sees it, without building the trimmed text: nothing here may fail before the try.
bool enBlanco(std::string_view texto) {
    return texto.find_first_not_of(' ') == std::string_view::npos;
}

// The workbook's sheet names, or nothing when it cannot be opened (with the message). The path is
// converted inside the try too.
template <typename Ruta>
std::optional<std::vector<std::string>> abrirEnEstado(EstadoEjecucion& estado, Avisos& avisos,
                                                      const Ruta& ruta) {
    std::string mensaje;
    try {
        estado.gLibroExcel = abrirLibroExcel(ruta);
        estado.gLibroAbierto = true;
        return estado.gLibroExcel->hojas();
    } catch (const ErrorTrovanel& e) {
        mensaje = e.what();
    } catch (const std::exception&) {
        // Memory run out on a file too big for this machine: the same outcome as a damaged one.
        mensaje = kNoSeAbreEntrada;
    }
    // A workbook that could not be opened is never taken for an open one.
    estado.gLibroExcel.reset();
    estado.gLibroAbierto = false;
    avisos.critico(mensaje);
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> AbrirLibroExcel(EstadoEjecucion& estado, Avisos& avisos,
                                                        const std::filesystem::path& ruta) {
    if (enBlanco(ruta.native())) {
        return std::nullopt;
    }
    return abrirEnEstado(estado, avisos, ruta);
}

void AbrirLibroExcelRuta(EstadoEjecucion& estado, Avisos& avisos) {
    if (enBlanco(estado.gRutaLibro)) {
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
    if (enBlanco(estado.gTablaAccess)) {
        return std::nullopt;
    }
    std::string descripcion;
    try {
        return abrirOrigenAccess(ruta)->tablas();
    } catch (const ErrorTrovanel& e) {
        descripcion = e.what();
    } catch (const std::exception&) {
        descripcion = kNoSeAbreEntrada;
    }
    avisos.critico("Error: " + descripcion);
    return std::nullopt;
}

} // namespace trovanel
