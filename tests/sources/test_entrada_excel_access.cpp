#include "entrada_excel_access.hpp"

#include "libro_excel.hpp"
#include "memoria_pruebas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::Desenlace;
using Mensajes = std::vector<AvisosGrabados::Mensaje>;

void libroXlsx(const fs::path& ruta) {
    lxw_workbook* libro = workbook_new(ruta.c_str());
    ASSERT_NE(libro, nullptr);
    lxw_worksheet* hoja = workbook_add_worksheet(libro, "Cobros");
    lxw_format* fecha = workbook_add_format(libro);
    format_set_num_format(fecha, "dd/mm/yyyy");
    worksheet_write_string(hoja, 0, 0, "Titular", nullptr);
    worksheet_write_number(hoja, 1, 0, 45000, fecha);
    workbook_add_worksheet(libro, "Pagos");
    ASSERT_EQ(workbook_close(libro), LXW_NO_ERROR);
}

void baseSqlite(const fs::path& ruta) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ruta.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE recibos (importe REAL); CREATE TABLE clientes (nombre TEXT)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

// One call, with what it left behind.
struct Llamada {
    LibroEntrada libro;
    AvisosGrabados avisos;
    std::optional<std::vector<std::string>> nombres;
};

// Makes the call with each of its allocations failing in turn; everything around the call is made and
// checked with memory back.
void conCadaFalloDeMemoria(const std::function<void(Llamada&)>& preparar,
                           const std::function<void(Llamada&)>& llamar,
                           const std::vector<std::string>& esperados, const Mensajes& rechazo) {
    std::size_t rechazos = 0;
    for (std::size_t enesima = 1; enesima < 100000; ++enesima) {
        Llamada llamada;
        preparar(llamada);
        Desenlace desenlace;
        bool ocurrido = false;
        {
            pruebas::FalloDeMemoria fallo(enesima);
            desenlace = pruebas::desenlaceDe([&] { llamar(llamada); });
            ocurrido = fallo.ocurrido();
        }
        // Nothing escapes: the callers of these functions only expect the message.
        ASSERT_EQ(desenlace, Desenlace::leido) << "falla la reserva " << enesima;
        if (llamada.nombres) {
            EXPECT_EQ(*llamada.nombres, esperados) << enesima;
            EXPECT_TRUE(llamada.avisos.mensajes.empty()) << enesima;
        } else {
            ++rechazos;
            EXPECT_TRUE(ocurrido) << enesima;
            EXPECT_EQ(llamada.avisos.mensajes, rechazo) << enesima;
            // A workbook that could not be opened is never taken for an open one.
            EXPECT_FALSE(llamada.libro.gLibroAbierto) << enesima;
            EXPECT_EQ(llamada.libro.gLibroExcel, nullptr) << enesima;
        }
        if (!ocurrido) {
            break;
        }
    }
    EXPECT_GT(rechazos, 0u);
}

TEST(EntradaExcelAccess, sinMemoriaParaAbrirUnLibroDaElMensajeDeEntradaYLoDejaCerrado) {
    TROVANEL_REQUIERE_MUESTRAS();
    CarpetaTemporal carpeta;
    const fs::path xlsx = carpeta / "cobros.xlsx";
    libroXlsx(xlsx);
    const fs::path xls = pruebas::carpetaMuestras() / "excel" / "ragged.xls";
    const Mensajes rechazo = {{"critico", kNoSeAbreEntrada}};
    struct Caso {
        fs::path ruta;
        std::vector<std::string> hojas;
    };
    for (const auto& [ruta, hojas] :
         {Caso{xlsx, {"Cobros", "Pagos"}}, Caso{xls, {"Sheet1", "Sheet2", "Sheet3"}}}) {
        SCOPED_TRACE(ruta.filename().string());
        conCadaFalloDeMemoria([](Llamada&) {},
                              [&](Llamada& l) { l.nombres = AbrirLibroExcel(l.libro, l.avisos, ruta); },
                              hojas, rechazo);
        conCadaFalloDeMemoria([&](Llamada& l) { l.libro.gRutaLibro = ruta.string(); },
                              [](Llamada& l) {
                                  AbrirLibroExcelRuta(l.libro, l.avisos);
                                  if (l.libro.gLibroAbierto) {
                                      l.nombres.emplace();
                                  }
                              },
                              {}, rechazo);
    }
}

TEST(EntradaExcelAccess, sinMemoriaParaListarLasTablasDaElErrorDeEntrada) {
    CarpetaTemporal carpeta;
    const fs::path ruta = carpeta / "origen.sqlite";
    baseSqlite(ruta);
    conCadaFalloDeMemoria([](Llamada&) {},
                          [&](Llamada& l) { l.nombres = ListarTablasAccess("recibos", l.avisos, ruta); },
                          {"recibos", "clientes"}, {{"critico", std::string("Error: ") + kNoSeAbreEntrada}});
}

} // namespace
} // namespace trovanel
