// Office Open XML workbooks (.xlsx): libzip opens the archive and our XML scanner streams every part read
// from it (workbook, relationships, styles, shared strings, sheets), so no part sits whole in memory. Every
// size and index taken from the file is checked: a damaged or hostile workbook ends in
// ErrorTrovanel(kNoSeAbreEntrada), never in a crash, a hang or a memory blow-up.
#include "codificacion.hpp"
#include "error.hpp"
#include "flujo_xml.hpp"
#include "libro_excel.hpp"
#include "limites.hpp"
#include "paquete_xlsx.hpp"
#include "tabla_textos.hpp"
#include "valores_texto.hpp"
#include "valores_xlsx.hpp"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trovanel {

namespace xlsx {
namespace {

constexpr std::int64_t kMaxFilas = 1048576;
constexpr int kMaxColumnas = 16384;

// --- Shared strings ---

class LectorTextos : public ManejadorXml {
public:
    LectorTextos(TablaTextos& tabla, std::vector<std::uint32_t>& largos, zip_uint64_t tamanoParte)
        : tabla_(tabla), largos_(largos), tamanoParte_(tamanoParte) {}

    void inicio(std::string_view nombre, AtributosXml atributos) override {
        ++profundidad_;
        if (profundidad_ == 1) {
            if (nombre != "sst") {
                danado();
            }
            // The text is never longer than the part; the declared count is only believed as far as
            // the part could hold ("<si/>").
            std::uint32_t unicos = 0;
            if (const auto declarados = atributo(atributos, "uniqueCount")) {
                unicos = leerEnteroXml<std::uint32_t>(*declarados).value_or(0);
            }
            const zip_uint64_t tope = std::min<zip_uint64_t>(tamanoParte_, kMaxTablaTextos);
            tabla_.reservar(static_cast<std::size_t>(tope),
                            static_cast<std::size_t>(std::min<zip_uint64_t>(unicos, tope / 5)));
        } else if (profundidad_ == 2 && nombre == "si") {
            enTexto_ = true;
            largo_ = false;
            actual_.clear();
        } else if (enTexto_ && profundidad_ == 3) {
            capturando_ = nombre == "t";
            enTrozo_ = nombre == "r";
        } else if (enTrozo_ && profundidad_ == 4) {
            // Rich text: the runs' texts joined; phonetic guides (rPh) are left out.
            capturando_ = nombre == "t";
        }
    }

    void fin(std::string_view) override {
        if (profundidad_ == 2 && enTexto_) {
            enTexto_ = false;
            if (largo_) {
                largos_.push_back(static_cast<std::uint32_t>(tabla_.cantidad()));
            }
            tabla_.anadir(textoPrograma(actual_));
        } else if (profundidad_ == 3) {
            capturando_ = false;
            enTrozo_ = false;
        } else if (profundidad_ == 4) {
            capturando_ = false;
        }
        --profundidad_;
    }

    void texto(std::string_view s) override {
        if (!capturando_ || largo_) {
            return;
        }
        // A string past the cap is kept empty: the row that uses it is refused, naming the row.
        if (actual_.size() + s.size() > kMaxValor) {
            largo_ = true;
            actual_.clear();
            return;
        }
        tabla_.exigirQueCabe(actual_.size() + s.size());
        actual_ += s;
    }

private:
    TablaTextos& tabla_;
    std::vector<std::uint32_t>& largos_;
    zip_uint64_t tamanoParte_;
    std::string actual_;
    int profundidad_ = 0;
    bool enTexto_ = false;
    bool enTrozo_ = false;
    bool capturando_ = false;
    bool largo_ = false;
};

// --- The workbook ---

struct DatosLibro {
    std::filesystem::path ruta;
    Archivo archivo;
    std::vector<Hoja> hojas;
    TablaTextos textos;
    // The shared strings past kMaxValor, in ascending order: empty in the table.
    std::vector<std::uint32_t> textosLargos;
    std::vector<ClaseFormato> claseEstilo;
    bool sistema1904 = false;
};

enum class TipoCelda { numero, compartido, enLinea, formulaTexto, booleano, error, fechaIso };

// Walks a sheet's XML row by row: the parse is suspended at the end of each row that holds a cell,
// so only one row and one chunk of the file are in memory at a time.
class CursorXlsx : public CursorHoja, private ManejadorXml {
public:
    CursorXlsx(std::shared_ptr<DatosLibro> libro, zip_uint64_t parte)
        : libro_(std::move(libro)), flujo_(libro_->archivo, parte, *this) {}

