#include "servicios_qt.hpp"

#include "origen_access.hpp"
#include "texto_qt.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QStringList>
#include <QTreeView>
#include <QUrl>

#include <system_error>

namespace trovanel {

namespace {

// A piece made only of patterns ("*.x;*.y"), as the second half of a description and pattern pair.
bool esSoloPatron(const QString& parte) {
    const QString limpia = parte.trimmed();
    return limpia.startsWith(u'*') && !limpia.contains(u'(');
}

// An entry that lists Access and SQLite files together: first both, then each kind under its own name, so
// that SQLite files are never called Access databases.
QStringList separarBasesDatos(const QString& entrada) {
    static const QRegularExpression kPatrones(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch partes = kPatrones.match(entrada);
    if (!partes.hasMatch()) {
        return {entrada};
    }
    QStringList access;
    QStringList sqlite;
    for (const QString& patron : partes.captured(2).split(u' ', Qt::SkipEmptyParts)) {
        const ClaseBaseDatos clase =
            patron.startsWith(u'*') ? claseBaseDatos(desdeQString(patron.mid(1))) : ClaseBaseDatos::Ninguna;
        if (clase == ClaseBaseDatos::Access) {
            access << patron;
        } else if (clase == ClaseBaseDatos::Sqlite) {
            sqlite << patron;
        } else {
            return {entrada};
        }
    }
    if (access.isEmpty() || sqlite.isEmpty()) {
        return {entrada};
    }
    const QString nombre = partes.captured(1).trimmed();
    return {
        QStringLiteral("Bases de datos Access y SQLite (%1 %2)").arg(access.join(u' '), sqlite.join(u' ')),
        QStringLiteral("%1 (%2)").arg(nombre, access.join(u' ')),
        QStringLiteral("Base de datos SQLite (%1)").arg(sqlite.join(u' '))};
}

QString filtroSinSeparar(const std::string& filtro) {
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

} // namespace

QString filtroQt(const std::string& filtro) {
    QStringList entradas;
    for (const QString& entrada : filtroSinSeparar(filtro).split(QStringLiteral(";;"))) {
        entradas << separarBasesDatos(entrada);
    }
    return entradas.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> crearDialogoFicheros(QWidget* padre, const QString& titulo,
                                                  const QString& carpeta, const QString& filtro,
                                                  QFileDialog::AcceptMode modo) {
    auto dialogo = std::make_unique<QFileDialog>(padre, titulo, carpeta, filtro);
    dialogo->setAcceptMode(modo);
    if (modo == QFileDialog::AcceptOpen) {
        dialogo->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialogo->setFileMode(QFileDialog::AnyFile);
        dialogo->setOption(QFileDialog::DontConfirmOverwrite);
    }
    // Qt's own dialog (no desktop one): names are read whole, not cut in the middle by a narrow column.
    auto* vista = dialogo->findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* modelo = dialogo->findChild<QFileSystemModel*>();
    if (vista != nullptr && modelo != nullptr) {
        QObject::connect(modelo, &QFileSystemModel::directoryLoaded, vista,
                         [vista] { vista->resizeColumnToContents(0); });
    }
    return dialogo;
}

namespace {

QString elegido(QFileDialog& dialogo) {
    return dialogo.exec() == QDialog::Accepted ? dialogo.selectedFiles().value(0) : QString();
}

} // namespace

std::filesystem::path SelectorFicherosQt::abrirFichero(const std::string& titulo, const std::string& filtro,
                                                       const std::filesystem::path& carpetaInicial) {
    const std::unique_ptr<QFileDialog> dialogo =
        crearDialogoFicheros(padre_, aQString(titulo), QFile::decodeName(carpetaInicial.c_str()),
                             filtroQt(filtro), QFileDialog::AcceptOpen);
    const QString ruta = elegido(*dialogo);
    if (ruta.isEmpty()) {
        return {};
    }
    std::filesystem::path resultado(QFile::encodeName(ruta).toStdString());
    std::error_code error;
    return std::filesystem::is_regular_file(resultado, error) ? resultado : std::filesystem::path{};
}

std::filesystem::path SelectorFicherosQt::guardarFichero(const std::string& titulo,
                                                         const std::filesystem::path& carpetaInicial) {
    const std::unique_ptr<QFileDialog> dialogo =
        crearDialogoFicheros(padre_, aQString(titulo), QFile::decodeName(carpetaInicial.c_str()), QString(),
                             QFileDialog::AcceptSave);
    const QString ruta = elegido(*dialogo);
    return ruta.isEmpty() ? std::filesystem::path{}
                          : std::filesystem::path(QFile::encodeName(ruta).toStdString());
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
