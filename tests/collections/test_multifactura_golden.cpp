// Multi-invoice inputs of norms 19, 58 and 34, same-key and counted, through batch mode and the dialog:
// bank files and logs compared byte for byte with files written by hand (tests/data/multifactura/).

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "modelo_entrada.hpp"
#include "modo_lote.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::leerFichero;

fs::path datos(const std::string& relativa) {
    return pruebas::datosPrueba() / "multifactura" / relativa;
}

struct CasoMultifactura {
    const char* nombre;
    const char* familia; // folder of the family's files
    std::int64_t plantilla;
    const char* entrada; // "": an empty input
    const char* salida;  // nullptr: no bank file
    const char* log;     // nullptr: no log
    int estado;
    std::string aviso; // start of batch mode's one message; "": none
    bool dialogo = false;
};

void PrintTo(const CasoMultifactura& caso, std::ostream* os) {
    *os << caso.nombre;
}

// After the input, the output and the template: each family's party and the rest of its arguments.
const std::map<std::string, std::string> kArgumentos{
    {"csb19", ",200,05032026,200"}, {"csb58", ",201,201"}, {"csb34", ",202,05032026,1,CALLE MAYOR 1,MADRID"}};

class MultifacturaGolden : public ::testing::TestWithParam<CasoMultifactura> {
protected:
    pruebas::CarpetaTemporal carpeta;
    EstadoEjecucion estado;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
};

TEST_P(MultifacturaGolden, cadaFacturaEsUnaOrdenConLosDatosDeSuLineaDeOrden) {
    const CasoMultifactura& caso = GetParam();
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    BaseDatos bd = BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
    bd.ejecutarScript(leerFichero(datos("plantillas.sql")));
    const std::string familia = caso.familia;
    const fs::path entrada = carpeta / "remesa.txt";
    pruebas::escribirFichero(entrada, *caso.entrada ? leerFichero(datos(familia + "/" + caso.entrada)) : "");
    RegistroConversores registro;
    registrarConversores(registro);
    Entorno entorno{bd, avisos, reloj, carpeta.ruta()};

    if (caso.dialogo) {
        ModeloEntrada modelo(estado);
        modelo.elegirPlantilla(caso.plantilla, "CSB19");
        ASSERT_TRUE(modelo.elegirEntrada(entrada, carpeta.ruta(), avisos));
        SeleccionEntrada seleccion{"Facturas", "GESTORIA", "COLEGIO", 200, 200, "5", "3", "26", -1, "", ""};
        EXPECT_TRUE(modelo.procesar(seleccion, entorno, registro));
        EXPECT_EQ(estado.gError, caso.estado == kSalidaConErrores);
    } else {
        const std::string argumentos = entrada.string() + "," + (carpeta / "remesa.out").string() + "," +
                                       std::to_string(caso.plantilla) + kArgumentos.at(familia);
        EXPECT_EQ(ejecutarModoLote(estado, entorno, registro, LeerParametros(argumentos, 10)), caso.estado);
    }

    ASSERT_EQ(avisos.mensajes.size(), caso.aviso.empty() ? 0u : 1u);
    if (!caso.aviso.empty()) {
        EXPECT_EQ(avisos.mensajes[0].texto.substr(0, caso.aviso.size()), caso.aviso);
    }
    const auto esperado = [&](const fs::path& ruta, const char* fichero) {
        ASSERT_EQ(fs::exists(ruta), fichero != nullptr) << ruta;
        if (fichero != nullptr) {
            EXPECT_EQ(leerFichero(ruta), leerFichero(datos(familia + "/" + fichero))) << ruta;
        }
    };
    esperado(carpeta / "remesa.out", caso.salida);
    esperado(carpeta / "remesa.log", caso.log);
}

const std::string kConRechazos = "Proceso terminado incorrectamente: registro de errores en ";
const std::string kSinOrdenes =
    "No se ha generado el fichero de salida: la entrada no contiene ninguna orden";
const std::string kSinClave = "Por favor revise la plantilla.\r\nFalta indicar el identificador de factura";
constexpr int kBien = kSalidaCorrecta;
constexpr int kMal = kSalidaConErrores;

// Both inputs: an order line without invoices, one with three (the second refused; counted 098, 099,
// 100), another without invoices, one with a single invoice, then a line whose key is not the next one.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, MultifacturaGolden, ::testing::Values(
    CasoMultifactura{"csb19MismaClave", "csb19", 200, "entrada-C.txt", "esperado.out", "esperado.log", kMal, kConRechazos},
    CasoMultifactura{"csb19Numeradas", "csb19", 201, "entrada-D.txt", "esperado.out", "esperado.log", kMal, kConRechazos},
    CasoMultifactura{"csb19MismaClaveDesdeElDialogo", "csb19", 200, "entrada-C.txt", "esperado.out", "esperado.log", kMal, "", true},
    CasoMultifactura{"csb19NumeradasDesdeElDialogo", "csb19", 201, "entrada-D.txt", "esperado.out", "esperado.log", kMal, "", true},
    CasoMultifactura{"csb58MismaClave", "csb58", 202, "entrada-C.txt", "esperado.out", "esperado-C.log", kMal, kConRechazos},
    // The file's first order line opens a credit: alone at the next order line, it has no amount.
    CasoMultifactura{"csb58Numeradas", "csb58", 203, "entrada-D.txt", "esperado.out", "esperado-D.log", kMal, kConRechazos},
    CasoMultifactura{"csb34MismaClave", "csb34", 204, "entrada-C.txt", "esperado.out", "esperado.log", kMal, kConRechazos},
    CasoMultifactura{"csb34Numeradas", "csb34", 205, "entrada-D.txt", "esperado.out", "esperado.log", kMal, kConRechazos},
    CasoMultifactura{"csb19MismaClaveEntradaVacia", "csb19", 200, "", nullptr, nullptr, kBien, kSinOrdenes},
    CasoMultifactura{"csb19NumeradasEntradaVacia", "csb19", 201, "", nullptr, nullptr, kBien, kSinOrdenes},
    CasoMultifactura{"csb58NumeradasEntradaVacia", "csb58", 203, "", nullptr, nullptr, kBien, kSinOrdenes},
    CasoMultifactura{"csb34MismaClaveEntradaVacia", "csb34", 204, "", nullptr, nullptr, kBien, kSinOrdenes},
    // Refused before the input is read: no bank file, no log.
    CasoMultifactura{"csb19ClaveQueNoEsCampo", "csb19", 206, "entrada-C.txt", nullptr, nullptr, kMal, kSinClave},
    CasoMultifactura{"csb19CuentaQueNoEsNumero", "csb19", 207, "entrada-D.txt", nullptr, nullptr, kMal, kSinClave},
    CasoMultifactura{"csb58CuentaQueNoEsNumero", "csb58", 208, "entrada-D.txt", nullptr, nullptr, kMal, kSinClave},
    CasoMultifactura{"csb34FilasSinCampos", "csb34", 209, "entrada-C.txt", nullptr, nullptr, kMal, kSinClave},
    CasoMultifactura{"csb19ClaveQueNoEsCampoDesdeElDialogo", "csb19", 206, "entrada-C.txt", nullptr, nullptr, kMal, kSinClave, true}),
    [](const auto& info) { return std::string(info.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
