#include "base_datos.hpp"
#include "conversores.hpp"
#include "csb58.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

std::string relleno(std::string texto, std::size_t ancho) {
    texto.resize(ancho, ' ');
    return texto;
}

CampoEstructura campo(std::string nombre, std::int64_t inicio = 0, std::int64_t fin = 0,
                      std::string defecto = "", bool obligatorio = false) {
    CampoEstructura c;
    c.campo = std::move(nombre);
    c.inicio = inicio;
    c.fin = fin;
    c.valorcampo = std::move(defecto);
    c.obligatorio = obligatorio;
    return c;
}

CampoEstructura fecha(std::string formato, bool obligatorio = true) {
    return campo("FechaVto", 1, 10, std::move(formato), obligatorio);
}

struct CasoCampo {
    const char* nombre;
    CampoEstructura campo;
    std::string valor;
    std::string PiezasCSB58::*pieza; // nullptr: not checked
    std::string esperado = "";
    const char* error = nullptr; // nullptr: accepted
    std::string fechaDatos = ""; // the date typed in the missing-data dialog
};

class CSB58ValidacionCampos : public ::testing::TestWithParam<CasoCampo> {
protected:
    pruebas::CarpetaTemporal carpeta;
    BaseDatos baseDatos = BaseDatos::abrir(carpeta / "vacia.db", BaseDatos::Modo::Creacion);
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    Entorno entorno{baseDatos, avisos, reloj, carpeta.ruta()};
    EstadoEjecucion estado;
};

TEST_P(CSB58ValidacionCampos, formateaLaPiezaYAnotaSuError) {
    const CasoCampo& caso = GetParam();
    estado.gCamposEstructura = {caso.campo};
    estado.gFechaDatos = caso.fechaDatos;
    ModuloCSB58 modulo(estado, entorno);
    modulo.iniciarEjecucion();
    modulo.lectura.gLineaEntrada = 7;
    std::string valor = caso.valor;
    modulo.validarPieza(valor);

    if (caso.pieza != nullptr) {
        EXPECT_EQ(modulo.piezas.*caso.pieza, caso.esperado);
    }
    EXPECT_EQ(estado.gErrores,
              caso.error ? std::vector<std::string>{caso.error} : std::vector<std::string>{});
    EXPECT_EQ(modulo.lectura.gRegistroConError, caso.error != nullptr);
}

constexpr const char* kFecha = "Error : Fecha de vto incorrecta";
constexpr const char* kImporte = "Error : Importe incorrecto";

