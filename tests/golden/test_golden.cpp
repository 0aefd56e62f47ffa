// The golden cases: every folder under tests/data that holds a caso.txt is one test, run in a work folder
// of its own with the program's database, a fixed clock and recorded messages; the bank file and the log it
// leaves are compared byte for byte with the files written by hand. tests/data/README.md tells how a case
// is written.

#include "arranque.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "caracteres.hpp"
#include "configuracion.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "entrada_excel_access.hpp"
#include "entradas_filas.hpp"
#include "estado_ejecucion.hpp"
#include "modelo_entrada.hpp"
#include "modo_lote.hpp"
#include "peticion.hpp"
#include "solicitud_tecleada.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;
using pruebas::leerFichero;

std::string recortar(const std::string& texto) {
    const auto inicio = texto.find_first_not_of(" \t\r");
    return inicio == std::string::npos ? ""
                                       : texto.substr(inicio, texto.find_last_not_of(" \t\r") - inicio + 1);
}

std::vector<std::string> partir(const std::string& texto, char separador) {
    std::vector<std::string> partes;
    std::istringstream flujo(texto);
    for (std::string parte; std::getline(flujo, parte, separador);) {
        if (separador != ' ' || !parte.empty()) {
            partes.push_back(parte);
        }
    }
    return partes;
}

// The keys a case may give (tests/data/README.md).
const std::string kClaves =
    " sql plantilla presentador emisor entrada muestra fichero finales generar numeros filas hoja "
    "tabla salida_previa fecha_proceso fecha_datos ejecucion tipo texto_plantilla "
    "texto_presentador texto_emisor fecha_cargo detalle domicilio plaza argumentos tecleo "
    "repetir estado_salida aviso log esperado_out esperado_log caracteres ";

void reemplazar(std::string& texto, const std::string& que, const std::string& por) {
    for (auto i = texto.find(que); i != std::string::npos; i = texto.find(que, i + por.size())) {
        texto.replace(i, que.size(), por);
    }
}

struct Caso {
    std::string nombre; // "csb19/linea"
    fs::path carpeta;
    std::map<std::string, std::string> claves;

    bool tiene(const std::string& clave) const { return claves.contains(clave); }
    std::string valor(const std::string& clave, const std::string& otro = "") const {
        const auto it = claves.find(clave);
        return it == claves.end() ? otro : it->second;
    }
    std::int64_t entero(const std::string& clave, std::int64_t otro = 0) const {
        return tiene(clave) ? std::stoll(valor(clave)) : otro;
    }
};

void PrintTo(const Caso& caso, std::ostream* os) {
    *os << caso.nombre;
}

// key = value lines; "#" starts a comment line; a value in double quotes keeps its outer blanks; \r and
// \n stand for CR and LF.
Caso leerCaso(const fs::path& fichero) {
    Caso caso{fichero.parent_path().lexically_relative(pruebas::datosPrueba()).generic_string(),
              fichero.parent_path(),
              {}};
    for (const std::string& bruta : partir(leerFichero(fichero), '\n')) {
        const std::string linea = recortar(bruta);
        if (linea.empty() || linea[0] == '#') {
            continue;
        }
        const auto igual = linea.find('=');
        const std::string clave = recortar(linea.substr(0, igual));
        if (igual == std::string::npos || kClaves.find(" " + clave + " ") == std::string::npos) {
            throw std::runtime_error(fichero.string() + ": línea no reconocida: " + linea);
        }
        std::string valor = recortar(linea.substr(igual + 1));
        if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"') {
            valor = valor.substr(1, valor.size() - 2);
        }
        reemplazar(valor, "\\r", "\r");
        reemplazar(valor, "\\n", "\n");
        caso.claves[clave] = valor;
    }
    return caso;
}

std::vector<Caso> casos() {
    std::vector<Caso> todos;
    for (const auto& entrada : fs::recursive_directory_iterator(pruebas::datosPrueba())) {
        if (entrada.path().filename() == "caso.txt") {
            todos.push_back(leerCaso(entrada.path()));
        }
    }
    std::ranges::sort(todos, {}, &Caso::nombre);
    return todos;
}

std::set<std::string> nombresEn(const fs::path& carpeta) {
    std::set<std::string> nombres;
    for (const auto& entrada : fs::directory_iterator(carpeta)) {
        nombres.insert(entrada.path().filename().string());
    }
    return nombres;
}

