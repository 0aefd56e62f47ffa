// The real program started as a user starts it, without any display.
#include "arranque.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "limites.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;

struct Resultado {
    int estado = -1;
    std::string errores; // standard error, as Windows-1252 text
};

class EjecutableTest : public ::testing::Test {
protected:
    // entorno: more variables for the program, "NOMBRE=valor ...". A program that never ends is stopped
    // after a minute (status 124).
    Resultado ejecutar(const std::string& argumentos, const std::string& entorno = "") {
        const auto errores = carpeta / "stderr.txt";
        const std::string orden =
            "cd '" + carpeta.ruta().string() +
            "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TROVANEL_HOME='" +
            carpeta.ruta().string() + "' " + entorno + " timeout 60 '" TROVANEL_EJECUTABLE "' " + argumentos +
            " 2>'" + errores.string() + "' </dev/null";
        const int crudo = std::system(orden.c_str());
        Resultado r;
        r.estado = WIFEXITED(crudo) ? WEXITSTATUS(crudo) : -1;
        r.errores = utf8ACp1252(pruebas::leerFichero(errores));
        return r;
    }

    CarpetaTemporal carpeta;
};

// An argument of blanks is batch mode too, and opens no window.
TEST_F(EjecutableTest, modoLoteNoNecesitaPantallaYCreaLaBaseDeDatos) {
    for (const char* argumento : {"'x'", "'  '"}) {
        const Resultado r = ejecutar(argumento);
        EXPECT_EQ(r.estado, 2) << argumento;
        EXPECT_TRUE(r.errores.starts_with("Faltan parametros\nUso: trovanel ")) << r.errores;
        EXPECT_TRUE(std::filesystem::exists(carpeta / "Estructuras.db"));
    }
}

