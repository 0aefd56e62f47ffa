// Norm 58 runs that end with a message, errors of their own or no bank file at all. The bank files and logs
// written by hand are golden cases (tests/data/csb58/).

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "csb58.hpp"
#include "estado_ejecucion.hpp"
#include "peticion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CampoPlantilla;
using pruebas::leerFichero;

// The program's database with the parties of tests/data/csb58/linea/plantilla.sql.
class CSB58Base : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));
        baseDatos->ejecutarScript(leerFichero(pruebas::datosPrueba() / "csb58" / "linea" / "plantilla.sql"));
    }

    std::int64_t plantilla(const std::vector<CampoPlantilla>& campos, int principio = -1) {
        return pruebas::ConstructorPlantilla(*baseDatos)
            .tipo("CSB58")
            .principioLinea(principio)
            .campos(campos)
            .crear();
    }

    // The driver as the conversion dialog calls it.
    void convertir(const fs::path& entrada, std::int64_t idPlantilla) {
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        resultado = GenerarCSB58(estado, entorno,
                                 pruebas::peticion(entrada, rutaSalida, idPlantilla, idPresentador, idEmisor,
                                                   carpeta / "remesa.log"));
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    EstadoEjecucion estado;
    ResultadoConversion resultado;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    std::int64_t idPresentador = 100;
    std::int64_t idEmisor = 100;
    fs::path rutaSalida = carpeta / "remesa.out";
};

// Runs that end with a message, errors of their own or no bank file at all.
struct CasoEjecucion {
    const char* nombre;
    std::vector<CampoPlantilla> campos;
    int principio;
    std::string entrada;
    std::int64_t presentador; // 0: the seeded one
    std::int64_t emisor;
    std::string aviso; // "": no message
    std::string error; // in the log; "": no credit rejected
    bool hayFichero;
};

class CSB58Ejecuciones : public CSB58Base, public ::testing::WithParamInterface<CasoEjecucion> {};

TEST_P(CSB58Ejecuciones, terminaConSuMensajeSusErroresYSinFicheroCuandoNoHayCreditos) {
    const CasoEjecucion& caso = GetParam();
    pruebas::escribirFichero(carpeta / "remesa.txt", caso.entrada);
    const std::int64_t id = plantilla(caso.campos, caso.principio);
    idPresentador = caso.presentador == 0 ? idPresentador : caso.presentador;
    idEmisor = caso.emisor == 0 ? idEmisor : caso.emisor;
    convertir(carpeta / "remesa.txt", id);

    if (caso.aviso.empty()) {
        EXPECT_TRUE(avisos.mensajes.empty());
    } else {
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        EXPECT_EQ(avisos.mensajes[0].texto, caso.aviso);
    }
    EXPECT_EQ(resultado.conErrores(), !caso.aviso.empty() || !caso.error.empty());
    if (!caso.error.empty()) {
        EXPECT_NE(leerFichero(carpeta / "remesa.log").find("\r\n" + caso.error + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(fs::exists(rutaSalida), caso.hayFichero);
}

const std::vector<CampoPlantilla> kCamposMinimos{{"CodigoReferencia", 1, 4},
                                                 {"NombreTitular", 5, 8},
                                                 {"Cuenta", 9, 18},
                                                 {"Importe", 19, 30},
                                                 {"FechaVto", 31, 40, "DDMMAA", 0, 0, "", true}};
const std::string kLineaBuena = "R001ANA 1234567890       10,00150826\r\n";
const char* kImporte = "Error : Importe incorrecto";
const std::vector<CampoPlantilla> kPrincipioFuera{{"CodigoReferencia", 3, 6, "", 1, 2, "01"}};
const std::vector<CampoPlantilla> kSinImporte{
    {"CodigoReferencia", 1, 4}, {"NombreTitular", 5, 8}, {"Cuenta", 9, 18}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, CSB58Ejecuciones, ::testing::Values(
    CasoEjecucion{"entradaVaciaNoEscribeFichero", kCamposMinimos, -1, "", 0, 0, "", "", false},
    CasoEjecucion{"sinPresentadorFallaConSuMensaje", kCamposMinimos, -1, kLineaBuena, 999, 0, "No se puede obtener los datos del presentador", "", false},
    CasoEjecucion{"sinEmisorFallaConSuMensaje", kCamposMinimos, -1, kLineaBuena, 0, 999, "No se puede extraer los datos del emisor", "", false},
    CasoEjecucion{"plantillaSinCamposNoSeCarga", {}, -1, kLineaBuena, 0, 0, "No se puede cargar la plantilla", "", false},
    CasoEjecucion{"principioFueraDeLosCamposPideRevisarLaPlantilla", kPrincipioFuera, 4, kLineaBuena, 0, 0,
                  "Por favor revise la plantilla.\r\nFalta indicar Principio de orden", "", false},
    CasoEjecucion{"fechaDDMMAAConBarrasSeRechazaSinCortarla", kCamposMinimos, -1, "R001ANA 1234567890       10,0015/08/2026\r\n", 0, 0, "",
                  "Error : Fecha de vto incorrecta", false},
    CasoEjecucion{"importeDeOnceCifrasSeRechaza", kCamposMinimos, -1, "R001ANA 1234567890100000000,00150826\r\n", 0, 0, "", kImporte, false},
    CasoEjecucion{"creditoSinImporteValidadoSeRechaza", kSinImporte, -1, "R001ANA 1234567890\r\n", 0, 0, "", kImporte, false},
    CasoEjecucion{"totalDelFicheroExcedidoRechazaElCreditoQueNoCabe", kCamposMinimos, -1,
                  "R001ANA 1234567890 99999999,99150826\r\nR002EVA 1234567890        0,01150826\r\n", 0, 0, "",
                  "Error : Importe total del fichero excedido", true}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
