#include "base_datos.hpp"
#include "conversores.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::RelojFijo;

std::string relleno(std::string texto, std::size_t ancho) {
    texto.resize(ancho, ' ');
    return texto;
}

CampoEstructura campo(std::string nombre, std::int64_t inicio = 0, std::int64_t fin = 0,
                      std::string defecto = "") {
    CampoEstructura c;
    c.campo = std::move(nombre);
    c.inicio = inicio;
    c.fin = fin;
    c.valorcampo = std::move(defecto);
    return c;
}

class CSB19Validacion : public ::testing::Test {
protected:
    // A fresh module for the fields, as a run starts it; errors then name input line 7.
    ModuloCSB19& preparar(std::vector<CampoEstructura> campos) {
        estado.gCamposEstructura = std::move(campos);
        modulo.emplace(estado, entorno);
        modulo->iniciarEjecucion();
        modulo->lectura.gLineaEntrada = 7;
        return *modulo;
    }

    // Validates the value of the field at indice.
    void validar(std::size_t indice, std::string_view valor, std::string linea = "") {
        modulo->lectura.gIndiceCampo = indice;
        modulo->lectura.gLineaActual = std::move(linea);
        modulo->validarPieza(valor);
    }

    CarpetaTemporal carpeta;
    // The validator never queries the database; an empty one stands in.
    BaseDatos baseDatos = BaseDatos::abrir(carpeta / "vacia.db", BaseDatos::Modo::Creacion);
    AvisosGrabados avisos;
    RelojFijo reloj;
    Entorno entorno{baseDatos, avisos, reloj, carpeta.ruta()};
    EstadoEjecucion estado;
    std::optional<ModuloCSB19> modulo;
};

struct CasoCampo {
    const char* nombre;
    CampoEstructura campo;
    std::string valor;
    std::optional<std::string> esperado; // nothing: not checked for a rejected value
    const char* error = nullptr;         // nullptr: accepted
    std::string linea = "";              // the raw input line
};

// What each main and address field stores, by field name.
std::map<std::string, const std::string*> piezasPorNombre(const PiezasCSB19& p) {
    // clang-format off
    return {{"CodigoReferencia", &p.codigoReferencia}, {"NombreTitularRecibo", &p.nombreTitular},
            {"Entidad", &p.entidad}, {"Oficina", &p.oficina}, {"DC", &p.dc}, {"Cuenta", &p.cuenta},
            {"Importe", &p.importe}, {"CodigoDevolucion", &p.codigoDevolucion},
            {"ReferenciaInterna", &p.referenciaInterna}, {"Concepto1", &p.concepto1},
            {"NombreTitularCuenta", &p.nombreTitularCuenta}, {"Direccion", &p.direccion},
            {"Localidad", &p.localidad}, {"CP", &p.cp}};
    // clang-format on
}

class CSB19ValidacionCampos : public CSB19Validacion, public ::testing::WithParamInterface<CasoCampo> {};

TEST_P(CSB19ValidacionCampos, formateaLaPiezaYAnotaSuError) {
    const CasoCampo& caso = GetParam();
    preparar({caso.campo});
    validar(0, caso.valor, caso.linea);
    if (caso.esperado) {
        EXPECT_EQ(*piezasPorNombre(modulo->piezas).at(caso.campo.campo), *caso.esperado);
    }
    if (caso.error != nullptr) {
        EXPECT_EQ(estado.gErrores, std::vector<std::string>{caso.error});
        EXPECT_TRUE(modulo->lectura.gRegistroConError);
        EXPECT_EQ(estado.gNumeroLinea, 7);
    } else {
        EXPECT_TRUE(estado.gErrores.empty());
        EXPECT_FALSE(modulo->lectura.gRegistroConError);
    }
}

constexpr const char* kSinReferencia = "Error : No tiene código de referencia";
constexpr const char* kSinTitular = "Error : No hay nombre de titular del recibo";
constexpr const char* kEntidad = "Error : Entidad incorrecta";
constexpr const char* kOficina = "Error : Oficina incorrecta";
constexpr const char* kDC = "Error : DC incorrecto";
constexpr const char* kCuenta = "Error : Cuenta incorrecta";
constexpr const char* kImporte = "Error : Importe incorrecto";

