// The XML scanner's tags: start tags with their attributes and references, and end tags.

#include "escaner_xml.hpp"

#include "escaner_xml_caracteres.hpp"
#include "texto.hpp"

#include <algorithm>
#include <cstring>

namespace trovanel::xlsx {

using namespace caracteres_xml;

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
    comprobarNombresUnicos();
    const std::string_view cualificado(nombre, static_cast<std::size_t>(finNombre - nombre));
    nombre_ = sinPrefijo(cualificado);
    abrir(cualificado, nombre_);
    vista_ = atributos_;
    finPendiente_ = vacia;
    evento_ = EventoXml::inicio;
    consumir(r + 1);
    return Paso::evento;
}

// Each attribute's name once in the tag: by pairs for the few a real tag has, sorted for a hostile tag's
// thousands.
void EscanerXml::comprobarNombresUnicos() const {
    const std::size_t cantidad = atributos_.size();
    if (cantidad <= 1) {
        return;
    }
    if (cantidad <= 16) {
        for (std::size_t i = 1; i < cantidad; ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (atributos_[i].nombre == atributos_[j].nombre) {
                    danado();
                }
            }
        }
        return;
    }
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

} // namespace trovanel::xlsx
