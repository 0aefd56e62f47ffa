#include "valores_texto.hpp"

#include <gtest/gtest.h>

#include <clocale>

namespace trovanel {
namespace {

struct CasoNumero {
    double valor;
    const char* texto;
};

class TextoNumeroTest : public ::testing::TestWithParam<CasoNumero> {};

TEST_P(TextoNumeroTest, escribeComoLaConfiguracionEspanola) {
    EXPECT_EQ(textoNumero(GetParam().valor), GetParam().texto);
}

INSTANTIATE_TEST_SUITE_P(Casos, TextoNumeroTest,
                         ::testing::Values(CasoNumero{1234.5, "1234,5"}, CasoNumero{0.1 + 0.2, "0,3"},
                                           CasoNumero{1500, "1500"}, CasoNumero{-75.25, "-75,25"},
                                           CasoNumero{0, "0"},
                                           CasoNumero{123456789012345.0, "123456789012345"},
                                           CasoNumero{444.555, "444,555"}, CasoNumero{1e20, "1E+20"}));

TEST(TextoNumero, noDependeDelLocaleDeLaMaquina) {
    // Qt sets the C locale from the environment; a German locale must not turn the comma into a point.
    const char* anterior = std::setlocale(LC_NUMERIC, nullptr);
    const std::string guardado = anterior ? anterior : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    }
    EXPECT_EQ(textoNumero(1234.5), "1234,5");
    std::setlocale(LC_NUMERIC, guardado.c_str());
}

TEST(TextoNumero, sieteCifrasParaColumnasSimples) {
    EXPECT_EQ(textoNumero(static_cast<double>(0.1f), 7), "0,1");
}

TEST(TextoMoneda, redondeaACuatroDecimales) {
    EXPECT_EQ(textoMoneda(3.5), "3,5");
    EXPECT_EQ(textoMoneda(2.123456), "2,1235");
}

struct CasoFecha {
    double serie;
    bool sistema1904;
    bool seriesExcel1900;
    const char* texto;
};

class TextoFechaTest : public ::testing::TestWithParam<CasoFecha> {};

TEST_P(TextoFechaTest, escribeDiaMesAnioYHoraSiLaHay) {
    const CasoFecha& c = GetParam();
    EXPECT_EQ(textoFecha(c.serie, c.sistema1904, c.seriesExcel1900), c.texto);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoFechaTest,
    ::testing::Values(CasoFecha{29932, false, false, "12/12/1981"},
                      CasoFecha{27293, false, false, "21/09/1974"},
                      CasoFecha{27293.5, false, false, "21/09/1974 12:00:00"},
                      CasoFecha{0.75, false, false, "18:00:00"},
                      // 1904 system: serial 0 is 1 January 1904.
                      CasoFecha{0, true, false, "01/01/1904"}, CasoFecha{28470, true, false, "12/12/1981"},
                      // Workbooks count a 29 February 1900 that never was.
                      CasoFecha{1, false, true, "01/01/1900"}, CasoFecha{59, false, true, "28/02/1900"},
                      CasoFecha{61, false, true, "01/03/1900"}, CasoFecha{45998, false, true, "07/12/2025"}));

TEST(TextoBooleano, escribeVerdaderoOFalso) {
    EXPECT_EQ(textoBooleano(true), "Verdadero");
    EXPECT_EQ(textoBooleano(false), "Falso");
}

} // namespace
} // namespace trovanel
