#pragma once

// Workbooks for the .xlsx reader's tests: written by libxlsxwriter, or by hand as a zip of parts for what
// libxlsxwriter never writes.

#include "error.hpp"
#include "libro_excel.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel::xlsx_prueba {

namespace fs = std::filesystem;

// libxlsxwriter and the XML inside a workbook take UTF-8, while narrow literals here are Windows-1252.
inline const char* utf8(const char8_t* texto) {
    return reinterpret_cast<const char*>(texto);
}

inline std::vector<FilaHoja> todasLasFilas(LibroExcel& libro, std::string_view hoja) {
    auto cursor = libro.abrirHoja(hoja);
    std::vector<FilaHoja> filas;
    FilaHoja fila;
    while (cursor->siguiente(fila)) {
        filas.push_back(fila);
    }
    return filas;
}

// --- Workbooks written by libxlsxwriter ---

class LibroGenerado {
public:
    explicit LibroGenerado(const fs::path& ruta, bool memoriaConstante = false) {
        lxw_workbook_options opciones{};
        opciones.constant_memory = memoriaConstante ? LXW_TRUE : LXW_FALSE;
        libro_ = workbook_new_opt(ruta.c_str(), &opciones);
        if (!libro_) {
            throw std::runtime_error("workbook_new_opt");
        }
    }
    LibroGenerado(const LibroGenerado&) = delete;
    LibroGenerado& operator=(const LibroGenerado&) = delete;
    ~LibroGenerado() {
        if (libro_) {
            workbook_close(libro_);
        }
    }

    lxw_worksheet* hoja(const char* nombreUtf8) { return workbook_add_worksheet(libro_, nombreUtf8); }
    lxw_format* formato(const char* codigo) {
        lxw_format* f = workbook_add_format(libro_);
        format_set_num_format(f, codigo);
        return f;
    }
    lxw_format* formatoIncorporado(std::uint8_t indice) {
        lxw_format* f = workbook_add_format(libro_);
        format_set_num_format_index(f, indice);
        return f;
    }
    lxw_format* negrita() {
        lxw_format* f = workbook_add_format(libro_);
        format_set_bold(f);
        return f;
    }
    void cerrar() {
        const lxw_error error = workbook_close(libro_);
        libro_ = nullptr;
        if (error != LXW_NO_ERROR) {
            throw std::runtime_error("workbook_close");
        }
    }

private:
    lxw_workbook* libro_ = nullptr;
};

// --- Workbooks written by hand, for what libxlsxwriter never writes ---

inline std::string repetido(const std::string& trozo, std::size_t veces) {
    std::string texto;
    texto.reserve(trozo.size() * veces);
    for (std::size_t i = 0; i < veces; ++i) {
        texto += trozo;
    }
    return texto;
}

struct Parte {
    std::string nombre;
    std::string datos;
};

inline void escribirZip(const fs::path& ruta, const std::vector<Parte>& partes) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& parte : partes) {
        zip_source_t* fuente = zip_source_buffer(zip, parte.datos.data(), parte.datos.size(), 0);
        ASSERT_NE(fuente, nullptr);
        ASSERT_GE(zip_file_add(zip, parte.nombre.c_str(), fuente, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// Replaces one part of an existing archive, as an editor saving over a generated workbook would.
inline void reemplazarParte(const fs::path& ruta, const std::string& nombre, const std::string& datos) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), 0, &error);
    ASSERT_NE(zip, nullptr);
    const zip_int64_t indice = zip_name_locate(zip, nombre.c_str(), 0);
    ASSERT_GE(indice, 0);
    zip_source_t* fuente = zip_source_buffer(zip, datos.data(), datos.size(), 0);
    ASSERT_EQ(zip_file_replace(zip, static_cast<zip_uint64_t>(indice), fuente, 0), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

inline std::string leerParte(const fs::path& ruta, const std::string& nombre) {
    int error = 0;
    zip_t* zip = zip_open(ruta.c_str(), ZIP_RDONLY, &error);
    if (!zip) {
        return {};
    }
    std::string datos;
    if (zip_file_t* f = zip_fopen(zip, nombre.c_str(), 0)) {
        char trozo[4096];
        zip_int64_t n = 0;
        while ((n = zip_fread(f, trozo, sizeof trozo)) > 0) {
            datos.append(trozo, static_cast<std::size_t>(n));
        }
        zip_fclose(f);
    }
    zip_discard(zip);
    return datos;
}

inline constexpr const char* kCabecera = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
inline constexpr const char* kEspacioHoja =
    R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
inline constexpr const char* kTipoRelacion =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

inline std::string relacion(const std::string& id, const std::string& tipo, const std::string& destino) {
    return R"(<Relationship Id=")" + id + R"(" Type=")" + kTipoRelacion + tipo + R"(" Target=")" + destino +
           R"("/>)";
}

