#include "registro_dispuesto.hpp"
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

// A record as the norms lay theirs out: a type, a number, blanks and a long text to the end, as wide as a
// collection's record and as a payment's.
enum class PiezaPrueba { Tipo, Numero, Blancos, Relleno };
constexpr Tramo<PiezaPrueba> kRegistro162[] = {
    {PiezaPrueba::Tipo, 0, 2},
    {PiezaPrueba::Numero, 2, 8},
    {PiezaPrueba::Blancos, 10, 10},
    {PiezaPrueba::Relleno, 20, 142},
};
constexpr Tramo<PiezaPrueba> kRegistro72[] = {
    {PiezaPrueba::Tipo, 0, 2},
    {PiezaPrueba::Numero, 2, 8},
    {PiezaPrueba::Blancos, 10, 10},
    {PiezaPrueba::Relleno, 20, 52},
};

// The blanks are the piece left unwritten.
template <const auto& Tramos>
void escribirRegistro(FicheroSalida& salida, const std::string& numero, const std::string& relleno) {
    RegistroDispuesto<Tramos>(salida)
        .template texto<PiezaPrueba::Tipo>("R")
        .template ceros<PiezaPrueba::Numero>(numero)
        .template texto<PiezaPrueba::Relleno>(relleno);
}

struct CasoFrontera {
    const char* nombre;
    std::size_t ancho;
    // Room left in the file's buffer when the record that meets its end is reserved.
    std::size_t libres;
};

class RegistroDispuestoFrontera : public ::testing::TestWithParam<CasoFrontera> {};

// The bank file is written a quarter of a megabyte at a time, and each record is built in place in that
// buffer: records of either width, on both sides of its end, reach the file whole and in order, whether
// the last one before the end fits exactly, just does not, or finds the buffer full.
TEST_P(RegistroDispuestoFrontera, losRegistrosLleganEnterosAlFicheroAUnoYOtroLadoDelFinDelBuffer) {
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
            if (caso.ancho == 162) {
                escribirRegistro<kRegistro162>(salida, numero, relleno);
            } else {
                ASSERT_EQ(caso.ancho, 72U);
                escribirRegistro<kRegistro72>(salida, numero, relleno);
            }
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
INSTANTIATE_TEST_SUITE_P(Tabla, RegistroDispuestoFrontera, ::testing::Values(
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
TEST(RegistroDispuesto, condicionesQueLaDepuracionCompruebaLaDetienen) {
#ifdef NDEBUG
    GTEST_SKIP() << "solo la compilacion de depuracion comprueba sus condiciones";
#else
    const std::string origen(32, 'x');
    std::string destino(32, ' ');
    EXPECT_DEATH(copiarSolapado<std::uint64_t>(destino.data(), origen.data(), 7), "sizeof");
    EXPECT_DEATH(copiarSolapado<std::uint32_t>(destino.data(), origen.data(), 9), "sizeof");
    pruebas::CarpetaTemporal carpeta;
    FicheroSalida salida(carpeta / "remesa.txt");
    RegistroDispuesto<kRegistro72> primero(salida);
    RegistroDispuesto<kRegistro72> segundo(salida);
    EXPECT_DEATH(primero.texto<PiezaPrueba::Tipo>("A"), "lineaVigente");
    EXPECT_DEATH(primero.numero<PiezaPrueba::Numero>(1), "lineaVigente");
    segundo.texto<PiezaPrueba::Relleno>("B");
#endif
}

} // namespace
} // namespace trovanel
