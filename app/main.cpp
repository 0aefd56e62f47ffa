#include "arranque.hpp"
#include "avisos.hpp"
#include "avisos_qt.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "mdiPrincipal.hpp"
#include "modo_lote.hpp"
#include "programa.hpp"
#include "texto.hpp"

#include <QApplication>

using namespace trovanel;

int main(int argc, char** argv) {
    EstadoEjecucion estado;
    estado.gIdioma = idiomaUsuario();
    const std::filesystem::path carpeta = carpetaPrograma();
    const std::vector<std::string> parametros = LeerParametros(unirLineaComandos(argc, argv), 10);
    const bool modoLote = parametros.size() > 1 && !Trim(parametros[1]).empty();

    RelojSistema reloj;
    RegistroConversores registro;
    registrarConversores(registro);

    if (modoLote) {
        // Batch mode opens no window and needs no display.
        AvisosConsola avisos;
        std::optional<BaseDatos> baseDatos = abrirBaseDatosAlArrancar(estado, avisos, reloj, carpeta);
        if (!baseDatos) {
            return kSalidaSinBaseDatos;
        }
        Entorno entorno{*baseDatos, avisos, reloj, carpeta};
        return ejecutarModoLote(estado, entorno, registro, parametros);
    }

    QApplication aplicacion(argc, argv);
    AvisosQt avisos;
    std::optional<BaseDatos> baseDatos = abrirBaseDatosAlArrancar(estado, avisos, reloj, carpeta);
    if (!baseDatos) {
        return kSalidaSinBaseDatos;
    }
    mdiPrincipal ventana;
    avisos.setPadre(&ventana);
    ventana.show();
    return aplicacion.exec();
}
