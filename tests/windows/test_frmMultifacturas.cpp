#include "arranque.hpp"
#include "base_datos.hpp"
#include "constructor_datos.hpp"
#include "frmEstructuras.hpp"
#include "frmMultifacturas.hpp"
#include "mdiPrincipal.hpp"
#include "modo_lote.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace trovanel::pruebas {
namespace {

class FrmMultifacturas : public PruebaVentana {
protected:
    FrmMultifacturas() {
        std::ofstream(entorno.carpeta / "config.ini") << "";
        uno = ConstructorPlantilla(*entorno.baseDatos).descripcion("Uno").crear();
        ConstructorPlantilla(*entorno.baseDatos).descripcion("Dos").crear();
        ConstructorPlantilla(*entorno.baseDatos).descripcion("Zeta").tipo("ZOP").crear();
    }

    frmMultifacturas* abrir(mdiPrincipal& principal) {
        hijo<QAction>(&principal, "opcMultifacturas")->trigger();
        auto* v = principal.findChild<frmMultifacturas*>(QStringLiteral("frmMultifacturas"));
        EXPECT_TRUE(v != nullptr && v->isVisible() && QApplication::activeModalWidget() == nullptr);
        return v;
    }
    void elegir(QWidget* v, int indice) {
        auto* combo = hijo<QComboBox>(v, "cbEstructura");
        combo->showPopup();
        QAbstractItemView* vista = combo->view();
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {},
                          vista->visualRect(vista->model()->index(indice, 0)).center());
        ASSERT_EQ(combo->currentIndex(), indice);
    }
    // A click on the box itself: the middle of a wide check box may be past its caption.
    void marcar(QWidget* v, const char* nombre) {
        auto* casilla = hijo<QCheckBox>(v, nombre);
        QTest::mouseClick(casilla, Qt::LeftButton, {}, QPoint(6, casilla->height() / 2));
    }
    static std::vector<std::string> entradas(QWidget* v) {
        auto* lista = hijo<QListWidget>(v, "lbCampos");
        std::vector<std::string> textos;
        for (int i = 0; i < lista->count(); ++i) {
            textos.push_back(desdeQString(lista->item(i)->text()));
        }
        return textos;
    }

    std::int64_t uno = 0;
};

