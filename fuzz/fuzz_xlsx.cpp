// .xlsx workbooks: the zip package, the workbook and its relationships, styles, shared strings and
// every sheet, read whole.

#include "leer_libro.hpp"
#include "soporte_fuzz.hpp"

#include "error.hpp"
#include "libro_excel.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace trovanel;
    const auto ruta = fuzz::carpetaProceso().escribir("libro.xlsx", datos, tamano);
    try {
        auto libro = abrirLibroXlsx(ruta);
        fuzz::leerLibroEntero(*libro);
    } catch (const ErrorTrovanel&) {
        // A damaged workbook is refused: what the reader must do.
    }
    return 0;
}
