#pragma once

#include "fichero_entrada.hpp"
#include "limites.hpp"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {

// Reads a text file line by line without its line ends, streaming, and never changes the file.
// The file's first line end decides the kind of all of them. A first CR LF or lone CR: a line ends at
// CR LF or at a lone CR, and a lone LF stays inside its line. A first bare LF (a file written on
// Linux): every LF ends a line, a CR just before it is dropped and any other CR stays in the line, so
// one stray CR cannot join the lines after it. An empty text after the last line end is no line; a
// last line without a line end is one.
//
// Only a regular file is read (see FicheroEntrada). A line longer than maximoLinea bytes stops the
// reading there, so one without an end never fills the memory; and a file that changes while it is
// read (a size or modification time other than at the open, or fewer or more bytes than it had) ends
// the reading as failed, so that a half-read file never passes for a whole one.
class LectorLineas {
public:
    // The file is read a quarter of a megabyte at a time.
    static constexpr std::size_t kTamanoBuffer = 1 << 18;

    // How the file's bytes become the program's Windows-1252 text.
    enum class Texto {
        // Byte for byte: files that the program writes, its own configuration.
        Windows1252,
        // Input files: one that starts with a UTF-8 byte-order mark, or that is well-formed UTF-8 with at
        // least one character outside ASCII, is decoded (the mark dropped, what Windows-1252 lacks
        // as utf8ACp1252 says with kSinEquivalente), so that positions count
        // characters; any other file is read byte for byte. A file that holds both UTF-8 characters that
        // Windows-1252 has and bytes that are not UTF-8 is refused: read either way, a part of it would
        // become other characters and move the fields after them (see ComprobadorUtf8). The whole file
        // is checked before its first line is handed out.
        DetectarUtf8,
    };

    // Why the lines ended before the end of the file.
    enum class Fallo {
        Ninguno,
        NoSeAbre,    // missing or not readable
        NoEsFichero, // a folder, a device or a pipe: refused before reading
        Lectura,     // the system failed a read
        LineaLarga,  // a line longer than maximoLinea; lineaFallida() says which
        Cambiado,    // the file changed while it was read
        Mezcla,      // UTF-8 and another encoding in one file: refused before reading
    };

    explicit LectorLineas(const std::filesystem::path& ruta, Texto texto = Texto::Windows1252,
                          std::size_t maximoLinea = kMaxLinea);
    LectorLineas(const LectorLineas&) = delete;
    LectorLineas& operator=(const LectorLineas&) = delete;
    ~LectorLineas();

    bool abierto() const { return fichero_ != nullptr; }
    // Next line into linea; false at the end of the file or when reading failed (see error()).
    bool leer(std::string& linea);
    // The last line read holds no control character; false when it holds one, or a CR dropped from it, or
    // a character that Windows-1252 cannot hold.
    bool limpia() const { return limpia_; }
    // Reading failed after the file was opened.
    bool error() const { return fallo_ != Fallo::Ninguno && abierto(); }
    Fallo fallo() const { return fallo_; }
    // The number (from 1) of the line refused for its length.
    std::int64_t lineaFallida() const { return lineas_ + 1; }
    // The reason to give after the reader's own message and the path (mensajeEntrada); "" when nothing
    // failed.
    std::string motivo() const;

private:
    bool rellenar();
    void fallar(Fallo fallo) { fallo_ = fallo; }
    // At the end of the file: whether it is still the file that was opened, every byte of it read.
    bool terminarSinCambios();
    // Hands out a line that was read whole: false when it is longer than the cap.
    bool entregar(std::string& linea);
    // The numbers of the lines that hold the file's bytes at uno and at otro.
    std::pair<std::int64_t, std::int64_t> lineasDeLosBytes(std::uint64_t uno, std::uint64_t otro);

    std::FILE* fichero_ = nullptr;
    std::size_t maximoLinea_;
    int errorSistema_ = 0; // of a file that could not be opened
    HuellaFichero huella_;
    std::uint64_t leidos_ = 0; // bytes read from the file since the start of the lines
    std::int64_t lineas_ = 0;  // lines handed out
    // Of a file of two encodings: the first line with a UTF-8 character, the first with a byte that is not.
    std::int64_t lineaUtf8_ = 0;
    std::int64_t lineaNoUtf8_ = 0;
    bool separaPorCR_ = false;
    bool utf8_ = false;
    bool fin_ = false;
    bool limpia_ = false;
    Fallo fallo_ = Fallo::Ninguno;
    std::vector<char> buffer_;
    std::size_t posicion_ = 0;
    std::size_t largo_ = 0;
};

} // namespace trovanel
