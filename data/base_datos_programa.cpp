#include "base_datos_programa.hpp"

#include "codificacion.hpp"
#include "datos_iniciales.hpp"
#include "texto.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {

// SQLite names a database's journal after the database with this added.
constexpr std::string_view kDiario = "-journal";
// Between the database's name and the process id: a new database being built.
constexpr std::string_view kNueva = ".nueva-";
// After a day's copy's name: the copy being made.
constexpr std::string_view kParcial = ".parcial";

std::string_view sinDiario(std::string_view nombre) {
    return nombre.ends_with(kDiario) ? nombre.substr(0, nombre.size() - kDiario.size()) : nombre;
}

// "<base>.nueva-<process id>" or its journal.
bool esProvisional(std::string_view nombre, std::string_view base) {
    nombre = sinDiario(nombre);
    return nombre.starts_with(base) && nombre.substr(base.size()).starts_with(kNueva) &&
           soloDigitos(nombre.substr(base.size() + kNueva.size()));
}

// "<day><month><year>.Copy" (with ".parcial" after it when parcial) or its journal.
bool esCopia(std::string_view nombre, bool parcial) {
    nombre = sinDiario(nombre);
    if (parcial) {
        if (!nombre.ends_with(kParcial)) {
            return false;
        }
        nombre.remove_suffix(kParcial.size());
    }
    const std::string_view extension = kExtensionCopia;
    return nombre.ends_with(extension) && soloDigitos(nombre.substr(0, nombre.size() - extension.size()));
}

void quitarConDiario(const std::filesystem::path& ruta) {
    std::error_code ignorado;
    std::filesystem::remove(ruta, ignorado);
    std::filesystem::path diario = ruta;
    diario += kDiario;
    std::filesystem::remove(diario, ignorado);
}

// What a killed start left beside the database at ruta: a new database being built, a day's copy being
// made. Only a start that holds the database's lock builds or copies, so while the caller holds it every
// such file is a leftover, whichever process made it; the process id in a name could not tell, as ids
// are reused and differ between machines and containers sharing the folder.
void quitarRestos(const std::filesystem::path& ruta) {
    const std::filesystem::path carpeta = ruta.has_parent_path() ? ruta.parent_path() : ".";
    const std::string base = ruta.filename().string();
    std::vector<std::filesystem::path> restos;
    std::error_code error;
    for (std::filesystem::directory_iterator it(carpeta, error), fin; !error && it != fin;
         it.increment(error)) {
        const std::string nombre = it->path().filename().string();
        if (esProvisional(nombre, base) || esCopia(nombre, true)) {
            restos.push_back(it->path());
        }
    }
    for (const auto& resto : restos) {
        std::filesystem::remove(resto, error);
    }
}

// Builds a complete new database beside ruta and gives its path.
std::filesystem::path construirProvisional(const std::filesystem::path& ruta) {
    std::filesystem::path provisional = ruta;
    provisional += ".nueva-" + std::to_string(::getpid());
    std::error_code ignorado;
    std::filesystem::remove(provisional, ignorado);
    try {
        BaseDatos bd = BaseDatos::abrir(provisional, BaseDatos::Modo::Creacion);
        BaseDatos::Transaccion transaccion(bd);
        bd.ejecutarScript(esquemaSql());
        bd.ejecutarScript(semillaSql());
        transaccion.confirmar();
    } catch (...) {
        std::filesystem::remove(provisional, ignorado);
        throw;
    }
    return provisional;
}

void darNombre(const std::filesystem::path& provisional, const std::filesystem::path& ruta) {
    std::error_code error;
    std::filesystem::rename(provisional, ruta, error);
    if (error) {
        std::filesystem::remove(provisional, error);
        throw ErrorBaseDatos("No se puede crear la base de datos " + rutaComoTexto(ruta));
    }
}

// The tables the schema creates, by name.
std::vector<std::string> tablasDelEsquema() {
    constexpr std::string_view kCrear = "CREATE TABLE ";
    const std::string_view esquema = esquemaSql();
    std::vector<std::string> tablas;
    for (auto inicio = esquema.find(kCrear); inicio != std::string_view::npos;
         inicio = esquema.find(kCrear, inicio)) {
        inicio += kCrear.size();
        const auto fin = esquema.find_first_of(" (\n", inicio);
        tablas.emplace_back(esquema.substr(inicio, fin - inicio));
    }
    return tablas;
}

