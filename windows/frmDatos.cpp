#include "frmDatos.hpp"

#include "avisos.hpp"
#include "controles.hpp"
#include "cursor_qt.hpp"
#include "texto_qt.hpp"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trovanel {

namespace {

// Width of the input controls: room for the longest item, "Pagos Certificados".
constexpr int kAnchoControl = 150;

QString nombreControl(std::size_t indice, const char* sufijo = "") {
    return QStringLiteral("tb") + QString::number(indice) + QString::fromLatin1(sufijo);
}

} // namespace

frmDatos::frmDatos(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                   std::string_view gTipoEstructura, Avisos& avisos, QWidget* parent)
    : QDialog(parent), estado_(estado), gTipoEstructura_(gTipoEstructura), avisos_(avisos),
      filas_(filasDatosObligatorios(estado.gCamposEstructura, campos)) {
    setObjectName(QStringLiteral("frmDatos"));
    setWindowTitle(aQString("Datos Obligatorios que faltan"));
    setModal(true);

    auto* rejilla = new QGridLayout;
    int fila = 0;
    for (const FilaDatos& datos : filas_) {
        rejilla->addWidget(
            etiqueta(QStringLiteral("lb") + aQString(datos.etiqueta), aQString(datos.etiqueta), this), fila,
            0);

        QWidget* control = nullptr;
        if (datos.clase == ClaseFilaDatos::FormaPago || datos.clase == ClaseFilaDatos::Gastos) {
            auto* combo = lista(nombreControl(datos.indice), this);
            for (const std::string& opcion : datos.opciones) {
                combo->addItem(aQString(opcion));
            }
            combo->setCurrentIndex(0);
            control = combo;
        } else {
            const bool esFecha = datos.clase == ClaseFilaDatos::Fecha;
            if (esFecha) {
                rejilla->addWidget(etiqueta("lbFecha", "(DD/MM/AAAA)", this), fila, 1);
            }
            control = caja(nombreControl(datos.indice, esFecha ? "Fecha" : ""), datos.longitudMaxima, this);
        }
        control->setMinimumWidth(kAnchoControl);
        rejilla->addWidget(control, fila, 2);
        controles_.push_back(control);
        ++fila;
    }
    rejilla->setRowStretch(fila, 1);

    auto* Command1 = nombrado(new QPushButton(aQString("&Aceptar"), this), "Command1");
    Command1->setDefault(true);
    auto* Command2 = nombrado(new QPushButton(aQString("&Cancelar"), this), "Command2");
    connect(Command1, &QPushButton::clicked, this, &frmDatos::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmDatos::Command2_Click);

    auto* botones = new QVBoxLayout;
    botones->addWidget(Command1);
    botones->addWidget(Command2);
    botones->addStretch(1);

    auto* principal = new QHBoxLayout(this);
    principal->addLayout(rejilla, 1);
    principal->addLayout(botones);
    reservarTitulo(this);
}

std::vector<ValorDato> frmDatos::valoresTecleados() const {
    std::vector<ValorDato> valores;
    for (std::size_t k = 0; k < filas_.size(); ++k) {
        ValorDato valor;
        valor.indice = filas_[k].indice;
        valor.clase = filas_[k].clase;
        if (const auto* combo = qobject_cast<const QComboBox*>(controles_[k])) {
            valor.texto = desdeQString(combo->currentText());
        } else if (const auto* caja = qobject_cast<const QLineEdit*>(controles_[k])) {
            valor.texto = datoDesdeQString(caja->text());
        }
        valores.push_back(std::move(valor));
    }
    return valores;
}

void frmDatos::Command1_Click() {
    std::size_t rechazado = 0;
    switch (aceptar(estado_, valoresTecleados(), gTipoEstructura_, &rechazado)) {
    case ResultadoDatos::FechaIncorrecta:
        avisos_.informacion("Teclee una fecha correcta");
        break;
    case ResultadoDatos::CaracterNoValido:
        avisos_.critico("Caracter no valido en " + estado_.gCamposEstructura[rechazado].campo);
        break;
    case ResultadoDatos::Incompleto:
        avisos_.informacion("Debe rellenar todos los campos");
        break;
    case ResultadoDatos::Aceptado:
        accept();
        break;
    }
}

void frmDatos::Command2_Click() {
    reject();
}

SolicitudDatosQt::SolicitudDatosQt(Avisos& avisos, QWidget* parent) : avisos_(avisos), parent_(parent) {}

bool SolicitudDatosQt::MostrarDatosObligatorios(EstadoEjecucion& estado,
                                                const std::vector<std::size_t>& campos,
                                                std::string_view gTipoEstructura) {
    if (filasDatosObligatorios(estado.gCamposEstructura, campos).empty()) {
        return true;
    }
    CursorNormal cursor;
    frmDatos dialogo(estado, campos, gTipoEstructura, avisos_, parent_);
    return dialogo.exec() == QDialog::Accepted;
}

} // namespace trovanel
