#pragma once

#include <cstdint>

// The scans every line and file go through take 32 characters at a time on x86-64 processors that have
// the registers for it (AVX2), and 16 or 8 elsewhere.
#if defined(__x86_64__) && defined(__GNUC__)
#define TROVANEL_AVX2 1
#include <immintrin.h>
#endif

namespace trovanel {

// How many characters the scans take at a time: a word of 8, 16 (SSE2) or 32 (AVX2).
enum class Barrido : std::uint8_t { Palabras, Sse2, Avx2 };

// The widest the processor has, asked of it once.
Barrido barridoDelProcesador();

namespace detalle {
// The widest the scans take: the processor's, unless the tests chose a narrower one. Before the
// program starts, words.
extern Barrido barridoElegido;
} // namespace detalle

inline bool conAvx2() {
    return detalle::barridoElegido == Barrido::Avx2;
}
inline bool conSse2() {
    return detalle::barridoElegido >= Barrido::Sse2;
}

// Tests: the scans take this path from now on, so that each runs whatever the machine. It must be one
// the processor has.
void elegirBarrido(Barrido barrido);

} // namespace trovanel
