// Reads every value of a generated SQLite table through the Access input source and prints the rows
// per second and the peak resident memory.
//   bench_sqlite [rows]   (200,000 by default; ten columns: integers, reals and texts)
#include "error.hpp"
#include "medida.hpp"
#include "origen_access.hpp"

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace trovanel;

namespace {

void comprobar(int codigo, sqlite3* db) {
    if (codigo != SQLITE_OK && codigo != SQLITE_DONE && codigo != SQLITE_ROW) {
        std::fprintf(stderr, "SQLite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void generar(const std::filesystem::path& ruta, long filas) {
    sqlite3* db = nullptr;
    comprobar(sqlite3_open_v2(ruta.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), db);
    comprobar(
        sqlite3_exec(db,
                     "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                     "CREATE TABLE recibos (id INTEGER, nif TEXT, nombre TEXT, cuenta TEXT, importe REAL,"
                     " vencimiento TEXT, referencia INTEGER, concepto TEXT, cantidad INTEGER, tipo REAL);"
                     "BEGIN",
                     nullptr, nullptr, nullptr),
        db);
    sqlite3_stmt* stmt = nullptr;
    comprobar(sqlite3_prepare_v2(db, "INSERT INTO recibos VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &stmt,
                                 nullptr),
              db);
    for (long i = 0; i < filas; ++i) {
        const std::string nif = std::to_string(10000000 + i) + "Z";
        // One name in ten with an accent, stored as UTF-8 like any SQLite text.
        const std::string nombre =
            (i % 10 == 0 ? reinterpret_cast<const char*>(u8"Cliente número ") : "Cliente ") +
            std::to_string(i);
        const std::string cuenta = "2100041812020005" + std::to_string(1000 + i % 9000);
        const std::string concepto = "Cuota mensual de mantenimiento " + std::to_string(i % 12 + 1);
        sqlite3_bind_int64(stmt, 1, i + 1);
        sqlite3_bind_text(stmt, 2, nif.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, nombre.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 4, cuenta.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(stmt, 5, static_cast<double>(i % 100000) / 100.0 + 0.1);
        sqlite3_bind_text(stmt, 6, "2026-12-31", -1, SQLITE_STATIC);
        sqlite3_bind_int64(stmt, 7, 900000000000 + i);
        sqlite3_bind_text(stmt, 8, concepto.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 9, i % 7);
        sqlite3_bind_double(stmt, 10, 0.21);
        comprobar(sqlite3_step(stmt), db);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    comprobar(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close_v2(db);
}

} // namespace

int main(int argc, char** argv) {
    const long filas = argc > 1 ? std::atol(argv[1]) : 200000;
    const auto carpeta =
        std::filesystem::temp_directory_path() / ("bench_sqlite_" + std::to_string(::getpid()));
    std::filesystem::create_directories(carpeta);
    const auto ruta = carpeta / "recibos.sqlite";
    generar(ruta, filas);
    const long memoriaAntes = bench::memoriaMaximaKiB();

    long leidas = 0;
    std::size_t bytes = 0;
    const auto inicio = std::chrono::steady_clock::now();
    try {
        auto origen = abrirOrigenAccess(ruta);
        auto cursor = origen->abrirTabla("recibos");
        std::vector<ValorColumna> valores;
        while (cursor->siguiente(valores)) {
            ++leidas;
            for (const ValorColumna& valor : valores) {
                bytes += valor.texto ? valor.texto->size() : 0;
            }
        }
    } catch (const ErrorTrovanel& e) {
        std::fprintf(stderr, "Error: %s\n", e.what());
        return 1;
    }
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    std::filesystem::remove_all(carpeta);

    std::printf("filas: %ld de 10 columnas (%zu bytes de texto)\n", leidas, bytes);
    std::printf("segundos: %.3f\n", segundos);
    std::printf("filas por segundo: %.0f\n", static_cast<double>(leidas) / segundos);
    std::printf("memoria maxima: %ld KiB (antes de leer: %ld KiB)\n", bench::memoriaMaximaKiB(),
                memoriaAntes);
    return leidas == filas ? 0 : 1;
}
