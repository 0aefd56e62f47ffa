#include "frmNifSufPagos.hpp"

#include "constructor_datos.hpp"
#include "partes.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace trovanel::pruebas {
namespace {

using Mensaje = AvisosGrabados::Mensaje;
using V = std::vector<std::string>;

void escoger(QComboBox* combo, const std::string& texto) {
    const int indice = combo->findText(aQString(texto));
    ASSERT_GE(indice, 0) << texto;
    combo->setCurrentIndex(indice);
    emit combo->activated(indice);
}

V textos(const QComboBox* combo) {
    V resultado;
    for (int i = 0; i < combo->count(); ++i) {
        resultado.push_back(desdeQString(combo->itemText(i)));
    }
    return resultado;
}

// Administrator on; one ordering party "PAGOS UNO" linked to "ana".
class FrmNifSufPagos : public testing::Test {
protected:
    FrmNifSufPagos() {
        entorno.estado.gAdministrador = true;
        ConstructorPresentador(*entorno.baseDatos)
            .tipo("pagos")
            .csb("pagos")
            .nombre("PAGOS UNO")
            .nif("B11111111")
            .cuenta("86420001610123456789")
            .usuario("ana")
            .crear();
    }
    QLineEdit* box(QWidget* v, const char* nombre) { return hijo<QLineEdit>(v, nombre); }
    void pulsar(QWidget* v, const char* nombre) {
        QTest::mouseClick(hijo<QPushButton>(v, nombre), Qt::LeftButton);
    }
    void rellenarAlta(QWidget* v, const V& valores) {
        const char* cajas[] = {"tbAltaNombre", "tbAltaNif", "tbAltaOficina", "tbAltaDC", "tbAltaCuenta"};
        for (std::size_t i = 0; i < valores.size(); ++i) {
            box(v, cajas[i])->setText(aQString(valores[i]));
        }
    }

    EntornoVentanas entorno;
};

TEST_F(FrmNifSufPagos, anadeCambiaYDaDeBajaOrdenantesConSusMensajesEnOrden) {
    frmNifSufPagos v(entorno.contexto());
    v.show();
    auto* cbUsuarios = hijo<QComboBox>(&v, "cbUsuarios");
    auto* cbNombreEmi = hijo<QComboBox>(&v, "cbNombreEmi");
    EXPECT_EQ(textos(cbUsuarios), (V{"Admin", "ana"}));
    EXPECT_EQ(box(&v, "tbOficinaEmi")->text(), QStringLiteral("0001"));
    EXPECT_EQ(box(&v, "tbDC")->text(), QStringLiteral("61"));
    EXPECT_EQ(box(&v, "tbCCC")->text(), QStringLiteral("0123456789"));

    escoger(cbUsuarios, "ana");
    pulsar(&v, "cmdAlta");
    EXPECT_FALSE(hijo<QGroupBox>(&v, "Frame1")->isHidden());
    // Refused first: an 8-digit account, then a missing DC; then a ZOP account with its DC left empty.
    rellenarAlta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "12345678"});
    pulsar(&v, "cmdAñadir");
    rellenarAlta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "123456789"});
    pulsar(&v, "cmdAñadir");
    EXPECT_EQ(box(&v, "tbAltaCuenta")->text(), QStringLiteral("0123456789"));
    rellenarAlta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "630000001"});
    pulsar(&v, "cmdAñadir");
    EXPECT_EQ(entorno.avisos.mensajes,
              (std::vector<Mensaje>{{"informacion", "Compruebe los datos por favor"},
                                    {"critico", "El DC es obligatorio"},
                                    {"informacion", "Alta realizada correctamente"}}));
    EXPECT_TRUE(hijo<QGroupBox>(&v, "Frame1")->isHidden());
    EXPECT_EQ(cbUsuarios->currentText(), QStringLiteral("Admin"));
    EXPECT_EQ(textos(cbNombreEmi), (V{"PAGOS UNO", "L'ORDENANTE"}));
    EXPECT_EQ(usuariosDeTipo(*entorno.baseDatos, "ZOP"), V{"ana"});

    // The same NIF and account again, under another spelling of the user: only the message.
    entorno.avisos.mensajes.clear();
    rellenarAlta(&v, {"OTRO", "B1234567'", "1234", "", "0630000001"});
    pulsar(&v, "cmdAñadir");
    EXPECT_EQ(entorno.avisos.mensajes,
              (std::vector<Mensaje>{{"informacion", "El Ordenante ya existe en la base de datos"}}));

    // An edit asks before saving, and only after something was typed.
    entorno.avisos.mensajes.clear();
    escoger(cbNombreEmi, "L'ORDENANTE");
    pulsar(&v, "cmdAceptar");
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    box(&v, "tbNifEmi")->setFocus();
    QTest::keyClick(box(&v, "tbNifEmi"), Qt::Key_Backspace);
    QTest::keyClicks(box(&v, "tbNifEmi"), "9");
    entorno.avisos.respuestas = {false, true};
    pulsar(&v, "cmdAceptar");
    EXPECT_TRUE(v.modificado());
    pulsar(&v, "cmdAceptar");
    EXPECT_FALSE(v.modificado());
    const auto id = partesDeUsuario(*entorno.baseDatos, ClaseParte::Pagos, "Admin").back().id;
    EXPECT_EQ(leerPresentador(*entorno.baseDatos, id)->nif, "B12345679");
    EXPECT_EQ(leerPresentador(*entorno.baseDatos, id)->cuenta, "86421234  0630000001");

    // Deleting as "ana" removes her link; as "Admin", the party.
    escoger(cbUsuarios, "ana");
    escoger(cbNombreEmi, "L'ORDENANTE");
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBaja");
    EXPECT_EQ(cbUsuarios->currentText(), QStringLiteral("ana"));
    EXPECT_EQ(textos(cbNombreEmi), (V{"PAGOS UNO"}));
    escoger(cbUsuarios, "Admin");
    escoger(cbNombreEmi, "L'ORDENANTE");
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBaja");
    EXPECT_EQ(textos(cbNombreEmi), (V{"PAGOS UNO"}));
    EXPECT_EQ(entorno.avisos.mensajes.back(), (Mensaje{"pregunta", "¿Desea dar de baja el ordenante?"}));
}

