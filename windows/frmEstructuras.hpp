#pragma once

#include "contexto_ventanas.hpp"
#include "editor_plantilla.hpp"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace trovanel {

// The three template editors, one window by input kind: "Mantenimiento de Plantillas" (frmEstructuras,
// text files), "Estructuras Excel" (frmEstructurasExcel) and "Estructuras Access" (frmEstructurasAccess).
// A thin view over EditorPlantilla: before each handler the boxes are read into the model, after it the
// model is shown.
class frmEstructuras : public QDialog {
    Q_OBJECT
public:
    frmEstructuras(ContextoVentanas contexto, TipoEntrada entrada, QWidget* padre = nullptr);
    ~frmEstructuras() override;

    const EditorPlantilla& modelo() const { return modelo_; }

    void cbEstructuras_Click();
    void lbCampos_Click(int fila);
    void lbCamposAgregados_Click(int fila);
    void cmdAgregar_Click();
    void Command3_Click();
    void cmdTodos_Click();
    void cmdAceptar_Click();
    void cmdBorrar_Click();
    void cmdCerrar_Click();
    void Image1_Click();
    void cbHojas_Click();
    void GridExcel_SeleccionCelda(int fila, int columna);
    void cbTablas_Click();
    void cbCampos_Click();

    void done(int resultado) override;
    // Escape and the window's close box: with changes not yet stored, the user is asked first.
    void reject() override;
    // The template in hand or the boxes differ from what was last loaded or stored.
    bool hayCambiosSinGuardar() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QGroupBox* construirPlantilla();
    QHBoxLayout* construirListas();
    QGroupBox* construirIdentificador(QGroupBox*& frameLinea);
    QGroupBox* construirLinea();
    void filasValores(QFormLayout* identificador, QGroupBox* marcoCampo);
    QGroupBox* construirOrigen();
    QTableWidget* construirRejillaExcel();
    void leerCajas();
    void mostrar();
    void mostrarListas();
    void mostrarOrigen();
    std::vector<std::string> textoCajas() const;
    // The boxes as the template showed them, after a handler that loads, stores or shows a field.
    void tomarReferencia();

    ContextoVentanas contexto_;
    EditorPlantilla modelo_;
    std::uint64_t versionMostrada_ = 0;
    std::vector<std::vector<std::string>> vistaMostrada_;
    std::vector<std::string> cajasReferencia_;
    // A mouse press on the placed list is taken by its own handler, not as a change of entry.
    bool enPulsacion_ = false;

    QComboBox* cbEstructuras_;
    QLineEdit* tbNombreEstruc_;
    QLineEdit* tbIdEmi_;
    QListWidget* lbCampos_;
    QListWidget* lbCamposAgregados_;
    QPushButton* cmdBorrar_;
    QLineEdit* tbIniCampo_ = nullptr;
    QLineEdit* tbFinCampo_ = nullptr;
    QLineEdit* tbLongitud_ = nullptr;
    QLineEdit* tbIniLinea_ = nullptr;
    QLineEdit* tbFinLinea_ = nullptr;
    QLineEdit* tbValLinea_ = nullptr;
    QCheckBox* cIdenPrinLinea_ = nullptr;
    QLineEdit* tbColumna_ = nullptr; // tbCol or tbCampo
    QLineEdit* tbValNegativo_;
    QLineEdit* tbNegativo_;
    QLabel* labValorNegativo_;
    QLabel* labSigno_;
    QLabel* labFecha_;
    QComboBox* cbFecha_;
    std::vector<QWidget*> formasPago_;
    QLineEdit* tbIdCheque_;
    QLineEdit* tbIdTransf_;
    QLineEdit* tbIdPagoCertif_;
    QLineEdit* tbRuta_ = nullptr; // tbLibro or tbBD
    QComboBox* cbHojas_ = nullptr;
    QTableWidget* GridExcel_ = nullptr;
    QComboBox* cbTablas_ = nullptr;
    QComboBox* cbCampos_ = nullptr;
};

} // namespace trovanel
