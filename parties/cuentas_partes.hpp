#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// Payments have ordering parties; collections have presenters with issuers. The two forms differ in a
// few identifier and account checks.
enum class ClaseParte { Pagos, Cobros };

// A party added in a form gets this entity code at the head of its stored account; an edit keeps the
// entity the account has (an imported one names the party's real bank).
inline constexpr const char* kEntidadFormularios = "8642";

inline constexpr const char* kMsgNifOrdenante = "Teclee un nif de emisor correcto (9 posiciones)";
inline constexpr const char* kMsgDatosPorFavor = "Compruebe los datos por favor";
inline constexpr const char* kMsgLongitudNif = "Compruebe la longitud del NIF (9 posiciones)";
inline constexpr const char* kMsgLongitudSufijo = "Compruebe la longitud del Sufijo (3 posiciones)";
inline constexpr const char* kMsgDatos = "Compruebe los datos";
inline constexpr const char* kMsgDatosCuenta = "Compruebe los datos de la cuenta";
inline constexpr const char* kMsgDCDistinto = "Por favor, compruebe los datos de la cuenta";
inline constexpr const char* kMsgDCObligatorio = "El DC es obligatorio";
inline constexpr const char* kMsgNorma = "Debe especificar si es CSB58 o CSB19";

// Key filter of the office, account number, check digit and suffix boxes: digits, "*" and backspace.
bool teclaCuentaAdmitida(int codigo);

// An account number of exactly 9 characters gets a "0" in front; any other stays as it is.
std::string completarNumeroCuenta(std::string_view numero);

// Characters 2-3 of the completed account number "63": a supplier-payment (ZOP) account.
bool marcaZOP(std::string_view numeroCompleto);

// A stored account split by its fixed positions: entity 1-4, office 5-8, check digits 9-10, number 11-20.
struct CuentaDividida {
    std::string entidad;
    std::string oficina;
    std::string dc;
    std::string numero;
};
CuentaDividida dividirCuenta(std::string_view cuenta);

// Entity & office & check digits & number.
std::string cuentaAlmacenada(std::string_view entidad, std::string_view oficina, std::string_view dc,
                             std::string_view numero);

// A message of the checks; informativo: an information box, otherwise an error box.
struct AvisoCuenta {
    bool informativo = false;
    std::string texto;
    bool operator==(const AvisoCuenta&) const = default;
};

// What a form's boxes hold when a party is saved or added. The payments form uses nombre, nif and the
// account boxes only.
struct DatosParte {
    std::string nombrePre;
    std::string nifPre;
    std::string sufPre;
    std::string nombreEmi;
    std::string nifEmi;
    std::string sufEmi;
    std::string oficina;
    std::string dc;
    std::string numero;
    std::string norma; // collections add: "CSB19", "CSB58", or "" when none is chosen
    // Edits: the entity of the account as stored, kept and used for the check digits (kEntidadFormularios
    // when it has no 4 characters). The adds always use kEntidadFormularios.
    std::string entidad = {};
};

// The outcome of the checks: the messages in the order shown, the account number as its box must show it
// (completed to 10 when it had 9), and the stored account when everything passed.
struct ValidacionParte {
    std::vector<AvisoCuenta> avisos;
    std::string numero;
    std::optional<std::string> cuenta;
    bool zop = false;
};

// Each first refuses a box holding a control character, naming the box ("Caracter no valido en el nombre
// del emisor"), before any other check.
// Payments edit (NIF in nifEmi): the NIF, office and number checks all run; the check digits only when
// they pass.
ValidacionParte validarEdicionOrdenante(const DatosParte& datos);
// Payments add (name in nombreEmi, NIF in nifEmi): stops at the first failure.
ValidacionParte validarAltaOrdenante(const DatosParte& datos);
// Collections edit: the six identifier and account checks all run; the check digits only when they pass.
ValidacionParte validarEdicionCobros(const DatosParte& datos);
// Collections add: stops at the first failure; an office of 1 to 3 characters is refused like a wrong
// account, so every stored account keeps its 20 characters.
ValidacionParte validarAltaCobros(const DatosParte& datos);

} // namespace trovanel
