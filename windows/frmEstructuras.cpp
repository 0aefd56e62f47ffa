#include "frmEstructuras.hpp"

#include "avisos.hpp"
#include "controles.hpp"
#include "dialogo_ficheros.hpp"
#include "texto_qt.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace trovanel {

namespace {

// Puts text into a box only when it differs, so the cursor of a box being typed in stays where it is.
void poner(QLineEdit* caja, const std::string& texto) {
    if (caja != nullptr && desdeQString(caja->text()) != texto) {
        const QSignalBlocker bloqueo(caja);
        caja->setText(aQString(texto));
    }
}

std::string leer(const QLineEdit* caja) {
    return caja != nullptr ? desdeQString(caja->text()) : std::string();
}

// Whether a list already holds those entries: filling it anew only when not keeps the user's place.
template <typename Texto>
bool mismasEntradas(int cuenta, Texto texto, const std::vector<std::string>& textos) {
    if (cuenta != static_cast<int>(textos.size())) {
        return false;
    }
    for (int i = 0; i < cuenta; ++i) {
        if (desdeQString(texto(i)) != textos[static_cast<std::size_t>(i)]) {
            return false;
        }
    }
    return true;
}

int indice(std::optional<std::size_t> elegida) {
    return elegida ? static_cast<int>(*elegida) : -1;
}

// A combo filled with signals blocked, then the entry chosen.
void llenar(QComboBox* combo, const std::vector<std::string>& textos, std::optional<std::size_t> elegida) {
    const QSignalBlocker bloqueo(combo);
    if (!mismasEntradas(
            combo->count(), [combo](int i) { return combo->itemText(i); }, textos)) {
        combo->clear();
        for (const std::string& texto : textos) {
            combo->addItem(aQString(texto));
        }
    }
    combo->setCurrentIndex(indice(elegida));
}

void llenar(QListWidget* lista, const std::vector<std::string>& textos, std::optional<std::size_t> elegida) {
    const QSignalBlocker bloqueo(lista);
    if (!mismasEntradas(
            lista->count(), [lista](int i) { return lista->item(i)->text(); }, textos)) {
        lista->clear();
        for (const std::string& texto : textos) {
            lista->addItem(aQString(texto));
        }
    }
    lista->setCurrentRow(indice(elegida));
    if (!elegida) {
        lista->clearSelection();
    }
}

// The position boxes take digits only: any other key is swallowed with a beep; moving about the box and
// between boxes, selecting, the clipboard and undo work as in any box (a validator keeps what is pasted
// to digits).
bool teclaDePosicion(const QKeyEvent* tecla) {
    if (teclaDeEdicion(tecla) || tecla->matches(QKeySequence::Paste)) {
        return true;
    }
    switch (tecla->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    // Goes on to the window, which asks about unsaved changes as from every other control.
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    const QString texto = tecla->text();
    return texto.size() == 1 && texto.at(0) >= u'0' && texto.at(0) <= u'9';
}

// The label column as wide as its widest label, hidden ones too: what a chosen field shows never moves
// the boxes beside the labels.
void anchoColumnaEtiquetas(const QFormLayout* capa) {
    std::vector<QWidget*> etiquetas;
    int ancho = 0;
    for (int f = 0; f < capa->rowCount(); ++f) {
        if (const QLayoutItem* item = capa->itemAt(f, QFormLayout::LabelRole); item && item->widget()) {
            etiquetas.push_back(item->widget());
            ancho = std::max(ancho, item->widget()->sizeHint().width());
        }
    }
    for (QWidget* etiqueta : etiquetas) {
        etiqueta->setMinimumWidth(ancho);
    }
}

// A note wrapped over some lines, with room for all of them whatever width the layout gives it.
void envolver(QLabel* nota, int lineas) {
    nota->setWordWrap(true);
    nota->setMinimumHeight(nota->fontMetrics().lineSpacing() * lineas);
    nota->setMinimumWidth(nota->fontMetrics().horizontalAdvance(nota->text()) / (lineas - 1));
}

QListWidget* listaCampos(const char* nombre, QWidget* padre) {
    auto* lista = nombrado(new QListWidget(padre), nombre);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    // Room for the longest field name with its mark, whole.
    const int ancho =
        lista->fontMetrics().horizontalAdvance(QStringLiteral("00-IdentificacionBeneficiario (obligatorio)"));
    lista->setMinimumWidth(ancho + 2 * lista->frameWidth() + 24);
    lista->setMinimumHeight(lista->fontMetrics().height() * 14);
    return lista;
}

} // namespace

frmEstructuras::frmEstructuras(ContextoVentanas contexto, TipoEntrada entrada, QWidget* padre)
    : QDialog(padre), contexto_(contexto), modelo_(entrada, contexto.baseDatos, contexto.avisos) {
    const RasgosEditor& rasgos = modelo_.rasgos();
    setObjectName(aQString(rasgos.nombre));
    setWindowTitle(aQString(rasgos.titulo));
    setModal(true);

    // Built in the order the user moves through them: the creation order is the tab order.
    QGroupBox* frameEstructura = construirPlantilla();
    QHBoxLayout* campos = construirListas();
    QGroupBox* frameIdentificadorLinea = nullptr;
    QGroupBox* FrameIdentificadorCampo = construirIdentificador(frameIdentificadorLinea);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(FrameIdentificadorCampo);
    if (frameIdentificadorLinea != nullptr) {
        derecha->addWidget(frameIdentificadorLinea);
    }
    derecha->addStretch(1);
    campos->addLayout(derecha);

    auto* cmdAceptar = boton("cmdAceptar", "&Aceptar", this);
    cmdBorrar_ = boton("cmdBorrar", "&Borrar", this);
    auto* cmdCerrar = boton("cmdCerrar", "&Cerrar", this);
    QHBoxLayout* botones = filaBotones({cmdAceptar, cmdBorrar_, cmdCerrar});

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(frameEstructura);
    if (!rasgos.posiciones) {
        principal->addWidget(construirOrigen());
    }
    principal->addLayout(campos, 1);
    if (rasgos.entrada == TipoEntrada::Excel) {
        principal->addWidget(construirRejillaExcel(), 1);
    }
    principal->addLayout(botones);

    connect(cbEstructuras_, &QComboBox::activated, this, &frmEstructuras::cbEstructuras_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmEstructuras::cmdAceptar_Click);
    connect(cmdBorrar_, &QPushButton::clicked, this, &frmEstructuras::cmdBorrar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &frmEstructuras::cmdCerrar_Click);

    modelo_.abrir();
    mostrar();
    tomarReferencia();
}

// The template to start from and the name of a new one.
QGroupBox* frmEstructuras::construirPlantilla() {
    auto* frameEstructura = marco("frameEstructura", "Plantilla", this);
    cbEstructuras_ = lista("cbEstructuras", frameEstructura);
    cbEstructuras_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    tbNombreEstruc_ = caja("tbNombreEstruc", 0, frameEstructura);
    tbIdEmi_ = caja("tbIdEmi", 0, frameEstructura);
    tbIdEmi_->setReadOnly(true);
    tbIdEmi_->setMaximumWidth(tbIdEmi_->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    auto* plantilla = new QGridLayout(frameEstructura);
    plantilla->addWidget(etiqueta("labEstructuras", "Plantilla Destino", frameEstructura), 0, 0);
    plantilla->addWidget(cbEstructuras_, 0, 1);
    plantilla->addWidget(etiqueta("labIdEmi", "ID", frameEstructura), 0, 2);
    plantilla->addWidget(tbIdEmi_, 0, 3);
    plantilla->addWidget(etiqueta("labNombreEstruc", "Nombre Plantilla", frameEstructura), 1, 0);
    plantilla->addWidget(tbNombreEstruc_, 1, 1, 1, 3);
    plantilla->setColumnStretch(1, 1);
    return frameEstructura;
}

// The two field lists and the buttons between them.
QHBoxLayout* frmEstructuras::construirListas() {
    auto* frameCampos = marco("frameCampos", "Campos del CSB", this);
    lbCampos_ = listaCampos("lbCampos", frameCampos);
    (new QVBoxLayout(frameCampos))->addWidget(lbCampos_);
    auto* Frame1 = marco("Frame1", "Campos Tratados", this);
    lbCamposAgregados_ = listaCampos("lbCamposAgregados", Frame1);
    (new QVBoxLayout(Frame1))->addWidget(lbCamposAgregados_);
    auto* cmdAgregar = boton("cmdAgregar", ">", this);
    auto* cmdTodos = boton("cmdTodos", "<<", this);
    auto* Command3 = boton("Command3", "<", this);
    cmdAgregar->setToolTip(aQString("Añadir el campo a los campos tratados"));
    cmdTodos->setToolTip(aQString("Quitar todos los campos tratados"));
    Command3->setToolTip(aQString("Quitar el campo tratado"));
    auto* flechas = new QVBoxLayout;
    flechas->addStretch(1);
    for (QPushButton* b : {cmdAgregar, cmdTodos, Command3}) {
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("<<<")) + 24);
        flechas->addWidget(b);
    }
    flechas->addStretch(1);
    auto* campos = new QHBoxLayout;
    campos->addWidget(frameCampos, 1);
    campos->addLayout(flechas);
    campos->addWidget(Frame1, 1);

