#pragma once

// The fixture and helpers of the tests of "Generar CSB" (frmEntrada).

#include "entradas_filas.hpp"
#include "frmEntrada.hpp"

#include "base_datos.hpp"
#include "conversores.hpp"
#include "datos_obligatorios.hpp"
#include "estado_ejecucion.hpp"
#include "modelo_entrada.hpp"
#include "programa.hpp"
#include "soporte_ventanas.hpp"
#include "texto_qt.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>

namespace trovanel::entrada_prueba {

namespace fs = std::filesystem;

using pruebas::AvisosGrabados;
using pruebas::EntornoVentanas;
using pruebas::hijo;
using pruebas::leerFichero;
using Textos = std::vector<std::string>;

inline const std::string kSinPresentadores =
    "No tiene datos de presentadores\r\nPuede importar el fichero de cuentas"
    "\r\no añadir los datos de forma manual desde la opción CABECERAS";
inline const std::string kSinOrdenante =
    "No dispone de datos de Ordenante\r\nPuede importar el fichero de cuentas"
    "\r\no añadir los datos de forma manual desde la opción CABECERAS";

// The dialog with its result window replaced by a counter and the last outcome, so no modal window
// waits for the test.
class frmEntradaSinResultado : public frmEntrada {
public:
    using frmEntrada::frmEntrada;
    int resultados = 0;
    std::optional<ResultadoConversion> ultimo;

protected:
    void mostrarResultado(const ResultadoConversion& resultado) override {
        ++resultados;
        ultimo = resultado;
    }
};

// What the result window said before the test closed it.
struct ResultadoVisto {
    bool visto = false;
    QString texto;
    QStringList lineasLog;
};

// Closes the real result window as soon as it is shown, reading it first.
inline void cerrarResultadoAlMostrarse(QWidget* dueno, ResultadoVisto& resultado) {
    auto* reloj = new QTimer(dueno);
    reloj->setInterval(10);
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, &resultado] {
        auto* ventana = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (ventana == nullptr || ventana->objectName() != QStringLiteral("frmMsg")) {
            return;
        }
        resultado.visto = true;
        if (auto* etiqueta = ventana->findChild<QLabel*>(QStringLiteral("labProcTerminado"))) {
            resultado.texto = etiqueta->text();
        }
        if (auto* detalles = ventana->findChild<QPushButton*>(QStringLiteral("cmdDetalles"));
            detalles != nullptr && detalles->isEnabled()) {
            QTest::mouseClick(detalles, Qt::LeftButton);
        }
        if (auto* lista = ventana->findChild<QAbstractItemView*>(QStringLiteral("rtbFicheroLog"))) {
            for (int i = 0; i < lista->model()->rowCount(); ++i) {
                resultado.lineasLog << lista->model()->index(i, 0).data().toString();
            }
        }
        reloj->stop();
        ventana->accept();
    });
    reloj->start();
}

// A choice in a list as the user makes it: open the list and click the entry.
inline void elegir(QComboBox* combo, int indice) {
    ASSERT_NE(combo, nullptr);
    ASSERT_LT(indice, combo->count());
    combo->showPopup();
    QAbstractItemView* vista = combo->view();
    const QRect celda = vista->visualRect(vista->model()->index(indice, 0));
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, celda.center());
    ASSERT_EQ(combo->currentIndex(), indice);
}

inline void elegirTexto(QComboBox* combo, const std::string& texto) {
    const int indice = combo->findText(aQString(texto));
    ASSERT_GE(indice, 0) << texto;
    elegir(combo, indice);
}

inline std::vector<std::string> textos(const QComboBox* combo) {
    std::vector<std::string> resultado;
    for (int i = 0; i < combo->count(); ++i) {
        resultado.push_back(desdeQString(combo->itemText(i)));
    }
    return resultado;
}

inline std::vector<std::string> fila(const QTableWidget* grid, int numero) {
    std::vector<std::string> celdas;
    for (int c = 1; c < grid->columnCount(); ++c) {
        celdas.push_back(grid->item(numero, c) ? desdeQString(grid->item(numero, c)->text()) : "");
    }
    return celdas;
}

inline std::vector<std::string> cabecera(const QTableWidget* grid) {
    std::vector<std::string> titulos;
    for (int c = 0; c < grid->columnCount(); ++c) {
        titulos.push_back(desdeQString(grid->horizontalHeaderItem(c)->text()));
    }
    return titulos;
}

inline std::vector<std::string> mensajes(const AvisosGrabados& avisos) {
    std::vector<std::string> textosMensajes;
    for (const auto& mensaje : avisos.mensajes) {
        textosMensajes.push_back(mensaje.texto);
    }
    return textosMensajes;
}

inline QLineEdit* cajaAnio(QWidget* dialogo) {
    auto* caja = dialogo->findChild<QLineEdit*>(QString::fromUtf8("tbA\xc3\xb1o"));
    EXPECT_NE(caja, nullptr);
    return caja;
}

