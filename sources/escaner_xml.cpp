#include "escaner_xml.hpp"
#include "texto.hpp"

#include "libro_excel.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace trovanel::xlsx {

namespace {

// Byte classes. Bytes from 0x80 up start or continue a UTF-8 character, checked where it is met.
enum : std::uint8_t {
    kEspecialTexto = 1,    // stops a run of character data
    kEspecialValor = 2,    // stops a run of an attribute value
    kEspecialEtiqueta = 4, // stops the search for the end of a start tag
    kInicioNombre = 8,
    kNombre = 16,
    kBlanco = 32,
    kDosPuntos = 64,
};

constexpr std::array<std::uint8_t, 256> kClases = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
        // Beyond ASCII, names take almost every character: those are checked as UTF-8 where met.
        const bool letra = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
        std::uint8_t v = 0;
        if (control || c >= 0x80 || c == '<' || c == '&' || c == '\r' || c == ']') {
            v |= kEspecialTexto;
        }
        if (control || c >= 0x80 || c == '<' || c == '&' || c == '\t' || c == '\n' || c == '\r' || c == '"' ||
            c == '\'') {
            v |= kEspecialValor;
        }
        if (c == 0 || c == '"' || c == '\'' || c == '>') {
            v |= kEspecialEtiqueta;
        }
        if (letra) {
            v |= kInicioNombre | kNombre;
        }
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
            v |= kNombre;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            v |= kBlanco;
        }
        if (c == ':') {
            v |= kDosPuntos;
        }
        t[static_cast<std::size_t>(c)] = v;
    }
    return t;
}();

bool es(char c, std::uint8_t clase) {
    return (kClases[static_cast<unsigned char>(c)] & clase) != 0;
}

char* saltarBlancos(char* p) {
    while (es(*p, kBlanco)) {
        ++p;
    }
    return p;
}

bool alto(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

bool inicioNombre(char c) {
    return es(c, kInicioNombre) || alto(c);
}

// The length of the UTF-8 character at p, if XML allows it (no surrogates, no U+FFFE or U+FFFF, no
// overlong forms); 0 if not, -1 when it would go on past fin.
int caracterUtf8(const char* p, const char* fin) {
    const auto b = [p](int i) { return static_cast<unsigned char>(p[i]); };
    const unsigned c = b(0);
    const int n = c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    if (n == 0) {
        return 0;
    }
    if (fin - p < n) {
        return -1;
    }
    for (int i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) ||
        (c == 0xEF && b(1) == 0xBF && b(2) > 0xBD) || (c == 0xF0 && b(1) < 0x90) ||
        (c == 0xF4 && b(1) > 0x8F)) {
        return 0;
    }
    return n;
}

// Past the characters of a name: fin when one goes on past the data.
char* saltarNombre(char* p, const char* fin) {
    while (true) {
        while (es(*p, kNombre)) {
            ++p;
        }
        if (!alto(*p)) {
            return p;
        }
        const int n = caracterUtf8(p, fin);
        if (n < 0) {
            return const_cast<char*>(fin);
        }
        if (n == 0) {
            danado();
        }
        p += n;
    }
}

// Checks that [a, b) holds only characters XML allows and turns its line ends into "\n", in place;
// returns the new end.
char* normalizar(char* a, const char* b) {
    char* w = a;
    for (const char* r = a; r < b;) {
        const auto c = static_cast<unsigned char>(*r);
        if (c >= 0x80) {
            const int n = caracterUtf8(r, b);
            if (n <= 0) {
                danado();
            }
            std::memmove(w, r, static_cast<std::size_t>(n));
            w += n;
            r += n;
        } else if (c == '\r') {
            *w++ = '\n';
            r += r + 1 < b && r[1] == '\n' ? 2 : 1;
        } else if (c < 0x20 && c != '\t' && c != '\n') {
            danado();
        } else {
            *w++ = *r++;
        }
    }
    return w;
}

std::string_view sinPrefijo(std::string_view nombre) {
    const auto dosPuntos = nombre.rfind(':');
    return dosPuntos == std::string_view::npos ? nombre : nombre.substr(dosPuntos + 1);
}

