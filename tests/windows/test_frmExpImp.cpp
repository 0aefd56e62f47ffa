#include "controles.hpp"
#include "frmExpImp.hpp"
#include "mdiPrincipal.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace trovanel::pruebas {
namespace {

namespace fs = std::filesystem;

class FrmExpImp : public PruebaVentana {
protected:
    FrmExpImp() { std::ofstream(entorno.carpeta / "config.ini") << ""; }

    // Opens the window from its menu entry and runs guion inside it; the window must have closed after.
    void desdeElMenu(const char* opcion, const std::function<void(QWidget&)>& guion) {
        mdiPrincipal principal(entorno.contexto());
        bool visto = false;
        QTimer::singleShot(0, &principal, [&] {
            auto* ventana = qobject_cast<frmExpImp*>(QApplication::activeModalWidget());
            ASSERT_NE(ventana, nullptr);
            visto = true;
            guion(*ventana);
            if (ventana->isVisible()) {
                ADD_FAILURE() << "la ventana sigue abierta";
                ventana->reject();
            }
        });
        hijo<QAction>(&principal, opcion)->trigger();
        EXPECT_TRUE(visto);
    }
    fs::path golden() const { return datosPrueba() / "intercambio" / "plantilla.txt"; }
};

TEST_F(FrmExpImp, importaElFicheroYLoExportaIgualALaRutaEscritaEnLaCaja) {
    desdeElMenu("opcImpEst", [&](QWidget& v) {
        EXPECT_FALSE(hijo<QComboBox>(&v, "cbEstructura")->isVisible());
        EXPECT_FALSE(hijo<QPushButton>(&v, "cmdProcesar")->isEnabled());
        entorno.selector.respuestas = {golden()};
        pulsar(&v, "Image1");
        pulsar(&v, "cmdProcesar");
    });
    const fs::path destino = entorno.carpeta / "exportada.txt";
    desdeElMenu("opcExpEst", [&](QWidget& v) {
        EXPECT_EQ(desdeQString(v.windowTitle()), "Exportar Plantilla");
        auto* combo = hijo<QComboBox>(&v, "cbEstructura");
        EXPECT_EQ(textos(combo),
                  (std::vector<std::string>{"Ejemplo CSB19 (CSB19)", "Pagos (2003) (Pagos Certificados)"}));
        EXPECT_EQ(combo->currentIndex(), -1);
        // The save dialog fills the box; what the user then types there is where the file goes.
        entorno.selector.respuestas = {entorno.carpeta / "elegida.txt"};
        pulsar(&v, "Image2");
        EXPECT_TRUE(hijo<QPushButton>(&v, "cmdProcesar")->isEnabled());
        box(&v, "tbSalida")->clear();
        QTest::keyClicks(box(&v, "tbSalida"), textoRuta(destino));
        combo->showPopup();
        QAbstractItemView* vista = combo->view();
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {},
                          vista->visualRect(vista->model()->index(1, 0)).center());
        pulsar(&v, "cmdProcesar");
    });
    // The description and the multi-invoice identifiers were imported trimmed.
    EXPECT_EQ(leerFichero(destino), leerFichero(datosPrueba() / "intercambio" / "plantilla-importada.txt"));
    EXPECT_FALSE(fs::exists(entorno.carpeta / "elegida.txt"));
    EXPECT_EQ(mensajes(), (std::vector<std::string>{"informacion: Importación realizada correctamente",
                                                    "informacion: Exportación realizada correctamente"}));
}

} // namespace
} // namespace trovanel::pruebas
