#pragma once

// What the golden tables of the payment families share: the program's database with the family's parties
// and templates (tests/data/<family>/partes.sql), the run state, a fixed clock, the drivers, and the bank
// file and log of a run in a folder of its own.

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace trovanel::pruebas {

class BasePagos : public ::testing::Test {
protected:
    explicit BasePagos(std::string familia) : familia_(std::move(familia)) {}

    void SetUp() override {
        crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
        baseDatos.emplace(BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva));
        baseDatos->ejecutarScript(leerFichero(datos("partes.sql")));
        registrarConversores(registro);
    }

    std::filesystem::path datos(const std::string& relativa) const {
        return datosPrueba() / familia_ / relativa;
    }
    Entorno entorno(SolicitudDatosObligatorios* solicitud = nullptr) {
        return Entorno{*baseDatos, avisos, reloj, carpeta.ruta(), solicitud};
    }

    // The run's folder, with its bank file and log.
    CarpetaTemporal carpeta;
    std::filesystem::path rutaSalida = carpeta / "remesa.out";
    std::filesystem::path rutaLog = carpeta / "remesa.log";
    std::optional<BaseDatos> baseDatos;
    RegistroConversores registro;
    EstadoEjecucion estado;
    AvisosGrabados avisos;
    RelojFijo reloj;

private:
    std::string familia_;
};

} // namespace trovanel::pruebas
