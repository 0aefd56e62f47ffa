#include "csb58.hpp"

#include "cuenta_bancaria.hpp"
#include "fechas.hpp"
#include "piezas.hpp"
#include "texto.hpp"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace trovanel {

namespace {

// Entity and office: a piece that is zero or no number at all goes out as zeros, never as an error.
void codigoBanco(std::string& pieza, std::string_view valor) {
    const std::string_view cuatro = valor.substr(0, 4);
    // Four digits, as a code mostly comes, are the piece itself (all zeros are "0000" either way).
    if (cuatro.size() == 4 && pieza.size() == 4) {
        std::uint32_t cifras;
        std::memcpy(&cifras, cuatro.data(), 4);
        if (sonCuatroCifras(cifras)) {
            std::memcpy(pieza.data(), &cifras, 4);
            return;
        }
    }
    conCerosEn(pieza, cuatro, 4);
    if (!esNumerico(pieza) || !hayCifraSignificativa(pieza)) {
        pieza.assign("0000");
    }
}

} // namespace

void ModuloCSB58::validarPropio(CampoCobro tipo, const CampoEstructura& campo, std::string_view valorLeido) {
    PiezasCSB58& p = piezas;
    switch (tipo) {
    case CampoCobro::Entidad:
        codigoBanco(p.entidad, valorLeido);
        break;
    case CampoCobro::Oficina:
        codigoBanco(p.oficina, valorLeido);
        break;
    case CampoCobro::DC:
        // A blank one goes out blank, as it always did; anything else must be check digits.
        if (rellenarEn(p.dc, valorLeido.substr(0, 2), 2) && !digitosControlValidos(p.dc, true)) {
            anotarError("Error : DC incorrecto");
        }
        break;
    case CampoCobro::Cuenta:
        conCerosAjustadoEn(p.cuenta, valorLeido, 10);
        break;
    case CampoCobro::FechaVto: {
        // The format found when the run started.
        const std::size_t formato = formatosFecha_[campoResuelto(formatosFecha_.size())];
        p.fechaVto = colocado(campo)
                         ? fechaVtoEnFormato(recortar(valorLeido), formato, RellenoFecha::Anticipos)
                         : std::string();
        if (campo.obligatorio && !estado.gFechaDatos.empty()) {
            p.fechaVto = estado.gFechaDatos;
        }
        // The piece the record carries must be the date itself: six digits of a calendar day.
        if (campo.obligatorio && !esFechaDDMMAA(p.fechaVto)) {
            anotarError("Error : Fecha de vto incorrecta");
        }
        break;
    }
    default:
        break;
    }
}

ModuloCobros::PiezaSimple ModuloCSB58::piezaSimplePropia(CampoCobro campo) {
    using enum PiezaSimple::Relleno;
    switch (campo) {
    case CampoCobro::Concepto1:
        return {&piezas.concepto1, 40, Blancos};
    case CampoCobro::DomicilioDeudor:
        return {&piezas.domicilioDeudor, 40, Blancos};
    case CampoCobro::LocalidadDeudor:
        return {&piezas.localidadDeudor, 35, Blancos};
    case CampoCobro::LocalidadOrdenante:
        return {&piezas.localidadOrdenante, 38, Blancos};
    case CampoCobro::CPDeudor:
        return {&piezas.cpDeudor, 5, Ceros};
    case CampoCobro::CodProvincia:
        return {&piezas.codProvincia, 2, Ceros};
    default:
        return {};
    }
}

void ModuloCSB58::LimpiarOpcionalesCSB58() {
    piezas.codigoDevolucion.assign(6, ' ');
    piezas.referenciaInterna.assign(10, ' ');
    piezas.concepto1.assign(40, ' ');
    limpiarConceptos();
    piezas.domicilioDeudor.clear();
}

} // namespace trovanel
