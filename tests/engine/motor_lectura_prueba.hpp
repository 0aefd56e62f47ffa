#pragma once

// What the reader engine's tests share: a family that writes each order's pieces as one plain record,
// "<line number at the flush> <field>=<value> ...", then "TOTAL <orders>" (a value holding "!" fails
// validation with "Error : <field>"), and a run of it in a folder of its own.

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "configuracion.hpp"
#include "estado_ejecucion.hpp"
#include "familia_conversion.hpp"
#include "fichero_salida.hpp"
#include "lector_filas.hpp"
#include "log_errores.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace trovanel::pruebas {

class FamiliaFalsa : public FamiliaConversion {
public:
    using FamiliaConversion::FamiliaConversion;

    bool cargarPartes(const ParametrosConversion&) override {
        ++partesCargadas;
        return true;
    }
    void iniciarEjecucion() override {}
    void validarPieza(std::string_view valorLeido) override {
        const std::string& nombre = estado.gCamposEstructura[lectura.gIndiceCampo].campo;
        if (valorLeido.find('!') != std::string_view::npos) {
            anotarError("Error : " + nombre);
        }
        orden_.append(" ").append(nombre).append("=").append(valorLeido);
    }
    bool escribirRegistros(FicheroSalida& salida) override {
        if (alEscribir && !alEscribir()) {
            return false;
        }
        salida.escribirLinea(std::to_string(lectura.gLineaEntrada) + orden_);
        orden_.clear();
        ++ordenes_;
        return true;
    }
    bool escribirTotales(FicheroSalida& salida) override {
        salida.escribirLinea("TOTAL " + std::to_string(ordenes_));
        return true;
    }
    void escribirLog(EscritorLog& log) override {
        log.escribirBloque(estado.gNumeroLinea, {orden_});
        orden_.clear();
    }
    const char* mensajeFalloLog() const override { return kFalloLogCobros; }
    bool recortaCeldas() const override { return recorta; }
    bool primeraLineaDeOrdenAbreOrden() const override { return primeraAbre; }

    // Called before each order is written; false makes the write fail.
    std::function<bool()> alEscribir;
    int partesCargadas = 0;
    bool recorta = false;
    bool primeraAbre = false;

private:
    std::string orden_;
    int ordenes_ = 0;
};

inline const std::string kAnterior = "anterior\r\n";
inline const std::string kCabeceraLog = "*************************************\r\n06/12/2026 - 10:45:33\r\n";

inline BaseDatos basePrograma(const std::filesystem::path& carpeta) {
    crearBaseDatosPrograma(carpeta / kNombreBaseDatos);
    return BaseDatos::abrir(carpeta / kNombreBaseDatos, BaseDatos::Modo::Exclusiva);
}

// Public: the table rows build their paths from it.
class MotorLectura : public ::testing::Test {
public:
    void SetUp() override {
        familia.resultado.log = log; // as the driver leaves them for the reader
        estado.gCabeceraLogPendiente = true;
        entorno.configuracion = &configuracion;
        escribirFichero(salida, kAnterior);
    }

    CarpetaTemporal carpeta;
    BaseDatos baseDatos = basePrograma(carpeta.ruta());
    AvisosGrabados avisos;
    RelojFijo reloj;
    EstadoEjecucion estado;
    Configuracion configuracion;
    Entorno entorno{baseDatos, avisos, reloj, carpeta.ruta()};
    FamiliaFalsa familia{estado, entorno};
    std::filesystem::path entrada = carpeta / "entrada.txt";
    std::filesystem::path salida = carpeta / "remesa.out";
    std::filesystem::path log = carpeta / "entrada.log";

    // The bank file (nullptr: none) and the log's blocks after the run header ("": no log).
    void esperados(const char* bytesSalida, const std::string& bloques) {
        if (bytesSalida == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(salida));
        } else {
            EXPECT_EQ(leerFichero(salida), bytesSalida);
        }
        EXPECT_EQ(std::filesystem::exists(log) ? leerFichero(log) : "",
                  bloques.empty() ? "" : kCabeceraLog + bloques);
    }
    // Reads a sheet or a table of a file in the folder into the bank file.
    void hoja(const char* fichero, const char* nombre = "Cobros") {
        leerHoja(familia, carpeta / fichero, nombre, salida);
    }
    void tabla(const char* fichero, const char* nombre = "Cobros") {
        leerTabla(familia, carpeta / fichero, nombre, salida);
    }
};

} // namespace trovanel::pruebas
