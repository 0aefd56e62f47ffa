#include "lista_plantillas.hpp"
#include "tipos_plantilla.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

struct CasoBase {
    std::string codigo;
    Familia familia;
    std::string etiqueta;
    std::string conversor;
};

const std::vector<CasoBase> kBases = {
    {"CSB34N", Familia::CSB34, " (Nominas)", "GenerarCSB34"},
    {"CSB34T", Familia::CSB34, " (Transferencias)", "GenerarCSB34"},
    {"CSB34C", Familia::CSB34, " (Cheques)", "GenerarCSB34"},
    {"CSB34P", Familia::CSB34, " (Pagares)", "GenerarCSB34"},
    {"PAGOSC", Familia::CSB34, " (Pagos Certificados)", "GenerarCSB34"},
    {"ZOP", Familia::ZOP, " (ZOP)", "GenerarZOP"},
    {"CSB19", Familia::CSB19, " (CSB19)", "GenerarCSB19"},
    {"CSB58", Familia::CSB58, " (CSB58)", "GenerarCSB58"},
};

TEST(TiposPlantilla, cadaCodigoConSuSufijoDiceFamiliaEtiquetaYEntrada) {
    const std::pair<std::string, TipoEntrada> sufijos[] = {
        {"", TipoEntrada::Texto}, {"Ex", TipoEntrada::Excel}, {"Ac", TipoEntrada::Access}};
    int reconocidos = 0;
    for (const CasoBase& base : kBases) {
        for (const auto& [sufijo, entrada] : sufijos) {
            const std::string codigo = base.codigo + sufijo;
            const auto tipo = buscarTipoPlantilla(codigo);
            ASSERT_TRUE(tipo.has_value()) << codigo;
            EXPECT_EQ(tipo->codigoBase, base.codigo) << codigo;
            EXPECT_EQ(tipo->familia, base.familia) << codigo;
            EXPECT_EQ(tipo->etiqueta, base.etiqueta) << codigo;
            EXPECT_EQ(tipo->entrada, entrada) << codigo;
            EXPECT_EQ(nombreConversor(tipo->familia), base.conversor) << codigo;
            ++reconocidos;
        }
    }
    EXPECT_EQ(reconocidos, 24);
}

TEST(TiposPlantilla, losCodigosBaseSiguenElOrdenDeLaTabla) {
    std::vector<std::string> esperados;
    for (const CasoBase& base : kBases) {
        esperados.push_back(base.codigo);
    }
    const std::vector<std::string> obtenidos(codigosBase().begin(), codigosBase().end());
    EXPECT_EQ(obtenidos, esperados);
}

TEST(TiposPlantilla, comparaLosCodigosExactamente) {
    for (const char* codigo : {"csb19", "Csb19", "CSB19Xx", "CSB19ex", "CSB19EX", "CSB19 ", " CSB19",
                               "CSB19ExAc", "CSB19Exx", "CSB34", "PAGOS", "ZO", "", "CSB1", "ZOPAcEx"}) {
        EXPECT_FALSE(buscarTipoPlantilla(codigo).has_value()) << "'" << codigo << "'";
    }
}

class CargarPlantillasPrueba : public testing::Test {
protected:
    void SetUp() override {
        ruta_ = carpeta_ / kNombreBaseDatos;
        crearBaseDatosPrograma(ruta_);
        bd_ = std::make_unique<BaseDatos>(abrirBaseDatosPrograma(ruta_));
    }

    void anadirPlantilla(std::int64_t id, const std::string& tipo, const std::string& descripcion) {
        bd_->preparar("INSERT INTO estructura (id_estructura, tipo, descripcion) VALUES (?, ?, ?)")
            .con(id, tipo, descripcion)
            .ejecutar();
    }

    static std::vector<std::string> textos(const std::vector<EntradaPlantilla>& entradas) {
        std::vector<std::string> resultado;
        for (const auto& entrada : entradas) {
            resultado.push_back(entrada.texto);
        }
        return resultado;
    }

    pruebas::CarpetaTemporal carpeta_;
    std::filesystem::path ruta_;
    std::unique_ptr<BaseDatos> bd_;
};

