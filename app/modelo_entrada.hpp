#pragma once

#include "conversores.hpp"
#include "partes.hpp"
#include "tipos_plantilla.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trovanel {

class Avisos;
class BaseDatos;
class RegistroConversores;
struct Entorno;
struct Configuracion;

// The kind of user a template asks for: "pagos" (the 15 norm 34 codes), "CSB19", "CSB58", or "ZOP" for
// anything else. CSB codes are compared without surrounding blanks, the PAGOSC ones exactly.
std::string tipoUsuarioDe(std::string_view tipoEstructura);

// Collections (norms 19 and 58) have presenters with issuers; payments have ordering parties.
bool esCobro(std::string_view tipoUsuario);

// Which family controls the dialog shows for a kind of user.
struct VisibilidadFamilia {
    bool ordenante = false;         // labOrdenante
    bool presentadorEmisor = false; // labPresentador, LabEmisor, cbEmisor, frameEmisor
    bool fechaProceso = false;
    bool cabeceraCSB34 = false; // DetalleCargo, address and town of the ordering party
    std::string tituloPresentador;
};
VisibilidadFamilia visibilidadDe(std::string_view tipoUsuario);

// The three-line information message when a user has no parties of the kind.
std::string mensajeSinPresentadores(std::string_view tipoUsuario);

// An account shown as entity-office-check digits-number (4-4-2-10); a short value is cut at the same
// positions, so trailing groups come out short or empty.
std::string cuentaConGuiones(std::string_view cuenta);

// The input file dialog's filter for the template's input kind ("Ex" Excel, "Ac" Access, else text).
std::string filtroEntrada(std::string_view tipoEstructura);
inline constexpr const char* kTituloAbrirEntrada = "Abrir fichero a filtrar";

TipoEntrada entradaDe(std::string_view tipoEstructura);

// The process date in the three boxes is a real calendar date. A two-digit year becomes "20" and the
// two digits (the box shows it); a year of 0, 1 or 3 digits is refused.
namespace dialogo_entrada {
bool FechaCorrecta(const std::string& dia, const std::string& mes, std::string& anio);
} // namespace dialogo_entrada

// gFechaProceso as DDMMAA from the three boxes.
std::string fechaProcesoDDMMAA(std::string_view dia, std::string_view mes, std::string_view anio);

inline constexpr const char* kEntradaBaseDatosPrograma =
    "No se puede usar como entrada la base de datos del programa";

// What the dialog holds when "Generar CSB" is pressed.
struct SeleccionEntrada {
    std::string textoPlantilla;
    std::string textoPresentador;
    std::string textoEmisor;
    std::optional<std::int64_t> idPresentador;
    std::optional<std::int64_t> idEmisor;
    std::string dia;
    std::string mes;
    std::string anio; // FechaCorrecta may rewrite it; the dialog shows the result
    // -1 no option chosen, 0 "Total", 1 "Parcial".
    int detalleCargo = -1;
    std::string domicilioOrdenante;
    std::string plazaOrdenante;
};

// The dialog's own state: the chosen template and the input and output paths.
class ModeloEntrada {
public:
    explicit ModeloEntrada(const Configuracion& configuracion) : configuracion_(configuracion) {}

    // A template chosen: sets gTipoEstructura, the template id and the kind of user.
    void elegirPlantilla(std::int64_t idEstructura, const std::string& tipo);
    std::int64_t idEstructura() const { return idEstructura_; }
    const std::string& tipoEstructura() const { return gTipoEstructura_; }
    const std::string& tipoUsuario() const { return tipoUsuario_; }
    // The process date of the last run asked for, DDMMAA, once the date was found correct.
    const std::string& fechaProceso() const { return fechaProceso_; }
    // The sheet or table the next run reads; each stays chosen until another is.
    void elegirHojaExcel(std::string hoja) { hojaExcel_ = std::move(hoja); }
    void elegirTablaAccess(std::string tabla) { tablaAccess_ = std::move(tabla); }
    const std::string& hojaExcel() const { return hojaExcel_; }
    const std::string& tablaAccess() const { return tablaAccess_; }

    // An input file chosen: derives the output and the log (gFicheroLog) beside it. The program's own
    // database, under whatever name or link, is never an input: it is refused with its message, false,
    // and the earlier choice stays as it was.
    bool elegirEntrada(const std::filesystem::path& entrada, const std::filesystem::path& carpetaPrograma,
                       Avisos& avisos);
    const std::filesystem::path& ficheroEntrada() const { return ficheroEntrada_; }
    const std::filesystem::path& ficheroSalida() const { return ficheroSalida_; }
    const std::filesystem::path& ficheroLog() const { return gFicheroLog_; }

    // The run of "Generar CSB" up to the character replacement. A refusal shows its message and gives
    // nothing (nothing run, no result window), a family this build cannot convert included; otherwise the
    // conversion's outcome ("Plantilla incorrecta" is a failed one), and the result window follows. Each run
    // has a run state of its own: nothing typed or loaded for an earlier one reaches it.
    std::optional<ResultadoConversion> procesar(SeleccionEntrada& seleccion, Entorno& entorno,
                                                const RegistroConversores& registro);

private:
    // Whether every choice the run needs is made; false after saying which is missing.
    bool seleccionCompleta(const SeleccionEntrada& seleccion, std::optional<Familia> familia,
                           Avisos& avisos) const;
    // What the conversion of the family is asked to do with the chosen files and parties.
    ParametrosConversion parametrosDe(const SeleccionEntrada& seleccion, Familia familia) const;

    const Configuracion& configuracion_;
    std::int64_t idEstructura_ = 0;
    // Type code of the chosen template with its "Ex"/"Ac" suffix.
    std::string gTipoEstructura_;
    std::string tipoUsuario_;
    std::string fechaProceso_;
    std::string hojaExcel_;
    std::string tablaAccess_;
    std::filesystem::path ficheroEntrada_;
    std::filesystem::path ficheroSalida_;
    std::filesystem::path gFicheroLog_;
};

} // namespace trovanel
