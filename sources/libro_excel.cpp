#include "libro_excel.hpp"

#include "error.hpp"
#include "fichero_entrada.hpp"
#include "limites.hpp"
#include "tabla_textos.hpp"
#include "texto.hpp"

#include <unistd.h>

#include <array>

namespace trovanel {

std::int64_t LibroExcel::ultimaFila(std::string_view hoja) {
    auto cursor = abrirHoja(hoja);
    FilaHoja fila;
    std::int64_t ultima = 0;
    while (cursor->siguiente(fila)) {
        ultima = fila.numero;
    }
    return ultima;
}

ValorCelda LibroExcel::celda(std::string_view hoja, std::int64_t numeroFila, std::string_view columna) {
    const auto numero = numeroColumna(columna, columnasMaximas());
    if (!numero || numeroFila < 1 || numeroFila > filasMaximas()) {
        return std::nullopt;
    }
    try {
        auto cursor = abrirHoja(hoja);
        FilaHoja fila;
        while (cursor->siguiente(fila) && fila.numero <= numeroFila) {
            if (fila.numero == numeroFila) {
                const auto indice = static_cast<std::size_t>(*numero - 1);
                return indice < fila.celdas.size() ? fila.celdas[indice] : ValorCelda(std::string());
            }
        }
        return std::string();
    } catch (const std::exception&) {
        // Damaged, or too big to read here: either way the cell cannot be read.
        return std::nullopt;
    }
}

void danado() {
    throw ErrorTrovanel(kNoSeAbreEntrada);
}

void valorDemasiadoLargo(const std::filesystem::path& ruta, std::int64_t fila) {
    throw ErrorTrovanel(mensajeEntrada(kNoSeAbreEntrada, ruta,
                                       "la fila " + std::to_string(fila) + " tiene un valor de más de " +
                                           std::to_string(kMaxValor) + " bytes"));
}

void relanzarComoDanado() {
    try {
        throw;
    } catch (const ErrorTrovanel&) {
        throw;
    } catch (const std::exception&) {
        danado();
    }
}

void relanzarComoDanado(const std::filesystem::path& ruta) {
    try {
        throw;
    } catch (const ErrorTablaTextosLlena& e) {
        throw ErrorTrovanel(mensajeEntrada(kNoSeAbreEntrada, ruta, e.motivo()));
    } catch (...) {
        relanzarComoDanado();
    }
}

std::optional<int> numeroColumna(std::string_view letras, int maximo) {
    const std::string limpio = Trim(letras);
    if (limpio.empty() || limpio.size() > 3) {
        return std::nullopt;
    }
    int numero = 0;
    for (char c : limpio) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c < 'A' || c > 'Z') {
            return std::nullopt;
        }
        numero = numero * 26 + (c - 'A' + 1);
    }
    if (numero > maximo) {
        return std::nullopt;
    }
    return numero;
}

namespace {

// Case-insensitive in Windows-1252, as Excel tells sheet names apart.
char minusculaHoja(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    if (u == 0x8A || u == 0x8C || u == 0x8E) {
        return static_cast<char>(u + 0x10);
    }
    if (u == 0x9F) {
        return static_cast<char>(0xFF);
    }
    return c;
}

} // namespace

bool mismoNombreHoja(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (minusculaHoja(a[i]) != minusculaHoja(b[i])) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<LibroExcel> abrirLibroExcel(const std::filesystem::path& ruta) {
    try {
        // The signature tells the format.
        std::array<unsigned char, 4> firma{};
        HuellaFichero huella;
        {
            const FicheroEntrada fichero(ruta);
            if (fichero.noEsFichero()) {
                throw ErrorTrovanel(mensajeEntrada(kNoSeAbreEntrada, ruta, kNoEsFicheroRegular));
            }
            if (!fichero.abierto() || ::pread(fichero.descriptor(), firma.data(), firma.size(), 0) !=
                                          static_cast<ssize_t>(firma.size())) {
                danado();
            }
            huella = fichero.huella();
        }
        std::unique_ptr<LibroExcel> libro;
        if (firma == std::array<unsigned char, 4>{'P', 'K', 3, 4}) {
            libro = abrirLibroXlsx(ruta);
        } else if (firma == std::array<unsigned char, 4>{0xD0, 0xCF, 0x11, 0xE0}) {
            libro = abrirLibroXls(ruta);
        } else {
            danado();
        }
        libro->ficheroLeido = FicheroLeido{ruta, huella};
        return libro;
    } catch (...) {
        relanzarComoDanado();
    }
}

} // namespace trovanel
