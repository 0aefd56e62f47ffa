#include "conversores.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

TEST(RutasConversion, cortaElNombreDelFicheroYNuncaElDeUnaCarpeta) {
    const struct {
        std::string entrada;
        std::string salida;
        std::string log;
    } casos[] = {
        {"/d/datos.txt", "/d/datos.out", "/d/datos.log"},
        // Cut at the first ".", not the last.
        {"/d/a.b.txt", "/d/a.out", "/d/a.log"},
        {"/d/a.b.c.d.e.f", "/d/a.out", "/d/a.log"},
        {"/d/abc.d", "/d/abc.out", "/d/abc.log"},
        {"/d/datos.", "/d/datos.out", "/d/datos.log"},
        {"/d/x.y", "/d/x.out", "/d/x.log"},
        // No "." among the name's last four characters: the whole name keeps.
        {"/d.x/datos", "/d.x/datos.out", "/d.x/datos.log"},
        {"/d.x/datos.txt", "/d.x/datos.out", "/d.x/datos.log"},
        {"/d/remesa.enero", "/d/remesa.enero.out", "/d/remesa.enero.log"},
        {"/d.x/e.f/datos", "/d.x/e.f/datos.out", "/d.x/e.f/datos.log"},
        {"datos.txt", "datos.out", "datos.log"},
        // A derived name equal to the input must not overwrite it.
        {"/d/datos.out", "/d/datos.out1", "/d/datos.log"},
        {"/d/datos.log", "/d/datos.out", "/d/datos.log1"},
    };
    for (const auto& caso : casos) {
        const RutasConversion rutas = derivarRutasConversion(caso.entrada);
        EXPECT_EQ(rutas.salida.native(), caso.salida) << caso.entrada;
        EXPECT_EQ(rutas.log.native(), caso.log) << caso.entrada;
    }
}

} // namespace
} // namespace trovanel
