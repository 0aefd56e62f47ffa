#include "frmMsg.hpp"

#include "controles.hpp"
#include "conversores.hpp"
#include "modelo_log.hpp"
#include "vista_log.hpp"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace trovanel {

namespace {

const QColor kAzul(0, 0, 255);
const QColor kRojo(255, 0, 0);
const QString kTerminado = QStringLiteral("Proceso terminado");
const QString kIncorrectamente = QStringLiteral(" incorrectamente");
// Bytes of the earlier runs indexed between two turns of the event loop: a few milliseconds.
constexpr std::uintmax_t kBytesPorTanda = std::uintmax_t{4} << 20;

} // namespace

frmMsg::frmMsg(bool gMostrarResultado, const ResultadoConversion& resultado, QWidget* padre,
               std::uintmax_t inicioEjecucion)
    : QDialog(padre), gMostrarResultado_(gMostrarResultado),
      labProcTerminado_(etiqueta(QStringLiteral("labProcTerminado"), kTerminado, this)),
      cmdDetalles_(boton("cmdDetalles", "&Detalles", this)),
      cmdAceptar_(boton("cmdAceptar", "&Aceptar", this)),
      rtbFicheroLog_(nombrado(new VistaLog(this), "rtbFicheroLog")), modelo_(new ModeloLog(this)),
      carga_(new QTimer(this)) {
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
    rtbFicheroLog_->setModel(modelo_);
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

    connect(carga_, &QTimer::timeout, this, &frmMsg::cargarAnteriores);
    Form_Load(resultado, inicioEjecucion);
}

frmMsg::~frmMsg() = default;

void frmMsg::Form_Load(const ResultadoConversion& resultado, std::uintmax_t inicioEjecucion) {
    const bool cancelado = resultado.clase == ResultadoConversion::Clase::Cancelado;
    if (cancelado) {
        labProcTerminado_->setText(QStringLiteral("Proceso Cancelado"));
        colorTexto(labProcTerminado_, kRojo);
    }
    if (!gMostrarResultado_) {
        return;
    }
    // A cancelled run stopped before writing anything: a log of that name is an earlier run's, and the
    // run is not reported as a failed one.
    const bool conErrores = resultado.conErrores() && !cancelado;
    // The log is held from here, so "Detalles" lists it as it is now; its lines wait for that.
    if (conErrores && !resultado.log.empty() && modelo_->abrir(resultado.log, inicioEjecucion)) {
        conLog_ = true;
    } else {
        cmdDetalles_->setEnabled(false);
    }
    if (conErrores) {
        labProcTerminado_->setText(labProcTerminado_->text() + kIncorrectamente);
        colorTexto(labProcTerminado_, kRojo);
    }
}

void frmMsg::cargarAnteriores() {
    if (!modelo_->cargarAnteriores(kBytesPorTanda)) {
        carga_->stop();
    }
}

bool frmMsg::cargando() const {
    return carga_->isActive();
}

void frmMsg::cmdDetalles_Click() {
    rtbFicheroLog_->show();
    if (conLog_) {
        conLog_ = false;
        // The list opens on this run's first line, whatever came before it.
        modelo_->listar();
        if (modelo_->cargando()) {
            carga_->start(0);
        }
        rtbFicheroLog_->scrollTo(modelo_->index(0), QAbstractItemView::PositionAtTop);
    }
    cmdDetalles_->setEnabled(false);
    cmdAceptar_->setFocus();
    resize(width(), qMax(height(), sizeHint().height()));
    mantenerEnPantalla(this);
}

void frmMsg::cmdAceptar_Click() {
    accept();
}

void frmMsg::done(int resultado) {
    carga_->stop();
    modelo_->cerrar();
    QDialog::done(resultado);
}

} // namespace trovanel
