#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trovanel {

// What tells that a file changed under its reader: which file it is, its size and its modification time.
struct HuellaFichero {
    std::uint64_t dispositivo = 0;
    std::uint64_t nodo = 0;
    std::uint64_t tamano = 0;
    std::int64_t segundos = 0;
    std::int64_t nanosegundos = 0;
    bool operator==(const HuellaFichero&) const = default;
};

// The fingerprint of an open file, or of the file a path names now; nothing when it cannot be taken.
std::optional<HuellaFichero> huellaDe(int descriptor);
std::optional<HuellaFichero> huellaDe(const std::filesystem::path& ruta);

// An input file opened for reading: every input of the program (conversion inputs of every kind, the
// exchange file, the accounts file, the configuration) is opened through here. Only a regular file is
// opened: a folder, a device (/dev/zero, a link to /dev/urandom) or a pipe without a writer would hang
// its reader or feed it without end, so it is refused after an open that cannot block and before any
// byte is read. The fingerprint is taken at the open, so the reader can tell later that the file changed.
class FicheroEntrada {
public:
    explicit FicheroEntrada(const std::filesystem::path& ruta);
    FicheroEntrada(const FicheroEntrada&) = delete;
    FicheroEntrada& operator=(const FicheroEntrada&) = delete;
    ~FicheroEntrada();

    bool abierto() const { return descriptor_ >= 0; }
    // The path names something, but not a regular file.
    bool noEsFichero() const { return noEsFichero_; }
    // The path names nothing (rather than a file that cannot be opened).
    bool ausente() const { return ausente_; }
    // The system's error of a failed open (errno), 0 when it opened or was refused as no file.
    int errorSistema() const { return errorSistema_; }
    int descriptor() const { return descriptor_; }
    const HuellaFichero& huella() const { return huella_; }
    // Hands the descriptor to an owner of its own (a stream, an archive), which closes it.
    int soltar();

private:
    int descriptor_ = -1;
    bool noEsFichero_ = false;
    bool ausente_ = false;
    int errorSistema_ = 0;
    HuellaFichero huella_;
};

// The file a reader opened by its name, for it to tell at the end of a read whether the name still holds
// that file, with its size and modification time: a read is never taken from a file that changed meanwhile.
struct FicheroLeido {
    std::filesystem::path ruta;
    HuellaFichero huella;
    bool sinCambios() const { return huellaDe(ruta) == huella; }
};

// Why an input was refused, after its reader's own message and the path.
inline constexpr const char* kNoEsFicheroRegular = "no es un fichero regular";
inline constexpr const char* kCambiadoAlLeer = "ha cambiado mientras se leía";

// The reader's own message as its first line, then the full path tried and the reason: "<mensaje>",
// CR LF, "<ruta absoluta>: <motivo>". The first line stays the one a user or a script already knows.
std::string mensajeEntrada(std::string_view mensaje, const std::filesystem::path& ruta,
                           std::string_view motivo);

// A system error (errno) said in Spanish: the common ones in the program's own words, any other one as
// the system says it.
std::string motivoSistema(int error);

} // namespace trovanel
