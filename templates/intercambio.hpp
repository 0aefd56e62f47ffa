#pragma once

#include "error.hpp"
#include "plantilla.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

class Avisos;
class BaseDatos;

// The template exchange file: a template line ("@"-joined description, type, principiolinea and
// multi-invoice mark), one "@"-joined line per field, then, for a multi-invoice template, one line per
// multi-invoice row: "Multifactura" and five "#"-prefixed values. Lines end in CR LF; the text is the
// program's Windows-1252. Booleans are True and False.

// The file of a template. A value that would not come back as it is (holding "@", "#" in a
// multi-invoice line, a line break, or a field name that starts like a multi-invoice line) is refused
// with an ErrorTrovanel naming it.
std::string escribirIntercambio(const Plantilla& plantilla);

// A file that is not an exchange file, with the number of the first line at fault (from 1).
class ErrorIntercambio : public ErrorTrovanel {
public:
    ErrorIntercambio(std::size_t linea, const std::string& motivo);
    std::size_t linea() const { return linea_; }

private:
    std::size_t linea_;
};

// Reads a whole exchange file, strictly: every line must have its number of values, numbers and
// Booleans must read as such (an empty value is the column's default), an id_campo may not repeat, and
// no field line may follow the multi-invoice lines. Throws ErrorIntercambio. The values of fields keep
// their blanks; the description, names, type, campos and multi-invoice identifiers are trimmed (the
// export writes the stored description whole).
Plantilla leerIntercambio(std::string_view contenido);

// "&Exportar": the stored template id written to destino, telling the user how it went. The target is
// replaced only when the whole file was written; an existing one only after the user agrees. Nothing
// is touched without a template or when a value cannot be written.
bool ExportarPlantilla(BaseDatos& baseDatos, Avisos& avisos, std::optional<std::int64_t> id,
                       const std::filesystem::path& destino);

// "&Importar": the file read whole and checked, then stored as a new template with its fields and
// multi-invoice rows in one transaction. Returns the new id; nothing is stored when it fails.
std::optional<std::int64_t> ImportarPlantilla(BaseDatos& baseDatos, Avisos& avisos,
                                              const std::filesystem::path& origen);

} // namespace trovanel
