#include "fichero_compuesto.hpp"

#include "error.hpp"
#include "fichero_entrada.hpp"
#include "libro_excel.hpp"
#include "limites.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

namespace trovanel {

namespace {

// ---------------------------------------------------------------------------------------------
// Compound file: the FAT-like container that holds the workbook stream.

constexpr std::uint32_t kFinCadena = 0xFFFFFFFE;
constexpr std::uint32_t kSinEntrada = 0xFFFFFFFF;
constexpr std::uint64_t kCorteMini = 4096;
constexpr std::size_t kSectorMini = 64;

// .xls is limited to 65536 x 256 cells; a file far beyond any such sheet is refused before it is read.
Bytes leerFicheroEntero(const std::filesystem::path& ruta) {
    const FicheroEntrada fichero(ruta);
    if (fichero.noEsFichero()) {
        throw ErrorTrovanel(mensajeEntrada(kNoSeAbreEntrada, ruta, kNoEsFicheroRegular));
    }
    const std::uint64_t tamano = fichero.huella().tamano;
    if (!fichero.abierto() || tamano > kMaxLibroXls) {
        danado();
    }
    Bytes datos(static_cast<std::size_t>(tamano));
    std::size_t leidos = 0;
    while (leidos < datos.size()) {
        const ssize_t n = ::read(fichero.descriptor(), datos.data() + leidos, datos.size() - leidos);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // Shorter than at the open: cut meanwhile.
        if (n <= 0) {
            danado();
        }
        leidos += static_cast<std::size_t>(n);
    }
    return datos;
}

class Compuesto {
public:
    explicit Compuesto(Bytes datos) : datos_(std::move(datos)) {
        static constexpr std::array<unsigned char, 8> kFirma = {0xD0, 0xCF, 0x11, 0xE0,
                                                                0xA1, 0xB1, 0x1A, 0xE1};
        if (datos_.size() < 512 || !std::equal(kFirma.begin(), kFirma.end(), datos_.begin()) ||
            le16(&datos_[0x1C]) != 0xFFFE) {
            danado();
        }
        const std::uint16_t desplazamiento = le16(&datos_[0x1E]);
        if ((desplazamiento != 9 && desplazamiento != 12) || le16(&datos_[0x20]) != 6) {
            danado();
        }
        tamSector_ = std::size_t{1} << desplazamiento;
        if (datos_.size() <= tamSector_) {
            danado();
        }
        version3_ = le16(&datos_[0x1A]) == 3;
        sectores_ = static_cast<std::uint32_t>((datos_.size() - tamSector_ + tamSector_ - 1) / tamSector_);
        usado_.assign(sectores_, false);
        cargarFat();
    }

    // The workbook stream: "Workbook" (BIFF8) or, failing that, "Book" (BIFF5).
    Bytes flujoLibro() {
        const Bytes directorio = leerCadena(le32(&datos_[0x30]), std::nullopt);
        const std::size_t entradas = directorio.size() / 128;
        if (entradas == 0 || directorio[0x42] != 5) {
            danado();
        }
        const unsigned char* raiz = directorio.data();

        // Only the root storage's own streams: an embedded object keeps its own "Workbook" deeper down.
        std::optional<std::size_t> libro;
        std::optional<std::size_t> libro5;
        std::vector<bool> visto(entradas, false);
        std::vector<std::uint32_t> pendientes{le32(raiz + 0x4C)};
        while (!pendientes.empty()) {
            const std::uint32_t id = pendientes.back();
            pendientes.pop_back();
            if (id == kSinEntrada) {
                continue;
            }
            if (id >= entradas || visto[id]) {
                danado();
            }
            visto[id] = true;
            const unsigned char* e = directorio.data() + std::size_t{id} * 128;
            pendientes.push_back(le32(e + 0x44));
            pendientes.push_back(le32(e + 0x48));
            if (e[0x42] != 2) {
                continue;
            }
            if (!libro && nombreEs(e, "workbook")) {
                libro = id;
            } else if (!libro5 && nombreEs(e, "book")) {
                libro5 = id;
            }
        }
        if (!libro) {
            libro = libro5;
        }
        if (!libro) {
            danado();
        }

        // The mini stream and its FAT are read even when the workbook does not live there, so that a
        // chain cross-linked with the workbook's is caught.
        const std::uint64_t tamanoMini = tamanoEntrada(raiz);
        const Bytes mini = tamanoMini > 0 ? leerCadena(le32(raiz + 0x74), tamanoMini) : Bytes();
        const Bytes fatMini =
            le32(&datos_[0x40]) > 0 ? leerCadena(le32(&datos_[0x3C]), std::nullopt) : Bytes();

        const unsigned char* e = directorio.data() + *libro * 128;
        const std::uint64_t tamano = tamanoEntrada(e);
        if (tamano < 4) {
            danado();
        }
        if (tamano >= kCorteMini) {
            return leerCadena(le32(e + 0x74), tamano);
        }
        return leerCadenaMini(le32(e + 0x74), tamano, mini, fatMini);
    }

private:
    // Stream sizes hold 64 bits; version 3 files may leave garbage in the high half.
    std::uint64_t tamanoEntrada(const unsigned char* e) const {
        const std::uint64_t tamano = version3_ ? le32(e + 0x78) : le64(e + 0x78);
        if (tamano > datos_.size()) {
            danado();
        }
        return tamano;
    }

