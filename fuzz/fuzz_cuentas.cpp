// The bank's accounts file: its records read with either kind of line end, each line taken apart by its
// fixed positions, and the whole file imported into a program database. The same file imported again
// must add nothing, and every stored account must keep its 20 characters.

#include "soporte_fuzz.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "importacion_cuentas.hpp"

#include <cstddef>
#include <cstdint>

namespace {

using namespace trovanel;

void comprobar(bool condicion) {
    if (!condicion) {
        __builtin_trap();
    }
}

struct Contexto {
    Contexto() : baseDatos(abrir()) {}
    static BaseDatos abrir() {
        const auto ruta = fuzz::carpetaProceso() / "Estructuras.db";
        crearBaseDatosPrograma(ruta);
        return BaseDatos::abrir(ruta, BaseDatos::Modo::Exclusiva);
    }
    BaseDatos baseDatos;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    static Contexto contexto;
    const auto ruta = fuzz::carpetaProceso().escribir("cuentas.txt", datos, tamano);

    LectorFicheroCuentas lector(ruta);
    std::string registro;
    std::size_t leidos = 0;
    while (lector.leer(registro)) {
        leidos += registro.size();
        const LineaCuentas linea = leerLineaCuentas(registro);
        comprobar(linea.cuenta.size() == 20 && linea.cuentaEmisor.size() == 20);
    }
    comprobar(leidos <= tamano);

    BaseDatos& bd = contexto.baseDatos;
    try {
        importarFicheroCuentas(bd, ruta);
        const ResultadoImportacion otra = importarFicheroCuentas(bd, ruta);
        comprobar(otra.presentadores == 0 && otra.emisores == 0 && otra.usuarios == 0);
    } catch (const ErrorBaseDatos&) {
        __builtin_trap();
    } catch (const ErrorTrovanel&) {
        // An empty file.
    }
    // Read back in full: SQL's length() stops at a NUL.
    auto cuentas = bd.preparar("SELECT cuenta FROM presentadores UNION ALL SELECT cuenta FROM emisores");
    while (cuentas.siguiente()) {
        comprobar(cuentas.texto(0).size() == 20);
    }
    bd.ejecutarScript("DELETE FROM usuarios WHERE rowid > 1; DELETE FROM emisores WHERE id_emi > 1; "
                      "DELETE FROM presentadores WHERE id_presentador > 1");
    return 0;
}
