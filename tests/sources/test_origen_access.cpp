#include "origen_access.hpp"

#include "entradas_prueba.hpp"
#include "error.hpp"
#include "soporte_pruebas.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

fs::path accesoCompartido(const std::string& nombre) {
    return pruebas::carpetaMuestras() / "access" / nombre;
}

std::vector<std::vector<ValorColumna>> leerTodo(CursorTabla& cursor) {
    std::vector<std::vector<ValorColumna>> filas;
    std::vector<ValorColumna> valores;
    while (cursor.siguiente(valores)) {
        filas.push_back(valores);
    }
    return filas;
}

std::vector<std::optional<std::string>> textos(const std::vector<ValorColumna>& valores) {
    std::vector<std::optional<std::string>> resultado;
    for (const ValorColumna& valor : valores) {
        resultado.push_back(valor.texto);
    }
    return resultado;
}

// Opens the source and reads every row of every table it lists.
void leerEntera(const fs::path& ruta) {
    auto origen = abrirOrigenAccess(ruta);
    for (const std::string& tabla : origen->tablas()) {
        origen->columnas(tabla);
        auto cursor = origen->abrirTabla(tabla);
        leerTodo(*cursor);
    }
}

// The message of the error the step throws; a step that throws none fails the test.
template <typename Paso> std::string errorDe(Paso paso) {
    try {
        paso();
    } catch (const ErrorTrovanel& e) {
        return e.what();
    }
    ADD_FAILURE() << "se esperaba un error";
    return {};
}

// No helper process is left running or unreaped.
bool sinProcesosHijos() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Shortens the silence a reading may keep before it counts as stuck, for the time of one test.
class PlazoCorto {
public:
    explicit PlazoCorto(const char* milisegundos) {
        if (const char* anterior = std::getenv(kVariable)) {
            anterior_ = anterior;
        }
        ::setenv(kVariable, milisegundos, 1);
    }
    PlazoCorto(const PlazoCorto&) = delete;
    PlazoCorto& operator=(const PlazoCorto&) = delete;
    ~PlazoCorto() {
        if (anterior_) {
            ::setenv(kVariable, anterior_->c_str(), 1);
        } else {
            ::unsetenv(kVariable);
        }
    }

private:
    static constexpr const char* kVariable = "TROVANEL_PLAZO_ACCESS_MS";
    std::optional<std::string> anterior_;
};

// ---------------------------------------------------------------------------------------------------
// Access files: Jet 3, Jet 4 and ACE hold the same four tables.

class FicheroAccess : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { TROVANEL_REQUIERE_MUESTRAS(); }
    fs::path ruta() const { return accesoCompartido(GetParam()); }
};

TEST_P(FicheroAccess, listaSoloLasTablasDeUsuarioEnElOrdenDelFichero) {
    auto origen = abrirOrigenAccess(ruta());
    EXPECT_THAT(origen->tablas(), ElementsAre("Table1", "Table2", "Table3", "Table4"));
}

TEST_P(FicheroAccess, laTabla1TieneLasColumnasDeLaAALaI) {
    auto origen = abrirOrigenAccess(ruta());
    EXPECT_THAT(origen->columnas("Table1"), ElementsAre("A", "B", "C", "D", "E", "F", "G", "H", "I"));
    auto cursor = origen->abrirTabla("Table1");
    EXPECT_THAT(cursor->columnas(), ElementsAre("A", "B", "C", "D", "E", "F", "G", "H", "I"));
}

