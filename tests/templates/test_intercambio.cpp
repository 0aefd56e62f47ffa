#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "fichero_entrada.hpp"
#include "intercambio.hpp"
#include "limites.hpp"
#include "soporte_pruebas.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using Mensaje = AvisosGrabados::Mensaje;
using ::testing::StartsWith;

// The template of tests/data/intercambio/plantilla.txt: a name with "(" and a trailing blank, a gap at
// id_campo 4, values with blanks, and multi-invoice rows with a gap at orden 1.
Plantilla plantillaPagos() {
    Plantilla p;
    p.tipo = "PAGOSC";
    p.descripcion = "Pagos (2003) ";
    p.principiolinea = 2;
    p.multifactura = true;
    p.ponerCampo(0, {"CodigoProveedor", 1, 12, "", "", 0, 0, true, 12});
    p.ponerCampo(1, {"Importe", 13, 24, "02", "-", 1, 2, true, 12});
    p.ponerCampo(2, {"FechaVto", 25, 32, "02", "DDMMAAAA", 1, 2, false, 8});
    p.ponerCampo(3, {"NumeroFactura", 33, 44, "  03", " ", 1, 2, false, 12});
    p.ponerCampo(5, {"Observacion", 0, 0, "", "", 0, 0, false, 40});
    p.multifacturas = {{0, "Importe@SignoNegativo@FechaVto", "02", 1, 0},
                       {2, "NumeroFactura&Observacion@Ref16", " 03 ", 1, 0}};
    return p;
}

class Intercambio : public ::testing::Test {
protected:
    Intercambio() {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        bd.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
    }
    std::int64_t filas() {
        auto c = bd->preparar("SELECT (SELECT count(*) FROM estructura) + (SELECT count(*) FROM "
                              "detalleestructura) + (SELECT count(*) FROM multifactura)");
        c.siguiente();
        return c.entero(0);
    }
    fs::path esperado() const { return pruebas::datosPrueba() / "intercambio" / "plantilla.txt"; }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> bd;
    AvisosGrabados avisos;
};

// A template and its golden files: the file it exports byte by byte, and the file that the template
// imported from it exports (the description and the multi-invoice identifiers come back trimmed).
struct Golden {
    const char* nombre;
    std::function<Plantilla()> plantilla;
    const char* exportado;
    const char* reexportado;
};
Plantilla plantillaRemesa() {
    Plantilla p;
    p.tipo = "CSB19";
    p.descripcion = "  Remesa Almería (importada)  ";
    p.principiolinea = 0;
    p.multifactura = true;
    p.ponerCampo(0, {"CodigoReferencia", 1, 12, "01", "", 1, 2, true, 12});
    p.ponerCampo(1, {"Importe", 3, 17, "02", "", 1, 2, true, 15});
    p.multifacturas = {{0, "Importe@SignoNegativo", "  021 ", 1, 0}};
    return p;
}
// A sheet template as its editor places fields: column letter, fin 1, and the inicio and line key of the
// text template it was copied from, which are no positions of a sheet.
Plantilla plantillaHoja() {
    Plantilla p;
    p.tipo = "CSB34TEx";
    p.descripcion = "Hoja de transferencias";
    p.ponerCampo(0, {"ClaveBeneficiario", 1, 1, "A", "", 0, 0, true, 12});
    p.ponerCampo(1, {"NombreBeneficiario", 13, 1, "B", "", 0, 0, true, 36});
    p.ponerCampo(2, {"Importe", 43, 1, "C", "-", 3, 1, true, 12});
    return p;
}
const Golden kGolden[] = {
    {"pagosConHuecosYBlancos", plantillaPagos, "plantilla.txt", "plantilla-importada.txt"},
    {"remesaConBlancosAlrededorDeLaDescripcion", plantillaRemesa, "remesa.txt", "remesa-importada.txt"},
    {"hojaConFinUnoAntesDelInicioDeLaPlantillaDeTexto", plantillaHoja, "hoja.txt", "hoja.txt"},
};

