// Norm 34 runs that end with a message, errors of their own, no bank file, or one record worth a look. The
// bank files and logs written by hand are golden cases (tests/data/csb34/).

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "csb34.hpp"
#include "estado_ejecucion.hpp"
#include "modo_lote.hpp"
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

// The program's database with the ordering party of tests/data/csb34/partes.sql, and the drivers.
class CSB34Base : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));
        baseDatos->ejecutarScript(leerFichero(pruebas::datosPrueba() / "csb34" / "partes.sql"));
        registrarConversores(registro);
    }

    Entorno entorno() { return Entorno{*baseDatos, avisos, reloj, carpeta.ruta()}; }

    // The driver as the dialog calls it: the template's type as the list holds it, process date DDMMAA, the
    // log beside the input.
    void convertir(const fs::path& entrada, std::int64_t plantilla, const std::string& tipo) {
        Entorno e = entorno();
        ParametrosConversion parametros =
            pruebas::peticion(entrada, rutaSalida, plantilla, idOrdenante, 0, rutaLog);
        parametros.gTipoEstructura = " " + tipo + " ";
        parametros.detalleCargo = detalle;
        parametros.domicilioOrdenante = domicilio;
        parametros.plazaOrdenante = plaza;
        parametros.gFechaProceso = "050326";
        resultado = GenerarCSB34(estado, e, parametros);
    }

    pruebas::CarpetaTemporal carpeta;
    fs::path rutaSalida = carpeta / "remesa.out";
    fs::path rutaLog = carpeta / "remesa.log";
    std::optional<BaseDatos> baseDatos;
    RegistroConversores registro;
    EstadoEjecucion estado;
    ResultadoConversion resultado;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    std::int64_t idOrdenante = 100;
    std::string detalle = "1";
    std::string domicilio = "  CALLE MAYOR 1 ";
    std::string plaza = "MADRID";
};

// Runs that end with a message, errors of their own, no bank file, or one record worth a look.
struct CasoEjecucion {
    const char* nombre;
    std::vector<CampoPlantilla> campos;
    int principio;
    std::string entrada;
    std::int64_t ordenante; // 0: the one of the fixture
    std::string aviso;      // "": no message
    std::string registro;   // a record the bank file must hold; "": no bank file
    const char* rutaSalida = "remesa.out";
    // Batch mode with these arguments after input, output, template and party, instead of the dialog's call.
    std::string lote = "";
};

class CSB34Ejecuciones : public CSB34Base, public ::testing::WithParamInterface<CasoEjecucion> {};

TEST_P(CSB34Ejecuciones, terminaConSuMensajeOSuRegistro) {
    const CasoEjecucion& caso = GetParam();
    pruebas::escribirFichero(carpeta / "remesa.txt", caso.entrada);
    const std::int64_t id = pruebas::ConstructorPlantilla(*baseDatos)
                                .tipo("CSB34T")
                                .principioLinea(caso.principio)
                                .campos(caso.campos)
                                .crear();
    idOrdenante = caso.ordenante == 0 ? idOrdenante : caso.ordenante;
    rutaSalida = carpeta / caso.rutaSalida;
    // An output that is a link to an earlier bank file in another folder.
    const bool enlace = std::string_view(caso.rutaSalida) == "enlace.out";
    if (enlace) {
        fs::create_directory(carpeta / "compartida");
        pruebas::escribirFichero(carpeta / "compartida" / "remesa.out", "anterior");
        fs::create_symlink("compartida/remesa.out", rutaSalida);
    }
    detalle = "01";
    domicilio = "AVENIDA DE LOS PRESIDENTES DE LA COMUNIDAD 1234";
    if (caso.lote.empty()) {
        convertir(carpeta / (caso.entrada.empty() ? "no-existe.txt" : "remesa.txt"), id, "CSB34T");
    } else {
        Entorno e = entorno();
        const std::string argumentos =
            "remesa.txt,remesa.out," + std::to_string(id) + "," + std::to_string(idOrdenante) + caso.lote;
        EXPECT_EQ(ejecutarModoLote(e, registro, LeerParametros(argumentos, 10)), kSalidaRechazada);
    }

    if (caso.aviso.empty()) {
        EXPECT_TRUE(avisos.mensajes.empty()) << avisos.mensajes[0].texto;
        EXPECT_FALSE(resultado.conErrores());
    } else {
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        // "%" stands for the test's folder.
        EXPECT_EQ(avisos.mensajes[0].texto,
                  pruebas::conMarca(caso.aviso, '%', rutaComoTexto(carpeta.ruta())));
        EXPECT_EQ(resultado.conErrores(), caso.lote.empty());
    }
    ASSERT_EQ(fs::exists(rutaSalida), !caso.registro.empty());
    if (enlace) {
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(rutaSalida)));
    }
    if (!caso.registro.empty()) {
        const std::string banco = leerFichero(rutaSalida);
        EXPECT_NE(banco.find(caso.registro + "\r\n"), std::string::npos) << banco;
        EXPECT_EQ(banco.size() % 74, 0u);
    }
}

std::string ancho(std::string texto, std::size_t n) {
    texto.resize(n, ' ');
    return texto;
}

// One order of kCampos: key K001, name ANA, the amount right-aligned, then the sign or other fields.
std::string orden(const std::string& importe, const std::string& resto = " ") {
    return "K001" + ancho("ANA", 10) + std::string(12 - importe.size(), ' ') + importe + resto + "\r\n";
}

