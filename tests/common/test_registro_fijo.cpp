#include "registro_fijo.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

// Every length takes its own way through the copy (a few characters, one or two words, one or two
// blocks, a call): each must write exactly its characters and nothing around them.
TEST(RegistroFijo, copiaCadaLargoDePiezaSinTocarLoDeAlrededor) {
    std::string origen;
    for (int i = 0; i < 100; ++i) {
        origen += static_cast<char>('A' + i % 26);
    }
    for (std::size_t n = 0; n <= 100; ++n) {
        std::string destino(104, '#');
        copiarPieza(destino.data() + 2, origen.data(), n);
        EXPECT_EQ(destino, "##" + origen.substr(0, n) + std::string(102 - n, '#')) << n;
    }
}

} // namespace
} // namespace trovanel
