#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trovanel {

// Builds one fixed-width record of a bank file piece by piece; every piece is written at exactly its
// width, so a record can never shift.
class RegistroFijo {
public:
    explicit RegistroFijo(std::size_t ancho);

    // Left-justified, completed with blanks, cut to its first n characters when longer.
    RegistroFijo& texto(std::string_view valor, std::size_t n);
    // Right-justified, completed with "0" on the left; a longer value keeps its last n characters.
    RegistroFijo& ceros(std::string_view valor, std::size_t n);
    RegistroFijo& numero(std::int64_t valor, std::size_t n);
    RegistroFijo& blancos(std::size_t n) { return texto({}, n); }

    // The finished record; its width is checked so a wrong layout fails loudly in the tests.
    const std::string& terminar() const;

private:
    // Where the next piece of n characters goes; null once the pieces run past the width.
    char* reservar(std::size_t n);

    std::size_t ancho_;
    std::size_t largo_ = 0;
    std::string texto_;
};

} // namespace trovanel
