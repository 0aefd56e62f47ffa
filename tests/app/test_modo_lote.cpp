#include "arranque.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "modo_lote.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::RelojFijo;

// A driver that only records what it was asked to do.
struct LlamadaGrabada {
    Familia familia;
    ParametrosConversion parametros;
    std::string fechaProceso;
    std::filesystem::path ficheroLog;
};

class ModoLoteTest : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        baseDatos.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        // Ids 10 to 16, in this order.
        for (const char* tipo : {"CSB58", "CSB34T", "ZOP", "CSB19Ex", "PAGOSC", "XYZ", " ZOP "}) {
            baseDatos->preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, 'prueba')")
                .con(tipo)
                .ejecutar();
        }
        for (Familia familia : {Familia::CSB19, Familia::CSB58, Familia::CSB34, Familia::ZOP}) {
            registro.registrar(familia,
                               [this, familia](EstadoEjecucion& e, Entorno&, const ParametrosConversion& p) {
                                   llamadas.push_back({familia, p, e.gFechaProceso, e.gFicheroLog});
                                   e.gError = errorDelConversor;
                                   e.gOrdenesEscritas = 1;
                               });
        }
    }

    int lote(const std::string& lineaComandos) {
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        return ejecutarModoLote(estado, entorno, registro, LeerParametros(lineaComandos, 10));
    }

    CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    EstadoEjecucion estado;
    AvisosGrabados avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    std::vector<LlamadaGrabada> llamadas;
    bool errorDelConversor = false;
};

struct CasoRechazo {
    const char* lineaComandos;
    const char* mensaje;
};

const char* const kDetalleCargo =
    "Detalle del cargo incorrecto: el sexto argumento debe ser 0 (cargo total) o 1 (cargo parcial)";
const char* const kSobranArgumentos =
    "Sobran argumentos: la coma separa los argumentos, así que el domicilio y la plaza del ordenante "
    "no pueden llevar comas (escriba, por ejemplo, «Riego 122 2o 2a» en lugar de «Riego, 122 2o 2a»)";

class RechazosLoteTest : public ModoLoteTest, public ::testing::WithParamInterface<CasoRechazo> {};

