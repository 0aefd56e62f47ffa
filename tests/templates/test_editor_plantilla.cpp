#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "editor_plantilla.hpp"
#include "entradas_filas.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CampoPlantilla;
using Mensaje = AvisosGrabados::Mensaje;

// What each kind of editor is expected to do differently; every test runs once per kind.
struct Clase {
    TipoEntrada entrada;
    const char* nombre;
    const char* sufijo;
    bool colocaConFin;   // a row with inicio 0 and fin 5 is placed
    bool compruebaAncho; // placing refuses a width beyond the length, and a postal code not 5 wide
    bool recorta;        // amount and sign values shown trimmed
};
const Clase kClases[] = {{TipoEntrada::Texto, "Texto", "", false, true, true},
                         {TipoEntrada::Excel, "Excel", "Ex", true, true, false},
                         {TipoEntrada::Access, "Access", "Ac", true, false, false}};

const std::string kBlancos(14, ' ');
const char* kLongitud = "La longitud del campo no es correcta";

class EditorPorClase : public ::testing::TestWithParam<Clase> {
protected:
    EditorPorClase() {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        bd.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        // Row 1 of the sheet and the table: column c (A = 1) holds c characters, so a cell gives a width.
        pruebas::FilasPrueba filas(1);
        std::vector<std::string> columnas;
        for (int c = 1; c <= kColumnasVista; ++c) {
            filas[0].push_back(std::string(static_cast<std::size_t>(c), 'x'));
            columnas.push_back(std::string(1, static_cast<char>('A' + c - 1)));
        }
        pruebas::escribirHojaXlsx(carpeta / "libro.xlsx", "Hoja1", filas);
        pruebas::escribirTablaSqlite(carpeta / "origen.sqlite", "Uno", columnas, filas);
        pruebas::escribirTablaSqlite(carpeta / "origen.sqlite", "Dos", {"Z"}, {});
    }

    // An editor of the kind on template id, its source open.
    EditorPlantilla& editor(std::optional<std::int64_t> id = std::nullopt) {
        e.emplace(GetParam().entrada, *bd, avisos);
        e->abrir();
        if (GetParam().entrada == TipoEntrada::Excel) {
            e->abrirLibro(carpeta / "libro.xlsx");
        } else if (GetParam().entrada == TipoEntrada::Access) {
            e->AbrirBaseDatos(carpeta / "origen.sqlite");
        }
        if (id) {
            const auto& lista = e->plantillas();
            const auto it =
                std::find_if(lista.begin(), lista.end(), [&](const auto& p) { return p.id == *id; });
            EXPECT_TRUE(it != lista.end() &&
                        e->cbEstructuras_Click(static_cast<std::size_t>(it - lista.begin())));
        }
        avisos.mensajes.clear();
        return *e;
    }

    // Puts in the source boxes a place of that width: positions 10 on (text), the cell of row 1 of that
    // width (Excel), the column of that letter (Access).
    void situar(int ancho) {
        if (GetParam().entrada == TipoEntrada::Texto) {
            e->cajas.iniCampo = "10";
            e->cajas.finCampo = std::to_string(9 + ancho);
        } else if (GetParam().entrada == TipoEntrada::Excel) {
            e->GridExcel_SeleccionCelda(1, ancho);
        } else {
            e->cbCampos_Click(static_cast<std::size_t>(ancho - 1));
        }
    }

    static std::optional<std::size_t> posicion(const std::vector<std::size_t>& lista, std::size_t idCampo) {
        const auto it = std::find(lista.begin(), lista.end(), idCampo);
        return it == lista.end() ? std::nullopt : std::optional(static_cast<std::size_t>(it - lista.begin()));
    }
    // Places field idCampo at a place of that width.
    void colocar(std::size_t idCampo, int ancho) {
        e->lbCampos_Click(posicion(e->sinColocar(), idCampo).value());
        situar(ancho);
        e->cmdAgregar_Click();
    }
    void pulsarColocado(std::size_t idCampo) {
        e->lbCamposAgregados_Click(posicion(e->colocados(), idCampo).value());
    }
    const CampoEstructura& campo(std::size_t idCampo) { return e->plantilla().campos.at(idCampo); }

