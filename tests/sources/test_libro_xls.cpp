#include "libro_excel.hpp"

#include "entradas_prueba.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libros_xls_prueba.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <map>
#include <random>

using namespace trovanel;
using namespace trovanel::xls_prueba;

namespace {

// ---------------------------------------------------------------------------------------------
// The sample workbooks.

TEST(LibroXls, ListaLasHojasDeCadaMuestraEnElOrdenDelLibro) {
    TROVANEL_REQUIERE_MUESTRAS();
    const std::vector<std::pair<std::string, std::vector<std::string>>> casos = {
        {"profiles.xls", {"PROFILEDEF", "AXISDEF", "TRAVERSALCHAINAGE", "AXISDATUMLEVELS", "PROFILELEVELS"}},
        {"Formate.xls", {"Blätt1", "ÖÄÜ", "Blätt3", "Formate"}},
        {"ragged.xls", {"Sheet1", "Sheet2", "Sheet3"}},
    };
    for (const auto& [fichero, hojas] : casos) {
        SCOPED_TRACE(fichero);
        EXPECT_EQ(abrirLibroXls(muestra(fichero))->hojas(), hojas);
    }
}

TEST(LibroXls, LeeLasCeldasDeLasMuestrasComoUnaHojaDeCalculo) {
    TROVANEL_REQUIERE_MUESTRAS();
    struct Caso {
        const char* fichero;
        const char* hoja;
        std::int64_t fila;
        const char* columna;
        const char* texto;
    };
    const std::vector<Caso> casos = {
        {"profiles.xls", "PROFILEDEF", 1, "A", "PROFIL"},
        {"profiles.xls", "PROFILEDEF", 2, "B", "100"},
        {"profiles.xls", "PROFILEDEF", 15, "M", "267"},
        {"profiles.xls", "AXISDEF", 15, "C", "113"},
        {"profiles.xls", "TRAVERSALCHAINAGE", 2, "C", "0,200009999999992"},
        {"profiles.xls", "TRAVERSALCHAINAGE", 2, "K", "12,4"},
        {"profiles.xls", "AXISDATUMLEVELS", 2, "B", "265,21206"},
        {"profiles.xls", "PROFILELEVELS", 1, "B", "Quergefälle"},
        // A percentage hands over its value, not the text it shows (2,50%).
        {"profiles.xls", "PROFILELEVELS", 2, "B", "0,025"},
        {"profiles.xls", "PROFILELEVELS", 12, "B", "0,017399"},
        // Formula cells: the value the spreadsheet saved with them.
        {"profiles.xls", "PROFILELEVELS", 2, "C", "265,21206"},
        {"profiles.xls", "PROFILELEVELS", 2, "V", "266,8335175"},
        {"profiles.xls", "PROFILELEVELS", 15, "T", "265,88845"},
        {"profiles.xls", "PROFILELEVELS", 2, "AD", "270,65"},
        {"Formate.xls", "Blätt1", 1, "A", "Huber"},
        {"Formate.xls", "Blätt1", 1, "B", "03/07/1907"},
        {"Formate.xls", "Blätt1", 2, "A", "Äcker"},
        {"Formate.xls", "Blätt1", 2, "B", "23/02/2005"},
        {"Formate.xls", "Blätt1", 3, "B", "03/05/1988"}, // shown as a long date with the weekday
        {"Formate.xls", "Blätt1", 4, "B", "06:34:00"},
        {"Formate.xls", "Blätt1", 5, "B", "12:56:00"},
        {"Formate.xls", "Blätt1", 6, "B", "17:47:13"}, // shown as 5:47:13 PM
        {"Formate.xls", "Blätt1", 7, "B", "0,974"},
        {"Formate.xls", "Blätt1", 8, "B", "0,124"},
        {"Formate.xls", "Blätt1", 9, "B", "1000,3"},
        {"Formate.xls", "Blätt1", 10, "B", "1,2"}, // shown as 1.20 €
        {"Formate.xls", "ÖÄÜ", 1, "A", "-100"},
        {"Formate.xls", "ÖÄÜ", 3, "C", "MERGED CELLS"},
        {"Formate.xls", "Blätt3", 12, "A", "1200"},
        {"Formate.xls", "Formate", 3, "B", "BLUE"},
        {"ragged.xls", "Sheet1", 4, "D", "j"},
        {"ragged.xls", "Sheet1", 5, "D", "l"},
    };
    std::map<std::string, std::unique_ptr<LibroExcel>> libros;
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.fichero) + " " + c.hoja + "!" + c.columna + std::to_string(c.fila));
        auto& libro = libros[c.fichero];
        if (!libro) {
            libro = abrirLibroXls(muestra(c.fichero));
        }
        EXPECT_EQ(libro->celda(c.hoja, c.fila, c.columna), ValorCelda(c.texto));
    }
}

