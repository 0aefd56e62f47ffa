#include "controles.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "cuentas_partes.hpp"
#include "lista_plantillas.hpp"
#include "partes.hpp"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace trovanel {

QLabel* etiqueta(const char* nombre, const char* texto, QWidget* padre) {
    return etiqueta(aQString(nombre), aQString(texto), padre);
}

QLabel* etiqueta(const QString& nombre, const QString& texto, QWidget* padre) {
    return nombrado(new QLabel(texto, padre), nombre);
}

QGroupBox* marco(const char* nombre, const char* titulo, QWidget* padre) {
    return nombrado(new QGroupBox(aQString(titulo), padre), nombre);
}

QComboBox* lista(const char* nombre, QWidget* padre) {
    return lista(aQString(nombre), padre);
}

QComboBox* lista(const QString& nombre, QWidget* padre) {
    auto* combo = nombrado(new QComboBox(padre), nombre);
    combo->setEditable(false);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(20);
    return combo;
}

QLineEdit* caja(const char* nombre, int longitud, QWidget* padre) {
    return caja(aQString(nombre), longitud, padre);
}

QLineEdit* caja(const QString& nombre, int longitud, QWidget* padre) {
    auto* resultado = nombrado(new QLineEdit(padre), nombre);
    if (longitud > 0) {
        resultado->setMaxLength(longitud);
    }
    return resultado;
}

QLineEdit* fila(QFormLayout* formulario, const char* nombre, const char* texto, int longitud,
                QWidget* padre) {
    QLineEdit* resultado = caja(nombre, longitud, padre);
    formulario->addRow(etiqueta(QStringLiteral("lab") + aQString(nombre), aQString(texto), padre), resultado);
    return resultado;
}

namespace {

// Pastes what typing would let in of the clipboard's text: an account copied with blanks or dashes
// keeps its digits.
void pegarCifras(QLineEdit* caja) {
    if (caja->isReadOnly()) {
        return;
    }
    QString cifras;
    for (const QChar c : QGuiApplication::clipboard()->text()) {
        if (c.unicode() != '\b' && teclaCuentaAdmitida(c.unicode())) {
            cifras += c;
        }
    }
    caja->insert(cifras);
}

// Watches the key presses of one box: tells whoever listens, and swallows what the account rules refuse.
class FiltroCaja : public QObject {
public:
    explicit FiltroCaja(QLineEdit* caja) : QObject(caja) {
        setObjectName(kNombre);
        caja->installEventFilter(this);
    }
    // Found by name: the class has no meta-object of its own to cast by.
    static constexpr const char* kNombre = "filtroCaja";
    bool soloCifras = false;
    std::vector<std::function<void()>> oyentes;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress) {
            return QObject::eventFilter(objeto, evento);
        }
        for (const auto& oyente : oyentes) {
            oyente();
        }
        if (!soloCifras) {
            return false;
        }
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->matches(QKeySequence::Paste)) {
            pegarCifras(static_cast<QLineEdit*>(objeto));
            return true;
        }
        if (tecla->key() == Qt::Key_Backspace || teclaDeEdicion(tecla)) {
            return false;
        }
        const QString texto = tecla->text();
        const bool admitida = texto.size() == 1 && teclaCuentaAdmitida(texto.at(0).unicode());
        // Moving about the box, Delete, Tab between boxes and Escape (to the window, as from every other
        // box) stay usable; every other key is swallowed.
        const bool movimiento = texto.isEmpty() || tecla->key() == Qt::Key_Tab ||
                                tecla->key() == Qt::Key_Backtab || tecla->key() == Qt::Key_Delete ||
                                tecla->key() == Qt::Key_Escape;
        return !(admitida || movimiento);
    }
};

FiltroCaja* filtroDe(QLineEdit* caja) {
    if (auto* filtro =
            caja->findChild<QObject*>(QLatin1String(FiltroCaja::kNombre), Qt::FindDirectChildrenOnly)) {
        return static_cast<FiltroCaja*>(filtro);
    }
    return new FiltroCaja(caja);
}

} // namespace

bool teclaDeEdicion(const QKeyEvent* tecla) {
    for (const auto clave : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::SelectAll,
                             QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Deselect}) {
        if (tecla->matches(clave)) {
            return true;
        }
    }
    return false;
}

void soloCifrasCuenta(QLineEdit* caja) {
    filtroDe(caja)->soloCifras = true;
    caja->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9*]*")), caja));
}

