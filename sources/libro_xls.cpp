// Reader of .xls workbooks (BIFF8, Excel 97-2003, and BIFF5, Excel 5/95).
//
// Written directly over the compound file and the BIFF records rather than through libfreexl: that
// library drops formula cells (their cached values are what the user sees), reports error cells as
// the number 1, cannot open a workbook that holds an embedded chart, and reads files whose sector
// chains are cross-linked. Everything read from the file is checked before it is used.

#include "libro_excel.hpp"

#include "fichero_compuesto.hpp"
#include "formato_numero.hpp"

#include "codificacion.hpp"
#include "error.hpp"
#include "limites.hpp"
#include "tabla_textos.hpp"
#include "valores_texto.hpp"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <system_error>
#include <utility>

namespace trovanel {

namespace {

constexpr std::size_t kColumnasXls = 256;
constexpr std::int64_t kFilasXls = 65536;
// Real workbooks hold a handful of sheets. Each entry of the list takes a dozen bytes of the file and
// several times that once read, so a list of millions is refused, as .xlsx ones are.
constexpr std::size_t kMaxHojas = 65536;

// ---------------------------------------------------------------------------------------------
// BIFF records.

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kBlank = 0x0201;
constexpr std::uint16_t kMulBlank = 0x00BE;
constexpr std::size_t kMaximoRegistro = 8224;

struct Registro {
    std::uint16_t tipo = 0;
    std::size_t cuerpo = 0;
    std::size_t largo = 0;
    std::size_t siguiente() const { return cuerpo + largo; }
};

// The record at pos; false when the stream ends there.
bool leerRegistro(const Bytes& flujo, std::size_t pos, Registro& r) {
    if (pos > flujo.size() || flujo.size() - pos < 4) {
        return false;
    }
    r.tipo = le16(&flujo[pos]);
    r.largo = le16(&flujo[pos + 2]);
    r.cuerpo = pos + 4;
    if (r.largo > kMaximoRegistro || r.cuerpo + r.largo > flujo.size()) {
        danado();
    }
    return true;
}

const unsigned char* cuerpo(const Bytes& flujo, const Registro& r, std::size_t minimo) {
    if (r.largo < minimo) {
        danado();
    }
    return flujo.data() + r.cuerpo;
}

bool esCelda(std::uint16_t tipo) {
    switch (tipo) {
    case kFormula:
    case kNumber:
    case kRk:
    case kMulRk:
    case kLabelSst:
    case kLabel:
    case kRString:
    case kBoolErr:
    // A blank cell that only carries a format still belongs to the sheet's used range.
    case kBlank:
    case kMulBlank:
        return true;
    default:
        return false;
    }
}

// Reads one record and the CONTINUE records after it as a single body, never past their ends.
class LectorRegistro {
public:
    LectorRegistro(const Bytes& flujo, const Registro& r) : flujo_(flujo) {
        tramos_.emplace_back(r.cuerpo, r.siguiente());
        Registro c;
        for (std::size_t pos = r.siguiente(); leerRegistro(flujo, pos, c) && c.tipo == kContinue;
             pos = c.siguiente()) {
            tramos_.emplace_back(c.cuerpo, c.siguiente());
        }
        pos_ = r.cuerpo;
    }

    std::uint8_t u8() {
        asegurar();
        return flujo_[pos_++];
    }
    std::uint16_t u16() {
        const std::uint16_t bajo = u8();
        return static_cast<std::uint16_t>(bajo | (u8() << 8));
    }
    std::uint32_t u32() {
        const std::uint32_t bajo = u16();
        return bajo | (static_cast<std::uint32_t>(u16()) << 16);
    }
    void saltar(std::uint64_t n) {
        while (n > 0) {
            asegurar();
            const std::size_t k =
                static_cast<std::size_t>(std::min<std::uint64_t>(n, tramos_[tramo_].second - pos_));
            pos_ += k;
            n -= k;
        }
    }
    // Bytes left in the record and its CONTINUE records.
    std::size_t restantes() const {
        std::size_t n = tramos_[tramo_].second - pos_;
        for (std::size_t t = tramo_ + 1; t < tramos_.size(); ++t) {
            n += tramos_[t].second - tramos_[t].first;
        }
        return n;
    }
    bool alFinal() const {
        if (pos_ < tramos_[tramo_].second) {
            return false;
        }
        for (std::size_t t = tramo_ + 1; t < tramos_.size(); ++t) {
            if (tramos_[t].second > tramos_[t].first) {
                return false;
            }
        }
        return true;
    }

