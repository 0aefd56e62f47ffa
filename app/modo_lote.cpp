#include "modo_lote.hpp"

#include "arranque.hpp"
#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "codificacion.hpp"
#include "conversores.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"
#include "texto.hpp"
#include "tipos_plantilla.hpp"

#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>

namespace trovanel {

namespace {

constexpr const char* kFaltanParametros = "Faltan parametros";
constexpr const char* kDetalleCargoIncorrecto =
    "Detalle del cargo incorrecto: el sexto argumento debe ser 0 (cargo total) o 1 (cargo parcial)";
constexpr const char* kSobranArgumentosCSB34 =
    "Sobran argumentos: la coma separa los argumentos, así que el domicilio y la plaza del ordenante "
    "no pueden llevar comas (escriba, por ejemplo, «Riego 122 2o 2a» en lugar de «Riego, 122 2o 2a»)";

// The arguments of each family, as the help lists them and an argument error of that family repeats them.
struct UsoFamilia {
    Familia familia;
    const char* tipos;
    const char* argumentos;
};
constexpr UsoFamilia kUsos[] = {
    {Familia::CSB19, "CSB19", "entrada,salida,plantilla,presentador,fecha DDMMAAAA,emisor"},
    {Familia::CSB34, "CSB34N, CSB34T, CSB34C, CSB34P, PAGOSC",
     "entrada,salida,plantilla,ordenante,fecha DDMMAAAA,detalle del cargo (0 total, 1 parcial),"
     "domicilio del ordenante,plaza del ordenante"},
    {Familia::CSB58, "CSB58", "entrada,salida,plantilla,presentador,emisor"},
    {Familia::ZOP, "ZOP", "entrada,salida,plantilla,ordenante,fecha DDMMAAAA"},
};

// The ids batch mode takes, where the program's database holds them, and a query that lists them.
struct IdentificadorLote {
    const char* argumento;
    const char* columna;
    const char* consulta;
};
constexpr IdentificadorLote kIdentificadores[] = {
    {"plantilla", "estructura.id_estructura (tipo dice sus argumentos; descripcion es su nombre)",
     "'SELECT id_estructura, tipo, descripcion FROM estructura ORDER BY id_estructura'"},
    {"presentador (normas 19 y 58)", "presentadores.id_presentador de tipo cobros (csb es su norma)",
     "\"SELECT id_presentador, csb, nifpre, nompre FROM presentadores WHERE tipo = 'cobros' "
     "ORDER BY id_presentador\""},
    {"ordenante (norma 34 y ZOP)", "presentadores.id_presentador de tipo pagos (csb es ZOP en los de ZOP)",
     "\"SELECT id_presentador, csb, nifpre, nompre FROM presentadores WHERE tipo = 'pagos' "
     "ORDER BY id_presentador\""},
    {"emisor (normas 19 y 58)", "emisores.id_emi (id_presentador es su presentador)",
     "'SELECT id_emi, id_presentador, nifemi, nomemi FROM emisores ORDER BY id_presentador, id_emi'"},
};

// A path as one shell word, whatever it holds.
std::string palabraShell(const std::string& texto) {
    std::string palabra = "'";
    for (const char c : texto) {
        palabra += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return palabra + "'";
}

std::string lineaUso(const UsoFamilia& uso) {
    return std::string("Uso (") + uso.tipos + "): trovanel '" + uso.argumentos + "'";
}

// An argument error: the message first, as always, then how the command line should have been written,
// for the template's family when it is known.
int rechazarArgumentos(Avisos& avisos, const std::string& mensaje, std::optional<Familia> familia = {}) {
    std::string uso = "Uso: trovanel 'entrada,salida,plantilla,presentador,...' (trovanel --help da los "
                      "argumentos de cada tipo de plantilla)";
    for (const UsoFamilia& u : kUsos) {
        if (familia == u.familia) {
            uso = lineaUso(u);
        }
    }
    avisos.informacion(mensaje + "\r\n" + uso);
    return kSalidaRechazada;
}

// Argument i of the command line, "" when it was not given.
std::string argumento(const std::vector<std::string>& parametros, std::size_t i) {
    return i < parametros.size() ? parametros[i] : std::string();
}

// An id is a 32-bit whole number; anything else counts as not given.
std::int64_t enteroOCero(const std::string& texto) {
    const std::int64_t valor = leerEntero(texto).value_or(0);
    if (valor < std::numeric_limits<std::int32_t>::min() ||
        valor > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return valor;
}

// DDMMAAAA as "DD/MM/AAAA", only when it is a real calendar date. Only the first eight characters
// count: blanks stay inside arguments, so a date may arrive with something after it.
std::optional<std::string> fechaLote(const std::string& argumento) {
    if (argumento.size() < 8) {
        return std::nullopt;
    }
    const std::string texto = argumento.substr(0, 8);
    if (!soloDigitos(texto)) {
        return std::nullopt;
    }
    const int dia = std::stoi(texto.substr(0, 2));
    const int mes = std::stoi(texto.substr(2, 2));
    const int anio = std::stoi(texto.substr(4, 4));
    if (!fechaValida(anio, mes, dia)) {
        return std::nullopt;
    }
    return texto.substr(0, 2) + "/" + texto.substr(2, 2) + "/" + texto.substr(4, 4);
}

// The family a batch run would give the template's type, for the usage line of a date error.
std::optional<Familia> familiaDeTipo(const std::string& tipo) {
    const auto t = buscarTipoPlantilla(Trim(tipo));
    if (!t || t->entrada != TipoEntrada::Texto) {
        return std::nullopt;
    }
    return t->familia;
}

// A norm 34 code without suffix, compared exactly.
bool esCodigoCSB34(const std::string& tipo) {
    const auto t = buscarTipoPlantilla(tipo);
    return t && t->familia == Familia::CSB34 && t->entrada == TipoEntrada::Texto;
}

// Size of a file, 0 when there is none.
std::uintmax_t tamanoFichero(const std::filesystem::path& ruta) {
    std::error_code error;
    const std::uintmax_t tamano = std::filesystem::file_size(ruta, error);
    return error ? 0 : tamano;
}

// Without a result window, one line says what the exit status alone would not: that orders went to the
// log, and where it is, that the log could not be written (so no bank file either), or that the input
// held no order. A run cancelled or stopped on another error has already said why.
void informarDelFinal(const ResultadoConversion& resultado, Avisos& avisos, std::uintmax_t logAntes) {
    using Clase = ResultadoConversion::Clase;
    if (resultado.clase == Clase::Cancelado) {
        return;
    }
    if (resultado.clase == Clase::LogNoEscrito) {
        avisos.informacion("Proceso terminado incorrectamente: no se puede escribir el registro de errores " +
                           rutaComoTexto(resultado.log));
    } else if (resultado.conErrores() && tamanoFichero(resultado.log) > logAntes) {
        avisos.informacion("Proceso terminado incorrectamente: registro de errores en " +
                           rutaComoTexto(resultado.log));
    } else if (resultado.clase == Clase::NadaQueEscribir) {
        avisos.informacion("No se ha generado el fichero de salida: la entrada no contiene ninguna orden");
    }
}

// The type code of the template the command line names, as stored; nothing, after saying why, when there
// is no such template or it cannot be read.
std::optional<std::string> tipoDePlantilla(Entorno& entorno, std::int64_t idEstructura) {
    try {
        auto consulta = entorno.baseDatos.preparar(
            "SELECT tipo FROM estructura WHERE id_estructura = ? ORDER BY id_estructura");
        consulta.con(idEstructura);
        if (!consulta.siguiente()) {
            entorno.avisos.informacion("No existe una plantilla con este identificador");
            return std::nullopt;
        }
        return consulta.texto(0);
    } catch (const ErrorBaseDatos& e) {
        entorno.avisos.critico(std::string("No se puede cargar la plantilla\r\nError: ") + e.what());
        return std::nullopt;
    }
}

// The family of the template's type, with the arguments of its own put into the request (and the type
// without blanks); nothing, after the message that refuses them, when they are missing or wrong. The
// process date, when given, is already in the request.
std::optional<Familia> argumentosDeFamilia(const std::string& tipo,
                                           const std::vector<std::string>& parametros,
                                           ParametrosConversion& peticion, Avisos& avisos) {
    const std::string tipoLimpio = Trim(tipo);
    const bool sinFecha = enBlanco(peticion.gFechaProceso);
    peticion.gTipoEstructura = tipoLimpio;
    if (tipo == "CSB19") {
        peticion.idEmisor = enteroOCero(argumento(parametros, 6));
        if (sinFecha || peticion.idEmisor == 0) {
            rechazarArgumentos(avisos, kFaltanParametros, Familia::CSB19);
            return std::nullopt;
        }
        return Familia::CSB19;
    }
    if (esCodigoCSB34(tipo)) {
        peticion.detalleCargo = argumento(parametros, 6);
        // The command line is UTF-8; record text is Windows-1252, one byte a character.
        peticion.domicilioOrdenante = utf8ACp1252(argumento(parametros, 7), kSinEquivalente);
        peticion.plazaOrdenante = utf8ACp1252(argumento(parametros, 8), kSinEquivalente);
        if (sinFecha || enBlanco(peticion.detalleCargo) || enBlanco(peticion.domicilioOrdenante) ||
            enBlanco(peticion.plazaOrdenante)) {
            rechazarArgumentos(avisos, kFaltanParametros, Familia::CSB34);
            return std::nullopt;
        }
        if (peticion.detalleCargo != "0" && peticion.detalleCargo != "1") {
            rechazarArgumentos(avisos, kDetalleCargoIncorrecto, Familia::CSB34);
            return std::nullopt;
        }
        // A ninth argument is almost always an address written with a comma: taking the pieces as they
        // come would put the address's tail in the town and lose the town.
        if (parametros.size() > 9) {
            avisos.informacion(kSobranArgumentosCSB34);
            return std::nullopt;
        }
        return Familia::CSB34;
    }
    if (tipoLimpio == "CSB58") {
        peticion.idEmisor = enteroOCero(argumento(parametros, 5));
        if (peticion.idEmisor == 0) {
            rechazarArgumentos(avisos, kFaltanParametros, Familia::CSB58);
            return std::nullopt;
        }
        return Familia::CSB58;
    }
    if (tipoLimpio == "ZOP") {
        if (sinFecha) {
            rechazarArgumentos(avisos, kFaltanParametros, Familia::ZOP);
            return std::nullopt;
        }
        return Familia::ZOP;
    }
    avisos.informacion("Plantilla incorrecta");
    return std::nullopt;
}

} // namespace

int ejecutarModoLote(Entorno& entorno, const RegistroConversores& registro,
                     const std::vector<std::string>& parametros) {
    Avisos& avisos = entorno.avisos;

    ParametrosConversion peticion;
    const std::filesystem::path entrada(argumento(parametros, 1));
    peticion.rutaEntrada = entrada.is_absolute() ? entrada : entorno.carpetaPrograma / entrada;
    peticion.rutaSalida = argumento(parametros, 2);
    peticion.idEstructura = enteroOCero(argumento(parametros, 3));
    peticion.idPresentador = enteroOCero(argumento(parametros, 4));

    if (enBlanco(peticion.rutaSalida.native()) || peticion.idEstructura == 0 || peticion.idPresentador == 0) {
        return rechazarArgumentos(avisos, kFaltanParametros);
    }

    const std::optional<std::string> tipo = tipoDePlantilla(entorno, peticion.idEstructura);
    if (!tipo) {
        return kSalidaRechazada;
    }
    // The date is checked before the type, so a bad date is reported even for an unknown or blank type.
    const std::string argumento5 = argumento(parametros, 5);
    if (!argumento5.empty() && Trim(*tipo) != "CSB58") {
        const auto fecha = fechaLote(argumento5);
        if (!fecha) {
            return rechazarArgumentos(avisos, "Fecha incorrecta", familiaDeTipo(*tipo));
        }
        peticion.gFechaProceso = *fecha;
    }
    const std::optional<Familia> familia = argumentosDeFamilia(*tipo, parametros, peticion, avisos);
    if (!familia) {
        return kSalidaRechazada;
    }

    const Conversor* conversor = registro.buscar(*familia);
    if (conversor == nullptr) {
        avisos.informacion(mensajeSinConversor(peticion.gTipoEstructura));
        return kSalidaRechazada;
    }

    // Without a window the log goes where the dialog would put it: beside the input.
    peticion.gFicheroLog = derivarRutasConversion(peticion.rutaEntrada).log;
    // The log is appended to: what this run added is what lies past its former end.
    const std::uintmax_t logAntes = tamanoFichero(peticion.gFicheroLog);
    EstadoEjecucion estado;
    const ResultadoConversion resultado = ejecutarConversor(*conversor, estado, entorno, peticion);
    if (resultado.clase == ResultadoConversion::Clase::RechazadoAntesDeLeer) {
        return kSalidaRechazada;
    }
    informarDelFinal(resultado, avisos, logAntes);
    return resultado.conErrores() ? kSalidaConErrores : kSalidaCorrecta;
}

std::string ayudaModoLote(const std::string& version, const std::filesystem::path& carpetaPrograma) {
    std::string ayuda = "Trovanel " + version +
                        ": ficheros de remesas bancarias de las normas 19, 34 y 58 y de pagos ZOP.\n\n"
                        "  trovanel                 abre la ventana principal\n"
                        "  trovanel 'ARGUMENTOS'    convierte sin ventana (modo lote); los argumentos van "
                        "separados por comas o tabuladores\n"
                        "  trovanel --help          esta ayuda\n"
                        "  trovanel --version       la versión\n\n"
                        "Argumentos del modo lote según el tipo de la plantilla:\n";
    for (const UsoFamilia& uso : kUsos) {
        ayuda += "  " + lineaUso(uso) + "\n";
    }
    ayuda +=
        "\nUna entrada relativa se busca en la carpeta del programa; la salida relativa, en la carpeta "
        "actual.\n"
        "Una salida que es un enlace simbólico se escribe donde lleva el enlace, que se queda.\n"
        "\nEstado de salida:\n"
        "  0  sin órdenes rechazadas (también si la entrada no tiene ninguna orden)\n"
        "  1  con órdenes rechazadas, o detenida por un error: una plantilla que no se puede usar, datos\n"
        "     obligatorios que faltan, una entrada que no se puede leer entera, un fichero del banco o un\n"
        "     registro de errores que no se pueden escribir\n"
        "  2  rechazada antes de leer la entrada: argumentos que faltan o no valen, una plantilla que no\n"
        "     existe o cuyo tipo no se convierte en modo lote, un presentador, ordenante o emisor que no se\n"
        "     puede usar, una entrada que no se puede abrir (no existe, sin permiso, no es un fichero\n"
        "     regular, mezcla UTF-8 y Windows-1252) o una salida que no puede recibir el fichero del banco\n"
        "     (una carpeta, un fichero de solo lectura o que no es regular, en una carpeta que no existe o\n"
        "     sin permiso de escritura, o la entrada, el registro de errores o un fichero del programa)\n"
        "  3  sin carpeta del programa o sin base de datos\n";
    // The windows show the ids one at a time; a user who has only the help still needs to list them.
    const std::string baseDatos = palabraShell(rutaComoTexto(carpetaPrograma / kNombreBaseDatos));
    ayuda +=
        "\nLa plantilla, el presentador u ordenante y el emisor son identificadores de la base de datos "
        "del\nprograma, " +
        baseDatos +
        ".\nCon el programa cerrado (mientras está abierto la tiene en exclusiva), cada orden de sqlite3\n"
        "(paquete sqlite3) lista los de un tipo sin cambiar nada (la base de datos se crea en el primer\n"
        "arranque: hasta entonces no hay nada que listar y sqlite3 da un error):\n";
    for (const IdentificadorLote& id : kIdentificadores) {
        ayuda += std::string("  ") + id.argumento + ": " + id.columna + "\n    sqlite3 -readonly " +
                 baseDatos + " " + id.consulta + "\n";
    }
    return ayuda;
}

} // namespace trovanel