class Golden : public ::testing::TestWithParam<Caso> {
protected:
    // The case's input in the work folder; a template read as rows replaces plantilla.
    fs::path prepararEntrada(const Caso& caso) {
        std::string texto = caso.tiene("entrada") ? leerFichero(caso.carpeta / caso.valor("entrada")) : "";
        if (caso.valor("finales") == "lf") {
            reemplazar(texto, "\r\n", "\n");
        }
        const std::string generar = caso.valor("generar");
        // Read only when used: a case may leave the template's fields unreadable.
        const std::vector<pruebas::CampoPlantilla> campos =
            caso.tiene("filas") || !generar.empty() ? pruebas::camposDePlantilla(*baseDatos, plantilla)
                                                    : std::vector<pruebas::CampoPlantilla>{};
        if (caso.tiene("filas")) {
            plantilla = pruebas::ConstructorPlantilla(*baseDatos)
                            .tipo(caso.valor("filas"))
                            .campos(pruebas::plantillaDeFilas(campos))
                            .crear();
        }
        const fs::path origen = caso.valor(caso.tiene("muestra") ? "muestra" : "entrada");
        const std::string porDefecto = generar == "xlsx"     ? "remesa.xlsx"
                                       : generar == "sqlite" ? "remesa.db"
                                       : origen.empty()      ? "remesa.txt"
                                                             : "remesa" + origen.extension().string();
        const fs::path ruta = carpeta / caso.valor("fichero", porDefecto);
        if (!generar.empty()) {
            pruebas::escribirRemesaFilas(ruta, texto, campos, partir(caso.valor("numeros"), ' '));
        } else if (caso.tiene("muestra")) {
            fs::copy_file(pruebas::carpetaMuestras() / origen, ruta);
        } else {
            pruebas::escribirFichero(ruta, texto);
        }
        return ruta;
    }

    // The family's driver as the dialog calls it, with the log at its given place.
    void conducir(const Caso& caso, const fs::path& entrada) {
        auto tipo = baseDatos->preparar("SELECT tipo FROM estructura WHERE id_estructura = ?");
        tipo.con(plantilla);
        ASSERT_TRUE(tipo.siguiente()) << "no hay plantilla " << plantilla;
        const Conversor* conversor = registro.buscar(buscarTipoPlantilla(tipo.texto(0))->familia);
        ParametrosConversion parametros =
            pruebas::peticion(entrada, carpeta / "remesa.out", plantilla, caso.entero("presentador"),
                              caso.entero("emisor"), carpeta / caso.valor("log", "remesa.log"));
        parametros.gTipoEstructura = caso.valor("tipo");
        parametros.detalleCargo = caso.valor("detalle");
        parametros.domicilioOrdenante = caso.valor("domicilio");
        parametros.plazaOrdenante = caso.valor("plaza");
        parametros.gFechaProceso = caso.valor("fecha_proceso");
        parametros.gHojaExcel = caso.valor("hoja");
        parametros.gTablaAccess = caso.valor("tabla");
        resultado = (*conversor)(estado, *entorno, parametros);
    }

