#pragma once

#include "error.hpp"
#include "fichero_entrada.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The text of a cell as the readers validate it (Windows-1252, Spanish settings); nothing when the
// cell cannot be read (an error value). An empty or missing cell is "".
using ValorCelda = std::optional<std::string>;

// One row of a sheet: element c is column c + 1 (A = 0); cells past the end are empty.
struct FilaHoja {
    std::int64_t numero = 0;
    std::vector<ValorCelda> celdas;
    // Whether cell c held a number, whose text has lost any leading zeros the sheet showed; as long as
    // celdas.
    std::vector<bool> numericas;
};

// Walks a sheet's rows that hold any cell, in ascending row order, streaming.
class CursorHoja {
public:
    virtual ~CursorHoja() = default;
    // The next row with cells; false at the end. Throws ErrorTrovanel when the sheet turns out damaged.
    virtual bool siguiente(FilaHoja& fila) = 0;
};

// An input workbook (.xlsx or .xls), opened read-only.
class LibroExcel {
public:
    virtual ~LibroExcel() = default;

    // Sheet names in the workbook's order.
    virtual std::vector<std::string> hojas() const = 0;
    // How many columns and rows a sheet of this format can hold (16384 x 1048576 for .xlsx, 256 x 65536
    // for .xls).
    virtual int columnasMaximas() const { return 16384; }
    virtual std::int64_t filasMaximas() const { return 1048576; }
    // Rows of a sheet; throws ErrorTrovanel when there is no such sheet or it cannot be read.
    virtual std::unique_ptr<CursorHoja> abrirHoja(std::string_view hoja) = 0;

    // The highest row holding any cell (0 for an empty sheet), whatever the file's dimension claims.
    std::int64_t ultimaFila(std::string_view hoja);
    // One cell by row number and column letters ("A" ... "XFD"; trimmed, any case); nothing when the
    // address lies outside a sheet of the format or the cell cannot be read. Walks the sheet: for
    // lookups, not for whole reads.
    ValorCelda celda(std::string_view hoja, std::int64_t fila, std::string_view columna);

    // The file as abrirLibroExcel opened it (none for a workbook opened otherwise).
    std::optional<FicheroLeido> ficheroLeido;
};

// The sheet a name picks among the workbook's (each with a member nombre): the one of that exact
// name, else the first whose name differs only in case (Windows-1252 letters), as the spreadsheet
// program tells sheets apart. Null when none.
bool mismoNombreHoja(std::string_view a, std::string_view b);
template <typename Hoja> const Hoja* buscarHoja(const std::vector<Hoja>& hojas, std::string_view nombre) {
    const Hoja* parecida = nullptr;
    for (const Hoja& h : hojas) {
        if (h.nombre == nombre) {
            return &h;
        }
        if (parecida == nullptr && mismoNombreHoja(h.nombre, nombre)) {
            parecida = &h;
        }
    }
    return parecida;
}

// Column number of column letters ("A" = 1, "AB" = 28), trimmed, any case; nothing when they name no
// column up to maximo (16384 for .xlsx, 256 for .xls).
std::optional<int> numeroColumna(std::string_view letras, int maximo = 16384);

// Opens a workbook by its content (Office Open XML or BIFF). Throws ErrorTrovanel with
// "No se puede abrir el fichero de entrada" when it is missing, damaged or no workbook, followed by the
// path and the reason when it is no regular file.
std::unique_ptr<LibroExcel> abrirLibroExcel(const std::filesystem::path& ruta);

// The two formats, for the dispatcher above and for tests.
std::unique_ptr<LibroExcel> abrirLibroXlsx(const std::filesystem::path& ruta);
std::unique_ptr<LibroExcel> abrirLibroXls(const std::filesystem::path& ruta);

// For the readers, inside a catch: rethrows the exception being handled, and anything but ErrorTrovanel
// (memory running out on a file too big for this machine) as ErrorTrovanel(kNoSeAbreEntrada), so a
// workbook that cannot be read always ends in the same message.
[[noreturn]] void relanzarComoDanado();
// The same for the reader of the workbook at ruta, which also gives the path and the reason of a refusal
// that has one (ErrorTablaTextosLlena).
[[noreturn]] void relanzarComoDanado(const std::filesystem::path& ruta);

// A damaged, hostile or unreadable workbook, whatever its format: throws ErrorTrovanel(kNoSeAbreEntrada).
[[noreturn]] void danado();

// A cell of that row holds more than kMaxValor bytes, as no real sheet does: the read stops there, as it
// does in a table. Throws ErrorTrovanel with "No se puede abrir el fichero de entrada", the path and the
// row.
[[noreturn]] void valorDemasiadoLargo(const std::filesystem::path& ruta, std::int64_t fila);

} // namespace trovanel
