#include "caracteres.hpp"

#include "avisos.hpp"
#include "codificacion.hpp"
#include "fichero_entrada.hpp"
#include "lector_lineas.hpp"
#include "reescritura.hpp"
#include "texto.hpp"

#include <cstdint>

namespace trovanel {

std::optional<std::vector<SustitucionCaracter>> CargarCaracteres(const std::filesystem::path& carpetaPrograma,
                                                                 Avisos& avisos) {
    const std::filesystem::path ruta = carpetaPrograma / kFicheroCaracteres;
    const auto rechazar = [&](const std::string& motivo) {
        avisos.simple(mensajeEntrada(kMsgNoSeAbreCaracteres, ruta, motivo));
        return std::nullopt;
    };
    std::int64_t numero = 0;
    const auto rechazarLinea = [&](const char* falta) {
        return rechazar("la línea " + std::to_string(numero) + falta);
    };
    std::vector<SustitucionCaracter> tabla;
    LectorLineas lector(ruta);
    std::string linea;
    if (!lector.abierto() || !lector.leer(linea)) {
        return rechazar(lector.fallo() == LectorLineas::Fallo::Ninguno ? "está vacío" : lector.motivo());
    }
    // Editors that save UTF-8 may start the file with a byte-order mark; it is no character of the pair.
    if (linea.starts_with("\xEF\xBB\xBF")) {
        linea.erase(0, 3);
    }
    do {
        ++numero;
        // A control character would be written into every bank file the table rewrites.
        if (hayCaracterControl(linea)) {
            return rechazarLinea(" tiene un carácter de control");
        }
        // A file saved by a UTF-8 editor still means the same characters.
        if (pareceUtf8(linea)) {
            linea = utf8ACp1252(linea);
        }
        // An empty line, as an editor may leave at the end, is no pair and changes nothing.
        if (linea.empty()) {
            continue;
        }
        if (linea.find('=') != 1) {
            return rechazarLinea(" no es un carácter, «=» y su reemplazo");
        }
        tabla.push_back({linea.substr(0, 1), linea.substr(2)});
    } while (lector.leer(linea));
    if (lector.error()) {
        return rechazar(lector.motivo());
    }
    return tabla;
}

void aplicarSustituciones(std::string& linea, const std::vector<SustitucionCaracter>& tabla) {
    for (const SustitucionCaracter& entrada : tabla) {
        if (entrada.buscar.empty() || linea.find(entrada.buscar) == std::string::npos) {
            continue;
        }
        std::string resultado;
        resultado.reserve(linea.size());
        std::size_t desde = 0;
        for (auto posicion = linea.find(entrada.buscar); posicion != std::string::npos;
             posicion = linea.find(entrada.buscar, desde)) {
            resultado.append(linea, desde, posicion - desde);
            resultado += entrada.reemplazar;
            desde = posicion + entrada.buscar.size();
        }
        resultado.append(linea, desde, std::string::npos);
        linea = std::move(resultado);
    }
}

void SustituirCaracteres(const std::filesystem::path& ruta, const std::vector<SustitucionCaracter>& tabla,
                         Avisos& avisos) {
    std::error_code error;
    if (!std::filesystem::exists(ruta, error) || tabla.empty()) {
        return;
    }
    switch (reescribirPorLineas(ruta, [&tabla](std::string& linea) { aplicarSustituciones(linea, tabla); })) {
    case ResultadoReescritura::Hecha:
        break;
    case ResultadoReescritura::NoSePuedeLeer:
        avisos.simple("No se puede abrir el fichero " + rutaComoTexto(ruta));
        break;
    case ResultadoReescritura::NoSePuedeEscribir:
        avisos.simple("No se puede crear el fichero Auxiliar");
        break;
    }
}

} // namespace trovanel