TEST_P(RechazosLoteTest, rechazaSinConvertirYTerminaConEstado2) {
    EXPECT_EQ(lote(GetParam().lineaComandos), kSalidaRechazada);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "informacion");
    EXPECT_EQ(avisos.mensajes[0].texto, GetParam().mensaje);
    EXPECT_TRUE(llamadas.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RechazosLoteTest,
    ::testing::Values(
        CasoRechazo{"in.txt", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,abc,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,0,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,x,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,  ,9,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,99,1,01022003,1", "No existe una plantilla con este identificador"},
        // Ids are 32-bit: 4294967305 would wrap to 9.
        CasoRechazo{"in.txt,out.txt,4294967305,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,1,01022003,4294967297", "Faltan parametros"},
        CasoRechazo{" ", "Faltan parametros"},
        // The date must be a real calendar date.
        CasoRechazo{"in.txt,out.txt,9,1,01132003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,29022003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,00012003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,1022003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,0102200a,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,11,1,32012003,1,Calle,Madrid", "Fecha incorrecta"},
        // The date is checked before the type.
        CasoRechazo{"in.txt,out.txt,13,1,99999999,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,1,01022003", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,1,01022003,0", "Faltan parametros"},
        // Norm 58 takes no date: "12x" is its issuer, which is no number.
        CasoRechazo{"in.txt,out.txt,10,1,12x", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,10,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,1,Calle Mayor", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,1, ,Madrid", "Faltan parametros"},
        // Consecutive commas leave no empty argument: "1" moves up to the date's place.
        CasoRechazo{"in.txt,out.txt,11,1,,1,Calle,Madrid", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,12,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,5,Calle Mayor 1,Sevilla", kDetalleCargo},
        CasoRechazo{"in.txt,out.txt,14,1,01022003, 1,Calle Mayor 1,Sevilla", kDetalleCargo},
        CasoRechazo{"in.txt,out.txt,11,1,24022012,0,Riego, 122 2o 2a,08202 Sabadell", kSobranArgumentos},
        CasoRechazo{"in.txt,out.txt,13,1,01022003,1", "Plantilla incorrecta"},
        CasoRechazo{"in.txt,out.txt,15,1,01022003,1", "Plantilla incorrecta"}));

TEST_F(ModoLoteTest, llamaAlConversorDeNorma19ConLosArgumentosYElLogJuntoALaEntrada) {
    EXPECT_EQ(lote("in.txt,out.bak,9,1,29022004,7"), kSalidaCorrecta);
    EXPECT_TRUE(avisos.mensajes.empty());
    ASSERT_EQ(llamadas.size(), 1u);
    const auto& llamada = llamadas[0];
    EXPECT_EQ(llamada.familia, Familia::CSB19);
    EXPECT_EQ(llamada.parametros.rutaEntrada, carpeta / "in.txt");
    EXPECT_EQ(llamada.parametros.rutaSalida, std::filesystem::path("out.bak"));
    EXPECT_EQ(llamada.parametros.idEstructura, 9);
    EXPECT_EQ(llamada.parametros.idPresentador, 1);
    EXPECT_EQ(llamada.parametros.idEmisor, 7);
    EXPECT_EQ(llamada.fechaProceso, "29/02/2004");
    EXPECT_EQ(llamada.ficheroLog, carpeta / "in.log");
}

TEST_F(ModoLoteTest, laFechaEsSoloSusOchoPrimerosCaracteres) {
    // Separate arguments of the shell are joined with a blank, which stays inside the argument.
    EXPECT_EQ(lote("in.txt,out.bak,9,1,01022003 x,7"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].fechaProceso, "01/02/2003");
}

TEST_F(ModoLoteTest, usaTalCualUnaRutaDeEntradaAbsoluta) {
    EXPECT_EQ(lote("/datos.2026/remesa.txt,/tmp/salida.out,9,1,01022003,1"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].parametros.rutaEntrada, std::filesystem::path("/datos.2026/remesa.txt"));
    // The log name is cut in the file name, never in the folder's.
    EXPECT_EQ(llamadas[0].ficheroLog, std::filesystem::path("/datos.2026/remesa.log"));
}

TEST_F(ModoLoteTest, pasaLosDatosDeCabeceraAlConversorDeNorma34) {
    EXPECT_EQ(lote("in.txt,out.txt,11,3,01022003,1,Calle Mayor 1,Madrid"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].familia, Familia::CSB34);
    EXPECT_EQ(llamadas[0].parametros.tipoPlantilla, "CSB34T");
    EXPECT_EQ(llamadas[0].parametros.detalleCargo, "1");
    EXPECT_EQ(llamadas[0].parametros.domicilioOrdenante, "Calle Mayor 1");
    EXPECT_EQ(llamadas[0].parametros.plazaOrdenante, "Madrid");
    EXPECT_EQ(llamadas[0].fechaProceso, "01/02/2003");
}

TEST_F(ModoLoteTest, losDatosDeCabeceraLleganEnUtf8YPasanAlConversorEnWindows1252) {
    EXPECT_EQ(lote("in.txt,out.txt,11,3,01022003,1,Calle A\xC3\xB1o 3,\xC3\x81vila"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].parametros.domicilioOrdenante, "Calle A\xF1o 3");
    EXPECT_EQ(llamadas[0].parametros.plazaOrdenante, "\xC1vila");
}

TEST_F(ModoLoteTest, norma58TomaElEmisorDelQuintoArgumentoSinFecha) {
    EXPECT_EQ(lote("in.txt,out.txt,10,2,7"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].familia, Familia::CSB58);
    EXPECT_EQ(llamadas[0].parametros.idEmisor, 7);
    EXPECT_EQ(llamadas[0].fechaProceso, "");
}

TEST_F(ModoLoteTest, zopAceptaSuTipoConBlancosAlrededor) {
    EXPECT_EQ(lote("in.txt,out.txt,16,2,01022003"), kSalidaCorrecta);
    ASSERT_EQ(llamadas.size(), 1u);
    EXPECT_EQ(llamadas[0].familia, Familia::ZOP);
    EXPECT_EQ(llamadas[0].parametros.tipoPlantilla, "ZOP");
}

TEST_F(ModoLoteTest, terminaConEstado1CuandoLaConversionRechazaOrdenes) {
    errorDelConversor = true;
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), kSalidaConErrores);
}

// What a driver left, and the line batch mode adds. An earlier run's log is there; "%" is its path.
struct CasoFinal {
    const char* nombre;
    std::int64_t ordenes;
    bool error;
    bool cancelado;
    bool anadeAlLog;
    int salida;
    const char* mensaje; // nullptr: none
    bool falloLog = false;
};

class FinalLoteTest : public ModoLoteTest, public ::testing::WithParamInterface<CasoFinal> {};

TEST_P(FinalLoteTest, unaLineaFinalDiceDondeEstanLosRechazosOQueNoHabiaOrdenes) {
    const auto& caso = GetParam();
    const auto log = carpeta / "in.log";
    pruebas::escribirFichero(log, "anterior\r\n");
    registro.registrar(Familia::CSB19, [&](EstadoEjecucion& e, Entorno&, const ParametrosConversion&) {
        e.gOrdenesEscritas = caso.ordenes;
        e.gError = caso.error;
        e.gProcesoCancelado = caso.cancelado;
        e.gFalloLog = caso.falloLog;
        if (caso.anadeAlLog) {
            pruebas::escribirFichero(log, "anterior\r\nrechazo\r\n");
        }
    });
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), caso.salida);
    std::vector<AvisosGrabados::Mensaje> esperados;
    if (caso.mensaje != nullptr) {
        std::string texto = caso.mensaje;
        if (const auto i = texto.find('%'); i != std::string::npos) {
            texto.replace(i, 1, log.string());
        }
        esperados.push_back({"informacion", texto});
    }
    EXPECT_EQ(avisos.mensajes, esperados);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FinalLoteTest,
    ::testing::Values(
        CasoFinal{"sinOrdenes", 0, false, false, false, 0,
                  "No se ha generado el fichero de salida: la entrada no contiene ninguna orden"},
        CasoFinal{"rechazos", 2, true, false, true, 1,
                  "Proceso terminado incorrectamente: registro de errores en %"},
        // Stopped on an error that was shown already; the log is an earlier run's.
        CasoFinal{"detenido", 0, true, false, false, 1, nullptr},
        CasoFinal{"cancelado", 0, true, true, false, 1, nullptr},
        // The log could not be written: the run stopped, with part of its blocks or none in the log.
        CasoFinal{"logSinEscribir", 0, true, false, true, 1,
                  "Proceso terminado incorrectamente: no se puede escribir el registro de errores %", true}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ModoLoteTest, unErrorDelConversorSeMuestraYTerminaConEstado1) {
    registro.registrar(Familia::CSB19, [](EstadoEjecucion&, Entorno&, const ParametrosConversion&) {
        throw ErrorTrovanel("No se puede crear el fichero de salida");
    });
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), kSalidaConErrores);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0],
              (AvisosGrabados::Mensaje{"critico", "No se puede crear el fichero de salida"}));
}

