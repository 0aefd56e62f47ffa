#include "caracteres.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trovanel {

namespace {

using pruebas::AvisosGrabados;
using pruebas::CarpetaTemporal;
using pruebas::entradasDe;
using pruebas::escribirFichero;
using pruebas::leerFichero;
using Tabla = std::vector<SustitucionCaracter>;
using Pares = std::vector<std::pair<std::string, std::string>>;

// The message of a table refused, naming the file of the folder and the reason.
AvisosGrabados::Mensaje rechazo(const std::string& carpeta, const std::string& motivo) {
    return {"simple", std::string(kMsgNoSeAbreCaracteres) + "\r\n" + carpeta + "/caracteres.ini: " + motivo};
}

// The pairs loaded, or nothing when the table is refused; the messages shown, with the folder as {carpeta}.
std::optional<Pares> cargar(const std::string& ini, AvisosGrabados& avisos) {
    CarpetaTemporal carpeta;
    escribirFichero(carpeta / "caracteres.ini", ini);
    const auto tabla = CargarCaracteres(carpeta.ruta(), avisos);
    const std::string ruta = carpeta.ruta().string();
    for (auto& mensaje : avisos.mensajes) {
        if (const auto lugar = mensaje.texto.find(ruta); lugar != std::string::npos) {
            mensaje.texto.replace(lugar, ruta.size(), "{carpeta}");
        }
    }
    if (!tabla) {
        return std::nullopt;
    }
    Pares pares;
    for (const SustitucionCaracter& entrada : tabla->pares) {
        pares.emplace_back(entrada.buscar, entrada.reemplazar);
    }
    return pares;
}

TEST(SustitucionCaracteres, cargaLosParesEnElOrdenDelFichero) {
    AvisosGrabados avisos;
    // "ñ" and "Ç" are single Windows-1252 bytes here, as in the file the bank's users edit.
    EXPECT_EQ(cargar("ñ=n\r\nÇ=\r\nx=a=b\r\n =_", avisos),
              (Pares{{"ñ", "n"}, {"Ç", ""}, {"x", "a=b"}, {" ", "_"}}));
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST(SustitucionCaracteres, saltaLasLineasVacias) {
    AvisosGrabados avisos;
    EXPECT_EQ(cargar("\r\na=b\r\n\r\nc=d\r\n\r\n", avisos), (Pares{{"a", "b"}, {"c", "d"}}));
    EXPECT_TRUE(avisos.mensajes.empty());
}

std::string repetido(const std::string& texto, int veces) {
    std::string resultado;
    for (int i = 0; i < veces; ++i) {
        resultado += texto;
    }
    return resultado;
}

// A table that is not all pairs, or holds a control character, is refused whole, saying which line.
TEST(SustitucionCaracteres, unaLineaQueNoEsUnParOUnCaracterDeControlRechazanLaTabla) {
    const struct {
        std::string ini;
        std::string motivo;
    } casos[] = {
        {"sin igual\r\n", "la línea 1 no es un carácter, «=» y su reemplazo"},
        {"a=b\r\n=vacio\r\n", "la línea 2 no es un carácter, «=» y su reemplazo"},
        {"a=b\r\n\r\nab=c\r\n", "la línea 3 no es un carácter, «=» y su reemplazo"},
        {"a=\x0C\r\n", "la línea 1 tiene un carácter de control"},
        {std::string("a=b\n\0=x\n", 9), "la línea 2 tiene un carácter de control"},
        {"a=b\r\nc=d\te\r\n", "la línea 2 tiene un carácter de control"},
        // Among CR LF line ends a lone LF is inside its line.
        {"a=b\r\nc=d\ne=f\r\n", "la línea 2 tiene un carácter de control"},
        {"\x7F=x\r\n", "la línea 1 tiene un carácter de control"},
        {"\xC3\xB1=\x01\r\n", "la línea 1 tiene un carácter de control"},
        {"", "está vacío"},
        // Nothing but a byte-order mark or blank lines holds no pair either.
        {"\xEF\xBB\xBF", "está vacío"},
        {"\r\n\r\n", "está vacío"},
        {"\xEF\xBB\xBF\r\n", "está vacío"},
        // Saved as UTF-8, a character Windows-1252 lacks would become a pair for every "?".
        {"\xC3\xB1=n\r\n\xC5\x82=l\r\n", "la línea 2 tiene un carácter que no existe en Windows-1252 y que "
                                         "un fichero del banco no puede llevar"},
        {"l=\xC5\x82\r\n", "la línea 1 tiene un carácter que no existe en Windows-1252 y que un fichero "
                           "del banco no puede llevar"},
        // Bounded as every other input: the file, and what its pairs make of the characters.
        {repetido("a=b\r\n", 13108), "tiene más de 65536 bytes"},
        {"a=" + std::string(70000, 'b'), "tiene más de 65536 bytes"},
        {repetido("a=" + std::string(32, 'a') + "\r\n", 4),
         "sus pares, aplicados uno tras otro, dan reemplazos de más de 65536 bytes"},
    };
    for (const auto& caso : casos) {
        AvisosGrabados avisos;
        EXPECT_EQ(cargar(caso.ini, avisos), std::nullopt) << caso.ini;
        EXPECT_EQ(avisos.mensajes, std::vector{rechazo("{carpeta}", caso.motivo)}) << caso.ini;
    }
}

TEST(SustitucionCaracteres, iniEnUtf8EquivaleAlDeWindows) {
    AvisosGrabados avisos;
    EXPECT_EQ(cargar("\xC3\xB1=n\r\n\xC3\x87=\xC3\x91\r\n", avisos), (Pares{{"ñ", "n"}, {"Ç", "Ñ"}}));
    EXPECT_TRUE(avisos.mensajes.empty());
}

// Editors on Windows often save UTF-8 with a byte order mark, which does not belong to the first pair.
TEST(SustitucionCaracteres, iniEnUtf8ConMarcaDeOrdenNoPierdeSuPrimerPar) {
    AvisosGrabados avisos;
    EXPECT_EQ(cargar("\xEF\xBB\xBF\xC3\xB1=n\r\na=b\r\n", avisos), (Pares{{"ñ", "n"}, {"a", "b"}}));
    EXPECT_TRUE(avisos.mensajes.empty());
}

TEST(SustitucionCaracteres, iniAusenteAvisaConSuRutaYNoDaTabla) {
    AvisosGrabados avisos;
    CarpetaTemporal carpeta;
    EXPECT_EQ(CargarCaracteres(carpeta.ruta(), avisos), std::nullopt);
    EXPECT_EQ(avisos.mensajes, std::vector{rechazo(carpeta.ruta().string(), "no existe")});
}

TEST(SustitucionCaracteres, aplicaCadaParEnOrdenYEnUnaPasada) {
    const struct {
        Tabla tabla;
        std::string linea;
        std::string esperada;
    } casos[] = {
        {{{"ñ", "n"}}, "AÑOÑ ñu", "AÑOÑ nu"},
        {{{"Ç", ""}}, "ÇaÇÇbÇ", "ab"},
        {{{"x", "a=b"}}, "xyx", "a=bya=b"},
        // A replacement holding its own character is not searched again.
        {{{"a", "aa"}}, "banana", "baanaanaa"},
        {{{"a", "b"}, {"b", "c"}}, "abc", "ccc"},
        {{{"b", "c"}, {"a", "b"}}, "abc", "bcc"},
        {{{"Ç", ""}, {"a", "aa"}, {"a", "aa"}}, "ÇaÇÇbÇ banana", "aaaab baaaanaaaanaaaa"},
        {{}, "sin cambios", "sin cambios"},
    };
    for (const auto& caso : casos) {
        std::string linea = caso.linea;
        (*sustitucionPorBloques(caso.tabla))(linea);
        EXPECT_EQ(linea, caso.esperada) << caso.linea;
    }
}

// The bank file gets the table block by block as it is written: wherever the blocks end, the text is the
// one the pairs give to the whole text.
TEST(SustitucionCaracteres, porBloquesDaLoMismoQueLineaALinea) {
    const struct {
        Tabla tabla;
        std::string texto;
    } casos[] = {
        {{{"ñ", "n"}, {"x", "a=b"}}, "AÑO ñu\r\nxx\r\nfin\r\n"},
        {{{"a", "b"}, {"b", "c"}}, "abc\r\nbca\r\n"},
        {{{"Ç", ""}, {"a", "aa"}, {"a", "aa"}}, "ÇaÇÇbÇ\r\nbanana\r\n"},
        {{}, "sin cambios\r\n"},
    };
    for (const auto& caso : casos) {
        const auto sustituir = sustitucionPorBloques(caso.tabla);
        ASSERT_TRUE(sustituir) << caso.texto;
        std::string esperado = caso.texto;
        (*sustituir)(esperado);
        for (std::size_t corte = 0; corte <= caso.texto.size(); ++corte) {
            std::string antes = caso.texto.substr(0, corte);
            std::string despues = caso.texto.substr(corte);
            (*sustituir)(antes);
            (*sustituir)(despues);
            EXPECT_EQ(antes + despues, esperado) << caso.texto << " " << corte;
        }
    }
}

} // namespace
} // namespace trovanel
