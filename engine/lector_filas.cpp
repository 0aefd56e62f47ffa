#include "lector_filas.hpp"

#include "avisos.hpp"
#include "datos_obligatorios.hpp"
#include "error.hpp"
#include "familia_conversion.hpp"
#include "fichero_entrada.hpp"
#include "libro_excel.hpp"
#include "motor_lectura.hpp"
#include "origen_access.hpp"
#include "texto.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace trovanel {

namespace {

constexpr const char* kImporte = "Importe";

// What an adaptor gives for one field of the current row.
struct ValorFila {
    const std::string* texto = nullptr; // null: the column cannot be read
    bool comaFlotante = false;          // a floating-point or currency value
    bool numero = false;                // any number, which has lost its leading zeros
};

// Every row from 1 to the last one holding a cell: the rows the cursor skips are handed as empty.
class FilasHoja {
public:
    static constexpr bool kEsTabla = false;

    FilasHoja(LibroExcel& libro, std::string_view hoja, const std::vector<CampoEstructura>& campos)
        : cursor_(libro.abrirHoja(hoja)), fichero_(libro.ficheroLeido) {
        for (const CampoEstructura& campo : campos) {
            const auto numero = numeroColumna(campo.valorlinea, libro.columnasMaximas());
            columnas_.push_back(numero ? *numero - 1 : -1);
        }
    }

    bool siguiente() {
        if (!hayLeida_ && !terminado_) {
            hayLeida_ = cursor_->siguiente(leida_);
            terminado_ = !hayLeida_;
        }
        if (!hayLeida_) {
            return false;
        }
        ++numero_;
        enLeida_ = leida_.numero <= numero_;
        if (enLeida_) {
            hayLeida_ = false; // handed now; the next call reads on
        }
        return true;
    }

    ValorFila valor(std::size_t indiceCampo) const {
        const int columna = columnas_[indiceCampo];
        if (columna < 0) {
            return {};
        }
        if (!enLeida_ || static_cast<std::size_t>(columna) >= leida_.celdas.size()) {
            return {&kVacio};
        }
        const auto indice = static_cast<std::size_t>(columna);
        const ValorCelda& celda = leida_.celdas[indice];
        return {celda ? &*celda : nullptr, false,
                indice < leida_.numericas.size() && leida_.numericas[indice]};
    }

    const std::optional<FicheroLeido>& fichero() const { return fichero_; }

private:
    inline static const std::string kVacio;
    std::unique_ptr<CursorHoja> cursor_;
    std::optional<FicheroLeido> fichero_;
    std::vector<int> columnas_;
    FilaHoja leida_;
    bool hayLeida_ = false;
    bool terminado_ = false;
    bool enLeida_ = false;
    std::int64_t numero_ = 0;
};

class FilasTabla {
public:
    static constexpr bool kEsTabla = true;

    FilasTabla(OrigenAccess& origen, std::string_view tabla, const std::vector<CampoEstructura>& campos)
        : cursor_(origen.abrirTabla(tabla)), fichero_(origen.ficheroLeido) {
        for (const CampoEstructura& campo : campos) {
            columnas_.push_back(campo.valorlinea.empty() ? -1 : cursor_->columna(campo.valorlinea));
        }
    }

    bool siguiente() { return cursor_->siguiente(valores_); }

    ValorFila valor(std::size_t indiceCampo) const {
        const int columna = columnas_[indiceCampo];
        if (columna < 0 || static_cast<std::size_t>(columna) >= valores_.size()) {
            return {};
        }
        const ValorColumna& v = valores_[static_cast<std::size_t>(columna)];
        return {v.texto ? &*v.texto : nullptr, v.esComaFlotante || v.esMoneda, v.esNumero};
    }

