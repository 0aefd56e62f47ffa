#include "flujo_xml.hpp"

#include <cstddef>
#include <new>

namespace trovanel::xlsx {

namespace {

constexpr std::size_t kTrozo = 64u << 10;
// Expat keeps an unfinished tag in memory and scans it again with every chunk: a tag this long is
// not a spreadsheet's.
constexpr zip_uint64_t kMaxSinProgreso = 8u << 20;
// Expat also keeps the name of every open element: real parts nest fewer than ten deep and use short
// names, so these caps bound that memory without refusing any real file.
constexpr int kMaxProfundidad = 256;
constexpr std::size_t kMaxNombre = 1024;

} // namespace

FlujoXml::FlujoXml(const Archivo& archivo, zip_uint64_t indice, ManejadorXml& manejador, zip_uint64_t maximo)
    : manejador_(manejador), maximo_(maximo) {
    if (archivo.tamano(indice) > maximo_) {
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

FlujoXml::~FlujoXml() {
    XML_ParserFree(parser_);
    zip_fclose(fichero_);
}

bool FlujoXml::continuar() {
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
            if (leidos_ > maximo_) {
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

FlujoXml& FlujoXml::de(void* parser) {
    return *static_cast<FlujoXml*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
}

// Exceptions must not cross expat's C frames: they are kept and thrown again by continuar().
template <typename F> void FlujoXml::proteger(void* parser, F&& f) {
    FlujoXml& flujo = de(parser);
    flujo.progreso_ = flujo.leidos_;
    try {
        f(flujo.manejador_);
    } catch (...) {
        flujo.fallo_ = std::current_exception();
        XML_StopParser(flujo.parser_, XML_FALSE);
    }
}

void FlujoXml::alEmpezar(void* p, const XML_Char* nombre, const XML_Char** atributos) {
    proteger(p, [&](ManejadorXml& m) {
        FlujoXml& flujo = de(p);
        const std::string_view sinPrefijo = local(nombre);
        if (++flujo.profundidad_ > kMaxProfundidad ||
            static_cast<std::size_t>(sinPrefijo.data() + sinPrefijo.size() - nombre) > kMaxNombre) {
            danado();
        }
        m.inicio(sinPrefijo, atributos);
    });
}

void FlujoXml::alTerminar(void* p, const XML_Char* nombre) {
    proteger(p, [&](ManejadorXml& m) {
        --de(p).profundidad_;
        m.fin(local(nombre));
    });
}

void FlujoXml::alTexto(void* p, const XML_Char* s, int n) {
    proteger(p, [&](ManejadorXml& m) { m.texto(std::string_view(s, static_cast<std::size_t>(n))); });
}

void FlujoXml::alOtro(void* p, const XML_Char*, int) {
    de(p).progreso_ = de(p).leidos_;
}

void FlujoXml::alDoctype(void* p, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    XML_StopParser(static_cast<XML_Parser>(p), XML_FALSE);
}

const char* atributo(const char** atributos, std::string_view nombre) {
    for (; atributos[0]; atributos += 2) {
        if (local(atributos[0]) == nombre) {
            return atributos[1];
        }
    }
    return nullptr;
}

} // namespace trovanel::xlsx
