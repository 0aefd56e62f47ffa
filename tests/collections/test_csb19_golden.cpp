// Norm 19 bank files and error logs compared byte for byte with files written by hand from the record
// layouts (tests/data/csb19/).

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "csb19.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "modo_lote.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CampoPlantilla;
using pruebas::entradasDe;
using pruebas::escribirFichero;
using pruebas::leerFichero;

fs::path datos(const std::string& relativa) {
    return pruebas::datosPrueba() / "csb19" / relativa;
}

// One receipt per line.
const std::vector<CampoPlantilla> kCamposLinea{
    {"CodigoReferencia", 1, 8},
    {"NombreTitularRecibo", 9, 33},
    {"Entidad", 34, 37},
    {"Oficina", 38, 41},
    {"DC", 42, 43},
    {"Cuenta", 44, 53},
    {"Importe", 54, 65},
    {"Concepto1", 66, 85},
    {"Concepto2", 86, 100},
    {"Concepto4", 101, 115},
    {"Concepto5", 116, 130},
    {"NombreTitularCuenta", 131, 155},
    {"Direccion", 156, 180},
    // Longer than the 35 characters of the town: it is cut.
    {"Localidad", 181, 195, "LOCALIDAD PENDIENTE DE CONFIRMAR POR EL BANCO"},
    {"CP", 196, 200},
    {"ReferenciaInterna", 0, 0, "LOTE-03"}};

// A seeded database with the parties and templates the hand-written files were built for.
class BaseCSB19 : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));

        // Short NIFs and suffixes, so the records show their blank fill.
        idPresentador = pruebas::ConstructorPresentador(*baseDatos)
                            .tipo("cobros")
                            .csb("CSB19")
                            .nif("A1234567")
                            .nombre("GESTORIA LOPEZ Y ASOCIADOS SL")
                            .sufijo("01")
                            .cuenta("30580990272720001234")
                            .crear();
        idEmisor = pruebas::ConstructorEmisor(*baseDatos)
                       .presentador(idPresentador)
                       .nif("B7654321")
                       .sufijo("5")
                       .nombre("COLEGIO SAN ROQUE SL")
                       .cuenta("21000418450200051332")
                       .crear();

        plantillaLinea = crearPlantilla("Remesa en una linea", -1, kCamposLinea);

        // Lines "01" (receipt), "02" (account and address), "03" (concepts); a receipt opens at "01".
        plantillaMultilinea = crearPlantilla("Remesa en varias lineas", 0,
                                             {{"CodigoReferencia", 3, 10, "", 1, 2, "01"},
                                              {"NombreTitularRecibo", 11, 35, "", 1, 2, "01"},
                                              {"Importe", 36, 47, "", 1, 2, "01"},
                                              {"Entidad", 3, 6, "", 1, 2, "02"},
                                              {"Oficina", 7, 10, "", 1, 2, "02"},
                                              {"DC", 11, 12, "", 1, 2, "02"},
                                              {"Cuenta", 13, 22, "", 1, 2, "02"},
                                              {"NombreTitularCuenta", 23, 47, "", 1, 2, "02"},
                                              {"Direccion", 48, 72, "", 1, 2, "02"},
                                              {"Localidad", 73, 87, "", 1, 2, "02"},
                                              {"CP", 88, 92, "", 1, 2, "02"},
                                              {"Concepto1", 3, 22, "", 1, 2, "03"},
                                              {"Concepto2", 23, 42, "", 1, 2, "03"},
                                              {"Concepto3", 43, 62, "", 1, 2, "03"},
                                              {"ReferenciaInterna", 0, 0, "MULTI"}});
    }

    std::int64_t crearPlantilla(const char* descripcion, int principiolinea,
                                const std::vector<CampoPlantilla>& campos) {
        return pruebas::ConstructorPlantilla(*baseDatos)
            .descripcion(descripcion)
            .principioLinea(principiolinea)
            .campos(campos)
            .crear();
    }

    // Runs the driver as the conversion dialog does: process date DDMMAA, log beside the input.
    void convertir(const fs::path& entrada, std::int64_t plantilla) {
        estado.gFechaProceso = "150326";
        estado.gFicheroLog = rutaLog;
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        GenerarCSB19(estado, entorno,
                     {entrada, rutaSalida, plantilla, idPresentador, idEmisor, {}, {}, {}, {}});
    }

    // The bank file and the log match the hand-written ones of that case.
    void esperados(const std::string& caso) {
        EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso + "/esperado.out")));
        EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos(caso + "/esperado.log")));
    }

    // The input copied into the work folder, so that a change made to it would show.
    fs::path copiar(const std::string& relativa, const std::string& nombre) {
        fs::copy_file(datos(relativa), carpeta / nombre);
        return carpeta / nombre;
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    EstadoEjecucion estado;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    std::int64_t idPresentador = 0;
    std::int64_t idEmisor = 0;
    std::int64_t plantillaLinea = 0;
    std::int64_t plantillaMultilinea = 0;
    fs::path rutaSalida = carpeta / "remesa.out";
    fs::path rutaLog = carpeta / "remesa.log";
};