// Writes a character XML allows, in UTF-8, at w.
void escribirCaracter(std::uint32_t c, char*& w) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE ||
        c == 0xFFFF) {
        danado();
    }
    if (c < 0x80) {
        *w++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *w++ = static_cast<char>(0xC0 | (c >> 6));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *w++ = static_cast<char>(0xE0 | (c >> 12));
        *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *w++ = static_cast<char>(0xF0 | (c >> 18));
        *w++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *w++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool igualesSinCaja(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x | 0x20 : x) == (y >= 'A' && y <= 'Z' ? y | 0x20 : y);
           });
}

} // namespace

// --- Input ---

char* EscanerXml::espacio(std::size_t n) {
    const std::size_t pendientes = fin_ - inicio_;
    if (pendientes > kMaxSinProgreso) {
        danado();
    }
    if (inicio_ > 0) {
        std::memmove(buffer_.get(), principio(), pendientes);
        inicio_ = 0;
        fin_ = pendientes;
    }
    // One more byte for the null after the data: scans stop at it without checking where the data ends.
    if (fin_ + n + 1 > capacidad_) {
        const std::size_t capacidad = std::max(capacidad_ * 2, fin_ + n + 1);
        auto nuevo = std::make_unique_for_overwrite<char[]>(capacidad);
        if (fin_ > 0) {
            std::memcpy(nuevo.get(), buffer_.get(), fin_);
        }
        buffer_ = std::move(nuevo);
        capacidad_ = capacidad;
    }
    // Should no more data come, the scans still stop where the data ends.
    buffer_[fin_] = '\0';
    return final();
}

void EscanerXml::anadidos(std::size_t n) {
    fin_ += n;
    buffer_[fin_] = '\0';
}

void EscanerXml::consumir(const char* hasta) {
    inicio_ = static_cast<std::size_t>(hasta - buffer_.get());
    reanudar_ = 0;
    comilla_ = 0;
}

// --- Events ---

// The common start tag: ASCII names, "=" with no blanks around it, values with nothing to replace, few
// attributes. Anything else, or a tag cut short, is left to etiquetaInicio(), which reads it again.
bool EscanerXml::etiquetaComun(char* p) {
    if ((profundidad_ == 0 && raizVista_) || profundidad_ >= kMaxProfundidad) {
        return false;
    }
    char* nombre = p + 1;
    char* r = nombre;
    std::uint8_t clases = 0;
    do {
        clases |= kClases[static_cast<unsigned char>(*r)];
        ++r;
    } while (es(*r, kNombre));
    char* finNombre = r;
    if (finNombre - nombre > 64) {
        return false;
    }
    std::size_t n = 0;
    bool vacia = false;
    while (true) {
        if (*r == '>') {
            break;
        }
        if (*r == '/') {
            if (r[1] != '>') {
                return false;
            }
            vacia = true;
            ++r;
            break;
        }
        if (!es(*r, kBlanco)) {
            return false;
        }
        do {
            ++r;
        } while (es(*r, kBlanco));
        if (*r == '>' || *r == '/') {
            continue;
        }
        char* atributo = r;
        if (!es(*r, kInicioNombre)) {
            return false;
        }
        do {
            ++r;
        } while (es(*r, kNombre));
        const std::string_view nombreAtributo(atributo, static_cast<std::size_t>(r - atributo));
        if (*r != '=' || (r[1] != '"' && r[1] != '\'') || n == comunes_.size()) {
            return false;
        }
        const char comilla = r[1];
        r += 2;
        char* valor = r;
        while (!es(*r, kEspecialValor)) {
            ++r;
        }
        if (*r != comilla) {
            return false;
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (comunes_[i].nombre == nombreAtributo) {
                return false;
            }
        }
        comunes_[n++] = {nombreAtributo, std::string_view(valor, static_cast<std::size_t>(r - valor))};
        ++r;
    }
    vista_ = AtributosXml(comunes_.data(), n);
    const std::string_view cualificado(nombre, static_cast<std::size_t>(finNombre - nombre));
    nombre_ = (clases & kDosPuntos) != 0 ? sinPrefijo(cualificado) : cualificado;
    abrir(cualificado, nombre_);
    finPendiente_ = vacia;
    consumir(r + 1);
    return true;
}

