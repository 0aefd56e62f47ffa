// Office Open XML workbooks (.xlsx): libzip opens the archive, pugixml reads the workbook, its
// relationships and the styles, and expat streams the shared strings and the sheets, so a big sheet
// never sits whole in memory. Every size and index taken from the file is checked: a damaged or
// hostile workbook ends in ErrorTrovanel(kNoSeAbreEntrada), never in a crash, a hang or a memory blow-up.
#include "codificacion.hpp"
#include "error.hpp"
#include "formato_numero.hpp"
#include "libro_excel.hpp"
#include "valores_texto.hpp"

#include <expat.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace trovanel {

namespace {

constexpr std::int64_t kMaxFilas = 1048576;
constexpr int kMaxColumnas = 16384;
// Workbook, relationships and styles are read whole: real ones take a few kilobytes.
constexpr zip_uint64_t kMaxPartePequena = 64ull << 20;
// Sheets and the shared strings are streamed; the cap only bounds the time a bomb can take.
constexpr zip_uint64_t kMaxParteFlujo = 4ull << 30;
// Text of the shared strings plus their index, the only thing kept for the whole workbook.
constexpr std::size_t kMaxTablaTextos = 512u << 20;
// Excel holds at most 32,767 characters in a cell; this leaves room for escapes and UTF-8.
constexpr std::size_t kMaxTextoCelda = 1u << 20;
constexpr std::size_t kMaxTextoFila = 64u << 20;
constexpr std::size_t kTrozo = 64u << 10;
// Expat keeps an unfinished tag in memory and scans it again with every chunk: a tag this long is
// not a spreadsheet's.
constexpr zip_uint64_t kMaxSinProgreso = 8u << 20;

[[noreturn]] void danado() {
    throw ErrorTrovanel(kNoSeAbreEntrada);
}

// Element and attribute names without their namespace prefix: writers differ in the prefixes they use.
std::string_view local(const char* nombre) {
    const char* inicio = nombre;
    const char* p = nombre;
    for (; *p; ++p) {
        if (*p == ':') {
            inicio = p + 1;
        }
    }
    return std::string_view(inicio, static_cast<std::size_t>(p - inicio));
}

std::string_view sinBlancos(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

template <typename T> std::optional<T> leerEnteroXml(std::string_view s) {
    s = sinBlancos(s);
    T valor{};
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), valor);
    if (ec != std::errc{} || fin != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return valor;
}

std::optional<double> leerDoble(std::string_view s) {
    s = sinBlancos(s);
    // XML Schema allows a leading "+", which from_chars does not.
    if (s.size() > 1 && s.front() == '+' && s[1] != '-') {
        s.remove_prefix(1);
    }
    double valor = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), valor);
    if (ec != std::errc{} || fin != s.data() + s.size() || s.empty() || !std::isfinite(valor)) {
        return std::nullopt;
    }
    return valor;
}

// Most numbers in a sheet are short decimals ("1500", "12.5"). With at most 15 significant digits a
// double gives them back digit for digit, so their text is the file's own with a comma, skipping the
// round trip through binary. Anything else (exponents, 16 or more digits, redundant zeros) returns nothing.
std::optional<std::string> numeroCorto(std::string_view v) {
    const bool negativo = !v.empty() && v.front() == '-';
    const std::string_view cifras = negativo ? v.substr(1) : v;
    const auto punto = cifras.find('.');
    const std::string_view entera = cifras.substr(0, punto);
    const std::string_view fraccion =
        punto == std::string_view::npos ? std::string_view() : cifras.substr(punto + 1);
    const auto soloCifras = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!soloCifras(entera) ||
        (punto != std::string_view::npos && (!soloCifras(fraccion) || fraccion.back() == '0'))) {
        return std::nullopt;
    }
    std::size_t significativas = 0;
    if (entera == "0") {
        if (fraccion.empty()) {
            return negativo ? std::nullopt : std::optional<std::string>("0");
        }
        // Below 0.0001 the number is written with an exponent.
        const auto ceros = fraccion.find_first_not_of('0');
        if (ceros > 3) {
            return std::nullopt;
        }
        significativas = fraccion.size() - ceros;
    } else {
        if (entera.front() == '0') {
            return std::nullopt;
        }
        significativas = entera.size() + fraccion.size();
    }
    if (significativas > 15) {
        return std::nullopt;
    }
    std::string texto(v);
    if (punto != std::string_view::npos) {
        texto[(negativo ? 1 : 0) + punto] = ',';
    }
    return texto;
}