TEST_P(FicheroAccess, lasFilasDeLaTabla1SeLeenComoTextoConAjustesEspanoles) {
    auto origen = abrirOrigenAccess(ruta());
    auto cursor = origen->abrirTabla("Table1");
    const auto filas = leerTodo(*cursor);
    ASSERT_EQ(filas.size(), 2u);
    // The row order differs between the files: each row is found by column A.
    std::map<std::string, std::vector<ValorColumna>> porA;
    for (const auto& fila : filas) {
        ASSERT_EQ(fila.size(), 9u);
        ASSERT_TRUE(fila[0].texto.has_value());
        porA[*fila[0].texto] = fila;
    }
    ASSERT_EQ(porA.count("a"), 1u);
    ASSERT_EQ(porA.count("abcdefg"), 1u);
    EXPECT_THAT(textos(porA["a"]), ElementsAre("a", "b", "0", "0", "0", "0", "12/12/1981", "0", "Falso"));
    EXPECT_THAT(textos(porA["abcdefg"]), ElementsAre("abcdefg", "hijklmnop", "2", "222", "333333333",
                                                     "444,555", "21/09/1974", "3,5", "Verdadero"));
}

TEST_P(FicheroAccess, soloLaColumnaDobleDaSuNumeroDeComaFlotante) {
    auto origen = abrirOrigenAccess(ruta());
    auto cursor = origen->abrirTabla("Table1");
    const int f = cursor->columna("F");
    ASSERT_EQ(f, 5);
    for (const auto& fila : leerTodo(*cursor)) {
        for (int i = 0; i < static_cast<int>(fila.size()); ++i) {
            EXPECT_EQ(fila[static_cast<std::size_t>(i)].esComaFlotante, i == f) << "columna " << i;
        }
        const double esperado = *fila[0].texto == "a" ? 0.0 : 444.555;
        EXPECT_DOUBLE_EQ(fila[static_cast<std::size_t>(f)].numero, esperado);
    }
}

TEST_P(FicheroAccess, laTabla2TieneOchentaYNueveColumnasYNingunaFila) {
    auto origen = abrirOrigenAccess(ruta());
    std::vector<std::string> esperadas;
    for (int i = 1; i <= 89; ++i) {
        esperadas.push_back("column" + std::to_string(i));
    }
    EXPECT_EQ(origen->columnas("Table2"), esperadas);
    auto cursor = origen->abrirTabla("Table2");
    EXPECT_EQ(cursor->columnas(), esperadas);
    EXPECT_TRUE(leerTodo(*cursor).empty());
}

TEST_P(FicheroAccess, tablasYColumnasSeBuscanSinDistinguirMayusculas) {
    auto origen = abrirOrigenAccess(ruta());
    EXPECT_THAT(origen->columnas("TABLE3"), ElementsAre("a", "b"));
    auto cursor = origen->abrirTabla("table1");
    EXPECT_EQ(cursor->columna("f"), 5);
    EXPECT_EQ(cursor->columna("i"), 8);
    EXPECT_EQ(cursor->columna("Z"), -1);
    EXPECT_EQ(leerTodo(*cursor).size(), 2u);
}

TEST_P(FicheroAccess, unaTablaQueNoExisteSeRechazaConSuNombre) {
    auto origen = abrirOrigenAccess(ruta());
    EXPECT_THAT(errorDe([&] { origen->abrirTabla("Clientes"); }), HasSubstr("Clientes"));
    EXPECT_THROW(origen->columnas("Clientes"), ErrorTrovanel);
}

TEST_P(FicheroAccess, elCursorSigueLeyendoAunqueSeCierreElOrigen) {
    auto origen = abrirOrigenAccess(ruta());
    auto cursor = origen->abrirTabla("Table1");
    origen.reset();
    EXPECT_EQ(leerTodo(*cursor).size(), 2u);
}

TEST_P(FicheroAccess, dosCursoresAbiertosALaVezLeenCadaUnoSusFilas) {
    auto origen = abrirOrigenAccess(ruta());
    auto primero = origen->abrirTabla("Table1");
    auto segundo = origen->abrirTabla("Table1");
    std::vector<ValorColumna> a;
    std::vector<ValorColumna> b;
    ASSERT_TRUE(primero->siguiente(a));
    EXPECT_EQ(origen->columnas("Table4").size(), 2u);
    ASSERT_TRUE(segundo->siguiente(b));
    EXPECT_EQ(textos(a), textos(b));
    ASSERT_TRUE(primero->siguiente(a));
    ASSERT_TRUE(segundo->siguiente(b));
    EXPECT_EQ(textos(a), textos(b));
    EXPECT_FALSE(primero->siguiente(a));
    EXPECT_FALSE(segundo->siguiente(b));
    EXPECT_FALSE(primero->siguiente(a));
}