std::string noEsLaDelPrograma(const std::filesystem::path& ruta) {
    return "La base de datos " + rutaComoTexto(ruta) +
           " no es la del programa; se ha dejado como estaba (apártela para que el programa cree una nueva)";
}

} // namespace

void crearBaseDatosPrograma(const std::filesystem::path& ruta) {
    darNombre(construirProvisional(ruta), ruta);
}

FicheroDeBaseDatos clasificarFichero(std::string_view nombre) {
    if (sinDiario(nombre) == kNombreBaseDatos || esProvisional(nombre, kNombreBaseDatos)) {
        return FicheroDeBaseDatos::BaseDatos;
    }
    if (esCopia(nombre, false) || esCopia(nombre, true)) {
        return FicheroDeBaseDatos::Copia;
    }
    return FicheroDeBaseDatos::Ninguno;
}

BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta) {
    CerrojoBaseDatos cerrojo = CerrojoBaseDatos::tomar(ruta, true);
    const bool nueva = cerrojo.tamano() == 0;
    // A start never creates a database through a link, so an empty file behind one is the user's: it is
    // left as it is rather than replaced, link and all, by a new database.
    std::error_code error;
    if (nueva && !cerrojo.creado() && std::filesystem::is_symlink(ruta, error)) {
        throw ErrorBaseDatos("La base de datos " + rutaComoTexto(ruta) + " es un enlace a un fichero vacío");
    }
    quitarRestos(ruta);
    if (nueva) {
        // Built while the empty file is held, so two first starts cannot both put a database in place;
        // the new one is locked before it takes the name.
        try {
            const std::filesystem::path provisional = construirProvisional(ruta);
            CerrojoBaseDatos delNuevo;
            try {
                delNuevo = CerrojoBaseDatos::tomar(provisional, false);
            } catch (...) {
                std::error_code ignorado;
                std::filesystem::remove(provisional, ignorado);
                throw;
            }
            darNombre(provisional, ruta);
            cerrojo = std::move(delNuevo);
        } catch (...) {
            if (cerrojo.creado()) {
                std::error_code ignorado;
                std::filesystem::remove(ruta, ignorado);
            }
            throw;
        }
    } else if (cerrojo.principio(16) != std::string_view("SQLite format 3\0", 16)) {
        throw ErrorBaseDatos(noEsLaDelPrograma(ruta));
    }

    BaseDatos bd = BaseDatos::abrirExclusiva(ruta, std::move(cerrojo));
    // Checked before anything writes, the day's copy included: the file is the user's.
    auto consulta =
        bd.preparar("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    for (const std::string& tabla : tablasDelEsquema()) {
        consulta.reiniciar();
        consulta.con(tabla);
        if (!consulta.siguiente() || consulta.entero(0) == 0) {
            throw ErrorBaseDatos(noEsLaDelPrograma(ruta));
        }
    }
    return bd;
}

void copiarBaseDatosPrograma(BaseDatos& baseDatos, const std::filesystem::path& copia) {
    std::filesystem::path parcial = copia;
    parcial += kParcial;
    quitarConDiario(parcial);
    try {
        baseDatos.copiarA(parcial);
    } catch (...) {
        quitarConDiario(parcial);
        throw;
    }
    // A copy is made only where no file of that name is, and a link there counts as one.
    int resultado = ::renameat2(AT_FDCWD, parcial.c_str(), AT_FDCWD, copia.c_str(), RENAME_NOREPLACE);
    if (resultado != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system that cannot refuse to replace: the caller found no file there, holding the lock.
        std::error_code error;
        const bool ocupado = std::filesystem::exists(std::filesystem::symlink_status(copia, error));
        resultado = ocupado || error ? -1 : ::rename(parcial.c_str(), copia.c_str());
    }
    if (resultado != 0) {
        quitarConDiario(parcial);
        throw ErrorBaseDatos("No se puede crear la copia " + rutaComoTexto(copia));
    }
}

} // namespace trovanel
