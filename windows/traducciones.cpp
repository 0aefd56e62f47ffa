#include "traducciones.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace trovanel {

namespace {

// The texts Qt 6 asks for under a context its Spanish catalogue does not carry yet: the file dialog's
// type column would say "Folder" among Spanish words.
class TraduccionesPropias : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* contexto, const char* texto, const char* /*desambiguacion*/,
                      int /*n*/) const override {
        struct Traduccion {
            const char* contexto;
            const char* texto;
            const char* espanol;
        };
        static constexpr Traduccion kTraducciones[] = {
            {"QAbstractFileIconProvider", "Folder", "Carpeta"},
            {"QAbstractFileIconProvider", "File Folder", "Carpeta de ficheros"},
            {"QAbstractFileIconProvider", "Drive", "Unidad"},
            {"QAbstractFileIconProvider", "File", "Fichero"},
            {"QAbstractFileIconProvider", "%1 File", "Fichero %1"},
            {"QAbstractFileIconProvider", "Shortcut", "Acceso directo"},
            {"QAbstractFileIconProvider", "Unknown", "Desconocido"},
        };
        for (const Traduccion& t : kTraducciones) {
            if (qstrcmp(contexto, t.contexto) == 0 && qstrcmp(texto, t.texto) == 0) {
                return QString::fromUtf8(t.espanol);
            }
        }
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

QTranslator* cargarTraduccionesQt(QCoreApplication& aplicacion) {
    // The program speaks Spanish whatever the machine's language, so the catalogue is fixed.
    auto traductor = std::make_unique<QTranslator>();
    if (!traductor->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(traductor.get())) {
        return nullptr;
    }
    traductor->setParent(&aplicacion);
    // Searched before Qt's catalogue, and removed with it.
    QCoreApplication::installTranslator(new TraduccionesPropias(traductor.get()));
    // Dates and sizes that Qt writes (the file dialog's columns) in Spanish too.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    return traductor.release();
}

} // namespace trovanel
