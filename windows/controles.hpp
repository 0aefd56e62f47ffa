#pragma once

#include "texto_qt.hpp"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QColor;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace trovanel {

class Avisos;
struct EntradaPlantilla;
struct ParteEntrada;
struct ValidacionParte;

// The controls every window builds, named as the windows' descriptions name them so that tests and
// readers find them by objectName. Names and captions given as const char* are the program's own
// Windows-1252 text; QString ones are already Qt text.

template <typename W> W* nombrado(W* control, const QString& nombre) {
    control->setObjectName(nombre);
    return control;
}
template <typename W> W* nombrado(W* control, const char* nombre) {
    return nombrado(control, aQString(nombre));
}

QLabel* etiqueta(const char* nombre, const char* texto, QWidget* padre);
QLabel* etiqueta(const QString& nombre, const QString& texto, QWidget* padre);

// A frame with its caption around a group of controls.
QGroupBox* marco(const char* nombre, const char* titulo, QWidget* padre);

// A list the user chooses from and never types into.
QComboBox* lista(const char* nombre, QWidget* padre);
QComboBox* lista(const QString& nombre, QWidget* padre);

// A text box taking at most longitud characters (0: no limit).
QLineEdit* caja(const char* nombre, int longitud, QWidget* padre);
QLineEdit* caja(const QString& nombre, int longitud, QWidget* padre);
// A text box and its label, named "lab" and the box's name, in one row of a frame's form.
QLineEdit* fila(QFormLayout* formulario, const char* nombre, const char* texto, int longitud, QWidget* padre);

// Account boxes (office, check digits, number, suffix): only digits, "*" and backspace get in, typed or
// pasted; any other key, Enter included, is swallowed, but the clipboard and selection keys work, and
// what they paste keeps only what typing lets in.
void soloCifrasCuenta(QLineEdit* caja);

// The clipboard, selection and undo shortcuts but Paste (copy, cut, select all, undo, redo, deselect):
// they type nothing, so a box that takes only some keys lets them through.
bool teclaDeEdicion(const QKeyEvent* tecla);

// Calls marcar for every key pressed in the box, kept or not, and for every change the user makes
// (typing, deleting, pasting); text the program puts in calls nothing.
void alModificar(QLineEdit* caja, std::function<void()> marcar);

// A button that acts only when clicked: Enter in a text box never presses it.
QPushButton* boton(const char* nombre, const char* texto, QWidget* padre);
// A row of buttons pushed to the right, in the order given.
QHBoxLayout* filaBotones(std::initializer_list<QPushButton*> botones);

void negrita(QWidget* control);

// The least width that shows the window's title whole in a window manager's title bar, beside its icon
// and buttons.
int anchoTitulo(const QWidget* ventana);
// Makes the window's least width show its title whole: called once its layout holds every control.
void reservarTitulo(QWidget* ventana);

// A window that grew is shrunk to the room its screen leaves (never below its least size) and moved
// back inside it, title bar and frame included, so no button is left off the screen.
void mantenerEnPantalla(QWidget* ventana);

// Room for a name of that many characters, whole, in the box.
void anchoParaNombre(QLineEdit* caja, int caracteres);
void colorTexto(QLabel* etiqueta, const QColor& color);

// A file path as the user reads it; paths stay native inside the program.
QString textoRuta(const std::filesystem::path& ruta);

// The id stored with the selected entry of a list, nothing when none is selected.
std::optional<std::int64_t> idSeleccionado(const QComboBox* combo);

// A stored 20-character account shown in its entity, office, check-digit and number boxes.
void mostrarCuenta(const std::string& cuenta, QLineEdit* entidad, QLineEdit* oficina, QLineEdit* dc,
                   QLineEdit* numero);
// The outcome of a party's checks: the account number as its box must show it, then each message in an
// information or an error box. True when the account passed.
bool mostrarValidacion(Avisos& avisos, const ValidacionParte& validacion, QLineEdit* numero);

