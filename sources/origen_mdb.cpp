// Access databases (.mdb, .accdb) through mdbtools' libmdb, read-only.
//
// libmdb trusts what it reads: a damaged catalog or page can send it into an endless loop, an
// endless allocation or a wild read. So libmdb never runs in this process: every operation forks a
// helper that opens the file, does the one job and sends the names or rows back through a pipe. A
// helper that dies, or stays silent too long, is a damaged file, not a dead program.
#include "origen_access.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "limites.hpp"
#include "proceso_aislado.hpp"
#include "texto.hpp"
#include "valores_texto.hpp"

#include <mdbtools.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace trovanel {

namespace {

namespace fs = std::filesystem;

std::string descripcionDanada(const fs::path& ruta) {
    return "La base de datos " + rutaComoTexto(ruta) + " está dañada";
}

std::string descripcionTablaIlegible(std::string_view tabla, const fs::path& ruta) {
    return "No se puede leer la tabla " + std::string(tabla) + ". " + descripcionDanada(ruta);
}

// Cheap checks before any work: a file that is not there, or does not even look like a Jet or ACE
// database with its header page and one more, is refused at once with a precise message.
HuellaFichero comprobarCabecera(const fs::path& ruta) {
    const FicheroEntrada fichero(ruta);
    if (fichero.noEsFichero()) {
        throw ErrorTrovanel(mensajeEntrada("No se puede abrir la base de datos", ruta, kNoEsFicheroRegular));
    }
    if (!fichero.abierto()) {
        throw ErrorTrovanel(
            (fichero.ausente() ? "No se encuentra el fichero " : "No se puede abrir la base de datos ") +
            rutaComoTexto(ruta));
    }
    char cabecera[0x18] = {};
    const bool leida = ::pread(fichero.descriptor(), cabecera, sizeof cabecera, 0) == sizeof cabecera;
    const std::string_view firma(cabecera + 4, 15);
    if (!leida || cabecera[0] != 0 || (firma != "Standard Jet DB" && firma != "Standard ACE DB")) {
        throw ErrorTrovanel("El fichero " + rutaComoTexto(ruta) + " no es una base de datos de Access");
    }
    // Byte 0x14 holds the version: Jet 3 uses 2 KiB pages, every later one 4 KiB.
    const std::uint64_t pagina = cabecera[0x14] == 0 ? 2048 : 4096;
    if (fichero.huella().tamano < 2 * pagina) {
        throw ErrorTrovanel(descripcionDanada(ruta));
    }
    return fichero.huella();
}

// ---------------------------------------------------------------------------------------------------
// libmdb, inside the helper only.

struct CerrarMdb {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using HandleMdb = std::unique_ptr<MdbHandle, CerrarMdb>;

struct LiberarTabla {
    void operator()(MdbTableDef* tabla) const { mdb_free_tabledef(tabla); }
};
using TablaMdb = std::unique_ptr<MdbTableDef, LiberarTabla>;

// MSysObjects flags: system objects carry 0x80000000 or 0x2, hidden ones 0x8. Linked tables have
// object types of their own and never reach this test.
constexpr unsigned kBanderasNoUsuario = 0x80000002u | 0x8u;

bool esTablaDeUsuario(const MdbCatalogEntry& entrada) {
    if (entrada.object_type != MDB_TABLE ||
        (static_cast<unsigned>(entrada.flags) & kBanderasNoUsuario) != 0) {
        return false;
    }
    return !igualesSinMayusculas(std::string_view(entrada.object_name).substr(0, 4), "MSys");
}

std::vector<MdbCatalogEntry*> entradasDeTabla(MdbHandle* mdb) {
    std::vector<MdbCatalogEntry*> entradas;
    for (unsigned i = 0; mdb->catalog != nullptr && i < mdb->catalog->len; ++i) {
        auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entrada != nullptr && entrada->object_type == MDB_TABLE) {
            entradas.push_back(entrada);
        }
    }
    return entradas;
}

// Whole pages in the file: libmdb takes a page past the end for an empty one, so the page numbers that
// a table points at are checked against this count first.
std::uint32_t paginasDe(MdbHandle* mdb) {
    struct stat datos {};
    if (mdb->f == nullptr || mdb->f->stream == nullptr || ::fstat(::fileno(mdb->f->stream), &datos) != 0 ||
        mdb->fmt->pg_size <= 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::min<std::uintmax_t>(
        static_cast<std::uintmax_t>(datos.st_size) / static_cast<std::uintmax_t>(mdb->fmt->pg_size),
        UINT32_MAX));
}

// A table's definition and columns, or nothing when they point outside the file. libmdb would take a
// page past the end for an empty one and go on with whatever its buffer held.
TablaMdb leerTablaComprobada(MdbCatalogEntry* entrada) {
    MdbHandle* mdb = entrada->mdb;
    const std::uint32_t paginas = paginasDe(mdb);
    if (entrada->table_pg >= paginas) {
        return nullptr;
    }
    TablaMdb tabla(mdb_read_table(entrada));
    if (!tabla || tabla->usage_map == nullptr) {
        return nullptr;
    }
    // Right after mdb_read_table the handle's page is the definition, which says where the maps are.
    const auto paginaDe = [&](int desplazamiento) {
        return static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, desplazamiento)) >> 8;
    };
    if (paginaDe(mdb->fmt->tab_usage_map_offset) >= paginas ||
        paginaDe(mdb->fmt->tab_free_map_offset) >= paginas || tabla->num_cols > MDB_MAX_COLS ||
        mdb_read_columns(tabla.get()) == nullptr || tabla->columns->len != tabla->num_cols) {
        return nullptr;
    }
    // Every page the usage map gives the table must be in the file too. They come in rising order, so
    // a sound map gives fewer than `paginas` of them.
    std::uint32_t pagina = 0;
    for (std::uint32_t vueltas = 0; vueltas <= paginas; ++vueltas) {
        const gint32 siguiente =
            mdb_map_find_next(mdb, tabla->usage_map, static_cast<unsigned>(tabla->map_sz), pagina);
        if (siguiente <= 0) {
            return tabla;
        }
        if (static_cast<std::uint32_t>(siguiente) >= paginas ||
            static_cast<std::uint32_t>(siguiente) <= pagina) {
            return nullptr;
        }
        pagina = static_cast<std::uint32_t>(siguiente);
    }
    return nullptr;
}

