#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace trovanel {

struct EstadoEjecucion;

// "Fin Proceso Trovanel": how the last interactive run ended, with its log on request. It fills itself
// from the run state when it is built, so build one after each run and exec() it.
class frmMsg : public QDialog {
    Q_OBJECT

public:
    explicit frmMsg(EstadoEjecucion& estado, QWidget* padre = nullptr);

    void cmdDetalles_Click();
    void cmdAceptar_Click();

private:
    void Form_Load();

    EstadoEjecucion& estado_;
    QLabel* labProcTerminado_;
    QPushButton* cmdDetalles_;
    QPushButton* cmdAceptar_;
    QListWidget* rtbFicheroLog_;
};

} // namespace trovanel
