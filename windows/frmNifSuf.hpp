#pragma once

#include "contexto_ventanas.hpp"
#include "controles.hpp"
#include "partes.hpp"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trovanel {

// "Mantenimiento de Cabeceras (Cobros)": the presenters of collection files and their issuers. A thin
// view over parties/: the rules and the writes live there.
class frmNifSuf : public QDialog {
    Q_OBJECT
public:
    explicit frmNifSuf(ContextoVentanas contexto, QWidget* padre = nullptr);

    void CargarUsuarios();
    void cbUsuarios_Click();
    void cbNombrePre_Click();
    void cbNombreEmi_Click();
    void cmdAceptar_Click();
    void cmdAlta_Click();
    void cmdAnadir_Click();
    void cmdBajaEmisor_Click();
    void cmdBajaPresentador_Click();
    void cmdCancelar_Click();

    bool modificado() const { return mModificado; }

private:
    QGroupBox* construirPresentador();
    QPushButton* construirAlta();
    void vaciar(std::initializer_list<QLineEdit*> cajas);

    ContextoVentanas contexto_;
    // The frame "frameEmisor": the chosen party and its account.
    PanelCuenta cuenta_;
    bool mModificado = false;
    std::string mTipo = kTipoCobros;

    QComboBox* cbUsuarios_;
    QComboBox* cbNombrePre_;
    QLineEdit* tbNifPre_;
    QLineEdit* tbSufPre_;
    QLineEdit* tbIdPre_;
    QLineEdit* tbCSB_;
    QPushButton* cmdBajaPresentador_;
    QWidget* panelAlta_;
    QRadioButton* Option1_0_;
    QRadioButton* Option1_1_;
    QButtonGroup* Option1_;
    QLineEdit* tbAltaNombrePre_;
    QLineEdit* tbAltaNifPre_;
    QLineEdit* tbAltaSufPre_;
    QLineEdit* tbAltaNombreEmi_;
    QLineEdit* tbAltaNifEmi_;
    QLineEdit* tbAltaSufEmi_;
    QLineEdit* tbAltaOficinaEmi_;
    QLineEdit* tbAltaDC_;
    QLineEdit* tbAltaCuentaEmi_;
};

} // namespace trovanel
