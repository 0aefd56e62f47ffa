#pragma once

class QCoreApplication;
class QTranslator;

namespace trovanel {

// Installs Qt's own Spanish texts (standard buttons, the file dialog) on the application, so that
// what Qt draws speaks the same language as the program. Gives the installed translator, owned by
// the application, or nullptr when the translation is not installed on this system.
QTranslator* cargarTraduccionesQt(QCoreApplication& aplicacion);

} // namespace trovanel
