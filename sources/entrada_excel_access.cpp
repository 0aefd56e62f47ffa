#include "entrada_excel_access.hpp"

#include "avisos.hpp"
#include "error.hpp"
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
std::optional<std::vector<std::string>> abrirEnLibro(LibroEntrada& libro, Avisos& avisos, const Ruta& ruta) {
    std::string mensaje;
    try {
        libro.gLibroExcel = abrirLibroExcel(ruta);
        libro.gLibroAbierto = true;
        return libro.gLibroExcel->hojas();
    } catch (const ErrorTrovanel& e) {
        mensaje = e.what();
    } catch (const std::exception&) {
        // Memory run out on a file too big for this machine: the same outcome as a damaged one.
        mensaje = kNoSeAbreEntrada;
    }
    // A workbook that could not be opened is never taken for an open one.
    libro.gLibroExcel.reset();
    libro.gLibroAbierto = false;
    avisos.critico(mensaje);
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> AbrirLibroExcel(LibroEntrada& libro, Avisos& avisos,
                                                        const std::filesystem::path& ruta) {
    if (enBlanco(ruta.native())) {
        return std::nullopt;
    }
    return abrirEnLibro(libro, avisos, ruta);
}

void AbrirLibroExcelRuta(LibroEntrada& libro, Avisos& avisos) {
    if (enBlanco(libro.gRutaLibro)) {
        return;
    }
    abrirEnLibro(libro, avisos, libro.gRutaLibro);
}

void CerrarLibroExcel(LibroEntrada& libro) {
    libro.gLibroExcel.reset();
    libro.gLibroAbierto = false;
}

std::optional<std::vector<std::string>> ListarTablasAccess(std::string_view gTablaAccess, Avisos& avisos,
                                                           const std::filesystem::path& ruta) {
    if (enBlanco(gTablaAccess)) {
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
