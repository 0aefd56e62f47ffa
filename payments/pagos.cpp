#include "pagos.hpp"

#include "avisos.hpp"
#include "conversion.hpp"
#include "entrada_excel_access.hpp"
#include "error.hpp"
#include "fichero_salida.hpp"
#include "importes.hpp"
#include "log_errores.hpp"
#include "motor_lectura.hpp"
#include "piezas.hpp"
#include "provincias.hpp"
#include "registro_dispuesto.hpp"
#include "texto.hpp"

#include <cstring>

namespace trovanel {

namespace {

// clang-format off
// Header record 001: the dates and the charge account.
enum class Cabecera001 {
    Registro,
    Datos,
    Ordenante,
    Libre1,
    Numero,
    FechaEnvio,
    FechaEmision,
    Entidad,
    Oficina,
    Cuenta,
    DetalleCargo,
    Libre2,
    DC,
    Libre3,
};
constexpr Tramo<Cabecera001> kCabecera001[] = {
    {Cabecera001::Registro, 0, 2},
    {Cabecera001::Datos, 2, 2},
    {Cabecera001::Ordenante, 4, 10},
    {Cabecera001::Libre1, 14, 12},
    {Cabecera001::Numero, 26, 3},
    {Cabecera001::FechaEnvio, 29, 6},
    {Cabecera001::FechaEmision, 35, 6},
    {Cabecera001::Entidad, 41, 4},
    {Cabecera001::Oficina, 45, 4},
    {Cabecera001::Cuenta, 49, 10},
    {Cabecera001::DetalleCargo, 59, 1},
    {Cabecera001::Libre2, 60, 3},
    {Cabecera001::DC, 63, 2},
    {Cabecera001::Libre3, 65, 7},
};
static_assert(llenaRegistro(kCabecera001, 72));

// Totals record 08: the sum, the orders and the records.
enum class Totales08 { Registro, Datos, Ordenante, Libre1, Importe, Ordenes, Registros, Libre2 };
constexpr Tramo<Totales08> kTotales08[] = {
    {Totales08::Registro, 0, 2},
    {Totales08::Datos, 2, 2},
    {Totales08::Ordenante, 4, 10},
    {Totales08::Libre1, 14, 15},
    {Totales08::Importe, 29, 12},
    {Totales08::Ordenes, 41, 8},
    {Totales08::Registros, 49, 10},
    {Totales08::Libre2, 59, 13},
};
static_assert(llenaRegistro(kTotales08, 72));
// clang-format on

} // namespace

bool ModuloPagos::cargarPartes(const ParametrosConversion& parametros) {
    // A date typed for an earlier run must never stand in for this run's dates.
    estado.gFechaDatos.clear();
    estado.gFechaFacturaDatos.clear();
    // The suffix goes into no record of these norms: it is read to be checked with the rest of the row,
    // so that a party stored with a control character anywhere is refused whole.
    const auto fila =
        leerFilaParte(entorno.baseDatos, entorno.avisos,
                      "SELECT nifpre, nompre, cuenta, sufpre FROM presentadores WHERE id_presentador = ? "
                      "ORDER BY id_presentador",
                      parametros.idPresentador, rasgos_.falloOrdenante, {0, 1}, 2);
    if (!fila) {
        return false;
    }
    // A short NIF is still the party's: it goes out as it is rather than as blanks.
    const std::string nif = Trim((*fila)[0]);
    if (!rasgos_.nifConGuion) {
        ordenante.nif = rellenar(sinPrimerGuion(nif), 10);
    } else {
        // As stored, with a blank after a whole one.
        ordenante.nif = nif.size() < 9 ? rellenar(nif, 10) : rellenarBlancos(Left((*fila)[0] + " ", 10), 10);
    }
    ordenante.nombre = rellenar((*fila)[1], 36);
    ordenante.cuenta = partirCuenta((*fila)[2]);
    return true;
}

void ModuloPagos::iniciarEjecucion() {
    gCabeceraPendiente = true;
    gNumRegistrosTotal = 0;
    gNumRegistrosIndividuales = 0;
    gImporteTotal = 0;
    totalDesbordado_ = false;
    gSignoEnImporte = false;
    camposResueltos_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        gSignoEnImporte = gSignoEnImporte || (campo.campo == "SignoNegativo" && !colocado(campo));
        camposResueltos_.push_back(resolver(campo));
    }
}

