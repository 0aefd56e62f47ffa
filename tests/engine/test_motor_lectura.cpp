// The reader engine's own rules: how each class of input becomes orders, rejections and the bank file.

#include "codificacion.hpp"
#include "configuracion.hpp"
#include "conversion.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "familia_conversion.hpp"
#include "fichero_entrada.hpp"
#include "fichero_salida.hpp"
#include "lector_filas.hpp"
#include "libro_excel.hpp"
#include "limites.hpp"
#include "log_errores.hpp"
#include "motor_lectura.hpp"
#include "motor_lectura_prueba.hpp"
#include "multifactura.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using pruebas::entradasDe;
using pruebas::escribirFichero;
using pruebas::kAnterior;
using pruebas::leerFichero;
using pruebas::MotorLectura;

CampoEstructura campo(const char* nombre, int inicio, int fin, const char* valorcampo = "",
                      const char* clave = "") {
    CampoEstructura c;
    c.campo = nombre;
    c.inicio = inicio;
    c.fin = fin;
    c.valorcampo = valorcampo;
    c.valorlinea = clave;
    c.inilinea = clave[0] != '\0' ? 1 : 0;
    c.finlinea = c.inilinea;
    return c;
}

// One order per line. C has no position but a default value; D neither position nor value.
const std::vector<CampoEstructura> kPorLinea{campo("A", 1, 2), campo("B", 3, 4), campo("C", 0, 0, "c"),
                                             campo("D", 0, 0, "  ")};
// Orders over several lines: "H" opens one, "D" lines carry X; T has no line key and applies to every line.
const std::vector<CampoEstructura> kPorOrden{campo("K", 2, 4, "", "H"), campo("X", 2, 4, "", "D"),
                                             campo("T", 5, 5)};

std::string bloque(int linea, const std::string& piezas, const std::string& error) {
    return "*************************************\r\nNumero Linea: " + std::to_string(linea) + "\r\n" +
           piezas + "\r\n \r\n" + error + "\r\n";
}

struct CasoLector {
    const char* nombre;
    ClaseLectorTexto clase;
    const char* entrada; // nullptr: no input file
    const char* salida;  // nullptr: no bank file afterwards
    std::string log;     // blocks after the run header; "" when no log
    bool error = false;
    const char* aviso = nullptr; // "%" stands for the input's path
    std::size_t maximoLinea = kMaxLinea;
};

class MotorLecturaCasos : public MotorLectura, public ::testing::WithParamInterface<CasoLector> {};

TEST_P(MotorLecturaCasos, convierteLasOrdenesSegunLaClaseDeEntrada) {
    const CasoLector& caso = GetParam();
    if (caso.entrada != nullptr) {
        escribirFichero(entrada, caso.entrada);
    }
    estado.gCamposEstructura = caso.clase == ClaseLectorTexto::Linea ? kPorLinea : kPorOrden;
    entorno.maximoLinea = caso.maximoLinea;
    const std::size_t antes = entradasDe(carpeta.ruta()) - 1; // without the earlier bank file
    leerTexto(familia, caso.clase, entrada, salida);

    esperados(caso.salida, caso.log);
    EXPECT_EQ(familia.concluir().conErrores(), caso.error);
    if (caso.aviso == nullptr) {
        EXPECT_TRUE(avisos.mensajes.empty());
    } else {
        const std::string aviso = pruebas::conMarca(caso.aviso, '%', rutaComoTexto(entrada));
        EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{{"critico", aviso}}));
    }
    // Nothing but the run's files is left in the folder.
    EXPECT_EQ(entradasDe(carpeta.ruta()), antes + fs::exists(salida) + fs::exists(log));
}