    // BIFF8 characters, one or two bytes each; where a CONTINUE cuts them, an option byte there
    // gives the width of the rest. Returned in Windows-1252.
    std::string caracteres(std::size_t n, bool anchos) {
        std::string utf8;
        char32_t alto = 0;
        while (n > 0) {
            if (pos_ == tramos_[tramo_].second) {
                siguienteTramo();
                anchos = (u8() & 0x01) != 0;
                continue;
            }
            const std::size_t disponibles = (tramos_[tramo_].second - pos_) / (anchos ? 2 : 1);
            if (disponibles == 0) {
                danado();
            }
            const std::size_t k = std::min(n, disponibles);
            for (std::size_t i = 0; i < k; ++i) {
                char32_t c = anchos ? le16(&flujo_[pos_ + 2 * i]) : flujo_[pos_ + i];
                if (c >= 0xD800 && c <= 0xDBFF) {
                    if (alto != 0) {
                        anadirUtf8(utf8, 0xFFFD);
                    }
                    alto = c;
                    continue;
                }
                if (c >= 0xDC00 && c <= 0xDFFF) {
                    c = alto != 0 ? 0x10000 + ((alto - 0xD800) << 10) + (c - 0xDC00) : char32_t{0xFFFD};
                } else if (alto != 0) {
                    anadirUtf8(utf8, 0xFFFD);
                }
                alto = 0;
                anadirUtf8(utf8, c);
            }
            pos_ += k * (anchos ? 2 : 1);
            n -= k;
        }
        if (alto != 0) {
            anadirUtf8(utf8, 0xFFFD);
        }
        return utf8ACp1252(utf8, kSinEquivalente);
    }

    // BIFF5 text: bytes of the workbook's code page.
    std::string bytes(std::size_t n) {
        std::string s;
        s.reserve(std::min(n, flujo_.size()));
        while (n > 0) {
            asegurar();
            const std::size_t k = std::min(n, tramos_[tramo_].second - pos_);
            s.append(reinterpret_cast<const char*>(flujo_.data() + pos_), k);
            pos_ += k;
            n -= k;
        }
        return s;
    }

private:
    void siguienteTramo() {
        if (tramo_ + 1 >= tramos_.size()) {
            danado();
        }
        ++tramo_;
        pos_ = tramos_[tramo_].first;
    }
    void asegurar() {
        while (pos_ == tramos_[tramo_].second) {
            siguienteTramo();
        }
    }

    const Bytes& flujo_;
    std::vector<std::pair<std::size_t, std::size_t>> tramos_;
    std::size_t tramo_ = 0;
    std::size_t pos_ = 0;
};

// Windows-1252 byte for each byte of a single-byte code page (BIFF5 text), as utf8ACp1252 gives it.
std::array<char, 256> tablaPaginaCodigos(std::uint16_t pagina) {
    std::array<char, 256> tabla{};
    for (std::size_t b = 0; b < tabla.size(); ++b) {
        tabla[b] = b < 0x80 ? static_cast<char>(b) : kSinEquivalente;
    }
    // 1252 itself, its BIFF alias 0x8001, ASCII, and no CODEPAGE record at all.
    if (pagina == 1252 || pagina == 0x8001 || pagina == 367 || pagina == 0) {
        for (std::size_t b = 0x80; b < tabla.size(); ++b) {
            tabla[b] = static_cast<char>(b);
        }
        return tabla;
    }
    const std::string nombre =
        (pagina == 10000 || pagina == 0x8000) ? "MACINTOSH" : "CP" + std::to_string(pagina);
    const iconv_t cd = iconv_open("UTF-8", nombre.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return tabla;
    }
    for (std::size_t b = 0x80; b < tabla.size(); ++b) {
        char entrada = static_cast<char>(b);
        std::array<char, 8> salida{};
        char* pe = &entrada;
        char* ps = salida.data();
        std::size_t quedanE = 1;
        std::size_t quedanS = salida.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &pe, &quedanE, &ps, &quedanS) != static_cast<std::size_t>(-1) && quedanE == 0) {
            const std::string cp1252 =
                utf8ACp1252(std::string_view(salida.data(), salida.size() - quedanS), kSinEquivalente);
            if (cp1252.size() == 1) {
                tabla[b] = cp1252[0];
            }
        }
    }
    iconv_close(cd);
    return tabla;
}

