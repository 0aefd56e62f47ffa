#pragma once

#include "contexto_ventanas.hpp"

#include <QDialog>

#include <filesystem>

class QLabel;
class QLineEdit;
class QPushButton;

namespace trovanel {

// "Importar Fichero de Cuentas": adds the parties of the bank's accounts file. A thin view over
// parties/importacion_cuentas.
class frmImpFichCue : public QDialog {
    Q_OBJECT
public:
    explicit frmImpFichCue(ContextoVentanas contexto, QWidget* padre = nullptr);

    void Image1_Click();
    void cmdProcesar_Click();
    void Command2_Click();

private:
    ContextoVentanas contexto_;
    std::filesystem::path mFicheroCuentas;

    QLineEdit* tbEntrada_;
    QPushButton* cmdProcesar_;
    QLabel* Label1_;
};

} // namespace trovanel
