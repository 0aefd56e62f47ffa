#include "entradas_prueba.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libro_excel.hpp"
#include "libros_xlsx_prueba.hpp"
#include "limites.hpp"
#include "memoria_pruebas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace trovanel::xlsx_prueba {
// The archive entries the reader goes through, counted where it asks libzip for them: a name read by
// its index is one entry; a lookup regardless of case walks every entry; an exact lookup, through
// libzip's index of names, is one.
std::atomic<std::uint64_t> entradasRecorridas{0};
} // namespace trovanel::xlsx_prueba

extern "C" const char* zip_get_name(zip_t* zip, zip_uint64_t indice, zip_flags_t opciones) {
    using Funcion = const char* (*)(zip_t*, zip_uint64_t, zip_flags_t);
    static const auto real = reinterpret_cast<Funcion>(dlsym(RTLD_NEXT, "zip_get_name"));
    ++trovanel::xlsx_prueba::entradasRecorridas;
    return real(zip, indice, opciones);
}

extern "C" zip_int64_t zip_name_locate(zip_t* zip, const char* nombre, zip_flags_t opciones) {
    using Funcion = zip_int64_t (*)(zip_t*, const char*, zip_flags_t);
    static const auto real = reinterpret_cast<Funcion>(dlsym(RTLD_NEXT, "zip_name_locate"));
    const zip_int64_t entradas = zip_get_num_entries(zip, 0);
    trovanel::xlsx_prueba::entradasRecorridas +=
        (opciones & ZIP_FL_NOCASE) != 0 && entradas > 0 ? static_cast<std::uint64_t>(entradas) : 1;
    return real(zip, nombre, opciones);
}

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CarpetaTemporal;
using pruebas::escribirFichero;
using pruebas::leerFichero;
using namespace xlsx_prueba;

// --- Damaged and hostile files ---

// A plain workbook of 200 rows, written at the path; its bytes.
std::string libroSencillo(const fs::path& ruta) {
    LibroGenerado libro(ruta);
    lxw_worksheet* hoja = libro.hoja("Datos");
    for (int i = 0; i < 200; ++i) {
        worksheet_write_string(hoja, static_cast<lxw_row_t>(i), 0, ("Texto " + std::to_string(i)).c_str(),
                               nullptr);
        worksheet_write_number(hoja, static_cast<lxw_row_t>(i), 1, i * 1.25, nullptr);
    }
    libro.cerrar();
    return leerFichero(ruta);
}

TEST(LibroXlsxDanado, unaCopiaCortadaPorCualquierSitioSeRechaza) {
    CarpetaTemporal carpeta;
    const auto original = carpeta / "original.xlsx";
    const std::string bytes = libroSencillo(original);
    ASSERT_FALSE(libroRechazado(original));
    const auto cortado = carpeta / "cortado.xlsx";
    for (std::size_t largo = 0; largo < bytes.size(); largo += 61) {
        escribirFichero(cortado, bytes.substr(0, largo));
        EXPECT_TRUE(libroRechazado(cortado)) << largo << " de " << bytes.size() << " bytes";
    }
}

TEST(LibroXlsxDanado, bytesCambiadosNoRompenNadaYElDanoSeDetecta) {
    CarpetaTemporal carpeta;
    const auto original = carpeta / "original.xlsx";
    const std::string bytes = libroSencillo(original);
    const auto danado = carpeta / "danado.xlsx";
    std::mt19937 azar(20240315);
    int rechazos = 0;
    for (int intento = 0; intento < 300; ++intento) {
        std::string copia = bytes;
        const auto pos = std::uniform_int_distribution<std::size_t>(0, copia.size() - 1)(azar);
        copia[pos] = static_cast<char>(copia[pos] ^ (1 + intento % 255));
        escribirFichero(danado, copia);
        // Either the change fell where nothing reads it, or it is caught; never a crash or a hang.
        rechazos += libroRechazado(danado) ? 1 : 0;
    }
    EXPECT_GT(rechazos, 0);
}

