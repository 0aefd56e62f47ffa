#pragma once

#include "conversores.hpp"
#include "estado_ejecucion.hpp"
#include "texto.hpp"

#include <cassert>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class EscritorLog;
class FicheroSalida;

// What the readers keep while they read one input: the current line and its number, the field being
// validated, and the state of the order being built.
struct EstadoLectura {
    std::string gLineaActual;
    // False for spreadsheet and database rows, which have no raw line to read again.
    bool hayLineaBruta = true;
    std::int64_t gLineaEntrada = 0;
    std::size_t gIndiceCampo = 0;
    bool gRegistroConError = false;
    bool gRegistroPendiente = false;
    bool gHayRegistros = false;
    std::size_t gCampoClave = 0;
};

// One bank-file family as the reader engine sees it. A family object lives for one run only, so nothing
// of an earlier run (amounts, concepts, accounts, parties) can reach the next one; its pieces carry over
// between the orders of that run.
class FamiliaConversion {
public:
    FamiliaConversion(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion)
        : estado(estadoEjecucion), entorno(entornoEjecucion) {}
    virtual ~FamiliaConversion() = default;
    FamiliaConversion(const FamiliaConversion&) = delete;
    FamiliaConversion& operator=(const FamiliaConversion&) = delete;

    // Loads what the records need of the parties; false (message shown) when it cannot.
    virtual bool cargarPartes(const ParametrosConversion& parametros) = 0;
    // Run start: the family's header flags, counters and whatever the fields need once per run, which
    // it resolves for every field of the template there and nowhere else.
    virtual void iniciarEjecucion() = 0;
    // Checks one value read for the field gCamposEstructura[lectura.gIndiceCampo] and stores its piece:
    // a piece of a line as the reader cut it, or a value without control characters. The value is
    // validated where it lies and left as it is.
    virtual void validarPieza(std::string_view valor) = 0;
    // First step of a flush, before the error test: checks that may add to an order's errors.
    virtual void revisarOrden() {}
    // An order without validation errors: false when a check of the whole order rejects it (the error
    // is then recorded).
    virtual bool aceptarOrden() { return true; }
    // Writes the pending headers and the order's records; false when they could not be written.
    virtual bool escribirRegistros(FicheroSalida& salida) = 0;
    virtual bool escribirTotales(FicheroSalida& salida) = 0;
    // The log block of a rejected order (the family's identification lines), then the per-order reset.
    virtual void escribirLog(EscritorLog& log) = 0;
    // Message when the error log cannot be written.
    virtual const char* mensajeFalloLog() const = 0;
    // Counted multi-invoice text: whether the first order line of the run opens an order by itself, so
    // that an order without invoice lines before the run's first invoice is flushed alone.
    virtual bool primeraLineaDeOrdenAbreOrden() const { return false; }
    // Whether the text of a sheet's cell loses its surrounding blanks before validation (payments);
    // collections validate it as it is.
    virtual bool recortaCeldas() const { return false; }

    // Hands one value read for the current field to validarPieza. A control character would split or
    // corrupt a bank record: the order is rejected naming the field, and the validator (so the piece and
    // the log too) sees "?" in its place. No allocation; a value without one is only scanned.
    void validarValor(std::string& valor) {
        if (hayCaracterControl(valor)) {
            for (char& c : valor) {
                if (esCaracterControl(c)) {
                    c = '?';
                }
            }
            anotarError("Error : Caracter no valido en " +
                        estado.gCamposEstructura[lectura.gIndiceCampo].campo);
        }
        validarPieza(valor);
    }

    // Records an error of the current order, as every validator and reader does.
    void anotarError(std::string texto) {
        estado.anotarError(std::move(texto), lectura.gLineaEntrada);
        lectura.gRegistroConError = true;
    }

    // The run stopped, its message shown: the outcome says so. A later stop replaces an earlier one.
    void fallar(std::string mensaje, ResultadoConversion::Clase clase = ResultadoConversion::Clase::Fallido) {
        resultado.clase = clase;
        resultado.mensaje = std::move(mensaje);
    }

    // The outcome of a run that was not stopped, once its reader is done: written, written with
    // rejected orders, or nothing to write.
    const ResultadoConversion& concluir() {
        if (resultado.clase == ResultadoConversion::Clase::Escrito) {
            // The end of the run hands every error still held to the log, so each one is a rejected order.
            assert(estado.gErrores.empty());
            if (resultado.ordenesRechazadas > 0) {
                resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
            } else if (resultado.ordenesEscritas == 0) {
                resultado.clase = ResultadoConversion::Clase::NadaQueEscribir;
            }
        }
        return resultado;
    }

    EstadoEjecucion& estado;
    Entorno& entorno;
    EstadoLectura lectura;
    // What the run has come to so far; the driver gives it back when the run ends.
    ResultadoConversion resultado;
    // What the bank file's text goes through as it is written (the request's), none by default.
    std::function<void(std::string&)> transformarSalida;

protected:
    // The place of the field being validated among those the run resolved when it started, which are
    // every field of its template: resueltosGuardados is how many the family keeps. A field the run did
    // not resolve is a fault of the caller, which the debug build stops at.
    std::size_t campoResuelto(std::size_t resueltosGuardados) const {
        assert(resueltosGuardados == estado.gCamposEstructura.size() &&
               lectura.gIndiceCampo < resueltosGuardados);
        (void)resueltosGuardados;
        return lectura.gIndiceCampo;
    }
};

} // namespace trovanel
