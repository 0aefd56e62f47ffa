#include "frmEntrada_prueba.hpp"

namespace trovanel {
namespace {

// The shared header brings the Qt, gtest and helper names.
using namespace entrada_prueba;

// --- input, date and run

// Input, output, log, each in a new dialog.
TEST_F(FrmEntrada, laEntradaElegidaDaLaSalidaYElLog) {
    const fs::path carpeta = entorno.carpeta.ruta();
    for (auto [entrada, salida, log] :
         {std::tuple{"recibos.txt", "recibos.out", "recibos.log"},
          {"recibos.marzo.txt", "recibos.out", "recibos.log"},
          {"recibos", "recibos.out", "recibos.log"},
          // A folder's "." never cuts the name.
          {"datos.2026/recibos.txt", "datos.2026/recibos.out", "datos.2026/recibos.log"},
          {"datos.2026/recibos", "datos.2026/recibos.out", "datos.2026/recibos.log"},
          {"recibos.out", "recibos.out1", "recibos.log"},
          {"recibos.log", "recibos.out", "recibos.log1"}}) {
        SCOPED_TRACE(entrada);
        auto d = abrir();
        elegirEntrada(d.get(), carpeta / entrada);
        EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbEntrada")->text(),
                  QString::fromStdString((carpeta / entrada).string()));
        EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbSalida")->text(),
                  QString::fromStdString((carpeta / salida).string()));
        EXPECT_EQ(d->modelo().ficheroSalida(), carpeta / salida);
        EXPECT_EQ(d->modelo().ficheroLog(), carpeta / log);
        EXPECT_TRUE(hijo<QPushButton>(d.get(), "cmdProcesar")->isEnabled());
    }
}

// The dialog opens in the program folder, where the example input is, until a file is chosen, then in
// that file's folder, kept in config.ini beside the flags' lines, which stay as they were.
TEST_F(FrmEntrada, elDialogoDeFicheroEmpiezaEnLaUltimaCarpetaElegidaOEnLaDelProgramaConElFiltroDeLaEntrada) {
    const std::string indicadores = "administrador=false\r\ncaracteres=true\r\n";
    pruebas::escribirFichero(entorno.carpeta / "config.ini", indicadores);
    const fs::path remesas = entorno.carpeta / "remesas";
    fs::create_directory(remesas);
    pruebas::escribirFichero(remesas / "recibos.txt", "");
    entorno.selector.respuestas = {remesas / "recibos.txt"};
    const std::int64_t excel = plantilla("CSB19Ex", "Libro");
    const std::int64_t access = plantilla("CSB19Ac", "Tabla");
    auto d = abrir();
    auto* image1 = hijo<QPushButton>(d.get(), "Image1");
    QTest::mouseClick(image1, Qt::LeftButton);
    elegirPlantilla(d.get(), excel);
    QTest::mouseClick(image1, Qt::LeftButton);
    elegirPlantilla(d.get(), access);
    QTest::mouseClick(image1, Qt::LeftButton);

    const auto& peticiones = entorno.selector.peticiones;
    ASSERT_EQ(peticiones.size(), 3u);
    EXPECT_EQ(peticiones[0].filtro, "Todos los ficheros (*)");
    EXPECT_EQ(peticiones[1].filtro, "Libros Excel (*.xls *.xlsx)");
    EXPECT_EQ(peticiones[2].filtro, "Base Datos Access (*.mdb *.accdb *.db *.sqlite *.sqlite3)");
    for (const auto& peticion : peticiones) {
        EXPECT_EQ(peticion.titulo, "Abrir fichero a filtrar");
    }
    EXPECT_EQ(peticiones[0].carpeta, entorno.carpeta.ruta());
    EXPECT_EQ(peticiones[1].carpeta, remesas);
    EXPECT_EQ(peticiones[2].carpeta, remesas);
    EXPECT_EQ(leerFichero(entorno.carpeta / "config.ini"),
              indicadores + "carpeta_entrada=" + remesas.string() + "\r\n");
}

TEST_F(FrmEntrada, cancelarElDialogoDeFicheroConservaLaEntradaAnterior) {
    auto d = abrir();
    elegirEntrada(d.get(), entorno.carpeta / "recibos.txt");
    QTest::mouseClick(hijo<QPushButton>(d.get(), "Image1"), Qt::LeftButton);

    EXPECT_EQ(d->modelo().ficheroEntrada(), entorno.carpeta / "recibos.txt");
    EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbSalida")->text(),
              QString::fromStdString((entorno.carpeta / "recibos.out").string()));
    EXPECT_EQ(d->modelo().ficheroLog(), entorno.carpeta / "recibos.log");
}