    connect(lbCampos_, &QListWidget::currentRowChanged, this, [this](int f) {
        if (f >= 0) {
            lbCampos_Click(f);
        }
    });
    connect(lbCampos_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lbCampos_Click(lbCampos_->row(item)); });
    // A change of entry by keyboard acts as a press; a press is taken once, by itemPressed.
    connect(lbCamposAgregados_, &QListWidget::currentRowChanged, this, [this](int f) {
        if (f >= 0 && !enPulsacion_) {
            lbCamposAgregados_Click(f);
        }
    });
    connect(lbCamposAgregados_, &QListWidget::itemPressed, this,
            [this](QListWidgetItem* item) { lbCamposAgregados_Click(lbCamposAgregados_->row(item)); });
    lbCamposAgregados_->viewport()->installEventFilter(this);
    lbCampos_->installEventFilter(this);
    lbCamposAgregados_->installEventFilter(this);
    connect(cmdAgregar, &QPushButton::clicked, this, &frmEstructuras::cmdAgregar_Click);
    connect(Command3, &QPushButton::clicked, this, &frmEstructuras::Command3_Click);
    connect(cmdTodos, &QPushButton::clicked, this, &frmEstructuras::cmdTodos_Click);
    return campos;
}

// Where the field is in the input, and the values of its kind. The text editor also gets the frame of
// the line a field is taken from (frameLinea); the others leave it null.
QGroupBox* frmEstructuras::construirIdentificador(QGroupBox*& frameLinea) {
    const RasgosEditor& rasgos = modelo_.rasgos();
    auto* FrameIdentificadorCampo = marco("FrameIdentificadorCampo", "Identificador del Campo", this);
    auto* identificador = new QFormLayout(FrameIdentificadorCampo);
    if (rasgos.posiciones) {
        tbIniCampo_ = fila(identificador, "tbIniCampo", "Inicio", kLargoPosicion, FrameIdentificadorCampo);
        tbFinCampo_ = fila(identificador, "tbFinCampo", "Final", kLargoPosicion, FrameIdentificadorCampo);
        tbLongitud_ = fila(identificador, "tbLongitud", "Longitud", kLargoPosicion, FrameIdentificadorCampo);
        tbLongitud_->setReadOnly(true);
        frameLinea = construirLinea();
        for (QLineEdit* posicion : {tbIniCampo_, tbFinCampo_, tbIniLinea_, tbFinLinea_}) {
            posicion->installEventFilter(this);
            posicion->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), posicion));
        }
    } else if (rasgos.entrada == TipoEntrada::Excel) {
        tbColumna_ = fila(identificador, "tbCol", "Columna", kLargoColumna, FrameIdentificadorCampo);
    } else {
        tbColumna_ = fila(identificador, "tbCampo", "Campo", 0, FrameIdentificadorCampo);
    }
    filasValores(identificador, FrameIdentificadorCampo);
    anchoColumnaEtiquetas(identificador);
    // The frame keeps the room of its fullest state, every control of every kind of field shown: what
    // a chosen field shows or hides never moves the lists or the buttons under the user's next click.
    FrameIdentificadorCampo->setMinimumSize(FrameIdentificadorCampo->minimumSizeHint());
    return FrameIdentificadorCampo;
}