TEST_P(FicheroAccess, unCursorAbandonadoAMitadNoDejaProcesosAtras) {
    {
        auto origen = abrirOrigenAccess(ruta());
        auto cursor = origen->abrirTabla("Table1");
        std::vector<ValorColumna> valores;
        ASSERT_TRUE(cursor->siguiente(valores));
    }
    EXPECT_TRUE(sinProcesosHijos());
}

INSTANTIATE_TEST_SUITE_P(OrigenAccess, FicheroAccess,
                         testing::Values("jet3-test.mdb", "jet4-test.mdb", "ace-test.accdb"),
                         [](const testing::TestParamInfo<const char*>& caso) {
                             std::string nombre;
                             for (const char* c = caso.param; *c != '\0' && *c != '-'; ++c) {
                                 nombre.push_back(*c);
                             }
                             return nombre;
                         });

TEST(OrigenAccess, unaBaseAceVaciaNoListaNingunaTabla) {
    TROVANEL_REQUIERE_MUESTRAS();
    auto origen = abrirOrigenAccess(accesoCompartido("ace-empty.accdb"));
    EXPECT_TRUE(origen->tablas().empty());
    EXPECT_THROW(origen->abrirTabla("MSysNoExiste"), ErrorTrovanel);
}

TEST(OrigenAccess, unaBaseQueNoExisteSeRechazaSinCrearFichero) {
    pruebas::CarpetaTemporal carpeta;
    const fs::path ruta = carpeta / "no_existe.mdb";
    EXPECT_THAT(errorDe([&] { abrirOrigenAccess(ruta); }), HasSubstr(ruta.string()));
    EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), 0u);
}

TEST(OrigenAccess, unFicheroDeBytesAlAzarSeRechazaComoNoAccess) {
    pruebas::CarpetaTemporal carpeta;
    const std::string bytes = pruebas::bytesAlAzar(64 * 1024, 20240611);
    const fs::path ruta = carpeta / "azar.mdb";
    pruebas::escribirFichero(ruta, bytes);
    EXPECT_THAT(errorDe([&] { abrirOrigenAccess(ruta); }), HasSubstr("no es una base de datos de Access"));
}

TEST(OrigenAccess, unaCabeceraJetSeguidaDeBasuraSeRechazaComoDanada) {
    TROVANEL_REQUIERE_MUESTRAS();
    pruebas::CarpetaTemporal carpeta;
    const std::string original = pruebas::leerFichero(accesoCompartido("jet4-test.mdb"));
    std::mt19937 azar(7);
    for (int caso = 0; caso < 8; ++caso) {
        // The header page is kept, so the file gets past the first look and into the catalog.
        std::string bytes = original.substr(0, 4096);
        bytes.resize(4096 * (4 + static_cast<std::size_t>(caso) * 8));
        for (std::size_t i = 4096; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>(azar());
        }
        const fs::path ruta = carpeta / ("basura" + std::to_string(caso) + ".mdb");
        pruebas::escribirFichero(ruta, bytes);
        EXPECT_THAT(errorDe([&] { leerEntera(ruta); }), HasSubstr("está dañada")) << "caso " << caso;
    }
    EXPECT_TRUE(sinProcesosHijos());
}

