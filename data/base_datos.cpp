#include "base_datos.hpp"

#include "codificacion.hpp"
#include "fichero_entrada.hpp"
#include "texto.hpp"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace trovanel {

namespace {

// A database file of the program holds client names and accounts: it is made the user's alone (0600,
// whatever the umask) before SQLite opens it, which keeps the mode of a file that is there and gives its
// journal the same one. Its descriptor, opened with acceso; -1 (errno EEXIST) for a file already there,
// which is left as it is.
int abrirNuevoPrivado(const std::filesystem::path& ruta, int acceso) {
    const int fd = ::open(ruta.c_str(), acceso | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0) {
        ::fchmod(fd, S_IRUSR | S_IWUSR);
    }
    return fd;
}

void crearPrivado(const std::filesystem::path& ruta) {
    if (const int fd = abrirNuevoPrivado(ruta, O_WRONLY); fd >= 0) {
        ::close(fd);
    }
}

constexpr const char* kEnUso = "La base de datos está en uso por otro proceso";

std::string describirErrorSistema(int numero) {
    switch (numero) {
    case EACCES:
    case EPERM:
        return "No hay permiso para acceder a la base de datos";
    case EROFS:
        return "La base de datos es de sólo lectura";
    case ENOSPC:
        return "El disco está lleno";
    default:
        return "No se puede abrir el fichero de la base de datos";
    }
}

} // namespace

std::string describirErrorSqlite(int codigo, sqlite3* db) {
    switch (codigo & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "La base de datos está en uso por otro proceso";
    case SQLITE_CANTOPEN:
        return "No se puede abrir el fichero de la base de datos";
    case SQLITE_NOTADB:
        return "El fichero no es una base de datos";
    case SQLITE_CORRUPT:
        return "La base de datos está dañada";
    case SQLITE_READONLY:
        return "La base de datos es de sólo lectura";
    case SQLITE_FULL:
        return "El disco está lleno";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "No hay permiso para acceder a la base de datos";
    default:
        break;
    }
    if (db != nullptr) {
        return utf8ACp1252(sqlite3_errmsg(db));
    }
    return utf8ACp1252(sqlite3_errstr(codigo));
}

std::string citarIdentificador(std::string_view nombre) {
    std::string citado = "\"";
    for (char c : nombre) {
        if (c == '"') {
            citado.push_back('"');
        }
        citado.push_back(c);
    }
    citado.push_back('"');
    return citado;
}

// ---------------------------------------------------------------------------------------------------

Sentencia::Sentencia(sqlite3* db, std::string_view sql) : db_(db) {
    const std::string utf8 = cp1252AUtf8(sql);
    const int codigo = sqlite3_prepare_v2(db_, utf8.c_str(), static_cast<int>(utf8.size()), &stmt_, nullptr);
    if (codigo != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw ErrorBaseDatos(describirErrorSqlite(codigo, db_));
    }
}

Sentencia::Sentencia(Sentencia&& otra) noexcept : db_(otra.db_), stmt_(std::exchange(otra.stmt_, nullptr)) {}

Sentencia::~Sentencia() {
    sqlite3_finalize(stmt_);
}

void Sentencia::comprobar(int codigo) const {
    if (codigo != SQLITE_OK) {
        throw ErrorBaseDatos(describirErrorSqlite(codigo, db_));
    }
}