// libmdb ends a table at the first page it cannot read as if it were the last one: a page still left in
// the table's map after the last row means the file has lost it.
bool faltanPaginas(MdbTableDef* tabla) {
    return tabla->usage_map != nullptr &&
           mdb_map_find_next(tabla->entry->mdb, tabla->usage_map, static_cast<unsigned>(tabla->map_sz),
                             tabla->cur_phys_pg) > 0;
}

// The catalog is read the same way, so a truncated file would list fewer tables, or none, without a
// word: the catalog table is walked again to the end to tell.
bool catalogoEntero(MdbHandle* mdb) {
    for (MdbCatalogEntry* entrada : entradasDeTabla(mdb)) {
        if (std::strcmp(entrada->object_name, "MSysObjects") == 0) {
            TablaMdb catalogo = leerTablaComprobada(entrada);
            if (!catalogo) {
                return false;
            }
            mdb_rewind_table(catalogo.get());
            while (mdb_fetch_row(catalogo.get()) != 0) {
            }
            return !faltanPaginas(catalogo.get());
        }
    }
    return false;
}

HandleMdb abrirMdb(const fs::path& ruta) {
    HandleMdb mdb(mdb_open(ruta.c_str(), MDB_NOFLAGS));
    if (!mdb) {
        throw ErrorTrovanel("No se puede abrir la base de datos " + rutaComoTexto(ruta));
    }
    if (mdb_read_catalog(mdb.get(), MDB_TABLE) == nullptr || !catalogoEntero(mdb.get())) {
        throw ErrorTrovanel(descripcionDanada(ruta));
    }
    // Booleans are then told by their bound text, whatever libmdb's default.
    mdb_set_boolean_fmt_numbers(mdb.get());
    return mdb;
}

TablaMdb leerDefinicion(MdbHandle* mdb, std::string_view tabla, const fs::path& ruta) {
    // Access names ignore case, as the lookups of every other source do.
    const std::string nombre = cp1252AUtf8(tabla);
    MdbCatalogEntry* encontrada = nullptr;
    for (MdbCatalogEntry* entrada : entradasDeTabla(mdb)) {
        if (igualesSinMayusculas(entrada->object_name, nombre)) {
            encontrada = entrada;
            break;
        }
    }
    if (encontrada == nullptr) {
        throw ErrorTrovanel("No existe la tabla " + std::string(tabla) + " en la base de datos " +
                            rutaComoTexto(ruta));
    }
    TablaMdb definicion = leerTablaComprobada(encontrada);
    if (!definicion) {
        throw ErrorTrovanel(descripcionTablaIlegible(tabla, ruta));
    }
    return definicion;
}