// The end tag of the element open last, written without blanks.
bool EscanerXml::cierreComun(char* p) {
    const std::size_t desde = abiertos_[profundidad_ - 1].inicio;
    const char* abierto = nombres_.get() + desde;
    const std::size_t largo = largoAbiertos_ - desde;
    // The null after the data differs from every name's characters: no need to know where it ends.
    const char* r = p + 2;
    for (std::size_t i = 0; i < largo; ++i) {
        if (r[i] != abierto[i]) {
            return false;
        }
    }
    if (r[largo] != '>') {
        return false;
    }
    consumir(r + largo + 1);
    return true;
}

// Character data with nothing to replace or check, up to the next tag.
bool EscanerXml::textoComun(char* p) {
    char* r = p;
    while (!es(*r, kEspecialTexto)) {
        ++r;
    }
    if (*r != '<') {
        return false;
    }
    texto_ = std::string_view(p, static_cast<std::size_t>(r - p));
    consumir(r);
    return true;
}

// Keeps the name of the element just opened, to match its end tag; local is its part without prefix.
void EscanerXml::abrir(std::string_view nombre, std::string_view local) {
    if (largoAbiertos_ + nombre.size() > capacidadNombres_) {
        crecerNombres(nombre.size());
    }
    const auto inicio = static_cast<std::uint32_t>(largoAbiertos_);
    abiertos_[profundidad_++] = {inicio, inicio + static_cast<std::uint32_t>(local.data() - nombre.data())};
    char* destino = nombres_.get() + largoAbiertos_;
    for (std::size_t i = 0; i < nombre.size(); ++i) {
        destino[i] = nombre[i];
    }
    largoAbiertos_ += nombre.size();
    raizVista_ = true;
}

// Never more than the caps on nesting and names allow.
void EscanerXml::crecerNombres(std::size_t mas) {
    const std::size_t capacidad = std::max<std::size_t>(256, 2 * (largoAbiertos_ + mas));
    auto nuevos = std::make_unique_for_overwrite<char[]>(capacidad);
    std::copy_n(nombres_.get(), largoAbiertos_, nuevos.get());
    nombres_ = std::move(nuevos);
    capacidadNombres_ = capacidad;
}

EventoXml EscanerXml::siguiente() {
    if (finPendiente_) {
        finPendiente_ = false;
        return cerrar();
    }
    char* p = principio();
    if (p != final() && reanudar_ == 0 && !alComienzo_) {
        if (*p == '<') {
            if (es(p[1], kInicioNombre)) {
                if (etiquetaComun(p)) {
                    return EventoXml::inicio;
                }
            } else if (p[1] == '/' && profundidad_ > 0 && cierreComun(p)) {
                return cerrar();
            }
        } else if (profundidad_ > 0 && textoComun(p)) {
            return EventoXml::texto;
        }
    }
    while (true) {
        char* p = principio();
        if (p == final()) {
            if (!terminado_) {
                return EventoXml::faltanDatos;
            }
            if (!raizVista_ || profundidad_ > 0) {
                danado();
            }
            return EventoXml::finDocumento;
        }
        Paso paso;
        if (!bomMirado_) {
            paso = comienzo(p);
        } else if (*p == '<') {
            paso = marca(p);
        } else if (profundidad_ == 0) {
            paso = fuera(p);
        } else {
            paso = datos(p);
        }
        if (paso == Paso::evento) {
            return evento_;
        }
        if (paso == Paso::faltan) {
            // The document ends inside a token.
            if (terminado_) {
                danado();
            }
            return EventoXml::faltanDatos;
        }
    }
}

EventoXml EscanerXml::cerrar() {
    const Abierto abierto = abiertos_[--profundidad_];
    // Dropping the name keeps its bytes where they are until another element opens.
    nombre_ = std::string_view(nombres_.get() + abierto.local, largoAbiertos_ - abierto.local);
    largoAbiertos_ = abierto.inicio;
    return EventoXml::fin;
}

// A byte order mark may open the document.
EscanerXml::Paso EscanerXml::comienzo(char* p) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const auto disponibles = std::min(kBom.size(), static_cast<std::size_t>(final() - p));
    if (std::string_view(p, disponibles) == kBom.substr(0, disponibles)) {
        if (disponibles < kBom.size()) {
            return Paso::faltan;
        }
        consumir(p + kBom.size());
    }
    bomMirado_ = true;
    return Paso::nada;
}

