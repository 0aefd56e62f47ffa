// Runs a harness over files instead of under libFuzzer: every file named, and every file of every
// folder named, once each, in name order. Tests replay the seed corpus this way, so that an input that
// once crashed a reader keeps being read. A folder without files is an error: the test would check
// nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano);

namespace {

namespace fs = std::filesystem;

bool ejecutar(const fs::path& fichero) {
    std::ifstream f(fichero, std::ios::binary);
    if (!f) {
        std::cerr << "No se puede leer " << fichero << '\n';
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    std::cerr << "Ejecutando " << fichero << " (" << bytes.size() << " bytes)\n";
    // Never a null pointer, not even for an empty input: libFuzzer does not pass one either.
    std::vector<std::uint8_t> copia(bytes.begin(), bytes.end());
    copia.reserve(1);
    LLVMFuzzerTestOneInput(copia.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "Uso: " << argv[0] << " FICHERO_O_CARPETA...\n";
        return 2;
    }
    std::size_t total = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path ruta = argv[i];
        std::vector<fs::path> ficheros;
        if (fs::is_directory(ruta)) {
            for (const auto& entrada : fs::directory_iterator(ruta)) {
                if (entrada.is_regular_file()) {
                    ficheros.push_back(entrada.path());
                }
            }
            std::sort(ficheros.begin(), ficheros.end());
            if (ficheros.empty()) {
                std::cerr << "La carpeta " << ruta << " no tiene ficheros\n";
                return 1;
            }
        } else {
            ficheros.push_back(ruta);
        }
        for (const fs::path& fichero : ficheros) {
            if (!ejecutar(fichero)) {
                return 1;
            }
            ++total;
        }
    }
    std::cerr << total << " entradas sin fallos\n";
    return 0;
}
