// Reads every cell of a generated workbook of 10 columns (numbers, dates and texts, as a list of
// receipts would hold them) and prints the rows per second and the peak resident memory.
//   bench_xlsx [rows]   (200,000 by default)
// The workbook is written by a child process, so the memory figure is the reader's alone.
#include "error.hpp"
#include "libro_excel.hpp"
#include "medida.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace trovanel;

namespace {

// UTF-8, as libxlsxwriter takes it.
constexpr const char8_t* kPoblaciones[] = {u8"MADRID",   u8"BARCELONA", u8"SEVILLA",  u8"VALENCIA",
                                           u8"ZARAGOZA", u8"BILBAO",    u8"A CORUÑA", u8"MÁLAGA"};

// Shared strings as a spreadsheet program keeps them: unique names and references, repeated towns and
// concepts.
bool generar(const std::filesystem::path& ruta, long filas) {
    lxw_workbook* libro = workbook_new(ruta.c_str());
    if (!libro) {
        return false;
    }
    lxw_worksheet* hoja = workbook_add_worksheet(libro, "Recibos");
    lxw_format* fecha = workbook_add_format(libro);
    format_set_num_format(fecha, "dd/mm/yyyy");
    lxw_format* importe = workbook_add_format(libro);
    format_set_num_format(importe, "#,##0.00");
    for (long i = 0; i < filas; ++i) {
        const auto f = static_cast<lxw_row_t>(i);
        const std::string n = std::to_string(i + 1);
        worksheet_write_number(hoja, f, 0, static_cast<double>(i + 1), nullptr);
        worksheet_write_string(hoja, f, 1, ("TITULAR " + n).c_str(), nullptr);
        worksheet_write_number(hoja, f, 2, 1 + (i % 9999) / 100.0, importe);
        worksheet_write_number(hoja, f, 3, 45000 + i % 365, fecha);
        worksheet_write_string(hoja, f, 4, ("CONCEPTO " + std::to_string(i % 1000)).c_str(), nullptr);
        worksheet_write_string(hoja, f, 5, ("2100" + std::to_string(100000000000000LL + i)).c_str(), nullptr);
        worksheet_write_number(hoja, f, 6, static_cast<double>(i % 28 + 1), nullptr);
        worksheet_write_string(hoja, f, 7, reinterpret_cast<const char*>(kPoblaciones[i % 8]), nullptr);
        worksheet_write_number(hoja, f, 8, (i % 1000) * 0.1, nullptr);
        worksheet_write_string(hoja, f, 9, ("REF-" + n).c_str(), nullptr);
    }
    return workbook_close(libro) == LXW_NO_ERROR;
}

} // namespace

int main(int argc, char** argv) {
    const long filas = argc > 1 ? std::atol(argv[1]) : 200'000;
    if (filas < 1 || filas > 1'048'576) {
        std::fprintf(stderr, "filas: de 1 a 1048576\n");
        return 2;
    }
    const auto carpeta =
        std::filesystem::temp_directory_path() / ("trovanel-bench-xlsx-" + std::to_string(::getpid()));
    std::filesystem::create_directories(carpeta);
    const auto ruta = carpeta / "recibos.xlsx";

    const pid_t hijo = ::fork();
    if (hijo == 0) {
        ::_exit(generar(ruta, filas) ? 0 : 1);
    }
    int estado = 0;
    if (hijo < 0 || ::waitpid(hijo, &estado, 0) != hijo || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
        std::fprintf(stderr, "no se pudo generar el libro\n");
        std::filesystem::remove_all(carpeta);
        return 1;
    }
    const long memoriaAntes = bench::memoriaMaximaKiB();

    long leidas = 0;
    long celdas = 0;
    std::size_t bytes = 0;
    const auto inicio = std::chrono::steady_clock::now();
    try {
        auto libro = abrirLibroXlsx(ruta);
        auto cursor = libro->abrirHoja("Recibos");
        FilaHoja fila;
        while (cursor->siguiente(fila)) {
            ++leidas;
            for (const auto& celda : fila.celdas) {
                celdas += celda ? 1 : 0;
                bytes += celda ? celda->size() : 0;
            }
        }
    } catch (const ErrorTrovanel& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    std::printf("filas: %ld, celdas: %ld, texto: %zu bytes\n", leidas, celdas, bytes);
    std::printf("libro: %ju bytes\n", static_cast<std::uintmax_t>(std::filesystem::file_size(ruta)));
    std::printf("segundos: %.3f\n", segundos);
    std::printf("filas por segundo: %.0f\n", static_cast<double>(leidas) / segundos);
    std::printf("memoria maxima: %ld KiB (antes de leer: %ld KiB)\n", bench::memoriaMaximaKiB(),
                memoriaAntes);

    if (std::getenv("TROVANEL_BENCH_CONSERVAR") == nullptr) {
        std::filesystem::remove_all(carpeta);
    }
    return leidas == filas && celdas == filas * 10 ? 0 : 1;
}