TEST_F(ModoLoteTest, unaSalidaQueEsLaEntradaSeRechazaConEstado2SinTocarla) {
    registro.registrar(Familia::CSB19, GenerarCSB19);
    const auto entrada = carpeta / "in.txt";
    pruebas::escribirFichero(entrada, "recibo\r\n");
    EXPECT_EQ(lote(entrada.native() + "," + (carpeta / "." / "in.txt").native() + ",9,1,01022003,1"),
              kSalidaRechazada);
    EXPECT_EQ(avisos.mensajes,
              (std::vector<AvisosGrabados::Mensaje>{
                  {"informacion", "El fichero de salida no puede ser el mismo que el fichero de entrada"}}));
    EXPECT_EQ(pruebas::leerFichero(entrada), "recibo\r\n");
}

TEST_F(ModoLoteTest, unPresentadorQueNoExisteSeRechazaConEstado2SinEscribirNada) {
    registro.registrar(Familia::CSB19, GenerarCSB19);
    pruebas::escribirFichero(carpeta / "in.txt", "recibo\r\n");
    EXPECT_EQ(lote("in.txt," + (carpeta / "out.txt").native() + ",9,99,01022003,1"), kSalidaRechazada);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0],
              (AvisosGrabados::Mensaje{"critico", "No se puede obtener los datos del presentador"}));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "in.log"));
}

TEST_F(ModoLoteTest, diceQueLaFamiliaNoEstaDisponibleCuandoNoHayConversor) {
    registro = RegistroConversores{};
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), kSalidaRechazada);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].texto, "Esta versión del programa aún no genera ficheros de tipo CSB19");
}

TEST_F(ModoLoteTest, informaSiNoPuedeLeerLaPlantilla) {
    baseDatos->ejecutarScript("DROP TABLE estructura");
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), kSalidaRechazada);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    EXPECT_TRUE(avisos.mensajes[0].texto.starts_with("No se puede cargar la plantilla\r\nError: "));
}

} // namespace
} // namespace trovanel
