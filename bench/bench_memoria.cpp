// Peak resident memory of the program on hostile inputs of every kind: each input is written, then read
// through its reader in a child process of its own, and the child's peak is printed with what the user
// was told. The README gives these figures.
//   bench_memoria [MiB]   (size of the big inputs; 2048 by default)
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "importacion_cuentas.hpp"
#include "intercambio.hpp"
#include "libro_excel.hpp"
#include "medida.hpp"
#include "origen_access.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "limites.hpp"
#include "reloj.hpp"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

using namespace trovanel;
namespace fs = std::filesystem;

namespace {

// Runs paso in a child and prints its peak memory, its seconds and what it said (through a pipe); a case
// without a name is only run, as the writing of an input that would take memory.
void medirEnHijo(const char* caso, const std::function<std::string()>& paso) {
    int tubo[2];
    if (::pipe(tubo) != 0) {
        std::exit(1);
    }
    const auto inicio = std::chrono::steady_clock::now();
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        ::close(tubo[0]);
        std::string dicho;
        try {
            dicho = paso();
        } catch (const std::exception& e) {
            dicho = std::string("excepción: ") + e.what();
        }
        const bool escrito =
            ::write(tubo[1], dicho.data(), dicho.size()) == static_cast<ssize_t>(dicho.size());
        ::_exit(escrito ? 0 : 1);
    }
    ::close(tubo[1]);
    std::string dicho;
    char bloque[4096];
    for (ssize_t n; (n = ::read(tubo[0], bloque, sizeof bloque)) > 0;) {
        dicho.append(bloque, static_cast<std::size_t>(n));
    }
    ::close(tubo[0]);
    int estado = 0;
    rusage uso{};
    ::wait4(hijo, &estado, 0, &uso);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    for (char& c : dicho) {
        c = c == '\r' || c == '\n' ? ' ' : c;
    }
    if (caso == nullptr) {
        return;
    }
    std::printf("%-48s %6ld MiB %7.2f s  %s\n", caso, uso.ru_maxrss / 1024, segundos,
                WIFEXITED(estado) ? cp1252AUtf8(dicho).c_str() : "(el proceso ha muerto)");
    std::fflush(stdout);
}

// A file of that many bytes of one value, written without holding them.
void escribirRelleno(const fs::path& ruta, const std::string& principio, std::uint64_t bytes, char relleno) {
    std::FILE* f = std::fopen(ruta.c_str(), "wb");
    std::fwrite(principio.data(), 1, principio.size(), f);
    const std::string bloque(1 << 20, relleno);
    for (std::uint64_t escritos = 0; escritos < bytes;) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(bloque.size(), bytes - escritos));
        std::fwrite(bloque.data(), 1, n, f);
        escritos += n;
    }
    std::fclose(f);
}

// The shared strings part of an .xlsx, made while libzip reads it: cabecera, `veces` times `trozo`, pie.
struct ParteGenerada {
    std::string cabecera;
    std::string trozo;
    std::uint64_t veces;
    std::string pie;
    std::string pendiente{};
    std::size_t desde = 0;
    std::uint64_t quedan = 0;
    bool conPie = false;
};

zip_int64_t generarParte(void* estado, void* datos, zip_uint64_t largo, zip_source_cmd_t orden) {
    auto* p = static_cast<ParteGenerada*>(estado);
    switch (orden) {
    case ZIP_SOURCE_OPEN:
        p->pendiente = p->cabecera;
        p->desde = 0;
        p->quedan = p->veces;
        p->conPie = false;
        return 0;
    case ZIP_SOURCE_READ: {
        zip_uint64_t puestos = 0;
        while (puestos < largo) {
            if (p->desde == p->pendiente.size()) {
                p->pendiente.clear();
                p->desde = 0;
                // Some 64 KiB at a time.
                for (; p->quedan > 0 && p->pendiente.size() < (1u << 16); --p->quedan) {
                    p->pendiente += p->trozo;
                }
                if (p->pendiente.empty() && !p->conPie) {
                    p->pendiente = p->pie;
                    p->conPie = true;
                }
                if (p->pendiente.empty()) {
                    break;
                }
            }
            const std::size_t n = std::min<std::size_t>(p->pendiente.size() - p->desde, largo - puestos);
            std::memcpy(static_cast<char*>(datos) + puestos, p->pendiente.data() + p->desde, n);
            p->desde += n;
            puestos += n;
        }
        return static_cast<zip_int64_t>(puestos);
    }
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT:
        zip_stat_init(static_cast<zip_stat_t*>(datos));
        return sizeof(zip_stat_t);
    case ZIP_SOURCE_ERROR:
        return 2 * sizeof(int);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        return -1;
    }
}

