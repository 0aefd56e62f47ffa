#include "error.hpp"
#include "escaner_xml.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace trovanel {
namespace {

using xlsx::EscanerXml;
using xlsx::EventoXml;

std::string repetido(const std::string& trozo, std::size_t veces) {
    std::string texto;
    for (std::size_t i = 0; i < veces; ++i) {
        texto += trozo;
    }
    return texto;
}

// The events of a document fed in chunks of the given size, written as "<a x=[1]>", "[text]" and
// "</a>"; pieces of character data in a row are joined.
std::string eventos(const std::string& documento, std::size_t trozo) {
    EscanerXml escaner;
    std::string resultado;
    std::string texto;
    std::size_t dado = 0;
    while (true) {
        const EventoXml evento = escaner.siguiente();
        if (evento != EventoXml::texto && evento != EventoXml::faltanDatos && !texto.empty()) {
            resultado += "[" + texto + "]";
            texto.clear();
        }
        switch (evento) {
        case EventoXml::inicio:
            resultado += "<" + std::string(escaner.nombre());
            for (const auto& a : escaner.atributos()) {
                resultado += " " + std::string(a.nombre) + "=[" + std::string(a.valor) + "]";
            }
            resultado += ">";
            break;
        case EventoXml::fin:
            resultado += "</" + std::string(escaner.nombre()) + ">";
            break;
        case EventoXml::texto:
            texto += escaner.texto();
            break;
        case EventoXml::faltanDatos: {
            // As a reader does: room first, then what the source gives, which may be nothing.
            char* destino = escaner.espacio(trozo);
            const std::size_t n = std::min(trozo, documento.size() - dado);
            if (n == 0) {
                escaner.terminar();
                break;
            }
            std::memcpy(destino, documento.data() + dado, n);
            escaner.anadidos(n);
            dado += n;
            break;
        }
        case EventoXml::finDocumento:
            return resultado;
        }
    }
}

// Any token may be cut between two chunks.
constexpr std::size_t kTrozos[] = {1, 2, 3, 7, 13, 64, 1u << 20};

TEST(EscanerXml, cadaDocumentoBienFormadoDaLosMismosEventosCortadoPorDondeSea) {
    struct Caso {
        const char* descripcion;
        std::string documento;
        std::string eventos;
    };
    const std::vector<Caso> casos = {
        {"declaracion, raiz vacia y atributos",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<a x=\"1\" y='2'/>",
         "<a x=[1] y=[2]></a>"},
        {"declaracion con comillas simples y codificacion en minusculas",
         "<?xml version='1.0' encoding='utf-8' ?><a/>", "<a></a>"},
        {"marca de orden de bytes", "\xEF\xBB\xBF<?xml version=\"1.0\"?><a/>", "<a></a>"},
        {"prefijos en elementos y atributos", R"(<x:a xmlns:x="u"><x:c r:id="7" t="s">v</x:c></x:a >)",
         "<a xmlns:x=[u]><c r:id=[7] t=[s]>[v]</c></a>"},
        {"blancos alrededor del igual y antes del cierre", "<a x = \"1\"\n\ty\t=\t'2' ></a\n>",
         "<a x=[1] y=[2]></a>"},
        {"comillas de la otra clase y mayor dentro de un valor", R"(<a v="'>'" w='"'>3>2</a>)",
         "<a v=['>'] w=[\"]>[3>2]</a>"},
        {"las cinco entidades", "<a v=\"&lt;&gt;&amp;&apos;&quot;\">&lt;&gt;&amp;&apos;&quot;</a>",
         "<a v=[<>&'\"]>[<>&'\"]</a>"},
        {"referencias decimales y hexadecimales en UTF-8",
         "<a v=\"&#65;&#xe9;\">&#65;&#x42;&#xe9;&#233;&#x20AC;&#x1F600;&#0000065;&#x10FFFF;</a>",
         "<a v=[A\xC3\xA9]>[AB\xC3\xA9\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"
         "A\xF4\x8F\xBF\xBF]</a>"},
        {"blancos de un valor como espacios, salvo los escritos como referencias",
         "<a v=\"x\ty\nz\r\nw\rq&#10;&#9;&#13;\"/>", "<a v=[x y z w q\n\t\r]></a>"},
        {"finales de linea del texto como salto de linea", "<a>1\r\n2\r3\n4&#13;</a>",
         "<a>[1\n2\n3\n4\r]</a>"},
        {"secciones CDATA como texto", "<a><![CDATA[<b>&amp;]]]]><![CDATA[>\r\n]]><![CDATA[]]></a>",
         "<a>[<b>&amp;]]>\n]</a>"},
        {"comentarios e instrucciones en cualquier sitio",
         "<!-- c --><?pi x?>\n<a><!--dentro- -->t<?p?>u<?xml-stylesheet href='x'?></a><!---->\n",
         "<a>[tu]</a>"},
        {"texto en UTF-8", "<a>\xC3\xB1\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD</a>",
         "<a>[\xC3\xB1\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD]</a>"},
        {"blancos entre etiquetas y corchetes sueltos", "<a>\n <b/>] ]]x</a>", "<a>[\n ]<b></b>[] ]]x]</a>"},
        {"nombres fuera de ASCII", "<x:a\xC3\xB1 b\xC3\xA9=\"1\"></x:a\xC3\xB1>",
         "<a\xC3\xB1 b\xC3\xA9=[1]></a\xC3\xB1>"},
        {"muchos atributos",
         "<a" +
             [] {
                 std::string s;
                 for (int i = 0; i < 12; ++i) {
                     s += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
                 }
                 return s;
             }() +
             "/>",
         "<a a0=[0] a1=[1] a2=[2] a3=[3] a4=[4] a5=[5] a6=[6] a7=[7] a8=[8] a9=[9] a10=[10] a11=[11]></a>"},
        {"nombres con cifras, guiones y puntos", "<a.b-1><_c/></a.b-1>", "<a.b-1><_c></_c></a.b-1>"},
        {"anidamiento hasta el tope",
         repetido("<x>", EscanerXml::kMaxProfundidad) + repetido("</x>", EscanerXml::kMaxProfundidad),
         repetido("<x>", EscanerXml::kMaxProfundidad) + repetido("</x>", EscanerXml::kMaxProfundidad)},
        {"nombre hasta el tope", "<" + std::string(EscanerXml::kMaxNombre, 'n') + "/>",
         "<" + std::string(EscanerXml::kMaxNombre, 'n') + "></" + std::string(EscanerXml::kMaxNombre, 'n') +
             ">"},
    };
    for (const auto& caso : casos) {
        for (const std::size_t trozo : kTrozos) {
            try {
                EXPECT_EQ(eventos(caso.documento, trozo), caso.eventos)
                    << caso.descripcion << ", trozo " << trozo;
            } catch (const ErrorTrovanel&) {
                ADD_FAILURE() << caso.descripcion << ", trozo " << trozo << ": rechazado";
            }
        }
    }
}

TEST(EscanerXml, loMalFormadoSeRechazaComoFicheroDanadoCortadoPorDondeSea) {
    struct Caso {
        const char* descripcion;
        std::string documento;
    };
    const std::vector<Caso> casos = {
        {"vacio", ""},
        {"solo blancos y comentarios", " <!-- --> "},
        {"etiqueta sin cerrar al final", "<a><b></b>"},
        {"etiqueta cortada", "<a><b x=\"1\""},
        {"texto cortado", "<a>texto"},
        {"referencia cortada", "<a>&am"},
        {"cierre que no casa", "<a><b></c></a>"},
        {"cierre con prefijo distinto", "<x:a></y:a>"},
        {"cierre sin apertura", "<a></a></a>"},
        {"dos raices", "<a/><b/>"},
        {"texto antes de la raiz", "x<a/>"},
        {"texto tras la raiz", "<a/>x"},
        {"referencia fuera de la raiz", "&amp;<a/>"},
        {"menor dentro de un valor", "<a v=\"<\"/>"},
        {"valor sin comillas", "<a v=1/>"},
        {"atributo sin valor", "<a v/>"},
        {"atributos sin blanco entre ellos", "<a x=\"1\"y=\"2\"/>"},
        {"atributo repetido", "<a x=\"1\" y=\"2\" x=\"3\"/>"},
        {"atributo repetido entre muchos", "<a" + repetido(" y=\"\"", 1) +
                                               [] {
                                                   std::string s;
                                                   for (int i = 0; i < 100; ++i) {
                                                       s += " a" + std::to_string(i) + "=\"\"";
                                                   }
                                                   return s;
                                               }() +
                                               " y=\"\"/>"},
        {"barra suelta en la etiqueta", "<a / >"},
        {"nombre que empieza por cifra", "<1a/>"},
        {"nombre que empieza por blanco", "< a/>"},
        {"entidad no predefinida", "<a>&nbsp;</a>"},
        {"entidad no predefinida en un valor", "<a v=\"&nbsp;\"/>"},
        {"ampersand suelto", "<a>a & b</a>"},
        {"referencia sin punto y coma", "<a>&amp b</a>"},
        {"referencia sin cifras", "<a>&#;</a>"},
        {"referencia hexadecimal con X", "<a>&#X41;</a>"},
        {"referencia al caracter nulo", "<a>&#0;</a>"},
        {"referencia a un control", "<a>&#x1F;</a>"},
        {"referencia a un sustituto", "<a>&#xD800;</a>"},
        {"referencia a U+FFFE", "<a>&#xFFFE;</a>"},
        {"referencia pasado U+10FFFF", "<a>&#x110000;</a>"},
        {"referencia enorme", "<a>&#99999999999999999999;</a>"},
        {"caracter de control en el texto", "<a>\x01</a>"},
        {"caracter nulo en el texto", std::string("<a>\0</a>", 8)},
        {"caracter de control en un valor", "<a v=\"\x02\"/>"},
        {"UTF-8 cortado", "<a>\xC3(</a>"},
        {"byte de continuacion suelto", "<a>\x80</a>"},
        {"byte que no es UTF-8", "<a>\xFF</a>"},
        {"forma larga de una barra", "<a>\xC0\xAF</a>"},
        {"sustituto en UTF-8", "<a>\xED\xA0\x80</a>"},
        {"U+FFFF en UTF-8", "<a>\xEF\xBF\xBF</a>"},
        {"pasado U+10FFFF en UTF-8", "<a>\xF4\x90\x80\x80</a>"},
        {"UTF-8 invalido en un nombre", "<a\xC3/>"},
        {"UTF-8 invalido en el nombre de un atributo", "<a b\xFF=\"1\"/>"},
        {"UTF-8 invalido en una etiqueta de cierre", "<a></a\xC3>"},
        {"fin de CDATA en el texto", "<a>x]]>y</a>"},
        {"CDATA fuera de la raiz", "<![CDATA[x]]><a/>"},
        {"CDATA sin cerrar", "<a><![CDATA[x]]</a>"},
        {"doble guion en un comentario", "<a><!-- a -- b --></a>"},
        {"comentario que acaba en guion", "<a><!-- a ---></a>"},
        {"DTD", "<!DOCTYPE a><a/>"},
        {"DTD con entidades", "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>"},
        {"otra declaracion de marcado", "<a><!ELEMENT a ANY></a>"},
        {"codificacion distinta de UTF-8", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"},
        {"UTF-16", std::string("\xFF\xFE<\0a\0/\0>\0", 10)},
        {"declaracion sin version", "<?xml encoding=\"UTF-8\"?><a/>"},
        {"declaracion con version vacia", "<?xml version=\"\"?><a/>"},
        {"declaracion en otro orden", "<?xml encoding=\"UTF-8\" version=\"1.0\"?><a/>"},
        {"declaracion con standalone ilegible", "<?xml version=\"1.0\" standalone=\"si\"?><a/>"},
        {"declaracion tras un blanco", " <?xml version=\"1.0\"?><a/>"},
        {"declaracion dentro de la raiz", "<a><?xml version=\"1.0\"?></a>"},
        {"instruccion de nombre reservado", "<?XML version=\"1.0\"?><a/>"},
        {"instruccion sin nombre", "<a><? x?></a>"},
        {"anidamiento pasado el tope", repetido("<x>", EscanerXml::kMaxProfundidad + 1) +
                                           repetido("</x>", EscanerXml::kMaxProfundidad + 1)},
        {"nombre pasado el tope", "<" + std::string(EscanerXml::kMaxNombre + 1, 'n') + "/>"},
    };
    for (const auto& caso : casos) {
        for (const std::size_t trozo : kTrozos) {
            try {
                const std::string leido = eventos(caso.documento, trozo);
                ADD_FAILURE() << caso.descripcion << ", trozo " << trozo << ": aceptado como " << leido;
            } catch (const ErrorTrovanel& e) {
                EXPECT_STREQ(e.what(), kNoSeAbreEntrada) << caso.descripcion;
            }
        }
    }
}

TEST(EscanerXml, elTextoLargoPasaEnTrozosYSoloUnaEtiquetaInterminableAgotaElTope) {
    const std::string largo(EscanerXml::kMaxSinProgreso + (1u << 20), 'a');
    std::size_t leido = 0;
    {
        // The text goes out as it comes: nothing is held but the unfinished token.
        const std::string documento = "<a>" + largo + "</a>";
        EscanerXml escaner;
        std::size_t dado = 0;
        for (EventoXml e = escaner.siguiente(); e != EventoXml::finDocumento; e = escaner.siguiente()) {
            if (e == EventoXml::texto) {
                leido += escaner.texto().size();
            } else if (e == EventoXml::faltanDatos) {
                const std::size_t n = std::min<std::size_t>(64u << 10, documento.size() - dado);
                if (n == 0) {
                    escaner.terminar();
                    continue;
                }
                std::memcpy(escaner.espacio(n), documento.data() + dado, n);
                escaner.anadidos(n);
                dado += n;
            }
        }
    }
    EXPECT_EQ(leido, largo.size());
    EXPECT_THROW(eventos("<a v=\"" + largo + "\"/>", 64u << 10), ErrorTrovanel);
    EXPECT_THROW(eventos("<a><!--" + largo + "--></a>", 64u << 10), ErrorTrovanel);
}

} // namespace
} // namespace trovanel
