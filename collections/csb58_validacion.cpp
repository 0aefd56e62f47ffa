#include "csb58.hpp"

#include "fechas.hpp"
#include "piezas.hpp"
#include "texto.hpp"

#include <algorithm>
#include <utility>

namespace trovanel {

namespace {

// Entity and office: a piece that is zero or no number at all goes out as zeros, never as an error.
std::string codigoBanco(const std::string& valor) {
    const std::string pieza = conCeros(Left(valor, 4), 4);
    return esNumerico(pieza) && !esValorCero(pieza) ? pieza : "0000";
}

} // namespace

std::string fechaVtoDDMMAA(std::string_view texto, const std::string& formato) {
    struct Formato {
        std::string_view nombre;
        std::size_t dia, mes, anio;
        bool rellenaDia, rellenaMes, rellenaAnio;
    };
    static constexpr Formato kFormatos[] = {
        {"AAMMDD", 5, 3, 1, false, false, false},   {"DDMMAAAA", 1, 3, 7, false, false, false},
        {"AAAAMMDD", 7, 5, 3, false, false, false}, {"DD/MM/AA", 1, 4, 7, true, true, false},
        {"AA/MM/DD", 7, 4, 1, false, true, true},   {"DD/MM/AAAA", 1, 4, 9, true, false, true},
        {"AAAA/MM/DD", 9, 6, 3, true, false, true},
    };
    for (const Formato& f : kFormatos) {
        if (formato != f.nombre) {
            continue;
        }
        // Two characters from each position; the named parts trimmed and completed with "0".
        std::string fecha;
        fecha.reserve(6);
        for (const auto& [posicion, rellena] :
             {std::pair{f.dia, f.rellenaDia}, std::pair{f.mes, f.rellenaMes},
              std::pair{f.anio, f.rellenaAnio}}) {
            std::string_view dos =
                posicion <= texto.size() ? texto.substr(posicion - 1, 2) : std::string_view();
            if (rellena) {
                dos = recortar(dos);
                fecha.append(2 - std::min<std::size_t>(dos.size(), 2), '0');
            }
            fecha.append(dos);
        }
        return fecha;
    }
    return std::string(texto);
}

void ModuloCSB58::validarPropio(CampoCobro tipo, const CampoEstructura& campo, std::string& valorLeido) {
    PiezasCSB58& p = piezas;
    switch (tipo) {
    case CampoCobro::Entidad:
        p.entidad = codigoBanco(valorLeido);
        break;
    case CampoCobro::Oficina:
        p.oficina = codigoBanco(valorLeido);
        break;
    case CampoCobro::DC:
        p.dc = rellenar(Left(valorLeido, 2), 2);
        break;
    case CampoCobro::Cuenta:
        p.cuenta = conCerosAjustado(valorLeido, 10);
        break;
    case CampoCobro::Concepto1:
        rellenarEn(p.concepto1, valorLeido, 40);
        break;
    case CampoCobro::FechaVto:
        p.fechaVto = colocado(campo) ? fechaVtoDDMMAA(recortar(valorLeido), campo.valorcampo) : std::string();
        if (campo.obligatorio && !estado.gFechaDatos.empty()) {
            p.fechaVto = estado.gFechaDatos;
        }
        // The piece the record carries must be the date itself: six digits of a calendar day.
        if (campo.obligatorio && !esFechaDDMMAA(p.fechaVto)) {
            anotarError("Error : Fecha de vto incorrecta");
        }
        break;
    case CampoCobro::DomicilioDeudor:
        rellenarEn(p.domicilioDeudor, valorLeido, 40);
        break;
    case CampoCobro::LocalidadDeudor:
        rellenarEn(p.localidadDeudor, valorLeido, 35);
        break;
    case CampoCobro::LocalidadOrdenante:
        rellenarEn(p.localidadOrdenante, valorLeido, 38);
        break;
    case CampoCobro::CPDeudor:
        p.cpDeudor = conCeros(Left(valorLeido, 5), 5);
        break;
    case CampoCobro::CodProvincia:
        p.codProvincia = conCeros(Left(valorLeido, 2), 2);
        break;
    default:
        break;
    }
}

void ModuloCSB58::LimpiarOpcionalesCSB58() {
    piezas.codigoDevolucion.assign(6, ' ');
    piezas.referenciaInterna.assign(10, ' ');
    piezas.concepto1.assign(40, ' ');
    for (std::size_t i = 2; i < piezas.conceptos.size(); ++i) {
        piezas.conceptos[i].clear();
    }
    piezas.domicilioDeudor.clear();
}

} // namespace trovanel
