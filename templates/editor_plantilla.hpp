#pragma once

#include "lista_plantillas.hpp"
#include "plantilla.hpp"
#include "tipos_plantilla.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class Avisos;
class BaseDatos;
class LibroExcel;
class OrigenAccess;

// What sets the three template editors apart; every rule they share is written once, in EditorPlantilla.
struct RasgosEditor {
    TipoEntrada entrada;
    std::string_view nombre; // the window's name
    std::string_view titulo;
    // Appended to the base code of the template in hand: "", "Ex" or "Ac".
    std::string_view sufijo;
    // Fields are placed by character positions and a line key; otherwise by a column.
    bool posiciones;
    // A loaded field counts as placed with fin other than 0 too (placing by column writes fin = 1).
    bool colocadoConFin;
    // Placing checks the width against the field's length (and the postal code's 5).
    bool compruebaAncho;
    // Modifying warns about a "CPBeneficiario" placed shorter than 5.
    bool cpAlModificar;
    // Every placed field comes from one table.
    bool unaTabla;
    // The "Principio de Orden" box exists.
    bool principioOrden;
    // The amount and sign values are shown without surrounding blanks.
    bool recortaValores;
    std::string_view faltanAlModificar;
    // The file dialog of the input source ("" for none).
    std::string_view tituloOrigen;
    std::string_view filtroOrigen;
};
const RasgosEditor& rasgosEditor(TipoEntrada entrada);

inline constexpr std::array<std::string_view, 8> kFormatosFecha = {
    "DDMMAA", "AAMMDD", "DDMMAAAA", "AAAAMMDD", "DD/MM/AA", "AA/MM/DD", "DD/MM/AAAA", "AAAA/MM/DD"};

// The most characters each edit box holds.
inline constexpr int kLargoPosicion = 3; // tbIniCampo, tbFinCampo, tbIniLinea, tbFinLinea, tbLongitud
inline constexpr int kLargoValLinea = 6;
inline constexpr int kLargoNegativo = 6; // tbValNegativo, tbNegativo
inline constexpr int kLargoIdPago = 3;
inline constexpr int kLargoColumna = 2; // tbCol; tbCampo has no limit

// The preview of a sheet: rows 1 to 19 and columns A to S; only rows 1 to 18 get values.
inline constexpr int kFilasVista = 19;
inline constexpr int kColumnasVista = 19;

// What the editor's boxes hold. They keep their text while hidden, and the rules depend on it.
struct CajasEditor {
    std::string nombre; // tbNombreEstruc
    std::string id;     // tbIdEmi
    std::string iniCampo, finCampo, longitud, iniLinea, finLinea, valLinea;
    bool principioOrden = false; // cIdenPrinLinea
    std::string columna;         // tbCol (Excel) or tbCampo (Access)
    std::string valNegativo, negativo;
    std::string idCheque, idTransf, idPagoCertif;
    int fecha = 0;                    // entry of cbFecha
    std::filesystem::path rutaOrigen; // tbLibro or tbBD
};

struct VisibilidadEditor {
    bool valNegativo = false;
    bool negativo = false;
    bool labValorNegativo = false;
    bool labSigno = false;
    bool fecha = false;      // labFecha, cbFecha
    bool formasPago = false; // the three identifiers and their labels
};

enum class ColorAncho { Azul, Rojo };

// The editor of one kind of input, free of windows: the template list, the template in hand with its
// fields, the two lists of fields, the boxes, the field being edited and the input source. It holds its
// own template and source: the conversion's run state is never touched.
class EditorPlantilla {
public:
    EditorPlantilla(TipoEntrada entrada, BaseDatos& baseDatos, Avisos& avisos);
    ~EditorPlantilla();
    EditorPlantilla(const EditorPlantilla&) = delete;
    EditorPlantilla& operator=(const EditorPlantilla&) = delete;

    const RasgosEditor& rasgos() const { return rasgos_; }

    // Opening: the date format to its first entry, the list filled and its first template loaded.
    void abrir();
    // Fills the template list anew; on failure says so and keeps the list.
    bool llenarLista();
    const std::vector<EntradaPlantilla>& plantillas() const { return lista_; }
    // Grows each time the list is filled.
    std::uint64_t versionLista() const { return versionLista_; }
    // Loads the template of that list entry; on failure says so and keeps the template in hand.
    bool cbEstructuras_Click(std::size_t posicion);
    bool hayPlantilla() const { return hayPlantilla_; }
    const Plantilla& plantilla() const { return plantilla_; }
    // The entry of the template in hand in the list.
    std::optional<std::size_t> posicionCargada() const;
    const std::string& tipoEstructura() const { return tipoEstructura_; }
    std::int64_t principioLinea() const { return principioLinea_; }
    bool borrarDisponible() const;

