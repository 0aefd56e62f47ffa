#include "frmMultifacturas.hpp"

#include "controles.hpp"
#include "texto_qt.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace trovanel {

namespace {

QPushButton* botonImagen(const char* nombre, QStyle::StandardPixmap imagen, const char* ayuda,
                         QWidget* padre) {
    auto* b = boton(nombre, "", padre);
    b->setIcon(padre->style()->standardIcon(imagen));
    b->setToolTip(aQString(ayuda));
    return b;
}

} // namespace

frmMultifacturas::frmMultifacturas(ContextoVentanas contexto, QWidget* padre)
    : QDialog(padre), modelo_(contexto.baseDatos, contexto.avisos) {
    setObjectName(QStringLiteral("frmMultifacturas"));
    setWindowTitle(QStringLiteral("Multifacturas"));
    setModal(false);

    // Built in the order the user moves through them: the creation order is the tab order.
    QGroupBox* marcoElegida = marcoPlantilla();
    QGroupBox* marcoIdentificadores = marcoOrden();
    QGridLayout* valor = filaValor();
    QGroupBox* marcoCasillas = marcoCampos();
    checkProgresion_ = nombrado(
        new QCheckBox(aQString("Identificador de factura secuencial. Ejemp:( 020,021,022, ...)"), this),
        "checkProgresion");
    conPlantilla_.push_back(checkProgresion_);
    connect(checkProgresion_, &QCheckBox::clicked, this, &frmMultifacturas::checkProgresion_Click);
    QHBoxLayout* botones = filaBotonesMultifacturas();

    auto* derecha = new QVBoxLayout;
    derecha->addLayout(valor);
    derecha->addWidget(marcoCasillas);
    derecha->addStretch(1);
    auto* centro = new QHBoxLayout;
    centro->addWidget(marcoIdentificadores, 1);
    centro->addLayout(derecha);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(marcoElegida);
    principal->addLayout(centro, 1);
    principal->addWidget(checkProgresion_);
    principal->addLayout(botones);

    modelo_.Form_Load();
    {
        const QSignalBlocker bloqueo(cbEstructura_);
        for (const EntradaPlantilla& entrada : modelo_.plantillas()) {
            anadirPlantilla(cbEstructura_, entrada);
        }
    }
    mostrar();
}

QGroupBox* frmMultifacturas::marcoPlantilla() {
    auto* marcoElegida = marco("framePlantilla", "Seleccione la plantilla asociada", this);
    cbEstructura_ = lista("cbEstructura", marcoElegida);
    cbEstructura_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    (new QVBoxLayout(marcoElegida))->addWidget(cbEstructura_);
    connect(cbEstructura_, &QComboBox::activated, this, &frmMultifacturas::cbEstructura_Click);
    return marcoElegida;
}

// The template's identifiers in their order, with the buttons that move or remove the chosen one.
QGroupBox* frmMultifacturas::marcoOrden() {
    auto* marcoIdentificadores = marco("frameOrden", "Orden de Identificador", this);
    lbCampos_ = nombrado(new QListWidget(marcoIdentificadores), "lbCampos");
    lbCampos_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* cmdQuitar =
        botonImagen("cmdQuitar", QStyle::SP_DialogDiscardButton, "Quitar el identificador", this);
    auto* Command1 = botonImagen("Command1", QStyle::SP_ArrowUp, "Subir", this);
    auto* Command2 = botonImagen("Command2", QStyle::SP_ArrowDown, "Bajar", this);
    auto* flechas = new QVBoxLayout;
    flechas->addWidget(Command1);
    flechas->addWidget(Command2);
    flechas->addStretch(1);
    flechas->addWidget(cmdQuitar);
    auto* orden = new QHBoxLayout(marcoIdentificadores);
    orden->addWidget(lbCampos_, 1);
    orden->addLayout(flechas);
    conPlantilla_.insert(conPlantilla_.end(), {lbCampos_, cmdQuitar, Command1, Command2});

    connect(lbCampos_, &QListWidget::currentRowChanged, this, [this](int f) {
        if (f >= 0) {
            lbCampos_Click(f);
        }
    });
    connect(cmdQuitar, &QPushButton::clicked, this, &frmMultifacturas::cmdQuitar_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMultifacturas::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMultifacturas::Command2_Click);
    return marcoIdentificadores;
}

// The box of a new identifier and the button that adds it.
QGridLayout* frmMultifacturas::filaValor() {
    tbValor_ = caja("tbValor", 0, this);
    auto* cmdAgregar = boton("cmdAgregar", "Agregar", this);
    auto* valor = new QGridLayout;
    valor->addWidget(etiqueta("labValor", "Identificador de factura o línea", this), 0, 0, 1, 2);
    valor->addWidget(tbValor_, 1, 0);
    valor->addWidget(cmdAgregar, 1, 1);
    conPlantilla_.insert(conPlantilla_.end(), {tbValor_, cmdAgregar});
    connect(cmdAgregar, &QPushButton::clicked, this, &frmMultifacturas::cmdAgregar_Click);
    return valor;
}

