#include "frmMsg.hpp"

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

void ponerColor(QLabel* etiqueta, const QColor& color) {
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
}

QPushButton* boton(const QString& nombre, const QString& texto, QWidget* padre) {
    auto* resultado = new QPushButton(texto, padre);
    resultado->setObjectName(nombre);
    QFont letra = resultado->font();
    letra.setBold(true);
    resultado->setFont(letra);
    resultado->setAutoDefault(false);
    return resultado;
}

} // namespace

frmMsg::frmMsg(EstadoEjecucion& estado, QWidget* padre)
    : QDialog(padre), estado_(estado),
      labProcTerminado_(new QLabel(QStringLiteral("Proceso terminado"), this)),
      cmdDetalles_(boton(QStringLiteral("cmdDetalles"), QStringLiteral("&Detalles"), this)),
      cmdAceptar_(boton(QStringLiteral("cmdAceptar"), QStringLiteral("&Aceptar"), this)),
      rtbFicheroLog_(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("Fin Proceso Trovanel"));

    auto* marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("Frame1"));
    marco->setFrameShape(QFrame::Box);
    marco->setFrameShadow(QFrame::Sunken);
    labProcTerminado_->setObjectName(QStringLiteral("labProcTerminado"));
    labProcTerminado_->setAlignment(Qt::AlignCenter);
    QFont letra = labProcTerminado_->font();
    letra.setBold(true);
    letra.setPointSizeF(14.25);
    labProcTerminado_->setFont(letra);
    ponerColor(labProcTerminado_, kAzul);
    auto* capaMarco = new QVBoxLayout(marco);
    capaMarco->addWidget(labProcTerminado_);

    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdDetalles_);
    botones->addStretch();
    botones->addWidget(cmdAceptar_);

    rtbFicheroLog_->setObjectName(QStringLiteral("rtbFicheroLog"));
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
    cmdAceptar_->setDefault(true);

    Form_Load();
}

void frmMsg::Form_Load() {
    if (estado_.gProcesoCancelado) {
        labProcTerminado_->setText(QStringLiteral("Proceso Cancelado"));
        ponerColor(labProcTerminado_, kRojo);
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
        labProcTerminado_->setText(labProcTerminado_->text() + QStringLiteral(" incorrectamente"));
        ponerColor(labProcTerminado_, kRojo);
    }
}

void frmMsg::cmdDetalles_Click() {
    rtbFicheroLog_->show();
    cmdDetalles_->setEnabled(false);
    cmdAceptar_->setFocus();
    resize(width(), qMax(height(), sizeHint().height()));
}

void frmMsg::cmdAceptar_Click() {
    accept();
}

} // namespace trovanel
