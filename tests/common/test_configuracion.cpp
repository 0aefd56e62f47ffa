#include "configuracion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;

TEST(ConfiguracionIni, cadaLineaConUnaClaveFijaSuIndicador) {
    const struct {
        std::string contenido;
        bool administrador;
        bool caracteres;
    } casos[] = {
        {"administrador=true\r\n", true, false},
        {"caracteres=true\r\n", false, true},
        // Case matters, in the keyword and in "true".
        {"Administrador=true\r\n", false, false},
        {"administrador=True\r\ncaracteres=TRUE\r\n", false, false},
        // Each test looks at the whole line.
        {"administrador=false;caracteres=true\r\n", true, true},
        {"administrador=true\r\nadministrador=true\r\nadministrador=no\r\n", false, false},
        {"caracteres=true\r\nadministrador=true\r\notra cosa=false\r\n", true, true},
        {"administrador=true\ncaracteres=true", true, true},
        {"", false, false},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        pruebas::escribirFichero(carpeta / "config.ini", caso.contenido);
        const auto configuracion = leerConfiguracion(carpeta.ruta());
        ASSERT_TRUE(configuracion.has_value()) << caso.contenido;
        EXPECT_EQ(configuracion->administrador, caso.administrador) << caso.contenido;
        EXPECT_EQ(configuracion->caracteres, caso.caracteres) << caso.contenido;
    }
}

TEST(ConfiguracionIni, ficheroAusenteNoDaConfiguracion) {
    CarpetaTemporal carpeta;
    EXPECT_FALSE(leerConfiguracion(carpeta.ruta()).has_value());
}

} // namespace
} // namespace trovanel
