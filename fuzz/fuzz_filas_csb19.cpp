// Sheets and tables through the row reader and the norm 19 driver: the input is taken as a workbook
// (its first sheet) and as a database (its first table), each converted with a template whose fields
// name columns A to H, into a bank file and a log that are removed after each input.

#include "conversion_fuzz.hpp"
#include "soporte_fuzz.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "conversores.hpp"
#include "conversores_disponibles.hpp"
#include "estado_ejecucion.hpp"
#include "libro_excel.hpp"
#include "origen_access.hpp"
#include "reloj.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace {

using namespace trovanel;
using namespace trovanel::fuzz;

// One receipt per row; the columns are letters for a sheet and names for a table.
std::int64_t crearPlantillaFilas(BaseDatos& bd, const char* tipo) {
    static constexpr const char* kCampos[] = {
        "CodigoReferencia", "NombreTitularRecibo", "Entidad", "Oficina", "DC", "Cuenta", "Importe", "CP"};
    bd.preparar("INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) "
                "VALUES (?, 'Remesa en filas', -1, 0)")
        .con(tipo)
        .ejecutar();
    const std::int64_t id = bd.ultimoId();
    std::int64_t idCampo = 0;
    char columna = 'A';
    for (const char* nombre : kCampos) {
        bd.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                    "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                    "VALUES (?, ?, ?, 1, 1, 0, 0, ?, '', 0, 0)")
            .con(id, idCampo++, nombre, std::string(1, columna++))
            .ejecutar();
    }
    bd.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                "VALUES (?, ?, 'ReferenciaInterna', 0, 0, 0, 0, '', 'FUZZ', 0, 0)")
        .con(id, idCampo)
        .ejecutar();
    return id;
}

// The first sheet or table, as the dialog selects it; "" when the file has none or cannot be opened
// (the driver is run all the same, and must refuse it).
// Every row of the used range is an order, so one cell at row 1,048,576 legally means a million rejected
// orders: slow, not wrong. Such sheets are left to the benchmarks.
constexpr std::int64_t kFilasComoMucho = 20'000;

// The first sheet, or nothing when its used range is too long for a fuzzing run.
std::optional<std::string> primeraHoja(const std::filesystem::path& ruta) {
    try {
        auto libro = abrirLibroExcel(ruta);
        const auto hojas = libro->hojas();
        if (hojas.empty()) {
            return "";
        }
        if (libro->ultimaFila(hojas.front()) > kFilasComoMucho) {
            return std::nullopt;
        }
        return hojas.front();
    } catch (const std::exception&) {
        return "";
    }
}

std::string primeraTabla(const std::filesystem::path& ruta) {
    try {
        const auto tablas = abrirOrigenAccess(ruta)->tablas();
        return tablas.empty() ? "" : tablas.front();
    } catch (const std::exception&) {
        return "";
    }
}

struct Contexto : EntornoCSB19 {
    std::int64_t plantillaHoja = crearPlantillaFilas(baseDatos, "CSB19Ex");
    std::int64_t plantillaTabla = crearPlantillaFilas(baseDatos, "CSB19Ac");
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    static Contexto contexto;
    const std::filesystem::path salida = contexto.carpeta / "remesa.out";

    for (const bool hoja : {true, false}) {
        const std::filesystem::path entrada =
            contexto.carpeta.escribir(hoja ? "remesa.xlsx" : "remesa.db", datos, tamano);
        EstadoEjecucion estado;
        std::string nombre;
        if (hoja) {
            const auto primera = primeraHoja(entrada);
            if (!primera) {
                continue;
            }
            nombre = *primera;
        } else {
            nombre = primeraTabla(entrada);
        }
        contexto.convertir(estado, entrada, salida, hoja ? contexto.plantillaHoja : contexto.plantillaTabla,
                           kMaxLinea, nombre);
    }
    return 0;
}
