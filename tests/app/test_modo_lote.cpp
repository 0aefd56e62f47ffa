#include "arranque.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "modo_lote.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

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
            registro.registrar(
                familia, [this, familia](EstadoEjecucion&, Entorno&, const ParametrosConversion& p) {
                    llamadas.push_back({familia, p, p.gFechaProceso, p.gFicheroLog});
                    ResultadoConversion r;
                    r.clase = errorDelConversor ? ResultadoConversion::Clase::EscritoConRechazos
                                                : ResultadoConversion::Clase::Escrito;
                    r.log = p.gFicheroLog;
                    r.ordenesEscritas = 1;
                    return r;
                });
        }
    }

    int lote(const std::string& lineaComandos) {
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
        return ejecutarModoLote(entorno, registro, LeerParametros(lineaComandos, 10));
    }

    // The one call a line that converts makes (an empty one, failing, when it made none or more).
    LlamadaGrabada convertida(const std::string& lineaComandos) {
        llamadas.clear();
        EXPECT_EQ(lote(lineaComandos), kSalidaCorrecta) << lineaComandos;
        EXPECT_EQ(llamadas.size(), 1u) << lineaComandos;
        return llamadas.size() == 1 ? llamadas[0] : LlamadaGrabada{};
    }

    CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    AvisosGrabados avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    std::vector<LlamadaGrabada> llamadas;
    bool errorDelConversor = false;
};

struct CasoRechazo {
    const char* lineaComandos;
    const char* mensaje;
    const char* uso = nullptr; // the line that follows an argument error; nullptr: none
};

const char* const kUsoGeneral =
    "Uso: trovanel 'entrada,salida,plantilla,presentador,...' (trovanel --help da "
    "los argumentos de cada tipo de plantilla)";
const char* const kUso19 =
    "Uso (CSB19): trovanel 'entrada,salida,plantilla,presentador,fecha DDMMAAAA,emisor'";
const char* const kUso58 = "Uso (CSB58): trovanel 'entrada,salida,plantilla,presentador,emisor'";
const char* const kUsoZOP = "Uso (ZOP): trovanel 'entrada,salida,plantilla,ordenante,fecha DDMMAAAA'";

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
    const std::string& texto = avisos.mensajes[0].texto;
    EXPECT_EQ(texto.substr(0, texto.find("\r\n")), GetParam().mensaje);
    if (GetParam().uso != nullptr) {
        EXPECT_EQ(texto.substr(texto.find("\r\n") + 2), GetParam().uso);
    }
    EXPECT_TRUE(llamadas.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RechazosLoteTest,
    ::testing::Values(
        CasoRechazo{"in.txt", "Faltan parametros", kUsoGeneral},
        // A template or presenter id that is no number, or 0, is missing: the help says where ids are.
        CasoRechazo{"in.txt,out.txt,abc,1,01022003,1", "Faltan parametros", kUsoGeneral},
        CasoRechazo{"in.txt,out.txt,0,1,01022003,1", "Faltan parametros", kUsoGeneral},
        CasoRechazo{"in.txt,out.txt,9,x,01022003,1", "Faltan parametros", kUsoGeneral},
        CasoRechazo{"in.txt,out.txt,9,0,01022003,1", "Faltan parametros", kUsoGeneral},
        CasoRechazo{"in.txt,  ,9,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,99,1,01022003,1", "No existe una plantilla con este identificador"},
        // Ids are 32-bit: 4294967305 would wrap to 9.
        CasoRechazo{"in.txt,out.txt,4294967305,1,01022003,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,1,01022003,4294967297", "Faltan parametros"},
        CasoRechazo{" ", "Faltan parametros"},
        // The date must be a real calendar date.
        CasoRechazo{"in.txt,out.txt,9,1,01132003,1", "Fecha incorrecta", kUso19},
        CasoRechazo{"in.txt,out.txt,9,1,29022003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,00012003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,1022003,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1,0102200a,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,11,1,32012003,1,Calle,Madrid", "Fecha incorrecta"},
        // The date is checked before the type.
        CasoRechazo{"in.txt,out.txt,13,1,99999999,1", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,9,1", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,9,1,01022003", "Faltan parametros", kUso19},
        CasoRechazo{"in.txt,out.txt,9,1,01022003,0", "Faltan parametros"},
        // Norm 58 takes no date: "12x" is its issuer, which is no number.
        CasoRechazo{"in.txt,out.txt,10,1,12x", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,10,1", "Faltan parametros", kUso58},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,1,Calle Mayor", "Faltan parametros"},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,1, ,Madrid", "Faltan parametros"},
        // Consecutive commas leave no empty argument: "1" moves up to the date's place.
        CasoRechazo{"in.txt,out.txt,11,1,,1,Calle,Madrid", "Fecha incorrecta"},
        CasoRechazo{"in.txt,out.txt,12,1", "Faltan parametros", kUsoZOP},
        CasoRechazo{"in.txt,out.txt,11,1,01022003,5,Calle Mayor 1,Sevilla", kDetalleCargo},
        CasoRechazo{"in.txt,out.txt,14,1,01022003, 1,Calle Mayor 1,Sevilla", kDetalleCargo},
        CasoRechazo{"in.txt,out.txt,11,1,24022012,0,Riego, 122 2o 2a,08202 Sabadell", kSobranArgumentos},
        CasoRechazo{"in.txt,out.txt,13,1,01022003,1", "Plantilla incorrecta"},
        CasoRechazo{"in.txt,out.txt,15,1,01022003,1", "Plantilla incorrecta"}));

