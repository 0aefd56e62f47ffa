#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libro_excel.hpp"
#include "limites.hpp"
#include "memoria_pruebas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CarpetaTemporal;
using pruebas::escribirFichero;
using pruebas::leerFichero;

// libxlsxwriter and the XML inside a workbook take UTF-8, while narrow literals here are Windows-1252.
const char* utf8(const char8_t* texto) {
    return reinterpret_cast<const char*>(texto);
}

std::vector<FilaHoja> todasLasFilas(LibroExcel& libro, std::string_view hoja) {
    auto cursor = libro.abrirHoja(hoja);
    std::vector<FilaHoja> filas;
    FilaHoja fila;
    while (cursor->siguiente(fila)) {
        filas.push_back(fila);
    }
    return filas;
}

// --- Workbooks written by libxlsxwriter ---

class LibroGenerado {
public:
    explicit LibroGenerado(const fs::path& ruta, bool memoriaConstante = false) {
        lxw_workbook_options opciones{};
        opciones.constant_memory = memoriaConstante ? LXW_TRUE : LXW_FALSE;
        libro_ = workbook_new_opt(ruta.c_str(), &opciones);
        if (!libro_) {
            throw std::runtime_error("workbook_new_opt");
        }
    }
    LibroGenerado(const LibroGenerado&) = delete;
    LibroGenerado& operator=(const LibroGenerado&) = delete;
    ~LibroGenerado() {
        if (libro_) {
            workbook_close(libro_);
        }
    }

    lxw_worksheet* hoja(const char* nombreUtf8) { return workbook_add_worksheet(libro_, nombreUtf8); }
    lxw_format* formato(const char* codigo) {
        lxw_format* f = workbook_add_format(libro_);
        format_set_num_format(f, codigo);
        return f;
    }
    lxw_format* formatoIncorporado(std::uint8_t indice) {
        lxw_format* f = workbook_add_format(libro_);
        format_set_num_format_index(f, indice);
        return f;
    }
    lxw_format* negrita() {
        lxw_format* f = workbook_add_format(libro_);
        format_set_bold(f);
        return f;
    }
    void cerrar() {
        const lxw_error error = workbook_close(libro_);
        libro_ = nullptr;
        if (error != LXW_NO_ERROR) {
            throw std::runtime_error("workbook_close");
        }
    }

private:
    lxw_workbook* libro_ = nullptr;
};

// --- Workbooks written by hand, for what libxlsxwriter never writes ---

std::string repetido(const std::string& trozo, std::size_t veces) {
    std::string texto;
    texto.reserve(trozo.size() * veces);
    for (std::size_t i = 0; i < veces; ++i) {
        texto += trozo;
    }
    return texto;
}

struct Parte {
    std::string nombre;
    std::string datos;
};

void escribirZip(const fs::path& ruta, const std::vector<Parte>& partes) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& parte : partes) {
        zip_source_t* fuente = zip_source_buffer(zip, parte.datos.data(), parte.datos.size(), 0);
        ASSERT_NE(fuente, nullptr);
        ASSERT_GE(zip_file_add(zip, parte.nombre.c_str(), fuente, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// Replaces one part of an existing archive, as an editor saving over a generated workbook would.
void reemplazarParte(const fs::path& ruta, const std::string& nombre, const std::string& datos) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), 0, &error);
    ASSERT_NE(zip, nullptr);
    const zip_int64_t indice = zip_name_locate(zip, nombre.c_str(), 0);
    ASSERT_GE(indice, 0);
    zip_source_t* fuente = zip_source_buffer(zip, datos.data(), datos.size(), 0);
    ASSERT_EQ(zip_file_replace(zip, static_cast<zip_uint64_t>(indice), fuente, 0), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

std::string leerParte(const fs::path& ruta, const std::string& nombre) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), ZIP_RDONLY, &error);
    if (!zip) {
        return {};
    }
    std::string datos;
    if (zip_file_t* f = zip_fopen(zip, nombre.c_str(), 0)) {
        char trozo[4096];
        zip_int64_t n = 0;
        while ((n = zip_fread(f, trozo, sizeof trozo)) > 0) {
            datos.append(trozo, static_cast<std::size_t>(n));
        }
        zip_fclose(f);
    }
    zip_discard(zip);
    return datos;
}

constexpr const char* kCabecera = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
constexpr const char* kEspacioHoja = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
constexpr const char* kTipoRelacion = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string relacion(const std::string& id, const std::string& tipo, const std::string& destino) {
    return R"(<Relationship Id=")" + id + R"(" Type=")" + kTipoRelacion + tipo + R"(" Target=")" + destino +
           R"("/>)";
}

std::string relaciones(const std::string& dentro) {
    return std::string(kCabecera) +
           R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           dentro + "</Relationships>";
}

std::string hojaXml(const std::string& datosHoja) {
    return std::string(kCabecera) + "<worksheet " + kEspacioHoja + "><sheetData>" + datosHoja +
           "</sheetData></worksheet>";
}

std::string textosXml(const std::string& elementos, int cantidadDeclarada) {
    return std::string(kCabecera) + "<sst " + kEspacioHoja + R"( uniqueCount=")" +
           std::to_string(cantidadDeclarada) + R"(">)" + elementos + "</sst>";
}