QGroupBox* frmEstructuras::construirLinea() {
    auto* frameIdentificadorLinea = marco("frameIdentificadorLinea", "Identificador de linea", this);
    frameIdentificadorLinea->setToolTip(aQString("Identifica la linea de donde se extrae el campo"));
    auto* linea = new QFormLayout(frameIdentificadorLinea);
    auto* nota = etiqueta("labNotaLinea", "Indicar identificador si hay mas de una linea por orden",
                          frameIdentificadorLinea);
    envolver(nota, 3);
    linea->addRow(nota);
    tbIniLinea_ = caja("tbIniLinea", kLargoPosicion, frameIdentificadorLinea);
    tbFinLinea_ = caja("tbFinLinea", kLargoPosicion, frameIdentificadorLinea);
    tbValLinea_ = caja("tbValLinea", kLargoValLinea, frameIdentificadorLinea);
    linea->addRow(etiqueta("labIniLinea", "Inicio", frameIdentificadorLinea), tbIniLinea_);
    linea->addRow(etiqueta("labFinLinea", "Final", frameIdentificadorLinea), tbFinLinea_);
    linea->addRow(etiqueta("labValLinea", "Valor", frameIdentificadorLinea), tbValLinea_);
    cIdenPrinLinea_ =
        nombrado(new QCheckBox(aQString("Principio de Orden"), frameIdentificadorLinea), "cIdenPrinLinea");
    linea->addRow(cIdenPrinLinea_);
    return frameIdentificadorLinea;
}

