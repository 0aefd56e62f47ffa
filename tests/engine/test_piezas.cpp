#include "piezas.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

// The piece is the value trimmed and padded, whatever it held before; the writer says whether it is
// more than blanks, which the validators ask of every padded piece.
TEST(Piezas, rellenaEnSuSitioYDiceSiQuedaAlgoMasQueBlancos) {
    const struct {
        std::string previa;
        std::string valor;
        std::size_t ancho;
        std::string pieza;
        bool conTexto;
    } casos[] = {
        {"", "Ana", 6, "Ana   ", true},
        {"XXXXXX", "Ana      ", 6, "Ana   ", true},
        {"XXXXXX", "   Ana   ", 6, "Ana   ", true},
        {"XX", "  Ana Sol  ", 4, "Ana ", true},
        {"XXXXXXXXXXXXXXXXXXXX", "Calle Mayor 1, bajo derecha   ", 12, "Calle Mayor ", true},
        {"XXXXXX", "", 6, "      ", false},
        {"XXXXXX", "                    ", 6, "      ", false},
        {"XXXXXX", "Ana", 0, "", false},
    };
    for (const auto& caso : casos) {
        std::string pieza = caso.previa;
        EXPECT_EQ(rellenarEn(pieza, caso.valor, caso.ancho), caso.conTexto) << caso.valor;
        EXPECT_EQ(pieza, caso.pieza) << caso.valor;
        EXPECT_EQ(pieza, rellenar(caso.valor, caso.ancho)) << caso.valor;
    }
}

} // namespace
} // namespace trovanel
