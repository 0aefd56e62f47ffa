#include "frmEntrada_prueba.hpp"

#include "caracteres.hpp"
#include "fichero_entrada.hpp"

namespace trovanel {
namespace {

// The shared header brings the Qt, gtest and helper names.
using namespace entrada_prueba;

// --- whole runs through the dialog

class FrmEntradaEjecucion : public FrmEntrada {
protected:
    // Template 9 with the seeded party, the input copied into the program folder, 05/03/2026.
    void preparar(frmEntrada& d, const fs::path& origen, const std::string& nombre,
                  std::int64_t idPlantilla = 9) {
        fs::copy_file(origen, entorno.carpeta / nombre);
        elegirPlantilla(&d, idPlantilla);
        elegirEntrada(&d, entorno.carpeta / nombre);
        fecha(&d, "05", "03", "2026");
    }
};

TEST_F(FrmEntradaEjecucion, elEjemploEscribeElMismoFicheroQueElModoLoteYTerminaBien) {
    frmEntrada d(entorno.contexto());
    d.show();
    preparar(d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    ResultadoVisto resultado;
    cerrarResultadoAlMostrarse(&d, resultado);
    generar(&d);

    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.out"),
              leerFichero(pruebas::datosPrueba() / "csb19" / "ejemplo" / "esperado.out"));
    EXPECT_FALSE(fs::exists(entorno.carpeta / "recibos.log"));
    EXPECT_TRUE(resultado.visto);
    EXPECT_EQ(resultado.texto, QStringLiteral("Proceso terminado"));
}

TEST_F(FrmEntradaEjecucion, recibosRechazadosTerminanIncorrectamenteConElLogEnDetalles) {
    frmEntrada d(entorno.contexto());
    d.show();
    preparar(d, pruebas::datosPrueba() / "csb19" / "ejemplo" / "recibos.con-errores.txt",
             "recibos.con-errores.txt");
    ResultadoVisto resultado;
    cerrarResultadoAlMostrarse(&d, resultado);
    generar(&d);

    EXPECT_TRUE(fs::exists(entorno.carpeta / "recibos.out"));
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.log"),
              leerFichero(pruebas::datosPrueba() / "csb19" / "ejemplo" / "esperado-con-errores.log"));
    EXPECT_TRUE(resultado.visto);
    EXPECT_EQ(resultado.texto, QStringLiteral("Proceso terminado incorrectamente"));
    EXPECT_TRUE(resultado.lineasLog.contains(QStringLiteral("Error : Importe incorrecto")));
}

TEST_F(FrmEntradaEjecucion, cadaEjecucionPideLosDatosDeNuevoSinLaFechaDeLaAnterior) {
    // The example's fields, with a mandatory one the input does not carry.
    const std::int64_t id = copiaDelEjemplo("Con dato pedido");
    bd().preparar("UPDATE detalleestructura SET obligatorio = 1 WHERE id_estructura = ? AND campo = ?")
        .con(id, std::string("CodigoDevolucion"))
        .ejecutar();
    SolicitudGuionada solicitud;
    solicitud.respuestas = {true, false};
    solicitud.fechaTecleada = "311299";
    auto d = abrir(&solicitud);
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt", id);

    generar(d.get());
    ASSERT_TRUE(d->ultimo);
    EXPECT_EQ(d->ultimo->clase, ResultadoConversion::Clase::Escrito);

    generar(d.get());

    ASSERT_EQ(solicitud.vistos.size(), 2u);
    for (const auto& visto : solicitud.vistos) {
        EXPECT_EQ(visto.fechaDatos, "");
    }
    // The second run was cancelled: the first run's acceptance did not carry over.
    EXPECT_EQ(d->ultimo->clase, ResultadoConversion::Clase::Cancelado);
    EXPECT_EQ(d->resultados, 2);
}

TEST_F(FrmEntradaEjecucion, creditosDeNorma58DanElFicheroYElLogEscritosAMano) {
    const fs::path datos = pruebas::datosPrueba() / "csb58" / "linea";
    bd().ejecutarScript(leerFichero(datos / "plantilla.sql"));
    auto d = abrir();
    fs::copy_file(datos / "entrada.txt", entorno.carpeta / "remesa.txt");
    elegirPlantilla(d.get(), 100);
    elegirEntrada(d.get(), entorno.carpeta / "remesa.txt");
    generar(d.get());

    EXPECT_EQ(leerFichero(entorno.carpeta / "remesa.out"), leerFichero(datos / "esperado.out"));
    EXPECT_EQ(leerFichero(entorno.carpeta / "remesa.log"), leerFichero(datos / "esperado.log"));
}

// Credits from the rows of a sheet or table chosen in the dialog: the bank file and log written by hand.
struct CasoDialogoFilas {
    pruebas::CasoFilas entrada;
    bool vaciaDelante;     // a table without rows created first, so listed and selected first
    int indice;            // the sheet or table chosen in the list
    const char* resultado; // the bank file's and log's name beside the input, without extension
};

class FrmEntradaFilas : public FrmEntradaEjecucion, public ::testing::WithParamInterface<CasoDialogoFilas> {};

TEST_P(FrmEntradaFilas, laHojaOTablaElegidaDaElFicheroYElLogEscritosAManoYElLibroSeCierra) {
    const CasoDialogoFilas& caso = GetParam();
    if (caso.entrada.muestra) {
        TROVANEL_REQUIERE_MUESTRAS();
    }
    const fs::path datos = pruebas::datosPrueba() / "csb58";
    bd().ejecutarScript(leerFichero(datos / "linea" / "plantilla.sql"));
    const auto campos = pruebas::camposDePlantilla(bd(), 100);
    if (caso.vaciaDelante) {
        pruebas::escribirTablaSqlite(entorno.carpeta / caso.entrada.fichero, "Vacia", {"A"}, {});
    }
    const fs::path entrada = pruebas::prepararEntrada(caso.entrada, entorno.carpeta.ruta(),
                                                      leerFichero(datos / "linea" / "entrada.txt"), campos);
    std::int64_t id = 102;
    if (caso.entrada.muestra) {
        bd().ejecutarScript(leerFichero(datos / "access" / "plantilla.sql"));
    } else {
        id = pruebas::ConstructorPlantilla(bd())
                 .tipo(caso.entrada.tipo)
                 .campos(pruebas::plantillaDeFilas(campos))
                 .crear();
    }
    const bool hoja = std::string(caso.entrada.tipo).ends_with("Ex");
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), entrada);
    EXPECT_EQ(entorno.libro.gLibroAbierto, hoja);
    elegir(hijo<QComboBox>(d.get(), "cbHojaTabla"), caso.indice);
    generar(d.get());

    EXPECT_EQ(hoja ? d->modelo().hojaExcel() : d->modelo().tablaAccess(), caso.entrada.hojaTabla);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_FALSE(entorno.libro.gLibroAbierto);
    const std::string resultado = caso.resultado;
    EXPECT_EQ(leerFichero(entorno.carpeta / (resultado + ".out")), leerFichero(datos / caso.entrada.salida));
    EXPECT_EQ(leerFichero(entorno.carpeta / (resultado + ".log")), leerFichero(datos / caso.entrada.log));
}

