#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "multifacturas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>

namespace trovanel {
namespace {

using Fila = std::tuple<std::int64_t, std::string, std::string, std::int64_t>; // orden, campos, valor, inicio

TEST(CamposMultifactura, lasPiezasSiguenElTipoYVuelvenALasCasillas) {
    const std::tuple<const char*, Casillas, const char*> casos[] = {
        {"CSB34N", {0, 0, 1, 0, 0, 0}, "Observacion"},
        {"CSB34TEx", {0, 0, 1, 0, 0, 0}, "Observacion"},
        {"PAGOSCEx", {0, 0, 1, 0, 0, 1}, "NumeroFactura&Observacion@Ref16"},
        {"CSB19", {1, 1, 1, 0, 0, 0}, "Importe@SignoNegativo@FechaVto@NumeroFactura"},
        {"ZOP", {0, 0, 0, 1, 1, 0}, "ReferenciaInterna@Ref12"}};
    for (const auto& [tipo, casillas, campos] : casos) {
        EXPECT_EQ(camposDeCasillas(casillas, tipo), campos) << tipo;
        EXPECT_EQ(casillasDeCampos(campos), casillas) << tipo;
    }
}

// What the user does, step by step, separated by ";": "c N" shows entry N, "x N" checks box N, "v TEXT"
// types the identifier (blanks kept), "+" adds, "-" removes, "arriba", "p1"/"p0" checks or clears the
// progression box, "ok" saves, "si" answers the next question Yes, "borrar" deletes, "fuera" deletes the
// template behind the editor's back.
struct Guion {
    const char* nombre;
    std::size_t posicion; // 0 the example template 9, 1 Uno, 2 Dos (PAGOSCEx: A, B in progression), 3 ZOP
    const char* pasos;
    std::vector<std::string> entradas;
    std::vector<Fila> guardadas; // the rows of that template afterwards
    std::vector<std::string> mensajes;
};
const char* kGuardada = "La plantilla multifactura se ha guardado correctamente";
const char* kBorrar = "¿Desea borrar la plantilla multifactura?";
const std::vector<Fila> kDos = {{0, "Importe@SignoNegativo", "A", 1}, {1, "FechaVto", "B", 1}};
// clang-format off
const Guion kGuiones[] = {
    {"guardarSinCambiosDejaElHuecoDeLaMarca", 2, "ok", {"A", "...", "B"},
     {{0, "Importe@SignoNegativo", "A", 1}, {2, "FechaVto", "B", 1}}, {kGuardada}},
    {"agregarNoTocaLaFilaMostrada", 2, "c 0;x 1;v C ;+;ok", {"A", "...", "B", "C "},
     {{0, "Importe@SignoNegativo", "A", 1}, {2, "FechaVto", "B", 1},
      {3, "Importe@SignoNegativo@FechaVto", "C ", 1}}, {kGuardada}},
    {"quitarLaProgresionQuitaLasMarcasYGuardaSinInicio", 2, "p0;ok", {"A", "B"},
     {{0, "Importe@SignoNegativo", "A", 0}, {1, "FechaVto", "B", 0}}, {kGuardada}},
    {"moverSubeLaFilaYMuestraLaPrimera", 2, "c 2;arriba;arriba;ok", {"A", "B", "..."}, kDos, {kGuardada}},
    {"guardarTrasQuitarlasTodasNoBorraLasGuardadas", 2, "c 0;-;c 0;-;ok", {}, kDos, {}},
    {"borrarQuitaLasFilasYCargaLaPrimera", 2, "si;borrar", {}, {}, {kBorrar}},
    {"laPrimeraPropiaSeGuarda", 1, "v X;+;ok", {"X"}, {{0, "", "X", 0}}, {kGuardada}},
    {"laDeEjemploSeRehusaAlElegirlaYNoTomaFilas", 0, "v X;+;p1;ok", {}, {},
     {"Esta plantilla no puede ser multifactura\r\nSeleccione otra plantilla"}},
    {"progresionSinIdentificadorLoPide", 3, "p1", {}, {},
     {"Por favor rellene el campo identificador de factura"}},
    {"laMarcaNuncaQuedaPrimera", 3, "v X;p1;c 0;-", {}, {}, {}},
    {"unIdentificadorDePuntosNoSeGuarda", 3, "x 5;v ...;+;x 5;v D;+;ok", {"...", "D"}, {{1, "Ref16", "D", 0}},
     {kGuardada}},
    {"rehusaGuardarOBorrarUnaPlantillaBorradaEntretanto", 3, "fuera;v X;+;ok;si;borrar", {"X"}, {},
     {"No se puede guardar la plantilla multifactura\r\nError: La plantilla no existe", kBorrar,
      "No se puede borrar la plantilla multifactura\r\nError: La plantilla no existe"}},
};
// clang-format on

const std::map<std::string, void (EditorMultifacturas::*)()> kBotones = {
    {"+", &EditorMultifacturas::cmdAgregar_Click},
    {"-", &EditorMultifacturas::cmdQuitar_Click},
    {"arriba", &EditorMultifacturas::Command1_Click},
    {"ok", &EditorMultifacturas::cmdAceptar_Click},
    {"borrar", &EditorMultifacturas::cmdBorrar_Click}};

class EditorMultifactura : public ::testing::TestWithParam<Guion> {
protected:
    EditorMultifactura() {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        bd.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        pruebas::ConstructorPlantilla(*bd).descripcion("Uno").crear();
        pruebas::ConstructorPlantilla(*bd)
            .tipo("PAGOSCEx")
            .filaMultifactura({"Importe@SignoNegativo", "A", 1})
            .filaMultifactura({"FechaVto", "B", 1})
            .crear();
        pruebas::ConstructorPlantilla(*bd).tipo("ZOP").crear();
    }
    std::vector<Fila> guardadas(std::int64_t id) {
        std::vector<Fila> filas;
        auto c = bd->preparar("SELECT orden, campos, valor, inicio FROM multifactura WHERE id_estructura = ? "
                              "ORDER BY orden");
        c.con(id);
        while (c.siguiente()) {
            filas.emplace_back(c.entero(0), c.texto(1), c.texto(2), c.entero(3));
        }
        return filas;
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> bd;
    pruebas::AvisosGrabados avisos;
};

TEST_P(EditorMultifactura, siguePasoAPasoLoQueElUsuarioHace) {
    EditorMultifacturas e(*bd, avisos);
    e.Form_Load();
    ASSERT_EQ(e.plantillas().size(), 4u);
    e.cmdAgregar_Click(); // nothing chosen yet: nothing happens
    e.cbEstructura_Click(GetParam().posicion);
    EXPECT_EQ(e.conReferencia(), GetParam().posicion == 3);
    const std::int64_t id = e.plantillas()[GetParam().posicion].id;
    std::istringstream pasos(GetParam().pasos);
    for (std::string paso; std::getline(pasos, paso, ';');) {
        const std::string resto = paso.size() > 2 ? paso.substr(2) : "";
        if (paso.starts_with("c ")) {
            e.lbCampos_Click(std::stoul(resto));
        } else if (paso.starts_with("x ")) {
            e.casillas[std::stoul(resto)] = true;
        } else if (paso.starts_with("v ")) {
            e.valor = resto;
        } else if (const auto boton = kBotones.find(paso); boton != kBotones.end()) {
            (e.*boton->second)();
        } else if (paso.starts_with("p")) {
            e.checkProgresion_Click(paso == "p1");
        } else if (paso == "si") {
            avisos.respuestas.push_back(true);
        } else {
            borrarPlantilla(*bd, id);
        }
    }
    std::vector<std::string> entradas;
    for (const LineaMultifactura& l : e.lineas()) {
        entradas.push_back(l.valor);
    }
    EXPECT_EQ(entradas, GetParam().entradas);
    EXPECT_EQ(guardadas(id), GetParam().guardadas);
    std::vector<std::string> mensajes;
    for (const auto& m : avisos.mensajes) {
        mensajes.push_back(m.texto);
    }
    EXPECT_EQ(mensajes, GetParam().mensajes);
    if (std::string(GetParam().pasos).ends_with("borrar") && GetParam().entradas.empty()) {
        EXPECT_EQ(e.plantillaElegida(), 0u);
        EXPECT_FALSE(leerPlantilla(*bd, id).multifactura);
    }
}
INSTANTIATE_TEST_SUITE_P(Guiones, EditorMultifactura, ::testing::ValuesIn(kGuiones),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

} // namespace
} // namespace trovanel
