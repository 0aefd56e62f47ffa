#include "modelo_datos.hpp"

#include "reloj.hpp"
#include "texto.hpp"
#include "tipos_plantilla.hpp"

#include <array>
#include <charconv>
#include <utility>

namespace trovanel {

namespace {

// Item shown in a combo box and the code stored for it.
const std::array<std::pair<const char*, const char*>, 5> kCodigos = {{
    {"Cheques", "Tipo7"},
    {"Transferencias", "Tipo6"},
    {"Pagos Certificados", "Tipo9"},
    {"Ordenante", "1"},
    {"Beneficiario", "2"},
}};

ClaseFilaDatos claseDe(const std::string& campo) {
    if (contiene(campo, "FormaPago")) {
        return ClaseFilaDatos::FormaPago;
    }
    if (contiene(campo, "Gastos")) {
        return ClaseFilaDatos::Gastos;
    }
    if (contiene(campo, "Fecha")) {
        return ClaseFilaDatos::Fecha;
    }
    return ClaseFilaDatos::Texto;
}

int numero(std::string_view digitos) {
    int valor = 0;
    std::from_chars(digitos.data(), digitos.data() + digitos.size(), valor);
    return valor;
}

// ZOP files write their dates year first.
bool esTipoZOP(std::string_view tipo) {
    const auto t = buscarTipoPlantilla(Trim(tipo));
    return t && t->familia == Familia::ZOP;
}

} // namespace

std::vector<FilaDatos> filasDatosObligatorios(const std::vector<CampoEstructura>& campos,
                                              const std::vector<std::size_t>& indices) {
    std::vector<FilaDatos> filas;
    for (std::size_t i : indices) {
        if (i >= campos.size()) {
            continue;
        }
        const CampoEstructura& campo = campos[i];
        FilaDatos fila;
        fila.indice = i;
        fila.clase = claseDe(campo.campo);
        fila.etiqueta = campo.campo;
        switch (fila.clase) {
        case ClaseFilaDatos::FormaPago:
            fila.opciones = {"Cheques", "Transferencias", "Pagos Certificados"};
            break;
        case ClaseFilaDatos::Gastos:
            fila.opciones = {"Ordenante", "Beneficiario"};
            break;
        case ClaseFilaDatos::Fecha:
            fila.longitudMaxima = kLongitudFecha;
            break;
        case ClaseFilaDatos::Texto:
            fila.longitudMaxima = campo.longitud > 0 ? campo.longitud : 0;
            break;
        }
        filas.push_back(std::move(fila));
    }
    return filas;
}

bool dialogo_datos::FechaCorrecta(std::string_view dia, std::string_view mes, std::string_view anio) {
    if (dia.size() != 2 || mes.size() != 2 || anio.size() != 4 || !soloDigitos(dia) || !soloDigitos(mes) ||
        !soloDigitos(anio)) {
        return false;
    }
    return fechaValida(numero(anio), numero(mes), numero(dia));
}

ResultadoDatos aceptar(EstadoEjecucion& estado, const std::vector<ValorDato>& valores,
                       std::string_view gTipoEstructura, std::size_t* rechazado) {
    bool incompleto = false;
    for (const ValorDato& valor : valores) {
        if (valor.indice >= estado.gCamposEstructura.size()) {
            continue;
        }
        std::string& valorcampo = estado.gCamposEstructura[valor.indice].valorcampo;
        switch (valor.clase) {
        case ClaseFilaDatos::FormaPago:
        case ClaseFilaDatos::Gastos:
            for (const auto& [item, codigo] : kCodigos) {
                if (valor.texto == item) {
                    valorcampo = codigo;
                }
            }
            break;
        case ClaseFilaDatos::Fecha: {
            if (enBlanco(valor.texto)) {
                incompleto = true;
                break;
            }
            const std::string& t = valor.texto;
            // Separators at 3 and 6 are not checked: 25-12-2024 is as good as 25/12/2024.
            if (t.size() != static_cast<std::size_t>(kLongitudFecha) ||
                !dialogo_datos::FechaCorrecta(Mid(t, 1, 2), Mid(t, 4, 2), Mid(t, 7, 4))) {
                return ResultadoDatos::FechaIncorrecta;
            }
            // Each date box gives its own field: the invoice date has a place of its own.
            std::string& fecha = estado.gCamposEstructura[valor.indice].campo == "FechaFactura"
                                     ? estado.gFechaFacturaDatos
                                     : estado.gFechaDatos;
            fecha = esTipoZOP(gTipoEstructura) ? Mid(t, 9, 2) + Mid(t, 4, 2) + Mid(t, 1, 2)
                                               : Mid(t, 1, 2) + Mid(t, 4, 2) + Mid(t, 9, 2);
            break;
        }
        case ClaseFilaDatos::Texto:
            // valorcampo goes into the bank file as it is, without the check that values read pass.
            if (hayCaracterControl(valor.texto)) {
                if (rechazado != nullptr) {
                    *rechazado = valor.indice;
                }
                return ResultadoDatos::CaracterNoValido;
            }
            if (enBlanco(valor.texto)) {
                incompleto = true;
            } else {
                valorcampo = valor.texto;
            }
            break;
        }
    }
    return incompleto ? ResultadoDatos::Incompleto : ResultadoDatos::Aceptado;
}

} // namespace trovanel