TEST_F(EjecutableTest, ayudaYVersionNoAbrenLaBaseDeDatosYLaAyudaDiceDondeLeerLosIdentificadores) {
    const auto salida = carpeta / "stdout.txt";
    for (const char* opcion : {"--help", "--version"}) {
        const Resultado r = ejecutar(std::string(opcion) + " >'" + salida.string() + "'");
        EXPECT_EQ(r.estado, 0) << opcion;
        EXPECT_EQ(r.errores, "");
    }
    EXPECT_TRUE(pruebas::leerFichero(salida).starts_with("trovanel ")); // the last one: --version
    EXPECT_FALSE(std::filesystem::exists(carpeta / "Estructuras.db"));
    ejecutar("--help >'" + salida.string() + "'");
    const std::string ayuda = pruebas::leerFichero(salida);
    // The ids' queries name this user's database, as one shell word.
    const std::string sqlite = "sqlite3 -readonly '" + (carpeta / "Estructuras.db").string() + "' ";
    for (const std::string& linea : std::vector<std::string>{
             "Uso (CSB19)", "Uso (CSB34N, CSB34T", "Uso (CSB58)", "Uso (ZOP)",
             // Each status with the cases it stands for, an unusable output among those refused.
             "\n  1  con ", "\n  2  rechazada antes de leer la entrada: ",
             "en una carpeta que no existe o\n     sin permiso", "  plantilla: estructura.id_estructura",
             sqlite + "'SELECT id_estructura, tipo, descripcion FROM estructura ORDER BY id_estructura'\n",
             "  presentador (normas 19 y 58): presentadores.id_presentador de tipo cobros",
             sqlite +
                 "\"SELECT id_presentador, csb, nifpre, nompre FROM presentadores WHERE tipo = 'cobros' ",
             "  ordenante (norma 34 y ZOP): presentadores.id_presentador de tipo pagos",
             sqlite + "\"SELECT id_presentador, csb, nifpre, nompre FROM presentadores WHERE tipo = 'pagos' ",
             "  emisor (normas 19 y 58): emisores.id_emi",
             sqlite + "'SELECT id_emi, id_presentador, nifemi"}) {
        EXPECT_NE(ayuda.find(linea), std::string::npos) << linea;
    }
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

TEST_F(EjecutableTest, sinVentanaLosDatosQueFaltanCancelanLaConversionDiciendoCuales) {
    // Template 6, the base template of ZOP, places no field in the input.
    const Resultado r = ejecutar("'recibos.txt,recibos.out,6,1,05032026'");
    EXPECT_EQ(r.estado, 1);
    EXPECT_EQ(r.errores,
              "Proceso Cancelado\nFaltan datos obligatorios que la plantilla no sitúa en la entrada: "
              "ClaveProveedor, NombreProveedor, FormaPago\n");
    EXPECT_FALSE(std::filesystem::exists(carpeta / "recibos.out"));
}

TEST_F(EjecutableTest, terminaConEstado3SiOtraInstanciaTieneLaBaseDeDatos) {
    ASSERT_EQ(ejecutar("'x'").estado, 2);
    auto primera = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
    const Resultado r = ejecutar("'recibos.txt,recibos.out,9,1,05032026,1'");
    EXPECT_EQ(r.estado, 3);
    EXPECT_EQ(r.errores, "Error: La base de datos está en uso por otro proceso\n");
}

// The conversion dialog opens and closes the database file to tell its kind, and closing any descriptor
// of a file drops the process's POSIX locks on it: the lock must not go with them.
TEST_F(EjecutableTest, otraInstanciaYElModoLoteSeRechazanAunqueElProcesoHayaCerradoOtroDescriptorDelFichero) {
    auto primera = abrirBaseDatosPrograma(carpeta / "Estructuras.db");
    ::close(::open((carpeta / "Estructuras.db").c_str(), O_RDONLY));
    for (const char* argumentos : {"", "'recibos.txt,recibos.out,9,1,05032026,1'"}) {
        const Resultado r = ejecutar(argumentos);
        EXPECT_EQ(r.estado, 3) << argumentos;
        EXPECT_EQ(r.errores, "Error: La base de datos está en uso por otro proceso\n") << argumentos;
    }
}

struct CasoFinal {
    const char* entorno;
    const char* argumentos;
    std::optional<std::string> entrada; // remesa.txt, when given
    int estado;
    const char* mensaje; // "%" stands for the program folder; nullptr: kSinPantalla
};

class FinalTest : public EjecutableTest, public ::testing::WithParamInterface<CasoFinal> {};

TEST_P(FinalTest, terminaConSuEstadoYUnaLineaQueDiceQuePaso) {
    const auto& caso = GetParam();
    if (caso.entrada) {
        pruebas::escribirFichero(carpeta / "remesa.txt", *caso.entrada);
    }
    const Resultado r = ejecutar(caso.argumentos, caso.entorno);
    EXPECT_EQ(r.estado, caso.estado);
    std::string esperado = caso.mensaje == nullptr ? kSinPantalla : caso.mensaje;
    std::erase(esperado, '\r');
    esperado = pruebas::conMarca(esperado, '%', carpeta.ruta().string());
    EXPECT_EQ(r.errores, esperado + "\n");
    EXPECT_FALSE(std::filesystem::exists(carpeta / "remesa.out"));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FinalTest,
    ::testing::Values(
        // No display: the window is not tried. Separators alone are no argument.
        CasoFinal{"", "", std::nullopt, 2, nullptr}, CasoFinal{"", "',\t,'", std::nullopt, 2, nullptr},
        CasoFinal{"QT_QPA_PLATFORM='wayland;xcb' DISPLAY=", "", std::nullopt, 2, nullptr},
        // "in.txt, out.txt" arrives as two arguments; joined again, the output keeps its leading blank.
        CasoFinal{"", "in.txt, out.txt,99,1", std::nullopt, 2,
                  "No existe una plantilla con este identificador"},
        CasoFinal{"", "'remesa.txt,remesa.out,9,1,05032026,1'", "", 0,
                  "No se ha generado el fichero de salida: la entrada no contiene ninguna orden"},
        // A line of blanks lacks every mandatory field.
        CasoFinal{"", "'remesa.txt,remesa.out,9,1,05032026,1'", "          \r\n", 1,
                  "Proceso terminado incorrectamente: registro de errores en %/remesa.log"},
        // An input that never ends is refused before reading (status 2); a line that never ends stops
        // the run (status 1). No bank file either way.
        CasoFinal{"", "'/dev/zero,remesa.out,9,1,05032026,1'", std::nullopt, 2,
                  "No se puede abrir el fichero de entrada\r\n/dev/zero: no es un fichero regular"},
        CasoFinal{"", "'remesa.txt,remesa.out,9,1,05032026,1'", std::string(kMaxLinea + 1, 'x'), 1,
                  "No se puede abrir el fichero de entrada\r\n%/remesa.txt: la línea 1 tiene más de 1048576 "
                  "bytes"},
        // An output that cannot be written is refused before reading, whatever makes it so.
        CasoFinal{"", "'remesa.txt,falta/remesa.out,9,1,05032026,1'", "", 2,
                  "No se puede crear el fichero de salida\r\n%/falta/remesa.out: su carpeta no existe"}));

// Where the program keeps its data, as the user's environment says (an empty variable counts as unset).
// The first start makes the folder with the database, config.ini and the example input; a folder that
// cannot be made ends the program with status 3, naming it and how to choose another.
struct CasoCarpetaPrograma {
    const char* entorno; // "%" stands for the test's folder
    const char* carpeta; // nullptr: refused
};

class CarpetaProgramaTest : public EjecutableTest,
                            public ::testing::WithParamInterface<CasoCarpetaPrograma> {};

TEST_P(CarpetaProgramaTest, elPrimerArranqueCreaLaCarpetaDeDatosDelUsuarioOTerminaConEstado3) {
    const auto conCarpeta = [&](std::string texto) {
        for (auto i = texto.find('%'); i != std::string::npos; i = texto.find('%', i)) {
            texto.replace(i, 1, carpeta.ruta().string());
        }
        return texto;
    };
    pruebas::escribirFichero(carpeta / "fichero", "");
    const std::string entorno = conCarpeta(GetParam().entorno);
    const Resultado r = ejecutar("x", entorno);
    if (GetParam().carpeta == nullptr) {
        EXPECT_EQ(r.estado, 3);
        EXPECT_EQ(r.errores,
                  conCarpeta("Error: No se puede usar la carpeta del programa %/fichero/trovanel (no es una "
                             "carpeta).\nPara usar otra carpeta, indique su ruta en la variable de "
                             "entorno TROVANEL_HOME (por ejemplo: TROVANEL_HOME=/ruta/de/la/carpeta "
                             "trovanel).\n"));
        return;
    }
    EXPECT_EQ(r.estado, 2) << r.errores;
    const std::filesystem::path programa = conCarpeta(GetParam().carpeta);
    EXPECT_TRUE(std::filesystem::exists(programa / "Estructuras.db"));
    EXPECT_EQ(pruebas::leerFichero(programa / "config.ini"), "administrador=false\r\ncaracteres=false\r\n");
    EXPECT_EQ(pruebas::leerFichero(programa / "recibos.txt"),
              pruebas::leerFichero(pruebas::raizProyecto() / "ejemplo" / "recibos.txt"));
    // Only the first start leaves the example: one the user removed stays removed.
    std::filesystem::remove(programa / "recibos.txt");
    EXPECT_EQ(ejecutar("x", entorno).estado, 2);
    EXPECT_FALSE(std::filesystem::exists(programa / "recibos.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CarpetaProgramaTest,
    ::testing::Values(
        CasoCarpetaPrograma{"TROVANEL_HOME=%/propia XDG_DATA_HOME=%/xdg HOME=%/casa", "%/propia"},
        CasoCarpetaPrograma{"TROVANEL_HOME= XDG_DATA_HOME=%/xdg HOME=%/casa", "%/xdg/trovanel"},
        CasoCarpetaPrograma{"TROVANEL_HOME= XDG_DATA_HOME= HOME=%/casa", "%/casa/.local/share/trovanel"},
        CasoCarpetaPrograma{"TROVANEL_HOME=%/fichero/trovanel", nullptr},
        CasoCarpetaPrograma{"TROVANEL_HOME= XDG_DATA_HOME=%/fichero", nullptr}));

} // namespace
} // namespace trovanel
