#include "entradas_filas.hpp"
#include "frmEntrada.hpp"

#include "base_datos.hpp"
#include "conversores.hpp"
#include "datos_obligatorios.hpp"
#include "estado_ejecucion.hpp"
#include "modelo_entrada.hpp"
#include "programa.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using pruebas::EntornoVentanas;
using pruebas::hijo;
using pruebas::leerFichero;

const std::string kSinPresentadores =
    "No tiene datos de presentadores\r\nPuede importar el fichero de cuentas"
    "\r\no añadir los datos de forma manual desde la opción CABECERAS";
const std::string kSinOrdenante = "No dispone de datos de Ordenante\r\nPuede importar el fichero de cuentas"
                                  "\r\no añadir los datos de forma manual desde la opción CABECERAS";

// The dialog with its result window replaced by a counter, so no modal window waits for the test.
class frmEntradaSinResultado : public frmEntrada {
public:
    using frmEntrada::frmEntrada;
    int resultados = 0;

protected:
    void mostrarResultado() override { ++resultados; }
};

// What the result window said before the test closed it.
struct ResultadoVisto {
    bool visto = false;
    QString texto;
    QStringList lineasLog;
};

// Closes the real result window as soon as it is shown, reading it first.
void cerrarResultadoAlMostrarse(QWidget* dueno, ResultadoVisto& resultado) {
    auto* reloj = new QTimer(dueno);
    reloj->setInterval(10);
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, &resultado] {
        auto* ventana = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (ventana == nullptr || ventana->objectName() != QStringLiteral("frmMsg")) {
            return;
        }
        resultado.visto = true;
        if (auto* etiqueta = ventana->findChild<QLabel*>(QStringLiteral("labProcTerminado"))) {
            resultado.texto = etiqueta->text();
        }
        if (auto* detalles = ventana->findChild<QPushButton*>(QStringLiteral("cmdDetalles"));
            detalles != nullptr && detalles->isEnabled()) {
            QTest::mouseClick(detalles, Qt::LeftButton);
        }
        if (auto* lista = ventana->findChild<QListWidget*>(QStringLiteral("rtbFicheroLog"))) {
            for (int i = 0; i < lista->count(); ++i) {
                resultado.lineasLog << lista->item(i)->text();
            }
        }
        reloj->stop();
        ventana->accept();
    });
    reloj->start();
}

// A choice in a list as the user makes it: open the list and click the entry.
void elegir(QComboBox* combo, int indice) {
    ASSERT_NE(combo, nullptr);
    ASSERT_LT(indice, combo->count());
    combo->showPopup();
    QAbstractItemView* vista = combo->view();
    const QRect celda = vista->visualRect(vista->model()->index(indice, 0));
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, celda.center());
    ASSERT_EQ(combo->currentIndex(), indice);
}

void elegirTexto(QComboBox* combo, const std::string& texto) {
    const int indice = combo->findText(aQString(texto));
    ASSERT_GE(indice, 0) << texto;
    elegir(combo, indice);
}

std::vector<std::string> textos(const QComboBox* combo) {
    std::vector<std::string> resultado;
    for (int i = 0; i < combo->count(); ++i) {
        resultado.push_back(desdeQString(combo->itemText(i)));
    }
    return resultado;
}

std::vector<std::string> fila(const QTableWidget* grid, int numero) {
    std::vector<std::string> celdas;
    for (int c = 1; c < grid->columnCount(); ++c) {
        celdas.push_back(grid->item(numero, c) ? desdeQString(grid->item(numero, c)->text()) : "");
    }
    return celdas;
}

std::vector<std::string> cabecera(const QTableWidget* grid) {
    std::vector<std::string> titulos;
    for (int c = 0; c < grid->columnCount(); ++c) {
        titulos.push_back(desdeQString(grid->horizontalHeaderItem(c)->text()));
    }
    return titulos;
}

