#include "csb34.hpp"
#include "validacion_pagos.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::campo;

CampoEstructura obligatorio(std::string nombre, std::string valorcampo = "") {
    return campo(std::move(nombre), 1, std::move(valorcampo), true);
}

using CasoCampo = pruebas::CasoValidacion<PiezasCSB34>;
class CSB34ValidacionCampos : public pruebas::ValidacionPagos<PiezasCSB34> {};

TEST_P(CSB34ValidacionCampos, formateaLaPiezaYAnotaSuError) {
    ModuloCSB34 modulo(estado, *entorno, GetParam().clase);
    modulo.iniciarEjecucion();
    validar(modulo);
}

using P = PiezasCSB34;
constexpr const char* kCuenta = "Error : Cuenta incorrecta";
constexpr const char* kVto = "Error : Fecha de vto incorrecta";
constexpr const char* kDC = "Error : DC incorrecto";

// clang-format off
const std::vector<CasoCampo> kCasos{
    {"claveDeLaPlantillaSustituyeALaLeida", "CSB34C", campo("ClaveBeneficiario", 1, "FIJA"), "X", &P::claveBeneficiario, "FIJA        "},
    {"claveEnBlancoSeRechaza", "CSB34T", campo("ClaveBeneficiario"), "  ", &P::claveBeneficiario, std::string(12, ' '), "Error : No hay clave de beneficiario"},
    {"importeConLaMarcaDentroEsNegativo", "CSB34T", campo("Importe", 1, "-"), "-12,50", nullptr, "000000001250", nullptr, "-", "", true},
    {"importeEnBlancoSeRechaza", "CSB34T", campo("Importe"), "", nullptr, "000000000000", "Error : Importe incorrecto"},
    {"importeDeMasDe32BitsSeAcepta", "CSB34T", campo("Importe"), "30000000,00", nullptr, "003000000000"},
    {"signoConSuMarcaEsNegativo", "CSB34T", campo("SignoNegativo", 1, "N"), "N", nullptr, "", nullptr, "-"},
    {"signoSinMarcaNuncaEsNegativo", "CSB34T", campo("SignoNegativo", 1, ""), "", nullptr, "", nullptr, " "},
    {"entidadCortaSeRellenaConCeros", "CSB34T", obligatorio("Entidad"), "21  ", &P::entidad, "0021"},
    {"entidadQueNoEsNumeroSeRechaza", "CSB34T", obligatorio("Entidad"), "AB12", &P::entidad, "AB12", "Error : Entidad incorrecta"},
    {"oficinaDeLaPlantillaSeRellena", "CSB34T", obligatorio("Oficina", "418"), "", &P::oficina, "0418"},
    {"dcEnBlancoDeChequeSeAcepta", "CSB34C", obligatorio("DC"), "", &P::dc, "  "},
    {"dcEnBlancoDeTransferenciaSeRechaza", "CSB34T", obligatorio("DC"), " ", &P::dc, "  ", kDC},
    {"dcEnBlancoNoObligatorioSeAcepta", "CSB34T", campo("DC"), "", &P::dc, "  "},
    {"dcDeUnaCifraSeRechaza", "CSB34T", campo("DC"), "5", &P::dc, "5 ", kDC},
    {"dcConLetrasDeChequeSeRechaza", "CSB34C", campo("DC"), "AB", &P::dc, "AB", kDC},
    {"dcAsteriscosSeRechazan", "CSB34T", obligatorio("DC"), "**", &P::dc, "**", kDC},
    {"cuentaCortaSeRellenaConCeros", "CSB34T", obligatorio("Cuenta"), " 1234 ", &P::cuenta, "0000001234"},
    {"cuentaEnBlancoSeRechaza", "CSB34T", obligatorio("Cuenta"), "   ", &P::cuenta, "0000000000", kCuenta},
    {"cuentaQueNoEsNumeroSeRechaza", "CSB34N", obligatorio("Cuenta"), "12AB", &P::cuenta, "00000012AB", kCuenta},
    {"gastosDeLaPlantillaSeCortanAUnaCifra", "CSB34C", campo("Gastos", 0, "21"), "21", &P::gastos, "2"},
    {"gastosSinValorNoTocanLosDeLaNomina", "CSB34N", campo("Gastos", 0), "", &P::gastos, "1"},
    {"vencimientoConBarrasRellenaDiaYMes", "CSB34P", obligatorio("FechaVto", "DD/MM/AAAA"), " 5/ 3/2026", &P::fechaVto, "050326"},
    {"vencimientoAAMMDD", "CSB34P", obligatorio("FechaVto", "AAMMDD"), "260305", &P::fechaVto, "050326"},
    {"vencimientoConBarrasEnFormatoDDMMAASeRechaza", "CSB34P", obligatorio("FechaVto", "DDMMAA"), "05/03/26", &P::fechaVto, "05/03/26", kVto},
    {"vencimientoTecleadoSustituyeAlLeido", "CSB34P", obligatorio("FechaVto", "AAAAMMDD"), "20260305", &P::fechaVto, "010426", nullptr, " ", "010426"},
    {"vencimientoNoColocadoQuedaVacio", "CSB34T", campo("FechaVto", 0, "AAAAMMDD"), "AAAAMMDD", &P::fechaVto, ""},
    {"plazaDeLaPlantillaSustituyeALaLeidaEnCheques", "CSB34C", campo("PlazaBeneficiario", 1, "SORIA"), "X", &P::plaza, "SORIA"},
    {"identificacionSeCortaA18", "CSB34T", campo("IdentificacionBeneficiario"), std::string(20, '9'), &P::dni, std::string(18, '9')},
    {"numeroDeFacturaObligatorioEnBlancoSeRechaza", "PAGOSC", obligatorio("NumeroFactura"), "", &P::ref16, std::string(16, ' '), "Error : No se ha especificado número de factura"},
    {"claveConBlancosAlrededorSeRecorta", "CSB34T", campo("ClaveBeneficiario"), "  B-1   ", &P::claveBeneficiario, "B-1         "},
    {"claveSinGuionConBlancosAlrededor", "PAGOSC", campo("ClaveBeneficiario"), " -B1 ", &P::claveBeneficiario, "B1          "},
    {"claveSinGuionQueSoloEsElGuionSeRechaza", "PAGOSC", campo("ClaveBeneficiario"), " - ", &P::claveBeneficiario, std::string(12, ' '), "Error : No hay clave de beneficiario"},
    {"nombreEnBlancoSeRechaza", "CSB34T", campo("NombreBeneficiario"), "    ", &P::nombre, std::string(36, ' '), "Error : Falta nombre de Beneficiario"},
    {"nombreLargoConBlancosSeCortaA36", "CSB34T", campo("NombreBeneficiario"), " " + std::string(40, 'N') + " ", &P::nombre, std::string(36, 'N')},
    {"plazaConBlancosAlrededorSeRecorta", "CSB34C", campo("PlazaBeneficiario"), "  SORIA  ", &P::plaza, "SORIA"},
    {"referenciaConBlancosAlrededor", "CSB34T", campo("Ref16"), " R1  ", &P::ref16, "R1" + std::string(14, ' ')},
    {"nombreDeCampoConOtrasMayusculasNoHaceNada", "CSB34T", campo("email"), "a@b.es", &P::email, ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Tabla, CSB34ValidacionCampos, ::testing::ValuesIn(kCasos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

} // namespace
} // namespace trovanel
