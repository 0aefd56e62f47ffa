#include "frmEntrada_prueba.hpp"

#include <QScreen>

namespace trovanel {
namespace {

// The shared header brings the Qt, gtest and helper names.
using namespace entrada_prueba;

// --- template, user and party choices

TEST_F(FrmEntrada, soloListaLasPlantillasDeUsuarioSinElegirNinguna) {
    plantilla("CSB34T", "Transferencias nomina");
    auto d = abrir();
    auto* cb = hijo<QComboBox>(d.get(), "cbEstructura");

    EXPECT_EQ(d->windowTitle(), QStringLiteral("Generar CSB"));
    EXPECT_FALSE(cb->isEditable());
    EXPECT_EQ(textos(cb), (Textos{"Ejemplo CSB19 (CSB19)", "Transferencias nomina (Transferencias)"}));
    EXPECT_EQ(cb->currentIndex(), -1);
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbUsuario")->count(), 0);
    EXPECT_FALSE(hijo<QPushButton>(d.get(), "cmdProcesar")->isEnabled());
    EXPECT_TRUE(hijo<QLineEdit>(d.get(), "tbSalida")->isReadOnly());
}

TEST_F(FrmEntradaCascada, plantillaEligeElPrimerUsuarioSuPresentadorYSuEmisor) {
    auto d = abrir();
    elegirPlantilla(d.get(), 9);

    EXPECT_EQ(d->modelo().tipoEstructura(), "CSB19");
    EXPECT_EQ(d->modelo().idEstructura(), 9);
    EXPECT_EQ(d->modelo().tipoUsuario(), "CSB19");
    auto* usuarios = hijo<QComboBox>(d.get(), "cbUsuario");
    EXPECT_EQ(textos(usuarios), (Textos{"ana", "ejemplo", "O'Brien"}));
    EXPECT_EQ(usuarios->currentIndex(), 0);
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")),
              (Textos{"EMPRESA DE EJEMPLO SL", "COBROS O'BRIEN SA"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")), (Textos{"EMPRESA DE EJEMPLO SL"}));
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    EXPECT_EQ(cabecera(grid), (Textos{"", "Nombre ", "Nif ", "Sufijo"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(fila(grid, 0), (Textos{"EMPRESA DE EJEMPLO SL", "B00000000", "000"}));
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmEntradaCascada, unUsuarioConApostrofoListaSusPresentadoresYEmisores) {
    auto d = abrir();
    elegirPlantilla(d.get(), 9);
    elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "O'Brien");

    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")), (Textos{"COBROS O'BRIEN SA"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")), (Textos{"EMISOR UNO", "EMISOR DOS"}));
    auto* grid = hijo<QTableWidget>(d.get(), "gridEmisor");
    EXPECT_EQ(cabecera(grid), (Textos{" ", "Nombre", "NIF", "Sufijo", "Cuenta de Abono"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(fila(grid, 0), (Textos{"EMISOR UNO", "B22222222", "002", "8642-0001-61-2000000028"}));
    // A short account is cut at the same places.
    EXPECT_EQ(fila(grid, 1)[3], "1234-5678-90-");
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmEntradaCascada, conAdministradorAdminEncabezaYVeTodosLosPresentadoresDelTipo) {
    entorno.configuracion.gAdministrador = true;
    auto d = abrir();
    elegirPlantilla(d.get(), 9);

    auto* usuarios = hijo<QComboBox>(d.get(), "cbUsuario");
    EXPECT_EQ(textos(usuarios), (Textos{"Admin", "ana", "ejemplo", "O'Brien"}));
    EXPECT_EQ(usuarios->currentText(), QStringLiteral("Admin"));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")),
              (Textos{"EMPRESA DE EJEMPLO SL", "COBROS O'BRIEN SA"}));
}

TEST_F(FrmEntradaCascada, ordenantesDePagosMuestranLaCuentaDeCargo) {
    const std::int64_t id = plantilla("CSB34T", "Transferencias");
    auto d = abrir();
    elegirPlantilla(d.get(), id);

    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbUsuario")), (Textos{"tesorero"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")), (Textos{"PAGADORA SA"}));
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbEmisor")->count(), 0);
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    EXPECT_EQ(cabecera(grid), (Textos{"", "Nombre ", "Cuenta de Cargo"}));
    EXPECT_EQ(fila(grid, 0), (Textos{"PAGADORA SA", "8642-0001-69-1000000017"}));
}

TEST_F(FrmEntradaCascada, filaDeLaRejillaEligePresentadorYSusEmisoresPeroLaCabeceraNoHaceNada) {
    auto d = abrir();
    QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
    elegirPlantilla(d.get(), 9);
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    auto* presentadores = hijo<QComboBox>(d.get(), "cbPresentador");

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    EXPECT_EQ(presentadores->currentText(), QStringLiteral("COBROS O'BRIEN SA"));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")), (Textos{"EMISOR UNO", "EMISOR DOS"}));

    auto* emisores = hijo<QComboBox>(d.get(), "cbEmisor");
    auto* gridEmisor = hijo<QTableWidget>(d.get(), "gridEmisor");
    QTest::mouseClick(gridEmisor->viewport(), Qt::LeftButton, {},
                      gridEmisor->visualItemRect(gridEmisor->item(1, 1)).center());
    EXPECT_EQ(emisores->currentText(), QStringLiteral("EMISOR DOS"));

    for (QTableWidget* rejilla : {grid, gridEmisor}) {
        QHeaderView* titulos = rejilla->horizontalHeader();
        const QPoint centro(titulos->sectionViewportPosition(1) + titulos->sectionSize(1) / 2,
                            titulos->height() / 2);
        QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {}, centro);
    }
    EXPECT_EQ(presentadores->currentText(), QStringLiteral("COBROS O'BRIEN SA"));
    EXPECT_EQ(emisores->currentText(), QStringLiteral("EMISOR DOS"));
    EXPECT_EQ(emisores->count(), 2);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmEntrada, conUnSoloEmisorPulsarSuFilaNoCambiaNada) {
    auto d = abrir();
    QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
    elegirPlantilla(d.get(), 9);
    auto* grid = hijo<QTableWidget>(d.get(), "gridEmisor");
    ASSERT_EQ(grid->rowCount(), 1);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());

    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbEmisor")->currentIndex(), 0);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

struct CasoFamilia {
    const char* tipo;
    const char* tipoUsuario;
    bool ordenante;
    bool presentadorYEmisor;
    bool fecha;
    bool cabecera34;
};

class FrmEntradaFamilias : public FrmEntrada, public ::testing::WithParamInterface<CasoFamilia> {};

TEST_P(FrmEntradaFamilias, muestraYOcultaLosControlesDeLaFamilia) {
    const CasoFamilia caso = GetParam();
    const std::int64_t id = plantilla(caso.tipo, "Plantilla");
    auto d = abrir();
    elegirPlantilla(d.get(), id);

    EXPECT_EQ(d->modelo().tipoUsuario(), caso.tipoUsuario);
    auto visible = [&](const char* nombre) { return !hijo<QWidget>(d.get(), nombre)->isHidden(); };
    EXPECT_EQ(visible("labOrdenante"), caso.ordenante);
    for (const char* nombre : {"labPresentador", "LabEmisor", "cbEmisor", "frameEmisor"}) {
        EXPECT_EQ(visible(nombre), caso.presentadorYEmisor) << nombre;
    }
    EXPECT_EQ(hijo<QGroupBox>(d.get(), "framePresentador")->title(),
              caso.presentadorYEmisor ? QStringLiteral("Seleccionar Presentador")
                                      : QStringLiteral("Seleccionar Ordenante"));
    for (const char* nombre : {"tbDia", "tbMes", "Label2", "Label3", "Label4"}) {
        EXPECT_EQ(visible(nombre), caso.fecha) << nombre;
    }
    EXPECT_EQ(!cajaAnio(d.get())->isHidden(), caso.fecha);
    for (const char* nombre : {"DetalleCargo0", "DetalleCargo1", "tbDomicilioOrdenante", "tbPlazaOrdenante",
                               "Label6", "Label7", "Label8"}) {
        EXPECT_EQ(visible(nombre), caso.cabecera34) << nombre;
    }
    EXPECT_TRUE(visible("cbPresentador"));
    EXPECT_TRUE(visible("Frame4"));
}

INSTANTIATE_TEST_SUITE_P(PorTipo, FrmEntradaFamilias,
                         ::testing::Values(CasoFamilia{"CSB19", "CSB19", false, true, true, false},
                                           CasoFamilia{"CSB19Ac", "CSB19", false, true, true, false},
                                           CasoFamilia{"CSB58", "CSB58", false, true, false, false},
                                           CasoFamilia{"CSB58Ex", "CSB58", false, true, false, false},
                                           CasoFamilia{"CSB34T", "pagos", true, false, true, true},
                                           CasoFamilia{"PAGOSCEx", "pagos", true, false, true, true},
                                           CasoFamilia{"ZOPAc", "ZOP", true, false, true, false},
                                           CasoFamilia{"DESCONOCIDO", "ZOP", true, false, true, false}));

TEST_F(FrmEntrada, usuarioSinPresentadoresRecibeElMensajeDeTresLineasYNoPuedeAnchar) {
    enlazar("vacio", "CSB19", 999);
    auto d = abrir();
    QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
    elegirPlantilla(d.get(), 9);
    elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "vacio");

    EXPECT_EQ(mensajes(entorno.avisos), Textos{kSinPresentadores});
    EXPECT_EQ(entorno.avisos.mensajes.back().tipo, "informacion");
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbPresentador")->count(), 0);
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbEmisor")->count(), 0);
    EXPECT_EQ(hijo<QTableWidget>(d.get(), "gidPresentador")->rowCount(), 0);
    auto* mas = hijo<QPushButton>(d.get(), "cmdMas");
    EXPECT_EQ(mas->text(), QStringLiteral("+"));
    EXPECT_FALSE(mas->isEnabled());

    elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "ejemplo");
    EXPECT_TRUE(mas->isEnabled());
}

TEST_F(FrmEntrada, ordenanteSinDatosDiceQueNoDisponeDeOrdenante) {
    const std::int64_t id = plantilla("ZOP", "Proveedores");
    enlazar("vacio", "ZOP", 999);
    auto d = abrir();
    elegirPlantilla(d.get(), id);

    EXPECT_EQ(mensajes(entorno.avisos), Textos{kSinOrdenante});
}

class FrmEntradaRejillasLegibles : public FrmEntrada,
                                   public ::testing::WithParamInterface<std::pair<const char*, const char*>> {
};

TEST_P(FrmEntradaRejillasLegibles, lasColumnasCabenSusValoresSinDesplazarse) {
    const auto [tipo, csb] = GetParam();
    const std::int64_t id = plantilla(tipo, "Plantilla");
    const std::int64_t p =
        presentador("COMERCIAL DE SUMINISTROS INDUSTRIALES SA", csb, "86420001612000000028");
    emisor(p, "DISTRIBUCIONES Y TRANSPORTES DEL NORTE SL", "86420001612000000028");
    enlazar("largo", csb, p);
    auto d = abrir();
    const int anchoAnio = cajaAnio(d.get())->width();
    QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
    elegirPlantilla(d.get(), id);
    elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "largo");
    QApplication::processEvents();