std::vector<std::string> mensajes(const AvisosGrabados& avisos) {
    std::vector<std::string> textosMensajes;
    for (const auto& mensaje : avisos.mensajes) {
        textosMensajes.push_back(mensaje.texto);
    }
    return textosMensajes;
}

QLineEdit* cajaAnio(QWidget* dialogo) {
    auto* caja = dialogo->findChild<QLineEdit*>(QString::fromUtf8("tbA\xc3\xb1o"));
    EXPECT_NE(caja, nullptr);
    return caja;
}

// Answers the missing-data request from a script and notes what the run state held when asked.
class SolicitudGuionada : public SolicitudDatosObligatorios {
public:
    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos) override {
        vistos.push_back({estado.gDatosAceptados, estado.gProcesoCancelado, estado.gFechaDatos});
        const bool acepta = !respuestas.empty() && respuestas.front();
        if (!respuestas.empty()) {
            respuestas.pop_front();
        }
        for (std::size_t i : campos) {
            estado.gCamposEstructura[i].valorcampo = "DEV001";
        }
        estado.gDatosAceptados = acepta;
        estado.gProcesoCancelado = !acepta;
        return acepta;
    }
    struct Visto {
        bool aceptados;
        bool cancelado;
        std::string fechaDatos;
    };
    std::deque<bool> respuestas;
    std::vector<Visto> vistos;
};

class FrmEntrada : public ::testing::Test {
protected:
    BaseDatos& bd() { return *entorno.baseDatos; }

    std::int64_t plantilla(const std::string& tipo, const std::string& descripcion) {
        bd().preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
            .con(tipo, descripcion)
            .ejecutar();
        return bd().ultimoId();
    }
    // A user template with the fields of the example one.
    std::int64_t copiaDelEjemplo(const std::string& descripcion) {
        const std::int64_t id = plantilla("CSB19", descripcion);
        bd().preparar(
                "INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                "finlinea, valorlinea, valorcampo, obligatorio, longitud) SELECT ?, id_campo, campo, inicio, "
                "fin, inilinea, finlinea, valorlinea, valorcampo, obligatorio, longitud "
                "FROM detalleestructura WHERE id_estructura = 9")
            .con(id)
            .ejecutar();
        return id;
    }
    std::int64_t presentador(const std::string& nombre, const std::string& csb,
                             const std::string& cuenta = "12345678061234567890") {
        bd().preparar("INSERT INTO presentadores (tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (?, ?, "
                      "?, ?, ?, ?)")
            .con(std::string(csb == "pagos" || csb == "ZOP" ? "pagos" : "cobros"), std::string("A11111111"),
                 nombre, std::string("001"), cuenta, csb)
            .ejecutar();
        return bd().ultimoId();
    }
    std::int64_t emisor(std::int64_t idPresentador, const std::string& nombre, const std::string& cuenta) {
        bd().preparar("INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, ?, "
                      "?, ?, ?)")
            .con(idPresentador, std::string("B22222222"), std::string("002"), nombre, cuenta)
            .ejecutar();
        return bd().ultimoId();
    }
    void enlazar(const std::string& usuario, const std::string& tipo, std::int64_t idPresentador) {
        bd().preparar("INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES (?, ?, ?)")
            .con(usuario, tipo, idPresentador)
            .ejecutar();
    }

    std::unique_ptr<frmEntradaSinResultado> abrir(SolicitudDatosObligatorios* solicitud = nullptr) {
        auto dialogo = std::make_unique<frmEntradaSinResultado>(entorno.contexto(), solicitud);
        dialogo->show();
        return dialogo;
    }

    void elegirPlantilla(QWidget* dialogo, std::int64_t id) {
        auto* cb = hijo<QComboBox>(dialogo, "cbEstructura");
        for (int i = 0; i < cb->count(); ++i) {
            if (cb->itemData(i).toList().value(0).toLongLong() == id) {
                elegir(cb, i);
                return;
            }
        }
        FAIL() << "plantilla " << id << " no listada";
    }

    void elegirEntrada(QWidget* dialogo, const fs::path& ruta) {
        entorno.selector.respuestas.push_back(ruta);
        QTest::mouseClick(hijo<QPushButton>(dialogo, "Image1"), Qt::LeftButton);
    }

    void fecha(QWidget* dialogo, const char* dia, const char* mes, const char* anio) {
        for (auto [nombre, texto] : {std::pair{"tbDia", dia}, std::pair{"tbMes", mes}}) {
            auto* caja = hijo<QLineEdit>(dialogo, nombre);
            caja->clear();
            QTest::keyClicks(caja, texto);
        }
        cajaAnio(dialogo)->clear();
        QTest::keyClicks(cajaAnio(dialogo), anio);
    }

    void generar(QWidget* dialogo) {
        QTest::mouseClick(hijo<QPushButton>(dialogo, "cmdProcesar"), Qt::LeftButton);
    }

    EntornoVentanas entorno;
};

