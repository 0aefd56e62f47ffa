// Converts a generated norm 58 input of one line per credit, each with a due date and the debtor's
// address, through the real driver and prints the credits per second and the peak resident memory.
//   bench_csb58 [credits]   (1,000,000 by default)
#include "base_datos.hpp"
#include "csb58.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"

#include <cstdlib>
#include <string>

using namespace trovanel;
using bench::campo;

namespace {

// A template of its own (216 characters a line), on the seeded presenter and issuer.
constexpr const char* kPlantilla = R"(
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
std::string linea(long i) {
    const std::string numero = std::to_string(i);
    const std::string importe =
        i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    const std::string dia = std::to_string(10 + i % 18);
    return campo("F" + numero, 12) + campo("DEUDOR " + numero, 40) + "8642" + "0101" + "16" + "3000000101" +
           campo(importe, 12, true) + dia + "/06/2027" + campo("FACTURA " + numero, 40) +
           campo("CALLE MAYOR " + numero, 40) + campo("MADRID", 35) + "28013" + "28";
}

} // namespace

int main(int argc, char** argv) {
    return bench::medir({"creditos",
                         argc > 1 ? std::atol(argv[1]) : 1'000'000,
                         linea,
                         [](BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros) {
                             baseDatos.ejecutarScript(kPlantilla);
                             parametros.idEstructura = 100;
                             parametros.idPresentador = 1;
                             parametros.idEmisor = 1;
                         },
                         GenerarCSB58,
                         {}});
}
