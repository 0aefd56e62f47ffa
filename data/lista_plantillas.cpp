#include "lista_plantillas.hpp"

#include "base_datos.hpp"
#include "error.hpp"

namespace trovanel {

std::vector<EntradaPlantilla> CargarPlantillas(BaseDatos& baseDatos, bool todas) {
    std::vector<EntradaPlantilla> entradas;
    try {
        auto consulta = baseDatos.preparar(
            "SELECT id_estructura, tipo, descripcion FROM estructura ORDER BY id_estructura");
        while (consulta.siguiente()) {
            EntradaPlantilla entrada;
            entrada.id = consulta.entero(0);
            entrada.tipo = consulta.texto(1);
            const bool base = entrada.id <= kUltimaPlantillaBase;
            if (base && !todas) {
                continue;
            }
            entrada.texto = consulta.texto(2);
            if (!base) {
                if (const auto tipo = buscarTipoPlantilla(entrada.tipo)) {
                    entrada.texto += tipo->etiqueta;
                }
            }
            entradas.push_back(std::move(entrada));
        }
    } catch (const ErrorBaseDatos& e) {
        throw ErrorTrovanel(std::string("No se pueden cargar las plantilla\r\nError: ") + e.what());
    }
    return entradas;
}

} // namespace trovanel
