#pragma once

#include "datos_obligatorios.hpp"
#include "modelo_datos.hpp"

#include <QDialog>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace trovanel {

class Avisos;

// "Datos Obligatorios que faltan": one row per mandatory field that the input does not carry.
// Accepted only once every box is filled and the date is right; the close box, Escape and
// "Cancelar" all cancel.
class frmDatos : public QDialog {
    Q_OBJECT
public:
    frmDatos(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
             std::string_view gTipoEstructura, Avisos& avisos, QWidget* parent = nullptr);

    void Command1_Click();
    // Every way out other than Aceptar (this button, the close box, Escape) rejects the dialog, which
    // cancels the run.
    void Command2_Click();

private:
    std::vector<ValorDato> valoresTecleados() const;

    EstadoEjecucion& estado_;
    std::string gTipoEstructura_;
    Avisos& avisos_;
    std::vector<FilaDatos> filas_;
    // The input control of each row, in row order.
    std::vector<QWidget*> controles_;
};

// The windows' answer to the drivers' request for missing data.
class SolicitudDatosQt : public SolicitudDatosObligatorios {
public:
    SolicitudDatosQt(Avisos& avisos, QWidget* parent);
    // Shows frmDatos modally and says whether the user accepted; any other way out cancels the run.
    // Nothing asked: accepted without a window.
    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                  std::string_view gTipoEstructura) override;

private:
    Avisos& avisos_;
    QWidget* parent_;
};

} // namespace trovanel