double valorRk(std::uint32_t rk) {
    double valor = (rk & 0x02) != 0
                       ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                       : std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    if ((rk & 0x01) != 0) {
        valor /= 100.0;
    }
    return valor;
}

struct HojaXls {
    std::string nombre;
    std::size_t inicio = 0;
};

// What the workbook globals say, shared by the workbook and its open cursors.
struct DatosLibro {
    Bytes flujo;
    bool biff8 = true;
    bool sistema1904 = false;
    std::array<char, 256> paginaCodigos{};
    TablaTextos cadenas;
    std::vector<ClaseFormato> claseXf;
    std::vector<HojaXls> hojas;

    std::string texto8(LectorRegistro& l, std::size_t n) const {
        std::string s = l.bytes(n);
        for (char& c : s) {
            c = paginaCodigos[static_cast<unsigned char>(c)];
        }
        return s;
    }

    // XLUnicodeString (BIFF8) or a counted byte string (BIFF5), as LABEL and STRING hold them. Every text
    // of the format, these and the shared strings, counts its characters in 16 bits, one byte each here:
    // no cell can pass the cap on a value that the other inputs check.
    static_assert(0xFFFF <= kMaxValor);
    std::string cadenaCelda(LectorRegistro& l) const {
        const std::uint16_t n = l.u16();
        if (!biff8) {
            return texto8(l, n);
        }
        const std::uint8_t opciones = l.u8();
        if ((opciones & 0x08) != 0) {
            l.u16();
        }
        if ((opciones & 0x04) != 0) {
            l.u32();
        }
        return l.caracteres(n, (opciones & 0x01) != 0);
    }

    ValorCelda textoValor(double valor, std::uint16_t xf) const {
        if (!std::isfinite(valor)) {
            return std::nullopt;
        }
        return textoCeldaNumerica(valor, xf < claseXf.size() ? claseXf[xf] : ClaseFormato::Numero,
                                  sistema1904);
    }

    // The text of a formula's string result: the STRING record after it (past any shared formula,
    // array or table record).
    std::string resultadoTexto(const Registro& formula) const {
        Registro r;
        for (std::size_t pos = formula.siguiente(); leerRegistro(flujo, pos, r); pos = r.siguiente()) {
            if (r.tipo == kString) {
                LectorRegistro l(flujo, r);
                return cadenaCelda(l);
            }
            if (r.tipo != 0x04BC && r.tipo != 0x0221 && r.tipo != 0x0236) {
                break;
            }
        }
        return {};
    }

    // One cell into the row, which grows to reach it.
    static void ponerCelda(FilaHoja& fila, std::size_t c, ValorCelda valor, bool numerica = false) {
        if (c >= kColumnasXls) {
            danado();
        }
        if (fila.celdas.size() <= c) {
            fila.celdas.resize(c + 1, ValorCelda(std::string()));
            fila.numericas.resize(c + 1);
        }
        fila.celdas[c] = std::move(valor);
        fila.numericas[c] = numerica;
    }

    // A FORMULA record's cached result: a number, or the kind of result the STRING record after it, a
    // boolean, an empty text or an error value stand for.
    void leerFormula(const Registro& r, std::size_t columna, std::uint16_t xf, FilaHoja& fila) const {
        const unsigned char* p = cuerpo(flujo, r, 20);
        if (le16(p + 12) != 0xFFFF) {
            ponerCelda(fila, columna, textoValor(leDouble(p + 6), xf), true);
            return;
        }
        switch (p[6]) {
        case 0:
            ponerCelda(fila, columna, resultadoTexto(r));
            break;
        case 1:
            ponerCelda(fila, columna, textoBooleano(p[8] != 0));
            break;
        case 3:
            ponerCelda(fila, columna, std::string());
            break;
        default: // an error value
            ponerCelda(fila, columna, std::nullopt);
            break;
        }
    }

