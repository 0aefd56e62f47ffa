#include "frmEntrada.hpp"
#include "frmNifSuf.hpp"

#include "importacion_cuentas.hpp"
#include "partes.hpp"
#include "soporte_ventanas.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace trovanel::pruebas {
namespace {

using V = std::vector<std::string>;

// Administrator on, over the new database's example presenter (user "ejemplo").
class FrmNifSuf : public PruebaVentana {
protected:
    // Presenter name, NIF, suffix; issuer name, NIF, suffix, office, DC, account.
    void alta(QWidget* v, const V& valores) {
        rellenarAlta(v, valores);
        pulsar(v, "cmdAñadir");
    }
    void rellenarAlta(QWidget* v, const V& valores) {
        rellenar(v,
                 {"tbAltaNombrePre", "tbAltaNifPre", "tbAltaSufPre", "tbAltaNombreEmi", "tbAltaNifEmi",
                  "tbAltaSufEmi", "tbAltaOficinaEmi", "tbAltaDC", "tbAltaCuentaEmi"},
                 valores);
    }
};

TEST_F(FrmNifSuf, anadeCambiaYDaDeBajaPresentadoresYEmisoresConSusMensajesEnOrden) {
    frmNifSuf v(entorno.contexto());
    v.show();
    auto* cbUsuarios = hijo<QComboBox>(&v, "cbUsuarios");
    auto* cbNombrePre = hijo<QComboBox>(&v, "cbNombrePre");
    auto* cbNombreEmi = hijo<QComboBox>(&v, "cbNombreEmi");
    EXPECT_EQ(textos(cbUsuarios), (V{"Admin", "ejemplo"}));
    EXPECT_EQ(box(&v, "tbCSB")->text(), QStringLiteral("Recibos - CSB19"));
    EXPECT_EQ(box(&v, "tbDC")->text(), QStringLiteral("61"));

    pulsar(&v, "cmdAlta");
    // Office, DC: a short office, then a wrong DC are refused; asterisks in the DC go in.
    for (auto [oficina, dc] : {std::pair{"12", ""}, {"0000", "12"}, {"0000", "**"}}) {
        alta(&v,
             {"L'PRESENTADOR", "A1111111'", "000", "L'EMISOR", "B2222222'", "001", oficina, dc, "123456789"});
    }
    EXPECT_EQ(mensajes(), (V{"critico: Compruebe los datos de la cuenta",
                             "critico: Por favor, compruebe los datos de la cuenta",
                             "informacion: Alta realizada correctamente"}));
    EXPECT_EQ(textos(cbNombrePre), (V{"EMPRESA DE EJEMPLO SL", "L'PRESENTADOR"}));
    // Both norms are clear after an add; the same issuer again is refused.
    const V otro{"L'PRESENTADOR", "A1111111'", "000", "OTRO", "B2222222'", "001", "0000", "**", "0123456789"};
    alta(&v, otro);
    hijo<QRadioButton>(&v, "Option1_1")->setChecked(true);
    alta(&v, otro);
    EXPECT_EQ(mensajes(), (V{"critico: Debe especificar si es CSB58 o CSB19",
                             "informacion: Presentador y Emisor ya existen en la base de datos"}));

    // The edit: several checks at once, then a save answered Yes.
    cbNombrePre->setCurrentIndex(1);
    v.cbNombrePre_Click();
    EXPECT_EQ(textos(cbNombreEmi), (V{"L'EMISOR"}));
    EXPECT_EQ(box(&v, "tbCCC")->text(), QStringLiteral("0123456789"));
    box(&v, "tbSufPre")->setFocus();
    QTest::keyClick(box(&v, "tbSufPre"), Qt::Key_Backspace);
    box(&v, "tbOficinaEmi")->clear();
    pulsar(&v, "cmdAceptar");
    EXPECT_EQ(mensajes(), (V{"critico: Compruebe la longitud del Sufijo (3 posiciones)",
                             "critico: Compruebe los datos de la cuenta"}));
    QTest::keyClicks(box(&v, "tbSufPre"), "9");
    box(&v, "tbOficinaEmi")->setText(QStringLiteral("0001"));
    box(&v, "tbDC")->clear();
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdAceptar");
    EXPECT_EQ(mensajes(), (V{"pregunta: ¿Desea guardar los cambios?"}));
    const std::int64_t idPre = box(&v, "tbIdPre")->text().toLongLong();
    const std::int64_t idEmi = box(&v, "tbIdEmi")->text().toLongLong();
    EXPECT_EQ(leerPresentador(*entorno.baseDatos, idPre)->sufijo, "009");
    EXPECT_EQ(leerEmisor(*entorno.baseDatos, idEmi)->cuenta, "86420001**0123456789");

    // Deleting the issuer, then the presenter as "Admin": the form returns to the first user each time.
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBajaEmisor");
    EXPECT_FALSE(leerEmisor(*entorno.baseDatos, idEmi));
    EXPECT_EQ(cbNombrePre->currentIndex(), 0);
    cbNombrePre->setCurrentIndex(1);
    v.cbNombrePre_Click();
    entorno.avisos.respuestas = {true};
    pulsar(&v, "cmdBajaPresentador");
    EXPECT_FALSE(leerPresentador(*entorno.baseDatos, idPre));
    EXPECT_EQ(textos(cbNombrePre), (V{"EMPRESA DE EJEMPLO SL"}));
    EXPECT_EQ(mensajes(),
              (V{"pregunta: ¿Desea dar de baja el Emisor?", "pregunta: ¿Desea dar de baja el presentador?"}));
}

TEST_F(FrmNifSuf, unaBaseDeDatosQueFallaSeAvisaSinEscribirNadaYLaVentanaSigueUsable) {
    BaseDatos lectura = copiaSoloLectura();
    frmNifSuf v(contextoSobre(lectura));
    v.show();
    alta(&v, {"NUEVO", "A11111111", "000", "EMISOR", "B22222222", "001", "0001", "61", "0123456789"});
    box(&v, "tbNifPre")->setFocus();
    QTest::keyClicks(box(&v, "tbNifPre"), "X");
    box(&v, "tbNifPre")->setText(QStringLiteral("B00000009"));
    entorno.avisos.respuestas = {true, true};
    pulsar(&v, "cmdAceptar");
    pulsar(&v, "cmdBajaEmisor");
    const auto& m = entorno.avisos.mensajes;
    ASSERT_EQ(m.size(), 5u);
    for (auto [i, tipo] : {std::pair{0, "simple"}, {2, "simple"}, {4, "critico"}}) {
        EXPECT_EQ(m[i].tipo + m[i].texto.substr(0, 7), tipo + std::string("Error: ")) << i;
    }
    EXPECT_EQ(partesDeUsuario(lectura, ClaseParte::Cobros, "Admin").size(), 1u);
    EXPECT_EQ(leerPresentador(lectura, 1)->nif, "B00000000");
    EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombreEmi")), (V{"EMPRESA DE EJEMPLO SL"}));
}

TEST_F(FrmNifSuf, unPresentadorAnadidoQuedaEnlazadoAlUsuarioElegidoYSinUsuarioNoSeAnade) {
    struct Caso {
        bool conUsuarios;
        V mensajes;
        V delUsuario; // the presenters the first user sees after the add
    };
    const V nuevo{"NUEVO", "A12345678", "007", "EMISOR", "B87654321", "008", "0001", "", "0123456789"};
    for (const Caso& caso : {
             Caso{true, {"informacion: Alta realizada correctamente"}, {"EMPRESA DE EJEMPLO SL", "NUEVO"}},
             Caso{false,
                  {"critico: Para dar de alta un presentador hace falta un usuario al que enlazarlo. Los "
                   "usuarios llegan con el fichero de cuentas del banco («Cabeceras» › «Importar Fichero "
                   "Cuentas»); también puede activar el administrador en config.ini con la línea "
                   "administrador=true."},
                  {}},
         }) {
        SCOPED_TRACE(caso.conUsuarios);
        entorno.configuracion.gAdministrador = false;
        if (!caso.conUsuarios) {
            entorno.baseDatos->preparar("DELETE FROM usuarios").ejecutar();
        }
        frmNifSuf v(entorno.contexto());
        v.show();
        pulsar(&v, "cmdAlta");
        alta(&v, nuevo);
        EXPECT_EQ(mensajes(), caso.mensajes);
        EXPECT_EQ(textos(hijo<QComboBox>(&v, "cbNombrePre")), caso.delUsuario);
        EXPECT_EQ(partesDeUsuario(*entorno.baseDatos, ClaseParte::Cobros, "Admin").size(), 2u);
    }
}

// A box holding a character Windows-1252 lacks (no Latin letter) is refused naming it; nothing is stored.
TEST_F(FrmNifSuf, loTecleadoQueWindows1252NoTieneSeRechazaNombrandoLaCaja) {
    frmNifSuf v(entorno.contexto());
    v.show();
    pulsar(&v, "cmdAlta");
    for (auto [caja, tecleado, mensaje] :
         {std::tuple{"tbAltaNombrePre", u8"ANA 😀 RUIZ",
                     "critico: Caracter no valido en el nombre del presentador"},
          {"tbAltaNombreEmi", u8"日本", "critico: Caracter no valido en el nombre del emisor"},
          {"tbAltaSufEmi", u8"0日1", "critico: Caracter no valido en el sufijo del emisor"}}) {
        rellenarAlta(&v,
                     {"NUEVO", "A12345678", "007", "EMISOR", "B87654321", "008", "0001", "", "0123456789"});
        box(&v, caja)->setText(QString::fromUtf8(tecleado));
        pulsar(&v, "cmdAñadir");
        EXPECT_EQ(mensajes(), V{mensaje}) << caja;
    }
    EXPECT_EQ(partesDeUsuario(*entorno.baseDatos, ClaseParte::Cobros, "Admin").size(), 1u);
}

// Imported with entity 2100, office 0002, DC 54; 54 is also what 8642 would need with office 0003.
TEST_F(FrmNifSuf, unEmisorImportadoConservaSuEntidadYSuDCSeCompruebaConElla) {
    importarFicheroCuentas(*entorno.baseDatos, datosPrueba() / "cuentas" / "cuentas_crlf.txt");
    frmNifSuf v(entorno.contexto());
    v.show();
    corregirImportada(&v,
                      {"cbNombrePre", "PRESENTADOR 19", "J99999999", "0003", "14", "21000002540687654321",
                       "21000003140687654321"},
                      [&](std::int64_t id) { return leerEmisor(*entorno.baseDatos, id)->cuenta; });
    // The clipboard works in the account boxes of both panels.
    pulsar(&v, "cmdAlta");
    usarPortapapeles(box(&v, "tbDC"), "1-4", "14");
    usarPortapapeles(box(&v, "tbAltaCuentaEmi"), "0102 345 678", "0102345678");
}

class frmEntradaSinResultado : public frmEntrada {
public:
    using frmEntrada::frmEntrada;

protected:
    void mostrarResultado(const ResultadoConversion&) override {}
};

TEST_F(FrmNifSuf, elDialogoDeConversionListaLoAnadidoYUnaConversionNorma19LoUsa) {
    {
        frmNifSuf v(entorno.contexto());
        v.show();
        pulsar(&v, "cmdAlta");
        alta(&v, {"NUEVO PRESENTADOR", "A12345678", "007", "NUEVO EMISOR", "B87654321", "008", "0001", "",
                  "0123456789"});
        ASSERT_EQ(mensajes(), V{"informacion: Alta realizada correctamente"});
    }
    std::filesystem::copy_file(raizProyecto() / "ejemplo" / "recibos.txt", entorno.carpeta / "recibos.txt");
    frmEntradaSinResultado d(entorno.contexto());
    d.show();
    auto* cbEstructura = hijo<QComboBox>(&d, "cbEstructura");
    for (int i = 0; i < cbEstructura->count(); ++i) {
        if (cbEstructura->itemData(i).toList().value(0).toLongLong() == 9) {
            cbEstructura->setCurrentIndex(i);
        }
    }
    d.cbEstructura_Click();
    auto* cbPresentador = hijo<QComboBox>(&d, "cbPresentador");
    EXPECT_EQ(textos(cbPresentador), (V{"EMPRESA DE EJEMPLO SL", "NUEVO PRESENTADOR"}));
    cbPresentador->setCurrentIndex(1);
    d.cbPresentador_Click();
    EXPECT_EQ(textos(hijo<QComboBox>(&d, "cbEmisor")), V{"NUEVO EMISOR"});
    entorno.selector.respuestas.push_back(entorno.carpeta / "recibos.txt");
    d.Image1_Click();
    rellenar(&d, {"tbDia", "tbMes", "tbAño"}, {"05", "03", "2026"});
    d.cmdProcesar_Click();

    const std::string salida = leerFichero(entorno.carpeta / "recibos.out");
    EXPECT_EQ(salida.substr(0, 16), "5180A12345678007");
    EXPECT_EQ(salida.substr(salida.find("\r\n") + 2, 16), "5380B87654321008");
    EXPECT_NE(salida.find("86420001**0123456789"), std::string::npos) << salida.substr(0, 400);
}

} // namespace
} // namespace trovanel::pruebas
