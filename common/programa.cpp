#include "programa.hpp"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace trovanel {

std::filesystem::path carpetaPrograma() {
    if (const char* casa = std::getenv("TROVANEL_HOME"); casa != nullptr && *casa != '\0') {
        return std::filesystem::path(casa);
    }
    std::error_code error;
    const auto ejecutable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return ejecutable.parent_path();
    }
    return std::filesystem::current_path(error);
}

std::string idiomaUsuario() {
    // The same precedence the C library gives these variables for messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* valor = std::getenv(variable);
        if (valor == nullptr || *valor == '\0') {
            continue;
        }
        return std::string_view(valor).starts_with("es") ? "0a" : "09";
    }
    return "09";
}

} // namespace trovanel