    bool siguiente(FilaHoja& fila) override {
        if (fallido_) {
            danado();
        }
        destino_ = &fila;
        filaLista_ = false;
        try {
            while (flujo_.continuar()) {
                if (filaLista_) {
                    destino_ = nullptr;
                    return true;
                }
            }
        } catch (...) {
            fallido_ = true;
            destino_ = nullptr;
            relanzarComoDanado();
        }
        destino_ = nullptr;
        if (!raizVista_) {
            danado();
        }
        return false;
    }

private:
    // Depths: worksheet 1, sheetData 2, row 3, c 4, v and is 5, is/t and is/r 6, is/r/t 7.
    void inicio(std::string_view nombre, AtributosXml atributos) override {
        ++profundidad_;
        switch (profundidad_) {
        case 1:
            if (nombre != "worksheet") {
                danado();
            }
            raizVista_ = true;
            break;
        case 2:
            enDatos_ = nombre == "sheetData";
            break;
        case 3:
            if (enDatos_ && nombre == "row") {
                empezarFila(atributos);
            }
            break;
        case 4:
            if (enFila_ && nombre == "c") {
                empezarCelda(atributos);
            }
            break;
        case 5:
            if (enCelda_) {
                capturando_ = nombre == "v";
                enLinea_ = nombre == "is";
                tieneValor_ = tieneValor_ || capturando_ || enLinea_;
            }
            break;
        case 6:
            if (enLinea_) {
                capturando_ = nombre == "t";
                enTrozo_ = nombre == "r";
            }
            break;
        case 7:
            if (enTrozo_) {
                capturando_ = nombre == "t";
            }
            break;
        default:
            break;
        }
    }

    void fin(std::string_view) override {
        switch (profundidad_) {
        case 2:
            enDatos_ = false;
            break;
        case 3:
            if (enFila_) {
                terminarFila();
            }
            break;
        case 4:
            if (enCelda_) {
                terminarCelda();
            }
            break;
        case 5:
            capturando_ = false;
            enLinea_ = false;
            break;
        case 6:
            capturando_ = false;
            enTrozo_ = false;
            break;
        case 7:
            capturando_ = false;
            break;
        default:
            break;
        }
        --profundidad_;
    }

    void texto(std::string_view s) override {
        if (!capturando_) {
            return;
        }
        if (valor_.size() + s.size() > kMaxValor) {
            demasiadoLargo();
        }
        valor_ += s;
    }

    [[noreturn]] void demasiadoLargo() const {
        valorDemasiadoLargo(libro_->ruta, filaSinNumero_ ? ultimaFila_ + 1 : ultimaFila_);
    }

    void empezarFila(AtributosXml atributos) {
        enFila_ = true;
        filaSinNumero_ = true;
        ultimaColumna_ = 0;
        textoFila_ = 0;
        // The cells are written over the last row's, keeping the memory of their text.
        usadas_ = 0;
        if (const auto r = atributo(atributos, "r")) {
            numerarFila(leerEnteroXml<std::int64_t>(*r));
        }
    }

    // Rows come in ascending order; anything else, or a row past Excel's last, is a damaged file.
    void numerarFila(std::optional<std::int64_t> numero) {
        if (!numero || *numero <= ultimaFila_ || *numero > kMaxFilas) {
            danado();
        }
        ultimaFila_ = *numero;
        destino_->numero = *numero;
        filaSinNumero_ = false;
    }

    void terminarFila() {
        enFila_ = false;
        // Neither the row nor any of its cells said where it is: it follows the one before.
        if (filaSinNumero_) {
            numerarFila(ultimaFila_ + 1);
        }
        destino_->celdas.resize(usadas_);
        destino_->numericas.resize(usadas_);
        if (usadas_ > 0) {
            filaLista_ = true;
            flujo_.suspender();
        }
    }

