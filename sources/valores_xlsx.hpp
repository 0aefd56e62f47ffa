#pragma once

// Cell values as an .xlsx sheet writes them in its XML text, turned into the program's text.

#include "libro_excel.hpp"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel::xlsx {

inline std::string_view sinBlancos(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

template <typename T> std::optional<T> leerEnteroXml(std::string_view s) {
    s = sinBlancos(s);
    T valor{};
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), valor);
    if (ec != std::errc{} || fin != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return valor;
}

std::optional<double> leerDoble(std::string_view s);

// Most numbers in a sheet are short decimals ("1500", "12.5"). With at most 15 significant digits a
// double gives them back digit for digit, so their text is the file's own with a comma, skipping the
// round trip through binary. Anything else (exponents, 16 or more digits, redundant zeros, more than
// maximoDecimales decimals) returns nothing.
std::optional<std::string> numeroCorto(std::string_view v,
                                       std::size_t maximoDecimales = std::string_view::npos);

// Cell text as the program holds it. XML cannot carry control characters, so the files write them
// (and an underscore that would look like an escape) as "_xHHHH_".
std::string textoPrograma(std::string_view utf8);

// A cell of type "d" holds an ISO 8601 date and time ("2024-03-15T10:30:00") instead of a serial.
ValorCelda fechaIso(std::string_view s);

} // namespace trovanel::xlsx
