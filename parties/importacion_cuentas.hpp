#pragma once

#include "lector_lineas.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace trovanel {

class BaseDatos;

inline constexpr const char* kMsgImportacionRealizada = "Importación realizada";
inline constexpr const char* kMsgNoSeAbreCuentas = "No se puede abrir el fichero de cuentas";
inline constexpr const char* kMsgCuentasVacio = "No se puede abrir el fichero de cuentas, o está vacio";

// The product code of a line (its account number's characters 2-3) says what the line is.
enum class ClaseLineaCuentas { Pago, Cobro, Ignorada };

// One line of the bank's accounts file, read by its fixed positions. Texts stand as in the file (a
// position past the end of a short line reads as less or nothing), but the composed accounts always
// have their 20 characters.
struct LineaCuentas {
    ClaseLineaCuentas clase = ClaseLineaCuentas::Ignorada;
    std::string csb;     // of a party the line adds
    std::string usuario; // trimmed
    std::string nifOrdenante;
    std::string nombreOrdenante;
    std::string cuenta;
    bool conCuenta = false; // positions 90-106 hold more than blanks
    bool sinEmisor = false; // "ERROR" at position 170: the bank gives no issuer account
    std::string cuentaEmisor;
    bool conCuentaEmisor = false;
    std::string nifEmisor;
    std::string sufijoEmisor;
    std::string nombreEmisor;
    std::string nifPresentador;
    std::string sufijoPresentador;
    std::string nombrePresentador;
};

LineaCuentas leerLineaCuentas(std::string_view linea);

// The account at a position of a line: entity 4, office 4, check digits, "0" and the nine account
// digits. A piece cut short by the end of the line is completed with blanks, which makes the check
// digits "**".
std::string componerCuenta(std::string_view linea, std::int64_t posicion);

// The records of an accounts file, line ends as the line reader finds them (the first line end, CR LF
// or LF, decides). A file of LF line ends that does not end with one loses a last record shorter than
// 170 characters: the bank's files end with an LF, and such a tail is a cut record.
class LectorFicheroCuentas {
public:
    explicit LectorFicheroCuentas(const std::filesystem::path& ruta);
    bool abierto() const { return lector_.abierto(); }
    bool leer(std::string& registro);
    bool error() const { return lector_.error(); }
    // The file holds at least one line, even an empty one.
    bool conLineas() const { return conLineas_; }
    // Throws the accounts file's ErrorTrovanel for a file that could not be opened or read whole, with
    // the path and the reason when there is one to tell (a folder or a device, a line past the cap, a
    // file changed while it was read).
    [[noreturn]] void fallar(const std::filesystem::path& ruta) const;

private:
    LectorLineas lector_;
    bool porLF_ = false;
    bool terminado_ = true;
    bool pendiente_ = false;
    bool conLineas_ = false;
    std::string siguiente_;
};

// What an import added.
struct ResultadoImportacion {
    int lineas = 0;
    int presentadores = 0;
    int emisores = 0;
    int usuarios = 0;
    // Lines whose rows the database refused (a constraint): each adds nothing, the others go on.
    int rechazadas = 0;
};

// Adds the parties, issuers and user links of the file that the database lacks, in one transaction.
// Throws ErrorTrovanel with kMsgNoSeAbreCuentas (a line holding a control character among its reasons)
// or kMsgCuentasVacio, or ErrorBaseDatos; nothing is written then.
ResultadoImportacion importarFicheroCuentas(BaseDatos& baseDatos, const std::filesystem::path& ruta);

} // namespace trovanel