// The sign of an amount, the format of a date and the values that tell the forms of payment apart.
void frmEstructuras::filasValores(QFormLayout* identificador, QGroupBox* marcoCampo) {
    labValorNegativo_ = etiqueta("labValorNegativo", "Valor negativo", marcoCampo);
    tbValNegativo_ = caja("tbValNegativo", kLargoNegativo, marcoCampo);
    tbNegativo_ = caja("tbNegativo", kLargoNegativo, marcoCampo);
    for (QLineEdit* signo : {tbValNegativo_, tbNegativo_}) {
        signo->setToolTip(aQString("Valor para identificar el signo negativo"));
    }
    // Both sign boxes share one place under one label.
    auto* valores = new QHBoxLayout;
    valores->addWidget(tbValNegativo_);
    valores->addWidget(tbNegativo_);
    identificador->addRow(labValorNegativo_, valores);
    labSigno_ = etiqueta("labSigno", "Indicar valor negativo solo si el signo esta incluido en el importe",
                         marcoCampo);
    envolver(labSigno_, 3);
    identificador->addRow(labSigno_);
    labFecha_ = etiqueta("labFecha", "Formato de Fecha", marcoCampo);
    cbFecha_ = lista("cbFecha", marcoCampo);
    cbFecha_->setMinimumContentsLength(12);
    for (std::string_view formato : kFormatosFecha) {
        cbFecha_->addItem(aQString(formato));
    }
    identificador->addRow(labFecha_, cbFecha_);
    auto* pagos = new QGridLayout;
    const struct {
        const char* etiqueta;
        const char* texto;
        const char* caja;
        const char* ayuda;
        QLineEdit** destino;
    } formas[] = {
        {"labCheque", "Cheque", "tbIdCheque", "Valor para identificar que es cheque", &tbIdCheque_},
        {"labTransf", "Transf", "tbIdTransf", "Valor para identificar que es Transferencia", &tbIdTransf_},
        {"labPagoC", "Pago certif.", "tbIdPagoCertif", "Valor para identificar que es Pago certificado",
         &tbIdPagoCertif_}};
    int columna = 0;
    for (const auto& forma : formas) {
        auto* etiquetaForma = etiqueta(forma.etiqueta, forma.texto, marcoCampo);
        *forma.destino = caja(forma.caja, kLargoIdPago, marcoCampo);
        (*forma.destino)->setToolTip(aQString(forma.ayuda));
        pagos->addWidget(etiquetaForma, 0, columna);
        pagos->addWidget(*forma.destino, 1, columna++);
        formasPago_.push_back(etiquetaForma);
        formasPago_.push_back(*forma.destino);
    }
    identificador->addRow(pagos);
}