    void ejecutar(const Caso& caso, const fs::path& entrada) {
        const std::string forma = caso.valor("ejecucion");
        if (forma == "conductor") {
            conducir(caso, entrada);
        } else if (forma == "lote") {
            std::string argumentos = caso.valor("argumentos");
            reemplazar(argumentos, "{carpeta}", carpeta.ruta().string());
            EXPECT_EQ(ejecutarModoLote(*entorno, registro, LeerParametros(argumentos, 10)),
                      caso.entero("estado_salida"));
        } else if (forma == "dialogo") {
            ModeloEntrada modelo(configuracion);
            modelo.elegirPlantilla(plantilla, caso.valor("tipo"));
            modelo.elegirHojaExcel(caso.valor("hoja"));
            modelo.elegirTablaAccess(caso.valor("tabla"));
            ASSERT_TRUE(modelo.elegirEntrada(entrada, carpeta.ruta(), avisos));
            const std::vector<std::string> fecha = partir(caso.valor("fecha_cargo", "//"), '/');
            SeleccionEntrada seleccion{caso.valor("texto_plantilla"),
                                       caso.valor("texto_presentador"),
                                       caso.valor("texto_emisor"),
                                       caso.entero("presentador"),
                                       caso.tiene("emisor") ? std::optional(caso.entero("emisor"))
                                                            : std::nullopt,
                                       fecha.at(0),
                                       fecha.at(1),
                                       fecha.at(2),
                                       static_cast<int>(caso.entero("detalle", -1)),
                                       caso.valor("domicilio"),
                                       caso.valor("plaza")};
            const auto delDialogo = modelo.procesar(seleccion, *entorno, registro);
            ASSERT_TRUE(delDialogo);
            resultado = *delDialogo;
        } else {
            FAIL() << "ejecucion: conductor, lote o dialogo";
        }
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> baseDatos;
    std::int64_t plantilla = 0;
    // The outcome of the last run through the driver or the dialog.
    ResultadoConversion resultado;
    EstadoEjecucion estado;
    LibroEntrada libro;
    Configuracion configuracion;
    pruebas::AvisosGrabados avisos;
    pruebas::RelojFijo reloj;
    RegistroConversores registro;
    std::optional<Entorno> entorno;
};

TEST_P(Golden, dejaElFicheroDelBancoYElLogEscritosAMano) {
    const Caso& caso = GetParam();
    if (caso.tiene("muestra")) {
        TROVANEL_REQUIERE_MUESTRAS();
    }
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));
    for (const std::string& sql : partir(caso.valor("sql"), ' ')) {
        baseDatos->ejecutarScript(leerFichero(caso.carpeta / sql));
    }
    plantilla = caso.entero("plantilla");
    const fs::path entrada = prepararEntrada(caso);
    const std::string bytesEntrada = leerFichero(entrada);
    const fs::path salida = carpeta / "remesa.out";
    const fs::path log = carpeta / caso.valor("log", "remesa.log");
    if (caso.tiene("salida_previa")) {
        pruebas::escribirFichero(salida, caso.valor("salida_previa"));
    }
    if (caso.tiene("caracteres")) {
        pruebas::escribirFichero(carpeta / kFicheroCaracteres, caso.valor("caracteres"));
        configuracion.gCaracteres = true;
    }
    std::set<std::string> quedan = nombresEn(carpeta.ruta());
    // Only a driver is handed a run state by its caller: batch mode and the dialog build their own.
    if (caso.tiene("fecha_datos") && caso.valor("ejecucion") != "conductor") {
        FAIL() << "fecha_datos: solo con ejecucion = conductor";
    }
    estado.gFechaDatos = caso.valor("fecha_datos");
    registrarConversores(registro);
    std::optional<pruebas::SolicitudTecleada> tecleo;
    if (caso.tiene("tecleo")) {
        tecleo.emplace(partir(caso.valor("tecleo"), ' '));
    }
    entorno.emplace(Entorno{*baseDatos, avisos, reloj, carpeta.ruta(), tecleo ? &*tecleo : nullptr});
    entorno->libroEntrada = &libro;

    ejecutar(caso, entrada);
    if (const std::string repetir = caso.valor("repetir"); !repetir.empty()) {
        // Once more in the same run state: nothing of the first run may reach the second.
        if (repetir == "borrar-log") {
            fs::remove(log);
        } else {
            const std::vector<std::string> hora = partir(repetir, ':');
            reloj.momento = {
                2026, 12, 6, std::stoi(hora.at(0)), std::stoi(hora.at(1)), std::stoi(hora.at(2))};
        }
        ejecutar(caso, entrada);
    }

    std::string mensajes;
    for (const auto& mensaje : avisos.mensajes) {
        mensajes += (mensajes.empty() ? "" : "\n") + mensaje.tipo + ": " + mensaje.texto;
    }
    std::string aviso = caso.valor("aviso");
    reemplazar(aviso, "{carpeta}", carpeta.ruta().string());
    EXPECT_EQ(mensajes, aviso);
    if (tecleo) {
        // Every date typed but the last is refused and the dialog stays open; the last is taken.
        std::vector<ResultadoDatos> esperados(tecleo->resultados.size(), ResultadoDatos::FechaIncorrecta);
        ASSERT_FALSE(esperados.empty());
        esperados.back() = ResultadoDatos::Aceptado;
        EXPECT_EQ(tecleo->resultados, esperados);
        EXPECT_EQ(tecleo->resultados.size(), partir(caso.valor("tecleo"), ' ').size());
    }
    const std::string esperadoOut = caso.valor("esperado_out", "esperado.out");
    const std::string esperadoLog = caso.valor("esperado_log", "esperado.log");
    for (const auto& [obtenido, esperado] : {std::pair{salida, esperadoOut}, {log, esperadoLog}}) {
        quedan.erase(obtenido.filename().string());
        if (esperado == "-") {
            EXPECT_FALSE(fs::exists(obtenido)) << obtenido;
            continue;
        }
        quedan.insert(obtenido.filename().string());
        ASSERT_TRUE(fs::exists(obtenido)) << obtenido;
        if (esperado != "*") {
            EXPECT_EQ(leerFichero(obtenido), leerFichero(caso.carpeta / esperado)) << obtenido;
        }
    }
    // The input as it was, and no file of the run left but the bank file and the log.
    EXPECT_EQ(leerFichero(entrada), bytesEntrada);
    EXPECT_EQ(nombresEn(carpeta.ruta()), quedan);
    EXPECT_FALSE(libro.gLibroAbierto);
    if (caso.valor("ejecucion") != "lote") {
        EXPECT_EQ(resultado.conErrores(), esperadoLog != "-" || !aviso.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, Golden, ::testing::ValuesIn(casos()), [](const auto& caso) {
    std::string nombre = caso.param.nombre;
    std::ranges::replace_if(
        nombre, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return nombre;
});

} // namespace
} // namespace trovanel