using C = ClaseLectorTexto;
INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaCasos,
    ::testing::Values(
        // A piece past the end of a short line is empty; a field without position takes its non-blank
        // default value.
        CasoLector{"lineaCadaLineaUnaOrden", C::Linea, "ab12\r\ncd\r\n",
                   "1 A=ab B=12 C=c\r\n2 A=cd B= C=c\r\nTOTAL 2\r\n", ""},
        CasoLector{"lineaVaciaEsUnaOrden", C::Linea, "ab12\r\n\r\n",
                   "1 A=ab B=12 C=c\r\n2 A= B= C=c\r\nTOTAL 2\r\n", ""},
        CasoLector{"lineaRechazadaAlLogConSuNumero", C::Linea, "ab12\r\n!x34\r\nef56\r\n",
                   "1 A=ab B=12 C=c\r\n3 A=ef B=56 C=c\r\nTOTAL 2\r\n",
                   bloque(2, " A=!x B=34 C=c", "Error : A"), true},
        // No order written: no bank file, and the earlier one of that name is gone.
        CasoLector{"lineaSinOrdenAceptada", C::Linea, "!a\r\n", nullptr,
                   bloque(1, " A=!a B= C=c", "Error : A"), true},
        CasoLector{"lineaEntradaVacia", C::Linea, "", nullptr, ""},
        // The order-start line flushes the order before it is counted, so the record names the last
        // line of the order it closes; the last order is flushed at the end of the file.
        CasoLector{"ordenEnVariasLineas", C::Orden, "Hab1a\r\nDxy2b\r\nHcd3c\r\nDzz4d\r\n",
                   "2 K=ab1 T=a X=xy2 T=b\r\n4 K=cd3 T=c X=zz4 T=d\r\nTOTAL 2\r\n", ""},
        CasoLector{"ordenLineasAntesDelPrimerPrincipio", C::Orden, "Dxy2b\r\nHab1a\r\n",
                   "2 X=xy2 T=b K=ab1 T=a\r\nTOTAL 1\r\n", ""},
        CasoLector{"ordenSinPrincipioEsUnaSola", C::Orden, "Dxy2b\r\nDzz4d\r\n",
                   "2 X=xy2 T=b X=zz4 T=d\r\nTOTAL 1\r\n", ""},
        CasoLector{"ordenRechazadaAlLogConSuNumero", C::Orden, "Hab1a\r\nD!y2b\r\nHcd3c\r\n",
                   "3 K=cd3 T=c\r\nTOTAL 1\r\n", bloque(2, " K=ab1 T=a X=!y2 T=b", "Error : X"), true},
        CasoLector{"ordenEntradaVacia", C::Orden, "", nullptr, ""},
        // An input that cannot be opened leaves the bank file of that name alone.
        CasoLector{"entradaQueNoSeAbre", C::Linea, nullptr, "anterior\r\n", "", true,
                   "No se puede abrir el fichero de entrada\r\n%: no existe"},
        CasoLector{"entradaQueNoSeAbreEnVariasLineas", C::Orden, nullptr, "anterior\r\n", "", true,
                   "No se puede abrir el fichero de entrada\r\n%: no existe"},
        // A line past the cap stops the run there: no bank file, the earlier one gone too.
        CasoLector{"lineaJustoEnElTope", C::Linea, "ab12\r\n", "1 A=ab B=12 C=c\r\nTOTAL 1\r\n", "", false,
                   nullptr, 4},
        CasoLector{"lineaMasLargaQueElTope", C::Linea, "ab12\r\nabcde\r\nef\r\n", nullptr, "", true,
                   "No se puede abrir el fichero de entrada\r\n%: la línea 2 tiene más de 4 bytes", 4},
        CasoLector{"ordenConUnaLineaMasLargaQueElTope", C::Orden, "Hab1a\r\nDxy2bb\r\n", nullptr, "", true,
                   "No se puede abrir el fichero de entrada\r\n%: la línea 2 tiene más de 5 bytes", 5}),
    [](const ::testing::TestParamInfo<CasoLector>& caso) { return std::string(caso.param.nombre); });

// Multi-invoice text: "00" opens an order (K), invoice lines carry X; keys at positions 1-2, invoices "01"
// (counted: 01, 02...). Rows: name, counted, the family opens an order at the first order line, input,
// bank file.
CampoEstructura conClaveDoble(CampoEstructura c) {
    c.finlinea = 2;
    return c;
}
using CasoMultifactura = std::tuple<const char*, bool, bool, const char*, const char*>;
class MotorLecturaMultifactura : public MotorLectura,
                                 public ::testing::WithParamInterface<CasoMultifactura> {};

