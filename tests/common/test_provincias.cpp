#include "provincias.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace trovanel {
namespace {

class Provincias : public testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta_ / kNombreBaseDatos);
        bd_ = std::make_unique<BaseDatos>(abrirBaseDatosPrograma(carpeta_ / kNombreBaseDatos));
    }

    pruebas::CarpetaTemporal carpeta_;
    std::unique_ptr<BaseDatos> bd_;
};

TEST_F(Provincias, buscaLaProvinciaPorLasDosPrimerasCifras) {
    EXPECT_EQ(ObtenerProvincia(*bd_, "28013"), "MADRID");
    EXPECT_EQ(ObtenerProvincia(*bd_, "08001"), "BARCELONA");
    EXPECT_EQ(ObtenerProvincia(*bd_, "01"), "ALAVA");
    EXPECT_EQ(ObtenerProvincia(*bd_, "52"), "MELILLA");
    EXPECT_EQ(ObtenerProvincia(*bd_, "51xyz"), "CEUTA");
}

TEST_F(Provincias, sinProvinciaParaUnCodigoQueNoExiste) {
    for (const char* codigo : {"99000", "00000", "53", "8001", "2", "", " 28013", "AB"}) {
        EXPECT_EQ(ObtenerProvincia(*bd_, codigo), "") << "'" << codigo << "'";
    }
}

// The key is a value, never SQL text: a quote or an SQL fragment in it just matches nothing.
TEST_F(Provincias, unaComillaEnElCodigoNoRompeLaConsulta) {
    EXPECT_EQ(ObtenerProvincia(*bd_, "2'"), "");
    EXPECT_EQ(ObtenerProvincia(*bd_, "'"), "");
    bd_->preparar("INSERT INTO CodigoPostal (CP, Provincia) VALUES (?, ?)").con("2'", "COMILLA").ejecutar();
    EXPECT_EQ(ObtenerProvincia(*bd_, "2'013"), "COMILLA");
    EXPECT_EQ(ObtenerProvincia(*bd_, "28013"), "MADRID");
}

TEST_F(Provincias, unaProvinciaNulaDaTextoVacio) {
    bd_->preparar("INSERT INTO CodigoPostal (CP, Provincia) VALUES (?, NULL)").con("60").ejecutar();
    EXPECT_EQ(ObtenerProvincia(*bd_, "60100"), "");
}

TEST_F(Provincias, sinTablaDeCodigosPostalesDaTextoVacio) {
    bd_->ejecutarScript("DROP TABLE CodigoPostal");
    EXPECT_EQ(ObtenerProvincia(*bd_, "28013"), "");
}

TEST_F(Provincias, conLaBaseDeDatosCerradaDaTextoVacio) {
    bd_->cerrar();
    EXPECT_EQ(ObtenerProvincia(*bd_, "28013"), "");
}

} // namespace
} // namespace trovanel
