#include "lector_lineas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::CarpetaTemporal;
using Lineas = std::vector<std::string>;

// The reader's internal block: line ends that straddle it must still count once.
constexpr std::size_t kBloque = 256 * 1024;

struct Caso {
    std::string bytes;
    Lineas lineas;
    LectorLineas::Texto texto = LectorLineas::Texto::Windows1252;
};

// Reads every line and checks that reading left the file's bytes as they were.
void comprobar(const std::vector<Caso>& casos) {
    for (std::size_t i = 0; i < casos.size(); ++i) {
        SCOPED_TRACE("caso " + std::to_string(i));
        CarpetaTemporal carpeta;
        const auto ruta = carpeta / "entrada.txt";
        pruebas::escribirFichero(ruta, casos[i].bytes);
        Lineas leidas;
        {
            LectorLineas lector(ruta, casos[i].texto);
            ASSERT_TRUE(lector.abierto());
            std::string linea = "basura";
            // Bounded, so that a reader that never ends fails instead of hanging.
            while (leidas.size() <= casos[i].lineas.size() && lector.leer(linea)) {
                leidas.push_back(linea);
            }
            EXPECT_FALSE(lector.error());
            EXPECT_FALSE(lector.leer(linea));
        }
        EXPECT_EQ(leidas, casos[i].lineas);
        EXPECT_EQ(pruebas::leerFichero(ruta), casos[i].bytes);
    }
}

