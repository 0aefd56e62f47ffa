#pragma once

#include "contexto_ventanas.hpp"
#include "controles.hpp"
#include "partes.hpp"

#include <QDialog>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace trovanel {

struct DatosParte;
struct ValidacionParte;

// What the two party windows share: the user list, the frame "frameEmisor" of the chosen party and its
// account, the add panel, and the steps their handlers take alike.
class VentanaPartes : public QDialog {
    Q_OBJECT
public:
    // The user list filled anew ("Admin" first for an administrator), then its handler run.
    void CargarUsuarios();
    // The parties of the chosen user listed (mostrarPartes()), cmdBaja enabled when there is one.
    void cbUsuarios_Click();
    // Shows or hides the add panel.
    void cmdAlta_Click();
    void cmdCancelar_Click();

    bool modificado() const { return mModificado; }

protected:
    // clase: the parties listed; avisoUsuarios: how a failed read of the users is shown;
    // conservaUsuario: a reload keeps the chosen user rather than the first.
    VentanaPartes(ContextoVentanas contexto, ClaseParte clase, AvisoError avisoUsuarios, bool conservaUsuario,
                  QWidget* padre);

    // The chosen user's parties, in the window's lists.
    virtual void mostrarPartes(const std::vector<ParteEntrada>& partes) = 0;

    // The frame "frameEmisor" titled titulo, with a suffix box or not; each edit of the user marks the
    // window modified.
    void construirMarco(const char* titulo, bool conSufijo);
    // The user list, cmdAlta and cmdCancelar connected to their handlers.
    void conectarComunes(QPushButton* cmdAlta, QPushButton* cmdCancelar);
    // The frame's list filled anew with the parties and its boxes emptied (llenarListaPartes()).
    bool llenarMarco(const std::vector<ParteEntrada>& partes);
    // The party chosen in the frame's list, read by leer (leerEmisor, leerOrdenante), shown in the frame:
    // its N.I.F., suffix (when the frame has its box), id and account.
    template <typename Leer> void mostrarElegida(Leer leer) {
        const auto id = idSeleccionado(cuenta_.cbNombre);
        if (!id) {
            return;
        }
        decltype(leer(contexto_.baseDatos, *id)) parte;
        if (enBaseDatos(contexto_.avisos, [&] { parte = leer(contexto_.baseDatos, *id); }) && parte) {
            mostrarParte(parte->nif, parte->sufijo, parte->id, parte->cuenta);
        }
    }
    // The frame's N.I.F., suffix, entity, office, check digits and number as typed.
    DatosParte datosDelMarco() const;
    // An edit passed its checks, changed something, and the user wants it kept.
    bool guardarCambios(const ValidacionParte& validacion);
    // The user an add is for; nothing, after the message, when there is none to link it to.
    std::optional<std::string> usuarioDelAlta(const char* sinUsuario);
    // The add frame's name, N.I.F., suffix (when it has the box), office, check digits and number as typed.
    DatosParte datosDelAlta() const;
    // An add done: said so, the add frame's boxes and the others emptied, the panel hidden.
    void altaRealizada(std::initializer_list<QLineEdit*> otras);

    ContextoVentanas contexto_;
    // The frame "frameEmisor": the chosen party and its account.
    PanelCuenta cuenta_{};
    bool mModificado = false;
    QComboBox* cbUsuarios_;
    // Deletes the chosen party: enabled only while the user has one.
    QPushButton* cmdBaja_ = nullptr;
    // The add panel, hidden until cmdAlta is pressed, and its frame "Frame1" of the new party and its
    // account (the issuer's, in collections).
    QWidget* panelAlta_ = nullptr;
    AltaCuenta alta_{};

private:
    void mostrarParte(const std::string& nif, const std::string& sufijo, std::int64_t id,
                      const std::string& cuenta);

    ClaseParte clase_;
    AvisoError avisoUsuarios_;
    bool conservaUsuario_;
};

// A box's text as the program keeps it.
std::string textoDe(const QLineEdit* caja);

} // namespace trovanel
