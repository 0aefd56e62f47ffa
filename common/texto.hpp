#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

// Text inside the program is Windows-1252, one byte per character. Positions are 1-based, as the
// templates count them.

// Removes leading and trailing blanks (spaces only; tabs and other characters stay).
std::string Trim(std::string_view texto);
// recortar() of a text that starts or ends with a blank.
std::string_view recortarExtremos(std::string_view texto);
// The same without a copy: every field of every order passes through here, most of them more than once
// and already trimmed, which costs two comparisons.
inline std::string_view recortar(std::string_view texto) {
    if (texto.empty() || (texto.front() != ' ' && texto.back() != ' ')) {
        return texto;
    }
    return recortarExtremos(texto);
}
// Blanks only (true for an empty text); eight characters at a time.
bool soloBlancos(std::string_view texto);
// Empty or blanks only. The record writers ask it of every piece: most are empty or start with a
// character, and only those that start with a blank are scanned.
inline bool enBlanco(std::string_view texto) {
    return texto.empty() || (texto.front() == ' ' && soloBlancos(texto));
}

// The n characters from position p (1-based); clamped to the text. Empty when p lies beyond the end.
// Callers check with piezaCortable() first where a piece that cannot be cut means something.
std::string Mid(std::string_view texto, std::int64_t p, std::int64_t n);
// The same piece without a copy, for the readers' field pass: inline, as it runs for every field read.
inline std::string_view cortar(std::string_view texto, std::int64_t p, std::int64_t n) {
    if (p < 1 || n <= 0) {
        return {};
    }
    const auto desde = static_cast<std::uint64_t>(p - 1);
    if (desde >= texto.size()) {
        return {};
    }
    return texto.substr(desde, static_cast<std::uint64_t>(n));
}
// Everything from position p to the end.
std::string Mid(std::string_view texto, std::int64_t p);
std::string Left(std::string_view texto, std::int64_t n);
std::string Right(std::string_view texto, std::int64_t n);

// A piece (p, n) cannot be cut when p < 1 or n < 0.
inline bool piezaCortable(std::int64_t p, std::int64_t n) {
    return p >= 1 && n >= 0;
}

// The highest position a template may hold: the editors store 16-bit numbers.
inline constexpr std::int64_t kMayorPosicion = 32767;

// The length of the piece from inicio to fin; -1 (no piece) when either lies outside 0 to
// kMayorPosicion, so that no stored value, however large, can overflow the subtraction.
inline std::int64_t largoPieza(std::int64_t inicio, std::int64_t fin) {
    if (inicio < 0 || inicio > kMayorPosicion || fin < 0 || fin > kMayorPosicion) {
        return -1;
    }
    return fin - inicio + 1;
}

// A control character (0x00 to 0x1F, 0x7F): a bank's reader would split or misread a record holding one.
inline bool esCaracterControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}
// Where the text's first control character is, or its length when it holds none. It runs for every line
// and field read: a text of 32 characters or more 32 at a time where the processor has AVX2; otherwise 16
// at a time with SSE2, then 8 in a word, and the last few one by one.
std::size_t primerControl(std::string_view texto);
// Whether the text holds a control character.
inline bool hayCaracterControl(std::string_view texto) {
    return primerControl(texto) != texto.size();
}

// Blank-filled to n: completed with blanks on the right, cut to its first n characters when longer.
std::string rellenarBlancos(std::string_view texto, std::size_t n);
// Zero-filled to n: completed with "0" on the left; a longer text is returned unchanged.
std::string rellenarCeros(std::string_view texto, std::size_t n);

inline bool esDigito(char c) {
    return c >= '0' && c <= '9';
}
// Eight characters read as one word, all decimal digits: every high half is 3, and stays 3 once 6 is
// added to every byte.
inline bool sonOchoCifras(std::uint64_t palabra) {
    constexpr std::uint64_t kUnos = 0x0101010101010101;
    return (palabra & (kUnos * 0xF0)) == kUnos * 0x30 &&
           ((palabra + kUnos * 0x06) & (kUnos * 0xF0)) == kUnos * 0x30;
}
// The same for four characters.
inline bool sonCuatroCifras(std::uint32_t palabra) {
    return (palabra & 0xF0F0F0F0U) == 0x30303030U && ((palabra + 0x06060606U) & 0xF0F0F0F0U) == 0x30303030U;
}
// The value of a hexadecimal digit, or -1.
int valorHex(char c);
// True when every character is a decimal digit and there is at least one.
bool soloDigitos(std::string_view texto);

// A whole number as the command line and the input fields write it: optional blanks around an
// optional sign and decimal digits. Anything else has no value.
std::optional<std::int64_t> leerEntero(std::string_view texto);

// A number as the old validators read one: blanks around an optional sign, digits, and at most one
// decimal point or comma.
bool esNumerico(std::string_view texto);
// A numeric text whose value is zero ("0000", "0,00").
bool esValorCero(std::string_view texto);
// Whether the text holds a digit other than "0".
bool hayCifraSignificativa(std::string_view texto);

bool contiene(std::string_view texto, std::string_view buscado);

// Names compared or lowered without regard to case, ASCII letters only: the C library's tolower
// depends on the locale the windows set, so a table or column would be found on one machine and not
// on another.
bool igualesSinMayusculas(std::string_view a, std::string_view b);
std::string minusculasAscii(std::string_view texto);

} // namespace trovanel