MdbColumn* columnaDe(MdbTableDef* tabla, unsigned indice) {
    return static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, indice));
}

std::vector<std::string> nombresDeColumnas(MdbTableDef* tabla) {
    std::vector<std::string> nombres;
    for (unsigned i = 0; i < tabla->num_cols; ++i) {
        nombres.push_back(utf8ACp1252(columnaDe(tabla, i)->name));
    }
    return nombres;
}

// Values stored little-endian in the page, whatever this machine's order.
std::uint64_t leerLe(const unsigned char* datos, int bytes) {
    std::uint64_t valor = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        valor = (valor << 8) | datos[i];
    }
    return valor;
}

std::string textoEntero(std::int64_t valor) {
    char buffer[24];
    const auto fin = std::to_chars(buffer, buffer + sizeof buffer, valor).ptr;
    return std::string(buffer, fin);
}

// Currency is a count of ten-thousandths: written exactly, as Access shows it, without trailing zeros.
std::string textoMonedaExacta(std::int64_t diezmilesimas) {
    const bool negativo = diezmilesimas < 0;
    const std::uint64_t magnitud =
        negativo ? ~static_cast<std::uint64_t>(diezmilesimas) + 1 : static_cast<std::uint64_t>(diezmilesimas);
    std::string texto = negativo ? "-" : "";
    texto += std::to_string(magnitud / 10000);
    if (const std::uint64_t fraccion = magnitud % 10000; fraccion != 0) {
        std::string decimales = std::to_string(fraccion);
        decimales.insert(0, 4 - decimales.size(), '0');
        decimales.erase(decimales.find_last_not_of('0') + 1);
        texto += "," + decimales;
    }
    return texto;
}

// Access stores days before 30/12/1899 as a negative whole part with a positive time of day.
double serieLineal(double serie) {
    if (!(serie < 0)) {
        return serie;
    }
    const double dias = std::trunc(serie);
    return dias + (dias - serie);
}

// Decimal columns come from libmdb as digits with a point and every place of the scale.
std::string textoDecimal(std::string texto) {
    if (const auto coma = texto.find_first_of(".,"); coma != std::string::npos) {
        texto[coma] = ',';
        texto.erase(texto.find_last_not_of('0') + 1);
        if (texto.back() == ',') {
            texto.pop_back();
        }
    }
    return texto == "-0" ? "0" : texto;
}

int anchoFijo(int tipo) {
    switch (tipo) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_COMPLEX:
    case MDB_FLOAT:
        return 4;
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_MONEY:
        return 8;
    default:
        return 0;
    }
}

// Walks a table's rows with every column bound.
class LectorFilas {
public:
    LectorFilas(MdbHandle* mdb, std::string_view tabla, const fs::path& ruta)
        : mdb_(mdb), ruta_(ruta), nombreTabla_(tabla) {
        tabla_ = leerDefinicion(mdb, tabla, ruta);
        const std::size_t tamano = mdb_->bind_size;
        buffers_.resize(tabla_->num_cols);
        largos_.resize(tabla_->num_cols);
        for (unsigned i = 0; i < tabla_->num_cols; ++i) {
            buffers_[i] = std::make_unique<char[]>(tamano);
            if (mdb_bind_column(tabla_.get(), static_cast<int>(i + 1), buffers_[i].get(), &largos_[i]) < 0) {
                throw ErrorTrovanel(descripcionTablaIlegible(tabla, ruta));
            }
        }
        mdb_rewind_table(tabla_.get());
    }

    std::vector<std::string> columnas() const { return nombresDeColumnas(tabla_.get()); }

