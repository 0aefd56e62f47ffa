#include "cobros.hpp"

#include "base_datos.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "importes.hpp"
#include "log_errores.hpp"
#include "piezas.hpp"
#include "registro_dispuesto.hpp"
#include "reloj.hpp"
#include "texto.hpp"

#include <type_traits>

namespace trovanel {

namespace {

// Amounts and counts of records 58 and 59 hold ten digits.
constexpr std::int64_t kMaximoDiezCifras = 9'999'999'999;

constexpr NombreCampoCobro kNombresCSB19[] = {
    {"NombreTitularRecibo", CampoCobro::NombreTitular},
    {"NombreTitularCuenta", CampoCobro::NombreTitularCuenta},
    {"Direccion", CampoCobro::Direccion},
    {"Localidad", CampoCobro::Localidad},
    {"CP", CampoCobro::CP},
};
constexpr NombreCampoCobro kNombresCSB58[] = {
    {"NombreTitular", CampoCobro::NombreTitular},
    {"FechaVto", CampoCobro::FechaVto},
    {"DomicilioDeudor", CampoCobro::DomicilioDeudor},
    {"LocalidadDeudor", CampoCobro::LocalidadDeudor},
    {"LocalidadOrdenante", CampoCobro::LocalidadOrdenante},
    {"CPDeudor", CampoCobro::CPDeudor},
    {"CodProvincia", CampoCobro::CodProvincia},
};

// The records both norms share, as the norms lay them out: each piece, where it starts, its width; one
// piece a line.
// clang-format off
// Record 51, the presenter's header.
enum class Cabecera51 {
    Registro,
    Datos,
    Presentador,
    FechaCreacion,
    Libre1,
    Nombre,
    Libre2,
    Entidad,
    Oficina,
    Libre3
};
constexpr Tramo<Cabecera51> kCabecera51[] = {
    {Cabecera51::Registro, 0, 2},
    {Cabecera51::Datos, 2, 2},
    {Cabecera51::Presentador, 4, 12},
    {Cabecera51::FechaCreacion, 16, 6},
    {Cabecera51::Libre1, 22, 6},
    {Cabecera51::Nombre, 28, 40},
    {Cabecera51::Libre2, 68, 20},
    {Cabecera51::Entidad, 88, 4},
    {Cabecera51::Oficina, 92, 4},
    {Cabecera51::Libre3, 96, 66},
};
static_assert(llenaRegistro(kCabecera51, 162));

// Record 53, the issuer's header.
enum class Cabecera53 {
    Registro,
    Datos,
    Emisor,
    FechaCreacion,
    FechaCargo,
    Nombre,
    Entidad,
    Oficina,
    DC,
    Cuenta,
    Libre1,
    Procedimiento,
    Libre2,
    Cola,
};
constexpr Tramo<Cabecera53> kCabecera53[] = {
    {Cabecera53::Registro, 0, 2},
    {Cabecera53::Datos, 2, 2},
    {Cabecera53::Emisor, 4, 12},
    {Cabecera53::FechaCreacion, 16, 6},
    {Cabecera53::FechaCargo, 22, 6},
    {Cabecera53::Nombre, 28, 40},
    {Cabecera53::Entidad, 68, 4},
    {Cabecera53::Oficina, 72, 4},
    {Cabecera53::DC, 76, 2},
    {Cabecera53::Cuenta, 78, 10},
    {Cabecera53::Libre1, 88, 8},
    {Cabecera53::Procedimiento, 96, 2},
    {Cabecera53::Libre2, 98, 50},
    {Cabecera53::Cola, 148, 14},
};
static_assert(llenaRegistro(kCabecera53, 162));

// The order's first record 56: the debtor, the account, the amount and the first concept.
enum class Orden56 {
    Registro,
    Datos,
    Emisor,
    Referencia,
    Titular,
    Entidad,
    Oficina,
    DC,
    Cuenta,
    Importe,
    CodigoDevolucion,
    ReferenciaInterna,
    Concepto1,
    FechaVto,
    Libre,
};
constexpr Tramo<Orden56> kOrden56[] = {
    {Orden56::Registro, 0, 2},
    {Orden56::Datos, 2, 2},
    {Orden56::Emisor, 4, 12},
    {Orden56::Referencia, 16, 12},
    {Orden56::Titular, 28, 40},
    {Orden56::Entidad, 68, 4},
    {Orden56::Oficina, 72, 4},
    {Orden56::DC, 76, 2},
    {Orden56::Cuenta, 78, 10},
    {Orden56::Importe, 88, 10},
    {Orden56::CodigoDevolucion, 98, 6},
    {Orden56::ReferenciaInterna, 104, 10},
    {Orden56::Concepto1, 114, 40},
    {Orden56::FechaVto, 154, 6},
    {Orden56::Libre, 160, 2},
};
static_assert(llenaRegistro(kOrden56, 162));

// The records 56 of concepts 2 to 16, three to a record.
enum class Conceptos56 { Registro, Datos, Emisor, Referencia, Primero, Segundo, Tercero, Libre };
constexpr Tramo<Conceptos56> kConceptos56[] = {
    {Conceptos56::Registro, 0, 2},
    {Conceptos56::Datos, 2, 2},
    {Conceptos56::Emisor, 4, 12},
    {Conceptos56::Referencia, 16, 12},
    {Conceptos56::Primero, 28, 40},
    {Conceptos56::Segundo, 68, 40},
    {Conceptos56::Tercero, 108, 40},
    {Conceptos56::Libre, 148, 14},
};
static_assert(llenaRegistro(kConceptos56, 162));

// Record 58, the issuer's totals.
enum class Total58 { Registro, Datos, Emisor, Libre1, Importe, Libre2, Ordenes, Registros, Libre3 };
constexpr Tramo<Total58> kTotal58[] = {
    {Total58::Registro, 0, 2},
    {Total58::Datos, 2, 2},
    {Total58::Emisor, 4, 12},
    {Total58::Libre1, 16, 72},
    {Total58::Importe, 88, 10},
    {Total58::Libre2, 98, 6},
    {Total58::Ordenes, 104, 10},
    {Total58::Registros, 114, 10},
    {Total58::Libre3, 124, 38},
};
static_assert(llenaRegistro(kTotal58, 162));

// Record 59, the file's totals: one issuer.
enum class Total59 {
    Registro,
    Datos,
    Presentador,
    Libre1,
    Emisores,
    Libre2,
    Importe,
    Libre3,
    Ordenes,
    Registros,
    Libre4,
};
constexpr Tramo<Total59> kTotal59[] = {
    {Total59::Registro, 0, 2},
    {Total59::Datos, 2, 2},
    {Total59::Presentador, 4, 12},
    {Total59::Libre1, 16, 52},
    {Total59::Emisores, 68, 4},
    {Total59::Libre2, 72, 16},
    {Total59::Importe, 88, 10},
    {Total59::Libre3, 98, 6},
    {Total59::Ordenes, 104, 10},
    {Total59::Registros, 114, 10},
    {Total59::Libre4, 124, 38},
};
static_assert(llenaRegistro(kTotal59, 162));
// clang-format on

} // namespace

// Norm 58 has no charge date in record 53, whose tail ends in nine zeros.
const RasgosCobro kRasgosCSB19{"80",
                               "01",
                               "",
                               "No se puede obtener los datos del emisor",
                               "Error : No hay nombre de titular del recibo",
                               kNombresCSB19};
const RasgosCobro kRasgosCSB58{"70",
                               "06",
                               "  000000000   ",
                               "No se puede extraer los datos del emisor",
                               "Error : No hay nombre de titular",
                               kNombresCSB58};

bool ModuloCobros::cargarPartes(const ParametrosConversion& parametros) {
    PiezasCobro& p = comunes_;
    BaseDatos& bd = entorno.baseDatos;
    // The presenter's account goes into no record of these norms: it is read to be checked with the rest
    // of the row, so that a party stored with a control character anywhere is refused whole.
    const auto fila =
        leerFilaParte(bd, entorno.avisos,
                      "SELECT nifpre, sufpre, nompre, cuenta FROM presentadores WHERE id_presentador = ? "
                      "ORDER BY id_presentador",
                      parametros.idPresentador, "No se puede obtener los datos del presentador", {0, 2});
    if (!fila) {
        return false;
    }
    p.idPresentador = rellenar((*fila)[0], 9) + rellenar((*fila)[1], 3);
    p.nombrePresentador = rellenar((*fila)[2], 40);
    p.fechaCreacion = fechaDDMMAA(entorno.reloj.ahora());

    const auto emisor = leerFilaParte(bd, entorno.avisos,
                                      "SELECT nifemi, sufemi, nomemi, cuenta FROM emisores WHERE id_emi = ? "
                                      "ORDER BY id_emi",
                                      parametros.idEmisor, rasgos_.falloEmisor, {0, 2}, 3);
    if (!emisor) {
        return false;
    }
    p.idEmisor = rellenar((*emisor)[0], 9) + rellenar((*emisor)[1], 3);
    p.nombreEmisor = rellenar((*emisor)[2], 40);
    PartesCuenta cuenta = partirCuenta((*emisor)[3]);
    p.entidadEmisor = std::move(cuenta.entidad);
    p.oficinaEmisor = std::move(cuenta.oficina);
    p.dcEmisor = std::move(cuenta.dc);
    p.cuentaEmisor = std::move(cuenta.numero);
    return true;
}

ModuloCobros::CampoResuelto ModuloCobros::resolver(const std::string& nombre) {
    const CampoResuelto resuelto = resolverNombre(nombre);
    const PiezaSimple simple = piezaSimple(resuelto.campo);
    if (simple.pieza == nullptr) {
        return resuelto;
    }
    // Each piece once, however many fields of the template name it.
    std::size_t lugar = 0;
    while (lugar < simples_.size() && simples_[lugar].pieza != simple.pieza) {
        ++lugar;
    }
    if (lugar == simples_.size()) {
        simples_.push_back(simple);
    }
    return {CampoCobro::Simple, static_cast<int>(lugar)};
}

ModuloCobros::CampoResuelto ModuloCobros::resolverNombre(const std::string& nombre) const {
    static constexpr NombreCampoCobro kComunes[] = {
        {"CodigoReferencia", CampoCobro::CodigoReferencia},
        {"Entidad", CampoCobro::Entidad},
        {"Oficina", CampoCobro::Oficina},
        {"DC", CampoCobro::DC},
        {"Cuenta", CampoCobro::Cuenta},
        {"Importe", CampoCobro::Importe},
        {"CodigoDevolucion", CampoCobro::CodigoDevolucion},
        {"ReferenciaInterna", CampoCobro::ReferenciaInterna},
        {"Concepto1", CampoCobro::Concepto1},
    };
    for (const auto& nombres : {std::span<const NombreCampoCobro>(kComunes), rasgos_.nombres}) {
        for (const NombreCampoCobro& n : nombres) {
            if (nombre == n.texto) {
                return {n.campo, 0};
            }
        }
    }
    if (nombre.starts_with("Concepto")) {
        const auto numero = leerEntero(nombre.substr(8));
        if (numero && *numero >= 2 && *numero <= 16 && nombre.substr(8) == std::to_string(*numero)) {
            return {CampoCobro::ConceptoN, static_cast<int>(*numero)};
        }
    }
    return {};
}

ModuloCobros::PiezaSimple ModuloCobros::piezaSimple(CampoCobro campo) {
    switch (campo) {
    case CampoCobro::CodigoDevolucion:
        return {&comunes_.codigoDevolucion, 6, PiezaSimple::Relleno::Blancos};
    case CampoCobro::ReferenciaInterna:
        return {&comunes_.referenciaInterna, 10, PiezaSimple::Relleno::Blancos};
    default:
        return piezaSimplePropia(campo);
    }
}

void ModuloCobros::ponerSimple(const PiezaSimple& simple, std::string_view valor) {
    if (simple.relleno == PiezaSimple::Relleno::Blancos) {
        rellenarEn(*simple.pieza, valor, simple.ancho);
    } else {
        conCerosEn(*simple.pieza, valor.substr(0, simple.ancho), simple.ancho);
    }
}

void ModuloCobros::iniciarEjecucion() {
    gCabPresentadorPendiente = true;
    gCabEmisorPendiente = true;
    gNumRegistrosIndividuales = 0;
    gNumRegistrosTotal = 0;
    gImporteTotal = 0;
    gMarcaNegativo.clear();
    camposResueltos_.clear();
    simples_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        camposResueltos_.push_back(resolver(campo.campo));
    }
}