ModuloPagos::CampoResuelto ModuloPagos::resolver(const CampoEstructura& campo) const {
    return {resolverCampo(campo.campo), campo.campo == "Importe"         ? CampoComun::Importe
                                        : campo.campo == "SignoNegativo" ? CampoComun::Signo
                                                                         : CampoComun::Otro};
}

void ModuloPagos::validarPieza(std::string_view valorLeido) {
    // The names are resolved once per run instead of once per line. A family's own field goes straight
    // to the family, without a frame of its own here.
    const std::size_t indice = campoResuelto(camposResueltos_.size());
    const CampoResuelto datos = camposResueltos_[indice];
    const CampoEstructura& campo = estado.gCamposEstructura[indice];
    if (datos.comun == CampoComun::Otro) [[likely]] {
        validarCampoFamilia(campo, datos.codigo, valorLeido);
        return;
    }
    validarPiezaComun(campo, datos.comun, valorLeido);
}

void ModuloPagos::validarPiezaComun(const CampoEstructura& campo, CampoComun comun,
                                    std::string_view valorLeido) {
    if (comun == CampoComun::Importe) {
        validarImporte(campo, valorLeido);
    } else {
        validarSigno(campo, valorLeido);
    }
}

std::string_view ModuloPagos::sinPrimerGuion(std::string_view texto) {
    const std::size_t guion = texto.find('-');
    if (guion == std::string_view::npos) {
        return texto;
    }
    sinGuion_.assign(texto.substr(0, guion)).append(texto.substr(guion + 1));
    return sinGuion_;
}

bool ModuloPagos::numeroNoCero(std::string_view pieza) {
    return esNumerico(pieza) && hayCifraSignificativa(pieza);
}

bool ModuloPagos::aceptarOrden() {
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
        return false;
    }
    return true;
}

void ModuloPagos::validarImporte(const CampoEstructura& campo, std::string_view valorLeido) {
    if (gSignoEnImporte) {
        signo.clear();
        gMarcaNegativo = campo.valorcampo;
    } else {
        gMarcaNegativo.clear();
    }
    const ImporteNormalizado normalizado = NormalizarImporte(recortar(valorLeido), gMarcaNegativo);
    estado.gSignoImporte.assign(1, normalizado.signo);
    importe = normalizado.centimos;
    if (gSignoEnImporte) {
        signo = estado.gSignoImporte;
    }
    // The record holds twelve digits: a larger amount is refused, never cut.
    importeCentimos_ = normalizado.valor;
    importeValido_ =
        !normalizado.desbordado && importeCentimos_ != 0 && importeCentimos_ <= rasgos_.importeMaximo;
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
    }
}

void ModuloPagos::validarSigno(const CampoEstructura& campo, std::string_view valorLeido) {
    if (gSignoEnImporte) {
        return;
    }
    // Without a marker nothing marks an order as negative, not even an empty value.
    const std::string& marca = campo.valorcampo;
    signo = !marca.empty() && valorLeido.substr(0, 1) == marca ? "-" : " ";
}

const std::string& ModuloPagos::provincia(std::string_view codigoPostal) {
    // The provinces of two-digit codes by their number, without hashing a key for every order.
    if (codigoPostal.size() >= 2 && esDigito(codigoPostal[0]) && esDigito(codigoPostal[1])) {
        const auto numero = static_cast<std::size_t>((codigoPostal[0] - '0') * 10 + (codigoPostal[1] - '0'));
        if (!provinciaLeida_[numero]) {
            provinciaLeida_[numero] = true;
            provinciaPorNumero_[numero] =
                Trim(ObtenerProvincia(entorno.baseDatos, codigoPostal.substr(0, 2)));
        }
        return provinciaPorNumero_[numero];
    }
    const std::string clave = Left(codigoPostal, 2);
    auto it = provincias_.find(clave);
    if (it == provincias_.end()) {
        it = provincias_.emplace(clave, Trim(ObtenerProvincia(entorno.baseDatos, clave))).first;
    }
    return it->second;
}

