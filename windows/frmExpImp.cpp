#include "frmExpImp.hpp"

#include "avisos.hpp"
#include "controles.hpp"
#include "dialogo_ficheros.hpp"
#include "error.hpp"
#include "intercambio.hpp"
#include "lista_plantillas.hpp"
#include "texto_qt.hpp"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace trovanel {

namespace {

QPushButton* botonFichero(const char* nombre, const char* ayuda, QWidget* padre) {
    auto* b = boton(nombre, "...", padre);
    b->setToolTip(aQString(ayuda));
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return b;
}

} // namespace

frmExpImp::frmExpImp(ContextoVentanas contexto, QWidget* padre) : QDialog(padre), contexto_(contexto) {
    setObjectName(QStringLiteral("frmExpImp"));
    setWindowTitle(aQString("Selección de Fichero"));
    setModal(true);

    tbTipo_ = caja("tbTipo", 0, this);
    tbTipo_->hide();
    Label1_ = etiqueta("Label1", "Plantilla", this);
    cbEstructura_ = lista("cbEstructura", this);
    cbEstructura_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    FrameExp_ = marco("FrameExp", "Fichero Destino", this);
    tbSalida_ = caja("tbSalida", 0, FrameExp_);
    tbSalida_->setMinimumWidth(tbSalida_->fontMetrics().averageCharWidth() * 48);
    auto* Image2 = botonFichero("Image2", "Exportar fichero", FrameExp_);
    auto* salida = new QHBoxLayout(FrameExp_);
    salida->addWidget(tbSalida_, 1);
    salida->addWidget(Image2);

    FrameImp_ = marco("FrameImp", "Fichero Origen", this);
    tbEntrada_ = caja("tbEntrada", 0, FrameImp_);
    tbEntrada_->setReadOnly(true);
    tbEntrada_->setMinimumWidth(tbEntrada_->fontMetrics().averageCharWidth() * 48);
    auto* Image1 = botonFichero("Image1", "Abrir fichero a Importar", FrameImp_);
    auto* entrada = new QHBoxLayout(FrameImp_);
    entrada->addWidget(tbEntrada_, 1);
    entrada->addWidget(Image1);

    cmdProcesar_ = boton("cmdProcesar", "&Procesar", this);
    cmdProcesar_->setEnabled(false);
    auto* Command2 = boton("Command2", "&Cerrar", this);
    QHBoxLayout* botones = filaBotones({cmdProcesar_, Command2});

    auto* plantilla = new QHBoxLayout;
    plantilla->addWidget(Label1_);
    plantilla->addWidget(cbEstructura_, 1);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(tbTipo_);
    principal->addLayout(plantilla);
    principal->addWidget(FrameExp_);
    principal->addWidget(FrameImp_);
    principal->addLayout(botones);

    connect(Image1, &QPushButton::clicked, this, &frmExpImp::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &frmExpImp::Image2_Click);
    // The destination is the path in the box, typed or chosen.
    connect(tbSalida_, &QLineEdit::textChanged, this,
            [this](const QString& texto) { cmdProcesar_->setEnabled(!texto.trimmed().isEmpty()); });
    connect(cmdProcesar_, &QPushButton::clicked, this, &frmExpImp::cmdProcesar_Click);
    connect(Command2, &QPushButton::clicked, this, &frmExpImp::Command2_Click);
}

void frmExpImp::setTipo(const char* tipo) {
    tbTipo_->setText(aQString(tipo));
}

bool frmExpImp::exportar() const {
    return tbTipo_->text() != QStringLiteral("IMP");
}

void frmExpImp::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    Form_Activate();
}

void frmExpImp::Form_Activate() {
    const bool exporta = exportar();
    setWindowTitle(exporta ? QStringLiteral("Exportar Plantilla") : QStringLiteral("Importar Plantilla"));
    cmdProcesar_->setText(exporta ? QStringLiteral("Exportar") : QStringLiteral("Importar"));
    FrameImp_->setVisible(!exporta);
    for (QWidget* control : std::initializer_list<QWidget*>{FrameExp_, Label1_, cbEstructura_}) {
        control->setVisible(exporta);
    }
    if (exporta) {
        llenarPlantillas();
    }
    // The frame of the other mode leaves no gap.
    adjustSize();
}

void frmExpImp::llenarPlantillas() {
    const QSignalBlocker bloqueo(cbEstructura_);
    try {
        const auto plantillas = CargarPlantillas(contexto_.baseDatos, false);
        cbEstructura_->clear();
        for (const EntradaPlantilla& entrada : plantillas) {
            anadirPlantilla(cbEstructura_, entrada);
        }
    } catch (const ErrorTrovanel& e) {
        contexto_.avisos.critico(e.what());
    }
    cbEstructura_->setCurrentIndex(-1);
}

void frmExpImp::Image1_Click() {
    const std::filesystem::path ruta =
        abrirFicheroPara(contexto_, kCarpetaIntercambio, "Abrir fichero a Importar", "");
    if (!ruta.empty()) {
        mFicheroOrigen = ruta;
        tbEntrada_->setText(textoRuta(ruta));
        cmdProcesar_->setEnabled(true);
    }
}

void frmExpImp::Image2_Click() {
    const std::filesystem::path ruta = guardarFicheroPara(contexto_, kCarpetaIntercambio, "Exportar fichero");
    if (!ruta.empty()) {
        tbSalida_->setText(textoRuta(ruta));
    }
}

void frmExpImp::cmdProcesar_Click() {
    if (exportar()) {
        const auto elegida = plantillaElegida(cbEstructura_);
        ExportarPlantilla(contexto_.baseDatos, contexto_.avisos,
                          elegida ? std::optional(elegida->id) : std::nullopt,
                          std::filesystem::path(QFile::encodeName(tbSalida_->text()).toStdString()));
    } else {
        ImportarPlantilla(contexto_.baseDatos, contexto_.avisos, mFicheroOrigen);
    }
    accept();
}

void frmExpImp::Command2_Click() {
    reject();
}

} // namespace trovanel