void escribirLibro(const fs::path& ruta, ParteGenerada& textos) {
    const std::string ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string r = R"(http://schemas.openxmlformats.org/officeDocument/2006/relationships)";
    const std::string partes[][2] = {
        {"[Content_Types].xml", R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/)"
                                R"(package/2006/content-types"/>)"},
        {"_rels/.rels", R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/)"
                        R"(package/2006/relationships"><Relationship Id="rId1" Type=")" +
                            r + R"(/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\"?><workbook " + ns + " xmlns:r=\"" + r +
             "\"><sheets><sheet name=\"Hoja1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/)"
         R"(relationships"><Relationship Id="rId1" Type=")" +
             r + R"(/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type=")" + r +
             R"(/sharedStrings" Target="sharedStrings.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", "<?xml version=\"1.0\"?><worksheet " + ns +
                                         R"(><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row>)"
                                         "</sheetData></worksheet>"},
    };
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [nombre, datos] : partes) {
        zip_file_add(zip, nombre.c_str(), zip_source_buffer(zip, datos.data(), datos.size(), 0), 0);
    }
    const zip_int64_t indice =
        zip_file_add(zip, "xl/sharedStrings.xml", zip_source_function(zip, generarParte, &textos), 0);
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(indice), ZIP_CM_DEFLATE, 1);
    zip_close(zip);
}

std::string mensajeDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "leído";
}

void medirTexto(const fs::path& carpeta, std::uint64_t grande) {
    // Text input: one line without an end, through the norm 19 conversion of the example template.
    escribirRelleno(carpeta / "linea.txt", "", grande, 'x');
    medirEnHijo("texto: una linea sin final", [&] {
        bench::EjecucionMedida e(carpeta, carpeta / "linea.txt", carpeta / "linea.out",
                                 carpeta / "linea.log");
        ParametrosConversion& p = e.parametros;
        p.idEstructura = 9;
        p.idPresentador = 1;
        p.idEmisor = 1;
        p.gFechaProceso = "05/03/2026";
        const ResultadoConversion resultado = GenerarCSB19(e.estado, e.entorno, p);
        return std::string(resultado.conErrores() ? "falla" : "convierte") + ", salida " +
               (fs::exists(p.rutaSalida) ? "escrita" : "no escrita");
    });
    fs::remove(carpeta / "linea.txt");
}

void medirLineas(const fs::path& carpeta, std::uint64_t grande) {
    // The accounts file and the exchange file: one line without an end.
    escribirRelleno(carpeta / "cuentas.txt", "", grande / 10, ' ');
    medirEnHijo("fichero de cuentas: una linea sin final", [&] {
        BaseDatos bd = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
        return mensajeDe([&] { importarFicheroCuentas(bd, carpeta / "cuentas.txt"); });
    });
    fs::remove(carpeta / "cuentas.txt");
    escribirRelleno(carpeta / "plantilla.txt", "Uno@CSB19@-1@False\r\nImporte@1@12@0@0@@True@0@", grande / 10,
                    'x');
    medirEnHijo("fichero de intercambio: una linea sin final", [&] {
        BaseDatos bd = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
        bench::AvisosContados avisos;
        return ImportarPlantilla(bd, avisos, carpeta / "plantilla.txt") ? "importada" : "rechazada";
    });
    fs::remove(carpeta / "plantilla.txt");
}

