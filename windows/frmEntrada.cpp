#include "frmEntrada.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "configuracion.hpp"
#include "controles.hpp"
#include "conversores.hpp"
#include "cursor_qt.hpp"
#include "dialogo_ficheros.hpp"
#include "entrada_excel_access.hpp"
#include "frmMsg.hpp"
#include "libro_excel.hpp"
#include "lista_plantillas.hpp"
#include "texto_qt.hpp"
#include "tipos_plantilla.hpp"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace trovanel {

namespace {

// Widths of the dialog without and with the grids (6120 and 11625 twips); wider when the grids need it.
constexpr int kAnchoEstrecho = 408;
constexpr int kAnchoAncho = 775;

// The grids' columns as designed; each widens to its longest value.
constexpr Columna kColumnasPresentador[] = {{"", 13, Qt::AlignLeft},
                                            {"Nombre ", 193, Qt::AlignLeft},
                                            {"Nif ", 67, Qt::AlignHCenter},
                                            {"Sufijo", 33, Qt::AlignHCenter}};
constexpr Columna kColumnasOrdenante[] = {
    {"", 13, Qt::AlignLeft}, {"Nombre ", 160, Qt::AlignLeft}, {"Cuenta de Cargo", 147, Qt::AlignHCenter}};
constexpr Columna kColumnasEmisor[] = {{" ", 13, Qt::AlignLeft},
                                       {"Nombre", 167, Qt::AlignLeft},
                                       {"NIF", 67, Qt::AlignLeft},
                                       {"Sufijo", 33, Qt::AlignLeft},
                                       {"Cuenta de Abono", 147, Qt::AlignHCenter}};

QString t(const char* texto) {
    return aQString(texto);
}

// Process date boxes take digits, "*" and Backspace; keys that type nothing (Tab, arrows) pass.
class FiltroTeclasFecha : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress) {
            const auto* tecla = static_cast<QKeyEvent*>(evento);
            const QString texto = tecla->text();
            if (tecla->key() == Qt::Key_Backspace || texto.isEmpty() || !texto.at(0).isPrint()) {
                return false;
            }
            const QChar c = texto.at(0);
            return !(texto.size() == 1 && ((c >= u'0' && c <= u'9') || c == u'*'));
        }
        return QObject::eventFilter(objeto, evento);
    }
};

QLineEdit* cajaFecha(const QString& nombre, int longitud, QObject* filtro, QWidget* padre) {
    auto* resultado = caja(nombre, longitud, padre);
    resultado->setMaximumWidth(longitud == 4 ? 48 : 32);
    resultado->installEventFilter(filtro);
    // Pasted text obeys the same rule as typed keys.
    resultado->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9*]*")), resultado));
    return resultado;
}

} // namespace

frmEntrada::frmEntrada(ContextoVentanas contexto, SolicitudDatosObligatorios* solicitud, QWidget* padre)
    : QDialog(padre), contexto_(contexto), solicitud_(solicitud), modelo_(contexto.configuracion) {
    construir();

    try {
        const QSignalBlocker bloqueo(cbEstructura_);
        for (const EntradaPlantilla& entrada : CargarPlantillas(contexto_.baseDatos, false)) {
            anadirPlantilla(cbEstructura_, entrada);
        }
        cbEstructura_->setCurrentIndex(-1);
    } catch (const ErrorTrovanel& e) {
        contexto_.avisos.critico(e.what());
    }
}

frmEntrada::~frmEntrada() = default;

