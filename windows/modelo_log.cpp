#include "modelo_log.hpp"

#include "texto_qt.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace trovanel {

namespace {

constexpr std::size_t kLineasPorPagina = 128;
// Pages kept read: more than a list shows at once, scrolled a page either way.
constexpr std::size_t kPaginasGuardadas = 8;
constexpr std::size_t kBloqueLectura = std::size_t{1} << 20;
// Rows of a Qt list are counted in int; the bound is checked once a block, which may add a block of lines.
constexpr int kMaxLineas = std::numeric_limits<int>::max() - static_cast<int>(kBloqueLectura) - 1;

} // namespace

ModeloLog::ModeloLog(QObject* padre) : QAbstractListModel(padre) {}

bool ModeloLog::abrir(const std::filesystem::path& log, std::uintmax_t inicioEjecucion) {
    beginResetModel();
    olvidar();
    // Opened by its path as it is: the log's name need not be valid UTF-8.
    fichero_.open(log, std::ios::binary);
    std::error_code error;
    const std::uintmax_t tamano = std::filesystem::file_size(log, error);
    const bool abierto = fichero_.is_open() && !error;
    if (abierto) {
        // A log shorter than before the run was replaced meanwhile: all of it is this run's.
        const std::uintmax_t inicio = inicioEjecucion > tamano ? 0 : inicioEjecucion;
        anteriores_.fin = inicio;
        ejecucion_ = {tamano, inicio, inicio, 0, {}};
    } else {
        fichero_.close();
    }
    endResetModel();
    return abierto;
}

void ModeloLog::listar() {
    beginResetModel();
    indexar(ejecucion_, ejecucion_.fin - ejecucion_.leido);
    endResetModel();
}

bool ModeloLog::cargarAnteriores(std::uintmax_t bytes) {
    if (!cargando()) {
        return false;
    }
    const int antes = anteriores_.lineas;
    const int halladas = indexar(anteriores_, bytes);
    if (halladas > 0) {
        // The view counts the rows only once they are announced.
        anteriores_.lineas = antes;
        beginInsertRows(QModelIndex(), antes, antes + halladas - 1);
        anteriores_.lineas = antes + halladas;
        // The last page of the earlier runs has just grown.
        std::erase_if(paginas_, [this](const Pagina& p) { return p.tramo == &anteriores_; });
        endInsertRows();
    }
    return cargando();
}

bool ModeloLog::cargando() const {
    return fichero_.is_open() && anteriores_.leido < anteriores_.fin;
}

std::uintmax_t ModeloLog::lineaMasLarga() const {
    return lineaMasLarga_;
}

void ModeloLog::cerrar() {
    beginResetModel();
    olvidar();
    endResetModel();
}

void ModeloLog::olvidar() {
    fichero_.close();
    anteriores_ = {};
    ejecucion_ = {};
    paginas_ = {};
    lineaMasLarga_ = 0;
}

int ModeloLog::indexar(Tramo& tramo, std::uintmax_t bytes) {
    std::vector<char> bloque(static_cast<std::size_t>(std::min<std::uintmax_t>(kBloqueLectura, bytes)));
    const std::uintmax_t hasta = std::min(tramo.fin, tramo.leido + bytes);
    const int antes = tramo.lineas;
    // A line counts once its end is known, so a row never changes its text when more is indexed.
    const auto anotar = [&](std::uintmax_t finLinea) {
        if (tramo.lineas % kLineasPorPagina == 0) {
            tramo.marcas.push_back(tramo.comienzo);
        }
        ++tramo.lineas;
        lineaMasLarga_ = std::max(lineaMasLarga_, finLinea - tramo.comienzo);
    };
    while (tramo.leido < hasta && anteriores_.lineas + ejecucion_.lineas < kMaxLineas) {
        const auto pedir =
            static_cast<std::size_t>(std::min<std::uintmax_t>(bloque.size(), hasta - tramo.leido));
        const std::size_t leidos = leer(tramo.leido, bloque.data(), pedir);
        if (leidos == 0) {
            break;
        }
        const char* desde = bloque.data();
        const char* ultimo = desde + leidos;
        while (const char* salto = static_cast<const char*>(
                   std::memchr(desde, '\n', static_cast<std::size_t>(ultimo - desde)))) {
            const std::uintmax_t fin = tramo.leido + static_cast<std::uintmax_t>(salto + 1 - bloque.data());
            anotar(fin);
            tramo.comienzo = fin;
            desde = salto + 1;
        }
        tramo.leido += static_cast<std::uintmax_t>(leidos);
    }
    if (tramo.leido < hasta) {
        // The file shrank or failed: what could not be read is not shown.
        tramo.fin = tramo.leido;
    }
    // The last line of a stretch need not end in a line end.
    if (tramo.leido >= tramo.fin && tramo.comienzo < tramo.fin) {
        anotar(tramo.fin);
        tramo.comienzo = tramo.fin;
    }
    return tramo.lineas - antes;
}

const ModeloLog::Pagina& ModeloLog::pagina(const Tramo& tramo, std::size_t numero) const {
    const auto guardada = std::find_if(paginas_.begin(), paginas_.end(), [&](const Pagina& p) {
        return p.tramo == &tramo && p.numero == numero;
    });
    if (guardada != paginas_.end()) {
        std::rotate(paginas_.begin(), guardada, guardada + 1);
        return paginas_.front();
    }
    Pagina nueva{&tramo, numero, {}};
    const std::uint64_t desde = tramo.marcas[numero];
    const std::uint64_t hasta = numero + 1 < tramo.marcas.size() ? tramo.marcas[numero + 1] : tramo.comienzo;
    std::string texto(static_cast<std::size_t>(hasta - desde), '\0');
    if (leer(desde, texto.data(), texto.size()) == texto.size()) {
        std::string_view resto(texto);
        while (!resto.empty()) {
            const std::size_t salto = resto.find('\n');
            std::string_view linea = resto.substr(0, salto);
            if (!linea.empty() && linea.back() == '\r') {
                linea.remove_suffix(1);
            }
            nueva.lineas.push_back(aQString(linea));
            resto.remove_prefix(salto == std::string_view::npos ? resto.size() : salto + 1);
        }
    }
    if (paginas_.size() == kPaginasGuardadas) {
        paginas_.pop_back();
    }
    paginas_.insert(paginas_.begin(), std::move(nueva));
    return paginas_.front();
}

std::size_t ModeloLog::leer(std::uint64_t desde, char* destino, std::size_t bytes) const {
    fichero_.clear();
    if (!fichero_.seekg(static_cast<std::streamoff>(desde))) {
        return 0;
    }
    fichero_.read(destino, static_cast<std::streamsize>(bytes));
    return static_cast<std::size_t>(fichero_.gcount());
}

int ModeloLog::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : anteriores_.lineas + ejecucion_.lineas;
}

QVariant ModeloLog::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid() || indice.row() >= rowCount()) {
        return {};
    }
    const bool anterior = indice.row() < anteriores_.lineas;
    const Tramo& tramo = anterior ? anteriores_ : ejecucion_;
    const auto fila = static_cast<std::size_t>(anterior ? indice.row() : indice.row() - anteriores_.lineas);
    const Pagina& p = pagina(tramo, fila / kLineasPorPagina);
    const std::size_t enPagina = fila % kLineasPorPagina;
    // A log cut short under the window since it was indexed shows blank rows where it cannot be read.
    return enPagina < p.lineas.size() ? p.lineas[enPagina] : QString();
}

} // namespace trovanel
