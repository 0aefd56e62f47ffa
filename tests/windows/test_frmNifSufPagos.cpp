#include "frmNifSufPagos.hpp"

#include "constructor_datos.hpp"
#include "importacion_cuentas.hpp"
#include "partes.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
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

// Administrator on; one ordering party "PAGOS UNO" linked to "ana".
class FrmNifSufPagos : public PruebaVentana {
protected:
    FrmNifSufPagos() {
        ConstructorPresentador(*entorno.baseDatos)
            .tipo("pagos")
            .csb("pagos")
            .nombre("PAGOS UNO")
            .nif("B11111111")
            .cuenta("86420001610123456789")
            .usuario("ana")
            .crear();
    }
    // Name, NIF, office, DC, account; then "Añadir".
    void alta(QWidget* v, const V& valores) {
        rellenar(v, {"tbAltaNombre", "tbAltaNif", "tbAltaOficina", "tbAltaDC", "tbAltaCuenta"}, valores);
        pulsar(v, "cmdAñadir");
    }
};

TEST_F(FrmNifSufPagos, anadeCambiaYDaDeBajaOrdenantesConSusMensajesEnOrden) {
    frmNifSufPagos v(entorno.contexto());
    v.show();
    auto* cbUsuarios = hijo<QComboBox>(&v, "cbUsuarios");
    auto* cbNombreEmi = hijo<QComboBox>(&v, "cbNombreEmi");
    EXPECT_EQ(textos(cbUsuarios), (V{"Admin", "ana"}));
    for (auto [caja, texto] : {std::pair{"tbOficinaEmi", "0001"}, {"tbDC", "61"}, {"tbCCC", "0123456789"}}) {
        EXPECT_EQ(box(&v, caja)->text(), QString::fromLatin1(texto)) << caja;
    }

    escoger(cbUsuarios, "ana");
    pulsar(&v, "cmdAlta");
    EXPECT_FALSE(hijo<QGroupBox>(&v, "Frame1")->isHidden());
    // Refused first: an 8-digit account, then a missing DC; then a ZOP account with its DC left empty.
    alta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "12345678"});
    alta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "123456789"});
    EXPECT_EQ(box(&v, "tbAltaCuenta")->text(), QStringLiteral("0123456789"));
    alta(&v, {"L'ORDENANTE", "B1234567'", "1234", "", "630000001"});
    EXPECT_EQ(mensajes(), (V{"informacion: Compruebe los datos por favor", "critico: El DC es obligatorio",
                             "informacion: Alta realizada correctamente"}));
    EXPECT_TRUE(hijo<QGroupBox>(&v, "Frame1")->isHidden());
    EXPECT_EQ(cbUsuarios->currentText(), QStringLiteral("Admin"));
    EXPECT_EQ(textos(cbNombreEmi), (V{"PAGOS UNO", "L'ORDENANTE"}));
    EXPECT_EQ(usuariosDeTipo(*entorno.baseDatos, "ZOP"), V{"ana"});

    // The same NIF and account again, under another spelling of the user: only the message.
    alta(&v, {"OTRO", "B1234567'", "1234", "", "0630000001"});
    EXPECT_EQ(mensajes(), V{"informacion: El Ordenante ya existe en la base de datos"});

    // An edit asks before saving, and only after something was typed.
    escoger(cbNombreEmi, "L'ORDENANTE");
    pulsar(&v, "cmdAceptar");
    EXPECT_EQ(mensajes(), V{});
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
    for (const char* usuario : {"ana", "Admin"}) {
        escoger(cbUsuarios, usuario);
        escoger(cbNombreEmi, "L'ORDENANTE");
        entorno.avisos.respuestas = {true};
        pulsar(&v, "cmdBaja");
        EXPECT_EQ(cbUsuarios->currentText(), QString::fromLatin1(usuario));
        EXPECT_EQ(textos(cbNombreEmi), (V{"PAGOS UNO"})) << usuario;
    }
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
    for (auto [pegado, queda] : {std::pair{"12ab", ""}, {"12*", "12*"}}) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(pegado));
        cuenta->paste();
        EXPECT_EQ(cuenta->text(), QString::fromLatin1(queda)) << pegado;
    }
    EXPECT_TRUE(otra.modificado());
    usarPortapapeles(cuenta, "ES 0102-345 678 9", "0102345678");
    // Enter in a box presses no button.
    QTest::keyClick(box(&v, "tbNifEmi"), Qt::Key_Return);
    QTest::keyClick(oficina, Qt::Key_Return);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    // Escape closes the window from an account box as from any other.
    QTest::keyClick(oficina, Qt::Key_Escape);
    EXPECT_FALSE(v.isVisible());
}

