// Norm 34 bank files and error logs compared byte for byte with files written by hand from the record
// layouts (tests/data/csb34/), for every kind of order and every way in: text, sheet, table, batch mode
// and the conversion dialog; then the runs that end with a message or a record of their own.

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "csb34.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "golden_pagos.hpp"
#include "modelo_entrada.hpp"
#include "modo_lote.hpp"
#include "solicitud_tecleada.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CampoPlantilla;
using pruebas::leerFichero;

// Where linea/entrada.txt carries each field of the base templates, and the formats it writes.
// clang-format off
const std::map<std::string, CampoPlantilla> kPosiciones{
    {"ClaveBeneficiario", {"", 1, 12}}, {"NombreBeneficiario", {"", 13, 42}}, {"Importe", {"", 43, 54}},
    {"SignoNegativo", {"", 55, 55, "-"}}, {"Entidad", {"", 56, 59}}, {"Oficina", {"", 60, 63}}, {"DC", {"", 64, 65}},
    {"Cuenta", {"", 66, 75}}, {"Gastos", {"", 76, 76}}, {"FechaVto", {"", 77, 84, "AAAAMMDD"}},
    {"FechaFactura", {"", 85, 94, "DD/MM/AAAA"}}, {"DomicilioBeneficiario", {"", 95, 144}}, {"CPBeneficiario", {"", 145, 149}},
    {"PlazaBeneficiario", {"", 150, 169}}, {"ProvinciaBeneficiario", {"", 170, 184}}, {"Observacion", {"", 185, 234}},
    {"DNI", {"", 235, 243}}, {"Ref12", {"", 244, 255}}, {"Ref16", {"", 256, 271}}, {"NumeroFactura", {"", 256, 271}},
    {"TlfMovil", {"", 272, 280}}, {"Email", {"", 281, 320}}};
// clang-format on

// The seeded base template of each kind, its mandatory fields included.
const std::map<std::string, std::int64_t> kPlantillaBase{
    {"CSB34N", 1}, {"CSB34T", 2}, {"CSB34C", 3}, {"CSB34P", 4}, {"PAGOSC", 5}};

// The template of partes.sql for multilinea/entrada.txt.
constexpr std::int64_t kPlantillaVariasLineas = 100;

enum class Forma { Texto, VariasLineas, Hoja, Tabla, Lote, Dialogo, FechaQueFalta };

class CSB34Base : public pruebas::BasePagos {
protected:
    CSB34Base() : BasePagos("csb34") {}

    // The driver as the dialog calls it: the run state's type, process date DDMMAA, the log beside the input.
    void convertir(const fs::path& entrada, std::int64_t plantilla, const std::string& tipo) {
        estado.gTipoEstructura = " " + tipo + " ";
        estado.gFechaProceso = "050326";
        estado.gFicheroLog = rutaLog;
        Entorno e = entorno(solicitud);
        GenerarCSB34(estado, e,
                     {entrada, rutaSalida, plantilla, idOrdenante, 0, estado.gTipoEstructura, detalle,
                      domicilio, plaza});
        EXPECT_EQ(estado.gTipoEstructura, " " + tipo + " ");
    }

    std::int64_t idOrdenante = 100;
    std::string detalle = "1";
    std::string domicilio = "  CALLE MAYOR 1 ";
    std::string plaza = "MADRID";
    // Who answers "Datos Obligatorios que faltan"; nobody, as in batch mode, unless a test says so.
    SolicitudDatosObligatorios* solicitud = nullptr;
};

struct CasoGolden {
    const char* nombre;
    const char* tipo;
    Forma forma;
};

