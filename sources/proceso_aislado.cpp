#include "proceso_aislado.hpp"

#include "error.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

namespace trovanel {

namespace {

// Both what the child gathers before writing and what the parent takes in one read.
constexpr std::size_t kBloque = 64 * 1024;

// Memory the child may take beyond what it inherits: far more than any sound input needs, and little
// enough that the child stays within what one input may take of the machine.
constexpr rlim_t kMemoriaHijo = rlim_t{128} << 20;

// How long the child may stay silent before its job is taken for one that goes round in circles, as
// libmdb does on some damaged files. TROVANEL_PLAZO_ACCESS_MS shortens it for the tests of such files.
int plazoMilisegundos() {
    if (const char* valor = std::getenv("TROVANEL_PLAZO_ACCESS_MS"); valor != nullptr) {
        int plazo = 0;
        const auto [fin, ec] = std::from_chars(valor, valor + std::strlen(valor), plazo);
        if (ec == std::errc{} && *fin == '\0' && plazo > 0) {
            return plazo;
        }
    }
    return 15000;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// The child's end.

void CanalEscritura::byte(char valor) {
    buffer_.push_back(valor);
}

void CanalEscritura::entero(std::uint32_t valor) {
    buffer_.append(reinterpret_cast<const char*>(&valor), sizeof valor);
}

void CanalEscritura::texto(std::string_view valor) {
    entero(static_cast<std::uint32_t>(std::min<std::size_t>(valor.size(), kTextoMaximo)));
    buffer_.append(valor.substr(0, kTextoMaximo));
}

void CanalEscritura::numero(double valor) {
    const auto bits = std::bit_cast<std::uint64_t>(valor);
    buffer_.append(reinterpret_cast<const char*>(&bits), sizeof bits);
}

void CanalEscritura::finMensaje() {
    if (buffer_.size() >= kBloque) {
        enviar();
    }
}

void CanalEscritura::enviar() {
    std::size_t escrito = 0;
    while (escrito < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + escrito, buffer_.size() - escrito);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // Nobody reads any more: the reader was closed before the end.
            ::_exit(0);
        }
        escrito += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

// ---------------------------------------------------------------------------------------------------
// The parent's end.

ProcesoAislado::ProcesoAislado(const std::function<void(CanalEscritura&)>& trabajo,
                               Descripciones descripciones)
    : descripciones_(std::move(descripciones)), buffer_(kBloque) {
    int extremos[2];
    if (::pipe2(extremos, O_CLOEXEC) != 0) {
        throw ErrorTrovanel(descripciones_.sinArrancar);
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(extremos[0]);
        ejecutarEnHijo(extremos[1], trabajo);
    }
    ::close(extremos[1]);
    fd_ = extremos[0];
    if (pid_ < 0) {
        ::close(fd_);
        throw ErrorTrovanel(descripciones_.sinArrancar);
    }
}

ProcesoAislado::~ProcesoAislado() {
    ::close(fd_);
    if (!acabado_) {
        ::kill(pid_, SIGKILL);
    }
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void ProcesoAislado::ejecutarEnHijo(int fd, const std::function<void(CanalEscritura&)>& trabajo) {
    // What the job prints, such as libmdb's warnings about a damaged file, is not the user's business.
    const int nulo = ::open("/dev/null", O_WRONLY);
    if (nulo >= 0) {
        ::dup2(nulo, STDOUT_FILENO);
        ::dup2(nulo, STDERR_FILENO);
        ::close(nulo);
    }
    ::signal(SIGPIPE, SIG_IGN);
#if !defined(__SANITIZE_ADDRESS__)
    // An endless allocation ends in a failed one instead of taking the machine's memory. (The address
    // sanitizer reserves its shadow memory up front, so its builds go without this cap.)
    std::ifstream estado("/proc/self/statm");
    unsigned long long paginas = 0;
    if (estado >> paginas) {
        const rlim_t limite =
            static_cast<rlim_t>(paginas) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + kMemoriaHijo;
        const rlimit tope{limite, limite};
        ::setrlimit(RLIMIT_AS, &tope);
    }
#endif
    CanalEscritura canal(fd);
    try {
        trabajo(canal);
        canal.enviar();
    } catch (...) {
        // The child holds a copy of the caller's stack: an exception must not carry it back into the
        // caller's code. The pipe closes short of the job's last message, and the reader says so.
    }
    ::_exit(0);
}

char ProcesoAislado::byte() {
    char valor = 0;
    leer(&valor, 1);
    return valor;
}

std::uint32_t ProcesoAislado::entero() {
    std::uint32_t valor = 0;
    leer(&valor, sizeof valor);
    return valor;
}

std::string ProcesoAislado::texto() {
    const std::uint32_t largo = entero();
    if (largo > CanalEscritura::kTextoMaximo) {
        averia();
    }
    std::string texto(largo, '\0');
    leer(texto.data(), largo);
    return texto;
}

double ProcesoAislado::numero() {
    std::uint64_t bits = 0;
    leer(&bits, sizeof bits);
    return std::bit_cast<double>(bits);
}

void ProcesoAislado::averia() const {
    throw ErrorTrovanel(descripciones_.averia);
}

void ProcesoAislado::leer(void* destino, std::size_t bytes) {
    auto* salida = static_cast<char*>(destino);
    while (bytes > 0) {
        if (inicio_ == fin_) {
            recibir();
        }
        const std::size_t n = std::min(bytes, fin_ - inicio_);
        std::memcpy(salida, buffer_.data() + inicio_, n);
        inicio_ += n;
        salida += n;
        bytes -= n;
    }
}

void ProcesoAislado::recibir() {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(plazoMilisegundos());
    for (;;) {
        const auto resta =
            std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now());
        if (resta.count() <= 0) {
            averia();
        }
        pollfd espera{fd_, POLLIN, 0};
        const int listo = ::poll(&espera, 1, static_cast<int>(resta.count()));
        if (listo < 0 && errno == EINTR) {
            continue;
        }
        if (listo < 0) {
            averia();
        }
        if (listo == 0) {
            continue;
        }
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // The child died halfway: its job met something it could not survive.
            averia();
        }
        inicio_ = 0;
        fin_ = static_cast<std::size_t>(n);
        return;
    }
}

} // namespace trovanel
