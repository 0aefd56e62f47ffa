// The missing mandatory data dialog: its rows, what Aceptar stores, its refusals and every way of
// leaving it, down to a norm 19 run that takes the typed value into the bank file.

#include "csb19.hpp"
#include "datos_obligatorios.hpp"
#include "frmDatos.hpp"
#include "modelo_datos.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

using pruebas::AvisosGrabados;
using pruebas::EntornoVentanas;
using pruebas::escribirFichero;
using pruebas::hijo;
using pruebas::leerFichero;

// A field that the input does not carry: what the dialog asks for.
CampoEstructura pedido(const char* nombre, int longitud = 0) {
    CampoEstructura campo;
    campo.campo = nombre;
    campo.obligatorio = true;
    campo.longitud = longitud;
    return campo;
}

CampoEstructura situado(const char* nombre, int inicio, int fin) {
    CampoEstructura campo;
    campo.campo = nombre;
    campo.inicio = inicio;
    campo.fin = fin;
    return campo;
}

QStringList itemsDe(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

// Picks an item the way a user does with the keyboard on a closed combo box.
void elegir(QComboBox* combo, int indice) {
    combo->setFocus();
    while (combo->currentIndex() < indice) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

void teclear(QLineEdit* caja, const QString& texto) {
    caja->setFocus();
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Delete);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i].unicode() < 0x80) {
            QTest::keyClick(caja, texto[i].toLatin1());
        } else {
            // QTest only maps ASCII to keys; an accented letter arrives as its text, an emoji as its pair.
            const qsizetype largo = texto[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, texto.mid(i, largo), Qt::NoModifier);
            i += largo - 1;
        }
    }
}

void pulsar(QWidget* dialogo, const char* boton) {
    QTest::mouseClick(hijo<QPushButton>(dialogo, boton), Qt::LeftButton);
}

frmDatos* dialogoAbierto() {
    for (QWidget* ventana : QApplication::topLevelWidgets()) {
        if (auto* dialogo = qobject_cast<frmDatos*>(ventana); dialogo != nullptr && dialogo->isVisible()) {
            return dialogo;
        }
    }
    return nullptr;
}

// Answers the next frmDatos from inside its exec(). An answer that leaves it open fails the test and
// closes it, so that a broken dialog never hangs the run.
void responder(std::function<void(frmDatos*)> respuesta) {
    QTimer::singleShot(0, [respuesta] {
        frmDatos* dialogo = dialogoAbierto();
        if (dialogo == nullptr) {
            ADD_FAILURE() << "no se muestra frmDatos";
            return;
        }
        respuesta(dialogo);
        if (dialogo->isVisible()) {
            ADD_FAILURE() << "frmDatos sigue abierto";
            dialogo->done(QDialog::Rejected);
        }
    });
}

class DatosObligatorios : public ::testing::Test {
protected:
    void usarCampos(std::initializer_list<CampoEstructura> campos) {
        entorno.estado.gCamposEstructura = campos;
        indices = camposQueFaltan(entorno.estado.gCamposEstructura);
    }

    // The dialog shown without exec(), as a user sees it.
    std::unique_ptr<frmDatos> abrir() {
        auto dialogo = std::make_unique<frmDatos>(entorno.estado, indices, tipo, entorno.avisos);
        dialogo->show();
        return dialogo;
    }

    std::string valorcampo(std::size_t i) const { return entorno.estado.gCamposEstructura[i].valorcampo; }

    // The chosen template's type: it decides the order of a typed date.
    std::string tipo;

    std::vector<AvisosGrabados::Mensaje> soloInformacion(const char* texto) const {
        return {{"informacion", texto}};
    }

    EntornoVentanas entorno;
    std::vector<std::size_t> indices;
};

