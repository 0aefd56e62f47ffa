#include "estado_ejecucion.hpp"
#include "modelo_datos.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trovanel {
namespace {

CampoEstructura pedido(const char* nombre, int longitud = 0) {
    CampoEstructura campo;
    campo.campo = nombre;
    campo.obligatorio = true;
    campo.longitud = longitud;
    return campo;
}

TEST(ModeloDatos, fechaCorrectaExigeDiaMesYAnioDeCuatroCifrasDeUnaFechaReal) {
    EXPECT_TRUE(dialogo_datos::FechaCorrecta("31", "12", "2024"));
    EXPECT_TRUE(dialogo_datos::FechaCorrecta("29", "02", "2000"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("29", "02", "1900"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("31", "06", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("01", "13", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("01", "00", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("01", "01", "24"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("01", "01", "0000"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("1", "01", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta(" 1", "01", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("01", "+1", "2024"));
    EXPECT_FALSE(dialogo_datos::FechaCorrecta("", "", ""));
}

TEST(ModeloDatos, filasPorClaseConSusOpcionesYLongitudes) {
    const std::vector<CampoEstructura> campos = {pedido("GastosFecha"), pedido("Nombre", 0),
                                                 pedido("Nombre2", 40), pedido("FechaPago", 6)};
    const auto filas = filasDatosObligatorios(campos, {0, 1, 2, 3});
    ASSERT_EQ(filas.size(), 4u);
    EXPECT_EQ(filas[0].clase, ClaseFilaDatos::Gastos);
    EXPECT_EQ(filas[0].opciones, (std::vector<std::string>{"Ordenante", "Beneficiario"}));
    EXPECT_EQ(filas[1].clase, ClaseFilaDatos::Texto);
    EXPECT_EQ(filas[1].longitudMaxima, 0);
    EXPECT_EQ(filas[2].longitudMaxima, 40);
    EXPECT_EQ(filas[3].clase, ClaseFilaDatos::Fecha);
    EXPECT_EQ(filas[3].longitudMaxima, kLongitudFecha);
    EXPECT_EQ(filas[3].etiqueta, "FechaPago");
    EXPECT_EQ(filas[3].indice, 3u);
}

TEST(ModeloDatos, unaFechaRechazadaNoTocaLaAnteriorYUnaAceptadaLaSustituye) {
    EstadoEjecucion estado;
    estado.gCamposEstructura = {pedido("FechaCargo")};
    estado.gFechaDatos = "010101";
    EXPECT_EQ(aceptar(estado, {{0, ClaseFilaDatos::Fecha, "31/11/2025"}}, "CSB19"),
              ResultadoDatos::FechaIncorrecta);
    EXPECT_EQ(estado.gFechaDatos, "010101");
    EXPECT_EQ(aceptar(estado, {{0, ClaseFilaDatos::Fecha, "30/11/2025"}}, "CSB19"), ResultadoDatos::Aceptado);
    EXPECT_EQ(estado.gFechaDatos, "301125");
}

TEST(ModeloDatos, unTextoDeListaDesconocidoNoEscribeNiAvisa) {
    EstadoEjecucion estado;
    estado.gCamposEstructura = {pedido("Gastos")};
    estado.gCamposEstructura[0].valorcampo = "previo";
    EXPECT_EQ(aceptar(estado, {{0, ClaseFilaDatos::Gastos, "Otro"}}, "CSB19"), ResultadoDatos::Aceptado);
    EXPECT_EQ(estado.gCamposEstructura[0].valorcampo, "previo");
}

} // namespace
} // namespace trovanel
