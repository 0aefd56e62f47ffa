// Every window on a 1366x768 laptop screen with a 40-pixel panel: it fits the room left, its least size
// keeps every caption and its title whole, and it holds still while the user works in it.

#include "controles.hpp"
#include "conversores.hpp"
#include "frmAcercade.hpp"
#include "frmDatos.hpp"
#include "frmEntrada.hpp"
#include "frmEstructuras.hpp"
#include "frmExpImp.hpp"
#include "frmImpFichCue.hpp"
#include "frmMsg.hpp"
#include "frmMultifacturas.hpp"
#include "frmNifSuf.hpp"
#include "frmNifSufPagos.hpp"
#include "mdiPrincipal.hpp"
#include "soporte_ventanas.hpp"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

namespace trovanel::pruebas {
namespace {

// The screen less a 40-pixel panel, and the title bar and borders a window manager adds.
const QRect kDisponible(0, 0, 1366, 728);
constexpr int kMarcoAlto = 40;
constexpr int kMarcoAncho = 10;

struct Caso {
    const char* nombre;
    std::function<std::unique_ptr<QWidget>(EntornoVentanas&)> crear;
    // What the user does that makes the window grow.
    std::function<void(QWidget*)> ampliar = [](QWidget*) {};
};

CampoEstructura pedido(const char* nombre, int longitud) {
    CampoEstructura campo;
    campo.campo = nombre;
    campo.obligatorio = true;
    campo.longitud = longitud;
    return campo;
}

const Caso kVentanas[] = {
    {"mdiPrincipal", [](EntornoVentanas& e) { return std::make_unique<mdiPrincipal>(e.contexto()); }},
    {"frmEntrada", [](EntornoVentanas& e) { return std::make_unique<frmEntrada>(e.contexto()); },
     [](QWidget* v) { QTest::mouseClick(hijo<QPushButton>(v, "cmdMas"), Qt::LeftButton); }},
    {"frmEstructuras",
     [](EntornoVentanas& e) { return std::make_unique<frmEstructuras>(e.contexto(), TipoEntrada::Texto); }},
    {"frmEstructurasExcel",
     [](EntornoVentanas& e) { return std::make_unique<frmEstructuras>(e.contexto(), TipoEntrada::Excel); }},
    {"frmEstructurasAccess",
     [](EntornoVentanas& e) { return std::make_unique<frmEstructuras>(e.contexto(), TipoEntrada::Access); }},
    {"frmNifSuf", [](EntornoVentanas& e) { return std::make_unique<frmNifSuf>(e.contexto()); },
     [](QWidget* v) { QTest::mouseClick(hijo<QPushButton>(v, "cmdAlta"), Qt::LeftButton); }},
    {"frmNifSufPagos", [](EntornoVentanas& e) { return std::make_unique<frmNifSufPagos>(e.contexto()); }},
    {"frmDatos",
     [](EntornoVentanas& e) {
         e.estado.gCamposEstructura = {pedido("Gastos", 1)};
         return std::make_unique<frmDatos>(e.estado, std::vector<std::size_t>{0}, "CSB19", e.avisos);
     }},
    {"frmMsg",
     [](EntornoVentanas& e) {
         ResultadoConversion resultado;
         resultado.log = e.carpeta / "remesa.log";
         std::ofstream(resultado.log, std::ios::binary) << "Numero Linea: 1\r\n";
         resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
         return std::make_unique<frmMsg>(true, resultado);
     },
     [](QWidget* v) { QTest::mouseClick(hijo<QPushButton>(v, "cmdDetalles"), Qt::LeftButton); }},
    {"frmExpImp",
     [](EntornoVentanas& e) {
         auto v = std::make_unique<frmExpImp>(e.contexto());
         v->setTipo("EXP");
         return v;
     }},
    {"frmImpFichCue", [](EntornoVentanas& e) { return std::make_unique<frmImpFichCue>(e.contexto()); }},
    {"frmMultifacturas", [](EntornoVentanas& e) { return std::make_unique<frmMultifacturas>(e.contexto()); }},
    {"frmAcercade", [](EntornoVentanas&) { return std::make_unique<frmAcercade>(); }},
};

// Captions that the window's least size cuts, as "objectName: text".
std::vector<std::string> captionsCortados(QWidget* ventana) {
    std::vector<std::string> cortados;
    const auto anotar = [&](QWidget* control, const QString& texto, int necesario) {
        if (control->isVisibleTo(ventana) && control->width() < necesario) {
            cortados.push_back(control->objectName().toStdString() + ": " + texto.toStdString());
        }
    };
    for (auto* etiqueta : ventana->findChildren<QLabel*>()) {
        if (!etiqueta->wordWrap() && !etiqueta->text().isEmpty()) {
            anotar(etiqueta, etiqueta->text(), etiqueta->minimumSizeHint().width());
        }
    }
    for (auto* boton : ventana->findChildren<QAbstractButton*>()) {
        if (!boton->text().isEmpty()) {
            anotar(boton, boton->text(),
                   boton->fontMetrics().horizontalAdvance(QString(boton->text()).remove(u'&')) + 8);
        }
    }
    for (auto* marco : ventana->findChildren<QGroupBox*>()) {
        anotar(marco, marco->title(), marco->fontMetrics().horizontalAdvance(marco->title()));
    }
    return cortados;
}

TEST(Geometria, cadaVentanaCabeEnUnPortatilYSuTamanoMinimoMuestraCadaTextoEntero) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1366, 768));
    for (const Caso& caso : kVentanas) {
        SCOPED_TRACE(caso.nombre);
        EntornoVentanas entorno;
        std::ofstream(entorno.carpeta / "config.ini") << "";
        std::unique_ptr<QWidget> ventana = caso.crear(entorno);
        ventana->show();
        for (int paso = 0; paso < 2; ++paso) {
            SCOPED_TRACE(paso == 0 ? "al abrir" : "ampliada");
            if (paso == 1) {
                caso.ampliar(ventana.get());
            }
            QApplication::processEvents();
            const QSize cabe = kDisponible.size() - QSize(kMarcoAncho, kMarcoAlto);
            EXPECT_LE(ventana->width(), cabe.width());
            EXPECT_LE(ventana->height(), cabe.height());
            const QSize minimo = ventana->minimumSize().expandedTo(ventana->minimumSizeHint());
            EXPECT_LE(minimo.height(), cabe.height());
            EXPECT_GE(minimo.width(), anchoTitulo(ventana.get()));
            const QSize antes = ventana->size();
            ventana->resize(minimo);
            QApplication::processEvents();
            EXPECT_EQ(captionsCortados(ventana.get()), std::vector<std::string>{});
            ventana->resize(antes);
        }
    }
}

