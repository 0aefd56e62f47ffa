#include "error.hpp"
#include "reescritura.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;
using pruebas::entradasDe;
using pruebas::escribirFichero;
using pruebas::leerFichero;

TEST(ReescrituraLineas, milSegmentosSoloLfSalenComoMilLineasCrLf) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "entrada.txt";
    std::string antes;
    std::string esperado;
    for (int i = 0; i < 1000; ++i) {
        const std::string segmento =
            std::to_string(1000000 + i) + std::string(155, static_cast<char>('A' + i % 26));
        ASSERT_EQ(segmento.size(), 162u);
        antes += segmento + "\n";
        esperado += segmento + "\r\n";
    }
    escribirFichero(ruta, antes);
    ConvertirSaltosLinea(ruta);
    EXPECT_EQ(leerFichero(ruta), esperado);
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST(ReescrituraLineas, convierteLosFinalesComoLosLeeElLector) {
    const struct {
        std::string antes;
        std::string despues;
    } casos[] = {
        {"uno\ndos", "uno\r\ndos\r\n"},
        {"uno\n\ndos\n", "uno\r\n\r\ndos\r\n"},
        {"uno\r\ndos\ntres\r\n", "uno\r\ndos\ntres\r\n"},
        {"uno\rdos", "uno\r\ndos\r\n"},
        {"uno\r\ndos\r\n", "uno\r\ndos\r\n"},
        {"\n", "\r\n"},
        {"", ""},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        escribirFichero(carpeta / "entrada.txt", caso.antes);
        ConvertirSaltosLinea(carpeta / "entrada.txt");
        EXPECT_EQ(leerFichero(carpeta / "entrada.txt"), caso.despues) << caso.antes;
        EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
    }
}

TEST(ReescrituraLineas, transformaCadaLineaSinSuFinal) {
    CarpetaTemporal carpeta;
    escribirFichero(carpeta / "entrada.txt", "ab\r\ncd\r\n");
    const auto resultado = reescribirPorLineas(carpeta / "entrada.txt", [](std::string& linea) {
        EXPECT_EQ(linea.size(), 2u);
        linea = "<" + linea + ">";
    });
    EXPECT_EQ(resultado, ResultadoReescritura::Hecha);
    EXPECT_EQ(leerFichero(carpeta / "entrada.txt"), "<ab>\r\n<cd>\r\n");
}

TEST(ReescrituraLineas, ficheroAusenteLanzaErrorSinCrearNada) {
    CarpetaTemporal carpeta;
    EXPECT_THROW(ConvertirSaltosLinea(carpeta / "no-existe.txt"), ErrorTrovanel);
    EXPECT_EQ(reescribirPorLineas(carpeta / "no-existe.txt", [](std::string&) {}),
              ResultadoReescritura::NoSePuedeLeer);
    EXPECT_EQ(entradasDe(carpeta.ruta()), 0u);
}

TEST(ReescrituraLineas, directorioIlegibleLanzaErrorYQuedaIntacto) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "entrada.txt";
    std::filesystem::create_directory(ruta);
    escribirFichero(ruta / "dentro", "a\n");
    EXPECT_THROW(ConvertirSaltosLinea(ruta), ErrorTrovanel);
    ASSERT_TRUE(std::filesystem::is_directory(ruta));
    EXPECT_EQ(leerFichero(ruta / "dentro"), "a\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST(ReescrituraLineas, sinTemporalPosibleElFicheroQuedaIntacto) {
    CarpetaTemporal carpeta;
    // The longest name allowed: a temporary name beside it, being longer, cannot be created.
    const auto ruta = carpeta / std::string(255, 'e');
    escribirFichero(ruta, "uno\ndos\n");
    EXPECT_THROW(ConvertirSaltosLinea(ruta), ErrorTrovanel);
    EXPECT_EQ(reescribirPorLineas(ruta, [](std::string&) {}), ResultadoReescritura::NoSePuedeEscribir);
    EXPECT_EQ(leerFichero(ruta), "uno\ndos\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

} // namespace
} // namespace trovanel
