// The XML scanner's other tokens: the declaration, processing instructions, comments, CDATA sections
// and character data.

#include "escaner_xml.hpp"

#include "escaner_xml_caracteres.hpp"

#include <cstring>
#include <optional>

namespace trovanel::xlsx {

using namespace caracteres_xml;

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