    std::int64_t plantilla(const std::string& tipo, const std::vector<CampoPlantilla>& campos,
                           const std::string& descripcion = "prueba") {
        return pruebas::ConstructorPlantilla(*bd).tipo(tipo).descripcion(descripcion).campos(campos).crear();
    }
    static CampoPlantilla c(const std::string& nombre, int longitud, bool obligatorio = false) {
        return {.campo = nombre, .obligatorio = obligatorio, .longitud = longitud};
    }

    std::int64_t contar(const std::string& sql, std::int64_t id) {
        auto consulta = bd->preparar(sql);
        consulta.con(id);
        consulta.siguiente();
        return consulta.entero(0);
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> bd;
    AvisosGrabados avisos;
    std::optional<EditorPlantilla> e;
};

// --- loading

// Field 4 is placed as the sheet editor places it: fin 1 beside the inicio of a text template.
TEST_P(EditorPorClase, cargaLasFilasPorIdCampoConHuecosNulosSinIdsNegativosYColocadasComoEnUnaHoja) {
    const auto id = plantilla("CSB19Ex", {{.campo = "CodigoReferencia", .obligatorio = true},
                                          {.campo = "Importe", .fin = 5, .longitud = 15}});
    bd->preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin) VALUES "
                 "(?, 3, NULL, NULL, NULL), (?, -1, 'Oculto', 1, 2), (?, 4, 'NombreTitular', 13, 1)")
        .con(id, id, id)
        .ejecutar();
    bd->preparar("UPDATE estructura SET principiolinea = NULL WHERE id_estructura = ?").con(id).ejecutar();
    auto& ed = editor(id);

    EXPECT_EQ(ed.tipoEstructura(), std::string("CSB19") + GetParam().sufijo);
    EXPECT_EQ(ed.principioLinea(), -1);
    EXPECT_EQ(ed.plantilla().campos.size(), 5u);
    EXPECT_EQ(ed.plantilla().conFila, (std::vector<bool>{true, true, false, true, true}));
    EXPECT_EQ(ed.textoEntrada(0), "0-CodigoReferencia (obligatorio)");
    EXPECT_EQ(ed.textoEntrada(1), "1-Importe" + kBlancos);
    EXPECT_EQ(ed.textoEntrada(3), "3-" + kBlancos);
    EXPECT_EQ(ed.textoEntrada(4), "4-NombreTitular" + kBlancos);
    using V = std::vector<std::size_t>;
    EXPECT_EQ(ed.sinColocar(), GetParam().colocaConFin ? (V{0, 3}) : (V{0, 1, 3}));
    EXPECT_EQ(ed.colocados(), GetParam().colocaConFin ? (V{1, 4}) : V{4});
    EXPECT_TRUE(ed.borrarDisponible());
    EXPECT_EQ(ed.cajas.id, std::to_string(id));
}

TEST_P(EditorPorClase, abrirCargaLaPrimeraYLasProtegidasNoSeBorranNiModifican) {
    auto& ed = editor();
    EXPECT_EQ(ed.plantilla().id, 1);
    ASSERT_TRUE(ed.cbEstructuras_Click(8)); // id 9
    EXPECT_FALSE(ed.borrarDisponible());
    // An edit that the commit would refuse (too wide, no column) is not told before the name's checks.
    colocar(7, 2);
    pulsarColocado(7);
    situar(13);
    ed.cajas.columna.clear();
    ed.cmdAceptar_Click();
    ed.cmdBorrar_Click();
    ed.cajas.nombre = "Mi-copia";
    ed.cmdAceptar_Click();
    EXPECT_EQ(avisos.mensajes,
              (std::vector<Mensaje>{{"informacion", "Falta nombre de Plantilla"},
                                    {"simple", "El nombre de la plantilla no puede contener un guión"}}));
    EXPECT_EQ(contar("SELECT count(*) FROM estructura WHERE id_estructura = ?", 9), 1);
}

TEST_P(EditorPorClase, unaCargaFallidaConservaLaPlantillaEnMano) {
    auto& ed = editor(7);
    bd->ejecutarScript("ALTER TABLE detalleestructura RENAME TO rota");
    EXPECT_FALSE(ed.cbEstructuras_Click(0));
    EXPECT_EQ(ed.plantilla().id, 7);
    EXPECT_EQ(ed.posicionCargada(), 6u);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].texto.rfind("No se pueden cargar los campos de la plantilla; Error: ", 0),
              0u);
}

