#include "frmNifSufPagos.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "controles.hpp"
#include "estado_ejecucion.hpp"
#include "texto.hpp"
#include "texto_qt.hpp"

#include <QComboBox>
#include <QFormLayout>
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

std::string textoDe(const QLineEdit* caja) {
    return desdeQString(caja->text());
}

} // namespace

frmNifSufPagos::frmNifSufPagos(ContextoVentanas contexto, QWidget* padre)
    : QDialog(padre), contexto_(contexto) {
    setObjectName(QStringLiteral("frmNifSufPagos"));
    setWindowTitle(aQString("Mantenimiento de Cabeceras (Pagos)"));
    setModal(true);

    cbUsuarios_ = lista("cbUsuarios", this);
    auto* frameEmisor = marco("frameEmisor", "Ordenante", this);
    cbNombreEmi_ = lista("cbNombreEmi", frameEmisor);
    tbNifEmi_ = caja("tbNifEmi", 9, frameEmisor);
    // The bank of the stored account: an edit keeps it.
    tbEntidadEmi_ = caja("tbEntidadEmi", 0, frameEmisor);
    tbEntidadEmi_->setReadOnly(true);
    tbOficinaEmi_ = caja("tbOficinaEmi", 4, frameEmisor);
    tbDC_ = caja("tbDC", 2, frameEmisor);
    tbCCC_ = caja("tbCCC", 10, frameEmisor);
    tbIdEmi_ = caja("tbIdEmi", 0, frameEmisor);
    tbIdEmi_->setReadOnly(true);

    auto* formulario = new QFormLayout(frameEmisor);
    formulario->addRow(etiqueta("labNombre", "Nombre", frameEmisor), cbNombreEmi_);
    formulario->addRow(etiqueta("labNif", "N.I.F.", frameEmisor), tbNifEmi_);
    formulario->addRow(etiqueta("labEntidad", "Entidad", frameEmisor), tbEntidadEmi_);
    formulario->addRow(etiqueta("labOficina", "Oficina", frameEmisor), tbOficinaEmi_);
    formulario->addRow(etiqueta("labDC", "DC", frameEmisor), tbDC_);
    formulario->addRow(etiqueta("labCuenta", "Cuenta", frameEmisor), tbCCC_);
    formulario->addRow(etiqueta("labId", "ID", frameEmisor), tbIdEmi_);

    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    cmdBaja_ = boton("cmdBaja", "&Baja", this);
    auto* cmdAlta = boton("cmdAlta", "A&lta", this);
    auto* cmdCancelar = boton("cmdCancelar", "&Cerrar", this);

    Frame1_ = marco("Frame1", "Alta Ordenante", this);
    tbAltaNombre_ = caja("tbAltaNombre", 36, Frame1_);
    tbAltaNif_ = caja("tbAltaNif", 9, Frame1_);
    tbAltaOficina_ = caja("tbAltaOficina", 4, Frame1_);
    tbAltaDC_ = caja("tbAltaDC", 2, Frame1_);
    tbAltaCuenta_ = caja("tbAltaCuenta", 10, Frame1_);
    auto* cmdAnadir = boton("cmdAñadir", "Añadir", Frame1_);
    auto* alta = new QFormLayout(Frame1_);
    alta->addRow(etiqueta("labAltaNombre", "Nombre", Frame1_), tbAltaNombre_);
    alta->addRow(etiqueta("labAltaNif", "N.I.F.", Frame1_), tbAltaNif_);
    alta->addRow(etiqueta("labAltaOficina", "Oficina", Frame1_), tbAltaOficina_);
    alta->addRow(etiqueta("labAltaDC", "DC", Frame1_), tbAltaDC_);
    alta->addRow(etiqueta("labAltaCuenta", "Cuenta", Frame1_), tbAltaCuenta_);
    alta->addRow(cmdAnadir);

    auto* usuario = new QHBoxLayout;
    usuario->addWidget(etiqueta("labUsuario", "Usuario", this));
    usuario->addWidget(cbUsuarios_, 1);
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {cmdAceptar, cmdBaja_, cmdAlta, cmdCancelar}) {
        botones->addWidget(b);
    }
    auto* principal = new QVBoxLayout;
    principal->addLayout(usuario);
    principal->addWidget(frameEmisor);
    principal->addLayout(botones);
    principal->addStretch(1);
    auto* todo = new QHBoxLayout(this);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    todo->addLayout(principal);
    todo->addWidget(Frame1_, 0, Qt::AlignTop);
    Frame1_->hide();
    principal->addStrut(anchoTitulo(this) - todo->contentsMargins().left() - todo->contentsMargins().right());
    anchoParaNombre(tbAltaNombre_, 36);

    for (QLineEdit* cuenta : {tbAltaOficina_, tbAltaDC_, tbAltaCuenta_, tbOficinaEmi_, tbDC_, tbCCC_}) {
        soloCifrasCuenta(cuenta);
    }
    for (QLineEdit* edicion : {tbNifEmi_, tbOficinaEmi_, tbDC_, tbCCC_}) {
        alModificar(edicion, [this] { mModificado = true; });
    }

    connect(cbUsuarios_, &QComboBox::activated, this, &frmNifSufPagos::cbUsuarios_Click);
    connect(cbNombreEmi_, &QComboBox::activated, this, &frmNifSufPagos::cbNombreEmi_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmNifSufPagos::cmdAceptar_Click);
    connect(cmdBaja_, &QPushButton::clicked, this, &frmNifSufPagos::cmdBaja_Click);
    connect(cmdAlta, &QPushButton::clicked, this, &frmNifSufPagos::cmdAlta_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmNifSufPagos::cmdAnadir_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmNifSufPagos::cmdCancelar_Click);

    CargarUsuarios();
}

