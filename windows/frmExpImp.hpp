#pragma once

#include "contexto_ventanas.hpp"

#include <QDialog>

#include <filesystem>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace trovanel {

// "Exportar Plantilla" / "Importar Plantilla": one window for both directions of the template exchange
// file; the menu entry puts the mode ("EXP" or "IMP") into the hidden box tbTipo before showing it.
class frmExpImp : public QDialog {
    Q_OBJECT
public:
    explicit frmExpImp(ContextoVentanas contexto, QWidget* padre = nullptr);

    void setTipo(const char* tipo);

    void Form_Activate();
    void Image1_Click();
    void Image2_Click();
    void cmdProcesar_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    bool exportar() const;
    void llenarPlantillas();

    ContextoVentanas contexto_;
    std::filesystem::path mFicheroOrigen;
    QLineEdit* tbTipo_;
    QLabel* Label1_;
    QComboBox* cbEstructura_;
    QGroupBox* FrameExp_;
    QLineEdit* tbSalida_;
    QGroupBox* FrameImp_;
    QLineEdit* tbEntrada_;
    QPushButton* cmdProcesar_;
};

} // namespace trovanel