    bool siguiente(std::vector<ValorColumna>& valores) {
        if (tabla_->num_cols == 0) {
            return false;
        }
        if (mdb_fetch_row(tabla_.get()) == 0) {
            if (faltanPaginas(tabla_.get())) {
                danada();
            }
            return false;
        }
        valores.resize(tabla_->num_cols);
        nulos_.clear();
        for (unsigned i = 0; i < tabla_->num_cols; ++i) {
            leerValor(i, valores[i]);
        }
        return true;
    }

private:
    [[noreturn]] void danada() const { throw ErrorTrovanel(descripcionTablaIlegible(nombreTabla_, ruta_)); }

    // Whether a text column holds Null rather than a zero-length text: libmdb binds both as an empty
    // value, so the row's null mask is read again.
    bool textoNulo(unsigned indice) {
        if (nulos_.empty()) {
            nulos_.assign(tabla_->num_cols, false);
            int inicio = 0;
            std::size_t largo = 0;
            if (tabla_->cur_row == 0 ||
                mdb_find_row(mdb_, static_cast<int>(tabla_->cur_row - 1), &inicio, &largo) != 0) {
                danada();
            }
            std::vector<MdbField> campos(tabla_->num_cols);
            const int total = mdb_crack_row(tabla_.get(), inicio & 0x1fff, largo, campos.data());
            if (total < 0) {
                danada();
            }
            for (int k = 0; k < total && k < static_cast<int>(campos.size()); ++k) {
                const int columna = campos[static_cast<std::size_t>(k)].colnum;
                if (columna >= 0 && columna < static_cast<int>(nulos_.size())) {
                    nulos_[static_cast<std::size_t>(columna)] =
                        campos[static_cast<std::size_t>(k)].is_null != 0;
                }
            }
        }
        return nulos_[indice];
    }

    void leerValor(unsigned indice, ValorColumna& valor) {
        const MdbColumn* columna = columnaDe(tabla_.get(), indice);
        const char* ligado = buffers_[indice].get();
        valor.esComaFlotante = false;
        valor.esMoneda = false;
        valor.esNumero = false;
        valor.numero = 0;
        switch (columna->col_type) {
        case MDB_BOOL:
            valor.texto = textoBooleano(std::strcmp(ligado, "1") == 0);
            return;
        case MDB_TEXT:
            if (columna->cur_value_len == 0 && textoNulo(indice)) {
                valor.texto.reset();
            } else {
                valor.texto = utf8ACp1252(ligado, kSinEquivalente);
            }
            return;
        case MDB_MEMO:
        case MDB_REPID:
            if (columna->cur_value_len == 0) {
                valor.texto.reset();
            } else {
                valor.texto = utf8ACp1252(ligado, kSinEquivalente);
            }
            return;
        case MDB_NUMERIC:
            if (columna->cur_value_len == 0) {
                valor.texto.reset();
            } else {
                valor.texto = textoDecimal(ligado);
                valor.esNumero = true;
            }
            return;
        default:
            break;
        }
        const int ancho = anchoFijo(columna->col_type);
        if (ancho == 0 || columna->cur_value_len == 0) {
            // Null, or binary and OLE objects, which have no text.
            valor.texto.reset();
            return;
        }
        // Numbers come from the page itself rather than from libmdb's text, which follows the locale
        // and drops precision.
        const int inicio = columna->cur_value_start;
        if (columna->cur_value_len < ancho || inicio < 0 || inicio + ancho > mdb_->fmt->pg_size ||
            inicio + ancho > static_cast<int>(sizeof mdb_->pg_buf)) {
            danada();
        }
        valorFijo(columna->col_type, leerLe(mdb_->pg_buf + inicio, ancho), valor);
    }

    // The value of a fixed-width column of the given type from its bytes on the page, little-endian.
    static void valorFijo(int tipo, std::uint64_t bits, ValorColumna& valor) {
        valor.esNumero = tipo != MDB_DATETIME;
        switch (tipo) {
        case MDB_BYTE:
            valor.texto = textoEntero(static_cast<std::uint8_t>(bits));
            break;
        case MDB_INT:
            valor.texto = textoEntero(static_cast<std::int16_t>(bits));
            break;
        case MDB_LONGINT:
        case MDB_COMPLEX:
            valor.texto = textoEntero(static_cast<std::int32_t>(bits));
            break;
        case MDB_MONEY:
            valor.texto = textoMonedaExacta(static_cast<std::int64_t>(bits));
            valor.esMoneda = true;
            break;
        case MDB_FLOAT: {
            const double numero = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
            valor.texto = textoNumero(numero, 7);
            valor.esComaFlotante = true;
            valor.numero = numero;
            break;
        }
        case MDB_DOUBLE: {
            const double numero = std::bit_cast<double>(bits);
            valor.texto = textoNumero(numero);
            valor.esComaFlotante = true;
            valor.numero = numero;
            break;
        }
        default: // MDB_DATETIME
            valor.texto = textoFecha(serieLineal(std::bit_cast<double>(bits)));
            break;
        }
    }

