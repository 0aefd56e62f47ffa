#include "partes.hpp"

#include "base_datos.hpp"
#include "error.hpp"
#include "texto.hpp"

namespace trovanel {

namespace {

ParteEntrada leerParte(const Sentencia& fila, int nombre, int nif, int sufijo) {
    return ParteEntrada{fila.entero(0), fila.texto(nombre), fila.texto(nif), fila.texto(sufijo),
                        fila.texto(4)};
}

std::vector<ParteEntrada> leerPartes(Sentencia& consulta) {
    std::vector<ParteEntrada> partes;
    while (consulta.siguiente()) {
        partes.push_back(leerParte(consulta, 2, 1, 3));
    }
    return partes;
}

// The two kinds of link a class's users carry.
std::pair<const char*, const char*> tiposDe(ClaseParte clase) {
    return clase == ClaseParte::Pagos ? std::pair{kTipoPagos, kTipoZOP} : std::pair{kTipoCSB58, kTipoCSB19};
}

// The user's link to a party it has just added, once; "Admin" sees every party without one.
void enlazarUsuario(BaseDatos& baseDatos, std::string_view usuario, std::int64_t id, std::string_view tipo) {
    if (esAdmin(usuario)) {
        return;
    }
    const std::string usuarioRecortado = Trim(usuario);
    auto enlace = baseDatos.preparar("SELECT 1 FROM usuarios WHERE usuario = ? AND id_presentador = ?");
    enlace.con(usuarioRecortado, id);
    if (!enlace.siguiente()) {
        baseDatos.preparar("INSERT INTO usuarios (usuario, id_presentador, tipo) VALUES (?, ?, ?)")
            .con(usuarioRecortado, id, tipo)
            .ejecutar();
    }
}

} // namespace

bool usuarioParaAlta(std::string_view usuario) {
    return esAdmin(usuario) || !enBlanco(usuario);
}

std::vector<std::string> usuariosDeTipo(BaseDatos& baseDatos, std::string_view tipoUsuario) {
    auto consulta =
        baseDatos.preparar("SELECT usuario FROM usuarios WHERE tipo = ? GROUP BY usuario ORDER BY usuario");
    consulta.con(tipoUsuario);
    std::vector<std::string> usuarios;
    while (consulta.siguiente()) {
        usuarios.push_back(consulta.texto(0));
    }
    return usuarios;
}

std::vector<ParteEntrada> presentadoresDeUsuario(BaseDatos& baseDatos, std::string_view usuario,
                                                 std::string_view tipoUsuario) {
    if (esAdmin(usuario)) {
        auto consulta = baseDatos.preparar("SELECT id_presentador, nifpre, nompre, sufpre, cuenta "
                                           "FROM presentadores WHERE csb = ? ORDER BY id_presentador");
        consulta.con(tipoUsuario);
        return leerPartes(consulta);
    }
    auto consulta = baseDatos.preparar(
        "SELECT presentadores.id_presentador, presentadores.nifpre, presentadores.nompre, "
        "presentadores.sufpre, presentadores.cuenta "
        "FROM presentadores INNER JOIN usuarios ON presentadores.id_presentador = usuarios.id_presentador "
        "WHERE usuarios.usuario = ? AND usuarios.tipo = ? ORDER BY presentadores.id_presentador");
    consulta.con(usuario, tipoUsuario);
    return leerPartes(consulta);
}

std::vector<ParteEntrada> emisoresDePresentador(BaseDatos& baseDatos, std::int64_t idPresentador) {
    auto consulta = baseDatos.preparar("SELECT id_emi, nifemi, nomemi, sufemi, cuenta FROM emisores "
                                       "WHERE id_presentador = ? ORDER BY id_emi");
    consulta.con(idPresentador);
    return leerPartes(consulta);
}

std::vector<std::string> usuariosDeClase(BaseDatos& baseDatos, ClaseParte clase) {
    const auto [uno, otro] = tiposDe(clase);
    auto consulta = baseDatos.preparar(
        "SELECT usuario FROM usuarios WHERE tipo = ? OR tipo = ? GROUP BY usuario ORDER BY usuario");
    consulta.con(uno, otro);
    std::vector<std::string> usuarios;
    while (consulta.siguiente()) {
        usuarios.push_back(consulta.texto(0));
    }
    return usuarios;
}

std::vector<ParteEntrada> partesDeUsuario(BaseDatos& baseDatos, ClaseParte clase, std::string_view usuario) {
    if (esAdmin(usuario)) {
        auto consulta = baseDatos.preparar("SELECT id_presentador, nifpre, nompre, sufpre, cuenta "
                                           "FROM presentadores WHERE tipo = ? ORDER BY id_presentador");
        consulta.con(clase == ClaseParte::Pagos ? kTipoPagos : kTipoCobros);
        return leerPartes(consulta);
    }
    const auto [uno, otro] = tiposDe(clase);
    auto consulta = baseDatos.preparar(
        "SELECT presentadores.id_presentador, presentadores.nifpre, presentadores.nompre, "
        "presentadores.sufpre, presentadores.cuenta "
        "FROM presentadores INNER JOIN usuarios ON presentadores.id_presentador = usuarios.id_presentador "
        "WHERE usuarios.usuario = ? AND (usuarios.tipo = ? OR usuarios.tipo = ?) "
        "ORDER BY presentadores.id_presentador, usuarios.rowid");
    consulta.con(usuario, uno, otro);
    return leerPartes(consulta);
}

std::optional<Presentador> leerPresentador(BaseDatos& baseDatos, std::int64_t id) {
    auto consulta = baseDatos.preparar("SELECT id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb "
                                       "FROM presentadores WHERE id_presentador = ?");
    consulta.con(id);
    if (!consulta.siguiente()) {
        return std::nullopt;
    }
    return Presentador{consulta.entero(0), consulta.texto(1), consulta.texto(2), consulta.texto(3),
                       consulta.texto(4),  consulta.texto(5), consulta.texto(6)};
}

std::optional<Emisor> leerEmisor(BaseDatos& baseDatos, std::int64_t id) {
    auto consulta = baseDatos.preparar(
        "SELECT id_emi, id_presentador, nifemi, sufemi, nomemi, cuenta FROM emisores WHERE id_emi = ?");
    consulta.con(id);
    if (!consulta.siguiente()) {
        return std::nullopt;
    }
    return Emisor{consulta.entero(0), consulta.entero(1), consulta.texto(2),
                  consulta.texto(3),  consulta.texto(4),  consulta.texto(5)};
}

void guardarOrdenante(BaseDatos& baseDatos, std::int64_t id, std::string_view nif, std::string_view cuenta) {
    BaseDatos::Transaccion transaccion(baseDatos);
    baseDatos.preparar("UPDATE presentadores SET nifpre = ?, cuenta = ? WHERE id_presentador = ?")
        .con(nif, cuenta, id)
        .ejecutar();
    transaccion.confirmar();
}

AltaOrdenante altaOrdenante(BaseDatos& baseDatos, std::string_view usuario, std::string_view nombre,
                            std::string_view nif, std::string_view cuenta, bool zop) {
    if (!usuarioParaAlta(usuario)) {
        throw ErrorTrovanel(kMsgSinUsuario);
    }
    BaseDatos::Transaccion transaccion(baseDatos);
    const std::string nifRecortado = Trim(nif);
    AltaOrdenante alta;
    std::string csb;
    auto existente =
        baseDatos.preparar("SELECT id_presentador, csb FROM presentadores "
                           "WHERE tipo = ? AND nifpre = ? AND cuenta = ? ORDER BY id_presentador");
    existente.con(kTipoPagos, nifRecortado, cuenta);
    if (existente.siguiente()) {
        alta = {existente.entero(0), true};
        csb = existente.texto(1);
    } else {
        csb = zop ? kTipoZOP : kTipoPagos;
        baseDatos
            .preparar("INSERT INTO presentadores (tipo, csb, nifpre, nompre, cuenta) VALUES (?, ?, ?, ?, ?)")
            .con(kTipoPagos, csb, nifRecortado, Trim(nombre), cuenta)
            .ejecutar();
        alta = {baseDatos.ultimoId(), false};
    }
    enlazarUsuario(baseDatos, usuario, alta.id, csb);
    transaccion.confirmar();
    return alta;
}

void bajaOrdenante(BaseDatos& baseDatos, std::string_view usuario, std::int64_t id) {
    BaseDatos::Transaccion transaccion(baseDatos);
    if (esAdmin(usuario)) {
        baseDatos.preparar("DELETE FROM usuarios WHERE id_presentador = ?").con(id).ejecutar();
        baseDatos.preparar("DELETE FROM presentadores WHERE id_presentador = ?").con(id).ejecutar();
    } else {
        baseDatos
            .preparar("DELETE FROM usuarios WHERE rowid = (SELECT rowid FROM usuarios "
                      "WHERE usuario = ? AND id_presentador = ? ORDER BY rowid LIMIT 1)")
            .con(Trim(usuario), id)
            .ejecutar();
    }
    transaccion.confirmar();
}

void guardarPresentadorEmisor(BaseDatos& baseDatos, std::int64_t idPresentador, const DatosParte& datos,
                              std::int64_t idEmisor, std::string_view cuenta) {
    BaseDatos::Transaccion transaccion(baseDatos);
    baseDatos.preparar("UPDATE presentadores SET nifpre = ?, sufpre = ? WHERE id_presentador = ?")
        .con(datos.nifPre, datos.sufPre, idPresentador)
        .ejecutar();
    baseDatos.preparar("UPDATE emisores SET nifemi = ?, sufemi = ?, cuenta = ? WHERE id_emi = ?")
        .con(datos.nifEmi, datos.sufEmi, cuenta, idEmisor)
        .ejecutar();
    transaccion.confirmar();
}

bool altaPresentadorEmisor(BaseDatos& baseDatos, std::string_view usuario, const DatosParte& datos,
                           std::string_view cuenta) {
    if (!usuarioParaAlta(usuario)) {
        throw ErrorTrovanel(kMsgSinUsuarioPresentador);
    }
    BaseDatos::Transaccion transaccion(baseDatos);
    auto presentador = baseDatos.preparar(
        "SELECT id_presentador FROM presentadores WHERE tipo = ? AND nifpre = ? AND sufpre = ? AND csb = ? "
        "ORDER BY id_presentador");
    presentador.con(kTipoCobros, Trim(datos.nifPre), Trim(datos.sufPre), datos.norma);
    std::int64_t id = 0;
    if (presentador.siguiente()) {
        id = presentador.entero(0);
        auto emisor = baseDatos.preparar("SELECT 1 FROM emisores WHERE id_presentador = ? AND nifemi = ? "
                                         "AND sufemi = ? AND cuenta = ?");
        emisor.con(id, Trim(datos.nifEmi), Trim(datos.sufEmi), cuenta);
        if (emisor.siguiente()) {
            // Typed again by a user who cannot see it: the link is what was missing.
            enlazarUsuario(baseDatos, usuario, id, datos.norma);
            transaccion.confirmar();
            return false;
        }
    } else {
        baseDatos
            .preparar("INSERT INTO presentadores (tipo, nifpre, sufpre, nompre, cuenta, csb) "
                      "VALUES (?, ?, ?, ?, ?, ?)")
            .con(kTipoCobros, datos.nifPre, datos.sufPre, datos.nombrePre, cuenta, datos.norma)
            .ejecutar();
        id = baseDatos.ultimoId();
    }
    baseDatos
        .preparar(
            "INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, ?, ?, ?, ?)")
        .con(id, datos.nifEmi, datos.sufEmi, datos.nombreEmi, cuenta)
        .ejecutar();
    enlazarUsuario(baseDatos, usuario, id, datos.norma);
    transaccion.confirmar();
    return true;
}

void bajaEmisor(BaseDatos& baseDatos, std::int64_t id) {
    BaseDatos::Transaccion transaccion(baseDatos);
    baseDatos.preparar("DELETE FROM emisores WHERE id_emi = ?").con(id).ejecutar();
    transaccion.confirmar();
}

void bajaPresentador(BaseDatos& baseDatos, std::string_view usuario, std::int64_t id) {
    BaseDatos::Transaccion transaccion(baseDatos);
    if (esAdmin(usuario)) {
        baseDatos.preparar("DELETE FROM usuarios WHERE id_presentador = ?").con(id).ejecutar();
        baseDatos.preparar("DELETE FROM presentadores WHERE id_presentador = ?").con(id).ejecutar();
    } else {
        baseDatos.preparar("DELETE FROM usuarios WHERE usuario = ? AND id_presentador = ?")
            .con(usuario, id)
            .ejecutar();
    }
    transaccion.confirmar();
}

} // namespace trovanel
