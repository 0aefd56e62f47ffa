#pragma once

// The scans every line and file go through take 32 characters at a time on x86-64 processors that have
// the registers for it (AVX2), and 16 or 8 elsewhere.
#if defined(__x86_64__) && defined(__GNUC__)
#define TROVANEL_AVX2 1
#include <immintrin.h>

namespace trovanel {

// Asked of the processor once.
inline bool conAvx2() {
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
}

} // namespace trovanel
#endif