// The UTF-16 unit of an escape "_xHHHH_" at the start of s.
std::optional<char32_t> escapeEn(std::string_view s) {
    if (s.size() < 7 || s[0] != '_' || (s[1] != 'x' && s[1] != 'X') || s[6] != '_') {
        return std::nullopt;
    }
    char32_t unidad = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const char c = s[i];
        int cifra = 0;
        if (c >= '0' && c <= '9') {
            cifra = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            cifra = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            cifra = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        unidad = unidad * 16 + static_cast<char32_t>(cifra);
    }
    return unidad;
}

// Cell text as the program holds it. XML cannot carry control characters, so the files write them
// (and an underscore that would look like an escape) as "_xHHHH_".
std::string textoPrograma(std::string_view utf8) {
    if (utf8.find('_') == std::string_view::npos) {
        return utf8ACp1252(utf8);
    }
    std::string decodificado;
    decodificado.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto unidad = escapeEn(utf8.substr(i));
        if (!unidad) {
            decodificado.push_back(utf8[i++]);
            continue;
        }
        i += 7;
        char32_t cp = *unidad;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const auto baja = escapeEn(utf8.substr(i));
            if (baja && *baja >= 0xDC00 && *baja <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (*baja - 0xDC00);
                i += 7;
            } else {
                cp = '?';
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = '?';
        }
        anadirUtf8(decodificado, cp);
    }
    return utf8ACp1252(decodificado);
}

