#include "reloj.hpp"

#include <ctime>

namespace trovanel {

FechaHora RelojSistema::ahora() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

namespace {
void dosCifras(std::string& s, int v) {
    s.push_back(static_cast<char>('0' + (v / 10) % 10));
    s.push_back(static_cast<char>('0' + v % 10));
}
} // namespace

std::string fechaCorta(const FechaHora& f) {
    std::string s;
    dosCifras(s, f.dia);
    s.push_back('/');
    dosCifras(s, f.mes);
    s.push_back('/');
    dosCifras(s, f.anio / 100);
    dosCifras(s, f.anio % 100);
    return s;
}

std::string horaLarga(const FechaHora& f) {
    std::string s;
    dosCifras(s, f.hora);
    s.push_back(':');
    dosCifras(s, f.minuto);
    s.push_back(':');
    dosCifras(s, f.segundo);
    return s;
}

} // namespace trovanel
