#pragma once

#include "lista_plantillas.hpp"
#include "plantilla.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class Avisos;
class BaseDatos;

// Replaces the multi-invoice rows of template id and marks it multi-invoice, in one transaction.
// Throws ErrorBaseDatos ("La plantilla no existe" when it was deleted meanwhile); nothing is written then.
void guardarMultifacturas(BaseDatos& baseDatos, std::int64_t id,
                          const std::vector<MultifacturaPlantilla>& filas);
// Deletes the multi-invoice rows of template id and clears its mark, in one transaction; same errors.
void borrarMultifacturas(BaseDatos& baseDatos, std::int64_t id);

// The six field boxes of the editor, in the order their pieces are joined.
enum class Casilla { Importe, FechaVto, NumeroFra, Referencia, Ref12, Ref16 };
inline constexpr std::size_t kCasillas = 6;
using Casillas = std::array<bool, kCasillas>;

// The entry that marks a progression of identifiers; it has no row behind it and is never stored.
inline constexpr std::string_view kMarcaProgresion = "...";

// One entry of the identifier list: the fields an invoice line carries ("@"-joined) and its identifier.
struct LineaMultifactura {
    std::string campos;
    std::string valor;
    bool esMarca() const { return valor == kMarcaProgresion; }
};

// campos built from the boxes for a template of that type code.
std::string camposDeCasillas(const Casillas& casillas, std::string_view tipo);
// The boxes that a row's campos shows checked.
Casillas casillasDeCampos(std::string_view campos);

// The multi-invoice definitions editor, free of windows. It keeps its own template list, so the id and
// type of each entry are always those of the template the entry shows, whatever other windows list.
// The row controls, save and delete act only once a template is chosen. The templates the program ships
// can never be multi-invoice: choosing one says so at once, and its rows can be deleted but not edited.
class EditorMultifacturas {
public:
    EditorMultifacturas(BaseDatos& baseDatos, Avisos& avisos);

    // Opening: the user templates listed, none chosen.
    void Form_Load();
    const std::vector<EntradaPlantilla>& plantillas() const { return plantillas_; }
    std::optional<std::size_t> plantillaElegida() const { return elegida_; }
    bool hayPlantilla() const { return elegida_.has_value(); }
    // A template is chosen and it is the user's own: its rows can be edited and saved.
    bool admiteMultifactura() const;
    // Loads the stored rows of that entry's template; on failure says so and nothing stays chosen.
    void cbEstructura_Click(std::size_t posicion);
    // The template's type code is exactly "ZOP": the reference box stands in for Ref12 and Ref16.
    bool conReferencia() const;

    const std::vector<LineaMultifactura>& lineas() const { return lineas_; }
    std::optional<std::size_t> seleccion() const { return seleccion_; }
    // The row the six boxes stand for (mFilaActual).
    std::optional<std::size_t> filaActual() const { return filaActual_; }
    bool progresion() const { return progresion_; }

    void lbCampos_Click(std::size_t posicion);
    void cmdAgregar_Click();
    void cmdQuitar_Click();
    void Command1_Click(); // up
    void Command2_Click(); // down
    void checkProgresion_Click(bool marcada);
    void cmdAceptar_Click();
    void cmdBorrar_Click();

    // What the window's boxes hold; read into the model before each handler.
    Casillas casillas{};
    std::string valor; // tbValor

private:
    bool cargar(std::size_t posicion);
    void GuardarCamposFila(std::optional<std::size_t> fila);
    void mostrarFila(std::optional<std::size_t> posicion);
    void agregar();
    void quitar(std::size_t posicion);
    void mover(std::size_t desde, std::size_t hacia);
    std::int64_t idElegida() const { return plantillas_.at(*elegida_).id; }
    const std::string& tipoElegida() const { return plantillas_.at(*elegida_).tipo; }

    BaseDatos& baseDatos_;
    Avisos& avisos_;
    std::vector<EntradaPlantilla> plantillas_;
    std::optional<std::size_t> elegida_;
    std::vector<LineaMultifactura> lineas_;
    std::optional<std::size_t> seleccion_;
    std::optional<std::size_t> filaActual_;
    bool progresion_ = false;
};

} // namespace trovanel
