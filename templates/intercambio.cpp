#include "intercambio.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "fichero_entrada.hpp"
#include "fichero_salida.hpp"
#include "limites.hpp"
#include "texto.hpp"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <system_error>
#include <vector>

namespace trovanel {

namespace {

constexpr std::string_view kMultifactura = "Multifactura";
constexpr std::int64_t kMayor16 = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t kMenor16 = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kMayor32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMenor32 = std::numeric_limits<std::int32_t>::min();

std::string numero(std::int64_t valor) {
    char texto[24];
    const auto fin = std::to_chars(texto, texto + sizeof texto, valor).ptr;
    return std::string(texto, fin);
}

std::string numero(double valor) {
    char texto[400];
    const auto resultado = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed);
    return resultado.ec == std::errc() ? std::string(texto, resultado.ptr) : std::string("0");
}

const char* logico(bool valor) {
    return valor ? "True" : "False";
}

// Refuses a value that the reader would cut or split.
void comprobarValor(std::string_view valor, bool conAlmohadilla, const std::string& donde) {
    const char* motivo = nullptr;
    if (valor.find_first_of("\r\n") != std::string_view::npos) {
        motivo = "un salto de línea";
    } else if (!conAlmohadilla && valor.find('@') != std::string_view::npos) {
        motivo = "\"@\"";
    } else if (conAlmohadilla && valor.find('#') != std::string_view::npos) {
        motivo = "\"#\"";
    }
    if (motivo != nullptr) {
        throw ErrorTrovanel("En " + donde + " hay " + motivo +
                            ", que el fichero de intercambio no puede guardar");
    }
}

std::vector<std::string_view> trozos(std::string_view linea, char separador) {
    std::vector<std::string_view> piezas;
    for (std::size_t desde = 0;;) {
        const std::size_t hasta = linea.find(separador, desde);
        piezas.push_back(linea.substr(desde, hasta == std::string_view::npos ? hasta : hasta - desde));
        if (hasta == std::string_view::npos) {
            return piezas;
        }
        desde = hasta + 1;
    }
}

// The lines of the file one after another: a line ends at CR LF, at a lone CR or at a lone LF; text after
// the last line end is a line too. None may be longer than kMaxLinea.
class Lineas {
public:
    explicit Lineas(std::string_view contenido) : contenido_(contenido) {}

    // The next line into linea; false at the end of the text.
    bool siguiente(std::string_view& linea) {
        if (desde_ >= contenido_.size()) {
            return false;
        }
        const std::size_t fin = contenido_.find_first_of("\r\n", desde_);
        linea = contenido_.substr(desde_, fin == std::string_view::npos ? fin : fin - desde_);
        desde_ = fin == std::string_view::npos ? contenido_.size()
                                               : fin + (contenido_.compare(fin, 2, "\r\n") == 0 ? 2 : 1);
        ++actual_;
        if (linea.size() > kMaxLinea) {
            throw ErrorIntercambio(actual_, "la línea tiene más de " +
                                                numero(static_cast<std::int64_t>(kMaxLinea)) + " bytes");
        }
        return true;
    }
    // The number (from 1) of the last line handed out.
    std::size_t actual() const { return actual_; }

private:
    std::string_view contenido_;
    std::size_t desde_ = 0;
    std::size_t actual_ = 0;
};

// Reads the values of one line, each named in its error.
class LectorLinea {
public:
    LectorLinea(std::size_t linea, std::string_view texto, char separador, std::size_t esperadas,
                const char* clase)
        : linea_(linea), piezas_(trozos(texto, separador)) {
        if (piezas_.size() != esperadas) {
            fallo(std::string(clase) + " debe tener " + numero(static_cast<std::int64_t>(esperadas)) +
                  " valores separados por \"" + separador + "\" y tiene " +
                  numero(static_cast<std::int64_t>(piezas_.size())));
        }
    }

