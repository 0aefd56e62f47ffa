#include "valores_texto.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace trovanel {

namespace {

void dosCifras(std::string& s, std::int64_t v) {
    s.push_back(static_cast<char>('0' + (v / 10) % 10));
    s.push_back(static_cast<char>('0' + v % 10));
}

// Civil date of a day count from 1970-01-01 (Howard Hinnant's algorithm).
void fechaCivil(std::int64_t dias, std::int64_t& anio, unsigned& mes, unsigned& dia) {
    dias += 719468;
    const std::int64_t era = (dias >= 0 ? dias : dias - 146096) / 146097;
    const auto doe = static_cast<unsigned>(dias - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    dia = doy - (153 * mp + 2) / 5 + 1;
    mes = mp < 10 ? mp + 3 : mp - 9;
    anio = static_cast<std::int64_t>(yoe) + era * 400 + (mes <= 2 ? 1 : 0);
}

} // namespace

std::string textoNumero(double valor, int digitos) {
    if (std::isnan(valor) || std::isinf(valor)) {
        return {};
    }
    if (valor == 0) {
        return "0";
    }
    char buffer[64];
    const auto [fin, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::general, digitos);
    if (ec != std::errc{}) {
        return {};
    }
    std::string texto(buffer, fin);
    for (char& c : texto) {
        if (c == '.') {
            c = ',';
        } else if (c == 'e') {
            c = 'E';
        }
    }
    return texto;
}

std::string textoMoneda(double valor) {
    // Near the top of the range the product overflows; there the fourth decimal is long past the digits
    // written anyway.
    const double redondeado = std::round(valor * 10000.0) / 10000.0;
    return textoNumero(std::isfinite(redondeado) ? redondeado : valor);
}

std::string textoFecha(double serie, bool sistema1904, bool seriesExcel1900) {
    if (std::isnan(serie) || std::isinf(serie) || std::fabs(serie) > 3.0e6) {
        return {};
    }
    std::int64_t segundos = std::llround(serie * 86400.0);
    std::int64_t dias = segundos >= 0 ? segundos / 86400 : -((-segundos + 86399) / 86400);
    std::int64_t segundoDelDia = segundos - dias * 86400;
    const bool sinFecha = dias == 0 && !sistema1904;
    if (seriesExcel1900 && !sistema1904 && dias < 61 && dias > 0) {
        // Serial 60 is the 29/02/1900 that never was; below it the count starts a day later.
        dias += 1;
    }
    // Day counts from 1970-01-01: 30/12/1899 is -25569, 01/01/1904 is -24107.
    const std::int64_t desde1970 = dias + (sistema1904 ? -24107 : -25569);
    std::string texto;
    if (!sinFecha) {
        std::int64_t anio = 0;
        unsigned mes = 0;
        unsigned dia = 0;
        fechaCivil(desde1970, anio, mes, dia);
        dosCifras(texto, dia);
        texto.push_back('/');
        dosCifras(texto, mes);
        texto.push_back('/');
        texto += std::to_string(anio);
        if (segundoDelDia == 0) {
            return texto;
        }
        texto.push_back(' ');
    }
    dosCifras(texto, segundoDelDia / 3600);
    texto.push_back(':');
    dosCifras(texto, (segundoDelDia / 60) % 60);
    texto.push_back(':');
    dosCifras(texto, segundoDelDia % 60);
    return texto;
}

std::string textoBooleano(bool valor) {
    return valor ? "Verdadero" : "Falso";
}

} // namespace trovanel