TEST(LibroXls, LaUltimaFilaEsLaMasAltaConAlgunaCelda) {
    TROVANEL_REQUIERE_MUESTRAS();
    struct Caso {
        const char* fichero;
        const char* hoja;
        std::int64_t ultima;
    };
    const std::vector<Caso> casos = {
        {"profiles.xls", "PROFILEDEF", 15},
        {"profiles.xls", "PROFILELEVELS", 15},
        {"Formate.xls", "Blätt1", 10},
        // Its last value is in row 3, its formatted blank cells reach row 5, as its dimension says.
        {"Formate.xls", "ÖÄÜ", 5},
        // The chart embedded in the sheet has a data table of its own; its rows are no cells.
        {"Formate.xls", "Blätt3", 12},
        {"ragged.xls", "Sheet1", 5},
        {"ragged.xls", "Sheet2", 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.fichero) + " " + c.hoja);
        EXPECT_EQ(abrirLibroXls(muestra(c.fichero))->ultimaFila(c.hoja), c.ultima);
    }
}

TEST(LibroXls, LasFilasDeDistintoLargoTraenSusCeldasYLasQueFaltanVacias) {
    TROVANEL_REQUIERE_MUESTRAS();
    auto libro = abrirLibroXls(muestra("ragged.xls"));
    EXPECT_EQ(filasDe(*libro, "Sheet1"), (std::vector<std::string>{"1:[a][b][c]", "2:[d][e]", "3:[f]",
                                                                   "4:[g][h][I][j]", "5:[k][][][l]"}));
    EXPECT_EQ(libro->celda("Sheet1", 2, "C"), ValorCelda(""));
    EXPECT_EQ(libro->celda("Sheet1", 5, "B"), ValorCelda(""));
    EXPECT_EQ(libro->celda("Sheet1", 6, "A"), ValorCelda(""));
    EXPECT_TRUE(filasDe(*libro, "Sheet3").empty());
}

TEST(LibroXls, LasFilasSinCeldasNoSeRecorren) {
    TROVANEL_REQUIERE_MUESTRAS();
    auto libro = abrirLibroXls(muestra("Formate.xls"));
    // Rows 2, 4 and 5 hold only formatted blank cells, C to E.
    EXPECT_EQ(filasDe(*libro, "ÖÄÜ"),
              (std::vector<std::string>{"1:[-100][][][][]", "2:[][][][][]", "3:[][][MERGED CELLS][][]",
                                        "4:[][][][][]", "5:[][][][][]"}));
    CarpetaTemporal carpeta;
    auto escrito = abrirHojaUnica(carpeta, "", rkEntero(0, 0, 1) + rkEntero(3, 1, 4));
    EXPECT_EQ(filasDe(*escrito, "Datos"), (std::vector<std::string>{"1:[1]", "4:[][4]"}));
}

TEST(LibroXls, LasCeldasEnBlancoConFormatoCuentanComoCeldasVacias) {
    CarpetaTemporal carpeta;
    auto libro =
        abrirHojaUnica(carpeta, "", rkEntero(0, 0, 1) + blanco(2, 1) + blancos(4, 0, 2) + rkEntero(4, 1, 7));
    // As a spreadsheet's used range: the last row is the highest holding any cell, blank or not.
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[1]", "3:[][]", "5:[][7][]"}));
    EXPECT_EQ(libro->ultimaFila("Datos"), 5);
    EXPECT_EQ(libro->celda("Datos", 5, "C"), ValorCelda(""));
    EXPECT_EQ(libro->celda("Datos", 5, "B"), ValorCelda("7"));
}

