#include "frmAcercade.hpp"

#include "controles.hpp"
#include "icono_programa.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trovanel {

frmAcercade::frmAcercade(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAcercade"));
    setWindowTitle(QStringLiteral("Acerca de ..."));

    auto* imagen = nombrado(new QLabel(this), "imgLogo");
    imagen->setPixmap(iconoPrograma().pixmap(48, 48));
    imagen->setAlignment(Qt::AlignTop);

    auto* producto = etiqueta("lblProducto", "Trovanel", this);
    negrita(producto);
    QFont letra = producto->font();
    letra.setPointSizeF(letra.pointSizeF() * 1.6);
    producto->setFont(letra);

    auto* version = etiqueta("lblVersion", "Versión " TROVANEL_VERSION, this);
    auto* descripcion = etiqueta("lblDescripcion", "Ficheros de remesas bancarias en formato CSB", this);

    auto* cmdAceptar = boton("cmdAceptar", "&Cerrar", this);
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