inline std::string relaciones(const std::string& dentro) {
    return std::string(kCabecera) +
           R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
           dentro + "</Relationships>";
}

inline std::string hojaXml(const std::string& datosHoja) {
    return std::string(kCabecera) + "<worksheet " + kEspacioHoja + "><sheetData>" + datosHoja +
           "</sheetData></worksheet>";
}

inline std::string textosXml(const std::string& elementos, int cantidadDeclarada) {
    return std::string(kCabecera) + "<sst " + kEspacioHoja + R"( uniqueCount=")" +
           std::to_string(cantidadDeclarada) + R"(">)" + elementos + "</sst>";
}

// A one-sheet package ("Hoja1") around the given parts; empty text leaves a part out.
inline std::vector<Parte> paquete(const std::string& hoja, const std::string& textos = "",
                                  const std::string& estilos = "", const std::string& propiedadesLibro = "") {
    std::string relsLibro = relacion("rId1", "worksheet", "worksheets/sheet1.xml");
    std::vector<Parte> partes = {
        {"_rels/.rels", relaciones(relacion("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml",
         std::string(kCabecera) + "<workbook " + kEspacioHoja +
             R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)" +
             propiedadesLibro +
             R"(<sheets><sheet name="Hoja1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/worksheets/sheet1.xml", hoja},
    };
    if (!textos.empty()) {
        relsLibro += relacion("rId2", "sharedStrings", "sharedStrings.xml");
        partes.push_back({"xl/sharedStrings.xml", textos});
    }
    if (!estilos.empty()) {
        relsLibro += relacion("rId3", "styles", "styles.xml");
        partes.push_back({"xl/styles.xml", estilos});
    }
    partes.push_back({"xl/_rels/workbook.xml.rels", relaciones(relsLibro)});
    return partes;
}

inline bool rechazado(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const ErrorTrovanel& e) {
        // The message, or the message and then the path and the reason.
        EXPECT_TRUE(std::string_view(e.what()).starts_with(kNoSeAbreEntrada)) << e.what();
        return true;
    }
    return false;
}

// Opens the workbook and reads every row of every sheet; true when it is refused with the message.
inline bool libroRechazado(const fs::path& ruta) {
    return rechazado([&] {
        auto libro = abrirLibroXlsx(ruta);
        for (const auto& hoja : libro->hojas()) {
            todasLasFilas(*libro, hoja);
        }
    });
}

// --- Workbooks written by hand: what other programs write ---

inline const std::string kTextosCompartidos = textosXml(
    "<si><t>Uno</t></si>"
    R"(<si><r><rPr><b/></rPr><t xml:space="preserve">Hola </t></r><r><t>mundo</t></r><rPh sb="0" eb="1"><t>HORA</t></rPh><phoneticPr fontId="1"/></si>)"
    "<si><t>L&#237;nea_x000D__x000A_dos</t></si>"
    "<si><t>_x005F_x0041_</t></si>"
    "<si><t>&#937;&#8364;&amp;</t></si>"
    "<si/>",
    // The count a file declares is not trusted: only what is read counts.
    1000);

inline const std::string kEstilos =
    std::string(kCabecera) + "<styleSheet " + kEspacioHoja + ">" +
    R"(<numFmts count="8">)"
    R"(<numFmt numFmtId="164" formatCode="dd/mm/yyyy"/>)"
    R"(<numFmt numFmtId="165" formatCode="#,##0.00&quot; d&#237;as&quot;"/>)"
    R"(<numFmt numFmtId="166" formatCode="[h]:mm"/>)"
    R"(<numFmt numFmtId="167" formatCode="0.0\ \d"/>)"
    R"(<numFmt numFmtId="168" formatCode="General"/>)"
    R"(<numFmt numFmtId="169" formatCode="[$-C0A]dddd, d&quot; de &quot;mmmm&quot; de &quot;yyyy"/>)"
    R"(<numFmt numFmtId="170" formatCode="[Red][&lt;0]#,##0.00_);#,##0.00"/>)"
    R"(<numFmt numFmtId="171" formatCode="#,##0.00\ [$&#8364;-C0A]"/>)"
    "</numFmts>"
    R"(<cellXfs count="14">)"
    R"(<xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/>)"
    R"(<xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="168"/><xf numFmtId="169"/>)"
    R"(<xf numFmtId="22"/><xf numFmtId="49"/><xf numFmtId="47"/><xf numFmtId="170"/>)"
    R"(<xf numFmtId="7"/><xf numFmtId="171"/>)"
    "</cellXfs></styleSheet>";

} // namespace trovanel::xlsx_prueba
