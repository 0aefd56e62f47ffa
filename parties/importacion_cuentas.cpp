#include "importacion_cuentas.hpp"

#include "base_datos.hpp"
#include "cuenta_bancaria.hpp"
#include "fichero_entrada.hpp"
#include "partes.hpp"
#include "texto.hpp"

#include <sqlite3.h>

#include <unistd.h>

#include <cstdint>

namespace trovanel {

namespace {

// A record shorter than this at the end of an LF file with no final LF is a cut record.
constexpr std::size_t kRegistroMinimo = 170;

// The file's first line end is an LF (not CR LF nor a lone CR), and whether the file ends with one.
struct FinalesFichero {
    bool porLF = false;
    bool terminado = true;
};

FinalesFichero finalesDe(const std::filesystem::path& ruta) {
    FinalesFichero finales;
    const FicheroEntrada fichero(ruta);
    if (!fichero.abierto()) {
        return finales;
    }
    // A first line longer than the cap is refused when it is read, whatever ends it.
    char bloque[4096];
    for (std::uint64_t desde = 0; desde <= kMaxLinea + 1;) {
        const ssize_t leidos =
            ::pread(fichero.descriptor(), bloque, sizeof bloque, static_cast<off_t>(desde));
        if (leidos <= 0) {
            break;
        }
        const std::string_view texto(bloque, static_cast<std::size_t>(leidos));
        if (const auto final = texto.find_first_of("\r\n"); final != std::string_view::npos) {
            finales.porLF = texto[final] == '\n';
            break;
        }
        desde += static_cast<std::uint64_t>(leidos);
    }
    char ultimo = 0;
    const std::uint64_t tamano = fichero.huella().tamano;
    if (tamano > 0 && ::pread(fichero.descriptor(), &ultimo, 1, static_cast<off_t>(tamano - 1)) == 1) {
        finales.terminado = ultimo == '\n';
    }
    return finales;
}

// A piece of a line as it stands in the file, completed with blanks to its width.
std::string pieza(std::string_view linea, std::int64_t posicion, std::int64_t ancho) {
    return rellenarBlancos(Mid(linea, posicion, ancho), static_cast<std::size_t>(ancho));
}

// Kind of line and csb of a new party by the product code.
std::pair<ClaseLineaCuentas, const char*> clasificar(std::string_view codigo) {
    for (const char* pago : {"10", "16", "20", "50", "55", "56"}) {
        if (codigo == pago) {
            return {ClaseLineaCuentas::Pago, kTipoPagos};
        }
    }
    if (codigo == "63") {
        return {ClaseLineaCuentas::Pago, kTipoZOP};
    }
    if (codigo == "62") {
        return {ClaseLineaCuentas::Cobro, kTipoCSB58};
    }
    if (codigo == "68") {
        return {ClaseLineaCuentas::Cobro, kTipoCSB19};
    }
    return {ClaseLineaCuentas::Ignorada, ""};
}

// Each line's rows go in together or not at all, inside the import's one transaction.
class PuntoGuardado {
public:
    explicit PuntoGuardado(BaseDatos& bd) : bd_(bd) { bd_.ejecutarScript("SAVEPOINT linea"); }
    PuntoGuardado(const PuntoGuardado&) = delete;
    PuntoGuardado& operator=(const PuntoGuardado&) = delete;
    ~PuntoGuardado() {
        if (activo_) {
            deshacer();
        }
    }
    void confirmar() {
        bd_.ejecutarScript("RELEASE linea");
        activo_ = false;
    }
    void deshacer() {
        activo_ = false;
        try {
            bd_.ejecutarScript("ROLLBACK TO linea; RELEASE linea");
        } catch (const ErrorBaseDatos&) {
            // The whole transaction is then rolled back by its owner.
        }
    }

private:
    BaseDatos& bd_;
    bool activo_ = true;
};

// A row that the database refuses (a constraint, a value too big), while the database itself is sound.
struct FilaRechazada {};

void escribir(BaseDatos& bd, Sentencia& sentencia) {
    try {
        sentencia.ejecutar();
    } catch (const ErrorBaseDatos&) {
        // Read at once: finishing any other statement clears it.
        const int codigo = sqlite3_errcode(bd.nativo()) & 0xff;
        if (codigo == SQLITE_CONSTRAINT || codigo == SQLITE_TOOBIG || codigo == SQLITE_MISMATCH) {
            throw FilaRechazada{};
        }
        throw;
    }
}

class Importacion {
public:
    explicit Importacion(BaseDatos& bd) : bd_(bd) {}