// The input source of the Excel and Access editors.
QGroupBox* frmEstructuras::construirOrigen() {
    const RasgosEditor& rasgos = modelo_.rasgos();
    const bool excel = rasgos.entrada == TipoEntrada::Excel;
    auto* frameOrigen = marco("frameOrigen", excel ? "Libro Excel" : "Base de Datos", this);
    auto* origen = new QGridLayout(frameOrigen);
    tbRuta_ = caja(excel ? "tbLibro" : "tbBD", 0, frameOrigen);
    tbRuta_->setReadOnly(true);
    auto* Image1 = boton("Image1", "...", frameOrigen);
    Image1->setToolTip(aQString(rasgos.tituloOrigen));
    origen->addWidget(etiqueta(excel ? "labLibro" : "labBD",
                               excel ? "Seleccione Libro" : "Seleccione la Base de Datos", frameOrigen),
                      0, 0);
    origen->addWidget(tbRuta_, 0, 1);
    origen->addWidget(Image1, 0, 2);
    connect(Image1, &QPushButton::clicked, this, &frmEstructuras::Image1_Click);
    if (excel) {
        cbHojas_ = lista("cbHojas", frameOrigen);
        origen->addWidget(etiqueta("labHojas", "Seleccione Hoja", frameOrigen), 1, 0);
        origen->addWidget(cbHojas_, 1, 1, 1, 2);
        connect(cbHojas_, &QComboBox::activated, this, &frmEstructuras::cbHojas_Click);
    } else {
        cbTablas_ = lista("cbTablas", frameOrigen);
        cbCampos_ = lista("cbCampos", frameOrigen);
        origen->addWidget(etiqueta("labTablas", "Seleccione la Tabla", frameOrigen), 1, 0);
        origen->addWidget(cbTablas_, 1, 1, 1, 2);
        origen->addWidget(etiqueta("labCampos", "Seleccione el campo", frameOrigen), 2, 0);
        origen->addWidget(cbCampos_, 2, 1, 1, 2);
        connect(cbTablas_, &QComboBox::activated, this, &frmEstructuras::cbTablas_Click);
        connect(cbCampos_, &QComboBox::activated, this, &frmEstructuras::cbCampos_Click);
    }
    origen->setColumnStretch(1, 1);
    return frameOrigen;
}

// The first rows and columns of the chosen sheet: a cell clicked gives the field its column.
QTableWidget* frmEstructuras::construirRejillaExcel() {
    GridExcel_ = nombrado(new QTableWidget(kFilasVista, kColumnasVista, this), "GridExcel");
    GridExcel_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridExcel_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList letras;
    for (int c = 0; c < kColumnasVista; ++c) {
        letras << QString(QChar(u'A' + c));
    }
    GridExcel_->setHorizontalHeaderLabels(letras);
    // A few rows of the sheet: the whole editor fits a laptop screen; the grid scrolls.
    GridExcel_->setMinimumHeight(GridExcel_->verticalHeader()->defaultSectionSize() * 5);
    connect(GridExcel_, &QTableWidget::currentCellChanged, this,
            [this](int fila, int columna) { GridExcel_SeleccionCelda(fila + 1, columna + 1); });
    connect(GridExcel_, &QTableWidget::cellClicked, this,
            [this](int fila, int columna) { GridExcel_SeleccionCelda(fila + 1, columna + 1); });
    connect(GridExcel_->verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int fila) { GridExcel_SeleccionCelda(fila + 1, 0); });
    return GridExcel_;
}

frmEstructuras::~frmEstructuras() = default;

