#include "arranque.hpp"
#include "base_datos_programa.hpp"
#include "carpeta_programa.hpp"
#include "configuracion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdlib>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::RelojFijo;

struct CasoParametros {
    const char* linea;
    std::vector<std::string> esperados; // from index 1
};

class LeerParametrosTest : public ::testing::TestWithParam<CasoParametros> {};

TEST_P(LeerParametrosTest, separaPorTabuladoresYComas) {
    const auto& caso = GetParam();
    const auto parametros = LeerParametros(caso.linea, 10);
    ASSERT_FALSE(parametros.empty());
    EXPECT_EQ(parametros[0], "");
    EXPECT_EQ(std::vector<std::string>(parametros.begin() + 1, parametros.end()), caso.esperados);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LeerParametrosTest,
    ::testing::Values(
        CasoParametros{"", {}}, CasoParametros{",,\t,", {}},
        CasoParametros{"in.txt,out.bak,12,3,01022003,7", {"in.txt", "out.bak", "12", "3", "01022003", "7"}},
        // A blank belongs to the argument: paths may contain blanks.
        CasoParametros{"in.txt, out.bak,12", {"in.txt", " out.bak", "12"}},
        CasoParametros{"a,,b", {"a", "b"}}, CasoParametros{"a\tb,c", {"a", "b", "c"}},
        CasoParametros{"\"mi fichero.txt\",x", {"\"mi fichero.txt\"", "x"}},
        CasoParametros{"1,2,3,4,5,6,7,8,9,10,11,12", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}}));

TEST(LineaComandos, uneLosArgumentosConBlancos) {
    const char* argv[] = {"trovanel", "in.txt,", "out.bak,9"};
    EXPECT_EQ(unirLineaComandos(3, argv), "in.txt, out.bak,9");
    EXPECT_EQ(unirLineaComandos(1, argv), "");
}

TEST(CopiaDelDia, nombraLaCopiaSinCerosALaIzquierda) {
    EXPECT_EQ(rutaCopiaDelDia("/p", {2003, 3, 5}), std::filesystem::path("/p/532003.Copy"));
    // 1 November and 11 January share a name; kept as users know it.
    EXPECT_EQ(rutaCopiaDelDia("/p", {2003, 11, 1}), rutaCopiaDelDia("/p", {2003, 1, 11}));
    EXPECT_EQ(rutaCopiaDelDia("/p", {2026, 12, 31}), std::filesystem::path("/p/31122026.Copy"));
}

struct CasoPantalla {
    const char* display;
    const char* wayland;
    const char* plataforma;
    bool hay;
};

class PantallaTest : public ::testing::TestWithParam<CasoPantalla> {};

TEST_P(PantallaTest, laVentanaNecesitaUnaPantallaSalvoConUnaPlataformaQueNoLaUsa) {
    const auto& caso = GetParam();
    EXPECT_EQ(hayPantalla(caso.display, caso.wayland, caso.plataforma), caso.hay)
        << caso.display << "|" << caso.wayland << "|" << caso.plataforma;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PantallaTest,
    ::testing::Values(CasoPantalla{"", "", "", false}, CasoPantalla{":0", "", "", true},
                      CasoPantalla{"", "wayland-0", "", true}, CasoPantalla{"", "", "xcb", false},
                      CasoPantalla{"", "", "wayland-egl", false}, CasoPantalla{"", "", "offscreen", true},
                      CasoPantalla{"", "", "vnc:size=800x600", true},
                      CasoPantalla{"", "", "xcb;minimal", true}, CasoPantalla{"", "", "xcb;wayland", false},
                      CasoPantalla{"", "", ";", false}));

// How many rows a table of the database holds.
auto filas(BaseDatos& bd, const std::string& tabla) {
    auto consulta = bd.preparar("SELECT count(*) FROM " + tabla);
    EXPECT_TRUE(consulta.siguiente()) << tabla;
    return consulta.entero(0);
}

class ArranqueTest : public ::testing::Test {
protected:
    std::optional<BaseDatos> arrancar(const FechaHora& hoy = {2026, 12, 6, 9, 0, 0}) {
        reloj.momento = hoy;
        return abrirBaseDatosAlArrancar(configuracion, avisos, reloj, carpeta.ruta());
    }

    CarpetaTemporal carpeta;
    Configuracion configuracion;
    AvisosGrabados avisos;
    RelojFijo reloj;
};

TEST_F(ArranqueTest, creaLaBaseDeDatosConSusDatosInicialesAlPrimerArranque) {
    auto bd = arrancar();
    ASSERT_TRUE(bd);
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(configuracion.gRutaBDOrigen, carpeta / "Estructuras.db");
    EXPECT_EQ(filas(*bd, "estructura"), 9);
}

