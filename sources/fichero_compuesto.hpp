#pragma once

#include <bit>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace trovanel {

// The old Office container (compound file) that holds an .xls workbook, and the little-endian reads
// both it and the workbook records need.

using Bytes = std::vector<unsigned char>;

inline std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t le64(const unsigned char* p) {
    return static_cast<std::uint64_t>(le32(p)) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}

inline double leDouble(const unsigned char* p) {
    return std::bit_cast<double>(le64(p));
}

// The workbook stream ("Workbook", or "Book" of older files) of a compound file, after checking the
// container whole (sector chains, loops, sectors claimed twice, directory tree). Throws ErrorTrovanel
// with "No se puede abrir el fichero de entrada" when the file is no such container or is damaged.
Bytes leerFlujoLibro(const std::filesystem::path& ruta);

} // namespace trovanel
