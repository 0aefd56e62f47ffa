#include "frmMsg.hpp"

#include "controles.hpp"
#include "estado_ejecucion.hpp"
#include "lector_lineas.hpp"
#include "texto_qt.hpp"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <system_error>

namespace trovanel {

namespace {

const QColor kAzul(0, 0, 255);
const QColor kRojo(255, 0, 0);
const QString kTerminado = QStringLiteral("Proceso terminado");
const QString kIncorrectamente = QStringLiteral(" incorrectamente");

} // namespace

frmMsg::frmMsg(EstadoEjecucion& estado, QWidget* padre)
    : QDialog(padre), estado_(estado),
      labProcTerminado_(etiqueta(QStringLiteral("labProcTerminado"), kTerminado, this)),
      cmdDetalles_(boton("cmdDetalles", "&Detalles", this)),
      cmdAceptar_(boton("cmdAceptar", "&Aceptar", this)),
      rtbFicheroLog_(nombrado(new QListWidget(this), "rtbFicheroLog")) {
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("Fin Proceso Trovanel"));

    auto* marco = nombrado(new QFrame(this), "Frame1");
    marco->setFrameShape(QFrame::Box);
    marco->setFrameShadow(QFrame::Sunken);
    labProcTerminado_->setAlignment(Qt::AlignCenter);
    QFont letra = labProcTerminado_->font();
    letra.setBold(true);
    letra.setPointSizeF(14.25);
    labProcTerminado_->setFont(letra);
    // Room for the longest caption, so the window keeps one width whatever the run's outcome.
    labProcTerminado_->setMinimumWidth(QFontMetrics(letra).horizontalAdvance(kTerminado + kIncorrectamente));
    colorTexto(labProcTerminado_, kAzul);
    auto* capaMarco = new QVBoxLayout(marco);
    capaMarco->addWidget(labProcTerminado_);

    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdDetalles_);
    botones->addStretch();
    botones->addWidget(cmdAceptar_);

    rtbFicheroLog_->setMinimumHeight(170);
    // Folded away until the user asks for the details.
    rtbFicheroLog_->hide();

    auto* capa = new QVBoxLayout(this);
    capa->addWidget(marco);
    capa->addLayout(botones);
    capa->addWidget(rtbFicheroLog_, 1);
    capa->setSizeConstraint(QLayout::SetMinimumSize);
    setMinimumWidth(400);

    connect(cmdDetalles_, &QPushButton::clicked, this, &frmMsg::cmdDetalles_Click);
    connect(cmdAceptar_, &QPushButton::clicked, this, &frmMsg::cmdAceptar_Click);
    negrita(cmdDetalles_);
    negrita(cmdAceptar_);
    cmdAceptar_->setDefault(true);

    Form_Load();
}

void frmMsg::Form_Load() {
    if (estado_.gProcesoCancelado) {
        labProcTerminado_->setText(QStringLiteral("Proceso Cancelado"));
        colorTexto(labProcTerminado_, kRojo);
    }
    if (!estado_.gMostrarResultado) {
        return;
    }
    // A cancelled run stopped before writing anything: a log of that name is an earlier run's, and the
    // run is not reported as a failed one.
    const bool conErrores = estado_.gError && !estado_.gProcesoCancelado;
    std::error_code error;
    const bool hayLog = !estado_.gFicheroLog.empty() && std::filesystem::exists(estado_.gFicheroLog, error);
    if (hayLog && conErrores) {
        LectorLineas lector(estado_.gFicheroLog);
        std::string linea;
        while (lector.leer(linea)) {
            rtbFicheroLog_->addItem(aQString(linea));
        }
        if (!lector.abierto()) {
            cmdDetalles_->setEnabled(false);
        }
    } else {
        cmdDetalles_->setEnabled(false);
    }
    if (conErrores) {
        labProcTerminado_->setText(labProcTerminado_->text() + kIncorrectamente);
        colorTexto(labProcTerminado_, kRojo);
    }
}

void frmMsg::cmdDetalles_Click() {
    rtbFicheroLog_->show();
    cmdDetalles_->setEnabled(false);
    cmdAceptar_->setFocus();
    resize(width(), qMax(height(), sizeHint().height()));
    mantenerEnPantalla(this);
}

void frmMsg::cmdAceptar_Click() {
    accept();
}

} // namespace trovanel
