// Converts a generated supplier-payment input of one line per payment, with the supplier's address and
// telephone, through the real driver and prints the payments per second and the peak resident memory.
//   bench_zop [payments]   (1,000,000 by default)
#include "base_datos.hpp"
#include "estado_ejecucion.hpp"
#include "medida.hpp"
#include "zop.hpp"

#include <cstdlib>
#include <string>

namespace {

using trovanel::bench::campo;

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
void preparar(trovanel::BaseDatos& baseDatos, trovanel::EstadoEjecucion& estado,
              trovanel::ParametrosConversion& parametros) {
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
    estado.gFechaProceso = "05/03/2026";
    parametros.idEstructura = 100;
    parametros.idPresentador = 100;
    parametros.tipoPlantilla = "ZOP";
}

// Transfers and cheques in turn; every tenth payment has a zero amount and goes to the log.
std::string linea(long i) {
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

int main(int argc, char** argv) {
    const long pagos = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    return trovanel::bench::medir({"pagos a proveedores", pagos, linea, preparar, trovanel::GenerarZOP, {}});
}