    // Puts the cells of the record at pos into the row.
    void leerCelda(std::size_t pos, FilaHoja& fila) const {
        Registro r;
        if (!leerRegistro(flujo, pos, r)) {
            danado();
        }
        const unsigned char* b = cuerpo(flujo, r, 6);
        const std::uint16_t columna = le16(b + 2);
        const std::uint16_t xf = le16(b + 4);
        switch (r.tipo) {
        case kNumber:
            ponerCelda(fila, columna, textoValor(leDouble(cuerpo(flujo, r, 14) + 6), xf), true);
            break;
        case kRk:
            ponerCelda(fila, columna, textoValor(valorRk(le32(cuerpo(flujo, r, 10) + 6)), xf), true);
            break;
        case kMulRk: {
            const std::size_t n = r.largo >= 12 ? (r.largo - 6) / 6 : 0;
            for (std::size_t i = 0; i < n; ++i) {
                const unsigned char* p = b + 4 + 6 * i;
                ponerCelda(fila, columna + i, textoValor(valorRk(le32(p + 2)), le16(p)), true);
            }
            break;
        }
        case kBlank:
            ponerCelda(fila, columna, std::string());
            break;
        case kMulBlank: {
            // One format index per cell, then the last column.
            const std::size_t n = r.largo >= 8 ? (r.largo - 6) / 2 : 0;
            for (std::size_t i = 0; i < n; ++i) {
                ponerCelda(fila, columna + i, std::string());
            }
            break;
        }
        case kLabelSst: {
            const std::uint32_t indice = le32(cuerpo(flujo, r, 10) + 6);
            if (indice >= cadenas.cantidad()) {
                danado();
            }
            ponerCelda(fila, columna, std::string(cadenas[indice]));
            break;
        }
        case kLabel:
        case kRString: {
            LectorRegistro l(flujo, r);
            l.saltar(6);
            ponerCelda(fila, columna, cadenaCelda(l));
            break;
        }
        case kBoolErr: {
            const unsigned char* p = cuerpo(flujo, r, 8);
            ponerCelda(fila, columna, p[7] != 0 ? ValorCelda() : ValorCelda(textoBooleano(p[6] != 0)));
            break;
        }
        case kFormula:
            leerFormula(r, columna, xf, fila);
            break;
        default:
            break;
        }
    }
};

// A BOUNDSHEET record: a worksheet's name and where its BOF is, noted; charts, macro sheets and modules
// are passed over.
void anotarHoja(const DatosLibro& datos, const Registro& r,
                std::vector<std::pair<std::string, std::uint32_t>>& hojas) {
    LectorRegistro l(datos.flujo, r);
    const std::uint32_t inicio = l.u32();
    l.u8();
    const std::uint8_t tipo = l.u8();
    const std::uint8_t n = l.u8();
    std::string nombre = datos.biff8 ? l.caracteres(n, (l.u8() & 0x01) != 0) : datos.texto8(l, n);
    if (tipo == 0) {
        if (hojas.size() == kMaxHojas) {
            danado();
        }
        hojas.emplace_back(std::move(nombre), inicio);
    }
}

// The SST record's shared strings, which LABELSST cells name by their index.
void leerCadenasCompartidas(DatosLibro& datos, const Registro& r) {
    LectorRegistro l(datos.flujo, r);
    l.u32();
    const std::uint32_t unicas = l.u32();
    // Each string takes three bytes at least: the count claimed cannot reserve more than that.
    datos.cadenas.reservar(0, std::min<std::size_t>(unicas, l.restantes() / 3));
    for (std::uint32_t i = 0; i < unicas && !l.alFinal(); ++i) {
        const std::uint16_t n = l.u16();
        const std::uint8_t opciones = l.u8();
        const std::uint16_t tramosFormato = (opciones & 0x08) != 0 ? l.u16() : 0;
        const std::uint32_t extra = (opciones & 0x04) != 0 ? l.u32() : 0;
        datos.cadenas.anadir(l.caracteres(n, (opciones & 0x01) != 0));
        l.saltar(std::uint64_t{tramosFormato} * 4 + extra);
    }
}

