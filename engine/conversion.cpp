#include "conversion.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "caracteres.hpp"
#include "configuracion.hpp"
#include "datos_obligatorios.hpp"
#include "entrada_excel_access.hpp"
#include "error.hpp"
#include "familia_conversion.hpp"
#include "fichero_entrada.hpp"
#include "fichero_salida.hpp"
#include "lector_filas.hpp"
#include "motor_lectura.hpp"
#include "multifactura.hpp"
#include "plantilla.hpp"
#include "texto.hpp"
#include "tipos_plantilla.hpp"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace trovanel {

namespace {

constexpr const char* kNoSeCargaPlantilla = "No se puede cargar la plantilla";
constexpr const char* kLaBaseDatos = "la base de datos del programa";
constexpr const char* kLaCopia = "la copia de seguridad de la base de datos";

// The template's row and its fields into gCamposEstructura, through the one loading the editors use too;
// nothing, after the message, when either cannot be read, the template has no fields or its positions
// are no editor's.
std::optional<Plantilla> cargarPlantilla(FamiliaConversion& familia, std::int64_t id) {
    std::string mensaje = kNoSeCargaPlantilla;
    try {
        Plantilla plantilla = leerPlantilla(familia.entorno.baseDatos, id);
        std::vector<CampoEstructura> campos = camposParaConversion(plantilla);
        if (!campos.empty()) {
            comprobarPosiciones(plantilla);
            familia.estado.gCamposEstructura = std::move(campos);
            return plantilla;
        }
    } catch (const ErrorPlantillaIncorrecta& e) {
        mensaje = e.what();
    } catch (const ErrorBaseDatos& e) {
        mensaje += std::string("\r\nError: ") + e.what();
    }
    familia.entorno.avisos.informacion(mensaje);
    familia.fallar(std::move(mensaje));
    return std::nullopt;
}

// A path resolved as far as it exists; a relative one is made absolute first, or it would stay as it is.
std::optional<std::filesystem::path> resuelta(const std::filesystem::path& ruta) {
    std::error_code error;
    const auto absoluta = std::filesystem::absolute(ruta, error);
    if (error) {
        return std::nullopt;
    }
    auto canonica = std::filesystem::weakly_canonical(absoluta, error);
    if (error) {
        return std::nullopt;
    }
    return canonica;
}

// What the messages call a file of the program folder that no conversion may write, by its name alone.
const char* ficheroDelPrograma(const std::string& nombre) {
    if (nombre == kFicheroConfiguracion) {
        return "el fichero de configuración del programa (config.ini)";
    }
    if (nombre == kFicheroCaracteres) {
        return "el fichero de sustitución de caracteres del programa (caracteres.ini)";
    }
    switch (clasificarFichero(nombre)) {
    case FicheroDeBaseDatos::BaseDatos:
        return kLaBaseDatos;
    case FicheroDeBaseDatos::Copia:
        return kLaCopia;
    case FicheroDeBaseDatos::Ninguno:
        break;
    }
    return nullptr;
}

// The file of the program folder, or of the run itself, that ruta names however spelt (a link or another
// name of it included), by what the message calls it.
std::optional<std::string>
ficheroProtegido(const std::filesystem::path& ruta, const Entorno& entorno,
                 const std::vector<std::pair<std::filesystem::path, const char*>>& protegidos) {
    if (ruta.empty()) {
        return std::nullopt;
    }
    // ruta is looked up once, not once for each protected file.
    struct stat datosRuta {};
    const bool rutaExiste = ::stat(ruta.c_str(), &datosRuta) == 0;
    const auto resueltaRuta = resuelta(ruta);
    // The same file when both exist (a link to it included), else the same place once each is resolved.
    for (const auto& [protegido, nombre] : protegidos) {
        if (protegido.empty()) {
            continue;
        }
        struct stat datos {};
        const bool mismo = rutaExiste && ::stat(protegido.c_str(), &datos) == 0
                               ? datos.st_dev == datosRuta.st_dev && datos.st_ino == datosRuta.st_ino
                               : resueltaRuta && resueltaRuta == resuelta(protegido);
        if (mismo) {
            return nombre;
        }
    }
    if (entorno.carpetaPrograma.empty()) {
        return std::nullopt;
    }
    // Any file of the folder by its name, there or not yet: config.ini, a copy of another day.
    if (resueltaRuta && resueltaRuta->parent_path() == resuelta(entorno.carpetaPrograma)) {
        if (const char* nombre = ficheroDelPrograma(resueltaRuta->filename().string())) {
            return nombre;
        }
    }
    return std::nullopt;
}

// The bank file takes its name at the end of the run, replacing whatever had it, and the log is appended
// to: neither may be a file the run reads or writes itself, nor a file of the program folder (its
// configuration, its database, its journal and the database's copies of every day), however it is
// reached: a hard link elsewhere is the same file, a symbolic link the file it leads to. The message names
// the clash.
std::optional<std::string> salidaQueChoca(const Entorno& entorno, const ParametrosConversion& parametros) {
    const std::filesystem::path carpeta = entorno.carpetaPrograma;
    const std::filesystem::path sinRuta;
    const Configuracion* configuracion = entorno.configuracion;
    std::vector<std::pair<std::filesystem::path, const char*>> protegidos{
        {configuracion ? configuracion->gRutaBDOrigen : sinRuta, kLaBaseDatos},
        {carpeta.empty() ? std::filesystem::path() : carpeta / kNombreBaseDatos, kLaBaseDatos},
        {configuracion ? configuracion->gRutaCopiaBD : sinRuta, kLaCopia},
        {carpeta.empty() ? std::filesystem::path() : carpeta / kFicheroConfiguracion,
         ficheroDelPrograma(kFicheroConfiguracion)},
        {carpeta.empty() ? std::filesystem::path() : carpeta / kFicheroCaracteres,
         ficheroDelPrograma(kFicheroCaracteres)},
        {parametros.rutaEntrada, "el fichero de entrada"},
    };
    // The database's journal and the copies of other days are known only by what the folder holds.
    std::error_code error;
    for (std::filesystem::directory_iterator it(carpeta, error), fin; !carpeta.empty() && !error && it != fin;
         it.increment(error)) {
        switch (clasificarFichero(it->path().filename().native())) {
        case FicheroDeBaseDatos::BaseDatos:
            protegidos.emplace_back(it->path(), kLaBaseDatos);
            break;
        case FicheroDeBaseDatos::Copia:
            protegidos.emplace_back(it->path(), kLaCopia);
            break;
        case FicheroDeBaseDatos::Ninguno:
            break;
        }
    }
    if (const auto choque = ficheroProtegido(parametros.gFicheroLog, entorno, protegidos)) {
        return "El registro de errores no puede ser el mismo que " + *choque;
    }
    protegidos.emplace_back(parametros.gFicheroLog, "el registro de errores");
    // The bank file replaces the file its links lead to, which need not exist yet.
    const auto salida = FicheroSalida::destinoFinal(parametros.rutaSalida).value_or(parametros.rutaSalida);
    if (const auto choque = ficheroProtegido(salida, entorno, protegidos)) {
        return "El fichero de salida no puede ser el mismo que " + *choque;
    }
    return std::nullopt;
}

// False, the run cancelled, when they are not given.
bool pedirDatosQueFaltan(FamiliaConversion& familia, const ParametrosConversion& parametros) {
    EstadoEjecucion& estado = familia.estado;
    Entorno& entorno = familia.entorno;
    const std::vector<std::size_t> faltan = camposQueFaltan(estado.gCamposEstructura);
    if (faltan.empty()) {
        return true;
    }
    if (entorno.solicitudDatos != nullptr) {
        if (entorno.solicitudDatos->MostrarDatosObligatorios(estado, faltan, parametros.gTipoEstructura)) {
            return true;
        }
        familia.fallar("", ResultadoConversion::Clase::Cancelado);
        return false;
    }
    // Without a window nobody can supply them: the run is cancelled, saying what is missing.
    std::string nombres;
    for (std::size_t i : faltan) {
        nombres += (nombres.empty() ? "" : ", ") + estado.gCamposEstructura[i].campo;
    }
    std::string mensaje =
        "Proceso Cancelado\r\nFaltan datos obligatorios que la plantilla no sitúa en la entrada: " + nombres;
    entorno.avisos.informacion(mensaje);
    familia.fallar(std::move(mensaje), ResultadoConversion::Clase::Cancelado);
    return false;
}

// The input read by the reader its kind asks for (a sheet, a table, text by lines, by orders or by
// invoices), every order validated and written as it is read. A template whose keys cannot tell an order
// or an invoice apart stops the run before the input is read.
void leerEntrada(FamiliaConversion& familia, const Plantilla& plantilla,
                 const ParametrosConversion& parametros) {
    const auto tipo = buscarTipoPlantilla(Trim(plantilla.tipo));
    const auto& campos = familia.estado.gCamposEstructura;
    bool conClaves = false;
    for (const CampoEstructura& campo : campos) {
        conClaves = conClaves || campo.inilinea != 0;
    }

    // The input kind comes first: line keys mean something only in text input.
    if (tipo && tipo->entrada == TipoEntrada::Excel) {
        // The workbook the dialog opened, else the input file; closed after the read either way.
        LibroEntrada* libro = familia.entorno.libroEntrada;
        if (libro && libro->gLibroAbierto && libro->gLibroExcel) {
            leerHoja(familia, *libro->gLibroExcel, parametros.gHojaExcel, parametros.rutaSalida);
        } else {
            leerHoja(familia, parametros.rutaEntrada, parametros.gHojaExcel, parametros.rutaSalida);
        }
        if (libro) {
            CerrarLibroExcel(*libro);
        }
    } else if (tipo && tipo->entrada == TipoEntrada::Access) {
        leerTabla(familia, parametros.rutaEntrada, parametros.gTablaAccess, parametros.rutaSalida);
    } else if (!conClaves) {
        leerTextoLinea(familia, parametros.rutaEntrada, parametros.rutaSalida);
    } else if (plantilla.principiolinea < 0 ||
               plantilla.principiolinea >= static_cast<std::int64_t>(campos.size())) {
        const char* mensaje = "Por favor revise la plantilla.\r\nFalta indicar Principio de orden";
        familia.entorno.avisos.informacion(mensaje);
        familia.fallar(mensaje);
    } else if (!plantilla.multifactura) {
        familia.lectura.gCampoClave = static_cast<std::size_t>(plantilla.principiolinea);
        leerTextoOrden(familia, parametros.rutaEntrada, parametros.rutaSalida);
    } else if (const auto clave = prepararClaveFactura(campos, plantilla.multifacturas); !clave) {
        // Without a key no line could be told an invoice line: stop before the input is read.
        const char* mensaje = "Por favor revise la plantilla.\r\nFalta indicar el identificador de factura";
        familia.entorno.avisos.informacion(mensaje);
        familia.fallar(mensaje);
    } else {
        familia.lectura.gCampoClave = static_cast<std::size_t>(plantilla.principiolinea);
        if (clave->contada) {
            leerMultifacturaSecuencia(familia, *clave, parametros.rutaEntrada, parametros.rutaSalida);
        } else {
            leerMultifactura(familia, *clave, parametros.rutaEntrada, parametros.rutaSalida);
        }
    }
}

} // namespace

