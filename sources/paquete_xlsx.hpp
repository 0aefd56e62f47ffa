#pragma once

// The package of an .xlsx workbook: the zip archive, and what its workbook, relationships and styles
// say about the sheets. Every size taken from the file is checked before it is believed.

#include "formato_numero.hpp"

#include <zip.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trovanel::xlsx {

// Element and attribute names without their namespace prefix: writers differ in the prefixes they use.
inline std::string_view local(std::string_view nombre) {
    const auto dosPuntos = nombre.rfind(':');
    return dosPuntos == std::string_view::npos ? nombre : nombre.substr(dosPuntos + 1);
}

struct ZipCerrado {
    void operator()(zip_t* z) const { zip_discard(z); }
};

struct Archivo {
    std::unique_ptr<zip_t, ZipCerrado> zip;

    // The index of an entry by name, trying the exact case first; of names equal but for case, the
    // first in the archive.
    std::optional<zip_uint64_t> buscar(const std::string& nombre) const;
    zip_uint64_t tamano(zip_uint64_t indice) const;

private:
    // Entry names in ASCII lower case, built at the first lookup that needs them: libzip finds a name
    // regardless of case by walking every entry, and a workbook can ask for thousands of parts.
    mutable std::optional<std::unordered_map<std::string, zip_uint64_t>> sinMayusculas_;
};

Archivo abrirArchivo(const std::filesystem::path& ruta);

struct Hoja {
    std::string nombre;
    zip_uint64_t parte = 0;
};

// What the workbook, its relationships and the styles tell before any sheet is read.
struct EstructuraLibro {
    // Worksheets only, in the workbook's order, their names in Windows-1252.
    std::vector<Hoja> hojas;
    // By cell style index: how its number format shows a number.
    std::vector<ClaseFormato> claseEstilo;
    std::optional<zip_uint64_t> parteTextos;
    bool sistema1904 = false;
};

EstructuraLibro leerEstructura(const Archivo& archivo);

} // namespace trovanel::xlsx
