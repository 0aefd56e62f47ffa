#include "traducciones.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace trovanel {

QTranslator* cargarTraduccionesQt(QCoreApplication& aplicacion) {
    // The program speaks Spanish whatever the machine's language, so the catalogue is fixed.
    auto traductor = std::make_unique<QTranslator>();
    if (!traductor->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(traductor.get())) {
        return nullptr;
    }
    traductor->setParent(&aplicacion);
    // Dates and sizes that Qt writes (the file dialog's columns) in Spanish too.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    return traductor.release();
}

} // namespace trovanel
