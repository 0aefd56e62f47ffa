#include "frmImpFichCue.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "controles.hpp"
#include "cursor_qt.hpp"
#include "dialogo_ficheros.hpp"
#include "importacion_cuentas.hpp"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace trovanel {

frmImpFichCue::frmImpFichCue(ContextoVentanas contexto, QWidget* padre)
    : QDialog(padre), contexto_(contexto) {
    setObjectName(QStringLiteral("frmImpFichCue"));
    setWindowTitle(aQString("Importar Fichero de Cuentas"));
    setModal(true);

    auto* Frame1 = marco("Frame1", "Fichero Origen", this);
    tbEntrada_ = caja("tbEntrada", 0, Frame1);
    // Only the file dialog chooses the file: a typed name would never be read.
    tbEntrada_->setReadOnly(true);
    tbEntrada_->setMinimumWidth(360);
    auto* Image1 = boton("Image1", "", Frame1);
    Image1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    Image1->setToolTip(aQString("Abrir fichero a filtrar"));
    auto* capaOrigen = new QHBoxLayout(Frame1);
    capaOrigen->addWidget(tbEntrada_, 1);
    capaOrigen->addWidget(Image1);

    Label1_ = etiqueta("Label1", "PROCESANDO", this);
    negrita(Label1_);
    Label1_->setAlignment(Qt::AlignCenter);
    // The window keeps its size whether the label shows or not.
    QSizePolicy politica = Label1_->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    Label1_->setSizePolicy(politica);
    Label1_->hide();

    cmdProcesar_ = boton("cmdProcesar", "&Importar", this);
    cmdProcesar_->setEnabled(false);
    auto* Command2 = boton("Command2", "&Cerrar", this);
    QHBoxLayout* botones = filaBotones({cmdProcesar_, Command2});

    auto* todo = new QVBoxLayout(this);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    todo->addWidget(Frame1);
    todo->addWidget(Label1_);
    todo->addLayout(botones);

    connect(Image1, &QPushButton::clicked, this, &frmImpFichCue::Image1_Click);
    connect(cmdProcesar_, &QPushButton::clicked, this, &frmImpFichCue::cmdProcesar_Click);
    connect(Command2, &QPushButton::clicked, this, &frmImpFichCue::Command2_Click);
}

void frmImpFichCue::Image1_Click() {
    const std::filesystem::path ruta =
        abrirFicheroPara(contexto_, kCarpetaCuentas, "Abrir fichero a filtrar", "");
    // A cancelled dialog keeps the earlier choice.
    if (ruta.empty()) {
        return;
    }
    mFicheroCuentas = ruta;
    tbEntrada_->setText(textoRuta(ruta));
    cmdProcesar_->setEnabled(true);
}

void frmImpFichCue::cmdProcesar_Click() {
    Label1_->show();
    Label1_->repaint();
    std::string fallo;
    {
        const CursorEspera espera;
        try {
            importarFicheroCuentas(contexto_.baseDatos, mFicheroCuentas);
        } catch (const ErrorBaseDatos& e) {
            fallo = std::string("Error: ") + e.what();
        } catch (const ErrorTrovanel& e) {
            fallo = e.what();
        }
    }
    Label1_->hide();
    // A failure leaves the window open for another file; nothing of the file was written.
    if (!fallo.empty()) {
        contexto_.avisos.critico(fallo);
        return;
    }
    contexto_.avisos.informacion(kMsgImportacionRealizada);
    accept();
}

void frmImpFichCue::Command2_Click() {
    reject();
}

} // namespace trovanel