Sentencia& Sentencia::enlazar(int indice, std::string_view texto) {
    const std::string utf8 = cp1252AUtf8(texto);
    comprobar(sqlite3_bind_text(stmt_, indice, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
    return *this;
}

Sentencia& Sentencia::enlazar(int indice, std::int64_t valor) {
    comprobar(sqlite3_bind_int64(stmt_, indice, valor));
    return *this;
}

Sentencia& Sentencia::enlazar(int indice, double valor) {
    comprobar(sqlite3_bind_double(stmt_, indice, valor));
    return *this;
}

Sentencia& Sentencia::enlazarNulo(int indice) {
    comprobar(sqlite3_bind_null(stmt_, indice));
    return *this;
}

bool Sentencia::siguiente() {
    const int codigo = sqlite3_step(stmt_);
    if (codigo == SQLITE_ROW) {
        return true;
    }
    if (codigo == SQLITE_DONE) {
        return false;
    }
    throw ErrorBaseDatos(describirErrorSqlite(codigo, db_));
}

void Sentencia::ejecutar() {
    while (siguiente()) {
    }
}

void Sentencia::reiniciar() {
    sqlite3_reset(stmt_);
}

int Sentencia::numeroColumnas() const {
    return sqlite3_column_count(stmt_);
}

std::string Sentencia::nombreColumna(int columna) const {
    const char* nombre = sqlite3_column_name(stmt_, columna);
    return nombre == nullptr ? std::string() : utf8ACp1252(nombre);
}

int Sentencia::columna(std::string_view nombre) const {
    const int total = numeroColumnas();
    for (int i = 0; i < total; ++i) {
        if (igualesSinMayusculas(nombreColumna(i), nombre)) {
            return i;
        }
    }
    return -1;
}

int Sentencia::columnaObligatoria(std::string_view nombre) const {
    const int indice = columna(nombre);
    if (indice < 0) {
        throw ErrorBaseDatos("No existe la columna " + std::string(nombre));
    }
    return indice;
}

bool Sentencia::esNulo(int columna) const {
    return sqlite3_column_type(stmt_, columna) == SQLITE_NULL;
}

std::string Sentencia::texto(int columna) const {
    const auto* datos = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, columna));
    if (datos == nullptr) {
        return {};
    }
    const int largo = sqlite3_column_bytes(stmt_, columna);
    return utf8ACp1252(std::string_view(datos, static_cast<std::size_t>(largo)), kSinEquivalente);
}

std::int64_t Sentencia::entero(int columna) const {
    return sqlite3_column_int64(stmt_, columna);
}

double Sentencia::real(int columna) const {
    return sqlite3_column_double(stmt_, columna);
}

// ---------------------------------------------------------------------------------------------------

CerrojoBaseDatos CerrojoBaseDatos::tomar(const std::filesystem::path& ruta, bool crear) {
    // A file put in the place of the one opened, before the lock was taken, is opened again: the lock
    // must be on the file that bears the name.
    // A device or a FIFO, named or linked to, is no database: it is not even opened, since opening one
    // may do something, and an empty one would be taken for a database to create in its place.
    const std::string noRegular = "La base de datos " + rutaComoTexto(ruta) + " " + kNoEsFicheroRegular;
    struct stat previo {};
    if (::stat(ruta.c_str(), &previo) == 0 && !S_ISREG(previo.st_mode)) {
        throw ErrorBaseDatos(noRegular);
    }
    for (int intento = 0; intento < 8; ++intento) {
        CerrojoBaseDatos cerrojo;
        cerrojo.descriptor_ = ::open(ruta.c_str(), O_RDWR | O_CLOEXEC);
        if (cerrojo.descriptor_ < 0 && errno == ENOENT && crear) {
            cerrojo.descriptor_ = abrirNuevoPrivado(ruta, O_RDWR);
            if (cerrojo.descriptor_ < 0 && errno == EEXIST) {
                struct stat enlace {};
                if (::lstat(ruta.c_str(), &enlace) == 0 && S_ISLNK(enlace.st_mode)) {
                    // Neither there nor creatable: a link whose file is gone, not a database in use.
                    throw ErrorBaseDatos("La base de datos " + rutaComoTexto(ruta) +
                                         " es un enlace a un fichero que no existe");
                }
                continue;
            }
            if (cerrojo.descriptor_ < 0) {
                throw ErrorBaseDatos("No se puede crear la base de datos " + rutaComoTexto(ruta));
            }
            cerrojo.creado_ = true;
        }
        if (cerrojo.descriptor_ < 0) {
            throw ErrorBaseDatos(describirErrorSistema(errno));
        }
        struct flock bloqueo {};
        bloqueo.l_type = F_WRLCK;
        bloqueo.l_whence = SEEK_SET; // from byte 0 to the end, however far the file grows
        if (::fcntl(cerrojo.descriptor_, F_OFD_SETLK, &bloqueo) != 0) {
            throw ErrorBaseDatos(errno == EAGAIN || errno == EACCES
                                     ? kEnUso
                                     : "No se puede bloquear el fichero de la base de datos");
        }
        struct stat abierto {};
        struct stat nombrado {};
        if (::fstat(cerrojo.descriptor_, &abierto) == 0 && ::stat(ruta.c_str(), &nombrado) == 0 &&
            abierto.st_dev == nombrado.st_dev && abierto.st_ino == nombrado.st_ino) {
            if (!S_ISREG(abierto.st_mode)) {
                throw ErrorBaseDatos(noRegular);
            }
            return cerrojo;
        }
    }
    throw ErrorBaseDatos(kEnUso);
}