// Before and after the root element only blanks, comments and processing instructions.
EscanerXml::Paso EscanerXml::fuera(char* p) {
    p = saltarBlancos(p);
    if (p != final() && *p != '<') {
        danado();
    }
    consumir(p);
    alComienzo_ = false;
    return Paso::nada;
}

EscanerXml::Paso EscanerXml::marca(char* p) {
    Paso paso;
    const std::size_t disponibles = static_cast<std::size_t>(final() - p);
    if (disponibles < 2) {
        return Paso::faltan;
    }
    if (p[1] == '/') {
        paso = etiquetaFin(p);
    } else if (p[1] == '?') {
        paso = instruccion(p);
    } else if (p[1] == '!') {
        // Comments and CDATA sections; a DTD, or anything else, is refused.
        const std::string_view marca(p, disponibles);
        const std::string_view visto = marca.substr(0, 9);
        if (marca.starts_with("<!--")) {
            paso = comentario(p);
        } else if (marca.starts_with("<![CDATA[")) {
            paso = seccionCdata(p);
        } else if (std::string_view("<!--").starts_with(visto) ||
                   std::string_view("<![CDATA[").starts_with(visto)) {
            return Paso::faltan;
        } else {
            danado();
        }
    } else {
        paso = etiquetaInicio(p);
    }
    if (paso != Paso::faltan) {
        alComienzo_ = false;
    }
    return paso;
}

// Where cierre starts, searching from desde bytes after p; null, with the search left to go on, when
// it is not there yet.
char* EscanerXml::buscar(char* p, std::size_t desde, std::string_view cierre) {
    const std::size_t disponibles = static_cast<std::size_t>(final() - p);
    desde = std::max(desde, reanudar_);
    const auto encontrado = std::string_view(p, disponibles).find(cierre, desde);
    if (encontrado == std::string_view::npos) {
        reanudar_ = std::max(desde, disponibles - std::min(disponibles, cierre.size() - 1));
        return nullptr;
    }
    return p + encontrado;
}

// A start tag is read as it stands in the buffer; only when it is cut short is its end searched for, so
// that it is read once it is whole. Nothing is changed in place before then.
EscanerXml::Paso EscanerXml::etiquetaInicio(char* p) {
    if (reanudar_ > 0 && !etiquetaEntera(p)) {
        return Paso::faltan;
    }
    if ((profundidad_ == 0 && raizVista_) || profundidad_ >= kMaxProfundidad) {
        danado();
    }
    char* nombre = p + 1;
    if (!inicioNombre(*nombre)) {
        danado();
    }
    char* finNombre = saltarNombre(nombre, final());
    if (static_cast<std::size_t>(finNombre - nombre) > kMaxNombre) {
        danado();
    }
    if (finNombre == final()) {
        return etiquetaIncompleta(p);
    }
    atributos_.clear();
    sinDescodificar_.clear();
    char* r = finNombre;
    bool vacia = false;
    while (true) {
        char* despues = saltarBlancos(r);
        if (*despues == '>') {
            r = despues;
            break;
        }
        if (*despues == '/') {
            if (despues + 1 == final()) {
                return etiquetaIncompleta(p);
            }
            if (despues[1] != '>') {
                danado();
            }
            r = despues + 1;
            vacia = true;
            break;
        }
        if (despues == final()) {
            return etiquetaIncompleta(p);
        }
        // Attributes are set apart by blanks.
        if (despues == r) {
            danado();
        }
        r = atributo(despues);
        if (!r) {
            return etiquetaIncompleta(p);
        }
    }

    // Whole: now the values that need it are replaced in place.
    for (const std::size_t i : sinDescodificar_) {
        valorEnSitio(atributos_[i]);
    }
    const std::size_t cantidad = atributos_.size();
    if (cantidad > 1) {
        // Each name once: by pairs for the few a real tag has, sorted for a hostile tag's thousands.
        if (cantidad <= 16) {
            for (std::size_t i = 1; i < cantidad; ++i) {
                for (std::size_t j = 0; j < i; ++j) {
                    if (atributos_[i].nombre == atributos_[j].nombre) {
                        danado();
                    }
                }
            }
        } else {
            std::vector<std::string_view> nombres;
            nombres.reserve(cantidad);
            for (const auto& a : atributos_) {
                nombres.push_back(a.nombre);
            }
            std::sort(nombres.begin(), nombres.end());
            if (std::adjacent_find(nombres.begin(), nombres.end()) != nombres.end()) {
                danado();
            }
        }
    }
    const std::string_view cualificado(nombre, static_cast<std::size_t>(finNombre - nombre));
    nombre_ = sinPrefijo(cualificado);
    abrir(cualificado, nombre_);
    vista_ = atributos_;
    finPendiente_ = vacia;
    evento_ = EventoXml::inicio;
    consumir(r + 1);
    return Paso::evento;
}

