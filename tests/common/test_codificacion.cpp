#include "barridos.hpp"
#include "codificacion.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace trovanel {
namespace {

// Text goes to SQLite and comes back many times: no byte may change on the way.
TEST(Codificacion, cadaByteVuelveIgualTrasPasarPorUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string original(1, static_cast<char>(b));
        const std::string utf8 = cp1252AUtf8(original);
        EXPECT_TRUE(b < 0x80 ? utf8 == original : utf8.size() >= 2) << "byte " << b;
        EXPECT_EQ(utf8ACp1252(utf8), original) << "byte " << b;
    }
}

struct CasoCaracter {
    const char* utf8;
    const char* cp1252;
};

TEST(Codificacion, traduceLosCaracteresPropiosDeWindows1252) {
    const CasoCaracter casos[] = {
        {"\xE2\x82\xAC", "\x80"}, // euro
        {"\xC3\xB1", "\xF1"},     // ñ
        {"\xC3\x91", "\xD1"},     // Ñ
        {"\xC3\xA9", "\xE9"},     // é
        {"\xC2\xAA", "\xAA"},     // ª
        {"\xE2\x80\x99", "\x92"}, // closing quote that spreadsheets type for an apostrophe
        {"\xC5\x92", "\x8C"},     // Œ
        {"\xE2\x84\xA2", "\x99"}, // ™
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(utf8ACp1252(caso.utf8), caso.cp1252) << caso.utf8;
        EXPECT_EQ(cp1252AUtf8(caso.cp1252), caso.utf8) << caso.utf8;
    }
    EXPECT_EQ(cp1252AUtf8("Año 10€"), "A\xC3\xB1o 10\xE2\x82\xAC");
}

TEST(Codificacion, sustituyeConInterrogacionLoQueWindows1252NoTiene) {
    EXPECT_EQ(utf8ACp1252("ok \xE2\x9C\x93"), "ok ?"); // ✓
    EXPECT_EQ(utf8ACp1252("a\xF0\x9F\x98\x80"
                          "b"),
              "a?b");                        // one emoji is one character
    EXPECT_EQ(utf8ACp1252("\xD0\x96"), "?"); // Cyrillic
    // U+0080 is a control character, not the euro that takes byte 0x80 in Windows-1252.
    EXPECT_EQ(utf8ACp1252("\xC2\x80"), "?");
}

// Data keeps no "?" that its text did not hold: a Latin letter becomes its base letter, a combining mark
// joins its letter or goes, anything else becomes a control character that refuses its field.
TEST(Codificacion, lasLetrasLatinasQueWindows1252NoTieneQuedanEnSuLetraBase) {
    const struct {
        std::u8string_view utf8;
        const char* cp1252;
    } casos[] = {
        {u8"ŁUKASZ NOWAK", "LUKASZ NOWAK"},
        {u8"ȘTEFAN MIHĂILĂ", "STEFAN MIHAILA"},
        {u8"Szőke Đoković ı ŀ ħ ŧ ſ", "Szoke Dokovic i l h t s"},
        {u8"Nguyễn Thị Ngọc Ǻ ǘ", "Nguy\xEAn Thi Ngoc \xC5 \xFC"},    // ễ and ǘ keep what Windows-1252 has
        {u8"JOSE\u0301 N\u0303 S\u0326 \u0301x", "JOS\xC9 \xD1 S x"}, // marks, one with no letter
        {u8"Ø ß Œ", "\xD8 \xDF \x8C"},
        {u8"Ж日😀✓", "\x1A\x1A\x1A\x1A"},
        {u8"ǅ ẞ", "\x1A \x1A"}, // no one letter to become
    };
    for (const auto& caso : casos) {
        std::string texto(reinterpret_cast<const char*>(caso.utf8.data()), caso.utf8.size());
        const std::string original = texto;
        const bool todos = utf8ACp1252EnSitio(texto, kSinEquivalente);
        EXPECT_EQ(todos, texto.find('\x1A') == std::string::npos) << original;
        EXPECT_EQ(texto, caso.cp1252) << original;
    }
    EXPECT_EQ(utf8ACp1252("a\xC3 \xFF", kSinEquivalente), "a\x1A \x1A");
    EXPECT_EQ(byteWindows1252(0x20AC), '\x80');
    EXPECT_EQ(byteWindows1252(0xF1), '\xF1');
    EXPECT_EQ(byteWindows1252(0x141), std::nullopt);
}

