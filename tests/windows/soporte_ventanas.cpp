#include "soporte_ventanas.hpp"

#include "base_datos_programa.hpp"
#include "conversores_disponibles.hpp"
#include "texto_qt.hpp"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <tuple>

namespace trovanel::pruebas {

std::filesystem::path SelectorGuionado::abrirFichero(const std::string& titulo, const std::string& filtro,
                                                     const std::filesystem::path& carpetaInicial) {
    peticiones.push_back({titulo, filtro, carpetaInicial});
    if (respuestas.empty()) {
        return {};
    }
    auto respuesta = respuestas.front();
    respuestas.pop_front();
    return respuesta;
}

EntornoVentanas::EntornoVentanas() {
    crearBaseDatosPrograma(carpeta / "Estructuras.db");
    baseDatos.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
    registrarConversores(registro);
}

ContextoVentanas EntornoVentanas::contexto() {
    return ContextoVentanas{libro,          configuracion, *baseDatos, avisos, reloj,
                            carpeta.ruta(), registro,      selector,   abridor};
}

QLineEdit* PruebaVentana::box(QWidget* v, const char* nombre) {
    return hijo<QLineEdit>(v, nombre);
}

void PruebaVentana::pulsar(QWidget* v, const char* nombre) {
    QTest::mouseClick(hijo<QPushButton>(v, nombre), Qt::LeftButton);
}

void PruebaVentana::rellenar(QWidget* v, std::initializer_list<const char*> cajas,
                             const std::vector<std::string>& textos) {
    auto caja = cajas.begin();
    for (const std::string& texto : textos) {
        box(v, *caja++)->setText(aQString(texto));
    }
}

std::vector<std::string> PruebaVentana::textos(const QComboBox* combo) {
    std::vector<std::string> resultado;
    for (int i = 0; i < combo->count(); ++i) {
        resultado.push_back(desdeQString(combo->itemText(i)));
    }
    return resultado;
}

void PruebaVentana::escogerPorComienzo(QComboBox* combo, const char* comienzo) {
    const int indice = combo->findText(QString::fromLatin1(comienzo), Qt::MatchStartsWith);
    ASSERT_GE(indice, 0) << comienzo;
    combo->setCurrentIndex(indice);
    emit combo->activated(indice);
}

std::string PruebaVentana::corregir(QWidget* v, const char* caja, const char* texto) {
    if (*caja != '\0') {
        box(v, caja)->clear();
        box(v, caja)->setFocus();
        QTest::keyClicks(box(v, caja), texto);
    }
    entorno.avisos.respuestas = {true};
    pulsar(v, "cmdAceptar");
    std::string vistos;
    for (const std::string& m : mensajes()) {
        vistos += (vistos.empty() ? "" : " | ") + m;
    }
    return vistos;
}

void PruebaVentana::corregirImportada(QWidget* v, const CorreccionImportada& caso,
                                      const std::function<std::string(std::int64_t)>& cuentaGuardada) {
    escogerPorComienzo(hijo<QComboBox>(v, caso.combo), caso.comienzo);
    EXPECT_EQ(box(v, "tbEntidadEmi")->text(), QStringLiteral("2100"));
    const std::int64_t id = box(v, "tbIdEmi")->text().toLongLong();
    const char* kPregunta = "pregunta: ¿Desea guardar los cambios?";
    const char* kDCMal = "critico: Por favor, compruebe los datos de la cuenta";
    for (auto [caja, texto, aviso, cuenta] : {std::tuple{"", "", "", caso.antes},
                                              {"tbNifEmi", caso.nif, kPregunta, caso.antes},
                                              {"tbOficinaEmi", caso.oficinaMal, kDCMal, caso.antes},
                                              {"tbDC", caso.dcBueno, kPregunta, caso.despues}}) {
        EXPECT_EQ(corregir(v, caja, texto), aviso) << caja;
        EXPECT_EQ(cuentaGuardada(id), cuenta) << caja;
    }
}

void PruebaVentana::usarPortapapeles(QLineEdit* caja, const char* pegado, const char* queda) {
    QClipboard* portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    caja->setText(QStringLiteral("12"));
    QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(caja, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(portapapeles->text(), QStringLiteral("12"));
    portapapeles->setText(QString::fromLatin1(pegado));
    QTest::keyClick(caja, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(caja->text(), QString::fromLatin1(queda)) << pegado;
}

std::vector<std::string> PruebaVentana::mensajes() {
    std::vector<std::string> textos;
    for (const AvisosGrabados::Mensaje& m : entorno.avisos.mensajes) {
        textos.push_back(m.tipo + ": " + m.texto);
    }
    entorno.avisos.mensajes.clear();
    return textos;
}

BaseDatos PruebaVentana::copiaSoloLectura() {
    entorno.baseDatos->copiarA(entorno.carpeta / "lectura.db");
    return BaseDatos::abrir(entorno.carpeta / "lectura.db", BaseDatos::Modo::SoloLectura);
}

ContextoVentanas PruebaVentana::contextoSobre(BaseDatos& bd) {
    ContextoVentanas c = entorno.contexto();
    return ContextoVentanas{c.libro,           c.configuracion, bd,         c.avisos, c.reloj,
                            c.carpetaPrograma, c.registro,      c.selector, c.abridor};
}

} // namespace trovanel::pruebas
