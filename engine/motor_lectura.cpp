#include "motor_lectura.hpp"

#include "avisos.hpp"
#include "datos_obligatorios.hpp"
#include "error.hpp"
#include "familia_conversion.hpp"
#include "fichero_entrada.hpp"
#include "lector_lineas.hpp"
#include "multifactura.hpp"
#include "texto.hpp"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <system_error>

namespace trovanel {

namespace {
constexpr const char* kNoSeAbreSalida = "No se puede abrir el fichero de salida";
} // namespace

EjecucionLectura::EjecucionLectura(FamiliaConversion& familia, const std::filesystem::path& rutaSalida)
    : familia_(familia), rutaSalida_(rutaSalida),
      log_(familia.resultado.log, familia.estado, familia.entorno.reloj, familia.entorno.avisos,
           familia.mensajeFalloLog()) {}

bool EjecucionLectura::iniciar() {
    salida_.emplace(rutaSalida_);
    // The dialog's character table goes into the file as it is written, so no bank file is ever put in
    // place without it.
    if (familia_.transformarSalida) {
        salida_->transformarAlEscribir(familia_.transformarSalida);
    }
    if (!salida_->abierto()) {
        fallarSalida(kNoSeCreaSalida);
        salida_.reset();
        return false;
    }
    familia_.estado.gErrores.clear();
    familia_.iniciarEjecucion();
    // The fields a line hands to the validators, found once per run instead of once per line: a piece
    // of the line, or the template's value of a field the input does not carry. A field asked when the
    // run started is validated even with no valorcampo: a date typed then lives in gFechaDatos, and a
    // due date's valorcampo only names its input format.
    camposPasados_.clear();
    hastaTodos_ = 0;
    const auto& campos = familia_.estado.gCamposEstructura;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const CampoEstructura& campo = campos[i];
        const std::int64_t largo = largoPieza(campo.inicio, campo.fin);
        if (piezaCortable(campo.inicio, largo)) {
            const auto desde = static_cast<std::size_t>(campo.inicio - 1);
            const std::size_t hasta = largo > 0 ? desde + static_cast<std::size_t>(largo) : SIZE_MAX;
            camposPasados_.push_back({i, desde, largo, hasta});
            hastaTodos_ = std::max(hastaTodos_, hasta);
        } else if (!enBlanco(campo.valorcampo) || esDatoQueFalta(campo)) {
            camposPasados_.push_back({i, 0, -1, SIZE_MAX});
            hastaTodos_ = SIZE_MAX;
        }
    }
    return true;
}

bool EjecucionLectura::claveCoincide(const CampoEstructura& campo) const {
    const std::int64_t largo = largoPieza(campo.inilinea, campo.finlinea);
    if (!piezaCortable(campo.inilinea, largo)) {
        return true;
    }
    return cortar(familia_.lectura.gLineaActual, campo.inilinea, largo) == campo.valorlinea;
}

void EjecucionLectura::pasarCampos(bool soloConClave) {
    EstadoLectura& lectura = familia_.lectura;
    const auto& campos = familia_.estado.gCamposEstructura;
    // The buffer of one line's values serves the next line's too.
    std::string& valor = valor_;
    // The pieces of a line without control characters need no check of their own.
    const bool lineaLimpia = lineaSinControles_ || !hayCaracterControl(lectura.gLineaActual);
    const std::string_view linea = lectura.gLineaActual;
    if (!soloConClave && lineaLimpia && hastaTodos_ <= linea.size()) {
        // Mostly so: every piece lies whole on a clean line. A field without a piece of the line holds
        // hastaTodos_ at SIZE_MAX, past any line, so none reaches here.
        for (const CampoPasado& pasado : camposPasados_) {
            assert(pasado.largo > 0 && pasado.hasta <= linea.size());
            lectura.gIndiceCampo = pasado.indice;
            familia_.validarPieza({linea.data() + pasado.desde, static_cast<std::size_t>(pasado.largo)});
        }
        return;
    }
    for (const CampoPasado& pasado : camposPasados_) {
        lectura.gIndiceCampo = pasado.indice;
        if (soloConClave && !claveCoincide(campos[pasado.indice])) {
            continue;
        }
        if (pasado.largo < 0) {
            valor = campos[pasado.indice].valorcampo;
        } else {
            // cortar() with the start and length checked once per run; mostly the line holds the whole piece.
            const std::string_view pieza =
                pasado.hasta <= linea.size()
                    ? std::string_view(linea.data() + pasado.desde, static_cast<std::size_t>(pasado.largo))
                : pasado.largo == 0 || pasado.desde >= linea.size()
                    ? std::string_view()
                    : std::string_view(linea.data() + pasado.desde, linea.size() - pasado.desde);
            if (lineaLimpia) {
                familia_.validarPieza(pieza);
                continue;
            }
            valor.assign(pieza);
        }
        familia_.validarValor(valor);
    }
}

