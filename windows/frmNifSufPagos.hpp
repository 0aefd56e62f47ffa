#pragma once

#include "contexto_ventanas.hpp"
#include "controles.hpp"
#include "partes.hpp"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace trovanel {

// "Mantenimiento de Cabeceras (Pagos)": the ordering parties of payment files and the users' links to
// them. A thin view over parties/: the rules and the writes live there.
class frmNifSufPagos : public QDialog {
    Q_OBJECT
public:
    explicit frmNifSufPagos(ContextoVentanas contexto, QWidget* padre = nullptr);

    void CargarUsuarios();
    void cbUsuarios_Click();
    void cbNombreEmi_Click();
    void cmdAceptar_Click();
    void cmdAlta_Click();
    void cmdAnadir_Click();
    void cmdBaja_Click();
    void cmdCancelar_Click();

    bool modificado() const { return mModificado; }

private:
    QPushButton* construirAlta();

    ContextoVentanas contexto_;
    // The frame "frameEmisor": the chosen party and its account.
    PanelCuenta cuenta_;
    bool mModificado = false;
    std::string mTipo = kTipoPagos;

    QComboBox* cbUsuarios_;
    QPushButton* cmdBaja_;
    QGroupBox* Frame1_;
    QLineEdit* tbAltaNombre_;
    QLineEdit* tbAltaNif_;
    QLineEdit* tbAltaOficina_;
    QLineEdit* tbAltaDC_;
    QLineEdit* tbAltaCuenta_;
};

} // namespace trovanel