TEST_F(ArranqueTest, nuncaReescribeUnaBaseDeDatosExistente) {
    {
        auto bd = arrancar();
        ASSERT_TRUE(bd);
        bd->preparar("INSERT INTO estructura (tipo, descripcion) VALUES ('CSB19', 'Mia')").ejecutar();
    }
    auto bd = arrancar();
    ASSERT_TRUE(bd);
    auto consulta = bd->preparar("SELECT id_estructura FROM estructura WHERE descripcion = ?");
    consulta.con("Mia");
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_EQ(consulta.entero(0), 10);
}

TEST_F(ArranqueTest, haceLaCopiaDelDiaUnaSolaVezPorNombre) {
    arrancar({2003, 11, 1});
    const auto copia = carpeta / "1112003.Copy";
    ASSERT_TRUE(std::filesystem::exists(copia));
    EXPECT_EQ(configuracion.gRutaCopiaBD, copia);
    {
        auto deLaCopia = BaseDatos::abrir(copia, BaseDatos::Modo::SoloLectura);
        EXPECT_EQ(filas(deLaCopia, "CodigoPostal"), 52);
    }
    pruebas::escribirFichero(copia, "copia anterior");
    // 11 January of the same year shares the name: the copy already there stays.
    arrancar({2003, 1, 11});
    EXPECT_EQ(pruebas::leerFichero(copia), "copia anterior");
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST_F(ArranqueTest, avisaSiNoPuedeHacerLaCopiaYSigue) {
    // A dangling link under the copy's name: no copy exists, and none can be written there.
    std::filesystem::create_symlink(carpeta / "no-existe" / "copia", carpeta / "6122026.Copy");
    auto bd = arrancar({2026, 12, 6});
    ASSERT_TRUE(bd);
    EXPECT_EQ(
        avisos.mensajes,
        (std::vector<AvisosGrabados::Mensaje>{
            {"informacion", "No se puede crear copia de seguridad de la Base de datos\r\n"
                            "asegurese de que la Base de datos esta cerrada y vuelva a abrir el programa "
                            "si quiere que se genere la copia de seguridad"}}));
    EXPECT_EQ(filas(*bd, "estructura"), 9);
}

TEST_F(ArranqueTest, rechazaUnaSegundaInstanciaMientrasLaPrimeraTieneLaBaseDeDatos) {
    auto primera = arrancar();
    ASSERT_TRUE(primera);
    // Only who holds the database may take what is beside it for a killed start's.
    pruebas::escribirFichero(carpeta / "Estructuras.db.nueva-7", "");

    Configuracion otraConfiguracion;
    AvisosGrabados otrosAvisos;
    auto segunda = abrirBaseDatosAlArrancar(otraConfiguracion, otrosAvisos, reloj, carpeta.ruta());
    EXPECT_FALSE(segunda);
    EXPECT_EQ(otrosAvisos.mensajes,
              (std::vector<AvisosGrabados::Mensaje>{
                  {"critico", "Error: La base de datos está en uso por otro proceso"}}));
    EXPECT_TRUE(std::filesystem::exists(carpeta / "Estructuras.db.nueva-7"));

    primera.reset();
    EXPECT_TRUE(abrirBaseDatosAlArrancar(otraConfiguracion, otrosAvisos, reloj, carpeta.ruta()));
}

// A start killed half-way (by the file size limit's signal, as deadly as kill -9) while it builds the
// first database or makes the day's copy. The copy never bears its name until complete; the next start
// removes what the killed one left (not names that merely look alike) and makes the whole copy.
class ArranqueInterrumpidoDeathTest : public ArranqueTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ArranqueInterrumpidoDeathTest, elSiguienteArranqueQuitaLosRestosYHaceLaCopiaEntera) {
    if (GetParam()) {
        arrancar({2003, 11, 1}).reset();
    }
    pruebas::escribirFichero(carpeta / "Estructuras.db.nueva-12ab", "");
    const std::size_t antes = pruebas::entradasDe(carpeta.ruta());
    const auto interrumpido = [this] {
        const pruebas::LimiteTamanoFichero limite(32768); // half the database
        std::signal(SIGXFSZ, SIG_DFL);
        arrancar();
    };
    EXPECT_EXIT((interrumpido(), std::exit(0)), ::testing::KilledBySignal(SIGXFSZ), "");
    EXPECT_FALSE(std::filesystem::exists(carpeta / "6122026.Copy"));
    EXPECT_GT(pruebas::entradasDe(carpeta.ruta()), antes + !GetParam()); // what it was writing