TEST(Codificacion, sustituyeConInterrogacionCadaByteUtf8Invalido) {
    EXPECT_EQ(utf8ACp1252("a\xC3"), "a?"); // sequence cut at the end
    EXPECT_EQ(utf8ACp1252("\xC3"
                          "a"),
              "?a"); // sequence cut by an ASCII byte
    EXPECT_EQ(utf8ACp1252("\xFF\xFE"), "??");
    EXPECT_EQ(utf8ACp1252("\xC0\xAF"), "??");      // overlong "/" must not turn into a slash
    EXPECT_EQ(utf8ACp1252("\xED\xA0\x80"), "???"); // surrogate half
    EXPECT_EQ(utf8ACp1252("x\xB1y"), "x?y");       // lone continuation byte
}

TEST(Codificacion, distingueTextoUtf8DeTextoWindows1252) {
    EXPECT_TRUE(pareceUtf8("a\xC3\xB1o"));
    EXPECT_TRUE(pareceUtf8("\xE2\x82\xAC"));
    EXPECT_FALSE(pareceUtf8("año"));         // Windows-1252 bytes
    EXPECT_FALSE(pareceUtf8("plain ascii")); // nothing to tell them apart
    EXPECT_FALSE(pareceUtf8(""));
    EXPECT_FALSE(pareceUtf8("a\xC3\xB1o \xFF"));
}

