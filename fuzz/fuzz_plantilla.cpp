// Templates with hostile stored positions: the input bytes become a template row and its field rows,
// stored as they are (positions as any 64-bit number), and a fixed text input is converted with it by
// the family its type names. A template may be refused; a conversion may reject every order; but no
// position may overflow, and a bank file that is written holds only whole records of its width without
// control characters.

#include "conversion_fuzz.hpp"
#include "soporte_fuzz.hpp"

#include "base_datos.hpp"
#include "conversores.hpp"
#include "estado_ejecucion.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace {

using namespace trovanel;
using namespace trovanel::fuzz;

struct Tipo {
    const char* codigo;
    Familia familia;
    std::size_t ancho; // of every record, without its line end
};
constexpr std::array<Tipo, 4> kTipos{{{"CSB19", Familia::CSB19, 162},
                                      {"CSB58", Familia::CSB58, 162},
                                      {"CSB34T", Familia::CSB34, 72},
                                      {"ZOP", Familia::ZOP, 72}}};

constexpr std::array<const char*, 20> kNombres{"CodigoReferencia",
                                               "NombreTitularRecibo",
                                               "NombreTitular",
                                               "Importe",
                                               "Entidad",
                                               "Oficina",
                                               "DC",
                                               "Cuenta",
                                               "ClaveBeneficiario",
                                               "NombreBeneficiario",
                                               "FechaVto",
                                               "CP",
                                               "ClaveProveedor",
                                               "Nombre",
                                               "FormaPago",
                                               "SignoNegativo",
                                               "ReferenciaInterna",
                                               "Concepto1",
                                               "Direccion",
                                               "Localidad"};

// Lines keyed "01" and "02" at positions 1-2, with digits, letters and blanks where fields could be.
const std::string kEntrada =
    "01REC00001GARCIA MARTIN LUCIA     21000418450200051332      125,50150326CUOTA\r\n"
    "02CALLE DEL OLMO 14          MADRID         28013B12345678\r\n"
    "01REC00002RUIZ PEREZ CARMEN      00810001000000000001        0,00010126\r\n";

// Reads the input as a stream of values; past its end every value is 0.
class Lector {
public:
    Lector(const std::uint8_t* datos, std::size_t tamano) : datos_(datos), tamano_(tamano) {}
    bool quedan() const { return pos_ < tamano_; }
    std::uint8_t byte() { return pos_ < tamano_ ? datos_[pos_++] : 0; }
    std::int64_t entero64() {
        std::uint64_t valor = 0;
        for (int i = 0; i < 8; ++i) {
            valor = (valor << 8) | byte();
        }
        std::int64_t resultado;
        std::memcpy(&resultado, &valor, sizeof resultado);
        return resultado;
    }
    std::string texto(std::size_t largo) {
        std::string t;
        for (std::size_t i = 0; i < largo; ++i) {
            t += static_cast<char>(byte());
        }
        return t;
    }

private:
    const std::uint8_t* datos_;
    std::size_t tamano_;
    std::size_t pos_ = 0;
};

struct Contexto : EntornoCSB19 {
    std::filesystem::path entrada = carpeta / "remesa.txt";
    Contexto() { std::ofstream(entrada, std::ios::binary) << kEntrada; }
};

std::string leer(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    static Contexto contexto;
    Lector lector(datos, tamano);
    const Tipo& tipo = kTipos[lector.byte() % kTipos.size()];
    const auto principio = static_cast<std::int8_t>(lector.byte());

    BaseDatos& bd = contexto.baseDatos;
    bd.preparar(
          "INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) VALUES (?, 'fuzz', ?, 0)")
        .con(tipo.codigo, static_cast<std::int64_t>(principio))
        .ejecutar();
    const std::int64_t id = bd.ultimoId();
    // At most 24 fields, each at most once.
    std::array<bool, 24> usados{};
    while (lector.quedan()) {
        const std::size_t idCampo = lector.byte() % usados.size();
        const char* nombre = kNombres[lector.byte() % kNombres.size()];
        const bool obligatorio = (lector.byte() & 1) != 0;
        const std::int64_t inicio = lector.entero64();
        const std::int64_t fin = lector.entero64();
        const std::int64_t inilinea = lector.entero64();
        const std::int64_t finlinea = lector.entero64();
        const std::string valorlinea = lector.texto(2);
        const std::string valorcampo = lector.texto(lector.byte() % 8);
        if (usados[idCampo]) {
            continue;
        }
        usados[idCampo] = true;
        bd.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                    "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 40)")
            .con(id, static_cast<std::int64_t>(idCampo), nombre, inicio, fin, inilinea, finlinea, valorlinea,
                 valorcampo, static_cast<std::int64_t>(obligatorio))
            .ejecutar();
    }

    const std::filesystem::path salida = contexto.carpeta / "remesa.out";
    EstadoEjecucion estado;
    Entorno entorno{bd, contexto.avisos, contexto.reloj, contexto.carpeta.ruta()};
    ParametrosConversion parametros;
    parametros.rutaEntrada = contexto.entrada;
    parametros.rutaSalida = salida;
    parametros.idEstructura = id;
    parametros.idPresentador = kPresentadorEjemplo;
    parametros.idEmisor = kEmisorEjemplo;
    parametros.gTipoEstructura = tipo.codigo;
    parametros.detalleCargo = "1";
    parametros.domicilioOrdenante = "CALLE MAYOR 1";
    parametros.plazaOrdenante = "MADRID";
    parametros.gFechaProceso = "15/03/2026";
    parametros.gFicheroLog = contexto.carpeta / "remesa.log";
    ejecutarConversor(*contexto.registro.buscar(tipo.familia), estado, entorno, parametros);

    const std::string banco = leer(salida);
    for (std::size_t desde = 0; desde < banco.size(); desde += tipo.ancho + 2) {
        if (banco.size() - desde < tipo.ancho + 2 || banco.compare(desde + tipo.ancho, 2, "\r\n") != 0) {
            __builtin_trap();
        }
        for (std::size_t i = desde; i < desde + tipo.ancho; ++i) {
            const auto c = static_cast<unsigned char>(banco[i]);
            if (c < 0x20 || c == 0x7F) {
                __builtin_trap();
            }
        }
    }
    std::error_code error;
    std::filesystem::remove(salida, error);
    std::filesystem::remove(parametros.gFicheroLog, error);
    bd.preparar("DELETE FROM estructura WHERE id_estructura = ?").con(id).ejecutar();
    return 0;
}
