#include "importacion_cuentas.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "fichero_entrada.hpp"
#include "limites.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace trovanel {
namespace {

struct CasoImportacion {
    const char* nombre;
    std::vector<const char*> ficheros; // imported one after the other, from tests/data/cuentas/
    const char* esperado;              // the rows added beyond the example party, by table
    const char* error = "";            // of the last import; "ErrorBaseDatos" for a failure of the database
    const char* preparacion = "";      // SQL run on the database first
    const char* motivo = "";           // the end of the last import's message, after its path
};

// Rows beyond the example party of a new database, as the expected files write them.
std::string filasAnadidas(BaseDatos& bd) {
    auto filas = bd.preparar(
        "SELECT 1, id_presentador, 'presentadores|' || id_presentador || '|' || tipo || '|' || csb || '|' || "
        "nifpre || '|' || nompre || '|' || sufpre || '|' || cuenta FROM presentadores WHERE id_presentador > "
        "1 "
        "UNION ALL SELECT 2, id_emi, 'emisores|' || id_emi || '|' || id_presentador || '|' || nifemi || '|' "
        "|| "
        "sufemi || '|' || nomemi || '|' || cuenta FROM emisores WHERE id_emi > 1 "
        "UNION ALL SELECT 3, rowid, 'usuarios|' || usuario || '|' || tipo || '|' || id_presentador "
        "FROM usuarios WHERE rowid > 1 ORDER BY 1, 2");
    std::string texto;
    while (filas.siguiente()) {
        texto += filas.texto(2) + "\n";
    }
    return texto;
}

class ImportacionCuentas : public testing::TestWithParam<CasoImportacion> {};

TEST_P(ImportacionCuentas, anadeLasPartesEmisoresYEnlacesQueFaltanSinTocarElFichero) {
    const CasoImportacion& caso = GetParam();
    pruebas::CarpetaTemporal carpeta;
    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    BaseDatos bd = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
    bd.ejecutarScript(caso.preparacion);
    const std::filesystem::path datos = pruebas::datosPrueba() / "cuentas";
    std::string error;
    for (const char* fichero : caso.ficheros) {
        const std::filesystem::path copia = carpeta / fichero;
        if (std::filesystem::exists(datos / fichero) && !std::filesystem::exists(copia)) {
            std::filesystem::copy_file(datos / fichero, copia);
        }
        try {
            importarFicheroCuentas(bd, copia);
            error.clear();
        } catch (const ErrorBaseDatos&) {
            error = "ErrorBaseDatos";
        } catch (const ErrorTrovanel& e) {
            error = e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(copia.string() + ".part")) << "nothing is left beside the input";
        if (std::filesystem::exists(copia)) {
            EXPECT_EQ(pruebas::leerFichero(copia), pruebas::leerFichero(datos / fichero));
        }
    }
    // The message's first line; the second names the file and the reason.
    EXPECT_EQ(error.substr(0, error.find("\r\n")), caso.error);
    EXPECT_TRUE(std::string_view(error).ends_with(caso.motivo)) << error;
    EXPECT_EQ(filasAnadidas(bd), pruebas::leerFichero(datos / caso.esperado));
}

const char* const kRechazaOrdenanteZOP = "CREATE TEMP TRIGGER rechazo BEFORE INSERT ON usuarios "
                                         "WHEN NEW.tipo = 'ZOP' BEGIN SELECT RAISE(ABORT, 'no'); END";

INSTANTIATE_TEST_SUITE_P(
    Cuentas, ImportacionCuentas,
    testing::Values(
        CasoImportacion{"finalesCRLF", {"cuentas_crlf.txt"}, "esperado_cuentas.txt"},
        CasoImportacion{"finalesLF", {"cuentas_lf.txt"}, "esperado_cuentas.txt"},
        CasoImportacion{"dosVecesNoAnadeNada",
                        {"cuentas_crlf.txt", "cuentas_lf.txt", "cuentas_crlf.txt"},
                        "esperado_cuentas.txt"},
        CasoImportacion{"primeraLineaLargaEnCRLF", {"primera_larga_crlf.txt"}, "esperado_dos.txt"},
        CasoImportacion{"ultimoRegistroLargoSinLF", {"sin_final_lf.txt"}, "esperado_dos.txt"},
        CasoImportacion{"ultimoRegistroCortoSinLFSePierde", {"sin_final_corto_lf.txt"}, "esperado_uno.txt"},
        CasoImportacion{"vacio", {"vacio.txt"}, "esperado_nada.txt", kMsgCuentasVacio},
        CasoImportacion{"inexistente", {"no_existe.txt"}, "esperado_nada.txt", kMsgNoSeAbreCuentas},
        CasoImportacion{"lineaRechazadaNoAnadeNadaYLasDemasSiguen",
                        {"primera_larga_crlf.txt"},
                        "esperado_uno.txt",
                        "",
                        kRechazaOrdenanteZOP},
        // A form feed in an issuer's name on line 10, a NUL in a presenter's name on line 11.
        CasoImportacion{"lineaConCaracterDeControlNoAnadeNada",
                        {"control_crlf.txt"},
                        "esperado_nada.txt",
                        kMsgNoSeAbreCuentas,
                        "",
                        ": la línea 10 tiene un carácter de control"},
        CasoImportacion{"fallaLaBaseDeDatosYNoQuedaNada",
                        {"cuentas_crlf.txt"},
                        "esperado_nada.txt",
                        "ErrorBaseDatos",
                        "PRAGMA query_only = ON"}),
    [](const testing::TestParamInfo<CasoImportacion>& caso) { return std::string(caso.param.nombre); });

// A line past the cap, after good ones, stops the import naming it: nothing of the file is added.
TEST(ImportacionCuentasTope, unaLineaMasLargaQueElTopeNoAnadeNada) {
    pruebas::CarpetaTemporal carpeta;
    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    BaseDatos bd = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
    const std::filesystem::path datos = pruebas::datosPrueba() / "cuentas";
    const std::string buenas = pruebas::leerFichero(datos / "cuentas_crlf.txt");
    pruebas::escribirFichero(carpeta / "cuentas.txt", buenas + std::string(kMaxLinea + 1, ' ') + "\r\n");
    const auto lineas = std::count(buenas.begin(), buenas.end(), '\n');
    try {
        importarFicheroCuentas(bd, carpeta / "cuentas.txt");
        ADD_FAILURE() << "no se ha rechazado";
    } catch (const ErrorTrovanel& e) {
        EXPECT_EQ(e.what(),
                  mensajeEntrada(kMsgNoSeAbreCuentas, carpeta / "cuentas.txt",
                                 "la línea " + std::to_string(lineas + 1) + " tiene más de 1048576 bytes"));
    }
    EXPECT_EQ(filasAnadidas(bd), pruebas::leerFichero(datos / "esperado_nada.txt"));
}

} // namespace
} // namespace trovanel