void EjecucionLectura::volcarOrden() {
    EstadoLectura& lectura = familia_.lectura;
    familia_.revisarOrden();
    if (lectura.gRegistroConError || !familia_.aceptarOrden()) {
        lectura.gRegistroConError = false;
        familia_.escribirLog(log_);
        ++familia_.resultado.ordenesRechazadas;
        logEscrito();
        return;
    }
    if (!salida_ || escrituraFallida_) {
        return;
    }
    if (familia_.escribirRegistros(*salida_) && salida_->correcto()) {
        lectura.gHayRegistros = true;
        ++familia_.resultado.ordenesEscritas;
    } else {
        // One message for the run: every later order would fail the same way.
        escrituraFallida_ = true;
        fallarSalida(kNoSeCreaSalida);
    }
}

void EjecucionLectura::volcarErroresRetenidos() {
    if (familia_.lectura.gRegistroConError) {
        volcarOrden();
    }
}

void EjecucionLectura::fallarSalida(const char* mensaje) {
    // The path and the reason, as for an input that cannot be opened: "disco lleno" says what to do.
    std::string texto = mensajeEntrada(mensaje, rutaSalida_, salida_->motivo());
    familia_.entorno.avisos.critico(texto);
    familia_.fallar(std::move(texto));
}

bool EjecucionLectura::logEscrito() {
    if (!log_.fallido()) {
        return true;
    }
    // The writer has shown its message once; nothing more is read, so it is the only one.
    detenida_ = true;
    familia_.fallar(familia_.mensajeFalloLog(), ResultadoConversion::Clase::LogNoEscrito);
    return false;
}

void EjecucionLectura::terminar() {
    volcarErroresRetenidos();
    log_.cerrar();
    if (!logEscrito()) {
        abandonar();
        return;
    }
    if (!salida_) {
        return;
    }
    if (escrituraFallida_) {
        abandonar();
        return;
    }
    if (!familia_.lectura.gHayRegistros) {
        salida_->descartar();
        salida_.reset();
        quitarSalidaAnterior(rutaSalida_);
        return;
    }
    if (!familia_.escribirTotales(*salida_) || !salida_->confirmar()) {
        fallarSalida(kNoSeAbreSalida);
        salida_.reset();
        quitarSalidaAnterior(rutaSalida_);
        return;
    }
    salida_.reset();
}

void EjecucionLectura::abandonar() {
    log_.cerrar();
    if (salida_) {
        salida_->descartar();
        salida_.reset();
        quitarSalidaAnterior(rutaSalida_);
    }
}

void quitarSalidaAnterior(const std::filesystem::path& rutaSalida) {
    const auto final = FicheroSalida::destinoFinal(rutaSalida);
    std::error_code ignorado;
    if (final &&
        std::filesystem::symlink_status(*final, ignorado).type() == std::filesystem::file_type::regular) {
        std::filesystem::remove(*final, ignorado);
    }
}

