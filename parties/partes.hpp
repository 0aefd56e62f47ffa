#pragma once

#include "cuentas_partes.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

class BaseDatos;

// Kinds of user and party, as usuarios.tipo and presentadores.csb hold them.
inline constexpr const char* kTipoPagos = "pagos";
inline constexpr const char* kTipoCSB19 = "CSB19";
inline constexpr const char* kTipoCSB58 = "CSB58";
inline constexpr const char* kTipoZOP = "ZOP";
inline constexpr const char* kTipoCobros = "cobros";
// The pseudo-user who sees every party of the kind at hand; a stored user of that name acts as it too.
inline constexpr const char* kUsuarioAdmin = "Admin";

inline bool esAdmin(std::string_view usuario) {
    return usuario == kUsuarioAdmin;
}

inline constexpr const char* kMsgAltaRealizada = "Alta realizada correctamente";
inline constexpr const char* kMsgSinUsuario =
    "Para dar de alta un ordenante hace falta un usuario al que enlazarlo. Los usuarios llegan con el "
    "fichero de cuentas del banco («Cabeceras» › «Importar Fichero Cuentas»); también puede activar el "
    "administrador en config.ini con la línea administrador=true.";
inline constexpr const char* kMsgSinUsuarioPresentador =
    "Para dar de alta un presentador hace falta un usuario al que enlazarlo. Los usuarios llegan con el "
    "fichero de cuentas del banco («Cabeceras» › «Importar Fichero Cuentas»); también puede activar el "
    "administrador en config.ini con la línea administrador=true.";

// A party is listed only through a user's link, or to "Admin": an add needs one of them.
bool usuarioParaAlta(std::string_view usuario);

// A presenter, ordering party or issuer as the lists and grids show it.
struct ParteEntrada {
    std::int64_t id = 0;
    std::string nombre;
    std::string nif;
    std::string sufijo;
    std::string cuenta; // as stored, 20 characters
};

// The conversion dialog's lists. All throw ErrorBaseDatos.
// Users linked to parties of the kind, each once, by name.
std::vector<std::string> usuariosDeTipo(BaseDatos& baseDatos, std::string_view tipoUsuario);
// The user's parties of the kind; "Admin" gets every party of the kind.
std::vector<ParteEntrada> presentadoresDeUsuario(BaseDatos& baseDatos, std::string_view usuario,
                                                 std::string_view tipoUsuario);
// Issuers of a presenter.
std::vector<ParteEntrada> emisoresDePresentador(BaseDatos& baseDatos, std::int64_t idPresentador);

// The maintenance forms' lists. All throw ErrorBaseDatos.
// Users with a link of the class's kinds ("pagos" or ZOP; "CSB19" or "CSB58"), each once, by name.
std::vector<std::string> usuariosDeClase(BaseDatos& baseDatos, ClaseParte clase);
// Parties of the class the user may act for; "Admin" sees every one ("pagos" or "cobros" rows).
std::vector<ParteEntrada> partesDeUsuario(BaseDatos& baseDatos, ClaseParte clase, std::string_view usuario);

struct Presentador {
    std::int64_t id = 0;
    std::string tipo;
    std::string nif;
    std::string nombre;
    std::string sufijo;
    std::string cuenta;
    std::string csb;
};
std::optional<Presentador> leerPresentador(BaseDatos& baseDatos, std::int64_t id);
// An ordering party of payment files, kept as a presenter row of kind "pagos" (or ZOP).
inline std::optional<Presentador> leerOrdenante(BaseDatos& baseDatos, std::int64_t id) {
    return leerPresentador(baseDatos, id);
}

struct Emisor {
    std::int64_t id = 0;
    std::int64_t idPresentador = 0;
    std::string nif;
    std::string sufijo;
    std::string nombre;
    std::string cuenta;
};
std::optional<Emisor> leerEmisor(BaseDatos& baseDatos, std::int64_t id);

// Writes; each runs in one transaction and throws ErrorBaseDatos with nothing written.

// An ordering party's edit: its NIF as typed and its stored account.
void guardarOrdenante(BaseDatos& baseDatos, std::int64_t id, std::string_view nif, std::string_view cuenta);

struct AltaOrdenante {
    std::int64_t id = 0;
    bool existia = false; // a "pagos" row with the same trimmed NIF and account was there already
};
// A new ordering party (csb ZOP when zop) linked to the user; an existing one only gets the user's link.
// "Admin" gets no link. Without a user for the add (usuarioParaAlta) throws ErrorTrovanel with
// kMsgSinUsuario, nothing written.
AltaOrdenante altaOrdenante(BaseDatos& baseDatos, std::string_view usuario, std::string_view nombre,
                            std::string_view nif, std::string_view cuenta, bool zop);
// "Admin": the party and all its links; a named user: that user's first link to it.
void bajaOrdenante(BaseDatos& baseDatos, std::string_view usuario, std::int64_t id);

// A presenter's NIF and suffix and its issuer's NIF, suffix and account, as typed, both rows or neither.
void guardarPresentadorEmisor(BaseDatos& baseDatos, std::int64_t idPresentador, const DatosParte& datos,
                              std::int64_t idEmisor, std::string_view cuenta);
// An issuer, and its presenter when no "cobros" presenter of the norm has the trimmed NIF and suffix;
// false when that presenter already has the issuer (trimmed NIF and suffix, same account). Either way the
// presenter is linked to the user with the norm as the link's kind, as altaOrdenante does ("Admin" gets
// no link); without a user for the add throws ErrorTrovanel with kMsgSinUsuarioPresentador.
bool altaPresentadorEmisor(BaseDatos& baseDatos, std::string_view usuario, const DatosParte& datos,
                           std::string_view cuenta);
void bajaEmisor(BaseDatos& baseDatos, std::int64_t id);
// "Admin": the presenter and all its links; a named user: that user's links to it. Issuers stay.
void bajaPresentador(BaseDatos& baseDatos, std::string_view usuario, std::int64_t id);

} // namespace trovanel