TEST(LibroXlsxDanado, loQueNoEsUnLibroSeRechazaAlAbrir) {
    CarpetaTemporal carpeta;
    const std::string aleatorio = pruebas::bytesAlAzar(4096, 7);
    const std::string documentoTexto =
        std::string(kCabecera) +
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>)";
    struct Caso {
        const char* descripcion;
        std::vector<Parte> partes; // an archive with these parts
        std::string bytes;         // or these bytes, when there are no parts
    };
    const std::vector<Caso> casos = {
        {"bytes al azar", {}, aleatorio},
        {"fichero vacio", {}, ""},
        {"firma de zip y nada mas", {}, std::string("PK\x03\x04", 4) + std::string(100, '\0')},
        {"zip sin libro", {{"hola.txt", "hola"}}, ""},
        {"documento de texto",
         {{"_rels/.rels", relaciones(relacion("rId1", "officeDocument", "word/document.xml"))},
          {"word/document.xml", documentoTexto}},
         ""},
        {"libro que no es XML", {{"xl/workbook.xml", "esto no es XML <"}}, ""},
        {"hoja cuya parte falta",
         [] {
             auto p = paquete(hojaXml(""));
             p.erase(p.begin() + 2);
             return p;
         }(),
         ""},
        {"hoja sin relacion",
         [] {
             auto p = paquete(hojaXml(""));
             p.back().datos = relaciones("");
             return p;
         }(),
         ""},
        {"cadenas compartidas que no son XML", paquete(hojaXml(""), "<sst><si><t>a</t>"), ""},
        {"cadenas compartidas con DTD",
         paquete(
             hojaXml(""),
             std::string(kCabecera) +
                 R"(<!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]><sst><si><t>&b;</t></si></sst>)"),
         ""},
        {"estilos que no son XML", paquete(hojaXml(""), "", "<styleSheet"), ""},
        // Well formed: only the cap on nesting refuses them.
        {"cadenas compartidas anidadas sin fin",
         paquete(hojaXml(""),
                 textosXml("<si>" + repetido("<r>", 1000) + repetido("</r>", 1000) + "</si>", 1)),
         ""},
        {"estilos anidados sin fin",
         paquete(hojaXml(""), "",
                 std::string(kCabecera) + "<styleSheet>" + repetido("<x>", 1000) + repetido("</x>", 1000) +
                     "</styleSheet>"),
         ""},
    };
    for (const auto& caso : casos) {
        const auto ruta = carpeta / "caso.xlsx";
        fs::remove(ruta);
        if (caso.partes.empty()) {
            escribirFichero(ruta, caso.bytes);
        } else {
            escribirZip(ruta, caso.partes);
        }
        EXPECT_TRUE(rechazado([&] { abrirLibroXlsx(ruta); })) << caso.descripcion;
    }
    EXPECT_TRUE(rechazado([&] { abrirLibroXlsx(carpeta / "no_existe.xlsx"); }));
    pruebas::esperarCarpetaRechazada([](const fs::path& r) { abrirLibroXlsx(r); }, carpeta);
}

