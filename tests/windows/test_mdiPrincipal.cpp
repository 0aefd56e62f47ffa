#include "frmAcercade.hpp"
#include "frmEntrada.hpp"
#include "icono_programa.hpp"
#include "mdiPrincipal.hpp"
#include "soporte_ventanas.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace trovanel::pruebas {
namespace {

using Mensaje = AvisosGrabados::Mensaje;

void escribirConfiguracion(EntornoVentanas& entorno, const std::string& contenido) {
    std::ofstream(entorno.carpeta / "config.ini", std::ios::binary) << contenido;
}

class MdiPrincipal : public ::testing::Test {
protected:
    // What the user sees of a menu or the bar: each entry's text, a submenu by its objectName in
    // brackets, "-" for a separator.
    static std::vector<std::string> entradas(QWidget* menu) {
        std::vector<std::string> textos;
        for (QAction* accion : menu->actions()) {
            if (accion->isSeparator()) {
                textos.push_back("-");
            } else if (accion->menu() != nullptr) {
                textos.push_back(accion->text().toStdString() + " [" +
                                 accion->menu()->objectName().toStdString() + "]");
            } else {
                textos.push_back(accion->text().toStdString() + " <" + accion->objectName().toStdString() +
                                 ">");
            }
        }
        return textos;
    }

    bool disponible(QWidget* ventana, const char* nombre) {
        QAction* accion = hijo<QAction>(ventana, nombre);
        return accion != nullptr && accion->isEnabled();
    }

    EntornoVentanas entorno;
};

class MdiPrincipalConfigurado : public MdiPrincipal {
protected:
    MdiPrincipalConfigurado() { escribirConfiguracion(entorno, ""); }
};

TEST_F(MdiPrincipalConfigurado, elTituloLlevaLaVersionYLaBarraYCadaMenuTienenSusEntradasEnOrden) {
    using V = std::vector<std::string>;
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_TRUE(ventana.windowTitle().startsWith(QStringLiteral("Trovanel Ver ")));
    EXPECT_GT(ventana.windowTitle().size(), QStringLiteral("Trovanel Ver ").size());
    struct Caso {
        const char* menu; // nullptr: the menu bar
        V entradas;
        std::vector<const char*> disponibles;
    };
    const Caso casos[] = {
        {nullptr,
         {"&Plantillas [mnuEstructuras]", "&Cabeceras [mnuCabeceras]", "&Generar CSB <mnuFiltrar>",
          "&Ayuda [mnuAyuda]", "&Salir <mnuSalir>"},
         {"mnuFiltrar", "mnuSalir"}},
        {"mnuEstructuras",
         {"&Mantenimiento Plantillas <opcEstructuras>", "Plantillas Microsoft [mnuMicrosoft]", "-",
          "&Exportar Plantilla <opcExpEst>", "&Importar Plantilla <opcImpEst>", "-",
          "Multifacturas <opcMultifacturas>"},
         {"opcEstructuras", "opcExpEst", "opcImpEst", "opcMultifacturas"}},
        {"mnuMicrosoft",
         {"Plantillas Excel <opcExcel>", "Plantillas Access <opcAccess>"},
         {"opcExcel", "opcAccess"}},
        {"mnuCabeceras",
         {"&Descarga Fichero Cuentas <opcDesFichCtas>", "&Importar Fichero Cuentas <mnuImpFichCue>",
          "&Mantenimiento de Cuentas [mnuCuentas]"},
         {"opcDesFichCtas", "mnuImpFichCue"}},
        {"mnuCuentas", {"&Cobros <opcManCobros>", "&Pagos <opcManPagos>"}, {"opcManCobros", "opcManPagos"}},
        {"mnuAyuda", {"Manual <opcManual>", "Acerca de ... <opcAcercaDe>"}, {"opcManual", "opcAcercaDe"}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.menu != nullptr ? caso.menu : "barra");
        EXPECT_EQ(entradas(caso.menu != nullptr ? static_cast<QWidget*>(hijo<QMenu>(&ventana, caso.menu))
                                                : ventana.menuBar()),
                  caso.entradas);
        for (const char* nombre : caso.disponibles) {
            EXPECT_TRUE(disponible(&ventana, nombre)) << nombre;
        }
    }
    for (const char* raya : {"raya", "r"}) {
        ASSERT_NE(hijo<QAction>(&ventana, raya), nullptr);
        EXPECT_TRUE(hijo<QAction>(&ventana, raya)->isSeparator());
    }
}

struct CasoConfiguracion {
    const char* contenido;
    bool administrador;
    bool caracteres;
};

class ConfiguracionAlCargar : public MdiPrincipal, public ::testing::WithParamInterface<CasoConfiguracion> {};

TEST_P(ConfiguracionAlCargar, lasPalabrasDeConfigIniFijanLosIndicadores) {
    escribirConfiguracion(entorno, GetParam().contenido);
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(entorno.configuracion.gAdministrador, GetParam().administrador);
    EXPECT_EQ(entorno.configuracion.gCaracteres, GetParam().caracteres);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    MdiPrincipal, ConfiguracionAlCargar,
    ::testing::Values(CasoConfiguracion{"administrador=true\r\n", true, false},
                      CasoConfiguracion{"Administrador=true\r\n", false, false},
                      CasoConfiguracion{"administrador=false;caracteres=true\r\n", true, true},
                      CasoConfiguracion{"administrador=true\r\nadministrador=no\r\n", false, false},
                      CasoConfiguracion{"", false, false}));

TEST_F(MdiPrincipal, sinConfigIniAvisaYDejaLosIndicadoresApagados) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(entorno.avisos.mensajes,
              (std::vector<Mensaje>{{"critico", "No se puede abrir el fichero de configuración"}}));
    EXPECT_FALSE(entorno.configuracion.gAdministrador);
    EXPECT_FALSE(entorno.configuracion.gCaracteres);
}

