#include "ventana_partes.hpp"

#include "avisos.hpp"
#include "configuracion.hpp"
#include "cuentas_partes.hpp"
#include "texto_qt.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace trovanel {

std::string textoDe(const QLineEdit* caja) {
    return datoDesdeQString(caja->text());
}

namespace {

// A party's N.I.F., suffix (when there is its box), office, check digits and account number as typed.
DatosParte datosDeCuenta(const QLineEdit* nif, const QLineEdit* sufijo, const QLineEdit* oficina,
                         const QLineEdit* dc, const QLineEdit* numero) {
    DatosParte datos;
    datos.nifEmi = textoDe(nif);
    if (sufijo != nullptr) {
        datos.sufEmi = textoDe(sufijo);
    }
    datos.oficina = textoDe(oficina);
    datos.dc = textoDe(dc);
    datos.numero = textoDe(numero);
    return datos;
}

} // namespace

VentanaPartes::VentanaPartes(ContextoVentanas contexto, ClaseParte clase, AvisoError avisoUsuarios,
                             bool conservaUsuario, QWidget* padre)
    : QDialog(padre), contexto_(contexto), cbUsuarios_(lista("cbUsuarios", this)), clase_(clase),
      avisoUsuarios_(avisoUsuarios), conservaUsuario_(conservaUsuario) {
    setModal(true);
}

void VentanaPartes::construirMarco(const char* titulo, bool conSufijo) {
    cuenta_ = panelCuenta(
        titulo, conSufijo, [this] { mModificado = true; }, this);
}

void VentanaPartes::conectarComunes(QPushButton* cmdAlta, QPushButton* cmdCancelar) {
    connect(cbUsuarios_, &QComboBox::activated, this, &VentanaPartes::cbUsuarios_Click);
    connect(cmdAlta, &QPushButton::clicked, this, &VentanaPartes::cmdAlta_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &VentanaPartes::cmdCancelar_Click);
}

void VentanaPartes::CargarUsuarios() {
    const int anterior = conservaUsuario_ ? cbUsuarios_->currentIndex() : -1;
    std::vector<std::string> usuarios;
    if (!enBaseDatos(
            contexto_.avisos, [&] { usuarios = usuariosDeClase(contexto_.baseDatos, clase_); },
            avisoUsuarios_)) {
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
        const int cuantos = cbUsuarios_->count();
        cbUsuarios_->setCurrentIndex(anterior >= 0 && anterior < cuantos ? anterior : cuantos > 0 ? 0 : -1);
    }
    cbUsuarios_Click();
}

void VentanaPartes::cmdAlta_Click() {
    panelAlta_->setVisible(panelAlta_->isHidden());
    mantenerEnPantalla(this);
}

void VentanaPartes::cmdCancelar_Click() {
    reject();
}

void VentanaPartes::cbUsuarios_Click() {
    std::vector<ParteEntrada> partes;
    if (!enBaseDatos(contexto_.avisos, [&] {
            partes = partesDeUsuario(contexto_.baseDatos, clase_, desdeQString(cbUsuarios_->currentText()));
        })) {
        return;
    }
    cmdBaja_->setEnabled(!partes.empty());
    mostrarPartes(partes);
}

bool VentanaPartes::llenarMarco(const std::vector<ParteEntrada>& partes) {
    const PanelCuenta& c = cuenta_;
    return llenarListaPartes(c.cbNombre, partes,
                             {c.tbNif, c.tbSuf, c.tbEntidad, c.tbOficina, c.tbDC, c.tbCCC, c.tbId});
}

void VentanaPartes::mostrarParte(const std::string& nif, const std::string& sufijo, std::int64_t id,
                                 const std::string& cuenta) {
    cuenta_.tbNif->setText(aQString(nif));
    if (cuenta_.tbSuf != nullptr) {
        cuenta_.tbSuf->setText(aQString(sufijo));
    }
    cuenta_.tbId->setText(QString::number(id));
    mostrarCuenta(cuenta, cuenta_.tbEntidad, cuenta_.tbOficina, cuenta_.tbDC, cuenta_.tbCCC);
}

DatosParte VentanaPartes::datosDelMarco() const {
    DatosParte datos =
        datosDeCuenta(cuenta_.tbNif, cuenta_.tbSuf, cuenta_.tbOficina, cuenta_.tbDC, cuenta_.tbCCC);
    datos.entidad = textoDe(cuenta_.tbEntidad);
    return datos;
}

bool VentanaPartes::guardarCambios(const ValidacionParte& validacion) {
    return mostrarValidacion(contexto_.avisos, validacion, cuenta_.tbCCC) && mModificado &&
           contexto_.avisos.pregunta("¿Desea guardar los cambios?");
}

std::optional<std::string> VentanaPartes::usuarioDelAlta(const char* sinUsuario) {
    std::string usuario = desdeQString(cbUsuarios_->currentText());
    if (!usuarioParaAlta(usuario)) {
        contexto_.avisos.critico(sinUsuario);
        return std::nullopt;
    }
    return usuario;
}

DatosParte VentanaPartes::datosDelAlta() const {
    DatosParte datos = datosDeCuenta(alta_.tbNif, alta_.tbSuf, alta_.tbOficina, alta_.tbDC, alta_.tbCuenta);
    datos.nombreEmi = textoDe(alta_.tbNombre);
    return datos;
}

void VentanaPartes::altaRealizada(std::initializer_list<QLineEdit*> otras) {
    contexto_.avisos.informacion(kMsgAltaRealizada);
    for (QLineEdit* caja : otras) {
        caja->clear();
    }
    for (QLineEdit* caja :
         {alta_.tbNombre, alta_.tbNif, alta_.tbSuf, alta_.tbOficina, alta_.tbDC, alta_.tbCuenta}) {
        if (caja != nullptr) {
            caja->clear();
        }
    }
    panelAlta_->hide();
}

} // namespace trovanel
