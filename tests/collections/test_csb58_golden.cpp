// Norm 58 bank files and error logs compared byte for byte with files written by hand from the record
// layouts (tests/data/csb58/), and the runs that must end without a bank file.

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "csb58.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "modo_lote.hpp"
#include "solicitud_tecleada.hpp"
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

fs::path datos(const std::string& relativa) {
    return pruebas::datosPrueba() / "csb58" / relativa;
}

class CSB58Golden : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));
        baseDatos->ejecutarScript(leerFichero(datos("linea/plantilla.sql")));
        baseDatos->ejecutarScript(leerFichero(datos("multilinea/plantilla.sql")));
    }

    std::int64_t plantilla(const std::vector<CampoPlantilla>& campos, int principio = -1) {
        return pruebas::ConstructorPlantilla(*baseDatos)
            .tipo("CSB58")
            .principioLinea(principio)
            .campos(campos)
            .crear();
    }

    // The driver as the conversion dialog calls it.
    void convertir(const fs::path& entrada, std::int64_t idPlantilla,
                   SolicitudDatosObligatorios* solicitud = nullptr) {
        estado.gFicheroLog = carpeta / "remesa.log";
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta(), solicitud};
        const ParametrosConversion parametros{entrada, rutaSalida, idPlantilla, idPresentador, idEmisor, {},
                                              {},      {},         {}};
        GenerarCSB58(estado, entorno, parametros);
    }

    // The bank file and the log match the hand-written ones of that case.
    void esperados(const std::string& caso) {
        EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso + "/esperado.out")));
        EXPECT_EQ(leerFichero(carpeta / "remesa.log"), leerFichero(datos(caso + "/esperado.log")));
    }

    fs::path copiar(const std::string& relativa) {
        fs::copy_file(datos(relativa), carpeta / "remesa.txt");
        return carpeta / "remesa.txt";
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    EstadoEjecucion estado;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    // The templates and parties of linea/plantilla.sql and multilinea/plantilla.sql.
    static constexpr std::int64_t kPlantillaLinea = 100;
    std::int64_t idPresentador = 100;
    std::int64_t idEmisor = 100;
    fs::path rutaSalida = carpeta / "remesa.out";
};

TEST_F(CSB58Golden, unCreditoPorLineaDaElFicheroDelBancoYElLogEsperados) {
    // A date typed in an earlier run never replaces this run's due dates.
    estado.gFechaDatos = "311299";
    convertir(copiar("linea/entrada.txt"), kPlantillaLinea);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_TRUE(estado.gError);
    esperados("linea");
}

// Credits as the rows of a sheet or of a table. The one-line credits as a generated .xlsx sheet or SQLite
// table, and as the committed .xls sheet (amounts as numbers), give the text's bank file and log, the
// order-end checks included. Table1 of the Access samples (access/plantilla.sql) gives its own: one credit
// written, its currency amount in cents, and one rejected, logged with its position in the table.
class CSB58GoldenFilas : public CSB58Golden, public ::testing::WithParamInterface<pruebas::CasoFilas> {};

TEST_P(CSB58GoldenFilas, lasFilasDeUnaHojaOUnaTablaDanElFicheroYElLogEscritosAMano) {
    const pruebas::CasoFilas& caso = GetParam();
    if (caso.muestra) {
        TROVANEL_REQUIERE_MUESTRAS();
    }
    const auto campos = pruebas::camposDePlantilla(*baseDatos, kPlantillaLinea);
    const fs::path entrada =
        pruebas::prepararEntrada(caso, carpeta.ruta(), leerFichero(datos("linea/entrada.txt")), campos);
    std::int64_t id = 102;
    if (caso.muestra) {
        baseDatos->ejecutarScript(leerFichero(datos("access/plantilla.sql")));
    } else {
        id = pruebas::ConstructorPlantilla(*baseDatos)
                 .tipo(caso.tipo)
                 .campos(pruebas::plantillaDeFilas(campos))
                 .crear();
    }
    (std::string(caso.tipo).ends_with("Ex") ? estado.gHojaExcel : estado.gTablaAccess) = caso.hojaTabla;
    convertir(entrada, id);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso.salida)));
    EXPECT_EQ(leerFichero(carpeta / "remesa.log"), leerFichero(datos(caso.log)));
    EXPECT_FALSE(estado.gLibroAbierto);
}

const char* kOut = "linea/esperado.out";
const char* kLog = "linea/esperado.log";
const char* kOutAccess = "access/esperado.out";