bool frmEstructuras::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lbCamposAgregados_->viewport()) {
        if (evento->type() == QEvent::MouseButtonPress) {
            enPulsacion_ = true;
        } else if (evento->type() == QEvent::MouseButtonRelease) {
            enPulsacion_ = false;
        }
        return false;
    }
    if (evento->type() == QEvent::FocusIn && (objeto == lbCampos_ || objeto == lbCamposAgregados_)) {
        modelo_.enfocarLista(objeto == lbCamposAgregados_);
        return false;
    }
    const bool posicion =
        objeto == tbIniCampo_ || objeto == tbFinCampo_ || objeto == tbIniLinea_ || objeto == tbFinLinea_;
    if (posicion && evento->type() == QEvent::KeyPress) {
        if (!teclaDePosicion(static_cast<QKeyEvent*>(evento))) {
            QApplication::beep();
            return true;
        }
        return false;
    }
    if (posicion && evento->type() == QEvent::KeyRelease && objeto != tbIniLinea_ && objeto != tbFinLinea_) {
        leerCajas();
        modelo_.tbPosicion_KeyUp(objeto == tbFinCampo_);
        mostrar();
    }
    return false;
}

void frmEstructuras::leerCajas() {
    CajasEditor& c = modelo_.cajas;
    c.nombre = leer(tbNombreEstruc_);
    c.iniCampo = leer(tbIniCampo_);
    c.finCampo = leer(tbFinCampo_);
    c.iniLinea = leer(tbIniLinea_);
    c.finLinea = leer(tbFinLinea_);
    c.valLinea = leer(tbValLinea_);
    c.principioOrden = cIdenPrinLinea_ != nullptr && cIdenPrinLinea_->isChecked();
    c.columna = leer(tbColumna_);
    c.valNegativo = leer(tbValNegativo_);
    c.negativo = leer(tbNegativo_);
    c.idCheque = leer(tbIdCheque_);
    c.idTransf = leer(tbIdTransf_);
    c.idPagoCertif = leer(tbIdPagoCertif_);
    c.fecha = std::max(0, cbFecha_->currentIndex());
}

void frmEstructuras::mostrar() {
    const CajasEditor& c = modelo_.cajas;
    if (versionMostrada_ != modelo_.versionLista()) {
        versionMostrada_ = modelo_.versionLista();
        const QSignalBlocker bloqueo(cbEstructuras_);
        cbEstructuras_->clear();
        for (const EntradaPlantilla& entrada : modelo_.plantillas()) {
            anadirPlantilla(cbEstructuras_, entrada);
        }
    }
    {
        // The list always shows the template in hand, also after a load that failed.
        const QSignalBlocker bloqueo(cbEstructuras_);
        const auto cargada = modelo_.posicionCargada();
        cbEstructuras_->setCurrentIndex(cargada ? static_cast<int>(*cargada) : -1);
    }
    poner(tbNombreEstruc_, c.nombre);
    poner(tbIdEmi_, c.id);
    mostrarListas();
    poner(tbIniCampo_, c.iniCampo);
    poner(tbFinCampo_, c.finCampo);
    poner(tbLongitud_, c.longitud);
    if (tbLongitud_ != nullptr) {
        QPalette paleta = tbLongitud_->palette();
        paleta.setColor(QPalette::Text, modelo_.colorAncho() == ColorAncho::Rojo ? Qt::red : Qt::blue);
        tbLongitud_->setPalette(paleta);
    }
    poner(tbIniLinea_, c.iniLinea);
    poner(tbFinLinea_, c.finLinea);
    poner(tbValLinea_, c.valLinea);
    if (cIdenPrinLinea_ != nullptr) {
        cIdenPrinLinea_->setChecked(c.principioOrden);
    }
    poner(tbColumna_, c.columna);
    poner(tbValNegativo_, c.valNegativo);
    poner(tbNegativo_, c.negativo);
    poner(tbIdCheque_, c.idCheque);
    poner(tbIdTransf_, c.idTransf);
    poner(tbIdPagoCertif_, c.idPagoCertif);
    cbFecha_->setCurrentIndex(c.fecha);

    const VisibilidadEditor& v = modelo_.visibilidad();
    tbValNegativo_->setVisible(v.valNegativo);
    tbNegativo_->setVisible(v.negativo);
    labValorNegativo_->setVisible(v.labValorNegativo);
    labSigno_->setVisible(v.labSigno);
    labFecha_->setVisible(v.fecha);
    cbFecha_->setVisible(v.fecha);
    for (QWidget* control : formasPago_) {
        control->setVisible(v.formasPago);
    }
    cmdBorrar_->setEnabled(modelo_.borrarDisponible());
    mostrarOrigen();
}

