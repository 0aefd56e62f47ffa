#pragma once

// The C++ allocations of this test program go through hooks (memoria_pruebas.cpp), so a test can make
// one fail as a machine out of memory would, and see how much a step keeps allocated.

#include "error.hpp"
#include "libro_excel.hpp"

#include <cstddef>
#include <cstring>
#include <vector>

namespace trovanel::pruebas {

// While it lives, the enesima-th C++ allocation of this thread from its creation (1 = the next one)
// throws std::bad_alloc (or gives null, for the nothrow kind); every other one goes through.
class FalloDeMemoria {
public:
    explicit FalloDeMemoria(std::size_t enesima);
    FalloDeMemoria(const FalloDeMemoria&) = delete;
    FalloDeMemoria& operator=(const FalloDeMemoria&) = delete;
    ~FalloDeMemoria();
    // False when the step made fewer allocations than that.
    bool ocurrido() const;
};

// Bytes the C++ allocations of the program hold right now.
std::size_t memoriaReservada();

// How a step that reads an input ended: read, refused with "No se puede abrir el fichero de entrada",
// or anything else.
enum class Desenlace { leido, noSeAbre, otro };

// Runs the step; what it throws is told apart without allocating, since an allocation may be failing.
template <typename Paso> Desenlace desenlaceDe(Paso&& paso) {
    try {
        paso();
        return Desenlace::leido;
    } catch (const ErrorTrovanel& e) {
        return std::strcmp(e.what(), kNoSeAbreEntrada) == 0 ? Desenlace::noSeAbre : Desenlace::otro;
    } catch (...) {
        return Desenlace::otro;
    }
}

// Runs the step with its first allocation failing, then again with its second failing, and so on
// until a run needs fewer allocations; the outcome of each run, the last one (nothing failed) included.
template <typename Paso> std::vector<Desenlace> desenlacesConFalloDeMemoria(Paso paso) {
    std::vector<Desenlace> desenlaces;
    for (std::size_t enesima = 1;; ++enesima) {
        Desenlace desenlace;
        bool ocurrido = false;
        {
            FalloDeMemoria fallo(enesima);
            desenlace = desenlaceDe(paso);
            ocurrido = fallo.ocurrido();
        }
        desenlaces.push_back(desenlace);
        if (!ocurrido || enesima == 100000) {
            return desenlaces;
        }
    }
}

} // namespace trovanel::pruebas
