#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

enum class Familia { CSB34, ZOP, CSB19, CSB58 };
enum class TipoEntrada { Texto, Excel, Access };

// What a template's type code says: bank-file family, kind of order, input kind and list label.
struct TipoPlantilla {
    std::string_view codigoBase; // "CSB34N", ..., "CSB58"
    Familia familia;
    std::string_view clase;    // "nominas", "transferencias", ...
    std::string_view etiqueta; // " (Nominas)"
    TipoEntrada entrada;
};

// The type of a code ("CSB19", "CSB19Ex", "CSB19Ac", ...), compared exactly; nothing for any other text.
std::optional<TipoPlantilla> buscarTipoPlantilla(std::string_view codigo);

// The eight base codes (no suffix), in the order of the type table.
const std::vector<std::string_view>& codigosBase();

// Name of the family's conversion routine, as messages and the driver registry name it.
std::string_view nombreConversor(Familia familia);

// Ids up to this one are the base templates: unlabelled, never offered for conversion.
inline constexpr std::int64_t kUltimaPlantillaBase = 8;
// Ids up to this one are the templates the program ships (the base templates and the example): the
// editors neither change nor delete them, and none may become multi-invoice.
inline constexpr std::int64_t kUltimaPlantillaSemilla = 9;

} // namespace trovanel
