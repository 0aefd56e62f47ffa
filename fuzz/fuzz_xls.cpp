// .xls workbooks: the compound file, the BIFF globals (sheet list, formats, shared strings) and every
// sheet's cell records, read whole.

#include "leer_libro.hpp"
#include "soporte_fuzz.hpp"

#include "error.hpp"
#include "libro_excel.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace trovanel;
    const auto ruta = fuzz::carpetaProceso().escribir("libro.xls", datos, tamano);
    try {
        auto libro = abrirLibroXls(ruta);
        fuzz::leerLibroEntero(*libro);
    } catch (const ErrorTrovanel&) {
        // A damaged workbook is refused: what the reader must do.
    }
    return 0;
}
