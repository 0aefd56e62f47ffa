#include "avisos_qt.hpp"

#include "cursor_qt.hpp"
#include "texto_qt.hpp"

#include <QMessageBox>

namespace trovanel {

namespace {
const QString kTitulo = QStringLiteral("Trovanel");

void mostrar(QWidget* padre, QMessageBox::Icon icono, const std::string& texto) {
    const CursorNormal cursor;
    QMessageBox caja(icono, kTitulo, aQString(texto), QMessageBox::Ok, padre);
    caja.exec();
}
} // namespace

void AvisosQt::informacion(const std::string& texto) {
    mostrar(padre_, QMessageBox::Information, texto);
}
void AvisosQt::critico(const std::string& texto) {
    mostrar(padre_, QMessageBox::Critical, texto);
}
void AvisosQt::simple(const std::string& texto) {
    mostrar(padre_, QMessageBox::NoIcon, texto);
}

bool AvisosQt::pregunta(const std::string& texto) {
    const CursorNormal cursor;
    QMessageBox caja(QMessageBox::Question, kTitulo, aQString(texto), QMessageBox::Yes | QMessageBox::No,
                     padre_);
    return caja.exec() == QMessageBox::Yes;
}

} // namespace trovanel
