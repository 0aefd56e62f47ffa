#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "csb19.hpp"
#include "datos_obligatorios.hpp"
#include "estado_ejecucion.hpp"
#include "libro_excel.hpp"
#include "peticion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CampoPlantilla;
using pruebas::CarpetaTemporal;
using pruebas::leerFichero;
using pruebas::RelojFijo;
namespace fs = std::filesystem;

std::string relleno(std::string texto, std::size_t ancho) {
    texto.resize(ancho, ' ');
    return texto;
}
std::string b(std::size_t n) {
    return std::string(n, ' ');
}
std::string cifras(std::int64_t valor) {
    const std::string texto = std::to_string(valor);
    return std::string(10 - texto.size(), '0') + texto;
}
std::string fichero(const std::vector<std::string>& registros) {
    std::string texto;
    for (const std::string& r : registros) {
        EXPECT_EQ(r.size(), 162u) << r;
        texto += r + "\r\n";
    }
    return texto;
}

// Parties of the tests; the issuer's account is entity 2100, office 0418, check digits 40.
struct Partes {
    std::string idPresentador = "B12345678001";
    std::string nombrePresentador = "COLEGIO SAN PRUEBA";
    std::string idEmisor = "B12345678002";
    std::string nombreEmisor = "COLEGIO SAN PRUEBA COBROS";
};
const std::string kCCC = "21000418401234567890";

// Created 6 December 2026 (the pinned clock), charged 7 March 2026 (the process date).
std::string cabeceras(const Partes& p = {}) {
    return fichero({"5180" + p.idPresentador + "061226" + b(6) + relleno(p.nombrePresentador, 40) + b(20) +
                        "2100" + "0418" + b(66),
                    "5380" + p.idEmisor + "061226" + "070326" + relleno(p.nombreEmisor, 40) + "2100" +
                        "0418" + "40" + "1234567890" + b(8) + "01" + b(64)});
}
std::string individual(const std::string& ref, const std::string& nombre, const std::string& ccc,
                       const std::string& importe, const std::string& concepto, const Partes& p = {}) {
    return fichero({"5680" + p.idEmisor + relleno(ref, 12) + relleno(nombre, 40) + ccc + importe + b(16) +
                    relleno(concepto, 40) + b(8)});
}
std::string domicilio(const std::string& ref, const std::string& titular, const std::string& direccion,
                      const std::string& localidad, const std::string& cp) {
    return fichero({"5686" + Partes{}.idEmisor + relleno(ref, 12) + relleno(titular, 40) +
                    relleno(direccion, 40) + relleno(localidad, 35) + cp + b(14)});
}
std::string totales(std::int64_t importe, int recibos, int registros, const Partes& p = {}) {
    return fichero(
        {"5880" + p.idEmisor + b(72) + cifras(importe) + b(6) + cifras(recibos) + cifras(registros) + b(38),
         "5980" + p.idPresentador + b(52) + "0001" + b(16) + cifras(importe) + b(6) + cifras(recibos) +
             cifras(registros + 2) + b(38)});
}
// A bank file of one receipt without concept, charged to kCCC.
std::string unRecibo(const std::string& ref, const std::string& nombre, std::int64_t importe,
                     const Partes& p = {}) {
    return cabeceras(p) + individual(ref, nombre, kCCC, cifras(importe), "", p) + totales(importe, 1, 3, p);
}

// One order per line: reference 1-12, holder 13-42, account 43-62, amount 63-74, concept 75-94.
// clang-format off
const std::vector<CampoPlantilla> kRecibo{{"CodigoReferencia", 1, 12}, {"NombreTitularRecibo", 13, 42},
                                          {"Entidad", 43, 46}, {"Oficina", 47, 50}, {"DC", 51, 52},
                                          {"Cuenta", 53, 62}, {"Importe", 63, 74}, {"Concepto1", 75, 94}};
// clang-format on
std::string linea(const std::string& ref, const std::string& nombre, const std::string& importe,
                  const std::string& concepto = "") {
    return relleno(ref, 12) + relleno(nombre, 30) + kCCC + relleno(importe, 12) + relleno(concepto, 20) +
           "\r\n";
}

