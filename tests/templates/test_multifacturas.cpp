#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "multifacturas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using Mensaje = AvisosGrabados::Mensaje;
using Fila = std::tuple<std::int64_t, std::string, std::string, std::int64_t>; // orden, campos, valor, inicio

Casillas con(std::initializer_list<Casilla> marcadas) {
    Casillas c{};
    for (Casilla m : marcadas) {
        c[static_cast<std::size_t>(m)] = true;
    }
    return c;
}

struct Piezas {
    const char* tipo;
    Casillas casillas;
    const char* campos;
};
TEST(CamposMultifactura, lasPiezasSiguenElTipoYVuelvenALasCasillas) {
    using enum Casilla;
    const Piezas casos[] = {
        {"CSB34N", con({NumeroFra}), "Observacion"},
        {"CSB34TEx", con({NumeroFra}), "Observacion"},
        {"PAGOSCEx", con({NumeroFra, Ref16}), "NumeroFactura&Observacion@Ref16"},
        {"CSB19", con({Importe, FechaVto, NumeroFra}), "Importe@SignoNegativo@FechaVto@NumeroFactura"},
        {"ZOP", con({Referencia, Ref12}), "ReferenciaInterna@Ref12"}};
    for (const Piezas& caso : casos) {
        EXPECT_EQ(camposDeCasillas(caso.casillas, caso.tipo), caso.campos) << caso.tipo;
        EXPECT_EQ(casillasDeCampos(caso.campos), caso.casillas) << caso.tipo;
    }
}

// List positions: 0 the example template 9, then Uno (CSB19), Dos (PAGOSCEx, rows A and B in a
// progression), Tres (ZOP), Cuatro (CSB34N).
struct Guion {
    const char* nombre;
    std::size_t posicion;
    std::function<void(EditorMultifacturas&, BaseDatos&, AvisosGrabados&)> pasos;
    std::vector<std::string> entradas;
    std::vector<Fila> guardadas; // the rows of the template at posicion afterwards
    std::vector<Mensaje> mensajes;
};
const Mensaje kGuardada{"informacion", "La plantilla multifactura se ha guardado correctamente"};
const std::vector<Fila> kDos = {{0, "Importe@SignoNegativo", "A", 1}, {1, "FechaVto", "B", 1}};
using E = EditorMultifacturas;
using B = BaseDatos;
using A = AvisosGrabados;

