#include "memoria_pruebas.hpp"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace trovanel::pruebas {

namespace {

// Plain values, usable from the first allocation of the program on.
std::atomic<std::size_t> reservada{0};
thread_local std::size_t hastaElFallo = 0;
thread_local bool fallado = false;

// True when this allocation is the one that must fail.
bool debeFallar() {
    if (hastaElFallo == 0) {
        return false;
    }
    if (--hastaElFallo > 0) {
        return false;
    }
    fallado = true;
    return true;
}

void* reservar(std::size_t bytes) {
    void* p = std::malloc(bytes == 0 ? 1 : bytes);
    if (p != nullptr) {
        reservada.fetch_add(malloc_usable_size(p), std::memory_order_relaxed);
    }
    return p;
}

void liberar(void* p) {
    if (p != nullptr) {
        reservada.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
        std::free(p);
    }
}

} // namespace

FalloDeMemoria::FalloDeMemoria(std::size_t enesima) {
    hastaElFallo = enesima;
    fallado = false;
}

FalloDeMemoria::~FalloDeMemoria() {
    hastaElFallo = 0;
}

bool FalloDeMemoria::ocurrido() const {
    return fallado;
}

std::size_t memoriaReservada() {
    return reservada.load(std::memory_order_relaxed);
}

} // namespace trovanel::pruebas

// The replaceable allocation functions, the array forms included (a sanitizer's own array forms would
// otherwise bypass the hook). The aligned forms keep the library's own, which pair with their own
// deallocation.
void* operator new(std::size_t bytes) {
    if (trovanel::pruebas::debeFallar()) {
        throw std::bad_alloc();
    }
    void* p = trovanel::pruebas::reservar(bytes);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    if (trovanel::pruebas::debeFallar()) {
        return nullptr;
    }
    return trovanel::pruebas::reservar(bytes);
}

void operator delete(void* p) noexcept {
    trovanel::pruebas::liberar(p);
}

void operator delete(void* p, std::size_t) noexcept {
    trovanel::pruebas::liberar(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    trovanel::pruebas::liberar(p);
}

void* operator new[](std::size_t bytes) {
    return ::operator new(bytes);
}

void* operator new[](std::size_t bytes, const std::nothrow_t& sinExcepcion) noexcept {
    return ::operator new(bytes, sinExcepcion);
}

void operator delete[](void* p) noexcept {
    ::operator delete(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    ::operator delete(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    ::operator delete(p);
}