TEST_P(MotorLecturaMultifactura, cadaFacturaSeVuelcaConLasPiezasDeSuLineaDeOrden) {
    const auto& [nombre, contada, primeraAbre, lineas, bytesSalida] = GetParam();
    escribirFichero(entrada, lineas);
    estado.gCamposEstructura = {conClaveDoble(campo("K", 3, 4, "", "00")),
                                conClaveDoble(campo("X", 3, 4, "", "01"))};
    familia.primeraAbre = primeraAbre;
    const ClaveFactura clave{1, 2, "01", contada, {1}};
    (contada ? leerMultifacturaSecuencia : leerMultifactura)(familia, clave, entrada, salida);
    esperados(bytesSalida, "");
    EXPECT_EQ(siguienteCuenta("99", 2) + siguienteCuenta("7", 3), "100008"); // never cut, zero-filled
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaMultifactura,
    ::testing::Values(
        // Keys 00 01 02 03 00 01: four orders, the count restarting at the order line.
        CasoMultifactura{"ejemploNumerado", true, false, "00aa\r\n01b1\r\n02b2\r\n03b3\r\n00cc\r\n01d1\r\n",
                         "2 K=aa X=b1\r\n3 X=b2\r\n4 X=b3\r\n6 K=cc X=d1\r\nTOTAL 4\r\n"},
        // The end of the file sends only a pending invoice, never the previous one again.
        CasoMultifactura{"mismaClaveAcabaEnLineaDeOrden", false, false, "00aa\r\n01b1\r\n00cc\r\n",
                         "2 K=aa X=b1\r\nTOTAL 1\r\n"},
        CasoMultifactura{"numeradaAcabaEnLineaDeOrden", true, false, "00aa\r\n01b1\r\n00cc\r\n",
                         "2 K=aa X=b1\r\nTOTAL 1\r\n"},
        // Blanks, signs and letters are no number: never the next invoice.
        CasoMultifactura{"numeradaClaveQueNoEsNumero", true, false,
                         "00aa\r\n01b1\r\n  b2\r\n+2b2\r\n2 b2\r\n", "5 K=aa X=b1\r\nTOTAL 1\r\n"},
        // Where the family says so, the file's first order line is an order by itself.
        CasoMultifactura{"numeradaPrimeraOrdenSola", true, true, "00aa\r\n00cc\r\n01d1\r\n",
                         "1 K=aa\r\n3 K=cc X=d1\r\nTOTAL 2\r\n"},
        CasoMultifactura{"numeradaPrimeraOrdenSinFacturas", true, false, "00aa\r\n00cc\r\n01d1\r\n",
                         "3 K=aa K=cc X=d1\r\nTOTAL 1\r\n"}),
    [](const auto& caso) { return std::string(std::get<0>(caso.param)); });

// One row, one order, from a sheet or a table. Columns: A text, B the amount; C names no column and has a
// default; D names no column and has none (a sheet leaves it alone, a table hands "").
const std::vector<CampoEstructura> kPorFila{campo("A", 0, 0, "", "A"), campo("Importe", 0, 0, "", "B"),
                                            campo("C", 0, 0, "c", "Z9"), campo("D", 0, 0, "", "")};

// The pieces of an account, in columns A to D, and a postal code in E, which is no piece of one.
const std::vector<CampoEstructura> kCuenta{campo("Entidad", 0, 0, "", "A"), campo("Oficina", 0, 0, "", "B"),
                                           campo("DC", 0, 0, "", "C"), campo("Cuenta", 0, 0, "", "D"),
                                           campo("CP", 0, 0, "", "E")};

struct CasoFilas {
    const char* nombre;
    bool tabla;
    pruebas::FilasPrueba filas;
    const char* salida; // nullptr: no bank file afterwards
    std::string log;
    bool recorta = false;
    std::vector<CampoEstructura> campos = kPorFila;
};

class MotorLecturaFilas : public MotorLectura, public ::testing::WithParamInterface<CasoFilas> {};

