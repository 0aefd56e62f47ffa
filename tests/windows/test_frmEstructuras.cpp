#include "conversores.hpp"
#include "entradas_filas.hpp"
#include "frmEstructuras.hpp"
#include "mdiPrincipal.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace trovanel::pruebas {
namespace {

namespace fs = std::filesystem;
using Mensaje = AvisosGrabados::Mensaje;

// The placed fields of the example template 9, in id_campo order, with their positions in
// ejemplo/recibos.txt.
struct Colocacion {
    std::size_t idCampo;
    int inicio;
    int fin;
};
const std::vector<Colocacion> kEjemplo = {{0, 1, 12},     {1, 13, 52},    {2, 53, 56},    {3, 57, 60},
                                          {4, 61, 62},    {5, 63, 72},    {6, 73, 84},    {9, 85, 124},
                                          {10, 125, 164}, {11, 165, 204}, {12, 205, 239}, {13, 240, 244}};

struct Clase {
    TipoEntrada entrada;
    const char* nombre;
    const char* opcion; // the menu entry
    const char* ventana;
    const char* titulo;
    const char* tipo; // type code of a template made from the base CSB19 template
};
const Clase kClases[] = {
    {TipoEntrada::Texto, "Texto", "opcEstructuras", "frmEstructuras", "Mantenimiento de Plantillas", "CSB19"},
    {TipoEntrada::Excel, "Excel", "opcExcel", "frmEstructurasExcel", "Estructuras Excel", "CSB19Ex"},
    {TipoEntrada::Access, "Access", "opcAccess", "frmEstructurasAccess", "Estructuras Access", "CSB19Ac"}};

// A choice in a list as the user makes it; the list may answer by showing another entry.
void elegir(QComboBox* combo, int indice, bool seQueda = true) {
    ASSERT_NE(combo, nullptr);
    ASSERT_LT(indice, combo->count());
    combo->showPopup();
    QAbstractItemView* vista = combo->view();
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {},
                      vista->visualRect(vista->model()->index(indice, 0)).center());
    if (seQueda) {
        ASSERT_EQ(combo->currentIndex(), indice);
    }
}

// A mouse press and release on an entry of a field list.
void pulsarEntrada(QListWidget* lista, const std::string& empieza) {
    ASSERT_NE(lista, nullptr);
    for (int i = 0; i < lista->count(); ++i) {
        if (desdeQString(lista->item(i)->text()).starts_with(empieza)) {
            lista->scrollToItem(lista->item(i));
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                              lista->visualItemRect(lista->item(i)).center());
            return;
        }
    }
    FAIL() << "no hay entrada " << empieza;
}

std::vector<std::string> entradas(const QListWidget* lista) {
    std::vector<std::string> textos;
    for (int i = 0; i < lista->count(); ++i) {
        textos.push_back(desdeQString(lista->item(i)->text()));
    }
    return textos;
}

class FrmEstructuras : public PruebaVentana, public ::testing::WithParamInterface<Clase> {
protected:
    FrmEstructuras() {
        std::ofstream(entorno.carpeta / "config.ini") << "";
        texto = leerFichero(raizProyecto() / "ejemplo" / "recibos.txt");
        campos = camposDePlantilla(*entorno.baseDatos, 9);
    }

    // Opens the editor from its menu entry and runs guion inside it, then closes it with "&Cerrar".
    void desdeElMenu(const std::function<void(frmEstructuras&)>& guion) {
        mdiPrincipal principal(entorno.contexto());
        principal.show();
        bool visto = false;
        QTimer::singleShot(0, &principal, [&] {
            auto* ventana = qobject_cast<frmEstructuras*>(QApplication::activeModalWidget());
            ASSERT_NE(ventana, nullptr);
            visto = true;
            guion(*ventana);
            pulsar(ventana, "cmdCerrar");
        });
        hijo<QAction>(&principal, GetParam().opcion)->trigger();
        EXPECT_TRUE(visto);
        EXPECT_TRUE(principal.findChildren<frmEstructuras*>().isEmpty());
    }

    fs::path rutaOrigen() const {
        return entorno.carpeta / (GetParam().entrada == TipoEntrada::Excel ? "remesa.xlsx" : "remesa.sqlite");
    }
    // The source of the editor opened through its file dialog: the example as a sheet or a table. A
    // cancelled dialog first changes nothing.
    void abrirOrigen(frmEstructuras& v) {
        if (GetParam().entrada == TipoEntrada::Texto) {
            return;
        }
        if (!fs::exists(rutaOrigen())) {
            escribirRemesaFilas(rutaOrigen(), texto, campos);
        }
        entorno.selector.respuestas = {fs::path(), rutaOrigen()};
        pulsar(&v, "Image1");
        EXPECT_TRUE(box(&v, GetParam().entrada == TipoEntrada::Excel ? "tbLibro" : "tbBD")->text().isEmpty());
        pulsar(&v, "Image1");
    }