// A one-sheet package ("Hoja1") around the given parts; empty text leaves a part out.
std::vector<Parte> paquete(const std::string& hoja, const std::string& textos = "",
                           const std::string& estilos = "", const std::string& propiedadesLibro = "") {
    std::string relsLibro = relacion("rId1", "worksheet", "worksheets/sheet1.xml");
    std::vector<Parte> partes = {
        {"_rels/.rels", relaciones(relacion("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml",
         std::string(kCabecera) + "<workbook " + kEspacioHoja +
             R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)" +
             propiedadesLibro +
             R"(<sheets><sheet name="Hoja1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/worksheets/sheet1.xml", hoja},
    };
    if (!textos.empty()) {
        relsLibro += relacion("rId2", "sharedStrings", "sharedStrings.xml");
        partes.push_back({"xl/sharedStrings.xml", textos});
    }
    if (!estilos.empty()) {
        relsLibro += relacion("rId3", "styles", "styles.xml");
        partes.push_back({"xl/styles.xml", estilos});
    }
    partes.push_back({"xl/_rels/workbook.xml.rels", relaciones(relsLibro)});
    return partes;
}

bool rechazado(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const ErrorTrovanel& e) {
        EXPECT_STREQ(e.what(), kNoSeAbreEntrada);
        return true;
    }
    return false;
}

// Opens the workbook and reads every row of every sheet; true when it is refused with the message.
bool libroRechazado(const fs::path& ruta) {
    return rechazado([&] {
        auto libro = abrirLibroXlsx(ruta);
        for (const auto& hoja : libro->hojas()) {
            todasLasFilas(*libro, hoja);
        }
    });
}

// --- The real sample file ---

TEST(LibroXlsx, abreElLibroDeEjemploConSuUnicaHojaSinCeldas) {
    TROVANEL_REQUIERE_MUESTRAS();
    // Its one sheet has an empty sheetData and a comment: no row holds a cell.
    auto libro = abrirLibroXlsx(pruebas::carpetaMuestras() / "excel" / "sample.xlsx");
    EXPECT_EQ(libro->hojas(), std::vector<std::string>{"Sheet1"});
    EXPECT_EQ(libro->ultimaFila("Sheet1"), 0);
    EXPECT_EQ(libro->celda("Sheet1", 1, "A"), "");
    EXPECT_TRUE(todasLasFilas(*libro, "Sheet1").empty());
}

TEST(LibroXlsx, elDespachadorReconoceUnLibroXlsxPorSuContenido) {
    TROVANEL_REQUIERE_MUESTRAS();
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "sin_extension";
    fs::copy_file(pruebas::carpetaMuestras() / "excel" / "sample.xlsx", ruta);
    EXPECT_EQ(abrirLibroExcel(ruta)->hojas(), std::vector<std::string>{"Sheet1"});
}

// --- Generated workbooks ---

TEST(LibroXlsx, listaLasHojasEnElOrdenDelLibroConSusNombresEnWindows1252) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "hojas.xlsx";
    {
        LibroGenerado libro(ruta);
        worksheet_write_string(libro.hoja("Cobros"), 0, 0, "uno", nullptr);
        worksheet_write_string(libro.hoja(utf8(u8"Año")), 0, 0, "dos", nullptr);
        libro.hoja(utf8(u8"Señal €"));
        libro.hoja(utf8(u8"Hoja Ω"));
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    // "Ω" has no place in Windows-1252.
    EXPECT_EQ(libro->hojas(), (std::vector<std::string>{"Cobros", "Año", "Señal €", "Hoja ?"}));
    EXPECT_EQ(libro->celda("Año", 1, "A"), "dos");
    EXPECT_EQ(libro->celda("Cobros", 1, "A"), "uno");
    // Sheet names are told apart without regard to case, as Excel does.
    EXPECT_EQ(libro->celda("AÑO", 1, "A"), "dos");
    EXPECT_EQ(libro->ultimaFila("Señal €"), 0);
}

TEST(LibroXlsx, unaHojaQueNoExisteNoSeAbreYSusCeldasNoSePuedenLeer) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "una.xlsx";
    {
        LibroGenerado libro(ruta);
        worksheet_write_number(libro.hoja("Datos"), 0, 0, 1, nullptr);
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    EXPECT_TRUE(rechazado([&] { libro->abrirHoja("Otra"); }));
    EXPECT_EQ(libro->celda("Otra", 1, "A"), std::nullopt);
    EXPECT_EQ(libro->celda("Datos", 1, "A"), "1");
}

struct CasoGenerado {
    const char* descripcion;
    std::function<void(LibroGenerado&, lxw_worksheet*, lxw_row_t)> escribir;
    ValorCelda esperado;
};

TEST(LibroXlsx, cadaValorEscritoPorUnaHojaDeCalculoSeLeeComoTextoEspanol) {
    const auto numero = [](double v, const char* codigo = nullptr) {
        return [=](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
            worksheet_write_number(h, f, 1, v, codigo ? l.formato(codigo) : nullptr);
        };
    };
    const auto incorporado = [](double v, std::uint8_t indice) {
        return [=](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
            worksheet_write_number(h, f, 1, v, l.formatoIncorporado(indice));
        };
    };
    const std::vector<CasoGenerado> casos = {
        {"texto",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_string(h, f, 1, "Recibo 7", nullptr);
         },
         "Recibo 7"},
        {"texto con acentos",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_string(h, f, 1, utf8(u8"Peña Ibáñez €"), nullptr);
         },
         "Peña Ibáñez €"},
        {"texto fuera de Windows-1252",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_string(h, f, 1, utf8(u8"Ωmega 日本"), nullptr);
         },
         "?mega ??"},
        {"decimal", numero(1234.5), "1234,5"},
        {"suma inexacta", numero(0.1 + 0.2), "0,3"},
        {"entero", numero(1500), "1500"},
        {"negativo", numero(-42.75), "-42,75"},
        {"cero", numero(0), "0"},
        {"grande", numero(123456789012345678.0), "1,23456789012346E+17"},
        {"importe con formato de moneda", numero(1234.5, "#,##0.00 \"\xE2\x82\xAC\""), "1234,5"},
        {"importe en euros redondeado a cuatro decimales", numero(1.23456789, utf8(u8"#,##0.00 [$€-C0A]")),
         "1,2346"},
        {"importe de formato incorporado 7 redondeado", incorporado(1.23456789, 7), "1,2346"},
        {"porcentaje", numero(0.25, "0.00%"), "0,25"},
        {"texto entre comillas con letras de fecha", numero(7, "0 \"dias\""), "7"},
        {"fecha de formato incorporado 14", incorporado(45000, 14), "15/03/2023"},
        {"fecha y hora de formato incorporado 22", incorporado(45000.5, 22), "15/03/2023 12:00:00"},
        {"fecha propia dd/mm/yyyy", numero(45000, "dd/mm/yyyy"), "15/03/2023"},
        {"fecha y hora propias", numero(45000.75, "yyyy-mm-dd hh:mm:ss"), "15/03/2023 18:00:00"},
        {"solo hora", numero(0.5, "hh:mm"), "12:00:00"},
        {"hora con segundos sueltos", numero(45000 + 5.0 / 86400, "dd/mm/yyyy hh:mm:ss"),
         "15/03/2023 00:00:05"},
        {"primer dia de 1900", numero(1, "dd/mm/yyyy"), "01/01/1900"},
        {"antes del 29 de febrero de 1900", numero(59, "dd/mm/yyyy"), "28/02/1900"},
        {"despues del 29 de febrero de 1900", numero(61, "dd/mm/yyyy"), "01/03/1900"},
        {"fecha escrita como fecha",
         [](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
             lxw_datetime momento = {2024, 2, 29, 10, 30, 0};
             worksheet_write_datetime(h, f, 1, &momento, l.formato("dd/mm/yyyy hh:mm"));
         },
         "29/02/2024 10:30:00"},
        {"formula numerica",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_formula_num(h, f, 1, "=1+2", nullptr, 3);
         },
         "3"},
        {"formula con decimales",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_formula_num(h, f, 1, "=10/4", nullptr, 2.5);
         },
         "2,5"},
        {"formula de fecha",
         [](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_formula_num(h, f, 1, "=DATE(2023,3,15)", l.formato("dd/mm/yyyy"), 45000);
         },
         "15/03/2023"},
        {"formula de texto",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_formula_str(h, f, 1, "=\"A\"&\"B\"", nullptr, "AB");
         },
         "AB"},
        {"verdadero",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) { worksheet_write_boolean(h, f, 1, 1, nullptr); },
         "Verdadero"},
        {"falso",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) { worksheet_write_boolean(h, f, 1, 0, nullptr); },
         "Falso"},
        {"texto enriquecido",
         [](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
             char hola[] = "Hola ";
             char mundo[] = "mundo";
             lxw_rich_string_tuple a = {l.negrita(), hola};
             lxw_rich_string_tuple b = {nullptr, mundo};
             lxw_rich_string_tuple* trozos[] = {&a, &b, nullptr};
             worksheet_write_rich_string(h, f, 1, trozos, nullptr);
         },
         "Hola mundo"},
        {"celda en blanco con formato",
         [](LibroGenerado& l, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_blank(h, f, 1, l.formato("dd/mm/yyyy"));
         },
         ""},
    };
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "valores.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* hoja = libro.hoja("Valores");
        for (std::size_t i = 0; i < casos.size(); ++i) {
            worksheet_write_string(hoja, static_cast<lxw_row_t>(i), 0, casos[i].descripcion, nullptr);
            casos[i].escribir(libro, hoja, static_cast<lxw_row_t>(i));
        }
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    const auto filas = todasLasFilas(*libro, "Valores");
    ASSERT_EQ(filas.size(), casos.size());
    for (std::size_t i = 0; i < casos.size(); ++i) {
        EXPECT_EQ(filas[i].numero, static_cast<std::int64_t>(i + 1)) << casos[i].descripcion;
        EXPECT_EQ(filas[i].celdas.at(0), casos[i].descripcion);
        EXPECT_EQ(filas[i].celdas.at(1), casos[i].esperado) << casos[i].descripcion;
        EXPECT_EQ(libro->celda("Valores", static_cast<std::int64_t>(i + 1), "B"), casos[i].esperado)
            << casos[i].descripcion;
    }
}