TEST_F(FrmEntrada, unaBaseDeDatosDeEntradaListaSusTablasYEligeLaPrimera) {
    const std::int64_t id = plantilla("CSB19Ac", "Tabla");
    const fs::path origen = entorno.carpeta / "recibos.sqlite";
    {
        auto bdOrigen = BaseDatos::abrir(origen, BaseDatos::Modo::Creacion);
        bdOrigen.ejecutarScript("CREATE TABLE enero (a TEXT); CREATE TABLE febrero (a TEXT);");
    }
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), origen);

    auto* tablas = hijo<QComboBox>(d.get(), "cbHojaTabla");
    EXPECT_EQ(hijo<QLabel>(d.get(), "labHojaTabla")->text(), QStringLiteral("Tabla"));
    ASSERT_EQ(tablas->count(), 2);
    EXPECT_EQ(d->modelo().tablaAccess(), desdeQString(tablas->itemText(0)));

    elegir(tablas, 1);
    EXPECT_EQ(d->modelo().tablaAccess(), desdeQString(tablas->itemText(1)));

    // A file that is no database: its error, and the list keeps the tables it had.
    const fs::path otro = entorno.carpeta / "notas.db";
    pruebas::escribirFichero(otro, "esto no es una base de datos");
    const std::size_t antes = entorno.avisos.mensajes.size();
    elegirEntrada(d.get(), otro);
    ASSERT_EQ(entorno.avisos.mensajes.size(), antes + 1);
    EXPECT_EQ(entorno.avisos.mensajes.back().tipo, "critico");
    EXPECT_TRUE(entorno.avisos.mensajes.back().texto.starts_with("Error: "));
    EXPECT_EQ(tablas->count(), 2);
}

TEST_F(FrmEntrada, laBaseDeDatosDelProgramaComoEntradaSeRechazaYDejaLaEntradaAnterior) {
    const std::int64_t id = plantilla("CSB19Ac", "Tabla");
    const fs::path origen = entorno.carpeta / "recibos.sqlite";
    BaseDatos::abrir(origen, BaseDatos::Modo::Creacion).ejecutarScript("CREATE TABLE enero (a TEXT);");
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), origen);
    entorno.avisos.mensajes.clear();
    elegirEntrada(d.get(), entorno.carpeta / "Estructuras.db");

    EXPECT_EQ(mensajes(entorno.avisos), Textos{kEntradaBaseDatosPrograma});
    EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbEntrada")->text(), QString::fromStdString(origen.string()));
    EXPECT_EQ(d->modelo().ficheroEntrada(), origen);
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbHojaTabla")), Textos{"enero"});
    EXPECT_EQ(d->modelo().tablaAccess(), "enero");
}

TEST_F(FrmEntrada, lasCajasDeFechaSoloAdmitenCifrasAsteriscoYRetroceso) {
    auto d = abrir();
    for (QLineEdit* caja :
         {hijo<QLineEdit>(d.get(), "tbDia"), hijo<QLineEdit>(d.get(), "tbMes"), cajaAnio(d.get())}) {
        QTest::keyClicks(caja, "a1-*");
        EXPECT_EQ(caja->text(), QStringLiteral("1*"));
        QTest::keyClick(caja, Qt::Key_Backspace);
        EXPECT_EQ(caja->text(), QStringLiteral("1"));
    }
    QTest::keyClicks(cajaAnio(d.get()), "0265");
    EXPECT_EQ(cajaAnio(d.get())->text(), QStringLiteral("1026"));
}

