#include "origen_access.hpp"

#include "error.hpp"
#include "texto.hpp"

#include <algorithm>

namespace trovanel {

int CursorTabla::columna(std::string_view nombre) const {
    const auto& nombres = columnas();
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        const std::string& n = nombres[i];
        if (igualesSinMayusculas(n, nombre)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::unique_ptr<OrigenAccess> abrirOrigenAccess(const std::filesystem::path& ruta) {
    const std::string extension = minusculasAscii(ruta.extension().string());
    if (extension == ".db" || extension == ".sqlite" || extension == ".sqlite3") {
        return abrirOrigenSqlite(ruta);
    }
    return abrirOrigenMdb(ruta);
}

} // namespace trovanel
