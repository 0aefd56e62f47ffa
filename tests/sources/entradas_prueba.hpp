#pragma once

// What the input readers' tests share: bytes no reader can make sense of, and what any workbook reader does
// with a folder and with memory running out.

#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libro_excel.hpp"
#include "memoria_pruebas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>

namespace trovanel::pruebas {

// So many bytes drawn from a generator started at the seed: the same ones on every run.
inline std::string bytesAlAzar(std::size_t cantidad, std::mt19937::result_type semilla) {
    std::mt19937 azar(semilla);
    std::string bytes(cantidad, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(azar());
    }
    return bytes;
}

// A folder is no file: the reader refuses it with the entry message, naming it.
template <typename Abrir> void esperarCarpetaRechazada(Abrir abrir, const CarpetaTemporal& carpeta) {
    try {
        abrir(carpeta.ruta());
        ADD_FAILURE() << "no se ha rechazado";
    } catch (const ErrorTrovanel& e) {
        EXPECT_EQ(e.what(), mensajeEntrada(kNoSeAbreEntrada, carpeta.ruta(), kNoEsFicheroRegular));
    }
}

// Reads every row of the sheets, the last row of the first one and one cell, with each allocation failing
// in turn: wherever memory runs out, the workbook cannot be opened; with enough, it is read.
inline void esperarLecturaConFallosDeMemoria(const std::filesystem::path& ruta,
                                             std::initializer_list<std::string_view> hojas,
                                             std::string_view hojaUltima, std::string_view hojaCelda,
                                             std::int64_t fila, std::string_view columna) {
    // Only the reader allocates in the step, so every failure is the reader's.
    const auto desenlaces = desenlacesConFalloDeMemoria([&] {
        auto libro = abrirLibroExcel(ruta);
        FilaHoja leida;
        for (const std::string_view nombre : hojas) {
            auto cursor = libro->abrirHoja(nombre);
            while (cursor->siguiente(leida)) {
            }
        }
        libro->ultimaFila(hojaUltima);
        libro->celda(hojaCelda, fila, columna);
    });
    ASSERT_GT(desenlaces.size(), 1u);
    EXPECT_EQ(desenlaces.back(), Desenlace::leido);
    EXPECT_EQ(std::count(desenlaces.begin(), desenlaces.end(), Desenlace::otro), 0);
    EXPECT_GT(std::count(desenlaces.begin(), desenlaces.end(), Desenlace::noSeAbre), 0);
}

} // namespace trovanel::pruebas
