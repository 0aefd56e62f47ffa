#pragma once

// .xls workbooks for the reader's tests, built record by record inside a compound file.

#include "libro_excel.hpp"

#include "error.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel::xls_prueba {

using pruebas::CarpetaTemporal;
using pruebas::escribirFichero;
using pruebas::leerFichero;

inline std::filesystem::path muestra(const std::string& nombre) {
    return pruebas::carpetaMuestras() / "excel" / nombre;
}

inline std::vector<std::string> filasDe(LibroExcel& libro, const std::string& hoja) {
    std::vector<std::string> filas;
    auto cursor = libro.abrirHoja(hoja);
    FilaHoja fila;
    while (cursor->siguiente(fila)) {
        std::string texto = std::to_string(fila.numero) + ":";
        for (const auto& celda : fila.celdas) {
            texto += celda ? "[" + *celda + "]" : "[#]";
        }
        filas.push_back(texto);
    }
    return filas;
}

template <typename Accion> inline void esperarNoSeAbre(Accion accion) {
    try {
        accion();
        FAIL() << "no se ha rechazado";
    } catch (const ErrorTrovanel& e) {
        EXPECT_STREQ(e.what(), kNoSeAbreEntrada);
    }
}

// ---------------------------------------------------------------------------------------------
// Workbooks written record by record, for what no sample file holds.

inline std::string u8(unsigned v) {
    return std::string(1, static_cast<char>(v & 0xFF));
}
inline std::string u16(unsigned v) {
    return u8(v) + u8(v >> 8);
}
inline std::string u32(std::uint32_t v) {
    return u16(v & 0xFFFF) + u16(v >> 16);
}
inline std::string f64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    return u32(static_cast<std::uint32_t>(bits)) + u32(static_cast<std::uint32_t>(bits >> 32));
}
inline std::string utf16(std::u16string_view texto) {
    std::string s;
    for (const char16_t c : texto) {
        s += u16(c);
    }
    return s;
}

inline std::string registro(unsigned tipo, const std::string& cuerpo) {
    return u16(tipo) + u16(static_cast<unsigned>(cuerpo.size())) + cuerpo;
}

inline std::string bof(unsigned dt, bool biff8 = true) {
    return biff8 ? registro(0x0809, u16(0x0600) + u16(dt) + u16(0x0DBB) + u16(0x07CC) + u32(0x41) + u32(6))
                 : registro(0x0809, u16(0x0500) + u16(dt) + u16(0x0DBB) + u16(0x07CC));
}
inline std::string eof() {
    return registro(0x000A, "");
}

// Cells; rows and columns from 0 as the file counts them.
inline std::string numero(unsigned fila, unsigned col, double v, unsigned xf = 0) {
    return registro(0x0203, u16(fila) + u16(col) + u16(xf) + f64(v));
}
inline std::string rkEntero(unsigned fila, unsigned col, std::int32_t v) {
    return registro(0x027E, u16(fila) + u16(col) + u16(0) + u32((static_cast<std::uint32_t>(v) << 2) | 2));
}
inline std::string etiquetaSst(unsigned fila, unsigned col, std::uint32_t indice) {
    return registro(0x00FD, u16(fila) + u16(col) + u16(0) + u32(indice));
}
// A blank cell that only carries a format, and a run of them from col to ultima.
inline std::string blanco(unsigned fila, unsigned col) {
    return registro(0x0201, u16(fila) + u16(col) + u16(0));
}
inline std::string blancos(unsigned fila, unsigned col, unsigned ultima) {
    std::string formatos;
    for (unsigned c = col; c <= ultima; ++c) {
        formatos += u16(0);
    }
    return registro(0x00BE, u16(fila) + u16(col) + formatos + u16(ultima));
}
inline std::string booleroError(unsigned fila, unsigned col, unsigned valor, bool error) {
    return registro(0x0205, u16(fila) + u16(col) + u16(0) + u8(valor) + u8(error ? 1 : 0));
}
// A formula (its expression is the constant 1) with the cached result a spreadsheet saved.
inline std::string formula(unsigned fila, unsigned col, const std::string& resultado, unsigned xf = 0) {
    return registro(0x0006, u16(fila) + u16(col) + u16(xf) + resultado + u16(0) + u32(0) + u16(3) + u8(0x1E) +
                                u16(1));
}
inline std::string resultadoNoNumerico(unsigned tipo, unsigned valor) {
    return u8(tipo) + u8(0) + u8(valor) + u8(0) + u8(0) + u8(0) + u16(0xFFFF);
}
inline std::string cadenaFormula(const std::string& latin1) {
    return registro(0x0207, u16(static_cast<unsigned>(latin1.size())) + u8(0) + latin1);
}

// Shared strings: each one compressed (Latin-1 bytes, what Windows-1252 literals hold here) or wide.
struct CadenaSst {
    std::string latin1;
    std::u16string ancha;
};
inline std::string cadenaSst(const CadenaSst& c) {
    return c.ancha.empty() ? u16(static_cast<unsigned>(c.latin1.size())) + u8(0) + c.latin1
                           : u16(static_cast<unsigned>(c.ancha.size())) + u8(1) + utf16(c.ancha);
}
inline std::string sst(const std::vector<CadenaSst>& cadenas) {
    std::string cuerpo =
        u32(static_cast<std::uint32_t>(cadenas.size())) + u32(static_cast<std::uint32_t>(cadenas.size()));
    for (const auto& c : cadenas) {
        cuerpo += cadenaSst(c);
    }
    return registro(0x00FC, cuerpo);
}
inline std::string formato(unsigned ifmt, std::u16string_view texto) {
    return registro(0x041E, u16(ifmt) + u16(static_cast<unsigned>(texto.size())) + u8(1) + utf16(texto));
}
inline std::string xf(unsigned ifmt) {
    return registro(0x00E0, u16(0) + u16(ifmt) + std::string(16, '\0'));
}

