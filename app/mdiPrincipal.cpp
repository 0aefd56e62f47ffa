#include "mdiPrincipal.hpp"

#include <QMdiArea>

namespace trovanel {

mdiPrincipal::mdiPrincipal(QWidget* padre) : QMainWindow(padre), area_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("mdiPrincipal"));
    setWindowTitle(QStringLiteral("Trovanel Ver " TROVANEL_VERSION));
    setCentralWidget(area_);
    resize(900, 650);
}

} // namespace trovanel