class SolicitudFalsa : public SolicitudDatosObligatorios {
public:
    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                  std::string_view) override {
        pedidos.push_back(campos);
        for (std::size_t i : campos) {
            estado.gCamposEstructura[i].valorcampo = valor;
        }
        return acepta;
    }
    std::string valor = "REF-FIJA";
    bool acepta = true;
    std::vector<std::vector<std::size_t>> pedidos;
};

class ConversionCSB19 : public ::testing::Test {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        baseDatos.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        presentador = nuevaParte("presentadores", "B12345678", "001", "COLEGIO SAN PRUEBA");
        emisor = nuevaParte("emisores", "B12345678", "002", "COLEGIO SAN PRUEBA COBROS");
    }

    // A presenter, or an issuer with the account kCCC.
    std::int64_t nuevaParte(const std::string& tabla, const char* nif, const char* sufijo,
                            const char* nombre) {
        const auto crear = [&](auto constructor) {
            return constructor.nif(nif).sufijo(sufijo).nombre(nombre).cuenta(kCCC).crear();
        };
        return tabla == "emisores" ? crear(pruebas::ConstructorEmisor(*baseDatos))
                                   : crear(pruebas::ConstructorPresentador(*baseDatos));
    }

    std::int64_t plantilla(const std::vector<CampoPlantilla>& campos, const char* tipo = "CSB19",
                           int principio = -1, bool multifactura = false) {
        return pruebas::ConstructorPlantilla(*baseDatos)
            .tipo(tipo)
            .principioLinea(principio)
            .multifactura(multifactura)
            .campos(campos)
            .crear();
    }

    // Converts the text (or, when it is empty, the file origen) into salida.
    void convertir(std::int64_t idPlantilla, const std::string& entrada,
                   SolicitudDatosObligatorios* solicitud = nullptr, fs::path origen = {}) {
        if (origen.empty()) {
            origen = carpeta / "entrada.txt";
            pruebas::escribirFichero(origen, entrada);
        }
        Entorno entorno{*baseDatos, avisos, reloj, carpeta.ruta(), solicitud};
        ParametrosConversion parametros =
            pruebas::peticion(origen, salida, idPlantilla, presentador, emisor, log);
        parametros.gFechaProceso = "07/03/2026";
        resultado = GenerarCSB19(estado, entorno, parametros);
    }

    void esperarAviso(const char* tipo, const std::string& texto) {
        EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{{tipo, texto}}));
        EXPECT_TRUE(resultado.conErrores());
        EXPECT_FALSE(fs::exists(salida));
    }

    CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    AvisosGrabados avisos;
    RelojFijo reloj;
    EstadoEjecucion estado;
    ResultadoConversion resultado;
    std::int64_t presentador = 0;
    std::int64_t emisor = 0;
    fs::path salida = carpeta / "remesa.txt";
    fs::path log = carpeta / "entrada.log";
};

constexpr const char* kImporteIncorrecto = "Error : Importe incorrecto";

// A rejected order's block in the log, as the error log lays it out.
std::string bloque(int numeroLinea, const std::string& nombre, const std::string& error) {
    return "*************************************\r\nNumero Linea: " + std::to_string(numeroLinea) +
           "\r\nNif Ordenante: B12345678002\r\nNombre Titular: " + relleno(nombre, 40) + "\r\n \r\n" + error +
           "\r\n";
}
const std::string kCabeceraLog = "*************************************\r\n06/12/2026 - 10:45:33\r\n";

