#include "medida.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace trovanel::bench {

EjecucionMedida::EjecucionMedida(const std::filesystem::path& carpeta, const std::filesystem::path& entrada,
                                 const std::filesystem::path& salida, const std::filesystem::path& log)
    : baseDatos(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva)), entorno{baseDatos,
                                                                                                   avisos,
                                                                                                   reloj,
                                                                                                   carpeta} {
    parametros.rutaEntrada = entrada;
    parametros.rutaSalida = salida;
    parametros.gFicheroLog = log;
}

long memoriaMaximaKiB(int quien) {
    rusage uso{};
    getrusage(quien, &uso);
    return uso.ru_maxrss;
}

namespace {

double desde(std::chrono::steady_clock::time_point inicio) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

// Reads the input and writes bytesSalida bytes to a file of its own, in blocks of 1 MiB: what no
// conversion of these bytes can beat.
double sueloCopia(const std::filesystem::path& entrada, std::uintmax_t bytesSalida,
                  const std::filesystem::path& copia) {
    std::vector<char> bloque(1 << 20, ' ');
    const auto inicio = std::chrono::steady_clock::now();
    const int origen = ::open(entrada.c_str(), O_RDONLY | O_CLOEXEC);
    const int destino = ::open(copia.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::uintmax_t quedan = bytesSalida;
    bool leyendo = origen >= 0;
    while (destino >= 0 && (leyendo || quedan > 0)) {
        std::size_t n = bloque.size();
        if (leyendo) {
            const ssize_t leidos = ::read(origen, bloque.data(), bloque.size());
            leyendo = leidos > 0;
            n = leyendo ? static_cast<std::size_t>(leidos) : 0;
        }
        n = static_cast<std::size_t>(std::min<std::uintmax_t>(leyendo ? n : bloque.size(), quedan));
        if (n > 0 && ::write(destino, bloque.data(), n) != static_cast<ssize_t>(n)) {
            break;
        }
        quedan -= n;
    }
    if (origen >= 0) {
        ::close(origen);
    }
    if (destino >= 0) {
        ::close(destino);
    }
    const double segundos = desde(inicio);
    std::filesystem::remove(copia);
    return segundos;
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

Resultado ejecutar(const Medicion& m) {
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
    Resultado r;
    r.memoriaAntesKiB = memoriaMaximaKiB();

    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    EjecucionMedida e(carpeta, entrada, carpeta / "entrada.out", carpeta / "entrada.log");
    AvisosContados& avisos = e.avisos;
    ParametrosConversion& parametros = e.parametros;
    m.preparar(e.baseDatos, e.estado, parametros);

    const auto inicio = std::chrono::steady_clock::now();
    const ResultadoConversion resultado = m.conversor(e.estado, e.entorno, parametros);
    r.segundos = desde(inicio);
    r.memoriaMaximaKiB = memoriaMaximaKiB();

    std::error_code ignorado;
    r.bytesEntrada = std::filesystem::file_size(entrada, ignorado);
    r.bytesSalida = std::filesystem::file_size(parametros.rutaSalida, ignorado);
    r.bytesLog = std::filesystem::file_size(parametros.gFicheroLog, ignorado);
    r.mensajes = avisos.mensajes;
    r.esperado = avisos.mensajes == 0 && resultado.conErrores();
    r.segundosCopia = sueloCopia(entrada, r.bytesSalida, carpeta / "copia.out");

    if (std::getenv("TROVANEL_BENCH_CONSERVAR") == nullptr) {
        std::filesystem::remove_all(carpeta);
    }
    return r;
}

int medir(const Medicion& m) {
    const Resultado r = ejecutar(m);
    std::printf("%s: %ld\n", m.ordenes, m.cantidad);
    std::printf("segundos: %.3f (copiar los mismos bytes: %.3f)\n", r.segundos, r.segundosCopia);
    std::printf("%s por segundo: %.0f\n", m.ordenes, static_cast<double>(m.cantidad) / r.segundos);
    std::printf("veces el suelo de copia: %.1f\n", r.segundos / r.segundosCopia);
    std::printf("memoria maxima: %ld KiB (antes de convertir: %ld KiB)\n", r.memoriaMaximaKiB,
                r.memoriaAntesKiB);
    std::printf("fichero del banco: %ju bytes, registro de errores: %ju bytes, mensajes: %ld\n",
                r.bytesSalida, r.bytesLog, r.mensajes);
    return r.esperado ? 0 : 1;
}

} // namespace trovanel::bench
