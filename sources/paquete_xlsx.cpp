#include "paquete_xlsx.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "fichero_entrada.hpp"
#include "flujo_xml.hpp"
#include "libro_excel.hpp"
#include "texto.hpp"
#include "valores_xlsx.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace trovanel::xlsx {

namespace {

// Workbook, relationships and styles take kilobytes in real files, a few megabytes at most. Streamed,
// they hold only what is kept of them; one far bigger is refused before it takes time.
constexpr zip_uint64_t kMaxPartePequena = 64ull << 20;
// Excel holds at most 65,490 cell formats and some 250 number formats, and real workbooks far fewer
// sheets and relationships: no list kept from these parts grows past this.
constexpr std::size_t kMaxEntradas = 65536;

} // namespace

// --- The archive ---

std::optional<zip_uint64_t> Archivo::buscar(const std::string& nombre) const {
    const zip_int64_t indice = zip_name_locate(zip.get(), nombre.c_str(), 0);
    if (indice >= 0) {
        return static_cast<zip_uint64_t>(indice);
    }
    if (!sinMayusculas_) {
        std::unordered_map<std::string, zip_uint64_t> nombres;
        const zip_int64_t entradas = zip_get_num_entries(zip.get(), 0);
        for (zip_int64_t i = 0; i < entradas; ++i) {
            if (const char* n = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0)) {
                nombres.emplace(minusculasAscii(n), static_cast<zip_uint64_t>(i));
            }
        }
        sinMayusculas_ = std::move(nombres);
    }
    const auto encontrado = sinMayusculas_->find(minusculasAscii(nombre));
    if (encontrado == sinMayusculas_->end()) {
        return std::nullopt;
    }
    return encontrado->second;
}

zip_uint64_t Archivo::tamano(zip_uint64_t indice) const {
    zip_stat_t estado;
    zip_stat_init(&estado);
    if (zip_stat_index(zip.get(), indice, 0, &estado) != 0 || !(estado.valid & ZIP_STAT_SIZE)) {
        danado();
    }
    return estado.size;
}

Archivo abrirArchivo(const std::filesystem::path& ruta) {
    // Only a regular file reaches libzip, which then opens it by its name: it reads a descriptor handed
    // over to it markedly slower.
    {
        const FicheroEntrada fichero(ruta);
        if (fichero.noEsFichero()) {
            throw ErrorTrovanel(mensajeEntrada(kNoSeAbreEntrada, ruta, kNoEsFicheroRegular));
        }
        if (!fichero.abierto()) {
            danado();
        }
    }
    Archivo archivo;
    int codigo = 0;
    archivo.zip.reset(zip_open(ruta.c_str(), ZIP_RDONLY, &codigo));
    if (!archivo.zip) {
        danado();
    }
    return archivo;
}

namespace {

// --- Small parts, streamed like the sheets ---

// Parses a whole part with the handler; a part bigger than a real one is refused before it is read.
void leerParte(const Archivo& archivo, zip_uint64_t indice, ManejadorXml& manejador) {
    FlujoXml flujo(archivo, indice, manejador, kMaxPartePequena);
    while (flujo.continuar()) {
    }
}

// The value of an attribute; empty when absent.
std::string_view valorAtributo(AtributosXml atributos, std::string_view nombre) {
    return atributo(atributos, nombre).value_or(std::string_view());
}

// What the small parts say lies in their root's children and grandchildren; the root must be the one
// the part is for.
class LectorParte : public ManejadorXml {
public:
    explicit LectorParte(std::string_view raiz) : raiz_(raiz) {}