TEST(LibroXlsxDanado, unaHojaDanadaSeRechazaAlLeerlaSinPerderLasFilasAnteriores) {
    constexpr std::int64_t kUltimaFilaExcel = 1048576;
    struct Caso {
        const char* descripcion;
        std::string hoja;
        std::string textos = "";
    };
    const std::string filaBuena = R"(<row r="1"><c r="A1"><v>1</v></c></row>)";
    const std::vector<Caso> casos = {
        {"fila mas alla de la ultima de Excel",
         hojaXml(filaBuena + R"(<row r="1048577"><c r="A1048577"><v>1</v></c></row>)")},
        {"numero de fila absurdo",
         hojaXml(filaBuena + R"(<row r="99999999999999999999999"><c><v>1</v></c></row>)")},
        {"fila cero", hojaXml(filaBuena + R"(<row r="0"><c><v>1</v></c></row>)")},
        {"fila negativa", hojaXml(filaBuena + R"(<row r="-3"><c><v>1</v></c></row>)")},
        {"fila que no es numero", hojaXml(filaBuena + R"(<row r="dos"><c><v>1</v></c></row>)")},
        {"filas desordenadas",
         hojaXml(filaBuena + R"(<row r="5"><c><v>1</v></c></row><row r="4"><c><v>1</v></c></row>)")},
        {"fila repetida", hojaXml(filaBuena + R"(<row r="1"><c><v>1</v></c></row>)")},
        {"columna mas alla de XFD", hojaXml(filaBuena + R"(<row r="2"><c r="XFE2"><v>1</v></c></row>)")},
        {"columna absurda", hojaXml(filaBuena + R"(<row r="2"><c r="ZZZZZZZZZZZZZZ2"><v>1</v></c></row>)")},
        {"referencia sin letras", hojaXml(filaBuena + R"(<row r="2"><c r="2"><v>1</v></c></row>)")},
        {"celdas sin referencia mas alla de XFD",
         hojaXml(filaBuena + R"(<row r="2"><c r="XFD2"><v>1</v></c><c><v>2</v></c></row>)")},
        {"XML cortado",
         hojaXml(filaBuena).substr(0, hojaXml(filaBuena).size() - 20) + "<row r=\"2\"><c><v>1</v></c></row>"},
        {"raiz que no es una hoja", std::string(kCabecera) + "<chartsheet>" + filaBuena + "</chartsheet>"},
        {"DTD con entidades en cadena",
         std::string(kCabecera) +
             R"(<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaaaaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">]>)" +
             "<worksheet " + kEspacioHoja + "><sheetData>" + filaBuena +
             R"(<row r="2"><c t="inlineStr"><is><t>&c;</t></is></c></row></sheetData></worksheet>)"},
        {"entidad externa",
         std::string(kCabecera) + R"(<!DOCTYPE worksheet [<!ENTITY x SYSTEM "file:///etc/passwd">]>)" +
             "<worksheet " + kEspacioHoja + "><sheetData>" + filaBuena +
             R"(<row r="2"><c t="inlineStr"><is><t>&x;</t></is></c></row></sheetData></worksheet>)"},
        {"etiqueta interminable", hojaXml(filaBuena + R"(<row r="2"><c r="A2" x=")" +
                                          std::string(20u << 20, 'a') + R"("><v>1</v></c></row>)")},
        {"fila sin numero cuya celda vuelve atras",
         hojaXml(filaBuena + R"(<row><c r="B1"><v>1</v></c></row>)")},
        {"fila sin numero cuya celda pasa de la ultima de Excel",
         hojaXml(filaBuena + R"(<row><c r="A1048577"><v>1</v></c></row>)")},
        {"fila sin numero cuya celda tiene una fila ilegible",
         hojaXml(filaBuena + R"(<row><c r="A2x"><v>1</v></c></row>)")},
        // Well formed, so only the cap on nesting stops it: a deeper one would keep every open tag.
        {"anidamiento desmesurado", hojaXml(filaBuena + R"(<row r="2"><c r="A2"><v>1</v>)" +
                                            repetido("<x>", 1000) + repetido("</x>", 1000) + "</c></row>")},
        {"nombre de elemento desmesurado",
         hojaXml(filaBuena + R"(<row r="2"><c r="A2"><v>1</v><)" + std::string(5000, 'x') + "/></c></row>")},
        {"texto de celda desmesurado", hojaXml(filaBuena + R"(<row r="2"><c r="A2" t="inlineStr"><is><t>)" +
                                               std::string(3u << 20, 'a') + "</t></is></c></row>")},
        // A value past the cap, however it is written, stops the read at its row, as in a table.
        {"texto en linea mas largo que un valor",
         hojaXml(filaBuena + R"(<row r="2"><c t="inlineStr"><is><t>)" + std::string(kMaxValor + 1, 'a') +
                 "</t></is></c></row>")},
        {"cadena compartida mas larga que un valor",
         hojaXml(filaBuena + R"(<row r="2"><c t="s"><v>0</v></c></row>)"),
         textosXml("<si><t>" + std::string(kMaxValor + 1, 'a') + "</t></si>", 1)},
    };
    CarpetaTemporal carpeta;
    for (const auto& caso : casos) {
        const auto ruta = carpeta / "hoja.xlsx";
        escribirZip(ruta, paquete(caso.hoja, caso.textos));
        std::unique_ptr<LibroExcel> libro;
        if (rechazado([&] { libro = abrirLibroXlsx(ruta); })) {
            ADD_FAILURE() << caso.descripcion << ": el libro entero se rechaza al abrir";
            continue;
        }
        auto cursor = libro->abrirHoja("Hoja1");
        FilaHoja fila;
        bool primera = false;
        const bool rechazoInmediato = rechazado([&] { primera = cursor->siguiente(fila); });
        // A DTD or a root of another kind is refused before any row; the rest after the good first row.
        const bool alPrincipio = caso.hoja.find("<!DOCTYPE") != std::string::npos ||
                                 caso.hoja.find("<chartsheet>") != std::string::npos;
        EXPECT_EQ(rechazoInmediato, alPrincipio) << caso.descripcion;
        if (!alPrincipio) {
            ASSERT_TRUE(primera) << caso.descripcion;
            EXPECT_EQ(fila.numero, 1) << caso.descripcion;
            EXPECT_EQ(fila.celdas, std::vector<ValorCelda>{"1"}) << caso.descripcion;
            EXPECT_TRUE(rechazado([&] {
                while (cursor->siguiente(fila)) {
                }
            })) << caso.descripcion;
        }
        // Once damaged, always damaged.
        EXPECT_TRUE(rechazado([&] { cursor->siguiente(fila); })) << caso.descripcion;
        EXPECT_TRUE(rechazado([&] { libro->ultimaFila("Hoja1"); })) << caso.descripcion;
        // A lookup stops at its row, so only one past the damage finds it.
        EXPECT_EQ(libro->celda("Hoja1", 1, "A"), alPrincipio ? std::nullopt : ValorCelda("1"))
            << caso.descripcion;
        EXPECT_EQ(libro->celda("Hoja1", kUltimaFilaExcel, "A"), std::nullopt) << caso.descripcion;
    }
}

