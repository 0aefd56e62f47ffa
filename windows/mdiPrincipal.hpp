#pragma once

#include "contexto_ventanas.hpp"
#include "programa.hpp"
#include "tipos_plantilla.hpp"

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;

namespace trovanel {

class frmAcercade;
class frmEntrada;
class frmMultifacturas;

// The program's main window: the frame whose menu bar opens every other window.
class mdiPrincipal : public QMainWindow {
    Q_OBJECT

public:
    // manual: the user's manual that "Manual" opens.
    explicit mdiPrincipal(ContextoVentanas contexto, QWidget* padre = nullptr,
                          std::filesystem::path manual = rutaManual());
    ~mdiPrincipal() override;

    void mnuFiltrar_Click();
    void mnuSalir_Click();
    void opcAcercaDe_Click();
    void opcDesFichCtas_Click();
    void opcManual_Click();
    void opcManCobros_Click();
    void opcManPagos_Click();
    void mnuImpFichCue_Click();
    void opcEstructuras_Click();
    void opcExcel_Click();
    void opcAccess_Click();
    void opcExpEst_Click();
    void opcImpEst_Click();
    void opcMultifacturas_Click();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void crearMenus();
    void MDIForm_Load();
    void MDIForm_Unload();
    void abrirEditor(TipoEntrada entrada);

    class SolicitudDatosVentana;

    ContextoVentanas contexto_;
    std::filesystem::path manual_;
    std::unique_ptr<SolicitudDatosVentana> solicitudDatos_;
    QMdiArea* area_;
    // Single instances, created the first time they are asked for.
    frmAcercade* frmAcercade_ = nullptr;
    QPointer<frmMultifacturas> frmMultifacturas_;
};

} // namespace trovanel
