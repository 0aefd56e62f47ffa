#include "csb19.hpp"

#include "fichero_salida.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

#include <charconv>

namespace trovanel {

namespace {

constexpr std::size_t kAncho = 162;
// Amounts and counts of records 58 and 59 hold ten digits.
constexpr std::int64_t kMaximoDiezCifras = 9'999'999'999;

// Records 56: code, issuer and the receipt's reference.
RegistroFijo registroRecibo(std::string_view codigo, const PiezasCSB19& p) {
    RegistroFijo registro(kAncho);
    registro.texto("56", 2).texto(codigo, 2).texto(p.idEmisor, 12).texto(p.codigoReferencia, 12);
    return registro;
}

std::int64_t centimos(const std::string& importe) {
    std::int64_t valor = 0;
    std::from_chars(importe.data(), importe.data() + importe.size(), valor);
    return valor;
}

} // namespace

bool ModuloCSB19::aceptarOrden() {
    // An order whose amount was never read, or inherits one that was refused, has no amount to send.
    if (!importeValido_) {
        anotarError("Error : Importe incorrecto");
        return false;
    }
    if (gImporteTotal + centimos(piezas.importe) > kMaximoDiezCifras) {
        anotarError("Error : Importe total del fichero excedido");
        return false;
    }
    return true;
}

bool ModuloCSB19::escribirRegistros(FicheroSalida& salida) {
    const PiezasCSB19& p = piezas;
    if (gCabPresentadorPendiente) {
        salida.escribirLinea(RegistroFijo(kAncho)
                                 .texto("5180", 4)
                                 .texto(p.idPresentador, 12)
                                 .texto(p.fechaCreacion, 6)
                                 .blancos(6)
                                 .texto(p.nombrePresentador, 40)
                                 .blancos(20)
                                 .texto(p.entidadEmisor, 4)
                                 .texto(p.oficinaEmisor, 4)
                                 .blancos(12 + 40 + 14)
                                 .terminar());
        ++gNumRegistrosTotal;
        gCabPresentadorPendiente = false;
    }
    if (gCabEmisorPendiente) {
        salida.escribirLinea(RegistroFijo(kAncho)
                                 .texto("5380", 4)
                                 .texto(p.idEmisor, 12)
                                 .texto(p.fechaCreacion, 6)
                                 .texto(p.fechaCargo, 6)
                                 .texto(p.nombreEmisor, 40)
                                 .texto(p.entidadEmisor, 4)
                                 .texto(p.oficinaEmisor, 4)
                                 .texto(p.dcEmisor, 2)
                                 .texto(p.cuentaEmisor, 10)
                                 .blancos(8)
                                 .texto("01", 2)
                                 .blancos(10 + 40 + 14)
                                 .terminar());
        ++gNumRegistrosTotal;
        gCabEmisorPendiente = false;
    }

    salida.escribirLinea(registroRecibo("80", p)
                             .texto(p.nombreTitularRecibo, 40)
                             .texto(p.entidad, 4)
                             .texto(p.oficina, 4)
                             .texto(p.dc, 2)
                             .texto(p.cuenta, 10)
                             .ceros(p.importe, 10)
                             .texto(p.codigoDevolucion, 6)
                             .texto(p.referenciaInterna, 10)
                             .texto(p.concepto1, 40)
                             .blancos(8)
                             .terminar());
    ++gNumRegistrosTotal;
    ++gNumRegistrosIndividuales;
    gImporteTotal += centimos(p.importe);

    static constexpr const char* kCodigos[] = {"81", "82", "83", "84", "85"};
    for (std::size_t grupo = 0; grupo < 5; ++grupo) {
        const std::string& c1 = p.conceptos[2 + grupo * 3];
        const std::string& c2 = p.conceptos[3 + grupo * 3];
        const std::string& c3 = p.conceptos[4 + grupo * 3];
        if (enBlanco(c1) && enBlanco(c2) && enBlanco(c3)) {
            continue;
        }
        salida.escribirLinea(registroRecibo(kCodigos[grupo], p)
                                 .texto(c1, 40)
                                 .texto(c2, 40)
                                 .texto(c3, 40)
                                 .blancos(14)
                                 .terminar());
        ++gNumRegistrosTotal;
    }

    if (!enBlanco(p.nombreTitularCuenta) && !enBlanco(p.direccion)) {
        salida.escribirLinea(registroRecibo("86", p)
                                 .texto(p.nombreTitularCuenta, 40)
                                 .texto(p.direccion, 40)
                                 .texto(p.localidad, 35)
                                 .texto(p.cp, 5)
                                 .blancos(14)
                                 .terminar());
        ++gNumRegistrosTotal;
    }
    LimpiarOpcionalesCSB19();
    return salida.correcto();
}

bool ModuloCSB19::escribirTotales(FicheroSalida& salida) {
    const PiezasCSB19& p = piezas;
    // Both totals records end alike: amount, receipts, records counted so far.
    const auto cola = [this](RegistroFijo& registro) -> const std::string& {
        return registro.numero(gImporteTotal, 10)
            .blancos(6)
            .numero(gNumRegistrosIndividuales, 10)
            .numero(gNumRegistrosTotal, 10)
            .blancos(20 + 18)
            .terminar();
    };
    RegistroFijo totalEmisor(kAncho);
    salida.escribirLinea(cola(totalEmisor.texto("5880", 4).texto(p.idEmisor, 12).blancos(12 + 40 + 20)));
    gNumRegistrosTotal += 2;
    RegistroFijo totalGeneral(kAncho);
    salida.escribirLinea(cola(totalGeneral.texto("5980", 4)
                                  .texto(p.idPresentador, 12)
                                  .blancos(12 + 40)
                                  .texto("0001", 4)
                                  .blancos(16)));
    return salida.correcto();
}

} // namespace trovanel
