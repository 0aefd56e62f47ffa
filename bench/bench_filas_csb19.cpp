// Converts a generated norm 19 sheet (.xlsx) or table (SQLite) of one receipt per row through the real
// driver and prints the receipts per second and the peak resident memory.
//   bench_filas_csb19 xlsx [receipts]     (200,000 by default)
//   bench_filas_csb19 sqlite [receipts]   (1,000,000 by default)
#include "base_datos.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace trovanel;

namespace {

constexpr int kColumnas = 8;

// The cells of one receipt, columns A to H; every tenth has a zero amount and goes to the log.
std::vector<std::string> fila(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return {"R" + numero, "TITULAR " + numero, "8642", "0101", "16", "3000000101", importe, "28013"};
}

std::filesystem::path escribirXlsx(const std::filesystem::path& carpeta, long cantidad) {
    const auto ruta = carpeta / "recibos.xlsx";
    lxw_workbook_options opciones{};
    opciones.constant_memory = LXW_TRUE;
    lxw_workbook* libro = workbook_new_opt(ruta.c_str(), &opciones);
    lxw_worksheet* hoja = workbook_add_worksheet(libro, "Recibos");
    for (long i = 1; i <= cantidad; ++i) {
        const auto celdas = fila(i);
        for (int c = 0; c < kColumnas; ++c) {
            worksheet_write_string(hoja, static_cast<lxw_row_t>(i - 1), static_cast<lxw_col_t>(c),
                                   celdas[static_cast<std::size_t>(c)].c_str(), nullptr);
        }
    }
    if (workbook_close(libro) != LXW_NO_ERROR) {
        throw std::runtime_error("workbook_close");
    }
    return ruta;
}

std::filesystem::path escribirSqlite(const std::filesystem::path& carpeta, long cantidad) {
    const auto ruta = carpeta / "recibos.sqlite";
    sqlite3* db = nullptr;
    sqlite3_open(ruta.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE Recibos (A, B, C, D, E, F, G, H); BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insertar = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Recibos VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &insertar, nullptr);
    for (long i = 1; i <= cantidad; ++i) {
        const auto celdas = fila(i);
        for (int c = 0; c < kColumnas; ++c) {
            const std::string& v = celdas[static_cast<std::size_t>(c)];
            sqlite3_bind_text(insertar, c + 1, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(insertar);
        sqlite3_reset(insertar);
    }
    sqlite3_finalize(insertar);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return ruta;
}

// A template whose fields name the columns; the seeded presenter and issuer.
void preparar(BaseDatos& baseDatos, EstadoEjecucion& estado, ParametrosConversion& parametros, bool hoja) {
    static constexpr const char* kCampos[kColumnas] = {
        "CodigoReferencia", "NombreTitularRecibo", "Entidad", "Oficina", "DC", "Cuenta", "Importe", "CP"};
    baseDatos
        .preparar("INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) "
                  "VALUES (?, 'Recibos en filas', -1, 0)")
        .con(hoja ? "CSB19Ex" : "CSB19Ac")
        .ejecutar();
    const std::int64_t id = baseDatos.ultimoId();
    for (int c = 0; c < kColumnas; ++c) {
        baseDatos
            .preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                      "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                      "VALUES (?, ?, ?, 1, 1, 0, 0, ?, '', 0, 0)")
            .con(id, c, kCampos[c], std::string(1, static_cast<char>('A' + c)))
            .ejecutar();
    }
    estado.gFechaProceso = "05/03/2026";
    estado.gHojaExcel = "Recibos";
    estado.gTablaAccess = "Recibos";
    parametros.idEstructura = id;
    parametros.idPresentador = 1;
    parametros.idEmisor = 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool hoja = argc > 1 && std::string_view(argv[1]) == "xlsx";
    if (argc < 2 || (!hoja && std::string_view(argv[1]) != "sqlite")) {
        std::fprintf(stderr, "Uso: %s xlsx|sqlite [recibos]\n", argv[0]);
        return 2;
    }
    bench::Medicion medicion{"recibos",
                             argc > 2 ? std::atol(argv[2]) : (hoja ? 200'000 : 1'000'000),
                             {},
                             [hoja](BaseDatos& b, EstadoEjecucion& e, ParametrosConversion& p) { preparar(b, e, p, hoja); },
                             GenerarCSB19,
                             hoja ? escribirXlsx : escribirSqlite};
    return bench::medir(medicion);
}