TEST_F(ConversionCSB19, cadaEjecucionEmpiezaSinImporteConceptoCuentaNiPartesDeLaAnterior) {
    convertir(plantilla(kRecibo), linea("REF-1", "GARCIA LUCIA", "125,50", "CUOTA MARZO"));
    EXPECT_EQ(leerFichero(salida),
              cabeceras() + individual("REF-1", "GARCIA LUCIA", kCCC, "0000012550", "CUOTA MARZO") +
                  totales(12550, 1, 3));

    // Other parties, and a template without account or concept: nothing of the first run shows.
    const std::int64_t primerEmisor = emisor;
    presentador = nuevaParte("presentadores", "A11111111", "", "ACADEMIA DOS");
    emisor = nuevaParte("emisores", "A22222222", "9", "ACADEMIA DOS COBROS");
    const Partes otras{"A11111111   ", "ACADEMIA DOS", "A222222229  ", "ACADEMIA DOS COBROS"};
    const auto sinCuenta = plantilla({kRecibo[0], kRecibo[1], kRecibo[6]});
    convertir(sinCuenta, linea("REF-2", "RUIZ PABLO", "60"));
    EXPECT_EQ(leerFichero(salida), cabeceras(otras) +
                                       individual("REF-2", "RUIZ PABLO", b(20), "0000000060", "", otras) +
                                       totales(60, 1, 3, otras));

    // Without an amount field the order has no amount of its own and is refused.
    fs::remove(salida);
    emisor = primerEmisor;
    convertir(plantilla({kRecibo[0], kRecibo[1]}), linea("REF-3", "LOPEZ MARTA", "99,00"));
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_TRUE(resultado.conErrores());
    EXPECT_EQ(leerFichero(log), kCabeceraLog + bloque(1, "LOPEZ MARTA", kImporteIncorrecto));
}

// Orders over several lines: lines "C" (the order start) carry the receipt, lines "D" the address.
// clang-format off
const std::vector<CampoPlantilla> kReciboConDomicilio{
    {"CodigoReferencia", 2, 13, "", 1, 1, "C"}, {"NombreTitularRecibo", 14, 43, "", 1, 1, "C"},
    {"Entidad", 44, 47, "", 1, 1, "C"}, {"Oficina", 48, 51, "", 1, 1, "C"}, {"DC", 52, 53, "", 1, 1, "C"},
    {"Cuenta", 54, 63, "", 1, 1, "C"}, {"Importe", 64, 75, "", 1, 1, "C"},
    {"NombreTitularCuenta", 76, 105, "", 1, 1, "C"},
    {"Direccion", 2, 31, "", 1, 1, "D"}, {"Localidad", 32, 51, "", 1, 1, "D"}, {"CP", 52, 56, "", 1, 1, "D"}};
// clang-format on
const std::string kLineaDomicilio =
    "D" + relleno("CALLE DEL OLMO 14", 30) + relleno("MADRID", 20) + "28013\r\n";

TEST_F(ConversionCSB19, lasPiezasPasanDeUnaOrdenALaSiguienteSoloDentroDeLaEjecucion) {
    // The address, which the next order keeps when it has none.
    const auto id = plantilla(kReciboConDomicilio, "CSB19", 0);
    convertir(id, "C" + linea("REF-1", "GARCIA LUCIA", "10,00") + kLineaDomicilio + "C" +
                      linea("REF-2", "RUIZ PABLO", "20,00"));
    EXPECT_EQ(leerFichero(salida),
              cabeceras() + individual("REF-1", "GARCIA LUCIA", kCCC, "0000001000", "") +
                  domicilio("REF-1", "GARCIA LUCIA", "CALLE DEL OLMO 14", "MADRID", "28013") +
                  individual("REF-2", "RUIZ PABLO", kCCC, "0000002000", "") +
                  domicilio("REF-2", "RUIZ PABLO", "CALLE DEL OLMO 14", "MADRID", "28013") +
                  totales(3000, 2, 6));

    convertir(id, "C" + linea("REF-3", "LOPEZ MARTA", "5,00"));
    EXPECT_EQ(leerFichero(salida), unRecibo("REF-3", "LOPEZ MARTA", 500));
}

TEST_F(ConversionCSB19, lasLineasAntesDelPrimerPrincipioSonDeLaPrimeraOrden) {
    const auto id = plantilla(kReciboConDomicilio, "CSB19", 0);
    convertir(id, kLineaDomicilio + "C" + linea("REF-1", "GARCIA LUCIA", "10,00"));
    EXPECT_EQ(leerFichero(salida),
              cabeceras() + individual("REF-1", "GARCIA LUCIA", kCCC, "0000001000", "") +
                  domicilio("REF-1", "GARCIA LUCIA", "CALLE DEL OLMO 14", "MADRID", "28013") +
                  totales(1000, 1, 4));

    // Without any order-start line the whole file is one order, flushed at its end: here one without
    // an amount, so it is refused under its last line.
    convertir(id, kLineaDomicilio + kLineaDomicilio);
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_TRUE(resultado.conErrores());
    const std::string registro = leerFichero(log);
    EXPECT_NE(registro.find("Numero Linea: 2\r\n"), std::string::npos) << registro;
    EXPECT_NE(registro.find(kImporteIncorrecto), std::string::npos) << registro;
}