void frmEntrada::construir() {
    setObjectName(t("frmEntrada"));
    setWindowTitle(t("Generar CSB"));

    // Built in the order the user moves through them: the creation order is the tab order.
    QGroupBox* Frame3 = marcoPlantilla();
    QGroupBox* Frame5 = marcoUsuario();
    QHBoxLayout* capaFecha = filaFecha();
    marcoCabecera();
    QGroupBox* Frame1 = marcoOrigen();
    QGroupBox* Frame2 = marcoDestino();
    QGroupBox* Frame6 = marcoHoja();
    QHBoxLayout* capaBotones = filaBotonesEntrada();

    // The choices never give up width to the grids opened beside them.
    auto* panelOpciones = nombrado(new QWidget(this), "panelOpciones");
    panelOpciones->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    auto* izquierda = new QVBoxLayout(panelOpciones);
    izquierda->setContentsMargins(0, 0, 0, 0);
    izquierda->addWidget(Frame3);
    izquierda->addWidget(Frame5);
    izquierda->addLayout(capaFecha);
    izquierda->addWidget(Frame4_);
    izquierda->addWidget(Frame1);
    izquierda->addWidget(Frame2);
    izquierda->addWidget(Frame6);
    izquierda->addStretch();
    izquierda->addLayout(capaBotones);

    construirRejillas();

    auto* capa = new QHBoxLayout(this);
    capa->addWidget(panelOpciones);
    capa->addWidget(panelRejillas_, 1);
    resize(kAnchoEstrecho, sizeHint().height());

    connect(cbEstructura_, &QComboBox::activated, this, &frmEntrada::cbEstructura_Click);
    connect(cbUsuario_, &QComboBox::activated, this, &frmEntrada::cbUsuario_Click);
    connect(cbPresentador_, &QComboBox::activated, this, &frmEntrada::cbPresentador_Click);
    connect(cbHojaTabla_, &QComboBox::activated, this, &frmEntrada::cbHojaTabla_Click);
    connect(Image1_, &QPushButton::clicked, this, &frmEntrada::Image1_Click);
    connect(cmdProcesar_, &QPushButton::clicked, this, &frmEntrada::cmdProcesar_Click);
    connect(cmdMas_, &QPushButton::clicked, this, &frmEntrada::cmdMas_Click);
    connect(Command2_, &QPushButton::clicked, this, &frmEntrada::Command2_Click);
    connect(gidPresentador_, &QTableWidget::cellClicked, this,
            [this](int fila, int) { gidPresentadorFilaPulsada(fila); });
    connect(gridEmisor_, &QTableWidget::cellClicked, this,
            [this](int fila, int) { gridEmisorFilaPulsada(fila); });
}

QGroupBox* frmEntrada::marcoPlantilla() {
    auto* Frame3 = marco("Frame3", "Seleccione la plantilla", this);
    cbEstructura_ = lista("cbEstructura", Frame3);
    auto* capaPlantilla = new QHBoxLayout(Frame3);
    capaPlantilla->addWidget(etiqueta("Label1", "Plantilla", Frame3));
    capaPlantilla->addWidget(cbEstructura_, 1);
    return Frame3;
}

QGroupBox* frmEntrada::marcoUsuario() {
    auto* Frame5 = marco("Frame5", "Seleccione Usuario", this);
    cbUsuario_ = lista("cbUsuario", Frame5);
    cbPresentador_ = lista("cbPresentador", Frame5);
    cbEmisor_ = lista("cbEmisor", Frame5);
    labPresentador_ = etiqueta("labPresentador", "Presentador", Frame5);
    labOrdenante_ = etiqueta("labOrdenante", "Ordenante", Frame5);
    LabEmisor_ = etiqueta("LabEmisor", "Emisor", Frame5);
    labOrdenante_->hide();
    auto* capaUsuario = new QGridLayout(Frame5);
    capaUsuario->addWidget(etiqueta("Label5", "Usuario", Frame5), 0, 0);
    capaUsuario->addWidget(cbUsuario_, 0, 1);
    capaUsuario->addWidget(labPresentador_, 1, 0);
    capaUsuario->addWidget(labOrdenante_, 1, 0);
    capaUsuario->addWidget(cbPresentador_, 1, 1);
    capaUsuario->addWidget(LabEmisor_, 2, 0);
    capaUsuario->addWidget(cbEmisor_, 2, 1);
    capaUsuario->setColumnStretch(1, 1);
    return Frame5;
}

QHBoxLayout* frmEntrada::filaFecha() {
    auto* filtroFecha = new FiltroTeclasFecha(this);
    Label2_ = etiqueta("Label2", "Fecha de Proceso (DD/MM/AAAA)", this);
    tbDia_ = cajaFecha(t("tbDia"), 2, filtroFecha, this);
    Label3_ = etiqueta("Label3", "/", this);
    tbMes_ = cajaFecha(t("tbMes"), 2, filtroFecha, this);
    Label4_ = etiqueta("Label4", "/", this);
    tbAnio_ = cajaFecha(QString::fromUtf8("tbA\xc3\xb1o"), 4, filtroFecha, this);
    auto* capaFecha = new QHBoxLayout;
    for (QWidget* control :
         {static_cast<QWidget*>(Label2_), static_cast<QWidget*>(tbDia_), static_cast<QWidget*>(Label3_),
          static_cast<QWidget*>(tbMes_), static_cast<QWidget*>(Label4_), static_cast<QWidget*>(tbAnio_)}) {
        capaFecha->addWidget(control);
    }
    capaFecha->addStretch();
    return capaFecha;
}

