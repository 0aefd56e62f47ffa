#pragma once

class QCoreApplication;
class QTranslator;

namespace trovanel {

// Installs Qt's own Spanish texts (standard buttons, the file dialog) on the application and makes
// Spanish Qt's default locale, so that what Qt draws speaks the same language as the program. Gives
// the installed translator, owned by the application, or nullptr (and changes nothing) when the
// translation is not installed on this system. The program's own logic never reads Qt's locale.
QTranslator* cargarTraduccionesQt(QCoreApplication& aplicacion);

} // namespace trovanel
