// Multi-invoice inputs of norms 19, 58, 34 and ZOP, same-key (C) and counted (D), through batch mode and
// the dialog: bank files and logs compared byte for byte with files written by hand. The table of runs is
// tests/data/multifactura/casos.txt.

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
#include <sstream>
#include <string>

namespace trovanel {
namespace {

namespace fs = std::filesystem;

TEST(MultifacturaGolden, cadaFacturaEsUnaOrdenConLosDatosDeSuLineaDeOrden) {
    const auto datos = [](const std::string& f) {
        return pruebas::leerFichero(pruebas::datosPrueba() / "multifactura" / f);
    };
    const std::map<std::string, std::string> avisosPorNombre{
        {"-", ""},
        {"rechazos", "Proceso terminado incorrectamente: registro de errores en "},
        {"sinClave", "Por favor revise la plantilla.\r\nFalta indicar el identificador de factura"},
        {"vacia", "No se ha generado el fichero de salida: la entrada no contiene ninguna orden"}};
    // After input, output and template: each family's party and the rest of its arguments.
    const std::map<std::string, std::string> resto{{"csb19", ",200,05032026,200"},
                                                   {"csb58", ",201,201"},
                                                   {"csb34", ",202,05032026,1,CALLE MAYOR 1,MADRID"},
                                                   {"zop", ",203,05032026"}};
    std::istringstream casos(datos("casos.txt"));
    std::string linea, f, fichero, log, aviso, forma;
    std::int64_t plantilla = 0;
    int filas = 0;
    while (std::getline(casos, linea)) {
        if (!(std::istringstream(linea) >> f >> plantilla >> fichero >> log >> aviso >> forma) ||
            f[0] == '#') {
            continue;
        }
        ++filas;
        SCOPED_TRACE(linea);
        pruebas::CarpetaTemporal carpeta;
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        BaseDatos bd = BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
        bd.ejecutarScript(datos("plantillas.sql"));
        const fs::path entrada = carpeta / "remesa.txt";
        pruebas::escribirFichero(entrada, fichero == "-" ? "" : datos(f + "/" + fichero));
        EstadoEjecucion estado;
        pruebas::AvisosGrabados avisos;
        pruebas::RelojFijo reloj;
        RegistroConversores registro;
        registrarConversores(registro);
        Entorno entorno{bd, avisos, reloj, carpeta.ruta()};
        if (forma == "dialogo") {
            ModeloEntrada modelo(estado);
            modelo.elegirPlantilla(plantilla, "CSB19");
            ASSERT_TRUE(modelo.elegirEntrada(entrada, carpeta.ruta(), avisos));
            SeleccionEntrada seleccion{"Facturas", "GESTORIA", "COLEGIO", 200, 200, "5",
                                       "3",        "26",       -1,        "",  ""};
            EXPECT_TRUE(modelo.procesar(seleccion, entorno, registro));
            EXPECT_EQ(estado.gError, fichero != "-");
        } else {
            const std::string argumentos = entrada.string() + "," + (carpeta / "remesa.out").string() + "," +
                                           std::to_string(plantilla) + resto.at(f);
            EXPECT_EQ(ejecutarModoLote(estado, entorno, registro, LeerParametros(argumentos, 10)),
                      fichero != "-" ? kSalidaConErrores : kSalidaCorrecta);
        }
        const std::string& texto = avisosPorNombre.at(aviso);
        ASSERT_EQ(avisos.mensajes.size(), texto.empty() ? 0u : 1u);
        EXPECT_TRUE(texto.empty() || avisos.mensajes[0].texto.starts_with(texto));
        for (const auto& [salida, esperado] :
             {std::pair{"remesa.out", "esperado.out"}, {"remesa.log", log.c_str()}}) {
            ASSERT_EQ(fs::exists(carpeta / salida), log != "-") << salida;
            EXPECT_TRUE(log == "-" || pruebas::leerFichero(carpeta / salida) == datos(f + "/" + esperado))
                << salida;
        }
    }
    EXPECT_EQ(filas, 20);
}

} // namespace
} // namespace trovanel
