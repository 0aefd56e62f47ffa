#include "mdiPrincipal.hpp"

#include "avisos.hpp"
#include "codificacion.hpp"
#include "configuracion.hpp"
#include "controles.hpp"
#include "estado_ejecucion.hpp"
#include "frmAcercade.hpp"
#include "frmDatos.hpp"
#include "frmEntrada.hpp"
#include "frmEstructuras.hpp"
#include "frmExpImp.hpp"
#include "frmImpFichCue.hpp"
#include "frmMultifacturas.hpp"
#include "frmNifSuf.hpp"
#include "frmNifSufPagos.hpp"

#include <QCloseEvent>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include <system_error>
#include <utility>

namespace trovanel {

namespace {

QAction* entrada(QMenu* menu, const char* nombre, const QString& texto, bool disponible = true) {
    QAction* accion = menu->addAction(texto);
    accion->setObjectName(QString::fromLatin1(nombre));
    accion->setEnabled(disponible);
    return accion;
}

QMenu* submenu(QWidget* padre, const char* nombre, const QString& texto) {
    auto* menu = new QMenu(texto, padre);
    menu->setObjectName(QString::fromLatin1(nombre));
    return menu;
}

void separador(QMenu* menu, const char* nombre) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(nombre));
}

// The frame's picture: a gradient with the product's name in a corner, drawn, nothing to load from disk.
class AreaConImagen : public QMdiArea {
public:
    explicit AreaConImagen(QWidget* padre) : QMdiArea(padre) {
        QLinearGradient fondo(0, 0, 0, 800);
        fondo.setColorAt(0.0, QColor(32, 74, 135));
        fondo.setColorAt(1.0, QColor(114, 159, 207));
        setBackground(fondo);
    }

protected:
    void paintEvent(QPaintEvent* evento) override {
        QMdiArea::paintEvent(evento);
        QPainter pintor(viewport());
        pintor.setRenderHint(QPainter::TextAntialiasing);
        const QRect zona = viewport()->rect().adjusted(0, 0, -32, -24);
        QFont letra = font();
        letra.setPointSizeF(letra.pointSizeF() * 0.95);
        pintor.setFont(letra);
        pintor.setPen(QColor(255, 255, 255, 170));
        const QString lema = QStringLiteral("Ficheros de remesas bancarias en formato CSB");
        pintor.drawText(zona, Qt::AlignRight | Qt::AlignBottom, lema);
        letra.setPointSizeF(letra.pointSizeF() * 3.2);
        letra.setBold(true);
        pintor.setFont(letra);
        pintor.setPen(QColor(255, 255, 255, 130));
        pintor.drawText(zona.adjusted(0, 0, 0, -QFontMetrics(font()).height() - 4),
                        Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Trovanel"));
    }
};

} // namespace

// frmDatos opens over the conversion dialog, which is built after it is handed this request.
class mdiPrincipal::SolicitudDatosVentana : public SolicitudDatosObligatorios {
public:
    explicit SolicitudDatosVentana(Avisos& avisos) : avisos_(avisos) {}
    void setVentana(QWidget* ventana) { ventana_ = ventana; }

    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                  std::string_view gTipoEstructura) override {
        return SolicitudDatosQt(avisos_, ventana_).MostrarDatosObligatorios(estado, campos, gTipoEstructura);
    }

private:
    Avisos& avisos_;
    QWidget* ventana_ = nullptr;
};

mdiPrincipal::mdiPrincipal(ContextoVentanas contexto, QWidget* padre, std::filesystem::path manual)
    : QMainWindow(padre), contexto_(contexto), manual_(std::move(manual)),
      solicitudDatos_(std::make_unique<SolicitudDatosVentana>(contexto.avisos)),
      area_(new AreaConImagen(this)) {
    setObjectName(QStringLiteral("mdiPrincipal"));
    setWindowTitle(QStringLiteral("Trovanel Ver " TROVANEL_VERSION));

    setCentralWidget(area_);
    resize(900, 650);
    reservarTitulo(this);

    crearMenus();
    MDIForm_Load();
}

mdiPrincipal::~mdiPrincipal() = default;