TEST(LibroXls, LasLetrasDeColumnaSeLeenSinMayusculasNiBlancosHastaIV) {
    TROVANEL_REQUIERE_MUESTRAS();
    auto libro = abrirLibroXls(muestra("profiles.xls"));
    // Past IV (IW, XFD) no column exists in the format.
    const std::vector<std::pair<const char*, ValorCelda>> casos = {
        {"A", "PROFIL"},     {"b", "a"},           {" m ", "l"},          {"N", ""},
        {"IV", ""},          {"", std::nullopt},   {"   ", std::nullopt}, {"A1", std::nullopt},
        {"1", std::nullopt}, {"IW", std::nullopt}, {"XFD", std::nullopt},
    };
    for (const auto& [letras, esperado] : casos) {
        SCOPED_TRACE(letras);
        EXPECT_EQ(libro->celda("PROFILEDEF", 1, letras), esperado);
    }
    // Rows are numbered from 1 to 65536, as far as a sheet of the format goes.
    const std::pair<std::int64_t, ValorCelda> filas[] = {
        {0, std::nullopt}, {65536, ""}, {65537, std::nullopt}, {70000, std::nullopt}};
    for (const auto& [fila, esperado] : filas) {
        EXPECT_EQ(libro->celda("PROFILEDEF", fila, "A"), esperado) << fila;
    }
}

TEST(LibroXls, LasHojasSeBuscanSinDistinguirMayusculasYLaQueNoExisteNoSeAbre) {
    TROVANEL_REQUIERE_MUESTRAS();
    auto libro = abrirLibroXls(muestra("profiles.xls"));
    EXPECT_EQ(libro->celda("axisdef", 1, "A"), ValorCelda("PROFIL"));
    esperarNoSeAbre([&] { libro->abrirHoja("NOEXISTE"); });
    EXPECT_EQ(libro->celda("NOEXISTE", 1, "A"), std::nullopt);
}

TEST(LibroXls, ElLibroDanadoDeMuestraSeRechazaConElMensajeDeEntrada) {
    TROVANEL_REQUIERE_MUESTRAS();
    // Its mini stream's sector chain runs on into the workbook's own sectors.
    esperarNoSeAbre([] { abrirLibroXls(muestra("corrupted_error.xls")); });
    esperarNoSeAbre([] { abrirLibroExcel(muestra("corrupted_error.xls")); });
}

TEST(LibroXls, ElDespachadorEligeElLectorXlsPorElContenido) {
    TROVANEL_REQUIERE_MUESTRAS();
    CarpetaTemporal carpeta;
    const auto copia = carpeta / "sin_extension.dat";
    std::filesystem::copy_file(muestra("profiles.xls"), copia);
    for (const auto& ruta : {muestra("profiles.xls"), copia}) {
        auto libro = abrirLibroExcel(ruta);
        EXPECT_EQ(libro->hojas().size(), 5u);
        EXPECT_EQ(libro->celda("PROFILELEVELS", 2, "C"), ValorCelda("265,21206"));
    }
    EXPECT_EQ(abrirLibroExcel(muestra("Formate.xls"))->celda("Blätt1", 2, "B"), ValorCelda("23/02/2005"));
}

TEST(LibroXls, LoQueNoEsUnLibroLegibleSeRechaza) {
    TROVANEL_REQUIERE_MUESTRAS();
    CarpetaTemporal carpeta;
    const std::string aleatorio = pruebas::bytesAlAzar(20000, 20030102);
    const std::string perfiles = leerFichero(muestra("profiles.xls"));
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"vacio", ""},
        {"aleatorio", aleatorio},
        {"aleatorio con firma", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + aleatorio},
        {"cortado en la cabecera", perfiles.substr(0, 300)},
        {"cortado tras la cabecera", perfiles.substr(0, 512)},
        {"cortado a un octavo", perfiles.substr(0, perfiles.size() / 8)},
        {"cortado a la mitad", perfiles.substr(0, perfiles.size() / 2)},
        {"cortado a tres cuartos", perfiles.substr(0, perfiles.size() * 3 / 4)},
    };
    for (const auto& [nombre, bytes] : casos) {
        SCOPED_TRACE(nombre);
        const auto ruta = carpeta / (nombre + ".xls");
        escribirFichero(ruta, bytes);
        esperarNoSeAbre([&] { abrirLibroXls(ruta); });
    }
    esperarNoSeAbre([&] { abrirLibroXls(carpeta / "no_existe.xls"); });
    pruebas::esperarCarpetaRechazada([](const std::filesystem::path& r) { abrirLibroXls(r); }, carpeta);
}