TEST_P(MotorLecturaFilas, cadaFilaEsUnaOrdenConLasReglasDeSuEntrada) {
    const CasoFilas& caso = GetParam();
    estado.gCamposEstructura = caso.campos;
    familia.recorta = caso.recorta;
    if (caso.tabla) {
        pruebas::escribirTablaSqlite(carpeta / "origen.db", "Cobros", {"A", "B", "C", "D", "E"}, caso.filas);
        tabla("origen.db");
    } else {
        pruebas::escribirHojaXlsx(carpeta / "libro.xlsx", "Cobros", caso.filas);
        leerHoja(familia, *abrirLibroExcel(carpeta / "libro.xlsx"), "Cobros", salida);
    }
    esperados(caso.salida, caso.log);
    EXPECT_TRUE(avisos.mensajes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaFilas,
    ::testing::Values(
        // Rows count from 1 and an empty row inside the used range is an order too; a sheet's amount
        // without a comma is units (",0" appended), whether number or text.
        CasoFilas{"hojaFilasDesdeLaPrimeraConVacias", false,
                  pruebas::FilasPrueba{{"ab", "#1500"}, {}, {" cd ", "15.5"}},
                  "1 A=ab Importe=1500,0 C=c\r\n2 A= Importe=,0 C=c\r\n3 A= cd  Importe=15.5,0 C=c\r\n"
                  "TOTAL 3\r\n",
                  ""},
        CasoFilas{"hojaImporteConComaTalCual", false, pruebas::FilasPrueba{{"ab", "#1500.5"}},
                  "1 A=ab Importe=1500,5 C=c\r\nTOTAL 1\r\n", ""},
        CasoFilas{"hojaRecortadaSiLaFamiliaLoPide", false, pruebas::FilasPrueba{{" cd ", "#1"}},
                  "1 A=cd Importe=1,0 C=c\r\nTOTAL 1\r\n", "", true},
        CasoFilas{"hojaFilaRechazadaAlLogConSuNumero", false,
                  pruebas::FilasPrueba{{"Titulo!", "Importe"}, {"ab", "#2"}},
                  "2 A=ab Importe=2,0 C=c\r\nTOTAL 1\r\n",
                  bloque(1, " A=Titulo! Importe=Importe,0 C=c", "Error : A")},
        // A table hands "" for a column it cannot give; its integers are plain text (they may hold
        // cents), its floating-point amounts have two decimals, rounded half away from zero.
        CasoFilas{"tablaColumnaSinValorDaVacio", true,
                  pruebas::FilasPrueba{{" cd ", "#1500"}, {"^", "~1500"}, {"", "~2.675"}},
                  "1 A= cd  Importe=1500 C=c D=\r\n2 A= Importe=1500,00 C=c D=\r\n"
                  "3 A= Importe=2,68 C=c D=\r\nTOTAL 3\r\n",
                  "", true},
        CasoFilas{"tablaSinFilasNoDejaFichero", true, {}, nullptr, ""},
        // A number has lost the zeros of an account's piece: they are put back to its width. A text, a
        // number that fills its piece or is no whole number, and any other field stay as they are.
        CasoFilas{"hojaNumerosDeLaCuentaRecuperanSusCeros", false,
                  pruebas::FilasPrueba{{"#49", "#418", "#1", "#200051332", "#8001"},
                                       {"49", "418", "1", "200051332", "8001"},
                                       {"#12345", "#-418", "#4.5", "#1234567890"}},
                  "1 Entidad=0049 Oficina=0418 DC=01 Cuenta=0200051332 CP=8001\r\n"
                  "2 Entidad=49 Oficina=418 DC=1 Cuenta=200051332 CP=8001\r\n"
                  "3 Entidad=12345 Oficina=-418 DC=4,5 Cuenta=1234567890 CP=\r\nTOTAL 3\r\n",
                  "", true, kCuenta},
        CasoFilas{
            "tablaNumerosDeLaCuentaRecuperanSusCeros", true,
            pruebas::FilasPrueba{{"#49", "~418", "#0", "#200051332", "#8001"}, {"49", "418", "1", "", "^"}},
            "1 Entidad=0049 Oficina=0418 DC=00 Cuenta=0200051332 CP=8001\r\n"
            "2 Entidad=49 Oficina=418 DC=1 Cuenta= CP=\r\nTOTAL 2\r\n",
            "", false, kCuenta}),
    [](const ::testing::TestParamInfo<CasoFilas>& caso) { return std::string(caso.param.nombre); });

// Rows are counted in 64 bits: every row of the used range is an order, far past 32767 and 65536.
TEST_F(MotorLectura, leeCadaFilaDelRangoUsadoMasAllaDeLosContadoresCortos) {
    estado.gCamposEstructura = kPorFila;
    pruebas::FilasPrueba filas(70000);
    filas.back() = {"ab", "#7"};
    pruebas::escribirHojaXlsx(carpeta / "libro.xlsx", "Cobros", filas);
    leerHoja(familia, *abrirLibroExcel(carpeta / "libro.xlsx"), "Cobros", salida);
    EXPECT_TRUE(leerFichero(salida).ends_with("70000 A=ab Importe=7,0 C=c\r\nTOTAL 70000\r\n"));
    EXPECT_FALSE(familia.concluir().conErrores());
}

// The Access files: column A's text; column F's double and column H's currency as amounts with two
// decimals.
class MotorLecturaAccess : public MotorLectura, public ::testing::WithParamInterface<const char*> {};

TEST_P(MotorLecturaAccess, unaTablaDeAccessSeLeePorNombreDeColumna) {
    TROVANEL_REQUIERE_MUESTRAS();
    estado.gCamposEstructura = {campo("A", 0, 0, "", "A"), campo("Importe", 0, 0, "", "F"),
                                campo("Importe", 0, 0, "", "H")};
    leerTabla(familia, pruebas::carpetaMuestras() / "access" / GetParam(), "Table1", salida);
    // The files keep their rows in different orders.
    const std::string bytes = leerFichero(salida);
    EXPECT_NE(bytes.find(" A=a Importe=0,00 Importe=0,00\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(" A=abcdefg Importe=444,56 Importe=3,50\r\n"), std::string::npos) << bytes;
    EXPECT_TRUE(bytes.ends_with("TOTAL 2\r\n"));
    EXPECT_TRUE(avisos.mensajes.empty());
}

INSTANTIATE_TEST_SUITE_P(Ficheros, MotorLecturaAccess,
                         ::testing::Values("jet3-test.mdb", "jet4-test.mdb", "ace-test.accdb"),
                         [](const ::testing::TestParamInfo<const char*>& caso) {
                             std::string nombre = caso.param;
                             return nombre.substr(0, nombre.find('-'));
                         });

// An input that cannot be read ends in the message, a failed run and no bank file: neither an empty one nor
// the earlier one of that name.
struct CasoFalloFilas {
    const char* nombre;
    std::function<void(MotorLectura&)> leer;
    std::string aviso;
};

class MotorLecturaFilasFallidas : public MotorLectura,
                                  public ::testing::WithParamInterface<CasoFalloFilas> {};

TEST_P(MotorLecturaFilasFallidas, terminaConElMensajeYSinFicheroDeSalida) {
    estado.gCamposEstructura = kPorFila;
    GetParam().leer(*this);
    // A database's own description follows "Error : ".
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    const std::string aviso = pruebas::conMarca(GetParam().aviso, '%', rutaComoTexto(carpeta.ruta()));
    EXPECT_EQ(avisos.mensajes[0].texto.substr(0, aviso.size()), aviso) << avisos.mensajes[0].texto;
    EXPECT_GT(avisos.mensajes[0].texto.size(), std::string("Error : ").size());
    EXPECT_TRUE(familia.concluir().conErrores());
    EXPECT_FALSE(fs::exists(salida));
}

constexpr const char* kNoAbre = "No se puede abrir el fichero de entrada";

INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaFilasFallidas,
    ::testing::Values(
        CasoFalloFilas{"hojaQueElLibroNoTiene",
                       [](MotorLectura& m) {
                           pruebas::escribirHojaXlsx(m.carpeta / "libro.xlsx", "Cobros", {{"ab", "#1"}});
                           leerHoja(m.familia, *abrirLibroExcel(m.carpeta / "libro.xlsx"), "Pagos", m.salida);
                       },
                       kNoAbre},
        CasoFalloFilas{"libroQueNoExiste", [](MotorLectura& m) { m.hoja("no.xlsx"); }, kNoAbre},
        CasoFalloFilas{"libroDanado",
                       [](MotorLectura& m) {
                           escribirFichero(m.carpeta / "malo.xlsx", "PK\x03\x04" + std::string(600, 'x'));
                           m.hoja("malo.xlsx");
                       },
                       kNoAbre},
        CasoFalloFilas{"baseQueNoExiste", [](MotorLectura& m) { m.tabla("no.db"); }, "Error : "},
        CasoFalloFilas{"baseDanada",
                       [](MotorLectura& m) {
                           escribirFichero(m.carpeta / "mala.db", std::string(4096, 'x'));
                           m.tabla("mala.db");
                       },
                       "Error : "},
        // A value, or a row of more columns than Access allows, past what a row may take of the memory.
        CasoFalloFilas{"valorDeTablaMasLargoQueElTope",
                       [](MotorLectura& m) {
                           pruebas::escribirTablaSqlite(
                               m.carpeta / "o.db", "Cobros", {"A", "B"},
                               {{"ab", "#1"}, {std::string(kMaxValor + 1, 'x'), "#2"}});
                           m.tabla("o.db");
                       },
                       "Error : La fila 2 tiene un valor de más de 262144 bytes"},
        // The same for a sheet's cell, with the path ("%" the folder's) as a text input says it.
        CasoFalloFilas{
            "valorDeHojaMasLargoQueElTope",
            [](MotorLectura& m) {
                pruebas::escribirHojaXlsx(m.carpeta / "o.xlsx", "Cobros",
                                          {{"ab", "#1"}, {std::string(300000, 'x'), "#2"}});
                m.hoja("o.xlsx");
            },
            "No se puede abrir el fichero de entrada\r\n%/o.xlsx: la fila 2 tiene un valor de más de "
            "262144 bytes"},
        CasoFalloFilas{"tablaConMasColumnasQueElTope",
                       [](MotorLectura& m) {
                           std::vector<std::string> columnas;
                           for (int i = 0; i <= kMaxColumnasTabla; ++i) {
                               columnas.push_back("C" + std::to_string(i));
                           }
                           pruebas::escribirTablaSqlite(m.carpeta / "o.db", "Cobros", columnas, {});
                           m.tabla("o.db");
                       },
                       "Error : No se puede leer la tabla Cobros de la base de datos "},
        CasoFalloFilas{"tablaQueNoExiste",
                       [](MotorLectura& m) {
                           pruebas::escribirTablaSqlite(m.carpeta / "o.db", "Cobros", {"A"}, {{"x"}});
                           m.tabla("o.db", "Pagos");
                       },
                       "Error : "}),
    [](const ::testing::TestParamInfo<CasoFalloFilas>& caso) { return std::string(caso.param.nombre); });

// The input changes while it is read, when the first order is written: the run fails naming it and no
// bank file is left, neither this run's nor the earlier one.
using CasoCambio = std::tuple<const char*, std::function<void(const fs::path&)>>;
class MotorLecturaEntradaCambiada
    : public MotorLectura,
      public ::testing::WithParamInterface<std::tuple<const char*, CasoCambio>> {};

TEST_P(MotorLecturaEntradaCambiada, laConversionFallaSinFicheroDelBanco) {
    const std::string clase = std::get<0>(GetParam());
    const auto& cambio = std::get<1>(std::get<1>(GetParam()));
    fs::path ruta = entrada;
    std::string prefijo;
    if (clase == "texto") {
        // Several blocks of the reader, so that the change falls between two of them.
        std::string bytes;
        while (bytes.size() < 800'000) {
            bytes += "ab12\r\n";
        }
        escribirFichero(ruta, bytes);
        estado.gCamposEstructura = kPorLinea;
    } else {
        estado.gCamposEstructura = kPorFila;
        ruta = carpeta / (clase == "hoja" ? "libro.xlsx" : "origen.db");
    }
    bool cambiada = false;
    familia.alEscribir = [&] {
        if (!cambiada) {
            cambio(ruta);
            cambiada = true;
        }
        return true;
    };
    if (clase == "texto") {
        leerTextoLinea(familia, ruta, salida);
    } else if (clase == "hoja") {
        pruebas::escribirHojaXlsx(ruta, "Cobros", {{"ab", "#1"}, {"cd", "#2"}});
        leerHoja(familia, ruta, "Cobros", salida);
    } else {
        pruebas::escribirTablaSqlite(ruta, "Cobros", {"A", "B"}, {{"ab", "#1"}, {"cd", "#2"}});
        leerTabla(familia, ruta, "Cobros", salida);
        prefijo = "Error : ";
    }
    EXPECT_EQ(avisos.mensajes,
              (std::vector<AvisosGrabados::Mensaje>{
                  {"critico", prefijo + mensajeEntrada(kNoSeAbreEntrada, ruta, kCambiadoAlLeer)}}));
    EXPECT_TRUE(familia.concluir().conErrores());
    EXPECT_FALSE(fs::exists(salida));
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaEntradaCambiada,
    ::testing::Combine(
        ::testing::Values("texto", "hoja", "tabla"),
        ::testing::Values(
            CasoCambio{"cortada", [](const fs::path& r) { fs::resize_file(r, fs::file_size(r) / 2); }},
            CasoCambio{"alargada", [](const fs::path& r) { fs::resize_file(r, fs::file_size(r) + 1); }},
            CasoCambio{
                "retocada",
                [](const fs::path&
                       r) { fs::last_write_time(r, fs::last_write_time(r) - std::chrono::seconds(5)); }})),
    [](const auto& caso) {
        return std::string(std::get<0>(caso.param)) + "_" + std::get<0>(std::get<1>(caso.param));
    });

TEST(ImporteDosDecimales, redondeaLejosDelCeroSobreLasCifrasEscritas) {
    EXPECT_EQ(importeDosDecimales("1500"), "1500,00");
    EXPECT_EQ(importeDosDecimales("-2,675"), "-2,68");
    EXPECT_EQ(importeDosDecimales("99,995"), "100,00");
    EXPECT_EQ(importeDosDecimales("-0,001"), "0,00");
    EXPECT_EQ(importeDosDecimales("1,5E+20"), std::nullopt);
}

// The bank file: written without a name where the file system allows it, else under a name of its
// own; the earlier file keeps its name until the end.
class MotorLecturaSalida : public MotorLectura, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        MotorLectura::SetUp();
        FicheroSalida::permitirSinNombre(GetParam());
        if (GetParam() && !FicheroSalida(carpeta / "prueba").sinNombre()) {
            GTEST_SKIP() << "El sistema de ficheros de " << carpeta.ruta()
                         << " no admite ficheros sin nombre";
        }
        escribirFichero(entrada, "ab12\r\ncd34\r\n");
        estado.gCamposEstructura = kPorLinea;
    }
    void TearDown() override { FicheroSalida::permitirSinNombre(true); }
};