TEST(LectorLineas, separaLineasSegunLosFinalesDelFichero) {
    comprobar({
        {"uno\r\ndos\r\n", {"uno", "dos"}},
        {"uno\ndos\n", {"uno", "dos"}},
        {"uno\rdos\r", {"uno", "dos"}},
        // With any CR in the file, a lone LF belongs to its line.
        {"uno\r\ndos\ntres\r\n", {"uno", "dos\ntres"}},
        {"uno\rdos\r\ntres\n", {"uno", "dos", "tres\n"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"uno\n\ndos\n", {"uno", "", "dos"}},
        {"uno\r\n\r\n", {"uno", ""}},
        // A first bare LF: every LF ends a line, a CR before it is dropped, any other CR is a character.
        {"uno\ndos\r\ntres\n", {"uno", "dos", "tres"}},
        {"uno\ndos\nt\rres\ncuatro\n", {"uno", "dos", "t\rres", "cuatro"}},
        {"uno\ndos\rtres\r", {"uno", "dos\rtres\r"}},
        {"uno\n\r\n\r\r\n", {"uno", "", "\r"}},
        // Without any line end the file is one line.
        {"uno dos", {"uno dos"}},
        {"\r", {""}},
    });
}

TEST(LectorLineas, ultimaLineaSinFinalYTextoVacioTrasElUltimoFinal) {
    comprobar({
        {"", {}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"sin final", {"sin final"}},
        {"uno\r\nsin final", {"uno", "sin final"}},
        {"uno\nsin final", {"uno", "sin final"}},
    });
}

TEST(LectorLineas, finalDeLineaPartidoEntreBloques) {
    const std::string x(kBloque - 1, 'x');
    const std::string y(kBloque, 'y');
    const std::string z(kBloque - 2, 'z');
    const std::string w(kBloque - 3, 'w');
    comprobar({
        // CR last byte of the block, LF first of the next.
        {x + "\r\nb\r\n", {x, "b"}},
        {x + "\r\n", {x}},
        // A lone CR at the block's end followed by the next line.
        {x + "\rb\r", {x, "b"}},
        {x + "\r", {x}},
        // CR LF ending the block exactly, and CR opening the next block.
        {z + "\r\nb", {z, "b"}},
        {y + "\r\nb", {y, "b"}},
        {x + "\nb", {x, "b"}},
        {y + "\n", {y}},
        {y + y + "\r\n", {y + y}},
        // Among LF line ends, a CR closing one block and the LF opening the next.
        {"a\n" + w + "\r\nb\n", {"a", w, "b"}},
    });
}

TEST(LectorLineas, elPrimerFinalDeLineaDecideAunqueHayaOtroLejos) {
    const std::string y(kBloque + 10, 'y');
    comprobar({
        {"a\nb" + y + "\r\nc\n", {"a", "b" + y, "c"}},
        {"a" + y + "\r\nb\nc\r\n", {"a" + y, "b\nc"}},
        {y + "\nb\rc\n", {y, "b\rc"}},
    });
}

TEST(LectorLineas, unaEntradaUtf8SeLeeComoTextoWindows1252) {
    constexpr auto kDetectar = LectorLineas::Texto::DetectarUtf8;
    const std::string x(kBloque - 1, 'x');
    const std::string y(kBloque + 10, 'y');
    comprobar({
        {"MU\xC3\x91OZ PE\xC3\x91"
         "A\r\n\xC3\x81NGELA\r\n",
         {"MUÑOZ PEÑA", "ÁNGELA"},
         kDetectar},
        {"uno\n\xC3\x91", {"uno", "Ñ"}, kDetectar},
        // What Windows-1252 lacks becomes "?"; its own characters outside Latin-1 are kept.
        {"\xC5\x9E"
         "AHIN \xE2\x82\xAC\n",
         {"?AHIN \x80"},
         kDetectar},
        // A byte-order mark is dropped and decides alone: bytes that are not UTF-8 become "?".
        {"\xEF\xBB\xBFuno\ndos\n", {"uno", "dos"}, kDetectar},
        {"\xEF\xBB\xBF"
         "a\xF1o\r\n",
         {"a?o"},
         kDetectar},
        {"\xEF\xBB\xBF", {}, kDetectar},
        // Without a mark, one byte that is not UTF-8 anywhere makes the whole file Windows-1252.
        {"A\xD1O\n", {"A\xD1O"}, kDetectar},
        {"MU\xC3\x91OZ\nA\xD1O\n", {"MU\xC3\x91OZ", "A\xD1O"}, kDetectar},
        {"\xC3\x91" + y + "\xD1\n", {"\xC3\x91" + y + "\xD1"}, kDetectar},
        // A character split between two blocks of the file.
        {x + "\xC3\x91\n", {x + "Ñ"}, kDetectar},
        // Files the program writes are read byte for byte.
        {"MU\xC3\x91OZ\n", {"MU\xC3\x91OZ"}},
        {"\xEF\xBB\xBFuno\n", {"\xEF\xBB\xBFuno"}},
    });
}

// Lines up to the cap are read; the first longer one stops the reading there, whatever ends it.
TEST(LectorLineas, unaLineaMasLargaQueElTopeDetieneLaLectura) {
    struct CasoTope {
        std::string bytes;
        Lineas lineas; // read before the refusal
        std::int64_t fallida;
        LectorLineas::Texto texto = LectorLineas::Texto::Windows1252;
    };
    const std::string largaSinFinal(kBloque * 3, 'x');
    const CasoTope casos[] = {
        {"1234\r\n12345\r\nab\r\n", {"1234"}, 2},
        {"1234\n1234\r\n12345\n", {"1234", "1234"}, 3},
        {"1234\r1234\r12345", {"1234", "1234"}, 3},
        {"12345", {}, 1},
        // Bytes count as they stand in the file: the mark is no part of the line, a UTF-8 character is two.
        {"\xEF\xBB\xBF"
         "1234\n",
         {"1234"},
         0,
         LectorLineas::Texto::DetectarUtf8},
        {"\xC3\x91"
         "123\n",
         {},
         1,
         LectorLineas::Texto::DetectarUtf8},
        // A line without any end is not read whole before it is refused.
        {largaSinFinal, {}, 1, LectorLineas::Texto::DetectarUtf8},
    };
    for (const CasoTope& caso : casos) {
        SCOPED_TRACE(caso.bytes.substr(0, 20));
        CarpetaTemporal carpeta;
        pruebas::escribirFichero(carpeta / "entrada.txt", caso.bytes);
        LectorLineas lector(carpeta / "entrada.txt", caso.texto, 4);
        Lineas leidas;
        std::string linea;
        while (leidas.size() <= caso.lineas.size() && lector.leer(linea)) {
            leidas.push_back(linea);
        }
        EXPECT_EQ(leidas, caso.lineas);
        EXPECT_EQ(lector.error(), caso.fallida != 0);
        if (caso.fallida != 0) {
            EXPECT_EQ(lector.motivo(), "la línea " + std::to_string(caso.fallida) + " tiene más de 4 bytes");
        }
    }
}

TEST(LectorLineas, ficheroAusenteNoSeAbre) {
    CarpetaTemporal carpeta;
    LectorLineas lector(carpeta / "no-existe.txt");
    EXPECT_FALSE(lector.abierto());
    std::string linea;
    EXPECT_FALSE(lector.leer(linea));
}

} // namespace
} // namespace trovanel
