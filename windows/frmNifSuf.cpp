#include "frmNifSuf.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "controles.hpp"
#include "texto_qt.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace trovanel {

frmNifSuf::frmNifSuf(ContextoVentanas contexto, QWidget* padre)
    : VentanaPartes(contexto, ClaseParte::Cobros, AvisoError::Critico, false, padre) {
    setObjectName(QStringLiteral("frmNifSuf"));
    setWindowTitle(aQString("Mantenimiento de Cabeceras (Cobros)"));

    auto* framePresentador = construirPresentador();
    construirMarco("Emisor", true);
    auto* cmdBajaEmisor = boton("cmdBajaEmisor", "Baja &Emisor", cuenta_.marco);
    cuenta_.formulario->addRow(cmdBajaEmisor);

    auto* cmdAlta = boton("cmdAlta", "A&lta", this);
    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    auto* cmdCancelar = boton("cmdCancelar", "&Cerrar", this);
    auto* cmdAnadir = construirAlta();
    colocarVentanaPartes(this, cbUsuarios_, {framePresentador, cuenta_.marco},
                         {cmdAlta, cmdAceptar, cmdCancelar}, panelAlta_);
    anchoParaNombre(tbAltaNombrePre_, 40);
    anchoParaNombre(alta_.tbNombre, 40);

    conectarComunes(cmdAlta, cmdCancelar);
    connect(cbNombrePre_, &QComboBox::activated, this, &frmNifSuf::cbNombrePre_Click);
    connect(cuenta_.cbNombre, &QComboBox::activated, this, &frmNifSuf::cbNombreEmi_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmNifSuf::cmdAceptar_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmNifSuf::cmdAnadir_Click);
    connect(cmdBajaEmisor, &QPushButton::clicked, this, &frmNifSuf::cmdBajaEmisor_Click);
    connect(cmdBaja_, &QPushButton::clicked, this, &frmNifSuf::cmdBajaPresentador_Click);

    CargarUsuarios();
}

QGroupBox* frmNifSuf::construirPresentador() {
    auto* framePresentador = marco("framePresentador", "Presentador", this);
    auto* presentador = new QFormLayout(framePresentador);
    cbNombrePre_ = lista("cbNombrePre", framePresentador);
    presentador->addRow(etiqueta("labNombrePre", "Nombre", framePresentador), cbNombrePre_);
    tbNifPre_ = fila(presentador, "tbNifPre", "N.I.F.", 9, framePresentador);
    tbSufPre_ = fila(presentador, "tbSufPre", "Sufijo:", 3, framePresentador);
    tbIdPre_ = fila(presentador, "tbIdPre", "ID", 0, framePresentador);
    tbCSB_ = caja("tbCSB", 0, framePresentador);
    cmdBaja_ = boton("cmdBajaPresentador", "Baja &Presen", framePresentador);
    presentador->addRow(tbCSB_);
    presentador->addRow(cmdBaja_);
    for (QLineEdit* lectura : {tbIdPre_, tbCSB_}) {
        lectura->setReadOnly(true);
    }
    soloCifrasCuenta(tbSufPre_);
    for (QLineEdit* edicion : {tbNifPre_, tbSufPre_}) {
        alModificar(edicion, [this] { mModificado = true; });
    }
    return framePresentador;
}

// The add panel: the new presenter, its norm, and its issuer.
QPushButton* frmNifSuf::construirAlta() {
    panelAlta_ = new QWidget(this);
    auto* Frame2 = marco("Frame2", "Presentador", panelAlta_);
    auto* altaPre = new QFormLayout(Frame2);
    Option1_0_ = nombrado(new QRadioButton(aQString("CSB58"), Frame2), "Option1_0");
    Option1_1_ = nombrado(new QRadioButton(aQString("CSB19"), Frame2), "Option1_1");
    Option1_ = new QButtonGroup(this);
    Option1_->addButton(Option1_0_, 0);
    Option1_->addButton(Option1_1_, 1);
    Option1_1_->setChecked(true);
    auto* normas = new QHBoxLayout;
    normas->addWidget(Option1_1_);
    normas->addWidget(Option1_0_);
    altaPre->addRow(normas);
    tbAltaNombrePre_ = fila(altaPre, "tbAltaNombrePre", "Nombre", 40, Frame2);
    tbAltaNifPre_ = fila(altaPre, "tbAltaNifPre", "N.I.F.", 9, Frame2);
    tbAltaSufPre_ = fila(altaPre, "tbAltaSufPre", "Sufijo:", 3, Frame2);
    alta_ = altaCuenta("Emisor", "Emi", 40, true, panelAlta_);
    auto* cmdAnadir = boton("cmdAñadir", "Añadir", panelAlta_);
    auto* alta = new QVBoxLayout(panelAlta_);
    alta->setContentsMargins(0, 0, 0, 0);
    alta->addWidget(Frame2);
    alta->addWidget(alta_.marco);
    alta->addWidget(cmdAnadir);
    alta->addStretch(1);
    soloCifrasCuenta(tbAltaSufPre_);
    return cmdAnadir;
}