// A package whose workbook lists these sheets (all pointing at the one worksheet) and whose workbook
// relationships hold these extra ones.
std::vector<Parte> paqueteConListas(const std::string& hojas, const std::string& relacionesExtra) {
    auto partes = paquete(hojaXml(R"(<row r="1"><c r="A1" s="1"><v>45000</v></c></row>)"));
    partes[1].datos =
        std::string(kCabecera) + "<workbook " + kEspacioHoja +
        R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)" + hojas +
        "</sheets></workbook>";
    partes.back().datos = relaciones(relacion("rId1", "worksheet", "worksheets/sheet1.xml") +
                                     relacion("rId3", "styles", "styles.xml") + relacionesExtra);
    return partes;
}

std::string estilosConListas(std::size_t formatosNumero, std::size_t formatosCelda) {
    std::string formatos;
    for (std::size_t i = 0; i < formatosNumero; ++i) {
        formatos += R"(<numFmt numFmtId=")" + std::to_string(164 + i) + R"(" formatCode="0.0"/>)";
    }
    return std::string(kCabecera) + "<styleSheet " + kEspacioHoja + "><numFmts>" + formatos +
           "</numFmts><cellXfs>" + repetido(R"(<xf numFmtId="14"/>)", formatosCelda) +
           "</cellXfs></styleSheet>";
}