void medirLibros(const fs::path& carpeta, std::uint64_t grande) {
    // Workbooks: one shared string without end, and millions of small ones.
    ParteGenerada una{.cabecera = R"(<?xml version="1.0"?><sst><si><t>)",
                      .trozo = std::string(1 << 16, 'a'),
                      .veces = grande >> 16,
                      .pie = "</t></si></sst>"};
    escribirLibro(carpeta / "una.xlsx", una);
    medirEnHijo("xlsx: una cadena compartida",
                [&] { return mensajeDe([&] { abrirLibroExcel(carpeta / "una.xlsx"); }); });
    fs::remove(carpeta / "una.xlsx");
    // Just within the cap of the shared strings: the most a workbook that is read keeps.
    ParteGenerada alTope{.cabecera = R"(<?xml version="1.0"?><sst>)",
                         .trozo = "<si><t>abcdefghij</t></si>",
                         .veces = kMaxTablaTextos / 14 - 1000,
                         .pie = "</sst>"};
    escribirLibro(carpeta / "altope.xlsx", alTope);
    medirEnHijo("xlsx: cadenas compartidas al limite", [&] {
        return mensajeDe([&] {
            auto libro = abrirLibroExcel(carpeta / "altope.xlsx");
            libro->ultimaFila("Hoja1");
        });
    });
    fs::remove(carpeta / "altope.xlsx");
    ParteGenerada muchas{.cabecera = R"(<?xml version="1.0"?><sst>)",
                         .trozo = "<si><t>abcdefghij</t></si>",
                         .veces = 30'000'000,
                         .pie = "</sst>"};
    escribirLibro(carpeta / "muchas.xlsx", muchas);
    medirEnHijo("xlsx: 30 millones de cadenas compartidas",
                [&] { return mensajeDe([&] { abrirLibroExcel(carpeta / "muchas.xlsx"); }); });
    fs::remove(carpeta / "muchas.xlsx");
}

// Writes a table database with the statements given.
std::string escribirTabla(const fs::path& ruta, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(ruta.c_str(), &db);
    const int codigo = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return codigo == SQLITE_OK ? "escrita" : "no escrita";
}

// Reads every row of table t through the program's table source.
std::string leerTabla(const fs::path& ruta) {
    return mensajeDe([&] {
        auto origen = abrirOrigenAccess(ruta);
        auto cursor = origen->abrirTabla("t");
        std::vector<ValorColumna> valores;
        while (cursor->siguiente(valores)) {
        }
    });
}

void medirTablas(const fs::path& carpeta, std::uint64_t grande) {
    // A table: one text value of a quarter of the size, read row by row.
    medirEnHijo(nullptr, [&] {
        return escribirTabla(carpeta / "tabla.db", "PRAGMA journal_mode=OFF; CREATE TABLE t (a TEXT, b TEXT);"
                                                   "INSERT INTO t VALUES ('x', CAST(zeroblob(" +
                                                       std::to_string(grande / 4) + ") AS TEXT));");
    });
    medirEnHijo("tabla SQLite: un texto", [&] { return leerTabla(carpeta / "tabla.db"); });
    // Just within the caps of a table: every column of a row as long as a value may be.
    medirEnHijo(nullptr, [&] {
        std::string columnas;
        std::string valores;
        for (int i = 0; i < kMaxColumnasTabla; ++i) {
            columnas += (i == 0 ? "c" : ", c") + std::to_string(i) + " TEXT";
            valores += (i == 0 ? "" : ", ") + std::string("CAST(zeroblob(") + std::to_string(kMaxValor) +
                       ") AS TEXT)";
        }
        return escribirTabla(carpeta / "ancha.db", "PRAGMA journal_mode=OFF; CREATE TABLE t (" + columnas +
                                                       "); INSERT INTO t VALUES (" + valores +
                                                       "); INSERT INTO t SELECT * FROM t;");
    });
    medirEnHijo("tabla SQLite: filas al limite", [&] { return leerTabla(carpeta / "ancha.db"); });
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t grande = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 2048) << 20;
    const auto carpeta = fs::temp_directory_path() / ("trovanel-memoria-" + std::to_string(::getpid()));
    fs::create_directories(carpeta);
    crearBaseDatosPrograma(carpeta / "Estructuras.db");

    medirTexto(carpeta, grande);
    medirLineas(carpeta, grande);
    medirLibros(carpeta, grande);
    medirTablas(carpeta, grande);
    fs::remove_all(carpeta);
    return 0;
}
