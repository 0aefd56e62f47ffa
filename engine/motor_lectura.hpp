#pragma once

#include "fichero_salida.hpp"
#include "log_errores.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

class FamiliaConversion;
struct CampoEstructura;
struct ClaveFactura;

// The frame every reader shares, whatever its input: the bank file and the log of one run, the field
// pass, the flush of an order and the end of the run. The bank file goes to a temporary file that takes
// its name only when the run ends well; a run that wrote no order leaves no bank file.
class EjecucionLectura {
public:
    EjecucionLectura(FamiliaConversion& familia, const std::filesystem::path& rutaSalida);
    EjecucionLectura(const EjecucionLectura&) = delete;
    EjecucionLectura& operator=(const EjecucionLectura&) = delete;

    // Creates the bank file and resets the run; false (message shown, the run failed) when it cannot.
    bool iniciar();

    // Line-key test of a field on the current line: holds when the key piece equals valorlinea, or when
    // the field has no key piece.
    bool claveCoincide(const CampoEstructura& campo) const;

    // Validates every field on the current line (lectura.gLineaActual); with soloConClave, only the
    // fields whose line key the line carries.
    void pasarCampos(bool soloConClave);
    // The reader found the current line free of control characters: its fields are not scanned again.
    void lineaSinControles(bool sinControles) { lineaSinControles_ = sinControles; }

    // Hands the current order to the log (rejected) or to the record writer.
    void volcarOrden();
    // Errors found on lines that no order has taken yet (an order line without invoice lines) go to the
    // log as a rejected order of their own: a run never counts an error that no log block tells.
    void volcarErroresRetenidos();

    // The log could not be written: the run must stop reading and end through abandonar(), since a bank
    // file without orders that are in no log could not be trusted.
    bool detenida() const { return detenida_; }

    // Writes the totals and puts the bank file in place, or removes it when no order was written or the
    // log could not be written.
    void terminar();
    // Ends a run that failed half-way: no bank file of that name remains, neither this run's part nor
    // an earlier run's whole file.
    void abandonar();

private:
    // Shows and records the message, then the bank file's path and why it failed.
    void fallarSalida(const char* mensaje);
    bool logEscrito();

    FamiliaConversion& familia_;
    std::filesystem::path rutaSalida_;
    std::optional<FicheroSalida> salida_;
    EscritorLog log_;
    bool escrituraFallida_ = false;
    bool detenida_ = false;
    bool lineaSinControles_ = false;
    // A field a line hands to the validators: its index, where its piece of the line starts (0-based)
    // and its length (-1: the template's value), and where it ends when the line holds all of a piece
    // that is not empty (otherwise past any line).
    struct CampoPasado {
        std::size_t indice;
        std::size_t desde;
        std::int64_t largo;
        std::size_t hasta;
    };
    std::vector<CampoPasado> camposPasados_;
    // The shortest line that holds every piece whole, when every field is a piece that is not empty
    // (otherwise past any line): such a line's pieces are cut without a test of their own.
    std::size_t hastaTodos_ = 0;
    // The value of the field being validated, kept from one line to the next.
    std::string valor_;
};

// The readers, one per input kind, all over the frame above: each opens its input, hands every order
// to the frame and ends the run through it. The input is never modified. Each marks the run as failed
// (familia.resultado, with the message shown) when the input cannot be read or the bank file cannot be
// written.

// Fixed-position text where one line is one order.
void leerTextoLinea(FamiliaConversion& familia, const std::filesystem::path& rutaEntrada,
                    const std::filesystem::path& rutaSalida);
// Fixed-position text where an order spans several lines; the order-start field's line key
// (lectura.gCampoClave) opens the next one.
void leerTextoOrden(FamiliaConversion& familia, const std::filesystem::path& rutaEntrada,
                    const std::filesystem::path& rutaSalida);

// Fixed-position text where an order line (the order-start key at the invoice key's positions) is
// followed by invoice lines, each flushed as an order of its own with the order line's pieces. Every
// invoice line carries the key's one value.
void leerMultifactura(FamiliaConversion& familia, const ClaveFactura& clave,
                      const std::filesystem::path& rutaEntrada, const std::filesystem::path& rutaSalida);
// The same where the invoice lines of an order carry a count from the key's value (01, 02, 03...) and
// the counted fields apply only to the invoice line of the current count.
void leerMultifacturaSecuencia(FamiliaConversion& familia, const ClaveFactura& clave,
                               const std::filesystem::path& rutaEntrada,
                               const std::filesystem::path& rutaSalida);

// A failed run leaves no bank file of that name: an earlier run's whole file would pass for this one's.
// Where the name is a link, the file it leads to goes and the link stays. Only a file goes: a FIFO or
// a device put there meanwhile is nobody's bank file.
void quitarSalidaAnterior(const std::filesystem::path& rutaSalida);

enum class ClaseLectorTexto {
    Linea,
    Orden,
};

// The text reader of that kind.
void leerTexto(FamiliaConversion& familia, ClaseLectorTexto clase, const std::filesystem::path& rutaEntrada,
               const std::filesystem::path& rutaSalida);

} // namespace trovanel
