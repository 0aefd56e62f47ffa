#include "multifacturas.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "error.hpp"
#include "texto.hpp"

#include <algorithm>
#include <utility>

namespace trovanel {

namespace {

// What each box tests in a row's campos to show itself checked.
constexpr std::array<std::string_view, kCasillas> kPruebas = {"Importe",    "FechaVto", "NumeroFactura",
                                                              "Referencia", "Ref12",    "Ref16"};

constexpr const char* kNoMultifactura =
    "Esta plantilla no puede ser multifactura\r\nSeleccione otra plantilla";

std::string piezaNumero(std::string_view tipo) {
    if (contiene(tipo, "CSB34")) {
        return "Observacion";
    }
    return contiene(tipo, "PAGOSC") ? "NumeroFactura&Observacion" : "NumeroFactura";
}

} // namespace

void guardarMultifacturas(BaseDatos& baseDatos, std::int64_t id,
                          const std::vector<MultifacturaPlantilla>& filas) {
    BaseDatos::Transaccion transaccion(baseDatos);
    comprobarQueExiste(baseDatos, id);
    baseDatos.preparar("UPDATE estructura SET multifactura = 1 WHERE id_estructura = ?").con(id).ejecutar();
    baseDatos.preparar("DELETE FROM multifactura WHERE id_estructura = ?").con(id).ejecutar();
    auto fila = baseDatos.preparar(
        "INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (?, ?, ?, ?, ?)");
    for (const MultifacturaPlantilla& f : filas) {
        fila.reiniciar();
        fila.con(id, f.orden, f.campos, f.valor, f.inicio).ejecutar();
    }
    transaccion.confirmar();
}

void borrarMultifacturas(BaseDatos& baseDatos, std::int64_t id) {
    BaseDatos::Transaccion transaccion(baseDatos);
    comprobarQueExiste(baseDatos, id);
    baseDatos.preparar("DELETE FROM multifactura WHERE id_estructura = ?").con(id).ejecutar();
    baseDatos.preparar("UPDATE estructura SET multifactura = 0 WHERE id_estructura = ?").con(id).ejecutar();
    transaccion.confirmar();
}

std::string camposDeCasillas(const Casillas& casillas, std::string_view tipo) {
    const std::array<std::string, kCasillas> piezas = {"Importe@SignoNegativo", "FechaVto", piezaNumero(tipo),
                                                       "ReferenciaInterna",     "Ref12",    "Ref16"};
    std::string campos;
    for (std::size_t i = 0; i < kCasillas; ++i) {
        if (casillas[i]) {
            campos += (enBlanco(campos) ? "" : "@") + piezas[i];
        }
    }
    return campos;
}

Casillas casillasDeCampos(std::string_view campos) {
    Casillas casillas{};
    for (std::size_t i = 0; i < kCasillas; ++i) {
        casillas[i] = contiene(campos, kPruebas[i]);
    }
    // "Observacion" alone is the number piece of the payment templates.
    casillas[static_cast<std::size_t>(Casilla::NumeroFra)] =
        casillas[static_cast<std::size_t>(Casilla::NumeroFra)] || contiene(campos, "Observacion");
    return casillas;
}

EditorMultifacturas::EditorMultifacturas(BaseDatos& baseDatos, Avisos& avisos)
    : baseDatos_(baseDatos), avisos_(avisos) {}

void EditorMultifacturas::Form_Load() {
    try {
        plantillas_ = CargarPlantillas(baseDatos_, false);
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(e.what());
    }
    elegida_.reset();
    lineas_.clear();
    seleccion_.reset();
    filaActual_.reset();
}

bool EditorMultifacturas::conReferencia() const {
    return elegida_ && tipoElegida() == "ZOP";
}

bool EditorMultifacturas::admiteMultifactura() const {
    return elegida_ && idElegida() > kUltimaPlantillaSemilla;
}

// Told when the user chooses, before any row is typed.
void EditorMultifacturas::cbEstructura_Click(std::size_t posicion) {
    if (cargar(posicion) && !admiteMultifactura()) {
        avisos_.informacion(kNoMultifactura);
    }
}

bool EditorMultifacturas::cargar(std::size_t posicion) {
    if (posicion >= plantillas_.size()) {
        return false;
    }
    lineas_.clear();
    seleccion_.reset();
    filaActual_.reset();
    casillas = {};
    progresion_ = false;
    elegida_.reset();
    std::vector<MultifacturaPlantilla> filas;
    try {
        filas = leerPlantilla(baseDatos_, plantillas_[posicion].id).multifacturas;
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se pueden cargar las filas multifactura de la plantilla\r\nError: ") +
                        e.what());
        return false;
    }
    elegida_ = posicion;
    for (MultifacturaPlantilla& fila : filas) {
        lineas_.push_back({std::move(fila.campos), std::move(fila.valor)});
        if (fila.inicio == 1 && !progresion_) {
            progresion_ = true;
            lineas_.push_back({"", std::string(kMarcaProgresion)});
        }
    }
    return true;
}