    void inicio(std::string_view nombre, AtributosXml atributos) final {
        ++profundidad_;
        if (profundidad_ == 1) {
            if (nombre != raiz_) {
                danado();
            }
        } else {
            elemento(profundidad_, nombre, atributos);
        }
    }
    void fin(std::string_view) final {
        if (profundidad_ == 2) {
            finHijo();
        }
        --profundidad_;
    }
    void texto(std::string_view) final {}

protected:
    virtual void elemento(int profundidad, std::string_view nombre, AtributosXml atributos) = 0;
    virtual void finHijo() {}

private:
    std::string_view raiz_;
    int profundidad_ = 0;
};

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

using Relaciones = std::unordered_map<std::string, Relacion>;

class LectorRelaciones final : public LectorParte {
public:
    LectorRelaciones(Relaciones& relaciones, std::string carpeta)
        : LectorParte("Relationships"), relaciones_(relaciones), carpeta_(std::move(carpeta)) {}

private:
    void elemento(int profundidad, std::string_view nombre, AtributosXml atributos) override {
        if (profundidad != 2 || nombre != "Relationship" ||
            valorAtributo(atributos, "TargetMode") == "External") {
            return;
        }
        const std::string_view id = valorAtributo(atributos, "Id");
        if (relaciones_.contains(std::string(id))) {
            return; // the first of two with the same id stands
        }
        Relacion relacion{std::string(valorAtributo(atributos, "Type")),
                          resolverDestino(carpeta_, valorAtributo(atributos, "Target"))};
        // Each target is kept under the source part's folder, whose name may be as long as a zip entry's:
        // what is kept is capped like the part itself, or a small part would fill the memory.
        guardado_ += id.size() + relacion.tipo.size() + relacion.parte.size();
        if (guardado_ > kMaxPartePequena) {
            danado();
        }
        relaciones_.emplace(id, std::move(relacion));
        if (relaciones_.size() > kMaxEntradas) {
            danado();
        }
    }

    Relaciones& relaciones_;
    std::string carpeta_;
    std::size_t guardado_ = 0;
};

// The relationships of a part, by id; none when the part has no relationships file.
Relaciones relaciones(const Archivo& archivo, std::string_view parte) {
    Relaciones resultado;
    const std::string carpeta = carpetaDe(parte);
    const auto indice =
        archivo.buscar(carpeta + "_rels/" + std::string(parte.substr(carpeta.size())) + ".rels");
    if (indice) {
        LectorRelaciones lector(resultado, carpeta);
        leerParte(archivo, *indice, lector);
    }
    return resultado;
}

// Relationship types differ between transitional and strict files only in their prefix.
bool esDeTipo(const Relacion& relacion, std::string_view tipo) {
    const std::string_view t(relacion.tipo);
    return t.size() > tipo.size() && t.substr(t.size() - tipo.size()) == tipo &&
           t[t.size() - tipo.size() - 1] == '/';
}

bool verdadero(std::string_view v) {
    return v == "1" || v == "true";
}

// A sheet as the workbook lists it: its name (UTF-8) and the id of its relationship.
struct HojaListada {
    std::string nombre;
    std::string relacion;
};

// Only the first workbookPr and the first sheets list count.
class LectorLibro final : public LectorParte {
public:
    LectorLibro() : LectorParte("workbook") {}

    std::vector<HojaListada> hojas;
    bool sistema1904 = false;

private:
    void elemento(int profundidad, std::string_view nombre, AtributosXml atributos) override {
        if (profundidad == 2) {
            if (nombre == "workbookPr" && !propiedadesVistas_) {
                propiedadesVistas_ = true;
                sistema1904 = verdadero(valorAtributo(atributos, "date1904"));
            } else if (nombre == "sheets" && !hojasVistas_) {
                hojasVistas_ = true;
                enHojas_ = true;
            }
        } else if (profundidad == 3 && enHojas_ && nombre == "sheet") {
            if (hojas.size() == kMaxEntradas) {
                danado();
            }
            hojas.push_back(
                {std::string(valorAtributo(atributos, "name")), std::string(valorAtributo(atributos, "id"))});
        }
    }
    void finHijo() override { enHojas_ = false; }

