#pragma once

#include "contexto_ventanas.hpp"

#include <QFileDialog>
#include <QString>

#include <memory>

namespace trovanel {

// The common file dialog of the desktop.
class SelectorFicherosQt : public SelectorFicheros {
public:
    explicit SelectorFicherosQt(QWidget* padre = nullptr) : padre_(padre) {}
    void setPadre(QWidget* padre) { padre_ = padre; }

    // filtro is either Qt's own form ("A (*.x);;B (*)") or pipe-separated ("A (*.x *.y)|B (*)", or
    // description and pattern pairs "A|*.x;*.y").
    std::filesystem::path abrirFichero(const std::string& titulo, const std::string& filtro,
                                       const std::filesystem::path& carpetaInicial) override;
    std::filesystem::path guardarFichero(const std::string& titulo,
                                         const std::filesystem::path& carpetaInicial) override;

private:
    QWidget* padre_;
};

// The file dialog the selector shows, built but not yet shown.
std::unique_ptr<QFileDialog> crearDialogoFicheros(QWidget* padre, const QString& titulo,
                                                  const QString& carpeta, const QString& filtro,
                                                  QFileDialog::AcceptMode modo);

// The filter text as QFileDialog takes it.
QString filtroQt(const std::string& filtro);

// Files and addresses open with the desktop's default handler.
class AbridorExternoQt : public AbridorExterno {
public:
    // An address with a scheme opens as given; anything else is a local file, which must exist.
    bool abrir(const std::string& direccion) override;
};

} // namespace trovanel