// A field past the end of a short line is empty, not its default; without a holder-of-account field there
// is no address record.
TEST_F(ConversionCSB19, unCampoMasAllaDeUnaLineaCortaQuedaVacioYSinTitularDeLaCuentaNoHayDomicilio) {
    const std::string corta = relleno("REF-1", 12) + relleno("GARCIA LUCIA", 30) + kCCC + relleno("1,00", 12);
    for (const auto& [campo, entrada] :
         {std::pair{CampoPlantilla{"Concepto1", 75, 94, "CONCEPTO POR DEFECTO"}, corta + "\r\n"},
          std::pair{CampoPlantilla{"Direccion", 75, 94},
                    linea("REF-1", "GARCIA LUCIA", "1,00", "CALLE DEL OLMO 14")}}) {
        std::vector<CampoPlantilla> campos = kRecibo;
        campos[7] = campo;
        convertir(plantilla(campos), entrada);
        EXPECT_EQ(leerFichero(salida), unRecibo("REF-1", "GARCIA LUCIA", 100)) << entrada;
    }
}

// A party without its row cancels the run; so does an issuer's short account, as if there were no issuer:
// zeros in its place would charge the receipts to an account nobody has.
TEST_F(ConversionCSB19, unaParteSinFilaOUnEmisorConCuentaCortaCancelanLaConversion) {
    const auto id = plantilla(kRecibo);
    const std::int64_t cuentaCorta = pruebas::ConstructorEmisor(*baseDatos)
                                         .nif("B12345678")
                                         .sufijo("002")
                                         .nombre("COLEGIO SAN PRUEBA COBROS")
                                         .cuenta("21000418")
                                         .crear();
    struct Caso {
        std::int64_t presentador;
        std::int64_t emisor;
        const char* mensaje;
    };
    for (const Caso& caso : {Caso{99, emisor, "No se puede obtener los datos del presentador"},
                             Caso{presentador, 99, "No se puede obtener los datos del emisor"},
                             Caso{presentador, cuentaCorta, "No se puede obtener los datos del emisor"}}) {
        SCOPED_TRACE(caso.emisor);
        avisos.mensajes.clear();
        presentador = caso.presentador;
        emisor = caso.emisor;
        convertir(id, linea("REF-1", "GARCIA LUCIA", "1,00"));
        esperarAviso("critico", caso.mensaje);
    }
}

TEST_F(ConversionCSB19, unaConsultaFallidaDeLasPartesDaSuDescripcion) {
    const auto id = plantilla(kRecibo);
    baseDatos->preparar("DROP TABLE emisores").ejecutar();
    convertir(id, linea("REF-1", "GARCIA LUCIA", "1,00"));
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    const std::string inicio = "No se puede obtener los datos del emisor\r\nError: ";
    EXPECT_EQ(avisos.mensajes[0].texto.substr(0, inicio.size()), inicio);
    EXPECT_GT(avisos.mensajes[0].texto.size(), inicio.size());
    EXPECT_TRUE(resultado.conErrores());
    EXPECT_FALSE(fs::exists(salida));
}

TEST_F(ConversionCSB19, losDatosDelPresentadorSeCortanASuAncho) {
    const std::string nombre = "ASOCIACION DE MADRES Y PADRES DEL COLEGIO SAN JUAN";
    presentador = nuevaParte("presentadores", "B123456789X", "00012", nombre.c_str());
    convertir(plantilla(kRecibo), linea("REF-1", "GARCIA LUCIA", "1,00"));
    Partes p;
    p.idPresentador = "B12345678000";
    p.nombrePresentador = "ASOCIACION DE MADRES Y PADRES DEL COLEGI";
    EXPECT_EQ(leerFichero(salida), unRecibo("REF-1", "GARCIA LUCIA", 100, p));
}

struct CasoPlantilla {
    const char* nombre;
    const char* tipo;
    int principio;
    bool multifactura;
    std::vector<CampoPlantilla> campos;
    const char* mensaje;
    // A critical message; for a database, the start of it (its description follows).
    const char* clase = "informacion";
};