TEST_F(ModoLoteTest, llamaAlConversorDeSuFamiliaConLosArgumentosYElLogJuntoALaEntrada) {
    using Ruta = std::filesystem::path;
    auto l = convertida("in.txt,out.bak,9,1,29022004,7");
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(l.familia, Familia::CSB19);
    EXPECT_EQ(l.parametros.rutaEntrada, carpeta / "in.txt");
    EXPECT_EQ(l.parametros.rutaSalida, Ruta("out.bak"));
    EXPECT_EQ(l.parametros.idEstructura, 9);
    EXPECT_EQ(l.parametros.idPresentador, 1);
    EXPECT_EQ(l.parametros.idEmisor, 7);
    EXPECT_EQ(l.fechaProceso, "29/02/2004");
    EXPECT_EQ(l.ficheroLog, carpeta / "in.log");
    // The date is its first eight characters: separate arguments of the shell are joined with a blank,
    // which stays inside the argument.
    EXPECT_EQ(convertida("in.txt,out.bak,9,1,01022003 x,7").fechaProceso, "01/02/2003");
    // An absolute input is used as it is; the log name is cut in the file name, never the folder's.
    l = convertida("/datos.2026/remesa.txt,/tmp/salida.out,9,1,01022003,1");
    EXPECT_EQ(l.parametros.rutaEntrada, Ruta("/datos.2026/remesa.txt"));
    EXPECT_EQ(l.ficheroLog, Ruta("/datos.2026/remesa.log"));
}