    // Places field n of the example (its k-th placed field) through the real widgets.
    void situar(frmEstructuras& v, std::size_t k) {
        const Colocacion& c = kEjemplo[k];
        if (GetParam().entrada == TipoEntrada::Texto) {
            for (const auto& [caja, valor] :
                 {std::pair{"tbIniCampo", c.inicio}, std::pair{"tbFinCampo", c.fin}}) {
                box(&v, caja)->clear();
                QTest::keyClicks(box(&v, caja), QString::number(valor));
            }
        } else if (GetParam().entrada == TipoEntrada::Excel) {
            auto* grid = hijo<QTableWidget>(&v, "GridExcel");
            QTableWidgetItem* celda = grid->item(0, static_cast<int>(k));
            grid->scrollToItem(celda);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(celda).center());
        } else {
            elegir(hijo<QComboBox>(&v, "cbCampos"), static_cast<int>(k));
        }
    }
    void colocar(frmEstructuras& v, std::size_t k) {
        pulsarEntrada(hijo<QListWidget>(&v, "lbCampos"), std::to_string(kEjemplo[k].idCampo) + "-");
        situar(v, k);
        pulsar(&v, "cmdAgregar");
    }

    // What the stored template says of each placed field: positions (text) or the column.
    std::vector<std::string> colocaciones(std::int64_t id) {
        std::vector<std::string> filas;
        auto consulta =
            entorno.baseDatos->preparar("SELECT id_campo, inicio, fin, valorlinea FROM detalleestructura "
                                        "WHERE id_estructura = ? AND (inicio <> 0 "
                                        "OR fin <> 0) ORDER BY id_campo");
        consulta.con(id);
        while (consulta.siguiente()) {
            filas.push_back(consulta.texto(0) + ":" + consulta.texto(1) + "-" + consulta.texto(2) + ":" +
                            consulta.texto(3));
        }
        return filas;
    }
    std::vector<std::string> esperadas() {
        std::vector<std::string> filas;
        for (std::size_t k = 0; k < kEjemplo.size(); ++k) {
            const Colocacion& c = kEjemplo[k];
            const std::string columna(1, static_cast<char>('A' + k));
            filas.push_back(std::to_string(c.idCampo) + ":" +
                            (GetParam().entrada == TipoEntrada::Texto
                                 ? std::to_string(c.inicio) + "-" + std::to_string(c.fin) + ":"
                                 : "0-1:" + columna));
        }
        return filas;
    }

    std::int64_t ultimaPlantilla() {
        auto consulta = entorno.baseDatos->preparar("SELECT max(id_estructura) FROM estructura");
        consulta.siguiente();
        return consulta.entero(0);
    }

    // Converts the example with the stored template through the norm 19 driver.
    std::string convertir(std::int64_t id) {
        const Conversor* conversor = entorno.registro.buscar(Familia::CSB19);
        EXPECT_NE(conversor, nullptr);
        const fs::path entrada = GetParam().entrada == TipoEntrada::Texto
                                     ? raizProyecto() / "ejemplo" / "recibos.txt"
                                     : rutaOrigen();
        Entorno e{*entorno.baseDatos, entorno.avisos, entorno.reloj, entorno.carpeta.ruta()};
        ParametrosConversion p;
        p.rutaEntrada = entrada;
        p.rutaSalida = entorno.carpeta / "remesa.out";
        p.idEstructura = id;
        p.idPresentador = 1;
        p.idEmisor = 1;
        p.gFechaProceso = "050326";
        p.gHojaExcel = p.gTablaAccess = "Remesa";
        p.gFicheroLog = entorno.carpeta / "remesa.log";
        ejecutarConversor(*conversor, entorno.estado, e, p);
        return leerFichero(p.rutaSalida);
    }

    std::string texto;
    std::vector<CampoPlantilla> campos;
};

