#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace trovanel {

// Reads a text file line by line without its line ends, streaming, and never changes the file.
// The file's first line end decides the kind of all of them. A first CR LF or lone CR: a line ends at
// CR LF or at a lone CR, and a lone LF stays inside its line. A first bare LF (a file written on
// Linux): every LF ends a line, a CR just before it is dropped and any other CR stays in the line, so
// one stray CR cannot join the lines after it. An empty text after the last line end is no line; a
// last line without a line end is one.
class LectorLineas {
public:
    // How the file's bytes become the program's Windows-1252 text.
    enum class Texto {
        // Byte for byte: files that the program writes, its own configuration.
        Windows1252,
        // Input files: one that starts with a UTF-8 byte-order mark, or that is well-formed UTF-8 with at
        // least one character outside ASCII, is decoded (the mark dropped, characters Windows-1252 lacks
        // become "?"), so that positions count characters; any other file is read byte for byte. The
        // whole file is checked before its first line is handed out.
        DetectarUtf8,
    };

    explicit LectorLineas(const std::filesystem::path& ruta, Texto texto = Texto::Windows1252);
    LectorLineas(const LectorLineas&) = delete;
    LectorLineas& operator=(const LectorLineas&) = delete;
    ~LectorLineas();

    bool abierto() const { return fichero_ != nullptr; }
    // Next line into linea; false at the end of the file or on a read error (see error()).
    bool leer(std::string& linea);
    bool error() const { return error_; }

private:
    bool rellenar();

    std::FILE* fichero_ = nullptr;
    bool separaPorCR_ = false;
    bool utf8_ = false;
    bool error_ = false;
    bool fin_ = false;
    std::vector<char> buffer_;
    std::size_t posicion_ = 0;
    std::size_t largo_ = 0;
};

} // namespace trovanel