TEST(LibroXlsxDanado, lasListasDeEstilosHojasYRelacionesTienenUnTope) {
    // Excel holds at most 65,490 cell formats; a file that lists more than 65,536 of anything here is
    // refused before it takes memory (thirteen million <xf/> took close to a gigabyte read as a tree).
    constexpr std::size_t kTope = 65536;
    const std::string unaHoja = R"(<sheet name="Hoja1" sheetId="1" r:id="rId1"/>)";
    std::string hojasDeMas;
    for (std::size_t i = 0; i <= kTope; ++i) {
        hojasDeMas += R"(<sheet name="H)" + std::to_string(i) + R"(" sheetId="1" r:id="rId1"/>)";
    }
    std::string relacionesDeMas;
    for (std::size_t i = 0; i < kTope; ++i) {
        relacionesDeMas += R"(<Relationship Id="x)" + std::to_string(i) + R"(" Type="i" Target="i"/>)";
    }
    struct Caso {
        const char* descripcion;
        std::vector<Parte> partes;
        bool rechazado;
    };
    const auto conEstilos = [](std::vector<Parte> partes, const std::string& estilos) {
        partes.push_back({"xl/styles.xml", estilos});
        return partes;
    };
    const std::vector<Caso> casos = {
        {"formatos de celda hasta el tope",
         conEstilos(paqueteConListas(unaHoja, ""), estilosConListas(1, kTope)), false},
        {"formatos de celda pasado el tope",
         conEstilos(paqueteConListas(unaHoja, ""), estilosConListas(1, kTope + 1)), true},
        {"formatos de numero pasado el tope",
         conEstilos(paqueteConListas(unaHoja, ""), estilosConListas(kTope + 1, 2)), true},
        {"hojas pasado el tope", conEstilos(paqueteConListas(hojasDeMas, ""), estilosConListas(1, 2)), true},
        {"relaciones pasado el tope",
         conEstilos(paqueteConListas(unaHoja, relacionesDeMas), estilosConListas(1, 2)), true},
    };
    CarpetaTemporal carpeta;
    for (const auto& caso : casos) {
        const auto ruta = carpeta / "listas.xlsx";
        fs::remove(ruta);
        escribirZip(ruta, caso.partes);
        std::unique_ptr<LibroExcel> libro;
        EXPECT_EQ(rechazado([&] { libro = abrirLibroXlsx(ruta); }), caso.rechazado) << caso.descripcion;
        if (libro) {
            EXPECT_EQ(libro->celda("Hoja1", 1, "A"), "15/03/2023") << caso.descripcion;
        }
    }
}

// Shared strings past the table's cap, each of them within a value's: refused with the path and why.
TEST(LibroXlsxDanado, unosTextosCompartidosQuePasanDelTopeSeRechazanDiciendoPorQue) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "textos.xlsx";
    {
        std::string textos = "<sst " + std::string(kEspacioHoja) + ">";
        for (std::size_t i = 0; i <= kMaxTablaTextos / kMaxValor; ++i) {
            textos += "<si><t>" + std::string(kMaxValor, 'x') + "</t></si>";
        }
        escribirZip(ruta, paquete(hojaXml(""), textos + "</sst>"));
    }
    try {
        abrirLibroXlsx(ruta);
        ADD_FAILURE() << "no se ha rechazado";
    } catch (const ErrorTrovanel& e) {
        EXPECT_EQ(e.what(), mensajeEntrada(kNoSeAbreEntrada, ruta,
                                           "sus textos compartidos ocupan más de " +
                                               std::to_string(kMaxTablaTextos) + " bytes"));
    }
}