const char* kOut = "linea/esperado.out";
const char* kLog = "linea/esperado.log";

INSTANTIATE_TEST_SUITE_P(
    Entradas, FrmEntradaFilas,
    ::testing::Values(
        CasoDialogoFilas{{"hojaXlsx", "CSB58Ex", "remesa.xlsx", nullptr, false, "Remesa", kOut, kLog},
                         false,
                         0,
                         "remesa.xlsx"},
        CasoDialogoFilas{{"tablaSqlite", "CSB58Ac", "remesa.sqlite", nullptr, false, "Remesa", kOut, kLog},
                         true,
                         1,
                         "remesa.sqlite"},
        // The workbook's second sheet; a name with a three-letter extension gives remesa.out and remesa.log.
        CasoDialogoFilas{
            {"hojaXls", "CSB58Ex", "remesa.xls", "filas/remesas.xls", false, "Creditos", kOut, kLog},
            false,
            1,
            "remesa"},
        CasoDialogoFilas{{"tablaAccess", "CSB58Ac", "remesa.mdb", "access/jet4-test.mdb", true, "Table1",
                          "access/esperado.out", "access/esperado-rechazo-2.log"},
                         false,
                         0,
                         "remesa"}),
    [](const auto& caso) { return std::string(caso.param.entrada.nombre); });