void ModuloCobros::textoConDefecto(std::string& pieza, std::string_view valor, const std::string& defecto,
                                   std::size_t ancho, const char* error) {
    if (!rellenarEn(pieza, valor, ancho) && (defecto.empty() || !rellenarEn(pieza, defecto, ancho))) {
        anotarError(error);
    }
}

void ModuloCobros::validarPieza(std::string_view valorLeido) {
    const std::size_t indice = campoResuelto(camposResueltos_.size());
    const CampoEstructura& campo = estado.gCamposEstructura[indice];
    const CampoResuelto resuelto = camposResueltos_[indice];
    PiezasCobro& p = comunes_;

    switch (resuelto.campo) {
    case CampoCobro::Desconocido:
        break;
    case CampoCobro::Simple:
        ponerSimple(simples_[static_cast<std::size_t>(resuelto.numeroConcepto)], valorLeido);
        break;
    case CampoCobro::CodigoReferencia:
        textoConDefecto(p.codigoReferencia, valorLeido, campo.valorcampo, 12,
                        "Error : No tiene código de referencia");
        break;
    case CampoCobro::NombreTitular:
        textoConDefecto(p.nombreTitular, valorLeido, campo.valorcampo, 40, rasgos_.sinTitular);
        break;
    case CampoCobro::Importe:
        validarImporte(valorLeido);
        break;
    case CampoCobro::ConceptoN:
        rellenarEn(p.conceptos[static_cast<std::size_t>(resuelto.numeroConcepto)], valorLeido, 40);
        hayConceptos_ = true;
        break;
    default:
        validarPropio(resuelto.campo, campo, valorLeido);
        break;
    }
}

