#pragma once

#include "fichero_entrada.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// A column's value as text (Windows-1252, Spanish settings); nothing when it cannot be read (Null,
// binary). esComaFlotante tells a Single or Double column, whose amounts some readers format apart, and
// numero holds its value then.
struct ValorColumna {
    std::optional<std::string> texto;
    bool esComaFlotante = false;
    // A Currency column: its text is exact, with up to four decimals.
    bool esMoneda = false;
    // Any number column (integer, decimal, floating point, currency), whose text has lost any leading
    // zeros.
    bool esNumero = false;
    double numero = 0;
};

// Walks a table's rows in stored order.
class CursorTabla {
public:
    virtual ~CursorTabla() = default;
    virtual const std::vector<std::string>& columnas() const = 0;
    // The next row, one value per column; false at the end. Throws ErrorTrovanel when damaged.
    virtual bool siguiente(std::vector<ValorColumna>& valores) = 0;
    // Index of a column by name, matched without regard to case; -1 when there is none.
    int columna(std::string_view nombre) const;
};

// The kinds of database file read as an input, each by its own library.
enum class ClaseBaseDatos : std::uint8_t { Ninguna, Access, Sqlite };
struct ExtensionBaseDatos {
    std::string_view extension; // lower case
    ClaseBaseDatos clase;
};
// Every database file the program reads, by its extension: the readers open by it, and the file
// dialogs offer it, so that a file the dialog shows is one a reader opens.
inline constexpr ExtensionBaseDatos kExtensionesBaseDatos[] = {{".mdb", ClaseBaseDatos::Access},
                                                               {".accdb", ClaseBaseDatos::Access},
                                                               {".db", ClaseBaseDatos::Sqlite},
                                                               {".sqlite", ClaseBaseDatos::Sqlite},
                                                               {".sqlite3", ClaseBaseDatos::Sqlite}};
// The kind of a file by its extension (".mdb"), in any case; Ninguna for any other.
ClaseBaseDatos claseBaseDatos(std::string_view extension);
// A file dialog's filter of every database file: the description, then each extension's pattern in
// brackets ("Base Datos Access (*.mdb *.accdb ...)").
std::string filtroBasesDatos(std::string_view descripcion);

// An input database opened read-only: Access or SQLite, as kExtensionesBaseDatos gives its kind.
class OrigenAccess {
public:
    virtual ~OrigenAccess() = default;
    // The user tables in the file's order: never system, hidden or linked tables.
    virtual std::vector<std::string> tablas() = 0;
    virtual std::vector<std::string> columnas(std::string_view tabla) = 0;
    // Throws ErrorTrovanel when there is no such table or it cannot be read.
    virtual std::unique_ptr<CursorTabla> abrirTabla(std::string_view tabla) = 0;

    // The file as it was opened.
    std::optional<FicheroLeido> ficheroLeido;
};

// Opens by extension. Throws ErrorTrovanel with the description of the failure.
std::unique_ptr<OrigenAccess> abrirOrigenAccess(const std::filesystem::path& ruta);

std::unique_ptr<OrigenAccess> abrirOrigenMdb(const std::filesystem::path& ruta);
std::unique_ptr<OrigenAccess> abrirOrigenSqlite(const std::filesystem::path& ruta);

} // namespace trovanel