    static bool nombreEs(const unsigned char* e, std::string_view nombre) {
        const std::uint16_t largo = le16(e + 0x40);
        if (largo != (nombre.size() + 1) * 2) {
            return false;
        }
        for (std::size_t i = 0; i < nombre.size(); ++i) {
            std::uint16_t c = le16(e + 2 * i);
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<std::uint16_t>(c - 'A' + 'a');
            }
            if (c != static_cast<unsigned char>(nombre[i])) {
                return false;
            }
        }
        return true;
    }

    const unsigned char* sector(std::uint32_t s, std::size_t bytes) const {
        const std::uint64_t inicio = (std::uint64_t{s} + 1) * tamSector_;
        if (s >= sectores_ || inicio + bytes > datos_.size()) {
            danado();
        }
        return datos_.data() + inicio;
    }

    // Each sector belongs to one chain at most: a second claim means a damaged or hostile file.
    void marcar(std::uint32_t s) {
        if (s >= sectores_ || usado_[s]) {
            danado();
        }
        usado_[s] = true;
    }

    void cargarFat() {
        const std::uint32_t sectoresFat = le32(&datos_[0x2C]);
        if (sectoresFat == 0 || sectoresFat > sectores_) {
            danado();
        }
        std::vector<std::uint32_t> ids;
        for (std::size_t i = 0; i < 109 && ids.size() < sectoresFat; ++i) {
            ids.push_back(le32(&datos_[0x4C + 4 * i]));
        }
        const std::size_t porSector = tamSector_ / 4 - 1;
        std::uint32_t difat = le32(&datos_[0x44]);
        while (ids.size() < sectoresFat) {
            marcar(difat);
            const unsigned char* p = sector(difat, tamSector_);
            for (std::size_t i = 0; i < porSector && ids.size() < sectoresFat; ++i) {
                ids.push_back(le32(p + 4 * i));
            }
            difat = le32(p + 4 * porSector);
        }
        fat_.reserve(ids.size() * (tamSector_ / 4));
        for (const std::uint32_t id : ids) {
            marcar(id);
            const unsigned char* p = sector(id, tamSector_);
            for (std::size_t i = 0; i < tamSector_ / 4; ++i) {
                fat_.push_back(le32(p + 4 * i));
            }
        }
    }

    // The bytes of a chain, walked to its end; with a size, the chain must hold that many bytes.
    Bytes leerCadena(std::uint32_t s, std::optional<std::uint64_t> tamano) {
        Bytes salida;
        std::uint64_t faltan = tamano.value_or(0);
        salida.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(faltan, datos_.size())));
        while (s != kFinCadena) {
            if (s >= fat_.size()) {
                danado();
            }
            marcar(s);
            const std::size_t n =
                tamano ? static_cast<std::size_t>(std::min<std::uint64_t>(faltan, tamSector_)) : tamSector_;
            if (n > 0) {
                const unsigned char* p = sector(s, n);
                salida.insert(salida.end(), p, p + n);
                faltan -= tamano ? n : 0;
            }
            s = fat_[s];
        }
        if (faltan > 0) {
            danado();
        }
        return salida;
    }

    static Bytes leerCadenaMini(std::uint32_t s, std::uint64_t tamano, const Bytes& mini,
                                const Bytes& fatMini) {
        const std::size_t entradas = fatMini.size() / 4;
        std::vector<bool> visto(entradas, false);
        Bytes salida;
        std::uint64_t faltan = tamano;
        while (s != kFinCadena) {
            if (s >= entradas || visto[s]) {
                danado();
            }
            visto[s] = true;
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(faltan, kSectorMini));
            const std::size_t inicio = std::size_t{s} * kSectorMini;
            if (inicio + n > mini.size()) {
                danado();
            }
            salida.insert(salida.end(), mini.begin() + static_cast<std::ptrdiff_t>(inicio),
                          mini.begin() + static_cast<std::ptrdiff_t>(inicio + n));
            faltan -= n;
            s = le32(&fatMini[std::size_t{s} * 4]);
        }
        if (faltan > 0) {
            danado();
        }
        return salida;
    }

    Bytes datos_;
    std::size_t tamSector_ = 512;
    bool version3_ = true;
    std::uint32_t sectores_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<bool> usado_;
};

} // namespace

Bytes leerFlujoLibro(const std::filesystem::path& ruta) {
    return Compuesto(leerFicheroEntero(ruta)).flujoLibro();
}

} // namespace trovanel