TEST_P(EditorPorClase, unaPlantillaConPosicionesQueNingunEditorEscribeNoSeCarga) {
    const struct {
        const char* cambio;
        const char* motivo;
    } filas[] = {{"fin = 9223372036854775807", "El campo 0-CodigoReferencia tiene fin 9223372036854775807"},
                 {"valorcampo = 'A' || char(0)",
                  "El campo 0-CodigoReferencia tiene en valorcampo un carácter de control (código 0)"}};
    for (const auto& fila : filas) {
        const auto id = plantilla("CSB19", {{.campo = "CodigoReferencia", .inicio = 1, .fin = 12}});
        bd->preparar(std::string("UPDATE detalleestructura SET ") + fila.cambio + " WHERE id_estructura = ?")
            .con(id)
            .ejecutar();
        auto& ed = editor(7);
        const auto& lista = ed.plantillas();
        const auto it = std::find_if(lista.begin(), lista.end(), [&](const auto& p) { return p.id == id; });
        ASSERT_TRUE(it != lista.end());
        EXPECT_FALSE(ed.cbEstructuras_Click(static_cast<std::size_t>(it - lista.begin())));
        EXPECT_EQ(ed.plantilla().id, 7);
        ASSERT_EQ(avisos.mensajes.size(), 1u);
        EXPECT_EQ(avisos.mensajes[0].tipo, "informacion");
        EXPECT_TRUE(avisos.mensajes[0].texto.starts_with(std::string("Por favor revise la plantilla.\r\n") +
                                                         fila.motivo))
            << avisos.mensajes[0].texto;
    }
}

// A marker of negative amounts holding a control character is stored neither as a new template nor over
// the one in hand.
TEST_P(EditorPorClase, unValorConCaracterDeControlNoSeGuarda) {
    const auto id = plantilla("CSB34C", {c("Importe", 12)});
    for (const char* nombre : {"Copia", ""}) {
        auto& ed = editor(id);
        ed.lbCampos_Click(0);
        situar(5);
        ed.cajas.valNegativo = "-\x1b";
        ed.cmdAgregar_Click();
        ed.cajas.nombre = nombre;
        avisos.respuestas = {true};
        ed.cmdAceptar_Click();
        EXPECT_EQ(avisos.mensajes.back(),
                  (Mensaje{"informacion", "Por favor revise la plantilla.\r\nEl campo 0-Importe tiene en "
                                          "valorcampo un carácter de control (código 27)"}));
        EXPECT_EQ(contar("SELECT count(*) FROM estructura WHERE id_estructura > ?", id), 0);
        EXPECT_EQ(contar("SELECT fin FROM detalleestructura WHERE id_estructura = ? AND id_campo = 0", id),
                  0);
    }
}

// --- showing a field

TEST_P(EditorPorClase, mostrarEnseñaLosControlesDeSuClaseYSusValores) {
    const auto id = plantilla("CSB34C", {{"Importe", 0, 0, " - "},
                                         {"SignoNegativo", 0, 0, " N "},
                                         {"FormaPago", 0, 0, "C--P"},
                                         {"FechaVto", 0, 0, "AAAAMMDD"}});
    auto& ed = editor(id);
    const std::string n = GetParam().recorta ? "N" : " N ";
    ed.lbCampos_Click(0);
    EXPECT_TRUE(ed.visibilidad().valNegativo && ed.visibilidad().labSigno && !ed.visibilidad().negativo);
    EXPECT_EQ(ed.cajas.valNegativo, GetParam().recorta ? "-" : " - ");
    ed.lbCampos_Click(1);
    EXPECT_TRUE(ed.visibilidad().negativo && ed.visibilidad().labValorNegativo && !ed.visibilidad().labSigno);
    EXPECT_EQ(ed.cajas.negativo, n);
    ed.lbCampos_Click(2);
    EXPECT_TRUE(ed.visibilidad().formasPago && !ed.visibilidad().negativo);
    EXPECT_EQ(ed.cajas.idCheque + "|" + ed.cajas.idTransf + "|" + ed.cajas.idPagoCertif, "C||P");
    ed.lbCampos_Click(3);
    EXPECT_TRUE(ed.visibilidad().fecha && !ed.visibilidad().formasPago);
    EXPECT_EQ(ed.cajas.fecha, 3);
    // Transfers carry no sign: the amount shows no marker box.
    bd->preparar("UPDATE estructura SET tipo = 'CSB34T' WHERE id_estructura = ?").con(id).ejecutar();
    ed.cbEstructuras_Click(*ed.posicionCargada());
    ed.lbCampos_Click(0);
    EXPECT_FALSE(ed.visibilidad().valNegativo || ed.visibilidad().labValorNegativo);
}