namespace {

// The input could not be read whole: the reader's message, with the path and the reason when there is
// one to tell. One that could not be opened at all is refused before reading, as a wrong argument is.
void fallarLectura(FamiliaConversion& familia, const LectorLineas& lector, const std::filesystem::path& ruta,
                   ResultadoConversion::Clase clase = ResultadoConversion::Clase::Fallido) {
    std::string mensaje = mensajeEntrada(kNoSeAbreEntrada, ruta, lector.motivo());
    familia.entorno.avisos.critico(mensaje);
    familia.fallar(std::move(mensaje), clase);
}

// Opening and end of every text reader: the kind says what each line does and what the end of the file
// does. A read error, a line past the cap or a file that changed while it was read abandons the run
// without the end-of-file step and without a bank file.
template <typename PorLinea, typename AlFinal>
void recorrerTexto(FamiliaConversion& familia, const std::filesystem::path& rutaEntrada,
                   const std::filesystem::path& rutaSalida, PorLinea porLinea, AlFinal alFinal) {
    LectorLineas lector(rutaEntrada, LectorLineas::Texto::DetectarUtf8, familia.entorno.maximoLinea);
    // Refused before the run starts: nothing is written, not even the log.
    if (!lector.abierto() || lector.error()) {
        fallarLectura(familia, lector, rutaEntrada, ResultadoConversion::Clase::RechazadoAntesDeLeer);
        return;
    }
    EjecucionLectura ejecucion(familia, rutaSalida);
    if (!ejecucion.iniciar()) {
        return;
    }
    while (!ejecucion.detenida() && lector.leer(familia.lectura.gLineaActual)) {
        ejecucion.lineaSinControles(lector.limpia());
        porLinea(ejecucion);
    }
    if (ejecucion.detenida()) {
        ejecucion.abandonar();
        return;
    }
    if (lector.error()) {
        fallarLectura(familia, lector, rutaEntrada);
        ejecucion.abandonar();
        return;
    }
    alFinal(ejecucion);
    ejecucion.terminar();
}

// The errors of the latest order line. Each of its invoices is an order made with its pieces, so each is
// rejected with them, not only the first one that the flush hands to the log.
class ErroresLineaOrden {
public:
    // After the order line's field pass, when nothing else is held.
    void guardar(const FamiliaConversion& familia) {
        errores_.clear();
        if (familia.lectura.gRegistroConError) {
            errores_ = familia.estado.gErrores;
            linea_ = familia.estado.gNumeroLinea;
        }
    }
    // After the flush of one of its invoices, before the next invoice line's fields.
    void reponer(FamiliaConversion& familia) const {
        for (const std::string& texto : errores_) {
            familia.estado.anotarError(texto, linea_);
            familia.lectura.gRegistroConError = true;
        }
    }

private:
    std::vector<std::string> errores_;
    std::int64_t linea_ = 0;
};

} // namespace

void leerTextoLinea(FamiliaConversion& familia, const std::filesystem::path& rutaEntrada,
                    const std::filesystem::path& rutaSalida) {
    EstadoLectura& lectura = familia.lectura;
    recorrerTexto(
        familia, rutaEntrada, rutaSalida,
        [&lectura](EjecucionLectura& ejecucion) {
            ++lectura.gLineaEntrada;
            ejecucion.pasarCampos(false);
            ejecucion.volcarOrden();
        },
        [](EjecucionLectura&) {});
}

void leerTextoOrden(FamiliaConversion& familia, const std::filesystem::path& rutaEntrada,
                    const std::filesystem::path& rutaSalida) {
    EstadoLectura& lectura = familia.lectura;
    const CampoEstructura& inicioOrden = familia.estado.gCamposEstructura.at(lectura.gCampoClave);
    recorrerTexto(
        familia, rutaEntrada, rutaSalida,
        [&lectura, &inicioOrden](EjecucionLectura& ejecucion) {
            const bool abreOrden = ejecucion.claveCoincide(inicioOrden);
            // The flush comes before the line is counted: a check at the flush names the order's last line.
            if (abreOrden && lectura.gRegistroPendiente) {
                ejecucion.volcarOrden();
            }
            ++lectura.gLineaEntrada;
            ejecucion.pasarCampos(true);
            lectura.gRegistroPendiente = lectura.gRegistroPendiente || abreOrden;
        },
        [&lectura](EjecucionLectura& ejecucion) {
            // Lines before the first order-start line belong to the first order, so a file without any
            // order-start line is one order; an empty file is none.
            if (lectura.gLineaEntrada > 0) {
                ejecucion.volcarOrden();
            }
        });
}