class IntercambioGolden : public Intercambio, public ::testing::WithParamInterface<Golden> {};

TEST_P(IntercambioGolden, exportaByteAByteEImportaLaPlantillaConSuDescripcionRecortada) {
    const auto ruta = [](const char* f) { return pruebas::datosPrueba() / "intercambio" / f; };
    const auto id = guardarPlantillaNueva(*bd, GetParam().plantilla());
    ASSERT_TRUE(ExportarPlantilla(*bd, avisos, id, carpeta / "exportada.txt"));
    EXPECT_EQ(pruebas::leerFichero(carpeta / "exportada.txt"),
              pruebas::leerFichero(ruta(GetParam().exportado)));

    // Importing twice gives two templates; the file carries every column, so equal files mean equal
    // templates, and a template imported once comes back as it is.
    auto previa = id;
    for (const char* fichero : {GetParam().exportado, GetParam().exportado, GetParam().reexportado}) {
        const auto importada = ImportarPlantilla(*bd, avisos, ruta(fichero));
        ASSERT_TRUE(importada);
        EXPECT_GT(*importada, previa);
        previa = *importada;
        EXPECT_EQ(escribirIntercambio(leerPlantilla(*bd, *importada)),
                  pruebas::leerFichero(ruta(GetParam().reexportado)))
            << fichero;
        EXPECT_EQ(leerPlantilla(*bd, *importada).conFila, GetParam().plantilla().conFila);
    }
    EXPECT_EQ(avisos.mensajes.back(), (Mensaje{"informacion", "Importación realizada correctamente"}));
}
INSTANTIATE_TEST_SUITE_P(Filas, IntercambioGolden, ::testing::ValuesIn(kGolden),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

// Each malformed file is refused at its line, before anything is stored.
struct Malformado {
    const char* nombre;
    std::string contenido;
    int linea;
    // Read, but with positions no editor writes: the template is refused as the editors refuse it.
    bool revisar = false;
};
const std::string kCabecera = "Uno@CSB19@-1@True\r\n";
const std::string kCampo = "Importe@1@12@0@0@@True@0@@12\r\n";
const Malformado kMalformados[] = {
    {"vacio", "", 1},
    {"cabeceraCorta", "Uno@CSB19@-1\r\n", 1},
    {"cabeceraLarga", "Uno@CSB19@-1@True@x\r\n", 1},
    {"sinTipo", "Uno@ @-1@True\r\n", 1},
    {"logicoDesconocido", "Uno@CSB19@-1@Si\r\n", 1},
    {"lineaVacia", "Uno@CSB19@-1@True\r\n\r\nImporte@1@12@0@0@@True@0@@12\r\n", 2},
    {"campoCorto", "Uno@CSB19@-1@True\r\nImporte@1@12@0@0@@True@0@\r\n", 2},
    {"inicioNoNumerico", "Uno@CSB19@-1@True\r\nImporte@x@12@0@0@@True@0@@12\r\n", 2},
    {"idNegativo", "Uno@CSB19@-1@True\r\nImporte@1@12@0@0@@True@-1@@12\r\n", 2},
    {"longitudFuera", "Uno@CSB19@-1@True\r\nImporte@1@12@0@0@@True@0@@40000\r\n", 2},
    {"idRepetido", "Uno@CSB19@-1@True\r\nA@1@1@0@0@@True@0@@1\r\nB@1@1@0@0@@True@0@@1\r\n", 3},
    {"multiSinAlmohadilla", "Uno@CSB19@-1@True\r\nMultifactura0#a#b#1#0\r\n", 2},
    {"multiCorta", "Uno@CSB19@-1@True\r\nMultifactura#0#a#b#1\r\n", 2},
    {"multiFinNoNumero", "Uno@CSB19@-1@True\r\nMultifactura#0#a#b#1#nan\r\n", 2},
    {"campoTrasMulti", "Uno@CSB19@-1@True\r\nMultifactura#0#a#b#1#0\r\nImporte@1@12@0@0@@True@0@@12\r\n", 3},
    {"inicioNegativo", "Uno@CSB19@-1@True\r\nA@1@1@0@0@@True@0@@1\r\nImporte@-3@12@0@0@@True@1@@12\r\n", 3,
     true},
    {"finSobre32767", "Uno@CSB19@-1@True\r\nImporte@1@40000@0@0@@True@0@@12\r\n", 2, true},
    {"claveAlReves", "Uno@CSB19@-1@True\r\nImporte@1@12@5@2@01@True@0@@12\r\n", 2, true},
    {"obligatorioSinPieza", "Uno@CSB19@-1@True\r\nNombreTitular@0@12@0@0@@True@0@@12\r\n", 2, true},
    {"valorConEscape", "Uno@CSB19@-1@True\r\nImporte@1@12@0@0@@True@0@\x1b@12\r\n", 2, true},
    // Well formed but for its length.
    {"lineaMasLargaQueElTope",
     kCabecera + "Importe@1@12@0@0@@True@0@" + std::string(kMaxLinea, 'x') + "@12\r\n", 2},
};

class IntercambioMalformado : public Intercambio, public ::testing::WithParamInterface<Malformado> {};

TEST_P(IntercambioMalformado, rechazaElFicheroConSuLineaSinGuardarNada) {
    pruebas::escribirFichero(carpeta / "mal.txt", GetParam().contenido);
    const auto antes = filas();
    EXPECT_FALSE(ImportarPlantilla(*bd, avisos, carpeta / "mal.txt"));
    EXPECT_EQ(filas(), antes);
    const std::string prefijo = GetParam().revisar ? "Por favor revise la plantilla.\r\n"
                                                   : "El fichero no es una plantilla exportada\r\n";
    EXPECT_THAT(avisos.mensajes.at(0).texto,
                StartsWith(prefijo + "Línea " + std::to_string(GetParam().linea) + ": "));
}
INSTANTIATE_TEST_SUITE_P(Filas, IntercambioMalformado, ::testing::ValuesIn(kMalformados),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(Intercambio, sinFicheroOSinBaseDeDatosNoGuardaNada) {
    EXPECT_FALSE(ImportarPlantilla(*bd, avisos, carpeta / "no-existe.txt"));
    crearBaseDatosPrograma(carpeta / "lectura.db");
    BaseDatos lectura = BaseDatos::abrir(carpeta / "lectura.db", BaseDatos::Modo::SoloLectura);
    EXPECT_FALSE(ImportarPlantilla(lectura, avisos, esperado()));
    ASSERT_EQ(avisos.mensajes.size(), 2u);
    EXPECT_EQ(avisos.mensajes[0], (Mensaje{"critico", "No se puede abrir el fichero a importar"}));
    EXPECT_THAT(avisos.mensajes[1].texto, StartsWith("No se pueden abrir la Base de Datos\r\nError: "));

    // Read whole before anything is stored: a file far bigger than a template is refused unread, though
    // each of its lines is within the cap.
    std::string grande = kCabecera;
    for (int id = 0; grande.size() <= kMaxFicheroIntercambio; ++id) {
        grande += "C@1@1@0@0@@False@" + std::to_string(id) + "@" + std::string(1'000'000, 'x') + "@1\r\n";
    }
    pruebas::escribirFichero(carpeta / "grande.txt", grande);
    const auto antes = filas();
    EXPECT_FALSE(ImportarPlantilla(*bd, avisos, carpeta / "grande.txt"));
    EXPECT_EQ(filas(), antes);
    EXPECT_EQ(avisos.mensajes.back().texto,
              mensajeEntrada("No se puede abrir el fichero a importar", carpeta / "grande.txt",
                             "tiene más de 16777216 bytes"));
}

// A value the file cannot carry is refused naming it, and nothing is written.
struct Rechazo {
    const char* nombre;
    std::function<void(Plantilla&)> cambio;
    const char* mensaje;
    const char* sql = nullptr; // run after saving, for what a save already refuses
};
const Rechazo kRechazos[] = {
    {"arrobaEnDescripcion", [](Plantilla& p) { p.descripcion = "a@b"; }, "En la descripción hay \"@\""},
    {"arrobaEnValorCampo", [](Plantilla& p) { p.campos[1].valorcampo = "@"; },
     "En valorcampo del campo 1-Importe hay \"@\""},
    {"saltoEnValorLinea", [](Plantilla& p) { p.campos[2].valorlinea = "0\n2"; },
     "En valorlinea del campo 2-FechaVto hay un salto de línea"},
    {"almohadillaEnValor", [](Plantilla& p) { p.multifacturas[1].valor = "#3"; },
     "En valor de la fila multifactura 2 hay \"#\""},
    {"saltoEnCampos", [](Plantilla& p) { p.multifacturas[0].campos = "Importe\r"; },
     "En campos de la fila multifactura 0 hay un salto de línea"},
    {"nombreDeLineaMultifactura", [](Plantilla& p) { p.campos[0].campo = "MultifacturaX"; },
     "El nombre del campo 0-MultifacturaX empieza por \"Multifactura\""},
    {"escapeEnValorCampo", [](Plantilla&) {}, "En valorcampo del campo 1-Importe hay un carácter de control",
     "UPDATE detalleestructura SET valorcampo = 'A' || char(27) WHERE id_campo = 1"},
};

class IntercambioRechazo : public Intercambio, public ::testing::WithParamInterface<Rechazo> {};

TEST_P(IntercambioRechazo, noExportaUnValorQueNoVolveriaIgual) {
    Plantilla p = plantillaPagos();
    GetParam().cambio(p);
    const auto id = guardarPlantillaNueva(*bd, p);
    if (GetParam().sql != nullptr) {
        bd->ejecutarScript(GetParam().sql);
    }
    EXPECT_FALSE(ExportarPlantilla(*bd, avisos, id, carpeta / "pagos.txt"));
    EXPECT_FALSE(fs::exists(carpeta / "pagos.txt"));
    EXPECT_THAT(avisos.mensajes.at(0).texto,
                StartsWith(std::string("No se puede exportar la plantilla\r\n") + GetParam().mensaje));
}
INSTANTIATE_TEST_SUITE_P(Filas, IntercambioRechazo, ::testing::ValuesIn(kRechazos),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST_F(Intercambio, soloSustituyeElDestinoCuandoSeAceptaYSeEscribeEntero) {
    const auto id = guardarPlantillaNueva(*bd, plantillaPagos());
    const fs::path destino = carpeta / "pagos.txt.part";
    pruebas::escribirFichero(destino, "antes");
    pruebas::escribirFichero(carpeta / "pagos.txt.part.part", "resto");
    avisos.respuestas = {false, true};
    EXPECT_FALSE(ExportarPlantilla(*bd, avisos, id, destino));
    EXPECT_EQ(pruebas::leerFichero(destino), "antes");
    EXPECT_TRUE(ExportarPlantilla(*bd, avisos, id, destino));
    EXPECT_EQ(pruebas::leerFichero(destino), pruebas::leerFichero(esperado()));
    // Without a template, or into a folder that is not there, nothing is made.
    EXPECT_FALSE(ExportarPlantilla(*bd, avisos, std::nullopt, carpeta / "nada.txt"));
    EXPECT_FALSE(ExportarPlantilla(*bd, avisos, id, carpeta / "falta" / "nada.txt"));
    EXPECT_FALSE(fs::exists(carpeta / "nada.txt") || fs::exists(carpeta / "falta"));
    EXPECT_EQ(pruebas::leerFichero(carpeta / "pagos.txt.part.part"), "resto");
    ASSERT_EQ(avisos.mensajes.size(), 5u);
    EXPECT_EQ(avisos.mensajes[0], (Mensaje{"pregunta", "El fichero ya existe, ¿Desea sobreescribirlo?"}));
    EXPECT_EQ(avisos.mensajes[4], (Mensaje{"critico", "No se puede crear el fichero de salida"}));
}

} // namespace
} // namespace trovanel
