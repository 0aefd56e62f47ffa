// The batch-mode command line: the arguments as the shell hands them (the input cut at NUL bytes),
// joined into one line and split at TAB and comma into at most a given number of arguments.

#include "arranque.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    std::vector<std::string> argumentos{"trovanel", ""};
    for (std::size_t i = 0; i < tamano; ++i) {
        if (datos[i] == 0) {
            argumentos.emplace_back();
        } else {
            argumentos.back().push_back(static_cast<char>(datos[i]));
        }
    }
    std::vector<const char*> argv;
    for (const std::string& a : argumentos) {
        argv.push_back(a.c_str());
    }
    const std::string linea = trovanel::unirLineaComandos(static_cast<int>(argv.size()), argv.data());

    std::string sinSeparadores;
    for (const char c : linea) {
        if (c != '\t' && c != ',') {
            sinSeparadores.push_back(c);
        }
    }
    for (const std::size_t limite : {std::size_t{0}, std::size_t{1}, std::size_t{6}, std::size_t{10}}) {
        const auto parametros = trovanel::LeerParametros(linea, limite);
        // Element 0 is always there and empty; no argument is empty or holds a separator; never more
        // than the limit; below it, nothing of the line is lost.
        bool valido = !parametros.empty() && parametros[0].empty() && parametros.size() - 1 <= limite;
        std::string unidos;
        for (std::size_t i = 1; valido && i < parametros.size(); ++i) {
            valido = !parametros[i].empty() && parametros[i].find_first_of("\t,") == std::string::npos;
            unidos += parametros[i];
        }
        if (valido && parametros.size() - 1 < limite) {
            valido = unidos == sinSeparadores;
        }
        if (!valido) {
            __builtin_trap();
        }
    }
    return 0;
}
