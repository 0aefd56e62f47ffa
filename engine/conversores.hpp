#pragma once

#include "limites.hpp"
#include "tipos_plantilla.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace trovanel {

class Avisos;
class BaseDatos;
class Reloj;
class SolicitudDatosObligatorios;
struct Configuracion;
struct EstadoEjecucion;
struct LibroEntrada;

// What a conversion is asked to do: the arguments the dialog or batch mode hands to a family's driver.
struct ParametrosConversion {
    std::filesystem::path rutaEntrada;
    std::filesystem::path rutaSalida;
    std::int64_t idEstructura = 0;
    std::int64_t idPresentador = 0;
    // Issuer of a collection presenter (norms 19 and 58).
    std::int64_t idEmisor = 0;
    // Type code of the chosen template, with its "Ex"/"Ac" suffix when the dialog chose a sheet or table
    // template: norm 34 and ZOP build their records from it, the missing-data answer reads its dates by it.
    std::string gTipoEstructura;
    // Norm 34 only: charge detail "0" (total) or "1" (partial), ordering party's address and town.
    std::string detalleCargo;
    std::string domicilioOrdenante;
    std::string plazaOrdenante;
    // DDMMAA from the dialog, "DD/MM/AAAA" from batch mode; none for norm 58, whose files carry no date.
    std::string gFechaProceso;
    // The sheet of a workbook input and the table of a database input, as the dialog chose them.
    std::string gHojaExcel;
    std::string gTablaAccess;
    // The error log the run appends to: beside the input, as the dialog and batch mode derive it.
    std::filesystem::path gFicheroLog;
    // The dialog's character replacement (caracteres.ini), applied to the bank file as it is written;
    // none in batch mode.
    std::function<void(std::string&)> sustituirCaracteres;
};

// What every driver works with besides the run state.
struct Entorno {
    BaseDatos& baseDatos;
    Avisos& avisos;
    const Reloj& reloj;
    std::filesystem::path carpetaPrograma;
    // Asks for the mandatory data a template does not place; none in batch mode, where such a run is
    // cancelled.
    SolicitudDatosObligatorios* solicitudDatos = nullptr;
    // The longest line a text input may hold; the fuzzing harness shortens it to reach the refusal.
    std::size_t maximoLinea = kMaxLinea;
    // The workbook the dialog opened for the run; none in batch mode, which reads the input file.
    LibroEntrada* libroEntrada = nullptr;
    // The process's configuration, whose database files no run may write; none in tests that need none.
    const Configuracion* configuracion = nullptr;
};

// How a conversion ended, given back to its caller: batch mode's exit status and last line, the dialog and
// the result window read it. The run state keeps what the run shares while it lasts, never this.
struct ResultadoConversion {
    enum class Clase {
        // Every order read went to the bank file.
        Escrito,
        // The run reached its end and the log took at least one order.
        EscritoConRechazos,
        // The run reached its end with no order to write or to log: no bank file.
        NadaQueEscribir,
        // Refused before reading (a path that clashes, a party that names nobody): nothing was touched.
        RechazadoAntesDeLeer,
        // The missing mandatory data were not given: nothing was read or written.
        Cancelado,
        // Stopped on an error (template, input, bank file): no bank file of that name remains.
        Fallido,
        // Stopped because the error log could not be written: no bank file either.
        LogNoEscrito,
    };
    Clase clase = Clase::Escrito;
    // The message the run ended with, already shown; empty when it reached its end.
    std::string mensaje;
    // The error log of the run.
    std::filesystem::path log;
    std::int64_t ordenesEscritas = 0;
    std::int64_t ordenesRechazadas = 0;

    // The run rejected an order or did not reach its end: what the result window calls "incorrectamente".
    bool conErrores() const { return clase != Clase::Escrito && clase != Clase::NadaQueEscribir; }
};

using Conversor = std::function<ResultadoConversion(EstadoEjecucion&, Entorno&, const ParametrosConversion&)>;

// The drivers of the families that this build can convert; a family registers its driver when it exists.
class RegistroConversores {
public:
    void registrar(Familia familia, Conversor conversor) { conversores_[familia] = std::move(conversor); }
    const Conversor* buscar(Familia familia) const {
        const auto it = conversores_.find(familia);
        return it == conversores_.end() ? nullptr : &it->second;
    }

private:
    std::map<Familia, Conversor> conversores_;
};

// The refusal of a template whose family this build cannot convert yet, by the family's base code
// ("CSB58", "CSB34T"); batch mode and the dialog say the same.
std::string mensajeSinConversor(std::string_view codigoBase);

// Runs a driver: an error it raises is shown and the run is given back as failed, as any failure is.
ResultadoConversion ejecutarConversor(const Conversor& conversor, EstadoEjecucion& estado, Entorno& entorno,
                                      const ParametrosConversion& parametros);

struct RutasConversion {
    std::filesystem::path salida;
    std::filesystem::path log;
};

// Output (".out") and log (".log") paths beside an input: the file name is cut at its first "." when its
// last four characters hold one, else the whole name gets the extension; a folder's name is never cut.
// A derived path equal to the input gets "1" appended.
RutasConversion derivarRutasConversion(const std::filesystem::path& entrada);

} // namespace trovanel