TEST(MdiPrincipalManual, abreElManualInstaladoYSiFaltaElFicheroOLaAplicacionLoDice) {
    struct Caso {
        bool hayManual;
        bool abre;
        const char* tipo;  // nullptr: no message
        std::string texto; // the missing file's path follows it when there is no manual
    };
    for (const Caso& caso :
         {Caso{true, true, nullptr, ""},
          Caso{false, true, "critico", "No se encuentra el manual del programa: "},
          Caso{true, false, "simple", "No se encuentra la aplicación para abrir el fichero de ayuda "}}) {
        SCOPED_TRACE(caso.texto);
        EntornoVentanas entorno;
        escribirConfiguracion(entorno, "");
        entorno.abridor.resultado = caso.abre;
        const std::filesystem::path manual = entorno.carpeta / "manual.html";
        if (caso.hayManual) {
            pruebas::escribirFichero(manual, "<html></html>");
        }
        mdiPrincipal ventana(entorno.contexto(), nullptr, manual);
        hijo<QAction>(&ventana, "opcManual")->trigger();
        EXPECT_EQ(entorno.abridor.abiertos,
                  caso.hayManual ? std::vector<std::string>{manual.string()} : std::vector<std::string>{});
        std::vector<Mensaje> avisos;
        if (caso.tipo != nullptr) {
            avisos.push_back({caso.tipo, caso.texto + (caso.hayManual ? "" : manual.string())});
        }
        EXPECT_EQ(entorno.avisos.mensajes, avisos);
    }
}

TEST(MdiPrincipalManual, descargaFicheroCuentasAbreLaPaginaDelBancoOAvisaSinNavegador) {
    for (bool abre : {true, false}) {
        EntornoVentanas entorno;
        escribirConfiguracion(entorno, "");
        entorno.abridor.resultado = abre;
        mdiPrincipal ventana(entorno.contexto());
        hijo<QAction>(&ventana, "opcDesFichCtas")->trigger();
        ASSERT_EQ(entorno.abridor.abiertos.size(), 1u) << abre;
        EXPECT_EQ(entorno.abridor.abiertos[0].rfind("http", 0), 0u);
        if (abre) {
            EXPECT_TRUE(entorno.avisos.mensajes.empty());
        } else {
            ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
            EXPECT_EQ(entorno.avisos.mensajes[0].tipo, "critico");
            EXPECT_NE(entorno.avisos.mensajes[0].texto.find(entorno.abridor.abiertos[0]), std::string::npos);
        }
    }
}

// The program's icon is its SVG drawn: the blue of the tile and the yellow of the arrow.
void esElIconoDelPrograma(const QImage& imagen) {
    EXPECT_EQ(imagen.pixelColor(imagen.width() / 2, imagen.height() / 12), QColor(0x34, 0x65, 0xa4));
    EXPECT_EQ(imagen.pixelColor(imagen.width() * 70 / 128, imagen.height() * 60 / 128),
              QColor(0xfc, 0xe9, 0x4f));
}

