#include "icono_programa.hpp"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace trovanel {

QIcon iconoPrograma() {
    // Drawn here rather than by an icon plugin, which a desktop may lack.
    QSvgRenderer dibujo(QStringLiteral(":/trovanel/trovanel.svg"));
    QIcon icono;
    if (!dibujo.isValid()) {
        return icono;
    }
    for (const int lado : {16, 22, 24, 32, 48, 64, 128}) {
        QPixmap imagen(lado, lado);
        imagen.fill(Qt::transparent);
        QPainter pintor(&imagen);
        dibujo.render(&pintor);
        pintor.end();
        icono.addPixmap(imagen);
    }
    return icono;
}

void presentarAplicacion() {
    QGuiApplication::setWindowIcon(iconoPrograma());
    QGuiApplication::setDesktopFileName(QStringLiteral("trovanel"));
}

} // namespace trovanel
