#pragma once

#include "contexto_ventanas.hpp"
#include "multifacturas.hpp"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace trovanel {

// "Multifacturas": which input lines of a template are invoice lines and which fields they carry. A
// modeless window, a thin view over EditorMultifacturas: before each handler the boxes are read into the
// model, after it the model is shown.
class frmMultifacturas : public QDialog {
    Q_OBJECT
public:
    explicit frmMultifacturas(ContextoVentanas contexto, QWidget* padre = nullptr);

    const EditorMultifacturas& modelo() const { return modelo_; }

    void cbEstructura_Click(int posicion);
    void lbCampos_Click(int posicion);
    void cmdAgregar_Click();
    void cmdQuitar_Click();
    void Command1_Click();
    void Command2_Click();
    void checkProgresion_Click(bool marcada);
    void cmdAceptar_Click();
    void cmdBorrar_Click();
    void cmdCerrar_Click();

private:
    // The window's panels, each with its controls' handlers connected.
    QGroupBox* marcoPlantilla();
    QGroupBox* marcoOrden();
    QGridLayout* filaValor();
    QGroupBox* marcoCampos();
    QHBoxLayout* filaBotonesMultifacturas();
    void leerCajas();
    void mostrar();

    EditorMultifacturas modelo_;
    QComboBox* cbEstructura_;
    QListWidget* lbCampos_;
    QLineEdit* tbValor_;
    std::array<QCheckBox*, kCasillas> casillas_{};
    QCheckBox* checkProgresion_;
    // Usable only once a template that may be multi-invoice is chosen.
    std::vector<QWidget*> conPlantilla_;
    // Usable once any template is chosen.
    QPushButton* cmdBorrar_;
};

} // namespace trovanel