TEST_F(DatosObligatorios, construyeUnaFilaPorCampoPedidoConElControlDeSuClase) {
    usarCampos({pedido("FormaPago"), situado("Importe", 1, 12), pedido("Gastos"), pedido("FechaCargo", 6),
                pedido("Concepto1", 12), pedido("Concepto2", 0), pedido("FormaPagoFecha")});
    auto dialogo = abrir();

    EXPECT_EQ(dialogo->objectName(), "frmDatos");
    EXPECT_EQ(dialogo->windowTitle(), "Datos Obligatorios que faltan");
    EXPECT_EQ(hijo<QPushButton>(dialogo.get(), "Command1")->text(), "&Aceptar");
    EXPECT_EQ(hijo<QPushButton>(dialogo.get(), "Command2")->text(), "&Cancelar");

    auto* formaPago = hijo<QComboBox>(dialogo.get(), "tb0");
    EXPECT_EQ(itemsDe(formaPago), QStringList({"Cheques", "Transferencias", "Pagos Certificados"}));
    EXPECT_EQ(formaPago->currentIndex(), 0);
    EXPECT_FALSE(formaPago->isEditable());
    EXPECT_EQ(hijo<QLabel>(dialogo.get(), "lbFormaPago")->text(), "FormaPago");

    auto* gastos = hijo<QComboBox>(dialogo.get(), "tb2");
    EXPECT_EQ(itemsDe(gastos), QStringList({"Ordenante", "Beneficiario"}));
    EXPECT_EQ(gastos->currentText(), "Ordenante");
    EXPECT_FALSE(gastos->isEditable());

    EXPECT_EQ(hijo<QLabel>(dialogo.get(), "lbFechaCargo")->text(), "FechaCargo");
    EXPECT_EQ(hijo<QLabel>(dialogo.get(), "lbFecha")->text(), "(DD/MM/AAAA)");
    hijo<QLineEdit>(dialogo.get(), "tb3Fecha");
    EXPECT_EQ(dialogo->findChild<QWidget*>("tb3"), nullptr);

    EXPECT_EQ(hijo<QLineEdit>(dialogo.get(), "tb4")->maxLength(), 12);
    EXPECT_EQ(hijo<QLineEdit>(dialogo.get(), "tb5")->maxLength(), QLineEdit().maxLength());

    // Payment form is tested before the date.
    EXPECT_EQ(itemsDe(hijo<QComboBox>(dialogo.get(), "tb6")).size(), 3);
    EXPECT_EQ(dialogo->findChild<QWidget*>("tb6Fecha"), nullptr);
    // The amount is never asked.
    EXPECT_EQ(dialogo->findChild<QWidget*>("tb1"), nullptr);
    EXPECT_EQ(dialogo->findChild<QWidget*>("lbImporte"), nullptr);
    EXPECT_EQ(dialogo->findChildren<QLabel*>().size(), 7);
}

TEST_F(DatosObligatorios, lasFilasSiguenElOrdenDeLosCamposEnUnaRejilla) {
    usarCampos({pedido("Concepto1"), pedido("FechaCargo"), pedido("Gastos")});
    auto dialogo = abrir();
    auto* rejilla = dialogo->findChild<QGridLayout*>();
    ASSERT_NE(rejilla, nullptr);
    auto filaDe = [&](const char* nombre) {
        int fila = -1, columna = -1, filas = 0, columnas = 0;
        rejilla->getItemPosition(rejilla->indexOf(hijo<QWidget>(dialogo.get(), nombre)), &fila, &columna,
                                 &filas, &columnas);
        return fila;
    };
    EXPECT_EQ(filaDe("lbConcepto1"), 0);
    EXPECT_EQ(filaDe("tb0"), 0);
    EXPECT_EQ(filaDe("lbFechaCargo"), 1);
    EXPECT_EQ(filaDe("lbFecha"), 1);
    EXPECT_EQ(filaDe("tb1Fecha"), 1);
    EXPECT_EQ(filaDe("tb2"), 2);
}