TEST_F(FrmEntradaCascada, cadaRechazoDeGenerarLlegaEnSuOrden) {
    // A build without any driver: the last step is refused as batch mode refuses it.
    entorno.registro = RegistroConversores();
    enlazar("vacio", "CSB19", 999);
    const std::int64_t sinEmisores = presentador("SIN EMISORES SL", "CSB19");
    enlazar("zz", "CSB19", sinEmisores);
    const std::int64_t transferencias = plantilla("CSB34T", "Transferencias");
    auto d = abrir();
    elegirEntrada(d.get(), entorno.carpeta / "recibos.txt");
    auto avisosTras = [&](const std::function<void()>& paso) {
        entorno.avisos.mensajes.clear();
        paso();
        generar(d.get());
        return mensajes(entorno.avisos);
    };

    EXPECT_EQ(avisosTras([] {}), Textos{"La fecha de proceso es incorrecta"});
    EXPECT_EQ(avisosTras([&] { fecha(d.get(), "05", "03", "2026"); }),
              Textos{"Por favor seleccione una plantilla"});
    EXPECT_EQ(avisosTras([&] {
                  elegirPlantilla(d.get(), 9);
                  elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "vacio");
              }),
              (Textos{kSinPresentadores, "Por favor seleccione un presentador"}));
    EXPECT_EQ(avisosTras([&] { elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "zz"); }),
              Textos{"Seleccione un emisor"});
    EXPECT_EQ(avisosTras([&] { elegirPlantilla(d.get(), transferencias); }),
              Textos{"Por favor complete los datos de la cabecera"});
    EXPECT_EQ(avisosTras([&] {
                  QTest::mouseClick(hijo<QRadioButton>(d.get(), "DetalleCargo0"), Qt::LeftButton);
                  QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbDomicilioOrdenante"), "CALLE MAYOR 1");
                  QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "   ");
              }),
              Textos{"Por favor complete los datos de la cabecera"});
    EXPECT_FALSE(d->ultimo);
    EXPECT_EQ(d->resultados, 0);

    // Everything in place, but no norm 34 driver.
    EXPECT_EQ(avisosTras([&] { QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "MADRID"); }),
              Textos{"Esta versión del programa aún no genera ficheros de tipo CSB34T"});
    EXPECT_FALSE(d->ultimo);
    EXPECT_EQ(d->resultados, 0);
}

struct CasoSinConversor {
    const char* tipo;
    const char* tipoUsuario;
    const char* codigo;
};

class FrmEntradaSinConversor : public FrmEntrada, public ::testing::WithParamInterface<CasoSinConversor> {};

TEST_P(FrmEntradaSinConversor, unaFamiliaSinConversorSeRechazaConElMensajeDelModoLote) {
    const CasoSinConversor caso = GetParam();
    entorno.registro = RegistroConversores();
    const std::int64_t id = plantilla(caso.tipo, "Plantilla");
    const std::int64_t p = presentador("PARTE SA", caso.tipoUsuario);
    emisor(p, "EMISOR SA", "86420001612000000028");
    enlazar("usuario", caso.tipoUsuario, p);
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), entorno.carpeta / "entrada.txt");
    fecha(d.get(), "5", "3", "2026");
    QTest::mouseClick(hijo<QRadioButton>(d.get(), "DetalleCargo0"), Qt::LeftButton);
    QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbDomicilioOrdenante"), "CALLE MAYOR 1");
    QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "MADRID");
    // Only the run's own messages count; a table list of a text file fails on its own.
    entorno.avisos.mensajes.clear();
    generar(d.get());

    EXPECT_EQ(mensajes(entorno.avisos),
              Textos{std::string("Esta versión del programa aún no genera ficheros de tipo ") + caso.codigo});
    EXPECT_FALSE(d->ultimo);
    EXPECT_EQ(d->resultados, 0);
    EXPECT_FALSE(fs::exists(entorno.carpeta / "entrada.out"));
}

INSTANTIATE_TEST_SUITE_P(PorFamilia, FrmEntradaSinConversor,
                         ::testing::Values(CasoSinConversor{"CSB34T", "pagos", "CSB34T"},
                                           CasoSinConversor{"PAGOSCAc", "pagos", "PAGOSC"},
                                           CasoSinConversor{"ZOPAc", "ZOP", "ZOP"}));

TEST_F(FrmEntrada, unTipoDesconocidoDicePlantillaIncorrectaYMuestraElResultado) {
    const std::int64_t id = plantilla("RARO", "Rara");
    const std::int64_t ordenante = presentador("PROVEEDORES SA", "ZOP");
    enlazar("compras", "ZOP", ordenante);
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), entorno.carpeta / "recibos.txt");
    fecha(d.get(), "5", "3", "26");
    generar(d.get());

    EXPECT_EQ(mensajes(entorno.avisos), Textos{"Plantilla incorrecta"});
    ASSERT_TRUE(d->ultimo);
    EXPECT_EQ(d->ultimo->clase, ResultadoConversion::Clase::Fallido);
    EXPECT_EQ(d->ultimo->mensaje, "Plantilla incorrecta");
    EXPECT_EQ(d->resultados, 1);
}