void ModuloCobros::validarImporte(std::string_view valorLeido) {
    PiezasCobro& p = comunes_;
    const ImporteNormalizado importe = NormalizarImporte(recortar(valorLeido), gMarcaNegativo);
    estado.gSignoImporte.assign(1, importe.signo);
    p.importe.assign(importe.centimos, 2);
    // Kept as a number too: the file's totals add it without reading the text again.
    importeCentimos_ = importe.valor % (kMaximoDiezCifras + 1);
    // The record holds ten digits: a larger amount is refused, never cut.
    importeValido_ = importeCentimos_ != 0 && !importe.desbordado && importe.centimos.starts_with("00");
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
    }
}

bool ModuloCobros::aceptarOrden() {
    // An order whose amount was never read, or inherits one that was refused, has no amount to send.
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
        return false;
    }
    if (gImporteTotal + importeCentimos_ > kMaximoDiezCifras) {
        anotarError("Error : Importe total del fichero excedido");
        return false;
    }
    return true;
}

bool ModuloCobros::escribirRegistros(FicheroSalida& salida) {
    const PiezasCobro& p = comunes_;
    const std::string_view datos = rasgos_.codigoDatos;
    if (gCabPresentadorPendiente) {
        using P = Cabecera51;
        RegistroDispuesto<kCabecera51>(salida)
            .texto<P::Registro>("51")
            .texto<P::Datos>(datos)
            .texto<P::Presentador>(p.idPresentador)
            .texto<P::FechaCreacion>(p.fechaCreacion)
            .texto<P::Nombre>(p.nombrePresentador)
            .texto<P::Entidad>(p.entidadEmisor)
            .texto<P::Oficina>(p.oficinaEmisor);
        ++gNumRegistrosTotal;
        gCabPresentadorPendiente = false;
    }
    if (gCabEmisorPendiente) {
        using P = Cabecera53;
        RegistroDispuesto<kCabecera53>(salida)
            .texto<P::Registro>("53")
            .texto<P::Datos>(datos)
            .texto<P::Emisor>(p.idEmisor)
            .texto<P::FechaCreacion>(p.fechaCreacion)
            .texto<P::FechaCargo>(p.fechaCargo)
            .texto<P::Nombre>(p.nombreEmisor)
            .texto<P::Entidad>(p.entidadEmisor)
            .texto<P::Oficina>(p.oficinaEmisor)
            .texto<P::DC>(p.dcEmisor)
            .texto<P::Cuenta>(p.cuentaEmisor)
            .texto<P::Procedimiento>(rasgos_.procedimiento)
            .texto<P::Cola>(rasgos_.colaCabecera);
        ++gNumRegistrosTotal;
        gCabEmisorPendiente = false;
    }

    using O = Orden56;
    registroOrden<kOrden56>(salida, datos[1])
        .texto<O::Titular>(p.nombreTitular)
        .texto<O::Entidad>(p.entidad)
        .texto<O::Oficina>(p.oficina)
        .texto<O::DC>(p.dc)
        .texto<O::Cuenta>(p.cuenta)
        .ceros<O::Importe>(p.importe)
        .texto<O::CodigoDevolucion>(p.codigoDevolucion)
        .texto<O::ReferenciaInterna>(p.referenciaInterna)
        .texto<O::Concepto1>(p.concepto1)
        .texto<O::FechaVto>(p.fechaVto);
    ++gNumRegistrosIndividuales;
    gImporteTotal += importeCentimos_;

    // Without a concept 2 to 16 read since the last clearing, every group is blank.
    for (std::size_t grupo = 0; hayConceptos_ && grupo < 5; ++grupo) {
        const std::string& c1 = p.conceptos[2 + grupo * 3];
        const std::string& c2 = p.conceptos[3 + grupo * 3];
        const std::string& c3 = p.conceptos[4 + grupo * 3];
        if (enBlanco(c1) && enBlanco(c2) && enBlanco(c3)) {
            continue;
        }
        registroOrden<kConceptos56>(salida, static_cast<char>(datos[1] + 1 + grupo))
            .texto<Conceptos56::Primero>(c1)
            .texto<Conceptos56::Segundo>(c2)
            .texto<Conceptos56::Tercero>(c3);
    }
    escribirDomicilio(salida);
    limpiarOpcionales();
    return salida.correcto();
}

