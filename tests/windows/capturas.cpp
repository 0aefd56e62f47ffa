// The pictures of the manual (docs/): with TROVANEL_CAPTURAS naming a folder, the windows are drawn into
// it as a user first sees them; without it there is nothing to do.
//   TROVANEL_CAPTURAS=docs build/tests/pruebas_windows --gtest_filter='*.Capturas'

#include "entradas_filas.hpp"
#include "frmEstructuras.hpp"
#include "frmNifSuf.hpp"
#include "frmNifSufPagos.hpp"
#include "soporte_ventanas.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace trovanel::pruebas {
namespace {

void guardar(QWidget& ventana, const char* nombre) {
    QApplication::processEvents();
    const std::filesystem::path carpeta = std::getenv("TROVANEL_CAPTURAS");
    EXPECT_TRUE(ventana.grab().save(QString::fromStdString((carpeta / nombre).string()), "PNG")) << nombre;
}

void elegirCampoFecha(QWidget& ventana) {
    auto* campos = hijo<QListWidget>(&ventana, "lbCampos");
    campos->setCurrentItem(campos->findItems(QStringLiteral("FechaVto"), Qt::MatchContains).value(0));
}

TEST_F(PruebaVentana, Capturas) {
    if (std::getenv("TROVANEL_CAPTURAS") == nullptr) {
        GTEST_SKIP() << "TROVANEL_CAPTURAS no indica carpeta";
    }
    {
        // The example template, its amount placed at 73-84 of recibos.txt.
        frmEstructuras ventana(entorno.contexto(), TipoEntrada::Texto);
        ventana.show();
        auto* plantillas = hijo<QComboBox>(&ventana, "cbEstructuras");
        plantillas->setFocus();
        while (plantillas->currentText() != QStringLiteral("Ejemplo CSB19") &&
               plantillas->currentIndex() + 1 < plantillas->count()) {
            QTest::keyClick(plantillas, Qt::Key_Down);
        }
        auto* tratados = hijo<QListWidget>(&ventana, "lbCamposAgregados");
        const QListWidgetItem* importe =
            tratados->findItems(QStringLiteral("-Importe"), Qt::MatchContains).value(0);
        ASSERT_NE(importe, nullptr);
        QTest::mouseClick(tratados->viewport(), Qt::LeftButton, {},
                          tratados->visualItemRect(importe).center());
        EXPECT_EQ(hijo<QLineEdit>(&ventana, "tbIniCampo")->text(), QStringLiteral("73"));
        EXPECT_EQ(hijo<QLineEdit>(&ventana, "tbFinCampo")->text(), QStringLiteral("84"));
        guardar(ventana, "editor-plantillas-texto.png");
    }
    {
        const std::filesystem::path libro = entorno.carpeta / "recibos.xlsx";
        escribirHojaXlsx(
            libro, "Recibos",
            {{"Referencia", "Titular", "Entidad", "Oficina", "DC", "Cuenta", "Importe", "Concepto"},
             {"REC-2026-001", "GARCIA MARTIN LUCIA", "8642", "0101", "16", "3000000101", "125,50",
              "CUOTA MENSUAL MARZO 2026"},
             {"REC-2026-002", "FERNANDEZ RUIZ PABLO", "8642", "0202", "84", "3000000202", "60,00",
              "CUOTA MENSUAL MARZO 2026"},
             {"REC-2026-003", "LOPEZ SANCHEZ MARTA", "8642", "0303", "62", "3000000303", "1.250,00",
              "MATRICULA CURSO 2026"}});
        frmEstructuras ventana(entorno.contexto(), TipoEntrada::Excel);
        ventana.show();
        entorno.selector.respuestas = {libro};
        pulsar(&ventana, "Image1");
        elegirCampoFecha(ventana);
        guardar(ventana, "editor-plantillas-excel.png");
    }
    {
        frmEstructuras ventana(entorno.contexto(), TipoEntrada::Access);
        ventana.show();
        guardar(ventana, "editor-plantillas-access.png");
    }
    {
        frmNifSuf ventana(entorno.contexto());
        ventana.show();
        pulsar(&ventana, "cmdAlta");
        guardar(ventana, "cabeceras-cobros.png");
    }
    {
        frmNifSufPagos ventana(entorno.contexto());
        ventana.show();
        guardar(ventana, "cabeceras-pagos.png");
    }
}

} // namespace
} // namespace trovanel::pruebas