TEST_F(FrmNifSufPagos, sinUsuarioAlQueEnlazarloNoSeAnadeNadaYSeDiceComoObtenerlo) {
    entorno.configuracion.gAdministrador = false;
    entorno.baseDatos->preparar("DELETE FROM usuarios").ejecutar();
    frmNifSufPagos v(entorno.contexto());
    v.show();
    pulsar(&v, "cmdAlta");
    alta(&v, {"NUEVO", "B22222222", "0001", "61", "0123456789"});
    EXPECT_EQ(mensajes(), V{"critico: Para dar de alta un ordenante hace falta un usuario al que enlazarlo. "
                            "Los usuarios llegan con el fichero de cuentas del banco («Cabeceras» › "
                            "«Importar Fichero Cuentas»); también puede activar el administrador en "
                            "config.ini con la línea administrador=true."});
    EXPECT_EQ(partesDeUsuario(*entorno.baseDatos, ClaseParte::Pagos, "Admin").size(), 1u);
}

// A box holding a character Windows-1252 lacks: a Latin letter is stored as its base letter, any other is
// refused naming the box, and nothing is stored.
TEST_F(FrmNifSufPagos, loTecleadoQueWindows1252NoTieneSeRechazaNombrandoLaCaja) {
    frmNifSufPagos v(entorno.contexto());
    v.show();
    pulsar(&v, "cmdAlta");
    for (auto [caja, tecleado, mensaje] :
         {std::tuple{"tbAltaNombre", u8"ANA 😀 RUIZ",
                     "critico: Caracter no valido en el nombre del ordenante"},
          {"tbAltaNif", u8"B2222222日", "critico: Caracter no valido en el NIF del ordenante"},
          {"tbAltaNombre", u8"ŁUKASZ", "informacion: Alta realizada correctamente"}}) {
        rellenar(&v, {"tbAltaNombre", "tbAltaNif", "tbAltaOficina", "tbAltaDC", "tbAltaCuenta"},
                 {"NUEVO", "B22222222", "0001", "61", "0123456789"});
        box(&v, caja)->setText(QString::fromUtf8(tecleado));
        pulsar(&v, "cmdAñadir");
        EXPECT_EQ(mensajes(), V{mensaje}) << caja;
    }
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"PAGOS UNO", "LUKASZ"}));
}

// Imported with entity 2100, office 0001, DC 03; 03 is also what 8642 would need with office 0002.
TEST_F(FrmNifSufPagos, unOrdenanteImportadoConservaSuEntidadYSuDCSeCompruebaConElla) {
    importarFicheroCuentas(*entorno.baseDatos, datosPrueba() / "cuentas" / "cuentas_crlf.txt");
    frmNifSufPagos v(entorno.contexto());
    v.show();
    corregirImportada(&v,
                      {"cbNombreEmi", "ORDENANTE DIECISEIS", "B22222222", "0002", "53",
                       "21000001030161111111", "21000002530161111111"},
                      [&](std::int64_t id) { return leerPresentador(*entorno.baseDatos, id)->cuenta; });
}

TEST_F(FrmNifSufPagos, unaBaseDeDatosQueFallaSeAvisaYLaVentanaSigueUsable) {
    BaseDatos lectura = copiaSoloLectura();
    frmNifSufPagos v(contextoSobre(lectura));
    v.show();
    alta(&v, {"NUEVO", "B22222222", "0001", "61", "0123456789"});
    ASSERT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_EQ(entorno.avisos.mensajes[0].tipo + entorno.avisos.mensajes[0].texto.substr(0, 7),
              "simpleError: ");
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"PAGOS UNO"}));
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBaja");
    EXPECT_EQ(entorno.avisos.mensajes.back().texto.rfind("Error: ", 0), 0u);
    EXPECT_EQ(partesDeUsuario(lectura, ClaseParte::Pagos, "Admin").size(), 1u);
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"PAGOS UNO"}));
}

} // namespace
} // namespace trovanel::pruebas
