// The bank file and the log of a run may not be a file the run needs, however their paths are spelt: the
// run is refused before anything is read or written.

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "configuracion.hpp"
#include "conversion.hpp"
#include "motor_lectura_prueba.hpp"
#include "peticion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::AvisosGrabados;
using pruebas::escribirFichero;
using pruebas::leerFichero;
using pruebas::MotorLectura;

// The bank file may not take the place of a file the run needs, however its path is spelt.
struct CasoChoque {
    const char* nombre;
    std::function<fs::path(MotorLectura&)> salida;
    const char* mensaje; // nullptr: a file of its own, which converts
};

class MotorLecturaChoques : public MotorLectura, public ::testing::WithParamInterface<CasoChoque> {};

std::map<std::string, std::string> contenidos(const fs::path& carpeta) {
    std::map<std::string, std::string> resultado;
    for (const auto& e : fs::directory_iterator(carpeta)) {
        // Sizes and hashes: the database's bytes would fill a failure message.
        const std::string bytes = e.is_regular_file() ? leerFichero(e.path()) : "<carpeta>";
        resultado[e.path().filename()] =
            std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    return resultado;
}

TEST_P(MotorLecturaChoques, rechazaUnaSalidaQueEsUnFicheroDeLaEjecucionSinTocarNada) {
    const CasoChoque& caso = GetParam();
    baseDatos.preparar("INSERT INTO estructura (tipo, descripcion) VALUES ('CSB19', 'prueba')").ejecutar();
    const std::int64_t id = baseDatos.ultimoId();
    baseDatos
        .preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin) "
                  "VALUES (?, 0, 'A', 1, 2)")
        .con(id)
        .ejecutar();
    configuracion.gRutaCopiaBD = carpeta / "6122026.Copy";
    fs::create_directory(carpeta / "sub");
    escribirFichero(entrada, "ab\r\n!x\r\n");
    fs::remove(salida);
    const fs::path rutaSalida = caso.salida(*this); // may move the log first
    const ParametrosConversion parametros = pruebas::peticion(entrada, rutaSalida, id, 0, 0, log);
    const auto antes = contenidos(carpeta.ruta());
    const bool enlace = fs::is_symlink(rutaSalida);

    const ResultadoConversion resultado = ejecutarConversion(familia, parametros);

    EXPECT_TRUE(resultado.conErrores()); // the second line is rejected when the run goes ahead
    if (caso.mensaje == nullptr) {
        EXPECT_TRUE(avisos.mensajes.empty());
        EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::EscritoConRechazos);
        EXPECT_EQ(leerFichero(parametros.rutaSalida), "1 A=ab\r\nTOTAL 1\r\n");
        // A link stays a link: the bank file went where it leads.
        EXPECT_EQ(fs::is_symlink(parametros.rutaSalida), enlace);
        return;
    }
    EXPECT_EQ(avisos.mensajes, (std::vector<AvisosGrabados::Mensaje>{{"informacion", caso.mensaje}}));
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::RechazadoAntesDeLeer);
    EXPECT_EQ(familia.partesCargadas, 0);
    EXPECT_EQ(contenidos(carpeta.ruta()), antes);
}

// The log as a hard link to destino, written first with contenido when it is given.
fs::path registroEnlazado(MotorLectura& m, const fs::path& destino, const char* contenido) {
    if (contenido != nullptr) {
        escribirFichero(destino, contenido);
    }
    m.log = m.carpeta / "sub" / "entrada.log";
    fs::create_hard_link(destino, m.log);
    return m.salida;
}

constexpr const char* kEntrada = "El fichero de salida no puede ser el mismo que el fichero de entrada";
constexpr const char* kLog = "El fichero de salida no puede ser el mismo que el registro de errores";
constexpr const char* kBaseDatos =
    "El fichero de salida no puede ser el mismo que la base de datos del programa";
constexpr const char* kCopia =
    "El fichero de salida no puede ser el mismo que la copia de seguridad de la base de datos";

