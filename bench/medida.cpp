#include "medida.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace trovanel::bench {

namespace {

long memoriaMaximaKiB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

} // namespace

std::string campo(const std::string& valor, std::size_t ancho, bool derecha) {
    std::string s = valor.substr(0, ancho);
    if (derecha) {
        return std::string(ancho - s.size(), ' ') + s;
    }
    s.resize(ancho, ' ');
    return s;
}

int medir(const Medicion& m) {
    const auto carpeta =
        std::filesystem::temp_directory_path() / ("trovanel-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(carpeta);

    const auto entrada = m.escribirEntrada ? m.escribirEntrada(carpeta, m.cantidad) : carpeta / "entrada.txt";
    if (!m.escribirEntrada) {
        std::FILE* f = std::fopen(entrada.c_str(), "wb");
        for (long i = 1; i <= m.cantidad; ++i) {
            const std::string l = m.linea(i) + "\r\n";
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
    estado.gFicheroLog = carpeta / "entrada.log";
    ParametrosConversion parametros;
    parametros.rutaEntrada = entrada;
    parametros.rutaSalida = carpeta / "entrada.out";
    m.preparar(baseDatos, estado, parametros);

    const auto inicio = std::chrono::steady_clock::now();
    m.conversor(estado, entorno, parametros);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    std::printf("%s: %ld\n", m.ordenes, m.cantidad);
    std::printf("segundos: %.3f\n", segundos);
    std::printf("%s por segundo: %.0f\n", m.ordenes, static_cast<double>(m.cantidad) / segundos);
    std::printf("memoria maxima: %ld KiB (antes de convertir: %ld KiB)\n", memoriaMaximaKiB(), memoriaAntes);
    std::printf("fichero del banco: %ju bytes, registro de errores: %ju bytes, mensajes: %ld\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(parametros.rutaSalida)),
                static_cast<std::uintmax_t>(std::filesystem::file_size(estado.gFicheroLog)), avisos.mensajes);

    if (std::getenv("TROVANEL_BENCH_CONSERVAR") == nullptr) {
        std::filesystem::remove_all(carpeta);
    }
    return avisos.mensajes == 0 && estado.gError ? 0 : 1;
}

} // namespace trovanel::bench
