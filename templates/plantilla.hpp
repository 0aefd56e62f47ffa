#pragma once

#include "error.hpp"
#include "estado_ejecucion.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class BaseDatos;

// One row of multifactura: an invoice-line key of a multi-invoice template.
struct MultifacturaPlantilla {
    std::int64_t orden = 0;
    std::string campos;
    std::string valor;
    std::int64_t inicio = 0;
    double fin = 0;
};

// A template as the tables hold it: its estructura row, its fields by id_campo and its multi-invoice rows.
// Element i of campos is the field whose id_campo is i; an id_campo without a row leaves an empty element
// that conFila tells apart, so positions and principiolinea keep meaning the same field.
struct Plantilla {
    std::int64_t id = 0;
    std::string tipo; // as stored
    std::string descripcion;
    std::int64_t principiolinea = -1;
    bool multifactura = false;
    std::vector<CampoEstructura> campos;
    std::vector<bool> conFila;
    std::vector<MultifacturaPlantilla> multifacturas;

    bool tieneCampo(std::size_t idCampo) const { return idCampo < conFila.size() && conFila[idCampo]; }
    // Puts a field at its id_campo, growing the list with empty elements as needed.
    void ponerCampo(std::size_t idCampo, CampoEstructura campo);
};

// Reads a template whole. NULLs read as -1 (principiolinea), "", 0 or false; rows with a negative (or
// beyond 16-bit) id_campo are skipped. Throws ErrorBaseDatos, "La plantilla no existe" when there is no
// such row.
Plantilla leerPlantilla(BaseDatos& baseDatos, std::int64_t id);

// The fields as a conversion uses them: by id_campo, texts without surrounding blanks.
std::vector<CampoEstructura> camposParaConversion(const Plantilla& plantilla);

// A template whose positions or default values no editor would write: refused where a template is
// loaded, imported or saved. The text is the whole message: "Por favor revise la plantilla." and what
// is wrong.
class ErrorPlantillaIncorrecta : public ErrorTrovanel {
public:
    explicit ErrorPlantillaIncorrecta(const std::string& motivo);
};

// Whether the template's fields are cut from text lines by position (any type but the "Ex" and "Ac"
// ones), rather than read by column.
bool leePorPosiciones(std::string_view tipo);

// What is wrong with the positions of field idCampo, or nothing: inicio, fin, inilinea or finlinea
// below 0 or above kMayorPosicion; a control character in valorcampo; and, only when the template reads by
// position, fin before inicio - 1 on a placed field (0 and 0 is the editors' way of leaving one unplaced, and
// the line key likewise) or a mandatory placed field that can neither be cut nor take its valorcampo. A sheet
// or table template keeps the inicio of its source template beside its fin of 1, so its order means nothing.
std::optional<std::string> posicionIncorrecta(const CampoEstructura& campo, std::size_t idCampo,
                                              bool porPosiciones);

// Throws ErrorPlantillaIncorrecta naming the first field at fault.
void comprobarPosiciones(const Plantilla& plantilla);

// Stores a new template (its row, every field with a row, its multi-invoice rows) in one transaction and
// returns the id the database gave it. Throws ErrorBaseDatos; nothing is written then.
std::int64_t guardarPlantillaNueva(BaseDatos& baseDatos, const Plantilla& plantilla);

// Writes principiolinea and the placement of every field over the stored template plantilla.id, in one
// transaction: inicio, fin, inilinea, finlinea, valorlinea, valorcampo and longitud of each row (never
// campo, obligatorio, tipo or descripcion). Throws ErrorBaseDatos ("La plantilla no existe" when it was
// deleted); nothing is written then.
void modificarPlantilla(BaseDatos& baseDatos, const Plantilla& plantilla);

// Throws ErrorBaseDatos "La plantilla no existe" when template id has no estructura row: writers check it
// inside their transaction, so a template deleted meanwhile by another window is refused.
void comprobarQueExiste(BaseDatos& baseDatos, std::int64_t id);

// Deletes the estructura row only: the field and multi-invoice rows stay, and since ids are never given
// again they can never belong to another template. Throws ErrorBaseDatos ("La plantilla no existe").
void borrarPlantilla(BaseDatos& baseDatos, std::int64_t id);

} // namespace trovanel