TEST(OrigenAccess, unaCopiaTruncadaDaErrorEnLoQuePierdeYLeeLoDemas) {
    TROVANEL_REQUIERE_MUESTRAS();
    pruebas::CarpetaTemporal carpeta;
    const std::string original = pruebas::leerFichero(accesoCompartido("jet4-test.mdb"));
    const fs::path ruta = carpeta / "truncada.mdb";

    // Half the pages: the catalog and Table1 survive, Table3 lies in the lost half.
    pruebas::escribirFichero(ruta, original.substr(0, 386 * 4096));
    auto origen = abrirOrigenAccess(ruta);
    EXPECT_THAT(origen->tablas(), ElementsAre("Table1", "Table2", "Table3", "Table4"));
    auto cursor = origen->abrirTabla("Table1");
    EXPECT_EQ(leerTodo(*cursor).size(), 2u);
    EXPECT_THAT(errorDe([&] { origen->abrirTabla("Table3"); }), HasSubstr("está dañada"));

    // Cut inside the catalog, at a page boundary or not: the file is refused when it is opened.
    for (std::size_t largo : {std::size_t{10 * 4096}, std::size_t{20 * 4096 + 100}, std::size_t{5000}}) {
        pruebas::escribirFichero(ruta, original.substr(0, largo));
        EXPECT_THAT(errorDe([&] { leerEntera(ruta); }), HasSubstr("está dañada")) << largo;
    }
}

TEST(OrigenAccess, unaTablaSinSusPaginasDeDatosNoSeLeeComoVacia) {
    TROVANEL_REQUIERE_MUESTRAS();
    pruebas::CarpetaTemporal carpeta;
    // In this Jet 3 file Table1's definition survives the cut but its data page does not.
    const std::string original = pruebas::leerFichero(accesoCompartido("jet3-test.mdb"));
    const fs::path ruta = carpeta / "sin_datos.mdb";
    pruebas::escribirFichero(ruta, original.substr(0, 31 * 2048));
    auto origen = abrirOrigenAccess(ruta);
    EXPECT_THROW(leerTodo(*origen->abrirTabla("Table1")), ErrorTrovanel);
}

TEST(OrigenAccess, unCatalogoQueLaLecturaRecorreSinFinAcabaEnError) {
    TROVANEL_REQUIERE_MUESTRAS();
    // One byte of the catalog's property data changed: left alone, the reading of the catalog loops
    // and allocates for ever.
    pruebas::CarpetaTemporal carpeta;
    std::string bytes = pruebas::leerFichero(accesoCompartido("jet3-test.mdb"));
    ASSERT_EQ(bytes[95423], '\0');
    bytes[95423] = static_cast<char>(0xC7);
    const fs::path ruta = carpeta / "bucle.mdb";
    pruebas::escribirFichero(ruta, bytes);
    PlazoCorto plazo("1500");
    EXPECT_THAT(errorDe([&] { leerEntera(ruta); }), HasSubstr("está dañada"));
    EXPECT_TRUE(sinProcesosHijos());
}

// ---------------------------------------------------------------------------------------------------
// SQLite files.

class BaseSqlite {
public:
    explicit BaseSqlite(const fs::path& ruta) {
        if (sqlite3_open_v2(ruta.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            throw std::runtime_error("sqlite3_open_v2");
        }
    }
    BaseSqlite(const BaseSqlite&) = delete;
    BaseSqlite& operator=(const BaseSqlite&) = delete;
    ~BaseSqlite() { sqlite3_close_v2(db_); }

    void ejecutar(const char* sql) {
        char* mensaje = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &mensaje) != SQLITE_OK) {
            const std::string texto = mensaje == nullptr ? "" : mensaje;
            sqlite3_free(mensaje);
            throw std::runtime_error(texto);
        }
    }

    // One row of the table `valores`, which holds any kind of value in each column.
    void insertarValores(const std::vector<std::function<void(sqlite3_stmt*, int)>>& enlaces) {
        sqlite3_stmt* stmt = nullptr;
        std::string sql = "INSERT INTO valores VALUES (";
        for (std::size_t i = 0; i < enlaces.size(); ++i) {
            sql += i == 0 ? "?" : ", ?";
        }
        sql += ")";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
        for (std::size_t i = 0; i < enlaces.size(); ++i) {
            enlaces[i](stmt, static_cast<int>(i + 1));
        }
        const int codigo = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (codigo != SQLITE_DONE) {
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
    }

private:
    sqlite3* db_ = nullptr;
};

const char* utf8(const char8_t* texto) {
    return reinterpret_cast<const char*>(texto);
}

