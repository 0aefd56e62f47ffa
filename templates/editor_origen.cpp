#include "editor_plantilla.hpp"

#include "avisos.hpp"
#include "error.hpp"
#include "libro_excel.hpp"
#include "origen_access.hpp"
#include "texto.hpp"

// The input source of the Excel and Access editors: where a field's column is picked from. Only read.

namespace trovanel {

namespace {

std::string mensajeError(const std::exception& e) {
    return dynamic_cast<const ErrorTrovanel*>(&e) != nullptr ? e.what() : kNoSeAbreEntrada;
}

std::string numeroTexto(std::int64_t valor) {
    return std::to_string(valor);
}

} // namespace

bool EditorPlantilla::abrirLibro(const std::filesystem::path& ruta) {
    cajas.rutaOrigen = ruta;
    if (enBlanco(ruta.native())) {
        return false;
    }
    std::unique_ptr<LibroExcel> libro;
    std::vector<std::string> hojas;
    try {
        libro = abrirLibroExcel(ruta);
        hojas = libro->hojas();
    } catch (const std::exception& e) {
        avisos_.critico("Error: " + mensajeError(e));
        return false;
    }
    libro_ = std::move(libro);
    hojas_ = std::move(hojas);
    hojaElegida_.reset();
    vista_.clear();
    celdaActual_.clear();
    if (!hojas_.empty()) {
        cbHojas_Click(0);
    }
    return true;
}

void EditorPlantilla::cbHojas_Click(std::size_t posicion) {
    if (!libro_ || posicion >= hojas_.size()) {
        return;
    }
    hojaElegida_ = posicion;
    vista_.assign(kFilasVista, std::vector<std::string>(kColumnasVista));
    celdaActual_.clear();
    try {
        auto cursor = libro_->abrirHoja(hojas_[posicion]);
        FilaHoja fila;
        while (cursor->siguiente(fila) && fila.numero < kFilasVista) {
            if (fila.numero < 1) {
                continue;
            }
            auto& destino = vista_[static_cast<std::size_t>(fila.numero - 1)];
            for (std::size_t c = 0; c < fila.celdas.size() && c < destino.size(); ++c) {
                // A cell without a text form (an error value) shows nothing.
                destino[c] = fila.celdas[c].value_or(std::string());
            }
        }
    } catch (const std::exception& e) {
        avisos_.critico("Error: " + mensajeError(e));
    }
}

void EditorPlantilla::GridExcel_SeleccionCelda(int fila, int columna) {
    if (fila < 1 || fila > kFilasVista || columna < 0 || columna > kColumnasVista) {
        return;
    }
    if (columna == 0) {
        cajas.columna.clear();
        celdaActual_ = numeroTexto(fila);
        return;
    }
    cajas.columna = std::string(1, static_cast<char>('A' + columna - 1));
    const auto f = static_cast<std::size_t>(fila - 1);
    const auto c = static_cast<std::size_t>(columna - 1);
    celdaActual_ = f < vista_.size() ? vista_[f][c] : std::string();
}

bool EditorPlantilla::AbrirBaseDatos(const std::filesystem::path& ruta) {
    cajas.rutaOrigen = ruta;
    if (enBlanco(ruta.native())) {
        return false;
    }
    std::unique_ptr<OrigenAccess> origen;
    std::vector<std::string> tablas;
    try {
        origen = abrirOrigenAccess(ruta);
        tablas = origen->tablas();
    } catch (const std::exception& e) {
        avisos_.critico("Error: " + mensajeError(e));
        return false;
    }
    origen_ = std::move(origen);
    tablas_ = std::move(tablas);
    tablaElegida_.reset();
    columnas_.clear();
    columnaElegida_.reset();
    if (!tablas_.empty()) {
        cbTablas_Click(0);
    }
    tabla_.clear();
    return true;
}

void EditorPlantilla::cbTablas_Click(std::size_t posicion) {
    if (!origen_ || posicion >= tablas_.size()) {
        return;
    }
    tablaElegida_ = posicion;
    columnas_.clear();
    columnaElegida_.reset();
    try {
        columnas_ = origen_->columnas(tablas_[posicion]);
    } catch (const std::exception& e) {
        avisos_.critico("Error: " + mensajeError(e));
    }
    if (!columnas_.empty()) {
        cbCampos_Click(0);
    }
}

void EditorPlantilla::cbCampos_Click(std::size_t posicion) {
    if (posicion < columnas_.size()) {
        columnaElegida_ = posicion;
        cajas.columna = columnas_[posicion];
    }
}

bool EditorPlantilla::origenAbierto() const {
    return libro_ != nullptr || origen_ != nullptr;
}

void EditorPlantilla::cerrarOrigen() {
    libro_.reset();
    origen_.reset();
}

} // namespace trovanel
