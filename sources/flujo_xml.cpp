#include "flujo_xml.hpp"

#include "libro_excel.hpp"

#include <cstddef>

namespace trovanel::xlsx {

namespace {

constexpr std::size_t kTrozo = 64u << 10;

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
}

FlujoXml::~FlujoXml() {
    zip_fclose(fichero_);
}

void FlujoXml::leer() {
    char* destino = escaner_.espacio(kTrozo);
    const zip_int64_t n = zip_fread(fichero_, destino, kTrozo);
    if (n < 0) {
        danado();
    }
    leidos_ += static_cast<zip_uint64_t>(n);
    if (leidos_ > maximo_) {
        danado();
    }
    if (n == 0) {
        escaner_.terminar();
    } else {
        escaner_.anadidos(static_cast<std::size_t>(n));
    }
}

bool FlujoXml::continuar() {
    suspendido_ = false;
    while (true) {
        switch (escaner_.siguiente()) {
        case EventoXml::inicio:
            manejador_.inicio(escaner_.nombre(), escaner_.atributos());
            break;
        case EventoXml::fin:
            manejador_.fin(escaner_.nombre());
            break;
        case EventoXml::texto:
            manejador_.texto(escaner_.texto());
            break;
        case EventoXml::faltanDatos:
            leer();
            break;
        case EventoXml::finDocumento:
            return false;
        }
        if (suspendido_) {
            return true;
        }
    }
}

std::optional<std::string_view> atributo(AtributosXml atributos, std::string_view nombre) {
    for (const auto& a : atributos) {
        if (local(a.nombre) == nombre) {
            return a.valor;
        }
    }
    return std::nullopt;
}

} // namespace trovanel::xlsx
