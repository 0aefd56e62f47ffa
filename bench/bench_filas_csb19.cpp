// Converts a generated norm 19 sheet (.xlsx) or table (SQLite) of one receipt per row through the real
// driver and prints the receipts per second and the peak resident memory.
//   bench_filas_csb19 xlsx [receipts]     (200,000 by default)
//   bench_filas_csb19 sqlite [receipts]   (1,000,000 by default)
// Access databases cannot be generated here, and the sample ones hold a couple of rows: their table is
// converted many times over, which gives the fixed cost of one conversion (the Access reader runs in a
// forked helper process), next to the same rows copied to an SQLite table and converted in process.
//   bench_filas_csb19 access [conversions] [database [table]]
//       (100 conversions of Table1 of $TROVANEL_DATOS_MUESTRA/access/jet4-test.mdb by default)
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"
#include "origen_access.hpp"
#include "reloj.hpp"

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
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

using Columnas = std::vector<std::pair<const char*, const char*>>; // field, column

// The generated rows' columns A to H.
const Columnas kColumnasGeneradas{{"CodigoReferencia", "A"},
                                  {"NombreTitularRecibo", "B"},
                                  {"Entidad", "C"},
                                  {"Oficina", "D"},
                                  {"DC", "E"},
                                  {"Cuenta", "F"},
                                  {"Importe", "G"},
                                  {"CP", "H"}};
// Table1 of the Access samples: one of its two receipts is written, the other logged. Another table is
// read all the same; its receipts then go to the log.
const Columnas kColumnasTable1{{"CodigoReferencia", "A"},
                               {"NombreTitularRecibo", "B"},
                               {"Entidad", "D"},
                               {"Oficina", "E"},
                               {"DC", "C"},
                               {"Cuenta", "E"},
                               {"Importe", "F"}};

// A template whose fields name the columns; the seeded presenter and issuer.
void preparar(BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros, bool hoja,
              const Columnas& columnas, const std::string& nombre) {
    baseDatos
        .preparar("INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) "
                  "VALUES (?, 'Recibos en filas', -1, 0)")
        .con(hoja ? "CSB19Ex" : "CSB19Ac")
        .ejecutar();
    const std::int64_t id = baseDatos.ultimoId();
    for (std::size_t c = 0; c < columnas.size(); ++c) {
        baseDatos
            .preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                      "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                      "VALUES (?, ?, ?, 1, 1, 0, 0, ?, '', 0, 0)")
            .con(id, static_cast<std::int64_t>(c), columnas[c].first, columnas[c].second)
            .ejecutar();
    }
    parametros.gFechaProceso = "05/03/2026";
    parametros.gHojaExcel = nombre;
    parametros.gTablaAccess = nombre;
    parametros.idEstructura = id;
    parametros.idPresentador = 1;
    parametros.idEmisor = 1;
}

// --- Access

struct Tabla {
    std::vector<std::string> columnas;
    std::vector<std::vector<ValorColumna>> filas;
};

Tabla leerTablaEntera(const std::filesystem::path& ruta, const std::string& nombre) {
    const auto origen = abrirOrigenAccess(ruta);
    const auto cursor = origen->abrirTabla(nombre);
    Tabla tabla{cursor->columnas(), {}};
    std::vector<ValorColumna> valores;
    while (cursor->siguiente(valores)) {
        tabla.filas.push_back(valores);
    }
    return tabla;
}

