#include "estado_ejecucion.hpp"
#include "log_errores.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::leerFichero;
using pruebas::RelojFijo;

const std::string kAsteriscos = "*************************************";
const std::string kFechaHora = "06/12/2026 - 10:45:33";
// The holder's name as the record keeps it: blank-filled to 40.
const std::string kNombre = "GARCIA LOPEZ MARIA                      ";

// The log's bytes, one text a line, each ended by CR LF.
std::string lineas(std::initializer_list<std::string> textos) {
    std::string bytes;
    for (const std::string& texto : textos) {
        bytes += texto + "\r\n";
    }
    return bytes;
}

// A collection order's block: its line, the issuer's NIF and the holder, then its errors.
std::string bloqueCobro(int linea, std::initializer_list<std::string> errores) {
    return lineas({kAsteriscos, "Numero Linea: " + std::to_string(linea), "Nif Ordenante: B00000000000",
                   "Nombre Titular: " + kNombre, " "}) +
           lineas(errores);
}

AvisosGrabados::Mensaje critico(const std::string& texto) {
    return {"critico", texto};
}

// A log "datos.log" in a fresh folder, its header owed as every driver leaves it before reading.
class LogErrores : public ::testing::Test {
protected:
    void SetUp() override {
        gFicheroLog = carpeta / "datos.log";
        estado.gCabeceraLogPendiente = true;
    }

    CarpetaTemporal carpeta;
    EstadoEjecucion estado;
    std::filesystem::path gFicheroLog;
    RelojFijo reloj;
    AvisosGrabados avisos;
};

