// SQLite files as input tables, read-only.
#include "origen_access.hpp"

#include "base_datos.hpp"
#include "codificacion.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "limites.hpp"
#include "texto.hpp"
#include "valores_texto.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {

namespace {

namespace fs = std::filesystem;

struct FinalizarSentencia {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using SentenciaNativa = std::unique_ptr<sqlite3_stmt, FinalizarSentencia>;

// Most input text is plain ASCII: it is copied into the value's own buffer, which keeps its capacity
// from row to row; only the rest goes through the conversion.
void asignarTexto(std::optional<std::string>& destino, const unsigned char* datos, int bytes) {
    const std::string_view utf8(reinterpret_cast<const char*>(datos), static_cast<std::size_t>(bytes));
    if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        destino = utf8ACp1252(utf8, kSinEquivalente);
    } else if (destino) {
        destino->assign(utf8);
    } else {
        destino.emplace(utf8);
    }
}

void asignarEntero(std::optional<std::string>& destino, std::int64_t valor) {
    char buffer[24];
    const auto fin = std::to_chars(buffer, buffer + sizeof buffer, valor).ptr;
    if (destino) {
        destino->assign(buffer, fin);
    } else {
        destino.emplace(buffer, fin);
    }
}

class CursorSqlite final : public CursorTabla {
public:
    CursorSqlite(std::shared_ptr<BaseDatos> bd, std::string_view tabla, const fs::path& ruta)
        : bd_(std::move(bd)) {
        const std::string sql = cp1252AUtf8("SELECT * FROM " + citarIdentificador(tabla));
        sqlite3_stmt* stmt = nullptr;
        const int codigo =
            sqlite3_prepare_v2(bd_->nativo(), sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        stmt_.reset(stmt);
        const std::string noSeLee = "No se puede leer la tabla " + std::string(tabla) +
                                    " de la base de datos " + rutaComoTexto(ruta) + ". ";
        if (codigo != SQLITE_OK) {
            throw ErrorTrovanel(noSeLee + describirErrorSqlite(codigo, bd_->nativo()));
        }
        const int total = sqlite3_column_count(stmt_.get());
        // Each step holds the whole row: its columns, each within kMaxValor, keep it bounded.
        if (total > kMaxColumnasTabla) {
            throw ErrorTrovanel(noSeLee + "Tiene más de " + std::to_string(kMaxColumnasTabla) + " columnas");
        }
        for (int i = 0; i < total; ++i) {
            const char* nombre = sqlite3_column_name(stmt_.get(), i);
            columnas_.push_back(nombre == nullptr ? std::string() : utf8ACp1252(nombre));
        }
    }

    const std::vector<std::string>& columnas() const override { return columnas_; }

    bool siguiente(std::vector<ValorColumna>& valores) override {
        if (terminado_) {
            return false;
        }
        const int codigo = sqlite3_step(stmt_.get());
        if (codigo == SQLITE_DONE) {
            terminado_ = true;
            return false;
        }
        if (codigo != SQLITE_ROW) {
            terminado_ = true;
            // SQLite refuses a value past the cap set at the open before it loads it.
            if ((codigo & 0xFF) == SQLITE_TOOBIG) {
                throw ErrorTrovanel("La fila " + std::to_string(filas_ + 1) + " tiene un valor de más de " +
                                    std::to_string(kMaxValor) + " bytes");
            }
            throw ErrorTrovanel(describirErrorSqlite(codigo, bd_->nativo()));
        }
        ++filas_;
        valores.resize(columnas_.size());
        for (std::size_t i = 0; i < columnas_.size(); ++i) {
            leerValor(static_cast<int>(i), valores[i]);
        }
        return true;
    }

private:
    void leerValor(int indice, ValorColumna& valor) {
        sqlite3_stmt* stmt = stmt_.get();
        valor.esComaFlotante = false;
        valor.esNumero = false;
        valor.numero = 0;
        switch (sqlite3_column_type(stmt, indice)) {
        case SQLITE_INTEGER:
            asignarEntero(valor.texto, sqlite3_column_int64(stmt, indice));
            valor.esNumero = true;
            break;
        case SQLITE_FLOAT: {
            const double numero = sqlite3_column_double(stmt, indice);
            valor.texto = textoNumero(numero);
            valor.esComaFlotante = true;
            valor.esNumero = true;
            valor.numero = numero;
            break;
        }
        case SQLITE_TEXT: {
            const unsigned char* datos = sqlite3_column_text(stmt, indice);
            asignarTexto(valor.texto, datos, datos == nullptr ? 0 : sqlite3_column_bytes(stmt, indice));
            break;
        }
        default:
            // NULL, and BLOB, which has no text.
            valor.texto.reset();
            break;
        }
    }

    // The connection outlives the statement, even when the source is closed first.
    std::shared_ptr<BaseDatos> bd_;
    SentenciaNativa stmt_;
    std::vector<std::string> columnas_;
    std::int64_t filas_ = 0;
    bool terminado_ = false;
};

class OrigenSqlite final : public OrigenAccess {
public:
    OrigenSqlite(BaseDatos bd, const fs::path& ruta)
        : ruta_(ruta), bd_(std::make_shared<BaseDatos>(std::move(bd))) {}

