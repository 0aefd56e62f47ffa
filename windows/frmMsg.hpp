#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

namespace trovanel {

class ModeloLog;
struct ResultadoConversion;
class VistaLog;

// "Fin Proceso Trovanel": how the last interactive run ended, with its log on request. It fills itself
// from the run's outcome and its log when it is built, so build one after each run and exec() it.
class frmMsg : public QDialog {
    Q_OBJECT

public:
    // inicioEjecucion: where the run's blocks begin in the log. The log is opened here but nothing of it
    // is read until "Detalles" asks for it; then the list opens on the run's blocks and the earlier runs
    // come in above them a slice at a time, never freezing the window. The list reads the log only where
    // it is looked at, and lets it go when the window closes.
    // gMostrarResultado false: the window keeps its designed look, whatever the outcome.
    frmMsg(bool gMostrarResultado, const ResultadoConversion& resultado, QWidget* padre = nullptr,
           std::uintmax_t inicioEjecucion = 0);
    ~frmMsg() override;

    void cmdDetalles_Click();
    void cmdAceptar_Click();
    // Earlier runs of the log are still coming in.
    bool cargando() const;
    void done(int resultado) override;

private:
    void Form_Load(const ResultadoConversion& resultado, std::uintmax_t inicioEjecucion);
    void cargarAnteriores();

    const bool gMostrarResultado_;
    QLabel* labProcTerminado_;
    QPushButton* cmdDetalles_;
    QPushButton* cmdAceptar_;
    VistaLog* rtbFicheroLog_;
    ModeloLog* modelo_;
    // The log is open, its lines not listed yet.
    bool conLog_ = false;
    QTimer* carga_;
};

} // namespace trovanel
