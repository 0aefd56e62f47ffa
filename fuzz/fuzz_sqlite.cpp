// SQLite files as input databases: the table list, each table's columns and every row of every table,
// as the conversion reads a table.

#include "soporte_fuzz.hpp"

#include "error.hpp"
#include "origen_access.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace trovanel;
    const auto ruta = fuzz::carpetaProceso().escribir("origen.sqlite", datos, tamano);
    try {
        auto origen = abrirOrigenSqlite(ruta);
        for (const auto& tabla : origen->tablas()) {
            try {
                origen->columnas(tabla);
                auto cursor = origen->abrirTabla(tabla);
                cursor->columna("Importe");
                std::vector<ValorColumna> valores;
                while (cursor->siguiente(valores)) {
                }
            } catch (const ErrorTrovanel&) {
                // One unreadable table does not stop the others being listed and read.
            }
        }
    } catch (const ErrorTrovanel&) {
        // A damaged database is refused: what the reader must do.
    }
    return 0;
}
