#include "frmImpFichCue.hpp"
#include "mdiPrincipal.hpp"
#include "programa.hpp"
#include "soporte_ventanas.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace trovanel::pruebas {
namespace {

class FrmImpFichCue : public PruebaVentana {
protected:
    // An accounts file of tests/data/cuentas copied into the program folder, as the dialog answers it.
    std::filesystem::path elegir(const char* fichero) {
        const std::filesystem::path ruta = entorno.carpeta / fichero;
        std::filesystem::copy_file(datosPrueba() / "cuentas" / fichero, ruta);
        entorno.selector.respuestas.push_back(ruta);
        return ruta;
    }
    // Rows of presentadores, emisores and usuarios.
    static std::string filas(BaseDatos& bd) {
        auto consulta = bd.preparar("SELECT (SELECT count(*) FROM presentadores) || ' ' || (SELECT count(*) "
                                    "FROM emisores) || ' ' || (SELECT count(*) FROM usuarios)");
        consulta.siguiente();
        return consulta.texto(0);
    }
};

TEST_F(FrmImpFichCue, desdeSuMenuImportaElFicheroElegidoAvisaYSeCierra) {
    escribirFichero(entorno.carpeta / "config.ini", "");
    mdiPrincipal principal(entorno.contexto());
    principal.show();
    const std::filesystem::path ruta = elegir("cuentas_lf.txt");
    QTimer::singleShot(0, &principal, [&] {
        auto* v = qobject_cast<frmImpFichCue*>(QApplication::activeModalWidget());
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->windowTitle(), QStringLiteral("Importar Fichero de Cuentas"));
        EXPECT_FALSE(hijo<QPushButton>(v, "cmdProcesar")->isEnabled());
        EXPECT_FALSE(hijo<QLabel>(v, "Label1")->isVisible());
        pulsar(v, "Image1");
        EXPECT_EQ(box(v, "tbEntrada")->text(), QString::fromStdString(ruta.string()));
        pulsar(v, "cmdProcesar");
    });
    hijo<QAction>(&principal, "mnuImpFichCue")->trigger();

    EXPECT_EQ(mensajes(), std::vector<std::string>{"informacion: Importación realizada"});
    ASSERT_EQ(entorno.selector.peticiones.size(), 1u);
    EXPECT_EQ(entorno.selector.peticiones[0].titulo, "Abrir fichero a filtrar");
    EXPECT_EQ(entorno.selector.peticiones[0].carpeta, carpetaPersonal());
    EXPECT_EQ(filas(*entorno.baseDatos), "14 4 16");
    EXPECT_TRUE(principal.findChildren<frmImpFichCue*>().isEmpty());
}

struct CasoFallo {
    const char* fichero;
    bool borrado;      // the file goes after being chosen
    bool soloLectura;  // the database refuses every write
    const char* aviso; // the beginning of the message
};

class FalloImportacion : public FrmImpFichCue, public testing::WithParamInterface<CasoFallo> {};

TEST_P(FalloImportacion, avisaComoErrorNoEscribeNadaYLaVentanaSigueAbierta) {
    const CasoFallo& caso = GetParam();
    BaseDatos lectura = copiaSoloLectura();
    frmImpFichCue v(caso.soloLectura ? contextoSobre(lectura) : entorno.contexto());
    v.show();
    const std::filesystem::path ruta = elegir(caso.fichero);
    pulsar(&v, "Image1");
    if (caso.borrado) {
        std::filesystem::remove(ruta);
    }
    pulsar(&v, "cmdProcesar");

    const std::vector<std::string> vistos = mensajes();
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0].rfind(caso.aviso, 0), 0u) << vistos[0];
    EXPECT_TRUE(v.isVisible());
    EXPECT_FALSE(hijo<QLabel>(&v, "Label1")->isVisible());
    EXPECT_EQ(filas(*entorno.baseDatos), "1 1 1");
    EXPECT_EQ(filas(lectura), "1 1 1");
}

INSTANTIATE_TEST_SUITE_P(
    FrmImpFichCue, FalloImportacion,
    testing::Values(CasoFallo{"vacio.txt", false, false,
                              "critico: No se puede abrir el fichero de cuentas, o está vacio"},
                    CasoFallo{"cuentas_crlf.txt", true, false,
                              "critico: No se puede abrir el fichero de cuentas"},
                    CasoFallo{"cuentas_crlf.txt", false, true, "critico: Error: "}));

} // namespace
} // namespace trovanel::pruebas