// ---------------------------------------------------------------------------------------------
// Written workbooks.

TEST(LibroXls, LasFormulasDanElValorGuardadoConEllas) {
    CarpetaTemporal carpeta;
    auto libro = abrirHojaUnica(
        carpeta, xf(0) + xf(14),
        formula(0, 0, f64(12.5)) + formula(0, 1, resultadoNoNumerico(0, 0)) + cadenaFormula("total") +
            formula(0, 2, resultadoNoNumerico(1, 1)) + formula(0, 3, resultadoNoNumerico(1, 0)) +
            formula(0, 4, resultadoNoNumerico(2, 0x07)) + formula(0, 5, resultadoNoNumerico(3, 0)) +
            formula(0, 6, f64(37623), 1) + formula(0, 7, resultadoNoNumerico(0, 0)));
    EXPECT_EQ(filasDe(*libro, "Datos"),
              (std::vector<std::string>{"1:[12,5][total][Verdadero][Falso][#][][02/01/2003][]"}));
    EXPECT_EQ(libro->celda("Datos", 1, "E"), std::nullopt);
    // Only a number (a date is one too) may have lost the leading zeros of a code.
    FilaHoja fila;
    ASSERT_TRUE(libro->abrirHoja("Datos")->siguiente(fila));
    EXPECT_EQ(fila.numericas, (std::vector<bool>{true, false, false, false, false, false, true, false}));
}

