#include "zop.hpp"

#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "log_errores.hpp"
#include "registro_dispuesto.hpp"
#include "reloj.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// The ordering party's row cannot be read; a party without a row is not reported by name.
const RasgosPago kRasgosZOP{"No se puede abrir la Base de Datos", true, false, 2'147'483'647};

// AAMMDD of a DDMMAA date, written into fecha.
void aammddEn(std::string& fecha, std::string_view ddmmaa) {
    if (ddmmaa.size() == 6) {
        fecha.resize(6);
        fecha[0] = ddmmaa[4];
        fecha[1] = ddmmaa[5];
        fecha[2] = ddmmaa[2];
        fecha[3] = ddmmaa[3];
        fecha[4] = ddmmaa[0];
        fecha[5] = ddmmaa[1];
        return;
    }
    fecha.clear();
    fecha.append(cortar(ddmmaa, 5, 2)).append(cortar(ddmmaa, 3, 2)).append(cortar(ddmmaa, 1, 2));
}

std::string aammdd(std::string_view ddmmaa) {
    std::string fecha;
    aammddEn(fecha, ddmmaa);
    return fecha;
}

// The order's records as the norm lays them out: each piece, where it starts, its width; one piece a line.
// clang-format off
// Record 010: the amount, the supplier's account and the sign.
enum class Importe010 {
    Inicio,
    Numero,
    Importe,
    Entidad,
    Oficina,
    Cuenta,
    Libre1,
    Signo,
    Libre2,
    DC,
    Libre3,
};
constexpr Tramo<Importe010> kImporte010[] = {
    {Importe010::Inicio, 0, 26},
    {Importe010::Numero, 26, 3},
    {Importe010::Importe, 29, 12},
    {Importe010::Entidad, 41, 4},
    {Importe010::Oficina, 45, 4},
    {Importe010::Cuenta, 49, 10},
    {Importe010::Libre1, 59, 1},
    {Importe010::Signo, 60, 1},
    {Importe010::Libre2, 61, 2},
    {Importe010::DC, 63, 2},
    {Importe010::Libre3, 65, 7},
};
static_assert(llenaRegistro(kImporte010, 72));

// Record 018: the due date, the invoice number and the internal reference.
enum class Factura018 { Inicio, Numero, FechaVto, NumeroFactura, ReferenciaInterna, Libre };
constexpr Tramo<Factura018> kFactura018[] = {
    {Factura018::Inicio, 0, 26},
    {Factura018::Numero, 26, 3},
    {Factura018::FechaVto, 29, 6},
    {Factura018::NumeroFactura, 35, 16},
    {Factura018::ReferenciaInterna, 51, 14},
    {Factura018::Libre, 65, 7},
};
static_assert(llenaRegistro(kFactura018, 72));
// clang-format on

} // namespace

std::string operacionDeCodigo(std::string_view codigo) {
    if (codigo == "Tipo6" || codigo == "Tipo7" || codigo == "Tipo9") {
        return "5" + std::string(codigo.substr(4, 1));
    }
    return {};
}

FormatoVto formatoVto(std::string_view nombre) {
    // "DDMMAA" is read as it stands and only turned round.
    if (nombre == "DDMMAA") {
        return {true, kSinFormatoFecha};
    }
    static constexpr std::string_view kFormatos[] = {"DDMMAAAA", "AAAAMMDD",   "DD/MM/AA",
                                                     "AA/MM/DD", "DD/MM/AAAA", "AAAA/MM/DD"};
    for (std::string_view formato : kFormatos) {
        if (nombre == formato) {
            return {true, buscarFormatoFecha(nombre)};
        }
    }
    return {false, kSinFormatoFecha};
}

void fechaAAMMDDEn(std::string& fecha, std::string_view texto, FormatoVto formato) {
    if (!formato.conFormato) {
        fecha.assign(texto);
        return;
    }
    if (formato.formato == kSinFormatoFecha) {
        aammddEn(fecha, texto);
        return;
    }
    // The parts that a "/" format writes without their zero are filled as the collections do.
    char ddmmaa[6];
    aammddEn(fecha, {ddmmaa, fechaVtoEnFormatoEn(ddmmaa, texto, formato.formato, RellenoFecha::Anticipos)});
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
    // A payment form chosen in the dialog holds for every order: the first payment-form field sets it
    // before any is read. What each payment-form or due-date field says, likewise read once per run.
    camposZOP_.assign(estado.gCamposEstructura.size(), {});
    bool formaPuesta = false;
    for (std::size_t i = 0; i < camposZOP_.size(); ++i) {
        const CampoEstructura& campo = estado.gCamposEstructura[i];
        CampoZOPResuelto& resuelto = camposZOP_[i];
        if (campo.campo == "FechaVto") {
            resuelto.formatoVto = formatoVto(campo.valorcampo);
        }
        if (campo.campo == "FormaPago") {
            resuelto.formaPagoEnBlanco = enBlanco(campo.valorcampo);
            resuelto.operacionDialogo = operacionDeCodigo(campo.valorcampo);
            resuelto.identificadoresForma = identificadoresForma(campo.valorcampo);
            if (!formaPuesta) {
                piezas.operacion = resuelto.operacionDialogo;
                formaPuesta = true;
            }
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
    const std::string* cuenta[3] = {&p.entidad, &p.oficina, &p.cuenta};
    escribirRegistroImporte<kImporte010>(salida, op, clave, cuenta)
        .texto<Importe010::Signo>(signo)
        .texto<Importe010::DC>(p.dc);

    // The optional records, each written when it has data. Record 016 repeats a valid telephone, else
    // it carries the fax: the fax piece stays the order's own.
    const bool hayTelefono = telefonoNoCero_;
    const std::string_view fax = hayTelefono ? p.telefono : p.fax;
    escribirOpcional<36>(salida, "011", p.nombre);
    escribirOpcional<31, 5>(salida, "012", p.direccion, p.numeroCalle);
    if (hayTelefono) {
        registroDetalle<kDetalleTexto<10>>(salida, "013").texto<DetalleTexto::Texto>(p.telefono);
    }
    escribirOpcional<5, 31>(salida, "014", p.cp, p.localidad);
    escribirOpcional<31, 2>(salida, "015", p.provincia, p.pais);
    if (hayTelefono || faxNoCero_) {
        registroDetalle<kDetalleTexto<10>>(salida, "016").texto<DetalleTexto::Texto>(fax);
    }
    escribirOpcional<36>(salida, "170", p.email);
    if (!enBlanco(p.fechaVto) || !enBlanco(p.numeroFactura) || !enBlanco(p.referenciaInterna)) {
        using F = Factura018;
        registroDetalle<kFactura018>(salida, "018")
            .texto<F::FechaVto>(p.fechaVto)
            .texto<F::NumeroFactura>(p.numeroFactura)
            .texto<F::ReferenciaInterna>(p.referenciaInterna);
    }
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
