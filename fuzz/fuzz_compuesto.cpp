// The compound file alone: header, FAT and DIFAT, directory tree, mini stream, and the workbook
// stream's chain.

#include "soporte_fuzz.hpp"

#include "error.hpp"
#include "fichero_compuesto.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace trovanel;
    const auto ruta = fuzz::carpetaProceso().escribir("compuesto.xls", datos, tamano);
    try {
        const Bytes flujo = leerFlujoLibro(ruta);
        // The stream is taken from the file's own bytes: it can never be larger.
        if (flujo.size() > tamano) {
            __builtin_trap();
        }
    } catch (const ErrorTrovanel&) {
        // A damaged container is refused: what the reader must do.
    }
    return 0;
}