TEST_F(ModoLoteTest, pasaLosDatosDeCabeceraAlConversorDeNorma34EnWindows1252) {
    auto l = convertida("in.txt,out.txt,11,3,01022003,1,Calle Mayor 1,Madrid");
    EXPECT_EQ(l.familia, Familia::CSB34);
    EXPECT_EQ(l.parametros.gTipoEstructura, "CSB34T");
    EXPECT_EQ(l.parametros.detalleCargo, "1");
    EXPECT_EQ(l.parametros.domicilioOrdenante, "Calle Mayor 1");
    EXPECT_EQ(l.parametros.plazaOrdenante, "Madrid");
    EXPECT_EQ(l.fechaProceso, "01/02/2003");
    // They arrive in UTF-8.
    l = convertida("in.txt,out.txt,11,3,01022003,1,Calle A\xC3\xB1o 3,\xC3\x81vila");
    EXPECT_EQ(l.parametros.domicilioOrdenante, "Calle A\xF1o 3");
    EXPECT_EQ(l.parametros.plazaOrdenante, "\xC1vila");
    // What Windows-1252 lacks: a base letter, or a control character that the conversion refuses.
    l = convertida("in.txt,out.txt,11,3,01022003,1,Ulica \xC5\x81\xC3\xB3"
                   "dzka 3,\xE6\x9D\xB1\xE4\xBA\xAC");
    EXPECT_EQ(l.parametros.domicilioOrdenante, "Ulica L\xF3"
                                               "dzka 3");
    EXPECT_EQ(l.parametros.plazaOrdenante, "\x1A\x1A");
}

TEST_F(ModoLoteTest, norma58TomaElEmisorDelQuintoArgumentoSinFechaYZopSuTipoConBlancos) {
    auto l = convertida("in.txt,out.txt,10,2,7");
    EXPECT_EQ(l.familia, Familia::CSB58);
    EXPECT_EQ(l.parametros.idEmisor, 7);
    EXPECT_EQ(l.fechaProceso, "");
    l = convertida("in.txt,out.txt,16,2,01022003");
    EXPECT_EQ(l.familia, Familia::ZOP);
    EXPECT_EQ(l.parametros.gTipoEstructura, "ZOP");
}

TEST_F(ModoLoteTest, terminaConEstado1CuandoLaConversionRechazaOrdenes) {
    errorDelConversor = true;
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), kSalidaConErrores);
}

// What a driver left, and the line batch mode adds. An earlier run's log is there; "%" is its path.
struct CasoFinal {
    const char* nombre;
    std::int64_t ordenes;
    ResultadoConversion::Clase clase;
    bool anadeAlLog;
    int salida;
    const char* mensaje; // nullptr: none
};

class FinalLoteTest : public ModoLoteTest, public ::testing::WithParamInterface<CasoFinal> {};

