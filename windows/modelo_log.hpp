#pragma once

#include <QAbstractListModel>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace trovanel {

// The lines of an error log as a list that reads the file only where it is looked at. A log gains a
// block with every run and may hold millions of lines: the model keeps the start of one line in
// kLineasPorPagina and a few pages of text, never the whole log. The lines from the run's start to the
// end are indexed when they are listed; the earlier runs, which the list shows above them, a slice at a
// time, each slice's lines inserted just above the run's first line.
class ModeloLog : public QAbstractListModel {
    Q_OBJECT

public:
    explicit ModeloLog(QObject* padre = nullptr);

    // Opens the log as it is now, reading none of its lines: the list shows that file and those bytes,
    // even if the log is removed or replaced meanwhile. The run's lines are from inicioEjecucion, or from
    // the start when the log is shorter than that. False when the log cannot be read: the list stays empty.
    bool abrir(const std::filesystem::path& log, std::uintmax_t inicioEjecucion);
    // Indexes and lists the run's lines, once, after abrir.
    void listar();
    // Indexes up to bytes more of the earlier runs, after listar. False once all of them are in.
    bool cargarAnteriores(std::uintmax_t bytes);
    bool cargando() const;
    // Bytes of the longest line indexed, for the room the view leaves.
    std::uintmax_t lineaMasLarga() const;
    // Forgets the log and everything read from it.
    void cerrar();

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;

private:
    // One stretch of the file: the earlier runs, or this run.
    struct Tramo {
        std::uintmax_t fin = 0;      // where the stretch ends in the file
        std::uintmax_t leido = 0;    // indexed up to here
        std::uintmax_t comienzo = 0; // start of the line whose end is not found yet
        int lineas = 0;
        // Start of lines 0, kLineasPorPagina, 2 × kLineasPorPagina...
        std::vector<std::uint64_t> marcas;
    };
    struct Pagina {
        const Tramo* tramo = nullptr;
        std::size_t numero = 0;
        std::vector<QString> lineas;
    };

    // Everything read from the log forgotten and the log closed, between a reset's begin and end.
    void olvidar();
    // Indexes up to bytes more of the stretch; the lines it found whole.
    int indexar(Tramo& tramo, std::uintmax_t bytes);
    const Pagina& pagina(const Tramo& tramo, std::size_t numero) const;
    // Up to bytes of the log from desde on; how many were read.
    std::size_t leer(std::uint64_t desde, char* destino, std::size_t bytes) const;

    mutable std::ifstream fichero_;
    Tramo anteriores_;
    Tramo ejecucion_;
    std::uintmax_t lineaMasLarga_ = 0;
    // The pages read last, the most recent first.
    mutable std::vector<Pagina> paginas_;
};

} // namespace trovanel
