#pragma once

#include "codificacion.hpp"

#include <QString>

#include <string>
#include <string_view>

namespace trovanel {

// The program's Windows-1252 text (string literals included) as Qt text, and back.
inline QString aQString(std::string_view texto) {
    return QString::fromStdString(cp1252AUtf8(texto));
}
inline std::string desdeQString(const QString& texto) {
    return utf8ACp1252(texto.toStdString());
}
// Typed text that goes into a bank file (missing data, parties, the ordering party's address): a character
// Windows-1252 cannot hold becomes a control character, which the checks refuse, instead of a "?" the user
// never typed.
inline std::string datoDesdeQString(const QString& texto) {
    return utf8ACp1252(texto.toStdString(), kSinEquivalente);
}

} // namespace trovanel
