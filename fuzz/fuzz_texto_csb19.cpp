// Text input through the reader engine and the norm 19 driver: the input is converted as the dialog
// would, with the example template (one line per receipt), a template whose receipts span several lines
// and two multi-invoice templates (the same key on every invoice line, and counted keys), into a bank
// file and a log that are removed after each input. The example template runs once more with a line cap
// of half the input, which the fuzzer can reach: a line past it must stop the run with no bank file,
// and a run that reaches no line past it must convert as the run without the cap did.

#include "conversion_fuzz.hpp"
#include "soporte_fuzz.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "reloj.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>

namespace {

using namespace trovanel;
using namespace trovanel::fuzz;

constexpr std::int64_t kPlantillaEjemplo = 9;

struct Campo {
    const char* nombre;
    int inicio;
    int fin;
    const char* clave;
    const char* valor;
};

// A template whose line keys sit at positions 1-2 and whose first field opens an order; with
// camposFactura, a multi-invoice one whose invoice key is that row's first field (inicio 1: counted).
std::int64_t crearPlantilla(BaseDatos& bd, std::span<const Campo> campos, const char* camposFactura = nullptr,
                            int inicio = 0) {
    bd.preparar("INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) "
                "VALUES ('CSB19', 'Remesa en varias lineas', 0, ?)")
        .con(camposFactura != nullptr ? 1 : 0)
        .ejecutar();
    const std::int64_t id = bd.ultimoId();
    std::int64_t idCampo = 0;
    for (const Campo& c : campos) {
        const bool conClave = *c.clave != '\0';
        bd.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                    "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0)")
            .con(id, idCampo++, c.nombre, c.inicio, c.fin, conClave ? 1 : 0, conClave ? 2 : 0, c.clave,
                 c.valor)
            .ejecutar();
    }
    if (camposFactura != nullptr) {
        bd.preparar("INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (?, 0, ?, "
                    "'', ?)")
            .con(id, camposFactura, inicio)
            .ejecutar();
    }
    return id;
}

// Receipts over lines keyed "01" (receipt), "02" (account and address) and "03" (concepts); "01" opens
// the next receipt.
constexpr Campo kVariasLineas[] = {{"CodigoReferencia", 3, 10, "01", ""},
                                   {"NombreTitularRecibo", 11, 35, "01", ""},
                                   {"Importe", 36, 47, "01", ""},
                                   {"Entidad", 3, 6, "02", ""},
                                   {"Oficina", 7, 10, "02", ""},
                                   {"DC", 11, 12, "02", ""},
                                   {"Cuenta", 13, 22, "02", ""},
                                   {"NombreTitularCuenta", 23, 47, "02", ""},
                                   {"Direccion", 48, 72, "02", ""},
                                   {"Localidad", 73, 87, "02", ""},
                                   {"CP", 88, 92, "02", ""},
                                   {"Concepto1", 3, 22, "03", ""},
                                   {"Concepto2", 23, 42, "03", ""},
                                   {"Concepto16", 43, 62, "03", ""},
                                   {"ReferenciaInterna", 0, 0, "", "FUZZ"}};
// An order line "00" with the debtor and the account, then invoice lines "01" (or 01, 02, 03...) with
// the amount and the concept.
constexpr Campo kFacturas[] = {{"CodigoReferencia", 3, 10, "00", ""},
                               {"NombreTitularRecibo", 11, 35, "00", ""},
                               {"Entidad", 36, 39, "00", ""},
                               {"Oficina", 40, 43, "00", ""},
                               {"DC", 44, 45, "00", ""},
                               {"Cuenta", 46, 55, "00", ""},
                               {"Importe", 3, 14, "01", ""},
                               {"Concepto1", 15, 34, "01", ""}};

// What every input shares, set up once per process: the program folder, its database and the driver.
struct Contexto : EntornoCSB19 {
    std::int64_t plantillas[4] = {kPlantillaEjemplo, crearPlantilla(baseDatos, kVariasLineas),
                                  crearPlantilla(baseDatos, kFacturas, "Importe@SignoNegativo@Concepto1"),
                                  crearPlantilla(baseDatos, kFacturas, "Importe@SignoNegativo@Concepto1", 1)};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    static Contexto contexto;
    const std::filesystem::path entrada = contexto.carpeta.escribir("remesa.txt", datos, tamano);
    const std::filesystem::path salida = contexto.carpeta / "remesa.out";

    std::optional<std::string> bancoSinTope;
    bool errorSinTope = false;
    for (const std::int64_t plantilla : contexto.plantillas) {
        EstadoEjecucion estado;
        const auto banco = contexto.convertir(estado, entrada, salida, plantilla);
        if (plantilla == kPlantillaEjemplo) {
            bancoSinTope = banco;
            errorSinTope = contexto.ultimo.conErrores();
        }
    }

    EstadoEjecucion estado;
    const auto banco = contexto.convertir(estado, entrada, salida, kPlantillaEjemplo, tamano / 2);
    const bool pasaDelTope = contexto.avisos.ultimoCritico.find(" tiene más de ") != std::string::npos;
    const bool conErrores = contexto.ultimo.conErrores();
    if (pasaDelTope ? banco || !conErrores : banco != bancoSinTope || conErrores != errorSinTope) {
        std::abort();
    }
    return 0;
}
