#include "modelo_entrada.hpp"

#include "base_datos_programa.hpp"
#include "configuracion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(ModeloEntrada, laBaseDeDatosDelProgramaNuncaEsLaEntradaSeaCualSeaSuNombre) {
    namespace fs = std::filesystem;
    pruebas::CarpetaTemporal carpeta;
    const fs::path bd = carpeta / kNombreBaseDatos;
    crearBaseDatosPrograma(bd);
    fs::create_directory(carpeta / "datos");
    fs::create_symlink(bd, carpeta / "enlace.db");
    fs::create_hard_link(bd, carpeta / "datos" / "duro.db");
    fs::copy_file(bd, carpeta / "copia.db");
    pruebas::escribirFichero(carpeta / "recibos.txt", "");
    const std::vector<std::pair<fs::path, bool>> casos = {
        {bd, false},
        {carpeta / "datos" / ".." / kNombreBaseDatos, false},
        {carpeta / "enlace.db", false},
        {carpeta / "datos" / "duro.db", false},
        {carpeta / "copia.db", true},
        {carpeta / "recibos.txt", true},
    };
    for (const auto& [ruta, aceptada] : casos) {
        const Configuracion configuracion;
        ModeloEntrada modelo(configuracion);
        pruebas::AvisosGrabados avisos;
        ASSERT_TRUE(modelo.elegirEntrada(carpeta / "recibos.txt", carpeta.ruta(), avisos));
        EXPECT_EQ(modelo.elegirEntrada(ruta, carpeta.ruta(), avisos), aceptada) << ruta;
        if (aceptada) {
            EXPECT_TRUE(avisos.mensajes.empty()) << ruta;
            EXPECT_EQ(modelo.ficheroEntrada(), ruta);
        } else {
            EXPECT_EQ(avisos.mensajes, (std::vector<pruebas::AvisosGrabados::Mensaje>{
                                           {"informacion", kEntradaBaseDatosPrograma}}))
                << ruta;
            EXPECT_EQ(modelo.ficheroEntrada(), carpeta / "recibos.txt");
            EXPECT_EQ(modelo.ficheroSalida(), carpeta / "recibos.out");
            EXPECT_EQ(modelo.ficheroLog(), carpeta / "recibos.log");
        }
    }
}

} // namespace
} // namespace trovanel