TEST_F(LogErrores, anadeCabeceraUnaVezYUnBloquePorOrdenTrasElContenidoPrevio) {
    ASSERT_EQ(kNombre.size(), 40u);
    pruebas::escribirFichero(carpeta / "datos.log", "anterior\r\n");
    {
        EscritorLog log(gFicheroLog, estado, reloj, avisos);
        estado.anotarError("Error : Importe incorrecto", 3);
        EscribirLog(log, 3, "B00000000000", kNombre);
        EXPECT_TRUE(estado.gErrores.empty());
        EXPECT_FALSE(estado.gCabeceraLogPendiente);
        estado.anotarError("Error : Cuenta incorrecta", 1234567);
        estado.anotarError("Error : Fecha incorrecta", 1234567);
        EscribirLog(log, 1234567, "B00000000000", kNombre);
        EXPECT_TRUE(log.cerrar());
    }
    EXPECT_EQ(leerFichero(gFicheroLog),
              lineas({"anterior", kAsteriscos, kFechaHora}) + bloqueCobro(3, {"Error : Importe incorrecto"}) +
                  bloqueCobro(1234567, {"Error : Cuenta incorrecta", "Error : Fecha incorrecta"}));
    EXPECT_TRUE(estado.gErrores.empty());
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST_F(LogErrores, cadaEjecucionAnadeSuPropiaCabecera) {
    for (int ejecucion = 0; ejecucion < 2; ++ejecucion) {
        // What every driver does before reading.
        estado.gCabeceraLogPendiente = true;
        EscritorLog log(gFicheroLog, estado, reloj, avisos);
        estado.anotarError("Error : Nif incorrecto", 7);
        EscribirLog(log, 7, "B00000000000", kNombre);
        reloj.momento = {2027, 1, 2, 8, 5, 9};
    }
    const std::string bloque = bloqueCobro(7, {"Error : Nif incorrecto"});
    EXPECT_EQ(leerFichero(gFicheroLog), lineas({kAsteriscos, kFechaHora}) + bloque +
                                            lineas({kAsteriscos, "02/01/2027 - 08:05:09"}) + bloque);
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST_F(LogErrores, ejecucionSinOrdenesRechazadasNoTocaElLog) {
    gFicheroLog = carpeta / "nuevo.log";
    { EscritorLog log(gFicheroLog, estado, reloj, avisos); }
    EXPECT_FALSE(std::filesystem::exists(carpeta / "nuevo.log"));

    pruebas::escribirFichero(carpeta / "viejo.log", "anterior\r\n");
    gFicheroLog = carpeta / "viejo.log";
    {
        EscritorLog log(gFicheroLog, estado, reloj, avisos);
        EXPECT_TRUE(log.cerrar());
    }
    EXPECT_EQ(leerFichero(carpeta / "viejo.log"), "anterior\r\n");
    EXPECT_TRUE(estado.gCabeceraLogPendiente);
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST_F(LogErrores, bloqueSinLineasDeIdentificacion) {
    gFicheroLog = carpeta / "pagos.log";
    {
        EscritorLog log(gFicheroLog, estado, reloj, avisos, kFalloLogPagos);
        estado.anotarError("Error : Importe incorrecto", 12);
        estado.anotarError("Error : Beneficiario vacio", 12);
        log.escribirBloque(12, {});
    }
    EXPECT_EQ(leerFichero(gFicheroLog), lineas({kAsteriscos, kFechaHora, kAsteriscos, "Numero Linea: 12", " ",
                                                "Error : Importe incorrecto", "Error : Beneficiario vacio"}));
}

// The family's message, then the log's path and why it failed.
std::string fallo(const char* mensaje, const std::filesystem::path& ruta, const std::string& motivo) {
    return std::string(mensaje) + "\r\n" + ruta.string() + ": " + motivo;
}

// A block that cannot be written loses its errors with its order: they must never appear under the
// next order, and the header is still owed to the first block that does get written. Only a plain file
// is a log, and never through a link: one to config.ini would write an order's text into it. The
// message says which log failed and why.
TEST_F(LogErrores, noRepiteErroresDeUnBloqueFallido) {
    std::filesystem::create_directory(carpeta / "carpeta.log");
    pruebas::escribirFichero(carpeta / "config.ini", "administrador=false\r\n");
    std::filesystem::create_symlink(carpeta / "config.ini", carpeta / "enlace.log");
    ASSERT_EQ(::mkfifo((carpeta / "fifo.log").c_str(), 0600), 0);
    // Each log that cannot be written, and how it becomes writable while the run goes on (none: it stays
    // unwritable, and nothing is created for it).
    struct Caso {
        std::filesystem::path ruta;
        bool arreglable;
        const char* motivo; // nullptr: no path to tell
    };
    const Caso casos[] = {{carpeta / "no-existe" / "datos.log", false, "no existe"},
                          {carpeta / "carpeta.log", true, "es una carpeta"},
                          {std::filesystem::path(), false, nullptr},
                          {carpeta / "enlace.log", true, "es un enlace simbólico"},
                          {carpeta / "fifo.log", true, "no es un fichero regular"},
                          {"/dev/full", false, "no es un fichero regular"}};
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.ruta.string());
        estado = EstadoEjecucion{};
        estado.gCabeceraLogPendiente = true;
        avisos.mensajes.clear();
        {
            EscritorLog log(caso.ruta, estado, reloj, avisos, kFalloLogPagos);
            estado.anotarError("Error : Primero", 3);
            estado.anotarError("Error : Segundo", 3);
            log.escribirBloque(3, {"Nif Proveedor: A111111111"});
            EXPECT_TRUE(estado.gErrores.empty());
            EXPECT_TRUE(estado.gCabeceraLogPendiente);
            estado.anotarError("Error : Tercero", 4);
            log.escribirBloque(4, {"Nif Proveedor: A111111111"});
            EXPECT_TRUE(estado.gErrores.empty());
            const std::string mensaje =
                caso.motivo == nullptr ? kFalloLogPagos : fallo(kFalloLogPagos, caso.ruta, caso.motivo);
            EXPECT_EQ(avisos.mensajes, (std::vector{critico(mensaje), critico(mensaje)}));
            EXPECT_TRUE(log.fallido());
            if (caso.arreglable) {
                std::filesystem::remove(caso.ruta);
                estado.anotarError("Error : Cuarto", 9);
                log.escribirBloque(9, {"Nif Proveedor: B222222222"});
                EXPECT_FALSE(estado.gCabeceraLogPendiente);
            }
        }
        EXPECT_EQ(avisos.mensajes.size(), 2u);
        if (caso.arreglable) {
            EXPECT_EQ(leerFichero(caso.ruta), lineas({kAsteriscos, kFechaHora, kAsteriscos, "Numero Linea: 9",
                                                      "Nif Proveedor: B222222222", " ", "Error : Cuarto"}));
        }
        EXPECT_FALSE(std::filesystem::exists(carpeta / "no-existe"));
        EXPECT_EQ(leerFichero(carpeta / "config.ini"), "administrador=false\r\n");
    }
}

// Writes are buffered, so a full disk may only show when the log is closed: it must still be said, once.
TEST_F(LogErrores, unDiscoLlenoSeAvisaAlCerrar) {
    {
        EscritorLog log(gFicheroLog, estado, reloj, avisos);
        estado.anotarError("Error : Importe incorrecto", 3);
        const pruebas::LimiteTamanoFichero lleno(16);
        EscribirLog(log, 3, "B00000000000", kNombre);
        EXPECT_FALSE(log.fallido());
        EXPECT_FALSE(log.cerrar());
        EXPECT_TRUE(log.fallido());
    }
    EXPECT_EQ(avisos.mensajes, std::vector{critico(fallo(kFalloLogCobros, gFicheroLog,
                                                         "el fichero supera el tamaño máximo permitido"))});
    EXPECT_TRUE(estado.gErrores.empty());
}

TEST_F(LogErrores, elMensajeDeFalloDeCobrosEsElPorDefecto) {
    gFicheroLog = carpeta / "no-existe" / "datos.log";
    estado.gCabeceraLogPendiente = false;
    EscritorLog log(gFicheroLog, estado, reloj, avisos);
    estado.anotarError("Error : Importe incorrecto", 3);
    EscribirLog(log, 3, "B00000000000", kNombre);
    EXPECT_EQ(avisos.mensajes,
              std::vector{critico(fallo("No se puede crear el fichero Log", gFicheroLog, "no existe"))});
    EXPECT_TRUE(estado.gErrores.empty());
}

} // namespace
} // namespace trovanel
