#include "vista_log.hpp"

#include "modelo_log.hpp"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace trovanel {

VistaLog::VistaLog(QWidget* padre) : QAbstractItemView(padre) {
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    // A long line scrolls sideways whole, as in a list box.
    setTextElideMode(Qt::ElideNone);
}

int VistaLog::filas() const {
    return model() == nullptr ? 0 : model()->rowCount(rootIndex());
}

int VistaLog::altoFila() const {
    if (altoFila_ == 0) {
        QStyleOptionViewItem opcion;
        initViewItemOption(&opcion);
        opcion.text = QStringLiteral("Ag");
        opcion.features |= QStyleOptionViewItem::HasDisplay;
        // The height a list box gives a line of text; no row is read for it.
        altoFila_ =
            std::max(1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &opcion, QSize(), this).height());
    }
    return altoFila_;
}

int VistaLog::filasVisibles() const {
    return std::max(1, viewport()->height() / altoFila());
}

int VistaLog::anchoContenido() const {
    const auto* log = qobject_cast<const ModeloLog*>(model());
    const auto estimado =
        log == nullptr ? 0 : static_cast<qint64>(log->lineaMasLarga()) * fontMetrics().averageCharWidth();
    return static_cast<int>(std::min<qint64>(std::max<qint64>(estimado, anchoVisto_), 1 << 24));
}

QRect VistaLog::visualRect(const QModelIndex& indice) const {
    if (!indice.isValid()) {
        return {};
    }
    return {-horizontalScrollBar()->value(), (indice.row() - verticalScrollBar()->value()) * altoFila(),
            std::max(anchoContenido(), viewport()->width()), altoFila()};
}

void VistaLog::scrollTo(const QModelIndex& indice, ScrollHint pista) {
    if (!indice.isValid()) {
        return;
    }
    const int fila = indice.row();
    const int arriba = verticalScrollBar()->value();
    const int visibles = filasVisibles();
    switch (pista) {
    case PositionAtTop:
        verticalScrollBar()->setValue(fila);
        break;
    case PositionAtBottom:
        verticalScrollBar()->setValue(fila - visibles + 1);
        break;
    case PositionAtCenter:
        verticalScrollBar()->setValue(fila - visibles / 2);
        break;
    case EnsureVisible:
        if (fila < arriba) {
            verticalScrollBar()->setValue(fila);
        } else if (fila >= arriba + visibles) {
            verticalScrollBar()->setValue(fila - visibles + 1);
        }
        break;
    }
    viewport()->update();
}

QModelIndex VistaLog::indexAt(const QPoint& punto) const {
    if (model() == nullptr || punto.y() < 0) {
        return {};
    }
    const int fila = verticalScrollBar()->value() + punto.y() / altoFila();
    return fila < filas() ? model()->index(fila, 0, rootIndex()) : QModelIndex();
}

void VistaLog::keyboardSearch(const QString&) {}

QModelIndex VistaLog::moveCursor(CursorAction accion, Qt::KeyboardModifiers) {
    const int total = filas();
    if (total == 0) {
        return {};
    }
    const int actual = currentIndex().isValid() ? currentIndex().row() : verticalScrollBar()->value();
    int fila = actual;
    switch (accion) {
    case MoveUp:
    case MovePrevious:
        fila = actual - 1;
        break;
    case MoveDown:
    case MoveNext:
        fila = actual + 1;
        break;
    case MovePageUp:
        fila = actual - filasVisibles();
        break;
    case MovePageDown:
        fila = actual + filasVisibles();
        break;
    case MoveHome:
        fila = 0;
        break;
    case MoveEnd:
        fila = total - 1;
        break;
    default:
        break;
    }
    return model()->index(std::clamp(fila, 0, total - 1), 0, rootIndex());
}

int VistaLog::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int VistaLog::verticalOffset() const {
    return verticalScrollBar()->value() * altoFila();
}

bool VistaLog::isIndexHidden(const QModelIndex&) const {
    return false;
}