class OrigenSqlite : public testing::Test {
protected:
    void SetUp() override {
        BaseSqlite bd(ruta_);
        // SQLite holds UTF-8, whatever the program's own text.
        bd.ejecutar(
            utf8(u8"CREATE TABLE Zeta (id INTEGER PRIMARY KEY AUTOINCREMENT, nombre TEXT);"
                 u8"CREATE TABLE \"Mis \"\"datos\"\"\" (\"Código cliente\" TEXT, \"importe total\" REAL);"
                 u8"CREATE TABLE alfa (x);"
                 u8"CREATE VIEW vista AS SELECT * FROM alfa;"
                 u8"CREATE INDEX indice ON alfa (x);"
                 u8"INSERT INTO Zeta (nombre) VALUES ('uno'), ('dos');"
                 u8"INSERT INTO alfa VALUES (1), (2), (3);"
                 u8"CREATE TABLE valores (a, b, c, d, e, f, g, h, i, j);"
                 u8"INSERT INTO \"Mis \"\"datos\"\"\" VALUES ('Peña', 12.5)"));
        const auto entero = [](std::int64_t v) {
            return [v](sqlite3_stmt* s, int i) { sqlite3_bind_int64(s, i, v); };
        };
        const auto real = [](double v) {
            return [v](sqlite3_stmt* s, int i) { sqlite3_bind_double(s, i, v); };
        };
        const auto texto = [](const char* v) {
            return [v](sqlite3_stmt* s, int i) { sqlite3_bind_text(s, i, v, -1, SQLITE_TRANSIENT); };
        };
        const auto nulo = [](sqlite3_stmt* s, int i) { sqlite3_bind_null(s, i); };
        const auto blob = [](sqlite3_stmt* s, int i) {
            sqlite3_bind_blob(s, i, "\x01\x02", 2, SQLITE_TRANSIENT);
        };
        const double tercio = 0.1;
        bd.insertarValores({entero(42), entero(-7), entero(9007199254740993), real(tercio + 0.2),
                            real(1234.5), texto(utf8(u8"Peña ñandú € Łódź")), texto(utf8(u8"日本")), nulo,
                            blob, texto("")});
    }

    pruebas::CarpetaTemporal carpeta_;
    fs::path ruta_ = carpeta_ / "entrada.sqlite";
};

TEST_F(OrigenSqlite, listaLasTablasEnElOrdenEnQueSeCrearon) {
    auto origen = abrirOrigenAccess(ruta_);
    // Neither the view, the index nor SQLite's own sqlite_sequence.
    EXPECT_THAT(origen->tablas(), ElementsAre("Zeta", "Mis \"datos\"", "alfa", "valores"));
}

TEST_F(OrigenSqlite, seListanLasTablasVirtualesPeroNoLasQueGuardanSusDatos) {
    {
        BaseSqlite bd(ruta_);
        // Full-text search keeps docs_data, docs_idx, docs_content...; an R*Tree loc_rowid, loc_node and
        // loc_parent: tables of SQLite's own, not the user's.
        bd.ejecutar("CREATE VIRTUAL TABLE docs USING fts5(cuerpo, titulo);"
                    "CREATE VIRTUAL TABLE loc USING rtree(id, minx, maxx);"
                    "CREATE TABLE final (x)");
    }
    auto origen = abrirOrigenAccess(ruta_);
    EXPECT_THAT(origen->tablas(),
                ElementsAre("Zeta", "Mis \"datos\"", "alfa", "valores", "docs", "loc", "final"));
    EXPECT_THROW(origen->abrirTabla("docs_content"), ErrorTrovanel);
}

