#include "registro_fijo.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace trovanel {
namespace {

// Every length takes its own way through the copy (a few characters, one or two words, one or two
// blocks, a call): each must write exactly its characters and nothing around them.
TEST(RegistroFijo, copiaCadaLargoDePiezaSinTocarLoDeAlrededor) {
    std::string origen;
    for (int i = 0; i < 100; ++i) {
        origen += static_cast<char>('A' + i % 26);
    }
    for (std::size_t n = 0; n <= 100; ++n) {
        std::string destino(104, '#');
        copiarPieza(destino.data() + 2, origen.data(), n);
        EXPECT_EQ(destino, "##" + origen.substr(0, n) + std::string(102 - n, '#')) << n;
    }
}

struct CasoFrontera {
    const char* nombre;
    std::size_t ancho;
    // Room left in the file's buffer when the record that meets its end is reserved.
    std::size_t libres;
};

class RegistroFijoFrontera : public ::testing::TestWithParam<CasoFrontera> {};

// The bank file is written a quarter of a megabyte at a time, and each record is built in place in that
// buffer: records of either width, on both sides of its end, reach the file whole and in order, whether
// the last one before the end fits exactly, just does not, or finds the buffer full.
TEST_P(RegistroFijoFrontera, losRegistrosLleganEnterosAlFicheroAUnoYOtroLadoDelFinDelBuffer) {
    constexpr std::size_t kBuffer = FicheroSalida::kTamanoBuffer;
    const CasoFrontera& caso = GetParam();
    const std::size_t linea = caso.ancho + 2;
    const std::string previo((kBuffer - caso.libres) % linea, 'P');
    const std::size_t antesDelFin = (kBuffer - caso.libres) / linea;
    pruebas::CarpetaTemporal carpeta;
    std::string esperado = previo;
    {
        FicheroSalida salida(carpeta / "remesa.txt");
        salida.escribir(previo);
        for (std::size_t i = 0; i < antesDelFin + 3; ++i) {
            const std::string numero = std::to_string(i);
            const std::string relleno(caso.ancho - 20, static_cast<char>('a' + i % 26));
            RegistroFijo(salida, caso.ancho)
                .texto("R", 2)
                .ceros(numero, 8)
                .blancos(10)
                .texto(relleno, caso.ancho - 20)
                .terminar();
            esperado +=
                "R " + std::string(8 - numero.size(), '0') + numero + std::string(10, ' ') + relleno + "\r\n";
        }
        // Counted in every build (a line reserved after a flush counts twice), so that the records'
        // layout is one.
        EXPECT_GE(salida.reservas(), antesDelFin + 3);
        ASSERT_TRUE(salida.confirmar());
    }
    EXPECT_EQ(pruebas::leerFichero(carpeta / "remesa.txt"), esperado);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, RegistroFijoFrontera, ::testing::Values(
    CasoFrontera{"cobroCabeJusto", 162, 164},
    CasoFrontera{"cobroNoCabePorUno", 162, 163},
    CasoFrontera{"cobroConMedioRegistroLibre", 162, 82},
    CasoFrontera{"cobroConElBufferLleno", 162, 0},
    CasoFrontera{"pagoCabeJusto", 72, 74},
    CasoFrontera{"pagoNoCabePorUno", 72, 73},
    CasoFrontera{"pagoConMedioRegistroLibre", 72, 37},
    CasoFrontera{"pagoConElBufferLleno", 72, 0}),
    [](const ::testing::TestParamInfo<CasoFrontera>& caso) { return std::string(caso.param.nombre); });
// clang-format on

// What the record writers take for granted, the debug build checks: an overlapping copy is handed one to
// two words, and a record is built in its line before a later one is reserved (which may write the buffer
// out and take the line's place).
TEST(RegistroFijo, condicionesQueLaDepuracionCompruebaLaDetienen) {
#ifdef NDEBUG
    GTEST_SKIP() << "solo la compilacion de depuracion comprueba sus condiciones";
#else
    const std::string origen(32, 'x');
    std::string destino(32, ' ');
    EXPECT_DEATH(copiarSolapado<std::uint64_t>(destino.data(), origen.data(), 7), "sizeof");
    EXPECT_DEATH(copiarSolapado<std::uint32_t>(destino.data(), origen.data(), 9), "sizeof");
    pruebas::CarpetaTemporal carpeta;
    FicheroSalida salida(carpeta / "remesa.txt");
    RegistroFijo primero(salida, 72);
    RegistroFijo segundo(salida, 72);
    EXPECT_DEATH(primero.texto("A", 1), "lineaVigente");
    EXPECT_DEATH(primero.terminar(), "lineaVigente");
    segundo.blancos(72).terminar();
#endif
}

} // namespace
} // namespace trovanel