using CSB19Golden = BaseCSB19;

// One receipt per line, and receipts over several lines: the third receipt has no concepts line, so it
// keeps the first concept the second one left; the rejected receipt is logged with the line where its
// account failed, not its last line. A rejected receipt's optional concepts never reach the next one.
class CSB19GoldenTexto : public BaseCSB19, public ::testing::WithParamInterface<std::string> {};

TEST_P(CSB19GoldenTexto, daElFicheroDelBancoYElLogEsperadosSinTocarLaEntrada) {
    const fs::path entrada = copiar(GetParam() + "/entrada.txt", "remesa.txt");
    const std::size_t antes = entradasDe(carpeta.ruta());
    convertir(entrada, GetParam() == "linea" ? plantillaLinea : plantillaMultilinea);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_TRUE(estado.gError);
    esperados(GetParam());
    EXPECT_EQ(leerFichero(entrada), leerFichero(datos(GetParam() + "/entrada.txt")));
    // The bank file and the log, and no temporary file left behind.
    EXPECT_EQ(entradasDe(carpeta.ruta()), antes + 2);
}

INSTANTIATE_TEST_SUITE_P(Formatos, CSB19GoldenTexto,
                         ::testing::Values("linea", "multilinea", "rechazo-sin-opcionales"),
                         [](const ::testing::TestParamInfo<std::string>& caso) {
                             std::string nombre = caso.param;
                             std::erase(nombre, '-');
                             return nombre;
                         });

// Receipts as the rows of a sheet or of a table. The one-line receipts as a generated .xlsx sheet or SQLite
// table, and as the committed .xls sheet (amounts as numbers), give the text's bank file and log. Table1 of
// the Access samples (access/plantilla.sql) gives its own: one receipt written, its double amount with
// two decimals, and one rejected, logged with its position in the table, which differs between the files.
class CSB19GoldenFilas : public BaseCSB19, public ::testing::WithParamInterface<pruebas::CasoFilas> {};

TEST_P(CSB19GoldenFilas, lasFilasDeUnaHojaOUnaTablaDanElFicheroYElLogEscritosAMano) {
    const pruebas::CasoFilas& caso = GetParam();
    if (caso.muestra) {
        TROVANEL_REQUIERE_MUESTRAS();
    }
    const fs::path entrada =
        pruebas::prepararEntrada(caso, carpeta.ruta(), leerFichero(datos("linea/entrada.txt")), kCamposLinea);
    std::int64_t plantilla = 190;
    if (caso.muestra) {
        baseDatos->ejecutarScript(leerFichero(datos("access/plantilla.sql")));
    } else {
        plantilla = pruebas::ConstructorPlantilla(*baseDatos)
                        .tipo(caso.tipo)
                        .descripcion("Remesa en filas")
                        .campos(pruebas::plantillaDeFilas(kCamposLinea))
                        .crear();
    }
    (std::string(caso.tipo).ends_with("Ex") ? estado.gHojaExcel : estado.gTablaAccess) = caso.hojaTabla;
    convertir(entrada, plantilla);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso.salida)));
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos(caso.log)));
    EXPECT_FALSE(estado.gLibroAbierto);
}