    MdbHandle* mdb_;
    fs::path ruta_;
    std::string nombreTabla_;
    // The buffers outlive the table that points at them.
    std::vector<std::unique_ptr<char[]>> buffers_;
    std::vector<int> largos_;
    TablaMdb tabla_;
    std::vector<bool> nulos_;
};

// ---------------------------------------------------------------------------------------------------
// What the helper sends: a kind byte, then its data.
//   'N' text      a table or column name
//   'K'           end of the column names before the rows
//   'F' n values  a row; each value a class byte (0 none, 1 text, 2 floating point, 3 currency, 4 any
//                 other number), the text and, for floating point, the number's eight bytes
//   'E' text      the job failed with this description
//   'Z'           the job is done
// A text is its length in four bytes and its bytes.

enum class Trabajo { Tablas, Columnas, Filas };

// Beyond this, what arrives cannot come from a sound helper.
constexpr std::uint32_t kValoresMaximos = 4096;

class Emisor {
public:
    explicit Emisor(CanalEscritura& canal) : canal_(canal) {}

    void nombre(std::string_view texto) {
        canal_.byte('N');
        canal_.texto(texto);
        canal_.finMensaje();
    }
    void finColumnas() { canal_.byte('K'); }
    void fila(const std::vector<ValorColumna>& valores) {
        canal_.byte('F');
        canal_.entero(static_cast<std::uint32_t>(valores.size()));
        for (const ValorColumna& valor : valores) {
            if (!valor.texto) {
                canal_.byte('\0');
                continue;
            }
            canal_.byte(valor.esComaFlotante ? '\2' : valor.esMoneda ? '\3' : valor.esNumero ? '\4' : '\1');
            canal_.texto(*valor.texto);
            if (valor.esComaFlotante) {
                canal_.numero(valor.numero);
            }
        }
        canal_.finMensaje();
    }
    void error(std::string_view descripcion) {
        canal_.byte('E');
        canal_.texto(descripcion);
        canal_.enviar();
    }
    void fin() {
        canal_.byte('Z');
        canal_.enviar();
    }

private:
    CanalEscritura& canal_;
};

void hacerTrabajo(Emisor& emisor, const fs::path& ruta, Trabajo trabajo, const std::string& tabla) {
    HandleMdb mdb = abrirMdb(ruta);
    switch (trabajo) {
    case Trabajo::Tablas:
        for (MdbCatalogEntry* entrada : entradasDeTabla(mdb.get())) {
            if (esTablaDeUsuario(*entrada)) {
                emisor.nombre(utf8ACp1252(entrada->object_name));
            }
        }
        break;
    case Trabajo::Columnas: {
        TablaMdb definicion = leerDefinicion(mdb.get(), tabla, ruta);
        for (const std::string& nombre : nombresDeColumnas(definicion.get())) {
            emisor.nombre(nombre);
        }
        break;
    }
    case Trabajo::Filas: {
        LectorFilas lector(mdb.get(), tabla, ruta);
        for (const std::string& nombre : lector.columnas()) {
            emisor.nombre(nombre);
        }
        emisor.finColumnas();
        std::vector<ValorColumna> valores;
        while (lector.siguiente(valores)) {
            emisor.fila(valores);
        }
        break;
    }
    }
    emisor.fin();
}

// What runs in the helper: the job's own failure reaches the reader as its description.
void ayudante(CanalEscritura& canal, const fs::path& ruta, Trabajo trabajo, const std::string& tabla) {
    Emisor emisor(canal);
    try {
        hacerTrabajo(emisor, ruta, trabajo, tabla);
    } catch (const ErrorTrovanel& e) {
        emisor.error(e.what());
    } catch (...) {
        emisor.error(descripcionDanada(ruta));
    }
}