void frmEntrada::marcoCabecera() {
    Frame4_ = marco("Frame4", "Datos para la Cabecera", this);
    Label6_ = etiqueta("Label6", "Detalle Cargo ", Frame4_);
    Label7_ = etiqueta("Label7", "Domicilio Ordenante", Frame4_);
    Label8_ = etiqueta("Label8", "Plaza Ordenante", Frame4_);
    DetalleCargo0_ = nombrado(new QRadioButton(t("Total"), Frame4_), "DetalleCargo0");
    DetalleCargo1_ = nombrado(new QRadioButton(t("Parcial"), Frame4_), "DetalleCargo1");
    DetalleCargo_ = nombrado(new QButtonGroup(this), "DetalleCargo");
    DetalleCargo_->addButton(DetalleCargo0_, 0);
    DetalleCargo_->addButton(DetalleCargo1_, 1);
    tbDomicilioOrdenante_ = caja("tbDomicilioOrdenante", 36, Frame4_);
    tbPlazaOrdenante_ = caja("tbPlazaOrdenante", 36, Frame4_);
    auto* capaCabecera = new QGridLayout(Frame4_);
    auto* opciones = new QHBoxLayout;
    opciones->addWidget(DetalleCargo0_);
    opciones->addWidget(DetalleCargo1_);
    opciones->addStretch();
    capaCabecera->addWidget(Label6_, 0, 0);
    capaCabecera->addLayout(opciones, 0, 1);
    capaCabecera->addWidget(Label7_, 1, 0);
    capaCabecera->addWidget(tbDomicilioOrdenante_, 1, 1);
    capaCabecera->addWidget(Label8_, 2, 0);
    capaCabecera->addWidget(tbPlazaOrdenante_, 2, 1);
}

QGroupBox* frmEntrada::marcoOrigen() {
    auto* Frame1 = marco("Frame1", "Fichero Origen", this);
    tbEntrada_ = caja("tbEntrada", 0, Frame1);
    // Only the file dialog sets the input: a typed name would never reach the run.
    tbEntrada_->setReadOnly(true);
    Image1_ = boton("Image1", "", Frame1);
    Image1_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    Image1_->setToolTip(t("Abrir fichero a filtrar"));
    auto* capaOrigen = new QHBoxLayout(Frame1);
    capaOrigen->addWidget(tbEntrada_, 1);
    capaOrigen->addWidget(Image1_);
    return Frame1;
}

QGroupBox* frmEntrada::marcoDestino() {
    auto* Frame2 = marco("Frame2", "Fichero Destino", this);
    tbSalida_ = caja("tbSalida", 0, Frame2);
    // The run always writes the derived name; an edit here would be silently ignored.
    tbSalida_->setReadOnly(true);
    auto* capaDestino = new QHBoxLayout(Frame2);
    capaDestino->addWidget(tbSalida_);
    return Frame2;
}

QGroupBox* frmEntrada::marcoHoja() {
    auto* Frame6 = marco("Frame6", "Seleccione Una Hoja o Tabla", this);
    labHojaTabla_ = etiqueta("labHojaTabla", "Hoja", Frame6);
    cbHojaTabla_ = lista("cbHojaTabla", Frame6);
    auto* capaHoja = new QHBoxLayout(Frame6);
    capaHoja->addWidget(labHojaTabla_);
    capaHoja->addWidget(cbHojaTabla_, 1);
    return Frame6;
}

QHBoxLayout* frmEntrada::filaBotonesEntrada() {
    cmdProcesar_ = boton("cmdProcesar", "&Generar CSB", this);
    cmdProcesar_->setEnabled(false);
    Command2_ = boton("Command2", "&Cerrar", this);
    cmdMas_ = boton("cmdMas", "+", this);
    auto* capaBotones = new QHBoxLayout;
    capaBotones->addWidget(cmdProcesar_);
    capaBotones->addWidget(Command2_);
    capaBotones->addStretch();
    capaBotones->addWidget(cmdMas_);
    return capaBotones;
}

