// Converts a generated norm 34 input of one line per transfer through the real driver and prints the
// transfers per second and the peak resident memory.
//   bench_csb34 [transfers]   (1,000,000 by default)
#include "base_datos.hpp"
#include "csb34.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"

#include <cstdlib>
#include <string>

using namespace trovanel;
using bench::campo;

namespace {

// A transfer template of its own (178 characters a line) and an ordering party.
constexpr const char* kPlantilla = R"(
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
std::string linea(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("B" + numero, 12) + campo("BENEFICIARIO " + numero, 36) + campo(importe, 12, true) + "8642" +
           "0101" + "16" + "3000000101" + "1" + campo("CALLE MAYOR " + numero, 36) + "28013" +
           campo("MADRID", 20) + campo("NOMINA " + numero, 36);
}

} // namespace

int main(int argc, char** argv) {
    return bench::medir({"transferencias",
                         argc > 1 ? std::atol(argv[1]) : 1'000'000,
                         linea,
                         [](BaseDatos& baseDatos, EstadoEjecucion& estado, ParametrosConversion& parametros) {
                             baseDatos.ejecutarScript(kPlantilla);
                             estado.gFechaProceso = "05/03/2026";
                             parametros.idEstructura = 100;
                             parametros.idPresentador = 100;
                             parametros.tipoPlantilla = "CSB34T";
                             parametros.detalleCargo = "0";
                             parametros.domicilioOrdenante = "CALLE MAYOR 1";
                             parametros.plazaOrdenante = "MADRID";
                         },
                         GenerarCSB34,
                         {}});
}
