#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace trovanel {

class Avisos;
class Reloj;
struct EstadoEjecucion;

inline constexpr const char* kFalloLogCobros = "No se puede crear el fichero Log";
inline constexpr const char* kFalloLogPagos = "No se puede creal el fichero Log";

// Appends the blocks of one run's rejected orders to the error log at `ruta` (the run's gFicheroLog), through
// one buffered stream opened at the first block. The log is never truncated, and is only ever a plain file
// opened without following a symbolic link. Before the run's first block comes the run header
// (asterisks, date and time), written once while estado.gCabeceraLogPendiente.
class EscritorLog {
public:
    // No log is written with an empty path: each block fails as a log that cannot be opened.
    EscritorLog(std::filesystem::path ruta, EstadoEjecucion& estado, const Reloj& reloj, Avisos& avisos,
                std::string mensajeFallo = kFalloLogCobros);
    EscritorLog(const EscritorLog&) = delete;
    EscritorLog& operator=(const EscritorLog&) = delete;
    ~EscritorLog();

    // One block: asterisks, "Numero Linea: " n, the family's identification lines, a line holding one
    // blank and every text of estado.gErrores, which is emptied. When the log cannot be opened or
    // written, the failure message is shown (then the log's path and the reason) and the texts are
    // dropped with the order, so they are never printed under another order.
    void escribirBloque(std::int64_t numeroLinea, std::initializer_list<std::string_view> identificacion);
    // An identification line as a caption and the order's value, written without joining them first.
    struct LineaRotulada {
        std::string_view rotulo;
        std::string_view valor;
    };
    void escribirBloqueRotulado(std::int64_t numeroLinea,
                                std::initializer_list<LineaRotulada> identificacion);

    // Flushes and closes; shows the failure message and returns false when the last writes failed.
    bool cerrar();

    // Some block or the closing failed (its message was shown): the log lacks orders of this run.
    bool fallido() const { return fallido_; }

private:
    bool abrir();
    // The block is built whole in bloque_ and goes out in one write.
    void empezarBloque(std::int64_t numeroLinea);
    void anadirLinea(std::string_view rotulo, std::string_view valor = {});
    void terminarBloque();
    // Keeps why a write failed (errno), when it did.
    void errorEscritura(bool bien);
    void avisarFallo();

    std::filesystem::path ruta_;
    EstadoEjecucion& estado_;
    const Reloj& reloj_;
    Avisos& avisos_;
    std::string mensajeFallo_;
    // Why the log could not be opened or written, in Spanish.
    std::string motivo_;
    // The stream's buffer: the C library ignores the size asked for unless it is handed the memory.
    std::unique_ptr<char[]> buffer_;
    std::FILE* fichero_ = nullptr;
    bool fallido_ = false;
    // Kept from one block to the next.
    std::string bloque_;
};

// The block of a rejected norm 19 or norm 58 receipt: issuer NIF and suffix, receipt holder's name.
void EscribirLog(EscritorLog& log, std::int64_t numLinea, std::string_view nifOrdenante,
                 std::string_view nombreTitular);

} // namespace trovanel