TEST(Geometria, generarCsbAmpliadoJuntoAlBordeSeQuedaEnLaPantalla) {
    EntornoVentanas entorno;
    frmEntrada ventana(entorno.contexto());
    ventana.move(600, 80);
    ventana.show();
    QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdMas"), Qt::LeftButton);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(ventana.frameGeometry()))
        << ventana.frameGeometry().x() << "+" << ventana.frameGeometry().width();
}

TEST(Geometria, elegirUnCampoFechaOImporteNoMueveNingunaCajaNiBotonDelEditor) {
    const struct {
        TipoEntrada tipo;
        const char* caja; // the field's place in the input
        const char* campo;
        const char* extra; // the row that the field shows
    } kCasos[] = {{TipoEntrada::Texto, "tbIniCampo", "Fecha", "cbFecha"},
                  {TipoEntrada::Texto, "tbIniCampo", "Importe", "tbValNegativo"},
                  {TipoEntrada::Excel, "tbCol", "Fecha", "cbFecha"},
                  {TipoEntrada::Excel, "tbCol", "Importe", "tbValNegativo"},
                  {TipoEntrada::Access, "tbCampo", "Fecha", "cbFecha"},
                  {TipoEntrada::Access, "tbCampo", "Importe", "tbValNegativo"}};
    for (const auto& caso : kCasos) {
        SCOPED_TRACE(std::string(caso.caja) + " " + caso.campo);
        EntornoVentanas entorno;
        frmEstructuras ventana(entorno.contexto(), caso.tipo);
        ventana.show();
        QApplication::processEvents();
        const auto lugar = [&ventana](const char* nombre) {
            auto* control = hijo<QWidget>(&ventana, nombre);
            return QRect(control->mapTo(&ventana, QPoint(0, 0)), control->size());
        };
        // A template of cheques: its amounts may carry a sign.
        auto* plantillas = hijo<QComboBox>(&ventana, "cbEstructuras");
        plantillas->setFocus();
        while (!plantillas->currentText().contains(QStringLiteral("Cheques")) &&
               plantillas->currentIndex() + 1 < plantillas->count()) {
            QTest::keyClick(plantillas, Qt::Key_Down);
        }
        QApplication::processEvents();
        auto* campos = hijo<QListWidget>(&ventana, "lbCampos");
        const QRect agregar = lugar("cmdAgregar");
        const QRect caja = lugar(caso.caja);
        const QSize ventanaAntes = ventana.size();
        const auto elegidos = campos->findItems(QString::fromUtf8(caso.campo), Qt::MatchContains);
        ASSERT_FALSE(elegidos.isEmpty());
        campos->setCurrentItem(elegidos.front());
        QApplication::processEvents();
        ASSERT_TRUE(hijo<QWidget>(&ventana, caso.extra)->isVisible());
        EXPECT_EQ(lugar("cmdAgregar"), agregar);
        EXPECT_EQ(lugar(caso.caja), caja);
        EXPECT_EQ(ventana.size(), ventanaAntes);
    }
}

TEST(Geometria, laCajaDelNombreDeUnaAltaMuestraCuarentaLetras) {
    EntornoVentanas entorno;
    frmNifSuf ventana(entorno.contexto());
    ventana.show();
    QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdAlta"), Qt::LeftButton);
    auto* nombre = hijo<QLineEdit>(&ventana, "tbAltaNombrePre");
    QTest::keyClicks(nombre, QStringLiteral("CONSTRUCCIONES Y REFORMAS HERMANOS DEL NO"));
    QApplication::processEvents();
    nombre->home(false);
    EXPECT_GE(nombre->width() - 10, nombre->fontMetrics().horizontalAdvance(nombre->text()));
}

} // namespace
} // namespace trovanel::pruebas
