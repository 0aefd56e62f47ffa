#include "cuentas_partes.hpp"

#include <gtest/gtest.h>

namespace trovanel {
namespace {

using Validador = ValidacionParte (*)(const DatosParte&);
constexpr Validador kEdicionPagos = validarEdicionOrdenante;
constexpr Validador kAltaPagos = validarAltaOrdenante;
constexpr Validador kEdicionCobros = validarEdicionCobros;
constexpr Validador kAltaCobros = validarAltaCobros;

struct CasoParte {
    const char* nombre;
    Validador validar;
    DatosParte datos;
    const char* mensajes;              // in order, joined by " | "; an information box starts with "i:"
    const char* cuenta = "";           // "" when refused
    const char* numero = "0123456789"; // as the box must show it afterwards
};

std::ostream& operator<<(std::ostream& os, const CasoParte& caso) {
    return os << caso.nombre;
}

// Office, check digits, number; for the payments form the name and NIF go in the issuer's places. The
// entity is the stored one that an edit keeps.
DatosParte pagos(const char* oficina, const char* dc, const char* numero = "0123456789",
                 const char* nif = "B12345678", const char* entidad = "") {
    return {"", "", "", "ORDENANTE SL", nif, "", oficina, dc, numero, "", entidad};
}
DatosParte cobros(const char* oficina, const char* dc, const char* numero = "0123456789",
                  const char* norma = "CSB19", const char* entidad = "") {
    return {"PRESENTADOR SA", "A11111111", "000",  "EMISOR SL", "B22222222", "001",
            oficina,          dc,          numero, norma,       entidad};
}

class ReglasCuenta : public testing::TestWithParam<CasoParte> {};

TEST_P(ReglasCuenta, aplicaLasComprobacionesDelFormularioEnSuOrden) {
    const CasoParte& caso = GetParam();
    const ValidacionParte v = caso.validar(caso.datos);
    std::string mensajes;
    for (const AvisoCuenta& aviso : v.avisos) {
        mensajes +=
            (mensajes.empty() ? "" : " | ") + std::string(aviso.informativo ? "i:" : "") + aviso.texto;
    }
    EXPECT_EQ(mensajes, caso.mensajes);
    EXPECT_EQ(v.numero, caso.numero);
    EXPECT_EQ(v.cuenta.value_or(""), caso.cuenta);
}

// Check digits worked out by hand for entity 8642: 0001/0123456789 -> 61, 1234/0630000001 -> 03,
// 0000/0123456789 -> 11.
INSTANTIATE_TEST_SUITE_P(
    Cuentas, ReglasCuenta,
    testing::ValuesIn(std::vector<CasoParte>{
        {"pagosValida", kEdicionPagos, pagos("0001", "61"), "", "86420001610123456789"},
        {"pagosDCErroneo", kEdicionPagos, pagos("0001", "62"), kMsgDCDistinto},
        {"pagosAsteriscosConCifras", kEdicionPagos, pagos("0001", "**"), kMsgDCDistinto},
        {"pagosAsteriscosConOficinaIlegible", kEdicionPagos, pagos("00*1", "**"), "", "864200*1**0123456789"},
        {"pagosMarca63SinDC", kEdicionPagos, pagos("1234", "", "0630000001"), "", "86421234  0630000001",
         "0630000001"},
        {"pagosMarca63ConDC", kEdicionPagos, pagos("1234", "03", "0630000001"), "", "86421234030630000001",
         "0630000001"},
        {"pagosSinDCNiMarca", kEdicionPagos, pagos("0001", " "), kMsgDCObligatorio},
        {"pagosNueveQueEmpiezanPor63", kEdicionPagos, pagos("1234", "", "630000001"), "",
         "86421234  0630000001", "0630000001"},
        {"pagosNueveCon63EnSegundaYTercera", kEdicionPagos, pagos("1234", "", "163000000"), kMsgDCObligatorio,
         "", "0163000000"},
        {"pagosTresComprobaciones", kEdicionPagos, pagos("0000", "61", "12345678", "B123"),
         "Teclee un nif de emisor correcto (9 posiciones) | Compruebe los datos de la cuenta | "
         "Compruebe los datos de la cuenta",
         "", "12345678"},
        {"cobrosEdicionSinEntidadGuardada", kEdicionCobros, cobros("0001", "61", "0123456789", "", "  "), "",
         "86420001610123456789"},
        {"pagosAltaOficinaCeros", kAltaPagos, pagos("0000", "11"), "", "86420000110123456789"},
        {"pagosAltaOficinaCorta", kAltaPagos, pagos("12", "11"), "i:Compruebe los datos por favor"},
        {"pagosAltaOchoCifras", kAltaPagos, pagos("0001", "61", "12345678"),
         "i:Compruebe los datos por favor", "", "12345678"},
        {"cobrosAsteriscos", kEdicionCobros, cobros("0001", "**"), "", "86420001**0123456789"},
        {"cobrosSinDC", kEdicionCobros, cobros("0001", ""), "", "86420001**0123456789"},
        {"cobrosDCErroneo", kEdicionCobros, cobros("0001", "16"), kMsgDCDistinto},
        {"cobrosSeisComprobaciones", kEdicionCobros,
         DatosParte{"P", "", "1", "E", "B12", "", "0000", "61", "123456789", "CSB19"},
         "Compruebe la longitud del NIF (9 posiciones) | Compruebe la longitud del NIF (9 posiciones) | "
         "Compruebe la longitud del Sufijo (3 posiciones) | Compruebe la longitud del Sufijo (3 "
         "posiciones) | Compruebe los datos de la cuenta"},
        {"cobrosAltaOficinaCorta", kAltaCobros, cobros("12", ""), kMsgDatosCuenta},
        {"cobrosAltaOficinaCeros", kAltaCobros, cobros("0000", "11", "123456789"), "",
         "86420000110123456789"},
        {"cobrosAltaOchoCifras", kAltaCobros, cobros("0001", "", "12345678"), kMsgDatosCuenta, "",
         "12345678"},
        {"cobrosAltaSinNorma", kAltaCobros, cobros("0001", "61", "0123456789", ""), kMsgNorma},
        {"cobrosAltaSufijoCorto", kAltaCobros,
         DatosParte{"P", "A11111111", "0 ", "E", "B22222222", "001", "0001", "", "0123456789", "CSB19"},
         kMsgLongitudSufijo},
        {"cobrosAltaNombreEnBlanco", kAltaCobros,
         DatosParte{"P", "A11111111", "000", " ", "B22222222", "001", "0001", "", "0123456789", "CSB58"},
         kMsgDatos},
        // A control character in any box (what typing leaves of a character Windows-1252 lacks) is refused
        // first. Octal escapes: \032 is SUB, \177 DEL.
        {"pagosAltaNombreConControl", kAltaPagos,
         DatosParte{"", "", "", "ANA \x1A RUIZ", "B12345678", "", "0001", "61", "0123456789", ""},
         "Caracter no valido en el nombre del ordenante"},
        {"pagosNifConTabulador", kEdicionPagos, pagos("0001", "61", "0123456789", "B1234\t678"),
         "Caracter no valido en el NIF del ordenante"},
        {"cobrosSufijoConControl", kEdicionCobros,
         DatosParte{"", "A11111111", "0\0321", "", "B22222222", "001", "0001", "61", "0123456789", "CSB19"},
         "Caracter no valido en el sufijo del presentador"},
        {"cobrosAltaNombresConControl", kAltaCobros,
         DatosParte{"P\x1A", "A11111111", "000", "\x1A", "B22222222", "001", "0001", "61", "0123456789",
                    "CSB19"},
         "Caracter no valido en el nombre del presentador"},
        {"cobrosAltaEmisorConControl", kAltaCobros,
         DatosParte{"P", "A11111111", "000", "E\x1A", "B22222222", "001", "0001", "61", "0123456789",
                    "CSB19"},
         "Caracter no valido en el nombre del emisor"},
        {"cobrosAltaCuentaConControl", kAltaCobros, cobros("0001", "61", "01234\1776789"),
         "Caracter no valido en la cuenta", "", "01234\1776789"}}));

TEST(CuentaParte, filtraLasTeclasSeparaLaCuentaYMarcaLasDeProveedores) {
    for (const int tecla : std::initializer_list<int>{'0', '9', '*', 8}) {
        EXPECT_TRUE(teclaCuentaAdmitida(tecla)) << tecla;
    }
    for (const int tecla : std::initializer_list<int>{'a', ' ', '-', 13, 27}) {
        EXPECT_FALSE(teclaCuentaAdmitida(tecla)) << tecla;
    }
    const CuentaDividida partes = dividirCuenta("86421234  0630000001");
    EXPECT_EQ(partes.entidad + "|" + partes.oficina + "|" + partes.dc + "|" + partes.numero,
              "8642|1234|  |0630000001");
    EXPECT_TRUE(validarAltaOrdenante(pagos("1234", "", "630000001")).zop);
    EXPECT_FALSE(validarAltaOrdenante(pagos("1234", "", "163000000")).zop);
    EXPECT_FALSE(validarAltaOrdenante(pagos("0001", "61")).zop);
}

} // namespace
} // namespace trovanel
