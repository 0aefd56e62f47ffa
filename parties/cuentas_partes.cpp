#include "cuentas_partes.hpp"

#include "cuenta_bancaria.hpp"
#include "texto.hpp"

#include <utility>

namespace trovanel {

namespace {

constexpr int kRetroceso = 8;

bool corto(std::string_view texto, std::size_t longitud) {
    return enBlanco(texto) || texto.size() < longitud;
}

// The check digits as the family settles them: the accepted pair, or false with its message given.
bool resolverDC(ClaseParte clase, const DatosParte& datos, std::string_view entidad, ValidacionParte& v,
                std::string& dc) {
    if (enBlanco(datos.dc)) {
        if (clase == ClaseParte::Cobros) {
            dc = "**";
            return true;
        }
        if (marcaZOP(v.numero)) {
            dc = "  ";
            return true;
        }
        v.avisos.push_back({false, kMsgDCObligatorio});
        return false;
    }
    if (clase == ClaseParte::Cobros && datos.dc == "**") {
        dc = "**";
        return true;
    }
    if (datos.dc != CalcularDC(entidad, datos.oficina, v.numero)) {
        v.avisos.push_back({false, kMsgDCDistinto});
        return false;
    }
    dc = datos.dc;
    return true;
}

ValidacionParte terminar(ClaseParte clase, const DatosParte& datos, std::string_view entidad,
                         ValidacionParte v) {
    std::string dc;
    if (resolverDC(clase, datos, entidad, v, dc)) {
        v.cuenta = cuentaAlmacenada(entidad, datos.oficina, dc, v.numero);
        v.zop = marcaZOP(v.numero);
    }
    return v;
}

// A control character (and a character Windows-1252 lacks, which typing turns into one) would be stored
// and then split or corrupt the bank records the party goes into: the first box holding one is named.
bool sinCaracteresControl(ClaseParte clase, const DatosParte& datos, ValidacionParte& v) {
    const bool cobros = clase == ClaseParte::Cobros;
    for (const auto& [texto, caja] : {
             std::pair{&datos.nombrePre, "el nombre del presentador"},
             {&datos.nifPre, "el NIF del presentador"},
             {&datos.sufPre, "el sufijo del presentador"},
             {&datos.nombreEmi, cobros ? "el nombre del emisor" : "el nombre del ordenante"},
             {&datos.nifEmi, cobros ? "el NIF del emisor" : "el NIF del ordenante"},
             {&datos.sufEmi, "el sufijo del emisor"},
             {&datos.entidad, "la cuenta"},
             {&datos.oficina, "la cuenta"},
             {&datos.dc, "la cuenta"},
             {&datos.numero, "la cuenta"},
         }) {
        if (hayCaracterControl(*texto)) {
            v.avisos.push_back({false, std::string("Caracter no valido en ") + caja});
            return false;
        }
    }
    return true;
}

bool oficinaEdicionMala(std::string_view oficina) {
    return corto(oficina, 4) || oficina == "0000";
}

// A stored account too short or blank at its head has no entity to keep.
std::string_view entidadEdicion(const DatosParte& datos) {
    return corto(datos.entidad, 4) ? std::string_view(kEntidadFormularios) : std::string_view(datos.entidad);
}

} // namespace

bool teclaCuentaAdmitida(int codigo) {
    return (codigo >= '0' && codigo <= '9') || codigo == '*' || codigo == kRetroceso;
}

std::string completarNumeroCuenta(std::string_view numero) {
    return numero.size() == 9 ? "0" + std::string(numero) : std::string(numero);
}

bool marcaZOP(std::string_view numeroCompleto) {
    return Mid(numeroCompleto, 2, 2) == "63";
}

CuentaDividida dividirCuenta(std::string_view cuenta) {
    return {Mid(cuenta, 1, 4), Mid(cuenta, 5, 4), Mid(cuenta, 9, 2), Mid(cuenta, 11, 10)};
}

std::string cuentaAlmacenada(std::string_view entidad, std::string_view oficina, std::string_view dc,
                             std::string_view numero) {
    std::string cuenta(entidad);
    cuenta.append(oficina).append(dc).append(numero);
    return cuenta;
}

ValidacionParte validarEdicionOrdenante(const DatosParte& datos) {
    ValidacionParte v{{}, datos.numero, std::nullopt, false};
    if (!sinCaracteresControl(ClaseParte::Pagos, datos, v)) {
        return v;
    }
    bool bien = true;
    if (corto(datos.nifEmi, 9)) {
        v.avisos.push_back({false, kMsgNifOrdenante});
        bien = false;
    }
    if (oficinaEdicionMala(datos.oficina)) {
        v.avisos.push_back({false, kMsgDatosCuenta});
        bien = false;
    }
    if (corto(datos.numero, 9)) {
        v.avisos.push_back({false, kMsgDatosCuenta});
        bien = false;
    }
    if (!bien) {
        return v;
    }
    v.numero = completarNumeroCuenta(datos.numero);
    return terminar(ClaseParte::Pagos, datos, entidadEdicion(datos), std::move(v));
}

ValidacionParte validarAltaOrdenante(const DatosParte& datos) {
    ValidacionParte v{{}, datos.numero, std::nullopt, false};
    if (!sinCaracteresControl(ClaseParte::Pagos, datos, v)) {
        return v;
    }
    if (datos.oficina.size() < 4 || datos.numero.size() < 9 || enBlanco(datos.nifEmi) ||
        enBlanco(datos.nombreEmi)) {
        v.avisos.push_back({true, kMsgDatosPorFavor});
        return v;
    }
    v.numero = completarNumeroCuenta(datos.numero);
    return terminar(ClaseParte::Pagos, datos, kEntidadFormularios, std::move(v));
}

ValidacionParte validarEdicionCobros(const DatosParte& datos) {
    ValidacionParte v{{}, datos.numero, std::nullopt, false};
    if (!sinCaracteresControl(ClaseParte::Cobros, datos, v)) {
        return v;
    }
    bool bien = true;
    auto comprobar = [&](bool malo, const char* mensaje) {
        if (malo) {
            v.avisos.push_back({false, mensaje});
            bien = false;
        }
    };
    comprobar(corto(datos.nifPre, 9), kMsgLongitudNif);
    comprobar(corto(datos.nifEmi, 9), kMsgLongitudNif);
    comprobar(corto(datos.sufPre, 3), kMsgLongitudSufijo);
    comprobar(corto(datos.sufEmi, 3), kMsgLongitudSufijo);
    comprobar(oficinaEdicionMala(datos.oficina), kMsgDatosCuenta);
    comprobar(corto(datos.numero, 9), kMsgDatosCuenta);
    if (!corto(datos.numero, 9)) {
        v.numero = completarNumeroCuenta(datos.numero);
    }
    if (!bien) {
        return v;
    }
    return terminar(ClaseParte::Cobros, datos, entidadEdicion(datos), std::move(v));
}

ValidacionParte validarAltaCobros(const DatosParte& datos) {
    ValidacionParte v{{}, datos.numero, std::nullopt, false};
    if (!sinCaracteresControl(ClaseParte::Cobros, datos, v)) {
        return v;
    }
    auto fallo = [&](const char* mensaje) {
        v.avisos.push_back({false, mensaje});
        return v;
    };
    if (Trim(datos.nifEmi).size() < 9 || Trim(datos.nifPre).size() < 9) {
        return fallo(kMsgLongitudNif);
    }
    if (Trim(datos.sufEmi).size() < 3 || Trim(datos.sufPre).size() < 3) {
        return fallo(kMsgLongitudSufijo);
    }
    for (const std::string* caja : {&datos.nombrePre, &datos.nombreEmi, &datos.nifPre, &datos.nifEmi,
                                    &datos.numero, &datos.oficina, &datos.sufEmi, &datos.sufPre}) {
        if (enBlanco(*caja)) {
            return fallo(kMsgDatos);
        }
    }
    v.numero = completarNumeroCuenta(datos.numero);
    if (v.numero.size() != 10 || datos.oficina.size() < 4) {
        return fallo(kMsgDatosCuenta);
    }
    v = terminar(ClaseParte::Cobros, datos, kEntidadFormularios, std::move(v));
    if (v.cuenta && datos.norma.empty()) {
        v.cuenta.reset();
        v.avisos.push_back({false, kMsgNorma});
    }
    return v;
}

} // namespace trovanel