// clang-format off
// A placed CP gets "99999" handed in: its value is read again from the raw line.
const std::vector<CasoCampo> kCasos{
    {"referenciaSeRellenaA12", campo("CodigoReferencia", 1, 12), "REF-1", relleno("REF-1", 12)},
    {"referenciaLargaSeCortaA12", campo("CodigoReferencia", 1, 16), " ABCDEFGHIJKLMN", "ABCDEFGHIJKL"},
    {"referenciaEnBlancoTomaElDefecto", campo("CodigoReferencia", 1, 12, "DEF"), "   ", relleno("DEF", 12)},
    {"referenciaDefectoLargoSeCorta", campo("CodigoReferencia", 1, 12, "ABCDEFGHIJKLMNO"), "",
     "ABCDEFGHIJKL"},
    {"referenciaEnBlancoEsError", campo("CodigoReferencia", 1, 12), "  ", relleno("", 12), kSinReferencia},
    {"titularReciboSeRellenaA40", campo("NombreTitularRecibo", 1, 40), " GARCIA ", relleno("GARCIA", 40)},
    {"titularReciboEnBlancoTomaDefecto", campo("NombreTitularRecibo", 1, 40, "ANON"), " ", relleno("ANON", 40)},
    {"titularReciboDefectoLargoSeCorta", campo("NombreTitularRecibo", 1, 40, std::string(45, 'N')), "",
     std::string(40, 'N')},
    {"titularReciboEnBlancoEsError", campo("NombreTitularRecibo", 1, 40), " ", relleno("", 40), kSinTitular},
    {"entidadSeRellenaConCeros", campo("Entidad", 1, 4), "12", "0012"},
    {"entidadTomaLosCuatroPrimeros", campo("Entidad", 1, 5), "21005", "2100"},
    {"entidadCeroEsError", campo("Entidad", 1, 4), "0000", "0000", kEntidad},
    {"entidadCeroTomaElDefecto", campo("Entidad", 1, 4, "2100"), "0000", "2100"},
    {"entidadNoNumericaTomaElDefecto", campo("Entidad", 1, 4, "49"), "AB12", "0049"},
    {"entidadNoNumericaEsError", campo("Entidad", 1, 4), "AB12", "AB12", kEntidad},
    {"entidadDefectoLargoSeCortaA4", campo("Entidad", 1, 4, "210099"), "", "2100"},
    {"oficinaCompletaSeQueda", campo("Oficina", 1, 4), "0182", "0182"},
    {"oficinaCortaEsError", campo("Oficina", 1, 3), "123", "123", kOficina},
    {"oficinaEnBlancoEsError", campo("Oficina", 1, 4), "    ", "", kOficina},
    {"oficinaConDefectoSiempreLoToma", campo("Oficina", 1, 4, "1"), "5678", "0001"},
    {"oficinaDefectoLargoSeCortaA4", campo("Oficina", 1, 4, "01825"), "5678", "0182"},
    {"dcColocadoSeQueda", campo("DC", 1, 2), "45", "45"},
    {"dcAsteriscosSeAceptan", campo("DC", 1, 2), "**", "**"},
    {"dcEnBlancoEsError", campo("DC", 1, 2), "  ", "  ", kDC},
    {"dcDeUnaCifraEsError", campo("DC", 1, 2), "5", "5 ", kDC},
    {"dcConBlancoDelanteEsError", campo("DC", 1, 2), " 1", "1 ", kDC},
    {"dcConLetrasEsError", campo("DC", 1, 2), "AB", "AB", kDC},
    {"dcDefectoDeUnaCifraEsError", campo("DC", 0, 0, "5"), "5", "5", kDC},
    {"dcNoColocadoTomaElDefecto", campo("DC", 0, 0, "**"), "**", "**"},
    {"dcDefectoLargoSeCortaA2", campo("DC", 0, 0, "123"), "123", "12"},
    {"cuentaSeRellenaConCeros", campo("Cuenta", 1, 10), "123456789", "0123456789"},
    {"cuentaDeCerosEsError", campo("Cuenta", 1, 10), "0000000000", "0000000000", kCuenta},
    {"cuentaConLetrasEsError", campo("Cuenta", 1, 10), "12345ABCDE", "12345ABCDE", kCuenta},
    {"cuentaNoColocadaTomaElDefecto", campo("Cuenta", 0, 0, "77"), "77", "0000000077"},
    {"cuentaDefectoLargoSeCortaA10", campo("Cuenta", 0, 0, "123456789012"), "123456789012", "1234567890"},
    {"importeConUnDecimal", campo("Importe", 1, 12), "12,5", "0000001250"},
    {"importeSinComaSonCentimos", campo("Importe", 1, 12), "1500", "0000001500"},
    {"importeMaximoDeDiezCifras", campo("Importe", 1, 12), "99999999,99", "9999999999"},
    {"importeCeroEsError", campo("Importe", 1, 12), "0,00", "0000000000", kImporte},
    {"importeVacioEsError", campo("Importe", 1, 12), "", "0000000000", kImporte},
    {"importeSinCifrasEsError", campo("Importe", 1, 12), "abc", "0000000000", kImporte},
    {"importeDeOnceCifrasEsErrorYNoSeCorta", campo("Importe", 1, 12), "100000000,00", {}, kImporte},
    {"devolucionSeRellenaA6", campo("CodigoDevolucion", 1, 6), "AB", relleno("AB", 6)},
    {"referenciaInternaSeRellenaA10", campo("ReferenciaInterna", 1, 10), "R1", relleno("R1", 10)},
    {"concepto1SeRellenaA40", campo("Concepto1", 1, 40), "CUOTA", relleno("CUOTA", 40)},
    {"concepto1LargoSeCortaA40", campo("Concepto1", 1, 45), std::string(45, 'C'), std::string(40, 'C')},
    {"titularCuentaSeRellenaA40", campo("NombreTitularCuenta", 1, 40), "RUIZ", relleno("RUIZ", 40)},
    {"titularCuentaEnBlancoSinTitularDelRecibo", campo("NombreTitularCuenta", 1, 40), "", relleno("", 40)},
    {"direccionColocadaSeRellenaA40", campo("Direccion", 1, 40), "CALLE", relleno("CALLE", 40)},
    {"direccionEnBlancoTomaElDefecto", campo("Direccion", 1, 40, "S/D"), " ", relleno("S/D", 40)},
    {"direccionNoColocadaNoSeRellena", campo("Direccion"), "  CALLE MAYOR 1 ", "CALLE MAYOR 1"},
    {"direccionNoColocadaSeCortaA40", campo("Direccion"), std::string(45, 'D'), std::string(40, 'D')},
    {"localidadColocadaSeRellenaA35", campo("Localidad", 1, 35), "MADRID", relleno("MADRID", 35)},
    {"localidadEnBlancoTomaElDefecto", campo("Localidad", 1, 35, "SEVILLA"), "", relleno("SEVILLA", 35)},
    {"localidadNoColocadaSeCortaA35", campo("Localidad"), std::string(40, 'L'), std::string(35, 'L')},
    {"cpCuatroCifrasYBlancoLlevaCero", campo("CP", 3, 7), "99999", "04100", nullptr, "xx4100 yy"},
    {"cpDeCincoCifrasSeQueda", campo("CP", 3, 7), "99999", "41001", nullptr, "xx41001"},
    {"cpLeeCincoAunqueElTramoSeaMayor", campo("CP", 3, 12), "99999", "28013", nullptr, "xx2801399999"},
    {"cpConLetrasSinDefectoEsCeros", campo("CP", 3, 7), "99999", "00000", nullptr, "xxABCDE"},
    {"cpConLetrasTomaElDefecto", campo("CP", 3, 7, "28001"), "99999", "28001", nullptr, "xxAB"},
    {"cpCeroTomaElDefectoConCeros", campo("CP", 3, 7, "7"), "99999", "00007", nullptr, "xx00000"},
    {"cpCeroSinDefectoSeQueda", campo("CP", 3, 7), "99999", "00000", nullptr, "xx00000"},
    {"cpDefectoLargoSeCortaA5", campo("CP", 3, 7, "2800199"), "99999", "28001", nullptr, "xxABCDE"},
    {"cpNoColocadoQuedaRecortado", campo("CP", 0, 0, " 28 "), " 28 ", "28", nullptr, "xx41001"},
};

