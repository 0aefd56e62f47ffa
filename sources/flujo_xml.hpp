#pragma once

// Streaming XML: an entry of the archive inflated a chunk at a time straight into the scanner, so a big
// sheet never sits whole in memory.

#include "escaner_xml.hpp"
#include "paquete_xlsx.hpp"

#include <zip.h>

#include <optional>
#include <string_view>

namespace trovanel::xlsx {

// Receives the parse's events; element names come without their namespace prefix.
class ManejadorXml {
public:
    virtual ~ManejadorXml() = default;
    virtual void inicio(std::string_view nombre, AtributosXml atributos) = 0;
    virtual void fin(std::string_view nombre) = 0;
    virtual void texto(std::string_view texto) = 0;
};

// Sheets and the shared strings are streamed; the cap only bounds the time a bomb can take.
inline constexpr zip_uint64_t kMaxParteFlujo = 4ull << 30;

// One part of the archive, its events handed to a handler. A handler may suspend the parse (one sheet
// row at a time); continuar() then picks up where it stopped.
class FlujoXml {
public:
    // Throws ErrorTrovanel (damaged) when the entry cannot be opened or holds more than maximo bytes.
    FlujoXml(const Archivo& archivo, zip_uint64_t indice, ManejadorXml& manejador,
             zip_uint64_t maximo = kMaxParteFlujo);
    FlujoXml(const FlujoXml&) = delete;
    FlujoXml& operator=(const FlujoXml&) = delete;
    ~FlujoXml();

    // Called from a handler: the parse stops after the current event and continuar() returns true.
    void suspender() { suspendido_ = true; }

    // Parses until a handler suspends (true) or the part ends (false).
    bool continuar();

private:
    void leer();

    ManejadorXml& manejador_;
    zip_file_t* fichero_ = nullptr;
    EscanerXml escaner_;
    zip_uint64_t maximo_;
    zip_uint64_t leidos_ = 0;
    bool suspendido_ = false;
};

// The value of an attribute, by its name without prefix.
std::optional<std::string_view> atributo(AtributosXml atributos, std::string_view nombre);

} // namespace trovanel::xlsx