TEST_F(DatosObligatorios, aceptarGuardaLosCodigosYLosValoresConSusBlancosYLaFechaAparte) {
    usarCampos({pedido("FormaPago"), pedido("Gastos"), pedido("CodigoReferencia", 12), pedido("FechaCargo")});
    entorno.estado.gCamposEstructura[3].valorcampo = "ddmmaa";
    tipo = "CSB34N";
    auto dialogo = abrir();

    elegir(hijo<QComboBox>(dialogo.get(), "tb0"), 1);
    elegir(hijo<QComboBox>(dialogo.get(), "tb1"), 1);
    teclear(hijo<QLineEdit>(dialogo.get(), "tb2"), "  REF 42 ");
    teclear(hijo<QLineEdit>(dialogo.get(), "tb3Fecha"), "25/12/2024");
    pulsar(dialogo.get(), "Command1");

    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(dialogo->result(), QDialog::Accepted);
    EXPECT_EQ(valorcampo(0), "Tipo6");
    EXPECT_EQ(valorcampo(1), "2");
    EXPECT_EQ(valorcampo(2), "  REF 42 ");
    EXPECT_EQ(entorno.estado.gFechaDatos, "251224");
    EXPECT_EQ(valorcampo(3), "ddmmaa");
}

TEST_F(DatosObligatorios, cadaElementoDeLasListasDaSuCodigo) {
    const std::vector<std::pair<int, std::string>> formas = {{0, "Tipo7"}, {1, "Tipo6"}, {2, "Tipo9"}};
    for (const auto& [item, codigo] : formas) {
        usarCampos({pedido("FormaPago"), pedido("Gastos")});
        auto dialogo = abrir();
        elegir(hijo<QComboBox>(dialogo.get(), "tb0"), item);
        pulsar(dialogo.get(), "Command1");
        EXPECT_EQ(valorcampo(0), codigo);
        EXPECT_EQ(valorcampo(1), "1");
    }
}

TEST_F(DatosObligatorios, cajaEnBlancoAvisaYElDialogoSigueAbiertoConLoDemasGuardado) {
    usarCampos({pedido("Concepto1"), pedido("Concepto2"), pedido("Gastos")});
    auto dialogo = abrir();
    teclear(hijo<QLineEdit>(dialogo.get(), "tb0"), "   ");
    teclear(hijo<QLineEdit>(dialogo.get(), "tb1"), "MARZO");
    elegir(hijo<QComboBox>(dialogo.get(), "tb2"), 1);
    pulsar(dialogo.get(), "Command1");

    EXPECT_EQ(entorno.avisos.mensajes, soloInformacion("Debe rellenar todos los campos"));
    EXPECT_TRUE(dialogo->isVisible());
    EXPECT_NE(dialogo->result(), QDialog::Accepted);
    EXPECT_EQ(valorcampo(0), "");
    EXPECT_EQ(valorcampo(1), "MARZO");
    EXPECT_EQ(valorcampo(2), "2");

    // Corrected, it is accepted.
    teclear(hijo<QLineEdit>(dialogo.get(), "tb0"), "CUOTA");
    pulsar(dialogo.get(), "Command1");
    EXPECT_EQ(entorno.avisos.mensajes.size(), 1u);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(valorcampo(0), "CUOTA");
}

// A lone date box: the template's type, the text typed, the message shown ("" for none, the dialog then
// accepts) and the date kept. Dashes are accepted; ZOP templates keep the year first.
TEST_F(DatosObligatorios, laFechaTecleadaSeGuardaOSeRechazaConSuAviso) {
    const char* kMala = "Teclee una fecha correcta";
    for (auto [plantilla, fecha, aviso, guardada] : {std::tuple{"", "25/13/2024", kMala, ""},
                                                     {"", "30/02/2024", kMala, ""},
                                                     {"", "29/02/2023", kMala, ""},
                                                     {"", "25/12/24", kMala, ""},
                                                     {"", "00/12/2024", kMala, ""},
                                                     {"", "1/12/2024", kMala, ""},
                                                     {"", "aa/bb/cccc", kMala, ""},
                                                     {"", "25/00/2024", kMala, ""},
                                                     // A blank date counts as an empty box.
                                                     {"", "  ", "Debe rellenar todos los campos", ""},
                                                     {"", "29/02/2024", "", "290224"},
                                                     {"ZOP", "25-12-2024", "", "241225"},
                                                     {"ZOPEx", "25-12-2024", "", "241225"},
                                                     {"ZOPAc", "25-12-2024", "", "241225"}}) {
        SCOPED_TRACE(std::string(plantilla) + " " + fecha);
        // ZOP rows ask for the payment date, as ZOP templates do.
        usarCampos({pedido(*plantilla == '\0' ? "FechaCargo" : "FechaPago")});
        tipo = plantilla;
        entorno.avisos.mensajes.clear();
        entorno.estado.gFechaDatos = "";
        auto dialogo = abrir();
        teclear(hijo<QLineEdit>(dialogo.get(), "tb0Fecha"), fecha);
        pulsar(dialogo.get(), "Command1");
        EXPECT_EQ(entorno.avisos.mensajes,
                  *aviso == '\0' ? std::vector<AvisosGrabados::Mensaje>{} : soloInformacion(aviso));
        EXPECT_EQ(dialogo->isVisible(), *aviso != '\0');
        EXPECT_EQ(dialogo->result() == QDialog::Accepted, *aviso == '\0');
        EXPECT_EQ(entorno.estado.gFechaDatos, guardada);
    }
}