void frmNifSufPagos::errorBaseDatos(const std::exception& error) {
    contexto_.avisos.simple(std::string("Error: ") + error.what());
}

void frmNifSufPagos::CargarUsuarios() {
    const int anterior = cbUsuarios_->currentIndex();
    std::vector<std::string> usuarios;
    try {
        usuarios = usuariosDeClase(contexto_.baseDatos, ClaseParte::Pagos);
    } catch (const ErrorBaseDatos& e) {
        errorBaseDatos(e);
        return;
    }
    {
        const QSignalBlocker bloqueo(cbUsuarios_);
        cbUsuarios_->clear();
        if (contexto_.estado.gAdministrador) {
            cbUsuarios_->addItem(aQString(kUsuarioAdmin));
        }
        for (const std::string& nombre : usuarios) {
            cbUsuarios_->addItem(aQString(nombre));
        }
        cbUsuarios_->setCurrentIndex(anterior >= 0 && anterior < cbUsuarios_->count() ? anterior : 0);
    }
    cbUsuarios_Click();
}

void frmNifSufPagos::cbUsuarios_Click() {
    mTipo = kTipoPagos;
    std::vector<ParteEntrada> partes;
    try {
        partes =
            partesDeUsuario(contexto_.baseDatos, ClaseParte::Pagos, desdeQString(cbUsuarios_->currentText()));
    } catch (const ErrorBaseDatos& e) {
        errorBaseDatos(e);
        return;
    }
    cmdBaja_->setEnabled(!partes.empty());
    if (!llenarListaPartes(cbNombreEmi_, partes,
                           {tbNifEmi_, tbEntidadEmi_, tbOficinaEmi_, tbDC_, tbCCC_, tbIdEmi_})) {
        return;
    }
    cbNombreEmi_Click();
}