    std::string_view texto(std::size_t i) const { return piezas_[i]; }

    std::int64_t entero(std::size_t i, const char* nombre, std::int64_t menor, std::int64_t mayor,
                        std::int64_t siVacio = 0) const {
        if (enBlanco(piezas_[i])) {
            return siVacio;
        }
        const std::optional<std::int64_t> valor = leerEntero(piezas_[i]);
        if (!valor || *valor < menor || *valor > mayor) {
            fallo(std::string(nombre) + " no es un número entero entre " + numero(menor) + " y " +
                  numero(mayor));
        }
        return *valor;
    }

    double real(std::size_t i, const char* nombre) const {
        const std::string_view limpio = recortar(piezas_[i]);
        if (limpio.empty()) {
            return 0;
        }
        double valor = 0;
        const auto [fin, error] =
            std::from_chars(limpio.data(), limpio.data() + limpio.size(), valor, std::chars_format::fixed);
        if (error != std::errc() || fin != limpio.data() + limpio.size() || !std::isfinite(valor)) {
            fallo(std::string(nombre) + " no es un número");
        }
        return valor;
    }

    bool logico(std::size_t i, const char* nombre) const {
        const std::string_view limpio = recortar(piezas_[i]);
        if (igualesSinMayusculas(limpio, "True")) {
            return true;
        }
        if (limpio.empty() || igualesSinMayusculas(limpio, "False")) {
            return false;
        }
        const std::optional<std::int64_t> valor = leerEntero(limpio);
        if (!valor) {
            fallo(std::string(nombre) + " no es True ni False");
        }
        return *valor != 0;
    }

    [[noreturn]] void fallo(const std::string& motivo) const { throw ErrorIntercambio(linea_, motivo); }

private:
    std::size_t linea_;
    std::vector<std::string_view> piezas_;
};

} // namespace

ErrorIntercambio::ErrorIntercambio(std::size_t linea, const std::string& motivo)
    : ErrorTrovanel("Línea " + numero(static_cast<std::int64_t>(linea)) + ": " + motivo), linea_(linea) {}

std::string escribirIntercambio(const Plantilla& plantilla) {
    comprobarValor(plantilla.descripcion, false, "la descripción");
    comprobarValor(plantilla.tipo, false, "el tipo");
    std::string texto = plantilla.descripcion + "@" + plantilla.tipo + "@" +
                        numero(plantilla.principiolinea) + "@" + logico(plantilla.multifactura) + "\r\n";
    for (std::size_t i = 0; i < plantilla.campos.size(); ++i) {
        if (!plantilla.tieneCampo(i)) {
            continue;
        }
        const CampoEstructura& c = plantilla.campos[i];
        const std::string campo = Trim(c.campo);
        const std::string delCampo = " del campo " + numero(static_cast<std::int64_t>(i)) + "-" + campo;
        comprobarValor(campo, false, "el nombre" + delCampo);
        comprobarValor(c.valorlinea, false, "valorlinea" + delCampo);
        comprobarValor(c.valorcampo, false, "valorcampo" + delCampo);
        // The import refuses such a default value: a file that could not be imported back loses the template.
        if (hayCaracterControl(c.valorcampo)) {
            throw ErrorTrovanel("En valorcampo" + delCampo + " hay un carácter de control");
        }
        if (campo.starts_with(kMultifactura)) {
            throw ErrorTrovanel("El nombre" + delCampo +
                                " empieza por \"Multifactura\", que en el fichero de intercambio señala "
                                "las líneas multifactura");
        }
        texto += campo + "@" + numero(c.inicio) + "@" + numero(c.fin) + "@" + numero(c.inilinea) + "@" +
                 numero(c.finlinea) + "@" + c.valorlinea + "@" + logico(c.obligatorio) + "@" +
                 numero(static_cast<std::int64_t>(i)) + "@" + c.valorcampo + "@" +
                 numero(static_cast<std::int64_t>(c.longitud)) + "\r\n";
    }
    if (plantilla.multifactura) {
        for (const MultifacturaPlantilla& m : plantilla.multifacturas) {
            const std::string donde = "la fila multifactura " + numero(m.orden);
            comprobarValor(m.campos, true, "campos de " + donde);
            comprobarValor(m.valor, true, "valor de " + donde);
            texto += std::string(kMultifactura) + "#" + numero(m.orden) + "#" + m.campos + "#" + m.valor +
                     "#" + numero(m.inicio) + "#" + numero(m.fin) + "\r\n";
        }
    }
    return texto;
}

