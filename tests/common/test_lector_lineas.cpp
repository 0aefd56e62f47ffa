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
constexpr std::size_t kBloque = LectorLineas::kTamanoBuffer;

struct Caso {
    std::string bytes;
    Lineas lineas;
    LectorLineas::Texto texto = LectorLineas::Texto::Windows1252;
    std::int64_t fallida = 0; // the line longer than the cap that stops the reading; 0: none
    std::string motivo = "";  // why a file is refused before its first line; "": it is not
};

// Reads every line and checks that reading left the file's bytes as they were.
void comprobar(const std::vector<Caso>& casos, std::size_t tope = kMaxLinea) {
    for (std::size_t i = 0; i < casos.size(); ++i) {
        SCOPED_TRACE("caso " + std::to_string(i));
        CarpetaTemporal carpeta;
        const auto ruta = carpeta / "entrada.txt";
        pruebas::escribirFichero(ruta, casos[i].bytes);
        Lineas leidas;
        {
            LectorLineas lector(ruta, casos[i].texto, tope);
            ASSERT_TRUE(lector.abierto());
            std::string linea = "basura";
            // Bounded, so that a reader that never ends fails instead of hanging.
            while (leidas.size() <= casos[i].lineas.size() && lector.leer(linea)) {
                leidas.push_back(linea);
            }
            EXPECT_EQ(lector.error(), casos[i].fallida != 0 || !casos[i].motivo.empty());
            if (!casos[i].motivo.empty()) {
                EXPECT_EQ(lector.motivo(), casos[i].motivo);
            }
            if (casos[i].fallida != 0) {
                EXPECT_EQ(lector.motivo(), "la línea " + std::to_string(casos[i].fallida) + " tiene más de " +
                                               std::to_string(tope) + " bytes");
            }
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
        // Other control characters before a line end, far into a line and near its end.
        {"uno\n" + std::string(70, 'x') + "\t\x7F\x01y\ndos\n",
         {"uno", std::string(70, 'x') + "\t\x7F\x01y", "dos"}},
        {"uno\r" + std::string(130, 'x') + "\x1F\n\rdos\r", {"uno", std::string(130, 'x') + "\x1F\n", "dos"}},
        {"uno\ndos\rtres\r", {"uno", "dos\rtres\r"}},
        {"uno\n\r\n\r\r\n", {"uno", "", "\r"}},
        // Without any line end the file is one line.
        {"uno dos", {"uno dos"}},
        {"\r", {""}},
        // The last line without an end, and no line after the last end.
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
    const std::string lejos(kBloque + 10, 'y');
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
        // The first line end decides even with another one far away.
        {"a\nb" + lejos + "\r\nc\n", {"a", "b" + lejos, "c"}},
        {"a" + lejos + "\r\nb\nc\r\n", {"a" + lejos, "b\nc"}},
        {lejos + "\nb\rc\n", {lejos, "b\rc"}},
    });
}

const std::string kUtf8YOtros =
    " tiene caracteres en UTF-8 y otros que no lo son: guarde el fichero entero en una sola codificación";
const std::string kMezclaEnUnaLinea = "la línea 1" + kUtf8YOtros;

std::string mezcla(int utf8, int otra) {
    return "la línea " + std::to_string(utf8) + " tiene caracteres en UTF-8 y la línea " +
           std::to_string(otra) +
           " caracteres que no son UTF-8 (Windows-1252): guarde el fichero entero en una sola codificación";
}

TEST(LectorLineas, unaEntradaUtf8SeLeeComoTextoWindows1252YUnaMezclaSeRechaza) {
    constexpr auto kDetectar = LectorLineas::Texto::DetectarUtf8;
    const std::string x(kBloque - 1, 'x');
    const std::string y(kBloque + 10, 'y');
    comprobar({
        {"MU\xC3\x91OZ PE\xC3\x91"
         "A\r\n\xC3\x81NGELA\r\n",
         {"MUÑOZ PEÑA", "ÁNGELA"},
         kDetectar},
        {"uno\n\xC3\x91", {"uno", "Ñ"}, kDetectar},
        // Long runs of ASCII around a character, as a file's long lines have.
        {std::string(130, 'a') + "\xC3\x91" + std::string(140, 'b') + "\n",
         {std::string(130, 'a') + "Ñ" + std::string(140, 'b')},
         kDetectar},
        // What Windows-1252 lacks becomes its base letter, or a control character; its own characters
        // outside Latin-1 are kept.
        {"\xC5\x9E"
         "AHIN \xE2\x82\xAC \xD0\x96\n",
         {"SAHIN \x80 \x1A"},
         kDetectar},
        // A byte-order mark is dropped.
        {"\xEF\xBB\xBFuno\ndos\n", {"uno", "dos"}, kDetectar},
        {"\xEF\xBB\xBF", {}, kDetectar},
        // Without UTF-8 characters, bytes that are not UTF-8 make the whole file Windows-1252.
        {"A\xD1O\n", {"A\xD1O"}, kDetectar},
        {"A\xD1O\nMU\xD1OZ \xC3\n", {"A\xD1O", "MU\xD1OZ \xC3"}, kDetectar},
        // UTF-8 characters and bytes that are not UTF-8 in one file (the mark counts as UTF-8): refused
        // before the first line, naming the first line of each kind as the file's line ends count them.
        {"MU\xC3\x91OZ\nB\nC\nA\xD1O\n", {}, kDetectar, 0, mezcla(1, 4)},
        {"A\xD1O\rB\n\xC3\x91\r\n\xC3\x91\r", {}, kDetectar, 0, mezcla(2, 1)},
        {"\xEF\xBB\xBF"
         "a\r\na\xF1o\r\n",
         {},
         kDetectar,
         0,
         mezcla(1, 2)},
        {"\xC3\x91" + y + "\xD1\n", {}, kDetectar, 0, kMezclaEnUnaLinea},
        {x + "\n\xD1\xC3\x91\n", {}, kDetectar, 0, "la línea 2" + kUtf8YOtros},
        // A UTF-8 file cut inside its last character.
        {"MU\xC3\x91OZ\r\n\xC3", {}, kDetectar, 0, mezcla(1, 2)},
        // A character split between two blocks of the file.
        {x + "\xC3\x91\n", {x + "Ñ"}, kDetectar},
        // Files the program writes are read byte for byte.
        {"MU\xC3\x91OZ\n", {"MU\xC3\x91OZ"}},
        {"\xEF\xBB\xBFuno\n", {"\xEF\xBB\xBFuno"}},
    });
}

// Lines up to the cap are read; the first longer one stops the reading there, whatever ends it.
TEST(LectorLineas, unaLineaMasLargaQueElTopeDetieneLaLectura) {
    constexpr auto kDetectar = LectorLineas::Texto::DetectarUtf8;
    constexpr auto k1252 = LectorLineas::Texto::Windows1252;
    comprobar(
        {
            {"1234\r\n12345\r\nab\r\n", {"1234"}, k1252, 2},
            {"1234\n1234\r\n12345\n", {"1234", "1234"}, k1252, 3},
            {"1234\r1234\r12345", {"1234", "1234"}, k1252, 3},
            {"12345", {}, k1252, 1},
            // Bytes count as they stand in the file: the mark is no part of the line, a UTF-8 character is
            // two.
            {"\xEF\xBB\xBF"
             "1234\n",
             {"1234"},
             kDetectar},
            {"\xC3\x91"
             "123\n",
             {},
             kDetectar,
             1},
            // A line without any end is not read whole before it is refused.
            {std::string(kBloque * 3, 'x'), {}, kDetectar, 1},
        },
        4);
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
