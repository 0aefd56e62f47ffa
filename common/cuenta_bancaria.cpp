#include "cuenta_bancaria.hpp"

#include "texto.hpp"

#include <array>
#include <optional>

namespace trovanel {

namespace {

template <std::size_t N>
std::optional<int> sumaPonderada(std::string_view digitos, const std::array<int, N>& pesos) {
    if (digitos.size() < N) {
        return std::nullopt;
    }
    int suma = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (!esDigito(digitos[i])) {
            return std::nullopt;
        }
        suma += (digitos[i] - '0') * pesos[i];
    }
    return suma;
}

char digitoControl(int suma) {
    int d = 11 - suma % 11;
    if (d == 10) {
        d = 1;
    } else if (d == 11) {
        d = 0;
    }
    return static_cast<char>('0' + d);
}

} // namespace

std::string CalcularDC(std::string_view codigoEntidad, std::string_view codigoOficina,
                       std::string_view numeroCuenta) {
    static constexpr std::array<int, 4> kPesosEntidad = {4, 8, 5, 10};
    static constexpr std::array<int, 4> kPesosOficina = {9, 7, 3, 6};
    static constexpr std::array<int, 10> kPesosCuenta = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};

    const auto entidad = sumaPonderada(codigoEntidad, kPesosEntidad);
    const auto oficina = sumaPonderada(codigoOficina, kPesosOficina);
    const auto cuenta = sumaPonderada(numeroCuenta, kPesosCuenta);
    if (!entidad || !oficina || !cuenta) {
        return "**";
    }
    return {digitoControl(*entidad + *oficina), digitoControl(*cuenta)};
}

bool digitosControlValidos(std::string_view dc, bool admiteAsteriscos) {
    return dc.size() == 2 && ((esDigito(dc[0]) && esDigito(dc[1])) || (admiteAsteriscos && dc == "**"));
}

} // namespace trovanel