TEST(LibroXlsx, lasCeldasQueFaltanSonVaciasYLaUltimaFilaEsLaMasAltaConCeldas) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "huecos.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* hoja = libro.hoja("Huecos");
        worksheet_write_string(hoja, 0, 0, "a", nullptr);
        worksheet_write_string(hoja, 0, 2, "c", nullptr);
        worksheet_write_number(hoja, 3, 3, 4, nullptr);
        worksheet_write_string(hoja, 6, 0, "g", nullptr);
        worksheet_write_string(hoja, 6, 4, "", nullptr); // libxlsxwriter writes no cell for it
        libro.hoja("Vacia");
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    const auto filas = todasLasFilas(*libro, "Huecos");
    ASSERT_EQ(filas.size(), 3u);
    EXPECT_EQ(filas[0].numero, 1);
    EXPECT_EQ(filas[0].celdas, (std::vector<ValorCelda>{"a", "", "c"}));
    EXPECT_EQ(filas[1].numero, 4);
    EXPECT_EQ(filas[1].celdas, (std::vector<ValorCelda>{"", "", "", "4"}));
    EXPECT_EQ(filas[2].numero, 7);
    EXPECT_EQ(filas[2].celdas, (std::vector<ValorCelda>{"g"}));
    EXPECT_EQ(libro->ultimaFila("Huecos"), 7);
    EXPECT_EQ(libro->ultimaFila("Vacia"), 0);

    struct Caso {
        std::int64_t fila;
        const char* columna;
        ValorCelda esperado;
    };
    const Caso casos[] = {
        {1, "A", "a"}, {1, "B", ""}, {1, "C", "c"}, {1, "D", ""}, {2, "A", ""},
        {4, "D", "4"}, {4, "C", ""}, {7, "E", ""},  {8, "A", ""}, {1048576, "XFD", ""},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(libro->celda("Huecos", caso.fila, caso.columna), caso.esperado)
            << caso.fila << caso.columna;
    }
}