bool ModuloCobros::escribirTotales(FicheroSalida& salida) {
    const PiezasCobro& p = comunes_;
    const std::string_view datos = rasgos_.codigoDatos;
    // Both totals records end alike: amount, orders, records counted so far.
    const auto cola = [this](auto&& registro) {
        using P = typename std::remove_cvref_t<decltype(registro)>::Pieza;
        registro.template numero<P::Importe>(gImporteTotal)
            .template numero<P::Ordenes>(gNumRegistrosIndividuales)
            .template numero<P::Registros>(gNumRegistrosTotal);
    };
    cola(RegistroDispuesto<kTotal58>(salida)
             .texto<Total58::Registro>("58")
             .texto<Total58::Datos>(datos)
             .texto<Total58::Emisor>(p.idEmisor));
    gNumRegistrosTotal += 2;
    cola(RegistroDispuesto<kTotal59>(salida)
             .texto<Total59::Registro>("59")
             .texto<Total59::Datos>(datos)
             .texto<Total59::Presentador>(p.idPresentador)
             .texto<Total59::Emisores>("0001"));
    return salida.correcto();
}

void ModuloCobros::limpiarConceptos() {
    if (hayConceptos_) {
        for (std::size_t i = 2; i < comunes_.conceptos.size(); ++i) {
            comunes_.conceptos[i].clear();
        }
        hayConceptos_ = false;
    }
}

void ModuloCobros::escribirLog(EscritorLog& log) {
    EscribirLog(log, estado.gNumeroLinea, comunes_.idEmisor, comunes_.nombreTitular);
    limpiarOpcionales();
}

const char* ModuloCobros::mensajeFalloLog() const {
    return kFalloLogCobros;
}

} // namespace trovanel
