#pragma once

#include "pagos.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The pieces of the norm 34 records: the header's from the ordering party and the dialog, the detail
// records' from each order's validation, carried over between the orders of a run. Texts are kept
// trimmed or at their width; the record writer brings each to its place.
struct PiezasCSB34 {
    // Header records 001 to 004.
    std::string fechaEnvio;   // today, DDMMAA
    std::string fechaEmision; // the process date, DDMMAA
    std::string detalleCargo; // "0" total, "1" partial
    std::string domicilioOrdenante;
    std::string plazaOrdenante;

    // Detail records 010 to 021.
    std::string operacion; // "56" transfers and payroll, "57" cheques, "58" promissory notes, "59" certified
    std::string claveBeneficiario;
    std::string entidad;
    std::string oficina;
    std::string dc;
    std::string cuenta;
    std::string gastos;
    std::string concepto; // "1" payroll, "9" the others
    std::string fechaVto;
    std::string nombre;
    std::string fechaFactura; // DDMMAA and a blank
    std::string domicilio;    // 012, first 36
    std::string domicilio2;   // 013, the next 36
    std::string cp;
    std::string plaza;
    std::string provinciaBeneficiario;
    std::string conceptoOrden;  // 016
    std::string conceptoOrden2; // 017
    std::string dni;
    std::string ref12;
    std::string ref16;
    std::string telefono;
    std::string email;
};

// Every field name the norm 34 validator knows; the pairs of names that feed one piece share a value.
enum class CampoCSB34 {
    Desconocido,
    ClaveBeneficiario,
    Importe,
    SignoNegativo,
    Entidad,
    Oficina,
    DC,
    Cuenta,
    Gastos,
    FechaVto,
    NombreBeneficiario,
    FechaFactura,
    DomicilioBeneficiario,
    CPBeneficiario,
    PlazaBeneficiario,
    ProvinciaBeneficiario,
    ConceptoOrden,
    DNI,
    Ref12,
    Ref16,
    NumeroFactura,
    TlfMovil,
    Email,
};

// The field a template's name selects, compared exactly.
CampoCSB34 campoCSB34(std::string_view nombre);

// Norm 34 payment orders: transfers, payroll, cheques, promissory notes and certified payments, in
// 72-character records 001-004, 010-021 and the totals record.
class ModuloCSB34 : public ModuloPagos {
public:
    // tipoPlantilla: the run's template type code, with its input suffix where it has one.
    ModuloCSB34(EstadoEjecucion& estado, Entorno& entorno, std::string tipoPlantilla);

    bool cargarPartes(const ParametrosConversion& parametros) override;
    void iniciarEjecucion() override;
    bool escribirRegistros(FicheroSalida& salida) override;

    PiezasCSB34 piezas;
    // The type without its input suffix ("CSB34T"), as the fields are validated by it.
    std::string gTipoPlantilla;

protected:
    void validarCampoFamilia(const CampoEstructura& campo, int codigo, std::string_view valorLeido) override;
    void validarCuenta(CampoCSB34 tipo, const CampoEstructura& campo, std::string_view valorLeido);
    void validarFecha(CampoCSB34 tipo, const CampoEstructura& campo, std::string_view valorLeido);
    void validarClave(const CampoEstructura& campo, std::string_view valorLeido);
    void validarGastos(const CampoEstructura& campo, std::string_view valorLeido);
    // The beneficiary's address, postal code, town and province.
    void validarDireccion(CampoCSB34 tipo, const CampoEstructura& campo, std::string_view valorLeido);
    int resolverCampo(std::string_view nombre) const override { return static_cast<int>(campoCSB34(nombre)); }

private:
    // The postal code or the town of the beneficiary, checked by the kind of order, into its piece.
    void datoDeDireccion(std::string& dato, const CampoEstructura& campo, std::string_view valor,
                         const char* supuesto, std::size_t mirados, const char* error);
    // Payroll or transfers: blank addresses and towns are filled in, not refused.
    bool nominaOTransferencia_ = false;
    // The beneficiary's key goes without its "-" (type "PAGOSC").
    bool claveSinGuion_ = false;
};

// Converts one input into a norm 34 bank file.
ResultadoConversion GenerarCSB34(EstadoEjecucion& estado, Entorno& entorno,
                                 const ParametrosConversion& parametros);

} // namespace trovanel