TEST_F(DatosObligatorios, elAvisoDeFechaGanaAlDeCajaVacia) {
    usarCampos({pedido("Concepto1"), pedido("FechaCargo")});
    auto dialogo = abrir();
    teclear(hijo<QLineEdit>(dialogo.get(), "tb1Fecha"), "31/04/2024");
    pulsar(dialogo.get(), "Command1");
    EXPECT_EQ(entorno.avisos.mensajes, soloInformacion("Teclee una fecha correcta"));
    EXPECT_TRUE(dialogo->isVisible());
}

TEST_F(DatosObligatorios, laCajaDeFechaAdmiteLaFechaEnteraAunqueLongitudSeaMenor) {
    usarCampos({pedido("FechaCargo", 6)});
    auto dialogo = abrir();
    auto* caja = hijo<QLineEdit>(dialogo.get(), "tb0Fecha");
    teclear(caja, "01/03/2026 y mas");
    EXPECT_EQ(caja->text(), "01/03/2026");
    pulsar(dialogo.get(), "Command1");
    EXPECT_EQ(entorno.estado.gFechaDatos, "010326");
}

TEST_F(DatosObligatorios, lasCajasDeTextoCortanEnSuLongitudYSinLongitudNoLimitan) {
    usarCampos({pedido("Concepto1", 5), pedido("Concepto2", 0), pedido("Concepto3", -1)});
    auto dialogo = abrir();
    const QString largo(60, QChar('x'));
    teclear(hijo<QLineEdit>(dialogo.get(), "tb0"), "ABCDEFGH");
    teclear(hijo<QLineEdit>(dialogo.get(), "tb1"), largo);
    teclear(hijo<QLineEdit>(dialogo.get(), "tb2"), largo);
    pulsar(dialogo.get(), "Command1");
    EXPECT_EQ(valorcampo(0), "ABCDE");
    EXPECT_EQ(valorcampo(1), std::string(60, 'x'));
    EXPECT_EQ(valorcampo(2), std::string(60, 'x'));
}

// Typed (UTF-8), the message shown ("" for none, the dialog then accepts) and the value kept (Windows-1252).
// A Latin letter Windows-1252 lacks is kept as its base letter; any other such character is refused.
TEST_F(DatosObligatorios, elTextoTecleadoLlegaEnWindows1252OSeRechaza) {
    const char* kNoValido = "Caracter no valido en Concepto1";
    for (auto [tecleado, aviso, guardado] : {std::tuple{u8"Cuota año", "", "Cuota año"},
                                             {u8"ŁUKASZ", "", "LUKASZ"},
                                             {u8"ANA 😀 RUIZ", kNoValido, ""},
                                             {u8"日本", kNoValido, ""}}) {
        SCOPED_TRACE(QString::fromUtf8(tecleado).toStdString());
        usarCampos({pedido("Concepto1")});
        entorno.avisos.mensajes.clear();
        auto dialogo = abrir();
        teclear(hijo<QLineEdit>(dialogo.get(), "tb0"), QString::fromUtf8(tecleado));
        pulsar(dialogo.get(), "Command1");
        std::vector<AvisosGrabados::Mensaje> esperados;
        if (*aviso != '\0') {
            esperados.push_back({"critico", aviso});
        }
        EXPECT_EQ(entorno.avisos.mensajes, esperados);
        EXPECT_EQ(dialogo->isVisible(), *aviso != '\0');
        EXPECT_EQ(valorcampo(0), guardado);
    }
}

