#include "frmNifSufPagos.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "controles.hpp"
#include "texto.hpp"
#include "texto_qt.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace trovanel {

frmNifSufPagos::frmNifSufPagos(ContextoVentanas contexto, QWidget* padre)
    : VentanaPartes(contexto, ClaseParte::Pagos, AvisoError::Simple, true, padre) {
    setObjectName(QStringLiteral("frmNifSufPagos"));
    setWindowTitle(aQString("Mantenimiento de Cabeceras (Pagos)"));

    construirMarco("Ordenante", false);

    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    cmdBaja_ = boton("cmdBaja", "&Baja", this);
    auto* cmdAlta = boton("cmdAlta", "A&lta", this);
    auto* cmdCancelar = boton("cmdCancelar", "&Cerrar", this);

    auto* cmdAnadir = construirAlta();

    colocarVentanaPartes(this, cbUsuarios_, {cuenta_.marco}, {cmdAceptar, cmdBaja_, cmdAlta, cmdCancelar},
                         panelAlta_, Qt::AlignTop);
    anchoParaNombre(alta_.tbNombre, 36);

    conectarComunes(cmdAlta, cmdCancelar);
    connect(cuenta_.cbNombre, &QComboBox::activated, this, &frmNifSufPagos::cbNombreOrdenante_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmNifSufPagos::cmdAceptar_Click);
    connect(cmdBaja_, &QPushButton::clicked, this, &frmNifSufPagos::cmdBaja_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmNifSufPagos::cmdAnadir_Click);

    CargarUsuarios();
}

// The add panel: the frame "Frame1" of a new ordering party.
QPushButton* frmNifSufPagos::construirAlta() {
    alta_ = altaCuenta("Alta Ordenante", "", 36, false, this);
    panelAlta_ = alta_.marco;
    auto* cmdAnadir = boton("cmdAñadir", "Añadir", alta_.marco);
    alta_.formulario->addRow(cmdAnadir);
    return cmdAnadir;
}

void frmNifSufPagos::mostrarPartes(const std::vector<ParteEntrada>& partes) {
    if (llenarMarco(partes)) {
        cbNombreOrdenante_Click();
    }
}

void frmNifSufPagos::cbNombreOrdenante_Click() {
    mostrarElegida(leerOrdenante);
}

void frmNifSufPagos::cmdAceptar_Click() {
    const DatosParte datos = datosDelMarco();
    const ValidacionParte v = validarEdicionOrdenante(datos);
    if (!guardarCambios(v)) {
        return;
    }
    const auto id = idSeleccionado(cuenta_.cbNombre);
    if (!id) {
        return;
    }
    if (!enBaseDatos(contexto_.avisos,
                     [&] { guardarOrdenante(contexto_.baseDatos, *id, datos.nifEmi, *v.cuenta); })) {
        return;
    }
    mModificado = false;
}

void frmNifSufPagos::cmdAnadir_Click() {
    const auto usuario = usuarioDelAlta(kMsgSinUsuario);
    if (!usuario) {
        return;
    }
    const DatosParte datos = datosDelAlta();
    const ValidacionParte v = validarAltaOrdenante(datos);
    if (!mostrarValidacion(contexto_.avisos, v, alta_.tbCuenta)) {
        return;
    }
    AltaOrdenante alta;
    if (!enBaseDatos(contexto_.avisos, [&] {
            alta =
                altaOrdenante(contexto_.baseDatos, *usuario, datos.nombreEmi, datos.nifEmi, *v.cuenta, v.zop);
        })) {
        return;
    }
    if (alta.existia) {
        contexto_.avisos.informacion("El Ordenante ya existe en la base de datos");
        return;
    }
    altaRealizada({});
    {
        const QSignalBlocker bloqueo(cbUsuarios_);
        cbUsuarios_->setCurrentIndex(cbUsuarios_->count() > 0 ? 0 : -1);
    }
    cbUsuarios_Click();
}

void frmNifSufPagos::cmdBaja_Click() {
    const auto id = idSeleccionado(cuenta_.cbNombre);
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

} // namespace trovanel