    const std::optional<FicheroLeido>& fichero() const { return fichero_; }

private:
    std::unique_ptr<CursorTabla> cursor_;
    std::optional<FicheroLeido> fichero_;
    std::vector<int> columnas_;
    std::vector<ValorColumna> valores_;
};

// The pieces of a bank account by their field, in every family, and their widths.
constexpr std::pair<std::string_view, std::uint8_t> kPiezasCuenta[] = {
    {"Entidad", 4}, {"Oficina", 4}, {"DC", 2}, {"Cuenta", 10}};

// For each field, the width of the account piece it names, 0 for any other.
std::vector<std::uint8_t> anchosDeCuenta(const std::vector<CampoEstructura>& campos) {
    std::vector<std::uint8_t> anchos;
    anchos.reserve(campos.size());
    for (const CampoEstructura& campo : campos) {
        const auto* pieza = std::find_if(std::begin(kPiezasCuenta), std::end(kPiezasCuenta),
                                         [&campo](const auto& p) { return p.first == campo.campo; });
        anchos.push_back(pieza == std::end(kPiezasCuenta) ? 0 : pieza->second);
    }
    return anchos;
}

// The value the validator receives for field i of the current row, by the input's and the family's
// rules; false when the field is left alone for this row. anchoCuenta is the width of the account piece
// the field names, or 0.
template <typename Filas>
bool valorDelCampo(const FamiliaConversion& familia, const Filas& filas, std::size_t i,
                   std::uint8_t anchoCuenta, std::string& valor) {
    const CampoEstructura& campo = familia.estado.gCamposEstructura[i];
    const ValorFila leido = filas.valor(i);
    if (leido.texto == nullptr) {
        if (!enBlanco(campo.valorcampo)) {
            valor = campo.valorcampo;
            return true;
        }
        valor.clear();
        // A field asked when the run started is validated on every row, as in text input.
        return Filas::kEsTabla || esDatoQueFalta(campo);
    }
    const std::string& texto = *leido.texto;
    if (campo.campo == kImporte) {
        if (leido.comaFlotante) {
            // One column never yields amounts a hundred times apart: "1500" and "1500,5" alike.
            if (auto dos = importeDosDecimales(texto)) {
                valor = std::move(*dos);
                return true;
            }
        }
        valor.assign(texto);
        // A sheet's whole number is units: without a comma the validator would read cents.
        if (!Filas::kEsTabla && texto.find(',') == std::string::npos) {
            valor += ",0";
        }
        return true;
    }
    if (!Filas::kEsTabla && familia.recortaCeldas()) {
        valor.assign(recortar(texto));
    } else {
        valor.assign(texto);
    }
    // A code such as office 0418 kept as a number comes as 418: its zeros are put back. A text keeps
    // what it holds, as a short one may be a digit missing rather than a zero lost.
    if (leido.numero && anchoCuenta > valor.size() && soloDigitos(valor)) {
        valor.insert(0, anchoCuenta - valor.size(), '0');
    }
    return true;
}

// The input could not be read: the message, a failed run, and no bank file of that name.
void fallarEntrada(FamiliaConversion& familia, const std::string& mensaje,
                   const std::filesystem::path& rutaSalida) {
    familia.entorno.avisos.critico(mensaje);
    familia.fallar(mensaje);
    quitarSalidaAnterior(rutaSalida);
}

template <typename Filas>
void recorrerFilas(FamiliaConversion& familia, Filas& filas, const std::filesystem::path& rutaSalida,
                   const std::string& prefijoFallo) {
    EstadoLectura& lectura = familia.lectura;
    lectura.hayLineaBruta = false;
    lectura.gLineaActual.clear();
    EjecucionLectura ejecucion(familia, rutaSalida);
    if (!ejecucion.iniciar()) {
        return;
    }
    const std::size_t numeroCampos = familia.estado.gCamposEstructura.size();
    const std::vector<std::uint8_t> anchos = anchosDeCuenta(familia.estado.gCamposEstructura);
    std::string valor;
    // Only the input's failures end the run here: whatever the family throws is not a damaged input.
    const auto siguiente = [&filas, &prefijoFallo](std::string& fallo) {
        try {
            return filas.siguiente();
        } catch (const ErrorTrovanel& e) {
            // A sheet's message starts with kNoSeAbreEntrada itself.
            fallo = prefijoFallo + e.what();
        } catch (const std::exception&) {
            fallo = prefijoFallo + kNoSeAbreEntrada;
        }
        return false;
    };
    std::string fallo;
    while (!ejecucion.detenida() && siguiente(fallo)) {
        ++lectura.gLineaEntrada;
        for (std::size_t i = 0; i < numeroCampos; ++i) {
            lectura.gIndiceCampo = i;
            if (valorDelCampo(familia, filas, i, anchos[i], valor)) {
                familia.validarValor(valor);
            }
        }
        familia.estado.gNumeroLinea = lectura.gLineaEntrada;
        ejecucion.volcarOrden();
    }
    // The rows came from the file as it was opened, or the bank file cannot vouch for them.
    if (fallo.empty() && filas.fichero() && !filas.fichero()->sinCambios()) {
        fallo = prefijoFallo + mensajeEntrada(kNoSeAbreEntrada, filas.fichero()->ruta, kCambiadoAlLeer);
    }
    if (!fallo.empty()) {
        ejecucion.abandonar();
        fallarEntrada(familia, fallo, rutaSalida);
        return;
    }
    if (ejecucion.detenida()) {
        ejecucion.abandonar();
        return;
    }
    ejecucion.terminar();
}

constexpr const char* kPrefijoBase = "Error : ";

} // namespace

