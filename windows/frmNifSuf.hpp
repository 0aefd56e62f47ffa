#pragma once

#include "ventana_partes.hpp"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trovanel {

// "Mantenimiento de Cabeceras (Cobros)": the presenters of collection files and their issuers. A thin
// view over parties/: the rules and the writes live there.
class frmNifSuf : public VentanaPartes {
    Q_OBJECT
public:
    explicit frmNifSuf(ContextoVentanas contexto, QWidget* padre = nullptr);

    void cbNombrePre_Click();
    void cbNombreEmi_Click();
    void cmdAceptar_Click();
    void cmdAnadir_Click();
    void cmdBajaEmisor_Click();
    void cmdBajaPresentador_Click();

protected:
    // The presenters; their issuers follow the chosen one.
    void mostrarPartes(const std::vector<ParteEntrada>& partes) override;

private:
    QGroupBox* construirPresentador();
    QPushButton* construirAlta();

    QComboBox* cbNombrePre_;
    QLineEdit* tbNifPre_;
    QLineEdit* tbSufPre_;
    QLineEdit* tbIdPre_;
    QLineEdit* tbCSB_;
    QRadioButton* Option1_0_;
    QRadioButton* Option1_1_;
    QButtonGroup* Option1_;
    QLineEdit* tbAltaNombrePre_;
    QLineEdit* tbAltaNifPre_;
    QLineEdit* tbAltaSufPre_;
};

} // namespace trovanel
