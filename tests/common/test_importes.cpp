#include "importes.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trovanel {
namespace {

struct CasoImporte {
    const char* texto;
    const char* marca;
    const char* centimos;
    const char* signo;
};

void comprobar(const CasoImporte& caso) {
    const ImporteNormalizado importe = NormalizarImporte(caso.texto, caso.marca);
    EXPECT_EQ(importe.centimos, caso.centimos) << "'" << caso.texto << "' marca '" << caso.marca << "'";
    EXPECT_EQ(std::string(1, importe.signo), caso.signo)
        << "'" << caso.texto << "' marca '" << caso.marca << "'";
    EXPECT_FALSE(importe.desbordado) << "'" << caso.texto << "'";
    EXPECT_EQ(importe.valor, std::stoll(caso.centimos)) << "'" << caso.texto << "'";
}

TEST(Importes, convierteImportesEscritosDeCualquierFormaEnCentimos) {
    const CasoImporte casos[] = {
        {"1.234,5", "", "000000123450", " "},
        {"-75,129", "-", "000000007512", "-"},
        {"12,50-", "-", "000000001250", "-"},
        {"1500", "-", "000000001500", " "}, // without a comma every digit is cents
        {"3,", "", "000000000300", " "},
        {"0,07", "", "000000000007", " "},
        {"1.234", "", "000000001234", " "},
        {"(100,00)", "(", "000000010000", "-"},
        {"abc", "", "000000000000", " "},
        {"", "", "000000000000", " "},
        {"12,5", "", "000000001250", " "},
        {"7,129", "", "000000000712", " "}, // cut, never rounded
        {"7,999", "", "000000000799", " "},
        {"1234.5", "", "000000012345", " "}, // a dot only joins digits
        {"1.234,56789", "", "000000123456", " "},
        {"1,2,3", "", "000000000012", " "}, // what follows the first comma is decimals, commas too
        {"€ 1.000,00", "", "000000100000", " "},
        {"0,00", "", "000000000000", " "},
    };
    for (const auto& caso : casos) {
        comprobar(caso);
    }
}

TEST(Importes, soloLaPrimeraMarcaNegativaSeQuitaYDecideElSigno) {
    const CasoImporte casos[] = {
        {"-5,00-", "-", "000000000500", "-"}, // the second marker falls among the cut decimals
        {"--5", "-", "000000000005", "-"},
        {"100,00CR", "CR", "000000010000", "-"},
        {"100,00cr", "CR", "000000010000", " "}, // the marker is case-sensitive
        {"12,00 -", " -", "000000001200", "-"},
        {"-12,00", "", "000000001200", " "}, // no marker, no sign
        {"1 500", " ", "000000001500", " "}, // a marker of blanks is cut but never gives "-"
        {"1  500", "  ", "000000001500", " "},
        // The blank left behind by the marker is a decimal like any other character.
        {"1,5 -", "-", "000000000015", "-"},
    };
    for (const auto& caso : casos) {
        comprobar(caso);
    }
}

TEST(Importes, avisaDeUnImporteQueNoCabeEnDoceDigitos) {
    ImporteNormalizado importe = NormalizarImporte("1234567890123,45", "");
    EXPECT_TRUE(importe.desbordado);
    EXPECT_EQ(importe.centimos, "456789012345");
    EXPECT_EQ(importe.signo, ' ');

    importe = NormalizarImporte("10000000000,00", "");
    EXPECT_TRUE(importe.desbordado);
    EXPECT_EQ(importe.centimos, "000000000000");

    // The two decimals a bare comma adds count as digits too.
    importe = NormalizarImporte("12345678901,", "-");
    EXPECT_TRUE(importe.desbordado);
    EXPECT_EQ(importe.centimos, "234567890100");
}

TEST(Importes, losCerosDeRellenoNoDesbordan) {
    const CasoImporte casos[] = {
        {"000000000012550", "", "000000012550", " "},     {"9999999999,99", "", "999999999999", " "},
        {"0000000000000000", "", "000000000000", " "},    {"-00000009999999999,99", "-", "999999999999", "-"},
        {"00000009999999999,", "", "999999999900", " "}, // seventeen digits and the completed decimals
        {"000000009999999999,", "", "999999999900", " "},
    };
    for (const auto& caso : casos) {
        comprobar(caso);
    }
}

} // namespace
} // namespace trovanel
