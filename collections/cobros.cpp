#include "cobros.hpp"

#include "base_datos.hpp"
#include "fechas.hpp"
#include "fichero_salida.hpp"
#include "importes.hpp"
#include "log_errores.hpp"
#include "piezas.hpp"
#include "registro_fijo.hpp"
#include "reloj.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

// Amounts and counts of records 58 and 59 hold ten digits.
constexpr std::int64_t kMaximoDiezCifras = 9'999'999'999;

constexpr NombreCampoCobro kNombresCSB19[] = {
    {"NombreTitularRecibo", CampoCobro::NombreTitular},
    {"NombreTitularCuenta", CampoCobro::NombreTitularCuenta},
    {"Direccion", CampoCobro::Direccion},
    {"Localidad", CampoCobro::Localidad},
    {"CP", CampoCobro::CP},
};
constexpr NombreCampoCobro kNombresCSB58[] = {
    {"NombreTitular", CampoCobro::NombreTitular},
    {"FechaVto", CampoCobro::FechaVto},
    {"DomicilioDeudor", CampoCobro::DomicilioDeudor},
    {"LocalidadDeudor", CampoCobro::LocalidadDeudor},
    {"LocalidadOrdenante", CampoCobro::LocalidadOrdenante},
    {"CPDeudor", CampoCobro::CPDeudor},
    {"CodProvincia", CampoCobro::CodProvincia},
};

} // namespace

// Norm 58 has no charge date in record 53, whose tail ends in nine zeros.
const RasgosCobro kRasgosCSB19{"80",
                               "01",
                               "",
                               "No se puede obtener los datos del emisor",
                               "Error : No hay nombre de titular del recibo",
                               kNombresCSB19};
const RasgosCobro kRasgosCSB58{"70",
                               "06",
                               "  000000000   ",
                               "No se puede extraer los datos del emisor",
                               "Error : No hay nombre de titular",
                               kNombresCSB58};

bool ModuloCobros::cargarPartes(const ParametrosConversion& parametros) {
    PiezasCobro& p = comunes_;
    BaseDatos& bd = entorno.baseDatos;
    const auto fila =
        leerFilaParte(bd, entorno.avisos,
                      "SELECT nifpre, sufpre, nompre FROM presentadores WHERE id_presentador = ? "
                      "ORDER BY id_presentador",
                      parametros.idPresentador, "No se puede obtener los datos del presentador", {0, 2});
    if (!fila) {
        return false;
    }
    p.idPresentador = rellenar((*fila)[0], 9) + rellenar((*fila)[1], 3);
    p.nombrePresentador = rellenar((*fila)[2], 40);
    p.fechaCreacion = fechaDDMMAA(entorno.reloj.ahora());

    const auto emisor = leerFilaParte(bd, entorno.avisos,
                                      "SELECT nifemi, sufemi, nomemi, cuenta FROM emisores WHERE id_emi = ? "
                                      "ORDER BY id_emi",
                                      parametros.idEmisor, rasgos_.falloEmisor, {0, 2}, 3);
    if (!emisor) {
        return false;
    }
    p.idEmisor = rellenar((*emisor)[0], 9) + rellenar((*emisor)[1], 3);
    p.nombreEmisor = rellenar((*emisor)[2], 40);
    PartesCuenta cuenta = partirCuenta((*emisor)[3]);
    p.entidadEmisor = std::move(cuenta.entidad);
    p.oficinaEmisor = std::move(cuenta.oficina);
    p.dcEmisor = std::move(cuenta.dc);
    p.cuentaEmisor = std::move(cuenta.numero);
    return true;
}

ModuloCobros::CampoResuelto ModuloCobros::resolver(const std::string& nombre) {
    const CampoResuelto resuelto = resolverNombre(nombre);
    const PiezaSimple simple = piezaSimple(resuelto.campo);
    if (simple.pieza == nullptr) {
        return resuelto;
    }
    // Each piece once: a field resolved only when it is read must not add to them again.
    std::size_t lugar = 0;
    while (lugar < simples_.size() && simples_[lugar].pieza != simple.pieza) {
        ++lugar;
    }
    if (lugar == simples_.size()) {
        simples_.push_back(simple);
    }
    return {CampoCobro::Simple, static_cast<int>(lugar)};
}

ModuloCobros::CampoResuelto ModuloCobros::resolverNombre(const std::string& nombre) const {
    static constexpr NombreCampoCobro kComunes[] = {
        {"CodigoReferencia", CampoCobro::CodigoReferencia},
        {"Entidad", CampoCobro::Entidad},
        {"Oficina", CampoCobro::Oficina},
        {"DC", CampoCobro::DC},
        {"Cuenta", CampoCobro::Cuenta},
        {"Importe", CampoCobro::Importe},
        {"CodigoDevolucion", CampoCobro::CodigoDevolucion},
        {"ReferenciaInterna", CampoCobro::ReferenciaInterna},
        {"Concepto1", CampoCobro::Concepto1},
    };
    for (const auto& nombres : {std::span<const NombreCampoCobro>(kComunes), rasgos_.nombres}) {
        for (const NombreCampoCobro& n : nombres) {
            if (nombre == n.texto) {
                return {n.campo, 0};
            }
        }
    }
    if (nombre.starts_with("Concepto")) {
        const auto numero = leerEntero(nombre.substr(8));
        if (numero && *numero >= 2 && *numero <= 16 && nombre.substr(8) == std::to_string(*numero)) {
            return {CampoCobro::ConceptoN, static_cast<int>(*numero)};
        }
    }
    return {};
}

