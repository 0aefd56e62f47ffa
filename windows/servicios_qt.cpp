#include "servicios_qt.hpp"

#include "texto_qt.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

#include <system_error>

namespace trovanel {

namespace {

// A piece made only of patterns ("*.x;*.y"), as the second half of a description and pattern pair.
bool esSoloPatron(const QString& parte) {
    const QString limpia = parte.trimmed();
    return limpia.startsWith(u'*') && !limpia.contains(u'(');
}

} // namespace

QString filtroQt(const std::string& filtro) {
    const QString texto = aQString(filtro);
    if (texto.contains(QStringLiteral(";;")) || !texto.contains(u'|')) {
        return texto;
    }
    const QStringList partes = texto.split(u'|', Qt::SkipEmptyParts);
    QStringList entradas;
    for (qsizetype i = 0; i < partes.size(); ++i) {
        const QString descripcion = partes[i].trimmed();
        if (i + 1 < partes.size() && !esSoloPatron(descripcion) && esSoloPatron(partes[i + 1])) {
            const QString patrones = partes[i + 1].trimmed().replace(u';', u' ');
            // Qt reads the patterns from the parentheses, so a bare description gets them appended.
            entradas << (descripcion.contains(u'(') ? descripcion
                                                    : descripcion + QStringLiteral(" (") + patrones + u')');
            ++i;
        } else {
            entradas << descripcion;
        }
    }
    return entradas.join(QStringLiteral(";;"));
}

std::filesystem::path SelectorFicherosQt::abrirFichero(const std::string& titulo, const std::string& filtro,
                                                       const std::filesystem::path& carpetaInicial) {
    const QString elegido = QFileDialog::getOpenFileName(
        padre_, aQString(titulo), QFile::decodeName(carpetaInicial.c_str()), filtroQt(filtro));
    if (elegido.isEmpty()) {
        return {};
    }
    std::filesystem::path ruta(QFile::encodeName(elegido).toStdString());
    std::error_code error;
    return std::filesystem::is_regular_file(ruta, error) ? ruta : std::filesystem::path{};
}

std::filesystem::path SelectorFicherosQt::guardarFichero(const std::string& titulo,
                                                         const std::filesystem::path& carpetaInicial) {
    const QString elegido =
        QFileDialog::getSaveFileName(padre_, aQString(titulo), QFile::decodeName(carpetaInicial.c_str()),
                                     QString(), nullptr, QFileDialog::DontConfirmOverwrite);
    return elegido.isEmpty() ? std::filesystem::path{}
                             : std::filesystem::path(QFile::encodeName(elegido).toStdString());
}

bool AbridorExternoQt::abrir(const std::string& direccion) {
    if (direccion.find("://") != std::string::npos) {
        const QUrl url = QUrl::fromUserInput(QString::fromStdString(direccion));
        return url.isValid() && QDesktopServices::openUrl(url);
    }
    // The desktop launcher reports success even for a missing file, so look first.
    std::error_code error;
    if (!std::filesystem::exists(direccion, error)) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(direccion.c_str())));
}

} // namespace trovanel