struct HojaPrueba {
    std::string nombre;
    std::string registros;
    unsigned tipo = 0;   // in the sheet list: 0 worksheet, 2 chart
    unsigned dt = 0x10;  // in its BOF
    unsigned estado = 0; // 1 hidden
};

inline std::string flujoLibro(const std::string& globales, const std::vector<HojaPrueba>& hojas,
                              bool biff8 = true) {
    std::size_t desplazamiento = bof(5, biff8).size() + globales.size() + eof().size();
    for (const auto& h : hojas) {
        desplazamiento += 4 + 7 + (biff8 ? 1 : 0) + h.nombre.size();
    }
    std::string lista;
    std::string cuerpos;
    for (const auto& h : hojas) {
        lista += registro(0x0085, u32(static_cast<std::uint32_t>(desplazamiento + cuerpos.size())) +
                                      u8(h.estado) + u8(h.tipo) + u8(static_cast<unsigned>(h.nombre.size())) +
                                      (biff8 ? u8(0) : "") + h.nombre);
        cuerpos += bof(h.dt, biff8) + h.registros + eof();
    }
    return bof(5, biff8) + globales + lista + eof() + cuerpos;
}

inline void ponerU32(std::string& s, std::size_t pos, std::uint32_t v) {
    s.replace(pos, 4, u32(v));
}

// Where compuesto() puts the FAT, the directory and the stream, for tests that damage them.
struct Disposicion {
    std::uint32_t sectoresFat = 0;
    std::uint32_t directorio = 0;
    std::uint32_t primeroFlujo = 0;
    std::size_t entradaFat(std::uint32_t sector) const { return 512 + 4 * std::size_t{sector}; }
    std::size_t entradaDirectorio(unsigned i) const { return (std::size_t{directorio} + 1) * 512 + 128 * i; }
};

// A compound file with one stream, 512-byte sectors, laid out FAT, directory, stream.
inline std::string compuesto(std::string flujo, std::u16string_view nombre = u"Workbook",
                             Disposicion* disposicion = nullptr) {
    if (flujo.size() < 4096) {
        flujo.resize(4096, '\0'); // past the mini stream's cutoff: the stream gets a chain of its own
    }
    const auto sectoresFlujo = static_cast<std::uint32_t>((flujo.size() + 511) / 512);
    std::uint32_t sectoresFat = 1;
    while (sectoresFat * 128 < sectoresFat + 1 + sectoresFlujo) {
        ++sectoresFat;
    }
    const std::uint32_t directorio = sectoresFat;
    const std::uint32_t primero = directorio + 1;

    std::string cabecera = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + u16(0x3E) + u16(3) +
                           u16(0xFFFE) + u16(9) + u16(6) + std::string(6, '\0') + u32(0) + u32(sectoresFat) +
                           u32(directorio) + u32(0) + u32(4096) + u32(0xFFFFFFFE) + u32(0) + u32(0xFFFFFFFE) +
                           u32(0);
    for (std::uint32_t i = 0; i < 109; ++i) {
        cabecera += u32(i < sectoresFat ? i : 0xFFFFFFFF);
    }
    std::string fat;
    for (std::uint32_t s = 0; s < sectoresFat * 128; ++s) {
        std::uint32_t v = 0xFFFFFFFF;
        if (s < sectoresFat) {
            v = 0xFFFFFFFD;
        } else if (s == directorio) {
            v = 0xFFFFFFFE;
        } else if (s >= primero && s < primero + sectoresFlujo) {
            v = s + 1 == primero + sectoresFlujo ? 0xFFFFFFFE : s + 1;
        }
        fat += u32(v);
    }
    auto entrada = [](std::u16string_view n, unsigned tipo, std::uint32_t hijo, std::uint32_t inicio,
                      std::uint32_t tamano) {
        std::string e = utf16(n);
        e.resize(64, '\0');
        e += u16(static_cast<unsigned>((n.size() + 1) * 2)) + u8(tipo) + u8(1) + u32(0xFFFFFFFF) +
             u32(0xFFFFFFFF) + u32(hijo);
        e.resize(0x74, '\0');
        return e + u32(inicio) + u32(tamano) + u32(0);
    };
    std::string dir = entrada(u"Root Entry", 5, 1, 0xFFFFFFFE, 0) +
                      entrada(nombre, 2, 0xFFFFFFFF, primero, static_cast<std::uint32_t>(flujo.size()));
    dir.resize(512, '\0');
    flujo.resize(std::size_t{sectoresFlujo} * 512, '\0');
    if (disposicion != nullptr) {
        *disposicion = {sectoresFat, directorio, primero};
    }
    return cabecera + fat + dir + flujo;
}

inline std::unique_ptr<LibroExcel> abrirBytes(const CarpetaTemporal& carpeta, const std::string& bytes) {
    const auto ruta = carpeta / "libro.xls";
    escribirFichero(ruta, bytes);
    return abrirLibroXls(ruta);
}

inline std::unique_ptr<LibroExcel> abrirHojaUnica(const CarpetaTemporal& carpeta, const std::string& globales,
                                                  const std::string& celdas) {
    return abrirBytes(carpeta, compuesto(flujoLibro(globales, {{"Datos", celdas}})));
}

} // namespace trovanel::xls_prueba