// From the base template a new one is built through the widgets, stored, loaded again with the same
// placements, converted, modified in place and deleted.
TEST_P(FrmEstructuras, unaPlantillaNuevaSeHaceGuardaCargaConvierteModificaYBorra) {
    std::int64_t id = 0;
    desdeElMenu([&](frmEstructuras& v) {
        EXPECT_EQ(v.objectName().toStdString(), GetParam().ventana);
        EXPECT_EQ(desdeQString(v.windowTitle()), GetParam().titulo);
        auto* lista = hijo<QComboBox>(&v, "cbEstructuras");
        EXPECT_EQ(lista->currentIndex(), 0);
        elegir(lista, lista->findText(QStringLiteral("Plantilla base CSB19")));
        abrirOrigen(v);
        for (std::size_t k = 0; k < kEjemplo.size(); ++k) {
            if (k != 1) {
                colocar(v, k);
            }
        }
        // The second field is placed while the first, pressed in "Campos Tratados", is being edited: the
        // first keeps its own place.
        pulsarEntrada(hijo<QListWidget>(&v, "lbCampos"), "1-");
        pulsarEntrada(hijo<QListWidget>(&v, "lbCamposAgregados"), "0-");
        situar(v, 1);
        pulsar(&v, "cmdAgregar");
        EXPECT_EQ(hijo<QListWidget>(&v, "lbCamposAgregados")->count(), 12);
        box(&v, "tbNombreEstruc")->setText(QStringLiteral("Recibos propios"));
        pulsar(&v, "cmdAceptar");
        EXPECT_EQ(mensajes(), (std::vector<std::string>{"informacion: La plantilla ha sido guardada"}));
        EXPECT_EQ(lista->currentIndex(), 0);
        id = ultimaPlantilla();
        EXPECT_EQ(colocaciones(id), esperadas());

        // Loaded again, it shows the same placements.
        elegir(lista, lista->findText(QStringLiteral("Recibos propios (CSB19)")));
        const auto colocados = entradas(hijo<QListWidget>(&v, "lbCamposAgregados"));
        ASSERT_EQ(colocados.size(), 12u);
        EXPECT_EQ(colocados[0], "0-CodigoReferencia (obligatorio)");
        pulsarEntrada(hijo<QListWidget>(&v, "lbCamposAgregados"), "13-CP");
        EXPECT_EQ(desdeQString(box(&v, GetParam().entrada == TipoEntrada::Texto   ? "tbFinCampo"
                                       : GetParam().entrada == TipoEntrada::Excel ? "tbCol"
                                                                                  : "tbCampo")
                                   ->text()),
                  GetParam().entrada == TipoEntrada::Texto ? "244" : "L");
    });
    EXPECT_EQ(convertir(id), leerFichero(datosPrueba() / "csb19" / "ejemplo" / "esperado.out"));

    // Modified in place: the concept moves to the account holder's place, the edit is committed by
    // "&Aceptar" itself.
    desdeElMenu([&](frmEstructuras& v) {
        auto* lista = hijo<QComboBox>(&v, "cbEstructuras");
        elegir(lista, lista->findText(QStringLiteral("Recibos propios (CSB19)")));
        abrirOrigen(v);
        pulsarEntrada(hijo<QListWidget>(&v, "lbCamposAgregados"), "9-Concepto1");
        situar(v, 8);
        entorno.avisos.respuestas = {true};
        pulsar(&v, "cmdAceptar");
        EXPECT_EQ(mensajes(), (std::vector<std::string>{"pregunta: ¿Desea modificar la plantilla?"}));
        auto cambiadas = esperadas();
        cambiadas[7] = "9:" + cambiadas[8].substr(3);
        EXPECT_EQ(colocaciones(id), cambiadas);

        entorno.avisos.respuestas = {true};
        pulsar(&v, "cmdBorrar");
        EXPECT_EQ(mensajes(), (std::vector<std::string>{
                                  "pregunta: ¿Desea borrar la plantilla Recibos propios (CSB19)?"}));
        EXPECT_EQ(lista->findText(QStringLiteral("Recibos propios (CSB19)")), -1);
        EXPECT_EQ(lista->currentIndex(), 0);
        EXPECT_FALSE(hijo<QPushButton>(&v, "cmdBorrar")->isEnabled());
    });
    // The field rows stay; the id is never given again.
    EXPECT_EQ(colocaciones(id).size(), 12u);
}

