#include "configuracion.hpp"

#include "fichero_salida.hpp"
#include "lector_lineas.hpp"
#include "texto.hpp"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace trovanel {

std::optional<Configuracion> leerConfiguracion(const std::filesystem::path& carpetaPrograma) {
    LectorLineas lector(carpetaPrograma / kFicheroConfiguracion);
    if (!lector.abierto()) {
        return std::nullopt;
    }
    Configuracion configuracion;
    std::string linea;
    while (lector.leer(linea)) {
        if (linea.starts_with(kPrefijoCarpeta)) {
            continue;
        }
        const bool verdadero = contiene(linea, "true");
        if (contiene(linea, "administrador")) {
            configuracion.gAdministrador = verdadero;
        }
        if (contiene(linea, "caracteres")) {
            configuracion.gCaracteres = verdadero;
        }
    }
    if (lector.error()) {
        return std::nullopt;
    }
    return configuracion;
}

bool escribirConfiguracionInicial(const std::filesystem::path& carpetaPrograma) {
    const std::filesystem::path ruta = carpetaPrograma / kFicheroConfiguracion;
    std::error_code error;
    if (std::filesystem::symlink_status(ruta, error).type() != std::filesystem::file_type::not_found) {
        return !error;
    }
    FicheroSalida fichero(ruta, FicheroSalida::Permisos::Privados);
    fichero.escribirLinea("administrador=false");
    fichero.escribirLinea("caracteres=false");
    return fichero.confirmar();
}

namespace {

std::string claveCarpeta(std::string_view proposito) {
    std::string clave(kPrefijoCarpeta);
    clave += proposito;
    clave += '=';
    return clave;
}

} // namespace

std::optional<std::filesystem::path> leerCarpetaReciente(const std::filesystem::path& carpetaPrograma,
                                                         std::string_view proposito) {
    LectorLineas lector(carpetaPrograma / kFicheroConfiguracion);
    const std::string clave = claveCarpeta(proposito);
    std::optional<std::filesystem::path> carpeta;
    std::string linea;
    while (lector.leer(linea)) {
        if (linea.starts_with(clave) && linea.size() > clave.size()) {
            // Kept as the file system's bytes: a path is never converted.
            carpeta = std::filesystem::path(linea.substr(clave.size()));
        }
    }
    return carpeta;
}

bool guardarCarpetaReciente(const std::filesystem::path& carpetaPrograma, std::string_view proposito,
                            const std::filesystem::path& carpeta) {
    const std::string& nombre = carpeta.native();
    if (nombre.empty() || nombre.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    const std::filesystem::path ruta = carpetaPrograma / kFicheroConfiguracion;
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada) {
        return false;
    }
    const std::string antes{std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
    if (entrada.bad()) {
        return false;
    }
    entrada.close();

    // The first line end decides the kind, as the program reads the file.
    const std::size_t primerFin = antes.find_first_of("\r\n");
    std::string fin = "\r\n";
    if (primerFin != std::string::npos && antes.compare(primerFin, 2, "\r\n") != 0) {
        fin = antes.substr(primerFin, 1);
    }
    const std::string clave = claveCarpeta(proposito);
    const std::string nueva = clave + nombre;
    std::string despues;
    bool puesta = false;
    std::size_t inicio = 0;
    while (inicio < antes.size()) {
        std::size_t corte = antes.find_first_of("\r\n", inicio);
        corte = corte == std::string::npos ? antes.size() : corte;
        std::size_t siguiente = corte;
        if (siguiente < antes.size()) {
            siguiente += antes.compare(siguiente, 2, "\r\n") == 0 ? 2 : 1;
        }
        const std::string_view linea(antes.data() + inicio, corte - inicio);
        if (linea.starts_with(clave)) {
            despues += nueva;
            puesta = true;
        } else {
            despues += linea;
        }
        despues.append(antes, corte, siguiente - corte);
        inicio = siguiente;
    }
    if (!puesta) {
        if (!despues.empty() && despues.back() != '\n' && despues.back() != '\r') {
            despues += fin;
        }
        despues += nueva + fin;
    }
    if (despues == antes) {
        return true;
    }
    FicheroSalida fichero(ruta, FicheroSalida::Permisos::Privados);
    fichero.escribir(despues);
    return fichero.confirmar();
}

} // namespace trovanel
