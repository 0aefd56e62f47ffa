#pragma once

// A job that cannot be trusted with a damaged input (it may loop forever, allocate without end or read
// wild) runs in a forked child, never in this process, and streams its results back through a pipe. A
// child that dies, or stays silent too long, means a damaged input, not a dead program.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// The child's end of the pipe. A message is whatever the job writes up to finMensaje or enviar: its
// parts gather in a buffer, which leaves in large writes. What the parts mean is for the job and its
// reader to agree on; numbers go in this machine's byte order, both ends being the same program.
class CanalEscritura {
public:
    // Beyond this a text cannot come from a sound child: a longer one is cut when written and refused
    // when read.
    static constexpr std::uint32_t kTextoMaximo = 16u << 20;

    CanalEscritura(const CanalEscritura&) = delete;
    CanalEscritura& operator=(const CanalEscritura&) = delete;

    void byte(char valor);
    void entero(std::uint32_t valor);
    // Its length in four bytes, then its bytes.
    void texto(std::string_view valor);
    void numero(double valor);

    // Ends a message: the buffer leaves once it is full, so that a long job streams while it runs.
    void finMensaje();
    // Sends what is buffered now: for the last message, or one the reader must not wait for.
    void enviar();

private:
    friend class ProcesoAislado;
    explicit CanalEscritura(int fd) : fd_(fd) {}

    int fd_;
    std::string buffer_;
};

// One job in a child process and the reading end of its pipe. The child runs the job with its output
// silenced and its memory capped, then exits. When this object goes, a child that has not said it is
// done is killed, and every child is reaped.
class ProcesoAislado {
public:
    // The ErrorTrovanel descriptions that the user reads.
    struct Descripciones {
        std::string sinArrancar; // the pipe or the child could not be made
        std::string averia;      // the child died, stayed silent too long or sent what cannot be read
    };

    // Starts `trabajo` in a child. Throws ErrorTrovanel with sinArrancar when it cannot. An exception
    // that leaves the job ends the child before its last message, which the reader takes for an averia.
    ProcesoAislado(const std::function<void(CanalEscritura&)>& trabajo, Descripciones descripciones);
    ~ProcesoAislado();

    ProcesoAislado(const ProcesoAislado&) = delete;
    ProcesoAislado& operator=(const ProcesoAislado&) = delete;

    // What the job wrote, read back in the same order. Each wait for more from the pipe may last the
    // silence timeout (15 s; TROVANEL_PLAZO_ACCESS_MS in milliseconds overrides it); past it, or when
    // the pipe closes early, they throw ErrorTrovanel with averia.
    char byte();
    std::uint32_t entero();
    // Throws with averia as well when the length is past CanalEscritura::kTextoMaximo.
    std::string texto();
    double numero();

    // The child has sent its last message: it is then waited for, not killed.
    void marcarAcabado() { acabado_ = true; }
    // Throws ErrorTrovanel with averia: for a message that the reader cannot make sense of.
    [[noreturn]] void averia() const;

private:
    [[noreturn]] static void ejecutarEnHijo(int fd, const std::function<void(CanalEscritura&)>& trabajo);
    void leer(void* destino, std::size_t bytes);
    void recibir();

    Descripciones descripciones_;
    pid_t pid_ = -1;
    int fd_ = -1;
    bool acabado_ = false;
    std::vector<char> buffer_;
    std::size_t inicio_ = 0;
    std::size_t fin_ = 0;
};

} // namespace trovanel