class ConversionCSB19Plantillas : public ConversionCSB19,
                                  public ::testing::WithParamInterface<CasoPlantilla> {};

TEST_P(ConversionCSB19Plantillas, rechazaLaPlantillaSinLeerNiEscribir) {
    const CasoPlantilla& caso = GetParam();
    convertir(plantilla(caso.campos, caso.tipo, caso.principio, caso.multifactura),
              linea("REF-1", "GARCIA LUCIA", "1,00"));
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, caso.clase);
    EXPECT_EQ(avisos.mensajes[0].texto.substr(0, std::string(caso.mensaje).size()), caso.mensaje);
    EXPECT_TRUE(resultado.conErrores());
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_FALSE(fs::exists(log));
}

const std::vector<CampoPlantilla> kConClaves{{"CodigoReferencia", 1, 12, "", 1, 1, "R"},
                                             {"Importe", 63, 74, "", 1, 1, "R"}};
constexpr const char* kSinPrincipio = "Por favor revise la plantilla.\r\nFalta indicar Principio de orden";

INSTANTIATE_TEST_SUITE_P(
    Tabla, ConversionCSB19Plantillas,
    ::testing::Values(CasoPlantilla{"sinCampos", "CSB19", -1, 0, {}, "No se puede cargar la plantilla"},
                      CasoPlantilla{"clavesSinPrincipioDeOrden", "CSB19", -1, 0, kConClaves, kSinPrincipio},
                      CasoPlantilla{"principioFueraDeLosCampos", "CSB19", 2, 0, kConClaves, kSinPrincipio},
                      // The type's suffix decides first: a text file is no workbook nor database,
                      // line keys or not.
                      CasoPlantilla{"hojaDeCalculoConClavesLaLeeElLectorDeFilas", "CSB19Ex", 0, 0, kConClaves,
                                    "No se puede abrir el fichero de entrada", "critico"},
                      CasoPlantilla{"baseDeDatosSinClavesLaLeeElLectorDeFilas", "CSB19Ac", -1, 0, kRecibo,
                                    "Error : ", "critico"},
                      // No multi-invoice row names a field: no line could be told an invoice line.
                      CasoPlantilla{
                          "multifacturaSinFilas", "CSB19", 0, 1, kConClaves,
                          "Por favor revise la plantilla.\r\nFalta indicar el identificador de factura"}),
    [](const ::testing::TestParamInfo<CasoPlantilla>& caso) { return std::string(caso.param.nombre); });

TEST_F(ConversionCSB19, losImportesQueNoCabenSeRechazanYLosTotalesCuadran) {
    convertir(plantilla(kRecibo),
              linea("REF-1", "UNO", "60000000,00") + linea("REF-2", "DOS", "100000000,00") +
                  linea("REF-3", "TRES", "50000000,00") + linea("REF-4", "CUATRO", "39999999,99"));
    EXPECT_EQ(leerFichero(salida), cabeceras() + individual("REF-1", "UNO", kCCC, "6000000000", "") +
                                       individual("REF-4", "CUATRO", kCCC, "3999999999", "") +
                                       totales(9999999999, 2, 4));
    EXPECT_EQ(leerFichero(log), kCabeceraLog + bloque(2, "DOS", kImporteIncorrecto) +
                                    bloque(3, "TRES", "Error : Importe total del fichero excedido"));
    EXPECT_TRUE(resultado.conErrores());
}

TEST_F(ConversionCSB19, unImporteEnUnaClaseDeLineaQueNoAparecioSeRechazaYNoSeHereda) {
    const auto id = plantilla({{"CodigoReferencia", 2, 13, "", 1, 1, "C"},
                               {"NombreTitularRecibo", 14, 43, "", 1, 1, "C"},
                               {"Importe", 2, 13, "", 1, 1, "I"}},
                              "CSB19", 0);
    convertir(id, "C" + linea("REF-1", "UNO", "") + "C" + linea("REF-2", "DOS", ""));
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_EQ(leerFichero(log),
              kCabeceraLog + bloque(1, "UNO", kImporteIncorrecto) + bloque(2, "DOS", kImporteIncorrecto));

    // Amount lines "I" are optional: the second order has none and would inherit the refused one.
    fs::remove(log);
    convertir(id, "C" + linea("REF-1", "UNO", "") + "I" + relleno("0,00", 12) + "\r\n" + "C" +
                      linea("REF-2", "DOS", ""));
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_EQ(leerFichero(log),
              kCabeceraLog + bloque(2, "UNO", kImporteIncorrecto) + bloque(3, "DOS", kImporteIncorrecto));
}

