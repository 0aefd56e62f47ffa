#include "error.hpp"
#include "libro_excel.hpp"
#include "libros_xlsx_prueba.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::CarpetaTemporal;
using namespace xlsx_prueba;

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
         "\x1Amega \x1A\x1A"},
        {"letras latinas fuera de Windows-1252",
         [](LibroGenerado&, lxw_worksheet* h, lxw_row_t f) {
             worksheet_write_string(h, f, 1, utf8(u8"ŁUKASZ ȘTEFAN MIHĂILĂ Szőke"), nullptr);
         },
         "LUKASZ STEFAN MIHAILA Szoke"},
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
        {"caracter fuera de Windows-1252", R"(<c r="B{}" t="s"><v>4</v></c>)", "\x1A€&"},
        {"letra con marca combinable",
         "<c r=\"B{}\" t=\"inlineStr\"><is><t>JOSE\xCC\x81 \xC5\x81</t></is></c>", "JOSÉ L"},
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

} // namespace
} // namespace trovanel
