#include "paquete_xlsx.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "formato_numero.hpp"
#include "libro_excel.hpp"
#include "valores_xlsx.hpp"

#include <pugixml.hpp>

#include <cstdint>
#include <unordered_map>

namespace trovanel::xlsx {

namespace {

// Workbook, relationships and styles are read whole: real ones take a few kilobytes.
constexpr zip_uint64_t kMaxPartePequena = 64ull << 20;

} // namespace

void danado() {
    throw ErrorTrovanel(kNoSeAbreEntrada);
}

// --- The archive ---

std::optional<zip_uint64_t> Archivo::buscar(const std::string& nombre) const {
    zip_int64_t indice = zip_name_locate(zip.get(), nombre.c_str(), 0);
    if (indice < 0) {
        indice = zip_name_locate(zip.get(), nombre.c_str(), ZIP_FL_NOCASE);
    }
    if (indice < 0) {
        return std::nullopt;
    }
    return static_cast<zip_uint64_t>(indice);
}

zip_uint64_t Archivo::tamano(zip_uint64_t indice) const {
    zip_stat_t estado;
    zip_stat_init(&estado);
    if (zip_stat_index(zip.get(), indice, 0, &estado) != 0 || !(estado.valid & ZIP_STAT_SIZE)) {
        danado();
    }
    return estado.size;
}

std::string Archivo::leer(zip_uint64_t indice) const {
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

Archivo abrirArchivo(const std::filesystem::path& ruta) {
    Archivo archivo;
    int codigo = 0;
    archivo.zip.reset(zip_open(ruta.c_str(), ZIP_RDONLY, &codigo));
    if (!archivo.zip) {
        danado();
    }
    return archivo;
}

namespace {

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
    const auto doc = documento(archivo.leer(*indiceLibro));
    const pugi::xml_node libro = raiz(doc, "workbook");
    estructura.sistema1904 = verdadero(atributoLocal(hijo(libro, "workbookPr"), "date1904").as_string());

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
        estructura.hojas.push_back({utf8ACp1252(atributoLocal(hoja, "name").as_string()), *parte});
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
        estructura.estiloEsFecha = leerEstilos(archivo, *parteEstilos);
    }
    return estructura;
}

} // namespace trovanel::xlsx