// The tag goes on past the data: its end is searched for from here on.
EscanerXml::Paso EscanerXml::etiquetaIncompleta(char* p) {
    reanudar_ = 1;
    comilla_ = 0;
    if (etiquetaEntera(p)) {
        // Reading stops at the end of the data only when no '>' outside a value comes first: one found
        // now would be a fault of this scanner, and the part is refused rather than misread.
        danado();
    }
    return Paso::faltan;
}

// Searches on for the '>' that ends the start tag at p, outside the values; true when it is there.
bool EscanerXml::etiquetaEntera(char* p) {
    char* q = p + reanudar_;
    char comilla = comilla_;
    while (true) {
        if (comilla != 0) {
            auto* cierre = static_cast<char*>(std::memchr(q, comilla, static_cast<std::size_t>(final() - q)));
            if (!cierre) {
                q = final();
                break;
            }
            q = cierre + 1;
            comilla = 0;
        } else {
            while (!es(*q, kEspecialEtiqueta)) {
                ++q;
            }
            if (*q == '>') {
                return true;
            }
            if (q == final()) {
                break;
            }
            if (*q == '\0') {
                danado();
            }
            comilla = *q++;
        }
    }
    reanudar_ = static_cast<std::size_t>(q - p);
    comilla_ = comilla;
    return false;
}

// One attribute, from its name; returns what follows its value, or null when the data ends first.
char* EscanerXml::atributo(char* r) {
    char* nombre = r;
    if (!inicioNombre(*nombre)) {
        danado();
    }
    char* finNombre = saltarNombre(nombre, final());
    r = saltarBlancos(finNombre);
    if (*r != '=') {
        if (r != final()) {
            danado();
        }
        return nullptr;
    }
    r = saltarBlancos(r + 1);
    const char comilla = *r;
    if (comilla != '"' && comilla != '\'') {
        if (r != final()) {
            danado();
        }
        return nullptr;
    }
    char* valor = ++r;
    while (!es(*r, kEspecialValor)) {
        ++r;
    }
    if (*r != comilla) {
        // References, blanks, the other quote, non-ASCII or a wrong character: replaced or refused once
        // the tag is whole.
        r = static_cast<char*>(std::memchr(r, comilla, static_cast<std::size_t>(final() - r)));
        if (!r) {
            return nullptr;
        }
        sinDescodificar_.push_back(atributos_.size());
    }
    atributos_.push_back({std::string_view(nombre, static_cast<std::size_t>(finNombre - nombre)),
                          std::string_view(valor, static_cast<std::size_t>(r - valor))});
    return r + 1;
}

// A value as written, up to its closing quote, made what it stands for: references replaced, blanks as
// spaces. The result is never longer than what was written.
void EscanerXml::valorEnSitio(AtributoXml& atributo) {
    char* const valor = const_cast<char*>(atributo.valor.data());
    char* const fin = valor + atributo.valor.size();
    char* w = valor;
    for (char* r = valor; r < fin;) {
        const auto c = static_cast<unsigned char>(*r);
        if (!es(*r, kEspecialValor) || c == '"' || c == '\'') {
            *w++ = *r++;
        } else if (c == '&') {
            r = referencia(r, w);
            if (!r || r > fin) {
                danado();
            }
        } else if (c == '\t' || c == '\n') {
            *w++ = ' ';
            ++r;
        } else if (c == '\r') {
            *w++ = ' ';
            r += r + 1 < fin && r[1] == '\n' ? 2 : 1;
        } else if (c >= 0x80) {
            const int n = caracterUtf8(r, fin);
            if (n <= 0) {
                danado();
            }
            std::memmove(w, r, static_cast<std::size_t>(n));
            w += n;
            r += n;
        } else {
            // '<', or a control character.
            danado();
        }
    }
    atributo.valor = std::string_view(valor, static_cast<std::size_t>(w - valor));
}

