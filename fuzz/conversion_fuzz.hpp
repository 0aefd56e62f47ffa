#pragma once

// What the harnesses that run whole conversions share: silent messages, a pinned clock and the program
// database of the harness's folder with its example presenter and issuer.

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "limites.hpp"
#include "peticion.hpp"
#include "reloj.hpp"
#include "soporte_fuzz.hpp"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

namespace trovanel::fuzz {

class AvisosMudos : public Avisos {
public:
    void informacion(const std::string&) override {}
    void critico(const std::string& texto) override { ultimoCritico = texto; }
    void simple(const std::string&) override {}
    bool pregunta(const std::string&) override { return false; }

    std::string ultimoCritico;
};

class RelojFijo : public Reloj {
public:
    FechaHora ahora() const override { return {2026, 3, 15, 10, 30, 0}; }
};

inline constexpr std::int64_t kPresentadorEjemplo = 1;
inline constexpr std::int64_t kEmisorEjemplo = 1;

inline BaseDatos crearBase(const CarpetaFuzz& carpeta) {
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    return BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
}

// Everything a norm 19 run needs, made once per process.
struct EntornoCSB19 {
    const CarpetaFuzz& carpeta = carpetaProceso();
    BaseDatos baseDatos = crearBase(carpeta);
    AvisosMudos avisos;
    RelojFijo reloj;
    RegistroConversores registro;
    const Conversor* conversor = nullptr;
    // The outcome of the last run.
    ResultadoConversion ultimo;

    EntornoCSB19() {
        registrarConversores(registro);
        conversor = registro.buscar(Familia::CSB19);
    }

    // One run of the template on the input with the example parties; its bank file and log are removed
    // afterwards, since the log is appended run after run and each input starts without one. Gives the
    // bank file, when there was one.
    std::optional<std::string> convertir(EstadoEjecucion& estado, const std::filesystem::path& entrada,
                                         const std::filesystem::path& salida, std::int64_t plantilla,
                                         std::size_t maximoLinea = kMaxLinea,
                                         const std::string& hojaOTabla = {}) {
        const std::filesystem::path log = std::filesystem::path(salida).replace_extension(".log");
        Entorno entorno{baseDatos, avisos, reloj, carpeta.ruta()};
        entorno.maximoLinea = maximoLinea;
        ParametrosConversion parametros =
            pruebas::peticion(entrada, salida, plantilla, kPresentadorEjemplo, kEmisorEjemplo, log);
        parametros.gFechaProceso = "150326";
        parametros.gHojaExcel = parametros.gTablaAccess = hojaOTabla;
        avisos.ultimoCritico.clear();
        ultimo = ejecutarConversor(*conversor, estado, entorno, parametros);
        std::optional<std::string> banco;
        if (std::ifstream fichero(salida, std::ios::binary); fichero) {
            banco.emplace(std::istreambuf_iterator<char>(fichero), std::istreambuf_iterator<char>());
        }
        std::error_code error;
        std::filesystem::remove(salida, error);
        std::filesystem::remove(log, error);
        return banco;
    }
};

} // namespace trovanel::fuzz
