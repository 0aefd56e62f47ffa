#include "soporte_ventanas.hpp"

#include "base_datos_programa.hpp"
#include "conversores_disponibles.hpp"

namespace trovanel::pruebas {

std::filesystem::path SelectorGuionado::abrirFichero(const std::string& titulo, const std::string& filtro,
                                                     const std::filesystem::path& carpetaInicial) {
    peticiones.push_back({titulo, filtro, carpetaInicial});
    if (respuestas.empty()) {
        return {};
    }
    auto respuesta = respuestas.front();
    respuestas.pop_front();
    return respuesta;
}

EntornoVentanas::EntornoVentanas() {
    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    baseDatos.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
    registrarConversores(registro);
}

ContextoVentanas EntornoVentanas::contexto() {
    return ContextoVentanas{estado, *baseDatos, avisos, reloj, carpeta.ruta(), registro, selector, abridor};
}

} // namespace trovanel::pruebas