// The listed worksheets that are worksheets by their own BOF: a dialog sheet also calls itself a
// worksheet in the list.
void anotarHojasDeCalculo(DatosLibro& datos, std::vector<std::pair<std::string, std::uint32_t>>& hojas) {
    for (auto& [nombre, inicio] : hojas) {
        Registro b;
        if (!leerRegistro(datos.flujo, inicio, b) || b.tipo != kBof) {
            danado();
        }
        if (le16(cuerpo(datos.flujo, b, 4) + 2) == 0x0010) {
            datos.hojas.push_back({std::move(nombre), inicio});
        }
    }
}

std::shared_ptr<const DatosLibro> leerGlobales(Bytes flujo) {
    auto datos = std::make_shared<DatosLibro>();
    datos->flujo = std::move(flujo);
    const Bytes& f = datos->flujo;

    Registro r;
    if (!leerRegistro(f, 0, r) || r.tipo != kBof) {
        danado();
    }
    const unsigned char* bof = cuerpo(f, r, 4);
    const std::uint16_t version = le16(bof);
    if (le16(bof + 2) != 0x0005 || (version != 0x0600 && version != 0x0500)) {
        danado();
    }
    datos->biff8 = version == 0x0600;
    datos->paginaCodigos = tablaPaginaCodigos(1252);

    std::map<std::uint16_t, std::string> formatos;
    std::vector<std::uint16_t> formatoXf;
    std::vector<std::pair<std::string, std::uint32_t>> hojas;
    for (std::size_t pos = r.siguiente(); leerRegistro(f, pos, r) && r.tipo != kEof; pos = r.siguiente()) {
        switch (r.tipo) {
        case 0x002F: // FILEPASS: the workbook is encrypted
            danado();
        case 0x0042: // CODEPAGE: only BIFF5 text is in it; BIFF8 text is Unicode
            if (!datos->biff8) {
                datos->paginaCodigos = tablaPaginaCodigos(le16(cuerpo(f, r, 2)));
            }
            break;
        case 0x0022: // DATEMODE
            datos->sistema1904 = le16(cuerpo(f, r, 2)) == 1;
            break;
        case 0x0085: // BOUNDSHEET
            anotarHoja(*datos, r, hojas);
            break;
        case 0x041E: { // FORMAT
            LectorRegistro l(f, r);
            const std::uint16_t ifmt = l.u16();
            if (datos->biff8) {
                const std::uint16_t n = l.u16();
                formatos[ifmt] = l.caracteres(n, (l.u8() & 0x01) != 0);
            } else {
                formatos[ifmt] = datos->texto8(l, l.u8());
            }
            break;
        }
        case 0x00E0: // XF
            formatoXf.push_back(le16(cuerpo(f, r, 4) + 2));
            break;
        case 0x00FC: // SST, the shared strings of BIFF8
            if (datos->biff8) {
                leerCadenasCompartidas(*datos, r);
            }
            break;
        default:
            break;
        }
    }

    datos->claseXf.reserve(formatoXf.size());
    for (const std::uint16_t ifmt : formatoXf) {
        const auto it = formatos.find(ifmt);
        datos->claseXf.push_back(it != formatos.end() ? clasificarFormato(it->second)
                                                      : claseIncorporada(ifmt));
    }
    anotarHojasDeCalculo(*datos, hojas);
    return datos;
}

// Cells of a sheet row by row. Excel writes them in row order and then they are read as they come;
// a file that does not gets an index of its cell records, sorted by row.
class CursorXls final : public CursorHoja {
public:
    CursorXls(std::shared_ptr<const DatosLibro> datos, std::size_t inicio) : datos_(std::move(datos)) {
        Registro r;
        if (!leerRegistro(datos_->flujo, inicio, r)) {
            danado();
        }
        inicio_ = r.siguiente();
        bool ordenado = true;
        std::uint16_t anterior = 0;
        recorrer([&](std::uint16_t fila, std::size_t) {
            ordenado = ordenado && fila >= anterior;
            anterior = fila;
        });
        if (!ordenado) {
            std::vector<std::uint64_t> indice;
            recorrer([&](std::uint16_t fila, std::size_t pos) {
                indice.push_back((std::uint64_t{fila} << 40) | pos);
            });
            // Within a row the file's order stays, so a cell written twice keeps its last value.
            std::sort(indice.begin(), indice.end());
            indice_ = std::move(indice);
        }
        pos_ = inicio_;
    }

