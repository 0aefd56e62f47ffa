#include "soporte_fuzz.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <stdlib.h>

namespace trovanel::fuzz {

CarpetaFuzz::CarpetaFuzz() {
    std::string plantilla = (std::filesystem::temp_directory_path() / "trovanel-fuzz-XXXXXX").string();
    if (mkdtemp(plantilla.data()) == nullptr) {
        throw std::runtime_error("no se puede crear la carpeta temporal " + plantilla);
    }
    ruta_ = plantilla;
}

CarpetaFuzz::~CarpetaFuzz() {
    std::error_code error;
    std::filesystem::remove_all(ruta_, error);
}

std::filesystem::path CarpetaFuzz::escribir(const std::string& nombre, const std::uint8_t* datos,
                                            std::size_t tamano) const {
    const std::filesystem::path ruta = ruta_ / nombre;
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(tamano));
    f.close();
    if (!f) {
        // A harness that cannot write its input tests nothing: stop loudly instead.
        std::abort();
    }
    return ruta;
}

const CarpetaFuzz& carpetaProceso() {
    static const CarpetaFuzz carpeta;
    return carpeta;
}

} // namespace trovanel::fuzz