void mdiPrincipal::crearMenus() {
    QMenuBar* barra = menuBar();

    // Entries whose windows are not part of the program yet stay visible but disabled.
    QMenu* mnuEstructuras = submenu(barra, "mnuEstructuras", QStringLiteral("&Plantillas"));
    barra->addMenu(mnuEstructuras);
    connect(entrada(mnuEstructuras, "opcEstructuras", QStringLiteral("&Mantenimiento Plantillas")),
            &QAction::triggered, this, &mdiPrincipal::opcEstructuras_Click);
    QMenu* mnuMicrosoft = submenu(mnuEstructuras, "mnuMicrosoft", QStringLiteral("Plantillas Microsoft"));
    mnuEstructuras->addMenu(mnuMicrosoft);
    connect(entrada(mnuMicrosoft, "opcExcel", QStringLiteral("Plantillas Excel")), &QAction::triggered, this,
            &mdiPrincipal::opcExcel_Click);
    connect(entrada(mnuMicrosoft, "opcAccess", QStringLiteral("Plantillas Access")), &QAction::triggered,
            this, &mdiPrincipal::opcAccess_Click);
    separador(mnuEstructuras, "raya");
    connect(entrada(mnuEstructuras, "opcExpEst", QStringLiteral("&Exportar Plantilla")), &QAction::triggered,
            this, &mdiPrincipal::opcExpEst_Click);
    connect(entrada(mnuEstructuras, "opcImpEst", QStringLiteral("&Importar Plantilla")), &QAction::triggered,
            this, &mdiPrincipal::opcImpEst_Click);
    separador(mnuEstructuras, "r");
    connect(entrada(mnuEstructuras, "opcMultifacturas", QStringLiteral("Multifacturas")), &QAction::triggered,
            this, &mdiPrincipal::opcMultifacturas_Click);

    QMenu* mnuCabeceras = submenu(barra, "mnuCabeceras", QStringLiteral("&Cabeceras"));
    barra->addMenu(mnuCabeceras);
    connect(entrada(mnuCabeceras, "opcDesFichCtas", QStringLiteral("&Descarga Fichero Cuentas")),
            &QAction::triggered, this, &mdiPrincipal::opcDesFichCtas_Click);
    connect(entrada(mnuCabeceras, "mnuImpFichCue", QStringLiteral("&Importar Fichero Cuentas")),
            &QAction::triggered, this, &mdiPrincipal::mnuImpFichCue_Click);
    QMenu* mnuCuentas = submenu(mnuCabeceras, "mnuCuentas", QStringLiteral("&Mantenimiento de Cuentas"));
    mnuCabeceras->addMenu(mnuCuentas);
    connect(entrada(mnuCuentas, "opcManCobros", QStringLiteral("&Cobros")), &QAction::triggered, this,
            &mdiPrincipal::opcManCobros_Click);
    connect(entrada(mnuCuentas, "opcManPagos", QStringLiteral("&Pagos")), &QAction::triggered, this,
            &mdiPrincipal::opcManPagos_Click);

    QAction* mnuFiltrar = barra->addAction(QStringLiteral("&Generar CSB"));
    mnuFiltrar->setObjectName(QStringLiteral("mnuFiltrar"));
    connect(mnuFiltrar, &QAction::triggered, this, &mdiPrincipal::mnuFiltrar_Click);

    QMenu* mnuAyuda = submenu(barra, "mnuAyuda", QStringLiteral("&Ayuda"));
    barra->addMenu(mnuAyuda);
    connect(entrada(mnuAyuda, "opcManual", QStringLiteral("Manual")), &QAction::triggered, this,
            &mdiPrincipal::opcManual_Click);
    connect(entrada(mnuAyuda, "opcAcercaDe", QStringLiteral("Acerca de ...")), &QAction::triggered, this,
            &mdiPrincipal::opcAcercaDe_Click);

    QAction* mnuSalir = barra->addAction(QStringLiteral("&Salir"));
    mnuSalir->setObjectName(QStringLiteral("mnuSalir"));
    connect(mnuSalir, &QAction::triggered, this, &mdiPrincipal::mnuSalir_Click);
}

void mdiPrincipal::MDIForm_Load() {
    const std::optional<Configuracion> leida = leerConfiguracion(contexto_.carpetaPrograma);
    if (!leida) {
        contexto_.avisos.critico("No se puede abrir el fichero de configuración");
        return;
    }
    // The language stays as the start found it: config.ini does not hold it.
    contexto_.configuracion.gAdministrador = leida->gAdministrador;
    contexto_.configuracion.gCaracteres = leida->gCaracteres;
}