const std::vector<CampoPlantilla> kCampos{{"ClaveBeneficiario", 1, 4},
                                          {"NombreBeneficiario", 5, 14},
                                          {"Importe", 15, 26},
                                          {"SignoNegativo", 27, 27, "-"}};
// The telephone after the e-mail and the town before the postal code; charges of two characters.
const std::vector<CampoPlantilla> kCamposDesordenados{
    {"ClaveBeneficiario", 1, 4},  {"NombreBeneficiario", 5, 14},
    {"Importe", 15, 26},          {"Email", 27, 66},
    {"TlfMovil", 67, 76},         {"PlazaBeneficiario", 77, 116},
    {"CPBeneficiario", 117, 126}, {"Gastos", 0, 0, "22"}};
const std::string kDesordenada =
    orden("10,00", ancho("ana.munoz.garcia@correo-de-ejemplo.es", 40) + "6001112223" +
                       ancho("VILLANUEVA DE LA CAÑADA DEL CAMINO REAL", 40) + "28691XXXXX");
const std::string kCabecera = "0356B1234567" + std::string(14, ' ');
const std::string kDetalle = "0656B1234567  K001        ";

// Batch mode repeats how the norm 34 arguments are written after an argument error.
const std::string kUsoCSB34 =
    "\r\nUso (CSB34N, CSB34T, CSB34C, CSB34P, PAGOSC): trovanel 'entrada,salida,plantilla,"
    "ordenante,fecha DDMMAAAA,detalle del cargo (0 total, 1 parcial),domicilio del "
    "ordenante,plaza del ordenante'";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, CSB34Ejecuciones, ::testing::Values(
    CasoEjecucion{"sinOrdenanteFallaConSuMensaje", kCampos, -1, orden("10,00"), 999, "No se pueden obtener datos del presentador", ""},
    CasoEjecucion{"plantillaSinCamposNoSeCarga", {}, -1, orden("10,00"), 0, "No se puede cargar la plantilla", ""},
    CasoEjecucion{"principioFueraDeLosCamposPideRevisarLaPlantilla", {{"ClaveBeneficiario", 3, 6, "", 1, 2, "01"}}, 4, orden("10,00"), 0,
                  "Por favor revise la plantilla.\r\nFalta indicar Principio de orden", ""},
    CasoEjecucion{"entradaQueNoExisteFallaConSuMensaje", kCampos, -1, "", 0, "No se puede abrir el fichero de entrada\r\n%/no-existe.txt: no existe", ""},
    CasoEjecucion{"salidaQueNoSePuedeCrearFallaConSuMensaje", kCampos, -1, orden("10,00"), 0, "No se puede crear el fichero de salida\r\n%/no-hay/remesa.out: su carpeta no existe", "", "no-hay/remesa.out"},
    CasoEjecucion{"totalQueNoCabeNoDejaFichero", kCampos, -1, orden("999999999999") + orden("999999999999"), 0, "El importe total no cabe en el registro de totales", ""},
    CasoEjecucion{"totalQueNoCabeQuitaElFicheroAlQueLlevaLaSalidaYDejaElEnlace", kCampos, -1, orden("999999999999") + orden("999999999999"), 0,
                  "El importe total no cabe en el registro de totales", "", "enlace.out"},
    CasoEjecucion{"totalNegativoConservaSuForma", kCampos, -1, orden("5,00", "-"), 0, "",
                  "0856B1234567" + std::string(17, ' ') + "00000000-500" + "00000001" + "0000000007" + std::string(13, ' ')},
    CasoEjecucion{"detalleDeCargoSeCortaAUnaCifra", kCampos, -1, orden("10,00"), 0, "", kCabecera + "0010612260503262100041802000513320   45       "},
    CasoEjecucion{"domicilioLargoDelOrdenanteSeCortaA36", kCampos, -1, orden("10,00"), 0, "", kCabecera + "003AVENIDA DE LOS PRESIDENTES DE LA COM       "},
    CasoEjecucion{"codigoPostalYPlazaEnSuSitioSeaCualSeaElOrden", kCamposDesordenados, -1, kDesordenada, 0, "", kDetalle + "01428691VILLANUEVA DE LA CAÑADA DEL CAM       "},
    CasoEjecucion{"telefonoYCorreoEnSuSitioSeaCualSeaElOrden", kCamposDesordenados, -1, kDesordenada, 0, "", kDetalle + "0206001112223ana.munoz.garcia@correo-de       "},
    CasoEjecucion{"gastosDeDosCifrasSeCortanAUna", kCamposDesordenados, -1, orden("10,00", std::string(100, ' ')), 0, "",
                  kDetalle + "010000000001000" + std::string(18, ' ') + "29" + std::string(11, ' ')},
    CasoEjecucion{"loteSinPlazaFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,1,CALLE MAYOR 1"},
    CasoEjecucion{"loteSinDetalleFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,,CALLE MAYOR 1,MADRID"},
    CasoEjecucion{"loteConDomicilioEnBlancoFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,1, ,MADRID"},
    CasoEjecucion{"loteConFechaQueNoExisteSeRechaza", kCampos, -1, orden("10,00"), 0, "Fecha incorrecta" + kUsoCSB34, "", "remesa.out", ",31022026,1,CALLE MAYOR 1,MADRID"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
