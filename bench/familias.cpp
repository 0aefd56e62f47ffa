// The generated inputs of the four families' benchmarks: one line per order, every tenth rejected.
#include "familias.hpp"

#include "base_datos.hpp"
#include "csb19.hpp"
#include "csb34.hpp"
#include "csb58.hpp"
#include "estado_ejecucion.hpp"
#include "zop.hpp"

#include <string>

namespace trovanel::bench {

namespace {

// One receipt laid out as the example template 9 places it (244 characters); every tenth has a zero
// amount and goes to the log. Amounts stay small so a million fit the file total's ten digits.
std::string lineaCSB19(long i) {
    const std::string numero = std::to_string(i);
    const bool rechazado = i % 10 == 0;
    const std::string importe =
        rechazado ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("R" + numero, 12) + campo("TITULAR " + numero, 40) + "8642" + "0101" + "16" + "3000000101" +
           campo(importe, 12, true) + campo("CONCEPTO DEL RECIBO " + numero, 40) + campo("", 40) +
           campo("CALLE MAYOR " + numero, 40) + campo("MADRID", 35) + "28013";
}

// A template of its own (216 characters a line), on the seeded presenter and issuer.
constexpr const char* kPlantillaCSB58 = R"(
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura)
    VALUES (100, 'CSB58', 'Anticipos', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES
    (100, 0, 'CodigoReferencia', 1, 12, '', 0), (100, 1, 'NombreTitular', 13, 52, '', 0),
    (100, 2, 'Entidad', 53, 56, '', 0), (100, 3, 'Oficina', 57, 60, '', 0), (100, 4, 'DC', 61, 62, '', 0),
    (100, 5, 'Cuenta', 63, 72, '', 0), (100, 6, 'Importe', 73, 84, '', 0),
    (100, 7, 'FechaVto', 85, 94, 'DD/MM/AAAA', 1), (100, 8, 'Concepto1', 95, 134, '', 0),
    (100, 9, 'DomicilioDeudor', 135, 174, '', 0), (100, 10, 'LocalidadDeudor', 175, 209, '', 0),
    (100, 11, 'CPDeudor', 210, 214, '', 0), (100, 12, 'CodProvincia', 215, 216, '', 0);
)";

// Every tenth credit has a zero amount and goes to the log. Amounts stay small so a million fit the file
// total's ten digits.
std::string lineaCSB58(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    const std::string dia = std::to_string(10 + i % 18);
    return campo("F" + numero, 12) + campo("DEUDOR " + numero, 40) + "8642" + "0101" + "16" + "3000000101" +
           campo(importe, 12, true) + dia + "/06/2027" + campo("FACTURA " + numero, 40) +
           campo("CALLE MAYOR " + numero, 40) + campo("MADRID", 35) + "28013" + "28";
}

// A transfer template of its own (178 characters a line) and an ordering party.
constexpr const char* kPlantillaCSB34 = R"(
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura)
    VALUES (100, 'CSB34T', 'Transferencias', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES
    (100, 0, 'ClaveBeneficiario', 1, 12, '', 1), (100, 1, 'NombreBeneficiario', 13, 48, '', 1),
    (100, 2, 'Importe', 49, 60, '', 1), (100, 3, 'Entidad', 61, 64, '', 1), (100, 4, 'Oficina', 65, 68, '', 1),
    (100, 5, 'DC', 69, 70, '', 1), (100, 6, 'Cuenta', 71, 80, '', 1), (100, 7, 'Gastos', 81, 81, '', 1),
    (100, 8, 'DomicilioBeneficiario', 82, 117, '', 0), (100, 9, 'CPBeneficiario', 118, 122, '', 0),
    (100, 10, 'PlazaBeneficiario', 123, 142, '', 0), (100, 11, 'Observacion', 143, 178, '', 0);
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb)
    VALUES (100, 'pagos', 'B00000000', 'EMPRESA DE EJEMPLO SL', '', '86420001691000000017', 'pagos');
)";

// Every tenth transfer has a zero amount and goes to the log.
std::string lineaCSB34(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("B" + numero, 12) + campo("BENEFICIARIO " + numero, 36) + campo(importe, 12, true) + "8642" +
           "0101" + "16" + "3000000101" + "1" + campo("CALLE MAYOR " + numero, 36) + "28013" +
           campo("MADRID", 20) + campo("NOMINA " + numero, 36);
}