TEST_F(FrmMultifacturas, defineGuardaRecargaYBorraConLosControlesReales) {
    mdiPrincipal principal(entorno.contexto());
    principal.show();
    frmMultifacturas* v = abrir(principal);
    ASSERT_NE(v, nullptr);
    for (const char* control : {"cmdAgregar", "cmdQuitar", "cmdAceptar", "cmdBorrar", "tbValor"}) {
        EXPECT_FALSE(v->findChild<QWidget*>(QString::fromLatin1(control))->isEnabled()) << control;
    }
    // The example the program ships is refused as soon as it is chosen; its rows cannot be typed.
    elegir(v, 0);
    EXPECT_EQ(mensajes(),
              (std::vector<std::string>{
                  "informacion: Esta plantilla no puede ser multifactura\r\nSeleccione otra plantilla"}));
    for (const char* control : {"cmdAgregar", "tbValor", "checkProgresion", "cmdAceptar"}) {
        EXPECT_FALSE(v->findChild<QWidget*>(QString::fromLatin1(control))->isEnabled()) << control;
    }
    EXPECT_TRUE(hijo<QPushButton>(v, "cmdBorrar")->isEnabled());
    elegir(v, 3);
    EXPECT_FALSE(hijo<QCheckBox>(v, "checkRef12")->isVisible());
    // The user's first own template, second in the list.
    elegir(v, 1);
    EXPECT_TRUE(hijo<QPushButton>(v, "cmdAceptar")->isEnabled());

    QTest::keyClicks(box(v, "tbValor"), "01");
    marcar(v, "checkImporte");
    pulsar(v, "cmdAgregar");
    QTest::keyClicks(box(v, "tbValor"), "02");
    marcar(v, "checkFechaVto");
    marcar(v, "checkProgresion");
    EXPECT_EQ(entradas(v), (std::vector<std::string>{"01", "02", "..."}));

    // Another window lists the templates meanwhile; this one still saves to the template it shows.
    QTimer::singleShot(0, &principal, [&] { pulsar(QApplication::activeModalWidget(), "cmdCerrar"); });
    hijo<QAction>(&principal, "opcEstructuras")->trigger();
    pulsar(v, "cmdAceptar");
    EXPECT_EQ(mensajes(), (std::vector<std::string>{
                              "informacion: La plantilla multifactura se ha guardado correctamente"}));
    // What the conversion reads of the template.
    const Plantilla guardada = leerPlantilla(*entorno.baseDatos, uno);
    EXPECT_TRUE(guardada.multifactura);
    std::vector<std::string> filas;
    for (const MultifacturaPlantilla& m : guardada.multifacturas) {
        filas.push_back(std::to_string(m.orden) + "#" + m.campos + "#" + m.valor + "#" +
                        std::to_string(m.inicio));
    }
    EXPECT_EQ(filas, (std::vector<std::string>{"0#Importe@SignoNegativo#01#1", "1#FechaVto#02#1"}));

    pulsar(v, "cmdCerrar");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    v = abrir(principal);
    ASSERT_NE(v, nullptr);
    elegir(v, 1);
    EXPECT_EQ(entradas(v), (std::vector<std::string>{"01", "...", "02"}));
    EXPECT_TRUE(hijo<QCheckBox>(v, "checkProgresion")->isChecked());

    entorno.avisos.respuestas = {true};
    pulsar(v, "cmdBorrar");
    EXPECT_EQ(mensajes(), (std::vector<std::string>{"pregunta: ¿Desea borrar la plantilla multifactura?"}));
    EXPECT_EQ(hijo<QComboBox>(v, "cbEstructura")->currentIndex(), 0);
    EXPECT_TRUE(leerPlantilla(*entorno.baseDatos, uno).multifacturas.empty());
    pulsar(v, "cmdCerrar");
}

// What the editor stores is what a conversion reads: the same-key norm 19 input, with its template's own
// definitions replaced by one typed here, gives the hand-written bank file and log.
TEST_F(FrmMultifacturas, lasDefinicionesGuardadasConviertenLaEntradaDeVariasFacturas) {
    const auto datos = [](const std::string& f) { return leerFichero(datosPrueba() / "multifactura" / f); };
    BaseDatos& bd = *entorno.baseDatos;
    bd.ejecutarScript(datos("plantillas.sql"));
    bd.ejecutarScript("DELETE FROM multifactura WHERE id_estructura = 200; "
                      "UPDATE estructura SET multifactura = 0 WHERE id_estructura = 200");
    mdiPrincipal principal(entorno.contexto());
    principal.show();
    frmMultifacturas* v = abrir(principal);
    ASSERT_NE(v, nullptr);
    elegir(v, hijo<QComboBox>(v, "cbEstructura")
                  ->findText(QStringLiteral("Facturas con la misma clave"), Qt::MatchStartsWith));
    QTest::keyClicks(box(v, "tbValor"), "001");
    marcar(v, "checkImporte");
    pulsar(v, "cmdAgregar");
    pulsar(v, "cmdAceptar");
    pulsar(v, "cmdCerrar");
    EXPECT_EQ(mensajes(), (std::vector<std::string>{
                              "informacion: La plantilla multifactura se ha guardado correctamente"}));

    const auto entrada = entorno.carpeta / "remesa.txt";
    escribirFichero(entrada, datos("csb19/entrada-C.txt"));
    Entorno e{bd, entorno.avisos, entorno.reloj, entorno.carpeta.ruta()};
    EXPECT_EQ(
        ejecutarModoLote(e, entorno.registro,
                         LeerParametros(entrada.string() + "," + (entorno.carpeta / "remesa.out").string() +
                                            ",200,200,05032026,200",
                                        10)),
        kSalidaConErrores);
    EXPECT_EQ(leerFichero(entorno.carpeta / "remesa.out"), datos("csb19/esperado.out"));
    EXPECT_EQ(leerFichero(entorno.carpeta / "remesa.log"), datos("csb19/esperado.log"));
}

} // namespace
} // namespace trovanel::pruebas
