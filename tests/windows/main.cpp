#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows need an application; tests run offscreen without a display, on a laptop's 1366x768
    // screen so that the windows are measured against the smallest screen they must fit.
    QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
    const QString pantalla = QDir::temp().filePath(
        QStringLiteral("trovanel-pantalla-%1.json").arg(QCoreApplication::applicationPid()));
    if (plataforma.isEmpty() || plataforma == "offscreen") {
        QFile configuracion(pantalla);
        if (configuracion.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            configuracion.write(R"({"screens":[{"name":"portatil","x":0,"y":0,"width":1366,"height":768,)"
                                R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
            configuracion.close();
            plataforma = "offscreen:configfile=" + QFile::encodeName(pantalla);
        } else {
            plataforma = "offscreen";
        }
    }
    qputenv("QT_QPA_PLATFORM", plataforma);
    QApplication aplicacion(argc, argv);
    // The platform read it while the application started.
    QFile::remove(pantalla);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