// clang-format off
const std::vector<CasoCampo> kCasos{
    {"referenciaSeRellenaA12", campo("CodigoReferencia", 1, 12), "REF-1", &PiezasCSB58::codigoReferencia, relleno("REF-1", 12)},
    {"referenciaEnBlancoTomaElDefecto", campo("CodigoReferencia", 1, 12, "DEF"), " ", &PiezasCSB58::codigoReferencia, relleno("DEF", 12)},
    {"referenciaEnBlancoEsError", campo("CodigoReferencia", 1, 12), " ", &PiezasCSB58::codigoReferencia, relleno("", 12), "Error : No tiene código de referencia"},
    {"titularEnBlancoTomaElDefecto", campo("NombreTitular", 1, 40, "ANÓNIMO"), "", &PiezasCSB58::nombreTitular, relleno("ANÓNIMO", 40)},
    {"titularLargoSeCortaA40", campo("NombreTitular", 1, 45), std::string(45, 'N'), &PiezasCSB58::nombreTitular, std::string(40, 'N')},
    {"titularEnBlancoEsError", campo("NombreTitular", 1, 40), " ", &PiezasCSB58::nombreTitular, relleno("", 40), "Error : No hay nombre de titular"},
    {"entidadSeRellenaConCeros", campo("Entidad", 1, 4), "12", &PiezasCSB58::entidad, "0012"},
    {"entidadConLetrasEsCerosSinError", campo("Entidad", 1, 4), "AB12", &PiezasCSB58::entidad, "0000"},
    {"entidadCeroEsCerosSinError", campo("Entidad", 1, 4), "0", &PiezasCSB58::entidad, "0000"},
    {"oficinaEnBlancoEsCerosSinError", campo("Oficina", 1, 4), "    ", &PiezasCSB58::oficina, "0000"},
    {"dcDeUnaCifraEsError", campo("DC", 1, 2), "5", &PiezasCSB58::dc, "5 ", "Error : DC incorrecto"},
    {"dcConLetrasEsError", campo("DC", 1, 2), "AB", &PiezasCSB58::dc, "AB", "Error : DC incorrecto"},
    {"dcEnBlancoSinError", campo("DC", 1, 2), "  ", &PiezasCSB58::dc, "  "},
    {"dcAsteriscosSeQuedan", campo("DC", 1, 2), "**", &PiezasCSB58::dc, "**"},
    {"cuentaSeRellenaConCeros", campo("Cuenta", 1, 10), "123", &PiezasCSB58::cuenta, "0000000123"},
    {"cuentaDeCerosSinErrorAqui", campo("Cuenta", 1, 10), "0000000000", &PiezasCSB58::cuenta, "0000000000"},
    {"cuentaLargaSeCortaA10", campo("Cuenta", 1, 12), "123456789012", &PiezasCSB58::cuenta, "1234567890"},
    {"importeConUnDecimal", campo("Importe", 1, 12), "12,5", &PiezasCSB58::importe, "0000001250"},
    {"importeConSignoNoLoMarca", campo("Importe", 1, 12), "-12,5", &PiezasCSB58::importe, "0000001250"},
    {"importeCeroEsError", campo("Importe", 1, 12), "0,00", &PiezasCSB58::importe, "0000000000", kImporte},
    {"importeVacioEsError", campo("Importe", 1, 12), "", &PiezasCSB58::importe, "0000000000", kImporte},
    {"importeDeOnceCifrasEsError", campo("Importe", 1, 12), "100000000,00", nullptr, "", kImporte},
    {"devolucionSeRellenaA6", campo("CodigoDevolucion", 1, 6), "AB", &PiezasCSB58::codigoDevolucion, relleno("AB", 6)},
    {"referenciaInternaSeRellenaA10", campo("ReferenciaInterna", 1, 10), "R1", &PiezasCSB58::referenciaInterna, relleno("R1", 10)},
    {"concepto1SeRellenaA40", campo("Concepto1", 1, 40), " CUOTA", &PiezasCSB58::concepto1, relleno("CUOTA", 40)},
    {"domicilioSeRellenaA40", campo("DomicilioDeudor", 1, 40), "CALLE", &PiezasCSB58::domicilioDeudor, relleno("CALLE", 40)},
    {"localidadDeudorSeRellenaA35", campo("LocalidadDeudor", 1, 40), std::string(40, 'L'), &PiezasCSB58::localidadDeudor, std::string(35, 'L')},
    {"localidadOrdenanteSeRellenaA38", campo("LocalidadOrdenante"), "ALCOY", &PiezasCSB58::localidadOrdenante, relleno("ALCOY", 38)},
    {"cpDeCuatroCifrasLlevaCero", campo("CPDeudor", 1, 5), "8001", &PiezasCSB58::cpDeudor, "08001"},
    {"cpLargoTomaLosCincoPrimeros", campo("CPDeudor", 1, 6), "280015", &PiezasCSB58::cpDeudor, "28001"},
    {"provinciaDeUnaCifraLlevaCero", campo("CodProvincia", 1, 2), "8", &PiezasCSB58::codProvincia, "08"},
    {"provinciaEnBlancoEsCeros", campo("CodProvincia", 1, 2), " ", &PiezasCSB58::codProvincia, "00"},
    {"nombreEnMinusculasNoHaceNada", campo("importe", 1, 12), "0,00", nullptr, ""},
    {"nombreConBlancoNoHaceNada", campo("Importe ", 1, 12), "0,00", nullptr, ""},
    {"fechaAAMMDD", fecha("AAMMDD"), "260815", &PiezasCSB58::fechaVto, "150826"},
    {"fechaAAMMDDInexistente", fecha("AAMMDD"), "260230", &PiezasCSB58::fechaVto, "300226", kFecha},
    {"fechaDDMMAAAA", fecha("DDMMAAAA"), "15032007", &PiezasCSB58::fechaVto, "150307"},
    {"fechaDDMMAAAAInexistente", fecha("DDMMAAAA"), "31042026", &PiezasCSB58::fechaVto, "310426", kFecha},
    {"fechaAAAAMMDD", fecha("AAAAMMDD"), "20070315", &PiezasCSB58::fechaVto, "150307"},
    {"fechaAAAAMMDDMesTrece", fecha("AAAAMMDD"), "20261301", &PiezasCSB58::fechaVto, "011326", kFecha},
    {"fechaDDMMAAConBlanco", fecha("DD/MM/AA"), "05/ 3/07", &PiezasCSB58::fechaVto, "050307"},
    {"fechaDDMMAANoBisiesto", fecha("DD/MM/AA"), "29/02/27", &PiezasCSB58::fechaVto, "290227", kFecha},
    {"fechaAAMMDDConBarras", fecha("AA/MM/DD"), "07/03/15", &PiezasCSB58::fechaVto, "150307"},
    {"fechaAAMMDDConBarrasInexistente", fecha("AA/MM/DD"), "07/04/31", &PiezasCSB58::fechaVto, "310407", kFecha},
    {"fechaDDMMAAAAConBarras", fecha("DD/MM/AAAA"), "15/03/2007", &PiezasCSB58::fechaVto, "150307"},
    {"fechaDDMMAAAAConBarrasConLetras", fecha("DD/MM/AAAA"), "15/03/20X7", &PiezasCSB58::fechaVto, "1503X7", kFecha},
    {"fechaAAAAMMDDConBarras", fecha("AAAA/MM/DD"), "2007/03/15", &PiezasCSB58::fechaVto, "150307"},
    {"fechaAAAAMMDDConBarrasMesCero", fecha("AAAA/MM/DD"), "2007/00/15", &PiezasCSB58::fechaVto, "150007", kFecha},
    {"fechaDDMMAATalCual", fecha("DDMMAA"), "150826", &PiezasCSB58::fechaVto, "150826"},
    {"fechaConBarrasEnDDMMAASeRechaza", fecha("DDMMAA"), "15/08/2026", &PiezasCSB58::fechaVto, "15/08/2026", kFecha},
    {"fechaOpcionalNoSeComprueba", fecha("DDMMAA", false), "15/08/2026", &PiezasCSB58::fechaVto, "15/08/2026"},
    {"fechaNoColocadaOpcionalQuedaVacia", campo("FechaVto", 0, 0, "DDMMAA"), "DDMMAA", &PiezasCSB58::fechaVto, ""},
    {"fechaNoColocadaObligatoriaTomaLaDelDialogo", campo("FechaVto", 0, 0, "DDMMAA", true), "DDMMAA", &PiezasCSB58::fechaVto, "010426", nullptr, "010426"},
    {"fechaNoColocadaObligatoriaSinDialogoEsError", campo("FechaVto", 0, 0, "DDMMAA", true), "DDMMAA", &PiezasCSB58::fechaVto, "", kFecha},
    {"fechaDelDialogoSustituyeLaLeida", fecha("DDMMAA"), "150826", &PiezasCSB58::fechaVto, "311226", nullptr, "311226"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Tabla, CSB58ValidacionCampos, ::testing::ValuesIn(kCasos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

// Entity and office keep their piece from one credit to the next: each value read replaces the last.
TEST_F(CSB58ValidacionCampos, codigoDeBancoSeguidoReemplazaAlAnterior) {
    estado.gCamposEstructura = {campo("Entidad", 1, 4)};
    ModuloCSB58 modulo(estado, entorno);
    modulo.iniciarEjecucion();
    const std::pair<std::string, std::string> lecturas[] = {
        {"2100", "2100"}, {"0000", "0000"}, {"0049", "0049"}, {"AB12", "0000"},
        {"12", "0012"},   {"9999", "9999"}, {"0 12", "0000"}, {"81820", "8182"},
    };
    for (const auto& [leido, pieza] : lecturas) {
        std::string valor = leido;
        modulo.validarPieza(valor);
        EXPECT_EQ(modulo.piezas.entidad, pieza) << leido;
    }
    EXPECT_TRUE(estado.gErrores.empty());
}

// Every field of the template is resolved when the run starts, and each fills its piece by its place.
TEST_F(CSB58ValidacionCampos, camposResueltosAlEmpezarLlenanSuPiezaPorSuLugar) {
    estado.gCamposEstructura = {campo("DomicilioDeudor", 1, 40), campo("CPDeudor", 1, 5),
                                fecha("DD/MM/AAAA")};
    ModuloCSB58 modulo(estado, entorno);
    modulo.iniciarEjecucion();
    for (const std::string domicilio : {"CALLE", "PLAZA"}) {
        std::string valor = domicilio;
        modulo.lectura.gIndiceCampo = 0;
        modulo.validarPieza(valor);
        EXPECT_EQ(modulo.piezas.domicilioDeudor, relleno(domicilio, 40));
    }
    std::string cp = "8001";
    modulo.lectura.gIndiceCampo = 1;
    modulo.validarPieza(cp);
    EXPECT_EQ(modulo.piezas.cpDeudor, "08001");
    std::string vencimiento = "15/03/2007";
    modulo.lectura.gIndiceCampo = 2;
    modulo.validarPieza(vencimiento);
    EXPECT_EQ(modulo.piezas.fechaVto, "150307");
    EXPECT_TRUE(estado.gErrores.empty());
}

// A field the run did not resolve when it started is the caller's fault, never guessed at: the debug
// build stops there.
TEST_F(CSB58ValidacionCampos, campoNoResueltoAlEmpezarDetieneElProgramaDeDepuracion) {
#ifdef NDEBUG
    GTEST_SKIP() << "solo la compilacion de depuracion comprueba sus condiciones";
#else
    ModuloCSB58 modulo(estado, entorno);
    modulo.iniciarEjecucion();
    estado.gCamposEstructura = {campo("DomicilioDeudor", 1, 40)};
    EXPECT_DEATH(modulo.validarPieza("CALLE"), "resueltosGuardados");
#endif
}

} // namespace
} // namespace trovanel
