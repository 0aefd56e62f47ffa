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

ClaseBaseDatos claseBaseDatos(std::string_view extension) {
    const std::string minusculas = minusculasAscii(extension);
    for (const ExtensionBaseDatos& e : kExtensionesBaseDatos) {
        if (minusculas == e.extension) {
            return e.clase;
        }
    }
    return ClaseBaseDatos::Ninguna;
}

std::string filtroBasesDatos(std::string_view descripcion) {
    std::string filtro = std::string(descripcion) + " (";
    for (const ExtensionBaseDatos& e : kExtensionesBaseDatos) {
        if (filtro.back() != '(') {
            filtro += ' ';
        }
        filtro.append("*").append(e.extension);
    }
    return filtro + ")";
}

std::unique_ptr<OrigenAccess> abrirOrigenAccess(const std::filesystem::path& ruta) {
    // Any other file is tried as Access, whose reader says what it is not.
    if (claseBaseDatos(ruta.extension().string()) == ClaseBaseDatos::Sqlite) {
        return abrirOrigenSqlite(ruta);
    }
    return abrirOrigenMdb(ruta);
}

} // namespace trovanel
