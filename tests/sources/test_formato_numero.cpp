#include "formato_numero.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trovanel {
namespace {

struct CasoCelda {
    const char* descripcion;
    double valor;
    ClaseFormato clase;
    bool sistema1904;
    const char* texto;
};

TEST(TextoCeldaNumerica, unaFechaSoloSeEscribeDentroDelCalendarioDeSuSistema) {
    const std::vector<CasoCelda> casos = {
        {"fecha corriente", 45000, ClaseFormato::Fecha, false, "15/03/2023"},
        {"solo hora", 0.75, ClaseFormato::Fecha, false, "18:00:00"},
        {"primer dia", 1, ClaseFormato::Fecha, false, "01/01/1900"},
        {"ultimo dia", 2958465, ClaseFormato::Fecha, false, "31/12/9999"},
        {"ultimo segundo", 2958465 + 86399.0 / 86400, ClaseFormato::Fecha, false, "31/12/9999 23:59:59"},
        {"ultimo instante que se redondea al dia siguiente", 2958465.99999999, ClaseFormato::Fecha, false,
         "2958465,99999999"},
        {"pasado el calendario", 2958466, ClaseFormato::Fecha, false, "2958466"},
        {"pasado el calendario con hora", 2958466.5, ClaseFormato::Fecha, false, "2958466,5"},
        {"muy pasado el calendario", 3000001, ClaseFormato::Fecha, false, "3000001"},
        {"enorme", 1e300, ClaseFormato::Fecha, false, "1E+300"},
        {"negativa", -1.25, ClaseFormato::Fecha, false, "-1,25"},
        {"apenas negativa", -0.000001, ClaseFormato::Fecha, false, "-1E-06"},
        {"primer dia de 1904", 0, ClaseFormato::Fecha, true, "01/01/1904"},
        {"ultimo dia de 1904", 2957003, ClaseFormato::Fecha, true, "31/12/9999"},
        {"pasado el calendario de 1904", 2957004, ClaseFormato::Fecha, true, "2957004"},
        {"negativa de 1904", -1, ClaseFormato::Fecha, true, "-1"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(textoCeldaNumerica(c.valor, c.clase, c.sistema1904), c.texto) << c.descripcion;
    }
}

TEST(TextoCeldaNumerica, unImporteSeRedondeaACuatroDecimalesYUnNumeroNo) {
    const std::vector<CasoCelda> casos = {
        {"moneda con ocho decimales", 1.23456789, ClaseFormato::Moneda, false, "1,2346"},
        {"moneda negativa", -9.87654321, ClaseFormato::Moneda, false, "-9,8765"},
        {"moneda con dos decimales", 1234.5, ClaseFormato::Moneda, false, "1234,5"},
        {"moneda diminuta", 0.00001, ClaseFormato::Moneda, false, "0"},
        {"moneda en lo alto del rango", 1e305, ClaseFormato::Moneda, false, "1E+305"},
        {"numero con ocho decimales", 1.23456789, ClaseFormato::Numero, false, "1,23456789"},
        {"numero fuera de cualquier fecha", 3000001, ClaseFormato::Numero, false, "3000001"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(textoCeldaNumerica(c.valor, c.clase, c.sistema1904), c.texto) << c.descripcion;
    }
}

} // namespace
} // namespace trovanel
