#include "provincias.hpp"

#include "base_datos.hpp"
#include "texto.hpp"

namespace trovanel {

std::string ObtenerProvincia(BaseDatos& baseDatos, std::string_view codigoPostal) {
    try {
        auto consulta = baseDatos.preparar("SELECT Provincia FROM CodigoPostal WHERE CP = ? ORDER BY CP");
        consulta.con(Left(codigoPostal, 2));
        if (consulta.siguiente()) {
            return consulta.texto(0);
        }
    } catch (const ErrorBaseDatos&) {
        // A missing table or a broken database gives an empty province, as a missing code does.
    }
    return {};
}

} // namespace trovanel