TEST_P(MotorLecturaSalida, elFicheroAnteriorSigueHastaElFinalYElNuevoSoloSeNombraAlTerminar) {
    // What a killed run of the named way left.
    escribirFichero(carpeta / "remesa.out.trovanel-Ab3dE9", "abandonado");
    const std::size_t entradas = entradasDe(carpeta.ruta()) - 1;
    std::vector<std::size_t> entradasAlEscribir;
    familia.alEscribir = [&] {
        EXPECT_EQ(leerFichero(salida), kAnterior);
        entradasAlEscribir.push_back(entradasDe(carpeta.ruta()));
        return true;
    };
    leerTextoLinea(familia, entrada, salida);
    EXPECT_EQ(leerFichero(salida), "1 A=ab B=12 C=c\r\n2 A=cd B=34 C=c\r\nTOTAL 2\r\n");
    // Without a name, nothing new is in the folder while the run writes.
    const std::size_t mientras = entradas + (GetParam() ? 0 : 1);
    EXPECT_EQ(entradasAlEscribir, (std::vector<std::size_t>{mientras, mientras}));
    EXPECT_EQ(entradasDe(carpeta.ruta()), entradas);
    EXPECT_FALSE(familia.concluir().conErrores());
}

TEST_P(MotorLecturaSalida, unaEscrituraFallidaNoDejaNiElFicheroAnteriorNiElNuevo) {
    const std::size_t entradas = entradasDe(carpeta.ruta());
    int escritas = 0;
    familia.alEscribir = [&escritas] { return ++escritas < 2; };
    leerTextoLinea(familia, entrada, salida);
    // A failure the system gave no reason for still names the file.
    EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{
                                   {"critico", "No se puede crear el fichero de salida\r\n" +
                                                   rutaComoTexto(salida) + ": no se puede usar"}}));
    EXPECT_TRUE(familia.concluir().conErrores());
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_EQ(entradasDe(carpeta.ruta()), entradas - 1);
}