TEST(LibroXlsx, lasColumnasSeNombranConLetrasRecortadasEnCualquierCaja) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "columnas.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* hoja = libro.hoja("Hoja1");
        worksheet_write_string(hoja, 0, 0, "A1", nullptr);
        worksheet_write_string(hoja, 0, 1, "B1", nullptr);
        worksheet_write_string(hoja, 0, 27, "AB1", nullptr);
        worksheet_write_string(hoja, 0, 16383, "XFD1", nullptr);
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    struct Caso {
        const char* columna;
        ValorCelda esperado;
    };
    const Caso casos[] = {
        {"A", "A1"},
        {"b", "B1"},
        {" AB ", "AB1"},
        {"ab", "AB1"},
        {"XFD", "XFD1"},
        {"C", ""},
        {"A1", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"XFE", std::nullopt},
        {"AAAA", std::nullopt},
        {"A-", std::nullopt},
        {"\xD1", std::nullopt},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(libro->celda("Hoja1", 1, caso.columna), caso.esperado) << "[" << caso.columna << "]";
    }
    // Rows are numbered from 1 to 1048576, as far as a sheet of the format goes.
    const std::pair<std::int64_t, ValorCelda> filas[] = {
        {0, std::nullopt},       {-1, std::nullopt},      {1048576, ""},
        {1048577, std::nullopt}, {2000000, std::nullopt},
    };
    for (const auto& [fila, esperado] : filas) {
        EXPECT_EQ(libro->celda("Hoja1", fila, "A"), esperado) << fila;
    }
}

TEST(LibroXlsx, unLibroConFechasDesde1904LasCuentaDesdeEse1DeEnero) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "1904.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* hoja = libro.hoja("Fechas");
        worksheet_write_number(hoja, 0, 0, 0, libro.formato("dd/mm/yyyy"));
        worksheet_write_number(hoja, 1, 0, 45000, libro.formatoIncorporado(14));
        worksheet_write_number(hoja, 2, 0, 1.5, libro.formato("dd/mm/yyyy hh:mm"));
        worksheet_write_number(hoja, 3, 0, 45000, nullptr);
        // The last day of the calendar, and the next, which is no date: 1,462 days before the 1900 system's.
        worksheet_write_number(hoja, 4, 0, 2957003, libro.formato("dd/mm/yyyy"));
        worksheet_write_number(hoja, 5, 0, 2957004, libro.formato("dd/mm/yyyy"));
        libro.cerrar();
    }
    // libxlsxwriter has no switch for the 1904 system: the flag is set as a spreadsheet program saves it.
    std::string libroXml = leerParte(ruta, "xl/workbook.xml");
    const auto pos = libroXml.find("<workbookPr ");
    ASSERT_NE(pos, std::string::npos);
    libroXml.insert(pos + 12, "date1904=\"1\" ");
    reemplazarParte(ruta, "xl/workbook.xml", libroXml);

    auto libro = abrirLibroXlsx(ruta);
    EXPECT_EQ(libro->celda("Fechas", 1, "A"), "01/01/1904");
    EXPECT_EQ(libro->celda("Fechas", 2, "A"), "16/03/2027");
    EXPECT_EQ(libro->celda("Fechas", 3, "A"), "02/01/1904 12:00:00");
    EXPECT_EQ(libro->celda("Fechas", 4, "A"), "45000");
    EXPECT_EQ(libro->celda("Fechas", 5, "A"), "31/12/9999");
    EXPECT_EQ(libro->celda("Fechas", 6, "A"), "2957004");
}

TEST(LibroXlsx, cincuentaMilFilasSeLeenEnterasYEnOrden) {
    constexpr int kFilas = 50000;
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "grande.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* hoja = libro.hoja("Grande");
        for (int i = 0; i < kFilas; ++i) {
            worksheet_write_number(hoja, static_cast<lxw_row_t>(i), 0, i + 1, nullptr);
            worksheet_write_string(hoja, static_cast<lxw_row_t>(i), 1,
                                   ("Fila " + std::to_string(i + 1)).c_str(), nullptr);
            worksheet_write_number(hoja, static_cast<lxw_row_t>(i), 2, (i + 1) * 0.5, nullptr);
        }
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    auto cursor = libro->abrirHoja("Grande");
    FilaHoja fila;
    std::int64_t leidas = 0;
    while (cursor->siguiente(fila)) {
        ++leidas;
        ASSERT_EQ(fila.numero, leidas);
        if (leidas == 1 || leidas == 32768 || leidas == kFilas) {
            EXPECT_EQ(fila.celdas,
                      (std::vector<ValorCelda>{std::to_string(leidas), "Fila " + std::to_string(leidas),
                                               leidas % 2 ? std::to_string(leidas / 2) + ",5"
                                                          : std::to_string(leidas / 2)}));
        }
    }
    EXPECT_EQ(leidas, kFilas);
    EXPECT_EQ(libro->ultimaFila("Grande"), kFilas);
    EXPECT_EQ(libro->celda("Grande", kFilas, "B"), "Fila 50000");
}