    std::vector<std::string> tablas() override {
        try {
            return bd_->tablas();
        } catch (const ErrorBaseDatos& e) {
            throw ErrorTrovanel(std::string("No se puede leer la base de datos ") + rutaComoTexto(ruta_) +
                                ". " + e.what());
        }
    }

    std::vector<std::string> columnas(std::string_view tabla) override {
        const std::string nombre = nombreExacto(tabla);
        try {
            return bd_->columnas(nombre);
        } catch (const ErrorBaseDatos& e) {
            throw ErrorTrovanel("No se puede leer la tabla " + nombre + ". " + e.what());
        }
    }

    std::unique_ptr<CursorTabla> abrirTabla(std::string_view tabla) override {
        return std::make_unique<CursorSqlite>(bd_, nombreExacto(tabla), ruta_);
    }

private:
    // Only listed tables are read: never a view, an internal table or a name that is not there.
    std::string nombreExacto(std::string_view tabla) {
        for (std::string& nombre : tablas()) {
            if (igualesSinMayusculas(nombre, tabla)) {
                return std::move(nombre);
            }
        }
        throw ErrorTrovanel("No existe la tabla " + std::string(tabla) + " en la base de datos " +
                            rutaComoTexto(ruta_));
    }

    fs::path ruta_;
    std::shared_ptr<BaseDatos> bd_;
};

} // namespace

std::unique_ptr<OrigenAccess> abrirOrigenSqlite(const std::filesystem::path& ruta) {
    // Checked first: SQLite would only say that it cannot open the file, or wait on a pipe.
    HuellaFichero huella;
    {
        const FicheroEntrada fichero(ruta);
        if (fichero.noEsFichero()) {
            throw ErrorTrovanel(
                mensajeEntrada("No se puede abrir la base de datos", ruta, kNoEsFicheroRegular));
        }
        if (!fichero.abierto()) {
            throw ErrorTrovanel(
                (fichero.ausente() ? "No se encuentra el fichero " : "No se puede abrir la base de datos ") +
                rutaComoTexto(ruta));
        }
        huella = fichero.huella();
    }
    std::unique_ptr<OrigenAccess> origen;
    try {
        BaseDatos bd = BaseDatos::abrir(ruta, BaseDatos::Modo::SoloLectura);
        // A value past the cap ends the read with SQLite's own "string or blob too big" before it is
        // loaded, as any other damage would.
        sqlite3_limit(bd.nativo(), SQLITE_LIMIT_LENGTH, static_cast<int>(kMaxValor));
        origen = std::make_unique<OrigenSqlite>(std::move(bd), ruta);
    } catch (const ErrorBaseDatos& e) {
        throw ErrorTrovanel("No se puede abrir la base de datos " + rutaComoTexto(ruta) + ". " + e.what());
    }
    origen->ficheroLeido = FicheroLeido{ruta, huella};
    return origen;
}

} // namespace trovanel