Plantilla leerIntercambio(std::string_view contenido) {
    Lineas lineas(contenido);
    std::string_view linea;
    if (!lineas.siguiente(linea)) {
        throw ErrorIntercambio(1, "el fichero está vacío");
    }
    Plantilla plantilla;
    {
        const LectorLinea cabecera(1, linea, '@', 4, "La línea de la plantilla");
        plantilla.descripcion = Trim(cabecera.texto(0));
        plantilla.tipo = Trim(cabecera.texto(1));
        if (plantilla.tipo.empty()) {
            cabecera.fallo("falta el tipo de la plantilla");
        }
        plantilla.principiolinea = cabecera.entero(2, "principiolinea", -1, kMayor16, -1);
        plantilla.multifactura = cabecera.logico(3, "multifactura");
    }
    const bool porPosiciones = leePorPosiciones(plantilla.tipo);
    std::set<std::int64_t> ids;
    while (lineas.siguiente(linea)) {
        const std::size_t n = lineas.actual();
        if (linea.empty()) {
            throw ErrorIntercambio(n, "la línea está vacía");
        }
        if (linea.starts_with(kMultifactura)) {
            if (linea.size() == kMultifactura.size() || linea[kMultifactura.size()] != '#') {
                throw ErrorIntercambio(n, "falta \"#\" después de \"Multifactura\"");
            }
            const LectorLinea fila(n, linea.substr(kMultifactura.size() + 1), '#', 5,
                                   "La línea multifactura");
            plantilla.multifacturas.push_back(
                {fila.entero(0, "orden", kMenor16, kMayor16), Trim(fila.texto(1)), Trim(fila.texto(2)),
                 fila.entero(3, "inicio", kMenor16, kMayor16), fila.real(4, "fin")});
            continue;
        }
        const LectorLinea fila(n, linea, '@', 10, "La línea de un campo");
        if (!plantilla.multifacturas.empty()) {
            fila.fallo("las líneas de los campos van antes que las multifactura");
        }
        const std::int64_t id = fila.entero(7, "id_campo", 0, kMayor16);
        if (!ids.insert(id).second) {
            fila.fallo("el id_campo " + numero(id) + " ya está en otra línea");
        }
        CampoEstructura campo;
        campo.campo = Trim(fila.texto(0));
        campo.inicio = fila.entero(1, "inicio", kMenor32, kMayor32);
        campo.fin = fila.entero(2, "fin", kMenor32, kMayor32);
        campo.inilinea = fila.entero(3, "inilinea", kMenor32, kMayor32);
        campo.finlinea = fila.entero(4, "finlinea", kMenor32, kMayor32);
        campo.valorlinea = fila.texto(5);
        campo.obligatorio = fila.logico(6, "obligatorio");
        campo.valorcampo = fila.texto(8);
        campo.longitud = static_cast<int>(fila.entero(9, "longitud", kMenor16, kMayor16));
        if (auto motivo = posicionIncorrecta(campo, static_cast<std::size_t>(id), porPosiciones)) {
            throw ErrorPlantillaIncorrecta("Línea " + numero(static_cast<std::int64_t>(n)) + ": " + *motivo);
        }
        plantilla.ponerCampo(static_cast<std::size_t>(id), std::move(campo));
    }
    return plantilla;
}