// clang-format on
INSTANTIATE_TEST_SUITE_P(Tabla, CSB19ValidacionCampos, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<CasoCampo>& caso) {
                             return std::string(caso.param.nombre);
                         });

TEST_F(CSB19Validacion, importeSinSusBlancosYConcepto1CortadoASuAncho) {
    preparar({campo("Importe", 1, 12), campo("Concepto1", 1, 45)});
    validar(0, "  12,5 ");
    EXPECT_EQ(modulo->piezas.importe, "0000001250");
    validar(1, std::string(45, 'C'));
    EXPECT_EQ(modulo->piezas.concepto1, std::string(40, 'C'));
}

TEST_F(CSB19Validacion, titularCuentaEnBlancoTomaElTitularDelRecibo) {
    preparar({campo("NombreTitularRecibo", 1, 40), campo("NombreTitularCuenta", 41, 80)});
    validar(0, "LOPEZ MARTA");
    validar(1, "   ");
    EXPECT_EQ(modulo->piezas.nombreTitularCuenta, relleno("LOPEZ MARTA", 40));
}

TEST_F(CSB19Validacion, conceptosDosADieciseisSeRellenanA40) {
    std::vector<CampoEstructura> campos;
    for (int n = 2; n <= 16; ++n) {
        campos.push_back(campo("Concepto" + std::to_string(n), 1, 40));
    }
    preparar(campos);
    for (std::size_t i = 0; i < campos.size(); ++i) {
        validar(i, " C" + std::to_string(i + 2));
    }
    for (std::size_t n = 2; n <= 16; ++n) {
        EXPECT_EQ(modulo->piezas.conceptos[n], relleno("C" + std::to_string(n), 40)) << n;
    }
    EXPECT_TRUE(estado.gErrores.empty());
}

