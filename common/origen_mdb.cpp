// Access databases (.mdb, .accdb) through mdbtools' libmdb, read-only.
#include "origen_access.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "valores_texto.hpp"

#include <mdbtools.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {

namespace fs = std::filesystem;

struct CerrarMdb {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using HandleMdb = std::unique_ptr<MdbHandle, CerrarMdb>;

struct LiberarTabla {
    void operator()(MdbTableDef* tabla) const { mdb_free_tabledef(tabla); }
};
using TablaMdb = std::unique_ptr<MdbTableDef, LiberarTabla>;

// MSysObjects flags: system objects carry 0x80000000 or 0x2, hidden ones 0x8.
constexpr unsigned kBanderasNoUsuario = 0x80000002u | 0x8u;

bool igualesSinMayusculas(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool esTablaDeUsuario(const MdbCatalogEntry& entrada) {
    if (entrada.object_type != MDB_TABLE) {
        return false;
    }
    if ((static_cast<unsigned>(entrada.flags) & kBanderasNoUsuario) != 0) {
        return false;
    }
    const std::string_view nombre(entrada.object_name);
    return !igualesSinMayusculas(nombre.substr(0, 4), "MSys");
}

std::string descripcionDanada(const fs::path& ruta) {
    return "La base de datos " + rutaComoTexto(ruta) + " está dañada";
}

// libmdb trusts the file: pages beyond the end or a header of another format can send it astray, so a
// file is only handed over when it has at least the header page and one more and carries a Jet or ACE
// signature.
void comprobarCabecera(const fs::path& ruta) {
    std::error_code error;
    if (!fs::is_regular_file(ruta, error)) {
        throw ErrorTrovanel("No se encuentra el fichero " + rutaComoTexto(ruta));
    }
    std::ifstream fichero(ruta, std::ios::binary);
    if (!fichero) {
        throw ErrorTrovanel("No se puede abrir la base de datos " + rutaComoTexto(ruta));
    }
    char cabecera[0x18] = {};
    fichero.read(cabecera, sizeof cabecera);
    const std::string_view firma(cabecera + 4, 15);
    if (!fichero || cabecera[0] != 0 || (firma != "Standard Jet DB" && firma != "Standard ACE DB")) {
        throw ErrorTrovanel("El fichero " + rutaComoTexto(ruta) + " no es una base de datos de Access");
    }
    // Byte 0x14 holds the version: Jet 3 uses 2 KiB pages, every later one 4 KiB.
    const std::uintmax_t pagina = cabecera[0x14] == 0 ? 2048 : 4096;
    const std::uintmax_t tamano = fs::file_size(ruta, error);
    if (error || tamano < 2 * pagina) {
        throw ErrorTrovanel(descripcionDanada(ruta));
    }
}

HandleMdb abrirMdb(const fs::path& ruta) {
    comprobarCabecera(ruta);
    HandleMdb mdb(mdb_open(ruta.c_str(), MDB_NOFLAGS));
    if (!mdb) {
        throw ErrorTrovanel("No se puede abrir la base de datos " + rutaComoTexto(ruta));
    }
    if (mdb_read_catalog(mdb.get(), MDB_TABLE) == nullptr) {
        throw ErrorTrovanel(descripcionDanada(ruta));
    }
    // Booleans are then told by their bound text, whatever libmdb's default.
    mdb_set_boolean_fmt_numbers(mdb.get());
    return mdb;
}

// The catalog entry of a table by its name, any case; Access names ignore case too.
MdbCatalogEntry* buscarTabla(MdbHandle* mdb, std::string_view tablaCp1252) {
    const std::string nombre = cp1252AUtf8(tablaCp1252);
    for (unsigned i = 0; mdb->catalog != nullptr && i < mdb->catalog->len; ++i) {
        auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entrada->object_type == MDB_TABLE && igualesSinMayusculas(entrada->object_name, nombre)) {
            return entrada;
        }
    }
    return nullptr;
}

TablaMdb leerDefinicion(MdbHandle* mdb, std::string_view tabla, const fs::path& ruta) {
    MdbCatalogEntry* entrada = buscarTabla(mdb, tabla);
    if (entrada == nullptr) {
        throw ErrorTrovanel("No existe la tabla " + std::string(tabla) + " en la base de datos " +
                            rutaComoTexto(ruta));
    }
    TablaMdb definicion(mdb_read_table(entrada));
    if (!definicion || mdb_read_columns(definicion.get()) == nullptr || definicion->columns == nullptr ||
        definicion->columns->len != definicion->num_cols || definicion->num_cols > MDB_MAX_COLS) {
        throw ErrorTrovanel("No se puede leer la tabla " + std::string(tabla) + ": " + descripcionDanada(ruta));
    }
    return definicion;
}

MdbColumn* columnaDe(MdbTableDef* tabla, unsigned indice) {
    return static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, indice));
}

