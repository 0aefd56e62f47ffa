#pragma once

#include <filesystem>
#include <string>

namespace trovanel {

class Avisos;
class BaseDatos;
class Reloj;
class RegistroConversores;
struct Configuracion;
struct LibroEntrada;

// The common file dialog, behind an interface so that tests can answer it.
class SelectorFicheros {
public:
    virtual ~SelectorFicheros() = default;
    // The chosen existing file, or "" when the user cancelled.
    virtual std::filesystem::path abrirFichero(const std::string& titulo, const std::string& filtro,
                                               const std::filesystem::path& carpetaInicial) = 0;
    // The path to write, existing or not, or "" when the user cancelled; asks nothing about overwriting.
    // Selectors without a save dialog of their own answer with their open dialog.
    virtual std::filesystem::path guardarFichero(const std::string& titulo,
                                                 const std::filesystem::path& carpetaInicial) {
        return abrirFichero(titulo, "", carpetaInicial);
    }
};

// Opens a file or an address with the desktop's default program (help file, download page).
class AbridorExterno {
public:
    virtual ~AbridorExterno() = default;
    // False when nothing could open it.
    virtual bool abrir(const std::string& direccion) = 0;
};

// What every window works with: the process's database and services. A conversion's run state is the
// run's own, never the windows'.
struct ContextoVentanas {
    // The input workbook the conversion dialog opened.
    LibroEntrada& libro;
    Configuracion& configuracion;
    BaseDatos& baseDatos;
    Avisos& avisos;
    const Reloj& reloj;
    std::filesystem::path carpetaPrograma;
    const RegistroConversores& registro;
    SelectorFicheros& selector;
    AbridorExterno& abridor;
};

} // namespace trovanel
