#pragma once

// A streaming XML scanner for the parts of a workbook, pulled one event at a time. The document is fed
// in chunks of any size; a token split between two chunks waits, whole, for the rest. It checks what a
// conforming parser checks in a document without a DTD (except that any character beyond ASCII may
// stand in a name), takes UTF-8 only, and refuses a DTD outright: a damaged or hostile part ends in
// ErrorTrovanel(kNoSeAbreEntrada) with bounded memory and time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace trovanel::xlsx {

struct AtributoXml {
    std::string_view nombre; // with its prefix
    std::string_view valor;
};
using AtributosXml = std::span<const AtributoXml>;

enum class EventoXml { inicio, fin, texto, faltanDatos, finDocumento };

class EscanerXml {
public:
    // Real parts nest fewer than ten deep, use short names and short tags: these caps bound the memory
    // a hostile part can take without refusing any real one.
    static constexpr int kMaxProfundidad = 256;
    static constexpr std::size_t kMaxNombre = 1024;
    static constexpr std::size_t kMaxSinProgreso = 8u << 20;

    // Where the next n bytes of the document go; anadidos() then says how many were written there.
    // Throws when the bytes held for an unfinished token already pass kMaxSinProgreso.
    char* espacio(std::size_t n);
    void anadidos(std::size_t n);
    // No more bytes will come.
    void terminar() { terminado_ = true; }

    // The next event; faltanDatos asks for another chunk. A start tag written empty ("<a/>") gives its
    // start and its end. Character data may come in several pieces. Valid until the next call.
    EventoXml siguiente();

    // Of inicio and fin: the element's name without its namespace prefix.
    std::string_view nombre() const { return nombre_; }
    // Of inicio: its attributes, values with their references replaced and their blanks as spaces.
    AtributosXml atributos() const { return vista_; }
    // Of texto: character data, in UTF-8, with references replaced and line ends as "\n".
    std::string_view texto() const { return texto_; }

private:
    enum class Paso { evento, nada, faltan };

    char* principio() { return buffer_.get() + inicio_; }
    char* final() { return buffer_.get() + fin_; }
    void consumir(const char* hasta);
    Paso comienzo(char* p);
    Paso fuera(char* p);
    Paso marca(char* p);
    bool etiquetaComun(char* p);
    bool cierreComun(char* p);
    bool textoComun(char* p);
    void abrir(std::string_view nombre, std::string_view local);
    void crecerNombres(std::size_t mas);
    Paso etiquetaInicio(char* p);
    bool etiquetaEntera(char* p);
    Paso etiquetaIncompleta(char* p);
    void comprobarNombresUnicos() const;
    Paso etiquetaFin(char* p);
    Paso instruccion(char* p);
    void declaracion(char* p, char* cierre);
    Paso comentario(char* p);
    Paso seccionCdata(char* p);
    Paso datos(char* p);
    char* buscar(char* p, std::size_t desde, std::string_view cierre);
    char* referencia(char* r, char*& w);
    char* atributo(char* r);
    void valorEnSitio(AtributoXml& atributo);
    EventoXml cerrar();

    std::unique_ptr<char[]> buffer_;
    std::size_t capacidad_ = 0;
    std::size_t inicio_ = 0;
    std::size_t fin_ = 0;
    // Where the search for the end of an unfinished token goes on, from inicio_, so that a long token
    // arriving a byte at a time is not scanned again from its start with every chunk.
    std::size_t reanudar_ = 0;
    char comilla_ = 0;
    EventoXml evento_ = EventoXml::faltanDatos;
    bool terminado_ = false;
    bool bomMirado_ = false;
    bool alComienzo_ = true;
    bool raizVista_ = false;
    bool finPendiente_ = false;
    // The open elements: their qualified names one after another in nombres_, and where each starts and
    // its part without prefix starts.
    struct Abierto {
        std::uint32_t inicio;
        std::uint32_t local;
    };
    std::array<Abierto, kMaxProfundidad> abiertos_;
    std::size_t profundidad_ = 0;
    std::unique_ptr<char[]> nombres_;
    std::size_t largoAbiertos_ = 0;
    std::size_t capacidadNombres_ = 0;
    std::string_view nombre_;
    std::string_view texto_;
    std::vector<AtributoXml> atributos_;
    std::array<AtributoXml, 8> comunes_;
    AtributosXml vista_;
    // Attributes whose value has references or blanks to replace, once the tag is known to be whole.
    std::vector<std::size_t> sinDescodificar_;
};

} // namespace trovanel::xlsx
