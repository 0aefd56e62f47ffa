#pragma once

#include <QAbstractItemView>

namespace trovanel {

// A list of one-line rows of one height that costs nothing per row: it asks its model only for the rows
// it paints, so a log of millions of lines shows at once. Lines inserted above the rows in sight leave
// the user reading the same lines. Typing does not search the list: that would read the whole log.
class VistaLog : public QAbstractItemView {
    Q_OBJECT

public:
    explicit VistaLog(QWidget* padre = nullptr);

    QRect visualRect(const QModelIndex& indice) const override;
    void scrollTo(const QModelIndex& indice, ScrollHint pista = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& punto) const override;
    void keyboardSearch(const QString& buscado) override;

protected:
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& indice) const override;
    void setSelection(const QRect& rectangulo, QItemSelectionModel::SelectionFlags marcas) override;
    QRegion visualRegionForSelection(const QItemSelection& seleccion) const override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex& padre, int primera, int ultima) override;
    void reset() override;
    void paintEvent(QPaintEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    int filas() const;
    int altoFila() const;
    int filasVisibles() const;
    int anchoContenido() const;

    mutable int altoFila_ = 0;
    // The widest row painted so far, which may be wider than the model's estimate.
    mutable int anchoVisto_ = 0;
};

} // namespace trovanel