void alModificar(QLineEdit* caja, std::function<void()> marcar) {
    filtroDe(caja)->oyentes.push_back(marcar);
    QObject::connect(caja, &QLineEdit::textEdited, caja, [marcar](const QString&) { marcar(); });
}

QPushButton* boton(const char* nombre, const char* texto, QWidget* padre) {
    auto* resultado = nombrado(new QPushButton(aQString(texto), padre), nombre);
    resultado->setAutoDefault(false);
    return resultado;
}

QHBoxLayout* filaBotones(std::initializer_list<QPushButton*> botones) {
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    for (QPushButton* b : botones) {
        fila->addWidget(b);
    }
    return fila;
}

int anchoTitulo(const QWidget* ventana) {
    // Title bars draw in a bold face of the desktop's font; icon, buttons and margins take about this.
    constexpr int kIconoYBotones = 150;
    QFont letra = ventana->font();
    letra.setBold(true);
    return QFontMetrics(letra).horizontalAdvance(ventana->windowTitle()) + kIconoYBotones;
}

void reservarTitulo(QWidget* ventana) {
    const int ancho = anchoTitulo(ventana);
    auto* caja = qobject_cast<QBoxLayout*>(ventana->layout());
    if (caja != nullptr &&
        (caja->direction() == QBoxLayout::TopToBottom || caja->direction() == QBoxLayout::BottomToTop)) {
        // In the layout, so it holds for a fixed-size window and the contents may still grow.
        const QMargins margenes = caja->contentsMargins();
        caja->addStrut(ancho - margenes.left() - margenes.right());
    } else {
        ventana->setMinimumWidth(std::max(ancho, ventana->minimumSizeHint().width()));
    }
}

void mantenerEnPantalla(QWidget* ventana) {
    const QScreen* pantalla = ventana->screen();
    if (pantalla == nullptr) {
        return;
    }
    if (QLayout* capa = ventana->layout()) {
        capa->activate();
    }
    const QRect disponible = pantalla->availableGeometry();
    // Before the window manager has framed it, count a usual title bar and border.
    QMargins marco(ventana->geometry().left() - ventana->frameGeometry().left(),
                   ventana->geometry().top() - ventana->frameGeometry().top(),
                   ventana->frameGeometry().right() - ventana->geometry().right(),
                   ventana->frameGeometry().bottom() - ventana->geometry().bottom());
    if (marco.isNull()) {
        marco = QMargins(4, 32, 4, 4);
    }
    const QSize cabe = disponible.size().shrunkBy(marco).expandedTo(ventana->minimumSize());
    if (ventana->width() > cabe.width() || ventana->height() > cabe.height()) {
        ventana->resize(ventana->size().boundedTo(cabe));
    }
    QRect exterior = ventana->geometry().marginsAdded(marco);
    exterior.moveRight(std::min(exterior.right(), disponible.right()));
    exterior.moveBottom(std::min(exterior.bottom(), disponible.bottom()));
    exterior.moveLeft(std::max(exterior.left(), disponible.left()));
    exterior.moveTop(std::max(exterior.top(), disponible.top()));
    // A window's position is its frame's.
    ventana->move(exterior.topLeft() + (ventana->pos() - ventana->frameGeometry().topLeft()));
}

void anchoParaNombre(QLineEdit* caja, int caracteres) {
    // Capitals, as names are usually typed; the frame and the text margins come on top.
    const int texto = caja->fontMetrics().horizontalAdvance(QString(caracteres, u'N'));
    caja->setMinimumWidth(texto + caja->textMargins().left() + caja->textMargins().right() + 12);
}

void negrita(QWidget* control) {
    QFont letra = control->font();
    letra.setBold(true);
    control->setFont(letra);
}

void colorTexto(QLabel* etiqueta, const QColor& color) {
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
}

QString textoRuta(const std::filesystem::path& ruta) {
    return QFile::decodeName(QByteArray::fromStdString(ruta.native()));
}

std::optional<std::int64_t> idSeleccionado(const QComboBox* combo) {
    if (combo->currentIndex() < 0) {
        return std::nullopt;
    }
    return combo->currentData().toLongLong();
}

