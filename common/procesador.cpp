#include "procesador.hpp"

#include <cassert>

namespace trovanel {

Barrido barridoDelProcesador() {
#ifdef TROVANEL_AVX2
    static const Barrido barrido = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0 ? Barrido::Avx2 : Barrido::Sse2;
    }();
    return barrido;
#elif defined(__SSE2__)
    return Barrido::Sse2;
#else
    return Barrido::Palabras;
#endif
}

Barrido detalle::barridoElegido = barridoDelProcesador();

void elegirBarrido(Barrido barrido) {
    assert(barrido <= barridoDelProcesador());
    detalle::barridoElegido = barrido;
}

} // namespace trovanel
