#include "caracteres.hpp"

#include "avisos.hpp"
#include "codificacion.hpp"
#include "fichero_entrada.hpp"
#include "lector_lineas.hpp"
#include "limites.hpp"
#include "texto.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <system_error>

namespace trovanel {

namespace {

using Reemplazos = std::array<std::string, 256>;

// Every occurrence of the entry's character in texto by its replacement, in one pass.
void reemplazar(std::string& texto, const SustitucionCaracter& entrada) {
    if (entrada.buscar.empty() || texto.find(entrada.buscar) == std::string::npos) {
        return;
    }
    std::string resultado;
    resultado.reserve(texto.size());
    std::size_t desde = 0;
    for (auto posicion = texto.find(entrada.buscar); posicion != std::string::npos;
         posicion = texto.find(entrada.buscar, desde)) {
        resultado.append(texto, desde, posicion - desde);
        resultado += entrada.reemplazar;
        desde = posicion + entrada.buscar.size();
    }
    resultado.append(texto, desde, std::string::npos);
    texto = std::move(resultado);
}

// What each character ends as once every pair has applied in order; nothing when the 256 would together
// pass kMaxFicheroCaracteres bytes, which pairs that feed each other reach fast (a=aa twice is aaaa).
std::optional<Reemplazos> reemplazosPorCaracter(const std::vector<SustitucionCaracter>& tabla) {
    Reemplazos reemplazos;
    for (std::size_t c = 0; c < reemplazos.size(); ++c) {
        reemplazos[c] = std::string(1, static_cast<char>(c));
    }
    for (const SustitucionCaracter& entrada : tabla) {
        if (entrada.buscar.size() != 1) {
            continue;
        }
        // Measured before it is built, so that no step can take more than the bound.
        std::uintmax_t total = 0;
        for (const std::string& reemplazo : reemplazos) {
            const auto veces = static_cast<std::uintmax_t>(std::ranges::count(reemplazo, entrada.buscar[0]));
            total += reemplazo.size() - veces + veces * entrada.reemplazar.size();
        }
        if (total > kMaxFicheroCaracteres) {
            return std::nullopt;
        }
        for (std::string& reemplazo : reemplazos) {
            reemplazar(reemplazo, entrada);
        }
    }
    return reemplazos;
}

} // namespace

std::optional<TablaCaracteres> CargarCaracteres(const std::filesystem::path& carpetaPrograma,
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
    const std::string demasiado = "tiene más de " + std::to_string(kMaxFicheroCaracteres) + " bytes";
    // A table is a few kilobytes: a larger file is refused before it is read.
    std::error_code error;
    if (const auto tamano = std::filesystem::file_size(ruta, error);
        !error && tamano > kMaxFicheroCaracteres) {
        return rechazar(demasiado);
    }
    std::vector<SustitucionCaracter> tabla;
    LectorLineas lector(ruta, LectorLineas::Texto::Windows1252, kMaxFicheroCaracteres);
    std::string linea;
    const auto motivoLector = [&] {
        return lector.fallo() == LectorLineas::Fallo::LineaLarga ? demasiado : lector.motivo();
    };
    if (!lector.abierto() || !lector.leer(linea)) {
        return rechazar(lector.fallo() == LectorLineas::Fallo::Ninguno ? "está vacío" : motivoLector());
    }
    // Editors that save UTF-8 may start the file with a byte-order mark; it is no character of the pair.
    if (linea.starts_with("\xEF\xBB\xBF")) {
        linea.erase(0, 3);
    }
    // What was read, line ends counted: the file may have grown since its size was taken.
    std::uintmax_t leidos = 0;
    do {
        ++numero;
        leidos += linea.size() + 1;
        if (leidos > kMaxFicheroCaracteres) {
            return rechazar(demasiado);
        }
        // A control character would be written into every bank file the table rewrites.
        if (hayCaracterControl(linea)) {
            return rechazarLinea(" tiene un carácter de control");
        }
        // A file saved by a UTF-8 editor still means the same characters. One that Windows-1252 lacks
        // could only come as another character (its base letter, or "?"), and the pair would then put or
        // replace that one in every bank file.
        if (pareceUtf8(linea)) {
            if (!todoEnWindows1252(linea)) {
                return rechazarLinea(" tiene un carácter que no existe en Windows-1252 y que un fichero del "
                                     "banco no puede llevar");
            }
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
        return rechazar(motivoLector());
    }
    if (tabla.empty()) {
        return rechazar("está vacío");
    }
    auto sustituir = sustitucionPorBloques(tabla);
    if (!sustituir) {
        return rechazar("sus pares, aplicados uno tras otro, dan reemplazos de más de " +
                        std::to_string(kMaxFicheroCaracteres) + " bytes");
    }
    return TablaCaracteres{std::move(tabla), std::move(*sustituir)};
}

std::optional<std::function<void(std::string&)>>
sustitucionPorBloques(const std::vector<SustitucionCaracter>& tabla) {
    auto reemplazos = reemplazosPorCaracter(tabla);
    if (!reemplazos) {
        return std::nullopt;
    }
    std::array<bool, 256> cambia{};
    for (std::size_t c = 0; c < cambia.size(); ++c) {
        cambia[c] = (*reemplazos)[c] != std::string(1, static_cast<char>(c));
    }
    return [reemplazos = std::move(*reemplazos), cambia](std::string& texto) {
        const auto primero =
            std::ranges::find_if(texto, [&cambia](char c) { return cambia[static_cast<unsigned char>(c)]; });
        if (primero == texto.end()) {
            return;
        }
        std::string resultado(texto.begin(), primero);
        resultado.reserve(texto.size());
        for (auto it = primero; it != texto.end(); ++it) {
            const auto c = static_cast<unsigned char>(*it);
            if (cambia[c]) {
                resultado += reemplazos[c];
            } else {
                resultado += *it;
            }
        }
        texto = std::move(resultado);
    };
}

} // namespace trovanel
