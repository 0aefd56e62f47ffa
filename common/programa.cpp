#include "programa.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace trovanel {

namespace {

std::string_view variable(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor == nullptr ? std::string_view() : std::string_view(valor);
}

std::filesystem::path absoluta(const std::filesystem::path& ruta) {
    std::error_code error;
    const std::filesystem::path completa = std::filesystem::absolute(ruta, error);
    return error ? ruta : completa.lexically_normal();
}

} // namespace

std::filesystem::path carpetaPrograma() {
    if (const std::string_view casa = variable("TROVANEL_HOME"); !casa.empty()) {
        return absoluta(casa);
    }
    // XDG base directory rules: a relative XDG_DATA_HOME is ignored.
    if (const std::filesystem::path datos(variable("XDG_DATA_HOME")); datos.is_absolute()) {
        return (datos / "trovanel").lexically_normal();
    }
    return absoluta(carpetaPersonal() / ".local" / "share" / "trovanel");
}

std::filesystem::path carpetaPersonal() {
    if (const std::string_view casa = variable("HOME"); !casa.empty()) {
        return std::filesystem::path(casa);
    }
    if (const passwd* usuario = ::getpwuid(::getuid()); usuario != nullptr && usuario->pw_dir != nullptr) {
        return std::filesystem::path(usuario->pw_dir);
    }
    return std::filesystem::path("/");
}

std::filesystem::path rutaManual() {
    std::error_code error;
    const auto ejecutable = std::filesystem::read_symlink("/proc/self/exe", error);
    return (ejecutable.parent_path() / TROVANEL_MANUAL_DESDE_BINARIOS).lexically_normal();
}

std::string idiomaUsuario() {
    // The same precedence the C library gives these variables for messages.
    for (const char* nombre : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string_view valor = variable(nombre);
        if (valor.empty()) {
            continue;
        }
        return valor.starts_with("es") ? "0a" : "09";
    }
    return "09";
}

} // namespace trovanel
