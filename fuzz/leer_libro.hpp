#pragma once

#include "libro_excel.hpp"

#include <cstddef>

namespace trovanel::fuzz {

// Reads a workbook whole, as a conversion reads its sheet: every sheet, every row, every cell. A
// workbook found damaged half-way throws ErrorTrovanel, which is a correct answer.
inline std::size_t leerLibroEntero(LibroExcel& libro) {
    std::size_t bytes = 0;
    const auto hojas = libro.hojas();
    for (const auto& hoja : hojas) {
        auto cursor = libro.abrirHoja(hoja);
        FilaHoja fila;
        while (cursor->siguiente(fila)) {
            for (const ValorCelda& celda : fila.celdas) {
                bytes += celda ? celda->size() : 1;
            }
        }
    }
    // The lookups the dialog makes on the first sheet.
    if (!hojas.empty()) {
        bytes += static_cast<std::size_t>(libro.ultimaFila(hojas.front()));
        bytes += libro.celda(hojas.front(), 1, "A").value_or("").size();
    }
    return bytes;
}

} // namespace trovanel::fuzz
