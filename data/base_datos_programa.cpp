#include "base_datos_programa.hpp"

#include "codificacion.hpp"
#include "datos_iniciales.hpp"

#include <unistd.h>

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {

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

BaseDatos abrirBaseDatosPrograma(const std::filesystem::path& ruta, bool* creada) {
    CerrojoBaseDatos cerrojo = CerrojoBaseDatos::tomar(ruta, true);
    const bool nueva = cerrojo.tamano() == 0;
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
    if (creada != nullptr) {
        *creada = nueva;
    }
    return bd;
}

} // namespace trovanel
