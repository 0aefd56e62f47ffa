#include "traducciones.hpp"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

// The accelerator mark is Qt's choice, not part of the word.
QString sinAcelerador(QString texto) {
    return texto.remove(u'&');
}

struct Restaurar {
    QLocale local;
    std::unique_ptr<QTranslator> traductor;
    ~Restaurar() { QLocale::setDefault(local); }
};

TEST(Traducciones, losBotonesEstandarYElDialogoDeFicherosHablanEspanol) {
    const QLocale anterior;
    QTranslator* traductor = cargarTraduccionesQt(*QCoreApplication::instance());
    ASSERT_NE(traductor, nullptr) << "falta qtbase_es.qm (paquete qt6-translations-l10n)";
    // Other tests see Qt as it was; deleting the translator uninstalls it.
    const Restaurar alTerminar{anterior, std::unique_ptr<QTranslator>(traductor)};
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

} // namespace
} // namespace trovanel
