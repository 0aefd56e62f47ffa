#pragma once

#include <QDialog>

namespace trovanel {

// "Acerca de ...": the product's name and version.
class frmAcercade : public QDialog {
    Q_OBJECT

public:
    explicit frmAcercade(QWidget* padre = nullptr);

    void cmdAceptar_Click();
};

} // namespace trovanel
