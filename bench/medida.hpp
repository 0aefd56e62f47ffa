#pragma once

#include "avisos.hpp"
#include "base_datos.hpp"
#include "conversores.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"

#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace trovanel::bench {

// Messages would only slow the run down; the count tells whether any appeared.
class AvisosContados : public Avisos {
public:
    void informacion(const std::string&) override { ++mensajes; }
    void critico(const std::string&) override { ++mensajes; }
    void simple(const std::string&) override { ++mensajes; }
    bool pregunta(const std::string&) override { return ++mensajes, false; }
    long mensajes = 0;
};

// What one conversion run needs: the program's database in carpeta, opened for this run alone, and the
// run's state and parameters, with the input, bank file and log given.
struct EjecucionMedida {
    EjecucionMedida(const std::filesystem::path& carpeta, const std::filesystem::path& entrada,
                    const std::filesystem::path& salida, const std::filesystem::path& log);
    BaseDatos baseDatos;
    AvisosContados avisos;
    RelojSistema reloj;
    Entorno entorno;
    EstadoEjecucion estado;
    ParametrosConversion parametros;
};

// The peak resident memory so far of this process (RUSAGE_SELF) or of its waited-for children
// (RUSAGE_CHILDREN).
long memoriaMaximaKiB(int quien = RUSAGE_SELF);

// A fixed-position field: cut to its width, completed with blanks (on the left when derecha).
std::string campo(const std::string& valor, std::size_t ancho, bool derecha = false);

struct Medicion {
    const char* ordenes; // what one line is, for the figures: "recibos", "creditos"
    long cantidad;
    std::function<std::string(long)> linea;
    // Adds what the run needs to the seeded database and fills the run's parameters and state.
    std::function<void(BaseDatos&, EstadoEjecucion&, ParametrosConversion&)> preparar;
    Conversor conversor;
    // When set, writes the whole input in the folder instead of the lines (a workbook, a database) and gives
    // its path.
    std::function<std::filesystem::path(const std::filesystem::path&, long)> escribirEntrada;
};

struct Resultado {
    double segundos = 0;
    // The copy floor: reading the input and writing as many bytes as the bank file has, in large blocks.
    double segundosCopia = 0;
    long memoriaMaximaKiB = 0;
    long memoriaAntesKiB = 0; // before the conversion, the input written
    std::uintmax_t bytesEntrada = 0;
    std::uintmax_t bytesSalida = 0;
    std::uintmax_t bytesLog = 0;
    long mensajes = 0;
    // The run ended with rejected orders and no message, as the generated inputs expect.
    bool esperado = false;
};

// Writes the input in a temporary folder, converts it once through the real driver and measures the
// copy floor of the same bytes, printing nothing.
Resultado ejecutar(const Medicion& medicion);

// The same, printing the orders per second, the copy floor and the peak resident memory. Returns 0 when
// the run ended as expected.
int medir(const Medicion& medicion);

} // namespace trovanel::bench
