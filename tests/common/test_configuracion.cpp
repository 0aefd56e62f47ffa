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
        // The file dialogs' folders are the program's own lines, whatever their names hold.
        {"caracteres=true\r\ncarpeta_entrada=/home/caracteres\r\n", false, true},
        {"administrador=false\r\ncarpeta_origen=/srv/administrador/true\r\n", false, false},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        pruebas::escribirFichero(carpeta / "config.ini", caso.contenido);
        const auto configuracion = leerConfiguracion(carpeta.ruta());
        ASSERT_TRUE(configuracion.has_value()) << caso.contenido;
        EXPECT_EQ(configuracion->gAdministrador, caso.administrador) << caso.contenido;
        EXPECT_EQ(configuracion->gCaracteres, caso.caracteres) << caso.contenido;
    }
}

// Each purpose keeps its folder in a line of its own; the flags' lines stay byte for byte. Without
// config.ini there is neither a folder saved nor a configuration.
TEST(ConfiguracionIni, laCarpetaDeCadaDialogoSeGuardaEnSuLineaSinTocarLasDemas) {
    constexpr const char* kIndicadores = "administrador=true\r\ncaracteres=false\r\n";
    const struct {
        const char* antes; // nullptr: no config.ini
        const char* proposito;
        const char* carpeta;
        const char* despues; // nullptr: as it was
    } casos[] = {
        {kIndicadores, "entrada", "/home/ana/remesas",
         "administrador=true\r\ncaracteres=false\r\ncarpeta_entrada=/home/ana/remesas\r\n"},
        {"administrador=true\r\ncarpeta_entrada=/viejo\r\ncaracteres=true \r\n", "entrada", "/nuevo",
         "administrador=true\r\ncarpeta_entrada=/nuevo\r\ncaracteres=true \r\n"},
        {"carpeta_cuentas=/c\r\n", "entrada", "/e", "carpeta_cuentas=/c\r\ncarpeta_entrada=/e\r\n"},
        // The file's own line end, and an end for a last line that had none.
        {"administrador=true\ncaracteres=true", "origen", "/o",
         "administrador=true\ncaracteres=true\ncarpeta_origen=/o\n"},
        {"", "entrada", "/e", "carpeta_entrada=/e\r\n"},
        {kIndicadores, "entrada", "/con\nsalto", nullptr},
        {nullptr, "entrada", "/e", nullptr},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        if (caso.antes != nullptr) {
            pruebas::escribirFichero(carpeta / "config.ini", caso.antes);
        }
        EXPECT_EQ(guardarCarpetaReciente(carpeta.ruta(), caso.proposito, caso.carpeta),
                  caso.despues != nullptr)
            << caso.carpeta;
        if (caso.antes == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(carpeta / "config.ini"));
            EXPECT_FALSE(leerConfiguracion(carpeta.ruta()).has_value()); // an absent file gives none
            continue;
        }
        EXPECT_EQ(pruebas::leerFichero(carpeta / "config.ini"), caso.despues ? caso.despues : caso.antes);
        const auto reciente = leerCarpetaReciente(carpeta.ruta(), caso.proposito);
        EXPECT_EQ(reciente.value_or(""), std::filesystem::path(caso.despues ? caso.carpeta : ""));
        EXPECT_EQ(leerConfiguracion(carpeta.ruta())->gAdministrador,
                  std::string(caso.antes).starts_with("administrador=true"));
    }
}

} // namespace
} // namespace trovanel