// --- template, user and party choices

TEST_F(FrmEntrada, soloListaLasPlantillasDeUsuarioSinElegirNinguna) {
    plantilla("CSB34T", "Transferencias nomina");
    auto d = abrir();
    auto* cb = hijo<QComboBox>(d.get(), "cbEstructura");

    EXPECT_EQ(d->windowTitle(), QStringLiteral("Generar CSB"));
    EXPECT_FALSE(cb->isEditable());
    EXPECT_EQ(textos(cb),
              (std::vector<std::string>{"Ejemplo CSB19 (CSB19)", "Transferencias nomina (Transferencias)"}));
    EXPECT_EQ(cb->currentIndex(), -1);
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbUsuario")->count(), 0);
    EXPECT_FALSE(hijo<QPushButton>(d.get(), "cmdProcesar")->isEnabled());
    EXPECT_TRUE(hijo<QLineEdit>(d.get(), "tbSalida")->isReadOnly());
}

class FrmEntradaCascada : public FrmEntrada {
protected:
    void SetUp() override {
        obrien = presentador("COBROS O'BRIEN SA", "CSB19", "86420001612000000028");
        emisor(obrien, "EMISOR UNO", "86420001612000000028");
        emisor(obrien, "EMISOR DOS", "1234567890");
        enlazar("O'Brien", "CSB19", obrien);
        // Two links of one user: listed once.
        enlazar("ana", "CSB19", 1);
        enlazar("ana", "CSB19", obrien);
        // Linked under another kind: not a norm 19 user.
        const std::int64_t pagadora = presentador("PAGADORA SA", "pagos", "86420001691000000017");
        enlazar("tesorero", "pagos", pagadora);
    }
    std::int64_t obrien = 0;
};