TEST(LibroXlsx, lasCadenasEnLineaDeLaEscrituraEnMemoriaConstanteSeLeen) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "constante.xlsx";
    {
        LibroGenerado libro(ruta, true);
        lxw_worksheet* hoja = libro.hoja("Hoja1");
        worksheet_write_string(hoja, 0, 0, utf8(u8"Año €"), nullptr);
        worksheet_write_number(hoja, 0, 1, 2.5, nullptr);
        worksheet_write_string(hoja, 2, 1, "fin", nullptr);
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    const auto filas = todasLasFilas(*libro, "Hoja1");
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[0].celdas, (std::vector<ValorCelda>{"Año €", "2,5"}));
    EXPECT_EQ(filas[1].numero, 3);
    EXPECT_EQ(filas[1].celdas, (std::vector<ValorCelda>{"", "fin"}));
}

TEST(LibroXlsx, elCursorSigueValiendoAunqueSeCierreElLibroYOtroCursorLeaALaVez) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "dos.xlsx";
    {
        LibroGenerado libro(ruta);
        lxw_worksheet* uno = libro.hoja("Uno");
        lxw_worksheet* dos = libro.hoja("Dos");
        for (int i = 0; i < 3000; ++i) {
            worksheet_write_number(uno, static_cast<lxw_row_t>(i), 0, i, nullptr);
            worksheet_write_string(dos, static_cast<lxw_row_t>(i), 0, ("d" + std::to_string(i)).c_str(),
                                   nullptr);
        }
        libro.cerrar();
    }
    auto libro = abrirLibroXlsx(ruta);
    auto cursorUno = libro->abrirHoja("Uno");
    auto cursorDos = libro->abrirHoja("Dos");
    libro.reset();
    FilaHoja a;
    FilaHoja b;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(cursorUno->siguiente(a));
        ASSERT_TRUE(cursorDos->siguiente(b));
        ASSERT_EQ(a.celdas.at(0), std::to_string(i));
        ASSERT_EQ(b.celdas.at(0), "d" + std::to_string(i));
    }
    EXPECT_FALSE(cursorUno->siguiente(a));
    EXPECT_FALSE(cursorDos->siguiente(b));
    EXPECT_FALSE(cursorDos->siguiente(b));
}

// --- Workbooks written by hand: what other programs write ---

const std::string kTextosCompartidos = textosXml(
    "<si><t>Uno</t></si>"
    R"(<si><r><rPr><b/></rPr><t xml:space="preserve">Hola </t></r><r><t>mundo</t></r><rPh sb="0" eb="1"><t>HORA</t></rPh><phoneticPr fontId="1"/></si>)"
    "<si><t>L&#237;nea_x000D__x000A_dos</t></si>"
    "<si><t>_x005F_x0041_</t></si>"
    "<si><t>&#937;&#8364;&amp;</t></si>"
    "<si/>",
    // The count a file declares is not trusted: only what is read counts.
    1000);

const std::string kEstilos =
    std::string(kCabecera) + "<styleSheet " + kEspacioHoja + ">" +
    R"(<numFmts count="8">)"
    R"(<numFmt numFmtId="164" formatCode="dd/mm/yyyy"/>)"
    R"(<numFmt numFmtId="165" formatCode="#,##0.00&quot; d&#237;as&quot;"/>)"
    R"(<numFmt numFmtId="166" formatCode="[h]:mm"/>)"
    R"(<numFmt numFmtId="167" formatCode="0.0\ \d"/>)"
    R"(<numFmt numFmtId="168" formatCode="General"/>)"
    R"(<numFmt numFmtId="169" formatCode="[$-C0A]dddd, d&quot; de &quot;mmmm&quot; de &quot;yyyy"/>)"
    R"(<numFmt numFmtId="170" formatCode="[Red][&lt;0]#,##0.00_);#,##0.00"/>)"
    R"(<numFmt numFmtId="171" formatCode="#,##0.00\ [$&#8364;-C0A]"/>)"
    "</numFmts>"
    R"(<cellXfs count="14">)"
    R"(<xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/>)"
    R"(<xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="168"/><xf numFmtId="169"/>)"
    R"(<xf numFmtId="22"/><xf numFmtId="49"/><xf numFmtId="47"/><xf numFmtId="170"/>)"
    R"(<xf numFmtId="7"/><xf numFmtId="171"/>)"
    "</cellXfs></styleSheet>";

struct CasoCelda {
    const char* descripcion;
    const char* celdaXml; // written in column B of its own row
    ValorCelda esperado;
};