void frmEstructuras::mostrarListas() {
    std::vector<std::string> sin;
    for (std::size_t id : modelo_.sinColocar()) {
        sin.push_back(modelo_.textoEntrada(id));
    }
    std::vector<std::string> con;
    for (std::size_t id : modelo_.colocados()) {
        con.push_back(modelo_.textoEntrada(id));
    }
    llenar(lbCampos_, sin, modelo_.seleccionSinColocar());
    llenar(lbCamposAgregados_, con, modelo_.seleccionColocado());
}

void frmEstructuras::mostrarOrigen() {
    if (tbRuta_ != nullptr) {
        const QString ruta = textoRuta(modelo_.cajas.rutaOrigen);
        if (tbRuta_->text() != ruta) {
            tbRuta_->setText(ruta);
        }
    }
    if (cbHojas_ != nullptr) {
        llenar(cbHojas_, modelo_.hojas(), modelo_.hojaElegida());
    }
    if (cbTablas_ != nullptr) {
        llenar(cbTablas_, modelo_.tablas(), modelo_.tablaElegida());
        llenar(cbCampos_, modelo_.columnasTabla(), modelo_.columnaElegida());
    }
    if (GridExcel_ != nullptr && vistaMostrada_ != modelo_.vista()) {
        vistaMostrada_ = modelo_.vista();
        const QSignalBlocker bloqueo(GridExcel_);
        GridExcel_->clearContents();
        for (std::size_t f = 0; f < vistaMostrada_.size(); ++f) {
            for (std::size_t col = 0; col < vistaMostrada_[f].size(); ++col) {
                GridExcel_->setItem(static_cast<int>(f), static_cast<int>(col),
                                    new QTableWidgetItem(aQString(vistaMostrada_[f][col])));
            }
        }
        // Every column as wide as its longest text: the values are read whole.
        GridExcel_->resizeColumnsToContents();
    }
}

// --- handlers: the boxes into the model, the handler, the model onto the screen

void frmEstructuras::cbEstructuras_Click() {
    leerCajas();
    if (cbEstructuras_->currentIndex() >= 0) {
        modelo_.cbEstructuras_Click(static_cast<std::size_t>(cbEstructuras_->currentIndex()));
    }
    mostrar();
    tomarReferencia();
}

void frmEstructuras::lbCampos_Click(int fila) {
    leerCajas();
    modelo_.lbCampos_Click(static_cast<std::size_t>(fila));
    mostrar();
    tomarReferencia();
}

void frmEstructuras::lbCamposAgregados_Click(int fila) {
    leerCajas();
    modelo_.lbCamposAgregados_Click(static_cast<std::size_t>(fila));
    mostrar();
    tomarReferencia();
}

void frmEstructuras::cmdAgregar_Click() {
    leerCajas();
    modelo_.cmdAgregar_Click();
    mostrar();
    tomarReferencia();
}

void frmEstructuras::Command3_Click() {
    leerCajas();
    modelo_.Command3_Click();
    mostrar();
    tomarReferencia();
}

void frmEstructuras::cmdTodos_Click() {
    leerCajas();
    modelo_.cmdTodos_Click();
    mostrar();
    tomarReferencia();
}

void frmEstructuras::cmdAceptar_Click() {
    leerCajas();
    modelo_.cmdAceptar_Click();
    mostrar();
    tomarReferencia();
}

void frmEstructuras::cmdBorrar_Click() {
    leerCajas();
    modelo_.cmdBorrar_Click();
    mostrar();
    tomarReferencia();
}

void frmEstructuras::cmdCerrar_Click() {
    // "Cerrar" is the user's own way out: it drops what was not stored, as it always did.
    QDialog::reject();
}