// What a run that reached its end gives back: what it wrote and what it rejected, and its log.
TEST_F(ConversionCSB19, elResultadoDiceLoEscritoYLoRechazado) {
    using Clase = ResultadoConversion::Clase;
    struct Caso {
        std::string entrada;
        Clase clase;
        std::int64_t escritas;
        std::int64_t rechazadas;
    };
    const auto id = plantilla(kRecibo);
    for (const Caso& caso :
         {Caso{linea("REF-1", "UNO", "1,00") + linea("REF-2", "DOS", "2,00"), Clase::Escrito, 2, 0},
          Caso{linea("REF-1", "UNO", "1,00") + linea("REF-2", "DOS", ""), Clase::EscritoConRechazos, 1, 1},
          Caso{linea("REF-2", "DOS", ""), Clase::EscritoConRechazos, 0, 1},
          Caso{"", Clase::NadaQueEscribir, 0, 0}}) {
        convertir(id, caso.entrada);
        EXPECT_EQ(resultado.clase, caso.clase) << caso.entrada;
        EXPECT_EQ(resultado.ordenesEscritas, caso.escritas) << caso.entrada;
        EXPECT_EQ(resultado.ordenesRechazadas, caso.rechazadas) << caso.entrada;
        EXPECT_EQ(resultado.log, log);
        EXPECT_EQ(resultado.mensaje, "");
    }
}

TEST_F(ConversionCSB19, unaPrimeraLineaLargaConCrLfSeLeeTalCualSinTocarLaEntrada) {
    // A long first line once made the whole file be rewritten as if it used bare LF line ends.
    const auto id = plantilla(kRecibo);
    std::string primera = linea("REF-1", "GARCIA LUCIA", "10,00");
    primera.insert(primera.size() - 2, std::string(600, 'x'));
    const std::string entrada = primera + linea("REF-2", "RUIZ PABLO", "20,00");
    convertir(id, entrada);
    EXPECT_EQ(leerFichero(carpeta / "entrada.txt"), entrada);
    EXPECT_EQ(leerFichero(salida), cabeceras() + individual("REF-1", "GARCIA LUCIA", kCCC, "0000001000", "") +
                                       individual("REF-2", "RUIZ PABLO", kCCC, "0000002000", "") +
                                       totales(3000, 2, 4));
    EXPECT_FALSE(resultado.conErrores());
}

struct CasoFichero {
    const char* nombre;
    const char* entrada; // "entrada.txt" holds one good order; "carpeta" is an existing folder
    const char* salida;
    const char* mensaje;
    const char* enlace = nullptr; // the output is made a symbolic link to this
};

class ConversionCSB19Ficheros : public ConversionCSB19, public ::testing::WithParamInterface<CasoFichero> {};

TEST_P(ConversionCSB19Ficheros, unFicheroQueFallaNoDejaFicheroDelBanco) {
    const CasoFichero& caso = GetParam();
    fs::create_directory(carpeta / "carpeta");
    ASSERT_EQ(::mkfifo((carpeta / "fifo").c_str(), 0600), 0);
    pruebas::escribirFichero(carpeta / "entrada.txt", linea("REF-1", "GARCIA LUCIA", "1,00"));
    salida = carpeta / caso.salida;
    if (caso.enlace != nullptr) {
        fs::create_symlink(caso.enlace, salida);
    }
    const std::size_t entradas = pruebas::entradasDe(carpeta.ruta());
    convertir(plantilla(kRecibo), "", nullptr, carpeta / caso.entrada);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    // "%" stands for the input's path, "#" for the output's.
    std::string mensaje = pruebas::conMarca(caso.mensaje, '%', rutaComoTexto(carpeta / caso.entrada));
    mensaje = pruebas::conMarca(mensaje, '#', rutaComoTexto(salida));
    mensaje = pruebas::conMarca(mensaje, '@', rutaComoTexto(carpeta.ruta()));
    EXPECT_EQ(avisos.mensajes[0], (AvisosGrabados::Mensaje{"critico", mensaje}));
    // Nothing was read: batch mode's status 2.
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::RechazadoAntesDeLeer);
    EXPECT_NE(fs::symlink_status(salida).type(), fs::file_type::regular);
    EXPECT_EQ(fs::is_symlink(salida), caso.enlace != nullptr);
    // No temporary file is left behind either.
    EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), entradas);
    EXPECT_EQ(pruebas::entradasDe(carpeta / "carpeta"), 0u);
}