TEST(LibroXlsxDanado, lasRelacionesBajoUnaCarpetaDeNombreLargoNoLlenanLaMemoria) {
    // Every target is kept with its part's folder in front: a folder of sixty thousand characters and the
    // 65,536 relationships allowed, in a part of a few megabytes, kept four gigabytes.
    const std::string carpetaLibro = std::string(60000, 'd') + "/";
    const auto partes = [&](std::size_t relacionesDeMas) {
        std::string otras;
        for (std::size_t i = 0; i < relacionesDeMas; ++i) {
            otras += R"(<Relationship Id="x)" + std::to_string(i) + R"(" Type="i" Target="i"/>)";
        }
        return std::vector<Parte>{
            {"_rels/.rels",
             relaciones(relacion("rId1", "officeDocument", "/" + carpetaLibro + "workbook.xml"))},
            {carpetaLibro + "workbook.xml",
             std::string(kCabecera) + "<workbook " + kEspacioHoja +
                 R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
                 R"(<sheets><sheet name="Hoja1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
            {carpetaLibro + "_rels/workbook.xml.rels",
             relaciones(relacion("rId1", "worksheet", "hoja.xml") + otras)},
            {carpetaLibro + "hoja.xml", hojaXml(R"(<row r="1"><c r="A1"><v>7</v></c></row>)")},
        };
    };
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "carpeta_larga.xlsx";
    escribirZip(ruta, partes(10));
    EXPECT_EQ(abrirLibroXlsx(ruta)->celda("Hoja1", 1, "A"), "7");
    escribirZip(ruta, partes(2000));
    EXPECT_TRUE(rechazado([&] { abrirLibroXlsx(ruta); }));
}

TEST(LibroXlsxDanado, lasPartesNombradasConOtraCajaSeHallanSinRecorrerElArchivoCadaVez) {
    // Ten thousand sheets whose part is named in another case, among ten thousand entries with long names
    // alike: each lookup regardless of case compared the name with every entry.
    constexpr std::size_t kCantidad = 10000;
    const std::string nombreHoja = "worksheets/" + std::string(300, 's') + ".xml";
    std::string nombreEnMayusculas = nombreHoja;
    std::transform(nombreEnMayusculas.begin(), nombreEnMayusculas.end(), nombreEnMayusculas.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    std::string hojas;
    for (std::size_t i = 0; i < kCantidad; ++i) {
        hojas += R"(<sheet name="H)" + std::to_string(i) + R"(" sheetId="1" r:id="rId)" +
                 std::to_string(i % 2 + 1) + R"("/>)";
    }
    std::vector<Parte> partes = {
        {"_rels/.rels", relaciones(relacion("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml",
         std::string(kCabecera) + "<workbook " + kEspacioHoja +
             R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)" +
             hojas + "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", relaciones(relacion("rId1", "worksheet", nombreEnMayusculas) +
                                                  relacion("rId2", "worksheet", "worksheets/dos.xml"))},
    };
    partes.push_back({"xl/" + nombreHoja, hojaXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)")});
    // Of two names equal but for case the first in the archive stands, unless one is exact.
    partes.push_back({"xl/worksheets/DOS.xml", hojaXml(R"(<row r="1"><c r="A1"><v>2</v></c></row>)")});
    partes.push_back({"xl/worksheets/Dos.xml", hojaXml(R"(<row r="1"><c r="A1"><v>3</v></c></row>)")});
    // The alike names go before the sheets', so that a walk meets them all.
    std::vector<Parte> muchas(partes.begin(), partes.begin() + 3);
    for (std::size_t i = 0; i < kCantidad; ++i) {
        muchas.push_back({"xl/" + nombreHoja + "." + std::to_string(i), ""});
    }
    muchas.insert(muchas.end(), partes.begin() + 3, partes.end());
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "cajas.xlsx";
    escribirZip(ruta, muchas);
    entradasRecorridas = 0;
    auto libro = abrirLibroXlsx(ruta);
    // One walk over the archive indexes the names; a walk at each lookup regardless of case would go
    // through the archive once a sheet.
    EXPECT_LT(entradasRecorridas, 2 * muchas.size());
    EXPECT_EQ(libro->hojas().size(), kCantidad);
    EXPECT_EQ(libro->celda("H0", 1, "A"), "1");
    EXPECT_EQ(libro->celda("H1", 1, "A"), "2");
    partes.back().nombre = "xl/worksheets/dos.xml";
    escribirZip(ruta, partes);
    EXPECT_EQ(abrirLibroXlsx(ruta)->celda("H1", 1, "A"), "3");
}

TEST(LibroXlsxDanado, quedarseSinMemoriaEnCualquierPuntoDaElMensajeDeEntrada) {
    const std::string hoja = hojaXml(
        R"(<row r="1"><c r="A1" t="s"><v>1</v></c><c r="B1" s="2"><v>45000</v></c></row>)"
        R"(<row r="3"><c r="A3" t="inlineStr"><is><t>En l&#237;nea</t></is></c><c r="B3"><v>1.5</v></c></row>)");
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "memoria.xlsx";
    escribirZip(ruta, paquete(hoja, kTextosCompartidos, kEstilos));
    pruebas::esperarLecturaConFallosDeMemoria(ruta, {"Hoja1"}, "Hoja1", "Hoja1", 3, "A");
}

TEST(LibroXlsxDanado, unIndiceDeCadenaFueraDeLaTablaSoloDejaIlegibleSuCelda) {
    const std::string hoja = hojaXml(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>)"
                                     R"(<c r="C1" t="s"><v>4294967296</v></c></row>)");
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "indice.xlsx";
    escribirZip(ruta, paquete(hoja, textosXml("<si><t>unica</t></si>", 1)));
    auto libro = abrirLibroXlsx(ruta);
    EXPECT_EQ(todasLasFilas(*libro, "Hoja1").at(0).celdas,
              (std::vector<ValorCelda>{"unica", std::nullopt, std::nullopt}));
    EXPECT_EQ(libro->celda("Hoja1", 1, "B"), std::nullopt);
}

} // namespace
} // namespace trovanel
