#include "fechas.hpp"

#include "reloj.hpp"
#include "texto.hpp"

#include <cstddef>
#include <iterator>

namespace trovanel {

bool anioBisiesto(int anio) {
    return (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0;
}

bool fechaValida(int anio, int mes, int dia) {
    if (anio < 1 || anio > 9999 || mes < 1 || mes > 12 || dia < 1) {
        return false;
    }
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int maximo = (mes == 2 && anioBisiesto(anio)) ? 29 : kDias[mes - 1];
    return dia <= maximo;
}

std::string fechaDDMMAA(const FechaHora& fecha) {
    const std::string corta = fechaCorta(fecha); // DD/MM/AAAA
    return corta.substr(0, 2) + corta.substr(3, 2) + corta.substr(8, 2);
}

std::string ddmmaaDeFechaLarga(const std::string& fecha) {
    if (!contiene(fecha, "/")) {
        return fecha;
    }
    const std::string dia = Mid(fecha, 1, 2);
    const std::string mes = Mid(fecha, 4, 2);
    const std::string anio = Mid(fecha, 7, 4);
    return rellenarCeros(dia, 2) + rellenarCeros(mes, 2) + (anio.size() > 2 ? Mid(anio, 3, 2) : anio);
}

bool esFechaDDMMAA(std::string_view texto) {
    if (texto.size() != 6) {
        return false;
    }
    // Every order's due date is checked here: the digits in place rather than through soloDigitos().
    for (const char c : texto) {
        if (!esDigito(c)) {
            return false;
        }
    }
    const auto dos = [texto](std::size_t p) { return (texto[p] - '0') * 10 + (texto[p + 1] - '0'); };
    return fechaValida(2000 + dos(4), dos(2), dos(0));
}

namespace {

struct FormatoFecha {
    std::string_view nombre;
    std::size_t dia, mes, anio;
    bool rellenaDia, rellenaMes, rellenaAnio;
    bool conBarras;
};

constexpr FormatoFecha kFormatos[] = {
    {"AAMMDD", 5, 3, 1, false, false, false, false},   {"DDMMAAAA", 1, 3, 7, false, false, false, false},
    {"AAAAMMDD", 7, 5, 3, false, false, false, false}, {"DD/MM/AA", 1, 4, 7, true, true, false, true},
    {"AA/MM/DD", 7, 4, 1, false, true, true, true},    {"DD/MM/AAAA", 1, 4, 9, true, false, true, true},
    {"AAAA/MM/DD", 9, 6, 3, true, false, true, true},
};

} // namespace

std::size_t buscarFormatoFecha(std::string_view nombre) {
    for (std::size_t i = 0; i < std::size(kFormatos); ++i) {
        if (nombre == kFormatos[i].nombre) {
            return i;
        }
    }
    return kSinFormatoFecha;
}

std::string fechaVtoDDMMAA(std::string_view texto, std::string_view formato, RellenoFecha relleno) {
    return fechaVtoEnFormato(texto, buscarFormatoFecha(formato), relleno);
}

namespace {
// Two characters of the text from a position, the named parts trimmed and completed with "0", put
// after the date's first largo characters. Character by character: a loop here becomes a call to copy
// at most two.
[[gnu::always_inline]] inline void ponerParte(char* fecha, std::size_t& largo, std::string_view texto,
                                              std::size_t posicion, bool rellena) {
    std::string_view dos = posicion <= texto.size() ? texto.substr(posicion - 1, 2) : std::string_view();
    if (rellena) {
        dos = recortar(dos);
        for (std::size_t i = dos.size(); i < 2; ++i) {
            fecha[largo++] = '0';
        }
    }
    if (!dos.empty()) {
        fecha[largo++] = dos[0];
    }
    if (dos.size() > 1) {
        fecha[largo++] = dos[1];
    }
}

// The date of a format that was found, into six characters: its length. Built in place and inlined in
// both callers: every order's due date comes through here.
[[gnu::always_inline]] inline std::size_t construirFecha(char* fecha, std::string_view texto,
                                                         std::size_t formato, RellenoFecha relleno) {
    const FormatoFecha& f = kFormatos[formato];
    const bool pagos = relleno == RellenoFecha::Pagos;
    std::size_t largo = 0;
    ponerParte(fecha, largo, texto, f.dia, pagos ? f.conBarras : f.rellenaDia);
    ponerParte(fecha, largo, texto, f.mes, pagos ? f.conBarras : f.rellenaMes);
    ponerParte(fecha, largo, texto, f.anio, !pagos && f.rellenaAnio);
    return largo;
}
} // namespace

std::string fechaVtoEnFormato(std::string_view texto, std::size_t formato, RellenoFecha relleno) {
    if (formato >= std::size(kFormatos)) {
        return std::string(texto);
    }
    char fecha[6];
    return std::string(fecha, construirFecha(fecha, texto, formato, relleno));
}

std::size_t fechaVtoEnFormatoEn(char (&fecha)[6], std::string_view texto, std::size_t formato,
                                RellenoFecha relleno) {
    return construirFecha(fecha, texto, formato, relleno);
}

} // namespace trovanel