const char* kOut = "linea/esperado.out";
const char* kLog = "linea/esperado.log";
const char* kOutAccess = "access/esperado.out";

INSTANTIATE_TEST_SUITE_P(
    Entradas, CSB19GoldenFilas,
    ::testing::Values(
        pruebas::CasoFilas{"hojaXlsx", "CSB19Ex", "remesa.xlsx", nullptr, false, "Remesa", kOut, kLog},
        pruebas::CasoFilas{"tablaSqlite", "CSB19Ac", "remesa.sqlite", nullptr, false, "Remesa", kOut, kLog},
        pruebas::CasoFilas{"hojaXls", "CSB19Ex", "remesa.xls", "filas/remesas.xls", false, "Recibos", kOut,
                           kLog},
        // The rejected record is Table1's first in the Jet 3 and ACE files, its second in the Jet 4 one.
        pruebas::CasoFilas{"accessJet3", "CSB19Ac", "remesa.mdb", "access/jet3-test.mdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-1.log"},
        pruebas::CasoFilas{"accessJet4", "CSB19Ac", "remesa.mdb", "access/jet4-test.mdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-2.log"},
        pruebas::CasoFilas{"accessAce", "CSB19Ac", "remesa.accdb", "access/ace-test.accdb", true, "Table1",
                           kOutAccess, "access/esperado-rechazo-1.log"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(CSB19Golden, entradaConFinalesDeLineaLFDaElMismoFicheroSinModificarla) {
    std::string lf = leerFichero(datos("linea/entrada.txt"));
    for (std::size_t i = lf.find("\r\n"); i != std::string::npos; i = lf.find("\r\n", i)) {
        lf.erase(i, 1);
    }
    ASSERT_EQ(lf.find('\r'), std::string::npos);
    const fs::path entrada = carpeta / "remesa.txt";
    escribirFichero(entrada, lf);
    convertir(entrada, plantillaLinea);

    EXPECT_TRUE(avisos.mensajes.empty());
    esperados("linea");
    EXPECT_EQ(leerFichero(entrada), lf);
}

TEST_F(CSB19Golden, sinReciboAceptadoNoQuedaFicheroDelBancoYElLogLosRecogeTodos) {
    const fs::path entrada = copiar("rechazos/entrada.txt", "remesa.txt");
    // A bank file of an earlier run under this name would pass for this run's.
    escribirFichero(rutaSalida, "remesa anterior\r\n");
    const std::size_t antes = entradasDe(carpeta.ruta());
    convertir(entrada, plantillaLinea);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_TRUE(estado.gError);
    EXPECT_FALSE(fs::exists(rutaSalida));
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos("rechazos/esperado.log")));
    // The old bank file gone, the log added.
    EXPECT_EQ(entradasDe(carpeta.ruta()), antes);
}

TEST_F(CSB19Golden, segundaEjecucionAnadeSuCabeceraYSusBloquesTrasLosDeLaPrimera) {
    const fs::path entrada = copiar("rechazos/entrada.txt", "remesa.txt");
    convertir(entrada, plantillaLinea);
    reloj.momento = {2026, 12, 6, 11, 2, 7};
    estado.gError = false;
    convertir(entrada, plantillaLinea);

    EXPECT_TRUE(estado.gError);
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos("rechazos/esperado-dos-ejecuciones.log")));
}

TEST_F(CSB19Golden, entradaVaciaNoEscribeNadaNiDejaFicheros) {
    const fs::path entrada = carpeta / "remesa.txt";
    escribirFichero(entrada, "");
    escribirFichero(rutaSalida, "remesa anterior\r\n");
    convertir(entrada, plantillaMultilinea);

    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_FALSE(estado.gError);
    EXPECT_FALSE(fs::exists(rutaSalida));
    EXPECT_FALSE(fs::exists(rutaLog));
}

