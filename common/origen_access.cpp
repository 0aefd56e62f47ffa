#include "origen_access.hpp"

#include "error.hpp"

#include <algorithm>
#include <cctype>

namespace trovanel {

int CursorTabla::columna(std::string_view nombre) const {
    const auto& nombres = columnas();
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        const std::string& n = nombres[i];
        if (n.size() == nombre.size() && std::equal(n.begin(), n.end(), nombre.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            })) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::unique_ptr<OrigenAccess> abrirOrigenAccess(const std::filesystem::path& ruta) {
    std::string extension = ruta.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".db" || extension == ".sqlite" || extension == ".sqlite3") {
        return abrirOrigenSqlite(ruta);
    }
    return abrirOrigenMdb(ruta);
}

} // namespace trovanel
