// What every window shares: the controls' look, checked on the real windows.

#include "frmAcercade.hpp"
#include "frmDatos.hpp"
#include "frmEntrada.hpp"
#include "frmMsg.hpp"
#include "soporte_ventanas.hpp"

#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace trovanel {
namespace {

using pruebas::EntornoVentanas;

TEST(Controles, cadaBotonCabeSuTextoEnTodasLasVentanas) {
    EntornoVentanas entorno;
    CampoEstructura campo;
    campo.campo = "FormaPagoFecha";
    campo.obligatorio = true;
    entorno.estado.gCamposEstructura = {campo};
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> ventanas = {
        {"frmEntrada", [&] { return std::make_unique<frmEntrada>(entorno.contexto()); }},
        {"frmMsg", [&] { return std::make_unique<frmMsg>(entorno.estado); }},
        {"frmDatos",
         [&] {
             return std::make_unique<frmDatos>(entorno.estado, std::vector<std::size_t>{0}, entorno.avisos);
         }},
        {"frmAcercade", [] { return std::make_unique<frmAcercade>(); }},
    };
    for (const auto& [nombre, crear] : ventanas) {
        const std::unique_ptr<QWidget> ventana = crear();
        ventana->show();
        for (QPushButton* boton : ventana->findChildren<QPushButton*>()) {
            if (!boton->isVisible()) {
                continue;
            }
            const int texto = boton->fontMetrics().horizontalAdvance(QString(boton->text()).remove(u'&'));
            const int icono = boton->icon().isNull() ? 0 : boton->iconSize().width();
            EXPECT_GE(boton->width(), texto + icono) << nombre << " " << boton->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace trovanel