// Batch mode end to end, with the shipped example template (9) and the seeded presenter and issuer (1).
class CSB19Lote : public BaseCSB19 {
protected:
    int lote(const std::string& entrada) {
        RegistroConversores registro;
        registro.registrar(Familia::CSB19, GenerarCSB19);
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        return ejecutarModoLote(estado, entorno, registro,
                                LeerParametros(entrada + "," + rutaSalida.string() + ",9,1,05032026,1", 10));
    }
};

TEST_F(CSB19Lote, ejemploDelProgramaTerminaConEstado0YElFicheroEsperadoSinLog) {
    fs::copy_file(pruebas::raizProyecto() / "ejemplo" / "recibos.txt", carpeta / "recibos.txt");

    EXPECT_EQ(lote("recibos.txt"), kSalidaCorrecta);

    EXPECT_TRUE(avisos.mensajes.empty());
    // Records 51 and 53 carry today's date (061226); 53 the charge date of the command line (050326).
    EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos("ejemplo/esperado.out")));
    EXPECT_FALSE(fs::exists(carpeta / "recibos.log"));
}

TEST_F(CSB19Lote, recibosRechazadosTerminanConEstado1YElLogJuntoALaEntrada) {
    copiar("ejemplo/recibos.con-errores.txt", "recibos.con-errores.txt");

    EXPECT_EQ(lote("recibos.con-errores.txt"), kSalidaConErrores);

    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].texto, "Proceso terminado incorrectamente: registro de errores en " +
                                            (carpeta / "recibos.log").string());
    EXPECT_TRUE(fs::exists(rutaSalida));
    // The log takes the input's name cut at its first ".".
    EXPECT_EQ(leerFichero(carpeta / "recibos.log"), leerFichero(datos("ejemplo/esperado-con-errores.log")));
}

// Text inputs in batch mode as Linux editors save them; the input itself is never changed.
struct CasoEntradaTexto {
    const char* nombre;
    const char* entrada;
    const char* esperado;
    const char* log; // nullptr: the run leaves no log
    int estado;
};

class CSB19LoteEntradas : public CSB19Lote, public ::testing::WithParamInterface<CasoEntradaTexto> {};

TEST_P(CSB19LoteEntradas, ningunReciboSeDesplazaNiSePierdePorLaCodificacionOLosFinalesDeLinea) {
    const CasoEntradaTexto& caso = GetParam();
    copiar(caso.entrada, "recibos.txt");

    EXPECT_EQ(lote("recibos.txt"), caso.estado);

    // Batch mode's one line on rejected orders, and nothing else.
    EXPECT_EQ(avisos.mensajes.size(), caso.log == nullptr ? 0u : 1u);
    EXPECT_EQ(leerFichero(rutaSalida), leerFichero(datos(caso.esperado)));
    if (caso.log == nullptr) {
        EXPECT_FALSE(fs::exists(carpeta / "recibos.log"));
    } else {
        EXPECT_EQ(leerFichero(carpeta / "recibos.log"), leerFichero(datos(caso.log)));
    }
    EXPECT_EQ(leerFichero(carpeta / "recibos.txt"), leerFichero(datos(caso.entrada)));
}

INSTANTIATE_TEST_SUITE_P(
    Entradas, CSB19LoteEntradas,
    ::testing::Values(
        // Four LF orders, a CR inside the third one's account: that order is logged, the others written.
        CasoEntradaTexto{"crSueltoEnEntradaLF", "cr-suelto/entrada.txt", "cr-suelto/esperado.out",
                         "cr-suelto/esperado.log", kSalidaConErrores},
        // One text with accented names saved three ways: positions count characters, not bytes.
        CasoEntradaTexto{"windows1252", "utf8/entrada-cp1252.txt", "utf8/esperado.out", nullptr,
                         kSalidaCorrecta},
        CasoEntradaTexto{"utf8", "utf8/entrada-utf8.txt", "utf8/esperado.out", nullptr, kSalidaCorrecta},
        CasoEntradaTexto{"utf8ConMarca", "utf8/entrada-utf8-bom.txt", "utf8/esperado.out", nullptr,
                         kSalidaCorrecta}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

} // namespace
} // namespace trovanel
