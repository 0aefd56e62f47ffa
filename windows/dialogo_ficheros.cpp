#include "dialogo_ficheros.hpp"

#include "programa.hpp"

#include <system_error>

namespace trovanel {

namespace {

std::filesystem::path recordar(const ContextoVentanas& contexto, std::string_view proposito,
                               const std::filesystem::path& elegido) {
    // A folder that cannot be kept only costs the next dialog its starting place: nothing to tell.
    if (!elegido.empty()) {
        guardarCarpetaReciente(contexto.carpetaPrograma, proposito, elegido.parent_path());
    }
    return elegido;
}

} // namespace

std::filesystem::path carpetaInicial(const std::filesystem::path& carpetaPrograma,
                                     std::string_view proposito) {
    const std::optional<std::filesystem::path> reciente = leerCarpetaReciente(carpetaPrograma, proposito);
    std::error_code error;
    if (reciente && std::filesystem::is_directory(*reciente, error)) {
        return *reciente;
    }
    // A first conversion starts where the example input was put, not in a home folder that hides it.
    if (proposito == kCarpetaEntrada && std::filesystem::is_directory(carpetaPrograma, error)) {
        return carpetaPrograma;
    }
    return carpetaPersonal();
}

std::filesystem::path abrirFicheroPara(const ContextoVentanas& contexto, std::string_view proposito,
                                       const std::string& titulo, const std::string& filtro) {
    return recordar(
        contexto, proposito,
        contexto.selector.abrirFichero(titulo, filtro, carpetaInicial(contexto.carpetaPrograma, proposito)));
}

std::filesystem::path guardarFicheroPara(const ContextoVentanas& contexto, std::string_view proposito,
                                         const std::string& titulo) {
    return recordar(
        contexto, proposito,
        contexto.selector.guardarFichero(titulo, carpetaInicial(contexto.carpetaPrograma, proposito)));
}

} // namespace trovanel
