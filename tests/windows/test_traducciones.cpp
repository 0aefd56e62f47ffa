#include "servicios_qt.hpp"
#include "soporte_pruebas.hpp"
#include "traducciones.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

// The accelerator mark is Qt's choice, not part of the word.
QString sinAcelerador(QString texto) {
    return texto.remove(u'&');
}

// Qt in Spanish; other tests see Qt as it was: deleting the translator uninstalls it.
class Traducciones : public ::testing::Test {
protected:
    void SetUp() override {
        traductor.reset(cargarTraduccionesQt(*QCoreApplication::instance()));
        ASSERT_NE(traductor, nullptr) << "falta qtbase_es.qm (paquete qt6-translations-l10n)";
    }
    ~Traducciones() override { QLocale::setDefault(anterior); }

    const QLocale anterior;
    std::unique_ptr<QTranslator> traductor;
};

TEST_F(Traducciones, losBotonesEstandarYElDialogoDeFicherosHablanEspanol) {
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 7), QStringLiteral("d MMM")), QStringLiteral("7 dic"));

    QDialogButtonBox caja(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                          QDialogButtonBox::No);
    const std::vector<std::pair<QDialogButtonBox::StandardButton, QString>> botones = {
        {QDialogButtonBox::Ok, QStringLiteral("Aceptar")},
        {QDialogButtonBox::Cancel, QStringLiteral("Cancelar")},
        {QDialogButtonBox::Yes, QStringLiteral("Sí")},
        {QDialogButtonBox::No, QStringLiteral("No")},
    };
    for (const auto& [boton, texto] : botones) {
        EXPECT_EQ(sinAcelerador(caja.button(boton)->text()), texto);
    }
    QFileDialog dialogo;
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    auto* buscarEn = dialogo.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(buscarEn, nullptr);
    EXPECT_EQ(sinAcelerador(buscarEn->text()), QStringLiteral("Ver en:"));
}

// Every text the file dialog shows: captions, tips, list entries, column titles, the rows of the folder
// in view and its menu's entries.
QStringList textosVisibles(QFileDialog& dialogo) {
    QStringList textos;
    for (auto* etiqueta : dialogo.findChildren<QLabel*>()) {
        textos << etiqueta->text();
    }
    for (auto* boton : dialogo.findChildren<QAbstractButton*>()) {
        textos << sinAcelerador(boton->text()) << boton->toolTip();
    }
    for (auto* combo : dialogo.findChildren<QComboBox*>()) {
        for (int i = 0; i < combo->count(); ++i) {
            textos << combo->itemText(i);
        }
    }
    for (auto* accion : dialogo.findChildren<QAction*>()) {
        textos << sinAcelerador(accion->text());
    }
    for (auto* vista : dialogo.findChildren<QTreeView*>()) {
        const QAbstractItemModel* modelo = vista->model();
        for (int c = 0; c < modelo->columnCount(vista->rootIndex()); ++c) {
            textos << modelo->headerData(c, Qt::Horizontal).toString();
            for (int f = 0; f < modelo->rowCount(vista->rootIndex()); ++f) {
                textos << modelo->index(f, c, vista->rootIndex()).data().toString();
            }
        }
    }
    textos.removeAll(QString());
    return textos;
}

TEST_F(Traducciones, elDialogoDeFicherosNoDejaPalabrasEnIngles) {
    pruebas::CarpetaTemporal carpeta;
    std::filesystem::create_directory(carpeta / "remesas");
    std::ofstream(carpeta / "remesas_de_diciembre_de_construcciones_del_norte.sqlite3") << "x";
    std::ofstream(carpeta / "recibos.txt") << "x";
    const std::unique_ptr<QFileDialog> dialogo = crearDialogoFicheros(
        nullptr, QStringLiteral("Abrir"), QFile::decodeName(carpeta.ruta().c_str()),
        filtroQt("Base de datos de Access (*.mdb *.accdb *.db *.sqlite *.sqlite3)"), QFileDialog::AcceptOpen);
    dialogo->setOption(QFileDialog::DontUseNativeDialog);
    dialogo->setViewMode(QFileDialog::Detail);
    dialogo->show();
    auto* vista = dialogo->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(vista, nullptr);
    // The folder is listed by a thread of Qt's: its two entries (the folder, the database) must show.
    ASSERT_TRUE(QTest::qWaitFor([&] { return vista->model()->rowCount(vista->rootIndex()) >= 2; }, 5000))
        << vista->model()->rowCount(vista->rootIndex());
    QApplication::processEvents();
    // Words Qt leaves in English where its Spanish catalogue lacks them.
    static const QRegularExpression kIngles(QStringLiteral(
        "\\b(Folder|Drive|File|Shortcut|Unknown|Computer|Name|Size|Type|Kind|Date Modified|Look in|Open|"
        "Cancel|Back|Forward|Parent Directory|New Folder|Detail View|List View|Rename|Delete)\\b"));
    const QStringList textos = textosVisibles(*dialogo);
    EXPECT_TRUE(textos.contains(QStringLiteral("Carpeta"))) << textos.join(u'|').toStdString();
    EXPECT_EQ(textos.filter(kIngles).join(u'|').toStdString(), "");
    // Each kind of database under its own name.
    auto* tipos = dialogo->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(tipos, nullptr);
    EXPECT_EQ(tipos->itemText(1).toStdString(), "Base de datos de Access (*.mdb *.accdb)");
    EXPECT_EQ(tipos->itemText(2).toStdString(), "Base de datos SQLite (*.db *.sqlite *.sqlite3)");
    // A long name is read whole in its column.
    EXPECT_GE(vista->columnWidth(0), vista->fontMetrics().horizontalAdvance(QStringLiteral(
                                         "remesas_de_diciembre_de_construcciones_del_norte.sqlite3")));
}

} // namespace
} // namespace trovanel
