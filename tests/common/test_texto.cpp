#include "barridos.hpp"
#include "texto.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace trovanel {
namespace {

constexpr std::int64_t kEnorme = std::numeric_limits<std::int64_t>::max();

struct CasoTrozo {
    const char* descripcion;
    std::string obtenido;
    std::string esperado;
};

// Template positions come from user input, so every cut must stay inside the text whatever the numbers.
TEST(Texto, cortaPorPosicionesSinSalirseDelTexto) {
    const CasoTrozo casos[] = {
        {"trozo interior", Mid("ABCDE", 2, 3), "BCD"},
        {"trozo que pasa del final", Mid("ABCDE", 4, 10), "DE"},
        {"ultimo caracter", Mid("ABCDE", 5, 1), "E"},
        {"posicion tras el final", Mid("ABCDE", 6, 1), ""},
        {"posicion cero", Mid("ABCDE", 0, 2), ""},
        {"posicion negativa", Mid("ABCDE", -1, 2), ""},
        {"longitud cero", Mid("ABCDE", 2, 0), ""},
        {"longitud negativa", Mid("ABCDE", 2, -1), ""},
        {"longitud enorme", Mid("ABCDE", 2, kEnorme), "BCDE"},
        {"posicion enorme", Mid("ABCDE", kEnorme, 1), ""},
        {"texto vacio", Mid("", 1, 1), ""},
        {"hasta el final", Mid("ABCDE", 3), "CDE"},
        {"hasta el final desde fuera", Mid("ABCDE", 6), ""},
        {"cada letra acentuada es un caracter", Mid("añoñú", 2, 3), "ñoñ"},
        {"izquierda", Left("ABC", 2), "AB"},
        {"izquierda mas larga", Left("ABC", 5), "ABC"},
        {"izquierda cero", Left("ABC", 0), ""},
        {"izquierda negativa", Left("ABC", -1), ""},
        {"derecha", Right("ABC", 2), "BC"},
        {"derecha mas larga", Right("ABC", kEnorme), "ABC"},
        {"derecha cero", Right("ABC", 0), ""},
        {"derecha negativa", Right("ABC", -3), ""},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(caso.obtenido, caso.esperado) << caso.descripcion;
    }
}

TEST(Texto, recortaSoloBlancos) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("     "), "");
    EXPECT_EQ(Trim(""), "");
    // Tabs and the non-breaking space are data, not padding.
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim(" \t "), "\t");
    EXPECT_TRUE(enBlanco("   "));
    EXPECT_TRUE(enBlanco(""));
    EXPECT_FALSE(enBlanco(" \t "));
    EXPECT_EQ(Trim("\xA0"
                   "a "),
              "\xA0"
              "a");
}

// Long padding is skipped in runs: the text kept is the same whatever its place and the blanks around it.
TEST(Texto, recortaRellenosLargosEnCualquierPosicion) {
    for (std::size_t antes = 0; antes < 20; ++antes) {
        for (std::size_t despues = 0; despues < 20; ++despues) {
            for (const std::string dato : {"", "x", "a b", "\t", "ABCDEFGHIJ KLMNOPQ"}) {
                const std::string texto = std::string(antes, ' ') + dato + std::string(despues, ' ');
                EXPECT_EQ(recortar(texto), dato) << '"' << texto << '"';
            }
        }
    }
}

using TextoEnCadaBarrido = pruebas::EnCadaBarrido;

// Every byte at every place of texts of 27 characters (a block of 16, a word of 8 and 3 more), of 150 (two
// runs of 64, a block of 16 and the last 16 again; or a run of 128 and the last 32) and of 200 (a run of 128,
// two blocks of 32 and the last 32 again): only 0x00 to 0x1F and 0x7F are control characters, whatever
// surrounds them.
TEST_P(TextoEnCadaBarrido, hallaCaracteresDeControlEnCualquierPosicion) {
    for (const std::size_t largo : {27, 150, 200}) {
        for (const char relleno : {'a', ' ', '\x80', '\xFF', '\x7E', '\x20'}) {
            EXPECT_FALSE(hayCaracterControl(std::string(largo, relleno))) << static_cast<int>(relleno);
            for (int byte = 0; byte < 256; ++byte) {
                for (std::size_t posicion = 0; posicion < largo; ++posicion) {
                    std::string texto(largo, relleno);
                    texto[posicion] = static_cast<char>(byte);
                    EXPECT_EQ(hayCaracterControl(texto), esCaracterControl(static_cast<char>(byte)))
                        << byte << " en " << posicion << " de " << largo;
                }
            }
        }
    }
    EXPECT_FALSE(hayCaracterControl(""));
}

