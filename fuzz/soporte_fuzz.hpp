#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace trovanel::fuzz {

// A private folder under the system's temporary folder for the life of the process: the readers take
// paths, so every input goes through a file. Removed with everything in it when the process ends.
class CarpetaFuzz {
public:
    CarpetaFuzz();
    CarpetaFuzz(const CarpetaFuzz&) = delete;
    CarpetaFuzz& operator=(const CarpetaFuzz&) = delete;
    ~CarpetaFuzz();

    const std::filesystem::path& ruta() const { return ruta_; }
    std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

    // Writes the bytes to a file of that name in the folder, replacing it, and gives its path.
    std::filesystem::path escribir(const std::string& nombre, const std::uint8_t* datos,
                                   std::size_t tamano) const;

private:
    std::filesystem::path ruta_;
};

// The folder of the harness, created at its first input.
const CarpetaFuzz& carpetaProceso();

} // namespace trovanel::fuzz
