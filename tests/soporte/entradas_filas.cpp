#include "entradas_filas.hpp"

#include "soporte_pruebas.hpp"

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace trovanel::pruebas {

namespace {

// libxlsxwriter takes UTF-8, while the test texts are Windows-1252 (Latin-1 letters only).
std::string utf8(std::string_view texto) {
    std::string resultado;
    for (const char c : texto) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            resultado += c;
        } else {
            resultado += static_cast<char>(0xC0 | (u >> 6));
            resultado += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return resultado;
}

} // namespace

void escribirHojaXlsx(const std::filesystem::path& ruta, const std::string& hoja, const FilasPrueba& filas) {
    lxw_workbook* libro = workbook_new(ruta.c_str());
    if (libro == nullptr) {
        throw std::runtime_error("workbook_new");
    }
    lxw_worksheet* h = workbook_add_worksheet(libro, utf8(hoja).c_str());
    for (std::size_t f = 0; f < filas.size(); ++f) {
        for (std::size_t c = 0; c < filas[f].size(); ++c) {
            const std::string& v = filas[f][c];
            const auto fila = static_cast<lxw_row_t>(f);
            const auto columna = static_cast<lxw_col_t>(c);
            if (v.empty() || v == "^") {
                continue;
            }
            if (v[0] == '#' || v[0] == '~') {
                worksheet_write_number(h, fila, columna, std::stod(v.substr(1)), nullptr);
            } else if (v.size() > 32767) {
                // Past what libxlsxwriter writes as a text, though a file may hold it: a formula's result.
                worksheet_write_formula_str(h, fila, columna, "=\"\"", nullptr, utf8(v).c_str());
            } else {
                worksheet_write_string(h, fila, columna, utf8(v).c_str(), nullptr);
            }
        }
    }
    if (workbook_close(libro) != LXW_NO_ERROR) {
        throw std::runtime_error("workbook_close");
    }
}

void escribirTablaSqlite(const std::filesystem::path& ruta, const std::string& tabla,
                         const std::vector<std::string>& columnas, const FilasPrueba& filas) {
    sqlite3* db = nullptr;
    if (sqlite3_open(ruta.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("sqlite3_open");
    }
    const auto ejecutar = [db](const std::string& sql) {
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            const std::string mensaje = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(mensaje);
        }
    };
    std::string crear = "CREATE TABLE \"" + tabla + "\" (";
    for (std::size_t c = 0; c < columnas.size(); ++c) {
        crear += (c ? ", \"" : "\"") + columnas[c] + "\"";
    }
    ejecutar(crear + ")");
    ejecutar("BEGIN");
    for (const auto& fila : filas) {
        std::string insertar = "INSERT INTO \"" + tabla + "\" VALUES (";
        for (std::size_t c = 0; c < columnas.size(); ++c) {
            const std::string v = c < fila.size() ? fila[c] : "^";
            std::string valor;
            if (v == "^") {
                valor = "NULL";
            } else if (!v.empty() && v[0] == '#') {
                valor = v.substr(1);
            } else if (!v.empty() && v[0] == '~') {
                valor = "CAST(" + v.substr(1) + " AS REAL)";
            } else {
                std::string escapado;
                for (const char ch : utf8(v)) {
                    escapado += ch == '\'' ? "''" : std::string(1, ch);
                }
                valor = "'" + escapado + "'";
            }
            insertar += (c ? ", " : "") + valor;
        }
        ejecutar(insertar + ")");
    }
    ejecutar("COMMIT");
    sqlite3_close(db);
}

FilasPrueba filasDeTexto(const std::string& texto, const std::vector<CampoPlantilla>& campos,
                         const std::vector<std::string>& numeros) {
    FilasPrueba filas;
    std::size_t inicio = 0;
    while (inicio < texto.size()) {
        std::size_t fin = texto.find('\n', inicio);
        fin = fin == std::string::npos ? texto.size() : fin;
        std::string linea = texto.substr(inicio, fin - inicio);
        if (!linea.empty() && linea.back() == '\r') {
            linea.pop_back();
        }
        inicio = fin + 1;
        std::vector<std::string> fila;
        for (const CampoPlantilla& c : campos) {
            if (c.inicio > 0) {
                const auto desde = static_cast<std::size_t>(c.inicio - 1);
                std::string celda = desde < linea.size()
                                        ? linea.substr(desde, static_cast<std::size_t>(c.fin - c.inicio + 1))
                                        : "";
                const bool numero = std::ranges::find(numeros, c.campo) != numeros.end();
                if (numero && !celda.empty() && celda.find_first_not_of("0123456789") == std::string::npos) {
                    celda = "#" + std::to_string(std::stoll(celda));
                }
                fila.push_back(std::move(celda));
            }
        }
        fila.push_back("#" + std::to_string(filas.size() + 1));
        filas.push_back(std::move(fila));
    }
    return filas;
}

std::vector<CampoPlantilla> plantillaDeFilas(std::vector<CampoPlantilla> campos) {
    char letra = 'A';
    for (CampoPlantilla& c : campos) {
        if (c.inicio > 0) {
            c.valorlinea = std::string(1, letra++);
            c.fin = 1;
        }
    }
    return campos;
}

std::vector<CampoPlantilla> camposDePlantilla(BaseDatos& baseDatos, std::int64_t idPlantilla) {
    std::vector<CampoPlantilla> campos;
    auto fila =
        baseDatos.preparar("SELECT campo, inicio, fin, valorcampo, obligatorio FROM detalleestructura "
                           "WHERE id_estructura = ? ORDER BY id_campo");
    fila.con(idPlantilla);
    while (fila.siguiente()) {
        CampoPlantilla c{fila.texto(0), static_cast<int>(fila.entero(1)), static_cast<int>(fila.entero(2)),
                         fila.texto(3)};
        c.obligatorio = fila.logico(4);
        campos.push_back(c);
    }
    return campos;
}

std::vector<std::string> columnasDeFilas(const std::vector<CampoPlantilla>& campos) {
    std::vector<std::string> columnas;
    for (const CampoPlantilla& c : plantillaDeFilas(campos)) {
        if (!c.valorlinea.empty()) {
            columnas.push_back(c.valorlinea);
        }
    }
    columnas.push_back("Linea");
    return columnas;
}

void escribirRemesaFilas(const std::filesystem::path& ruta, const std::string& texto,
                         const std::vector<CampoPlantilla>& campos, const std::vector<std::string>& numeros) {
    const FilasPrueba filas = filasDeTexto(texto, campos, numeros);
    if (ruta.extension() == ".xlsx") {
        escribirHojaXlsx(ruta, "Remesa", filas);
    } else {
        escribirTablaSqlite(ruta, "Remesa", columnasDeFilas(campos), filas);
    }
}

std::filesystem::path prepararEntrada(const CasoFilas& caso, const std::filesystem::path& carpeta,
                                      const std::string& texto, const std::vector<CampoPlantilla>& campos) {
    const std::filesystem::path ruta = carpeta / caso.fichero;
    if (caso.origen == nullptr) {
        escribirRemesaFilas(ruta, texto, campos);
    } else {
        std::filesystem::copy_file((caso.muestra ? carpetaMuestras() : datosPrueba()) / caso.origen, ruta);
    }
    return ruta;
}

} // namespace trovanel::pruebas
