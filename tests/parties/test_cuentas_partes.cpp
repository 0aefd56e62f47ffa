#include "cuentas_partes.hpp"

#include <gtest/gtest.h>

namespace trovanel {
namespace {

using Validador = ValidacionParte (*)(const DatosParte&);

struct CasoParte {
    const char* nombre;
    Validador validar;
    DatosParte datos;
    std::vector<std::string> mensajes; // in order; information boxes start with "i:"
    const char* numero;                // as the box must show it afterwards
    const char* cuenta;                // "" when refused
    bool zop = false;
};

std::ostream& operator<<(std::ostream& os, const CasoParte& caso) {
    return os << caso.nombre;
}

// NIF, office, check digits, number for the payments form (name and NIF in the issuer's places).
DatosParte pagos(const char* nif, const char* oficina, const char* dc, const char* numero) {
    return {"", "", "", "ORDENANTE SL", nif, "", oficina, dc, numero, ""};
}
DatosParte cobros(const char* oficina, const char* dc, const char* numero, const char* norma = "CSB19") {
    return {"PRESENTADOR SA", "A11111111", "000",  "EMISOR SL", "B22222222", "001",
            oficina,          dc,          numero, norma};
}

class ReglasCuenta : public testing::TestWithParam<CasoParte> {};

TEST_P(ReglasCuenta, aplicaLasComprobacionesDelFormularioEnSuOrden) {
    const CasoParte& caso = GetParam();
    const ValidacionParte v = caso.validar(caso.datos);
    std::vector<std::string> mensajes;
    for (const AvisoCuenta& aviso : v.avisos) {
        mensajes.push_back((aviso.informativo ? "i:" : "") + aviso.texto);
    }
    EXPECT_EQ(mensajes, caso.mensajes);
    EXPECT_EQ(v.numero, caso.numero);
    EXPECT_EQ(v.cuenta.value_or(""), caso.cuenta);
    if (v.cuenta) {
        EXPECT_EQ(v.cuenta->size(), 20u);
        EXPECT_EQ(v.zop, caso.zop);
    }
}

// Check digits worked out by hand for entity 8642: 0001/0123456789 -> 61, 1234/0630000001 -> 03,
// 0000/0123456789 -> 11.
INSTANTIATE_TEST_SUITE_P(Cuentas, ReglasCuenta,
                         testing::Values(CasoParte{"pagosEdicionValida",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "0001", "61", "0123456789"),
                                                   {},
                                                   "0123456789",
                                                   "86420001610123456789"},
                                         CasoParte{"pagosDCErroneo",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "0001", "62", "0123456789"),
                                                   {kMsgDCDistinto},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"pagosAsteriscosConDigitos",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "0001", "**", "0123456789"),
                                                   {kMsgDCDistinto},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"pagosAsteriscosConOficinaIlegible",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "00*1", "**", "0123456789"),
                                                   {},
                                                   "0123456789",
                                                   "864200*1**0123456789"},
                                         CasoParte{"pagosMarca63SinDC",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "1234", "", "0630000001"),
                                                   {},
                                                   "0630000001",
                                                   "86421234  0630000001",
                                                   true},
                                         CasoParte{"pagosMarca63ConDCCorrecto",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "1234", "03", "0630000001"),
                                                   {},
                                                   "0630000001",
                                                   "86421234030630000001",
                                                   true},
                                         CasoParte{"pagosSinDCNiMarca",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "0001", " ", "0123456789"),
                                                   {kMsgDCObligatorio},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"pagosNueveCifrasQueEmpiezanPor63",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "1234", "", "630000001"),
                                                   {},
                                                   "0630000001",
                                                   "86421234  0630000001",
                                                   true},
                                         CasoParte{"pagosNueveCifrasCon63EnSegundaYTercera",
                                                   validarEdicionOrdenante,
                                                   pagos("B12345678", "1234", "", "163000000"),
                                                   {kMsgDCObligatorio},
                                                   "0163000000",
                                                   ""},
                                         CasoParte{"pagosEdicionTodasLasComprobaciones",
                                                   validarEdicionOrdenante,
                                                   pagos("B123", "0000", "61", "12345678"),
                                                   {kMsgNifOrdenante, kMsgDatosCuenta, kMsgDatosCuenta},
                                                   "12345678",
                                                   ""},
                                         CasoParte{"pagosAltaOficinaCeros",
                                                   validarAltaOrdenante,
                                                   pagos("B12345678", "0000", "11", "0123456789"),
                                                   {},
                                                   "0123456789",
                                                   "86420000110123456789"},
                                         CasoParte{"pagosAltaOficinaCorta",
                                                   validarAltaOrdenante,
                                                   pagos("B12345678", "12", "11", "0123456789"),
                                                   {std::string("i:") + kMsgDatosPorFavor},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"pagosAltaOchoCifras",
                                                   validarAltaOrdenante,
                                                   pagos("B12345678", "0001", "61", "12345678"),
                                                   {std::string("i:") + kMsgDatosPorFavor},
                                                   "12345678",
                                                   ""},
                                         CasoParte{"pagosAltaMarca63",
                                                   validarAltaOrdenante,
                                                   pagos("B12345678", "1234", "", "630000001"),
                                                   {},
                                                   "0630000001",
                                                   "86421234  0630000001",
                                                   true},
                                         CasoParte{"cobrosEdicionAsteriscos",
                                                   validarEdicionCobros,
                                                   cobros("0001", "**", "0123456789"),
                                                   {},
                                                   "0123456789",
                                                   "86420001**0123456789"},
                                         CasoParte{"cobrosEdicionSinDC",
                                                   validarEdicionCobros,
                                                   cobros("0001", "", "0123456789"),
                                                   {},
                                                   "0123456789",
                                                   "86420001**0123456789"},
                                         CasoParte{"cobrosEdicionDCErroneo",
                                                   validarEdicionCobros,
                                                   cobros("0001", "16", "0123456789"),
                                                   {kMsgDCDistinto},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"cobrosEdicionSeisComprobaciones",
                                                   validarEdicionCobros,
                                                   DatosParte{"P", "", "1", "E", "B12", "", "0000", "61",
                                                              "123456789", "CSB19"},
                                                   {kMsgLongitudNif, kMsgLongitudNif, kMsgLongitudSufijo,
                                                    kMsgLongitudSufijo, kMsgDatosCuenta},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"cobrosAltaOficinaCorta",
                                                   validarAltaCobros,
                                                   cobros("12", "", "0123456789"),
                                                   {kMsgDatosCuenta},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"cobrosAltaOficinaCeros",
                                                   validarAltaCobros,
                                                   cobros("0000", "11", "123456789"),
                                                   {},
                                                   "0123456789",
                                                   "86420000110123456789"},
                                         CasoParte{"cobrosAltaOchoCifras",
                                                   validarAltaCobros,
                                                   cobros("0001", "", "12345678"),
                                                   {kMsgDatosCuenta},
                                                   "12345678",
                                                   ""},
                                         CasoParte{"cobrosAltaSinNorma",
                                                   validarAltaCobros,
                                                   cobros("0001", "61", "0123456789", ""),
                                                   {kMsgNorma},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"cobrosAltaSufijoCorto",
                                                   validarAltaCobros,
                                                   DatosParte{"P", "A11111111", "0 ", "E", "B22222222", "001",
                                                              "0001", "", "0123456789", "CSB19"},
                                                   {kMsgLongitudSufijo},
                                                   "0123456789",
                                                   ""},
                                         CasoParte{"cobrosAltaNombreEnBlanco",
                                                   validarAltaCobros,
                                                   DatosParte{"P", "A11111111", "000", " ", "B22222222",
                                                              "001", "0001", "", "0123456789", "CSB58"},
                                                   {kMsgDatos},
                                                   "0123456789",
                                                   ""}));

TEST(CuentaParte, filtraLasTeclasYSeparaLaCuentaGuardada) {
    for (const int tecla : std::initializer_list<int>{'0', '9', '*', 8}) {
        EXPECT_TRUE(teclaCuentaAdmitida(tecla)) << tecla;
    }
    for (const int tecla : std::initializer_list<int>{'a', ' ', '-', 13, 27}) {
        EXPECT_FALSE(teclaCuentaAdmitida(tecla)) << tecla;
    }
    const CuentaDividida partes = dividirCuenta("86421234  0630000001");
    EXPECT_EQ(partes.oficina, "1234");
    EXPECT_EQ(partes.dc, "  ");
    EXPECT_EQ(partes.numero, "0630000001");
}

} // namespace
} // namespace trovanel
