#include "csb19.hpp"

#include "conversion.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "registro_dispuesto.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// Record 56-86: the account holder and the debtor's address.
// One piece a line, as the norm lists them.
// clang-format off
enum class Domicilio5686 {
    Registro,
    Datos,
    Emisor,
    Referencia,
    TitularCuenta,
    Direccion,
    Localidad,
    CP,
    Libre
};
constexpr Tramo<Domicilio5686> kDomicilio5686[] = {
    {Domicilio5686::Registro, 0, 2},
    {Domicilio5686::Datos, 2, 2},
    {Domicilio5686::Emisor, 4, 12},
    {Domicilio5686::Referencia, 16, 12},
    {Domicilio5686::TitularCuenta, 28, 40},
    {Domicilio5686::Direccion, 68, 40},
    {Domicilio5686::Localidad, 108, 35},
    {Domicilio5686::CP, 143, 5},
    {Domicilio5686::Libre, 148, 14},
};
// clang-format on
static_assert(llenaRegistro(kDomicilio5686, 162));

} // namespace

ModuloCSB19::ModuloCSB19(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion)
    : ModuloCobros(estadoEjecucion, entornoEjecucion, kRasgosCSB19, piezas) {}

bool ModuloCSB19::cargarPartes(const ParametrosConversion& parametros) {
    if (!ModuloCobros::cargarPartes(parametros)) {
        return false;
    }
    piezas.fechaCargo = ddmmaaDeFechaLarga(parametros.gFechaProceso);
    return true;
}

void ModuloCSB19::escribirDomicilio(FicheroSalida& salida) {
    const PiezasCSB19& p = piezas;
    if (!enBlanco(p.nombreTitularCuenta) && !enBlanco(p.direccion)) {
        using P = Domicilio5686;
        registroOrden<kDomicilio5686>(salida, '6')
            .texto<P::TitularCuenta>(p.nombreTitularCuenta)
            .texto<P::Direccion>(p.direccion)
            .texto<P::Localidad>(p.localidad)
            .texto<P::CP>(p.cp);
    }
}

ResultadoConversion GenerarCSB19(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros) {
    ModuloCSB19 modulo(estado, entorno);
    return ejecutarConversion(modulo, parametros);
}

} // namespace trovanel
