#pragma once

// Streaming XML: an entry of the archive parsed by expat a chunk at a time, so a big sheet never sits
// whole in memory.

#include "paquete_xlsx.hpp"

#include <expat.h>
#include <zip.h>

#include <exception>
#include <string_view>

namespace trovanel::xlsx {

// Receives the parse's events; element names come without their namespace prefix.
class ManejadorXml {
public:
    virtual ~ManejadorXml() = default;
    virtual void inicio(std::string_view nombre, const char** atributos) = 0;
    virtual void fin(std::string_view nombre) = 0;
    virtual void texto(std::string_view texto) = 0;
};

// Sheets and the shared strings are streamed; the cap only bounds the time a bomb can take.
inline constexpr zip_uint64_t kMaxParteFlujo = 4ull << 30;

// One part of the archive fed to expat a chunk at a time, straight into expat's own buffer. A handler
// may suspend the parse (one sheet row at a time); continuar() then picks up where it stopped.
class FlujoXml {
public:
    // Throws ErrorTrovanel (damaged) when the entry cannot be opened or holds more than maximo bytes.
    FlujoXml(const Archivo& archivo, zip_uint64_t indice, ManejadorXml& manejador,
             zip_uint64_t maximo = kMaxParteFlujo);
    FlujoXml(const FlujoXml&) = delete;
    FlujoXml& operator=(const FlujoXml&) = delete;
    ~FlujoXml();

    // Called from a handler: the parse stops after the current event and continuar() returns true.
    void suspender() { XML_StopParser(parser_, XML_TRUE); }

    // Parses until a handler suspends (true) or the part ends (false).
    bool continuar();

private:
    static FlujoXml& de(void* parser);
    template <typename F> static void proteger(void* parser, F&& f);
    static void alEmpezar(void* p, const XML_Char* nombre, const XML_Char** atributos);
    static void alTerminar(void* p, const XML_Char* nombre);
    static void alTexto(void* p, const XML_Char* s, int n);
    static void alOtro(void* p, const XML_Char*, int);
    static void alDoctype(void* p, const XML_Char*, const XML_Char*, const XML_Char*, int);

    ManejadorXml& manejador_;
    zip_file_t* fichero_ = nullptr;
    XML_Parser parser_ = nullptr;
    zip_uint64_t maximo_;
    zip_uint64_t leidos_ = 0;
    zip_uint64_t progreso_ = 0;
    int profundidad_ = 0;
    bool suspendido_ = false;
    bool terminado_ = false;
    std::exception_ptr fallo_;
};

// The value of an attribute, by its name without prefix, from expat's name/value list; null when absent.
const char* atributo(const char** atributos, std::string_view nombre);

} // namespace trovanel::xlsx