// Choosing a placed entry with the keyboard commits the field being edited, as a press does.
// The placed list is the same in the three editors: once is enough.
TEST_F(PruebaVentana, elTecladoEnLosColocadosEscribeElCampoEditadoYMuestraElNuevo) {
    frmEstructuras v(entorno.contexto(), TipoEntrada::Texto);
    v.show();
    elegir(hijo<QComboBox>(&v, "cbEstructuras"), 8); // the example, id 9
    auto* colocados = hijo<QListWidget>(&v, "lbCamposAgregados");
    pulsarEntrada(colocados, "0-");
    box(&v, "tbFinCampo")->setText(QStringLiteral("10"));
    QTest::keyClick(colocados, Qt::Key_Down);
    EXPECT_EQ(v.modelo().plantilla().campos[0].fin, 10);
    EXPECT_EQ(v.modelo().campoEditado(), 1u);
    EXPECT_EQ(box(&v, "tbFinCampo")->text(), QStringLiteral("52"));
    EXPECT_EQ(box(&v, "tbLongitud")->text(), QStringLiteral("40"));
    // Letters never reach a position box.
    QTest::keyClicks(box(&v, "tbIniCampo"), QStringLiteral("a-."));
    EXPECT_EQ(box(&v, "tbIniCampo")->text(), QStringLiteral("13"));
}

// Selecting, the clipboard and undo work in the position boxes as in any other box; what they would
// bring in is still digits only.
TEST_F(PruebaVentana, lasCajasDePosicionSeleccionanCopianYDeshacenComoLasDemas) {
    frmEstructuras v(entorno.contexto(), TipoEntrada::Texto);
    v.show();
    const auto ctrl = Qt::ControlModifier;
    const auto mayus = Qt::ShiftModifier;
    const struct {
        const char* caja;
        const char* portapapeles;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> teclas; // after "093", the cursor at its end
        const char* queda;
    } filas[] = {
        {"tbIniCampo", "", {{Qt::Key_A, ctrl}, {Qt::Key_7, {}}}, "7"},
        {"tbFinCampo", "", {{Qt::Key_Home, mayus}, {Qt::Key_1, {}}}, "1"},
        {"tbIniLinea", "", {{Qt::Key_Home, {}}, {Qt::Key_Right, mayus}, {Qt::Key_5, {}}}, "593"},
        {"tbFinLinea",
         "",
         {{Qt::Key_Left, mayus}, {Qt::Key_X, ctrl}, {Qt::Key_Home, {}}, {Qt::Key_V, ctrl}},
         "309"},
        {"tbIniCampo", "", {{Qt::Key_A, ctrl}, {Qt::Key_Delete, {}}, {Qt::Key_Z, ctrl}}, "093"},
        {"tbFinCampo",
         "8",
         {{Qt::Key_A, ctrl}, {Qt::Key_C, ctrl}, {Qt::Key_Delete, {}}, {Qt::Key_V, ctrl}},
         "093"},
        {"tbIniCampo", "4x", {{Qt::Key_A, ctrl}, {Qt::Key_V, ctrl}}, "093"},
        {"tbIniCampo", "", {{Qt::Key_A, ctrl}, {Qt::Key_B, {}}}, "093"},
    };
    for (const auto& fila : filas) {
        QLineEdit* caja = box(&v, fila.caja);
        caja->setText(QStringLiteral("093"));
        QGuiApplication::clipboard()->setText(QString::fromLatin1(fila.portapapeles));
        for (const auto& [tecla, modificadores] : fila.teclas) {
            QTest::keyClick(caja, tecla, modificadores);
        }
        EXPECT_EQ(caja->text(), QString::fromLatin1(fila.queda)) << fila.caja << " " << fila.teclas.size();
    }
}

INSTANTIATE_TEST_SUITE_P(Clases, FrmEstructuras, ::testing::ValuesIn(kClases),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(PruebaVentana, unaCargaFallidaDejaElegidaEnLaListaLaPlantillaEnMano) {
    frmEstructuras v(entorno.contexto(), TipoEntrada::Excel);
    v.show();
    entorno.baseDatos->ejecutarScript("ALTER TABLE detalleestructura RENAME TO rota");
    elegir(hijo<QComboBox>(&v, "cbEstructuras"), 6, false);
    EXPECT_EQ(hijo<QComboBox>(&v, "cbEstructuras")->currentIndex(), 0);
    EXPECT_EQ(v.modelo().plantilla().id, 1);
    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].tipo, "critico");
}

