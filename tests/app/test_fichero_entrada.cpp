// The one check of every input the program reads: what is not a regular file is refused before it is
// read, with the reader's own message and the path, and nothing is written. Each case runs in a child
// that an alarm ends, so an open or a read that never ends fails the test instead of hanging it.
#include "arranque.hpp"
#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "fichero_entrada.hpp"
#include "importacion_cuentas.hpp"
#include "intercambio.hpp"
#include "libro_excel.hpp"
#include "modo_lote.hpp"
#include "origen_access.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <ostream>
#include <tuple>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;

// What the child answers, or nothing when it did not (it hung until the alarm, or died).
std::optional<std::string> conPlazo(const std::function<std::string()>& paso) {
    int tubo[2];
    if (::pipe(tubo) != 0) {
        return std::nullopt;
    }
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        ::close(tubo[0]);
        ::alarm(3);
        std::string respuesta;
        try {
            respuesta = paso();
        } catch (const std::exception& e) {
            respuesta = std::string("excepción: ") + e.what();
        }
        const bool escrito =
            ::write(tubo[1], respuesta.data(), respuesta.size()) == static_cast<ssize_t>(respuesta.size());
        ::_exit(escrito ? 0 : 1);
    }
    ::close(tubo[1]);
    std::string respuesta;
    char bloque[4096];
    for (ssize_t n; (n = ::read(tubo[0], bloque, sizeof bloque)) > 0;) {
        respuesta.append(bloque, static_cast<std::size_t>(n));
    }
    ::close(tubo[0]);
    int estado = 0;
    ::waitpid(hijo, &estado, 0);
    if (hijo < 0 || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
        return std::nullopt;
    }
    return respuesta;
}

// A reader of the program: its extension, its own message and what the user reads when it fails.
struct Lector {
    const char* nombre;
    const char* extension;
    const char* mensaje;
    std::function<std::string(const fs::path& carpeta, const fs::path& ruta)> leer;
};

std::string mensajeDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const ErrorTrovanel& e) {
        return e.what();
    }
    return "leído";
}

BaseDatos basePrograma(const fs::path& carpeta) {
    return BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
}

const Lector kLectores[] = {
    // Batch mode with the example template: exit 1 and the message, nothing else.
    {"conversionDeTexto", ".txt", kNoSeAbreEntrada,
     [](const fs::path& carpeta, const fs::path& ruta) {
         BaseDatos bd = basePrograma(carpeta);
         AvisosGrabados avisos;
         pruebas::RelojFijo reloj;
         Entorno entorno{bd, avisos, reloj, carpeta};
         RegistroConversores registro;
         registrarConversores(registro);
         const int salida = ejecutarModoLote(
             entorno, registro,
             {"", ruta.string(), (carpeta / "remesa.out").string(), "9", "1", "05032026", "1"});
         return std::to_string(salida) + " " + (avisos.mensajes.empty() ? "" : avisos.mensajes[0].texto);
     }},
    // A workbook of either format: its signature is never read.
    {"libroExcel", ".xls", kNoSeAbreEntrada,
     [](const fs::path&, const fs::path& ruta) { return mensajeDe([&] { abrirLibroExcel(ruta); }); }},
    {"sqlite", ".db", "No se puede abrir la base de datos",
     [](const fs::path&, const fs::path& ruta) { return mensajeDe([&] { abrirOrigenAccess(ruta); }); }},
    {"access", ".mdb", "No se puede abrir la base de datos",
     [](const fs::path&, const fs::path& ruta) { return mensajeDe([&] { abrirOrigenAccess(ruta); }); }},
    {"intercambio", ".txt", "No se puede abrir el fichero a importar",
     [](const fs::path& carpeta, const fs::path& ruta) {
         BaseDatos bd = basePrograma(carpeta);
         AvisosGrabados avisos;
         ImportarPlantilla(bd, avisos, ruta);
         return avisos.mensajes.empty() ? std::string() : avisos.mensajes[0].texto;
     }},
    {"cuentas", ".txt", kMsgNoSeAbreCuentas,
     [](const fs::path& carpeta, const fs::path& ruta) {
         BaseDatos bd = basePrograma(carpeta);
         return mensajeDe([&] { importarFicheroCuentas(bd, ruta); });
     }},
};

// What is no regular file: made under the name given.
struct NoRegular {
    const char* nombre;
    std::function<void(const fs::path& ruta)> crear;
};

const NoRegular kNoRegulares[] = {
    {"tuberiaSinEscritor", [](const fs::path& ruta) { ASSERT_EQ(::mkfifo(ruta.c_str(), 0600), 0); }},
    {"ceros", [](const fs::path& ruta) { fs::create_symlink("/dev/zero", ruta); }},
    {"enlaceAAzar", [](const fs::path& ruta) { fs::create_symlink("/dev/urandom", ruta); }},
    {"carpeta", [](const fs::path& ruta) { fs::create_directory(ruta); }},
};

// A failing row names its reader and its kind of file, not their bytes.
void PrintTo(const Lector& lector, std::ostream* salida) {
    *salida << lector.nombre;
}
void PrintTo(const NoRegular& noRegular, std::ostream* salida) {
    *salida << noRegular.nombre;
}

class FicheroEntradaNoRegular : public ::testing::TestWithParam<std::tuple<Lector, NoRegular>> {};

TEST_P(FicheroEntradaNoRegular, seRechazaAntesDeLeerConElMensajeDelLectorYLaRutaSinEscribirNada) {
    const auto& [lector, noRegular] = GetParam();
    CarpetaTemporal carpeta;
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    const fs::path ruta = carpeta / (std::string("entrada") + lector.extension);
    noRegular.crear(ruta);
    const std::size_t antes = pruebas::entradasDe(carpeta.ruta());

    const auto respuesta = conPlazo([&] { return lector.leer(carpeta.ruta(), ruta); });

    std::string esperado = mensajeEntrada(lector.mensaje, ruta, kNoEsFicheroRegular);
    if (std::string_view(lector.nombre) == "conversionDeTexto") {
        esperado.insert(0, std::to_string(kSalidaRechazada) + " ");
    }
    EXPECT_EQ(respuesta, esperado);
    EXPECT_EQ(pruebas::entradasDe(carpeta.ruta()), antes);
}

INSTANTIATE_TEST_SUITE_P(Tabla, FicheroEntradaNoRegular,
                         ::testing::Combine(::testing::ValuesIn(kLectores),
                                            ::testing::ValuesIn(kNoRegulares)),
                         [](const auto& caso) {
                             return std::string(std::get<0>(caso.param).nombre) + "_" +
                                    std::get<1>(caso.param).nombre;
                         });

} // namespace
} // namespace trovanel
