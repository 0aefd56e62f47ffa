// The real program started as a user starts it, without any display.
#include "base_datos.hpp"
#include "codificacion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;

struct Resultado {
    int estado = -1;
    std::string errores; // standard error, as Windows-1252 text
};

class EjecutableTest : public ::testing::Test {
protected:
    Resultado ejecutar(const std::string& argumentos) {
        const auto errores = carpeta / "stderr.txt";
        const std::string orden =
            "cd '" + carpeta.ruta().string() +
            "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TROVANEL_HOME='" +
            carpeta.ruta().string() + "' '" TROVANEL_EJECUTABLE "' " + argumentos + " 2>'" +
            errores.string() + "' </dev/null";
        const int crudo = std::system(orden.c_str());
        Resultado r;
        r.estado = WIFEXITED(crudo) ? WEXITSTATUS(crudo) : -1;
        r.errores = utf8ACp1252(pruebas::leerFichero(errores));
        return r;
    }

    CarpetaTemporal carpeta;
};

TEST_F(EjecutableTest, modoLoteNoNecesitaPantallaYCreaLaBaseDeDatos) {
    const Resultado r = ejecutar("'x'");
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.errores, "Faltan parametros\n");
    EXPECT_TRUE(std::filesystem::exists(carpeta / "Estructuras.db"));
}

TEST_F(EjecutableTest, unArgumentoDeBlancosEsModoLoteYNoAbreVentana) {
    const Resultado r = ejecutar("'  '");
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.errores, "Faltan parametros\n");
}

TEST_F(EjecutableTest, convierteElEjemploConSuPlantillaYSuPresentador) {
    std::filesystem::copy_file(pruebas::raizProyecto() / "ejemplo" / "recibos.txt", carpeta / "recibos.txt");
    const Resultado r = ejecutar("'recibos.txt,recibos.out,9,1,05032026,1'");
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.errores, "");
    // A relative output lies in the caller's folder, here the program folder itself.
    const std::string banco = pruebas::leerFichero(carpeta / "recibos.out");
    EXPECT_EQ(banco.size(), 14u * 164u);
    EXPECT_TRUE(banco.starts_with("5180B00000000000"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "recibos.log"));
}

TEST_F(EjecutableTest, informaDeUnaFamiliaQueEstaVersionNoConvierte) {
    // Template 8 is the base template of norm 58.
    const Resultado r = ejecutar("'recibos.txt,recibos.out,8,1,1'");
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.errores, "Esta versión del programa aún no genera ficheros de tipo CSB58\n");
}

TEST_F(EjecutableTest, losArgumentosSeparadosPorBlancosFormanUnaLineaDeOrdenes) {
    // "in.txt, out.txt" arrives as two arguments; joined again, the output keeps its leading blank.
    const Resultado r = ejecutar("in.txt, out.txt,99,1");
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.errores, "No existe una plantilla con este identificador\n");
}

TEST_F(EjecutableTest, terminaConEstado3SiOtraInstanciaTieneLaBaseDeDatos) {
    ASSERT_EQ(ejecutar("'x'").estado, 2);
    auto primera = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
    const Resultado r = ejecutar("'recibos.txt,recibos.out,9,1,05032026,1'");
    EXPECT_EQ(r.estado, 3);
    EXPECT_EQ(r.errores, "Error: La base de datos está en uso por otro proceso\n");
}

} // namespace
} // namespace trovanel