constexpr const char* kNoSeCrea = "No se puede crear el fichero de salida";

INSTANTIATE_TEST_SUITE_P(
    Tabla, ConversionCSB19Ficheros,
    ::testing::Values(
        CasoFichero{"entradaInexistente", "no-existe.txt", "remesa.txt",
                    "No se puede abrir el fichero de entrada\r\n%: no existe"},
        CasoFichero{"entradaQueEsUnaCarpeta", "carpeta", "remesa.txt",
                    "No se puede abrir el fichero de entrada\r\n%: no es un fichero regular"},
        CasoFichero{"salidaEnCarpetaInexistente", "entrada.txt", "falta/remesa.txt",
                    "No se puede crear el fichero de salida\r\n#: su carpeta no existe"},
        // A link is refused for where it leads, and stays.
        CasoFichero{"enlaceAUnaCarpetaInexistente", "entrada.txt", "remesa.out",
                    "No se puede crear el fichero de salida\r\n#: lleva a @/falta/remesa.out: su "
                    "carpeta no existe",
                    "falta/remesa.out"},
        CasoFichero{"enlaceAUnaCarpeta", "entrada.txt", "remesa.out",
                    "No se puede crear el fichero de salida\r\n#: lleva a @/carpeta: es una carpeta",
                    "carpeta"},
        CasoFichero{"enlaceEnBucle", "entrada.txt", "remesa.out",
                    "No se puede crear el fichero de salida\r\n#: demasiados enlaces simbólicos",
                    "remesa.out"},
        CasoFichero{"salidaQueEsUnaCarpeta", "entrada.txt", "carpeta",
                    "No se puede crear el fichero de salida\r\n#: es una carpeta"},
        // Neither replaced by the bank file nor removed.
        CasoFichero{"salidaQueEsUnaFifo", "entrada.txt", "fifo",
                    "No se puede crear el fichero de salida\r\n#: no es un fichero regular"}),
    [](const ::testing::TestParamInfo<CasoFichero>& caso) { return std::string(caso.param.nombre); });

TEST_F(ConversionCSB19, unaSalidaQueNoSePuedeCrearSeRechazaAntesDeLeerNada) {
    // Read-only files are writable for root, so only the folder case holds for every user.
    fs::create_directory(carpeta / "carpeta");
    salida = carpeta / "carpeta";
    convertir(plantilla(kRecibo), linea("REF-1", "GARCIA LUCIA", "no es importe"));
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0],
              (AvisosGrabados::Mensaje{"critico", std::string(kNoSeCrea) + "\r\n" + rutaComoTexto(salida) +
                                                      ": es una carpeta"}));
    // Refused before the run, as a wrong argument is (batch mode's status 2).
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::RechazadoAntesDeLeer);
    // Nothing was read, so the rejected order is not in any log.
    EXPECT_FALSE(fs::exists(log));

    if (::geteuid() != 0) {
        avisos.mensajes.clear();
        salida = carpeta / "remesa.txt";
        pruebas::escribirFichero(salida, "remesa anterior\r\n");
        fs::permissions(salida, fs::perms::owner_read);
        convertir(plantilla(kRecibo), linea("REF-1", "GARCIA LUCIA", "1,00"));
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        EXPECT_EQ(avisos.mensajes[0],
                  (AvisosGrabados::Mensaje{"critico", std::string(kNoSeCrea) + "\r\n" +
                                                          rutaComoTexto(salida) + ": no tiene permiso"}));
        EXPECT_EQ(leerFichero(salida), "remesa anterior\r\n");
    }
}