CerrojoBaseDatos::CerrojoBaseDatos(CerrojoBaseDatos&& otro) noexcept
    : descriptor_(std::exchange(otro.descriptor_, -1)), creado_(otro.creado_) {}

CerrojoBaseDatos& CerrojoBaseDatos::operator=(CerrojoBaseDatos&& otro) noexcept {
    if (this != &otro) {
        soltar();
        descriptor_ = std::exchange(otro.descriptor_, -1);
        creado_ = otro.creado_;
    }
    return *this;
}

CerrojoBaseDatos::~CerrojoBaseDatos() {
    soltar();
}

void CerrojoBaseDatos::soltar() {
    if (descriptor_ >= 0) {
        // Closing the last descriptor of the open file description releases the lock.
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

std::uintmax_t CerrojoBaseDatos::tamano() const {
    struct stat datos {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &datos) != 0) {
        throw ErrorBaseDatos("No se puede abrir el fichero de la base de datos");
    }
    return static_cast<std::uintmax_t>(datos.st_size);
}

std::string CerrojoBaseDatos::principio(std::size_t bytes) const {
    std::string texto(bytes, '\0');
    std::size_t leidos = 0;
    while (descriptor_ >= 0 && leidos < bytes) {
        const ssize_t n =
            ::pread(descriptor_, texto.data() + leidos, bytes - leidos, static_cast<off_t>(leidos));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        leidos += static_cast<std::size_t>(n);
    }
    texto.resize(leidos);
    return texto;
}

// ---------------------------------------------------------------------------------------------------

BaseDatos BaseDatos::abrir(const std::filesystem::path& ruta, Modo modo) {
    int banderas = 0;
    switch (modo) {
    case Modo::Exclusiva:
        return abrirExclusiva(ruta, CerrojoBaseDatos::tomar(ruta, false));
    case Modo::Creacion:
        crearPrivado(ruta);
        banderas = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case Modo::SoloLectura:
        banderas = SQLITE_OPEN_READONLY;
        break;
    }
    sqlite3* db = nullptr;
    const int codigo = sqlite3_open_v2(ruta.c_str(), &db, banderas | SQLITE_OPEN_NOMUTEX, nullptr);
    BaseDatos bd(db);
    if (codigo != SQLITE_OK) {
        throw ErrorBaseDatos(describirErrorSqlite(codigo, db));
    }
    sqlite3_extended_result_codes(db, 0);
    // Reading the schema here reports a file that is not a database when it is opened, not later.
    bd.ejecutarScript("SELECT count(*) FROM sqlite_master");
    return bd;
}

BaseDatos BaseDatos::abrirExclusiva(const std::filesystem::path& ruta, CerrojoBaseDatos cerrojo) {
    // The lock already keeps every other process out. SQLite's own locks would be POSIX ones, which any
    // close of the file within this process drops, so this connection takes none ("unix-none").
    sqlite3* db = nullptr;
    const int codigo =
        sqlite3_open_v2(ruta.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, "unix-none");
    BaseDatos bd(db);
    if (codigo != SQLITE_OK) {
        throw ErrorBaseDatos(describirErrorSqlite(codigo, db));
    }
    sqlite3_extended_result_codes(db, 0);
    // Nobody else can write the file: the page cache stays valid from one transaction to the next.
    bd.ejecutarScript("PRAGMA locking_mode=EXCLUSIVE");
    bd.ejecutarScript("SELECT count(*) FROM sqlite_master");
    bd.cerrojo_ = std::move(cerrojo);
    return bd;
}

BaseDatos::BaseDatos(BaseDatos&& otra) noexcept
    : db_(std::exchange(otra.db_, nullptr)), cerrojo_(std::move(otra.cerrojo_)) {}

BaseDatos& BaseDatos::operator=(BaseDatos&& otra) noexcept {
    if (this != &otra) {
        cerrar();
        db_ = std::exchange(otra.db_, nullptr);
        cerrojo_ = std::move(otra.cerrojo_);
    }
    return *this;
}

BaseDatos::~BaseDatos() {
    cerrar();
}

void BaseDatos::cerrar() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    // Only once the connection has written everything back.
    cerrojo_.soltar();
}