void leerMultifactura(FamiliaConversion& familia, const ClaveFactura& clave,
                      const std::filesystem::path& rutaEntrada, const std::filesystem::path& rutaSalida) {
    EstadoLectura& lectura = familia.lectura;
    const std::string claveOrden = familia.estado.gCamposEstructura.at(lectura.gCampoClave).valorlinea;
    const std::int64_t largo = largoPieza(clave.inicio, clave.fin);
    ErroresLineaOrden erroresOrden;
    recorrerTexto(
        familia, rutaEntrada, rutaSalida,
        [&](EjecucionLectura& ejecucion) {
            const std::string_view pieza = cortar(lectura.gLineaActual, clave.inicio, largo);
            const bool esFactura = pieza == clave.valor;
            const bool esOrden = pieza == claveOrden;
            // Pending only while an invoice has been read: an order line alone adds nothing, and a
            // rejected invoice's pieces never go out again under the next order line.
            if ((esFactura || esOrden) && lectura.gRegistroPendiente) {
                ejecucion.volcarOrden();
                lectura.gRegistroPendiente = false;
                if (!esOrden) {
                    erroresOrden.reponer(familia);
                }
            }
            if (esOrden) {
                // An order line without invoices rejected alone, never with the next order's invoices.
                ejecucion.volcarErroresRetenidos();
            }
            lectura.gRegistroPendiente = lectura.gRegistroPendiente || esFactura;
            ++lectura.gLineaEntrada;
            ejecucion.pasarCampos(true);
            if (esOrden) {
                erroresOrden.guardar(familia);
            }
        },
        [&lectura](EjecucionLectura& ejecucion) {
            if (lectura.gRegistroPendiente) {
                ejecucion.volcarOrden();
            }
        });
}

void leerMultifacturaSecuencia(FamiliaConversion& familia, const ClaveFactura& clave,
                               const std::filesystem::path& rutaEntrada,
                               const std::filesystem::path& rutaSalida) {
    EstadoLectura& lectura = familia.lectura;
    auto& campos = familia.estado.gCamposEstructura;
    const CampoEstructura& inicioOrden = campos.at(lectura.gCampoClave);
    // A copy: the order-start field could be one of the counted ones.
    const std::string claveOrden = inicioOrden.valorlinea;
    const std::int64_t largo = largoPieza(clave.inicio, clave.fin);
    const std::size_t largoInicio = clave.valor.size();
    std::string cuenta = clave.valor;
    std::string siguiente = siguienteCuenta(cuenta, largoInicio);
    // An invoice line of the current count was read since the last flush: without one, a flush would
    // send the order line's debtor with the previous invoice's amount.
    bool facturaPorVolcar = false;
    const auto contar = [&](const std::string& valor) {
        cuenta = valor;
        siguiente = siguienteCuenta(cuenta, largoInicio);
        for (std::size_t i : clave.camposContados) {
            campos[i].valorlinea = cuenta;
        }
    };
    const bool primeraAbre = familia.primeraLineaDeOrdenAbreOrden();
    ErroresLineaOrden erroresOrden;
    recorrerTexto(
        familia, rutaEntrada, rutaSalida,
        [&](EjecucionLectura& ejecucion) {
            const std::string_view pieza = cortar(lectura.gLineaActual, clave.inicio, largo);
            const bool esOrden = pieza == claveOrden;
            if (esOrden) {
                contar(clave.valor);
            }
            if ((esOrden || esMismoNumero(pieza, siguiente)) && lectura.gRegistroPendiente) {
                if (facturaPorVolcar) {
                    ejecucion.volcarOrden();
                    facturaPorVolcar = false;
                    if (!esOrden) {
                        erroresOrden.reponer(familia);
                    }
                }
                // The count advances past a rejected invoice too, so the order's next ones are read.
                if (!esOrden) {
                    contar(std::string(siguiente));
                }
            }
            if (esOrden) {
                ejecucion.volcarErroresRetenidos();
            }
            const bool abriaOrden = lectura.gRegistroPendiente;
            lectura.gRegistroPendiente = lectura.gRegistroPendiente || pieza == clave.valor;
            facturaPorVolcar = facturaPorVolcar || (!esOrden && pieza == cuenta);
            ++lectura.gLineaEntrada;
            ejecucion.pasarCampos(true);
            if (esOrden) {
                erroresOrden.guardar(familia);
            }
            if (primeraAbre && !abriaOrden && ejecucion.claveCoincide(inicioOrden)) {
                lectura.gRegistroPendiente = true;
                facturaPorVolcar = true;
            }
        },
        [&facturaPorVolcar](EjecucionLectura& ejecucion) {
            if (facturaPorVolcar) {
                ejecucion.volcarOrden();
            }
        });
}

void leerTexto(FamiliaConversion& familia, ClaseLectorTexto clase, const std::filesystem::path& rutaEntrada,
               const std::filesystem::path& rutaSalida) {
    if (clase == ClaseLectorTexto::Linea) {
        leerTextoLinea(familia, rutaEntrada, rutaSalida);
    } else {
        leerTextoOrden(familia, rutaEntrada, rutaSalida);
    }
}

} // namespace trovanel
