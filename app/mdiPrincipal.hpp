#pragma once

#include <QMainWindow>

class QMdiArea;

namespace trovanel {

// The program's main window: the frame that every other window opens in.
class mdiPrincipal : public QMainWindow {
public:
    explicit mdiPrincipal(QWidget* padre = nullptr);

private:
    QMdiArea* area_;
};

} // namespace trovanel