Sentencia BaseDatos::preparar(std::string_view sql) {
    if (db_ == nullptr) {
        throw ErrorBaseDatos("La base de datos no está abierta");
    }
    return Sentencia(db_, sql);
}

void BaseDatos::ejecutarScript(std::string_view sql) {
    if (db_ == nullptr) {
        throw ErrorBaseDatos("La base de datos no está abierta");
    }
    const std::string utf8 = cp1252AUtf8(sql);
    const int codigo = sqlite3_exec(db_, utf8.c_str(), nullptr, nullptr, nullptr);
    if (codigo != SQLITE_OK) {
        throw ErrorBaseDatos(describirErrorSqlite(codigo, db_));
    }
}

std::int64_t BaseDatos::ultimoId() const {
    return sqlite3_last_insert_rowid(db_);
}

std::vector<std::string> BaseDatos::tablas() {
    std::vector<std::string> nombres;
    // Virtual tables are listed, not the shadow tables that hold their data (an FTS5 index's or an
    // R*Tree's), which only their own module understands.
    auto consulta = preparar("SELECT m.name FROM sqlite_master AS m "
                             "JOIN pragma_table_list AS t ON t.schema = 'main' AND t.name = m.name "
                             "WHERE m.type = 'table' AND t.type IN ('table', 'virtual') "
                             "AND m.name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY m.rowid");
    while (consulta.siguiente()) {
        nombres.push_back(consulta.texto(0));
    }
    return nombres;
}

std::vector<std::string> BaseDatos::columnas(std::string_view tabla) {
    std::vector<std::string> nombres;
    // The columns SELECT * returns: generated ones too (hidden 2 and 3), not the hidden columns of a
    // virtual table (hidden 1).
    auto consulta = preparar("SELECT name FROM pragma_table_xinfo(?) WHERE hidden <> 1 ORDER BY cid");
    consulta.con(tabla);
    while (consulta.siguiente()) {
        nombres.push_back(consulta.texto(0));
    }
    return nombres;
}

void BaseDatos::copiarA(const std::filesystem::path& destino) {
    // The copy holds what the database holds.
    crearPrivado(destino);
    sqlite3* copia = nullptr;
    int codigo =
        sqlite3_open_v2(destino.c_str(), &copia, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (codigo == SQLITE_OK) {
        sqlite3_backup* respaldo = sqlite3_backup_init(copia, "main", db_, "main");
        if (respaldo == nullptr) {
            codigo = sqlite3_errcode(copia);
        } else {
            sqlite3_backup_step(respaldo, -1);
            codigo = sqlite3_backup_finish(respaldo);
        }
    }
    std::string descripcion = codigo == SQLITE_OK ? std::string() : describirErrorSqlite(codigo, copia);
    sqlite3_close_v2(copia);
    if (codigo != SQLITE_OK) {
        std::error_code ignorado;
        std::filesystem::remove(destino, ignorado);
        throw ErrorBaseDatos(descripcion);
    }
}

BaseDatos::Transaccion::Transaccion(BaseDatos& bd) : bd_(bd) {
    bd_.ejecutarScript("BEGIN IMMEDIATE");
}

BaseDatos::Transaccion::~Transaccion() {
    if (activa_) {
        try {
            bd_.ejecutarScript("ROLLBACK");
        } catch (const ErrorBaseDatos&) {
            // Nothing more can be done: SQLite has already rolled back when ROLLBACK itself fails.
        }
    }
}

void BaseDatos::Transaccion::confirmar() {
    bd_.ejecutarScript("COMMIT");
    activa_ = false;
}

} // namespace trovanel
