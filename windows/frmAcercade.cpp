#include "frmAcercade.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace trovanel {

frmAcercade::frmAcercade(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAcercade"));
    setWindowTitle(QStringLiteral("Acerca de ..."));

    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("imgLogo"));
    imagen->setPixmap(style()->standardIcon(QStyle::SP_DriveFDIcon).pixmap(48, 48));
    imagen->setAlignment(Qt::AlignTop);

    auto* producto = new QLabel(QStringLiteral("Trovanel"), this);
    producto->setObjectName(QStringLiteral("lblProducto"));
    QFont letra = producto->font();
    letra.setBold(true);
    letra.setPointSizeF(letra.pointSizeF() * 1.6);
    producto->setFont(letra);

    auto* version = new QLabel(QStringLiteral("Versión ") + QStringLiteral(TROVANEL_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* descripcion = new QLabel(QStringLiteral("Ficheros de remesas bancarias en formato CSB"), this);
    descripcion->setObjectName(QStringLiteral("lblDescripcion"));

    auto* cmdAceptar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmAcercade::cmdAceptar_Click);

    auto* textos = new QVBoxLayout;
    textos->addWidget(producto);
    textos->addWidget(version);
    textos->addWidget(descripcion);
    textos->addStretch();
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(imagen);
    arriba->addSpacing(12);
    arriba->addLayout(textos, 1);
    auto* abajo = new QHBoxLayout;
    abajo->addStretch();
    abajo->addWidget(cmdAceptar);

    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addLayout(abajo);
    capa->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAcercade::cmdAceptar_Click() {
    close();
}

} // namespace trovanel
