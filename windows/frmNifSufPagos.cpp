#include "frmNifSufPagos.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "configuracion.hpp"
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
    const auto marcarModificado = [this] { mModificado = true; };
    cuenta_ = panelCuenta("Ordenante", false, marcarModificado, this);

    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    cmdBaja_ = boton("cmdBaja", "&Baja", this);
    auto* cmdAlta = boton("cmdAlta", "A&lta", this);
    auto* cmdCancelar = boton("cmdCancelar", "&Cerrar", this);

    auto* cmdAnadir = construirAlta();

    colocarVentanaPartes(this, cbUsuarios_, {cuenta_.marco}, {cmdAceptar, cmdBaja_, cmdAlta, cmdCancelar},
                         Frame1_, Qt::AlignTop);
    anchoParaNombre(tbAltaNombre_, 36);

    connect(cbUsuarios_, &QComboBox::activated, this, &frmNifSufPagos::cbUsuarios_Click);
    connect(cuenta_.cbNombreEmi, &QComboBox::activated, this, &frmNifSufPagos::cbNombreEmi_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmNifSufPagos::cmdAceptar_Click);
    connect(cmdBaja_, &QPushButton::clicked, this, &frmNifSufPagos::cmdBaja_Click);
    connect(cmdAlta, &QPushButton::clicked, this, &frmNifSufPagos::cmdAlta_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmNifSufPagos::cmdAnadir_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmNifSufPagos::cmdCancelar_Click);

    CargarUsuarios();
}

// The add panel: a new ordering party.
QPushButton* frmNifSufPagos::construirAlta() {
    const AltaCuenta alta = altaCuenta("Alta Ordenante", "", 36, false, this);
    Frame1_ = alta.marco;
    tbAltaNombre_ = alta.tbNombre;
    tbAltaNif_ = alta.tbNif;
    tbAltaOficina_ = alta.tbOficina;
    tbAltaDC_ = alta.tbDC;
    tbAltaCuenta_ = alta.tbCuenta;
    auto* cmdAnadir = boton("cmdAñadir", "Añadir", Frame1_);
    alta.formulario->addRow(cmdAnadir);
    return cmdAnadir;
}

void frmNifSufPagos::CargarUsuarios() {
    const int anterior = cbUsuarios_->currentIndex();
    std::vector<std::string> usuarios;
    if (!enBaseDatos(contexto_.avisos,
                     [&] { usuarios = usuariosDeClase(contexto_.baseDatos, ClaseParte::Pagos); })) {
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
        cbUsuarios_->setCurrentIndex(anterior >= 0 && anterior < cbUsuarios_->count() ? anterior : 0);
    }
    cbUsuarios_Click();
}

void frmNifSufPagos::cbUsuarios_Click() {
    mTipo = kTipoPagos;
    std::vector<ParteEntrada> partes;
    if (!enBaseDatos(contexto_.avisos, [&] {
            partes = partesDeUsuario(contexto_.baseDatos, ClaseParte::Pagos,
                                     desdeQString(cbUsuarios_->currentText()));
        })) {
        return;
    }
    cmdBaja_->setEnabled(!partes.empty());
    if (!llenarListaPartes(cuenta_.cbNombreEmi, partes,
                           {cuenta_.tbNifEmi, cuenta_.tbEntidadEmi, cuenta_.tbOficinaEmi, cuenta_.tbDC,
                            cuenta_.tbCCC, cuenta_.tbIdEmi})) {
        return;
    }
    cbNombreEmi_Click();
}

void frmNifSufPagos::cbNombreEmi_Click() {
    const auto id = idSeleccionado(cuenta_.cbNombreEmi);
    if (!id) {
        return;
    }
    std::optional<Presentador> parte;
    if (!enBaseDatos(contexto_.avisos, [&] { parte = leerPresentador(contexto_.baseDatos, *id); })) {
        return;
    }
    if (!parte) {
        return;
    }
    cuenta_.tbNifEmi->setText(aQString(parte->nif));
    mostrarCuenta(parte->cuenta, cuenta_.tbEntidadEmi, cuenta_.tbOficinaEmi, cuenta_.tbDC, cuenta_.tbCCC);
    cuenta_.tbIdEmi->setText(QString::number(parte->id));
}

void frmNifSufPagos::cmdAceptar_Click() {
    DatosParte datos;
    datos.nifEmi = textoDe(cuenta_.tbNifEmi);
    datos.oficina = textoDe(cuenta_.tbOficinaEmi);
    datos.dc = textoDe(cuenta_.tbDC);
    datos.numero = textoDe(cuenta_.tbCCC);
    datos.entidad = textoDe(cuenta_.tbEntidadEmi);
    const ValidacionParte v = validarEdicionOrdenante(datos);
    if (!mostrarValidacion(contexto_.avisos, v, cuenta_.tbCCC) || !mModificado ||
        !contexto_.avisos.pregunta("¿Desea guardar los cambios?")) {
        return;
    }
    const auto id = idSeleccionado(cuenta_.cbNombreEmi);
    if (!id) {
        return;
    }
    if (!enBaseDatos(contexto_.avisos,
                     [&] { guardarOrdenante(contexto_.baseDatos, *id, datos.nifEmi, *v.cuenta); })) {
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
    if (!enBaseDatos(contexto_.avisos, [&] {
            alta =
                altaOrdenante(contexto_.baseDatos, usuario, datos.nombreEmi, datos.nifEmi, *v.cuenta, v.zop);
        })) {
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
    const auto id = idSeleccionado(cuenta_.cbNombreEmi);
    if (!id) {
        return;
    }
    if (contexto_.avisos.pregunta("¿Desea dar de baja el ordenante?")) {
        enBaseDatos(contexto_.avisos, [&] {
            bajaOrdenante(contexto_.baseDatos, desdeQString(cbUsuarios_->currentText()), *id);
        });
    }
    CargarUsuarios();
}

void frmNifSufPagos::cmdCancelar_Click() {
    reject();
}

} // namespace trovanel