class CSB34Golden : public CSB34Base, public ::testing::WithParamInterface<CasoGolden> {
protected:
    // The base template of the kind with every field placed where linea/entrada.txt has it.
    std::vector<CampoPlantilla> camposLinea(const std::string& tipo) {
        std::vector<CampoPlantilla> campos = pruebas::camposDePlantilla(*baseDatos, kPlantillaBase.at(tipo));
        for (CampoPlantilla& c : campos) {
            const CampoPlantilla& p = kPosiciones.at(c.campo);
            c.inicio = p.inicio;
            c.fin = p.fin;
            c.valorcampo = p.valorcampo;
        }
        return campos;
    }
};

TEST_P(CSB34Golden, daElFicheroDelBancoYElLogEscritosAMano) {
    const CasoGolden& caso = GetParam();
    const std::string tipo = caso.tipo;
    const std::string origen = caso.forma == Forma::VariasLineas ? "multilinea" : "linea";
    const fs::path texto = carpeta / "remesa.txt";
    fs::copy_file(datos(origen + "/entrada.txt"), texto);
    // A date typed for an earlier run never stands in for this run's due dates.
    estado.gFechaDatos = "311299";
    const auto campos = camposLinea(tipo);
    const auto crear = [&](const std::string& tipoPlantilla, const std::vector<CampoPlantilla>& c) {
        return pruebas::ConstructorPlantilla(*baseDatos).tipo(tipoPlantilla).campos(c).crear();
    };

    switch (caso.forma) {
    case Forma::Texto:
        convertir(texto, crear(tipo, campos), tipo);
        break;
    case Forma::VariasLineas:
        // Twice in one process state: nothing of the first run reaches the second.
        convertir(texto, kPlantillaVariasLineas, tipo);
        fs::remove(rutaLog);
        convertir(texto, kPlantillaVariasLineas, tipo);
        break;
    case Forma::Hoja:
    case Forma::Tabla: {
        const bool hoja = caso.forma == Forma::Hoja;
        const fs::path entrada = carpeta / (hoja ? "remesa.xlsx" : "remesa.db");
        pruebas::escribirRemesaFilas(entrada, leerFichero(texto), campos);
        (hoja ? estado.gHojaExcel : estado.gTablaAccess) = "Remesa";
        const std::string conSufijo = tipo + (hoja ? "Ex" : "Ac");
        convertir(entrada, crear(conSufijo, pruebas::plantillaDeFilas(campos)), conSufijo);
        EXPECT_FALSE(estado.gLibroAbierto);
        break;
    }
    case Forma::Lote: {
        Entorno e = entorno();
        const std::string argumentos = texto.string() + "," + rutaSalida.string() + "," +
                                       std::to_string(crear(tipo, campos)) + "," +
                                       std::to_string(idOrdenante) + ",05032026,1,CALLE MAYOR 1,MADRID";
        EXPECT_EQ(ejecutarModoLote(estado, e, registro, LeerParametros(argumentos, 10)), kSalidaConErrores);
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        avisos.mensajes.clear();
        break;
    }
    case Forma::Dialogo: {
        ModeloEntrada modelo(estado);
        modelo.elegirPlantilla(crear(tipo, campos), tipo);
        ASSERT_TRUE(modelo.elegirEntrada(texto, carpeta.ruta(), avisos));
        SeleccionEntrada seleccion{
            "Nominas", "PAGOS DEL NORTE SL", "", idOrdenante, std::nullopt, "5", "3", "26", 1, domicilio,
            plaza};
        Entorno e = entorno();
        EXPECT_TRUE(modelo.procesar(seleccion, e, registro));
        break;
    }
    case Forma::FechaQueFalta: {
        // The due date as the base template ships it, mandatory and not placed: batch mode cannot ask for
        // it, so nothing is read or written.
        std::vector<CampoPlantilla> sinFecha = campos;
        for (CampoPlantilla& c : sinFecha) {
            if (c.campo == "FechaVto") {
                c.inicio = c.fin = 0;
                c.valorcampo.clear();
            }
        }
        const std::int64_t id = crear(tipo, sinFecha);
        Entorno e = entorno();
        const std::string argumentos = texto.string() + "," + rutaSalida.string() + "," + std::to_string(id) +
                                       "," + std::to_string(idOrdenante) + ",05032026,1,CALLE MAYOR 1,MADRID";
        EXPECT_EQ(ejecutarModoLote(estado, e, registro, LeerParametros(argumentos, 10)), kSalidaConErrores);
        EXPECT_EQ(avisos.mensajes,
                  (std::vector<pruebas::AvisosGrabados::Mensaje>{
                      {"informacion", "Proceso Cancelado\r\nFaltan datos obligatorios que la "
                                      "plantilla no sitúa en la entrada: FechaVto"}}));
        EXPECT_FALSE(fs::exists(rutaSalida));
        EXPECT_FALSE(fs::exists(rutaLog));
        avisos.mensajes.clear();
        // Typed when the run starts: a day that does not exist is refused, the next date is every order's.
        pruebas::SolicitudTecleada tecleo({"29/02/2026", "25/12/2026"});
        solicitud = &tecleo;
        convertir(texto, id, tipo);
        solicitud = nullptr;
        EXPECT_EQ(tecleo.resultados,
                  (std::vector<ResultadoDatos>{ResultadoDatos::FechaIncorrecta, ResultadoDatos::Aceptado}));
        break;
    }
    }

    EXPECT_TRUE(avisos.mensajes.empty()) << avisos.mensajes[0].texto;
    EXPECT_TRUE(estado.gError);
    const std::string esperado = caso.forma == Forma::VariasLineas    ? "multilinea/esperado"
                                 : caso.forma == Forma::FechaQueFalta ? "fecha-del-dialogo/esperado"
                                                                      : "linea/esperado-" + tipo;
    const std::string banco = leerFichero(rutaSalida);
    EXPECT_EQ(banco, leerFichero(datos(esperado + ".out")));
    EXPECT_EQ(leerFichero(rutaLog), leerFichero(datos(esperado + ".log")));
    for (std::size_t inicio = 0; inicio < banco.size(); inicio += 74) {
        EXPECT_EQ(banco.substr(inicio + 72, 2), "\r\n");
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, CSB34Golden, ::testing::Values(
    CasoGolden{"transferenciasEnTexto", "CSB34T", Forma::Texto}, CasoGolden{"nominasEnTexto", "CSB34N", Forma::Texto},
    CasoGolden{"chequesEnTexto", "CSB34C", Forma::Texto}, CasoGolden{"pagaresEnTexto", "CSB34P", Forma::Texto},
    CasoGolden{"pagosCertificadosEnTexto", "PAGOSC", Forma::Texto},
    // Norm 34 resets no piece between orders, written or rejected: an order without lines of its own
    // takes the address and the concept that the orders before it left.
    CasoGolden{"chequesEnVariasLineas", "CSB34C", Forma::VariasLineas},
    CasoGolden{"transferenciasDeUnaHoja", "CSB34T", Forma::Hoja}, CasoGolden{"pagaresDeUnaHoja", "CSB34P", Forma::Hoja},
    CasoGolden{"nominasDeUnaTabla", "CSB34N", Forma::Tabla}, CasoGolden{"pagosCertificadosDeUnaTabla", "PAGOSC", Forma::Tabla},
    CasoGolden{"transferenciasEnModoLote", "CSB34T", Forma::Lote}, CasoGolden{"nominasDesdeElDialogo", "CSB34N", Forma::Dialogo},
    CasoGolden{"pagaresConElVencimientoQueSeTecleaAlEmpezar", "CSB34P", Forma::FechaQueFalta}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

// Runs that end with a message, errors of their own, no bank file, or one record worth a look.
struct CasoEjecucion {
    const char* nombre;
    std::vector<CampoPlantilla> campos;
    int principio;
    std::string entrada;
    std::int64_t ordenante; // 0: the one of the fixture
    std::string aviso;      // "": no message
    std::string registro;   // a record the bank file must hold; "": no bank file
    const char* rutaSalida = "remesa.out";
    // Batch mode with these arguments after input, output, template and party, instead of the dialog's call.
    std::string lote = "";
};

class CSB34Ejecuciones : public CSB34Base, public ::testing::WithParamInterface<CasoEjecucion> {};

TEST_P(CSB34Ejecuciones, terminaConSuMensajeOSuRegistro) {
    const CasoEjecucion& caso = GetParam();
    pruebas::escribirFichero(carpeta / "remesa.txt", caso.entrada);
    const std::int64_t id = pruebas::ConstructorPlantilla(*baseDatos)
                                .tipo("CSB34T")
                                .principioLinea(caso.principio)
                                .campos(caso.campos)
                                .crear();
    idOrdenante = caso.ordenante == 0 ? idOrdenante : caso.ordenante;
    rutaSalida = carpeta / caso.rutaSalida;
    detalle = "01";
    domicilio = "AVENIDA DE LOS PRESIDENTES DE LA COMUNIDAD 1234";
    if (caso.lote.empty()) {
        convertir(carpeta / (caso.entrada.empty() ? "no-existe.txt" : "remesa.txt"), id, "CSB34T");
    } else {
        Entorno e = entorno();
        const std::string argumentos =
            "remesa.txt,remesa.out," + std::to_string(id) + "," + std::to_string(idOrdenante) + caso.lote;
        EXPECT_EQ(ejecutarModoLote(estado, e, registro, LeerParametros(argumentos, 10)), kSalidaRechazada);
    }

    if (caso.aviso.empty()) {
        EXPECT_TRUE(avisos.mensajes.empty()) << avisos.mensajes[0].texto;
        EXPECT_FALSE(estado.gError);
    } else {
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        EXPECT_EQ(avisos.mensajes[0].texto, caso.aviso);
        EXPECT_EQ(estado.gError, caso.lote.empty());
    }
    ASSERT_EQ(fs::exists(rutaSalida), !caso.registro.empty());
    if (!caso.registro.empty()) {
        const std::string banco = leerFichero(rutaSalida);
        EXPECT_NE(banco.find(caso.registro + "\r\n"), std::string::npos) << banco;
        EXPECT_EQ(banco.size() % 74, 0u);
    }
}

std::string ancho(std::string texto, std::size_t n) {
    texto.resize(n, ' ');
    return texto;
}

// One order of kCampos: key K001, name ANA, the amount right-aligned, then the sign or other fields.
std::string orden(const std::string& importe, const std::string& resto = " ") {
    return "K001" + ancho("ANA", 10) + std::string(12 - importe.size(), ' ') + importe + resto + "\r\n";
}

const std::vector<CampoPlantilla> kCampos{{"ClaveBeneficiario", 1, 4},
                                          {"NombreBeneficiario", 5, 14},
                                          {"Importe", 15, 26},
                                          {"SignoNegativo", 27, 27, "-"}};
// The telephone after the e-mail and the town before the postal code; charges of two characters.
const std::vector<CampoPlantilla> kCamposDesordenados{
    {"ClaveBeneficiario", 1, 4},  {"NombreBeneficiario", 5, 14},
    {"Importe", 15, 26},          {"Email", 27, 66},
    {"TlfMovil", 67, 76},         {"PlazaBeneficiario", 77, 116},
    {"CPBeneficiario", 117, 126}, {"Gastos", 0, 0, "22"}};
const std::string kDesordenada =
    orden("10,00", ancho("ana.munoz.garcia@correo-de-ejemplo.es", 40) + "6001112223" +
                       ancho("VILLANUEVA DE LA CAÑADA DEL CAMINO REAL", 40) + "28691XXXXX");
const std::string kCabecera = "0356B1234567" + std::string(14, ' ');
const std::string kDetalle = "0656B1234567  K001        ";

// Batch mode repeats how the norm 34 arguments are written after an argument error.
const std::string kUsoCSB34 =
    "\r\nUso (CSB34N, CSB34T, CSB34C, CSB34P, PAGOSC): trovanel 'entrada,salida,plantilla,"
    "ordenante,fecha DDMMAAAA,detalle del cargo (0 total, 1 parcial),domicilio del "
    "ordenante,plaza del ordenante'";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tabla, CSB34Ejecuciones, ::testing::Values(
    CasoEjecucion{"sinOrdenanteFallaConSuMensaje", kCampos, -1, orden("10,00"), 999, "No se pueden obtener datos del presentador", ""},
    CasoEjecucion{"plantillaSinCamposNoSeCarga", {}, -1, orden("10,00"), 0, "No se puede cargar la plantilla", ""},
    CasoEjecucion{"principioFueraDeLosCamposPideRevisarLaPlantilla", {{"ClaveBeneficiario", 3, 6, "", 1, 2, "01"}}, 4, orden("10,00"), 0,
                  "Por favor revise la plantilla.\r\nFalta indicar Principio de orden", ""},
    CasoEjecucion{"entradaQueNoExisteFallaConSuMensaje", kCampos, -1, "", 0, "No se puede abrir el fichero de entrada", ""},
    CasoEjecucion{"salidaQueNoSePuedeCrearFallaConSuMensaje", kCampos, -1, orden("10,00"), 0, "No se puede crear el fichero de salida", "", "no-hay/remesa.out"},
    CasoEjecucion{"totalQueNoCabeNoDejaFichero", kCampos, -1, orden("999999999999") + orden("999999999999"), 0, "El importe total no cabe en el registro de totales", ""},
    CasoEjecucion{"totalNegativoConservaSuForma", kCampos, -1, orden("5,00", "-"), 0, "",
                  "0856B1234567" + std::string(17, ' ') + "00000000-500" + "00000001" + "0000000007" + std::string(13, ' ')},
    CasoEjecucion{"detalleDeCargoSeCortaAUnaCifra", kCampos, -1, orden("10,00"), 0, "", kCabecera + "0010612260503262100041802000513320   45       "},
    CasoEjecucion{"domicilioLargoDelOrdenanteSeCortaA36", kCampos, -1, orden("10,00"), 0, "", kCabecera + "003AVENIDA DE LOS PRESIDENTES DE LA COM       "},
    CasoEjecucion{"codigoPostalYPlazaEnSuSitioSeaCualSeaElOrden", kCamposDesordenados, -1, kDesordenada, 0, "", kDetalle + "01428691VILLANUEVA DE LA CAÑADA DEL CAM       "},
    CasoEjecucion{"telefonoYCorreoEnSuSitioSeaCualSeaElOrden", kCamposDesordenados, -1, kDesordenada, 0, "", kDetalle + "0206001112223ana.munoz.garcia@correo-de       "},
    CasoEjecucion{"gastosDeDosCifrasSeCortanAUna", kCamposDesordenados, -1, orden("10,00", std::string(100, ' ')), 0, "",
                  kDetalle + "010000000001000" + std::string(18, ' ') + "29" + std::string(11, ' ')},
    CasoEjecucion{"loteSinPlazaFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,1,CALLE MAYOR 1"},
    CasoEjecucion{"loteSinDetalleFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,,CALLE MAYOR 1,MADRID"},
    CasoEjecucion{"loteConDomicilioEnBlancoFaltanParametros", kCampos, -1, orden("10,00"), 0, "Faltan parametros" + kUsoCSB34, "", "remesa.out", ",05032026,1, ,MADRID"},
    CasoEjecucion{"loteConFechaQueNoExisteSeRechaza", kCampos, -1, orden("10,00"), 0, "Fecha incorrecta" + kUsoCSB34, "", "remesa.out", ",31022026,1,CALLE MAYOR 1,MADRID"}),
    [](const auto& caso) { return std::string(caso.param.nombre); });
// clang-format on

} // namespace
} // namespace trovanel