void ModuloPagos::escribirCabecera001(FicheroSalida& salida, std::string_view envio, std::string_view emision,
                                      std::string_view detalleCargo) {
    const PartesCuenta& cuenta = ordenante.cuenta;
    using P = Cabecera001;
    registroCabecera<kCabecera001>(salida, "001")
        .texto<P::FechaEnvio>(envio)
        .texto<P::FechaEmision>(emision)
        .texto<P::Entidad>(cuenta.entidad)
        .texto<P::Oficina>(cuenta.oficina)
        .texto<P::Cuenta>(cuenta.numero)
        .texto<P::DetalleCargo>(detalleCargo)
        .texto<P::DC>(cuenta.dc);
}

void ModuloPagos::empezarOrden(std::string_view operacion, std::string_view clave) {
    // The order's detail records all start alike: that start is built here, once per order.
    char* inicio = inicioDetalle_.data();
    std::memset(inicio, ' ', inicioDetalle_.size());
    const auto poner = [inicio](InicioDetalle pieza, std::string_view valor) {
        const Tramo<InicioDetalle>& tramo = kInicioDetalle[static_cast<std::size_t>(pieza)];
        ponerTexto(inicio + tramo.inicio, valor, tramo.ancho);
    };
    poner(InicioDetalle::Registro, "06");
    poner(InicioDetalle::Operacion, operacion);
    poner(InicioDetalle::Ordenante, ordenante.nif);
    poner(InicioDetalle::Clave, clave);
    ++gNumRegistrosIndividuales;
    sumarImporte();
}

void ModuloPagos::sumarImporte() {
    std::int64_t centimos = importeCentimos_;
    if (signo == "-") {
        centimos = -centimos;
    }
    totalDesbordado_ = totalDesbordado_ || __builtin_add_overflow(gImporteTotal, centimos, &gImporteTotal);
}

std::string ModuloPagos::textoTotal(std::size_t ancho) const {
    const std::string texto = std::to_string(gImporteTotal);
    if (totalDesbordado_ || texto.size() > ancho) {
        throw ErrorTrovanel(kTotalNoCabe);
    }
    return rellenarCeros(texto, ancho);
}

bool ModuloPagos::escribirTotales(FicheroSalida& salida) {
    const std::string total = textoTotal(12);
    const std::int64_t registros = gNumRegistrosTotal + (rasgos_.totalesSeCuentan ? 1 : 0);
    using P = Totales08;
    RegistroDispuesto<kTotales08>(salida)
        .texto<P::Registro>("08")
        .texto<P::Datos>("56")
        .texto<P::Ordenante>(ordenante.nif)
        .texto<P::Importe>(total)
        .numero<P::Ordenes>(gNumRegistrosIndividuales)
        .numero<P::Registros>(registros);
    return salida.correcto();
}

void ModuloPagos::escribirLog(EscritorLog& log) {
    log.escribirBloque(estado.gNumeroLinea, {});
}

const char* ModuloPagos::mensajeFalloLog() const {
    return kFalloLogPagos;
}

ResultadoConversion ejecutarConversionPagos(ModuloPagos& modulo, const ParametrosConversion& parametros) {
    try {
        return ejecutarConversion(modulo, parametros);
    } catch (const ErrorTrovanel& e) {
        // The totals did not fit: the bank file was never put in place, and no earlier one of that name
        // may pass for this run's.
        quitarSalidaAnterior(parametros.rutaSalida);
        if (modulo.entorno.libroEntrada) {
            CerrarLibroExcel(*modulo.entorno.libroEntrada);
        }
        modulo.entorno.avisos.critico(e.what());
        modulo.fallar(e.what());
        return modulo.resultado;
    }
}

} // namespace trovanel