std::vector<std::string> todasLasPiezas(const PiezasCSB19& p) {
    std::vector<std::string> piezas(p.conceptos.begin(), p.conceptos.end());
    for (const auto& [nombre, pieza] : piezasPorNombre(p)) {
        piezas.push_back(*pieza);
    }
    return piezas;
}

TEST_F(CSB19Validacion, nombresQueDifierenEnMayusculasOBlancosNoHacenNada) {
    const std::vector<std::string> nombres{
        "importe",    "Importe ",   " CP",       "Dc",     "CONCEPTO2", "Concepto 2",
        "Concepto02", "Concepto17", "Concepto0", "cuenta", ""};
    std::vector<CampoEstructura> campos;
    for (const std::string& nombre : nombres) {
        campos.push_back(campo(nombre, 1, 5));
    }
    preparar(campos);
    const std::vector<std::string> antes = todasLasPiezas(modulo->piezas);
    for (std::size_t i = 0; i < campos.size(); ++i) {
        validar(i, "", "00000");
    }
    EXPECT_EQ(todasLasPiezas(modulo->piezas), antes);
    EXPECT_TRUE(estado.gErrores.empty());
}

TEST_F(CSB19Validacion, unaOrdenAcumulaSusErroresEnOrden) {
    preparar({campo("Entidad", 1, 4), campo("Cuenta", 5, 14)});
    validar(0, "0000");
    modulo->lectura.gLineaEntrada = 8;
    validar(1, "abc");
    EXPECT_EQ(estado.gErrores, (std::vector<std::string>{kEntidad, kCuenta}));
    EXPECT_EQ(estado.gNumeroLinea, 8);
}

TEST_F(CSB19Validacion, limpiarOpcionalesConservaDireccionLocalidadYCP) {
    std::vector<CampoEstructura> campos{campo("CodigoReferencia", 1, 12),    campo("Importe", 1, 12),
                                        campo("NombreTitularCuenta", 1, 40), campo("Direccion", 1, 40),
                                        campo("Localidad", 1, 35),           campo("CP", 1, 5)};
    for (int n = 2; n <= 16; ++n) {
        campos.push_back(campo("Concepto" + std::to_string(n), 1, 40));
    }
    preparar(campos);
    validar(0, "REF");
    validar(1, "10,00");
    validar(2, "RUIZ");
    validar(3, "CALLE");
    validar(4, "CADIZ");
    validar(5, "", "11001");
    for (std::size_t i = 6; i < campos.size(); ++i) {
        validar(i, "X");
    }
    modulo->LimpiarOpcionalesCSB19();
    const PiezasCSB19& p = modulo->piezas;
    for (std::size_t n = 2; n <= 16; ++n) {
        EXPECT_EQ(p.conceptos[n], "") << n;
    }
    EXPECT_EQ(p.nombreTitularCuenta, "");
    EXPECT_EQ(p.direccion, relleno("CALLE", 40));
    EXPECT_EQ(p.localidad, relleno("CADIZ", 35));
    EXPECT_EQ(p.cp, "11001");
    EXPECT_EQ(p.codigoReferencia, relleno("REF", 12));
    EXPECT_EQ(p.importe, "0000001000");
}

} // namespace
} // namespace trovanel