TEST_F(DatosObligatorios, cancelarNoAceptaYMarcaElProcesoCancelado) {
    usarCampos({pedido("Concepto1")});
    SolicitudDatosQt solicitud(entorno.avisos, nullptr);
    responder([](frmDatos* dialogo) {
        teclear(hijo<QLineEdit>(dialogo, "tb0"), "ESCRITO");
        pulsar(dialogo, "Command2");
    });
    EXPECT_FALSE(solicitud.MostrarDatosObligatorios(entorno.estado, indices, tipo));
    EXPECT_EQ(valorcampo(0), "");
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
}

TEST_F(DatosObligatorios, cerrarLaVentanaEquivaleACancelarAunqueLaLlamadaAnteriorAceptara) {
    usarCampos({pedido("Concepto1")});
    SolicitudDatosQt solicitud(entorno.avisos, nullptr);
    responder([](frmDatos* dialogo) {
        teclear(hijo<QLineEdit>(dialogo, "tb0"), "PRIMERA");
        pulsar(dialogo, "Command1");
    });
    ASSERT_TRUE(solicitud.MostrarDatosObligatorios(entorno.estado, indices, tipo));

    responder([](frmDatos* dialogo) { dialogo->close(); });
    EXPECT_FALSE(solicitud.MostrarDatosObligatorios(entorno.estado, indices, tipo));
}