// The fields an invoice line carries. Referencia and Ref12 share one place: only one of them is shown
// once a template is chosen.
QGroupBox* frmMultifacturas::marcoCampos() {
    auto* marcoCasillas = marco("frameCampos", "Campos que contiene", this);
    auto* campos = new QGridLayout(marcoCasillas);
    const std::array<std::pair<const char*, const char*>, kCasillas> casillas = {
        {{"checkImporte", "Importe"},
         {"checkFechaVto", "Fecha vencimiento"},
         {"checkNumeroFra", "Nº de factura / Observación"},
         {"checkReferencia", "Referencia"},
         {"checkRef12", "Ref12"},
         {"checkRef16", "Ref16"}}};
    for (std::size_t i = 0; i < kCasillas; ++i) {
        casillas_[i] =
            nombrado(new QCheckBox(aQString(casillas[i].second), marcoCasillas), casillas[i].first);
        const int fila = static_cast<int>(i) - (i >= static_cast<std::size_t>(Casilla::Ref12) ? 1 : 0);
        campos->addWidget(casillas_[i], fila, 0);
    }
    conPlantilla_.push_back(marcoCasillas);
    return marcoCasillas;
}

QHBoxLayout* frmMultifacturas::filaBotonesMultifacturas() {
    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    cmdBorrar_ = boton("cmdBorrar", "Borrar", this);
    auto* cmdCerrar = boton("cmdCerrar", "&Cerrar", this);
    conPlantilla_.push_back(cmdAceptar);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmMultifacturas::cmdAceptar_Click);
    connect(cmdBorrar_, &QPushButton::clicked, this, &frmMultifacturas::cmdBorrar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &frmMultifacturas::cmdCerrar_Click);
    return filaBotones({cmdAceptar, cmdBorrar_, cmdCerrar});
}

void frmMultifacturas::leerCajas() {
    for (std::size_t i = 0; i < kCasillas; ++i) {
        modelo_.casillas[i] = casillas_[i]->isChecked();
    }
    modelo_.valor = desdeQString(tbValor_->text());
}

void frmMultifacturas::mostrar() {
    {
        const QSignalBlocker bloqueo(cbEstructura_);
        const auto elegida = modelo_.plantillaElegida();
        cbEstructura_->setCurrentIndex(elegida ? static_cast<int>(*elegida) : -1);
    }
    {
        const QSignalBlocker bloqueo(lbCampos_);
        lbCampos_->clear();
        for (const LineaMultifactura& linea : modelo_.lineas()) {
            lbCampos_->addItem(aQString(linea.valor));
        }
        const auto seleccion = modelo_.seleccion();
        lbCampos_->setCurrentRow(seleccion ? static_cast<int>(*seleccion) : -1);
        if (!seleccion) {
            lbCampos_->clearSelection();
        }
    }
    for (std::size_t i = 0; i < kCasillas; ++i) {
        casillas_[i]->setChecked(modelo_.casillas[i]);
    }
    checkProgresion_->setChecked(modelo_.progresion());
    if (desdeQString(tbValor_->text()) != modelo_.valor) {
        tbValor_->setText(aQString(modelo_.valor));
    }
    const bool zop = modelo_.conReferencia();
    casillas_[static_cast<std::size_t>(Casilla::Referencia)]->setVisible(zop);
    casillas_[static_cast<std::size_t>(Casilla::Ref12)]->setVisible(!zop);
    casillas_[static_cast<std::size_t>(Casilla::Ref16)]->setVisible(!zop);
    for (QWidget* control : conPlantilla_) {
        control->setEnabled(modelo_.admiteMultifactura());
    }
    cmdBorrar_->setEnabled(modelo_.hayPlantilla());
}

void frmMultifacturas::cbEstructura_Click(int posicion) {
    if (posicion >= 0) {
        modelo_.cbEstructura_Click(static_cast<std::size_t>(posicion));
    }
    mostrar();
}

void frmMultifacturas::lbCampos_Click(int posicion) {
    leerCajas();
    modelo_.lbCampos_Click(static_cast<std::size_t>(posicion));
    mostrar();
}

void frmMultifacturas::cmdAgregar_Click() {
    leerCajas();
    modelo_.cmdAgregar_Click();
    mostrar();
}

void frmMultifacturas::cmdQuitar_Click() {
    leerCajas();
    modelo_.cmdQuitar_Click();
    mostrar();
}

void frmMultifacturas::Command1_Click() {
    leerCajas();
    modelo_.Command1_Click();
    mostrar();
}

void frmMultifacturas::Command2_Click() {
    leerCajas();
    modelo_.Command2_Click();
    mostrar();
}

void frmMultifacturas::checkProgresion_Click(bool marcada) {
    leerCajas();
    modelo_.checkProgresion_Click(marcada);
    mostrar();
}

void frmMultifacturas::cmdAceptar_Click() {
    leerCajas();
    modelo_.cmdAceptar_Click();
    mostrar();
}

void frmMultifacturas::cmdBorrar_Click() {
    leerCajas();
    modelo_.cmdBorrar_Click();
    mostrar();
}

// Unsaved changes are dropped without a question.
void frmMultifacturas::cmdCerrar_Click() {
    close();
}

} // namespace trovanel