TEST_F(FrmNifSufPagos, lasCajasDeCuentaSoloAdmitenCifrasYCualquierEdicionMarcaElCambio) {
    frmNifSufPagos v(entorno.contexto());
    v.show();
    QLineEdit* oficina = box(&v, "tbOficinaEmi");
    oficina->clear();
    QTest::keyClicks(oficina, "a1*b");
    EXPECT_EQ(oficina->text(), QStringLiteral("1*"));
    EXPECT_TRUE(v.modificado());
    // Pasting is an edit too, and what the account rules refuse does not get in.
    frmNifSufPagos otra(entorno.contexto());
    otra.show();
    QLineEdit* cuenta = box(&otra, "tbCCC");
    cuenta->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
    cuenta->paste();
    EXPECT_TRUE(cuenta->text().isEmpty());
    QGuiApplication::clipboard()->setText(QStringLiteral("12*"));
    cuenta->paste();
    EXPECT_EQ(cuenta->text(), QStringLiteral("12*"));
    EXPECT_TRUE(otra.modificado());
    // Enter in a box presses no button.
    QTest::keyClick(box(&v, "tbNifEmi"), Qt::Key_Return);
    QTest::keyClick(oficina, Qt::Key_Return);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(FrmNifSufPagos, unaBaseDeDatosQueFallaSeAvisaYLaVentanaSigueUsable) {
    entorno.baseDatos->copiarA(entorno.carpeta / "lectura.db");
    BaseDatos lectura = BaseDatos::abrir(entorno.carpeta / "lectura.db", BaseDatos::Modo::SoloLectura);
    ContextoVentanas contexto = entorno.contexto();
    ContextoVentanas soloLectura{
        contexto.estado,          lectura,           contexto.avisos,   contexto.reloj,
        contexto.carpetaPrograma, contexto.registro, contexto.selector, contexto.abridor};
    frmNifSufPagos v(soloLectura);
    v.show();
    rellenarAlta(&v, {"NUEVO", "B22222222", "0001", "61", "0123456789"});
    pulsar(&v, "cmdAñadir");
    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].tipo, "simple");
    EXPECT_EQ(entorno.avisos.mensajes[0].texto.rfind("Error: ", 0), 0u);
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"PAGOS UNO"}));
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBaja");
    EXPECT_EQ(entorno.avisos.mensajes.back().texto.rfind("Error: ", 0), 0u);
    EXPECT_EQ(partesDeUsuario(lectura, ClaseParte::Pagos, "Admin").size(), 1u);
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"PAGOS UNO"}));
}

} // namespace
} // namespace trovanel::pruebas