std::int64_t diasCivil(std::int64_t anio, unsigned mes, unsigned dia) {
    anio -= mes <= 2 ? 1 : 0;
    const std::int64_t era = (anio >= 0 ? anio : anio - 399) / 400;
    const auto yoe = static_cast<unsigned>(anio - era * 400);
    const unsigned doy = (153 * (mes > 2 ? mes - 3 : mes + 9) + 2) / 5 + dia - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// A cell of type "d" holds an ISO 8601 date and time ("2024-03-15T10:30:00") instead of a serial.
ValorCelda fechaIso(std::string_view s) {
    s = sinBlancos(s);
    auto numero = [&](std::size_t desde, std::size_t cifras) -> std::optional<unsigned> {
        if (desde + cifras > s.size()) {
            return std::nullopt;
        }
        return leerEnteroXml<unsigned>(s.substr(desde, cifras));
    };
    double dias = 0;
    std::size_t pos = 0;
    if (s.size() >= 10 && s[4] == '-' && s[7] == '-') {
        const auto anio = numero(0, 4);
        const auto mes = numero(5, 2);
        const auto dia = numero(8, 2);
        if (!anio || !mes || !dia || *mes < 1 || *mes > 12 || *dia < 1 || *dia > 31) {
            return std::nullopt;
        }
        dias = static_cast<double>(diasCivil(*anio, *mes, *dia) - diasCivil(1899, 12, 30));
        pos = 10;
        if (pos < s.size() && s[pos] == 'T') {
            ++pos;
        }
    }
    if (pos < s.size()) {
        const auto hora = numero(pos, 2);
        const auto minuto = numero(pos + 3, 2);
        if (!hora || !minuto || s[pos + 2] != ':' || *hora > 23 || *minuto > 59) {
            return std::nullopt;
        }
        double segundos = *hora * 3600.0 + *minuto * 60.0;
        pos += 5;
        if (pos < s.size() && s[pos] == ':') {
            auto fin = s.substr(pos + 1);
            if (!fin.empty() && fin.back() == 'Z') {
                fin.remove_suffix(1);
            }
            const auto seg = leerDoble(fin);
            if (!seg || *seg < 0 || *seg >= 60) {
                return std::nullopt;
            }
            segundos += *seg;
        } else if (pos != s.size() && s.substr(pos) != "Z") {
            return std::nullopt;
        }
        dias += segundos / 86400.0;
    }
    // The serial is a true day count, so Excel's phantom 29/02/1900 must not be applied.
    return textoFecha(dias, false, false);
}

// --- The archive ---

struct ZipCerrado {
    void operator()(zip_t* z) const { zip_discard(z); }
};

struct Archivo {
    std::unique_ptr<zip_t, ZipCerrado> zip;

    std::optional<zip_uint64_t> buscar(const std::string& nombre) const {
        zip_int64_t indice = zip_name_locate(zip.get(), nombre.c_str(), 0);
        if (indice < 0) {
            indice = zip_name_locate(zip.get(), nombre.c_str(), ZIP_FL_NOCASE);
        }
        if (indice < 0) {
            return std::nullopt;
        }
        return static_cast<zip_uint64_t>(indice);
    }

    zip_uint64_t tamano(zip_uint64_t indice) const {
        zip_stat_t estado;
        zip_stat_init(&estado);
        if (zip_stat_index(zip.get(), indice, 0, &estado) != 0 || !(estado.valid & ZIP_STAT_SIZE)) {
            danado();
        }
        return estado.size;
    }

    // A small part whole; its stated size is checked before anything is allocated.
    std::string leer(zip_uint64_t indice) const {
        const zip_uint64_t tam = tamano(indice);
        if (tam > kMaxPartePequena) {
            danado();
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> fichero(zip_fopen_index(zip.get(), indice, 0),
                                                                  zip_fclose);
        if (!fichero) {
            danado();
        }
        std::string datos(static_cast<std::size_t>(tam) + 1, '\0');
        zip_uint64_t leidos = 0;
        while (true) {
            const zip_int64_t n = zip_fread(fichero.get(), datos.data() + leidos, datos.size() - leidos);
            if (n < 0) {
                danado();
            }
            if (n == 0) {
                break;
            }
            leidos += static_cast<zip_uint64_t>(n);
            if (leidos > tam) {
                danado();
            }
        }
        if (leidos != tam) {
            danado();
        }
        datos.resize(static_cast<std::size_t>(leidos));
        return datos;
    }
};

// --- Streaming XML ---

class ManejadorXml {
public:
    virtual ~ManejadorXml() = default;
    virtual void inicio(std::string_view nombre, const char** atributos) = 0;
    virtual void fin(std::string_view nombre) = 0;
    virtual void texto(std::string_view texto) = 0;
};

// One part of the archive fed to expat a chunk at a time, straight into expat's own buffer. A handler
// may suspend the parse (one sheet row at a time); continuar() then picks up where it stopped.
class FlujoXml {
public:
    FlujoXml(const Archivo& archivo, zip_uint64_t indice, ManejadorXml& manejador) : manejador_(manejador) {
        if (archivo.tamano(indice) > kMaxParteFlujo) {
            danado();
        }
        fichero_ = zip_fopen_index(archivo.zip.get(), indice, 0);
        if (!fichero_) {
            danado();
        }
        parser_ = XML_ParserCreate(nullptr);
        if (!parser_) {
            zip_fclose(fichero_);
            throw std::bad_alloc();
        }
        XML_UseParserAsHandlerArg(parser_);
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, alEmpezar, alTerminar);
        XML_SetCharacterDataHandler(parser_, alTexto);
        XML_SetDefaultHandlerExpand(parser_, alOtro);
        // The format has no use for a DTD; refusing one rules out entity tricks altogether.
        XML_SetStartDoctypeDeclHandler(parser_, alDoctype);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    FlujoXml(const FlujoXml&) = delete;
    FlujoXml& operator=(const FlujoXml&) = delete;
    ~FlujoXml() {
        XML_ParserFree(parser_);
        zip_fclose(fichero_);
    }

    // Called from a handler: the parse stops after the current event and continuar() returns true.
    void suspender() { XML_StopParser(parser_, XML_TRUE); }

    // Parses until a handler suspends (true) or the part ends (false).
    bool continuar() {
        while (true) {
            XML_Status estado;
            if (suspendido_) {
                suspendido_ = false;
                estado = XML_ResumeParser(parser_);
            } else if (terminado_) {
                return false;
            } else {
                void* destino = XML_GetBuffer(parser_, static_cast<int>(kTrozo));
                if (!destino) {
                    throw std::bad_alloc();
                }
                const zip_int64_t n = zip_fread(fichero_, destino, kTrozo);
                if (n < 0) {
                    danado();
                }
                leidos_ += static_cast<zip_uint64_t>(n);
                if (leidos_ > kMaxParteFlujo) {
                    danado();
                }
                terminado_ = n == 0;
                estado = XML_ParseBuffer(parser_, static_cast<int>(n), terminado_);
            }
            if (estado == XML_STATUS_ERROR) {
                if (fallo_) {
                    std::rethrow_exception(fallo_);
                }
                danado();
            }
            if (estado == XML_STATUS_SUSPENDED) {
                suspendido_ = true;
                return true;
            }
            if (leidos_ - progreso_ > kMaxSinProgreso) {
                danado();
            }
        }
    }

private:
    static FlujoXml& de(void* parser) {
        return *static_cast<FlujoXml*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    }

    // Exceptions must not cross expat's C frames: they are kept and thrown again by continuar().
    template <typename F> static void proteger(void* parser, F&& f) {
        FlujoXml& flujo = de(parser);
        flujo.progreso_ = flujo.leidos_;
        try {
            f(flujo.manejador_);
        } catch (...) {
            flujo.fallo_ = std::current_exception();
            XML_StopParser(flujo.parser_, XML_FALSE);
        }
    }
    static void alEmpezar(void* p, const XML_Char* nombre, const XML_Char** atributos) {
        proteger(p, [&](ManejadorXml& m) { m.inicio(local(nombre), atributos); });
    }
    static void alTerminar(void* p, const XML_Char* nombre) {
        proteger(p, [&](ManejadorXml& m) { m.fin(local(nombre)); });
    }
    static void alTexto(void* p, const XML_Char* s, int n) {
        proteger(p, [&](ManejadorXml& m) { m.texto(std::string_view(s, static_cast<std::size_t>(n))); });
    }
    static void alOtro(void* p, const XML_Char*, int) { de(p).progreso_ = de(p).leidos_; }
    static void alDoctype(void* p, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        XML_StopParser(static_cast<XML_Parser>(p), XML_FALSE);
    }

    ManejadorXml& manejador_;
    zip_file_t* fichero_ = nullptr;
    XML_Parser parser_ = nullptr;
    zip_uint64_t leidos_ = 0;
    zip_uint64_t progreso_ = 0;
    bool suspendido_ = false;
    bool terminado_ = false;
    std::exception_ptr fallo_;
};

const char* atributo(const char** atributos, std::string_view nombre) {
    for (; atributos[0]; atributos += 2) {
        if (local(atributos[0]) == nombre) {
            return atributos[1];
        }
    }
    return nullptr;
}

// --- Shared strings ---

// Every shared string, converted once, end to end in one buffer: a cell holds only an index.
struct TablaTextos {
    std::string texto;
    std::vector<std::uint32_t> finales;

    std::size_t cantidad() const { return finales.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::uint32_t desde = i == 0 ? 0 : finales[i - 1];
        return std::string_view(texto).substr(desde, finales[i] - desde);
    }
};

class LectorTextos : public ManejadorXml {
public:
    LectorTextos(TablaTextos& tabla, zip_uint64_t tamanoParte) : tabla_(tabla), tamanoParte_(tamanoParte) {}

    void inicio(std::string_view nombre, const char** atributos) override {
        ++profundidad_;
        if (profundidad_ == 1) {
            if (nombre != "sst") {
                danado();
            }
            // Reserved up front so the table never grows by copying. The text is never longer than
            // the part; the declared count is only believed as far as the part could hold ("<si/>").
            tabla_.texto.reserve(
                static_cast<std::size_t>(std::min<zip_uint64_t>(tamanoParte_, kMaxTablaTextos)));
            if (const char* unicos = atributo(atributos, "uniqueCount")) {
                if (const auto n = leerEnteroXml<std::uint32_t>(unicos)) {
                    const zip_uint64_t posibles =
                        std::min<zip_uint64_t>(tamanoParte_ / 5, kMaxTablaTextos / 4);
                    tabla_.finales.reserve(static_cast<std::size_t>(std::min<zip_uint64_t>(*n, posibles)));
                }
            }
        } else if (profundidad_ == 2 && nombre == "si") {
            enTexto_ = true;
            actual_.clear();
        } else if (enTexto_ && profundidad_ == 3) {
            capturando_ = nombre == "t";
            enTrozo_ = nombre == "r";
        } else if (enTrozo_ && profundidad_ == 4) {
            // Rich text: the runs' texts joined; phonetic guides (rPh) are left out.
            capturando_ = nombre == "t";
        }
    }

    void fin(std::string_view) override {
        if (profundidad_ == 2 && enTexto_) {
            enTexto_ = false;
            std::string convertido = textoPrograma(actual_);
            if (ocupado() + convertido.size() + sizeof(std::uint32_t) > kMaxTablaTextos) {
                danado();
            }
            tabla_.texto += convertido;
            tabla_.finales.push_back(static_cast<std::uint32_t>(tabla_.texto.size()));
        } else if (profundidad_ == 3) {
            capturando_ = false;
            enTrozo_ = false;
        } else if (profundidad_ == 4) {
            capturando_ = false;
        }
        --profundidad_;
    }

    void texto(std::string_view s) override {
        if (!capturando_) {
            return;
        }
        if (ocupado() + actual_.size() + s.size() > kMaxTablaTextos) {
            danado();
        }
        actual_ += s;
    }

private:
    std::size_t ocupado() const {
        return tabla_.texto.size() + tabla_.finales.size() * sizeof(std::uint32_t);
    }

    TablaTextos& tabla_;
    zip_uint64_t tamanoParte_;
    std::string actual_;
    int profundidad_ = 0;
    bool enTexto_ = false;
    bool enTrozo_ = false;
    bool capturando_ = false;
};

// --- The workbook ---

struct Hoja {
    std::string nombre;
    zip_uint64_t parte = 0;
};

struct DatosLibro {
    Archivo archivo;
    std::vector<Hoja> hojas;
    TablaTextos textos;
    std::vector<bool> estiloEsFecha;
    bool sistema1904 = false;
};

enum class TipoCelda { numero, compartido, enLinea, formulaTexto, booleano, error, fechaIso };

// Walks a sheet's XML row by row: the parse is suspended at the end of each row that holds a cell,
// so only one row and one chunk of the file are in memory at a time.
class CursorXlsx : public CursorHoja, private ManejadorXml {
public:
    CursorXlsx(std::shared_ptr<DatosLibro> libro, zip_uint64_t parte)
        : libro_(std::move(libro)), flujo_(libro_->archivo, parte, *this) {}

    bool siguiente(FilaHoja& fila) override {
        if (fallido_) {
            danado();
        }
        destino_ = &fila;
        filaLista_ = false;
        try {
            while (flujo_.continuar()) {
                if (filaLista_) {
                    destino_ = nullptr;
                    return true;
                }
            }
        } catch (...) {
            fallido_ = true;
            destino_ = nullptr;
            throw;
        }
        destino_ = nullptr;
        if (!raizVista_) {
            danado();
        }
        return false;
    }

private:
    // Depths: worksheet 1, sheetData 2, row 3, c 4, v and is 5, is/t and is/r 6, is/r/t 7.
    void inicio(std::string_view nombre, const char** atributos) override {
        ++profundidad_;
        switch (profundidad_) {
        case 1:
            if (nombre != "worksheet") {
                danado();
            }
            raizVista_ = true;
            break;
        case 2:
            enDatos_ = nombre == "sheetData";
            break;
        case 3:
            if (enDatos_ && nombre == "row") {
                empezarFila(atributos);
            }
            break;
        case 4:
            if (enFila_ && nombre == "c") {
                empezarCelda(atributos);
            }
            break;
        case 5:
            if (enCelda_) {
                capturando_ = nombre == "v";
                enLinea_ = nombre == "is";
                tieneValor_ = tieneValor_ || capturando_ || enLinea_;
            }
            break;
        case 6:
            if (enLinea_) {
                capturando_ = nombre == "t";
                enTrozo_ = nombre == "r";
            }
            break;
        case 7:
            if (enTrozo_) {
                capturando_ = nombre == "t";
            }
            break;
        default:
            break;
        }
    }

    void fin(std::string_view) override {
        switch (profundidad_) {
        case 2:
            enDatos_ = false;
            break;
        case 3:
            if (enFila_) {
                terminarFila();
            }
            break;
        case 4:
            if (enCelda_) {
                terminarCelda();
            }
            break;
        case 5:
            capturando_ = false;
            enLinea_ = false;
            break;
        case 6:
            capturando_ = false;
            enTrozo_ = false;
            break;
        case 7:
            capturando_ = false;
            break;
        default:
            break;
        }
        --profundidad_;
    }

    void texto(std::string_view s) override {
        if (!capturando_) {
            return;
        }
        if (valor_.size() + s.size() > kMaxTextoCelda) {
            danado();
        }
        valor_ += s;
    }

    void empezarFila(const char** atributos) {
        std::int64_t numero = ultimaFila_ + 1;
        if (const char* r = atributo(atributos, "r")) {
            const auto leido = leerEnteroXml<std::int64_t>(r);
            if (!leido) {
                danado();
            }
            numero = *leido;
        }
        // Rows come in ascending order; anything else, or a row past Excel's last, is a damaged file.
        if (numero <= ultimaFila_ || numero > kMaxFilas) {
            danado();
        }
        ultimaFila_ = numero;
        enFila_ = true;
        ultimaColumna_ = 0;
        textoFila_ = 0;
        destino_->numero = numero;
        destino_->celdas.clear();
    }

    void terminarFila() {
        enFila_ = false;
        if (!destino_->celdas.empty()) {
            filaLista_ = true;
            flujo_.suspender();
        }
    }

    void empezarCelda(const char** atributos) {
        int columna = ultimaColumna_ + 1;
        tipo_ = TipoCelda::numero;
        esFecha_ = false;
        for (; atributos[0]; atributos += 2) {
            const std::string_view nombre = local(atributos[0]);
            const char* valor = atributos[1];
            if (nombre == "r") {
                columna = columnaDeReferencia(valor);
            } else if (nombre == "t") {
                tipo_ = tipoDe(valor);
            } else if (nombre == "s") {
                const auto estilo = leerEnteroXml<std::uint32_t>(valor);
                esFecha_ = estilo && *estilo < libro_->estiloEsFecha.size() && libro_->estiloEsFecha[*estilo];
            }
        }
        if (columna < 1 || columna > kMaxColumnas) {
            danado();
        }
        ultimaColumna_ = columna;
        enCelda_ = true;
        tieneValor_ = false;
        valor_.clear();
    }

    void terminarCelda() {
        enCelda_ = false;
        ValorCelda valor = valorCelda();
        if (valor) {
            textoFila_ += valor->size();
            if (textoFila_ > kMaxTextoFila) {
                danado();
            }
        }
        auto& celdas = destino_->celdas;
        const auto indice = static_cast<std::size_t>(ultimaColumna_ - 1);
        if (indice < celdas.size()) {
            celdas[indice] = std::move(valor);
            return;
        }
        if (indice > celdas.size()) {
            celdas.resize(indice, std::string());
        }
        celdas.push_back(std::move(valor));
    }

    ValorCelda valorCelda() const {
        switch (tipo_) {
        case TipoCelda::error:
            return std::nullopt;
        case TipoCelda::compartido: {
            if (!tieneValor_) {
                return std::string();
            }
            // An index past the table cannot be read; the rest of the sheet still can.
            const auto indice = leerEnteroXml<std::uint32_t>(valor_);
            if (!indice || *indice >= libro_->textos.cantidad()) {
                return std::nullopt;
            }
            return std::string(libro_->textos[*indice]);
        }
        case TipoCelda::enLinea:
        case TipoCelda::formulaTexto:
            return textoPrograma(valor_);
        case TipoCelda::booleano: {
            const auto v = sinBlancos(valor_);
            if (!tieneValor_ || v.empty()) {
                return std::string();
            }
            if (v == "1" || v == "true") {
                return textoBooleano(true);
            }
            if (v == "0" || v == "false") {
                return textoBooleano(false);
            }
            return std::nullopt;
        }
        case TipoCelda::fechaIso:
            return sinBlancos(valor_).empty() ? ValorCelda(std::string()) : fechaIso(valor_);
        case TipoCelda::numero:
            break;
        }
        // A formula never calculated, or a cell that only carries a format, is empty.
        if (sinBlancos(valor_).empty()) {
            return std::string();
        }
        if (!esFecha_) {
            if (auto corto = numeroCorto(valor_)) {
                return corto;
            }
        }
        const auto numero = leerDoble(valor_);
        if (!numero) {
            return std::nullopt;
        }
        return esFecha_ ? textoFecha(*numero, libro_->sistema1904, true) : textoNumero(*numero);
    }

    static TipoCelda tipoDe(std::string_view t) {
        if (t == "s") {
            return TipoCelda::compartido;
        }
        if (t == "inlineStr") {
            return TipoCelda::enLinea;
        }
        if (t == "str") {
            return TipoCelda::formulaTexto;
        }
        if (t == "b") {
            return TipoCelda::booleano;
        }
        if (t == "e") {
            return TipoCelda::error;
        }
        if (t == "d") {
            return TipoCelda::fechaIso;
        }
        return TipoCelda::numero;
    }

    // The column of a reference such as "AB12"; 0 when it names none.
    static int columnaDeReferencia(const char* r) {
        int columna = 0;
        const char* p = r;
        for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p) {
            columna = columna * 26 + ((*p | 0x20) - 'a' + 1);
            if (columna > kMaxColumnas) {
                return 0;
            }
        }
        return columna;
    }

    std::shared_ptr<DatosLibro> libro_;
    FlujoXml flujo_;
    FilaHoja* destino_ = nullptr;
    std::int64_t ultimaFila_ = 0;
    std::size_t textoFila_ = 0;
    std::string valor_;
    int ultimaColumna_ = 0;
    int profundidad_ = 0;
    TipoCelda tipo_ = TipoCelda::numero;
    bool esFecha_ = false;
    bool raizVista_ = false;
    bool enDatos_ = false;
    bool enFila_ = false;
    bool enCelda_ = false;
    bool enLinea_ = false;
    bool enTrozo_ = false;
    bool capturando_ = false;
    bool tieneValor_ = false;
    bool filaLista_ = false;
    bool fallido_ = false;
};

// --- Small parts read with pugixml ---

pugi::xml_document documento(const std::string& datos) {
    pugi::xml_document doc;
    // No DOCTYPE or entity expansion in pugixml: only the five predefined entities and character references.
    if (!doc.load_buffer(datos.data(), datos.size(), pugi::parse_default, pugi::encoding_auto)) {
        danado();
    }
    return doc;
}

std::string_view nombreLocal(const pugi::xml_node& nodo) {
    return local(nodo.name());
}

pugi::xml_node hijo(const pugi::xml_node& nodo, std::string_view nombre) {
    for (pugi::xml_node h : nodo.children()) {
        if (h.type() == pugi::node_element && nombreLocal(h) == nombre) {
            return h;
        }
    }
    return {};
}

pugi::xml_attribute atributoLocal(const pugi::xml_node& nodo, std::string_view nombre) {
    for (pugi::xml_attribute a : nodo.attributes()) {
        if (local(a.name()) == nombre) {
            return a;
        }
    }
    return {};
}

pugi::xml_node raiz(const pugi::xml_document& doc, std::string_view nombre) {
    const pugi::xml_node r = doc.document_element();
    if (!r || nombreLocal(r) != nombre) {
        danado();
    }
    return r;
}

int valorHex(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The part a relationship points to: targets are URIs relative to the source part's folder, or
// absolute from the package root. Empty when it climbs out of the package.
std::string resolverDestino(std::string_view carpeta, std::string_view destino) {
    std::string ruta;
    if (!destino.empty() && destino.front() == '/') {
        destino.remove_prefix(1);
    } else {
        ruta = carpeta;
    }
    for (std::size_t i = 0; i < destino.size(); ++i) {
        if (destino[i] == '%' && i + 2 < destino.size() && valorHex(destino[i + 1]) >= 0 &&
            valorHex(destino[i + 2]) >= 0) {
            ruta.push_back(static_cast<char>(valorHex(destino[i + 1]) * 16 + valorHex(destino[i + 2])));
            i += 2;
        } else {
            ruta.push_back(destino[i]);
        }
    }
    std::vector<std::string_view> tramos;
    std::string_view resto(ruta);
    while (!resto.empty()) {
        const auto barra = resto.find('/');
        const auto tramo = resto.substr(0, barra);
        resto = barra == std::string_view::npos ? std::string_view() : resto.substr(barra + 1);
        if (tramo.empty() || tramo == ".") {
            continue;
        }
        if (tramo == "..") {
            if (tramos.empty()) {
                return {};
            }
            tramos.pop_back();
            continue;
        }
        tramos.push_back(tramo);
    }
    std::string resultado;
    for (const auto& t : tramos) {
        if (!resultado.empty()) {
            resultado.push_back('/');
        }
        resultado += t;
    }
    return resultado;
}

std::string carpetaDe(std::string_view parte) {
    const auto barra = parte.rfind('/');
    return barra == std::string_view::npos ? std::string() : std::string(parte.substr(0, barra + 1));
}

struct Relacion {
    std::string tipo;
    std::string parte;
};

// The relationships of a part, by id; none when the part has no relationships file.
std::unordered_map<std::string, Relacion> relaciones(const Archivo& archivo, std::string_view parte) {
    std::unordered_map<std::string, Relacion> resultado;
    const std::string carpeta = carpetaDe(parte);
    const auto indice =
        archivo.buscar(carpeta + "_rels/" + std::string(parte.substr(carpeta.size())) + ".rels");
    if (!indice) {
        return resultado;
    }
    const auto doc = documento(archivo.leer(*indice));
    for (pugi::xml_node r : raiz(doc, "Relationships").children()) {
        if (r.type() != pugi::node_element || nombreLocal(r) != "Relationship") {
            continue;
        }
        if (std::string_view(atributoLocal(r, "TargetMode").as_string()) == "External") {
            continue;
        }
        resultado.emplace(atributoLocal(r, "Id").as_string(),
                          Relacion{atributoLocal(r, "Type").as_string(),
                                   resolverDestino(carpeta, atributoLocal(r, "Target").as_string())});
    }
    return resultado;
}

// Relationship types differ between transitional and strict files only in their prefix.
bool esDeTipo(const Relacion& relacion, std::string_view tipo) {
    const std::string_view t(relacion.tipo);
    return t.size() > tipo.size() && t.substr(t.size() - tipo.size()) == tipo &&
           t[t.size() - tipo.size() - 1] == '/';
}

std::vector<bool> leerEstilos(const Archivo& archivo, zip_uint64_t indice) {
    const auto doc = documento(archivo.leer(indice));
    const pugi::xml_node hojaEstilos = raiz(doc, "styleSheet");
    std::unordered_map<std::uint32_t, bool> propios;
    for (pugi::xml_node f : hijo(hojaEstilos, "numFmts").children()) {
        if (f.type() == pugi::node_element && nombreLocal(f) == "numFmt") {
            if (const auto id = leerEnteroXml<std::uint32_t>(atributoLocal(f, "numFmtId").as_string())) {
                propios[*id] = clasificarFormato(utf8ACp1252(atributoLocal(f, "formatCode").as_string())) ==
                               ClaseFormato::Fecha;
            }
        }
    }
    std::vector<bool> esFecha;
    for (pugi::xml_node xf : hijo(hojaEstilos, "cellXfs").children()) {
        if (xf.type() != pugi::node_element || nombreLocal(xf) != "xf") {
            continue;
        }
        const auto id = leerEnteroXml<std::uint32_t>(atributoLocal(xf, "numFmtId").as_string()).value_or(0);
        const auto propio = propios.find(id);
        esFecha.push_back(propio != propios.end() ? propio->second
                                                  : claseIncorporada(id) == ClaseFormato::Fecha);
    }
    return esFecha;
}

bool verdadero(std::string_view v) {
    return v == "1" || v == "true";
}

// Case-insensitive in Windows-1252, as Excel tells sheet names apart.
char minuscula(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    if (u == 0x8A || u == 0x8C || u == 0x8E) {
        return static_cast<char>(u + 0x10);
    }
    if (u == 0x9F) {
        return static_cast<char>(0xFF);
    }
    return c;
}

bool mismoNombre(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (minuscula(a[i]) != minuscula(b[i])) {
            return false;
        }
    }
    return true;
}

class LibroXlsx : public LibroExcel {
public:
    explicit LibroXlsx(std::shared_ptr<DatosLibro> datos) : datos_(std::move(datos)) {}

    std::vector<std::string> hojas() const override {
        std::vector<std::string> nombres;
        nombres.reserve(datos_->hojas.size());
        for (const auto& h : datos_->hojas) {
            nombres.push_back(h.nombre);
        }
        return nombres;
    }

    int columnasMaximas() const override { return kMaxColumnas; }

    std::unique_ptr<CursorHoja> abrirHoja(std::string_view nombre) override {
        const Hoja* elegida = nullptr;
        for (const auto& h : datos_->hojas) {
            if (h.nombre == nombre) {
                elegida = &h;
                break;
            }
            if (!elegida && mismoNombre(h.nombre, nombre)) {
                elegida = &h;
            }
        }
        if (!elegida) {
            danado();
        }
        // The cursor shares the archive and the tables, so it stays valid whatever happens to the book.
        return std::make_unique<CursorXlsx>(datos_, elegida->parte);
    }

private:
    std::shared_ptr<DatosLibro> datos_;
};

std::shared_ptr<DatosLibro> cargar(const std::filesystem::path& ruta) {
    auto datos = std::make_shared<DatosLibro>();
    int codigo = 0;
    datos->archivo.zip.reset(zip_open(ruta.c_str(), ZIP_RDONLY, &codigo));
    if (!datos->archivo.zip) {
        danado();
    }
    const Archivo& archivo = datos->archivo;

    std::string parteLibro = "xl/workbook.xml";
    for (const auto& [id, relacion] : relaciones(archivo, "")) {
        if (esDeTipo(relacion, "officeDocument")) {
            parteLibro = relacion.parte;
            break;
        }
    }
    const auto indiceLibro = archivo.buscar(parteLibro);
    if (!indiceLibro) {
        danado();
    }
    const auto doc = documento(archivo.leer(*indiceLibro));
    const pugi::xml_node libro = raiz(doc, "workbook");
    datos->sistema1904 = verdadero(atributoLocal(hijo(libro, "workbookPr"), "date1904").as_string());

    const auto rels = relaciones(archivo, parteLibro);
    for (pugi::xml_node hoja : hijo(libro, "sheets").children()) {
        if (hoja.type() != pugi::node_element || nombreLocal(hoja) != "sheet") {
            continue;
        }
        const auto relacion = rels.find(atributoLocal(hoja, "id").as_string());
        if (relacion == rels.end()) {
            danado();
        }
        // Chart and dialog sheets have no cells: like Excel's Worksheets, only worksheets are listed.
        if (!esDeTipo(relacion->second, "worksheet")) {
            continue;
        }
        const auto parte = archivo.buscar(relacion->second.parte);
        if (!parte) {
            danado();
        }
        datos->hojas.push_back({utf8ACp1252(atributoLocal(hoja, "name").as_string()), *parte});
    }

    std::optional<zip_uint64_t> parteTextos;
    std::optional<zip_uint64_t> parteEstilos;
    for (const auto& [id, relacion] : rels) {
        if (esDeTipo(relacion, "sharedStrings")) {
            parteTextos = archivo.buscar(relacion.parte);
        } else if (esDeTipo(relacion, "styles")) {
            parteEstilos = archivo.buscar(relacion.parte);
        }
    }
    if (parteEstilos) {
        datos->estiloEsFecha = leerEstilos(archivo, *parteEstilos);
    }
    if (parteTextos) {
        LectorTextos lector(datos->textos, archivo.tamano(*parteTextos));
        FlujoXml flujo(archivo, *parteTextos, lector);
        while (flujo.continuar()) {
        }
    }
    return datos;
}

} // namespace

std::unique_ptr<LibroExcel> abrirLibroXlsx(const std::filesystem::path& ruta) {
    return std::make_unique<LibroXlsx>(cargar(ruta));
}

} // namespace trovanel