ModuloCobros::PiezaSimple ModuloCobros::piezaSimple(CampoCobro campo) {
    switch (campo) {
    case CampoCobro::CodigoDevolucion:
        return {&comunes_.codigoDevolucion, 6, PiezaSimple::Relleno::Blancos};
    case CampoCobro::ReferenciaInterna:
        return {&comunes_.referenciaInterna, 10, PiezaSimple::Relleno::Blancos};
    default:
        return piezaSimplePropia(campo);
    }
}

void ModuloCobros::ponerSimple(const PiezaSimple& simple, std::string_view valor) {
    if (simple.relleno == PiezaSimple::Relleno::Blancos) {
        rellenarEn(*simple.pieza, valor, simple.ancho);
    } else {
        conCerosEn(*simple.pieza, valor.substr(0, simple.ancho), simple.ancho);
    }
}

void ModuloCobros::iniciarEjecucion() {
    gCabPresentadorPendiente = true;
    gCabEmisorPendiente = true;
    gNumRegistrosIndividuales = 0;
    gNumRegistrosTotal = 0;
    gImporteTotal = 0;
    gMarcaNegativo.clear();
    camposResueltos_.clear();
    simples_.clear();
    for (const CampoEstructura& campo : estado.gCamposEstructura) {
        camposResueltos_.push_back(resolver(campo.campo));
    }
}

void ModuloCobros::textoConDefecto(std::string& pieza, std::string_view valor, const std::string& defecto,
                                   std::size_t ancho, const char* error) {
    if (!rellenarEn(pieza, valor, ancho) && (defecto.empty() || !rellenarEn(pieza, defecto, ancho))) {
        anotarError(error);
    }
}

void ModuloCobros::validarPieza(std::string_view valorLeido) {
    validarLeido(valorLeido);
}

void ModuloCobros::validarCampo(std::string& valorLeido) {
    std::string_view leido = valorLeido;
    validarLeido(leido);
    if (leido.size() != valorLeido.size()) {
        const auto desde = static_cast<std::size_t>(leido.data() - valorLeido.data());
        valorLeido.erase(desde + leido.size());
        valorLeido.erase(0, desde);
    }
}

// Inlined in both callers: every field of every order comes through here.
[[gnu::always_inline]] inline void ModuloCobros::validarLeido(std::string_view& valorLeido) {
    const std::size_t indice = lectura.gIndiceCampo;
    // The names resolved when the run started cover every field of the template.
    const bool resueltoAntes = indice < camposResueltos_.size();
    const CampoEstructura& campo =
        resueltoAntes ? estado.gCamposEstructura[indice] : estado.gCamposEstructura.at(indice);
    const CampoResuelto resuelto = resueltoAntes ? camposResueltos_[indice] : resolver(campo.campo);
    PiezasCobro& p = comunes_;

    switch (resuelto.campo) {
    case CampoCobro::Desconocido:
        break;
    case CampoCobro::Simple:
        ponerSimple(simples_[static_cast<std::size_t>(resuelto.numeroConcepto)], valorLeido);
        break;
    case CampoCobro::CodigoReferencia:
        textoConDefecto(p.codigoReferencia, valorLeido, campo.valorcampo, 12,
                        "Error : No tiene código de referencia");
        break;
    case CampoCobro::NombreTitular:
        textoConDefecto(p.nombreTitular, valorLeido, campo.valorcampo, 40, rasgos_.sinTitular);
        break;
    case CampoCobro::Importe:
        validarImporte(valorLeido);
        break;
    case CampoCobro::ConceptoN:
        rellenarEn(p.conceptos[static_cast<std::size_t>(resuelto.numeroConcepto)], valorLeido, 40);
        hayConceptos_ = true;
        break;
    default:
        validarPropio(resuelto.campo, campo, valorLeido);
        break;
    }
}

void ModuloCobros::validarImporte(std::string_view& valorLeido) {
    PiezasCobro& p = comunes_;
    valorLeido = recortar(valorLeido);
    const ImporteNormalizado importe = NormalizarImporte(valorLeido, gMarcaNegativo);
    estado.gSignoImporte.assign(1, importe.signo);
    p.importe.assign(importe.centimos, 2);
    // Kept as a number too: the file's totals add it without reading the text again.
    importeCentimos_ = importe.valor % (kMaximoDiezCifras + 1);
    // The record holds ten digits: a larger amount is refused, never cut.
    importeValido_ = importeCentimos_ != 0 && !importe.desbordado && importe.centimos.starts_with("00");
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
    }
}