    void linea(const LineaCuentas& l) {
        if (l.clase == ClaseLineaCuentas::Pago) {
            pago(l);
        } else if (l.clase == ClaseLineaCuentas::Cobro && !l.sinEmisor) {
            cobro(l);
        }
    }

    ResultadoImportacion resultado;

private:
    void pago(const LineaCuentas& l) {
        auto busqueda = bd_.preparar("SELECT id_presentador, csb FROM presentadores "
                                     "WHERE tipo = ? AND nifpre = ? AND cuenta = ? ORDER BY id_presentador");
        busqueda.con(kTipoPagos, l.nifOrdenante, l.cuenta);
        if (busqueda.siguiente()) {
            enlazarSiFalta(l.usuario, busqueda.entero(0), busqueda.texto(1));
        } else if (!enBlanco(l.nifOrdenante) && l.conCuenta) {
            escribir(
                bd_,
                bd_.preparar(
                       "INSERT INTO presentadores (tipo, csb, nifpre, nompre, cuenta) VALUES (?, ?, ?, ?, ?)")
                    .con(kTipoPagos, l.csb, l.nifOrdenante, l.nombreOrdenante, l.cuenta));
            ++resultado.presentadores;
            enlazar(l.usuario, bd_.ultimoId(), l.csb);
        }
    }

    void cobro(const LineaCuentas& l) {
        auto busqueda = bd_.preparar("SELECT id_presentador, csb FROM presentadores WHERE tipo = ? AND "
                                     "nifpre = ? AND sufpre = ? AND cuenta = ? ORDER BY id_presentador");
        busqueda.con(kTipoCobros, l.nifPresentador, l.sufijoPresentador, l.cuenta);
        if (busqueda.siguiente()) {
            const std::int64_t id = busqueda.entero(0);
            emisor(l, id);
            enlazarSiFalta(l.usuario, id, busqueda.texto(1));
        } else if (!enBlanco(l.nifPresentador) && !enBlanco(l.sufijoPresentador) && l.conCuenta) {
            escribir(bd_,
                     bd_.preparar("INSERT INTO presentadores (tipo, nifpre, sufpre, nompre, cuenta, csb) "
                                  "VALUES (?, ?, ?, ?, ?, ?)")
                         .con(kTipoCobros, l.nifPresentador, l.sufijoPresentador, l.nombrePresentador,
                              l.cuenta, l.csb));
            ++resultado.presentadores;
            const std::int64_t id = bd_.ultimoId();
            enlazar(l.usuario, id, l.csb);
            emisor(l, id);
        }
    }

    void emisor(const LineaCuentas& l, std::int64_t idPresentador) {
        auto busqueda = bd_.preparar("SELECT 1 FROM emisores WHERE id_presentador = ? AND nifemi = ? AND "
                                     "sufemi = ? AND cuenta = ?");
        busqueda.con(idPresentador, l.nifEmisor, l.sufijoEmisor, l.cuentaEmisor);
        if (!busqueda.siguiente() && !enBlanco(l.nifEmisor) && !enBlanco(l.sufijoEmisor) &&
            l.conCuentaEmisor) {
            escribir(
                bd_,
                bd_.preparar(
                       "INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, "
                       "?, ?, ?, ?)")
                    .con(idPresentador, l.nifEmisor, l.sufijoEmisor, l.nombreEmisor, l.cuentaEmisor));
            ++resultado.emisores;
        }
    }

    void enlazarSiFalta(const std::string& usuario, std::int64_t id, const std::string& csb) {
        auto busqueda = bd_.preparar("SELECT 1 FROM usuarios WHERE usuario = ? AND id_presentador = ?");
        busqueda.con(usuario, id);
        if (!busqueda.siguiente()) {
            enlazar(usuario, id, csb);
        }
    }

    void enlazar(const std::string& usuario, std::int64_t id, const std::string& csb) {
        escribir(bd_, bd_.preparar("INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES (?, ?, ?)")
                          .con(usuario, csb, id));
        ++resultado.usuarios;
    }

