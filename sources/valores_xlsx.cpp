#include "valores_xlsx.hpp"

#include "codificacion.hpp"
#include "valores_texto.hpp"

#include <cmath>
#include <cstdint>

namespace trovanel::xlsx {

std::optional<double> leerDoble(std::string_view s) {
    s = sinBlancos(s);
    // XML Schema allows a leading "+", which from_chars does not.
    if (s.size() > 1 && s.front() == '+' && s[1] != '-') {
        s.remove_prefix(1);
    }
    double valor = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), valor);
    if (ec != std::errc{} || fin != s.data() + s.size() || s.empty() || !std::isfinite(valor)) {
        return std::nullopt;
    }
    return valor;
}

std::optional<std::string> numeroCorto(std::string_view v, std::size_t maximoDecimales) {
    const bool negativo = !v.empty() && v.front() == '-';
    const std::string_view cifras = negativo ? v.substr(1) : v;
    const auto punto = cifras.find('.');
    const std::string_view entera = cifras.substr(0, punto);
    const std::string_view fraccion =
        punto == std::string_view::npos ? std::string_view() : cifras.substr(punto + 1);
    const auto soloCifras = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!soloCifras(entera) || fraccion.size() > maximoDecimales ||
        (punto != std::string_view::npos && (!soloCifras(fraccion) || fraccion.back() == '0'))) {
        return std::nullopt;
    }
    std::size_t significativas = 0;
    if (entera == "0") {
        if (fraccion.empty()) {
            return negativo ? std::nullopt : std::optional<std::string>("0");
        }
        // Below 0.0001 the number is written with an exponent.
        const auto ceros = fraccion.find_first_not_of('0');
        if (ceros > 3) {
            return std::nullopt;
        }
        significativas = fraccion.size() - ceros;
    } else {
        if (entera.front() == '0') {
            return std::nullopt;
        }
        significativas = entera.size() + fraccion.size();
    }
    if (significativas > 15) {
        return std::nullopt;
    }
    std::string texto(v);
    if (punto != std::string_view::npos) {
        texto[(negativo ? 1 : 0) + punto] = ',';
    }
    return texto;
}

namespace {

// The UTF-16 unit of an escape "_xHHHH_" at the start of s.
std::optional<char32_t> escapeEn(std::string_view s) {
    if (s.size() < 7 || s[0] != '_' || (s[1] != 'x' && s[1] != 'X') || s[6] != '_') {
        return std::nullopt;
    }
    char32_t unidad = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const char c = s[i];
        int cifra = 0;
        if (c >= '0' && c <= '9') {
            cifra = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            cifra = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            cifra = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        unidad = unidad * 16 + static_cast<char32_t>(cifra);
    }
    return unidad;
}

std::int64_t diasCivil(std::int64_t anio, unsigned mes, unsigned dia) {
    anio -= mes <= 2 ? 1 : 0;
    const std::int64_t era = (anio >= 0 ? anio : anio - 399) / 400;
    const auto yoe = static_cast<unsigned>(anio - era * 400);
    const unsigned doy = (153 * (mes > 2 ? mes - 3 : mes + 9) + 2) / 5 + dia - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

} // namespace

std::string textoPrograma(std::string_view utf8) {
    if (utf8.find('_') == std::string_view::npos) {
        return utf8ACp1252(utf8, kSinEquivalente);
    }
    std::string decodificado;
    decodificado.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto unidad = escapeEn(utf8.substr(i));
        if (!unidad) {
            decodificado.push_back(utf8[i++]);
            continue;
        }
        i += 7;
        char32_t cp = *unidad;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const auto baja = escapeEn(utf8.substr(i));
            if (baja && *baja >= 0xDC00 && *baja <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (*baja - 0xDC00);
                i += 7;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        anadirUtf8(decodificado, cp);
    }
    return utf8ACp1252(decodificado, kSinEquivalente);
}

ValorCelda fechaIso(std::string_view s) {
    s = sinBlancos(s);
    auto numero = [&](std::size_t desde, std::size_t cifras) -> std::optional<unsigned> {
        if (desde + cifras > s.size()) {
            return std::nullopt;
        }
        return leerEnteroXml<unsigned>(s.substr(desde, cifras));
    };
    double dias = 0;
    std::size_t pos = 0;
    if (s.size() >= 10 && s[4] == '-' && s[7] == '-') {
        const auto anio = numero(0, 4);
        const auto mes = numero(5, 2);
        const auto dia = numero(8, 2);
        if (!anio || !mes || !dia || *mes < 1 || *mes > 12 || *dia < 1 || *dia > 31) {
            return std::nullopt;
        }
        dias = static_cast<double>(diasCivil(*anio, *mes, *dia) - diasCivil(1899, 12, 30));
        pos = 10;
        if (pos < s.size() && s[pos] == 'T') {
            ++pos;
        }
    }
    if (pos < s.size()) {
        const auto hora = numero(pos, 2);
        const auto minuto = numero(pos + 3, 2);
        if (!hora || !minuto || s[pos + 2] != ':' || *hora > 23 || *minuto > 59) {
            return std::nullopt;
        }
        double segundos = *hora * 3600.0 + *minuto * 60.0;
        pos += 5;
        if (pos < s.size() && s[pos] == ':') {
            auto fin = s.substr(pos + 1);
            if (!fin.empty() && fin.back() == 'Z') {
                fin.remove_suffix(1);
            }
            const auto seg = leerDoble(fin);
            if (!seg || *seg < 0 || *seg >= 60) {
                return std::nullopt;
            }
            segundos += *seg;
        } else if (pos != s.size() && s.substr(pos) != "Z") {
            return std::nullopt;
        }
        dias += segundos / 86400.0;
    }
    // The serial is a true day count, so Excel's phantom 29/02/1900 must not be applied.
    return textoFecha(dias, false, false);
}

} // namespace trovanel::xlsx