INSTANTIATE_TEST_SUITE_P(Modos, MotorLecturaSalida, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& caso) {
                             return std::string(caso.param ? "sinNombre" : "conNombre");
                         });

// A log that cannot be written (a folder in its place, a disk full at a write or only at the close) stops
// the run: one message, no bank file (nor the earlier one), nothing left. Input: a good order, then
// rejected ones. Rows: name, rejected orders, size limit (0: the log is a folder), rows of a sheet, lines
// read (0: fewer than the input's).
using CasoLogFallido = std::tuple<const char*, int, rlim_t, bool, std::int64_t>;
class MotorLecturaLogFallido : public MotorLectura, public ::testing::WithParamInterface<CasoLogFallido> {};

TEST_P(MotorLecturaLogFallido, detieneLaEjecucionConUnMensajeYSinFicheroDelBanco) {
    const auto& [nombre, rechazadas, limite, filas, leidas] = GetParam();
    std::string texto = "ab12\r\n";
    for (int i = 0; i < rechazadas; ++i) {
        texto += "!x34\r\n";
    }
    escribirFichero(entrada, texto);
    pruebas::escribirHojaXlsx(carpeta / "libro.xlsx", "Cobros", {{"ab", "#1"}, {"!x", "#1"}, {"!x", "#1"}});
    if (limite == 0) {
        fs::create_directory(log);
    }
    const std::size_t antes = entradasDe(carpeta.ruta());
    {
        std::optional<pruebas::LimiteTamanoFichero> lleno;
        if (limite != 0) {
            lleno.emplace(limite);
        }
        estado.gCamposEstructura = filas ? kPorFila : kPorLinea;
        if (filas) {
            hoja("libro.xlsx");
        } else {
            leerTextoLinea(familia, entrada, salida);
        }
    }
    const char* motivo = limite == 0 ? "es una carpeta" : "el fichero supera el tamaño máximo permitido";
    EXPECT_EQ(avisos.mensajes,
              (std::vector<AvisosGrabados::Mensaje>{
                  {"critico", std::string(kFalloLogCobros) + "\r\n" + rutaComoTexto(log) + ": " + motivo}}));
    EXPECT_TRUE(familia.concluir().conErrores());
    EXPECT_EQ(familia.resultado.clase, ResultadoConversion::Clase::LogNoEscrito);
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_EQ(entradasDe(carpeta.ruta()), antes - 1 + (limite != 0));
    if (leidas == 0) {
        EXPECT_LT(familia.lectura.gLineaEntrada, rechazadas);
    } else {
        EXPECT_EQ(familia.lectura.gLineaEntrada, leidas);
    }
}

INSTANTIATE_TEST_SUITE_P(Tabla, MotorLecturaLogFallido,
                         ::testing::Values(CasoLogFallido{"textoLogQueEsUnaCarpeta", 50, 0, false, 2},
                                           CasoLogFallido{"filasLogQueEsUnaCarpeta", 2, 0, true, 2},
                                           CasoLogFallido{"textoDiscoLlenoAlEscribir", 3000, 4096, false, 0},
                                           CasoLogFallido{"textoDiscoLlenoAlCerrar", 100, 4096, false, 101}),
                         [](const auto& caso) { return std::string(std::get<0>(caso.param)); });

} // namespace
} // namespace trovanel