TEST(LibroXlsx, cadaTipoDeCeldaDelFormatoSeLeeComoTexto) {
    const CasoCelda casos[] = {
        {"cadena compartida", R"(<c r="B{}" t="s"><v>0</v></c>)", "Uno"},
        {"texto enriquecido sin la guia fonetica", R"(<c r="B{}" t="s"><v>1</v></c>)", "Hola mundo"},
        {"caracteres de control escapados", R"(<c r="B{}" t="s"><v>2</v></c>)", "Línea\r\ndos"},
        {"guion bajo escapado", R"(<c r="B{}" t="s"><v>3</v></c>)", "_x0041_"},
        {"caracter fuera de Windows-1252", R"(<c r="B{}" t="s"><v>4</v></c>)", "?€&"},
        {"cadena compartida vacia", R"(<c r="B{}" t="s"><v>5</v></c>)", ""},
        {"indice de cadena fuera de la tabla", R"(<c r="B{}" t="s"><v>6</v></c>)", std::nullopt},
        {"indice de cadena enorme", R"(<c r="B{}" t="s"><v>99999999999999999999</v></c>)", std::nullopt},
        {"indice de cadena negativo", R"(<c r="B{}" t="s"><v>-1</v></c>)", std::nullopt},
        {"indice de cadena que no es numero", R"(<c r="B{}" t="s"><v>uno</v></c>)", std::nullopt},
        {"cadena en linea", R"(<c r="B{}" t="inlineStr"><is><t>En l&#237;nea</t></is></c>)", "En línea"},
        {"cadena en linea enriquecida",
         R"(<c r="B{}" t="inlineStr"><is><r><t xml:space="preserve">Rico </t></r><r><rPr><b/></rPr><t>y pobre</t></r><rPh sb="0" eb="1"><t>X</t></rPh></is></c>)",
         "Rico y pobre"},
        {"cadena en linea escrita como valor", R"(<c r="B{}" t="inlineStr"><v>Suelta</v></c>)", "Suelta"},
        {"texto de formula", R"(<c r="B{}" t="str"><f>"A"&amp;"B"</f><v>AB</v></c>)", "AB"},
        {"verdadero", R"(<c r="B{}" t="b"><v>1</v></c>)", "Verdadero"},
        {"falso", R"(<c r="B{}" t="b"><v>0</v></c>)", "Falso"},
        {"booleano ilegible", R"(<c r="B{}" t="b"><v>2</v></c>)", std::nullopt},
        {"error de formula", R"(<c r="B{}" t="e"><f>1/0</f><v>#DIV/0!</v></c>)", std::nullopt},
        {"error sin formula", R"(<c r="B{}" t="e"><v>#N/A</v></c>)", std::nullopt},
        {"numero con diecisiete cifras", R"(<c r="B{}"><v>0.30000000000000004</v></c>)", "0,3"},
        {"numero de tipo explicito", R"(<c r="B{}" t="n"><v>1234.5</v></c>)", "1234,5"},
        {"numero negativo", R"(<c r="B{}"><v>-0.5</v></c>)", "-0,5"},
        {"numero en notacion cientifica", R"(<c r="B{}"><v>1E+20</v></c>)", "1E+20"},
        {"numero grande", R"(<c r="B{}"><v>123456789012345678</v></c>)", "1,23456789012346E+17"},
        {"quince cifras significativas", R"(<c r="B{}"><v>123456789012345</v></c>)", "123456789012345"},
        {"dieciseis cifras se redondean a quince", R"(<c r="B{}"><v>1234567890123456</v></c>)",
         "1,23456789012346E+15"},
        {"quince cifras con decimales", R"(<c r="B{}"><v>12345678901234.5</v></c>)", "12345678901234,5"},
        {"quince decimales", R"(<c r="B{}"><v>0.123456789012345</v></c>)", "0,123456789012345"},
        {"dieciseis decimales se redondean", R"(<c r="B{}"><v>0.1234567890123456</v></c>)",
         "0,123456789012346"},
        {"diezmilesima", R"(<c r="B{}"><v>0.0001</v></c>)", "0,0001"},
        {"cienmilesima con exponente", R"(<c r="B{}"><v>0.00001</v></c>)", "1E-05"},
        {"ceros a la izquierda", R"(<c r="B{}"><v>007</v></c>)", "7"},
        {"ceros a la derecha", R"(<c r="B{}"><v>1.50</v></c>)", "1,5"},
        {"cero negativo", R"(<c r="B{}"><v>-0</v></c>)", "0"},
        {"blancos alrededor", R"(<c r="B{}"><v> 42 </v></c>)", "42"},
        {"numero ilegible", R"(<c r="B{}"><v>doce</v></c>)", std::nullopt},
        {"numero con dos puntos", R"(<c r="B{}"><v>1.2.3</v></c>)", std::nullopt},
        {"numero con signo mas", R"(<c r="B{}"><v>+5</v></c>)", "5"},
        {"numero con dos signos", R"(<c r="B{}"><v>+-5</v></c>)", std::nullopt},
        {"numero infinito", R"(<c r="B{}"><v>inf</v></c>)", std::nullopt},
        {"formula sin calcular", R"(<c r="B{}"><f>SUM(A1:A2)</f></c>)", ""},
        {"celda solo con formato", R"(<c r="B{}" s="2"/>)", ""},
        {"formato incorporado 14", R"(<c r="B{}" s="1"><v>45000</v></c>)", "15/03/2023"},
        {"formato propio de fecha", R"(<c r="B{}" s="2"><v>45000.75</v></c>)", "15/03/2023 18:00:00"},
        {"letras de fecha entre comillas", R"(<c r="B{}" s="3"><v>45000</v></c>)", "45000"},
        {"horas transcurridas", R"(<c r="B{}" s="4"><v>0.75</v></c>)", "18:00:00"},
        {"letra de fecha escapada", R"(<c r="B{}" s="5"><v>12</v></c>)", "12"},
        {"formato General propio", R"(<c r="B{}" s="6"><v>12.5</v></c>)", "12,5"},
        {"fecha larga con configuracion regional", R"(<c r="B{}" s="7"><v>45000</v></c>)", "15/03/2023"},
        {"formato incorporado 22", R"(<c r="B{}" s="8"><v>45000.5</v></c>)", "15/03/2023 12:00:00"},
        {"formato de texto incorporado", R"(<c r="B{}" s="9"><v>45000</v></c>)", "45000"},
        {"formato incorporado 47 de minutos", R"(<c r="B{}" s="10"><v>0.5</v></c>)", "12:00:00"},
        {"color y condicion entre corchetes", R"(<c r="B{}" s="11"><v>45000</v></c>)", "45000"},
        {"estilo que no existe", R"(<c r="B{}" s="999"><v>45000</v></c>)", "45000"},
        {"estilo ilegible", R"(<c r="B{}" s="x"><v>45000</v></c>)", "45000"},
        {"fecha ISO", R"(<c r="B{}" t="d"><v>2023-03-15T18:00:00</v></c>)", "15/03/2023 18:00:00"},
        {"fecha ISO de 1900", R"(<c r="B{}" t="d"><v>1900-01-01</v></c>)", "01/01/1900"},
        {"fecha ISO ilegible", R"(<c r="B{}" t="d"><v>ayer</v></c>)", std::nullopt},
        {"celda sin referencia tras la anterior", R"(<c r="A{}"><v>1</v></c><c><v>2</v></c>)", "2"},
        {"moneda incorporada 7 con ocho decimales", R"(<c r="B{}" s="12"><v>1.23456789</v></c>)", "1,2346"},
        {"moneda en euros con ocho decimales", R"(<c r="B{}" s="13"><v>1.23456789</v></c>)", "1,2346"},
        {"moneda con cuatro decimales", R"(<c r="B{}" s="13"><v>1234.5678</v></c>)", "1234,5678"},
        {"moneda con exponente", R"(<c r="B{}" s="13"><v>1.5E-5</v></c>)", "0"},
        {"fecha pasado el calendario", R"(<c r="B{}" s="1"><v>3000001</v></c>)", "3000001"},
        {"fecha negativa", R"(<c r="B{}" s="8"><v>-1.25</v></c>)", "-1,25"},
        {"fecha y hora pasado el calendario", R"(<c r="B{}" s="8"><v>2958466.5</v></c>)", "2958466,5"},
        {"fecha y hora del ultimo dia", R"(<c r="B{}" s="8"><v>2958465.5</v></c>)", "31/12/9999 12:00:00"},
    };
    std::string datos;
    for (std::size_t i = 0; i < std::size(casos); ++i) {
        std::string celda = casos[i].celdaXml;
        const std::string numero = std::to_string(i + 1);
        for (auto pos = celda.find("{}"); pos != std::string::npos; pos = celda.find("{}")) {
            celda.replace(pos, 2, numero);
        }
        datos += "<row r=\"" + numero + "\">" + celda + "</row>";
    }
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "celdas.xlsx";
    escribirZip(ruta, paquete(hojaXml(datos), kTextosCompartidos, kEstilos));
    auto libro = abrirLibroXlsx(ruta);
    const auto filas = todasLasFilas(*libro, "Hoja1");
    ASSERT_EQ(filas.size(), std::size(casos));
    for (std::size_t i = 0; i < std::size(casos); ++i) {
        ASSERT_EQ(filas[i].celdas.size(), 2u) << casos[i].descripcion;
        EXPECT_EQ(filas[i].celdas[1], casos[i].esperado) << casos[i].descripcion;
    }
}

