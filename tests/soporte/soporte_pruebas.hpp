#pragma once

#include "avisos.hpp"
#include "reloj.hpp"

#include <sys/resource.h>

#include <csignal>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel::pruebas {

// Records every message; questions are answered from a script (No when it runs out).
class AvisosGrabados : public Avisos {
public:
    struct Mensaje {
        std::string tipo; // "informacion", "critico", "simple", "pregunta"
        std::string texto;
        bool operator==(const Mensaje&) const = default;
    };

    void informacion(const std::string& texto) override { mensajes.push_back({"informacion", texto}); }
    void critico(const std::string& texto) override { mensajes.push_back({"critico", texto}); }
    void simple(const std::string& texto) override { mensajes.push_back({"simple", texto}); }
    bool pregunta(const std::string& texto) override;

    std::vector<Mensaje> mensajes;
    std::deque<bool> respuestas;
};

class RelojFijo : public Reloj {
public:
    explicit RelojFijo(FechaHora fijo = {2026, 12, 6, 10, 45, 33}) : momento(fijo) {}
    FechaHora ahora() const override { return momento; }
    FechaHora momento;
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class CarpetaTemporal {
public:
    CarpetaTemporal();
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;
    ~CarpetaTemporal();
    const std::filesystem::path& ruta() const { return ruta_; }
    std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

private:
    std::filesystem::path ruta_;
};

// Files of this process may not grow past a limit while it lives: a write past it fails as on a full disk.
class LimiteTamanoFichero {
public:
    explicit LimiteTamanoFichero(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &anterior_);
        senal_ = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        rlimit limite = anterior_;
        limite.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteTamanoFichero() {
        ::setrlimit(RLIMIT_FSIZE, &anterior_);
        std::signal(SIGXFSZ, senal_);
    }
    LimiteTamanoFichero(const LimiteTamanoFichero&) = delete;
    LimiteTamanoFichero& operator=(const LimiteTamanoFichero&) = delete;

private:
    rlimit anterior_{};
    void (*senal_)(int) = SIG_DFL;
};

// Whole file as bytes; throws when it cannot be read.
std::string leerFichero(const std::filesystem::path& ruta);
void escribirFichero(const std::filesystem::path& ruta, const std::string& bytes);

// How many files and folders a folder holds: tests check that nothing is left behind.
std::size_t entradasDe(const std::filesystem::path& carpeta);

// A table row's text with its first marca, which stands for what the row cannot know (a path of the
// test's folder), replaced by valor.
inline std::string conMarca(std::string texto, char marca, std::string_view valor) {
    if (const auto i = texto.find(marca); i != std::string::npos) {
        texto.replace(i, 1, valor);
    }
    return texto;
}

// Folder of the hand-written input and expected files (tests/data).
std::filesystem::path datosPrueba();
// The repository's root folder (for ejemplo/ and data/).
std::filesystem::path raizProyecto();

// Workbooks and Access files made by other programs live outside the project, in the folder named by the
// environment variable TROVANEL_DATOS_MUESTRA, else by the CMake setting of that name (by default
// ../shared/testdata beside the project).
std::filesystem::path carpetaMuestras();
// Empty when that folder is there; otherwise the notice that names it and tells how to name another.
std::string faltanMuestras();
// TROVANEL_DATOS_MUESTRA_OBLIGATORIOS=1 in the environment or ON in CMake: a missing folder is a failure.
bool muestrasObligatorias();

} // namespace trovanel::pruebas

// First statement of a test (or of its SetUp) that reads the sample files: without them the test is
// skipped, or fails when they are required.
#define TROVANEL_REQUIERE_MUESTRAS()                                                                         \
    do {                                                                                                     \
        if (const std::string aviso = ::trovanel::pruebas::faltanMuestras(); !aviso.empty()) {               \
            if (::trovanel::pruebas::muestrasObligatorias()) {                                               \
                FAIL() << aviso;                                                                             \
            }                                                                                                \
            GTEST_SKIP() << aviso;                                                                           \
        }                                                                                                    \
    } while (false)
