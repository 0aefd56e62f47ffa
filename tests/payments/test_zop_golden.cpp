// Supplier-payment bank files and error logs compared byte for byte with files written by hand from the
// record layouts (tests/data/zop/): cheques, transfers and certified payments from text, several lines,
// a sheet, a table, batch mode and the conversion dialog.

#include "arranque.hpp"
#include "datos_obligatorios.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "golden_pagos.hpp"
#include "modelo_datos.hpp"
#include "modelo_entrada.hpp"
#include "modo_lote.hpp"
#include "zop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::CampoPlantilla;
using pruebas::leerFichero;

// Where linea/entrada.txt carries each field of the base template (by id_campo): first and last position.
constexpr int kPosiciones[][2] = {{1, 10},    {11, 40},   {41, 70},   {71, 76},   {77, 81},
                                  {82, 101},  {102, 104}, {105, 115}, {116, 126}, {127, 127},
                                  {128, 131}, {132, 135}, {136, 137}, {138, 147}, {148, 159},
                                  {160, 160}, {161, 170}, {171, 186}, {187, 201}, {202, 241}};
// The identifiers of the payment forms, the sign's marker and the due date's format.
const std::map<std::string, std::string> kValores{
    {"FormaPago", "C-T-P"}, {"SignoNegativo", "-"}, {"FechaVto", "DD/MM/AAAA"}};

constexpr std::int64_t kPlantillaBaseZOP = 6;
constexpr std::int64_t kPlantillaVariasLineas = 100;
constexpr std::int64_t kOrdenante = 100;

enum class Forma { Texto, VariasLineas, Hoja, Tabla, Lote, Dialogo, SinFormaPago };

// The missing-data dialog answered as a user would: cheques, and a due date.
class SolicitudCheques : public SolicitudDatosObligatorios {
public:
    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos) override {
        std::vector<ValorDato> valores;
        for (const FilaDatos& fila : filasDatosObligatorios(estado.gCamposEstructura, campos)) {
            valores.push_back(
                {fila.indice, fila.clase, fila.clase == ClaseFilaDatos::Fecha ? "25-12-2026" : "Cheques"});
        }
        return aceptar(estado, valores) == ResultadoDatos::Aceptado;
    }
};

struct CasoGolden {
    const char* nombre;
    Forma forma;
    const char* esperado; // folder of esperado.out (absent: no bank file) and esperado.log
};

class ZOPGolden : public pruebas::BasePagos, public ::testing::WithParamInterface<CasoGolden> {
protected:
    ZOPGolden() : BasePagos("zop") {}

    // The base template with every field placed where linea/entrada.txt has it; the asked ones unplaced.
    std::vector<CampoPlantilla> campos(const std::vector<std::string>& pedidos = {}) {
        std::vector<CampoPlantilla> c = pruebas::camposDePlantilla(*baseDatos, kPlantillaBaseZOP);
        for (std::size_t i = 0; i < c.size(); ++i) {
            const bool pedido = std::find(pedidos.begin(), pedidos.end(), c[i].campo) != pedidos.end();
            c[i].inicio = pedido ? 0 : kPosiciones[i][0];
            c[i].fin = pedido ? 0 : kPosiciones[i][1];
            c[i].valorcampo = pedido || !kValores.contains(c[i].campo) ? "" : kValores.at(c[i].campo);
            c[i].obligatorio = c[i].obligatorio || pedido;
        }
        return c;
    }
    std::int64_t crear(const std::string& tipo, const std::vector<CampoPlantilla>& c) {
        return pruebas::ConstructorPlantilla(*baseDatos).tipo(tipo).campos(c).crear();
    }

    // The driver as the dialog calls it: the run state's type, process date DDMMAA, the log beside the input.
    void convertir(const std::filesystem::path& entrada, std::int64_t plantilla, const std::string& tipo) {
        estado.gTipoEstructura = tipo;
        estado.gFechaProceso = "050326";
        estado.gFicheroLog = rutaLog;
        Entorno e = entorno();
        GenerarZOP(estado, e, {entrada, rutaSalida, plantilla, kOrdenante, 0, tipo, "", "", ""});
    }
};

