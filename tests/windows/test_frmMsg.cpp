#include "conversores.hpp"
#include "frmMsg.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace trovanel::pruebas {
namespace {

const QColor kAzul(0, 0, 255);
const QColor kRojo(255, 0, 0);

QColor colorDe(QLabel* etiqueta) {
    return etiqueta->palette().color(QPalette::WindowText);
}

QAbstractItemView* listaDe(QWidget* ventana) {
    return hijo<QAbstractItemView>(ventana, "rtbFicheroLog");
}

int filasDe(QAbstractItemView* lista) {
    return lista->model()->rowCount();
}

QString linea(QAbstractItemView* lista, int fila) {
    return lista->model()->index(fila, 0).data().toString();
}

class FrmMsg : public ::testing::Test {
protected:
    FrmMsg() { resultado.log = carpeta / "remesa.log"; }

    // The log as the program writes it: Windows-1252, CR LF after every line.
    void escribirLog(const std::vector<std::string>& lineas) {
        std::ofstream log(resultado.log, std::ios::binary);
        for (const std::string& linea : lineas) {
            log << linea << "\r\n";
        }
    }

    CarpetaTemporal carpeta;
    bool mostrar = true;
    ResultadoConversion resultado;
};

TEST_F(FrmMsg, tieneElTituloYLosBotonesDeLaVentanaDeResultado) {
    frmMsg ventana(mostrar, resultado);
    EXPECT_EQ(ventana.windowTitle(), QStringLiteral("Fin Proceso Trovanel"));
    EXPECT_EQ(hijo<QPushButton>(&ventana, "cmdDetalles")->text(), QStringLiteral("&Detalles"));
    EXPECT_EQ(hijo<QPushButton>(&ventana, "cmdAceptar")->text(), QStringLiteral("&Aceptar"));
    EXPECT_TRUE(listaDe(&ventana)->isHidden());
}

// How a run ended, with at most one line left in the log (a log of that name may remain from an earlier
// run): the label, its colour, whether Detalles is on; the list stays empty.
TEST_F(FrmMsg, cadaFinalDiceSuMensajeEnSuColorSinCargarElLog) {
    using Clase = ResultadoConversion::Clase;
    struct Caso {
        const char* log; // nullptr: no log file
        Clase clase;
        bool mostrar;
        const char* texto;
        QColor color;
        bool detalles;
    };
    for (const Caso& caso : {
             Caso{"una ejecución anterior", Clase::Escrito, true, "Proceso terminado", kAzul, false},
             Caso{nullptr, Clase::EscritoConRechazos, true, "Proceso terminado incorrectamente", kRojo,
                  false},
             Caso{"Línea 3: cuenta errónea", Clase::Cancelado, true, "Proceso Cancelado", kRojo, false},
             // With no result to show it keeps its first look.
             Caso{"línea", Clase::EscritoConRechazos, false, "Proceso terminado", kAzul, true},
         }) {
        SCOPED_TRACE(std::string(caso.texto) + (caso.log == nullptr ? " sin log" : ""));
        mostrar = caso.mostrar;
        resultado.clase = caso.clase;
        std::filesystem::remove(resultado.log);
        if (caso.log != nullptr) {
            escribirLog({caso.log});
        }
        frmMsg ventana(mostrar, resultado);
        auto* etiqueta = hijo<QLabel>(&ventana, "labProcTerminado");
        EXPECT_EQ(etiqueta->text(), QString::fromLatin1(caso.texto));
        EXPECT_EQ(colorDe(etiqueta), caso.color);
        EXPECT_EQ(hijo<QPushButton>(&ventana, "cmdDetalles")->isEnabled(), caso.detalles);
        EXPECT_EQ(filasDe(listaDe(&ventana)), 0);
    }
}

TEST_F(FrmMsg, unaConversionConErroresDiceIncorrectamenteEnRojoYDetallesMuestraTodoElLog) {
    const std::vector<std::string> lineas = {
        "Remesa del 06/12/2026 10:45:33", " ", "Línea 3: cuenta errónea", "Segunda ejecución", " ",
        "Línea 7: importe vacío"};
    escribirLog(lineas);
    resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
    frmMsg ventana(mostrar, resultado);
    ventana.show();
    auto* etiqueta = hijo<QLabel>(&ventana, "labProcTerminado");
    auto* detalles = hijo<QPushButton>(&ventana, "cmdDetalles");
    auto* lista = listaDe(&ventana);
    EXPECT_EQ(etiqueta->text(), QStringLiteral("Proceso terminado incorrectamente"));
    EXPECT_EQ(colorDe(etiqueta), kRojo);
    EXPECT_TRUE(detalles->isEnabled());
    EXPECT_FALSE(lista->isVisible());

    QTest::mouseClick(detalles, Qt::LeftButton);

    EXPECT_TRUE(lista->isVisible());
    EXPECT_FALSE(detalles->isEnabled());
    ASSERT_EQ(filasDe(lista), 6);
    EXPECT_EQ(linea(lista, 0), QStringLiteral("Remesa del 06/12/2026 10:45:33"));
    EXPECT_EQ(linea(lista, 1), QStringLiteral(" "));
    EXPECT_EQ(linea(lista, 2), QStringLiteral("Línea 3: cuenta errónea"));
    EXPECT_EQ(linea(lista, 5), QStringLiteral("Línea 7: importe vacío"));
}

// The log's bytes, where this run begins in it, and the list after every earlier run is in.
TEST_F(FrmMsg, cadaLineaDelLogEsUnaFilaEnSuOrdenConLaEjecucionAnteriorEncima) {
    struct Caso {
        std::string log;
        std::uintmax_t inicio;
        std::vector<std::string> filas;
    };
    std::string muchas;
    std::vector<std::string> filasMuchas;
    for (int i = 0; i < 600; ++i) {
        muchas += std::to_string(i) + "\r\n";
        filasMuchas.push_back(std::to_string(i));
    }
    for (const Caso& caso : {
             Caso{"uno\r\ndos\r\n", 0, {"uno", "dos"}},
             // The last line need not end; a blank line and a line of one blank are rows of their own.
             Caso{"uno\r\n\r\n \r\ndos", 0, {"uno", "", " ", "dos"}},
             Caso{"Línea errónea\r\nsin\rfin\n", 0, {"Línea errónea", "sin\rfin"}},
             Caso{"antes\r\nahora\r\n", 7, {"antes", "ahora"}},
             // A log shorter than where the run began was replaced: all of it is this run's.
             Caso{"corto\r\n", 999, {"corto"}},
             Caso{muchas, 1000, filasMuchas},
         }) {
        SCOPED_TRACE(caso.log.substr(0, 20));
        std::ofstream(resultado.log, std::ios::binary | std::ios::trunc) << caso.log;
        resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
        frmMsg ventana(mostrar, resultado, nullptr, caso.inicio);
        ventana.show();
        QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdDetalles"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ventana.cargando(); }, 10000));
        auto* lista = listaDe(&ventana);
        std::vector<std::string> filas;
        for (int i = 0; i < filasDe(lista); ++i) {
            filas.push_back(desdeQString(linea(lista, i)));
        }
        EXPECT_EQ(filas, caso.filas);
    }
}

// The log as the run left it, even when it is removed or replaced before Detalles is pressed.
TEST_F(FrmMsg, detallesMuestraElLogDelFinalAunqueLuegoSeBorreOSeSustituya) {
    for (const bool sustituido : {false, true}) {
        SCOPED_TRACE(sustituido ? "sustituido" : "borrado");
        escribirLog({"Línea 3: cuenta errónea"});
        resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
        frmMsg ventana(mostrar, resultado);
        ventana.show();
        std::filesystem::remove(resultado.log);
        if (sustituido) {
            escribirLog({"otra ejecución"});
        }
        QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdDetalles"), Qt::LeftButton);
        auto* lista = listaDe(&ventana);
        ASSERT_EQ(filasDe(lista), 1);
        EXPECT_EQ(linea(lista, 0), QStringLiteral("Línea 3: cuenta errónea"));
    }
}

TEST_F(FrmMsg, tieneUnSoloAnchoSeaCualSeaElMensajeYCabeElTexto) {
    escribirLog({std::string(300, 'X')});
    frmMsg terminado(mostrar, resultado);
    terminado.show();
    struct Caso {
        bool error;
        ResultadoConversion::Clase clase;
    };
    for (const Caso caso : {Caso{true, ResultadoConversion::Clase::EscritoConRechazos},
                            Caso{false, ResultadoConversion::Clase::Cancelado}}) {
        resultado.clase = caso.clase;
        frmMsg ventana(mostrar, resultado);
        ventana.show();
        auto* etiqueta = hijo<QLabel>(&ventana, "labProcTerminado");
        EXPECT_EQ(ventana.width(), terminado.width()) << etiqueta->text().toStdString();
        EXPECT_GE(etiqueta->width(), etiqueta->fontMetrics().horizontalAdvance(etiqueta->text()));
        if (caso.error) {
            // The log's long line scrolls inside the list.
            QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdDetalles"), Qt::LeftButton);
            EXPECT_EQ(ventana.width(), terminado.width());
        }
    }
}

TEST_F(FrmMsg, aceptarCierraLaVentanaModal) {
    frmMsg ventana(mostrar, resultado);
    QTimer::singleShot(0, &ventana, [&ventana] {
        QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdAceptar"), Qt::LeftButton);
    });
    EXPECT_EQ(ventana.exec(), QDialog::Accepted);
    EXPECT_FALSE(ventana.isVisible());
}

TEST_F(FrmMsg, unLogDeMuchasEjecucionesAbreEnLaDeHoyYCargaLasAnterioresSinBloquear) {
    // About 10 MB of earlier runs, then this run's header and three blocks.
    constexpr int kBloquesAnteriores = 60000;
    const std::string asteriscos(37, '*');
    {
        std::ofstream log(resultado.log, std::ios::binary);
        for (int b = 0; b < kBloquesAnteriores; ++b) {
            if (b % 1000 == 0) {
                log << asteriscos << "\r\n01/12/2026 - 09:00:00\r\n";
            }
            log << asteriscos << "\r\nNumero Linea: " << b << "\r\nNif Ordenante: B12345678\r\n"
                << "Nombre Titular: CONSTRUCCIONES DEL NORTE SL\r\n \r\nCuenta de cargo incorrecta\r\n";
        }
    }
    const int lineasAnteriores = kBloquesAnteriores * 6 + (kBloquesAnteriores / 1000) * 2;
    const std::uintmax_t inicio = std::filesystem::file_size(resultado.log);
    {
        std::ofstream log(resultado.log, std::ios::binary | std::ios::app);
        log << asteriscos << "\r\n07/12/2026 - 10:45:33\r\n";
        for (int b = 1; b <= 3; ++b) {
            log << asteriscos << "\r\nNumero Linea: " << b << "\r\n \r\nImporte incorrecto\r\n";
        }
    }
    resultado.clase = ResultadoConversion::Clase::EscritoConRechazos;
    frmMsg ventana(mostrar, resultado, nullptr, inicio);
    auto* lista = listaDe(&ventana);
    // Nothing is read before the window shows, nor until Detalles asks for it.
    ventana.show();
    EXPECT_EQ(filasDe(lista), 0);
    QTest::mouseClick(hijo<QPushButton>(&ventana, "cmdDetalles"), Qt::LeftButton);
    EXPECT_EQ(filasDe(lista), 14);
    EXPECT_TRUE(ventana.cargando());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ventana.cargando(); }, 120000));
    ASSERT_EQ(filasDe(lista), lineasAnteriores + 14);
    // Still on this run's first line, with the earlier runs above it in their order.
    EXPECT_EQ(lista->indexAt(QPoint(0, 0)).row(), lineasAnteriores);
    EXPECT_EQ(linea(lista, lineasAnteriores + 1), QStringLiteral("07/12/2026 - 10:45:33"));
    EXPECT_EQ(linea(lista, 3), QStringLiteral("Numero Linea: 0"));
    EXPECT_EQ(linea(lista, lineasAnteriores - 1), QStringLiteral("Cuenta de cargo incorrecta"));
    EXPECT_EQ(linea(lista, lineasAnteriores - 5), QStringLiteral("Numero Linea: 59999"));
    EXPECT_EQ(linea(lista, lineasAnteriores + 13), QStringLiteral("Importe incorrecto"));
    // Closing the window lets the log go.
    ventana.accept();
    EXPECT_EQ(filasDe(lista), 0);
}

} // namespace
} // namespace trovanel::pruebas