TEST_F(FrmEntradaCascada, plantillaEligeElPrimerUsuarioSuPresentadorYSuEmisor) {
    auto d = abrir();
    elegirPlantilla(d.get(), 9);

    EXPECT_EQ(entorno.estado.gTipoEstructura, "CSB19");
    EXPECT_EQ(d->modelo().idEstructura(), 9);
    EXPECT_EQ(d->modelo().tipoUsuario(), "CSB19");
    auto* usuarios = hijo<QComboBox>(d.get(), "cbUsuario");
    EXPECT_EQ(textos(usuarios), (std::vector<std::string>{"ana", "ejemplo", "O'Brien"}));
    EXPECT_EQ(usuarios->currentIndex(), 0);
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")),
              (std::vector<std::string>{"EMPRESA DE EJEMPLO SL", "COBROS O'BRIEN SA"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")),
              (std::vector<std::string>{"EMPRESA DE EJEMPLO SL"}));
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    EXPECT_EQ(cabecera(grid), (std::vector<std::string>{"", "Nombre ", "Nif ", "Sufijo"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(fila(grid, 0), (std::vector<std::string>{"EMPRESA DE EJEMPLO SL", "B00000000", "000"}));
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmEntradaCascada, unUsuarioConApostrofoListaSusPresentadoresYEmisores) {
    auto d = abrir();
    elegirPlantilla(d.get(), 9);
    elegirTexto(hijo<QComboBox>(d.get(), "cbUsuario"), "O'Brien");

    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")),
              (std::vector<std::string>{"COBROS O'BRIEN SA"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")),
              (std::vector<std::string>{"EMISOR UNO", "EMISOR DOS"}));
    auto* grid = hijo<QTableWidget>(d.get(), "gridEmisor");
    EXPECT_EQ(cabecera(grid), (std::vector<std::string>{" ", "Nombre", "NIF", "Sufijo", "Cuenta de Abono"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(fila(grid, 0),
              (std::vector<std::string>{"EMISOR UNO", "B22222222", "002", "8642-0001-61-2000000028"}));
    // A short account is cut at the same places.
    EXPECT_EQ(fila(grid, 1)[3], "1234-5678-90-");
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmEntradaCascada, conAdministradorAdminEncabezaYVeTodosLosPresentadoresDelTipo) {
    entorno.estado.gAdministrador = true;
    auto d = abrir();
    elegirPlantilla(d.get(), 9);

    auto* usuarios = hijo<QComboBox>(d.get(), "cbUsuario");
    EXPECT_EQ(textos(usuarios), (std::vector<std::string>{"Admin", "ana", "ejemplo", "O'Brien"}));
    EXPECT_EQ(usuarios->currentText(), QStringLiteral("Admin"));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")),
              (std::vector<std::string>{"EMPRESA DE EJEMPLO SL", "COBROS O'BRIEN SA"}));
}

TEST_F(FrmEntradaCascada, ordenantesDePagosMuestranLaCuentaDeCargo) {
    const std::int64_t id = plantilla("CSB34T", "Transferencias");
    auto d = abrir();
    elegirPlantilla(d.get(), id);

    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbUsuario")), (std::vector<std::string>{"tesorero"}));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbPresentador")), (std::vector<std::string>{"PAGADORA SA"}));
    EXPECT_EQ(hijo<QComboBox>(d.get(), "cbEmisor")->count(), 0);
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    EXPECT_EQ(cabecera(grid), (std::vector<std::string>{"", "Nombre ", "Cuenta de Cargo"}));
    EXPECT_EQ(fila(grid, 0), (std::vector<std::string>{"PAGADORA SA", "8642-0001-69-1000000017"}));
}

TEST_F(FrmEntradaCascada, filaDeLaRejillaEligePresentadorYSusEmisoresPeroLaCabeceraNoHaceNada) {
    auto d = abrir();
    QTest::mouseClick(hijo<QPushButton>(d.get(), "cmdMas"), Qt::LeftButton);
    elegirPlantilla(d.get(), 9);
    auto* grid = hijo<QTableWidget>(d.get(), "gidPresentador");
    auto* presentadores = hijo<QComboBox>(d.get(), "cbPresentador");

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    EXPECT_EQ(presentadores->currentText(), QStringLiteral("COBROS O'BRIEN SA"));
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbEmisor")),
              (std::vector<std::string>{"EMISOR UNO", "EMISOR DOS"}));

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

    EXPECT_EQ(mensajes(entorno.avisos), std::vector<std::string>{kSinPresentadores});
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

    EXPECT_EQ(mensajes(entorno.avisos), std::vector<std::string>{kSinOrdenante});
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

// --- input, date and run

struct CasoRutas {
    const char* entrada;
    const char* salida;
    const char* log;
};

class FrmEntradaRutas : public FrmEntrada, public ::testing::WithParamInterface<CasoRutas> {};

TEST_P(FrmEntradaRutas, laEntradaElegidaDaLaSalidaYElLog) {
    const CasoRutas caso = GetParam();
    const fs::path carpeta = entorno.carpeta.ruta();
    auto d = abrir();
    elegirEntrada(d.get(), carpeta / caso.entrada);

    EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbEntrada")->text(),
              QString::fromStdString((carpeta / caso.entrada).string()));
    EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbSalida")->text(),
              QString::fromStdString((carpeta / caso.salida).string()));
    EXPECT_EQ(d->modelo().ficheroSalida(), carpeta / caso.salida);
    EXPECT_EQ(entorno.estado.gFicheroLog, carpeta / caso.log);
    EXPECT_TRUE(hijo<QPushButton>(d.get(), "cmdProcesar")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    PorNombre, FrmEntradaRutas,
    ::testing::Values(CasoRutas{"recibos.txt", "recibos.out", "recibos.log"},
                      CasoRutas{"recibos.marzo.txt", "recibos.out", "recibos.log"},
                      CasoRutas{"recibos", "recibos.out", "recibos.log"},
                      // A folder's "." never cuts the name.
                      CasoRutas{"datos.2026/recibos.txt", "datos.2026/recibos.out", "datos.2026/recibos.log"},
                      CasoRutas{"datos.2026/recibos", "datos.2026/recibos.out", "datos.2026/recibos.log"},
                      CasoRutas{"recibos.out", "recibos.out1", "recibos.log"},
                      CasoRutas{"recibos.log", "recibos.out", "recibos.log1"}));

// The dialog opens in the user's home folder until a file is chosen, then in that file's folder, kept in
// config.ini beside the flags' lines, which stay as they were.
TEST_F(FrmEntrada, elDialogoDeFicheroEmpiezaEnLaUltimaCarpetaElegidaOEnLaPersonalConElFiltroDeLaEntrada) {
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
    EXPECT_EQ(peticiones[2].filtro, "Base Datos Access (*.mdb *.accdb *.db *.sqlite)");
    for (const auto& peticion : peticiones) {
        EXPECT_EQ(peticion.titulo, "Abrir fichero a filtrar");
    }
    EXPECT_EQ(peticiones[0].carpeta, carpetaPersonal());
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
    EXPECT_EQ(entorno.estado.gFicheroLog, entorno.carpeta / "recibos.log");
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
    EXPECT_EQ(entorno.estado.gTablaAccess, desdeQString(tablas->itemText(0)));

    elegir(tablas, 1);
    EXPECT_EQ(entorno.estado.gTablaAccess, desdeQString(tablas->itemText(1)));

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

    EXPECT_EQ(mensajes(entorno.avisos), std::vector<std::string>{kEntradaBaseDatosPrograma});
    EXPECT_EQ(hijo<QLineEdit>(d.get(), "tbEntrada")->text(), QString::fromStdString(origen.string()));
    EXPECT_EQ(d->modelo().ficheroEntrada(), origen);
    EXPECT_EQ(textos(hijo<QComboBox>(d.get(), "cbHojaTabla")), std::vector<std::string>{"enero"});
    EXPECT_EQ(entorno.estado.gTablaAccess, "enero");
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
    using Textos = std::vector<std::string>;

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
    EXPECT_FALSE(entorno.estado.gError);
    EXPECT_EQ(d->resultados, 0);

    // Everything in place, but no norm 34 driver.
    EXPECT_EQ(avisosTras([&] { QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "MADRID"); }),
              Textos{"Esta versión del programa aún no genera ficheros de tipo CSB34T"});
    EXPECT_FALSE(entorno.estado.gError);
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
              std::vector<std::string>{
                  std::string("Esta versión del programa aún no genera ficheros de tipo ") + caso.codigo});
    EXPECT_FALSE(entorno.estado.gError);
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

    EXPECT_EQ(mensajes(entorno.avisos), std::vector<std::string>{"Plantilla incorrecta"});
    EXPECT_TRUE(entorno.estado.gError);
    EXPECT_TRUE(entorno.estado.gMostrarResultado);
    EXPECT_EQ(d->resultados, 1);
}

struct CasoFecha {
    const char* dia;
    const char* mes;
    const char* anio;
    bool correcta;
    const char* anioMostrado;
    const char* fechaProceso;
};

class FrmEntradaFechas : public FrmEntrada, public ::testing::WithParamInterface<CasoFecha> {};

TEST_P(FrmEntradaFechas, laFechaDeProcesoEsUnaFechaDelCalendario) {
    const CasoFecha caso = GetParam();
    auto d = abrir();
    elegirEntrada(d.get(), entorno.carpeta / "recibos.txt");
    fecha(d.get(), caso.dia, caso.mes, caso.anio);
    generar(d.get());

    // Without a template every correct date goes on to the next refusal.
    EXPECT_EQ(mensajes(entorno.avisos),
              std::vector<std::string>{caso.correcta ? "Por favor seleccione una plantilla"
                                                     : "La fecha de proceso es incorrecta"});
    EXPECT_EQ(cajaAnio(d.get())->text(), QString::fromLatin1(caso.anioMostrado));
    if (caso.correcta) {
        EXPECT_EQ(entorno.estado.gFechaProceso, caso.fechaProceso);
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, FrmEntradaFechas,
                         ::testing::Values(CasoFecha{"5", "3", "2003", true, "2003", "050303"},
                                           CasoFecha{"05", "03", "26", true, "2026", "050326"},
                                           CasoFecha{"29", "2", "2024", true, "2024", "290224"},
                                           CasoFecha{"29", "2", "2026", false, "2026", ""},
                                           CasoFecha{"31", "4", "2026", false, "2026", ""},
                                           CasoFecha{"1", "0", "2026", false, "2026", ""},
                                           CasoFecha{"1", "13", "2026", false, "2026", ""},
                                           CasoFecha{"1", "", "2026", false, "2026", ""},
                                           CasoFecha{"", "3", "2026", false, "2026", ""},
                                           CasoFecha{"1", "3", "", false, "", ""},
                                           CasoFecha{"1", "3", "6", false, "6", ""},
                                           CasoFecha{"1", "3", "026", false, "026", ""},
                                           CasoFecha{"1*", "3", "2026", false, "2026", ""}));

TEST_F(FrmEntrada, unaPlantillaCSB58NoMiraLaFecha) {
    std::optional<ParametrosConversion> recibidos;
    entorno.registro.registrar(
        Familia::CSB58, [&](EstadoEjecucion&, Entorno&, const ParametrosConversion& p) { recibidos = p; });
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

struct CasoDetalle {
    const char* boton;
    const char* detalle;
};

class FrmEntradaCSB34 : public FrmEntrada, public ::testing::WithParamInterface<CasoDetalle> {};

TEST_P(FrmEntradaCSB34, pasaElDetalleDeCargoYLaCabeceraTalCual) {
    std::optional<ParametrosConversion> recibidos;
    entorno.registro.registrar(
        Familia::CSB34, [&](EstadoEjecucion&, Entorno&, const ParametrosConversion& p) { recibidos = p; });
    const std::int64_t id = plantilla("CSB34T", "Transferencias");
    const std::int64_t p = presentador("PAGADORA SA", "pagos");
    enlazar("tesorero", "pagos", p);
    auto d = abrir();
    elegirPlantilla(d.get(), id);
    elegirEntrada(d.get(), entorno.carpeta / "pagos.txt");
    fecha(d.get(), "5", "3", "2026");
    QTest::mouseClick(hijo<QRadioButton>(d.get(), GetParam().boton), Qt::LeftButton);
    QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbDomicilioOrdenante"), " CALLE MAYOR 1");
    QTest::keyClicks(hijo<QLineEdit>(d.get(), "tbPlazaOrdenante"), "MADRID");
    generar(d.get());

    ASSERT_TRUE(recibidos);
    EXPECT_EQ(recibidos->detalleCargo, GetParam().detalle);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_EQ(recibidos->tipoPlantilla, "CSB34T");
    EXPECT_EQ(recibidos->domicilioOrdenante, " CALLE MAYOR 1");
    EXPECT_EQ(recibidos->plazaOrdenante, "MADRID");
    EXPECT_EQ(recibidos->idPresentador, p);
    EXPECT_EQ(recibidos->idEmisor, 0);
    EXPECT_EQ(entorno.estado.gFechaProceso, "050326");
}

INSTANTIATE_TEST_SUITE_P(Opciones, FrmEntradaCSB34,
                         ::testing::Values(CasoDetalle{"DetalleCargo0", "0"},
                                           CasoDetalle{"DetalleCargo1", "1"}));

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
    EXPECT_FALSE(entorno.estado.gError);
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

    EXPECT_TRUE(entorno.estado.gError);
    EXPECT_TRUE(fs::exists(entorno.carpeta / "recibos.out"));
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.log"),
              leerFichero(pruebas::datosPrueba() / "csb19" / "ejemplo" / "esperado-con-errores.log"));
    EXPECT_TRUE(resultado.visto);
    EXPECT_EQ(resultado.texto, QStringLiteral("Proceso terminado incorrectamente"));
    EXPECT_TRUE(resultado.lineasLog.contains(QStringLiteral("Error : Importe incorrecto")));
}

TEST_F(FrmEntradaEjecucion, cadaEjecucionEmpiezaSinErrorCancelacionNiFechaDeDatosAnteriores) {
    // The example's fields, with a mandatory one the input does not carry.
    const std::int64_t id = copiaDelEjemplo("Con dato pedido");
    bd().preparar("UPDATE detalleestructura SET obligatorio = 1 WHERE id_estructura = ? AND campo = ?")
        .con(id, std::string("CodigoDevolucion"))
        .ejecutar();
    SolicitudGuionada solicitud;
    solicitud.respuestas = {true, false};
    auto d = abrir(&solicitud);
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt", id);

    entorno.estado.gError = true;
    entorno.estado.gProcesoCancelado = true;
    entorno.estado.gDatosAceptados = true;
    entorno.estado.gFechaDatos = "311299";
    generar(d.get());
    EXPECT_TRUE(entorno.estado.gDatosAceptados);
    EXPECT_FALSE(entorno.estado.gError);

    entorno.estado.gFechaDatos = "311299";
    generar(d.get());

    ASSERT_EQ(solicitud.vistos.size(), 2u);
    for (const auto& visto : solicitud.vistos) {
        EXPECT_FALSE(visto.aceptados);
        EXPECT_FALSE(visto.cancelado);
        EXPECT_EQ(visto.fechaDatos, "");
    }
    // The second run was cancelled: the first run's acceptance did not carry over.
    EXPECT_FALSE(entorno.estado.gDatosAceptados);
    EXPECT_TRUE(entorno.estado.gProcesoCancelado);
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
    EXPECT_EQ(entorno.estado.gLibroAbierto, hoja);
    elegir(hijo<QComboBox>(d.get(), "cbHojaTabla"), caso.indice);
    generar(d.get());

    EXPECT_EQ(hoja ? entorno.estado.gHojaExcel : entorno.estado.gTablaAccess, caso.entrada.hojaTabla);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_FALSE(entorno.estado.gLibroAbierto);
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
    [](const auto& info) { return std::string(info.param.entrada.nombre); });

TEST_F(FrmEntradaEjecucion, conCaracteresActivadoElFicheroPasaPorLaTablaDeSustituciones) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "G=#\r\n");
    entorno.estado.gCaracteres = true;
    auto d = abrir();
    preparar(*d, pruebas::raizProyecto() / "ejemplo" / "recibos.txt", "recibos.txt");
    generar(d.get());

    std::string esperado = leerFichero(pruebas::datosPrueba() / "csb19" / "ejemplo" / "esperado.out");
    std::replace(esperado.begin(), esperado.end(), 'G', '#');
    EXPECT_EQ(leerFichero(entorno.carpeta / "recibos.out"), esperado);
    EXPECT_EQ(d->resultados, 1);
}

TEST_F(FrmEntradaEjecucion, unaSalidaQueEnlazaConLaEntradaSeRechazaSinResultadoNiSustituciones) {
    pruebas::escribirFichero(entorno.carpeta / "caracteres.ini", "G=#\r\n");
    entorno.estado.gCaracteres = true;
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