void EditorMultifacturas::GuardarCamposFila(std::optional<std::size_t> fila) {
    if (elegida_ && fila && *fila < lineas_.size() && !lineas_[*fila].esMarca()) {
        lineas_[*fila].campos = camposDeCasillas(casillas, tipoElegida());
    }
}

void EditorMultifacturas::mostrarFila(std::optional<std::size_t> posicion) {
    seleccion_ = posicion;
    filaActual_ = posicion;
    casillas =
        posicion && !lineas_[*posicion].esMarca() ? casillasDeCampos(lineas_[*posicion].campos) : Casillas{};
}

void EditorMultifacturas::lbCampos_Click(std::size_t posicion) {
    if (!elegida_ || posicion >= lineas_.size()) {
        return;
    }
    GuardarCamposFila(filaActual_);
    mostrarFila(posicion);
}

// The new row takes the boxes; the row on display keeps what it had, and the boxes stand for no row.
void EditorMultifacturas::agregar() {
    if (!enBlanco(valor)) {
        lineas_.push_back({camposDeCasillas(casillas, tipoElegida()), valor});
        casillas = {};
        seleccion_.reset();
        filaActual_.reset();
    }
    valor.clear();
}

void EditorMultifacturas::cmdAgregar_Click() {
    if (admiteMultifactura()) {
        agregar();
    }
}

void EditorMultifacturas::quitar(std::size_t posicion) {
    lineas_.erase(lineas_.begin() + static_cast<std::ptrdiff_t>(posicion));
    if (filaActual_ == posicion) {
        filaActual_.reset();
    } else if (filaActual_ && *filaActual_ > posicion) {
        --*filaActual_;
    }
    seleccion_.reset();
}

void EditorMultifacturas::cmdQuitar_Click() {
    if (!admiteMultifactura() || !seleccion_) {
        return;
    }
    quitar(*seleccion_);
    if (!lineas_.empty()) {
        lbCampos_Click(0);
        // The marker never stays first: it marks the identifiers that follow a first one.
        if (lineas_[0].esMarca()) {
            quitar(0);
            casillas = {};
        }
    }
}

void EditorMultifacturas::mover(std::size_t desde, std::size_t hacia) {
    std::swap(lineas_[desde], lineas_[hacia]);
    if (filaActual_ == desde) {
        filaActual_ = hacia;
    } else if (filaActual_ == hacia) {
        filaActual_ = desde;
    }
    lbCampos_Click(0);
}

void EditorMultifacturas::Command1_Click() {
    if (admiteMultifactura() && seleccion_ && *seleccion_ > 0) {
        mover(*seleccion_, *seleccion_ - 1);
    }
}

void EditorMultifacturas::Command2_Click() {
    if (admiteMultifactura() && seleccion_ && *seleccion_ + 1 < lineas_.size()) {
        mover(*seleccion_, *seleccion_ + 1);
    }
}

void EditorMultifacturas::checkProgresion_Click(bool marcada) {
    if (!admiteMultifactura()) {
        return;
    }
    if (marcada) {
        if (lineas_.empty() && enBlanco(valor)) {
            avisos_.informacion("Por favor rellene el campo identificador de factura");
            progresion_ = false;
            return;
        }
        agregar();
        lineas_.push_back({"", std::string(kMarcaProgresion)});
        progresion_ = true;
        return;
    }
    progresion_ = false;
    GuardarCamposFila(filaActual_);
    bool quitadas = false;
    for (std::size_t i = lineas_.size(); i-- > 0;) {
        if (lineas_[i].esMarca()) {
            quitar(i);
            quitadas = true;
        }
    }
    if (quitadas) {
        mostrarFila(lineas_.empty() ? std::nullopt : std::optional<std::size_t>(0));
    }
}

void EditorMultifacturas::cmdAceptar_Click() {
    if (lineas_.empty()) {
        return;
    }
    GuardarCamposFila(filaActual_);
    if (!admiteMultifactura()) {
        avisos_.informacion(kNoMultifactura);
        return;
    }
    std::vector<MultifacturaPlantilla> filas;
    for (std::size_t i = 0; i < lineas_.size(); ++i) {
        if (!lineas_[i].esMarca()) {
            // orden is the entry's place, the marker's counted: the reader needs only their order.
            filas.push_back(
                {static_cast<std::int64_t>(i), lineas_[i].campos, lineas_[i].valor, progresion_ ? 1 : 0, 0});
        }
    }
    if (filas.empty()) {
        return;
    }
    try {
        guardarMultifacturas(baseDatos_, idElegida(), filas);
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se puede guardar la plantilla multifactura\r\nError: ") + e.what());
        return;
    }
    avisos_.informacion("La plantilla multifactura se ha guardado correctamente");
}

void EditorMultifacturas::cmdBorrar_Click() {
    if (!elegida_ || !avisos_.pregunta("¿Desea borrar la plantilla multifactura?")) {
        return;
    }
    try {
        borrarMultifacturas(baseDatos_, idElegida());
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se puede borrar la plantilla multifactura\r\nError: ") + e.what());
        return;
    }
    cargar(0);
}

} // namespace trovanel