INSTANTIATE_TEST_SUITE_P(
    Tabla, MotorLecturaChoques,
    ::testing::Values(
        CasoChoque{"mismaRuta", [](MotorLectura& m) { return m.entrada; }, kEntrada},
        CasoChoque{"otraGrafia",
                   [](MotorLectura& m) { return m.carpeta / "sub" / ".." / "." / "entrada.txt"; }, kEntrada},
        CasoChoque{"rutaRelativa",
                   [](MotorLectura& m) { return fs::relative(m.entrada, fs::current_path()); }, kEntrada},
        CasoChoque{"enlaceSimbolico",
                   [](MotorLectura& m) {
                       fs::create_symlink(m.entrada, m.carpeta / "sub" / "enlace.out");
                       return m.carpeta / "sub" / "enlace.out";
                   },
                   kEntrada},
        CasoChoque{"enlaceDuro",
                   [](MotorLectura& m) {
                       fs::create_hard_link(m.entrada, m.carpeta / "sub" / "duro.out");
                       return m.carpeta / "sub" / "duro.out";
                   },
                   kEntrada},
        // The log of this run need not exist yet.
        CasoChoque{"registroDeErrores",
                   [](MotorLectura& m) { return m.carpeta / "sub" / ".." / "entrada.log"; }, kLog},
        CasoChoque{"baseDeDatos", [](MotorLectura& m) { return m.carpeta / kNombreBaseDatos; }, kBaseDatos},
        CasoChoque{"baseDeDatosAbierta",
                   [](MotorLectura& m) {
                       m.configuracion.gRutaBDOrigen = m.carpeta / "otra.db";
                       escribirFichero(m.configuracion.gRutaBDOrigen, "base");
                       return m.configuracion.gRutaBDOrigen;
                   },
                   kBaseDatos},
        CasoChoque{"copiaDelDia", [](MotorLectura& m) { return m.carpeta / "sub" / ".." / "6122026.Copy"; },
                   kCopia},
        // Any file of the program folder, there or not yet.
        CasoChoque{"configuracion", [](MotorLectura& m) { return m.carpeta / "config.ini"; },
                   "El fichero de salida no puede ser el mismo que el fichero de configuración del programa "
                   "(config.ini)"},
        CasoChoque{"copiaDeOtroDia", [](MotorLectura& m) { return m.carpeta / "1112003.Copy"; }, kCopia},
        // The log is appended to: it may not be such a file either.
        CasoChoque{"registroEnlazadoAConfiguracion",
                   [](MotorLectura& m) {
                       escribirFichero(m.carpeta / "config.ini", "administrador=false\r\n");
                       m.log = m.carpeta / "sub" / "entrada.log";
                       fs::create_symlink(m.carpeta / "config.ini", m.log);
                       return m.salida;
                   },
                   "El registro de errores no puede ser el mismo que el fichero de configuración del "
                   "programa (config.ini)"},
        CasoChoque{"registroEnlazadoABaseDeDatos",
                   [](MotorLectura& m) {
                       m.log = m.carpeta / "sub" / "entrada.log";
                       fs::create_symlink(m.carpeta / kNombreBaseDatos, m.log);
                       return m.salida;
                   },
                   "El registro de errores no puede ser el mismo que la base de datos del programa"},
        // A hard link elsewhere is the same file: the input, the journal, a copy of another day.
        CasoChoque{"registroEnlaceDuroALaEntrada",
                   [](MotorLectura& m) { return registroEnlazado(m, m.entrada, nullptr); },
                   "El registro de errores no puede ser el mismo que el fichero de entrada"},
        CasoChoque{
            "registroEnlaceDuroACopiaDeOtroDia",
            [](MotorLectura& m) { return registroEnlazado(m, m.carpeta / "1112003.Copy", "copia"); },
            "El registro de errores no puede ser el mismo que la copia de seguridad de la base de datos"},
        CasoChoque{
            "registroEnlaceDuroAlDiario",
            [](MotorLectura& m) { return registroEnlazado(m, m.carpeta / "Estructuras.db-journal", ""); },
            "El registro de errores no puede ser el mismo que la base de datos del programa"},
        CasoChoque{"salidaEnlaceDuroACopiaDeOtroDia",
                   [](MotorLectura& m) {
                       escribirFichero(m.carpeta / "1112003.Copy", "copia");
                       fs::create_hard_link(m.carpeta / "1112003.Copy", m.carpeta / "sub" / "duro.out");
                       return m.carpeta / "sub" / "duro.out";
                   },
                   kCopia},
        // A link that leads nowhere yet is refused for the file it would create.
        CasoChoque{"enlaceColganteAlDiario",
                   [](MotorLectura& m) {
                       fs::create_symlink(m.carpeta / "Estructuras.db-journal",
                                          m.carpeta / "sub" / "enlace.out");
                       return m.carpeta / "sub" / "enlace.out";
                   },
                   kBaseDatos},
        CasoChoque{"enlaceAEnlaceColganteAConfiguracion",
                   [](MotorLectura& m) {
                       fs::create_symlink("../config.ini", m.carpeta / "sub" / "otro.out");
                       fs::create_symlink("otro.out", m.carpeta / "sub" / "enlace.out");
                       return m.carpeta / "sub" / "enlace.out";
                   },
                   "El fichero de salida no puede ser el mismo que el fichero de configuración del programa "
                   "(config.ini)"},
        CasoChoque{"ficheroPropio", [](MotorLectura& m) { return m.carpeta / "sub" / "remesa.out"; },
                   nullptr},
        // A link to a shared folder: the bank file replaces the file there, an older one or none yet.
        CasoChoque{"enlaceAOtraCarpeta",
                   [](MotorLectura& m) {
                       fs::create_directory(m.carpeta / "sub" / "compartida");
                       escribirFichero(m.carpeta / "sub" / "compartida" / "remesa.out",
                                       "remesa anterior\r\n");
                       fs::create_symlink("compartida/remesa.out", m.carpeta / "sub" / "remesa.out");
                       return m.carpeta / "sub" / "remesa.out";
                   },
                   nullptr},
        CasoChoque{"enlaceAEnlaceColgante",
                   [](MotorLectura& m) {
                       fs::create_directory(m.carpeta / "sub" / "compartida");
                       fs::create_symlink(m.carpeta / "sub" / "compartida" / "nueva.out",
                                          m.carpeta / "sub" / "otro");
                       fs::create_symlink("otro", m.carpeta / "sub" / "remesa.out");
                       return m.carpeta / "sub" / "remesa.out";
                   },
                   nullptr}),
    [](const ::testing::TestParamInfo<CasoChoque>& caso) { return std::string(caso.param.nombre); });

} // namespace
} // namespace trovanel
