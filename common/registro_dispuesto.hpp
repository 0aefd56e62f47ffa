#pragma once

#include "fichero_salida.hpp"
#include "registro_fijo.hpp"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace trovanel {

// One piece of a fixed-width record as a norm lays it out: which piece, the place it starts at (from 0)
// and its width.
template <typename Pieza> struct Tramo {
    Pieza pieza;
    std::size_t inicio;
    std::size_t ancho;
};

// A record's table holds every piece of its enum in the enum's order, each starting where the one
// before it ends, the last ending at the record's width: no piece is missed, doubled or out of place.
// Checked at compile time next to each table.
template <typename Pieza, std::size_t N>
constexpr bool llenaRegistro(const Tramo<Pieza> (&tramos)[N], std::size_t ancho) {
    std::size_t fin = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(tramos[i].pieza) != i || tramos[i].inicio != fin ||
            tramos[i].ancho == 0) {
            return false;
        }
        fin += tramos[i].ancho;
    }
    return fin == ancho;
}

// A record built in place in the bank file (its next line) after its table: it starts as blanks, and
// each piece is written at its place and width, known when the program is built. A piece not written
// stays blank.
template <const auto& Tramos> class RegistroDispuesto {
public:
    using Pieza = decltype(Tramos[0].pieza);
    static constexpr std::size_t kAncho =
        Tramos[std::size(Tramos) - 1].inicio + Tramos[std::size(Tramos) - 1].ancho;
    // Also the tables a template makes, which no static_assert stands next to.
    static_assert(llenaRegistro(Tramos, kAncho), "the record's table covers the record, piece after piece");

    explicit RegistroDispuesto(FicheroSalida& salida) : datos_(salida.reservarLinea(kAncho)) {
        std::memset(datos_, ' ', kAncho);
        salida_ = &salida;
        reserva_ = salida.reservas();
    }

    // Left-justified, completed with blanks, cut to its first characters when longer.
    template <Pieza P> RegistroDispuesto& texto(std::string_view valor) {
        constexpr Tramo<Pieza> t = tramo<P>();
        assert(lineaVigente());
        ponerTexto(datos_ + t.inicio, valor, t.ancho);
        return *this;
    }
    // Right-justified, completed with "0" on the left; a longer value keeps its last characters.
    template <Pieza P> RegistroDispuesto& ceros(std::string_view valor) {
        constexpr Tramo<Pieza> t = tramo<P>();
        assert(lineaVigente());
        ponerCeros(datos_ + t.inicio, valor, t.ancho);
        return *this;
    }
    // A count or an amount in cents, its digits without sign as ceros() writes them.
    template <Pieza P> RegistroDispuesto& numero(std::int64_t valor) {
        char cifras[24];
        return ceros<P>(cifrasSinSigno(valor, cifras));
    }

private:
    // The table lists its pieces in the order of their enum (llenaRegistro), so a piece's row is its value.
    template <Pieza P> static constexpr Tramo<Pieza> tramo() { return Tramos[static_cast<std::size_t>(P)]; }

    char* datos_;
    // The record's line is still the file's last one reserved (checked by the debug build): reserving a
    // later one may write the buffer out and take this line's place, so a record is finished first.
    bool lineaVigente() const { return salida_->reservas() == reserva_; }
    const FicheroSalida* salida_ = nullptr;
    std::uint64_t reserva_ = 0;
};

} // namespace trovanel