void VistaLog::setSelection(const QRect& rectangulo, QItemSelectionModel::SelectionFlags marcas) {
    const int total = filas();
    if (total == 0) {
        return;
    }
    const QRect r = rectangulo.normalized();
    const int arriba = verticalScrollBar()->value();
    const int desde = std::clamp(arriba + std::max(0, r.top()) / altoFila(), 0, total - 1);
    const int hasta = std::clamp(arriba + std::max(0, r.bottom()) / altoFila(), 0, total - 1);
    selectionModel()->select(
        QItemSelection(model()->index(desde, 0, rootIndex()), model()->index(hasta, 0, rootIndex())), marcas);
}

QRegion VistaLog::visualRegionForSelection(const QItemSelection& seleccion) const {
    QRegion region;
    const int arriba = verticalScrollBar()->value();
    const int abajo = arriba + filasVisibles();
    for (const QItemSelectionRange& rango : seleccion) {
        const int desde = std::max(rango.top(), arriba);
        const int hasta = std::min(rango.bottom(), abajo);
        if (desde <= hasta) {
            region += QRect(0, (desde - arriba) * altoFila(), viewport()->width(),
                            (hasta - desde + 1) * altoFila());
        }
    }
    return region;
}

void VistaLog::updateGeometries() {
    const int visibles = filasVisibles();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(visibles);
    verticalScrollBar()->setRange(0, std::max(0, filas() - visibles));
    horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, anchoContenido() - viewport()->width()));
    QAbstractItemView::updateGeometries();
}

void VistaLog::rowsInserted(const QModelIndex& padre, int primera, int ultima) {
    QAbstractItemView::rowsInserted(padre, primera, ultima);
    const int arriba = verticalScrollBar()->value();
    const int nuevas = ultima - primera + 1;
    updateGeometries();
    // What the user is reading stays in place while lines come in above it.
    if (!padre.isValid() && primera <= arriba && filas() > nuevas) {
        verticalScrollBar()->setValue(arriba + nuevas);
    }
    viewport()->update();
}

// A new model comes here too: setModel() resets the view.
void VistaLog::reset() {
    QAbstractItemView::reset();
    anchoVisto_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateGeometries();
}

void VistaLog::paintEvent(QPaintEvent* evento) {
    const int total = filas();
    if (total == 0) {
        return;
    }
    QPainter pintor(viewport());
    QStyleOptionViewItem opcion;
    initViewItemOption(&opcion);
    const QStyle::State estado = opcion.state;
    const int alto = altoFila();
    const int arriba = verticalScrollBar()->value();
    const int desde = std::min(total - 1, arriba + evento->rect().top() / alto);
    const int hasta = std::min(total - 1, arriba + evento->rect().bottom() / alto);
    const QModelIndex actual = currentIndex();
    const int anchoAntes = anchoVisto_;
    for (int fila = desde; fila <= hasta; ++fila) {
        const QModelIndex indice = model()->index(fila, 0, rootIndex());
        opcion.rect = visualRect(indice);
        opcion.state = estado;
        if (selectionModel() != nullptr && selectionModel()->isSelected(indice)) {
            opcion.state |= QStyle::State_Selected;
        }
        if (hasFocus() && indice == actual) {
            opcion.state |= QStyle::State_HasFocus;
        }
        QAbstractItemDelegate* delegado = itemDelegateForIndex(indice);
        delegado->paint(&pintor, opcion, indice);
        anchoVisto_ = std::max(anchoVisto_, delegado->sizeHint(opcion, indice).width());
    }
    if (anchoVisto_ > anchoAntes) {
        // Wider than expected: room to scroll to the end of it.
        horizontalScrollBar()->setRange(0, std::max(0, anchoContenido() - viewport()->width()));
    }
}

void VistaLog::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange) {
        altoFila_ = 0;
        anchoVisto_ = 0;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(evento);
}

} // namespace trovanel