// The presenter and issuer grids beside the choices, out of view until asked for.
void frmEntrada::construirRejillas() {
    panelRejillas_ = nombrado(new QWidget(this), "panelRejillas");
    framePresentador_ = marco("framePresentador", "Seleccionar Presentador", panelRejillas_);
    gidPresentador_ = rejilla("gidPresentador", framePresentador_);
    (new QVBoxLayout(framePresentador_))->addWidget(gidPresentador_);
    frameEmisor_ = marco("frameEmisor", "Seleccionar Emisor", panelRejillas_);
    gridEmisor_ = rejilla("gridEmisor", frameEmisor_);
    (new QVBoxLayout(frameEmisor_))->addWidget(gridEmisor_);
    auto* capaRejillas = new QVBoxLayout(panelRejillas_);
    capaRejillas->setContentsMargins(0, 0, 0, 0);
    capaRejillas->addWidget(framePresentador_);
    capaRejillas->addWidget(frameEmisor_);
    prepararRejilla(gidPresentador_, kColumnasPresentador);
    prepararRejilla(gridEmisor_, kColumnasEmisor);
    // It opens narrow, the grids out of view.
    panelRejillas_->hide();
}

void frmEntrada::cbEstructura_Click() {
    {
        const QSignalBlocker bloqueoEmisor(cbEmisor_);
        const QSignalBlocker bloqueoPresentador(cbPresentador_);
        cbEmisor_->clear();
        cbPresentador_->clear();
    }
    gidPresentador_->setRowCount(0);
    gridEmisor_->setRowCount(0);

    const std::optional<PlantillaElegida> elegida = plantillaElegida(cbEstructura_);
    if (!elegida) {
        return;
    }
    modelo_.elegirPlantilla(elegida->id, elegida->tipo);
    aplicarVisibilidad(visibilidadDe(modelo_.tipoUsuario()));

    {
        const QSignalBlocker bloqueo(cbUsuario_);
        cbUsuario_->clear();
        if (contexto_.configuracion.gAdministrador) {
            cbUsuario_->addItem(t(kUsuarioAdmin));
        }
        try {
            for (const std::string& usuario : usuariosDeTipo(contexto_.baseDatos, modelo_.tipoUsuario())) {
                cbUsuario_->addItem(aQString(usuario));
            }
        } catch (const ErrorBaseDatos& e) {
            contexto_.avisos.critico(std::string("Error: ") + e.what());
            return;
        }
        if (cbUsuario_->count() == 0) {
            return;
        }
        cbUsuario_->setCurrentIndex(0);
    }
    cbUsuario_Click();
}

void frmEntrada::aplicarVisibilidad(const VisibilidadFamilia& v) {
    labOrdenante_->setVisible(v.ordenante);
    for (QWidget* control : {static_cast<QWidget*>(labPresentador_), static_cast<QWidget*>(LabEmisor_),
                             static_cast<QWidget*>(cbEmisor_), static_cast<QWidget*>(frameEmisor_)}) {
        control->setVisible(v.presentadorEmisor);
    }
    framePresentador_->setTitle(aQString(v.tituloPresentador));
    for (QWidget* control :
         {static_cast<QWidget*>(tbDia_), static_cast<QWidget*>(tbMes_), static_cast<QWidget*>(tbAnio_),
          static_cast<QWidget*>(Label2_), static_cast<QWidget*>(Label3_), static_cast<QWidget*>(Label4_)}) {
        control->setVisible(v.fechaProceso);
    }
    for (QWidget* control :
         {static_cast<QWidget*>(DetalleCargo0_), static_cast<QWidget*>(DetalleCargo1_),
          static_cast<QWidget*>(tbDomicilioOrdenante_), static_cast<QWidget*>(tbPlazaOrdenante_),
          static_cast<QWidget*>(Label6_), static_cast<QWidget*>(Label7_), static_cast<QWidget*>(Label8_)}) {
        control->setVisible(v.cabeceraCSB34);
    }
}

void frmEntrada::cbUsuario_Click() {
    std::vector<ParteEntrada> partes;
    try {
        partes = presentadoresDeUsuario(contexto_.baseDatos, desdeQString(cbUsuario_->currentText()),
                                        modelo_.tipoUsuario());
    } catch (const ErrorBaseDatos& e) {
        contexto_.avisos.critico(std::string("Error: ") + e.what());
        return;
    }
    if (partes.empty()) {
        contexto_.avisos.informacion(mensajeSinPresentadores(modelo_.tipoUsuario()));
        {
            const QSignalBlocker bloqueo(cbEmisor_);
            cbEmisor_->clear();
        }
        gridEmisor_->setRowCount(0);
        estrechar();
        cmdMas_->setEnabled(false);
    } else {
        cmdMas_->setEnabled(true);
    }
    rellenarPresentadores(partes);
    if (cbPresentador_->count() > 0) {
        {
            const QSignalBlocker bloqueo(cbPresentador_);
            cbPresentador_->setCurrentIndex(0);
        }
        cbPresentador_Click();
    }
}

