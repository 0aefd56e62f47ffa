#pragma once

// What the validator tables of the payment families share: one value of one field validated on line 7
// by a module of the run, with the program's database at hand for the provinces.

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace trovanel::pruebas {

// A field at positions 1 to 80, or not placed (inicio 0).
inline CampoEstructura campo(std::string nombre, std::int64_t inicio = 1, std::string valorcampo = "",
                             bool obligatorio = false) {
    return {std::move(nombre), inicio, inicio == 0 ? 0 : 80, "", std::move(valorcampo), 0, 0, obligatorio, 0};
}

template <typename Piezas> struct CasoValidacion {
    const char* nombre;
    const char* clase; // the template type, or the operation the order has before the field
    CampoEstructura campo;
    std::string valor;
    std::string Piezas::*pieza; // nullptr: the amount and its sign
    std::string esperado;
    const char* error = nullptr; // nullptr: accepted
    std::string signo = " ";     // with pieza nullptr
    std::string fechaDatos = "";
    // The template also has a sign field the input does not carry: the marker is in the amount.
    bool signoEnImporte = false;
};

template <typename Piezas> class ValidacionPagos : public ::testing::TestWithParam<CasoValidacion<Piezas>> {
protected:
    void SetUp() override {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        baseDatos.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
        entorno.emplace(Entorno{*baseDatos, avisos, reloj, carpeta.ruta()});
        const auto& caso = this->GetParam();
        estado.gCamposEstructura = {caso.campo};
        if (caso.signoEnImporte) {
            estado.gCamposEstructura.push_back(campo("SignoNegativo", 0));
        }
        estado.gFechaDatos = caso.fechaDatos;
    }

    // Validates the case's value with a module whose run has started; checks its piece, its error and
    // that the value read is left as it was.
    template <typename Modulo> void validar(Modulo& modulo) {
        const auto& caso = this->GetParam();
        modulo.lectura.gLineaEntrada = 7;
        std::string valor = caso.valor;
        modulo.validarPieza(valor);
        if (caso.pieza != nullptr) {
            EXPECT_EQ(modulo.piezas.*caso.pieza, caso.esperado);
        } else {
            EXPECT_EQ(modulo.importe, caso.esperado);
            EXPECT_EQ(modulo.signo, caso.signo);
        }
        EXPECT_EQ(estado.gErrores,
                  caso.error ? std::vector<std::string>{caso.error} : std::vector<std::string>{});
        EXPECT_EQ(modulo.lectura.gRegistroConError, caso.error != nullptr);
        EXPECT_EQ(estado.gNumeroLinea, caso.error ? 7 : 0);
        EXPECT_EQ(valor, caso.valor);
    }

    CarpetaTemporal carpeta;
    AvisosGrabados avisos;
    RelojFijo reloj;
    EstadoEjecucion estado;
    std::optional<BaseDatos> baseDatos;
    std::optional<Entorno> entorno;
};

} // namespace trovanel::pruebas
