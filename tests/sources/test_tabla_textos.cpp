#include "tabla_textos.hpp"

#include "error.hpp"
#include "libro_excel.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

TEST(TablaTextos, guardaCadaTextoEnSuPosicionVaciosIncluidos) {
    TablaTextos tabla;
    tabla.reservar(100, 3);
    for (const char* texto : {"Peña", "", "Cobro 7"}) {
        tabla.anadir(texto);
    }
    ASSERT_EQ(tabla.cantidad(), 3u);
    EXPECT_EQ(tabla[0], "Peña");
    EXPECT_EQ(tabla[1], "");
    EXPECT_EQ(tabla[2], "Cobro 7");
}

TEST(TablaTextos, cadaTextoCuentaSuIndiceAunqueEsteVacioYElTopeRechazaElQueSobra) {
    struct Caso {
        const char* descripcion;
        std::size_t tope;
        std::size_t largo; // of each string added
        std::size_t caben; // strings added before the one refused
    };
    // Each string takes its text and a four-byte index.
    const Caso casos[] = {
        {"vacios", 40, 0, 10},
        {"de seis bytes", 40, 6, 4},
        {"uno mayor que el tope", 40, 41, 0},
        {"justo hasta el tope", 40, 16, 2},
    };
    for (const auto& c : casos) {
        TablaTextos tabla(c.tope);
        tabla.reservar(1u << 30, 1u << 30); // what a file claims never goes past the cap
        const std::string texto(c.largo, 'x');
        for (std::size_t i = 0; i < c.caben; ++i) {
            tabla.anadir(texto);
        }
        try {
            tabla.anadir(texto);
            ADD_FAILURE() << c.descripcion << ": no se ha rechazado";
        } catch (const ErrorTablaTextosLlena& e) {
            EXPECT_STREQ(e.what(), kNoSeAbreEntrada) << c.descripcion;
            EXPECT_EQ(e.motivo(), "sus textos compartidos ocupan más de 40 bytes") << c.descripcion;
        }
        EXPECT_EQ(tabla.cantidad(), c.caben) << c.descripcion;
    }
}

} // namespace
} // namespace trovanel
