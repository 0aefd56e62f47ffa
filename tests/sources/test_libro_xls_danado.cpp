#include "libro_excel.hpp"

#include "entradas_prueba.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libros_xls_prueba.hpp"
#include "memoria_pruebas.hpp"
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
// Damaged and hostile files.

TEST(LibroXls, UnContenedorDanadoSeRechazaAlAbrirlo) {
    const std::string flujo = flujoLibro("", {{"Datos", rkEntero(0, 0, 1)}});
    Disposicion d;
    const std::string bueno = compuesto(flujo, u"Workbook", &d);
    const std::vector<std::pair<std::string, std::function<void(std::string&)>>> casos = {
        {"cadena en bucle",
         [&](std::string& s) { ponerU32(s, d.entradaFat(d.primeroFlujo), d.primeroFlujo); }},
        {"cadena que sale del fichero",
         [&](std::string& s) { ponerU32(s, d.entradaFat(d.primeroFlujo), 100000); }},
        {"cadena corta para su tamano",
         [&](std::string& s) { ponerU32(s, d.entradaFat(d.primeroFlujo), 0xFFFFFFFE); }},
        {"flujo mini cruzado con el libro",
         [&](std::string& s) {
             ponerU32(s, d.entradaDirectorio(0) + 0x74, d.primeroFlujo);
             ponerU32(s, d.entradaDirectorio(0) + 0x78, 64);
         }},
        {"directorio en bucle", [&](std::string& s) { ponerU32(s, d.entradaDirectorio(1) + 0x44, 1); }},
        {"sin flujo de libro", [&](std::string& s) { s[d.entradaDirectorio(1)] = 'X'; }},
        {"sectores de tamano imposible", [&](std::string& s) { s.replace(0x1E, 2, u16(20)); }},
        {"tabla FAT fuera del fichero", [&](std::string& s) { ponerU32(s, 0x4C, 5000); }},
        {"mas sectores FAT que sectores", [&](std::string& s) { ponerU32(s, 0x2C, 0x7FFFFFFF); }},
    };
    CarpetaTemporal carpeta;
    EXPECT_EQ(abrirBytes(carpeta, bueno)->celda("Datos", 1, "A"), ValorCelda("1"));
    for (const auto& [nombre, danar] : casos) {
        SCOPED_TRACE(nombre);
        std::string bytes = bueno;
        danar(bytes);
        esperarNoSeAbre([&] { abrirBytes(carpeta, bytes); });
    }
}

TEST(LibroXls, UnFlujoDeLibroDanadoSeRechazaAlAbrirlo) {
    const std::string hoja = rkEntero(0, 0, 1);
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"cifrado", flujoLibro(registro(0x002F, u16(0) + u32(0)), {{"Datos", hoja}})},
        {"version desconocida", registro(0x0809, u16(0x0400) + u16(5) + u32(0)) + eof()},
        {"no empieza por el libro", bof(0x10) + eof()},
        {"registro mas largo que el flujo", bof(5) + u16(0x00E0) + u16(8000) + "xx"},
        {"registro mas largo que el maximo", bof(5) + registro(0x00E0, std::string(9000, '\0'))},
        {"hoja fuera del flujo",
         bof(5) + registro(0x0085, u32(0x00FFFFFF) + u8(0) + u8(0) + u8(1) + u8(0) + "H") + eof()},
        // It points at the EOF that closes the globals.
        {"hoja que no empieza por BOF",
         bof(5) + registro(0x0085, u32(33) + u8(0) + u8(0) + u8(1) + u8(0) + "H") + eof() + eof()},
        {"nombre de hoja cortado",
         bof(5) + registro(0x0085, u32(0) + u8(0) + u8(0) + u8(200) + u8(0) + "H") + eof()},
        {"cadena compartida cortada",
         flujoLibro(registro(0x00FC, u32(1) + u32(1) + u16(50) + u8(0) + "corta"), {{"Datos", hoja}})},
    };
    CarpetaTemporal carpeta;
    for (const auto& [nombre, flujo] : casos) {
        SCOPED_TRACE(nombre);
        esperarNoSeAbre([&] { abrirBytes(carpeta, compuesto(flujo)); });
    }
}

TEST(LibroXls, UnaHojaDanadaSeRechazaAlLeerlaYSusCeldasNoSePuedenLeer) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"columna mas alla de IV", numero(0, 256, 1)},
        {"varios numeros que pasan de IV",
         registro(0x00BD, u16(0) + u16(255) + u16(0) + u32(6) + u16(0) + u32(10) + u16(256))},
        {"cadena compartida que no existe", etiquetaSst(0, 0, 7)},
        {"numero sin su valor", registro(0x0203, u16(0) + u16(0) + u16(0) + u32(0))},
        {"celda sin fila ni columna", registro(0x0203, u16(0))},
        {"texto mas largo que su registro",
         registro(0x0204, u16(0) + u16(0) + u16(0) + u16(40) + u8(0) + "abc")},
        {"celda en blanco mas alla de IV", blanco(0, 256)},
        {"celdas en blanco que pasan de IV", blancos(0, 254, 256)},
    };
    for (const auto& [nombre, celdas] : casos) {
        SCOPED_TRACE(nombre);
        CarpetaTemporal carpeta;
        auto libro = abrirHojaUnica(carpeta, sst({{"uno", u""}}), rkEntero(0, 1, 5) + celdas);
        esperarNoSeAbre([&] { filasDe(*libro, "Datos"); });
        esperarNoSeAbre([&] { libro->ultimaFila("Datos"); });
        EXPECT_EQ(libro->celda("Datos", 1, "B"), std::nullopt);
    }
}