// One helper, read as the messages above.
class Ayudante {
public:
    Ayudante(const fs::path& ruta, Trabajo trabajo, std::string_view tabla)
        : proceso_([ruta, trabajo, tabla = std::string(tabla)](
                       CanalEscritura& canal) { ayudante(canal, ruta, trabajo, tabla); },
                   {.sinArrancar = "No se puede abrir la base de datos " + rutaComoTexto(ruta),
                    .averia = descripcionDanada(ruta)}) {}

    // The names that precede the end of a job (or of the column names), or the job's own error.
    std::vector<std::string> nombres() {
        std::vector<std::string> nombres;
        for (;;) {
            const char t = tipo();
            if (t == 'N') {
                nombres.push_back(proceso_.texto());
            } else if (t == 'E') {
                fallo();
            } else if (t == 'K' || t == 'Z') {
                return nombres;
            } else {
                proceso_.averia();
            }
        }
    }

    // The next row; false at the end of the job.
    bool fila(std::vector<ValorColumna>& valores) {
        const char t = tipo();
        if (t == 'Z') {
            return false;
        }
        if (t == 'E') {
            fallo();
        }
        const std::uint32_t total = t == 'F' ? proceso_.entero() : kValoresMaximos + 1;
        if (total > kValoresMaximos) {
            proceso_.averia();
        }
        valores.resize(total);
        std::size_t fila = 0;
        for (ValorColumna& valor : valores) {
            const char clase = proceso_.byte();
            valor.esComaFlotante = clase == '\2';
            valor.esMoneda = clase == '\3';
            valor.esNumero = clase >= '\2' && clase <= '\4';
            valor.numero = 0;
            if (clase == '\0') {
                valor.texto.reset();
            } else {
                valor.texto = proceso_.texto();
                // libmdb binds no value longer than its bind size: a longer one is no sound helper's.
                fila += valor.texto->size();
                if (valor.texto->size() > kMaxValor || fila > kMaxFila) {
                    proceso_.averia();
                }
                if (valor.esComaFlotante) {
                    valor.numero = proceso_.numero();
                }
            }
        }
        return true;
    }

private:
    char tipo() {
        const char valor = proceso_.byte();
        if (valor == 'Z') {
            proceso_.marcarAcabado();
        }
        return valor;
    }

    [[noreturn]] void fallo() {
        std::string descripcion = proceso_.texto();
        proceso_.marcarAcabado();
        throw ErrorTrovanel(descripcion);
    }

    ProcesoAislado proceso_;
};

class CursorMdb final : public CursorTabla {
public:
    CursorMdb(const fs::path& ruta, std::string_view tabla) : ayudante_(ruta, Trabajo::Filas, tabla) {
        columnas_ = ayudante_.nombres();
    }

    const std::vector<std::string>& columnas() const override { return columnas_; }

    bool siguiente(std::vector<ValorColumna>& valores) override {
        if (terminado_) {
            return false;
        }
        try {
            terminado_ = !ayudante_.fila(valores);
            return !terminado_;
        } catch (const ErrorTrovanel&) {
            // A damaged table is not read again row after row, each time waiting for the helper.
            terminado_ = true;
            throw;
        }
    }

private:
    Ayudante ayudante_;
    std::vector<std::string> columnas_;
    bool terminado_ = false;
};

class OrigenMdb final : public OrigenAccess {
public:
    explicit OrigenMdb(const fs::path& ruta) : ruta_(ruta) {
        ficheroLeido = FicheroLeido{ruta_, comprobarCabecera(ruta_)};
        // Listed at once, so that a file libmdb cannot read is refused when it is opened.
        Ayudante ayudante(ruta_, Trabajo::Tablas, {});
        tablas_ = ayudante.nombres();
    }

    std::vector<std::string> tablas() override { return tablas_; }

    std::vector<std::string> columnas(std::string_view tabla) override {
        Ayudante ayudante(ruta_, Trabajo::Columnas, tabla);
        return ayudante.nombres();
    }

    std::unique_ptr<CursorTabla> abrirTabla(std::string_view tabla) override {
        return std::make_unique<CursorMdb>(ruta_, tabla);
    }

private:
    fs::path ruta_;
    std::vector<std::string> tablas_;
};

} // namespace

std::unique_ptr<OrigenAccess> abrirOrigenMdb(const std::filesystem::path& ruta) {
    return std::make_unique<OrigenMdb>(ruta);
}

} // namespace trovanel
