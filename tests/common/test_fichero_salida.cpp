#include "fichero_salida.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;
using pruebas::entradasDe;
using pruebas::escribirFichero;
using pruebas::leerFichero;

// Every behaviour holds both ways of writing: without a name where the file system allows it, and
// under a name of its own where it does not.
class FicheroSalidaTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        FicheroSalida::permitirSinNombre(GetParam());
        if (GetParam() && !FicheroSalida(carpeta / "prueba").sinNombre()) {
            GTEST_SKIP() << "El sistema de ficheros de " << carpeta.ruta()
                         << " no admite ficheros sin nombre";
        }
    }
    void TearDown() override { FicheroSalida::permitirSinNombre(true); }
    // Entries of the folder while a file is written, besides the target.
    std::size_t temporales() const { return GetParam() ? 0 : 1; }

    CarpetaTemporal carpeta;
};

TEST_P(FicheroSalidaTest, elDestinoNoCambiaHastaConfirmar) {
    const auto destino = carpeta / "remesa.out";
    escribirFichero(destino, "viejo\r\n");
    FicheroSalida salida(destino);
    ASSERT_TRUE(salida.abierto());
    salida.escribir("ab");
    salida.escribir("c");
    salida.escribirLinea("d");
    salida.escribirLinea("");
    EXPECT_TRUE(salida.correcto());
    EXPECT_EQ(salida.sinNombre(), GetParam());
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1 + temporales());
    EXPECT_TRUE(salida.confirmar());
    EXPECT_EQ(leerFichero(destino), "abcd\r\n\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST_P(FicheroSalidaTest, elFicheroNuevoTieneLosPermisosDeCualquierFicheroNuevo) {
    const mode_t anterior = ::umask(027);
    FicheroSalida salida(carpeta / "remesa.out");
    salida.escribirLinea("nuevo");
    EXPECT_TRUE(salida.confirmar());
    ::umask(anterior);
    EXPECT_EQ(std::filesystem::status(carpeta / "remesa.out").permissions(), std::filesystem::perms(0640));
}

TEST_P(FicheroSalidaTest, unProcesoMatadoAMitadSoloDejaElFicheroAnterior) {
    const auto destino = carpeta / "remesa.out";
    escribirFichero(destino, "viejo\r\n");
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        FicheroSalida salida(destino);
        salida.escribirLinea(std::string(200000, 'x')); // past the buffer: the file has data
        std::raise(SIGKILL);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
    ASSERT_TRUE(WIFSIGNALED(estado));
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1 + temporales());
    // The next file of that target takes away what the killed one left.
    {
        FicheroSalida siguiente(destino);
        EXPECT_EQ(entradasDe(carpeta.ruta()), 1 + temporales());
    }
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
}

TEST_P(FicheroSalidaTest, soloQuitaLosFicherosAbandonadosDeSuDestino) {
    const struct {
        const char* nombre;
        bool quitado;
    } casos[] = {
        {"remesa.out.trovanel-Ab3dE9", true},   {"remesa.out.trovanel-000000", true},
        {"otra.out.trovanel-Ab3dE9", false},    {"remesa.out.trovanel-Ab3dE", false},
        {"remesa.out.trovanel-Ab3dE9x", false}, {"remesa.out.trovanel-Ab-dE9", false},
        {"remesa.out.tmp-Ab3dE9", false},       {"remesa.trovanel-Ab3dE9", false},
    };
    for (const auto& caso : casos) {
        escribirFichero(carpeta / caso.nombre, "abandonado");
    }
    {
        // Another process's file of the same target is being written: it stays.
        FicheroSalida::permitirSinNombre(false);
        FicheroSalida otro(carpeta / "remesa.out");
        otro.escribirLinea("otro");
        FicheroSalida::permitirSinNombre(GetParam());
        FicheroSalida salida(carpeta / "remesa.out");
        salida.escribirLinea("nuevo");
        EXPECT_TRUE(salida.confirmar());
        EXPECT_TRUE(otro.confirmar());
    }
    EXPECT_EQ(leerFichero(carpeta / "remesa.out"), "otro\r\n");
    for (const auto& caso : casos) {
        EXPECT_EQ(std::filesystem::exists(carpeta / caso.nombre), !caso.quitado) << caso.nombre;
    }
}

TEST_P(FicheroSalidaTest, sinConfirmarNoQuedaNadaNuevo) {
    const auto viejo = carpeta / "viejo.out";
    escribirFichero(viejo, "viejo\r\n");
    {
        FicheroSalida salida(viejo);
        salida.escribirLinea("nuevo");
    }
    {
        FicheroSalida salida(carpeta / "nuevo.out");
        salida.escribirLinea("nuevo");
    }
    EXPECT_EQ(leerFichero(viejo), "viejo\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST_P(FicheroSalidaTest, descartadoYaNoSePuedeConfirmar) {
    const auto destino = carpeta / "remesa.out";
    escribirFichero(destino, "viejo\r\n");
    FicheroSalida salida(destino);
    salida.escribirLinea("nuevo");
    salida.descartar();
    EXPECT_FALSE(salida.confirmar());
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST_P(FicheroSalidaTest, destinoEnCarpetaInexistenteNoSeAbreNiConfirma) {
    FicheroSalida salida(carpeta / "no-existe" / "remesa.out");
    EXPECT_FALSE(salida.abierto());
    EXPECT_FALSE(salida.correcto());
    salida.escribirLinea("nuevo");
    EXPECT_FALSE(salida.confirmar());
    EXPECT_EQ(entradasDe(carpeta.ruta()), 0u);
}

TEST_P(FicheroSalidaTest, noSustituyeUnDirectorio) {
    const auto destino = carpeta / "remesa.out";
    std::filesystem::create_directory(destino);
    escribirFichero(destino / "dentro", "a");
    FicheroSalida salida(destino);
    salida.escribirLinea("nuevo");
    EXPECT_FALSE(salida.confirmar());
    ASSERT_TRUE(std::filesystem::is_directory(destino));
    EXPECT_EQ(leerFichero(destino / "dentro"), "a");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modos, FicheroSalidaTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& caso) {
                             return std::string(caso.param ? "sinNombre" : "conNombre");
                         });

} // namespace
} // namespace trovanel