const Guion kGuiones[] = {
    {"guardarSinCambiosDejaElHuecoDeLaMarca",
     2,
     [](E& e, B&, A&) { e.cmdAceptar_Click(); },
     {"A", "...", "B"},
     {{0, "Importe@SignoNegativo", "A", 1}, {2, "FechaVto", "B", 1}},
     {kGuardada}},
    {"agregarNoTocaLaFilaMostrada",
     2,
     [](E& e, B&, A&) {
         e.lbCampos_Click(0);
         e.casillas[static_cast<std::size_t>(Casilla::FechaVto)] = true;
         e.valor = "C ";
         e.cmdAgregar_Click();
         EXPECT_EQ(e.casillas, Casillas{});
         e.cmdAceptar_Click();
     },
     {"A", "...", "B", "C "},
     {{0, "Importe@SignoNegativo", "A", 1},
      {2, "FechaVto", "B", 1},
      {3, "Importe@SignoNegativo@FechaVto", "C ", 1}},
     {kGuardada}},
    {"quitarLaProgresionQuitaLasMarcasYGuardaSinInicio",
     2,
     [](E& e, B&, A&) {
         e.checkProgresion_Click(false);
         e.cmdAceptar_Click();
     },
     {"A", "B"},
     {{0, "Importe@SignoNegativo", "A", 0}, {1, "FechaVto", "B", 0}},
     {kGuardada}},
    {"moverSubeLaFilaYMuestraLaPrimera",
     2,
     [](E& e, B&, A&) {
         e.lbCampos_Click(2);
         e.Command1_Click();
         EXPECT_EQ(e.seleccion(), 0u);
         e.Command1_Click();
         e.cmdAceptar_Click();
     },
     {"A", "B", "..."},
     {{0, "Importe@SignoNegativo", "A", 1}, {1, "FechaVto", "B", 1}},
     {kGuardada}},
    {"guardarTrasQuitarlasTodasNoBorraLasGuardadas",
     2,
     [](E& e, B&, A&) {
         for (int i = 0; i < 2; ++i) {
             e.lbCampos_Click(0);
             e.cmdQuitar_Click(); // first A, and the marker left first with it; then B
         }
         e.cmdAceptar_Click();
     },
     {},
     kDos,
     {}},
    {"borrarQuitaLasFilasYCargaLaPrimera",
     2,
     [](E& e, B& b, A& a) {
         a.respuestas = {true};
         e.cmdBorrar_Click();
         EXPECT_EQ(e.plantillaElegida(), 0u);
         EXPECT_FALSE(leerPlantilla(b, e.plantillas()[2].id).multifactura);
     },
     {},
     {},
     {{"pregunta", "¿Desea borrar la plantilla multifactura?"}}},
    {"rehusaGuardarLasDosPrimerasDeLaLista",
     1,
     [](E& e, B&, A&) {
         e.valor = "X";
         e.cmdAgregar_Click();
         e.cmdAceptar_Click();
     },
     {"X"},
     {},
     {{"informacion", "Esta plantilla no puede ser multifactura\r\nSeleccione otra plantilla"}}},
    {"progresionSinIdentificadorLoPide",
     3,
     [](E& e, B&, A&) { e.checkProgresion_Click(true); },
     {},
     {},
     {{"informacion", "Por favor rellene el campo identificador de factura"}}},
    {"laMarcaNuncaQuedaPrimera",
     3,
     [](E& e, B&, A&) {
         e.valor = "X";
         e.checkProgresion_Click(true);
         e.lbCampos_Click(0);
         e.cmdQuitar_Click();
     },
     {},
     {},
     {}},
    {"unIdentificadorDePuntosNoSeGuarda",
     4,
     [](E& e, B&, A&) {
         for (const char* valor : {"...", "D"}) {
             e.casillas[static_cast<std::size_t>(Casilla::NumeroFra)] = true;
             e.valor = valor;
             e.cmdAgregar_Click();
         }
         e.cmdAceptar_Click();
     },
     {"...", "D"},
     {{1, "Observacion", "D", 0}},
     {kGuardada}},
    {"rehusaGuardarUnaPlantillaBorradaEntretanto",
     3,
     [](E& e, B& b, A& a) {
         borrarPlantilla(b, e.plantillas()[3].id);
         a.respuestas = {true};
         e.valor = "X";
         e.cmdAgregar_Click();
         e.cmdAceptar_Click();
         e.cmdBorrar_Click();
     },
     {"X"},
     {},
     {{"critico", "No se puede guardar la plantilla multifactura\r\nError: La plantilla no existe"},
      {"pregunta", "¿Desea borrar la plantilla multifactura?"},
      {"critico", "No se puede borrar la plantilla multifactura\r\nError: La plantilla no existe"}}},
};

class EditorMultifactura : public ::testing::TestWithParam<Guion> {
protected:
    EditorMultifactura() {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        bd.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        using pruebas::ConstructorPlantilla;
        ConstructorPlantilla(*bd).descripcion("Uno").crear();
        ConstructorPlantilla(*bd)
            .descripcion("Dos")
            .tipo("PAGOSCEx")
            .filaMultifactura({"Importe@SignoNegativo", "A", 1})
            .filaMultifactura({"FechaVto", "B", 1})
            .crear();
        ConstructorPlantilla(*bd).descripcion("Tres").tipo("ZOP").crear();
        ConstructorPlantilla(*bd).descripcion("Cuatro").tipo("CSB34N").crear();
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
    AvisosGrabados avisos;
};

TEST_P(EditorMultifactura, siguePasoAPasoLoQueElUsuarioHace) {
    EditorMultifacturas e(*bd, avisos);
    e.Form_Load();
    ASSERT_EQ(e.plantillas().size(), 5u);
    e.cmdAgregar_Click(); // nothing chosen yet: nothing happens
    e.cbEstructura_Click(GetParam().posicion);
    EXPECT_EQ(e.conReferencia(), GetParam().posicion == 3);
    const std::int64_t id = e.plantillas()[GetParam().posicion].id;
    GetParam().pasos(e, *bd, avisos);

    std::vector<std::string> entradas;
    for (const LineaMultifactura& l : e.lineas()) {
        entradas.push_back(l.valor);
    }
    EXPECT_EQ(entradas, GetParam().entradas);
    EXPECT_EQ(guardadas(id), GetParam().guardadas);
    EXPECT_EQ(avisos.mensajes, GetParam().mensajes);
}
INSTANTIATE_TEST_SUITE_P(Guiones, EditorMultifactura, ::testing::ValuesIn(kGuiones),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace trovanel
