#pragma once

#include <QDialog>

#include <cstdint>
#include <filesystem>

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
    // inicioEjecucion: where the run's blocks begin in the log. Nothing of the log is read until
    // "Detalles" asks for it; then the list opens on the run's blocks and the earlier runs come in above
    // them a slice at a time, never freezing the window. The list reads the log only where it is looked
    // at, and lets it go when the window closes.
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
    void Form_Load(const ResultadoConversion& resultado);
    void cargarAnteriores();

    const bool gMostrarResultado_;
    // The run's error log, as the outcome names it.
    const std::filesystem::path log_;
    QLabel* labProcTerminado_;
    QPushButton* cmdDetalles_;
    QPushButton* cmdAceptar_;
    VistaLog* rtbFicheroLog_;
    ModeloLog* modelo_;
    // The run's outcome asks for its log to be listed.
    bool conLog_ = false;
    std::uintmax_t inicioEjecucion_;
    QTimer* carga_;
};

} // namespace trovanel