bool ModuloCobros::aceptarOrden() {
    // An order whose amount was never read, or inherits one that was refused, has no amount to send.
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
        return false;
    }
    if (gImporteTotal + importeCentimos_ > kMaximoDiezCifras) {
        anotarError("Error : Importe total del fichero excedido");
        return false;
    }
    return true;
}

void ModuloCobros::escribirOpcional(const RegistroFijo& registro) {
    registro.terminar();
    ++gNumRegistrosTotal;
}

bool ModuloCobros::escribirRegistros(FicheroSalida& salida) {
    const PiezasCobro& p = comunes_;
    const std::string_view datos = rasgos_.codigoDatos;
    if (gCabPresentadorPendiente) {
        RegistroFijo(salida, kAnchoRegistro)
            .texto("51", 2)
            .texto(datos, 2)
            .texto(p.idPresentador, 12)
            .texto(p.fechaCreacion, 6)
            .blancos(6)
            .texto(p.nombrePresentador, 40)
            .blancos(20)
            .texto(p.entidadEmisor, 4)
            .texto(p.oficinaEmisor, 4)
            .blancos(12 + 40 + 14)
            .terminar();
        ++gNumRegistrosTotal;
        gCabPresentadorPendiente = false;
    }
    if (gCabEmisorPendiente) {
        RegistroFijo(salida, kAnchoRegistro)
            .texto("53", 2)
            .texto(datos, 2)
            .texto(p.idEmisor, 12)
            .texto(p.fechaCreacion, 6)
            .texto(p.fechaCargo, 6)
            .texto(p.nombreEmisor, 40)
            .texto(p.entidadEmisor, 4)
            .texto(p.oficinaEmisor, 4)
            .texto(p.dcEmisor, 2)
            .texto(p.cuentaEmisor, 10)
            .blancos(8)
            .texto(rasgos_.procedimiento, 2)
            .blancos(10 + 40)
            .texto(rasgos_.colaCabecera, 14)
            .terminar();
        ++gNumRegistrosTotal;
        gCabEmisorPendiente = false;
    }

    RegistroFijo orden = registroOrden(salida, datos[1]);
    orden.texto(p.nombreTitular, 40)
        .texto(p.entidad, 4)
        .texto(p.oficina, 4)
        .texto(p.dc, 2)
        .texto(p.cuenta, 10)
        .ceros(p.importe, 10)
        .texto(p.codigoDevolucion, 6)
        .texto(p.referenciaInterna, 10)
        .texto(p.concepto1, 40)
        .texto(p.fechaVto, 6)
        .blancos(2)
        .terminar();
    ++gNumRegistrosTotal;
    ++gNumRegistrosIndividuales;
    gImporteTotal += importeCentimos_;

    // Without a concept 2 to 16 read since the last clearing, every group is blank.
    for (std::size_t grupo = 0; hayConceptos_ && grupo < 5; ++grupo) {
        const std::string& c1 = p.conceptos[2 + grupo * 3];
        const std::string& c2 = p.conceptos[3 + grupo * 3];
        const std::string& c3 = p.conceptos[4 + grupo * 3];
        if (enBlanco(c1) && enBlanco(c2) && enBlanco(c3)) {
            continue;
        }
        escribirOpcional(registroOrden(salida, static_cast<char>(datos[1] + 1 + grupo))
                             .texto(c1, 40)
                             .texto(c2, 40)
                             .texto(c3, 40)
                             .blancos(14));
    }
    escribirDomicilio(salida);
    limpiarOpcionales();
    return salida.correcto();
}

bool ModuloCobros::escribirTotales(FicheroSalida& salida) {
    const PiezasCobro& p = comunes_;
    const std::string_view datos = rasgos_.codigoDatos;
    // Both totals records end alike: amount, orders, records counted so far.
    const auto cola = [this](RegistroFijo& registro) {
        registro.numero(gImporteTotal, 10)
            .blancos(6)
            .numero(gNumRegistrosIndividuales, 10)
            .numero(gNumRegistrosTotal, 10)
            .blancos(20 + 18)
            .terminar();
    };
    RegistroFijo totalEmisor(salida, kAnchoRegistro);
    cola(totalEmisor.texto("58", 2).texto(datos, 2).texto(p.idEmisor, 12).blancos(12 + 40 + 20));
    gNumRegistrosTotal += 2;
    RegistroFijo totalGeneral(salida, kAnchoRegistro);
    cola(totalGeneral.texto("59", 2)
             .texto(datos, 2)
             .texto(p.idPresentador, 12)
             .blancos(12 + 40)
             .texto("0001", 4)
             .blancos(16));
    return salida.correcto();
}

void ModuloCobros::limpiarConceptos() {
    if (hayConceptos_) {
        for (std::size_t i = 2; i < comunes_.conceptos.size(); ++i) {
            comunes_.conceptos[i].clear();
        }
        hayConceptos_ = false;
    }
}

void ModuloCobros::escribirLog(EscritorLog& log) {
    EscribirLog(log, estado.gNumeroLinea, comunes_.idEmisor, comunes_.nombreTitular);
    limpiarOpcionales();
}

const char* ModuloCobros::mensajeFalloLog() const {
    return kFalloLogCobros;
}

} // namespace trovanel
