#pragma once

#include "contexto_ventanas.hpp"
#include "modelo_entrada.hpp"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QWidget;

namespace trovanel {

class SolicitudDatosObligatorios;

// The conversion dialog: template, user, presenter or ordering party, issuer, input file, process date,
// and the run. It stays open after a run so that further runs can follow.
class frmEntrada : public QDialog {
    Q_OBJECT

public:
    explicit frmEntrada(ContextoVentanas contexto, SolicitudDatosObligatorios* solicitud = nullptr,
                        QWidget* padre = nullptr);
    ~frmEntrada() override;

    const ModeloEntrada& modelo() const { return modelo_; }

    void cbEstructura_Click();
    void cbUsuario_Click();
    void cbPresentador_Click();
    void cbHojaTabla_Click();
    void Image1_Click();
    void cmdProcesar_Click();
    void cmdMas_Click();
    void Command2_Click();

protected:
    bool event(QEvent* evento) override;
    // Shows the result window of a run; tests replace it so that no modal window waits for them.
    virtual void mostrarResultado(const ResultadoConversion& resultado);

private:
    void construir();
    QGroupBox* marcoPlantilla();
    QGroupBox* marcoUsuario();
    QHBoxLayout* filaFecha();
    void marcoCabecera();
    QGroupBox* marcoOrigen();
    QGroupBox* marcoDestino();
    QGroupBox* marcoHoja();
    QHBoxLayout* filaBotonesEntrada();
    void construirRejillas();
    void rellenarPresentadores(const std::vector<ParteEntrada>& partes);
    void rellenarEmisores(const std::vector<ParteEntrada>& emisores);
    void aplicarVisibilidad(const VisibilidadFamilia& visibilidad);
    void estrechar();
    void gidPresentadorFilaPulsada(int fila);
    void gridEmisorFilaPulsada(int fila);
    SeleccionEntrada seleccionActual() const;

    ContextoVentanas contexto_;
    SolicitudDatosObligatorios* solicitud_;
    ModeloEntrada modelo_;

    QComboBox* cbEstructura_ = nullptr;
    QComboBox* cbUsuario_ = nullptr;
    QComboBox* cbPresentador_ = nullptr;
    QComboBox* cbEmisor_ = nullptr;
    QLabel* labPresentador_ = nullptr;
    QLabel* labOrdenante_ = nullptr;
    QLabel* LabEmisor_ = nullptr;
    QGroupBox* framePresentador_ = nullptr;
    QTableWidget* gidPresentador_ = nullptr;
    QGroupBox* frameEmisor_ = nullptr;
    QTableWidget* gridEmisor_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLineEdit* tbDia_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLineEdit* tbMes_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLineEdit* tbAnio_ = nullptr;
    QGroupBox* Frame4_ = nullptr;
    QLabel* Label6_ = nullptr;
    QLabel* Label7_ = nullptr;
    QLabel* Label8_ = nullptr;
    QButtonGroup* DetalleCargo_ = nullptr;
    QRadioButton* DetalleCargo0_ = nullptr;
    QRadioButton* DetalleCargo1_ = nullptr;
    QLineEdit* tbDomicilioOrdenante_ = nullptr;
    QLineEdit* tbPlazaOrdenante_ = nullptr;
    QLineEdit* tbEntrada_ = nullptr;
    QPushButton* Image1_ = nullptr;
    QLineEdit* tbSalida_ = nullptr;
    QLabel* labHojaTabla_ = nullptr;
    QComboBox* cbHojaTabla_ = nullptr;
    QPushButton* cmdProcesar_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* cmdMas_ = nullptr;
    QWidget* panelRejillas_ = nullptr;
    // Where this run's blocks begin in the error log: the result window opens there.
    std::uintmax_t inicioLog_ = 0;
};

} // namespace trovanel