TEST_F(OrigenSqlite, lasColumnasListadasSonLasQueTraenSusFilasCalculadasIncluidas) {
    {
        BaseSqlite bd(ruta_);
        bd.ejecutar("CREATE TABLE calculada (a REAL, b AS (a * 2), c REAL AS (a + 1) STORED);"
                    "INSERT INTO calculada (a) VALUES (1.5);"
                    "CREATE VIRTUAL TABLE docs USING fts5(cuerpo, titulo);"
                    "INSERT INTO docs VALUES ('texto', 'uno');"
                    "CREATE VIRTUAL TABLE loc USING rtree(id, minx, maxx);"
                    "INSERT INTO loc VALUES (1, 2, 3)");
    }
    struct Caso {
        const char* tabla;
        std::vector<std::string> columnas;
        std::vector<std::optional<std::string>> fila;
    };
    // Generated columns come with the rows; the hidden columns of a virtual table do not.
    const std::vector<Caso> casos = {
        {"calculada", {"a", "b", "c"}, {"1,5", "3", "2,5"}},
        {"docs", {"cuerpo", "titulo"}, {"texto", "uno"}},
        {"loc", {"id", "minx", "maxx"}, {"1", "2", "3"}},
    };
    auto origen = abrirOrigenAccess(ruta_);
    for (const auto& caso : casos) {
        EXPECT_EQ(origen->columnas(caso.tabla), caso.columnas) << caso.tabla;
        auto cursor = origen->abrirTabla(caso.tabla);
        EXPECT_EQ(cursor->columnas(), caso.columnas) << caso.tabla;
        const auto filas = leerTodo(*cursor);
        ASSERT_EQ(filas.size(), 1u) << caso.tabla;
        EXPECT_EQ(textos(filas[0]), caso.fila) << caso.tabla;
    }
}

TEST_F(OrigenSqlite, unaTablaConComillasYEspaciosEnElNombreSeLee) {
    auto origen = abrirOrigenAccess(ruta_);
    EXPECT_THAT(origen->columnas("Mis \"datos\""), ElementsAre("Código cliente", "importe total"));
    auto cursor = origen->abrirTabla("Mis \"datos\"");
    EXPECT_THAT(cursor->columnas(), ElementsAre("Código cliente", "importe total"));
    const auto filas = leerTodo(*cursor);
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_THAT(textos(filas[0]), ElementsAre("Peña", "12,5"));
}

TEST_F(OrigenSqlite, losValoresSeLeenComoTextoConAjustesEspanoles) {
    auto origen = abrirOrigenAccess(ruta_);
    auto cursor = origen->abrirTabla("valores");
    const auto filas = leerTodo(*cursor);
    ASSERT_EQ(filas.size(), 1u);
    const auto& fila = filas[0];
    EXPECT_THAT(textos(fila), ElementsAre("42", "-7", "9007199254740993", "0,3", "1234,5",
                                          "Peña ñandú € Lódz", "\x1A\x1A", std::nullopt, std::nullopt, ""));
    for (std::size_t i = 0; i < fila.size(); ++i) {
        EXPECT_EQ(fila[i].esComaFlotante, i == 3 || i == 4) << "columna " << i;
    }
    EXPECT_DOUBLE_EQ(fila[3].numero, 0.1 + 0.2);
    EXPECT_DOUBLE_EQ(fila[4].numero, 1234.5);
}

TEST_F(OrigenSqlite, lasFilasSeLeenTodasEnSuOrden) {
    auto origen = abrirOrigenAccess(ruta_);
    auto cursor = origen->abrirTabla("Zeta");
    const auto filas = leerTodo(*cursor);
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_THAT(textos(filas[0]), ElementsAre("1", "uno"));
    EXPECT_THAT(textos(filas[1]), ElementsAre("2", "dos"));
    std::vector<ValorColumna> valores;
    EXPECT_FALSE(cursor->siguiente(valores));
}

TEST_F(OrigenSqlite, tablasYColumnasSeBuscanSinDistinguirMayusculas) {
    auto origen = abrirOrigenAccess(ruta_);
    EXPECT_THAT(origen->columnas("ZETA"), ElementsAre("id", "nombre"));
    auto cursor = origen->abrirTabla("mis \"DATOS\"");
    EXPECT_EQ(cursor->columna("IMPORTE TOTAL"), 1);
    EXPECT_EQ(cursor->columna("código CLIENTE"), 0);
    EXPECT_EQ(cursor->columna("importe"), -1);
}

