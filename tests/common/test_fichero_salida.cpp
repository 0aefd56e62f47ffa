#include "fichero_salida.hpp"
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

TEST(FicheroSalida, elDestinoNoCambiaHastaConfirmar) {
    CarpetaTemporal carpeta;
    const auto destino = carpeta / "remesa.out";
    escribirFichero(destino, "viejo\r\n");
    FicheroSalida salida(destino);
    ASSERT_TRUE(salida.abierto());
    salida.escribir("ab");
    salida.escribir("c");
    salida.escribirLinea("d");
    salida.escribirLinea("");
    EXPECT_TRUE(salida.correcto());
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
    EXPECT_TRUE(salida.confirmar());
    EXPECT_EQ(leerFichero(destino), "abcd\r\n\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST(FicheroSalida, sinConfirmarNoQuedaNadaNuevo) {
    CarpetaTemporal carpeta;
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

TEST(FicheroSalida, descartadoYaNoSePuedeConfirmar) {
    CarpetaTemporal carpeta;
    const auto destino = carpeta / "remesa.out";
    escribirFichero(destino, "viejo\r\n");
    FicheroSalida salida(destino);
    salida.escribirLinea("nuevo");
    salida.descartar();
    EXPECT_FALSE(salida.confirmar());
    EXPECT_EQ(leerFichero(destino), "viejo\r\n");
    EXPECT_EQ(entradasDe(carpeta.ruta()), 1u);
}

TEST(FicheroSalida, destinoEnCarpetaInexistenteNoSeAbreNiConfirma) {
    CarpetaTemporal carpeta;
    FicheroSalida salida(carpeta / "no-existe" / "remesa.out");
    EXPECT_FALSE(salida.abierto());
    EXPECT_FALSE(salida.correcto());
    salida.escribirLinea("nuevo");
    EXPECT_FALSE(salida.confirmar());
    EXPECT_EQ(entradasDe(carpeta.ruta()), 0u);
}

TEST(FicheroSalida, noSustituyeUnDirectorio) {
    CarpetaTemporal carpeta;
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

} // namespace
} // namespace trovanel