// The first control character's place cuts the line there: for every length up to 300 (every run of 128,
// 64, 32, 16 and 8 and every rest after them) and every place, with a second one after it and printable
// characters or those above 0x7F before it, the place is the one a plain scan finds. The texts start at
// every alignment, between control characters that are not theirs.
TEST_P(TextoEnCadaBarrido, hallaElLugarDelPrimerCaracterDeControl) {
    const auto escaneoSimple = [](std::string_view texto) {
        std::size_t i = 0;
        while (i < texto.size() && !esCaracterControl(texto[i])) {
            ++i;
        }
        return i;
    };
    constexpr char kControles[] = {'\0', '\t', '\r', '\n', '\x1F', '\x7F'};
    constexpr std::string_view kImprimibles = "a \x7E\x80\xFF\x20";
    for (std::size_t largo = 0; largo <= 300; ++largo) {
        for (std::size_t lugar = 0; lugar <= largo; ++lugar) {
            std::string memoria(largo + 64, '\0');
            const std::size_t desde = (largo * 7 + lugar) % 32;
            char* texto = memoria.data() + desde;
            for (std::size_t i = 0; i < largo; ++i) {
                texto[i] = kImprimibles[i % kImprimibles.size()];
            }
            // lugar == largo: none.
            if (lugar < largo) {
                texto[lugar] = kControles[lugar % std::size(kControles)];
                texto[largo - 1] = kControles[(lugar + 1) % std::size(kControles)];
            }
            const std::string_view vista(texto, largo);
            ASSERT_EQ(escaneoSimple(vista), lugar);
            EXPECT_EQ(primerControl(vista), lugar) << lugar << " de " << largo << " desde " << desde;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Barridos, TextoEnCadaBarrido, pruebas::kCadaBarrido, pruebas::nombrePrueba);

TEST(Texto, rellenaConBlancosOCortaAlAncho) {
    EXPECT_EQ(rellenarBlancos("ABC", 5), "ABC  ");
    EXPECT_EQ(rellenarBlancos("ABCDEF", 4), "ABCD");
    EXPECT_EQ(rellenarBlancos("", 3), "   ");
    EXPECT_EQ(rellenarBlancos("AB", 0), "");
    EXPECT_EQ(rellenarBlancos("Ñandú", 6), "Ñandú ");
}

TEST(Texto, rellenaConCerosSinCortarNuncaLaCifra) {
    EXPECT_EQ(rellenarCeros("12", 5), "00012");
    EXPECT_EQ(rellenarCeros("12345", 5), "12345");
    EXPECT_EQ(rellenarCeros("123456", 4), "123456");
    EXPECT_EQ(rellenarCeros("", 3), "000");
}

// A number as the validators read one: blanks around a sign, digits and one separator. Every byte at every
// place of 17 digits (two words of eight and one more), and of the shorter runs tested in two words that
// may overlap, is a digit, the one separator, a sign at the start or a blank at either end, or the text is
// no number. A text of only digits is what an account code may be.
TEST(Texto, reconoceNumerosConSignoYUnSeparadorYTextosDeSoloDigitos) {
    struct Caso {
        const char* texto;
        bool numerico;
        bool digitos;
    };
    // Superscript two is a digit for some locales, never for an account code.
    for (const Caso& caso :
         {Caso{"0123456789", true, true}, Caso{"", false, false}, Caso{"12 ", true, false},
          Caso{"-1", true, false}, Caso{"1²", false, false}, Caso{" +12345678,90 ", true, false},
          Caso{"-1.5", true, false}, Caso{" , ", false, false}, Caso{"1,2,3", false, false},
          Caso{"1234 5678", false, false}}) {
        EXPECT_EQ(esNumerico(caso.texto), caso.numerico) << caso.texto;
        EXPECT_EQ(soloDigitos(caso.texto), caso.digitos) << caso.texto;
    }
    EXPECT_TRUE(esValorCero("  00000000,00"));
    for (const std::size_t largo : {4, 5, 7, 8, 10, 16, 17}) {
        for (std::size_t posicion = 0; posicion < largo; ++posicion) {
            for (int byte = 0; byte < 256; ++byte) {
                std::string texto(largo, '7');
                const auto c = static_cast<char>(byte);
                texto[posicion] = c;
                const bool esperado = esDigito(c) || c == ',' || c == '.' ||
                                      ((c == '+' || c == '-') && posicion == 0) ||
                                      (c == ' ' && (posicion == 0 || posicion == largo - 1));
                EXPECT_EQ(esNumerico(texto), esperado) << byte << " en " << posicion << " de " << largo;
                EXPECT_EQ(soloDigitos(texto), esDigito(c)) << byte << " en " << posicion << " de " << largo;
            }
        }
    }
}

TEST(Texto, leeEnterosConBlancosYSigno) {
    EXPECT_EQ(leerEntero(" 12 "), 12);
    EXPECT_EQ(leerEntero("-3"), -3);
    EXPECT_EQ(leerEntero("+7"), 7);
    EXPECT_EQ(leerEntero("007"), 7);
    EXPECT_EQ(leerEntero("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
}

TEST(Texto, rechazaEnterosMalEscritos) {
    for (const char* texto : {"abc", "1.5", "", "   ", "12x", "x12", "-", "+", "1 2", "- 3", "\t12", "1,0",
                              "99999999999999999999"}) {
        EXPECT_FALSE(leerEntero(texto).has_value()) << "'" << texto << "'";
    }
}

TEST(Texto, losNombresSeComparanSinMayusculasSoloEnLetrasAscii) {
    EXPECT_TRUE(igualesSinMayusculas("Importe", "IMPORTE"));
    EXPECT_TRUE(igualesSinMayusculas("", ""));
    EXPECT_FALSE(igualesSinMayusculas("Importe", "Importes"));
    // Whatever the machine's locale: bytes outside ASCII compare as they are.
    EXPECT_FALSE(igualesSinMayusculas("A\xF1o", "A\xD1O"));
    EXPECT_TRUE(igualesSinMayusculas("A\xF1o", "a\xF1O"));
    EXPECT_EQ(minusculasAscii(".SQLite3 \xC1"), ".sqlite3 \xC1");
}

} // namespace
} // namespace trovanel
