#include "frmNifSuf.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "configuracion.hpp"
#include "controles.hpp"
#include "estado_ejecucion.hpp"
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
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace trovanel {

namespace {

std::string textoDe(const QLineEdit* caja) {
    return desdeQString(caja->text());
}

} // namespace

frmNifSuf::frmNifSuf(ContextoVentanas contexto, QWidget* padre) : QDialog(padre), contexto_(contexto) {
    setObjectName(QStringLiteral("frmNifSuf"));
    setWindowTitle(aQString("Mantenimiento de Cabeceras (Cobros)"));
    setModal(true);

    cbUsuarios_ = lista("cbUsuarios", this);
    auto* framePresentador = construirPresentador();
    const auto marcarModificado = [this] { mModificado = true; };
    cuenta_ = panelCuenta("Emisor", true, marcarModificado, this);
    auto* cmdBajaEmisor = boton("cmdBajaEmisor", "Baja &Emisor", cuenta_.marco);
    cuenta_.formulario->addRow(cmdBajaEmisor);

    auto* cmdAlta = boton("cmdAlta", "A&lta", this);
    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    auto* cmdCancelar = boton("cmdCancelar", "&Cerrar", this);
    auto* cmdAnadir = construirAlta();
    colocarVentanaPartes(this, cbUsuarios_, {framePresentador, cuenta_.marco},
                         {cmdAlta, cmdAceptar, cmdCancelar}, panelAlta_);
    anchoParaNombre(tbAltaNombrePre_, 40);
    anchoParaNombre(tbAltaNombreEmi_, 40);

    connect(cbUsuarios_, &QComboBox::activated, this, &frmNifSuf::cbUsuarios_Click);
    connect(cbNombrePre_, &QComboBox::activated, this, &frmNifSuf::cbNombrePre_Click);
    connect(cuenta_.cbNombreEmi, &QComboBox::activated, this, &frmNifSuf::cbNombreEmi_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmNifSuf::cmdAceptar_Click);
    connect(cmdAlta, &QPushButton::clicked, this, &frmNifSuf::cmdAlta_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmNifSuf::cmdAnadir_Click);
    connect(cmdBajaEmisor, &QPushButton::clicked, this, &frmNifSuf::cmdBajaEmisor_Click);
    connect(cmdBajaPresentador_, &QPushButton::clicked, this, &frmNifSuf::cmdBajaPresentador_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmNifSuf::cmdCancelar_Click);

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
    cmdBajaPresentador_ = boton("cmdBajaPresentador", "Baja &Presen", framePresentador);
    presentador->addRow(tbCSB_);
    presentador->addRow(cmdBajaPresentador_);
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
    const AltaCuenta emisor = altaCuenta("Emisor", "Emi", 40, true, panelAlta_);
    tbAltaNombreEmi_ = emisor.tbNombre;
    tbAltaNifEmi_ = emisor.tbNif;
    tbAltaSufEmi_ = emisor.tbSuf;
    tbAltaOficinaEmi_ = emisor.tbOficina;
    tbAltaDC_ = emisor.tbDC;
    tbAltaCuentaEmi_ = emisor.tbCuenta;
    auto* cmdAnadir = boton("cmdAñadir", "Añadir", panelAlta_);
    auto* alta = new QVBoxLayout(panelAlta_);
    alta->setContentsMargins(0, 0, 0, 0);
    alta->addWidget(Frame2);
    alta->addWidget(emisor.marco);
    alta->addWidget(cmdAnadir);
    alta->addStretch(1);
    soloCifrasCuenta(tbAltaSufPre_);
    return cmdAnadir;
}

void frmNifSuf::vaciar(std::initializer_list<QLineEdit*> cajas) {
    for (QLineEdit* c : cajas) {
        c->clear();
    }
}

void frmNifSuf::CargarUsuarios() {
    std::vector<std::string> usuarios;
    if (!enBaseDatos(
            contexto_.avisos, [&] { usuarios = usuariosDeClase(contexto_.baseDatos, ClaseParte::Cobros); },
            AvisoError::Critico)) {
        return;
    }
    {
        const QSignalBlocker bloqueo(cbUsuarios_);
        cbUsuarios_->clear();
        if (contexto_.configuracion.gAdministrador) {
            cbUsuarios_->addItem(aQString(kUsuarioAdmin));
        }
        for (const std::string& nombre : usuarios) {
            cbUsuarios_->addItem(aQString(nombre));
        }
        cbUsuarios_->setCurrentIndex(cbUsuarios_->count() > 0 ? 0 : -1);
    }
    cbUsuarios_Click();
}

void frmNifSuf::cbUsuarios_Click() {
    mTipo = kTipoCobros;
    std::vector<ParteEntrada> partes;
    if (!enBaseDatos(contexto_.avisos, [&] {
            partes = partesDeUsuario(contexto_.baseDatos, ClaseParte::Cobros,
                                     desdeQString(cbUsuarios_->currentText()));
        })) {
        return;
    }
    cmdBajaPresentador_->setEnabled(!partes.empty());
    llenarListaPartes(cuenta_.cbNombreEmi, {},
                      {cuenta_.tbNifEmi, cuenta_.tbSufEmi, cuenta_.tbEntidadEmi, cuenta_.tbOficinaEmi,
                       cuenta_.tbDC, cuenta_.tbCCC, cuenta_.tbIdEmi});
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
    if (!llenarListaPartes(cuenta_.cbNombreEmi, emisores,
                           {cuenta_.tbCCC, cuenta_.tbNifEmi, cuenta_.tbEntidadEmi, cuenta_.tbOficinaEmi,
                            cuenta_.tbSufEmi, cuenta_.tbDC, cuenta_.tbIdEmi})) {
        return;
    }
    cbNombreEmi_Click();
}

void frmNifSuf::cbNombreEmi_Click() {
    const auto id = idSeleccionado(cuenta_.cbNombreEmi);
    if (!id) {
        return;
    }
    std::optional<Emisor> emisor;
    if (!enBaseDatos(contexto_.avisos, [&] { emisor = leerEmisor(contexto_.baseDatos, *id); })) {
        return;
    }
    if (!emisor) {
        return;
    }
    cuenta_.tbNifEmi->setText(aQString(emisor->nif));
    cuenta_.tbSufEmi->setText(aQString(emisor->sufijo));
    cuenta_.tbIdEmi->setText(QString::number(emisor->id));
    mostrarCuenta(emisor->cuenta, cuenta_.tbEntidadEmi, cuenta_.tbOficinaEmi, cuenta_.tbDC, cuenta_.tbCCC);
}

void frmNifSuf::cmdAceptar_Click() {
    DatosParte datos;
    datos.nifPre = textoDe(tbNifPre_);
    datos.sufPre = textoDe(tbSufPre_);
    datos.nifEmi = textoDe(cuenta_.tbNifEmi);
    datos.sufEmi = textoDe(cuenta_.tbSufEmi);
    datos.oficina = textoDe(cuenta_.tbOficinaEmi);
    datos.dc = textoDe(cuenta_.tbDC);
    datos.numero = textoDe(cuenta_.tbCCC);
    datos.entidad = textoDe(cuenta_.tbEntidadEmi);
    const ValidacionParte v = validarEdicionCobros(datos);
    if (!mostrarValidacion(contexto_.avisos, v, cuenta_.tbCCC) || !mModificado ||
        !contexto_.avisos.pregunta("¿Desea guardar los cambios?")) {
        return;
    }
    const auto idPre = idSeleccionado(cbNombrePre_);
    const auto idEmi = idSeleccionado(cuenta_.cbNombreEmi);
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

void frmNifSuf::cmdAlta_Click() {
    panelAlta_->setVisible(panelAlta_->isHidden());
    mantenerEnPantalla(this);
}

void frmNifSuf::cmdAnadir_Click() {
    const std::string usuario = desdeQString(cbUsuarios_->currentText());
    if (!usuarioParaAlta(usuario)) {
        contexto_.avisos.critico(kMsgSinUsuarioPresentador);
        return;
    }
    DatosParte datos;
    datos.nombrePre = textoDe(tbAltaNombrePre_);
    datos.nifPre = textoDe(tbAltaNifPre_);
    datos.sufPre = textoDe(tbAltaSufPre_);
    datos.nombreEmi = textoDe(tbAltaNombreEmi_);
    datos.nifEmi = textoDe(tbAltaNifEmi_);
    datos.sufEmi = textoDe(tbAltaSufEmi_);
    datos.oficina = textoDe(tbAltaOficinaEmi_);
    datos.dc = textoDe(tbAltaDC_);
    datos.numero = textoDe(tbAltaCuentaEmi_);
    datos.norma = Option1_0_->isChecked() ? kTipoCSB58 : Option1_1_->isChecked() ? kTipoCSB19 : "";
    const ValidacionParte v = validarAltaCobros(datos);
    if (!mostrarValidacion(contexto_.avisos, v, tbAltaCuentaEmi_)) {
        return;
    }
    datos.numero = v.numero;
    bool anadido = false;
    if (!enBaseDatos(contexto_.avisos, [&] {
            anadido = altaPresentadorEmisor(contexto_.baseDatos, usuario, datos, *v.cuenta);
        })) {
        return;
    }
    if (!anadido) {
        contexto_.avisos.informacion("Presentador y Emisor ya existen en la base de datos");
        return;
    }
    // The same confirmation as an ordering party's add: the user learns the add took place.
    contexto_.avisos.informacion(kMsgAltaRealizada);
    vaciar({tbAltaNombrePre_, tbAltaNifPre_, tbAltaSufPre_, tbAltaNombreEmi_, tbAltaNifEmi_, tbAltaSufEmi_,
            tbAltaOficinaEmi_, tbAltaDC_, tbAltaCuentaEmi_});
    // The next add must choose its norm again.
    Option1_->setExclusive(false);
    Option1_0_->setChecked(false);
    Option1_1_->setChecked(false);
    Option1_->setExclusive(true);
    panelAlta_->hide();
    CargarUsuarios();
}

void frmNifSuf::cmdBajaEmisor_Click() {
    const auto id = idSeleccionado(cuenta_.cbNombreEmi);
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

void frmNifSuf::cmdCancelar_Click() {
    reject();
}

} // namespace trovanel