// Replaces the reference at r ('&') with its character, written at w; returns what follows it, or null
// when the data ends before it does.
char* EscanerXml::referencia(char* r, char*& w) {
    char* s = r + 1;
    if (*s == '#') {
        ++s;
        const bool hex = *s == 'x';
        s += hex ? 1 : 0;
        char* digitos = s;
        std::uint32_t valor = 0;
        while (true) {
            const int d = hex ? valorHex(*s) : (*s >= '0' && *s <= '9' ? *s - '0' : -1);
            if (d < 0) {
                break;
            }
            valor = valor * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            if (valor > 0x10FFFF) {
                danado();
            }
            ++s;
        }
        if (s == final()) {
            return nullptr;
        }
        if (s == digitos || *s != ';') {
            danado();
        }
        escribirCaracter(valor, w);
        return s + 1;
    }
    if (!inicioNombre(*s)) {
        if (s == final()) {
            return nullptr;
        }
        danado();
    }
    char* finNombre = saltarNombre(s, final());
    if (finNombre == final()) {
        return nullptr;
    }
    if (*finNombre != ';') {
        danado();
    }
    // Without a DTD only the five predefined entities exist.
    const std::string_view entidad(s, static_cast<std::size_t>(finNombre - s));
    char c;
    if (entidad == "lt") {
        c = '<';
    } else if (entidad == "gt") {
        c = '>';
    } else if (entidad == "amp") {
        c = '&';
    } else if (entidad == "apos") {
        c = '\'';
    } else if (entidad == "quot") {
        c = '"';
    } else {
        danado();
    }
    *w++ = c;
    return finNombre + 1;
}

// An end tag names the element open last, and may have blanks before its '>'.
EscanerXml::Paso EscanerXml::etiquetaFin(char* p) {
    if (profundidad_ == 0) {
        danado();
    }
    if (reanudar_ == 0) {
        const std::size_t desde = abiertos_[profundidad_ - 1].inicio;
        const char* abierto = nombres_.get() + desde;
        const std::size_t largo = largoAbiertos_ - desde;
        const std::size_t n = std::min(static_cast<std::size_t>(final() - p) - 2, largo);
        for (std::size_t i = 0; i < n; ++i) {
            if (p[2 + i] != abierto[i]) {
                danado();
            }
        }
        if (p + 2 + n == final()) {
            return Paso::faltan;
        }
        reanudar_ = 2 + largo;
    }
    char* r = p + reanudar_;
    if (es(*r, kNombre) || alto(*r)) {
        danado();
    }
    r = saltarBlancos(r);
    if (r == final()) {
        reanudar_ = static_cast<std::size_t>(r - p);
        return Paso::faltan;
    }
    if (*r != '>') {
        danado();
    }
    consumir(r + 1);
    evento_ = cerrar();
    return Paso::evento;
}

EscanerXml::Paso EscanerXml::instruccion(char* p) {
    char* q = buscar(p, 2, "?>");
    if (!q) {
        return Paso::faltan;
    }
    char* nombre = p + 2;
    if (!inicioNombre(*nombre)) {
        danado();
    }
    char* finNombre = saltarNombre(nombre, final());
    const std::string_view destino(nombre, static_cast<std::size_t>(finNombre - nombre));
    if (igualesSinCaja(destino, "xml")) {
        // Only the declaration, only at the very start, may use that name.
        if (destino != "xml" || !alComienzo_) {
            danado();
        }
        declaracion(finNombre, q);
    } else {
        if (finNombre != q && !es(*finNombre, kBlanco)) {
            danado();
        }
        normalizar(finNombre, q);
    }
    consumir(q + 2);
    return Paso::nada;
}