    // The grids took room of their own, not the choices'.
    EXPECT_EQ(cajaAnio(d.get())->width(), anchoAnio);

    for (const char* nombre : {"gidPresentador", "gridEmisor"}) {
        auto* grid = hijo<QTableWidget>(d.get(), nombre);
        if (!grid->isVisibleTo(d.get())) {
            continue;
        }
        ASSERT_EQ(grid->rowCount(), 1) << nombre;
        for (int c = 1; c < grid->columnCount(); ++c) {
            const QString texto = grid->item(0, c)->text();
            EXPECT_GE(grid->columnWidth(c), grid->fontMetrics().horizontalAdvance(texto)) << nombre << c;
        }
        EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << nombre;
    }
}

INSTANTIATE_TEST_SUITE_P(CobrosYPagos, FrmEntradaRejillasLegibles,
                         ::testing::Values(std::pair{"CSB19", "CSB19"}, std::pair{"CSB34T", "pagos"}));

// Near the right edge of a 1366-pixel screen the dialog stays whole after every change of size: "+"
// (the grids), a template (its family's frames, its grids' widths), in either order.
class FrmEntradaJuntoAlBorde : public FrmEntradaCascada, public ::testing::WithParamInterface<const char*> {};

TEST_P(FrmEntradaJuntoAlBorde, seQuedaEnLaPantallaTrasCadaCambioDeTamano) {
    const std::int64_t pagos = plantilla("CSB34T", "Transferencias");
    auto d = abrir();
    d->move(940, 80);
    for (const char* paso = GetParam(); *paso != '\0'; ++paso) {
        if (*paso == '+') {
            QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
        } else {
            elegirPlantilla(d.get(), *paso == 'p' ? pagos : 9);
        }
        QApplication::processEvents();
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(d->frameGeometry()))
            << *paso << ": " << d->frameGeometry().x() << "+" << d->frameGeometry().width();
    }
}

INSTANTIATE_TEST_SUITE_P(Pasos, FrmEntradaJuntoAlBorde, ::testing::Values("+", "p+c", "+pc", "c+p"));

TEST_F(FrmEntrada, masYMenosCambianElAnchoYVuelvenAlAnterior) {
    auto d = abrir();
    auto* mas = hijo<QPushButton>(d.get(), "cmdMas");
    const int estrecho = d->width();
    EXPECT_EQ(mas->text(), QStringLiteral("+"));
    EXPECT_TRUE(hijo<QWidget>(d.get(), "gidPresentador")->isHidden() ||
                !hijo<QWidget>(d.get(), "gidPresentador")->isVisibleTo(d.get()));

    QTest::mouseClick(mas, Qt::LeftButton);
    EXPECT_EQ(mas->text(), QStringLiteral("-"));
    EXPECT_GT(d->width(), estrecho);
    EXPECT_TRUE(hijo<QWidget>(d.get(), "gidPresentador")->isVisibleTo(d.get()));

    QTest::mouseClick(mas, Qt::LeftButton);
    EXPECT_EQ(mas->text(), QStringLiteral("+"));
    EXPECT_EQ(d->width(), estrecho);
}

} // namespace
} // namespace trovanel
