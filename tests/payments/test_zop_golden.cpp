// Supplier-payment bank files and error logs compared byte for byte with files written by hand from the
// record layouts (tests/data/zop/): cheques, transfers and certified payments from text, several lines,
// a sheet, a table, batch mode and the conversion dialog.

#include "arranque.hpp"
#include "datos_obligatorios.hpp"
#include "entradas_filas.hpp"
#include "golden_pagos.hpp"
#include "modelo_datos.hpp"
#include "modelo_entrada.hpp"
#include "modo_lote.hpp"
#include "zop.hpp"

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::leerFichero;

enum class Forma { Texto, Hoja, Tabla, Lote, Dialogo };

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
    std::int64_t plantilla; // of partes.sql
    const char* entrada;    // folder of entrada.txt
    const char* esperado;   // folder of esperado.out (absent: no bank file) and esperado.log
};

class ZOPGolden : public pruebas::BasePagos, public ::testing::WithParamInterface<CasoGolden> {
protected:
    ZOPGolden() : BasePagos("zop") {}

    // The driver as the dialog calls it: the run state's type, process date DDMMAA, the log beside the input.
    void convertir(const fs::path& entrada, std::int64_t plantilla, const std::string& tipo) {
        estado.gTipoEstructura = tipo;
        estado.gFechaProceso = "050326";
        estado.gFicheroLog = rutaLog;
        Entorno e = entorno();
        GenerarZOP(estado, e, {entrada, rutaSalida, plantilla, 100, 0, tipo, "", "", ""});
    }
};

TEST_P(ZOPGolden, daElFicheroDelBancoYElLogEscritosAMano) {
    const CasoGolden& caso = GetParam();
    const fs::path texto = carpeta / "remesa.txt";
    fs::copy_file(datos(caso.entrada + std::string("/entrada.txt")), texto);
    // A date typed for an earlier run never stands in for this run's due dates.
    estado.gFechaDatos = "991231";
    Entorno e = entorno();
    SolicitudCheques solicitud;
    ModeloEntrada modelo(estado);
    SeleccionEntrada seleccion{
        "Proveedores", "PAGOS DEL NORTE SL", "", 100, std::nullopt, "5", "3", "26", -1, "", ""};
    const auto filas = pruebas::camposDePlantilla(*baseDatos, caso.plantilla);
    const fs::path tabla = carpeta / (caso.forma == Forma::Hoja ? "remesa.xlsx" : "remesa.db");
    const std::string tipo = caso.forma == Forma::Hoja ? "ZOPEx" : "ZOPAc";

    switch (caso.forma) {
    case Forma::Texto:
        // Twice in one process state: nothing of the first run reaches the second.
        convertir(texto, caso.plantilla, "ZOP");
        fs::remove(rutaLog);
        convertir(texto, caso.plantilla, "ZOP");
        break;
    case Forma::Hoja:
    case Forma::Tabla:
        pruebas::escribirRemesaFilas(tabla, leerFichero(texto), filas);
        (caso.forma == Forma::Hoja ? estado.gHojaExcel : estado.gTablaAccess) = "Remesa";
        convertir(tabla,
                  pruebas::ConstructorPlantilla(*baseDatos)
                      .tipo(tipo)
                      .campos(pruebas::plantillaDeFilas(filas))
                      .crear(),
                  tipo);
        break;
    case Forma::Lote:
        EXPECT_EQ(ejecutarModoLote(
                      estado, e, registro,
                      LeerParametros(texto.string() + "," + rutaSalida.string() + ",101,100,05032026", 10)),
                  kSalidaConErrores);
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        avisos.mensajes.clear();
        break;
    case Forma::Dialogo:
        modelo.elegirPlantilla(caso.plantilla, "ZOP");
        ASSERT_TRUE(modelo.elegirEntrada(texto, carpeta.ruta(), avisos));
        e.solicitudDatos = &solicitud;
        EXPECT_TRUE(modelo.procesar(seleccion, e, registro));
        break;
    }

    EXPECT_TRUE(avisos.mensajes.empty()) << avisos.mensajes[0].texto;
    EXPECT_TRUE(estado.gError);
    const fs::path esperado = datos(caso.esperado + std::string("/esperado.out"));
    ASSERT_EQ(fs::exists(rutaSalida), fs::exists(esperado));
    EXPECT_EQ(fs::exists(esperado) ? leerFichero(rutaSalida) : "",
              fs::exists(esperado) ? leerFichero(esperado) : "");
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos(caso.esperado + std::string("/esperado.log"))));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, ZOPGolden, ::testing::Values(
    CasoGolden{"chequesTransferenciasYCertificadosEnTexto", Forma::Texto, 101, "linea", "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosDeUnaHoja", Forma::Hoja, 101, "linea", "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosDeUnaTabla", Forma::Tabla, 101, "linea", "linea"},
    CasoGolden{"chequesTransferenciasYCertificadosEnModoLote", Forma::Lote, 101, "linea", "linea"},
    CasoGolden{"formaDePagoYFechaDelDialogoParaTodasLasOrdenes", Forma::Dialogo, 102, "linea", "dialogo"},
    CasoGolden{"variasLineasSinTelefonoQuePaseAlFaxSiguiente", Forma::Texto, 100, "multilinea", "multilinea"},
    // The rejected order's e-mail and sign never go out with the next order, which has no line of its own.
    CasoGolden{"unaOrdenRechazadaNoDejaSuCorreoNiSuSignoALaSiguiente", Forma::Texto, 104, "rechazo-sin-opcionales",
               "rechazo-sin-opcionales"},
    CasoGolden{"sinCampoFormaPagoNingunaOrdenSale", Forma::Texto, 103, "linea", "sin-forma-pago"},
    CasoGolden{"sinCampoFormaPagoElLogNombraCadaFilaDeLaHoja", Forma::Hoja, 103, "linea", "sin-forma-pago"},
    CasoGolden{"sinCampoFormaPagoElLogNombraCadaFilaDeLaTabla", Forma::Tabla, 103, "linea", "sin-forma-pago"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
