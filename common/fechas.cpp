#include "fechas.hpp"

#include "reloj.hpp"
#include "texto.hpp"

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
    if (texto.size() != 6 || !soloDigitos(texto)) {
        return false;
    }
    const auto dos = [texto](std::size_t p) { return (texto[p] - '0') * 10 + (texto[p + 1] - '0'); };
    return fechaValida(2000 + dos(4), dos(2), dos(0));
}

} // namespace trovanel