TEST(LibroXlsx, lasFilasSinNumeroSiguenALaAnteriorYLasVaciasNoCuentan) {
    const std::string datos = R"(<row><c><v>1</v></c></row>)"
                              R"(<row r="3" customHeight="1" ht="30"/>)"
                              R"(<row r="5"><c r="C5"><v>5</v></c></row>)"
                              R"(<row><c r="A6"><v>6</v></c><c r="A6"><v>7</v></c></row>)";
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "filas.xlsx";
    escribirZip(ruta, paquete(hojaXml(datos)));
    auto libro = abrirLibroXlsx(ruta);
    const auto filas = todasLasFilas(*libro, "Hoja1");
    ASSERT_EQ(filas.size(), 3u);
    EXPECT_EQ(filas[0].numero, 1);
    EXPECT_EQ(filas[0].celdas, (std::vector<ValorCelda>{"1"}));
    EXPECT_EQ(filas[1].numero, 5);
    EXPECT_EQ(filas[1].celdas, (std::vector<ValorCelda>{"", "", "5"}));
    EXPECT_EQ(filas[2].numero, 6);
    // A repeated reference keeps the last cell written.
    EXPECT_EQ(filas[2].celdas, (std::vector<ValorCelda>{"7"}));
    EXPECT_EQ(libro->ultimaFila("Hoja1"), 6);
}

TEST(LibroXlsx, unaFilaSinNumeroTomaElDeLaReferenciaDeSusCeldas) {
    struct Caso {
        const char* descripcion;
        std::string datos;
        std::vector<std::int64_t> numeros;
    };
    const std::vector<Caso> casos = {
        {"cada fila por su celda",
         R"(<row><c r="A1"><v>1</v></c></row><row><c r="A5"><v>5</v></c></row>)",
         {1, 5}},
        {"la primera celda con referencia",
         R"(<row r="2"><c r="A2"><v>2</v></c></row><row><c><v>1</v></c><c r="B7"><v>7</v></c><c r="C9"><v>9</v></c></row>)",
         {2, 7}},
        {"referencias sin fila",
         R"(<row r="2"><c r="A2"><v>2</v></c></row><row><c r="C"><v>3</v></c></row>)",
         {2, 3}},
        {"tras una fila vacia sin numero",
         R"(<row/><row><c><v>2</v></c></row><row><c r="D4"><v>4</v></c></row>)",
         {2, 4}},
    };
    CarpetaTemporal carpeta;
    for (const auto& caso : casos) {
        const auto ruta = carpeta / "filas.xlsx";
        escribirZip(ruta, paquete(hojaXml(caso.datos)));
        auto libro = abrirLibroXlsx(ruta);
        std::vector<std::int64_t> numeros;
        for (const auto& fila : todasLasFilas(*libro, "Hoja1")) {
            numeros.push_back(fila.numero);
        }
        EXPECT_EQ(numeros, caso.numeros) << caso.descripcion;
        EXPECT_EQ(libro->ultimaFila("Hoja1"), caso.numeros.back()) << caso.descripcion;
    }
    // The cells keep their columns, and a lookup finds the row where its cells put it.
    auto libro = abrirLibroXlsx(carpeta / "filas.xlsx");
    EXPECT_EQ(libro->celda("Hoja1", 4, "D"), "4");
    EXPECT_EQ(libro->celda("Hoja1", 2, "A"), "2");
}