// The XML declaration, from after its name to its "?>": a version, then maybe the encoding, which
// must be UTF-8 (what every workbook uses), and whether it stands alone.
void EscanerXml::declaracion(char* p, char* cierre) {
    const auto pseudoatributo = [&](std::string_view nombre) -> std::optional<std::string_view> {
        char* s = saltarBlancos(p);
        if (s == p || !std::string_view(s, static_cast<std::size_t>(cierre - s)).starts_with(nombre)) {
            return std::nullopt;
        }
        s = saltarBlancos(s + nombre.size());
        if (*s != '=') {
            danado();
        }
        s = saltarBlancos(s + 1);
        const char comilla = *s;
        if (comilla != '"' && comilla != '\'') {
            danado();
        }
        char* valor = s + 1;
        auto* fin = static_cast<char*>(std::memchr(valor, comilla, static_cast<std::size_t>(cierre - valor)));
        if (!fin) {
            danado();
        }
        p = fin + 1;
        return std::string_view(valor, static_cast<std::size_t>(fin - valor));
    };
    const auto version = pseudoatributo("version");
    if (!version || version->empty() || !std::all_of(version->begin(), version->end(), [](char c) {
            return es(c, kNombre) && static_cast<unsigned char>(c) < 0x80;
        })) {
        danado();
    }
    const auto codificacion = pseudoatributo("encoding");
    if (codificacion && !igualesSinCaja(*codificacion, "UTF-8")) {
        danado();
    }
    const auto independiente = pseudoatributo("standalone");
    if (independiente && *independiente != "yes" && *independiente != "no") {
        danado();
    }
    if (saltarBlancos(p) != cierre) {
        danado();
    }
}

EscanerXml::Paso EscanerXml::comentario(char* p) {
    // "--" may only close it.
    char* q = buscar(p, 4, "--");
    if (!q) {
        return Paso::faltan;
    }
    if (q + 2 == final()) {
        reanudar_ = static_cast<std::size_t>(q - p);
        return Paso::faltan;
    }
    if (q[2] != '>') {
        danado();
    }
    normalizar(p + 4, q);
    consumir(q + 3);
    return Paso::nada;
}

EscanerXml::Paso EscanerXml::seccionCdata(char* p) {
    if (profundidad_ == 0) {
        danado();
    }
    char* q = buscar(p, 9, "]]>");
    if (!q) {
        return Paso::faltan;
    }
    char* contenido = p + 9;
    char* fin = normalizar(contenido, q);
    consumir(q + 3);
    if (fin == contenido) {
        return Paso::nada;
    }
    texto_ = std::string_view(contenido, static_cast<std::size_t>(fin - contenido));
    evento_ = EventoXml::texto;
    return Paso::evento;
}

// Character data, up to the next markup or as far as it is whole: references replaced and line ends
// made "\n" in place.
EscanerXml::Paso EscanerXml::datos(char* p) {
    char* r = p;
    char* w = p;
    while (true) {
        char* tramo = r;
        while (!es(*r, kEspecialTexto)) {
            ++r;
        }
        if (w != tramo) {
            std::memmove(w, tramo, static_cast<std::size_t>(r - tramo));
        }
        w += r - tramo;
        const auto c = static_cast<unsigned char>(*r);
        if (c == '<') {
            break;
        }
        if (c == '&') {
            char* despues = referencia(r, w);
            if (!despues) {
                break;
            }
            r = despues;
        } else if (c == '\r') {
            // A "\r\n" split between chunks is one line end.
            if (r + 1 == final()) {
                break;
            }
            *w++ = '\n';
            r += r[1] == '\n' ? 2 : 1;
        } else if (c == ']') {
            // "]]>" may not stand in character data.
            if (r + 1 == final() || (r[1] == ']' && r + 2 == final())) {
                break;
            }
            if (r[1] == ']' && r[2] == '>') {
                danado();
            }
            *w++ = *r++;
        } else if (c >= 0x80) {
            const int n = caracterUtf8(r, final());
            if (n < 0) {
                break;
            }
            if (n == 0) {
                danado();
            }
            std::memmove(w, r, static_cast<std::size_t>(n));
            w += n;
            r += n;
        } else if (r == final()) {
            break;
        } else {
            danado();
        }
    }
    const bool aMarca = *r == '<';
    consumir(r);
    if (w != p) {
        texto_ = std::string_view(p, static_cast<std::size_t>(w - p));
        evento_ = EventoXml::texto;
        return Paso::evento;
    }
    return aMarca ? Paso::nada : Paso::faltan;
}

} // namespace trovanel::xlsx