// Day, month, year typed; whether the date is correct; the year shown; the process date kept.
TEST_F(FrmEntrada, laFechaDeProcesoEsUnaFechaDelCalendario) {
    for (auto [dia, mes, anio, correcta, anioMostrado, fechaProceso] :
         {std::tuple{"5", "3", "2003", true, "2003", "050303"},
          {"05", "03", "26", true, "2026", "050326"},
          {"29", "2", "2024", true, "2024", "290224"},
          {"29", "2", "2026", false, "2026", ""},
          {"31", "4", "2026", false, "2026", ""},
          {"1", "0", "2026", false, "2026", ""},
          {"1", "13", "2026", false, "2026", ""},
          {"1", "", "2026", false, "2026", ""},
          {"", "3", "2026", false, "2026", ""},
          {"1", "3", "", false, "", ""},
          {"1", "3", "6", false, "6", ""},
          {"1", "3", "026", false, "026", ""},
          {"1*", "3", "2026", false, "2026", ""}}) {
        SCOPED_TRACE(std::string(dia) + "/" + mes + "/" + anio);
        entorno.avisos.mensajes.clear();
        auto d = abrir();
        elegirEntrada(d.get(), entorno.carpeta / "recibos.txt");
        fecha(d.get(), dia, mes, anio);
        generar(d.get());

        // Without a template every correct date goes on to the next refusal.
        EXPECT_EQ(mensajes(entorno.avisos), Textos{correcta ? "Por favor seleccione una plantilla"
                                                            : "La fecha de proceso es incorrecta"});
        EXPECT_EQ(cajaAnio(d.get())->text(), QString::fromLatin1(anioMostrado));
        if (correcta) {
            EXPECT_EQ(d->modelo().fechaProceso(), fechaProceso);
        }
    }
}

TEST_F(FrmEntrada, unaPlantillaCSB58NoMiraLaFecha) {
    std::optional<ParametrosConversion> recibidos;
    guardarParametros(Familia::CSB58, recibidos);
    const std::int64_t id = plantilla("CSB58", "Anticipos");
    const std::int64_t p = presentador("ANTICIPOS SA", "CSB58");
    const std::int64_t e = emisor(p, "EMISOR 58", "86420001612000000028");
    enlazar("banca", "CSB58", p);
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), entorno.carpeta / "creditos.txt");
    generar(d.get());

    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    ASSERT_TRUE(recibidos);
    EXPECT_EQ(recibidos->idEstructura, id);
    EXPECT_EQ(recibidos->idPresentador, p);
    EXPECT_EQ(recibidos->idEmisor, e);
    EXPECT_EQ(recibidos->rutaSalida, entorno.carpeta / "creditos.out");
    EXPECT_EQ(d->resultados, 1);
}

// Each charge detail option in a new dialog. A character Windows-1252 lacks arrives as a control character,
// which the run refuses ("Caracter no valido en el domicilio del ordenante") instead of writing a "?".
TEST_F(FrmEntrada, unaPlantillaCSB34PasaElDetalleDeCargoYLaCabeceraTalCual) {
    std::optional<ParametrosConversion> recibidos;
    guardarParametros(Familia::CSB34, recibidos);
    const std::int64_t id = plantilla("CSB34T", "Transferencias");
    const std::int64_t p = presentador("PAGADORA SA", "pagos");
    enlazar("tesorero", "pagos", p);
    for (auto [boton, detalle, domicilio, pasado] :
         {std::tuple{"DetalleCargo0", "0", u8" CALLE MAYOR 1", " CALLE MAYOR 1"},
          {"DetalleCargo1", "1", u8"CALLE 日本 1", "CALLE \x1A\x1A 1"}}) {
        SCOPED_TRACE(boton);
        recibidos.reset();
        auto d = abrir();
        elegirPlantilla(d.get(), id);
        elegirEntrada(d.get(), entorno.carpeta / "pagos.txt");
        fecha(d.get(), "5", "3", "2026");
        QTest::mouseClick(hijo<QRadioButton>(d.get(), boton), Qt::LeftButton);
        hijo<QLineEdit>(d.get(), "tbDomicilioOrdenante")->insert(QString::fromUtf8(domicilio));
        QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "MADRID");
        generar(d.get());

        ASSERT_TRUE(recibidos);
        EXPECT_EQ(recibidos->detalleCargo, detalle);
        EXPECT_TRUE(entorno.avisos.mensajes.empty());
        EXPECT_EQ(recibidos->gTipoEstructura, "CSB34T");
        EXPECT_EQ(recibidos->domicilioOrdenante, pasado);
        EXPECT_EQ(recibidos->plazaOrdenante, "MADRID");
        EXPECT_EQ(recibidos->idPresentador, p);
        EXPECT_EQ(recibidos->idEmisor, 0);
        EXPECT_EQ(recibidos->gFechaProceso, "050326");
    }
}

} // namespace
} // namespace trovanel