// A write that fails while the orders are written, or only when the last buffered ones go out at the end.
TEST_F(ConversionCSB19, unaRemesaQueNoSePuedeEscribirNoDejaNingunFicheroDelBanco) {
    struct Caso {
        int ordenes;
        const char* mensaje;
    };
    const auto id = plantilla(kRecibo); // before the limit: the database file is larger
    for (const Caso& caso : {Caso{2000, "No se puede crear el fichero de salida"},
                             Caso{20, "No se puede abrir el fichero de salida"}}) {
        SCOPED_TRACE(caso.ordenes);
        avisos.mensajes.clear();
        std::string entrada;
        for (int i = 0; i < caso.ordenes; ++i) {
            entrada += linea("REF-" + std::to_string(i), "GARCIA LUCIA", "1,00");
        }
        pruebas::escribirFichero(carpeta / "entrada.txt", entrada);
        // An earlier run's whole file under this name must not pass for this failed run's.
        pruebas::escribirFichero(salida, "remesa anterior\r\n");
        const std::size_t antes = pruebas::entradasDe(carpeta.ruta());
        {
            const pruebas::LimiteTamanoFichero limite(2048);
            convertir(id, "", nullptr, carpeta / "entrada.txt");
        }
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        // The path and the reason too: a full disk is something the user can mend.
        EXPECT_EQ(
            avisos.mensajes[0],
            (AvisosGrabados::Mensaje{"critico", std::string(caso.mensaje) + "\r\n" + rutaComoTexto(salida) +
                                                    ": el fichero supera el tamaño máximo permitido"}));
        EXPECT_TRUE(resultado.conErrores());
        // Neither the old file nor a temporary one is left.
        EXPECT_FALSE(fs::exists(salida));
        EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), antes - 1);
    }
}

std::vector<CampoPlantilla> conReferenciaObligatoriaSinSituar() {
    std::vector<CampoPlantilla> campos = kRecibo;
    campos[0] = {.campo = "CodigoReferencia", .obligatorio = true};
    return campos;
}

TEST_F(ConversionCSB19, unDatoObligatorioSinSituarQueNadieDaCancelaSinLeerNiEscribir) {
    const auto id = plantilla(conReferenciaObligatoriaSinSituar());
    convertir(id, linea("", "GARCIA LUCIA", "1,00")); // batch: nobody can be asked
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "informacion");
    EXPECT_TRUE(avisos.mensajes[0].texto.starts_with("Proceso Cancelado"));
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::Cancelado);

    SolicitudFalsa solicitud;
    solicitud.acepta = false;
    convertir(id, linea("", "GARCIA LUCIA", "1,00"), &solicitud);
    EXPECT_EQ(solicitud.pedidos.size(), 1u);
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::Cancelado);
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(ConversionCSB19, elDatoObligatorioPedidoSeUsaEnCadaOrden) {
    SolicitudFalsa solicitud;
    convertir(plantilla(conReferenciaObligatoriaSinSituar()), linea("", "GARCIA LUCIA", "1,00"), &solicitud);
    EXPECT_EQ(solicitud.pedidos, (std::vector<std::vector<std::size_t>>{{0}}));
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_FALSE(resultado.conErrores());
    EXPECT_EQ(leerFichero(salida), unRecibo("REF-FIJA", "GARCIA LUCIA", 100));
}

TEST_F(ConversionCSB19, unImporteObligatorioSinSituarNuncaSePide) {
    std::vector<CampoPlantilla> campos = kRecibo;
    campos[6] = {.campo = "Importe", .obligatorio = true};
    const auto id = plantilla(campos);
    SolicitudFalsa solicitud;
    convertir(id, linea("REF-1", "GARCIA LUCIA", "1,00"), &solicitud);
    EXPECT_TRUE(solicitud.pedidos.empty());
    // Nor is the batch run cancelled: the order simply has no amount.
    convertir(id, linea("REF-1", "GARCIA LUCIA", "1,00"));
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_NE(resultado.clase, ResultadoConversion::Clase::Cancelado);
    EXPECT_FALSE(fs::exists(salida));
    EXPECT_EQ(leerFichero(log), kCabeceraLog + bloque(1, "GARCIA LUCIA", kImporteIncorrecto) + kCabeceraLog +
                                    bloque(1, "GARCIA LUCIA", kImporteIncorrecto));
}

} // namespace
} // namespace trovanel