void frmNifSuf::mostrarPartes(const std::vector<ParteEntrada>& partes) {
    llenarMarco({});
    if (!llenarListaPartes(cbNombrePre_, partes, {tbNifPre_, tbSufPre_, tbIdPre_})) {
        tbCSB_->clear();
        return;
    }
    cbNombrePre_Click();
}

void frmNifSuf::cbNombrePre_Click() {
    const auto id = idSeleccionado(cbNombrePre_);
    if (!id) {
        return;
    }
    std::optional<Presentador> presentador;
    std::vector<ParteEntrada> emisores;
    if (!enBaseDatos(contexto_.avisos, [&] {
            presentador = leerPresentador(contexto_.baseDatos, *id);
            if (presentador) {
                emisores = emisoresDePresentador(contexto_.baseDatos, *id);
            }
        })) {
        return;
    }
    if (!presentador) {
        contexto_.avisos.simple("No existen presentadores en la Base de Datos");
        return;
    }
    tbNifPre_->setText(aQString(presentador->nif));
    tbSufPre_->setText(aQString(presentador->sufijo));
    tbIdPre_->setText(QString::number(presentador->id));
    if (presentador->csb == kTipoCSB19) {
        tbCSB_->setText(aQString("Recibos - CSB19"));
    } else if (presentador->csb == kTipoCSB58) {
        tbCSB_->setText(aQString("Anticipos de crédito - CSB58"));
    } else {
        tbCSB_->clear();
    }
    if (llenarMarco(emisores)) {
        cbNombreEmi_Click();
    }
}

void frmNifSuf::cbNombreEmi_Click() {
    mostrarElegida(leerEmisor);
}

void frmNifSuf::cmdAceptar_Click() {
    DatosParte datos = datosDelMarco();
    datos.nifPre = textoDe(tbNifPre_);
    datos.sufPre = textoDe(tbSufPre_);
    const ValidacionParte v = validarEdicionCobros(datos);
    if (!guardarCambios(v)) {
        return;
    }
    const auto idPre = idSeleccionado(cbNombrePre_);
    const auto idEmi = idSeleccionado(cuenta_.cbNombre);
    if (!idPre || !idEmi) {
        return;
    }
    datos.numero = v.numero;
    if (!enBaseDatos(contexto_.avisos, [&] {
            guardarPresentadorEmisor(contexto_.baseDatos, *idPre, datos, *idEmi, *v.cuenta);
        })) {
        return;
    }
    mModificado = false;
}

void frmNifSuf::cmdAnadir_Click() {
    const auto usuario = usuarioDelAlta(kMsgSinUsuarioPresentador);
    if (!usuario) {
        return;
    }
    DatosParte datos = datosDelAlta();
    datos.nombrePre = textoDe(tbAltaNombrePre_);
    datos.nifPre = textoDe(tbAltaNifPre_);
    datos.sufPre = textoDe(tbAltaSufPre_);
    datos.norma = Option1_0_->isChecked() ? kTipoCSB58 : Option1_1_->isChecked() ? kTipoCSB19 : "";
    const ValidacionParte v = validarAltaCobros(datos);
    if (!mostrarValidacion(contexto_.avisos, v, alta_.tbCuenta)) {
        return;
    }
    datos.numero = v.numero;
    bool anadido = false;
    if (!enBaseDatos(contexto_.avisos, [&] {
            anadido = altaPresentadorEmisor(contexto_.baseDatos, *usuario, datos, *v.cuenta);
        })) {
        return;
    }
    if (!anadido) {
        contexto_.avisos.informacion("Presentador y Emisor ya existen en la base de datos");
        return;
    }
    // The same confirmation as an ordering party's add: the user learns the add took place.
    altaRealizada({tbAltaNombrePre_, tbAltaNifPre_, tbAltaSufPre_});
    // The next add must choose its norm again.
    Option1_->setExclusive(false);
    Option1_0_->setChecked(false);
    Option1_1_->setChecked(false);
    Option1_->setExclusive(true);
    CargarUsuarios();
}

void frmNifSuf::cmdBajaEmisor_Click() {
    const auto id = idSeleccionado(cuenta_.cbNombre);
    if (!id || !contexto_.avisos.pregunta("¿Desea dar de baja el Emisor?")) {
        return;
    }
    if (!enBaseDatos(
            contexto_.avisos, [&] { bajaEmisor(contexto_.baseDatos, *id); }, AvisoError::Critico)) {
        return;
    }
    CargarUsuarios();
}

void frmNifSuf::cmdBajaPresentador_Click() {
    const auto id = idSeleccionado(cbNombrePre_);
    if (id && contexto_.avisos.pregunta("¿Desea dar de baja el presentador?")) {
        enBaseDatos(contexto_.avisos, [&] {
            bajaPresentador(contexto_.baseDatos, desdeQString(cbUsuarios_->currentText()), *id);
        });
    }
    CargarUsuarios();
}

} // namespace trovanel