void mdiPrincipal::MDIForm_Unload() {
    // The database itself is closed by whoever opened it, once this window is gone.
    if (!contexto_.configuracion.gRutaCopiaBD.empty()) {
        std::error_code error;
        std::filesystem::remove(contexto_.configuracion.gRutaCopiaBD, error);
    }
}

void mdiPrincipal::closeEvent(QCloseEvent* evento) {
    MDIForm_Unload();
    evento->accept();
}

void mdiPrincipal::mnuFiltrar_Click() {
    // Closing the dialog unloads it: each opening lists the templates anew and starts without choices.
    frmEntrada dialogo(contexto_, solicitudDatos_.get(), this);
    solicitudDatos_->setVentana(&dialogo);
    dialogo.exec();
    solicitudDatos_->setVentana(this);
}

// Closing a party window unloads it: each opening loads its users anew.
void mdiPrincipal::opcManCobros_Click() {
    frmNifSuf ventana(contexto_, this);
    ventana.exec();
}

void mdiPrincipal::opcManPagos_Click() {
    frmNifSufPagos ventana(contexto_, this);
    ventana.exec();
}

void mdiPrincipal::mnuImpFichCue_Click() {
    frmImpFichCue ventana(contexto_, this);
    ventana.exec();
}

// Closing an editor unloads it: each opening lists the templates anew and loads the first.
void mdiPrincipal::abrirEditor(TipoEntrada entrada) {
    frmEstructuras ventana(contexto_, entrada, this);
    ventana.exec();
}

void mdiPrincipal::opcEstructuras_Click() {
    abrirEditor(TipoEntrada::Texto);
}

void mdiPrincipal::opcExcel_Click() {
    abrirEditor(TipoEntrada::Excel);
}

void mdiPrincipal::opcAccess_Click() {
    abrirEditor(TipoEntrada::Access);
}

void mdiPrincipal::opcExpEst_Click() {
    frmExpImp ventana(contexto_, this);
    ventana.setTipo("EXP");
    ventana.exec();
}

void mdiPrincipal::opcImpEst_Click() {
    frmExpImp ventana(contexto_, this);
    ventana.setTipo("IMP");
    ventana.exec();
}

// Modeless: the menus stay usable while it is open. Closing it unloads it, so the next opening lists
// the templates anew.
void mdiPrincipal::opcMultifacturas_Click() {
    if (frmMultifacturas_ == nullptr) {
        frmMultifacturas_ = new frmMultifacturas(contexto_, this);
        frmMultifacturas_->setAttribute(Qt::WA_DeleteOnClose);
        connect(frmMultifacturas_, &QDialog::finished, this, [this] { frmMultifacturas_ = nullptr; });
    }
    frmMultifacturas_->show();
    frmMultifacturas_->raise();
    frmMultifacturas_->activateWindow();
}

void mdiPrincipal::mnuSalir_Click() {
    close();
}

void mdiPrincipal::opcAcercaDe_Click() {
    if (frmAcercade_ == nullptr) {
        frmAcercade_ = new frmAcercade(this);
    }
    frmAcercade_->show();
    frmAcercade_->raise();
    frmAcercade_->activateWindow();
}

void mdiPrincipal::opcDesFichCtas_Click() {
    if (!contexto_.abridor.abrir(TROVANEL_PAGINA_DESCARGA)) {
        contexto_.avisos.critico("No se puede abrir el navegador con la página de descarga del fichero de "
                                 "cuentas: " TROVANEL_PAGINA_DESCARGA);
    }
}

void mdiPrincipal::opcManual_Click() {
    // A missing manual is an installation fault, not a missing application: say which file to look for.
    std::error_code error;
    if (!std::filesystem::is_regular_file(manual_, error)) {
        contexto_.avisos.critico("No se encuentra el manual del programa: " + utf8ACp1252(manual_.string()));
        return;
    }
    if (!contexto_.abridor.abrir(manual_.string())) {
        contexto_.avisos.simple("No se encuentra la aplicación para abrir el fichero de ayuda ");
    }
}

} // namespace trovanel
