// Multi-invoice inputs of norms 19, 58, 34 and ZOP, same-key (C) and counted (D), through batch mode and
// the dialog: bank files and logs compared byte for byte with files written by hand
// (tests/data/multifactura/).

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
#include <string>

namespace trovanel {
namespace {

namespace fs = std::filesystem;

struct CasoMultifactura {
    const char* familia; // folder of the family's files
    std::int64_t plantilla;
    char clase;        // input entrada-C.txt or entrada-D.txt; 0: an empty input
    const char* log;   // expected log, with esperado.out; nullptr: neither bank file nor log
    const char* aviso; // start of the one message; nullptr: none
    bool dialogo = false;
};

TEST(MultifacturaGolden, cadaFacturaEsUnaOrdenConLosDatosDeSuLineaDeOrden) {
    const auto datos = [](const std::string& f) {
        return pruebas::leerFichero(pruebas::datosPrueba() / "multifactura" / f);
    };
    const char* kRechazos = "Proceso terminado incorrectamente: registro de errores en ";
    const char* kSinClave = "Por favor revise la plantilla.\r\nFalta indicar el identificador de factura";
    const char* kVacia = "No se ha generado el fichero de salida: la entrada no contiene ninguna orden";
    // Both inputs: an order line without invoices, one with three (the second refused; counted 098, 099,
    // 100), another without invoices, one with a single invoice, then a line whose key is not the next.
    // clang-format off
    const CasoMultifactura casos[] = {
        {"csb19", 200, 'C', "esperado.log", kRechazos}, {"csb19", 201, 'D', "esperado.log", kRechazos},
        {"csb19", 200, 'C', "esperado.log", nullptr, true}, {"csb19", 201, 'D', "esperado.log", nullptr, true},
        {"csb58", 202, 'C', "esperado-C.log", kRechazos},
        // The file's first order line opens a credit: alone at the next order line, it has no amount.
        {"csb58", 203, 'D', "esperado-D.log", kRechazos},
        {"csb34", 204, 'C', "esperado.log", kRechazos}, {"csb34", 205, 'D', "esperado.log", kRechazos},
        {"zop", 210, 'C', "esperado.log", kRechazos}, {"zop", 211, 'D', "esperado.log", kRechazos},
        {"csb19", 200, 0, nullptr, kVacia}, {"csb19", 201, 0, nullptr, kVacia}, {"csb58", 203, 0, nullptr, kVacia},
        {"csb34", 204, 0, nullptr, kVacia}, {"zop", 211, 0, nullptr, kVacia},
        // Refused before the input is read: a key that names no field, a count that starts with a letter,
        // rows without fields.
        {"csb19", 206, 'C', nullptr, kSinClave}, {"csb19", 207, 'D', nullptr, kSinClave},
        {"csb58", 208, 'D', nullptr, kSinClave}, {"csb34", 209, 'C', nullptr, kSinClave},
        {"csb19", 206, 'C', nullptr, kSinClave, true}};
    // clang-format on
    for (const CasoMultifactura& caso : casos) {
        const std::string f = caso.familia;
        SCOPED_TRACE(f + " " + std::to_string(caso.plantilla) + (caso.dialogo ? " dialogo" : ""));
        pruebas::CarpetaTemporal carpeta;
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        BaseDatos bd = BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
        bd.ejecutarScript(datos("plantillas.sql"));
        const fs::path entrada = carpeta / "remesa.txt";
        pruebas::escribirFichero(entrada,
                                 caso.clase == 0 ? "" : datos(f + "/entrada-" + caso.clase + ".txt"));
        EstadoEjecucion estado;
        pruebas::AvisosGrabados avisos;
        pruebas::RelojFijo reloj;
        RegistroConversores registro;
        registrarConversores(registro);
        Entorno entorno{bd, avisos, reloj, carpeta.ruta()};
        if (caso.dialogo) {
            ModeloEntrada modelo(estado);
            modelo.elegirPlantilla(caso.plantilla, "CSB19");
            ASSERT_TRUE(modelo.elegirEntrada(entrada, carpeta.ruta(), avisos));
            SeleccionEntrada seleccion{"Facturas", "GESTORIA", "COLEGIO", 200, 200, "5",
                                       "3",        "26",       -1,        "",  ""};
            EXPECT_TRUE(modelo.procesar(seleccion, entorno, registro));
            EXPECT_EQ(estado.gError, caso.clase != 0);
        } else {
            const std::string resto = f == "csb19"   ? ",200,05032026,200"
                                      : f == "csb58" ? ",201,201"
                                      : f == "zop"   ? ",203,05032026"
                                                     : ",202,05032026,1,CALLE MAYOR 1,MADRID";
            const std::string argumentos = entrada.string() + "," + (carpeta / "remesa.out").string() + "," +
                                           std::to_string(caso.plantilla) + resto;
            EXPECT_EQ(ejecutarModoLote(estado, entorno, registro, LeerParametros(argumentos, 10)),
                      caso.clase != 0 ? kSalidaConErrores : kSalidaCorrecta);
        }
        ASSERT_EQ(avisos.mensajes.size(), caso.aviso == nullptr ? 0u : 1u);
        EXPECT_TRUE(caso.aviso == nullptr || avisos.mensajes[0].texto.starts_with(caso.aviso));
        for (const auto& [salida, esperado] :
             {std::pair{"remesa.out", "esperado.out"}, {"remesa.log", caso.log}}) {
            ASSERT_EQ(fs::exists(carpeta / salida), caso.log != nullptr) << salida;
            EXPECT_TRUE(caso.log == nullptr ||
                        pruebas::leerFichero(carpeta / salida) == datos(f + "/" + esperado))
                << salida;
        }
    }
}

} // namespace
} // namespace trovanel
