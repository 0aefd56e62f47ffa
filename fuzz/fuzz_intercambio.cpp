// The template exchange file: any bytes are read strictly or refused with a line number, and whatever is
// read writes a file that reads back to the same template.

#include "intercambio.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const std::string_view contenido(reinterpret_cast<const char*>(datos), tamano);
    trovanel::Plantilla plantilla;
    try {
        plantilla = trovanel::leerIntercambio(contenido);
    } catch (const trovanel::ErrorIntercambio& e) {
        if (e.linea() == 0) {
            __builtin_trap();
        }
        return 0;
    } catch (const trovanel::ErrorPlantillaIncorrecta&) {
        return 0; // positions no editor writes, refused with the line
    }
    std::string escrito;
    try {
        escrito = trovanel::escribirIntercambio(plantilla);
    } catch (const trovanel::ErrorTrovanel&) {
        return 0; // a value the file cannot carry, refused by name
    }
    // A template that was read, written and read again is written the same.
    if (trovanel::escribirIntercambio(trovanel::leerIntercambio(escrito)) != escrito) {
        __builtin_trap();
    }
    return 0;
}