TEST_F(OrigenSqlite, unaTablaQueNoExisteOUnaVistaSeRechazan) {
    auto origen = abrirOrigenAccess(ruta_);
    EXPECT_THAT(errorDe([&] { origen->abrirTabla("Clientes"); }), HasSubstr("Clientes"));
    EXPECT_THROW(origen->abrirTabla("vista"), ErrorTrovanel);
    EXPECT_THROW(origen->abrirTabla("sqlite_sequence"), ErrorTrovanel);
    EXPECT_THROW(origen->columnas("Clientes"), ErrorTrovanel);
}

TEST_F(OrigenSqlite, unNombreDeTablaNuncaSeEjecutaComoSql) {
    {
        BaseSqlite bd(ruta_);
        bd.ejecutar("CREATE TABLE \"alfa\"\"; DROP TABLE alfa; --\" (y); INSERT INTO \"alfa\"\"; DROP TABLE "
                    "alfa; --\" "
                    "VALUES ('dentro')");
    }
    auto origen = abrirOrigenAccess(ruta_);
    auto cursor = origen->abrirTabla("alfa\"; DROP TABLE alfa; --");
    const auto filas = leerTodo(*cursor);
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_EQ(filas[0][0].texto, "dentro");
    EXPECT_EQ(leerTodo(*origen->abrirTabla("alfa")).size(), 3u);
}

TEST_F(OrigenSqlite, elCursorSigueLeyendoAunqueSeCierreElOrigen) {
    auto origen = abrirOrigenAccess(ruta_);
    auto cursor = origen->abrirTabla("alfa");
    origen.reset();
    EXPECT_EQ(leerTodo(*cursor).size(), 3u);
}

TEST_F(OrigenSqlite, leerNoCambiaElFicheroNiDejaOtrosAlLado) {
    const std::string antes = pruebas::leerFichero(ruta_);
    {
        auto origen = abrirOrigenAccess(ruta_);
        for (const std::string& tabla : origen->tablas()) {
            leerTodo(*origen->abrirTabla(tabla));
        }
    }
    EXPECT_EQ(pruebas::leerFichero(ruta_), antes);
    EXPECT_EQ(pruebas::entradasDe(carpeta_.ruta()), 1u);
}

TEST_F(OrigenSqlite, laExtensionEligeElLectorSinDistinguirMayusculas) {
    const fs::path otra = carpeta_ / "copia.DB";
    fs::copy_file(ruta_, otra);
    EXPECT_EQ(abrirOrigenAccess(otra)->tablas().size(), 4u);
    // A SQLite file with an Access extension is read as Access, and refused as such.
    const fs::path comoAccess = carpeta_ / "copia.mdb";
    fs::copy_file(ruta_, comoAccess);
    EXPECT_THAT(errorDe([&] { abrirOrigenAccess(comoAccess); }),
                HasSubstr("no es una base de datos de Access"));
}

TEST(OrigenSqliteDanado, unFicheroQueNoEsUnaBaseDeDatosSeRechaza) {
    pruebas::CarpetaTemporal carpeta;
    const fs::path ruta = carpeta / "basura.sqlite3";
    pruebas::escribirFichero(ruta, std::string(8192, 'x'));
    const std::string mensaje = errorDe([&] { abrirOrigenAccess(ruta); });
    EXPECT_THAT(mensaje, StartsWith("No se puede abrir la base de datos " + ruta.string()));
    EXPECT_THAT(mensaje, HasSubstr("no es una base de datos"));
}

TEST(OrigenSqliteDanado, unFicheroQueNoExisteSeRechazaSinCrearlo) {
    pruebas::CarpetaTemporal carpeta;
    const fs::path ruta = carpeta / "falta.db";
    EXPECT_THAT(errorDe([&] { abrirOrigenAccess(ruta); }), HasSubstr(ruta.string()));
    EXPECT_FALSE(fs::exists(ruta));
    EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), 0u);
}

} // namespace
} // namespace trovanel
