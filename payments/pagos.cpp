#include "pagos.hpp"

#include "avisos.hpp"
#include "conversion.hpp"
#include "entrada_excel_access.hpp"
#include "error.hpp"
#include "fichero_salida.hpp"
#include "importes.hpp"
#include "log_errores.hpp"
#include "piezas.hpp"
#include "provincias.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

#include <filesystem>
#include <system_error>

namespace trovanel {

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

RegistroFijo& ModuloPagos::poner(RegistroFijo& registro, std::initializer_list<Pieza> piezas) {
    for (const Pieza& pieza : piezas) {
        registro.texto(pieza.texto, pieza.ancho);
    }
    return registro;
}

void ModuloPagos::escribir(const RegistroFijo& registro) {
    registro.terminar();
    ++gNumRegistrosTotal;
}

RegistroFijo ModuloPagos::registroCabecera(FicheroSalida& salida, std::string_view numero) const {
    RegistroFijo r(salida, kAncho);
    poner(r, {{"03", 2}, {"56", 2}, {ordenante.nif, 10}, {"", 12}, {numero, 3}});
    return r;
}

void ModuloPagos::escribirCabecera001(FicheroSalida& salida, std::string_view envio, std::string_view emision,
                                      std::string_view detalleCargo) {
    const PartesCuenta& cuenta = ordenante.cuenta;
    RegistroFijo r = registroCabecera(salida, "001");
    escribir(poner(r, {{envio, 6},
                       {emision, 6},
                       {cuenta.entidad, 4},
                       {cuenta.oficina, 4},
                       {cuenta.numero, 10},
                       {detalleCargo, 1},
                       {"", 3},
                       {cuenta.dc, 2},
                       {"", 7}}));
}

char* ModuloPagos::escribirRegistroImporte(FicheroSalida& salida, std::string_view operacion,
                                           std::string_view clave, const std::string* cuentaOrden[3]) {
    // The order's detail records all start alike: that start is built here, once per order.
    char* inicio = inicioDetalle_.data();
    std::memset(inicio, ' ', kInicioDetalle);
    std::memcpy(inicio, "06", 2);
    ponerTexto(inicio + 2, operacion, 2);
    ponerTexto(inicio + 4, ordenante.nif, 10);
    ponerTexto(inicio + 14, clave, 12);
    char* r = registroDetalle(salida, "010");
    ponerCeros(r, importe, 12);
    ponerTexto(r + 12, *cuentaOrden[0], 4);
    ponerTexto(r + 16, *cuentaOrden[1], 4);
    ponerTexto(r + 20, *cuentaOrden[2], 10);
    ++gNumRegistrosIndividuales;
    sumarImporte();
    return r + 30;
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
    RegistroFijo r(salida, kAncho);
    poner(r, {{"08", 2}, {"56", 2}, {ordenante.nif, 10}, {"", 15}, {total, 12}});
    r.numero(gNumRegistrosIndividuales, 8).numero(registros, 10).blancos(13).terminar();
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
        std::error_code ignorado;
        std::filesystem::remove(parametros.rutaSalida, ignorado);
        if (modulo.entorno.libroEntrada) {
            CerrarLibroExcel(*modulo.entorno.libroEntrada);
        }
        modulo.entorno.avisos.critico(e.what());
        modulo.fallar(e.what());
        return modulo.resultado;
    }
}

} // namespace trovanel
