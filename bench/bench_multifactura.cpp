// Converts a generated norm 19 multi-invoice input through the real driver and prints the receipts per
// second and the peak resident memory: one order line per customer followed by five invoice lines, each
// invoice a receipt. Kind C: every invoice line carries the key "01"; kind D: the count 01 to 05.
//   bench_multifactura [C|D] [receipts]   (D and 1,000,000 by default: 200,000 customers)
#include "base_datos.hpp"
#include "csb19.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace trovanel;
using bench::campo;

namespace {

constexpr long kFacturasPorCliente = 5;

// Order line "00": reference, name and account (74 characters); invoice lines: amount and concept (54).
constexpr const char* kPlantilla = R"(
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura)
    VALUES (100, 'CSB19', 'Facturas', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea)
    VALUES (100, 0, 'CodigoReferencia', 3, 14, 1, 2, '00'), (100, 1, 'NombreTitularRecibo', 15, 54, 1, 2, '00'),
    (100, 2, 'Entidad', 55, 58, 1, 2, '00'), (100, 3, 'Oficina', 59, 62, 1, 2, '00'),
    (100, 4, 'DC', 63, 64, 1, 2, '00'), (100, 5, 'Cuenta', 65, 74, 1, 2, '00'),
    (100, 6, 'Importe', 3, 14, 1, 2, '01'), (100, 7, 'Concepto1', 15, 54, 1, 2, '01');
)";

// Every tenth invoice has a zero amount and goes to the log. Amounts stay small so a million fit the
// file total's ten digits.
std::filesystem::path escribirEntrada(const std::filesystem::path& carpeta, long recibos, bool contada) {
    const auto ruta = carpeta / "entrada.txt";
    std::FILE* f = std::fopen(ruta.c_str(), "wb");
    std::string bloque;
    for (long cliente = 1; cliente <= recibos / kFacturasPorCliente; ++cliente) {
        const std::string numero = std::to_string(cliente);
        bloque = "00" + campo("C" + numero, 12) + campo("TITULAR " + numero, 40) + "8642" + "0101" + "16" +
                 "3000000101\r\n";
        for (long j = 1; j <= kFacturasPorCliente; ++j) {
            const long i = (cliente - 1) * kFacturasPorCliente + j;
            const std::string importe =
                i % 10 == 0 ? "0,00" : std::to_string(1 + i % 99) + "," + std::to_string(10 + i % 90);
            bloque += (contada ? "0" + std::to_string(j) : std::string("01")) + campo(importe, 12, true) +
                      campo("FACTURA " + std::to_string(i), 40) + "\r\n";
        }
        std::fwrite(bloque.data(), 1, bloque.size(), f);
    }
    std::fclose(f);
    return ruta;
}

} // namespace

int main(int argc, char** argv) {
    const bool contada = argc <= 1 || std::string(argv[1]) != "C";
    return bench::medir(
        {"recibos",
         argc > 2 ? std::atol(argv[2]) : 1'000'000,
         {},
         [contada](BaseDatos& baseDatos, EstadoEjecucion&, ParametrosConversion& parametros) {
             baseDatos.ejecutarScript(kPlantilla);
             baseDatos.ejecutarScript(
                 std::string("INSERT INTO multifactura (id_estructura, orden, campos, inicio) "
                             "VALUES (100, 0, 'Importe@SignoNegativo@Concepto1', ") +
                 (contada ? "1" : "0") + ");");
             parametros.gFechaProceso = "05/03/2026";
             parametros.idEstructura = 100;
             parametros.idPresentador = 1;
             parametros.idEmisor = 1;
         },
         GenerarCSB19,
         [contada](const std::filesystem::path& carpeta, long recibos) {
             return escribirEntrada(carpeta, recibos, contada);
         }});
}