TEST_F(PruebaVentana, elEditorAccessListaLasTablasDeUnaBaseDeAccessYColocaSuColumna) {
    TROVANEL_REQUIERE_MUESTRAS();
    frmEstructuras v(entorno.contexto(), TipoEntrada::Access);
    v.show();
    entorno.selector.respuestas = {carpetaMuestras() / "access" / "jet4-test.mdb"};
    pulsar(&v, "Image1");
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbTablas")),
              (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
    pulsarEntrada(hijo<QListWidget>(&v, "lbCampos"), "0-");
    elegir(hijo<QComboBox>(&v, "cbCampos"), 1);
    EXPECT_EQ(box(&v, "tbCampo")->text(), QStringLiteral("B"));
    pulsar(&v, "cmdAgregar");
    EXPECT_EQ(v.modelo().plantilla().campos[0].valorlinea, "B");
    EXPECT_EQ(v.modelo().tabla(), "Table1");
    ASSERT_EQ(entorno.selector.peticiones.size(), 1u);
    EXPECT_EQ(entorno.selector.peticiones[0].titulo, "Abrir Base de Datos");
    EXPECT_EQ(entorno.selector.peticiones[0].carpeta, carpetaPersonal());
    // Closing, the unstored field given up, lets go of the database.
    entorno.avisos.respuestas = {true};
    v.reject();
    EXPECT_FALSE(v.modelo().origenAbierto());
    EXPECT_EQ(mensajes(),
              std::vector<std::string>{
                  "pregunta: La plantilla tiene cambios sin guardar. ¿Desea cerrar y perderlos?"});
}

} // namespace
} // namespace trovanel::pruebas

namespace trovanel::pruebas {
namespace {

TEST(EditoresDePlantillas, escapeOElCierreConCambiosSinGuardarPreguntaAntesDePerderlos) {
    const Mensaje kPregunta{"pregunta", "La plantilla tiene cambios sin guardar. ¿Desea cerrar y perderlos?"};
    for (const Clase& clase : kClases) {
        SCOPED_TRACE(clase.nombre);
        EntornoVentanas entorno;
        {
            frmEstructuras ventana(entorno.contexto(), clase.entrada);
            ventana.show();
            QTest::keyClick(&ventana, Qt::Key_Escape);
            EXPECT_FALSE(ventana.isVisible());
            EXPECT_EQ(entorno.avisos.mensajes, std::vector<Mensaje>{});
        }
        frmEstructuras ventana(entorno.contexto(), clase.entrada);
        ventana.show();
        hijo<QListWidget>(&ventana, "lbCampos")->setCurrentRow(0);
        const char* cajaPosicion = clase.entrada == TipoEntrada::Texto   ? "tbIniCampo"
                                   : clase.entrada == TipoEntrada::Excel ? "tbCol"
                                                                         : "tbCampo";
        hijo<QLineEdit>(&ventana, cajaPosicion)->selectAll();
        QTest::keyClicks(hijo<QLineEdit>(&ventana, cajaPosicion), QStringLiteral("1"));
        // Escape pressed in any box, the position boxes of the text editor too, reaches the window.
        std::vector<const char*> cajas = {cajaPosicion};
        if (clase.entrada == TipoEntrada::Texto) {
            cajas.insert(cajas.end(), {"tbFinCampo", "tbIniLinea", "tbFinLinea"});
        }
        for (const char* caja : cajas) {
            entorno.avisos.mensajes.clear();
            entorno.avisos.respuestas = {false};
            QTest::keyClick(hijo<QLineEdit>(&ventana, caja), Qt::Key_Escape);
            EXPECT_EQ(entorno.avisos.mensajes, std::vector<Mensaje>{kPregunta}) << caja;
            EXPECT_TRUE(ventana.isVisible());
        }
        EXPECT_EQ(hijo<QLineEdit>(&ventana, cajaPosicion)->text(), QStringLiteral("1"));
        if (clase.entrada == TipoEntrada::Texto) {
            // Placed: the boxes show it as stored in hand, but the template is not stored yet.
            hijo<QLineEdit>(&ventana, "tbFinCampo")->selectAll();
            QTest::keyClicks(hijo<QLineEdit>(&ventana, "tbFinCampo"), QStringLiteral("12"));
            QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdAgregar"), Qt::LeftButton);
            ASSERT_EQ(hijo<QListWidget>(&ventana, "lbCamposAgregados")->count(), 1)
                << entorno.avisos.mensajes.back().texto;
            entorno.avisos.respuestas = {false};
            ventana.close();
            EXPECT_TRUE(ventana.isVisible());
        }
        entorno.avisos.respuestas = {true};
        ventana.close();
        EXPECT_FALSE(ventana.isVisible());
        EXPECT_EQ(entorno.avisos.mensajes.back(), kPregunta);
    }
}

} // namespace
} // namespace trovanel::pruebas
