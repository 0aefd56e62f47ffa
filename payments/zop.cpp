#include "zop.hpp"

#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "log_errores.hpp"
#include "registro_fijo.hpp"
#include "reloj.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// The ordering party's row cannot be read; a party without a row is not reported by name.
const RasgosPago kRasgosZOP{"No se puede abrir la Base de Datos", true, false, 2'147'483'647};

// AAMMDD of a DDMMAA date.
std::string aammdd(std::string_view ddmmaa) {
    if (ddmmaa.size() == 6) {
        return {ddmmaa[4], ddmmaa[5], ddmmaa[2], ddmmaa[3], ddmmaa[0], ddmmaa[1]};
    }
    std::string fecha;
    fecha.append(cortar(ddmmaa, 5, 2)).append(cortar(ddmmaa, 3, 2)).append(cortar(ddmmaa, 1, 2));
    return fecha;
}

} // namespace

std::string operacionDeCodigo(std::string_view codigo) {
    if (codigo == "Tipo6" || codigo == "Tipo7" || codigo == "Tipo9") {
        return "5" + std::string(codigo.substr(4, 1));
    }
    return {};
}

std::string fechaAAMMDD(std::string_view texto, std::string_view formato) {
    static constexpr std::string_view kFormatos[] = {"DDMMAA",   "DDMMAAAA",   "AAAAMMDD",  "DD/MM/AA",
                                                     "AA/MM/DD", "DD/MM/AAAA", "AAAA/MM/DD"};
    for (std::string_view nombre : kFormatos) {
        if (formato == nombre) {
            // The parts that a "/" format writes without their zero are filled as the collections do.
            return aammdd(fechaVtoDDMMAA(texto, formato, RellenoFecha::Anticipos));
        }
    }
    return std::string(texto);
}

ModuloZOP::ModuloZOP(EstadoEjecucion& estadoEjecucion, Entorno& entornoEjecucion)
    : ModuloPagos(estadoEjecucion, entornoEjecucion, kRasgosZOP) {}

bool ModuloZOP::cargarPartes(const ParametrosConversion& parametros) {
    if (!ModuloPagos::cargarPartes(parametros)) {
        return false;
    }
    piezas.fechaCreacion = aammdd(fechaDDMMAA(entorno.reloj.ahora()));
    piezas.fechaEmision = aammdd(ddmmaaDeFechaLarga(parametros.gFechaProceso));
    return true;
}

void ModuloZOP::iniciarEjecucion() {
    ModuloPagos::iniciarEjecucion();
    // The date typed in the missing-data dialog stands for every order's due date.
    if (!estado.gFechaDatos.empty()) {
        piezas.fechaVto = estado.gFechaDatos;
    }
    // A payment form chosen in the dialog holds for every order; the field is found by its name.
    formaPago_ = nullptr;
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        if (campo.campo == "FormaPago") {
            piezas.operacion = operacionDeCodigo(campo.valorcampo);
            formaPago_ = &campo;
            formaPagoEnBlanco_ = enBlanco(campo.valorcampo);
            operacionDialogo_ = piezas.operacion;
            break;
        }
    }
}

void ModuloZOP::revisarOrden() {
    PiezasZOP& p = piezas;
    if (p.operacion.empty() && !formaPagoVista_) {
        anotarError("Error : No se puede determinar la forma de pago");
    }
    if (esTransferencia() && !(numeroNoCero(p.entidad) && numeroNoCero(p.cuenta))) {
        anotarError("Error : Cuenta erronea");
    }
    formaPagoVista_ = false;
}

bool ModuloZOP::escribirRegistros(FicheroSalida& salida) {
    PiezasZOP& p = piezas;
    if (gCabeceraPendiente) {
        escribirCabecera001(salida, p.fechaCreacion, p.fechaEmision, "");
        gCabeceraPendiente = false;
    }

    const std::string_view op = p.operacion;
    const std::string_view clave = p.claveProveedor;
    // The sign at position 61, the check digits after two blanks.
    const std::string* cuenta[3] = {&p.entidad, &p.oficina, &p.cuenta};
    escribirRegistroImporte(salida, op, clave, cuenta, {{"", 1}, {signo, 1}, {"", 2}, {p.dc, 2}, {"", 7}});

    // Record 016 repeats a valid telephone, else it carries the fax: the fax piece stays the order's own.
    const bool hayTelefono = numeroNoCero(p.telefono);
    const std::string_view fax = hayTelefono ? p.telefono : p.fax;
    escribirOpcionales(
        salida,
        {
            {"011", !enBlanco(p.nombre), {{p.nombre, 36}, {"", 7}}},
            {"012",
             !enBlanco(p.direccion) || !enBlanco(p.numeroCalle),
             {{p.direccion, 31}, {p.numeroCalle, 5}, {"", 7}}},
            {"013", hayTelefono, {{p.telefono, 10}, {"", 33}}},
            {"014", !enBlanco(p.cp) || !enBlanco(p.localidad), {{p.cp, 5}, {p.localidad, 31}, {"", 7}}},
            {"015", !enBlanco(p.provincia) || !enBlanco(p.pais), {{p.provincia, 31}, {p.pais, 2}, {"", 10}}},
            {"016", hayTelefono || numeroNoCero(fax), {{fax, 10}, {"", 33}}},
            {"170", !enBlanco(p.email), {{p.email, 36}, {"", 7}}},
            {"018",
             !enBlanco(p.fechaVto) || !enBlanco(p.numeroFactura) || !enBlanco(p.referenciaInterna),
             {{p.fechaVto, 6}, {p.numeroFactura, 16}, {p.referenciaInterna, 14}, {"", 7}}},
        });
    limpiarOrden();
    return salida.correcto();
}

void ModuloZOP::escribirLog(EscritorLog& log) {
    log.escribirBloqueRotulado(estado.gNumeroLinea, {{"Nif Proveedor: ", piezas.claveProveedor},
                                                     {"Nombre Proveedor: ", piezas.nombre}});
    limpiarOrden();
}

void ModuloZOP::limpiarOrden() {
    signo = " ";
    piezas.email.clear();
}

ResultadoConversion GenerarZOP(EstadoEjecucion& estado, Entorno& entorno,
                               const ParametrosConversion& parametros) {
    ModuloZOP modulo(estado, entorno);
    return ejecutarConversionPagos(modulo, parametros);
}

} // namespace trovanel
