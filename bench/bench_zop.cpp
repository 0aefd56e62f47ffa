// Converts a generated supplier-payment input of one line per payment, with the supplier's address and
// telephone, through the real driver and prints the payments per second and the peak resident memory.
//   bench_zop [payments]   (1,000,000 by default)
#include "base_datos.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"
#include "zop.hpp"

#include <cstdlib>
#include <string>

using namespace trovanel;
using bench::campo;

namespace {

// A template of its own (184 characters a line): transfers and cheques by the payment form "T" or "C".
constexpr const char* kPlantilla = R"(
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura)
    VALUES (100, 'ZOP', 'Proveedores', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES
    (100, 0, 'ClaveProveedor', 1, 10, '', 1), (100, 1, 'NombreProveedor', 11, 46, '', 1),
    (100, 2, 'Direccion', 47, 77, '', 0), (100, 3, 'NumeroCalle', 78, 82, '', 0), (100, 4, 'CP', 83, 87, '', 0),
    (100, 5, 'Localidad', 88, 107, '', 0), (100, 6, 'Pais', 108, 109, '', 0),
    (100, 7, 'Telefono', 110, 118, '', 0), (100, 8, 'Fax', 119, 127, '', 0),
    (100, 9, 'FormaPago', 128, 128, 'C-T-P', 1), (100, 10, 'Entidad', 129, 132, '', 0),
    (100, 11, 'Oficina', 133, 136, '', 0), (100, 12, 'DC', 137, 138, '', 0), (100, 13, 'Cuenta', 139, 148, '', 0),
    (100, 14, 'Importe', 149, 160, '', 1), (100, 15, 'FechaVto', 161, 168, 'DDMMAAAA', 0),
    (100, 16, 'NumeroFactura', 169, 184, '', 0);
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb)
    VALUES (100, 'pagos', 'B00000000', 'EMPRESA DE EJEMPLO SL', '', '86420001691000000017', 'ZOP');
)";

// Every tenth payment has a zero amount and goes to the log; every other one is a cheque.
std::string linea(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("P" + numero, 10) + campo("PROVEEDOR " + numero, 36) + campo("CALLE MAYOR", 31) +
           campo(std::to_string(1 + i % 200), 5) + "28013" + campo("MADRID", 20) + "ES" +
           std::to_string(910000000 + i % 90000000) + "         " + (i % 2 == 0 ? "C" : "T") + "8642" +
           "0101" + "16" + "3000000101" + campo(importe, 12, true) + "25122026" + campo("F-" + numero, 16);
}

} // namespace

int main(int argc, char** argv) {
    return bench::medir({"pagos a proveedores",
                         argc > 1 ? std::atol(argv[1]) : 1'000'000,
                         linea,
                         [](BaseDatos& baseDatos, EstadoEjecucion& estado, ParametrosConversion& parametros) {
                             baseDatos.ejecutarScript(kPlantilla);
                             estado.gFechaProceso = "05/03/2026";
                             parametros.idEstructura = 100;
                             parametros.idPresentador = 100;
                             parametros.tipoPlantilla = "ZOP";
                         },
                         GenerarZOP,
                         {}});
}