void frmEstructuras::reject() {
    if (hayCambiosSinGuardar() &&
        !contexto_.avisos.pregunta("La plantilla tiene cambios sin guardar. ¿Desea cerrar y perderlos?")) {
        return;
    }
    QDialog::reject();
}

std::vector<std::string> frmEstructuras::textoCajas() const {
    std::vector<std::string> textos;
    for (const QLineEdit* caja :
         {tbNombreEstruc_, tbIniCampo_, tbFinCampo_, tbIniLinea_, tbFinLinea_, tbValLinea_, tbColumna_,
          tbValNegativo_, tbNegativo_, tbIdCheque_, tbIdTransf_, tbIdPagoCertif_}) {
        textos.push_back(leer(caja));
    }
    textos.push_back(cIdenPrinLinea_ != nullptr && cIdenPrinLinea_->isChecked() ? "1" : "0");
    textos.push_back(std::to_string(cbFecha_->currentIndex()));
    return textos;
}

void frmEstructuras::tomarReferencia() {
    cajasReferencia_ = textoCajas();
}

bool frmEstructuras::hayCambiosSinGuardar() const {
    if (textoCajas() != cajasReferencia_) {
        return true;
    }
    if (!modelo_.hayPlantilla()) {
        return false;
    }
    const Plantilla& enMano = modelo_.plantilla();
    Plantilla guardada;
    try {
        guardada = leerPlantilla(contexto_.baseDatos, enMano.id);
    } catch (const ErrorTrovanel&) {
        // Gone from the database (deleted meanwhile): what is in hand can no longer be stored over it.
        return false;
    }
    const auto mismoCampo = [](const CampoEstructura& a, const CampoEstructura& b) {
        return a.campo == b.campo && a.inicio == b.inicio && a.fin == b.fin && a.valorlinea == b.valorlinea &&
               a.valorcampo == b.valorcampo && a.inilinea == b.inilinea && a.finlinea == b.finlinea &&
               a.obligatorio == b.obligatorio && a.longitud == b.longitud;
    };
    return modelo_.principioLinea() != guardada.principiolinea ||
           !std::equal(enMano.campos.begin(), enMano.campos.end(), guardada.campos.begin(),
                       guardada.campos.end(), mismoCampo);
}

void frmEstructuras::done(int resultado) {
    // Every way of closing lets go of the workbook or database.
    modelo_.cerrarOrigen();
    QDialog::done(resultado);
}

void frmEstructuras::Image1_Click() {
    const RasgosEditor& rasgos = modelo_.rasgos();
    const std::filesystem::path ruta =
        abrirFicheroPara(contexto_, kCarpetaOrigenPlantilla, std::string(rasgos.tituloOrigen),
                         std::string(rasgos.filtroOrigen));
    if (ruta.empty()) {
        return;
    }
    leerCajas();
    if (rasgos.entrada == TipoEntrada::Excel) {
        modelo_.abrirLibro(ruta);
    } else {
        modelo_.AbrirBaseDatos(ruta);
    }
    mostrar();
}

void frmEstructuras::cbHojas_Click() {
    leerCajas();
    if (cbHojas_->currentIndex() >= 0) {
        modelo_.cbHojas_Click(static_cast<std::size_t>(cbHojas_->currentIndex()));
    }
    mostrar();
}

void frmEstructuras::GridExcel_SeleccionCelda(int fila, int columna) {
    leerCajas();
    modelo_.GridExcel_SeleccionCelda(fila, columna);
    mostrar();
}

void frmEstructuras::cbTablas_Click() {
    leerCajas();
    if (cbTablas_->currentIndex() >= 0) {
        modelo_.cbTablas_Click(static_cast<std::size_t>(cbTablas_->currentIndex()));
    }
    mostrar();
}

void frmEstructuras::cbCampos_Click() {
    leerCajas();
    if (cbCampos_->currentIndex() >= 0) {
        modelo_.cbCampos_Click(static_cast<std::size_t>(cbCampos_->currentIndex()));
    }
    mostrar();
}

} // namespace trovanel