// The template's fields in their order: name, first and last position, template value, mandatory.
struct CampoBanco {
    const char* nombre;
    int inicio;
    int fin;
    const char* valor;
    bool obligatorio;
};
constexpr CampoBanco kCampos[] = {
    {"ClaveProveedor", 1, 10, "", true},
    {"NombreProveedor", 11, 46, "", true},
    {"Direccion", 47, 77, "", false},
    {"NumeroCalle", 78, 82, "", false},
    {"CP", 83, 87, "", false},
    {"Localidad", 88, 107, "", false},
    {"Pais", 108, 109, "", false},
    {"Telefono", 110, 118, "", false},
    {"Fax", 119, 127, "", false},
    {"FormaPago", 128, 128, "C-T-P", true},
    {"Entidad", 129, 132, "", false},
    {"Oficina", 133, 136, "", false},
    {"DC", 137, 138, "", false},
    {"Cuenta", 139, 148, "", false},
    {"Importe", 149, 160, "", true},
    {"FechaVto", 161, 168, "DDMMAAAA", false},
    {"NumeroFactura", 169, 184, "", false},
};

// A template of its own (184 characters a line) and an ordering party.
void prepararZOP(BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros) {
    baseDatos.ejecutarScript(
        "INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) "
        "VALUES (100, 'ZOP', 'Proveedores', -1, 0);"
        "INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) "
        "VALUES (100, 'pagos', 'B00000000', 'EMPRESA DE EJEMPLO SL', '', "
        "'86420001691000000017', 'ZOP');");
    int id = 0;
    for (const CampoBanco& c : kCampos) {
        baseDatos
            .preparar(
                "INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, "
                "obligatorio) VALUES (100, ?, ?, ?, ?, ?, ?)")
            .con(id++, c.nombre, c.inicio, c.fin, c.valor, c.obligatorio ? 1 : 0)
            .ejecutar();
    }
    parametros.gFechaProceso = "05/03/2026";
    parametros.idEstructura = 100;
    parametros.idPresentador = 100;
    parametros.gTipoEstructura = "ZOP";
}

// Transfers and cheques in turn; every tenth payment has a zero amount and goes to the log.
std::string lineaZOP(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("P" + numero, 10) + campo("PROVEEDOR " + numero, 36) + campo("CALLE MAYOR", 31) +
           campo(std::to_string(1 + i % 200), 5) + "28013" + campo("MADRID", 20) + "ES" +
           std::to_string(910000000 + i % 90000000) + std::string(9, ' ') + (i % 2 == 0 ? "C" : "T") +
           "8642" + "0101" + "16" + "3000000101" + campo(importe, 12, true) + "25122026" +
           campo("F-" + numero, 16);
}

} // namespace

Medicion medicionCSB19(long recibos) {
    // The example template and the seeded presenter and issuer.
    return {"recibos",
            recibos,
            lineaCSB19,
            [](BaseDatos&, EstadoEjecucion&, ParametrosConversion& parametros) {
                parametros.gFechaProceso = "05/03/2026";
                parametros.idEstructura = 9;
                parametros.idPresentador = 1;
                parametros.idEmisor = 1;
            },
            GenerarCSB19,
            {}};
}

Medicion medicionCSB58(long creditos) {
    return {"creditos",
            creditos,
            lineaCSB58,
            [](BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros) {
                baseDatos.ejecutarScript(kPlantillaCSB58);
                parametros.idEstructura = 100;
                parametros.idPresentador = 1;
                parametros.idEmisor = 1;
            },
            GenerarCSB58,
            {}};
}

Medicion medicionCSB34(long transferencias) {
    return {"transferencias",
            transferencias,
            lineaCSB34,
            [](BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros) {
                baseDatos.ejecutarScript(kPlantillaCSB34);
                parametros.gFechaProceso = "05/03/2026";
                parametros.idEstructura = 100;
                parametros.idPresentador = 100;
                parametros.gTipoEstructura = "CSB34T";
                parametros.detalleCargo = "0";
                parametros.domicilioOrdenante = "CALLE MAYOR 1";
                parametros.plazaOrdenante = "MADRID";
            },
            GenerarCSB34,
            {}};
}

Medicion medicionZOP(long pagos) {
    return {"pagos a proveedores", pagos, lineaZOP, prepararZOP, GenerarZOP, {}};
}

} // namespace trovanel::bench
