#include "tipos_plantilla.hpp"

#include <array>

namespace trovanel {

namespace {

struct Base {
    std::string_view codigo;
    Familia familia;
    std::string_view clase;
    std::string_view etiqueta;
};

constexpr std::array<Base, 8> kBases = {{
    {"CSB34N", Familia::CSB34, "nominas", " (Nominas)"},
    {"CSB34T", Familia::CSB34, "transferencias", " (Transferencias)"},
    {"CSB34C", Familia::CSB34, "cheques", " (Cheques)"},
    {"CSB34P", Familia::CSB34, "pagares", " (Pagares)"},
    {"PAGOSC", Familia::CSB34, "pagos certificados", " (Pagos Certificados)"},
    {"ZOP", Familia::ZOP, "pagos a proveedores", " (ZOP)"},
    {"CSB19", Familia::CSB19, "recibos domiciliados", " (CSB19)"},
    {"CSB58", Familia::CSB58, "anticipo de creditos", " (CSB58)"},
}};

} // namespace

std::optional<TipoPlantilla> buscarTipoPlantilla(std::string_view codigo) {
    for (const Base& base : kBases) {
        if (!codigo.starts_with(base.codigo)) {
            continue;
        }
        const std::string_view sufijo = codigo.substr(base.codigo.size());
        TipoEntrada entrada;
        if (sufijo.empty()) {
            entrada = TipoEntrada::Texto;
        } else if (sufijo == "Ex") {
            entrada = TipoEntrada::Excel;
        } else if (sufijo == "Ac") {
            entrada = TipoEntrada::Access;
        } else {
            continue;
        }
        return TipoPlantilla{base.codigo, base.familia, base.clase, base.etiqueta, entrada};
    }
    return std::nullopt;
}

const std::vector<std::string_view>& codigosBase() {
    static const std::vector<std::string_view> codigos = [] {
        std::vector<std::string_view> v;
        for (const Base& base : kBases) {
            v.push_back(base.codigo);
        }
        return v;
    }();
    return codigos;
}

std::string_view nombreConversor(Familia familia) {
    switch (familia) {
    case Familia::CSB34:
        return "GenerarCSB34";
    case Familia::ZOP:
        return "GenerarZOP";
    case Familia::CSB19:
        return "GenerarCSB19";
    case Familia::CSB58:
        return "GenerarCSB58";
    }
    return {};
}

} // namespace trovanel