TEST_P(ZOPGolden, daElFicheroDelBancoYElLogEscritosAMano) {
    const CasoGolden& caso = GetParam();
    const auto texto = carpeta / "remesa.txt";
    std::filesystem::copy_file(
        datos(caso.forma == Forma::VariasLineas ? "multilinea/entrada.txt" : "linea/entrada.txt"), texto);
    // A date typed for an earlier run never stands in for this run's due dates.
    estado.gFechaDatos = "991231";

    switch (caso.forma) {
    case Forma::Texto:
        convertir(texto, crear("ZOP", campos()), "ZOP");
        break;
    case Forma::SinFormaPago: {
        std::vector<CampoPlantilla> c = campos();
        c.erase(c.begin() + 9);
        convertir(texto, crear("ZOP", c), "ZOP");
        break;
    }
    case Forma::VariasLineas:
        // Twice in one process state: nothing of the first run reaches the second.
        convertir(texto, kPlantillaVariasLineas, "ZOP");
        std::filesystem::remove(rutaLog);
        convertir(texto, kPlantillaVariasLineas, "ZOP");
        break;
    case Forma::Hoja:
    case Forma::Tabla: {
        const bool hoja = caso.forma == Forma::Hoja;
        const std::filesystem::path entrada = carpeta / (hoja ? "remesa.xlsx" : "remesa.db");
        pruebas::escribirRemesaFilas(entrada, leerFichero(texto), campos());
        (hoja ? estado.gHojaExcel : estado.gTablaAccess) = "Remesa";
        const std::string tipo = hoja ? "ZOPEx" : "ZOPAc";
        convertir(entrada, crear(tipo, pruebas::plantillaDeFilas(campos())), tipo);
        break;
    }
    case Forma::Lote: {
        Entorno e = entorno();
        const std::string argumentos = texto.string() + "," + rutaSalida.string() + "," +
                                       std::to_string(crear("ZOP", campos())) + ",100,05032026";
        EXPECT_EQ(ejecutarModoLote(estado, e, registro, LeerParametros(argumentos, 10)), kSalidaConErrores);
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        avisos.mensajes.clear();
        break;
    }
    case Forma::Dialogo: {
        SolicitudCheques solicitud;
        ModeloEntrada modelo(estado);
        modelo.elegirPlantilla(crear("ZOP", campos({"FormaPago", "FechaVto"})), "ZOP");
        ASSERT_TRUE(modelo.elegirEntrada(texto, carpeta.ruta(), avisos));
        SeleccionEntrada seleccion{
            "Proveedores", "PAGOS DEL NORTE SL", "", kOrdenante, std::nullopt, "5", "3", "26", -1, "", ""};
        Entorno e = entorno(&solicitud);
        EXPECT_TRUE(modelo.procesar(seleccion, e, registro));
        break;
    }
    }

    EXPECT_TRUE(avisos.mensajes.empty()) << avisos.mensajes[0].texto;
    EXPECT_TRUE(estado.gError);
    const std::filesystem::path esperado = datos(std::string(caso.esperado) + "/esperado.out");
    ASSERT_EQ(std::filesystem::exists(rutaSalida), std::filesystem::exists(esperado));
    if (std::filesystem::exists(esperado)) {
        EXPECT_EQ(leerFichero(rutaSalida), leerFichero(esperado));
    }
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos(std::string(caso.esperado) + "/esperado.log")));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, ZOPGolden, ::testing::Values(
    CasoGolden{"chequesTransferenciasYCertificadosEnTexto", Forma::Texto, "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosDeUnaHoja", Forma::Hoja, "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosDeUnaTabla", Forma::Tabla, "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosEnModoLote", Forma::Lote, "linea"},
    CasoGolden{"formaDePagoYFechaDelDialogoParaTodasLasOrdenes", Forma::Dialogo, "dialogo"},
    CasoGolden{"variasLineasSinTelefonoQuePaseAlFaxSiguiente", Forma::VariasLineas, "multilinea"},
    CasoGolden{"sinCampoFormaPagoNingunaOrdenSale", Forma::SinFormaPago, "sin-forma-pago"}),
    [](const auto& info) { return std::string(info.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
