#include "frmAcercade.hpp"
#include "frmEntrada.hpp"
#include "mdiPrincipal.hpp"
#include "soporte_ventanas.hpp"

#include <QAction>
#include <QApplication>
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

class MdiPrincipal : public ::testing::Test {
protected:
    void escribirConfiguracion(const std::string& contenido) {
        std::ofstream(entorno.carpeta / "config.ini", std::ios::binary) << contenido;
    }

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
    MdiPrincipalConfigurado() { escribirConfiguracion(""); }
};

TEST_F(MdiPrincipalConfigurado, elTituloEsElNombreDelProductoYSuVersion) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_TRUE(ventana.windowTitle().startsWith(QStringLiteral("Trovanel Ver ")));
    EXPECT_GT(ventana.windowTitle().size(), QStringLiteral("Trovanel Ver ").size());
}

TEST_F(MdiPrincipalConfigurado, laBarraDeMenusTieneSusEntradasEnOrden) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(
        entradas(ventana.menuBar()),
        (std::vector<std::string>{"&Plantillas [mnuEstructuras]", "&Cabeceras [mnuCabeceras]",
                                  "&Generar CSB <mnuFiltrar>", "&Ayuda [mnuAyuda]", "&Salir <mnuSalir>"}));
    EXPECT_TRUE(disponible(&ventana, "mnuFiltrar"));
    EXPECT_TRUE(disponible(&ventana, "mnuSalir"));
}

TEST_F(MdiPrincipalConfigurado, elMenuPlantillasOfreceTodasSusEntradas) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(entradas(hijo<QMenu>(&ventana, "mnuEstructuras")),
              (std::vector<std::string>{"&Mantenimiento Plantillas <opcEstructuras>",
                                        "Plantillas Microsoft [mnuMicrosoft]", "-",
                                        "&Exportar Plantilla <opcExpEst>", "&Importar Plantilla <opcImpEst>",
                                        "-", "Multifacturas <opcMultifacturas>"}));
    EXPECT_EQ(entradas(hijo<QMenu>(&ventana, "mnuMicrosoft")),
              (std::vector<std::string>{"Plantillas Excel <opcExcel>", "Plantillas Access <opcAccess>"}));
    ASSERT_NE(hijo<QAction>(&ventana, "raya"), nullptr);
    EXPECT_TRUE(hijo<QAction>(&ventana, "raya")->isSeparator());
    ASSERT_NE(hijo<QAction>(&ventana, "r"), nullptr);
    EXPECT_TRUE(hijo<QAction>(&ventana, "r")->isSeparator());
    for (const char* nombre :
         {"opcEstructuras", "opcExcel", "opcAccess", "opcExpEst", "opcImpEst", "opcMultifacturas"}) {
        EXPECT_TRUE(disponible(&ventana, nombre)) << nombre;
    }
}

TEST_F(MdiPrincipalConfigurado, elMenuCabecerasOfreceTodasSusEntradas) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(entradas(hijo<QMenu>(&ventana, "mnuCabeceras")),
              (std::vector<std::string>{"&Descarga Fichero Cuentas <opcDesFichCtas>",
                                        "&Importar Fichero Cuentas <mnuImpFichCue>",
                                        "&Mantenimiento de Cuentas [mnuCuentas]"}));
    EXPECT_EQ(entradas(hijo<QMenu>(&ventana, "mnuCuentas")),
              (std::vector<std::string>{"&Cobros <opcManCobros>", "&Pagos <opcManPagos>"}));
    for (const char* nombre : {"opcDesFichCtas", "mnuImpFichCue", "opcManCobros", "opcManPagos"}) {
        EXPECT_TRUE(disponible(&ventana, nombre)) << nombre;
    }
}

TEST_F(MdiPrincipalConfigurado, elMenuAyudaOfreceElManualYAcercaDe) {
    mdiPrincipal ventana(entorno.contexto());
    EXPECT_EQ(entradas(hijo<QMenu>(&ventana, "mnuAyuda")),
              (std::vector<std::string>{"Manual <opcManual>", "Acerca de ... <opcAcercaDe>"}));
    EXPECT_TRUE(disponible(&ventana, "opcManual"));
    EXPECT_TRUE(disponible(&ventana, "opcAcercaDe"));
}

struct CasoConfiguracion {
    const char* contenido;
    bool administrador;
    bool caracteres;
};

class ConfiguracionAlCargar : public MdiPrincipal, public ::testing::WithParamInterface<CasoConfiguracion> {};