TEST_P(FinalLoteTest, unaLineaFinalDiceDondeEstanLosRechazosOQueNoHabiaOrdenes) {
    const auto& caso = GetParam();
    const auto log = carpeta / "in.log";
    pruebas::escribirFichero(log, "anterior\r\n");
    registro.registrar(Familia::CSB19, [&](EstadoEjecucion&, Entorno&, const ParametrosConversion& p) {
        if (caso.anadeAlLog) {
            pruebas::escribirFichero(log, "anterior\r\nrechazo\r\n");
        }
        return ResultadoConversion{caso.clase, "", p.gFicheroLog, caso.ordenes, caso.anadeAlLog ? 1 : 0};
    });
    EXPECT_EQ(lote("in.txt,out.txt,9,1,01022003,1"), caso.salida);
    std::vector<AvisosGrabados::Mensaje> esperados;
    if (caso.mensaje != nullptr) {
        esperados.push_back({"informacion", pruebas::conMarca(caso.mensaje, '%', log.string())});
    }
    EXPECT_EQ(avisos.mensajes, esperados);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FinalLoteTest,
    ::testing::Values(
        CasoFinal{"sinOrdenes", 0, ResultadoConversion::Clase::NadaQueEscribir, false, 0,
                  "No se ha generado el fichero de salida: la entrada no contiene ninguna orden"},
        CasoFinal{"rechazos", 2, ResultadoConversion::Clase::EscritoConRechazos, true, 1,
                  "Proceso terminado incorrectamente: registro de errores en %"},
        // Stopped on an error that was shown already; the log is an earlier run's.
        CasoFinal{"detenido", 0, ResultadoConversion::Clase::Fallido, false, 1, nullptr},
        CasoFinal{"cancelado", 0, ResultadoConversion::Clase::Cancelado, false, 1, nullptr},
        // The log could not be written: the run stopped, with part of its blocks or none in the log.
        CasoFinal{"logSinEscribir", 0, ResultadoConversion::Clase::LogNoEscrito, true, 1,
                  "Proceso terminado incorrectamente: no se puede escribir el registro de errores %"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(ModoLoteTest, unErrorDelConversorSeMuestraYTerminaConEstado1) {
    registro.registrar(Familia::CSB19,
                       [](EstadoEjecucion&, Entorno&, const ParametrosConversion&) -> ResultadoConversion {
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

// Real conversions in batch mode, one family a row: what no bank file may carry is refused before the
// run (a party without its data, a template no editor would write) or rejects the order, naming why.
struct CasoLoteReal {
    const char* nombre;
    const char* tipo;
    std::vector<pruebas::CampoPlantilla> campos;
    std::string entrada;
    int estado;
    std::string aviso;       // how the first message starts
    std::string errorLog;    // a line the log must hold; "": no log
    std::string ajuste = ""; // SQL run over the template (?1 its id) and the parties before the run
};

class LoteRealTest : public ModoLoteTest, public ::testing::WithParamInterface<CasoLoteReal> {};

TEST_P(LoteRealTest, ningunFicheroDelBancoLlevaLoQueNoPuedeGarantizar) {
    const CasoLoteReal& caso = GetParam();
    RegistroConversores reales;
    registrarConversores(reales);
    const auto pre = pruebas::ConstructorPresentador(*baseDatos)
                         .nif("B12345678")
                         .nombre("GESTORIA LOPEZ SL")
                         .sufijo("000")
                         .cuenta("21000418450200051332")
                         .crear();
    const auto emi = pruebas::ConstructorEmisor(*baseDatos)
                         .presentador(pre)
                         .nif("B7654321")
                         .sufijo("5")
                         .nombre("COLEGIO SAN ROQUE SL")
                         .cuenta("21000418450200051332")
                         .crear();
    const auto id = pruebas::ConstructorPlantilla(*baseDatos).tipo(caso.tipo).campos(caso.campos).crear();
    if (!caso.ajuste.empty()) {
        baseDatos->preparar(caso.ajuste).con(id).ejecutar();
    }
    pruebas::escribirFichero(carpeta / "remesa.txt", caso.entrada);
    const std::string tipo = caso.tipo;
    const std::string resto = tipo == "CSB19"    ? ",05032026," + std::to_string(emi)
                              : tipo == "CSB58"  ? "," + std::to_string(emi)
                              : tipo == "CSB34T" ? ",05032026,1,CALLE MAYOR 1,MADRID"
                                                 : ",05032026";
    Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta()};
    const int estadoFinal = ejecutarModoLote(
        entorno, reales,
        LeerParametros("remesa.txt,remesa.out," + std::to_string(id) + "," + std::to_string(pre) + resto,
                       10));

    EXPECT_EQ(estadoFinal, caso.estado);
    ASSERT_FALSE(avisos.mensajes.empty());
    EXPECT_EQ(avisos.mensajes[0].texto.substr(0, caso.aviso.size()), caso.aviso);
    EXPECT_FALSE(std::filesystem::exists(carpeta / "remesa.out"));
    const auto rutaLog = carpeta / "remesa.log";
    const std::string log = std::filesystem::exists(rutaLog) ? pruebas::leerFichero(rutaLog) : "";
    if (caso.errorLog.empty()) {
        EXPECT_TRUE(log.empty());
        return;
    }
    EXPECT_NE(log.find("\r\n" + caso.errorLog + "\r\n"), std::string::npos) << log;
    // The input's control characters show as "?": only the line ends are left.
    std::string sinFinales = log;
    std::erase(sinFinales, '\r');
    std::erase(sinFinales, '\n');
    EXPECT_EQ(std::count_if(sinFinales.begin(), sinFinales.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
              0);
}

using pruebas::CampoPlantilla;
const std::vector<CampoPlantilla> kCobro{{"CodigoReferencia", 1, 4},
                                         {"NombreTitular", 5, 14},
                                         {"Entidad", 15, 18},
                                         {"Oficina", 19, 22},
                                         {"DC", 23, 24},
                                         {"Cuenta", 25, 34},
                                         {"Importe", 35, 46},
                                         {"FechaVto", 47, 52, "DDMMAA"}};
const std::vector<CampoPlantilla> kPago{{"ClaveBeneficiario", 1, 4},
                                        {"NombreBeneficiario", 5, 14},
                                        {"Entidad", 15, 18},
                                        {"Oficina", 19, 22},
                                        {"DC", 23, 24},
                                        {"Cuenta", 25, 34},
                                        {"Importe", 35, 46}};
const std::vector<CampoPlantilla> kZOP{
    {"ClaveProveedor", 1, 4}, {"Nombre", 5, 14}, {"Importe", 35, 46}, {"FormaPago", 0, 0, "T-T-C"}};
// One order, its name holding the character given (a name in UTF-8 says how many characters it has). LF
// line ends: after a first empty line (an order of blanks, rejected too) a CR stays inside the line.
std::string orden(const std::string& nombre, std::size_t caracteres = std::string::npos) {
    return "K001" + nombre + std::string(10 - std::min(caracteres, nombre.size()), ' ') +
           "21000418450200051332" + "       10,00" + "150826\n";
}
const std::string kNul = orden(std::string("ANA\0RUIZ", 8));
const char* kTerminado = "Proceso terminado incorrectamente";
const char* kSinPresentador = "No se puede obtener los datos del presentador";
const char* kRevise = "Por favor revise la plantilla.\r\n";
const char* kMinimo =
    "UPDATE detalleestructura SET inicio = -9223372036854775807 - 1, fin = 9223372036854775807 "
    "WHERE id_estructura = ? AND id_campo = 1";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, LoteRealTest, ::testing::Values(
    CasoLoteReal{"csb19NulEnElNombre", "CSB19", kCobro, kNul, kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreTitular"},
    CasoLoteReal{"csb19CrSueltoEnElNombre", "CSB19", kCobro, "\n" + orden("ANA\rRUIZ"), kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreTitular"},
    CasoLoteReal{"csb58SaltoDePaginaEnElNombre", "CSB58", kCobro, orden("ANA\fRUIZ"), kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreTitular"},
    CasoLoteReal{"csb58NulEnElNombre", "CSB58", kCobro, kNul, kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreTitular"},
    CasoLoteReal{"csb34CrSueltoEnElNombre", "CSB34T", kPago, "\n" + orden("ANA\rRUIZ"), kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreBeneficiario"},
    CasoLoteReal{"csb34NulEnElNombre", "CSB34T", kPago, kNul, kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreBeneficiario"},
    CasoLoteReal{"zopSaltoDePaginaEnElNombre", "ZOP", kZOP, orden("ANA\fRUIZ"), kSalidaConErrores, kTerminado, "Error : Caracter no valido en Nombre"},
    CasoLoteReal{"zopDelEnElNombre", "ZOP", kZOP, orden("ANA\x7fRUIZ"), kSalidaConErrores, kTerminado, "Error : Caracter no valido en Nombre"},
    // A UTF-8 character that Windows-1252 lacks and that is no Latin letter is refused as a control character.
    CasoLoteReal{"csb58JaponesEnElNombre", "CSB58", kCobro, orden("ANA \xE6\x97\xA5", 5), kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreTitular"},
    CasoLoteReal{"csb34EmojiEnElNombre", "CSB34T", kPago, orden("ANA \xF0\x9F\x98\x80", 5), kSalidaConErrores, kTerminado, "Error : Caracter no valido en NombreBeneficiario"},
    CasoLoteReal{"zopSimboloEnElNombre", "ZOP", kZOP, orden("ANA \xE2\x9C\x93", 5), kSalidaConErrores, kTerminado, "Error : Caracter no valido en Nombre"},
    CasoLoteReal{"presentadorSinNif", "CSB19", kCobro, orden("ANA"), kSalidaRechazada, kSinPresentador, "",
                 "UPDATE presentadores SET nifpre = NULL WHERE ?1 > 0"},
    CasoLoteReal{"emisorConCuentaCorta", "CSB58", kCobro, orden("ANA"), kSalidaRechazada, "No se puede extraer los datos del emisor", "",
                 "UPDATE emisores SET cuenta = '12' WHERE ?1 > 0"},
    CasoLoteReal{"emisorSinNombre", "CSB19", kCobro, orden("ANA"), kSalidaRechazada, "No se puede obtener los datos del emisor", "",
                 "UPDATE emisores SET nomemi = '  ' WHERE ?1 > 0"},
    CasoLoteReal{"ordenanteSinCuenta", "CSB34T", kPago, orden("ANA"), kSalidaRechazada, "No se pueden obtener datos del presentador", "",
                 "UPDATE presentadores SET cuenta = NULL WHERE ?1 > 0"},
    CasoLoteReal{"ordenanteSinNombre", "ZOP", kZOP, orden("ANA"), kSalidaRechazada, "No se puede abrir la Base de Datos", "",
                 "UPDATE presentadores SET nompre = '' WHERE ?1 > 0"},
    CasoLoteReal{"presentadorConTabuladorEnLaCuenta", "CSB58", kCobro, orden("ANA"), kSalidaRechazada,
                 std::string(kSinPresentador) + "\r\nCaracter no valido en la cuenta (cuenta)", "",
                 "UPDATE presentadores SET cuenta = '2100041845' || char(9) || '020005133' WHERE ?1 > 0"},
    CasoLoteReal{"ordenanteConEscapeEnElSufijo", "ZOP", kZOP, orden("ANA"), kSalidaRechazada,
                 "No se puede abrir la Base de Datos\r\nCaracter no valido en el sufijo (sufpre)", "",
                 "UPDATE presentadores SET sufpre = char(27) WHERE ?1 > 0"},
    CasoLoteReal{"posicionesExtremasSeRechazanAlCargar", "CSB19", kCobro, orden("ANA"), kSalidaConErrores,
                 std::string(kRevise) + "El campo 1-NombreTitular tiene inicio -9223372036854775808, fuera de 0 a 32767", "", kMinimo},
    CasoLoteReal{"finAntesDeInicio", "ZOP", kZOP, orden("ANA"), kSalidaConErrores,
                 std::string(kRevise) + "El campo 1-Nombre termina (fin 3) antes de empezar (inicio 5)", "",
                 "UPDATE detalleestructura SET fin = 3 WHERE id_estructura = ? AND id_campo = 1"},
    CasoLoteReal{"obligatorioSinPiezaNiValor", "CSB34T", kPago, orden("ANA"), kSalidaConErrores,
                 std::string(kRevise) + "El campo 1-NombreBeneficiario es obligatorio y no se puede leer de la entrada ni tiene valor por defecto", "",
                 "UPDATE detalleestructura SET inicio = 0, obligatorio = 1 WHERE id_estructura = ? AND id_campo = 1"},
    CasoLoteReal{"plantillaSinTipo", "ZOP", kZOP, orden("ANA"), kSalidaRechazada, "Plantilla incorrecta", "",
                 "UPDATE estructura SET tipo = NULL WHERE id_estructura = ?"},
    // The date is tested before the type: the issuer id of a norm 58 command line is no date.
    CasoLoteReal{"plantillaConTipoEnBlancoYFechaIncorrectaDiceFechaIncorrecta", "CSB58", kCobro, orden("ANA"), kSalidaRechazada,
                 "Fecha incorrecta", "", "UPDATE estructura SET tipo = '  ' WHERE id_estructura = ?"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