    // The two lists hold id_campo values, in their order on screen.
    const std::vector<std::size_t>& sinColocar() const { return sinColocar_; }
    const std::vector<std::size_t>& colocados() const { return colocados_; }
    std::optional<std::size_t> seleccionSinColocar() const { return seleccionSinColocar_; }
    std::optional<std::size_t> seleccionColocado() const { return seleccionColocado_; }
    // "3-Importe (obligatorio)", or 14 blanks after the name of a field that is not mandatory.
    std::string textoEntrada(std::size_t idCampo) const;
    // The field whose values the boxes hold for editing, by id_campo.
    std::optional<std::size_t> campoEditado() const { return campoEditado_; }

    void lbCampos_Click(std::size_t posicion);
    // A placed entry chosen, by mouse or keyboard: the field being edited is committed first.
    void lbCamposAgregados_Click(std::size_t posicion);
    void enfocarLista(bool agregados) { focoAgregados_ = agregados; }
    void cmdAgregar_Click();
    void Command3_Click();
    void cmdTodos_Click();
    // Key released in tbFinCampo (enFin) or tbIniCampo: the live width.
    void tbPosicion_KeyUp(bool enFin);
    void cmdAceptar_Click();
    void cmdBorrar_Click();

    CajasEditor cajas;
    const VisibilidadEditor& visibilidad() const { return visibilidad_; }
    ColorAncho colorAncho() const { return colorAncho_; }

    // Excel: the workbook, its sheets and the preview of the chosen one.
    bool abrirLibro(const std::filesystem::path& ruta);
    const std::vector<std::string>& hojas() const { return hojas_; }
    std::optional<std::size_t> hojaElegida() const { return hojaElegida_; }
    void cbHojas_Click(std::size_t posicion);
    // vista()[f][c] is the cell of row f + 1 and column c + 1.
    const std::vector<std::vector<std::string>>& vista() const { return vista_; }
    // fila from 1, columna from 1 (A); 0 is the column of row numbers.
    void GridExcel_SeleccionCelda(int fila, int columna);

    // Access: the database, its tables and the columns of the chosen one.
    bool AbrirBaseDatos(const std::filesystem::path& ruta);
    const std::vector<std::string>& tablas() const { return tablas_; }
    std::optional<std::size_t> tablaElegida() const { return tablaElegida_; }
    void cbTablas_Click(std::size_t posicion);
    const std::vector<std::string>& columnasTabla() const { return columnas_; }
    std::optional<std::size_t> columnaElegida() const { return columnaElegida_; }
    void cbCampos_Click(std::size_t posicion);
    // The table of the placed fields (mTabla).
    const std::string& tabla() const { return tabla_; }

    bool origenAbierto() const;
    // Releases the workbook or database; every way of closing the window calls it.
    void cerrarOrigen();

private:
    enum class Lista { SinColocar, Colocados };
    enum class Compromiso { Escrito, Nada, Rechazado };

    void MostrarCampo(Lista lista);
    Compromiso ActualizarCampo(bool avisarSinPosicion);
    void GuardarPlantilla(const std::string& nombre);
    bool colocado(const CampoEstructura& campo) const;
    bool conPosicion() const;
    bool tipoSinSigno() const;
    void marcarNegativos();
    std::string formaPago() const;
    void quitarColocado(std::size_t posicion);
    std::string faltanObligatorios() const;
    void vaciarCajasPosicion();

    const RasgosEditor& rasgos_;
    BaseDatos& baseDatos_;
    Avisos& avisos_;

    std::vector<EntradaPlantilla> lista_;
    std::uint64_t versionLista_ = 0;
    bool hayPlantilla_ = false;
    Plantilla plantilla_;
    std::string tipoEstructura_;
    std::int64_t principioLinea_ = -1;

    std::vector<std::size_t> sinColocar_;
    std::vector<std::size_t> colocados_;
    std::optional<std::size_t> seleccionSinColocar_;
    std::optional<std::size_t> seleccionColocado_;
    std::optional<std::size_t> campoEditado_;
    bool focoAgregados_ = false;
    VisibilidadEditor visibilidad_;
    ColorAncho colorAncho_ = ColorAncho::Azul;

    std::unique_ptr<LibroExcel> libro_;
    std::vector<std::string> hojas_;
    std::optional<std::size_t> hojaElegida_;
    std::vector<std::vector<std::string>> vista_;
    std::string celdaActual_;

    std::unique_ptr<OrigenAccess> origen_;
    std::vector<std::string> tablas_;
    std::optional<std::size_t> tablaElegida_;
    std::vector<std::string> columnas_;
    std::optional<std::size_t> columnaElegida_;
    std::string tabla_;
};

} // namespace trovanel
