// Converts a generated norm 19 input of one line per receipt through the real driver and prints the
// receipts per second and the peak resident memory.
//   bench_csb19 [receipts]   (1,000,000 by default)
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"

#include <cstdlib>
#include <string>

using namespace trovanel;
using bench::campo;

namespace {

// One receipt laid out as the example template 9 places it (244 characters); every tenth has a zero
// amount and goes to the log. Amounts stay small so a million fit the file total's ten digits.
std::string linea(long i) {
    const std::string numero = std::to_string(i);
    const bool rechazado = i % 10 == 0;
    const std::string importe =
        rechazado ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
    return campo("R" + numero, 12) + campo("TITULAR " + numero, 40) + "8642" + "0101" + "16" + "3000000101" +
           campo(importe, 12, true) + campo("CONCEPTO DEL RECIBO " + numero, 40) + campo("", 40) +
           campo("CALLE MAYOR " + numero, 40) + campo("MADRID", 35) + "28013";
}

} // namespace

int main(int argc, char** argv) {
    // The example template and the seeded presenter and issuer.
    return bench::medir({"recibos",
                         argc > 1 ? std::atol(argv[1]) : 1'000'000,
                         linea,
                         [](BaseDatos&, EstadoEjecucion& estado, ParametrosConversion& parametros) {
                             estado.gFechaProceso = "05/03/2026";
                             parametros.idEstructura = 9;
                             parametros.idPresentador = 1;
                             parametros.idEmisor = 1;
                         },
                         GenerarCSB19,
                         {}});
}