TEST(LibroXls, LosBooleanosSeLeenVerdaderoYFalsoYLosErroresNoSePuedenLeer) {
    CarpetaTemporal carpeta;
    auto libro = abrirHojaUnica(carpeta, "",
                                booleroError(0, 0, 1, false) + booleroError(0, 1, 0, false) +
                                    booleroError(0, 2, 0x07, true) + booleroError(0, 3, 0x2A, true));
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[Verdadero][Falso][#][#]"}));
    EXPECT_EQ(libro->celda("Datos", 1, "C"), std::nullopt);
    EXPECT_EQ(libro->celda("Datos", 1, "E"), ValorCelda(""));
}

TEST(LibroXls, ElFormatoDeLaCeldaDecideSiSuNumeroEsUnaFecha) {
    struct Caso {
        const char* nombre;
        unsigned ifmt;
        std::u16string formatoPropio; // empty: the built-in format ifmt
        double valor;
        const char* texto;
    };
    const std::vector<Caso> casos = {
        {"fecha incorporada", 14, u"", 37623, "02/01/2003"},
        {"fecha y hora incorporada", 22, u"", 37623.5208333333333, "02/01/2003 12:30:00"},
        {"hora incorporada", 20, u"", 0.5, "12:00:00"},
        {"hora con segundos incorporada", 21, u"", 0.75, "18:00:00"},
        {"general", 0, u"", 37623, "37623"},
        {"porcentaje", 10, u"", 0.125, "0,125"},
        {"moneda incorporada", 7, u"", 1.23456789, "1,2346"},
        {"fecha propia", 164, u"dd/mm/yyyy hh:mm", 37623.25, "02/01/2003 06:00:00"},
        {"fecha larga en castellano", 165, u"[$-C0A]dddd, d\" de \"mmmm\" de \"yyyy", 37623, "02/01/2003"},
        {"horas transcurridas", 166, u"[h]:mm", 0.75, "18:00:00"},
        {"texto entre comillas con letras de fecha", 167, u"0.00 \"d\u00edas\"", 3, "3"},
        {"letra escapada", 168, u"0\\h", 2.5, "2,5"},
        {"color y decimales", 169, u"[Red]#,##0.00;[Blue]-#,##0.00", 1234.5, "1234,5"},
        {"cientifico", 170, u"0.00E+00", 1500, "1500"},
        {"euros", 171, u"#,##0.00 [$\u20AC-C0A]", 9.87654321, "9,8765"},
        {"euros entre comillas", 172, u"#,##0.00 \"\u20AC\"", 9.87654321, "9,8765"},
        {"fecha negativa", 14, u"", -1, "-1"},
        {"fecha fuera del calendario", 14, u"", 3000000, "3000000"},
        {"ultimo dia del calendario", 14, u"", 2958465, "31/12/9999"},
        {"fecha y hora pasado el calendario", 22, u"", 2958466.5, "2958466,5"},
        {"fecha y hora negativa", 22, u"", -1.25, "-1,25"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        CarpetaTemporal carpeta;
        std::string globales = xf(0) + xf(c.ifmt);
        if (!c.formatoPropio.empty()) {
            globales = formato(c.ifmt, c.formatoPropio) + globales;
        }
        auto libro = abrirHojaUnica(carpeta, globales, numero(0, 0, c.valor, 1));
        EXPECT_EQ(libro->celda("Datos", 1, "A"), ValorCelda(c.texto));
    }
}

TEST(LibroXls, UnLibroConFechasDesde1904LasLeeEnSuCalendario) {
    CarpetaTemporal carpeta;
    // Its calendar ends 1,462 days earlier in serials: 2957003 is 31/12/9999, the next no date.
    auto libro = abrirHojaUnica(carpeta, registro(0x0022, u16(1)) + xf(0) + xf(14) + xf(22),
                                numero(0, 0, 36161, 1) + numero(0, 1, 36161.75, 2) + numero(0, 2, 36161) +
                                    numero(0, 3, 2957003, 1) + numero(0, 4, 2957004, 1));
    EXPECT_EQ(filasDe(*libro, "Datos"),
              (std::vector<std::string>{"1:[02/01/2003][02/01/2003 18:00:00][36161][31/12/9999][2957004]"}));
}

TEST(LibroXls, LosNumerosRkSeLeenEnterosYEnCentesimas) {
    CarpetaTemporal carpeta;
    auto rk = [](unsigned col, std::uint32_t valor) {
        return registro(0x027E, u16(0) + u16(col) + u16(0) + u32(valor));
    };
    // 150 as a whole number, 1.5 as hundredths, 2.5 as a cut double, 0.025 as a cut double in hundredths.
    const auto dobleCortado = [](double v) {
        return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(v) >> 32);
    };
    auto libro = abrirHojaUnica(carpeta, "",
                                rk(0, (150u << 2) | 2) + rk(1, (150u << 2) | 3) + rk(2, dobleCortado(2.5)) +
                                    rk(3, dobleCortado(2.5) | 1) + rkEntero(0, 4, -7) +
                                    registro(0x00BD, u16(0) + u16(5) + u16(0) + u32((3u << 2) | 2) + u16(0) +
                                                         u32((4u << 2) | 2) + u16(6)));
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[150][1,5][2,5][0,025][-7][3][4]"}));
    FilaHoja fila;
    ASSERT_TRUE(libro->abrirHoja("Datos")->siguiente(fila));
    EXPECT_EQ(fila.numericas, std::vector<bool>(7, true));
}

TEST(LibroXls, LosTextosSeConviertenAWindows1252) {
    CarpetaTemporal carpeta;
    // A string whose characters a CONTINUE record cuts: compressed before, wide after.
    const std::string rica = u16(4) + u8(0x08) + u16(2) + "Rico" + u32(0) + u32(0x00010002);
    const std::string extendida = u16(3) + u8(0x04) + u32(5) + "Ext" + std::string(5, '\x7F');
    // The last string starts in the table's record and ends in its CONTINUE.
    std::string globales =
        registro(0x00FC, u32(5) + u32(5) + cadenaSst({"Peña", u""}) + cadenaSst({"", u"€ Ж"}) + rica +
                             extendida + u16(6) + u8(0) + "Año ") +
        registro(0x003C, u8(1) + utf16(u"€5"));
    auto libro = abrirHojaUnica(
        carpeta, globales,
        etiquetaSst(0, 0, 0) + etiquetaSst(0, 1, 1) + etiquetaSst(0, 2, 2) + etiquetaSst(0, 3, 3) +
            etiquetaSst(0, 4, 4) +
            registro(0x0204, u16(1) + u16(0) + u16(0) + u16(4) + u8(1) + utf16(u"ñ€\u0416\u0141")));
    EXPECT_EQ(filasDe(*libro, "Datos"),
              (std::vector<std::string>{"1:[Peña][€ \x1A][Rico][Ext][Año €5]", "2:[ñ€\x1AL]"}));
}

TEST(LibroXls, LasFilasDesordenadasSeEntreganEnOrdenYLaUltimaEscrituraGana) {
    CarpetaTemporal carpeta;
    auto libro = abrirHojaUnica(carpeta, "",
                                rkEntero(4, 0, 5) + rkEntero(0, 1, 12) + rkEntero(2, 0, 3) +
                                    rkEntero(0, 0, 10) + rkEntero(0, 0, 11));
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[11][12]", "3:[3]", "5:[5]"}));
    EXPECT_EQ(libro->ultimaFila("Datos"), 5);
}

TEST(LibroXls, UnGraficoIncrustadoEnLaHojaNoAnadeCeldas) {
    CarpetaTemporal carpeta;
    auto libro = abrirHojaUnica(
        carpeta, "", rkEntero(0, 0, 1) + bof(0x20) + rkEntero(8, 0, 99) + eof() + rkEntero(1, 0, 2));
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[1]", "2:[2]"}));
}

TEST(LibroXls, SoloSeListanLasHojasDeCalculoOcultasIncluidas) {
    CarpetaTemporal carpeta;
    auto libro = abrirBytes(carpeta, compuesto(flujoLibro("", {{"Datos", rkEntero(0, 0, 1)},
                                                               {"Gráfico", "", 2, 0x20},
                                                               {"Macros", "", 1, 0x40},
                                                               {"Cuadro", "", 0, 0x20},
                                                               {"Oculta", rkEntero(0, 0, 2), 0, 0x10, 1}})));
    EXPECT_EQ(libro->hojas(), (std::vector<std::string>{"Datos", "Oculta"}));
    EXPECT_EQ(libro->celda("Oculta", 1, "A"), ValorCelda("2"));
}

TEST(LibroXls, UnaHojaDeMasDe32767FilasSeLeeEntera) {
    CarpetaTemporal carpeta;
    std::string celdas;
    for (unsigned fila = 0; fila < 40000; ++fila) {
        celdas += rkEntero(fila, 0, static_cast<std::int32_t>(fila + 1));
    }
    auto libro = abrirHojaUnica(carpeta, "", celdas);
    EXPECT_EQ(libro->ultimaFila("Datos"), 40000);
    EXPECT_EQ(libro->celda("Datos", 40000, "A"), ValorCelda("40000"));
    auto cursor = libro->abrirHoja("Datos");
    FilaHoja fila;
    std::int64_t esperada = 0;
    while (cursor->siguiente(fila)) {
        ASSERT_EQ(fila.numero, ++esperada);
        ASSERT_EQ(fila.celdas.size(), 1u);
    }
    EXPECT_EQ(esperada, 40000);
}

TEST(LibroXls, UnLibroBiff5SeLeeConSuPaginaDeCodigos) {
    struct Caso {
        unsigned pagina;
        std::string bytes;
        const char* texto;
    };
    // 0xE9 is é in Windows-1250 and Windows-1252; 0xB9 is the Polish ą, which Windows-1252 lacks: its base
    // letter. Windows-1250 leaves 0x81 undefined. The sheet name's É is 0xC9 in both.
    const std::vector<Caso> casos = {{1252, "Peña", "Peña"}, {1250, "\xE9\xB9\x81", "éa\x1A"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.pagina);
        CarpetaTemporal carpeta;
        const std::string celdas =
            registro(0x0204,
                     u16(0) + u16(0) + u16(0) + u16(static_cast<unsigned>(c.bytes.size())) + c.bytes) +
            numero(0, 1, 12.5);
        const std::string flujo = flujoLibro(registro(0x0042, u16(c.pagina)), {{"Éxito", celdas}}, false);
        auto libro = abrirBytes(carpeta, compuesto(flujo, u"Book"));
        EXPECT_EQ(libro->hojas(), std::vector<std::string>{"Éxito"});
        EXPECT_EQ(filasDe(*libro, "Éxito"),
                  std::vector<std::string>{"1:[" + std::string(c.texto) + "][12,5]"});
    }
}

} // namespace
