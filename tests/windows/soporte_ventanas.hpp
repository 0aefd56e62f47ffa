#pragma once

#include "base_datos.hpp"
#include "configuracion.hpp"
#include "contexto_ventanas.hpp"
#include "conversores.hpp"
#include "entrada_excel_access.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
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
    LibroEntrada libro;
    Configuracion configuracion;
    AvisosGrabados avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    SelectorGuionado selector;
    AbridorGrabado abridor;
};

// A child widget by objectName, failing the test when it is missing.
template <typename T> T* hijo(QWidget* padre, const char* nombre);

// Fixture of the party windows: the administrator on, and short ways to reach their controls.
class PruebaVentana : public testing::Test {
protected:
    PruebaVentana() { entorno.configuracion.gAdministrador = true; }
    QLineEdit* box(QWidget* v, const char* nombre);
    void pulsar(QWidget* v, const char* nombre);
    // Types the texts into the boxes, pairing them in order.
    void rellenar(QWidget* v, std::initializer_list<const char*> cajas,
                  const std::vector<std::string>& textos);
    static std::vector<std::string> textos(const QComboBox* combo);
    // Chooses the first entry that begins so, as a user's click does.
    static void escogerPorComienzo(QComboBox* combo, const char* comienzo);
    // Types the text into the emptied box (nothing when caja is ""), presses "&Aceptar" answered Yes and
    // returns the messages shown, joined by " | ".
    std::string corregir(QWidget* v, const char* caja, const char* texto);
    // Copies with Ctrl+A and Ctrl+C, then pastes pegado with Ctrl+V: queda stays.
    static void usarPortapapeles(QLineEdit* caja, const char* pegado, const char* queda);
    // The messages shown so far, as "type: text", forgetting them.
    std::vector<std::string> mensajes();
    // An imported party (bank 2100) chosen by its name's start in `combo` keeps that bank, and its DC is
    // checked with it: Aceptar with no change, with nif, with an office the DC does not fit, then with a DC
    // that fits it; the stored account (cuentaGuardada of the party's id) is antes until the last, then
    // despues.
    struct CorreccionImportada {
        const char* combo;
        const char* comienzo;
        const char* nif;
        const char* oficinaMal;
        const char* dcBueno;
        const char* antes;
        const char* despues;
    };
    void corregirImportada(QWidget* v, const CorreccionImportada& caso,
                           const std::function<std::string(std::int64_t)>& cuentaGuardada);
    // A read-only copy of the database, and the window context over it.
    BaseDatos copiaSoloLectura();
    ContextoVentanas contextoSobre(BaseDatos& bd);

    EntornoVentanas entorno;
};

} // namespace trovanel::pruebas

#include "soporte_ventanas_impl.hpp"