// --- placing and removing

TEST_P(EditorPorClase, colocarCompruebaAnchoCodigoPostalYFormaDePago) {
    const auto id = plantilla(
        "ZOP", {c("Nombre", 5), c("CP", 10), c("FormaPago", 3), c("Importe", 15), c("Importe2", 15)});
    auto& ed = editor(id);
    colocar(0, 6);
    colocar(1, 4);
    colocar(2, 3); // no identifier given
    const bool c = GetParam().compruebaAncho;
    std::vector<Mensaje> esperados;
    if (c) {
        esperados = {{"critico", kLongitud}, {"informacion", "El Código Postal tiene que tener longitud 5"}};
    }
    esperados.push_back({"informacion", "Debe especificar, al menos, una forma de pago"});
    EXPECT_EQ(avisos.mensajes, esperados);
    EXPECT_EQ(ed.colocados(), c ? std::vector<std::size_t>{} : (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(campo(2).fin, 0);
    EXPECT_EQ(campo(2).valorcampo, "");

    ed.cajas.idTransf = "2";
    ed.cajas.valNegativo = "-";
    colocar(2, 3);
    EXPECT_EQ(campo(2).valorcampo, "-2-");
    EXPECT_EQ(campo(3).valorcampo, "-");
    EXPECT_EQ(campo(4).valorcampo, "-");
    EXPECT_EQ(ed.cajas.idTransf, "");
    const bool texto = GetParam().entrada == TipoEntrada::Texto;
    EXPECT_EQ(campo(2).inicio, texto ? 10 : 0);
    EXPECT_EQ(campo(2).fin, texto ? 12 : 1);
    EXPECT_EQ(campo(2).valorlinea, texto ? "" : "C");
}

TEST_P(EditorPorClase, quitarTodosDevuelveLosColocadosEnOrdenInversoYQuitarUnoLimpiaSuValor) {
    const auto id =
        plantilla("CSB34C", {c("A", 9), {"Importe", 1, 1, "-"}, c("B", 9), {"FormaPago", 2, 2, "1--3"}});
    auto& ed = editor(id);
    colocar(2, 3);
    EXPECT_EQ(ed.colocados(), (std::vector<std::size_t>{1, 3, 2}));
    pulsarColocado(3);
    ed.Command3_Click();
    EXPECT_EQ(campo(3).valorcampo, "");
    EXPECT_EQ(ed.cajas.idCheque, "");
    ed.cmdTodos_Click();
    EXPECT_EQ(ed.sinColocar(), (std::vector<std::size_t>{0, 3, 2, 1}));
    EXPECT_EQ(campo(1).valorcampo, "");
    EXPECT_EQ(campo(2).fin, 0);
    EXPECT_EQ(campo(2).valorlinea, "");
}

// --- editing a placed field

TEST_P(EditorPorClase, pulsarOtroColocadoEscribeElEditadoYNuncaEnOtroCampo) {
    const auto id = plantilla("ZOP", {c("A", 4), c("B", 4), c("FormaPago", 3), c("Entidad", 4)});
    auto& ed = editor(id);
    colocar(0, 2);
    colocar(1, 2);
    pulsarColocado(0);
    situar(3);
    pulsarColocado(1); // commits A
    EXPECT_EQ(campo(0).fin, GetParam().entrada == TipoEntrada::Texto ? 12 : 1);
    EXPECT_EQ(campo(0).valorlinea, GetParam().entrada == TipoEntrada::Texto ? "" : "C");

    // B is being edited; it is removed and A pressed: A must not receive B's boxes.
    const CampoEstructura antesA = campo(0);
    situar(4);
    ed.Command3_Click();
    EXPECT_FALSE(ed.campoEditado());
    situar(4);
    pulsarColocado(0);
    EXPECT_EQ(campo(0).valorlinea, antesA.valorlinea);
    EXPECT_EQ(campo(0).fin, antesA.fin);

    // A payment form with only a transfer identifier makes the account fields mandatory.
    ed.cajas.idTransf = "T";
    colocar(2, 3);
    EXPECT_FALSE(campo(3).obligatorio);
    pulsarColocado(2);
    ed.cajas.idCheque.clear();
    ed.cajas.idTransf = "T";
    pulsarColocado(0);
    EXPECT_EQ(campo(2).valorcampo, "-T-");
    EXPECT_TRUE(campo(3).obligatorio);
}

// --- storing and deleting

TEST_P(EditorPorClase, unaPlantillaNuevaLlevaElTipoBaseConElSufijoDelEditorYUnIdNuevo) {
    const auto origen = plantilla("CSB19Ex", {c("CodigoReferencia", 12, true), c("Importe", 15)});
    bd->preparar("INSERT INTO multifactura (id_estructura, campos, valor) VALUES (?, 'Importe', '02')")
        .con(origen)
        .ejecutar();
    auto& ed = editor(origen);
    ed.cmdBorrar_Click(); // not confirmed
    avisos.respuestas = {true};
    ed.cmdBorrar_Click();
    EXPECT_EQ(contar("SELECT count(*) FROM detalleestructura WHERE id_estructura = ?", origen), 2);
    EXPECT_EQ(contar("SELECT count(*) FROM multifactura WHERE id_estructura = ?", origen), 1);
    ASSERT_EQ(ed.plantilla().id, 1);

    // A template stored by the Excel editor, copied in each editor.
    const auto copia = plantilla("CSB19Ex", {c("CodigoReferencia", 12, true)});
    auto& otro = editor(copia);
    otro.cajas.nombre = "Mi-plantilla";
    otro.cmdAceptar_Click();
    EXPECT_EQ(otro.cajas.nombre, "Mi-plantilla");
    otro.cajas.nombre = " Nueva ";
    avisos.respuestas = {true}; // fill the missing fields now: nothing is stored
    otro.cmdAceptar_Click();
    EXPECT_EQ(otro.cajas.nombre, "");
    otro.cajas.nombre = " Nueva ";
    otro.cmdAceptar_Click();
    const std::string faltan =
        "No ha definido los siguientes campos obligatorios, o su longitud es 0. \r\n\r\n"
        "CodigoReferencia\r\n\r\n¿Desea rellenarlos ahora?";
    EXPECT_EQ(avisos.mensajes,
              (std::vector<Mensaje>{{"simple", "El nombre de la plantilla no puede contener un guión"},
                                    {"pregunta", faltan},
                                    {"pregunta", faltan},
                                    {"informacion", "La plantilla ha sido guardada"}}));
    auto fila = bd->preparar("SELECT id_estructura, tipo, descripcion, multifactura FROM estructura "
                             "ORDER BY id_estructura DESC LIMIT 1");
    ASSERT_TRUE(fila.siguiente());
    // Ids are never given again: the deleted template's rows can never belong to the new one.
    EXPECT_EQ(fila.entero(0), copia + 1);
    EXPECT_EQ(fila.texto(1), std::string("CSB19") + GetParam().sufijo);
    EXPECT_EQ(fila.texto(2), " Nueva ");
    EXPECT_EQ(fila.entero(3), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM detalleestructura WHERE id_estructura = ?", copia + 1), 1);
    EXPECT_EQ(otro.plantilla().id, 1);
    EXPECT_EQ(otro.cajas.fecha, 0);
}

TEST_P(EditorPorClase, modificarEscribeLaColocacionYAvisaDeLoQueFalta) {
    const auto id = plantilla(
        "CSB34C", {c("CPBeneficiario", 5), c("Importe", 15, true), c("ClaveBeneficiario", 12, true)},
        "Cheques");
    auto& ed = editor(id);
    colocar(0, 5);
    ed.cmdAceptar_Click(); // not confirmed
    avisos.respuestas = {true};
    ed.cmdAceptar_Click();
    auto fila =
        bd->preparar("SELECT d.inicio, d.fin, d.valorlinea, e.tipo, e.descripcion FROM detalleestructura d "
                     "JOIN estructura e USING (id_estructura) WHERE id_estructura = ? AND id_campo = 0");
    fila.con(id);
    ASSERT_TRUE(fila.siguiente());
    EXPECT_EQ(fila.entero(1), campo(0).fin);
    EXPECT_EQ(fila.texto(2), campo(0).valorlinea);
    EXPECT_EQ(fila.texto(3) + "/" + fila.texto(4), "CSB34C/Cheques");
    const std::string abre = GetParam().entrada == TipoEntrada::Texto
                                 ? "No ha definido los siguientes campos obligatorios, o su longitud es 0. "
                                 : "No ha definido los siguientes campos obligatorios. ";
    EXPECT_EQ(avisos.mensajes,
              (std::vector<Mensaje>{{"pregunta", "¿Desea modificar la plantilla?"},
                                    {"pregunta", "¿Desea modificar la plantilla?"},
                                    {"pregunta", abre + "\r\n\r\nImporte\r\nClaveBeneficiario\r\n\r\n"
                                                        "¿Desea rellenarlos ahora?"}}));
    // A modify of a template deleted meanwhile fails and says so.
    avisos.mensajes.clear();
    bd->preparar("DELETE FROM estructura WHERE id_estructura = ?").con(id).ejecutar();
    avisos.respuestas = {true};
    ed.cmdAceptar_Click();
    EXPECT_EQ(avisos.mensajes.back(),
              (Mensaje{"simple", "No se puede modificar la plantilla; Error: La plantilla no existe"}));
}

TEST_P(EditorPorClase, aceptarEscribePrimeroElCampoEnEdicionYSiSeRechazaNoGuardaNada) {
    const auto id = plantilla("CSB19", {c("A", 3), c("B", 9)});
    auto& ed = editor(id);
    colocar(0, 2);
    pulsarColocado(0);
    situar(3);
    avisos.respuestas = {true};
    ed.cmdAceptar_Click();
    EXPECT_EQ(contar("SELECT fin FROM detalleestructura WHERE id_estructura = ? AND id_campo = 0", id),
              GetParam().entrada == TipoEntrada::Texto ? 12 : 1);
    if (GetParam().entrada != TipoEntrada::Texto) {
        EXPECT_EQ(campo(0).valorlinea, "C");
    }
    // A commit refused (too wide, or no column) stores nothing and asks nothing.
    avisos.mensajes.clear();
    if (GetParam().entrada == TipoEntrada::Texto) {
        situar(4);
    } else {
        ed.cajas.columna = " ";
    }
    ed.cmdAceptar_Click();
    EXPECT_EQ(avisos.mensajes, (std::vector<Mensaje>{{"critico", kLongitud}}));
}

// Field A placed, B chosen to place, A pressed, B placed with ">" elsewhere: after ">" nothing is being
// edited, so "&Aceptar" stores A where it was, modifying in place or as a new template.
TEST_P(EditorPorClase, colocarTerminaLaEdicionDelColocadoPulsadoYAceptarGuardaLoColocado) {
    const bool texto = GetParam().entrada == TipoEntrada::Texto;
    for (const char* nombre : {"", "Copia"}) {
        const auto id = plantilla("CSB19", {c("A", 3), c("B", 9)});
        auto& ed = editor(id);
        colocar(0, 2);
        ed.lbCampos_Click(0);
        pulsarColocado(0);
        situar(3);
        ed.cmdAgregar_Click();
        EXPECT_FALSE(ed.campoEditado());
        ed.cajas.nombre = nombre;
        avisos.respuestas = {true};
        ed.cmdAceptar_Click();
        const auto guardada =
            *nombre != 0 ? contar("SELECT max(id_estructura) FROM estructura WHERE id_estructura >= ?", id)
                         : id;
        auto filas =
            bd->preparar("SELECT group_concat(id_campo || ':' || fin || valorlinea, ' ') FROM "
                         "(SELECT * FROM detalleestructura WHERE id_estructura = ? ORDER BY id_campo)");
        filas.con(guardada);
        ASSERT_TRUE(filas.siguiente());
        EXPECT_EQ(filas.texto(0), texto ? "0:11 1:12" : "0:1B 1:1C") << nombre;
    }
}

// Each write is one transaction: a failure midway leaves the database as it was and is reported.
TEST_P(EditorPorClase, guardarModificarYBorrarFallidosNoDejanNadaAMedias) {
    const auto id = plantilla("CSB19", {c("A", 3), c("B", 3)});
    bd->ejecutarScript(
        "CREATE TRIGGER f1 BEFORE INSERT ON detalleestructura WHEN NEW.id_campo = 1 BEGIN SELECT "
        "RAISE(ABORT, "
        "'fallo provocado'); END; CREATE TRIGGER f2 BEFORE UPDATE ON detalleestructura WHEN NEW.id_campo = 1 "
        "BEGIN SELECT RAISE(ABORT, 'fallo provocado'); END; CREATE TRIGGER f3 BEFORE DELETE ON estructura "
        "BEGIN SELECT RAISE(ABORT, 'fallo provocado'); END;");
    auto& ed = editor(id);
    ed.cajas.nombre = "Copia";
    ed.cmdAceptar_Click();
    EXPECT_EQ(contar("SELECT count(*) FROM estructura WHERE id_estructura > ?", id), 0);
    colocar(0, 2);
    if (GetParam().entrada == TipoEntrada::Texto) {
        ed.lbCampos_Click(0);
        situar(2);
        ed.cajas.principioOrden = true;
        ed.cmdAgregar_Click();
        EXPECT_EQ(ed.principioLinea(), 1);
    }
    avisos.respuestas = {true, true};
    ed.cmdAceptar_Click();
    ed.cmdBorrar_Click();
    EXPECT_EQ(contar("SELECT principiolinea FROM estructura WHERE id_estructura = ?", id), -1);
    EXPECT_EQ(contar("SELECT fin FROM detalleestructura WHERE id_estructura = ? AND id_campo = 0", id), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM estructura WHERE id_estructura = ?", id), 1);
    EXPECT_EQ(avisos.mensajes,
              (std::vector<Mensaje>{{"critico", "No se pueden guardar la plantilla; Error: fallo provocado"},
                                    {"pregunta", "¿Desea modificar la plantilla?"},
                                    {"simple", "No se puede modificar la plantilla; Error: fallo provocado"},
                                    {"pregunta", "¿Desea borrar la plantilla prueba (CSB19)?"},
                                    {"critico", "No se puede borrar la plantilla; Error: fallo provocado"}}));
    EXPECT_EQ(ed.plantilla().id, id);
}

// --- sources

// The Excel and Access editors only: the text editor has no source.
class OrigenPorClase : public EditorPorClase {};

TEST_P(OrigenPorClase, unOrigenQueNoSeAbreAvisaYNoCambiaNadaComoUnDialogoCancelado) {
    auto& ed = editor(7);
    const bool excel = GetParam().entrada == TipoEntrada::Excel;
    const auto abrir = [&](const std::filesystem::path& r) {
        return excel ? ed.abrirLibro(r) : ed.AbrirBaseDatos(r);
    };
    const auto antes = excel ? ed.hojas() : ed.tablas();
    EXPECT_FALSE(abrir(""));
    pruebas::escribirFichero(carpeta / "roto.xlsx", "no es nada");
    EXPECT_FALSE(abrir(carpeta / "roto.xlsx"));
    EXPECT_EQ(excel ? ed.hojas() : ed.tablas(), antes);
    EXPECT_TRUE(ed.origenAbierto());
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    EXPECT_EQ(avisos.mensajes[0].texto.rfind("Error: ", 0), 0u);
    if (excel) {
        EXPECT_EQ(ed.vista()[0][2], "xxx");
        EXPECT_EQ(ed.vista().size(), 19u);
        ed.GridExcel_SeleccionCelda(3, 0);
        EXPECT_EQ(ed.cajas.columna, "");
    } else {
        // Placed fields come from one table.
        colocar(0, 1);
        ed.cbTablas_Click(1);
        EXPECT_EQ(ed.cajas.columna, "Z");
        ed.lbCampos_Click(0);
        ed.cmdAgregar_Click();
        EXPECT_EQ(avisos.mensajes.back(),
                  (Mensaje{"simple", "No se pueden coger datos de distintas tablas"}));
        ed.cmdTodos_Click();
        colocar(0, 1);
        EXPECT_EQ(ed.tabla(), "Dos");
    }
    ed.cerrarOrigen();
    EXPECT_FALSE(ed.origenAbierto());
}

const auto nombreClase = [](const auto& info) { return std::string(info.param.nombre); };
INSTANTIATE_TEST_SUITE_P(Clases, EditorPorClase, ::testing::ValuesIn(kClases), nombreClase);
INSTANTIATE_TEST_SUITE_P(Clases, OrigenPorClase, ::testing::ValuesIn(kClases + 1, kClases + 3), nombreClase);

} // namespace
} // namespace trovanel