// The same rows in an SQLite table of that name: texts, and floating-point values as numbers.
std::filesystem::path copiarASqlite(const Tabla& tabla, const std::filesystem::path& ruta,
                                    const std::string& nombre) {
    sqlite3* db = nullptr;
    sqlite3_open(ruta.c_str(), &db);
    std::string crear = "CREATE TABLE \"" + nombre + "\" (";
    std::string insertar = "INSERT INTO \"" + nombre + "\" VALUES (";
    for (std::size_t c = 0; c < tabla.columnas.size(); ++c) {
        crear += (c ? ", \"" : "\"") + tabla.columnas[c] + "\"";
        insertar += c ? ", ?" : "?";
    }
    sqlite3_exec(db, (crear + ")").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* sentencia = nullptr;
    sqlite3_prepare_v2(db, (insertar + ")").c_str(), -1, &sentencia, nullptr);
    for (const auto& fila : tabla.filas) {
        for (std::size_t c = 0; c < fila.size(); ++c) {
            const int i = static_cast<int>(c) + 1;
            if (!fila[c].texto) {
                sqlite3_bind_null(sentencia, i);
            } else if (fila[c].esComaFlotante) {
                sqlite3_bind_double(sentencia, i, fila[c].numero);
            } else {
                sqlite3_bind_text(sentencia, i, fila[c].texto->data(),
                                  static_cast<int>(fila[c].texto->size()), SQLITE_TRANSIENT);
            }
        }
        sqlite3_step(sentencia);
        sqlite3_reset(sentencia);
    }
    sqlite3_finalize(sentencia);
    sqlite3_close(db);
    return ruta;
}

struct Tiempos {
    double total = 0;
    double minimo = 0;
    double mediana = 0;
};

// Converts the input that many times through the real driver; false when a run showed a message.
bool repetir(const std::filesystem::path& carpeta, const std::filesystem::path& entrada,
             const std::string& tabla, long veces, Tiempos& tiempos) {
    bench::EjecucionMedida e(carpeta, entrada, carpeta / "entrada.out", carpeta / "entrada.log");
    preparar(e.baseDatos, e.estado, e.parametros, false, kColumnasTable1, tabla);
    std::vector<double> segundos;
    for (long i = 0; i < veces; ++i) {
        const auto inicio = std::chrono::steady_clock::now();
        GenerarCSB19(e.estado, e.entorno, e.parametros);
        segundos.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
    }
    std::sort(segundos.begin(), segundos.end());
    tiempos.minimo = segundos.front();
    tiempos.mediana = segundos[segundos.size() / 2];
    for (const double s : segundos) {
        tiempos.total += s;
    }
    return e.avisos.mensajes == 0;
}

int medirAccess(long veces, const std::filesystem::path& base, const std::string& tabla) {
    const auto carpeta =
        std::filesystem::temp_directory_path() / ("trovanel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(carpeta);
    // A copy, so that the sample stays as it is.
    const auto copia = carpeta / ("entrada" + base.extension().string());
    std::filesystem::copy_file(base, copia);
    const Tabla leida = leerTablaEntera(copia, tabla);
    const auto sqlite = copiarASqlite(leida, carpeta / "entrada.sqlite", tabla);
    crearBaseDatosPrograma(carpeta / "Estructuras.db");

    Tiempos access;
    Tiempos enProceso;
    const bool sinMensajes =
        repetir(carpeta, copia, tabla, veces, access) && repetir(carpeta, sqlite, tabla, veces, enProceso);
    const auto filas = static_cast<double>(leida.filas.size());
    const auto milisegundos = [veces](const Tiempos& t) {
        return 1000 * t.total / static_cast<double>(veces);
    };

    std::printf("base: %s, tabla %s: %zu filas, %ld conversiones\n", base.c_str(), tabla.c_str(),
                leida.filas.size(), veces);
    std::printf("Access: %.2f ms por conversion (minimo %.2f, mediana %.2f), %.0f recibos por segundo\n",
                milisegundos(access), 1000 * access.minimo, 1000 * access.mediana,
                filas * static_cast<double>(veces) / access.total);
    std::printf("las mismas filas en SQLite: %.2f ms por conversion (minimo %.2f, mediana %.2f)\n",
                milisegundos(enProceso), 1000 * enProceso.minimo, 1000 * enProceso.mediana);
    std::printf("coste del proceso auxiliar de Access: %.2f ms por conversion\n",
                milisegundos(access) - milisegundos(enProceso));
    std::printf("memoria maxima: %ld KiB; del proceso auxiliar: %ld KiB\n", bench::memoriaMaximaKiB(),
                bench::memoriaMaximaKiB(RUSAGE_CHILDREN));

    if (std::getenv("TROVANEL_BENCH_CONSERVAR") == nullptr) {
        std::filesystem::remove_all(carpeta);
    }
    return sinMensajes ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view modo = argc > 1 ? argv[1] : "";
    if (modo == "access") {
        const char* muestras = std::getenv("TROVANEL_DATOS_MUESTRA");
        if (argc < 4 && muestras == nullptr) {
            std::fprintf(stderr, "Uso: %s access [conversiones] [base [tabla]] (o TROVANEL_DATOS_MUESTRA)\n",
                         argv[0]);
            return 2;
        }
        const std::filesystem::path base = argc > 3
                                               ? std::filesystem::path(argv[3])
                                               : std::filesystem::path(muestras) / "access" / "jet4-test.mdb";
        return medirAccess(argc > 2 ? std::max(1L, std::atol(argv[2])) : 100, base,
                           argc > 4 ? argv[4] : "Table1");
    }
    const bool hoja = modo == "xlsx";
    if (!hoja && modo != "sqlite") {
        std::fprintf(stderr, "Uso: %s xlsx|sqlite [recibos] | access [conversiones] [base [tabla]]\n",
                     argv[0]);
        return 2;
    }
    bench::Medicion medicion{"recibos",
                             argc > 2 ? std::atol(argv[2]) : (hoja ? 200'000 : 1'000'000),
                             {},
                             [hoja](BaseDatos& b, EstadoEjecucion& e, ParametrosConversion& p) {
                                 preparar(b, e, p, hoja, kColumnasGeneradas, "Recibos");
                             },
                             GenerarCSB19,
                             hoja ? escribirXlsx : escribirSqlite};
    return bench::medir(medicion);
}