    ASSERT_TRUE(arrancar());
    auto copia = BaseDatos::abrir(carpeta / "6122026.Copy", BaseDatos::Modo::SoloLectura);
    EXPECT_EQ(filas(copia, "estructura"), 9);
    // Besides: this copy; on a first start, the database and config.ini too.
    EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), antes + (GetParam() ? 1 : 3));
}

INSTANTIATE_TEST_SUITE_P(Casos, ArranqueInterrumpidoDeathTest, ::testing::Bool(), [](const auto& caso) {
    return std::string(caso.param ? "copia" : "primerArranque");
});

// The program folder as start-up finds it. A new or empty database (what an interrupted copy leaves) is
// created, with config.ini as a new installation has it, unless there is one; an existing config.ini is
// never rewritten, nor one removed later made again. A file that is not the program's database is the
// user's: refused as it stands, and nothing (day's copy, config.ini) is made of it.
struct CasoCarpeta {
    const char* nombre;
    const char* sql;     // builds the database; nullptr: the bytes below, or no file
    const char* bytes;   // nullptr: no file
    const char* config;  // config.ini before; nullptr: none
    const char* despues; // config.ini after; nullptr: none
    bool ajena;
};

class CarpetaTest : public ArranqueTest, public ::testing::WithParamInterface<CasoCarpeta> {};

TEST_P(CarpetaTest, alArrancarPreparaLaCarpetaORechazaUnaBaseAjenaSinTocarla) {
    const auto& caso = GetParam();
    const auto base = carpeta / "Estructuras.db";
    if (caso.sql != nullptr) {
        BaseDatos::abrir(base, BaseDatos::Modo::Creacion).ejecutarScript(caso.sql);
    } else if (caso.bytes != nullptr) {
        pruebas::escribirFichero(base, caso.bytes);
    }
    if (caso.config != nullptr) {
        pruebas::escribirFichero(carpeta / "config.ini", caso.config);
    }
    const std::string antes = caso.ajena ? pruebas::leerFichero(base) : "";
    auto bd = arrancar();
    EXPECT_EQ(bd.has_value(), !caso.ajena);
    if (caso.ajena) {
        EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{
                                       {"critico", "Error: La base de datos " + base.string() +
                                                       " no es la del programa; se ha dejado como estaba "
                                                       "(apártela para que el programa cree una nueva)"}}));
        EXPECT_EQ(pruebas::leerFichero(base), antes);
        EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), 1u);
        return;
    }
    EXPECT_TRUE(avisos.mensajes.empty());
    EXPECT_EQ(bd->tablas().size(), 7u);
    EXPECT_EQ(std::filesystem::exists(carpeta / "config.ini"), caso.despues != nullptr);
    if (caso.despues != nullptr) {
        EXPECT_EQ(pruebas::leerFichero(carpeta / "config.ini"), caso.despues);
    }
}

constexpr const char* kConfigNueva = "administrador=false\r\ncaracteres=false\r\n";
constexpr const char* kSinProvincias = "CREATE TABLE estructura (x); CREATE TABLE detalleestructura (x); "
                                       "CREATE TABLE multifactura (x); CREATE TABLE presentadores (x); "
                                       "CREATE TABLE emisores (x); CREATE TABLE USUARIOS (x)";

INSTANTIATE_TEST_SUITE_P(
    Casos, CarpetaTest,
    ::testing::Values(
        CasoCarpeta{"nueva", nullptr, nullptr, nullptr, kConfigNueva, false},
        CasoCarpeta{"vacia", nullptr, "", nullptr, kConfigNueva, false},
        CasoCarpeta{"configPrevia", nullptr, nullptr, "administrador=true\n", "administrador=true\n", false},
        CasoCarpeta{"texto", nullptr, "no soy una base de datos", nullptr, nullptr, true},
        CasoCarpeta{"otraBase", "CREATE TABLE clientes (nombre TEXT)", nullptr, nullptr, nullptr, true},
        CasoCarpeta{"sinProvincias", kSinProvincias, nullptr, nullptr, nullptr, true}),
    [](const auto& caso) { return std::string(caso.param.nombre); });

// A first start killed after the database took its name and before config.ini did: the next start
// writes it and removes what the killed one was writing (not a name that merely looks alike).
TEST_F(ArranqueTest, unConfigIniQueFaltaSeEscribeYSeQuitanSusRestos) {
    arrancar().reset();
    std::filesystem::remove(carpeta / "config.ini");
    pruebas::escribirFichero(carpeta / "config.ini.trovanel-Ab12Cd", "administr");
    pruebas::escribirFichero(carpeta / "config.ini.trovanel-mio", "mio");
    EXPECT_TRUE(arrancar());
    EXPECT_EQ(pruebas::leerFichero(carpeta / "config.ini"), kConfigNueva);
    EXPECT_FALSE(std::filesystem::exists(carpeta / "config.ini.trovanel-Ab12Cd"));
    EXPECT_TRUE(std::filesystem::exists(carpeta / "config.ini.trovanel-mio"));
    EXPECT_TRUE(avisos.mensajes.empty());
}