    bool siguiente(FilaHoja& fila) override {
        fila.numero = 0;
        fila.celdas.clear();
        fila.numericas.clear();
        std::uint16_t numero = 0;
        std::size_t registro = 0;
        bool hay = false;
        try {
            while (mirar(numero, registro)) {
                if (hay && numero + std::int64_t{1} != fila.numero) {
                    break;
                }
                hay = true;
                fila.numero = numero + std::int64_t{1};
                datos_->leerCelda(registro, fila);
                avanzar();
            }
        } catch (...) {
            relanzarComoDanado();
        }
        return hay;
    }

private:
    // Visits the cell records of the sheet itself, not those of a chart embedded in it.
    template <typename Visita> void recorrer(Visita visita) const {
        const Bytes& f = datos_->flujo;
        Registro r;
        int nivel = 1;
        for (std::size_t pos = inicio_; nivel > 0 && leerRegistro(f, pos, r); pos = r.siguiente()) {
            if (r.tipo == kBof) {
                ++nivel;
            } else if (r.tipo == kEof) {
                --nivel;
            } else if (nivel == 1 && esCelda(r.tipo)) {
                visita(le16(cuerpo(f, r, 6)), pos);
            }
        }
    }

    bool mirar(std::uint16_t& fila, std::size_t& registro) {
        if (indice_) {
            if (siguienteIndice_ >= indice_->size()) {
                return false;
            }
            fila = static_cast<std::uint16_t>((*indice_)[siguienteIndice_] >> 40);
            registro =
                static_cast<std::size_t>((*indice_)[siguienteIndice_] & ((std::uint64_t{1} << 40) - 1));
            return true;
        }
        const Bytes& f = datos_->flujo;
        Registro r;
        while (nivel_ > 0 && leerRegistro(f, pos_, r)) {
            if (r.tipo == kBof) {
                ++nivel_;
            } else if (r.tipo == kEof) {
                --nivel_;
            } else if (nivel_ == 1 && esCelda(r.tipo)) {
                fila = le16(cuerpo(f, r, 6));
                registro = pos_;
                siguientePos_ = r.siguiente();
                return true;
            }
            pos_ = r.siguiente();
        }
        nivel_ = 0;
        return false;
    }

    void avanzar() {
        if (indice_) {
            ++siguienteIndice_;
        } else {
            pos_ = siguientePos_;
        }
    }

    std::shared_ptr<const DatosLibro> datos_;
    std::size_t inicio_ = 0;
    std::size_t pos_ = 0;
    std::size_t siguientePos_ = 0;
    int nivel_ = 1;
    std::optional<std::vector<std::uint64_t>> indice_;
    std::size_t siguienteIndice_ = 0;
};

class LibroXls final : public LibroExcel {
public:
    explicit LibroXls(std::shared_ptr<const DatosLibro> datos) : datos_(std::move(datos)) {}

    int columnasMaximas() const override { return static_cast<int>(kColumnasXls); }
    std::int64_t filasMaximas() const override { return kFilasXls; }

    std::vector<std::string> hojas() const override {
        std::vector<std::string> nombres;
        nombres.reserve(datos_->hojas.size());
        for (const auto& h : datos_->hojas) {
            nombres.push_back(h.nombre);
        }
        return nombres;
    }

    std::unique_ptr<CursorHoja> abrirHoja(std::string_view hoja) override {
        const HojaXls* elegida = buscarHoja(datos_->hojas, hoja);
        if (elegida == nullptr) {
            danado();
        }
        try {
            return std::make_unique<CursorXls>(datos_, elegida->inicio);
        } catch (...) {
            relanzarComoDanado();
        }
    }

private:
    std::shared_ptr<const DatosLibro> datos_;
};

} // namespace

std::unique_ptr<LibroExcel> abrirLibroXls(const std::filesystem::path& ruta) {
    try {
        Bytes flujo = leerFlujoLibro(ruta);
        return std::make_unique<LibroXls>(leerGlobales(std::move(flujo)));
    } catch (...) {
        relanzarComoDanado(ruta);
    }
}

} // namespace trovanel