    bool propiedadesVistas_ = false;
    bool hojasVistas_ = false;
    bool enHojas_ = false;
};

// Number formats and cell formats from the first numFmts and cellXfs lists.
class LectorEstilos final : public LectorParte {
public:
    LectorEstilos() : LectorParte("styleSheet") {}

    // By cell format, how its number format shows a number.
    std::vector<ClaseFormato> clases() const {
        std::vector<ClaseFormato> resultado;
        resultado.reserve(formatoXf_.size());
        for (const std::uint32_t id : formatoXf_) {
            const auto propio = propios_.find(id);
            resultado.push_back(propio != propios_.end() ? propio->second : claseIncorporada(id));
        }
        return resultado;
    }

private:
    void elemento(int profundidad, std::string_view nombre, AtributosXml atributos) override {
        if (profundidad == 2) {
            if (nombre == "numFmts" && !formatosVistos_) {
                formatosVistos_ = true;
                lista_ = Lista::formatos;
            } else if (nombre == "cellXfs" && !xfsVistos_) {
                xfsVistos_ = true;
                lista_ = Lista::xfs;
            }
        } else if (profundidad == 3 && lista_ == Lista::formatos && nombre == "numFmt") {
            if (const auto id = leerEnteroXml<std::uint32_t>(valorAtributo(atributos, "numFmtId"))) {
                propios_[*id] = clasificarFormato(utf8ACp1252(valorAtributo(atributos, "formatCode")));
                if (propios_.size() > kMaxEntradas) {
                    danado();
                }
            }
        } else if (profundidad == 3 && lista_ == Lista::xfs && nombre == "xf") {
            if (formatoXf_.size() == kMaxEntradas) {
                danado();
            }
            formatoXf_.push_back(
                leerEnteroXml<std::uint32_t>(valorAtributo(atributos, "numFmtId")).value_or(0));
        }
    }
    void finHijo() override { lista_ = Lista::ninguna; }

    enum class Lista { ninguna, formatos, xfs };
    std::unordered_map<std::uint32_t, ClaseFormato> propios_;
    std::vector<std::uint32_t> formatoXf_;
    Lista lista_ = Lista::ninguna;
    bool formatosVistos_ = false;
    bool xfsVistos_ = false;
};

} // namespace

// --- The workbook ---

EstructuraLibro leerEstructura(const Archivo& archivo) {
    EstructuraLibro estructura;
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
    LectorLibro libro;
    leerParte(archivo, *indiceLibro, libro);
    estructura.sistema1904 = libro.sistema1904;

    const auto rels = relaciones(archivo, parteLibro);
    // Many sheets may name one relationship, whose part name may be long: each is looked up once.
    std::unordered_map<const Relacion*, zip_uint64_t> partesHalladas;
    for (const auto& hoja : libro.hojas) {
        const auto relacion = rels.find(hoja.relacion);
        if (relacion == rels.end()) {
            danado();
        }
        // Chart and dialog sheets have no cells: like Excel's Worksheets, only worksheets are listed.
        if (!esDeTipo(relacion->second, "worksheet")) {
            continue;
        }
        auto parte = partesHalladas.find(&relacion->second);
        if (parte == partesHalladas.end()) {
            const auto indice = archivo.buscar(relacion->second.parte);
            if (!indice) {
                danado();
            }
            parte = partesHalladas.emplace(&relacion->second, *indice).first;
        }
        estructura.hojas.push_back({utf8ACp1252(hoja.nombre), parte->second});
    }

    std::optional<zip_uint64_t> parteEstilos;
    for (const auto& [id, relacion] : rels) {
        if (esDeTipo(relacion, "sharedStrings")) {
            estructura.parteTextos = archivo.buscar(relacion.parte);
        } else if (esDeTipo(relacion, "styles")) {
            parteEstilos = archivo.buscar(relacion.parte);
        }
    }
    if (parteEstilos) {
        LectorEstilos estilos;
        leerParte(archivo, *parteEstilos, estilos);
        estructura.claseEstilo = estilos.clases();
    }
    return estructura;
}

} // namespace trovanel::xlsx