void leerHoja(FamiliaConversion& familia, LibroExcel& libro, std::string_view hoja,
              const std::filesystem::path& rutaSalida) {
    std::unique_ptr<FilasHoja> filas;
    try {
        filas = std::make_unique<FilasHoja>(libro, hoja, familia.estado.gCamposEstructura);
    } catch (const std::exception&) {
        fallarEntrada(familia, kNoSeAbreEntrada, rutaSalida);
        return;
    }
    recorrerFilas(familia, *filas, rutaSalida, "");
}

void leerHoja(FamiliaConversion& familia, const std::filesystem::path& rutaLibro, std::string_view hoja,
              const std::filesystem::path& rutaSalida) {
    std::unique_ptr<LibroExcel> libro;
    try {
        libro = abrirLibroExcel(rutaLibro);
    } catch (const ErrorTrovanel& e) {
        fallarEntrada(familia, e.what(), rutaSalida);
        return;
    } catch (const std::exception&) {
        fallarEntrada(familia, kNoSeAbreEntrada, rutaSalida);
        return;
    }
    leerHoja(familia, *libro, hoja, rutaSalida);
}

void leerTabla(FamiliaConversion& familia, const std::filesystem::path& rutaBase, std::string_view tabla,
               const std::filesystem::path& rutaSalida) {
    std::unique_ptr<OrigenAccess> origen;
    std::unique_ptr<FilasTabla> filas;
    try {
        origen = abrirOrigenAccess(rutaBase);
        filas = std::make_unique<FilasTabla>(*origen, tabla, familia.estado.gCamposEstructura);
    } catch (const ErrorTrovanel& e) {
        fallarEntrada(familia, std::string(kPrefijoBase) + e.what(), rutaSalida);
        return;
    } catch (const std::exception&) {
        fallarEntrada(familia, std::string(kPrefijoBase) + kNoSeAbreEntrada, rutaSalida);
        return;
    }
    recorrerFilas(familia, *filas, rutaSalida, kPrefijoBase);
}

std::optional<std::string> importeDosDecimales(std::string_view texto) {
    const bool negativo = !texto.empty() && texto.front() == '-';
    const std::string_view numero = texto.substr(negativo ? 1 : 0);
    const std::size_t coma = numero.find(',');
    const std::string_view entera = numero.substr(0, coma);
    const std::string_view fraccion = coma == std::string_view::npos ? "" : numero.substr(coma + 1);
    // The units are at least one digit; the decimals may be none ("12" or "12,").
    if (!soloDigitos(entera) || (!fraccion.empty() && !soloDigitos(fraccion))) {
        return std::nullopt;
    }
    // The units and two decimals as one string of digits, rounded on the third decimal.
    std::string digitos(entera);
    digitos += fraccion.substr(0, 2);
    digitos.append(2 - std::min<std::size_t>(fraccion.size(), 2), '0');
    if (fraccion.size() > 2 && fraccion[2] >= '5') {
        std::size_t i = digitos.size();
        while (i > 0 && digitos[i - 1] == '9') {
            digitos[--i] = '0';
        }
        if (i == 0) {
            digitos.insert(digitos.begin(), '1');
        } else {
            ++digitos[i - 1];
        }
    }
    const bool cero = digitos.find_first_not_of('0') == std::string::npos;
    std::string resultado = negativo && !cero ? "-" : "";
    resultado += std::string_view(digitos).substr(0, digitos.size() - 2);
    resultado += ',';
    resultado += std::string_view(digitos).substr(digitos.size() - 2);
    return resultado;
}

} // namespace trovanel