void mostrarCuenta(const std::string& cuenta, QLineEdit* entidad, QLineEdit* oficina, QLineEdit* dc,
                   QLineEdit* numero) {
    const CuentaDividida partes = dividirCuenta(cuenta);
    entidad->setText(aQString(partes.entidad));
    oficina->setText(aQString(partes.oficina));
    dc->setText(aQString(partes.dc));
    numero->setText(aQString(partes.numero));
}

bool mostrarValidacion(Avisos& avisos, const ValidacionParte& validacion, QLineEdit* numero) {
    numero->setText(aQString(validacion.numero));
    for (const AvisoCuenta& aviso : validacion.avisos) {
        if (aviso.informativo) {
            avisos.informacion(aviso.texto);
        } else {
            avisos.critico(aviso.texto);
        }
    }
    return validacion.cuenta.has_value();
}

bool llenarListaPartes(QComboBox* lista, const std::vector<ParteEntrada>& partes,
                       std::initializer_list<QLineEdit*> cajas) {
    const QSignalBlocker bloqueo(lista);
    lista->clear();
    for (QLineEdit* caja : cajas) {
        if (caja != nullptr) {
            caja->clear();
        }
    }
    for (const ParteEntrada& parte : partes) {
        lista->addItem(aQString(parte.nombre), QVariant::fromValue<qlonglong>(parte.id));
    }
    if (partes.empty()) {
        return false;
    }
    lista->setCurrentIndex(0);
    return true;
}

PanelCuenta panelCuenta(const char* titulo, bool conSufijo, const std::function<void()>& modificado,
                        QWidget* padre) {
    PanelCuenta p{};
    p.marco = marco("frameEmisor", titulo, padre);
    p.formulario = new QFormLayout(p.marco);
    p.cbNombre = lista("cbNombreEmi", p.marco);
    p.formulario->addRow(etiqueta("labNombreEmi", "Nombre", p.marco), p.cbNombre);
    p.tbNif = fila(p.formulario, "tbNifEmi", "N.I.F.", 9, p.marco);
    if (conSufijo) {
        p.tbSuf = fila(p.formulario, "tbSufEmi", "Sufijo:", 3, p.marco);
    }
    p.tbEntidad = fila(p.formulario, "tbEntidadEmi", "Entidad", 0, p.marco);
    p.tbOficina = fila(p.formulario, "tbOficinaEmi", "Oficina", 4, p.marco);
    p.tbDC = fila(p.formulario, "tbDC", "DC", 2, p.marco);
    p.tbCCC = fila(p.formulario, "tbCCC", "Cuenta", 10, p.marco);
    p.tbId = fila(p.formulario, "tbIdEmi", "ID", 0, p.marco);
    p.tbEntidad->setReadOnly(true);
    p.tbId->setReadOnly(true);
    for (QLineEdit* cuenta : {p.tbSuf, p.tbOficina, p.tbDC, p.tbCCC}) {
        if (cuenta != nullptr) {
            soloCifrasCuenta(cuenta);
        }
    }
    for (QLineEdit* edicion : {p.tbNif, p.tbSuf, p.tbOficina, p.tbDC, p.tbCCC}) {
        if (edicion != nullptr) {
            alModificar(edicion, modificado);
        }
    }
    return p;
}

AltaCuenta altaCuenta(const char* titulo, const char* sufijo, int anchoNombre, bool conSufijo,
                      QWidget* padre) {
    AltaCuenta a{};
    a.marco = marco("Frame1", titulo, padre);
    a.formulario = new QFormLayout(a.marco);
    const auto nombre = [sufijo](const char* campo) { return std::string("tbAlta") + campo + sufijo; };
    a.tbNombre = fila(a.formulario, nombre("Nombre").c_str(), "Nombre", anchoNombre, a.marco);
    a.tbNif = fila(a.formulario, nombre("Nif").c_str(), "N.I.F.", 9, a.marco);
    if (conSufijo) {
        a.tbSuf = fila(a.formulario, nombre("Suf").c_str(), "Sufijo:", 3, a.marco);
    }
    a.tbOficina = fila(a.formulario, nombre("Oficina").c_str(), "Oficina", 4, a.marco);
    a.tbDC = fila(a.formulario, "tbAltaDC", "DC", 2, a.marco);
    a.tbCuenta = fila(a.formulario, nombre("Cuenta").c_str(), "Cuenta", 10, a.marco);
    for (QLineEdit* cuenta : {a.tbSuf, a.tbOficina, a.tbDC, a.tbCuenta}) {
        if (cuenta != nullptr) {
            soloCifrasCuenta(cuenta);
        }
    }
    return a;
}