void frmEntrada::rellenarPresentadores(const std::vector<ParteEntrada>& partes) {
    const bool cobro = esCobro(modelo_.tipoUsuario());
    const QSignalBlocker bloqueo(cbPresentador_);
    cbPresentador_->clear();
    prepararRejilla(gidPresentador_, cobro ? std::span<const Columna>(kColumnasPresentador)
                                           : std::span<const Columna>(kColumnasOrdenante));
    for (const ParteEntrada& parte : partes) {
        cbPresentador_->addItem(aQString(parte.nombre), QVariant::fromValue<qlonglong>(parte.id));
        if (cobro) {
            anadirFila(gidPresentador_, {parte.nombre, parte.nif, parte.sufijo});
        } else {
            anadirFila(gidPresentador_, {parte.nombre, cuentaConGuiones(parte.cuenta)});
        }
    }
    ajustarColumnas(gidPresentador_);
}

void frmEntrada::cbPresentador_Click() {
    if (!esCobro(modelo_.tipoUsuario())) {
        return;
    }
    auto idPresentador = idSeleccionado(cbPresentador_);
    std::vector<ParteEntrada> emisores;
    try {
        if (idPresentador) {
            emisores = emisoresDePresentador(contexto_.baseDatos, *idPresentador);
        }
    } catch (const ErrorBaseDatos&) {
        idPresentador.reset();
    }
    if (!idPresentador) {
        contexto_.avisos.informacion("No existen emisores para este presentador");
        return;
    }
    rellenarEmisores(emisores);
}

void frmEntrada::rellenarEmisores(const std::vector<ParteEntrada>& emisores) {
    const QSignalBlocker bloqueo(cbEmisor_);
    cbEmisor_->clear();
    prepararRejilla(gridEmisor_, kColumnasEmisor);
    for (const ParteEntrada& emisor : emisores) {
        cbEmisor_->addItem(aQString(emisor.nombre), QVariant::fromValue<qlonglong>(emisor.id));
        anadirFila(gridEmisor_, {emisor.nombre, emisor.nif, emisor.sufijo, cuentaConGuiones(emisor.cuenta)});
    }
    ajustarColumnas(gridEmisor_);
    cbEmisor_->setCurrentIndex(cbEmisor_->count() > 0 ? 0 : -1);
}

void frmEntrada::gidPresentadorFilaPulsada(int fila) {
    if (fila < 0 || fila >= cbPresentador_->count()) {
        return;
    }
    {
        const QSignalBlocker bloqueo(cbPresentador_);
        cbPresentador_->setCurrentIndex(fila);
    }
    cbPresentador_Click();
}

void frmEntrada::gridEmisorFilaPulsada(int fila) {
    // With a single issuer there is nothing to choose.
    if (gridEmisor_->rowCount() < 2 || fila < 0 || fila >= cbEmisor_->count()) {
        return;
    }
    cbEmisor_->setCurrentIndex(fila);
}

void frmEntrada::Image1_Click() {
    const std::string& tipo = modelo_.tipoEstructura();
    const std::filesystem::path ruta =
        abrirFicheroPara(contexto_, kCarpetaEntrada, kTituloAbrirEntrada, filtroEntrada(tipo));
    // A cancelled dialog keeps the earlier choice as it was.
    if (ruta.empty()) {
        return;
    }
    if (!modelo_.elegirEntrada(ruta, contexto_.carpetaPrograma, contexto_.avisos)) {
        return;
    }
    tbEntrada_->setText(textoRuta(modelo_.ficheroEntrada()));
    tbSalida_->setText(textoRuta(modelo_.ficheroSalida()));
    cmdProcesar_->setEnabled(true);

    const TipoEntrada entrada = entradaDe(tipo);
    if (entrada == TipoEntrada::Texto) {
        return;
    }
    std::optional<std::vector<std::string>> nombres;
    if (entrada == TipoEntrada::Excel) {
        contexto_.libro.gRutaLibro = ruta.native();
        nombres = AbrirLibroExcel(contexto_.libro, contexto_.avisos, ruta);
        labHojaTabla_->setText(t("Hoja"));
    } else {
        modelo_.elegirTablaAccess(ruta.native());
        nombres = ListarTablasAccess(modelo_.tablaAccess(), contexto_.avisos, ruta);
        labHojaTabla_->setText(t("Tabla"));
        // A database that cannot be opened leaves the list as it was; a workbook's empties it.
        if (!nombres) {
            return;
        }
    }
    {
        const QSignalBlocker bloqueo(cbHojaTabla_);
        cbHojaTabla_->clear();
        for (const std::string& nombre : nombres.value_or(std::vector<std::string>{})) {
            cbHojaTabla_->addItem(aQString(nombre));
        }
        if (cbHojaTabla_->count() == 0) {
            return;
        }
        cbHojaTabla_->setCurrentIndex(0);
    }
    cbHojaTabla_Click();
}

