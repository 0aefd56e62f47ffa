#pragma once

#include "error.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace trovanel {

// A database failure; what() holds the description that the messages print after "Error: ".
class ErrorBaseDatos : public ErrorTrovanel {
public:
    explicit ErrorBaseDatos(const std::string& descripcion) : ErrorTrovanel(descripcion) {}
};

// One prepared statement with bound values and a forward cursor over its rows. Text goes in and comes
// out as Windows-1252; the database holds UTF-8. A NULL reads as "" or 0.
class Sentencia {
public:
    Sentencia(sqlite3* db, std::string_view sql);
    Sentencia(Sentencia&& otra) noexcept;
    Sentencia& operator=(Sentencia&&) = delete;
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;
    ~Sentencia();

    // Parameters are numbered from 1.
    Sentencia& enlazar(int indice, std::string_view texto);
    Sentencia& enlazar(int indice, const char* texto) { return enlazar(indice, std::string_view(texto)); }
    Sentencia& enlazar(int indice, std::int64_t valor);
    Sentencia& enlazar(int indice, int valor) { return enlazar(indice, static_cast<std::int64_t>(valor)); }
    Sentencia& enlazar(int indice, double valor);
    Sentencia& enlazarNulo(int indice);

    // Binds the values to parameters 1, 2, ... in order.
    template <typename... Valores> Sentencia& con(const Valores&... valores) {
        int indice = 0;
        (enlazar(++indice, valores), ...);
        return *this;
    }

    // Moves to the next row: false at the end. Throws ErrorBaseDatos on failure.
    bool siguiente();
    // Runs a statement that returns no rows.
    void ejecutar();
    // Starts again from the first row with the same bound values.
    void reiniciar();

    int numeroColumnas() const;
    std::string nombreColumna(int columna) const;
    // Index of a column by name, matched without regard to case; -1 when there is none.
    int columna(std::string_view nombre) const;

    bool esNulo(int columna) const;
    std::string texto(int columna) const;
    std::int64_t entero(int columna) const;
    double real(int columna) const;
    bool logico(int columna) const { return entero(columna) != 0; }

    // The same by column name; a missing column throws ErrorBaseDatos.
    std::string texto(std::string_view nombre) const { return texto(columnaObligatoria(nombre)); }
    std::int64_t entero(std::string_view nombre) const { return entero(columnaObligatoria(nombre)); }
    bool logico(std::string_view nombre) const { return logico(columnaObligatoria(nombre)); }

private:
    int columnaObligatoria(std::string_view nombre) const;
    void comprobar(int codigo) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// An exclusive lock on a whole database file for as long as the object lives: an open file description
// lock (F_OFD_SETLK) taken through a descriptor of its own. POSIX record locks belong to the process and
// any close of any descriptor of the file drops them, so another open of the file within the process
// (a file dialog telling its kind) would set it free; this lock goes only with its own descriptor. Other
// processes see it as a write lock over the whole file: another instance of the program, and any SQLite
// program, find the database locked.
class CerrojoBaseDatos {
public:
    // Opens and locks the file at ruta, first creating it empty when crear and there is none. Throws
    // ErrorBaseDatos; "La base de datos está en uso por otro proceso" when another holds it.
    static CerrojoBaseDatos tomar(const std::filesystem::path& ruta, bool crear);

    CerrojoBaseDatos() = default;
    CerrojoBaseDatos(CerrojoBaseDatos&& otro) noexcept;
    CerrojoBaseDatos& operator=(CerrojoBaseDatos&& otro) noexcept;
    CerrojoBaseDatos(const CerrojoBaseDatos&) = delete;
    CerrojoBaseDatos& operator=(const CerrojoBaseDatos&) = delete;
    ~CerrojoBaseDatos();

    // The file did not exist and tomar() created it.
    bool creado() const { return creado_; }
    std::uintmax_t tamano() const;
    // The first bytes of the file (fewer when it is shorter), read without moving anything.
    std::string principio(std::size_t bytes) const;
    void soltar();

private:
    int descriptor_ = -1;
    bool creado_ = false;
};

class BaseDatos {
public:
    enum class Modo {
        // Read and write, holding a CerrojoBaseDatos for the life of the connection, so no other
        // process can open the same file.
        Exclusiva,
        // Read and write, created when missing; used to build a new database before it is opened.
        Creacion,
        // Read only, shared (input tables).
        SoloLectura,
    };

    static BaseDatos abrir(const std::filesystem::path& ruta, Modo modo);
    // Opens exclusively a file whose lock the caller already holds; the connection keeps the lock.
    static BaseDatos abrirExclusiva(const std::filesystem::path& ruta, CerrojoBaseDatos cerrojo);

    BaseDatos(BaseDatos&& otra) noexcept;
    BaseDatos& operator=(BaseDatos&& otra) noexcept;
    BaseDatos(const BaseDatos&) = delete;
    BaseDatos& operator=(const BaseDatos&) = delete;
    ~BaseDatos();

    Sentencia preparar(std::string_view sql);
    // Runs SQL text without values (schema and seed only).
    void ejecutarScript(std::string_view sql);
    std::int64_t ultimoId() const;

    std::vector<std::string> tablas();
    std::vector<std::string> columnas(std::string_view tabla);

    // Copies the whole database to a new file through SQLite's backup API.
    void copiarA(const std::filesystem::path& destino);

    void cerrar();
    bool abierta() const { return db_ != nullptr; }
    sqlite3* nativo() const { return db_; }

    // Everything written between its creation and confirmar() happens whole or not at all.
    class Transaccion {
    public:
        explicit Transaccion(BaseDatos& bd);
        Transaccion(const Transaccion&) = delete;
        Transaccion& operator=(const Transaccion&) = delete;
        ~Transaccion();
        void confirmar();

    private:
        BaseDatos& bd_;
        bool activa_ = true;
    };

private:
    explicit BaseDatos(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
    CerrojoBaseDatos cerrojo_;
};

// Spanish description of an SQLite result code, with the engine's own text where nothing better exists.
std::string describirErrorSqlite(int codigo, sqlite3* db);

// Quotes a name as an SQL identifier, for table names that come from input files.
std::string citarIdentificador(std::string_view nombre);

} // namespace trovanel
