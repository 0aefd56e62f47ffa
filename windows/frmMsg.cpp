#include "frmMsg.hpp"

#include "controles.hpp"
#include "conversores.hpp"
#include "texto_qt.hpp"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>
#include <string>
#include <system_error>

namespace trovanel {

namespace {

const QColor kAzul(0, 0, 255);
const QColor kRojo(255, 0, 0);
const QString kTerminado = QStringLiteral("Proceso terminado");
const QString kIncorrectamente = QStringLiteral(" incorrectamente");
// Lines of earlier runs loaded in one go between two turns of the event loop.
constexpr int kLineasPorTanda = 2000;

// A line of the log without its line end; the log is the program's own Windows-1252 text.
bool leerLinea(std::ifstream& log, std::string& linea) {
    if (!std::getline(log, linea)) {
        return false;
    }
    if (!linea.empty() && linea.back() == '\r') {
        linea.pop_back();
    }
    return true;
}

} // namespace

frmMsg::frmMsg(bool gMostrarResultado, const ResultadoConversion& resultado, QWidget* padre,
               std::uintmax_t inicioEjecucion)
    : QDialog(padre), gMostrarResultado_(gMostrarResultado), log_(resultado.log),
      labProcTerminado_(etiqueta(QStringLiteral("labProcTerminado"), kTerminado, this)),
      cmdDetalles_(boton("cmdDetalles", "&Detalles", this)),
      cmdAceptar_(boton("cmdAceptar", "&Aceptar", this)),
      rtbFicheroLog_(nombrado(new QListWidget(this), "rtbFicheroLog")), inicioEjecucion_(inicioEjecucion),
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
    // A log of many runs holds hundreds of thousands of lines: one line height for all keeps it quick.
    rtbFicheroLog_->setUniformItemSizes(true);
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
    Form_Load(resultado);
}

frmMsg::~frmMsg() = default;

void frmMsg::Form_Load(const ResultadoConversion& resultado) {
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
    std::error_code error;
    const bool hayLog = !log_.empty() && std::filesystem::exists(log_, error);
    if (hayLog && conErrores) {
        std::ifstream log(log_, std::ios::binary);
        const std::uintmax_t tamano = std::filesystem::file_size(log_, error);
        if (error || inicioEjecucion_ > tamano) {
            inicioEjecucion_ = 0;
        }
        log.seekg(static_cast<std::streamoff>(inicioEjecucion_));
        QStringList lineas;
        std::string linea;
        while (leerLinea(log, linea)) {
            lineas << aQString(linea);
        }
        rtbFicheroLog_->addItems(lineas);
        if (!log.is_open()) {
            cmdDetalles_->setEnabled(false);
        } else if (inicioEjecucion_ > 0) {
            anteriores_ = std::make_unique<std::ifstream>(log_, std::ios::binary);
            carga_->start(0);
        }
    } else {
        cmdDetalles_->setEnabled(false);
    }
    if (conErrores) {
        labProcTerminado_->setText(labProcTerminado_->text() + kIncorrectamente);
        colorTexto(labProcTerminado_, kRojo);
    }
}

void frmMsg::cargarAnteriores() {
    QStringList lineas;
    std::string linea;
    while (lineas.size() < kLineasPorTanda &&
           static_cast<std::uintmax_t>(anteriores_->tellg()) < inicioEjecucion_ &&
           leerLinea(*anteriores_, linea)) {
        lineas << aQString(linea);
    }
    if (!lineas.isEmpty()) {
        // What the user is reading stays in place while the earlier lines come in above it.
        const int arriba = rtbFicheroLog_->indexAt(QPoint(0, 0)).row();
        rtbFicheroLog_->insertItems(cargadasAnteriores_, lineas);
        cargadasAnteriores_ += static_cast<int>(lineas.size());
        if (rtbFicheroLog_->isVisible() && arriba >= 0) {
            rtbFicheroLog_->scrollToItem(rtbFicheroLog_->item(arriba + static_cast<int>(lineas.size())),
                                         QAbstractItemView::PositionAtTop);
        }
    }
    if (lineas.size() < kLineasPorTanda ||
        static_cast<std::uintmax_t>(anteriores_->tellg()) >= inicioEjecucion_) {
        carga_->stop();
        anteriores_.reset();
    }
}

bool frmMsg::cargando() const {
    return anteriores_ != nullptr;
}

void frmMsg::cmdDetalles_Click() {
    rtbFicheroLog_->show();
    // The window opens on this run's first line, whatever came before it.
    if (QListWidgetItem* primera = rtbFicheroLog_->item(cargadasAnteriores_)) {
        rtbFicheroLog_->scrollToItem(primera, QAbstractItemView::PositionAtTop);
    }
    cmdDetalles_->setEnabled(false);
    cmdAceptar_->setFocus();
    resize(width(), qMax(height(), sizeHint().height()));
    mantenerEnPantalla(this);
}

void frmMsg::cmdAceptar_Click() {
    accept();
}

} // namespace trovanel
