#include "arranque.hpp"
#include "base_datos_programa.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::RelojFijo;

struct CasoParametros {
    const char* linea;
    std::vector<std::string> esperados; // from index 1
};

class LeerParametrosTest : public ::testing::TestWithParam<CasoParametros> {};

TEST_P(LeerParametrosTest, separaPorTabuladoresYComas) {
    const auto& caso = GetParam();
    const auto parametros = LeerParametros(caso.linea, 10);
    ASSERT_FALSE(parametros.empty());
    EXPECT_EQ(parametros[0], "");
    EXPECT_EQ(std::vector<std::string>(parametros.begin() + 1, parametros.end()), caso.esperados);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LeerParametrosTest,
    ::testing::Values(
        CasoParametros{"", {}}, CasoParametros{",,\t,", {}},
        CasoParametros{"in.txt,out.bak,12,3,01022003,7", {"in.txt", "out.bak", "12", "3", "01022003", "7"}},
        // A blank belongs to the argument: paths may contain blanks.
        CasoParametros{"in.txt, out.bak,12", {"in.txt", " out.bak", "12"}},
        CasoParametros{"a,,b", {"a", "b"}}, CasoParametros{"a\tb,c", {"a", "b", "c"}},
        CasoParametros{"\"mi fichero.txt\",x", {"\"mi fichero.txt\"", "x"}},
        CasoParametros{"1,2,3,4,5,6,7,8,9,10,11,12", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}}));

TEST(LineaComandos, uneLosArgumentosConBlancos) {
    const char* argv[] = {"trovanel", "in.txt,", "out.bak,9"};
    EXPECT_EQ(unirLineaComandos(3, argv), "in.txt, out.bak,9");
    EXPECT_EQ(unirLineaComandos(1, argv), "");
}

TEST(CopiaDelDia, nombraLaCopiaSinCerosALaIzquierda) {
    EXPECT_EQ(rutaCopiaDelDia("/p", {2003, 3, 5}), std::filesystem::path("/p/532003.Copy"));
    // 1 November and 11 January share a name; kept as users know it.
    EXPECT_EQ(rutaCopiaDelDia("/p", {2003, 11, 1}), rutaCopiaDelDia("/p", {2003, 1, 11}));
    EXPECT_EQ(rutaCopiaDelDia("/p", {2026, 12, 31}), std::filesystem::path("/p/31122026.Copy"));
}

class ArranqueTest : public ::testing::Test {
protected:
    std::optional<BaseDatos> arrancar(const FechaHora& hoy = {2026, 12, 6, 9, 0, 0}) {
        reloj.momento = hoy;
        return abrirBaseDatosAlArrancar(estado, avisos, reloj, carpeta.ruta());
    }

    CarpetaTemporal carpeta;
    EstadoEjecucion estado;
    AvisosGrabados avisos;
    RelojFijo reloj;
};

TEST_F(ArranqueTest, creaLaBaseDeDatosConSusDatosInicialesAlPrimerArranque) {
    auto bd = arrancar();
    ASSERT_TRUE(bd);
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(estado.gRutaBDOrigen, carpeta / "Estructuras.db");
    auto consulta = bd->preparar("SELECT count(*) FROM estructura");
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_EQ(consulta.entero(0), 9);
}

TEST_F(ArranqueTest, nuncaReescribeUnaBaseDeDatosExistente) {
    {
        auto bd = arrancar();
        ASSERT_TRUE(bd);
        bd->preparar("INSERT INTO estructura (tipo, descripcion) VALUES ('CSB19', 'Mia')").ejecutar();
    }
    auto bd = arrancar();
    ASSERT_TRUE(bd);
    auto consulta = bd->preparar("SELECT id_estructura FROM estructura WHERE descripcion = ?");
    consulta.con("Mia");
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_EQ(consulta.entero(0), 10);
}

TEST_F(ArranqueTest, haceLaCopiaDelDiaUnaSolaVezPorNombre) {
    arrancar({2003, 11, 1});
    const auto copia = carpeta / "1112003.Copy";
    ASSERT_TRUE(std::filesystem::exists(copia));
    EXPECT_EQ(estado.gRutaCopiaBD, copia);
    {
        auto deLaCopia = BaseDatos::abrir(copia, BaseDatos::Modo::SoloLectura);
        auto consulta = deLaCopia.preparar("SELECT count(*) FROM CodigoPostal");
        ASSERT_TRUE(consulta.siguiente());
        EXPECT_EQ(consulta.entero(0), 52);
    }
    pruebas::escribirFichero(copia, "copia anterior");
    // 11 January of the same year shares the name: the copy already there stays.
    arrancar({2003, 1, 11});
    EXPECT_EQ(pruebas::leerFichero(copia), "copia anterior");
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST_F(ArranqueTest, avisaSiNoPuedeHacerLaCopiaYSigue) {
    // A dangling link under the copy's name: no copy exists, and none can be written there.
    std::filesystem::create_symlink(carpeta / "no-existe" / "copia", carpeta / "6122026.Copy");
    auto bd = arrancar({2026, 12, 6});
    ASSERT_TRUE(bd);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "informacion");
    EXPECT_EQ(avisos.mensajes[0].texto,
              "No se puede crear copia de seguridad de la Base de datos\r\n"
              "asegurese de que la Base de datos esta cerrada y vuelva a abrir el programa si quiere que se "
              "genere la copia de seguridad");
    auto consulta = bd->preparar("SELECT count(*) FROM estructura");
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_EQ(consulta.entero(0), 9);
}

TEST_F(ArranqueTest, rechazaUnaSegundaInstanciaMientrasLaPrimeraTieneLaBaseDeDatos) {
    auto primera = arrancar();
    ASSERT_TRUE(primera);

    EstadoEjecucion otroEstado;
    AvisosGrabados otrosAvisos;
    auto segunda = abrirBaseDatosAlArrancar(otroEstado, otrosAvisos, reloj, carpeta.ruta());
    EXPECT_FALSE(segunda);
    ASSERT_EQ(otrosAvisos.mensajes.size(), 1u);
    EXPECT_EQ(otrosAvisos.mensajes[0].tipo, "critico");
    EXPECT_EQ(otrosAvisos.mensajes[0].texto, "Error: La base de datos está en uso por otro proceso");

    primera.reset();
    EXPECT_TRUE(abrirBaseDatosAlArrancar(otroEstado, otrosAvisos, reloj, carpeta.ruta()));
}

TEST_F(ArranqueTest, informaDeUnaBaseDeDatosDanada) {
    pruebas::escribirFichero(carpeta / "Estructuras.db", std::string(4096, 'x'));
    EXPECT_FALSE(arrancar());
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    EXPECT_EQ(avisos.mensajes[0].texto, "Error: El fichero no es una base de datos");
    // The damaged file is the user's: it stays as it was.
    EXPECT_EQ(pruebas::leerFichero(carpeta / "Estructuras.db"), std::string(4096, 'x'));
}

TEST_F(ArranqueTest, informaCuandoNoPuedeCrearLaBaseDeDatos) {
    auto bd = abrirBaseDatosAlArrancar(estado, avisos, reloj, carpeta / "no-existe");
    EXPECT_FALSE(bd);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    EXPECT_TRUE(avisos.mensajes[0].texto.starts_with("Error: "));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "no-existe"));
}

} // namespace
} // namespace trovanel