// A file is checked block by block: a character split between two blocks must be judged as a whole. A
// text of both encodings, in whichever order, is told as such.
TEST(Codificacion, reconoceUtf8YLaMezclaDeCodificacionesAunqueLleguenPorTrozos) {
    const struct {
        std::string texto;
        bool utf8;
        bool mezcla = false;
    } casos[] = {
        {"a\xC3\xB1o", true},
        {"\xE2\x82\xAC 10", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xF4\x8F\xBF\xBF", true},               // U+10FFFF, the last code point
        {"\xED\xA0\x80", false},                  // surrogate half
        {"\xE0\x80\xAF", false},                  // overlong
        {"\xF0\x80\x80\xAF", false},              // overlong
        {"\xF4\x90\x80\x80", false},              // past U+10FFFF
        {"\xC3\xB1 \xC3", false, true},           // cut at the end
        {"\xC3\xB1\xC3\xB1 a\xD1o", false, true}, // a later Windows-1252 byte
        {"a\xD1o \xC3\xB1", false, true},         // an earlier one
        {"\xD1\xC3\xB1", false, true},            // a Windows-1252 byte that looks like a lead byte
        {"\xE2\x82 \xC3\xB1", false, true},       // a character cut short
        {"a\xD1o \xE2\x82\xD1", false},
        {"abcdefghijklmn\xC3\xB1opqrstuvw", true},
        {"abcdefghijklmnopqrstuvw", false},
        // Windows-1252 capitals before a quote, a no-break space, "»" or "…": well-formed pairs of
        // characters Windows-1252 lacks (U+0254, U+0260...), so the text is Windows-1252 and nothing else.
        {"BAR \x93SAN JOS\xC9\x94\r\nN\xDA\xD1"
         "EZ PE\xD1"
         "A",
         false},
        {"JOS\xC9\xA0GARC\xCD"
         "A",
         false},
        {"JOS\xC9\xBB PER\xDA\x85 N\xBA 1\xAA \x80 M\xC1S", false},
        {"\xD1\xC7\x96\xC8\x92\xCD\xA0\xD3\x94\xDC\xBA", false},
        {"JOS\xC9\x94", true}, // all of it UTF-8: read as such
        // A pasted UTF-8 Ó or euro is still one; so is a byte-order mark, only at the start.
        {"N\xDA\xD1"
         "EZ \xC3\x93",
         false, true},
        {"\xE2\x82\xAC JOS\xC9\xA0 A\xD1O", false, true},
        {"\xEF\xBB\xBF"
         "A\xD1O",
         false, true},
        {"A\xD1O \xEF\xBB\xBF", false},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(pareceUtf8(caso.texto), caso.utf8) << caso.texto;
        for (std::size_t corte = 0; corte <= caso.texto.size(); ++corte) {
            ComprobadorUtf8 comprobador;
            comprobador.anadir(std::string_view(caso.texto).substr(0, corte));
            comprobador.anadir(std::string_view(caso.texto).substr(corte));
            EXPECT_EQ(comprobador.pareceUtf8(), caso.utf8) << caso.texto << " cortado en " << corte;
            comprobador.terminar();
            EXPECT_EQ(comprobador.mezclado(), caso.mezcla) << caso.texto << " cortado en " << corte;
        }
    }
}

// Generated Windows-1252 lists: every Spanish accented letter followed by typographic punctuation, as
// names in quotes, with a no-break space, an ordinal or a euro sign have them. None is taken for a mix.
TEST(Codificacion, ningunaListaWindows1252ConSignosTrasLetrasAcentuadasSeTomaPorUnaMezcla) {
    const std::string letras = "ÁÉÍÓÚÑÜÇÀÈÒáéíóúñüçàèò";
    const std::string signos = "”“’‘»«…–—\xA0ºª€· ";
    for (const char letra : letras) {
        for (const char signo : signos) {
            for (const char otro : signos) {
                const std::string lista =
                    "A\xD1O\r\nJOS" + std::string{letra, signo, otro} + "GARC\xCD" + "A\r\n";
                ComprobadorUtf8 comprobador;
                comprobador.anadir(lista);
                comprobador.terminar();
                EXPECT_FALSE(comprobador.mezclado()) << lista;
                EXPECT_FALSE(comprobador.pareceUtf8()) << lista;
            }
        }
    }
}

// Runs of ASCII, and of Windows-1252 once a text is not UTF-8, are skipped by blocks: a character anywhere
// in a long line must still be seen.
using CodificacionEnCadaBarrido = pruebas::EnCadaBarrido;

TEST_P(CodificacionEnCadaBarrido, veLosCaracteresEnCualquierLugarDeUnaLineaLarga) {
    for (std::size_t lugar = 0; lugar + 2 <= 200; ++lugar) {
        std::string linea(200, 'a');
        linea.replace(lugar, 2, "\xC3\xB1");
        EXPECT_TRUE(pareceUtf8(linea)) << lugar;
        std::string windows1252(200, '\xD1');
        windows1252.replace(lugar, 2, "\xC3\xB1");
        ComprobadorUtf8 mezcla;
        mezcla.anadir(windows1252);
        EXPECT_TRUE(mezcla.mezclado()) << lugar;
        EXPECT_EQ(mezcla.primerMultibyte(), lugar);
        EXPECT_EQ(utf8ACp1252(linea), std::string(lugar, 'a') + "\xF1" + std::string(198 - lugar, 'a'))
            << lugar;
        linea.replace(lugar, 2,
                      "\xF1"
                      "a");
        EXPECT_FALSE(pareceUtf8(linea)) << lugar;
    }
}

INSTANTIATE_TEST_SUITE_P(Barridos, CodificacionEnCadaBarrido, pruebas::kCadaBarrido, pruebas::nombrePrueba);

TEST(Codificacion, muestraLasRutasEnWindows1252) {
    EXPECT_EQ(rutaComoTexto(std::filesystem::path("/tmp/a\xC3\xB1o.txt")), "/tmp/año.txt");
    // A name that is not UTF-8 is shown byte for byte rather than turned into question marks.
    EXPECT_EQ(rutaComoTexto(std::filesystem::path("/tmp/a\xF1o.txt")), "/tmp/a\xF1o.txt");
}

} // namespace
} // namespace trovanel