TEST_F(DatosObligatorios, escapeTambienCancela) {
    usarCampos({pedido("Concepto1")});
    auto dialogo = abrir();
    QTest::keyClick(dialogo.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(dialogo->result(), QDialog::Rejected);
}

TEST_F(DatosObligatorios, sinCamposPedidosSeAceptaSinMostrarNada) {
    usarCampos({situado("CodigoReferencia", 1, 8), pedido("Importe")});
    ASSERT_TRUE(indices.empty());
    bool mostrado = false;
    // Would close a dialog shown by mistake, so the test fails instead of waiting.
    QTimer guardia;
    QObject::connect(&guardia, &QTimer::timeout, [&] {
        if (frmDatos* dialogo = dialogoAbierto()) {
            mostrado = true;
            dialogo->done(QDialog::Rejected);
        }
    });
    guardia.start(10);
    SolicitudDatosQt solicitud(entorno.avisos, nullptr);
    EXPECT_TRUE(solicitud.MostrarDatosObligatorios(entorno.estado, indices, tipo));
    EXPECT_FALSE(mostrado);
}

TEST_F(DatosObligatorios, mientrasEsperaLaRespuestaElCursorEsLaFlechaYLuegoVuelveElReloj) {
    usarCampos({pedido("Concepto1")});
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Qt::CursorShape mientras = Qt::WaitCursor;
    SolicitudDatosQt solicitud(entorno.avisos, nullptr);
    responder([&](frmDatos* dialogo) {
        mientras = QApplication::overrideCursor()->shape();
        pulsar(dialogo, "Command2");
    });
    solicitud.MostrarDatosObligatorios(entorno.estado, indices, tipo);
    EXPECT_EQ(mientras, Qt::ArrowCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

// A norm 19 remittance whose template leaves the reference to the user, run as the conversion dialog
// runs it: the driver asks through the windows' request.
class RemesaConReferenciaPedida : public DatosObligatorios {
protected:
    void SetUp() override {
        BaseDatos& bd = *entorno.baseDatos;
        bd.preparar("INSERT INTO presentadores (tipo, nifpre, nompre, sufpre, cuenta, csb) "
                    "VALUES ('cobros', ?, ?, ?, ?, 'CSB19')")
            .con("A12345678", "GESTORIA LOPEZ SL", "001", "30580990272720001234")
            .ejecutar();
        parametros.idPresentador = bd.ultimoId();
        bd.preparar(
              "INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, ?, ?, ?, ?)")
            .con(parametros.idPresentador, "B76543210", "005", "COLEGIO SAN ROQUE SL", "21000418450200051332")
            .ejecutar();
        parametros.idEmisor = bd.ultimoId();
        bd.preparar("INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) "
                    "VALUES ('CSB19', 'Referencia a mano', -1, 0)")
            .ejecutar();
        parametros.idEstructura = bd.ultimoId();
        struct Fila {
            const char* campo;
            int inicio;
            int fin;
            int obligatorio;
            int longitud;
        };
        const Fila filas[] = {{"NombreTitularRecibo", 1, 25, 0, 0},
                              {"Entidad", 26, 29, 0, 0},
                              {"Oficina", 30, 33, 0, 0},
                              {"DC", 34, 35, 0, 0},
                              {"Cuenta", 36, 45, 0, 0},
                              {"Importe", 46, 57, 0, 0},
                              {"CodigoReferencia", 0, 0, 1, 12}};
        std::int64_t idCampo = 0;
        for (const Fila& f : filas) {
            bd.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, "
                        "inilinea, finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                        "VALUES (?, ?, ?, ?, ?, 0, 0, '', '', ?, ?)")
                .con(parametros.idEstructura, idCampo++, f.campo, f.inicio, f.fin, f.obligatorio, f.longitud)
                .ejecutar();
        }
        parametros.rutaEntrada = entorno.carpeta / "remesa.txt";
        parametros.rutaSalida = entorno.carpeta / "remesa.out";
        escribirFichero(parametros.rutaEntrada,
                        "GOMEZ PARDO ANA          21000418450200051332    1.234,56\r\n");

        parametros.gFechaProceso = "150326";
        parametros.gTipoEstructura = "CSB19";
        parametros.gFicheroLog = entorno.carpeta / "remesa.log";
    }

    void convertir() {
        Entorno conversion{*entorno.baseDatos, entorno.avisos, entorno.reloj, entorno.carpeta.ruta(),
                           &solicitud};
        resultado = GenerarCSB19(entorno.estado, conversion, parametros);
    }

    SolicitudDatosQt solicitud{entorno.avisos, nullptr};
    ParametrosConversion parametros;
    ResultadoConversion resultado;
};

TEST_F(RemesaConReferenciaPedida, laReferenciaTecleadaLlegaAlFicheroDelBanco) {
    bool preguntado = false;
    responder([&](frmDatos* dialogo) {
        preguntado = true;
        EXPECT_EQ(hijo<QLabel>(dialogo, "lbCodigoReferencia")->text(), "CodigoReferencia");
        auto* caja = hijo<QLineEdit>(dialogo, "tb6");
        EXPECT_EQ(caja->maxLength(), 12);
        teclear(caja, "REF-42");
        pulsar(dialogo, "Command1");
    });
    convertir();

    EXPECT_TRUE(preguntado);
    EXPECT_TRUE(entorno.avisos.mensajes.empty());
    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::Escrito);
    const std::string banco = leerFichero(parametros.rutaSalida);
    const auto registro = banco.find("\r\n5680");
    ASSERT_NE(registro, std::string::npos) << banco;
    EXPECT_EQ(banco.substr(registro + 2, 16), "5680B76543210005");
    EXPECT_EQ(banco.substr(registro + 2 + 16, 12), "REF-42      ");
}

TEST_F(RemesaConReferenciaPedida, cancelarDetieneLaConversionSinFicheroDelBanco) {
    responder([](frmDatos* dialogo) { pulsar(dialogo, "Command2"); });
    convertir();

    EXPECT_EQ(resultado.clase, ResultadoConversion::Clase::Cancelado);
    EXPECT_FALSE(std::filesystem::exists(parametros.rutaSalida));
}

} // namespace
} // namespace trovanel