// A party list filled anew with its signals blocked, the boxes that showed the former choice emptied
// (a null one, a box the window lacks, passed over), and the first party selected; false when there is
// none. The caller then runs the list's handler.
bool llenarListaPartes(QComboBox* lista, const std::vector<ParteEntrada>& partes,
                       std::initializer_list<QLineEdit*> cajas);

// The frame "frameEmisor" of a party and its account, a collection issuer or an ordering party of
// payments: the party's name list, its N.I.F., its suffix (collection issuers only), the bank of the
// stored account (an edit keeps it, so it is read-only), office, check digits, number, and the read-only
// id. The account boxes take only what an account holds; every edit of the user calls modificado. The
// objects keep the issuer's names in both windows ("cbNombreEmi", "tbNifEmi", ...).
struct PanelCuenta {
    QGroupBox* marco;
    QFormLayout* formulario;
    QComboBox* cbNombre;
    QLineEdit* tbNif;
    QLineEdit* tbSuf; // nullptr without a suffix
    QLineEdit* tbEntidad;
    QLineEdit* tbOficina;
    QLineEdit* tbDC;
    QLineEdit* tbCCC;
    QLineEdit* tbId;
};
PanelCuenta panelCuenta(const char* titulo, bool conSufijo, const std::function<void()>& modificado,
                        QWidget* padre);

// The frame "Frame1" of a party window's add panel: the new party's name (of anchoNombre characters),
// N.I.F., suffix when asked for, office, check digits and account number, the account boxes taking only
// digits. The boxes are named "tbAlta" and the field, followed by sufijo except "tbAltaDC".
struct AltaCuenta {
    QGroupBox* marco;
    QFormLayout* formulario;
    QLineEdit* tbNombre;
    QLineEdit* tbNif;
    QLineEdit* tbSuf; // nullptr without a suffix
    QLineEdit* tbOficina;
    QLineEdit* tbDC;
    QLineEdit* tbCuenta;
};
AltaCuenta altaCuenta(const char* titulo, const char* sufijo, int anchoNombre, bool conSufijo,
                      QWidget* padre);

// The layout of a party window: the user list, the frames and the row of buttons one under another, and
// the add panel to their right, hidden until asked for. The window keeps its size and shows its title
// whole.
void colocarVentanaPartes(QWidget* ventana, QComboBox* usuarios, std::initializer_list<QWidget*> marcos,
                          std::initializer_list<QPushButton*> botones, QWidget* alta,
                          Qt::Alignment alineacionAlta = {});

// Runs a read or write of the program's database. A database error is shown, "Error: " and its
// message, in a critical or a plain message box, and false returned.
enum class AvisoError { Simple, Critico };
bool enBaseDatos(Avisos& avisos, const std::function<void()>& accion, AvisoError aviso = AvisoError::Simple);

// Template lists: each entry carries its template's id and type, so the list is the only place that
// knows them.
void anadirPlantilla(QComboBox* combo, const EntradaPlantilla& entrada);
struct PlantillaElegida {
    std::int64_t id = 0;
    std::string tipo; // as stored, untrimmed
};
std::optional<PlantillaElegida> plantillaElegida(const QComboBox* combo);

// Grids: a first grey selector column, then one column per value; whole rows are selected, the header
// row is no entry and nothing is edited in place.
QTableWidget* rejilla(const char* nombre, QWidget* padre);

struct Columna {
    const char* titulo;
    int ancho; // designed width in pixels (twips / 15): the least the column gets
    Qt::Alignment alineacion;
};

// Empties the grid and gives it its columns.
void prepararRejilla(QTableWidget* grid, std::span<const Columna> columnas);

// A row of values after the selector cell, aligned as their column's title.
void anadirFila(QTableWidget* grid, const std::vector<std::string>& celdas);

// Widens every value column to its longest text (never below its designed width) and makes the grid
// ask for room for all its columns, so no value is read by scrolling sideways.
void ajustarColumnas(QTableWidget* grid);

} // namespace trovanel