ResultadoConversion ejecutarConversion(FamiliaConversion& familia, const ParametrosConversion& parametros) {
    EstadoEjecucion& estado = familia.estado;
    Entorno& entorno = familia.entorno;
    estado.gErrores.clear();
    familia.resultado = ResultadoConversion{};
    familia.resultado.log = parametros.gFicheroLog;

    if (auto choque = salidaQueChoca(entorno, parametros)) {
        entorno.avisos.informacion(*choque);
        familia.fallar(std::move(*choque), ResultadoConversion::Clase::RechazadoAntesDeLeer);
        return familia.resultado;
    }
    // An output that is a folder, a FIFO, a device, a read-only file, or in a folder that is missing or
    // read-only, is no place for a bank file: it is refused before anything is read, and left as it is.
    if (const std::string motivo = FicheroSalida::destinoInutilizable(parametros.rutaSalida);
        !motivo.empty()) {
        std::string mensaje = mensajeEntrada(kNoSeCreaSalida, parametros.rutaSalida, motivo);
        entorno.avisos.critico(mensaje);
        familia.fallar(std::move(mensaje), ResultadoConversion::Clase::RechazadoAntesDeLeer);
        return familia.resultado;
    }

    // A party that cannot be read is an id that names nobody: refused before anything is read, as a
    // wrong argument is.
    if (!familia.cargarPartes(parametros)) {
        familia.fallar("", ResultadoConversion::Clase::RechazadoAntesDeLeer);
        return familia.resultado;
    }

    const std::optional<Plantilla> plantilla = cargarPlantilla(familia, parametros.idEstructura);
    if (!plantilla) {
        return familia.resultado;
    }

    // Cancelled: nothing is read or written.
    if (!pedirDatosQueFaltan(familia, parametros)) {
        return familia.resultado;
    }

    estado.gCabeceraLogPendiente = true;
    familia.transformarSalida = parametros.sustituirCaracteres;
    leerEntrada(familia, *plantilla, parametros);
    return familia.concluir();
}

} // namespace trovanel