TEST(LibroXls, LoQueElFicheroDiceDeSiMismoNoReservaMemoria) {
    CarpetaTemporal carpeta;
    // A shared-string table that claims four thousand million strings, and a dimension of the whole grid.
    const std::string globales =
        registro(0x00FC, u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + cadenaSst({"solo", u""}));
    const std::string dimension = registro(0x0200, u32(0) + u32(65536) + u16(0) + u16(256) + u16(0));
    auto libro = abrirHojaUnica(carpeta, globales, dimension + etiquetaSst(0, 0, 0));
    EXPECT_EQ(libro->ultimaFila("Datos"), 1);
    EXPECT_EQ(libro->celda("Datos", 1, "A"), ValorCelda("solo"));
}

TEST(LibroXls, UnaListaDeHojasDesmesuradaSeRechazaSinLlenarLaMemoria) {
    // Twelve bytes of the file per sheet, many times that once read: a list past 65,536 sheets, all on
    // the one sheet, is no real workbook.
    const auto libroConHojas = [](std::uint32_t cantidad) {
        const std::string hoja = bof(0x10) + rkEntero(0, 0, 1) + eof();
        const std::size_t inicio = bof(5).size() + std::size_t{cantidad} * 12 + eof().size();
        std::string lista;
        for (std::uint32_t i = 0; i < cantidad; ++i) {
            lista +=
                registro(0x0085, u32(static_cast<std::uint32_t>(inicio)) + u8(0) + u8(0) + u8(0) + u8(0));
        }
        return compuesto(bof(5) + lista + eof() + hoja);
    };
    CarpetaTemporal carpeta;
    auto libro = abrirBytes(carpeta, libroConHojas(65536));
    EXPECT_EQ(libro->hojas().size(), 65536u);
    EXPECT_EQ(libro->celda("", 1, "A"), ValorCelda("1"));
    esperarNoSeAbre([&] { abrirBytes(carpeta, libroConHojas(65537)); });
}

// A shared-string table of `cantidad` copies of one string: the SST record and the CONTINUE records
// after it, each as full as the records' maximum allows without cutting a string.
std::string sstEnTrozos(std::uint32_t cantidad, const std::string& cadena) {
    std::string registros;
    std::string cuerpo = u32(cantidad) + u32(cantidad);
    unsigned tipo = 0x00FC;
    for (std::uint32_t i = 0; i < cantidad; ++i) {
        if (cuerpo.size() + cadena.size() > 8224) {
            registros += registro(tipo, cuerpo);
            tipo = 0x003C;
            cuerpo.clear();
        }
        cuerpo += cadena;
    }
    return registros + registro(tipo, cuerpo);
}

TEST(LibroXls, UnaTablaDeCadenasVaciasNoOcupaMasMemoriaQueElFichero) {
    // Three bytes each in the file; held as whole strings they took ten times that.
    constexpr std::uint32_t kCadenas = 300000;
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "vacias.xls";
    escribirFichero(
        ruta, compuesto(flujoLibro(sstEnTrozos(kCadenas, cadenaSst({"", u""})),
                                   {{"Datos", etiquetaSst(0, 0, 0) + etiquetaSst(1, 0, kCadenas - 1)}})));
    const std::size_t antes = pruebas::memoriaReservada();
    auto libro = abrirLibroXls(ruta);
    const std::size_t reservada = pruebas::memoriaReservada() - antes;
    // The workbook stream itself, three bytes a string, and a four-byte index each.
    EXPECT_LT(reservada, std::size_t{kCadenas} * 12);
    EXPECT_EQ(filasDe(*libro, "Datos"), (std::vector<std::string>{"1:[]", "2:[]"}));
}

TEST(LibroXls, QuedarseSinMemoriaEnCualquierPuntoDaElMensajeDeEntrada) {
    CarpetaTemporal carpeta;
    const auto ruta = carpeta / "memoria.xls";
    escribirFichero(ruta,
                    compuesto(flujoLibro(
                        sst({{"Peña", u""}, {"", u"€ Ж"}}) + formato(164, u"dd/mm/yyyy") + xf(0) + xf(164),
                        {{"Datos", etiquetaSst(0, 0, 0) + numero(0, 1, 45000, 1) + rkEntero(2, 0, 7) +
                                       etiquetaSst(2, 2, 1) + blancos(3, 0, 3)},
                         {"Otra", rkEntero(4, 4, 1) + rkEntero(0, 0, 2)}})));
    pruebas::esperarLecturaConFallosDeMemoria(ruta, {"Datos", "Otra"}, "Otra", "Datos", 3, "C");
}

} // namespace
