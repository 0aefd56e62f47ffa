#include "soporte_pruebas.hpp"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace trovanel::pruebas {

bool AvisosGrabados::pregunta(const std::string& texto) {
    mensajes.push_back({"pregunta", texto});
    if (respuestas.empty()) {
        return false;
    }
    const bool respuesta = respuestas.front();
    respuestas.pop_front();
    return respuesta;
}

CarpetaTemporal::CarpetaTemporal() {
    std::string plantilla = (std::filesystem::temp_directory_path() / "trovanel-prueba-XXXXXX").string();
    std::vector<char> nombre(plantilla.begin(), plantilla.end());
    nombre.push_back('\0');
    if (::mkdtemp(nombre.data()) == nullptr) {
        throw std::runtime_error("mkdtemp");
    }
    ruta_ = nombre.data();
}

CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ignorado;
    std::filesystem::permissions(ruta_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignorado);
    std::filesystem::remove_all(ruta_, ignorado);
}

std::string leerFichero(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    if (!f) {
        throw std::runtime_error("no se puede leer " + ruta.string());
    }
    std::ostringstream contenido;
    contenido << f.rdbuf();
    return contenido.str();
}

void escribirFichero(const std::filesystem::path& ruta, const std::string& bytes) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f << bytes;
    if (!f) {
        throw std::runtime_error("no se puede escribir " + ruta.string());
    }
}

std::size_t entradasDe(const std::filesystem::path& carpeta) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(carpeta), {}));
}

std::filesystem::path datosPrueba() {
    return TROVANEL_DATOS_PRUEBA;
}
std::filesystem::path raizProyecto() {
    return TROVANEL_RAIZ;
}

std::filesystem::path carpetaMuestras() {
    const char* variable = std::getenv("TROVANEL_DATOS_MUESTRA");
    return variable != nullptr && *variable != '\0' ? std::filesystem::path(variable)
                                                    : std::filesystem::path(TROVANEL_DATOS_MUESTRA);
}

std::string faltanMuestras() {
    const std::filesystem::path carpeta = carpetaMuestras();
    std::error_code error;
    if (std::filesystem::is_directory(carpeta, error)) {
        return {};
    }
    return "Faltan los ficheros de muestra: no existe la carpeta " + carpeta.string() +
           ". Su carpeta se indica con -DTROVANEL_DATOS_MUESTRA=RUTA al configurar CMake o con la "
           "variable de entorno TROVANEL_DATOS_MUESTRA; con TROVANEL_DATOS_MUESTRA_OBLIGATORIOS=1 su falta "
           "es un fallo.";
}

bool muestrasObligatorias() {
    const char* variable = std::getenv("TROVANEL_DATOS_MUESTRA_OBLIGATORIOS");
    if (variable == nullptr || *variable == '\0') {
        return TROVANEL_DATOS_MUESTRA_OBLIGATORIOS != 0;
    }
    std::string valor(variable);
    for (char& c : valor) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return !(valor == "0" || valor == "off" || valor == "no" || valor == "false");
}

} // namespace trovanel::pruebas
