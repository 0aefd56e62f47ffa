#pragma once

#include "error.hpp"
#include "limites.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trovanel {

// A workbook whose shared strings would take the table past its cap. It reads as any workbook that cannot
// be read (kNoSeAbreEntrada); the reason is for the reader, which knows the path (mensajeEntrada).
class ErrorTablaTextosLlena : public ErrorTrovanel {
public:
    explicit ErrorTablaTextosLlena(std::size_t maximo);
    const std::string& motivo() const { return motivo_; }

private:
    std::string motivo_;
};

// The shared strings of a workbook (.xlsx or .xls), converted once, end to end in one buffer: a cell
// holds only an index, and an empty string costs its four bytes of index, not a whole std::string.
class TablaTextos {
public:
    explicit TablaTextos(std::size_t maximo = kMaxTablaTextos) : maximo_(maximo) {}

    std::size_t cantidad() const { return finales_.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::uint32_t desde = i == 0 ? 0 : finales_[i - 1];
        return std::string_view(texto_).substr(desde, finales_[i] - desde);
    }

    // Room for what the file can hold at most, so the table never grows by copying; never past the cap.
    void reservar(std::size_t texto, std::size_t cantidad);
    // Whether one more string of this many bytes stays within the cap.
    bool cabe(std::size_t bytes) const {
        return bytes <= maximo_ && ocupado() + sizeof(std::uint32_t) <= maximo_ - bytes;
    }
    // Throws ErrorTablaTextosLlena when a string of this many bytes would not fit.
    void exigirQueCabe(std::size_t bytes) const;
    // Throws ErrorTablaTextosLlena when the string would take the table past its cap.
    void anadir(std::string_view texto);

private:
    std::size_t ocupado() const { return texto_.size() + finales_.size() * sizeof(std::uint32_t); }

    std::string texto_;
    std::vector<std::uint32_t> finales_;
    std::size_t maximo_;
};

} // namespace trovanel