    void empezarCelda(AtributosXml atributos) {
        int columna = ultimaColumna_ + 1;
        tipo_ = TipoCelda::numero;
        clase_ = ClaseFormato::Numero;
        for (const auto& atributo : atributos) {
            const std::string_view nombre = local(atributo.nombre);
            const std::string_view valor = atributo.valor;
            if (nombre == "r") {
                std::string_view numeroFila;
                columna = columnaDeReferencia(valor, numeroFila);
                // A row written without its number has it in its cells' references, when they have one.
                if (filaSinNumero_ && !numeroFila.empty()) {
                    numerarFila(leerEnteroXml<std::int64_t>(numeroFila));
                }
            } else if (nombre == "t") {
                tipo_ = tipoDe(valor);
            } else if (nombre == "s") {
                const auto estilo = leerEnteroXml<std::uint32_t>(valor);
                clase_ = estilo && *estilo < libro_->claseEstilo.size() ? libro_->claseEstilo[*estilo]
                                                                        : ClaseFormato::Numero;
            }
        }
        if (columna < 1 || columna > kMaxColumnas) {
            danado();
        }
        ultimaColumna_ = columna;
        enCelda_ = true;
        tieneValor_ = false;
        valor_.clear();
    }

    void terminarCelda() {
        enCelda_ = false;
        const auto indice = static_cast<std::size_t>(ultimaColumna_ - 1);
        // The cells skipped on the way are empty.
        while (usadas_ < indice) {
            asignar(celda(usadas_), "");
            destino_->numericas[usadas_++] = false;
        }
        ValorCelda& valor = celda(indice);
        usadas_ = std::max(usadas_, indice + 1);
        valorCelda(valor);
        destino_->numericas[indice] = tipo_ == TipoCelda::numero;
        if (valor) {
            textoFila_ += valor->size();
            if (textoFila_ > kMaxFila) {
                danado();
            }
        }
    }

    ValorCelda& celda(std::size_t indice) {
        auto& celdas = destino_->celdas;
        if (indice >= celdas.size()) {
            celdas.resize(indice + 1);
        }
        if (destino_->numericas.size() < celdas.size()) {
            destino_->numericas.resize(celdas.size());
        }
        return celdas[indice];
    }

    static void asignar(ValorCelda& valor, std::string_view texto) {
        if (valor) {
            valor->assign(texto);
        } else {
            valor.emplace(texto);
        }
    }

    void valorCelda(ValorCelda& valor) const {
        switch (tipo_) {
        case TipoCelda::error:
            valor.reset();
            return;
        case TipoCelda::compartido: {
            if (!tieneValor_) {
                asignar(valor, "");
                return;
            }
            // An index past the table cannot be read; the rest of the sheet still can.
            const auto indice = leerEnteroXml<std::uint32_t>(valor_);
            if (!indice || *indice >= libro_->textos.cantidad()) {
                valor.reset();
                return;
            }
            const auto& largos = libro_->textosLargos;
            if (!largos.empty() && std::binary_search(largos.begin(), largos.end(), *indice)) {
                demasiadoLargo();
            }
            asignar(valor, libro_->textos[*indice]);
            return;
        }
        case TipoCelda::enLinea:
        case TipoCelda::formulaTexto:
            if (valor_.find('_') == std::string::npos) {
                asignar(valor, valor_);
                utf8ACp1252EnSitio(*valor, kSinEquivalente);
            } else {
                valor = textoPrograma(valor_);
            }
            return;
        case TipoCelda::booleano: {
            const auto v = sinBlancos(valor_);
            if (!tieneValor_ || v.empty()) {
                asignar(valor, "");
            } else if (v == "1" || v == "true") {
                asignar(valor, textoBooleano(true));
            } else if (v == "0" || v == "false") {
                asignar(valor, textoBooleano(false));
            } else {
                valor.reset();
            }
            return;
        }
        case TipoCelda::fechaIso:
            if (sinBlancos(valor_).empty()) {
                asignar(valor, "");
            } else {
                valor = fechaIso(valor_);
            }
            return;
        case TipoCelda::numero:
            break;
        }
        // A formula never calculated, or a cell that only carries a format, is empty.
        if (sinBlancos(valor_).empty()) {
            asignar(valor, "");
            return;
        }
        if (clase_ != ClaseFormato::Fecha) {
            // A currency amount keeps four decimals: with more, it is rounded the long way.
            if (auto corto =
                    numeroCorto(valor_, clase_ == ClaseFormato::Moneda ? 4 : std::string_view::npos)) {
                valor = std::move(corto);
                return;
            }
        }
        const auto numero = leerDoble(valor_);
        if (!numero) {
            valor.reset();
            return;
        }
        valor = textoCeldaNumerica(*numero, clase_, libro_->sistema1904);
    }