// The folder holds client names and accounts: made 0700 with every file the program writes there 0600,
// even with a umask that takes nothing away; a folder that was there keeps the mode its owner gave it.
TEST_F(ArranqueTest, unaCarpetaNuevaYCuantoElProgramaEscribeEnEllaSonSoloDelUsuario) {
    const auto nueva = carpeta / "datos" / "trovanel";
    const auto previa = carpeta / "previa";
    std::filesystem::create_directory(previa);
    std::filesystem::permissions(previa, std::filesystem::perms(0755));
    {
        // Given back however the block ends: a failed step must not leave the next tests without a umask.
        struct MascaraNula {
            mode_t anterior = ::umask(0);
            ~MascaraNula() { ::umask(anterior); }
        };
        const MascaraNula mascara;
        for (const auto& ruta : {nueva, previa}) {
            ASSERT_TRUE(prepararCarpetaPrograma(ruta, avisos));
            ASSERT_TRUE(abrirBaseDatosAlArrancar(configuracion, avisos, reloj, ruta));
            ASSERT_TRUE(guardarCarpetaReciente(ruta, "entrada", carpeta.ruta()));
        }
    }
    const auto modo = [](const std::filesystem::path& ruta) {
        return static_cast<int>(std::filesystem::status(ruta).permissions());
    };
    EXPECT_EQ(modo(nueva), 0700);
    EXPECT_EQ(modo(previa), 0755);
    for (const auto& ruta : {nueva, previa}) {
        EXPECT_EQ(pruebas::entradasDe(ruta), 4u) << ruta; // database, day's copy, config.ini, example
        for (const auto& fichero : std::filesystem::directory_iterator(ruta)) {
            EXPECT_EQ(modo(fichero.path()), 0600) << fichero.path();
        }
    }
    EXPECT_TRUE(avisos.mensajes.empty());
}

// A database that is no file of the program's, linked to or not, is told and left as it is.
TEST_F(ArranqueTest, unaBaseDeDatosQueEsUnEnlaceRotoOANadaQueSeaSuyaLoDiceYLaDeja) {
    const auto bd = carpeta / "Estructuras.db";
    const struct {
        const char* destino; // what the link points at; "": a FIFO named as the database
        const char* motivo;
    } filas[] = {{"no-existe.db", " es un enlace a un fichero que no existe"},
                 {"/dev/null", " no es un fichero regular"},
                 {"fifo", " no es un fichero regular"},
                 {"", " no es un fichero regular"},
                 {"vacio.db", " es un enlace a un fichero vacío"}};
    ASSERT_EQ(::mkfifo((carpeta / "fifo").c_str(), 0600), 0);
    pruebas::escribirFichero(carpeta / "vacio.db", "");
    for (const auto& fila : filas) {
        avisos.mensajes.clear();
        std::filesystem::remove(bd);
        if (*fila.destino != 0) {
            std::filesystem::create_symlink(
                fila.destino[0] == '/' ? std::filesystem::path(fila.destino) : carpeta / fila.destino, bd);
        } else {
            ASSERT_EQ(::mkfifo(bd.c_str(), 0600), 0);
        }
        EXPECT_FALSE(arrancar());
        EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{
                                       {"critico", "Error: La base de datos " + bd.string() + fila.motivo}}));
        EXPECT_EQ(std::filesystem::is_symlink(bd), *fila.destino != 0) << fila.destino;
    }
    EXPECT_FALSE(std::filesystem::exists(carpeta / "no-existe.db"));
    EXPECT_EQ(std::filesystem::file_size(carpeta / "vacio.db"), 0u);
}

TEST_F(ArranqueTest, informaCuandoNoPuedeCrearLaBaseDeDatos) {
    auto bd = abrirBaseDatosAlArrancar(configuracion, avisos, reloj, carpeta / "no-existe");
    EXPECT_FALSE(bd);
    ASSERT_EQ(avisos.mensajes.size(), 1u);
    EXPECT_EQ(avisos.mensajes[0].tipo, "critico");
    EXPECT_TRUE(avisos.mensajes[0].texto.starts_with("Error: "));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "no-existe"));
}

} // namespace
} // namespace trovanel