void frmNifSufPagos::cbNombreEmi_Click() {
    const auto id = idSeleccionado(cbNombreEmi_);
    if (!id) {
        return;
    }
    std::optional<Presentador> parte;
    try {
        parte = leerPresentador(contexto_.baseDatos, *id);
    } catch (const ErrorBaseDatos& e) {
        errorBaseDatos(e);
        return;
    }
    if (!parte) {
        return;
    }
    tbNifEmi_->setText(aQString(parte->nif));
    mostrarCuenta(parte->cuenta, tbEntidadEmi_, tbOficinaEmi_, tbDC_, tbCCC_);
    tbIdEmi_->setText(QString::number(parte->id));
}

void frmNifSufPagos::cmdAceptar_Click() {
    DatosParte datos;
    datos.nifEmi = textoDe(tbNifEmi_);
    datos.oficina = textoDe(tbOficinaEmi_);
    datos.dc = textoDe(tbDC_);
    datos.numero = textoDe(tbCCC_);
    datos.entidad = textoDe(tbEntidadEmi_);
    const ValidacionParte v = validarEdicionOrdenante(datos);
    if (!mostrarValidacion(contexto_.avisos, v, tbCCC_) || !mModificado ||
        !contexto_.avisos.pregunta("¿Desea guardar los cambios?")) {
        return;
    }
    const auto id = idSeleccionado(cbNombreEmi_);
    if (!id) {
        return;
    }
    try {
        guardarOrdenante(contexto_.baseDatos, *id, datos.nifEmi, *v.cuenta);
    } catch (const ErrorBaseDatos& e) {
        errorBaseDatos(e);
        return;
    }
    mModificado = false;
}

void frmNifSufPagos::cmdAlta_Click() {
    Frame1_->setVisible(Frame1_->isHidden());
    mantenerEnPantalla(this);
}

void frmNifSufPagos::cmdAnadir_Click() {
    mTipo = kTipoPagos;
    const std::string usuario = desdeQString(cbUsuarios_->currentText());
    if (!usuarioParaAlta(usuario)) {
        contexto_.avisos.critico(kMsgSinUsuario);
        return;
    }
    DatosParte datos;
    datos.nombreEmi = textoDe(tbAltaNombre_);
    datos.nifEmi = textoDe(tbAltaNif_);
    datos.oficina = textoDe(tbAltaOficina_);
    datos.dc = textoDe(tbAltaDC_);
    datos.numero = textoDe(tbAltaCuenta_);
    const ValidacionParte v = validarAltaOrdenante(datos);
    if (!mostrarValidacion(contexto_.avisos, v, tbAltaCuenta_)) {
        return;
    }
    AltaOrdenante alta;
    try {
        alta = altaOrdenante(contexto_.baseDatos, usuario, datos.nombreEmi, datos.nifEmi, *v.cuenta, v.zop);
    } catch (const ErrorBaseDatos& e) {
        errorBaseDatos(e);
        return;
    }
    if (alta.existia) {
        contexto_.avisos.informacion("El Ordenante ya existe en la base de datos");
        return;
    }
    contexto_.avisos.informacion(kMsgAltaRealizada);
    for (QLineEdit* caja : {tbAltaNombre_, tbAltaCuenta_, tbAltaDC_, tbAltaNif_, tbAltaOficina_}) {
        caja->clear();
    }
    Frame1_->hide();
    {
        const QSignalBlocker bloqueo(cbUsuarios_);
        cbUsuarios_->setCurrentIndex(cbUsuarios_->count() > 0 ? 0 : -1);
    }
    cbUsuarios_Click();
}

void frmNifSufPagos::cmdBaja_Click() {
    const auto id = idSeleccionado(cbNombreEmi_);
    if (!id) {
        return;
    }
    if (contexto_.avisos.pregunta("¿Desea dar de baja el ordenante?")) {
        try {
            bajaOrdenante(contexto_.baseDatos, desdeQString(cbUsuarios_->currentText()), *id);
        } catch (const ErrorBaseDatos& e) {
            errorBaseDatos(e);
        }
    }
    CargarUsuarios();
}

void frmNifSufPagos::cmdCancelar_Click() {
    reject();
}

} // namespace trovanel