void frmEntrada::cbHojaTabla_Click() {
    switch (entradaDe(modelo_.tipoEstructura())) {
    case TipoEntrada::Excel:
        modelo_.elegirHojaExcel(desdeQString(cbHojaTabla_->currentText()));
        break;
    case TipoEntrada::Access:
        modelo_.elegirTablaAccess(desdeQString(cbHojaTabla_->currentText()));
        break;
    case TipoEntrada::Texto:
        break;
    }
}

SeleccionEntrada frmEntrada::seleccionActual() const {
    SeleccionEntrada s;
    s.textoPlantilla = desdeQString(cbEstructura_->currentText());
    s.textoPresentador = desdeQString(cbPresentador_->currentText());
    s.textoEmisor = desdeQString(cbEmisor_->currentText());
    s.idPresentador = idSeleccionado(cbPresentador_);
    s.idEmisor = idSeleccionado(cbEmisor_);
    s.dia = desdeQString(tbDia_->text());
    s.mes = desdeQString(tbMes_->text());
    s.anio = desdeQString(tbAnio_->text());
    s.detalleCargo = DetalleCargo_->checkedId();
    s.domicilioOrdenante = datoDesdeQString(tbDomicilioOrdenante_->text());
    s.plazaOrdenante = datoDesdeQString(tbPlazaOrdenante_->text());
    return s;
}

void frmEntrada::cmdProcesar_Click() {
    SeleccionEntrada seleccion = seleccionActual();
    Entorno entorno{contexto_.baseDatos, contexto_.avisos, contexto_.reloj, contexto_.carpetaPrograma,
                    solicitud_};
    entorno.libroEntrada = &contexto_.libro;
    entorno.configuracion = &contexto_.configuracion;
    std::optional<ResultadoConversion> resultado;
    std::error_code sinLog;
    inicioLog_ = std::filesystem::file_size(modelo_.ficheroLog(), sinLog);
    if (sinLog) {
        inicioLog_ = 0;
    }
    {
        const CursorEspera espera;
        resultado = modelo_.procesar(seleccion, entorno, contexto_.registro);
    }
    // The date check writes a two-digit year out in full.
    if (const QString anio = aQString(seleccion.anio); anio != tbAnio_->text()) {
        tbAnio_->setText(anio);
    }
    if (!resultado) {
        return;
    }
    mostrarResultado(*resultado);
}

bool frmEntrada::event(QEvent* evento) {
    const bool tratado = QDialog::event(evento);
    // The layout has just grown the window to what its contents need (the grids opened, a family's
    // frames shown, a longer name in a grid): wherever it stood, it comes back whole onto the screen.
    if (evento->type() == QEvent::LayoutRequest && isVisible()) {
        mantenerEnPantalla(this);
    }
    return tratado;
}

void frmEntrada::mostrarResultado(const ResultadoConversion& resultado) {
    // gMostrarResultado is set before the first result window and never reset: every window built here
    // fills itself.
    frmMsg ventana(true, resultado, this, inicioLog_);
    ventana.exec();
}

void frmEntrada::estrechar() {
    cmdMas_->setText(t("+"));
    panelRejillas_->hide();
    layout()->activate();
    resize(kAnchoEstrecho, height());
}

void frmEntrada::cmdMas_Click() {
    if (cmdMas_->text() == t("+")) {
        cmdMas_->setText(t("-"));
        panelRejillas_->show();
        layout()->activate();
        resize(kAnchoAncho, height());
        mantenerEnPantalla(this);
    } else {
        estrechar();
    }
}

void frmEntrada::Command2_Click() {
    reject();
}

} // namespace trovanel
