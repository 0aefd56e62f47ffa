#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

// What an input character becomes when Windows-1252 lacks it and it is no Latin letter: SUB, the
// character ASCII keeps for one that cannot be represented. It is a control character, so the field that
// holds it is refused as for any other control character, and no bank file carries a "?" in its place.
inline constexpr char kSinEquivalente = '\x1A';

// Windows-1252 is the program's text; UTF-8 is what SQLite, Qt and the spreadsheet files hold. A Latin
// letter that Windows-1252 lacks becomes its base letter (Ł, Ș, ő, ế: L, S, o, ê), and a combining mark
// (U+0300-U+036F) joins the letter before it where Windows-1252 has the pair as one letter (E and U+0301:
// É), or is dropped. Any other character that Windows-1252 cannot hold, and each invalid UTF-8 byte,
// becomes sinEquivalente: "?" in texts shown to the user, kSinEquivalente in data.
std::string utf8ACp1252(std::string_view utf8, char sinEquivalente = '?');
std::string cp1252AUtf8(std::string_view cp1252);

// The Windows-1252 byte of a code point, or nothing when Windows-1252 has none. The five bytes it leaves
// undefined stand for the C1 controls of the same value, so that every byte survives a round trip.
std::optional<char> byteWindows1252(char32_t cp);

// Whether a UTF-8 text is well-formed and every character of it has a Windows-1252 byte of its own, so
// that converting it gives back the very characters, with no base letter or "?" in their place.
bool todoEnWindows1252(std::string_view utf8);

// Appends one code point as UTF-8 (files hand text over as code points or UTF-16 units).
void anadirUtf8(std::string& salida, char32_t cp);

// utf8ACp1252 where the text stands: the result is never longer than it. False when a character became
// sinEquivalente.
bool utf8ACp1252EnSitio(std::string& texto, char sinEquivalente = '?');

// True when the text is well-formed UTF-8 and holds at least one character outside ASCII, so a file
// written by a UTF-8 editor can be told from a Windows-1252 one.
bool pareceUtf8(std::string_view texto);

// pareceUtf8 over a text handed over in pieces, as a file is read block by block: a character may be
// split between two pieces. It also tells a text that mixes both encodings (a line pasted from a UTF-8
// editor into a Windows-1252 file), which is neither. In a text that holds bytes that are not UTF-8, only
// a UTF-8 character that Windows-1252 has tells of such a line: a Windows-1252 accented capital followed
// by a quote or a no-break space (É” is C9 94) is a well-formed pair too, of a character no Spanish text
// holds, while a pasted line spells its Ó as C3 93 and its euro as E2 82 AC.
class ComprobadorUtf8 {
public:
    void anadir(std::string_view trozo);
    // The text ended: a character cut at its end is no UTF-8.
    void terminar();
    bool pareceUtf8() const { return !invalido_ && pendientes_ == 0 && multibyte_; }
    // A well-formed character of several bytes that Windows-1252 has (or a byte-order mark that opens the
    // text) and a byte that is not UTF-8: once so, nothing added later changes it.
    bool mezclado() const { return invalido_ && deWindows1252_; }
    // Where the first of each begins, counting from the first byte added (of a mixed text).
    std::uint64_t primerMultibyte() const { return primerMultibyte_; }
    std::uint64_t primerInvalido() const { return primerInvalido_; }

private:
    void anotarInvalido(std::uint64_t lugar);

    bool invalido_ = false;
    bool multibyte_ = false;
    bool deWindows1252_ = false;
    int pendientes_ = 0;    // continuation bytes the current character still needs
    char32_t caracter_ = 0; // the bits of the current character read so far
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
