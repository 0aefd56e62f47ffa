#include "cuenta_bancaria.hpp"

#include <gtest/gtest.h>

namespace trovanel {
namespace {

struct CasoCuenta {
    const char* entidad;
    const char* oficina;
    const char* cuenta;
    const char* dc;
};

std::ostream& operator<<(std::ostream& os, const CasoCuenta& caso) {
    return os << "'" << caso.entidad << "' '" << caso.oficina << "' '" << caso.cuenta << "'";
}

class DigitosControl : public testing::TestWithParam<CasoCuenta> {};

TEST_P(DigitosControl, calculaLosDigitosDeControlDeLaCuenta) {
    const CasoCuenta& caso = GetParam();
    EXPECT_EQ(CalcularDC(caso.entidad, caso.oficina, caso.cuenta), caso.dc);
}

// Accounts whose check digits are known, each worked out by hand with the weights 4 8 5 10 9 7 3 6 and
// 1 2 4 8 5 10 9 7 3 6.
INSTANTIATE_TEST_SUITE_P(CuentasReales, DigitosControl,
                         testing::Values(CasoCuenta{"0072", "0101", "0000122351", "93"},
                                         CasoCuenta{"1234", "1234", "1234567890", "16"},
                                         CasoCuenta{"2095", "0497", "9107088631", "91"}, // 10 -> 1
                                         CasoCuenta{"0075", "0078", "0500050355", "06"}, // 11 -> 0
                                         CasoCuenta{"1234", "5678", "0123456789", "01"},
                                         CasoCuenta{"0000", "0000", "0000000000", "00"}));

// S1 = 12 and S2 = 1 give 10 on both sides; S1 = 12 and S2 = 11 give 10 and 11.
INSTANTIATE_TEST_SUITE_P(DiezYOnce, DigitosControl,
                         testing::Values(CasoCuenta{"3000", "0000", "1000000000", "11"},
                                         CasoCuenta{"3000", "0000", "0000100001", "10"}));

// Only the first 4, 4 and 10 characters are read: what follows them, digit or not, is ignored.
INSTANTIATE_TEST_SUITE_P(CaracteresSobrantes, DigitosControl,
                         testing::Values(CasoCuenta{"00720", "01019", "00001223519", "93"},
                                         CasoCuenta{"0072X", "0101 ", "0000122351 abc", "93"}));

// A missing character or anything but 0-9 among the 18 read gives "**" instead of digits.
INSTANTIATE_TEST_SUITE_P(CuentasIlegibles, DigitosControl,
                         testing::Values(CasoCuenta{"0072", "010", "0000122351", "**"},
                                         CasoCuenta{"007", "0101", "0000122351", "**"},
                                         CasoCuenta{"0072", "0101", "000012235", "**"},
                                         CasoCuenta{"", "", "", "**"},
                                         CasoCuenta{"0072", " 101", "0000122351", "**"},
                                         CasoCuenta{"0072", "0101", "000012235 ", "**"},
                                         CasoCuenta{"0O72", "0101", "0000122351", "**"},
                                         CasoCuenta{"0072", "0101", "00001223S1", "**"},
                                         CasoCuenta{"-072", "0101", "0000122351", "**"},
                                         CasoCuenta{"007²", "0101", "0000122351", "**"}));

} // namespace
} // namespace trovanel