TEST_F(CargarPlantillasPrueba, conTodasListaLasBaseSinEtiquetaYLaDeEjemploConEtiqueta) {
    const auto entradas = CargarPlantillas(*bd_, true);
    ASSERT_EQ(entradas.size(), 9u);
    for (std::size_t i = 0; i < entradas.size(); ++i) {
        EXPECT_EQ(entradas[i].id, static_cast<std::int64_t>(i + 1));
    }
    EXPECT_EQ(entradas[0].texto, "Plantilla base Nominas");
    EXPECT_EQ(entradas[0].tipo, "CSB34N");
    EXPECT_EQ(entradas[6].texto, "Plantilla base CSB19");
    EXPECT_EQ(entradas[7].texto, "Plantilla base CSB58");
    EXPECT_EQ(entradas[8].texto, "Ejemplo CSB19 (CSB19)");
    EXPECT_EQ(entradas[8].tipo, "CSB19");
}

TEST_F(CargarPlantillasPrueba, sinTodasDejaFueraLasPlantillasBase) {
    anadirPlantilla(15, "CSB34TEx", "Transferencias marzo");
    anadirPlantilla(11, "ZOPAc", "Proveedores año");
    const auto entradas = CargarPlantillas(*bd_, false);
    ASSERT_EQ(entradas.size(), 3u);
    EXPECT_EQ(entradas[0].id, 9);
    EXPECT_EQ(entradas[1].id, 11);
    EXPECT_EQ(entradas[1].tipo, "ZOPAc");
    EXPECT_EQ(entradas[2].id, 15);
    EXPECT_EQ(textos(entradas), (std::vector<std::string>{"Ejemplo CSB19 (CSB19)", "Proveedores año (ZOP)",
                                                          "Transferencias marzo (Transferencias)"}));
}

TEST_F(CargarPlantillasPrueba, unTipoDesconocidoSeListaSoloConSuDescripcion) {
    anadirPlantilla(20, "XYZ", "Rara");
    // Stored types keep their blanks and case, and are not recognised through them.
    anadirPlantilla(21, "CSB19 ", "Con blanco");
    anadirPlantilla(22, "csb58", "Minusculas");
    const auto entradas = CargarPlantillas(*bd_, false);
    ASSERT_EQ(entradas.size(), 4u);
    EXPECT_EQ(textos(entradas),
              (std::vector<std::string>{"Ejemplo CSB19 (CSB19)", "Rara", "Con blanco", "Minusculas"}));
    EXPECT_EQ(entradas[2].tipo, "CSB19 ");
    EXPECT_EQ(entradas[3].tipo, "csb58");
}

TEST_F(CargarPlantillasPrueba, laPlantillaOchoNoLlevaEtiquetaYLaNueveSi) {
    bd_->preparar("UPDATE estructura SET descripcion = ? WHERE id_estructura = ?").con("Ocho", 8).ejecutar();
    const auto entradas = CargarPlantillas(*bd_, true);
    ASSERT_EQ(entradas.size(), 9u);
    EXPECT_EQ(entradas[7].texto, "Ocho");
    EXPECT_EQ(entradas[8].texto, "Ejemplo CSB19 (CSB19)");
}

TEST_F(CargarPlantillasPrueba, unaTablaVaciaDaUnaListaVacia) {
    bd_->ejecutarScript("DELETE FROM estructura");
    EXPECT_TRUE(CargarPlantillas(*bd_, true).empty());
    EXPECT_TRUE(CargarPlantillas(*bd_, false).empty());
}

TEST_F(CargarPlantillasPrueba, siLaConsultaFallaAvisaConElErrorDeLaBaseDeDatos) {
    bd_->ejecutarScript("DROP TABLE estructura");
    const std::string prefijo = "No se pueden cargar las plantilla\r\nError: ";
    try {
        CargarPlantillas(*bd_, true);
        FAIL() << "sin excepción";
    } catch (const ErrorTrovanel& e) {
        const std::string mensaje = e.what();
        EXPECT_EQ(mensaje.substr(0, prefijo.size()), prefijo);
        EXPECT_GT(mensaje.size(), prefijo.size()) << "falta la descripción del error";
    }
}

} // namespace
} // namespace trovanel