    BaseDatos& bd_;
};

} // namespace

std::string componerCuenta(std::string_view linea, std::int64_t posicion) {
    const std::string entidad = pieza(linea, posicion, 4);
    const std::string oficina = pieza(linea, posicion + 4, 4);
    const std::string numero = "0" + pieza(linea, posicion + 8, 9);
    return entidad + oficina + CalcularDC(entidad, oficina, numero) + numero;
}

LineaCuentas leerLineaCuentas(std::string_view linea) {
    LineaCuentas l;
    const auto [clase, csb] = clasificar(Mid(linea, 98, 2));
    l.clase = clase;
    l.csb = csb;
    l.usuario = Trim(Mid(linea, 1, 7));
    l.nifOrdenante = Mid(linea, 50, 9);
    l.nombreOrdenante = Mid(linea, 60, 30);
    l.cuenta = componerCuenta(linea, 90);
    l.conCuenta = !enBlanco(Mid(linea, 90, 17));
    l.sinEmisor = Mid(linea, 170, 5) == "ERROR";
    l.cuentaEmisor = componerCuenta(linea, 170);
    l.conCuentaEmisor = !enBlanco(Mid(linea, 170, 17));
    l.nifEmisor = Mid(linea, 188, 9);
    l.sufijoEmisor = Mid(linea, 197, 3);
    l.nombreEmisor = Mid(linea, 200, 30);
    l.nifPresentador = Mid(linea, 231, 9);
    l.sufijoPresentador = Mid(linea, 240, 3);
    l.nombrePresentador = Mid(linea, 243, 30);
    return l;
}

LectorFicheroCuentas::LectorFicheroCuentas(const std::filesystem::path& ruta) : lector_(ruta) {
    if (lector_.abierto()) {
        const FinalesFichero finales = finalesDe(ruta);
        porLF_ = finales.porLF;
        terminado_ = finales.terminado;
        pendiente_ = lector_.leer(siguiente_);
        conLineas_ = pendiente_;
    }
}

bool LectorFicheroCuentas::leer(std::string& registro) {
    if (!pendiente_) {
        return false;
    }
    registro.swap(siguiente_);
    pendiente_ = lector_.leer(siguiente_);
    return pendiente_ || !porLF_ || terminado_ || registro.size() >= kRegistroMinimo;
}

ResultadoImportacion importarFicheroCuentas(BaseDatos& baseDatos, const std::filesystem::path& ruta) {
    LectorFicheroCuentas lector(ruta);
    if (!lector.abierto() || lector.error()) {
        lector.fallar(ruta);
    }
    if (!lector.conLineas()) {
        throw ErrorTrovanel(kMsgCuentasVacio);
    }
    BaseDatos::Transaccion transaccion(baseDatos);
    Importacion importacion(baseDatos);
    std::string registro;
    while (lector.leer(registro)) {
        ++importacion.resultado.lineas;
        // A control character would reach the parties' records in every later bank file: the file is
        // refused whole, as a line it cannot read.
        if (hayCaracterControl(registro)) {
            throw ErrorTrovanel(mensajeEntrada(kMsgNoSeAbreCuentas, ruta,
                                               "la línea " + std::to_string(importacion.resultado.lineas) +
                                                   " tiene un carácter de control"));
        }
        const ResultadoImportacion antes = importacion.resultado;
        PuntoGuardado punto(baseDatos);
        try {
            importacion.linea(leerLineaCuentas(registro));
            punto.confirmar();
        } catch (const FilaRechazada&) {
            punto.deshacer();
            importacion.resultado = antes;
            ++importacion.resultado.rechazadas;
        }
    }
    if (lector.error()) {
        lector.fallar(ruta);
    }
    transaccion.confirmar();
    return importacion.resultado;
}

void LectorFicheroCuentas::fallar(const std::filesystem::path& ruta) const {
    const std::string motivo = lector_.motivo();
    throw ErrorTrovanel(motivo.empty() ? std::string(kMsgNoSeAbreCuentas)
                                       : mensajeEntrada(kMsgNoSeAbreCuentas, ruta, motivo));
}

} // namespace trovanel
