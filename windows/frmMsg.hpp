#pragma once

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace trovanel {

struct ResultadoConversion;

// "Fin Proceso Trovanel": how the last interactive run ended, with its log on request. It fills itself
// from the run's outcome and its log when it is built, so build one after each run and exec() it.
class frmMsg : public QDialog {
    Q_OBJECT

public:
    // inicioEjecucion: where the run's blocks begin in the log. They are shown at once and the window
    // opens on them; the earlier runs come in above them a slice at a time, never freezing the window.
    // gMostrarResultado false: the window keeps its designed look, whatever the outcome.
    frmMsg(bool gMostrarResultado, const ResultadoConversion& resultado, QWidget* padre = nullptr,
           std::uintmax_t inicioEjecucion = 0);
    ~frmMsg() override;

    void cmdDetalles_Click();
    void cmdAceptar_Click();
    // Earlier runs of the log are still coming in.
    bool cargando() const;

private:
    void Form_Load(const ResultadoConversion& resultado);
    void cargarAnteriores();

    const bool gMostrarResultado_;
    // The run's error log, as the outcome names it.
    const std::filesystem::path log_;
    QLabel* labProcTerminado_;
    QPushButton* cmdDetalles_;
    QPushButton* cmdAceptar_;
    QListWidget* rtbFicheroLog_;
    // The earlier runs still to load, read from the log's start up to inicioEjecucion_.
    std::unique_ptr<std::ifstream> anteriores_;
    std::uintmax_t inicioEjecucion_;
    int cargadasAnteriores_ = 0;
    QTimer* carga_;
};

} // namespace trovanel
