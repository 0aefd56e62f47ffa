#pragma once

// "Datos Obligatorios que faltan" answered through its model as a user would: the dates typed one after
// another until "&Aceptar" takes one (the dialog stays open on a wrong date), the first item of each list.
// A turn "d1|d2" types d1 in the first date box and d2 in the next ones.
// Only for test programs that link the application's models.

#include "datos_obligatorios.hpp"
#include "modelo_datos.hpp"

#include <string>
#include <utility>
#include <vector>

namespace trovanel::pruebas {

class SolicitudTecleada : public SolicitudDatosObligatorios {
public:
    explicit SolicitudTecleada(std::vector<std::string> fechas) : fechas_(std::move(fechas)) {}

    bool MostrarDatosObligatorios(EstadoEjecucion& estado, const std::vector<std::size_t>& campos,
                                  std::string_view gTipoEstructura) override {
        const std::vector<FilaDatos> filas = filasDatosObligatorios(estado.gCamposEstructura, campos);
        for (const std::string& turno : fechas_) {
            std::vector<ValorDato> valores;
            std::size_t desde = 0;
            for (const FilaDatos& fila : filas) {
                if (fila.clase != ClaseFilaDatos::Fecha) {
                    valores.push_back(
                        {fila.indice, fila.clase, fila.opciones.empty() ? "" : fila.opciones.front()});
                    continue;
                }
                const std::size_t hasta = turno.find('|', desde);
                valores.push_back({fila.indice, fila.clase, turno.substr(desde, hasta - desde)});
                desde = hasta == std::string::npos ? desde : hasta + 1;
            }
            resultados.push_back(aceptar(estado, valores, gTipoEstructura));
            if (resultados.back() == ResultadoDatos::Aceptado) {
                return true;
            }
        }
        return false; // "&Cancelar"
    }

    // What each "&Aceptar" gave, in order.
    std::vector<ResultadoDatos> resultados;

private:
    std::vector<std::string> fechas_;
};

} // namespace trovanel::pruebas
