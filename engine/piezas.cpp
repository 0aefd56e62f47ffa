#include "piezas.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "registro_fijo.hpp"
#include "texto.hpp"

#include <cstring>
#include <functional>

namespace trovanel {

std::string rellenar(std::string_view valor, std::size_t n) {
    return rellenarBlancos(recortar(valor), n);
}

namespace {
// The piece at n characters: it keeps its width from one order to the next, so mostly only its
// characters are written.
char* aLargo(std::string& pieza, std::size_t n) {
    if (pieza.size() != n) {
        pieza.resize(n);
    }
    return pieza.data();
}

// A text taken from the piece's own buffer.
bool dentro(std::string_view texto, const std::string& pieza) {
    const std::less<const char*> antes;
    return !texto.empty() && !antes(texto.data(), pieza.data()) &&
           !antes(pieza.data() + pieza.capacity(), texto.data());
}
} // namespace

bool rellenarEn(std::string& pieza, std::string_view valor, std::size_t n) {
    // Blanks pad the piece anyway: a value that starts with a character needs no trimming at its end,
    // and the piece is blank exactly when nothing is left to copy.
    const bool trasBlancos = !valor.empty() && valor.front() == ' ';
    const std::string_view recortado = (trasBlancos ? recortarExtremos(valor) : valor).substr(0, n);
    if (dentro(recortado, pieza)) {
        pieza = rellenarBlancos(recortado, n);
        return true;
    }
    char* destino = aLargo(pieza, n);
    copiarPieza(destino, recortado.data(), recortado.size());
    llenarPieza(destino + recortado.size(), ' ', n - recortado.size());
    return !recortado.empty();
}

std::string conCeros(std::string_view valor, std::size_t n) {
    return rellenarCeros(recortar(valor), n);
}

namespace {
// The text completed with "0" on the left to n, in the piece's own buffer (a longer one stays whole).
void ponerConCeros(std::string& pieza, std::string_view texto, std::size_t n) {
    if (dentro(texto, pieza)) {
        pieza = rellenarCeros(texto, n);
        return;
    }
    const std::size_t ceros = n > texto.size() ? n - texto.size() : 0;
    char* destino = aLargo(pieza, ceros + texto.size());
    llenarPieza(destino, '0', ceros);
    copiarPieza(destino + ceros, texto.data(), texto.size());
}
} // namespace

void conCerosEn(std::string& pieza, std::string_view valor, std::size_t n) {
    ponerConCeros(pieza, recortar(valor), n);
}

void conCerosAjustadoEn(std::string& pieza, std::string_view valor, std::size_t n) {
    ponerConCeros(pieza, recortar(valor).substr(0, n), n);
}

std::string conCerosAjustado(std::string_view valor, std::size_t n) {
    return rellenarCeros(Left(recortar(valor), static_cast<std::int64_t>(n)), n);
}

PartesCuenta partirCuenta(std::string_view cuenta) {
    return {conCeros(Mid(cuenta, 1, 4), 4), conCeros(Mid(cuenta, 5, 4), 4), conCeros(Mid(cuenta, 9, 2), 2),
            conCeros(Mid(cuenta, 11, 10), 10)};
}

namespace {
// The second line of a party's message when one of its values holds a control character: the field, and
// the column of the party tables.
std::string caracterNoValidoEn(std::string_view columna) {
    // The columns of the party tables: nifpre, sufpre, nompre, cuenta, nifemi, sufemi, nomemi.
    const char* campo = columna.starts_with("nif")   ? "el NIF"
                        : columna.starts_with("suf") ? "el sufijo"
                        : columna.starts_with("nom") ? "el nombre"
                                                     : "la cuenta";
    return std::string("Caracter no valido en ") + campo + " (" + std::string(columna) + ")";
}
} // namespace

std::optional<std::vector<std::string>> leerFilaParte(BaseDatos& baseDatos, Avisos& avisos,
                                                      std::string_view sql, std::int64_t id,
                                                      const std::string& mensaje,
                                                      const std::vector<std::size_t>& conValor,
                                                      std::optional<std::size_t> cuenta) {
    try {
        auto consulta = baseDatos.preparar(sql);
        consulta.con(id);
        if (!consulta.siguiente()) {
            avisos.critico(mensaje);
            return std::nullopt;
        }
        std::vector<std::string> columnas;
        for (int i = 0; i < consulta.numeroColumnas(); ++i) {
            columnas.push_back(consulta.texto(i));
        }
        // A party without these would give headers of blanks and an account of zeros: as good as none.
        bool completa = !cuenta || (*cuenta < columnas.size() && columnas[*cuenta].size() == 20);
        for (std::size_t i : conValor) {
            completa = completa && i < columnas.size() && !enBlanco(columnas[i]);
        }
        if (!completa) {
            avisos.critico(mensaje);
            return std::nullopt;
        }
        // Checked as an input's values are: a control character would split or corrupt the records that
        // carry the party.
        for (std::size_t i = 0; i < columnas.size(); ++i) {
            if (hayCaracterControl(columnas[i])) {
                avisos.critico(mensaje + "\r\n" +
                               caracterNoValidoEn(consulta.nombreColumna(static_cast<int>(i))));
                return std::nullopt;
            }
        }
        return columnas;
    } catch (const ErrorBaseDatos& e) {
        avisos.critico(mensaje + "\r\nError: " + e.what());
        return std::nullopt;
    }
}

} // namespace trovanel