// Answers the missing-data request from a script and notes what the run state held when asked.
class SolicitudGuionada : public SolicitudDatosObligatorios {
public:
    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                  std::string_view) override {
        vistos.push_back({estado.gFechaDatos});
        const bool acepta = !respuestas.empty() && respuestas.front();
        if (!respuestas.empty()) {
            respuestas.pop_front();
        }
        for (std::size_t i : campos) {
            estado.gCamposEstructura[i].valorcampo = "DEV001";
        }
        estado.gFechaDatos = fechaTecleada;
        return acepta;
    }
    struct Visto {
        std::string fechaDatos;
    };
    std::deque<bool> respuestas;
    // The date each answer leaves typed in the run state.
    std::string fechaTecleada;
    std::vector<Visto> vistos;
};

class FrmEntrada : public ::testing::Test {
protected:
    BaseDatos& bd() { return *entorno.baseDatos; }

    std::int64_t plantilla(const std::string& tipo, const std::string& descripcion) {
        bd().preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
            .con(tipo, descripcion)
            .ejecutar();
        return bd().ultimoId();
    }
    // A user template with the fields of the example one.
    std::int64_t copiaDelEjemplo(const std::string& descripcion) {
        const std::int64_t id = plantilla("CSB19", descripcion);
        bd().preparar(
                "INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                "finlinea, valorlinea, valorcampo, obligatorio, longitud) SELECT ?, id_campo, campo, inicio, "
                "fin, inilinea, finlinea, valorlinea, valorcampo, obligatorio, longitud "
                "FROM detalleestructura WHERE id_estructura = 9")
            .con(id)
            .ejecutar();
        return id;
    }
    std::int64_t presentador(const std::string& nombre, const std::string& csb,
                             const std::string& cuenta = "12345678061234567890") {
        bd().preparar("INSERT INTO presentadores (tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (?, ?, "
                      "?, ?, ?, ?)")
            .con(std::string(csb == "pagos" || csb == "ZOP" ? "pagos" : "cobros"), std::string("A11111111"),
                 nombre, std::string("001"), cuenta, csb)
            .ejecutar();
        return bd().ultimoId();
    }
    std::int64_t emisor(std::int64_t idPresentador, const std::string& nombre, const std::string& cuenta) {
        bd().preparar("INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, ?, "
                      "?, ?, ?)")
            .con(idPresentador, std::string("B22222222"), std::string("002"), nombre, cuenta)
            .ejecutar();
        return bd().ultimoId();
    }
    void enlazar(const std::string& usuario, const std::string& tipo, std::int64_t idPresentador) {
        bd().preparar("INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES (?, ?, ?)")
            .con(usuario, tipo, idPresentador)
            .ejecutar();
    }

    // The family's driver only keeps the parameters it is given.
    void guardarParametros(Familia familia, std::optional<ParametrosConversion>& recibidos) {
        entorno.registro.registrar(familia,
                                   [&recibidos](EstadoEjecucion&, Entorno&, const ParametrosConversion& p) {
                                       recibidos = p;
                                       return ResultadoConversion{};
                                   });
    }

    std::unique_ptr<frmEntradaSinResultado> abrir(SolicitudDatosObligatorios* solicitud = nullptr) {
        auto dialogo = std::make_unique<frmEntradaSinResultado>(entorno.contexto(), solicitud);
        dialogo->show();
        return dialogo;
    }

    void elegirPlantilla(QWidget* dialogo, std::int64_t id) {
        auto* cb = hijo<QComboBox>(dialogo, "cbEstructura");
        for (int i = 0; i < cb->count(); ++i) {
            if (cb->itemData(i).toList().value(0).toLongLong() == id) {
                elegir(cb, i);
                return;
            }
        }
        FAIL() << "plantilla " << id << " no listada";
    }

    void elegirEntrada(QWidget* dialogo, const fs::path& ruta) {
        entorno.selector.respuestas.push_back(ruta);
        QTest::mouseClick(hijo<QPushButton>(dialogo, "Image1"), Qt::LeftButton);
    }

    void fecha(QWidget* dialogo, const char* dia, const char* mes, const char* anio) {
        for (auto [nombre, texto] : {std::pair{"tbDia", dia}, std::pair{"tbMes", mes}}) {
            auto* caja = hijo<QLineEdit>(dialogo, nombre);
            caja->clear();
            QTest::keyClicks(caja, texto);
        }
        cajaAnio(dialogo)->clear();
        QTest::keyClicks(cajaAnio(dialogo), anio);
    }

    void generar(QWidget* dialogo) {
        QTest::mouseClick(hijo<QPushButton>(dialogo, "cmdProcesar"), Qt::LeftButton);
    }

    EntornoVentanas entorno;
};

class FrmEntradaCascada : public FrmEntrada {
protected:
    void SetUp() override {
        obrien = presentador("COBROS O'BRIEN SA", "CSB19", "86420001612000000028");
        emisor(obrien, "EMISOR UNO", "86420001612000000028");
        emisor(obrien, "EMISOR DOS", "1234567890");
        enlazar("O'Brien", "CSB19", obrien);
        // Two links of one user: listed once.
        enlazar("ana", "CSB19", 1);
        enlazar("ana", "CSB19", obrien);
        // Linked under another kind: not a norm 19 user.
        const std::int64_t pagadora = presentador("PAGADORA SA", "pagos", "86420001691000000017");
        enlazar("tesorero", "pagos", pagadora);
    }
    std::int64_t obrien = 0;
};

} // namespace trovanel::entrada_prueba
