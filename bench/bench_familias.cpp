// Converts the generated input of each family in turn, each in a process of its own so that each peak
// memory is its own, and prints one row per family: orders per second, times the copy floor (reading the
// input and writing the bank file's bytes), peak resident memory and bytes per order read and written.
//   bench_familias [orders]   (1,000,000 by default)
#include "familias.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace trovanel::bench;

int main(int argc, char** argv) {
    const long cantidad = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    struct Familia {
        const char* nombre;
        Medicion (*medicion)(long);
    };
    constexpr Familia kFamilias[] = {
        {"norma 19", medicionCSB19},
        {"norma 58", medicionCSB58},
        {"norma 34", medicionCSB34},
        {"ZOP", medicionZOP},
    };
    std::printf("%ld ordenes de una linea por familia\n", cantidad);
    std::printf("%-10s %12s %10s %14s %16s %s\n", "familia", "ordenes/s", "x copia", "memoria maxima",
                "bytes por orden", "(entrada + salida)");
    std::fflush(stdout);
    int resultado = 0;
    for (const Familia& familia : kFamilias) {
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            const Resultado r = ejecutar(familia.medicion(cantidad));
            const double porOrden =
                static_cast<double>(r.bytesEntrada + r.bytesSalida) / static_cast<double>(cantidad);
            std::printf("%-10s %12.0f %10.1f %11.1f MB %16.0f%s\n", familia.nombre,
                        static_cast<double>(cantidad) / r.segundos, r.segundos / r.segundosCopia,
                        static_cast<double>(r.memoriaMaximaKiB) / 1024.0, porOrden,
                        r.esperado ? "" : "  (la conversion no acabo como se esperaba)");
            std::fflush(stdout);
            std::_Exit(r.esperado ? 0 : 1);
        }
        int estado = 0;
        if (hijo < 0 || ::waitpid(hijo, &estado, 0) != hijo || !WIFEXITED(estado) ||
            WEXITSTATUS(estado) != 0) {
            resultado = 1;
        }
    }
    return resultado;
}
