#pragma once

#include "estado_ejecucion.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class Avisos;
class BaseDatos;

// Padded to n: trimmed, completed with blanks on the right, cut to its first n characters.
std::string rellenar(std::string_view valor, std::size_t n);
// The same, written into the piece's own buffer: an order's long pieces keep their memory from one
// order to the next instead of allocating for every field read. True when the piece is not all blanks.
bool rellenarEn(std::string& pieza, std::string_view valor, std::size_t n);
// Zero-filled to n: trimmed, completed with "0" on the left (a longer text stays whole).
std::string conCeros(std::string_view valor, std::size_t n);
// The same, written into the piece's own buffer.
void conCerosEn(std::string& pieza, std::string_view valor, std::size_t n);
// Zero-filled to n and cut to n, for defaults and party data that must fit their place.
std::string conCerosAjustado(std::string_view valor, std::size_t n);
// The same, written into the piece's own buffer.
void conCerosAjustadoEn(std::string& pieza, std::string_view valor, std::size_t n);

// A 20-character account as the records print it: entity (1-4), office (5-8), check digits (9-10) and
// number (11-20), each trimmed and zero-filled to its width.
struct PartesCuenta {
    std::string entidad;
    std::string oficina;
    std::string dc;
    std::string numero;
};
PartesCuenta partirCuenta(std::string_view cuenta);

// A field the input carries: the template gives it a position, whatever the input's kind.
inline bool colocado(const CampoEstructura& campo) {
    return campo.inicio != 0 || campo.fin != 0;
}

// The text columns of the one row of a party table with the given id, or nothing after showing the
// message: alone when there is no such row or the row cannot go into the records (a column of conValor,
// the NIF or the name, NULL or blank; the column cuenta NULL or not the 20 characters of an account),
// with the field and its column ("Caracter no valido en el nombre (nomemi)") when a column holds a control
// character, with "Error: " and the description when the query fails.
std::optional<std::vector<std::string>> leerFilaParte(BaseDatos& baseDatos, Avisos& avisos,
                                                      std::string_view sql, std::int64_t id,
                                                      const std::string& mensaje,
                                                      const std::vector<std::size_t>& conValor = {},
                                                      std::optional<std::size_t> cuenta = std::nullopt);

} // namespace trovanel
