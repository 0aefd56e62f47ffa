#pragma once

#include "ventana_partes.hpp"

class QPushButton;

namespace trovanel {

// "Mantenimiento de Cabeceras (Pagos)": the ordering parties of payment files and the users' links to
// them. A thin view over parties/: the rules and the writes live there.
class frmNifSufPagos : public VentanaPartes {
    Q_OBJECT
public:
    explicit frmNifSufPagos(ContextoVentanas contexto, QWidget* padre = nullptr);

    // The ordering party chosen in the list "cbNombreEmi".
    void cbNombreOrdenante_Click();
    void cmdAceptar_Click();
    void cmdAnadir_Click();
    void cmdBaja_Click();

protected:
    void mostrarPartes(const std::vector<ParteEntrada>& partes) override;

private:
    QPushButton* construirAlta();
};

} // namespace trovanel
