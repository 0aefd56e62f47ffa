#include "arranque.hpp"
#include "avisos.hpp"
#include "avisos_qt.hpp"
#include "carpeta_programa.hpp"
#include "codificacion.hpp"
#include "configuracion.hpp"
#include "contexto_ventanas.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "entrada_excel_access.hpp"
#include "icono_programa.hpp"
#include "mdiPrincipal.hpp"
#include "modo_lote.hpp"
#include "programa.hpp"
#include "servicios_qt.hpp"
#include "traducciones.hpp"

#include <QApplication>

#include <cstdio>
#include <string_view>

using namespace trovanel;

int main(int argc, char** argv) {
    // Answered before the program folder or the database is touched, so they work while a window has the
    // database open.
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "--version")) {
        const std::string texto = std::string_view(argv[1]) == "--version"
                                      ? std::string("trovanel " TROVANEL_VERSION "\n")
                                      : ayudaModoLote(TROVANEL_VERSION, carpetaPrograma());
        std::fputs(cp1252AUtf8(texto).c_str(), stdout);
        return 0;
    }
    LibroEntrada libro;
    Configuracion configuracion;
    configuracion.gIdioma = idiomaUsuario();
    const std::filesystem::path carpeta = carpetaPrograma();
    const std::vector<std::string> parametros = LeerParametros(unirLineaComandos(argc, argv), 10);
    // Any argument at all, even blanks, means batch mode: it then says what is missing. Separators alone
    // (commas, TABs) are no argument.
    const bool modoLote = parametros.size() > 1;

    RelojSistema reloj;
    RegistroConversores registro;
    registrarConversores(registro);

    if (modoLote || !hayPantalla()) {
        // Without a window every message goes to standard error. The database comes first, as at any
        // start, so a second instance is told that the first holds it.
        AvisosConsola avisos;
        if (!prepararCarpetaPrograma(carpeta, avisos)) {
            return kSalidaSinBaseDatos;
        }
        std::optional<BaseDatos> baseDatos = abrirBaseDatosAlArrancar(configuracion, avisos, reloj, carpeta);
        if (!baseDatos) {
            return kSalidaSinBaseDatos;
        }
        if (!modoLote) {
            avisos.critico(kSinPantalla);
            return kSalidaRechazada;
        }
        Entorno entorno{*baseDatos, avisos, reloj, carpeta};
        entorno.configuracion = &configuracion;
        return ejecutarModoLote(entorno, registro, parametros);
    }

    QApplication aplicacion(argc, argv);
    presentarAplicacion();
    cargarTraduccionesQt(aplicacion);
    AvisosQt avisos;
    if (!prepararCarpetaPrograma(carpeta, avisos)) {
        return kSalidaSinBaseDatos;
    }
    std::optional<BaseDatos> baseDatos = abrirBaseDatosAlArrancar(configuracion, avisos, reloj, carpeta);
    if (!baseDatos) {
        return kSalidaSinBaseDatos;
    }
    SelectorFicherosQt selector;
    AbridorExternoQt abridor;
    int salida = 0;
    {
        mdiPrincipal ventana(ContextoVentanas{libro, configuracion, *baseDatos, avisos, reloj, carpeta,
                                              registro, selector, abridor});
        avisos.setPadre(&ventana);
        selector.setPadre(&ventana);
        ventana.show();
        salida = aplicacion.exec();
        avisos.setPadre(nullptr);
        selector.setPadre(nullptr);
    }
    // The window deleted the day's copy when it closed; the database goes last.
    baseDatos.reset();
    return salida;
}
