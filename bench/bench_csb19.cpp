// Converts a generated norm 19 input of one line per receipt through the real driver and prints the
// receipts per second and the peak resident memory.
//   bench_csb19 [receipts]   (1,000,000 by default)
#include "avisos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace trovanel;

namespace {

// Messages would only slow the run down; the count tells whether any appeared.
class AvisosContados : public Avisos {
public:
    void informacion(const std::string&) override { ++mensajes; }
    void critico(const std::string&) override { ++mensajes; }
    void simple(const std::string&) override { ++mensajes; }
    bool pregunta(const std::string&) override { return ++mensajes, false; }
    long mensajes = 0;
};

std::string campo(const std::string& valor, std::size_t ancho, bool derecha = false) {
    std::string s = valor.substr(0, ancho);
    if (derecha) {
        return std::string(ancho - s.size(), ' ') + s;
    }
    s.resize(ancho, ' ');
    return s;
}

// One receipt laid out as the example template 9 places it (244 characters); every tenth has a zero
// amount and goes to the log. Amounts stay small so a million fit the file total's ten digits.
std::string linea(long i) {
    const std::string numero = std::to_string(i);
    const bool rechazado = i % 10 == 0;
    const std::string importe =
        rechazado ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("R" + numero, 12) + campo("TITULAR " + numero, 40) + "8642" + "0101" + "16" + "3000000101" +
           campo(importe, 12, true) + campo("CONCEPTO DEL RECIBO " + numero, 40) + campo("", 40) +
           campo("CALLE MAYOR " + numero, 40) + campo("MADRID", 35) + "28013";
}

long memoriaMaximaKiB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    const long recibos = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    const auto carpeta =
        std::filesystem::temp_directory_path() / ("trovanel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(carpeta);

    const auto entrada = carpeta / "recibos.txt";
    {
        std::FILE* f = std::fopen(entrada.c_str(), "wb");
        for (long i = 1; i <= recibos; ++i) {
            const std::string l = linea(i) + "\r\n";
            std::fwrite(l.data(), 1, l.size(), f);
        }
        std::fclose(f);
    }
    const long memoriaAntes = memoriaMaximaKiB();

    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    BaseDatos baseDatos = BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva);
    AvisosContados avisos;
    RelojSistema reloj;
    Entorno entorno{baseDatos, avisos, reloj, carpeta};
    EstadoEjecucion estado;
    estado.gFechaProceso = "05/03/2026";
    estado.gFicheroLog = carpeta / "recibos.log";
    ParametrosConversion parametros;
    parametros.rutaEntrada = entrada;
    parametros.rutaSalida = carpeta / "recibos.out";
    parametros.idEstructura = 9;
    parametros.idPresentador = 1;
    parametros.idEmisor = 1;

    const auto inicio = std::chrono::steady_clock::now();
    GenerarCSB19(estado, entorno, parametros);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    std::printf("recibos: %ld\n", recibos);
    std::printf("segundos: %.3f\n", segundos);
    std::printf("recibos por segundo: %.0f\n", static_cast<double>(recibos) / segundos);
    std::printf("memoria maxima: %ld KiB (antes de convertir: %ld KiB)\n", memoriaMaximaKiB(), memoriaAntes);
    std::printf("fichero del banco: %ju bytes, registro de errores: %ju bytes, mensajes: %ld\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(parametros.rutaSalida)),
                static_cast<std::uintmax_t>(std::filesystem::file_size(estado.gFicheroLog)), avisos.mensajes);

    if (std::getenv("TROVANEL_BENCH_CONSERVAR") == nullptr) {
        std::filesystem::remove_all(carpeta);
    }
    return avisos.mensajes == 0 && estado.gError ? 0 : 1;
}