bool ExportarPlantilla(BaseDatos& baseDatos, Avisos& avisos, std::optional<std::int64_t> id,
                       const std::filesystem::path& destino) {
    constexpr const char* kNoExporta = "No se puede exportar la plantilla";
    if (!id) {
        avisos.critico(kNoExporta);
        return false;
    }
    std::string texto;
    try {
        texto = escribirIntercambio(leerPlantilla(baseDatos, *id));
    } catch (const ErrorBaseDatos& e) {
        avisos.critico(std::string(kNoExporta) + "\r\nError: " + e.what());
        return false;
    } catch (const ErrorTrovanel& e) {
        avisos.critico(std::string(kNoExporta) + "\r\n" + e.what());
        return false;
    }
    if (destino.empty()) {
        avisos.critico("No se puede crear el fichero de salida");
        return false;
    }
    std::error_code error;
    if (std::filesystem::exists(destino, error) &&
        !avisos.pregunta("El fichero ya existe, ¿Desea sobreescribirlo?")) {
        return false;
    }
    FicheroSalida fichero(destino);
    if (!fichero.abierto()) {
        avisos.critico("No se puede crear el fichero de salida");
        return false;
    }
    fichero.escribir(texto);
    if (!fichero.confirmar()) {
        avisos.critico(std::string(kNoExporta) + "\r\nError: no se ha podido escribir el fichero");
        return false;
    }
    avisos.informacion("Exportación realizada correctamente");
    return true;
}

std::optional<std::int64_t> ImportarPlantilla(BaseDatos& baseDatos, Avisos& avisos,
                                              const std::filesystem::path& origen) {
    constexpr const char* kNoSeAbreImportar = "No se puede abrir el fichero a importar";
    const FicheroEntrada fichero(origen);
    if (!fichero.abierto()) {
        avisos.critico(fichero.noEsFichero() ? mensajeEntrada(kNoSeAbreImportar, origen, kNoEsFicheroRegular)
                                             : std::string(kNoSeAbreImportar));
        return std::nullopt;
    }
    // Read whole before anything is stored, so it is capped; the size read must be the size opened.
    const std::uint64_t tamano = fichero.huella().tamano;
    if (tamano > kMaxFicheroIntercambio) {
        avisos.critico(mensajeEntrada(
            kNoSeAbreImportar, origen,
            "tiene más de " + numero(static_cast<std::int64_t>(kMaxFicheroIntercambio)) + " bytes"));
        return std::nullopt;
    }
    // One byte more than it had tells a file that grew since it was opened.
    std::string contenido(static_cast<std::size_t>(tamano) + 1, '\0');
    std::size_t leidos = 0;
    while (leidos < contenido.size()) {
        const ssize_t n = ::read(fichero.descriptor(), contenido.data() + leidos, contenido.size() - leidos);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            avisos.critico(kNoSeAbreImportar);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        leidos += static_cast<std::size_t>(n);
    }
    if (leidos != tamano || huellaDe(fichero.descriptor()) != fichero.huella()) {
        avisos.critico(mensajeEntrada(kNoSeAbreImportar, origen, kCambiadoAlLeer));
        return std::nullopt;
    }
    contenido.resize(leidos);
    try {
        const Plantilla plantilla = leerIntercambio(contenido);
        const std::int64_t id = guardarPlantillaNueva(baseDatos, plantilla);
        avisos.informacion("Importación realizada correctamente");
        return id;
    } catch (const ErrorIntercambio& e) {
        avisos.critico(std::string("El fichero no es una plantilla exportada\r\n") + e.what());
    } catch (const ErrorPlantillaIncorrecta& e) {
        avisos.critico(e.what());
    } catch (const ErrorTrovanel& e) {
        avisos.critico(std::string("No se pueden abrir la Base de Datos\r\nError: ") + e.what());
    }
    return std::nullopt;
}

} // namespace trovanel
