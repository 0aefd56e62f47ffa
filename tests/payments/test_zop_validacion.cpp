#include "validacion_pagos.hpp"
#include "zop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::campo;
using CasoCampo = pruebas::CasoValidacion<PiezasZOP>;
class ZOPValidacionCampos : public pruebas::ValidacionPagos<PiezasZOP> {};

TEST_P(ZOPValidacionCampos, formateaLaPiezaYAnotaSuError) {
    ModuloZOP modulo(estado, *entorno);
    modulo.iniciarEjecucion();
    // The operation of the earlier fields, unless the template chose one for the run.
    if (modulo.piezas.operacion.empty()) {
        modulo.piezas.operacion = GetParam().clase;
    }
    validar(modulo);
}

using P = PiezasZOP;
constexpr const char* kForma = "Error : La forma de pago es incorrecta";
const std::string kBlancos31(31, ' ');

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, ZOPValidacionCampos, ::testing::Values(
    CasoCampo{"formaTEsTransferencia", "", campo("FormaPago", 1, "C-T-P"), "T", &P::operacion, "56"},
    CasoCampo{"formaCEsCheque", "", campo("FormaPago", 1, "C-T-P"), "C", &P::operacion, "57"},
    CasoCampo{"formaPEsPagoCertificado", "", campo("FormaPago", 1, "C-T-P"), "P", &P::operacion, "59"},
    CasoCampo{"formaEnMinusculaNoEsNinguna", "", campo("FormaPago", 1, "C-T-P"), "t", &P::operacion, "", kForma},
    CasoCampo{"formaConBlancoDelanteNoEsNinguna", "", campo("FormaPago", 1, "C-T-P"), " T", &P::operacion, "", kForma},
    CasoCampo{"formaVaciaNoEsUnChequeSinIdentificador", "", campo("FormaPago", 1, "-T-P"), "", &P::operacion, "", kForma},
    CasoCampo{"formaQueFaltaNoCoincideConNada", "", campo("FormaPago", 1, "C-T"), "", &P::operacion, "", kForma},
    CasoCampo{"formaIncorrectaDejaLaOperacionAnterior", "56", campo("FormaPago", 1, "C-T-P"), "X", &P::operacion, "56", kForma},
    CasoCampo{"formaDelDialogoValeParaCualquierEntrada", "", campo("FormaPago", 1, "Tipo7"), "T", &P::operacion, "57"},
    CasoCampo{"formaDelDialogoPreparaLaOperacion", "", campo("FormaPago", 0, "Tipo9"), "Tipo9", &P::operacion, "59"},
    CasoCampo{"formaSinIdentificadoresNoSeDetermina", "", campo("FormaPago", 1, ""), "T", &P::operacion, "", "Error : No se puede determinar la forma de pago"},
    CasoCampo{"claveSinSuGuion", "", campo("ClaveProveedor"), "B-12345678", &P::claveProveedor, "B12345678 "},
    CasoCampo{"claveCortaConBlancos", "", campo("ClaveProveedor"), " A12 ", &P::claveProveedor, "A12       "},
    CasoCampo{"claveSeCortaAntesDeQuitarElGuion", "", campo("ClaveProveedor"), "ABCDEFGHI-JK", &P::claveProveedor, "ABCDEFGHI "},
    CasoCampo{"claveDeLaPlantillaSinSitio", "", campo("ClaveProveedor", 0, "X-1"), "", &P::claveProveedor, "X1        "},
    CasoCampo{"cpConCeroDelante", "", campo("CP"), "8001", &P::cp, "08001"},
    CasoCampo{"cpDaSuProvincia", "", campo("CP"), "08001", &P::provincia, "BARCELONA" + std::string(22, ' ')},
    CasoCampo{"cpSinProvinciaEsErroneo", "", campo("CP"), "99001", &P::provincia, kBlancos31, "Error : CP erroneo"},
    CasoCampo{"cpVacioDeUnaTablaSinColumnaNoSeToca", "", campo("CP", 0), "", &P::cp, "     "},
    CasoCampo{"cuentaCeroDeUnaTransferencia", "56", campo("Cuenta"), "0", &P::cuenta, "0000000000", "Error : Número de cuenta erroneo"},
    CasoCampo{"cuentaCeroDeUnCheque", "57", campo("Cuenta"), "0", &P::cuenta, "0000000000"},
    CasoCampo{"entidadCeroDeUnaTransferencia", "56", campo("Entidad"), "", &P::entidad, "0000", "Error : Número de entidad erroneo"},
    CasoCampo{"oficinaYDcSoloSeRellenan", "56", campo("DC"), "5", &P::dc, "05"},
    CasoCampo{"importeConMilesYDecimales", "", campo("Importe"), "1.234,56", nullptr, "000000123456"},
    CasoCampo{"importeCero", "", campo("Importe"), "0,00", nullptr, "000000000000", "Error : Importe incorrecto"},
    CasoCampo{"importeDe32Bits", "", campo("Importe"), "21474836,47", nullptr, "002147483647"},
    CasoCampo{"importeMasAllaDe32Bits", "", campo("Importe"), "21474836,48", nullptr, "002147483648", "Error : Importe incorrecto"},
    CasoCampo{"importeMasAnchoQueSuRegistro", "", campo("Importe"), "12345678901234", nullptr, "345678901234", "Error : Importe incorrecto"},
    CasoCampo{"importeConSuMarcaNegativa", "", campo("Importe", 1, "-"), "-12,50", nullptr, "000000001250", nullptr, "-", "", true},
    CasoCampo{"signoPorSuMarca", "", campo("SignoNegativo", 1, "N"), "N", nullptr, "", nullptr, "-"},
    CasoCampo{"vtoDDMMAAAA", "", campo("FechaVto", 1, "DD/MM/AAAA"), "25/12/2026", &P::fechaVto, "261225"},
    CasoCampo{"vtoAAAAMMDD", "", campo("FechaVto", 1, "AAAA/MM/DD"), "2026/12/25", &P::fechaVto, "261225"},
    CasoCampo{"vtoDDMMAA", "", campo("FechaVto", 1, "DDMMAA"), "251226", &P::fechaVto, "261225"},
    CasoCampo{"vtoConDiaSinCero", "", campo("FechaVto", 1, "DD/MM/AA"), " 5/12/26", &P::fechaVto, "261205"},
    CasoCampo{"vtoObligatorioImposible", "", campo("FechaVto", 1, "DD/MM/AAAA", true), "31/02/2026", &P::fechaVto, "260231", "Error : Fecha de vto incorrecta"},
    CasoCampo{"vtoObligatorioDelDialogo", "", campo("FechaVto", 1, "DD/MM/AAAA", true), "31/02/2026", &P::fechaVto, "270115", nullptr, " ", "270115"},
    CasoCampo{"telefonoDeNueveCifras", "", campo("Telefono"), "912345678", &P::telefono, "912345678 "},
    CasoCampo{"telefonoDeOnceCifrasSeCortaADiez", "", campo("Telefono"), "91234567890", &P::telefono, "9123456789"},
    CasoCampo{"telefonoQueNoEsNumero", "", campo("Telefono"), "abc", &P::telefono, "0000000000"},
    CasoCampo{"faxQueNoEsNumero", "", campo("Fax"), "abc", &P::fax, "000000000 "},
    CasoCampo{"faxDeDiezCifrasPierdeLaUltima", "", campo("Fax"), "9345678901", &P::fax, "934567890 "},
    CasoCampo{"numeroDeCalleLargoQuedaEnBlanco", "", campo("NumeroCalle"), "123456", &P::numeroCalle, "     "},
    CasoCampo{"paisLargoQuedaEnBlanco", "", campo("Pais"), "ESP", &P::pais, "  "},
    CasoCampo{"referenciaLargaQuedaEnBlanco", "", campo("ReferenciaInterna"), "REFERENCIA-LARGA", &P::referenciaInterna, std::string(14, ' ')},
    CasoCampo{"direccionLargaSeCorta", "", campo("Direccion"), std::string(40, 'D'), &P::direccion, std::string(31, 'D')},
    CasoCampo{"emailConMayusculaSeIgnora", "", campo("Email"), "a@b.es", &P::email, ""}),
    [](const auto& info) { return std::string(info.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
