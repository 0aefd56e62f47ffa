#pragma once

// The scans of texts take 32, 16 or 8 characters at a time, the widest the processor has: a test with
// this fixture runs on each width, so every one is tried whatever machine runs it. A width the processor
// lacks is skipped.

#include "procesador.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace trovanel::pruebas {

class EnCadaBarrido : public ::testing::TestWithParam<Barrido> {
protected:
    void SetUp() override {
        if (GetParam() > barridoDelProcesador()) {
            GTEST_SKIP() << "El procesador no tiene registros de ese ancho";
        }
        elegirBarrido(GetParam());
    }
    void TearDown() override { elegirBarrido(barridoDelProcesador()); }
};

inline const auto kCadaBarrido = ::testing::Values(Barrido::Avx2, Barrido::Sse2, Barrido::Palabras);

inline const char* nombreBarrido(Barrido barrido) {
    switch (barrido) {
    case Barrido::Avx2:
        return "Avx2";
    case Barrido::Sse2:
        return "Sse2";
    case Barrido::Palabras:
        break;
    }
    return "Palabras";
}

inline std::string nombrePrueba(const ::testing::TestParamInfo<Barrido>& info) {
    return nombreBarrido(info.param);
}

} // namespace trovanel::pruebas

namespace trovanel {

inline void PrintTo(Barrido barrido, std::ostream* salida) {
    *salida << pruebas::nombreBarrido(barrido);
}

} // namespace trovanel