std::vector<std::string> nombresDeColumnas(MdbTableDef* tabla) {
    std::vector<std::string> nombres;
    nombres.reserve(tabla->num_cols);
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
    std::uint64_t fraccion = magnitud % 10000;
    if (fraccion != 0) {
        std::string decimales = std::to_string(fraccion);
        decimales.insert(0, 4 - decimales.size(), '0');
        decimales.erase(decimales.find_last_not_of('0') + 1);
        texto += "," + decimales;
    }
    return texto;
}

// Access stores days before 30/12/1899 as a negative whole part with a positive time of day.
double serieLineal(double serie) {
    if (serie >= 0) {
        return serie;
    }
    const double dias = static_cast<double>(static_cast<std::int64_t>(serie));
    return dias + (dias - serie);
}

// Decimal columns come from libmdb as digits with a point and every place of the scale.
std::string textoDecimal(std::string texto) {
    const auto coma = texto.find_first_of(".,");
    if (coma != std::string::npos) {
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

class CursorMdb final : public CursorTabla {
public:
    CursorMdb(const fs::path& ruta, std::string_view tabla) : ruta_(ruta), nombreTabla_(tabla) {
        // A handle of its own: libmdb keeps the current page in the handle, so another cursor or a
        // column listing on a shared one would move this one's rows.
        mdb_ = abrirMdb(ruta);
        tabla_ = leerDefinicion(mdb_.get(), tabla, ruta);
        columnas_ = nombresDeColumnas(tabla_.get());
        const std::size_t tamano = mdb_->bind_size;
        buffers_.resize(tabla_->num_cols);
        largos_.resize(tabla_->num_cols);
        for (unsigned i = 0; i < tabla_->num_cols; ++i) {
            buffers_[i] = std::make_unique<char[]>(tamano);
            if (mdb_bind_column(tabla_.get(), static_cast<int>(i + 1), buffers_[i].get(), &largos_[i]) < 0) {
                throw ErrorTrovanel(descripcionDanada(ruta));
            }
        }
        mdb_rewind_table(tabla_.get());
    }

    const std::vector<std::string>& columnas() const override { return columnas_; }

    bool siguiente(std::vector<ValorColumna>& valores) override {
        if (terminado_ || tabla_->num_cols == 0 || mdb_fetch_row(tabla_.get()) == 0) {
            terminado_ = true;
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
    [[noreturn]] void danada() const {
        throw ErrorTrovanel("No se puede leer la tabla " + nombreTabla_ + ": " + descripcionDanada(ruta_));
    }

    // Whether a text column holds Null rather than a zero-length text: libmdb binds both as an empty
    // value, so the row's null mask is read again.
    bool textoNulo(unsigned indice) {
        if (nulos_.empty()) {
            nulos_.assign(tabla_->num_cols, false);
            int inicio = 0;
            std::size_t largo = 0;
            if (tabla_->cur_row == 0 || mdb_find_row(mdb_.get(), static_cast<int>(tabla_->cur_row - 1), &inicio,
                                                     &largo) != 0) {
                danada();
            }
            std::vector<MdbField> campos(tabla_->num_cols);
            const int total = mdb_crack_row(tabla_.get(), inicio & 0x1fff, largo, campos.data());
            if (total < 0) {
                danada();
            }
            for (int k = 0; k < total && k < static_cast<int>(campos.size()); ++k) {
                if (campos[k].colnum >= 0 && campos[k].colnum < static_cast<int>(nulos_.size())) {
                    nulos_[static_cast<std::size_t>(campos[k].colnum)] = campos[k].is_null != 0;
                }
            }
        }
        return nulos_[indice];
    }

    void leerValor(unsigned indice, ValorColumna& valor) {
        const MdbColumn* columna = columnaDe(tabla_.get(), indice);
        const char* ligado = buffers_[indice].get();
        valor.esComaFlotante = false;
        valor.numero = 0;
        switch (columna->col_type) {
        case MDB_BOOL:
            valor.texto = textoBooleano(std::strcmp(ligado, "1") == 0);
            return;
        case MDB_TEXT:
            if (columna->cur_value_len == 0 && textoNulo(indice)) {
                valor.texto.reset();
            } else {
                valor.texto = utf8ACp1252(ligado);
            }
            return;
        case MDB_MEMO:
        case MDB_REPID:
            if (columna->cur_value_len == 0) {
                valor.texto.reset();
            } else {
                valor.texto = utf8ACp1252(ligado);
            }
            return;
        case MDB_NUMERIC:
            if (columna->cur_value_len == 0) {
                valor.texto.reset();
            } else {
                valor.texto = textoDecimal(ligado);
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
        // Numbers are read from the page itself rather than from libmdb's text, which depends on the
        // locale and drops precision.
        const int inicio = columna->cur_value_start;
        if (columna->cur_value_len < ancho || inicio < 0 || inicio + ancho > mdb_->fmt->pg_size ||
            inicio + ancho > static_cast<int>(sizeof mdb_->pg_buf)) {
            danada();
        }
        const std::uint64_t bits = leerLe(mdb_->pg_buf + inicio, ancho);
        switch (columna->col_type) {
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
        case MDB_DATETIME:
            valor.texto = textoFecha(serieLineal(std::bit_cast<double>(bits)));
            break;
        default:
            valor.texto.reset();
            break;
        }
    }

    fs::path ruta_;
    std::string nombreTabla_;
    HandleMdb mdb_;
    // The buffers outlive the table that points at them.
    std::vector<std::unique_ptr<char[]>> buffers_;
    std::vector<int> largos_;
    TablaMdb tabla_;
    std::vector<std::string> columnas_;
    std::vector<bool> nulos_;
    bool terminado_ = false;
};

class OrigenMdb final : public OrigenAccess {
public:
    explicit OrigenMdb(const fs::path& ruta) : ruta_(ruta), mdb_(abrirMdb(ruta)) {}

    std::vector<std::string> tablas() override {
        std::vector<std::string> nombres;
        for (unsigned i = 0; mdb_->catalog != nullptr && i < mdb_->catalog->len; ++i) {
            const auto* entrada = static_cast<const MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
            if (esTablaDeUsuario(*entrada)) {
                nombres.push_back(utf8ACp1252(entrada->object_name));
            }
        }
        return nombres;
    }

    std::vector<std::string> columnas(std::string_view tabla) override {
        TablaMdb definicion = leerDefinicion(mdb_.get(), tabla, ruta_);
        return nombresDeColumnas(definicion.get());
    }

    std::unique_ptr<CursorTabla> abrirTabla(std::string_view tabla) override {
        return std::make_unique<CursorMdb>(ruta_, tabla);
    }

private:
    fs::path ruta_;
    HandleMdb mdb_;
};

} // namespace

std::unique_ptr<OrigenAccess> abrirOrigenMdb(const std::filesystem::path& ruta) {
    return std::make_unique<OrigenMdb>(ruta);
}

} // namespace trovanel