void colocarVentanaPartes(QWidget* ventana, QComboBox* usuarios, std::initializer_list<QWidget*> marcos,
                          std::initializer_list<QPushButton*> botones, QWidget* alta,
                          Qt::Alignment alineacionAlta) {
    auto* usuario = new QHBoxLayout;
    usuario->addWidget(etiqueta("labUsuario", "Usuario", ventana));
    usuario->addWidget(usuarios, 1);
    auto* capaBotones = new QHBoxLayout;
    for (QPushButton* b : botones) {
        capaBotones->addWidget(b);
    }
    auto* principal = new QVBoxLayout;
    principal->addLayout(usuario);
    for (QWidget* m : marcos) {
        principal->addWidget(m);
    }
    principal->addLayout(capaBotones);
    principal->addStretch(1);
    auto* todo = new QHBoxLayout(ventana);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    todo->addLayout(principal);
    todo->addWidget(alta, 0, alineacionAlta);
    alta->hide();
    principal->addStrut(anchoTitulo(ventana) - todo->contentsMargins().left() -
                        todo->contentsMargins().right());
}

bool enBaseDatos(Avisos& avisos, const std::function<void()>& accion, AvisoError aviso) {
    try {
        accion();
        return true;
    } catch (const ErrorBaseDatos& e) {
        const std::string texto = std::string("Error: ") + e.what();
        if (aviso == AvisoError::Critico) {
            avisos.critico(texto);
        } else {
            avisos.simple(texto);
        }
        return false;
    }
}

void anadirPlantilla(QComboBox* combo, const EntradaPlantilla& entrada) {
    combo->addItem(aQString(entrada.texto), QVariantList{QVariant::fromValue<qlonglong>(entrada.id),
                                                         QByteArray::fromStdString(entrada.tipo)});
}

std::optional<PlantillaElegida> plantillaElegida(const QComboBox* combo) {
    if (combo->currentIndex() < 0) {
        return std::nullopt;
    }
    const QVariantList datos = combo->currentData().toList();
    return PlantillaElegida{datos.value(0).toLongLong(), datos.value(1).toByteArray().toStdString()};
}

QTableWidget* rejilla(const char* nombre, QWidget* padre) {
    auto* grid = nombrado(new QTableWidget(padre), nombre);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    // The header row is no entry: clicking it chooses nothing.
    grid->horizontalHeader()->setSectionsClickable(false);
    return grid;
}

void prepararRejilla(QTableWidget* grid, std::span<const Columna> columnas) {
    grid->clearContents();
    grid->setRowCount(0);
    grid->setColumnCount(static_cast<int>(columnas.size()));
    int i = 0;
    for (const Columna& columna : columnas) {
        auto* cabecera = new QTableWidgetItem(aQString(columna.titulo));
        cabecera->setTextAlignment(columna.alineacion | Qt::AlignVCenter);
        grid->setHorizontalHeaderItem(i, cabecera);
        grid->setColumnWidth(i, columna.ancho);
        ++i;
    }
    ajustarColumnas(grid);
}

void anadirFila(QTableWidget* grid, const std::vector<std::string>& celdas) {
    const int fila = grid->rowCount();
    grid->insertRow(fila);
    auto* selector = new QTableWidgetItem(QStringLiteral(" "));
    selector->setBackground(grid->palette().button());
    grid->setItem(fila, 0, selector);
    for (std::size_t i = 0; i < celdas.size(); ++i) {
        const int columna = static_cast<int>(i) + 1;
        auto* celda = new QTableWidgetItem(aQString(celdas[i]));
        if (const auto* cabecera = grid->horizontalHeaderItem(columna)) {
            celda->setTextAlignment(Qt::Alignment(cabecera->textAlignment()));
        }
        grid->setItem(fila, columna, celda);
    }
}

void ajustarColumnas(QTableWidget* grid) {
    int total = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
        // The selector column keeps its narrow designed width.
        if (c > 0) {
            const int disenado = grid->columnWidth(c);
            grid->resizeColumnToContents(c);
            grid->setColumnWidth(c, std::max(disenado, grid->columnWidth(c)));
        }
        total += grid->columnWidth(c);
    }
    // Room for every column and for the vertical scroll bar that a long list brings.
    grid->setMinimumWidth(total + 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width());
}

} // namespace trovanel
