#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

// A file written through one buffered stream into a file of its own in its target's folder, which takes
// the target's name only when confirmar() succeeds. Until then the target is untouched; a run that
// fails, is abandoned or is killed never leaves a half-written file under the target's name.
// Where the file system allows it, the file being written has no name at all, so a killed process
// leaves nothing behind. Elsewhere it is named after the target ("remesa.out.trovanel-XXXXXX"), and
// the next FicheroSalida of that target removes the ones a killed process left.
// A target that is a folder, anything but a regular file (a FIFO, a device) or a file that may not be
// written, or whose folder is missing or may not be written, is refused at once (not abierto()) and left
// as it is. A target that is a symbolic link is written where the link leads, in that file's folder, and
// the link stays: a user who points a link at a shared folder means the file to go there.
class FicheroSalida {
public:
    // Large blocks: the bank file is written a quarter of a megabyte at a time.
    static constexpr std::size_t kTamanoBuffer = 1 << 18;

    // Who may read the file: a bank file or an export gets what the user's umask gives any new file; a
    // file of the program folder holds client names and accounts and is the user's alone (0600).
    enum class Permisos { DelUsuario, Privados };

    explicit FicheroSalida(std::filesystem::path destino, Permisos permisos = Permisos::DelUsuario);
    FicheroSalida(const FicheroSalida&) = delete;
    FicheroSalida& operator=(const FicheroSalida&) = delete;
    // Abandons the file being written unless it was confirmed.
    ~FicheroSalida();

    bool abierto() const { return fichero_ != nullptr; }
    // False once any write has failed.
    bool correcto() const { return abierto() && !fallo_; }
    // Being written without any name in the folder.
    bool sinNombre() const { return abierto() && temporal_.empty(); }

    // Every block goes through transformar on its way to the file. It must give the same text whatever
    // the blocks' boundaries, as a replacement of single characters does.
    void transformarAlEscribir(std::function<void(std::string&)> transformar) {
        transformar_ = std::move(transformar);
    }

    void escribir(std::string_view texto);
    // The text followed by CR LF, as every file the program writes ends its lines.
    void escribirLinea(std::string_view texto);
    // Room for the next line of n characters, its CR LF already after it, in the file's own buffer: a
    // record is built there in place. The caller fills the n characters before anything else is written.
    char* reservarLinea(std::size_t n) {
        ++reservas_;
        if (fichero_ != nullptr && !fallo_ && n + 2 <= kTamanoBuffer - usado_) {
            char* linea = buffer_.get() + usado_;
            usado_ += n + 2;
            linea[n] = '\r';
            linea[n + 1] = '\n';
            return linea;
        }
        return reservarLineaTrasVolcar(n);
    }

    // How many lines were reserved: the debug build checks with it that a record is not still being built
    // in an earlier one, which a later one may have written out and taken the place of.
    std::uint64_t reservas() const { return reservas_; }

    // Flushes, closes and puts the file in place under the target's name. False (target untouched)
    // when anything failed.
    bool confirmar();
    // Drops the file being written; the target is untouched.
    void descartar();

    const std::filesystem::path& destino() const { return destino_; }
    // Why the file could not be opened or written, in Spanish, for the line after a message ("es una
    // carpeta", "no queda espacio...").
    std::string motivo() const;

    // Why destino cannot take a bank file (what the constructor refuses by the target's kind, its folder
    // or its permissions), in Spanish; empty when it can.
    static std::string destinoInutilizable(const std::filesystem::path& destino);
    // The file that writing to destino writes: destino itself, or where its symbolic links lead, link
    // after link, there or not yet. Nothing when the links go round in a loop.
    static std::optional<std::filesystem::path> destinoFinal(const std::filesystem::path& destino);

    // Tests: false makes every later file take the named way of file systems without unnamed files.
    static void permitirSinNombre(bool permitir);

private:
    int abrirSinNombre(const std::filesystem::path& carpeta);
    int abrirConNombre(const std::filesystem::path& carpeta);
    // Removes the files of the target that a killed process left being written (none of a live one).
    void quitarAbandonados(const std::filesystem::path& carpeta) const;
    bool ponerNombre();

    std::filesystem::path destino_;
    // Where destino_ leads: the file that is written and replaced.
    std::filesystem::path final_;
    // The named file being written; empty while it has no name.
    std::filesystem::path temporal_;
    // reservarLinea() when the buffer is full or the file failed.
    char* reservarLineaTrasVolcar(std::size_t n);
    // Writes the buffer to the stream in one block.
    void volcar();
    void escribirBloque(const char* datos, std::size_t n);

    // The file's own buffer, written in large blocks through an unbuffered stream.
    std::unique_ptr<char[]> buffer_;
    std::size_t usado_ = 0;
    // Where lines are built once the file has failed or was never opened.
    std::string descartado_;
    std::function<void(std::string&)> transformar_;
    // The block being transformed, kept for the next one.
    std::string transformado_;
    std::FILE* fichero_ = nullptr;
    // A second descriptor of the file: it holds the lock that tells a live file from an abandoned one,
    // and lets the file be named after the stream is closed and its errors are known.
    int descriptor_ = -1;
    Permisos permisos_ = Permisos::DelUsuario;
    int errorSistema_ = 0;
    // A refusal that no errno tells (a target that is not a regular file).
    std::string motivo_;
    bool fallo_ = false;
    // Kept in every build, as the members of the records that read it, so that the layout of the
    // classes does not depend on the build.
    std::uint64_t reservas_ = 0;
};

} // namespace trovanel
