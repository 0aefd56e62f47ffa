#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trovanel {

class FicheroSalida;

// Builds one fixed-width record of a bank file piece by piece, in place in the file's buffer (the next
// line of the file); every piece is written at exactly its width, so a record can never shift.
class RegistroFijo {
public:
    RegistroFijo(FicheroSalida& salida, std::size_t ancho);

    // Left-justified, completed with blanks, cut to its first n characters when longer.
    RegistroFijo& texto(std::string_view valor, std::size_t n);
    // Right-justified, completed with "0" on the left; a longer value keeps its last n characters.
    RegistroFijo& ceros(std::string_view valor, std::size_t n);
    RegistroFijo& numero(std::int64_t valor, std::size_t n);
    RegistroFijo& blancos(std::size_t n) {
        reservar(n);
        return *this;
    }

    // The finished record; its width is checked so a wrong layout fails loudly in the tests.
    std::string_view terminar() const;

private:
    // Where the next piece of n characters goes; null once the pieces run past the width.
    char* reservar(std::size_t n) {
        const std::size_t desde = largo_;
        largo_ += n;
        // A layout longer than its width is reported by terminar(); nothing is written past the record.
        return largo_ <= ancho_ ? datos_ + desde : nullptr;
    }

    char* datos_;
    std::size_t ancho_;
    std::size_t largo_ = 0;
};

} // namespace trovanel
