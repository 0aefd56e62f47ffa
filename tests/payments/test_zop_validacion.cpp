#include "validacion_pagos.hpp"
#include "zop.hpp"

#include <gtest/gtest.h>

#include <string>

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

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, ZOPValidacionCampos, ::testing::Values(
    CasoCampo{"formaEnMinusculaNoEsNinguna", "", campo("FormaPago", 1, "C-T-P"), "t", &P::operacion, "", kForma},
    CasoCampo{"formaVaciaNoEsUnChequeSinIdentificador", "", campo("FormaPago", 1, "-T-P"), "", &P::operacion, "", kForma},
    CasoCampo{"formaQueFaltaNoCoincideConNada", "", campo("FormaPago", 1, "C-T"), "", &P::operacion, "", kForma},
    CasoCampo{"formaDelDialogoValeParaCualquierEntrada", "", campo("FormaPago", 1, "Tipo7"), "T", &P::operacion, "57"},
    CasoCampo{"formaSinIdentificadoresNoSeDetermina", "", campo("FormaPago", 1, ""), "T", &P::operacion, "", "Error : No se puede determinar la forma de pago"},
    CasoCampo{"claveSeCortaAntesDeQuitarElGuion", "", campo("ClaveProveedor"), "ABCDEFGHI-JK", &P::claveProveedor, "ABCDEFGHI "},
    CasoCampo{"claveDeLaPlantillaSinSitio", "", campo("ClaveProveedor", 0, "X-1"), "", &P::claveProveedor, "X1        "},
    CasoCampo{"dcDeUnaCifraSeRellenaConCeros", "", campo("DC"), "5 ", &P::dc, "05"},
    CasoCampo{"dcEnBlancoSonCeros", "", campo("DC"), "  ", &P::dc, "00"},
    CasoCampo{"dcConLetrasSeRechaza", "", campo("DC"), "AB", &P::dc, "AB", "Error : DC incorrecto"},
    CasoCampo{"dcAsteriscosSeRechazan", "", campo("DC"), "**", &P::dc, "**", "Error : DC incorrecto"},
    CasoCampo{"cpVacioDeUnaTablaSinColumnaNoSeToca", "", campo("CP", 0), "", &P::cp, "     "},
    CasoCampo{"importeDe32Bits", "", campo("Importe"), "21474836,47", nullptr, "002147483647"},
    CasoCampo{"importeMasAnchoQueSuRegistro", "", campo("Importe"), "12345678901234", nullptr, "345678901234", "Error : Importe incorrecto"},
    CasoCampo{"vtoAAAAMMDD", "", campo("FechaVto", 1, "AAAA/MM/DD"), "2026/12/25", &P::fechaVto, "261225"},
    CasoCampo{"vtoConDiaSinCero", "", campo("FechaVto", 1, "DD/MM/AA"), " 5/12/26", &P::fechaVto, "261205"},
    CasoCampo{"vtoObligatorioImposible", "", campo("FechaVto", 1, "DD/MM/AAAA", true), "31/02/2026", &P::fechaVto, "260231", "Error : Fecha de vto incorrecta"},
    CasoCampo{"vtoObligatorioDelDialogo", "", campo("FechaVto", 1, "DD/MM/AAAA", true), "31/02/2026", &P::fechaVto, "270115", nullptr, " ", "270115"},
    CasoCampo{"vtoDDMMAASoloSeDaLaVuelta", "", campo("FechaVto", 1, "DDMMAA"), "251226", &P::fechaVto, "261225"},
    CasoCampo{"vtoEnFormatoQueNoLeeQuedaComoSeLee", "", campo("FechaVto", 1, "AAMMDD"), "261225 ", &P::fechaVto, "261225 "},
    CasoCampo{"telefonoLargoSeCortaEnDiez", "", campo("Telefono"), "1234567890123", &P::telefono, "1234567890"},
    CasoCampo{"telefonoCortoConCerosYBlanco", "", campo("Telefono"), " 12345 ", &P::telefono, "000012345 "},
    CasoCampo{"telefonoQueNoEsNumeroSonCeros", "", campo("Telefono"), "12-345", &P::telefono, "0000000000"},
    CasoCampo{"faxLargoSeCortaEnNueve", "", campo("Fax"), "1234567890123", &P::fax, "123456789 "},
    CasoCampo{"faxQueNoEsNumeroSonCeros", "", campo("Fax"), "abc", &P::fax, "000000000 "},
    CasoCampo{"emailConMayusculaSeIgnora", "", campo("Email"), "a@b.es", &P::email, ""}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