INSTANTIATE_TEST_SUITE_P(
    Entradas, CSB58GoldenFilas,
    ::testing::Values(
        pruebas::CasoFilas{"hojaXlsx", "CSB58Ex", "remesa.xlsx", nullptr, false, "Remesa", kOut, kLog},
        pruebas::CasoFilas{"tablaSqlite", "CSB58Ac", "remesa.db", nullptr, false, "Remesa", kOut, kLog},
        pruebas::CasoFilas{"hojaXls", "CSB58Ex", "remesa.xls", "filas/remesas.xls", false, "Creditos", kOut,
                           kLog},
        // The rejected record is Table1's first in the Jet 3 and ACE files, its second in the Jet 4 one.
        pruebas::CasoFilas{"accessJet3", "CSB58Ac", "remesa.mdb", "access/jet3-test.mdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-1.log"},
        pruebas::CasoFilas{"accessJet4", "CSB58Ac", "remesa.mdb", "access/jet4-test.mdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-2.log"},
        pruebas::CasoFilas{"accessAce", "CSB58Ac", "remesa.accdb", "access/ace-test.accdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-1.log"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

// Credits over several lines (template 101): the due date in each format a template may name; and a
// rejected credit whose address and concepts never reach the next one, which has no lines for them.
class CSB58GoldenVariasLineas : public CSB58Golden, public ::testing::WithParamInterface<std::string> {};

TEST_P(CSB58GoldenVariasLineas, creditoEnVariasLineasDaElFicheroYElLogEsperados) {
    convertir(copiar(GetParam() + "/entrada.txt"), 101);

    EXPECT_TRUE(avisos.mensajes.empty());
    esperados(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Casos, CSB58GoldenVariasLineas,
                         ::testing::Values("multilinea", "rechazo-sin-opcionales"), [](const auto& caso) {
                             std::string nombre = caso.param;
                             std::erase(nombre, '-');
                             return nombre;
                         });

// The due date as base template 8 ships it, mandatory and not placed, in a copy placed like template 100
// otherwise: batch mode cannot ask for it and converts nothing; typed when the run starts, it is the due
// date of every credit, whatever the input's kind.
class CSB58GoldenFechaQueFalta : public CSB58Golden,
                                 public ::testing::WithParamInterface<pruebas::CasoFilas> {};

TEST_P(CSB58GoldenFechaQueFalta, laFechaTecleadaAlEmpezarEsElVencimientoDeCadaCredito) {
    const pruebas::CasoFilas& caso = GetParam();
    const auto situados = pruebas::camposDePlantilla(*baseDatos, kPlantillaLinea);
    std::vector<CampoPlantilla> campos = pruebas::camposDePlantilla(*baseDatos, 8);
    for (CampoPlantilla& campo : campos) {
        for (const CampoPlantilla& situado : situados) {
            if (situado.campo == campo.campo && campo.campo != "FechaVto") {
                campo.inicio = situado.inicio;
                campo.fin = situado.fin;
                campo.valorcampo = situado.valorcampo;
            }
        }
    }
    const std::string texto = leerFichero(datos("linea/entrada.txt"));
    const fs::path entrada = pruebas::prepararEntrada(caso, carpeta.ruta(), texto, campos);
    const bool esTexto = std::string(caso.tipo) == "CSB58";
    const std::int64_t id = pruebas::ConstructorPlantilla(*baseDatos)
                                .tipo(caso.tipo)
                                .campos(esTexto ? campos : pruebas::plantillaDeFilas(campos))
                                .crear();
    (std::string(caso.tipo).ends_with("Ex") ? estado.gHojaExcel : estado.gTablaAccess) = caso.hojaTabla;

    if (esTexto) {
        RegistroConversores registro;
        registrarConversores(registro);
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        const std::string argumentos =
            entrada.string() + "," + rutaSalida.string() + "," + std::to_string(id) + ",100,100";
        EXPECT_EQ(ejecutarModoLote(estado, entorno, registro, LeerParametros(argumentos, 10)),
                  kSalidaConErrores);
        EXPECT_EQ(avisos.mensajes,
                  (std::vector<pruebas::AvisosGrabados::Mensaje>{
                      {"informacion", "Proceso Cancelado\r\nFaltan datos obligatorios que la "
                                      "plantilla no sitúa en la entrada: FechaVto"}}));
        EXPECT_FALSE(fs::exists(rutaSalida));
        EXPECT_FALSE(fs::exists(carpeta / "remesa.log"));
        avisos.mensajes.clear();
    }
    // A day that does not exist is refused and the dialog stays open; the next date is taken.
    pruebas::SolicitudTecleada tecleo({"30/02/2026", "25-12-2026"});
    convertir(entrada, id, &tecleo);

    EXPECT_EQ(tecleo.resultados,
              (std::vector<ResultadoDatos>{ResultadoDatos::FechaIncorrecta, ResultadoDatos::Aceptado}));
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso.salida)));
    EXPECT_EQ(leerFichero(carpeta / "remesa.log"), leerFichero(datos(caso.log)));
}

const char* kOutFecha = "fecha-del-dialogo/esperado.out";
const char* kLogFecha = "fecha-del-dialogo/esperado.log";

INSTANTIATE_TEST_SUITE_P(Entradas, CSB58GoldenFechaQueFalta,
                         ::testing::Values(pruebas::CasoFilas{"texto", "CSB58", "remesa.txt",
                                                              "csb58/linea/entrada.txt", false, "", kOutFecha,
                                                              kLogFecha},
                                           pruebas::CasoFilas{"hojaXlsx", "CSB58Ex", "remesa.xlsx", nullptr,
                                                              false, "Remesa", kOutFecha, kLogFecha},
                                           pruebas::CasoFilas{"tablaSqlite", "CSB58Ac", "remesa.db", nullptr,
                                                              false, "Remesa", kOutFecha, kLogFecha}),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(CSB58Golden, modoLoteConElEmisorEnElQuintoArgumentoDaLosMismosFicheros) {
    copiar("linea/entrada.txt");
    RegistroConversores registro;
    registrarConversores(registro);
    Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
    const std::string argumentos = (carpeta / "remesa.txt").string() + "," + rutaSalida.string() + "," +
                                   std::to_string(kPlantillaLinea) + "," + std::to_string(idPresentador) +
                                   "," + std::to_string(idEmisor);

    EXPECT_EQ(ejecutarModoLote(estado, entorno, registro, LeerParametros(argumentos, 10)), kSalidaConErrores);
    esperados("linea");
}

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

class CSB58Ejecuciones : public CSB58Golden, public ::testing::WithParamInterface<CasoEjecucion> {};

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
    EXPECT_EQ(estado.gError, !caso.aviso.empty() || !caso.error.empty());
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

INSTANTIATE_TEST_SUITE_P(
    Tabla, CSB58Ejecuciones,
    ::testing::Values(
        CasoEjecucion{"entradaVaciaNoEscribeFichero", kCamposMinimos, -1, "", 0, 0, "", "", false},
        CasoEjecucion{"sinPresentadorFallaConSuMensaje", kCamposMinimos, -1, kLineaBuena, 999, 0,
                      "No se puede obtener los datos del presentador", "", false},
        CasoEjecucion{"sinEmisorFallaConSuMensaje", kCamposMinimos, -1, kLineaBuena, 0, 999,
                      "No se puede extraer los datos del emisor", "", false},
        CasoEjecucion{"plantillaSinCamposNoSeCarga",
                      {},
                      -1,
                      kLineaBuena,
                      0,
                      0,
                      "No se puede cargar la plantilla",
                      "",
                      false},
        CasoEjecucion{"principioFueraDeLosCamposPideRevisarLaPlantilla", kPrincipioFuera, 4, kLineaBuena, 0,
                      0, "Por favor revise la plantilla.\r\nFalta indicar Principio de orden", "", false},
        CasoEjecucion{"fechaDDMMAAConBarrasSeRechazaSinCortarla", kCamposMinimos, -1,
                      "R001ANA 1234567890       10,0015/08/2026\r\n", 0, 0, "",
                      "Error : Fecha de vto incorrecta", false},
        CasoEjecucion{"importeDeOnceCifrasSeRechaza", kCamposMinimos, -1,
                      "R001ANA 1234567890100000000,00150826\r\n", 0, 0, "", kImporte, false},
        CasoEjecucion{"creditoSinImporteValidadoSeRechaza", kSinImporte, -1, "R001ANA 1234567890\r\n", 0, 0,
                      "", kImporte, false},
        CasoEjecucion{"totalDelFicheroExcedidoRechazaElCreditoQueNoCabe", kCamposMinimos, -1,
                      "R001ANA 1234567890 99999999,99150826\r\nR002EVA 1234567890        0,01150826\r\n", 0,
                      0, "", "Error : Importe total del fichero excedido", true}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

} // namespace
} // namespace trovanel
