#include "modelo_entrada.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

TEST(ModeloEntrada, tipoDeUsuarioPorCodigoDePlantilla) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"CSB34N", "pagos"},   {"CSB34CAc", "pagos"}, {" CSB34P ", "pagos"}, {"PAGOSC", "pagos"},
        {"PAGOSCEx", "pagos"}, {" PAGOSC", "ZOP"},    {"CSB19", "CSB19"},    {"CSB19Ex ", "CSB19"},
        {"CSB58Ac", "CSB58"},  {"ZOP", "ZOP"},        {"csb19", "ZOP"},      {"", "ZOP"},
    };
    for (const auto& [codigo, tipo] : casos) {
        EXPECT_EQ(tipoUsuarioDe(codigo), tipo) << "'" << codigo << "'";
    }
}

TEST(ModeloEntrada, cuentaEnGruposDeCuatroCuatroDosYDiez) {
    EXPECT_EQ(cuentaConGuiones("86420001691000000017"), "8642-0001-69-1000000017");
    EXPECT_EQ(cuentaConGuiones("123456"), "1234-56--");
    EXPECT_EQ(cuentaConGuiones(""), "---");
}

TEST(ModeloEntrada, fechaDeProcesoEnSeisCifras) {
    EXPECT_EQ(fechaProcesoDDMMAA("5", "3", "2003"), "050303");
    EXPECT_EQ(fechaProcesoDDMMAA("15", "11", "2026"), "151126");
    std::string anio = "26";
    EXPECT_TRUE(dialogo_entrada::FechaCorrecta("5", "3", anio));
    EXPECT_EQ(anio, "2026");
}

} // namespace
} // namespace trovanel
