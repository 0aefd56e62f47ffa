#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace trovanel {

// Windows-1252 is the program's text; UTF-8 is what SQLite, Qt and the spreadsheet files hold.
// A character that Windows-1252 cannot hold becomes "?". Invalid UTF-8 bytes become "?" as well.
std::string utf8ACp1252(std::string_view utf8);
std::string cp1252AUtf8(std::string_view cp1252);

// Appends one code point as UTF-8 (files hand text over as code points or UTF-16 units).
void anadirUtf8(std::string& salida, char32_t cp);

// Decodes UTF-8 to Windows-1252 where it stands: the result is never longer than the text.
void utf8ACp1252EnSitio(std::string& texto);

// True when the text is well-formed UTF-8 and holds at least one character outside ASCII, so a file
// written by a UTF-8 editor can be told from a Windows-1252 one.
bool pareceUtf8(std::string_view texto);

// pareceUtf8 over a text handed over in pieces, as a file is read block by block: a character may be
// split between two pieces. It also tells a text that mixes both encodings (a line pasted from a UTF-8
// editor into a Windows-1252 file), which is neither.
class ComprobadorUtf8 {
public:
    void anadir(std::string_view trozo);
    // The text ended: a character cut at its end is no UTF-8.
    void terminar();
    bool pareceUtf8() const { return !invalido_ && pendientes_ == 0 && multibyte_; }
    // A well-formed character of several bytes and a byte that is not UTF-8: once so, nothing added later
    // changes it.
    bool mezclado() const { return invalido_ && multibyte_; }
    // Where the first of each begins, counting from the first byte added (of a mixed text).
    std::uint64_t primerMultibyte() const { return primerMultibyte_; }
    std::uint64_t primerInvalido() const { return primerInvalido_; }

private:
    void anotarInvalido(std::uint64_t lugar);

    bool invalido_ = false;
    bool multibyte_ = false;
    int pendientes_ = 0; // continuation bytes the current character still needs
    unsigned char minimo_ = 0x80;
    unsigned char maximo_ = 0xBF;
    std::uint64_t inicioTrozo_ = 0;    // of the piece being added
    std::uint64_t inicioCaracter_ = 0; // of the character being read
    std::uint64_t primerMultibyte_ = 0;
    std::uint64_t primerInvalido_ = 0;
};

// A file path as message text: paths are native bytes (UTF-8 here), messages Windows-1252.
std::string rutaComoTexto(const std::filesystem::path& ruta);

} // namespace trovanel