TEST_F(MdiPrincipalConfigurado, laVentanaLlevaElIconoDelProgramaYNombraSuEntradaDeEscritorio) {
    presentarAplicacion();
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("trovanel"));
    esElIconoDelPrograma(ventana.windowIcon().pixmap(32, 32).toImage());
    esElIconoDelPrograma(ventana.windowIcon().pixmap(256, 256).toImage());
}

TEST_F(MdiPrincipalConfigurado, acercaDeSeAbreSinBloquearYCerrarLoOculta) {
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();
    hijo<QAction>(&ventana, "opcAcercaDe")->trigger();
    auto* acercaDe = ventana.findChild<frmAcercade*>();
    ASSERT_NE(acercaDe, nullptr);
    EXPECT_TRUE(acercaDe->isVisible());
    EXPECT_FALSE(acercaDe->isModal());
    EXPECT_EQ(acercaDe->windowTitle(), QStringLiteral("Acerca de ..."));
    esElIconoDelPrograma(hijo<QLabel>(acercaDe, "imgLogo")->pixmap().toImage());
    auto* cerrar = hijo<QPushButton>(acercaDe, "cmdAceptar");
    ASSERT_NE(cerrar, nullptr);
    EXPECT_EQ(cerrar->text(), QStringLiteral("&Cerrar"));

    QTest::mouseClick(cerrar, Qt::LeftButton);
    EXPECT_FALSE(acercaDe->isVisible());

    hijo<QAction>(&ventana, "opcAcercaDe")->trigger();
    EXPECT_EQ(ventana.findChildren<frmAcercade*>().size(), 1);
    EXPECT_TRUE(acercaDe->isVisible());
}

TEST_F(MdiPrincipalConfigurado,
       generarCsbYMantenimientoDeCuentasAbrenSusVentanasModalesYCerrarlasLasDescarga) {
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();
    std::vector<QString> modales;
    // Generar CSB's dialog is rejected; the account windows close with their Cancelar button.
    for (const char* opcion : {"mnuFiltrar", "mnuFiltrar", "opcManCobros", "opcManPagos", "opcManCobros"}) {
        QTimer::singleShot(0, &ventana, [&modales, porBoton = opcion[0] == 'o'] {
            QWidget* modal = QApplication::activeModalWidget();
            modales.push_back(modal != nullptr ? modal->objectName() : QString());
            auto* cerrar =
                modal != nullptr ? modal->findChild<QPushButton*>(QStringLiteral("cmdCancelar")) : nullptr;
            if (porBoton && cerrar != nullptr) {
                QTest::mouseClick(cerrar, Qt::LeftButton);
            } else if (auto* dialogo = qobject_cast<QDialog*>(modal); !porBoton && dialogo != nullptr) {
                dialogo->reject();
            }
        });
        hijo<QAction>(&ventana, opcion)->trigger();
    }
    EXPECT_EQ(modales, (std::vector<QString>{QStringLiteral("frmEntrada"), QStringLiteral("frmEntrada"),
                                             QStringLiteral("frmNifSuf"), QStringLiteral("frmNifSufPagos"),
                                             QStringLiteral("frmNifSuf")}));
    EXPECT_TRUE(ventana.findChildren<frmEntrada*>().isEmpty());
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST(MdiPrincipalSalida, salirOCerrarLaVentanaLaCierraYBorraLaCopiaDelDia) {
    for (bool porMenu : {true, false}) {
        SCOPED_TRACE(porMenu ? "Salir" : "cerrar");
        EntornoVentanas entorno;
        escribirConfiguracion(entorno, "");
        const std::filesystem::path copia = entorno.carpeta / "6122026.Copy";
        std::ofstream(copia) << "copia";
        entorno.configuracion.gRutaCopiaBD = copia;
        mdiPrincipal ventana(entorno.contexto());
        ventana.show();
        if (porMenu) {
            hijo<QAction>(&ventana, "mnuSalir")->trigger();
        } else {
            EXPECT_TRUE(ventana.close());
        }
        EXPECT_FALSE(ventana.isVisible());
        EXPECT_FALSE(std::filesystem::exists(copia));
        EXPECT_TRUE(entorno.avisos.mensajes.empty());
    }
}

} // namespace
} // namespace trovanel::pruebas