TEST_F(FrmEntradaEjecucion, conCaracteresActivadoElFicheroPasaPorLaTablaDeSustituciones) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "G=#\r\n");
    entorno.configuracion.gCaracteres = true;
    auto d = abrir();
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    generar(d.get());

    std::string esperado = leerFichero(pruebas::datosPrueba() / "csb19" / "ejemplo" / "esperado.out");
    std::replace(esperado.begin(), esperado.end(), 'G', '#');
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.out"), esperado);
    EXPECT_EQ(d->resultados, 1);
}

// A bank file that cannot take its replacements is no bank file: the run fails saying where and why,
// and no file without them is left.
TEST_F(FrmEntradaEjecucion, unaSustitucionQueNoSePuedeEscribirHaceFallarLaEjecucionSinDejarFichero) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "0=" + std::string(20, '0') + "\r\n");
    entorno.configuracion.gCaracteres = true;
    auto d = abrir();
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    {
        // The 2,296 bytes of the bank file fit; with every 0 made twenty they do not.
        const pruebas::LimiteTamanoFichero limite(8192);
        generar(d.get());
    }
    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].texto,
              mensajeEntrada("No se puede abrir el fichero de salida", entorno.carpeta / "recibos.out",
                             "el fichero supera el tamaño máximo permitido"));
    EXPECT_FALSE(fs::exists(entorno.carpeta / "recibos.out"));
    ASSERT_EQ(d->resultados, 1);
    EXPECT_TRUE(d->ultimo->conErrores());
}

// A table of stray bytes would write its control characters into the bank file: it is refused before
// the conversion starts, which leaves neither bank file nor log.
TEST_F(FrmEntradaEjecucion, unaTablaDeSustitucionesConCaracteresDeControlNoDejaEmpezarLaConversion) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "G=#\r\nA=\x01\x02\r\n");
    entorno.configuracion.gCaracteres = true;
    auto d = abrir();
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    generar(d.get());

    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].texto,
              mensajeEntrada(kMsgNoSeAbreCaracteres, entorno.carpeta / "caracteres.ini",
                             "la línea 2 tiene un carácter de control"));
    EXPECT_FALSE(fs::exists(entorno.carpeta / "recibos.out"));
    EXPECT_FALSE(fs::exists(entorno.carpeta / "recibos.log"));
    EXPECT_EQ(d->resultados, 0);
}

TEST_F(FrmEntradaEjecucion, unaSalidaQueEnlazaConLaEntradaSeRechazaSinResultadoNiSustituciones) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "G=#\r\n");
    entorno.configuracion.gCaracteres = true;
    auto d = abrir();
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    fs::create_symlink("recibos.txt", entorno.carpeta / "recibos.out");
    const std::string entrada = leerFichero(entorno.carpeta / "recibos.txt");
    generar(d.get());

    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].texto,
              "El fichero de salida no puede ser el mismo que el fichero de entrada");
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.txt"), entrada);
    EXPECT_TRUE(fs::is_symlink(entorno.carpeta / "recibos.out"));
    EXPECT_EQ(d->resultados, 0);
}

} // namespace
} // namespace trovanel
