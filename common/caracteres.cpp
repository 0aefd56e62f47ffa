#include "caracteres.hpp"

#include "avisos.hpp"
#include "codificacion.hpp"
#include "lector_lineas.hpp"
#include "reescritura.hpp"

namespace trovanel {

std::vector<SustitucionCaracter> CargarCaracteres(const std::filesystem::path& carpetaPrograma,
                                                  Avisos& avisos) {
    std::vector<SustitucionCaracter> tabla;
    LectorLineas lector(carpetaPrograma / kFicheroCaracteres);
    std::string linea;
    if (!lector.abierto() || !lector.leer(linea)) {
        avisos.simple("No se puede abrir el fichero (caracter.ini)");
        return tabla;
    }
    // Editors that save UTF-8 may start the file with a byte-order mark; it is no character of the pair.
    if (linea.starts_with("\xEF\xBB\xBF")) {
        linea.erase(0, 3);
    }
    do {
        // A file saved by a UTF-8 editor still means the same characters.
        if (pareceUtf8(linea)) {
            linea = utf8ACp1252(linea);
        }
        const auto igual = linea.find('=');
        if (igual != 1) {
            continue;
        }
        tabla.push_back({linea.substr(0, 1), linea.substr(2)});
    } while (lector.leer(linea));
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