TEST(LibroXlsx, seLeenLibrosConPrefijosDeEspacioDeNombresYRutasPropias) {
    // Written as some generators do: prefixed elements, the workbook in its own folder with absolute
    // and relative targets, a chart sheet (not listed) and sheets out of sheetId order.
    const std::string ns = R"(xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string rns =
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    const std::vector<Parte> partes = {
        {"_rels/.rels", relaciones(relacion("R1", "officeDocument", "/libro/principal.xml"))},
        {"libro/principal.xml", std::string(kCabecera) + "<x:workbook " + ns + " " + rns +
                                    R"(><x:workbookPr date1904="true"/><x:sheets>)"
                                    R"(<x:sheet name="Segunda" sheetId="2" r:id="h2"/>)"
                                    R"(<x:sheet name="Grafico" sheetId="3" r:id="g1"/>)"
                                    R"(<x:sheet name="Primera" sheetId="1" r:id="h1"/>)"
                                    "</x:sheets></x:workbook>"},
        {"libro/_rels/principal.xml.rels", relaciones(relacion("h1", "worksheet", "hojas/uno.xml") +
                                                      relacion("h2", "worksheet", "/otras/dos%20b.xml") +
                                                      relacion("g1", "chartsheet", "graficos/g.xml") +
                                                      relacion("t", "sharedStrings", "../comun/textos.xml"))},
        {"libro/hojas/uno.xml",
         std::string(kCabecera) + "<x:worksheet " + ns +
             R"(><x:sheetData><x:row r="2"><x:c r="B2" t="s"><x:v>0</x:v></x:c></x:row></x:sheetData></x:worksheet>)"},
        {"otras/dos b.xml", hojaXml(R"(<row r="1"><c r="A1"><v>0</v></c></row>)")},
        {"graficos/g.xml", "<chartsheet/>"},
        {"comun/textos.xml",
         std::string(kCabecera) + "<x:sst " + ns + "><x:si><x:t>prefijado</x:t></x:si></x:sst>"},
    };
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "prefijos.xlsx";
    escribirZip(ruta, partes);
    auto libro = abrirLibroXlsx(ruta);
    EXPECT_EQ(libro->hojas(), (std::vector<std::string>{"Segunda", "Primera"}));
    EXPECT_EQ(libro->celda("Primera", 2, "B"), "prefijado");
    // Without styles a number is never a date, whatever the date system.
    EXPECT_EQ(libro->celda("Segunda", 1, "A"), "0");
}

// --- Damaged and hostile files ---

void libroSencillo(const fs::path& ruta) {
    LibroGenerado libro(ruta);
    lxw_worksheet* hoja = libro.hoja("Datos");
    for (int i = 0; i < 200; ++i) {
        worksheet_write_string(hoja, static_cast<lxw_row_t>(i), 0, ("Texto " + std::to_string(i)).c_str(),
                               nullptr);
        worksheet_write_number(hoja, static_cast<lxw_row_t>(i), 1, i * 1.25, nullptr);
    }
    libro.cerrar();
}

TEST(LibroXlsxDanado, unaCopiaCortadaPorCualquierSitioSeRechaza) {
    CarpetaTemporal carpeta;
    const auto original = carpeta / "original.xlsx";
    libroSencillo(original);
    const std::string bytes = leerFichero(original);
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
    libroSencillo(original);
    const std::string bytes = leerFichero(original);
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
    std::mt19937 azar(7);
    std::string aleatorio(4096, '\0');
    for (char& c : aleatorio) {
        c = static_cast<char>(azar());
    }
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
        // One shared string past what a value may hold: the table is capped as a whole only.
        {"cadena compartida desmesurada",
         paquete(hojaXml(""), textosXml("<si><t>" + std::string(kMaxValor + 1, 'a') + "</t></si>", 1)), ""},
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
    // A folder is no file: the message says so, naming it.
    try {
        abrirLibroXlsx(carpeta.ruta());
        ADD_FAILURE() << "no se ha rechazado";
    } catch (const ErrorTrovanel& e) {
        EXPECT_EQ(e.what(), mensajeEntrada(kNoSeAbreEntrada, carpeta.ruta(), kNoEsFicheroRegular));
    }
}

TEST(LibroXlsxDanado, unaHojaDanadaSeRechazaAlLeerlaSinPerderLasFilasAnteriores) {
    constexpr std::int64_t kUltimaFilaExcel = 1048576;
    struct Caso {
        const char* descripcion;
        std::string hoja;
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
    };
    CarpetaTemporal carpeta;
    for (const auto& caso : casos) {
        const auto ruta = carpeta / "hoja.xlsx";
        escribirZip(ruta, paquete(caso.hoja));
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
    const auto inicio = std::chrono::steady_clock::now();
    auto libro = abrirLibroXlsx(ruta);
    const auto segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    // A tenth of a second with the names indexed; compared entry by entry, well over ten seconds.
    EXPECT_LT(segundos, 3.0);
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
    // Only the reader allocates in the step, so every failure is the reader's.
    const auto desenlaces = pruebas::desenlacesConFalloDeMemoria([&] {
        auto libro = abrirLibroExcel(ruta);
        auto cursor = libro->abrirHoja("Hoja1");
        FilaHoja fila;
        while (cursor->siguiente(fila)) {
        }
        libro->ultimaFila("Hoja1");
        libro->celda("Hoja1", 3, "A");
    });
    // Wherever memory runs out, the workbook cannot be opened; with enough, it is read.
    ASSERT_GT(desenlaces.size(), 1u);
    EXPECT_EQ(desenlaces.back(), pruebas::Desenlace::leido);
    EXPECT_EQ(std::count(desenlaces.begin(), desenlaces.end(), pruebas::Desenlace::otro), 0);
    EXPECT_GT(std::count(desenlaces.begin(), desenlaces.end(), pruebas::Desenlace::noSeAbre), 0);
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
