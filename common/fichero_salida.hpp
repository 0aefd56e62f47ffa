#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace trovanel {

// A file written through one buffered stream into a temporary file beside its target, which takes the
// target's name only when confirmar() succeeds. Until then the target is untouched; a run that fails
// or is abandoned never leaves a half-written file under the target's name. A target that is a folder
// or a file that may not be written is refused at once (not abierto()).
class FicheroSalida {
public:
    explicit FicheroSalida(std::filesystem::path destino);
    FicheroSalida(const FicheroSalida&) = delete;
    FicheroSalida& operator=(const FicheroSalida&) = delete;
    // Abandons the temporary file unless it was confirmed.
    ~FicheroSalida();

    bool abierto() const { return fichero_ != nullptr; }
    // False once any write has failed.
    bool correcto() const { return abierto() && !fallo_; }

    void escribir(std::string_view texto);
    // The text followed by CR LF, as every file the program writes ends its lines.
    void escribirLinea(std::string_view texto);

    // Flushes, closes and renames into place. False (target untouched) when anything failed.
    bool confirmar();
    // Removes the temporary file; the target is untouched.
    void descartar();

    const std::filesystem::path& destino() const { return destino_; }

private:
    std::filesystem::path destino_;
    std::filesystem::path temporal_;
    // The stream's buffer: the C library ignores the size asked for unless it is handed the memory.
    std::unique_ptr<char[]> buffer_;
    std::FILE* fichero_ = nullptr;
    bool fallo_ = false;
};

} // namespace trovanel