TEST_P(ConfiguracionAlCargar, lasPalabrasDeConfigIniFijanLosIndicadores) {
    escribirConfiguracion(GetParam().contenido);
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

TEST_F(MdiPrincipalConfigurado, manualAbreElManualInstaladoConLaAplicacionDelEscritorio) {
    pruebas::escribirFichero(entorno.carpeta / "manual.html", "<html></html>");
    mdiPrincipal ventana(entorno.contexto(), nullptr, entorno.carpeta / "manual.html");
    hijo<QAction>(&ventana, "opcManual")->trigger();
    EXPECT_EQ(entorno.abridor.abiertos,
              (std::vector<std::string>{(entorno.carpeta / "manual.html").string()}));
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(MdiPrincipalConfigurado, manualQueNoEstaDiceQueFicheroFalta) {
    mdiPrincipal ventana(entorno.contexto(), nullptr, entorno.carpeta / "manual.html");
    hijo<QAction>(&ventana, "opcManual")->trigger();
    EXPECT_TRUE(entorno.abridor.abiertos.empty());
    EXPECT_EQ(entorno.avisos.mensajes,
              (std::vector<Mensaje>{{"critico", "No se encuentra el manual del programa: " +
                                                    (entorno.carpeta / "manual.html").string()}}));
}

TEST_F(MdiPrincipalConfigurado, manualSinAplicacionQueLoAbraAvisa) {
    entorno.abridor.resultado = false;
    pruebas::escribirFichero(entorno.carpeta / "manual.html", "<html></html>");
    mdiPrincipal ventana(entorno.contexto(), nullptr, entorno.carpeta / "manual.html");
    hijo<QAction>(&ventana, "opcManual")->trigger();
    EXPECT_EQ(
        entorno.avisos.mensajes,
        (std::vector<Mensaje>{{"simple", "No se encuentra la aplicación para abrir el fichero de ayuda "}}));
}

TEST_F(MdiPrincipalConfigurado, descargaFicheroCuentasAbreLaPaginaDelBanco) {
    mdiPrincipal ventana(entorno.contexto());
    hijo<QAction>(&ventana, "opcDesFichCtas")->trigger();
    ASSERT_EQ(entorno.abridor.abiertos.size(), 1u);
    EXPECT_EQ(entorno.abridor.abiertos[0].rfind("http", 0), 0u);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(MdiPrincipalConfigurado, descargaFicheroCuentasSinNavegadorAvisa) {
    entorno.abridor.resultado = false;
    mdiPrincipal ventana(entorno.contexto());
    hijo<QAction>(&ventana, "opcDesFichCtas")->trigger();
    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].tipo, "critico");
    EXPECT_NE(entorno.avisos.mensajes[0].texto.find(entorno.abridor.abiertos.at(0)), std::string::npos);
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
    auto* cerrar = hijo<QPushButton>(acercaDe, "cmdAceptar");
    ASSERT_NE(cerrar, nullptr);
    EXPECT_EQ(cerrar->text(), QStringLiteral("&Cerrar"));

    QTest::mouseClick(cerrar, Qt::LeftButton);
    EXPECT_FALSE(acercaDe->isVisible());

    hijo<QAction>(&ventana, "opcAcercaDe")->trigger();
    EXPECT_EQ(ventana.findChildren<frmAcercade*>().size(), 1);
    EXPECT_TRUE(acercaDe->isVisible());
}

TEST_F(MdiPrincipalConfigurado, generarCsbMuestraElDialogoDeConversionModalYCerrarloLoDescarga) {
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();
    std::vector<QString> modales;
    const auto cerrarElModal = [&modales] {
        QWidget* modal = QApplication::activeModalWidget();
        modales.push_back(modal != nullptr ? modal->objectName() : QString());
        if (auto* dialogo = qobject_cast<QDialog*>(modal)) {
            dialogo->reject();
        }
    };
    QTimer::singleShot(0, &ventana, cerrarElModal);
    hijo<QAction>(&ventana, "mnuFiltrar")->trigger();
    QTimer::singleShot(0, &ventana, cerrarElModal);
    hijo<QAction>(&ventana, "mnuFiltrar")->trigger();

    EXPECT_EQ(modales, (std::vector<QString>{QStringLiteral("frmEntrada"), QStringLiteral("frmEntrada")}));
    EXPECT_TRUE(ventana.findChildren<frmEntrada*>().isEmpty());
}

TEST_F(MdiPrincipalConfigurado, lasEntradasDeMantenimientoDeCuentasAbrenSusVentanasModales) {
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();
    std::vector<QString> modales;
    for (const char* opcion : {"opcManCobros", "opcManPagos", "opcManCobros"}) {
        QTimer::singleShot(0, &ventana, [&modales] {
            QWidget* modal = QApplication::activeModalWidget();
            modales.push_back(modal != nullptr ? modal->objectName() : QString());
            if (auto* cerrar = modal != nullptr
                                   ? modal->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))
                                   : nullptr) {
                QTest::mouseClick(cerrar, Qt::LeftButton);
            }
        });
        hijo<QAction>(&ventana, opcion)->trigger();
    }
    EXPECT_EQ(modales, (std::vector<QString>{QStringLiteral("frmNifSuf"), QStringLiteral("frmNifSufPagos"),
                                             QStringLiteral("frmNifSuf")}));
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(MdiPrincipalConfigurado, salirCierraLaVentanaYBorraLaCopiaDelDia) {
    const std::filesystem::path copia = entorno.carpeta / "6122026.Copy";
    std::ofstream(copia) << "copia";
    entorno.configuracion.gRutaCopiaBD = copia;
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();

    hijo<QAction>(&ventana, "mnuSalir")->trigger();

    EXPECT_FALSE(ventana.isVisible());
    EXPECT_FALSE(std::filesystem::exists(copia));
}

TEST_F(MdiPrincipalConfigurado, cerrarLaVentanaBorraLaCopiaDelDia) {
    const std::filesystem::path copia = entorno.carpeta / "6122026.Copy";
    std::ofstream(copia) << "copia";
    entorno.configuracion.gRutaCopiaBD = copia;
    mdiPrincipal ventana(entorno.contexto());
    ventana.show();

    EXPECT_TRUE(ventana.close());

    EXPECT_FALSE(std::filesystem::exists(copia));
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

} // namespace
} // namespace trovanel::pruebas
