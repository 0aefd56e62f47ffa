#include "arranque.hpp"

#include "avisos.hpp"
#include "base_datos_programa.hpp"
#include "configuracion.hpp"

#include <cstdlib>
#include <system_error>

namespace trovanel {

bool hayPantalla(std::string_view display, std::string_view wayland, std::string_view plataformaQt) {
    if (!display.empty() || !wayland.empty()) {
        return true;
    }
    while (!plataformaQt.empty()) {
        const auto fin = plataformaQt.find(';');
        const std::string_view entrada = plataformaQt.substr(0, fin);
        const std::string_view nombre = entrada.substr(0, entrada.find(':'));
        if (!nombre.empty() && !nombre.starts_with("xcb") && !nombre.starts_with("wayland")) {
            return true;
        }
        plataformaQt = fin == std::string_view::npos ? std::string_view() : plataformaQt.substr(fin + 1);
    }
    return false;
}

bool hayPantalla() {
    const auto variable = [](const char* nombre) {
        const char* valor = std::getenv(nombre);
        return std::string_view(valor == nullptr ? "" : valor);
    };
    return hayPantalla(variable("DISPLAY"), variable("WAYLAND_DISPLAY"), variable("QT_QPA_PLATFORM"));
}

std::string unirLineaComandos(int argc, const char* const* argv) {
    std::string linea;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            linea.push_back(' ');
        }
        linea += argv[i];
    }
    return linea;
}

std::vector<std::string> LeerParametros(std::string_view lineaComandos, std::size_t limite) {
    std::vector<std::string> parametros(1);
    bool dentro = false;
    for (char c : lineaComandos) {
        if (c == '\t' || c == ',') {
            dentro = false;
            continue;
        }
        if (!dentro) {
            if (parametros.size() - 1 == limite) {
                break;
            }
            parametros.emplace_back();
            dentro = true;
        }
        parametros.back().push_back(c);
    }
    return parametros;
}

std::filesystem::path rutaCopiaDelDia(const std::filesystem::path& carpetaPrograma, const FechaHora& hoy) {
    return carpetaPrograma /
           (std::to_string(hoy.dia) + std::to_string(hoy.mes) + std::to_string(hoy.anio) + kExtensionCopia);
}

std::optional<BaseDatos> abrirBaseDatosAlArrancar(Configuracion& configuracion, Avisos& avisos,
                                                  const Reloj& reloj,
                                                  const std::filesystem::path& carpetaPrograma) {
    configuracion.gRutaBDOrigen = carpetaPrograma / kNombreBaseDatos;
    configuracion.gRutaCopiaBD = rutaCopiaDelDia(carpetaPrograma, reloj.ahora());

    std::optional<BaseDatos> baseDatos;
    try {
        baseDatos.emplace(abrirBaseDatosPrograma(configuracion.gRutaBDOrigen));
    } catch (const ErrorTrovanel& e) {
        avisos.critico(std::string("Error: ") + e.what());
        return std::nullopt;
    }
    // Held exclusively now: a config.ini that a first start killed before it was written gets the new
    // installation's one, and writing it removes what the killed start left of it. One that fails is
    // told by the main window, which cannot open the file.
    escribirConfiguracionInicial(carpetaPrograma);

    std::error_code error;
    const bool existe = std::filesystem::exists(configuracion.gRutaCopiaBD, error);
    if (error || !existe) {
        try {
            if (error) {
                throw ErrorBaseDatos(error.message());
            }
            copiarBaseDatosPrograma(*baseDatos, configuracion.gRutaCopiaBD);
        } catch (const ErrorTrovanel&) {
            avisos.informacion("No se puede crear copia de seguridad de la Base de datos\r\n"
                               "asegurese de que la Base de datos esta cerrada y vuelva a abrir el programa "
                               "si quiere que se genere la copia de seguridad");
        }
    }
    return baseDatos;
}

} // namespace trovanel
