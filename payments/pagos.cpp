#include "pagos.hpp"

#include "error.hpp"
#include "fichero_salida.hpp"
#include "importes.hpp"
#include "log_errores.hpp"
#include "piezas.hpp"
#include "provincias.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

#include <charconv>

namespace trovanel {

namespace {

std::string sinPrimerGuion(std::string texto) {
    if (const auto guion = texto.find('-'); guion != std::string::npos) {
        texto.erase(guion, 1);
    }
    return texto;
}

} // namespace

bool ModuloPagos::cargarPartes(const ParametrosConversion& parametros) {
    // A date typed for an earlier run must never stand in for this run's dates.
    estado.gFechaDatos.clear();
    const auto fila =
        leerFilaParte(entorno.baseDatos, entorno.avisos,
                      "SELECT nifpre, nompre, cuenta FROM presentadores WHERE id_presentador = ? "
                      "ORDER BY id_presentador",
                      parametros.idPresentador, rasgos_.falloOrdenante);
    if (!fila) {
        return false;
    }
    // A short NIF is still the party's: it goes out as it is rather than as blanks.
    ordenante.nif = rellenar(sinPrimerGuion(Trim((*fila)[0])), 10);
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
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        gSignoEnImporte = gSignoEnImporte || (campo.campo == "SignoNegativo" && !colocado(campo));
    }
}

bool ModuloPagos::aceptarOrden() {
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
        return false;
    }
    return true;
}

void ModuloPagos::validarImporte(const CampoEstructura& campo, const std::string& valorLeido) {
    if (gSignoEnImporte) {
        signo.clear();
        gMarcaNegativo = campo.valorcampo;
    } else {
        gMarcaNegativo.clear();
    }
    const ImporteNormalizado normalizado = NormalizarImporte(recortar(valorLeido), gMarcaNegativo);
    estado.gSignoImporte = std::string(1, normalizado.signo);
    importe = normalizado.centimos;
    if (gSignoEnImporte) {
        signo = estado.gSignoImporte;
    }
    // The record holds twelve digits: a larger amount is refused, never cut.
    importeValido_ = !normalizado.desbordado && !esValorCero(importe);
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
    }
}

void ModuloPagos::validarSigno(const CampoEstructura& campo, const std::string& valorLeido) {
    if (gSignoEnImporte) {
        return;
    }
    // Without a marker nothing marks an order as negative, not even an empty value.
    const std::string& marca = campo.valorcampo;
    signo = !marca.empty() && std::string_view(valorLeido).substr(0, 1) == marca ? "-" : " ";
}

const std::string& ModuloPagos::provincia(std::string_view codigoPostal) {
    const std::string clave = Left(codigoPostal, 2);
    auto it = provincias_.find(clave);
    if (it == provincias_.end()) {
        it = provincias_.emplace(clave, Trim(ObtenerProvincia(entorno.baseDatos, clave))).first;
    }
    return it->second;
}

RegistroFijo ModuloPagos::registro() {
    return RegistroFijo(kAncho);
}

RegistroFijo& ModuloPagos::poner(RegistroFijo& registro, std::initializer_list<Pieza> piezas) {
    for (const Pieza& pieza : piezas) {
        registro.texto(pieza.texto, pieza.ancho);
    }
    return registro;
}

void ModuloPagos::escribir(FicheroSalida& salida, const RegistroFijo& registro) {
    salida.escribirLinea(registro.terminar());
    ++gNumRegistrosTotal;
}

void ModuloPagos::sumarImporte() {
    std::int64_t centimos = 0;
    std::from_chars(importe.data(), importe.data() + importe.size(), centimos);
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

void ModuloPagos::escribirLog(EscritorLog& log) {
    log.escribirBloque(estado.gNumeroLinea, {});
}

const char* ModuloPagos::mensajeFalloLog() const {
    return kFalloLogPagos;
}

} // namespace trovanel
