#pragma once

#include "base_datos.hpp"
#include "contexto_ventanas.hpp"
#include "conversores.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace trovanel::pruebas {

// Answers the file dialog from a script; records what it was asked.
class SelectorGuionado : public SelectorFicheros {
public:
    std::filesystem::path abrirFichero(const std::string& titulo, const std::string& filtro,
                                       const std::filesystem::path& carpetaInicial) override;
    std::deque<std::filesystem::path> respuestas;
    struct Peticion {
        std::string titulo;
        std::string filtro;
        std::filesystem::path carpeta;
    };
    std::vector<Peticion> peticiones;
};

class AbridorGrabado : public AbridorExterno {
public:
    bool abrir(const std::string& direccion) override {
        abiertos.push_back(direccion);
        return resultado;
    }
    std::vector<std::string> abiertos;
    bool resultado = true;
};

// A program folder with its own new database and everything a window needs; the norm 19 driver is
// registered as in the program.
class EntornoVentanas {
public:
    EntornoVentanas();
    ContextoVentanas contexto();

    CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    EstadoEjecucion estado;
    AvisosGrabados avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    SelectorGuionado selector;
    AbridorGrabado abridor;
};

// A child widget by objectName, failing the test when it is missing.
template <typename T> T* hijo(QWidget* padre, const char* nombre);

} // namespace trovanel::pruebas

#include "soporte_ventanas_impl.hpp"