    static TipoCelda tipoDe(std::string_view t) {
        if (t == "s") {
            return TipoCelda::compartido;
        }
        if (t == "inlineStr") {
            return TipoCelda::enLinea;
        }
        if (t == "str") {
            return TipoCelda::formulaTexto;
        }
        if (t == "b") {
            return TipoCelda::booleano;
        }
        if (t == "e") {
            return TipoCelda::error;
        }
        if (t == "d") {
            return TipoCelda::fechaIso;
        }
        return TipoCelda::numero;
    }

    // The column of a reference such as "AB12", 0 when it names none; resto is left after its letters.
    static int columnaDeReferencia(std::string_view r, std::string_view& resto) {
        int columna = 0;
        std::size_t i = 0;
        for (; i < r.size() && ((r[i] >= 'A' && r[i] <= 'Z') || (r[i] >= 'a' && r[i] <= 'z')); ++i) {
            columna = columna * 26 + ((r[i] | 0x20) - 'a' + 1);
            if (columna > kMaxColumnas) {
                return 0;
            }
        }
        resto = r.substr(i);
        return columna;
    }

    std::shared_ptr<DatosLibro> libro_;
    FlujoXml flujo_;
    FilaHoja* destino_ = nullptr;
    std::int64_t ultimaFila_ = 0;
    std::size_t textoFila_ = 0;
    std::size_t usadas_ = 0;
    std::string valor_;
    int ultimaColumna_ = 0;
    int profundidad_ = 0;
    TipoCelda tipo_ = TipoCelda::numero;
    ClaseFormato clase_ = ClaseFormato::Numero;
    bool filaSinNumero_ = false;
    bool raizVista_ = false;
    bool enDatos_ = false;
    bool enFila_ = false;
    bool enCelda_ = false;
    bool enLinea_ = false;
    bool enTrozo_ = false;
    bool capturando_ = false;
    bool tieneValor_ = false;
    bool filaLista_ = false;
    bool fallido_ = false;
};

class LibroXlsx : public LibroExcel {
public:
    explicit LibroXlsx(std::shared_ptr<DatosLibro> datos) : datos_(std::move(datos)) {}

    std::vector<std::string> hojas() const override {
        std::vector<std::string> nombres;
        nombres.reserve(datos_->hojas.size());
        for (const auto& h : datos_->hojas) {
            nombres.push_back(h.nombre);
        }
        return nombres;
    }

    int columnasMaximas() const override { return kMaxColumnas; }

    std::unique_ptr<CursorHoja> abrirHoja(std::string_view nombre) override {
        const Hoja* elegida = buscarHoja(datos_->hojas, nombre);
        if (!elegida) {
            danado();
        }
        // The cursor shares the archive and the tables, so it stays valid whatever happens to the book.
        try {
            return std::make_unique<CursorXlsx>(datos_, elegida->parte);
        } catch (...) {
            relanzarComoDanado();
        }
    }

private:
    std::shared_ptr<DatosLibro> datos_;
};

std::shared_ptr<DatosLibro> cargar(const std::filesystem::path& ruta) {
    auto datos = std::make_shared<DatosLibro>();
    datos->ruta = ruta;
    datos->archivo = abrirArchivo(ruta);
    const Archivo& archivo = datos->archivo;
    EstructuraLibro estructura = leerEstructura(archivo);
    datos->hojas = std::move(estructura.hojas);
    datos->claseEstilo = std::move(estructura.claseEstilo);
    datos->sistema1904 = estructura.sistema1904;
    if (estructura.parteTextos) {
        LectorTextos lector(datos->textos, datos->textosLargos, archivo.tamano(*estructura.parteTextos));
        FlujoXml flujo(archivo, *estructura.parteTextos, lector);
        while (flujo.continuar()) {
        }
    }
    return datos;
}

} // namespace
} // namespace xlsx

std::unique_ptr<LibroExcel> abrirLibroXlsx(const std::filesystem::path& ruta) {
    try {
        return std::make_unique<xlsx::LibroXlsx>(xlsx::cargar(ruta));
    } catch (...) {
        relanzarComoDanado(ruta);
    }
}

} // namespace trovanel
