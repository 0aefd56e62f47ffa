#include "partes.hpp"

#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "constructor_datos.hpp"
#include "soporte_pruebas.hpp"

#include <gtest/gtest.h>

namespace trovanel {
namespace {

using pruebas::ConstructorPresentador;

// The new program database: the example presenter 1 with its issuer 1 and user "ejemplo".
class Partes : public testing::Test {
protected:
    Partes() {
        crearBaseDatosPrograma(carpeta / "Estructuras.db");
        bd.emplace(BaseDatos::abrir(carpeta / "Estructuras.db", BaseDatos::Modo::Exclusiva));
    }

    std::vector<std::string> nombres(ClaseParte clase, const std::string& usuario) {
        std::vector<std::string> lista;
        for (const ParteEntrada& entrada : partesDeUsuario(*bd, clase, usuario)) {
            lista.push_back(entrada.nombre);
        }
        return lista;
    }

    pruebas::CarpetaTemporal carpeta;
    std::optional<BaseDatos> bd;
    const DatosParte parte{"PRE", "A11111111", "000", "EMI", "B22222222", "001", "0001", "", "", "CSB19"};
};

using V = std::vector<std::string>;

TEST_F(Partes, elAdminVeTodasLasPartesDeSuClaseYCadaUsuarioLasQueTieneEnlazadas) {
    ConstructorPresentador(*bd).tipo("pagos").csb("pagos").nombre("P1").usuario("ana").crear();
    ConstructorPresentador(*bd).tipo("pagos").csb("ZOP").nombre("P2").usuario("ana").crear();
    ConstructorPresentador(*bd).tipo("pagos").csb("pagos").nombre("P3").usuario("Admin").crear();
    ConstructorPresentador(*bd).tipo("cobros").csb("CSB58").nombre("C1").usuario("luis").crear();

    EXPECT_EQ(usuariosDeClase(*bd, ClaseParte::Pagos), (V{"Admin", "ana"}));
    EXPECT_EQ(usuariosDeClase(*bd, ClaseParte::Cobros), (V{"ejemplo", "luis"}));
    EXPECT_EQ(nombres(ClaseParte::Pagos, "Admin"), (V{"P1", "P2", "P3"}));
    EXPECT_EQ(nombres(ClaseParte::Pagos, "ana"), (V{"P1", "P2"}));
    EXPECT_EQ(nombres(ClaseParte::Cobros, "Admin"), (V{"EMPRESA DE EJEMPLO SL", "C1"}));
    EXPECT_EQ(nombres(ClaseParte::Cobros, "luis"), (V{"C1"}));
    EXPECT_EQ(nombres(ClaseParte::Cobros, "ana"), V{});
    // A presenter added by a user is linked to that user under its norm; typed again by another user, it
    // gets only that user's link.
    ASSERT_TRUE(altaPresentadorEmisor(*bd, "luis ", parte, "86420001**0123456789"));
    EXPECT_EQ(nombres(ClaseParte::Cobros, "luis"), (V{"C1", "PRE"}));
    EXPECT_EQ(usuariosDeTipo(*bd, "CSB19"), (V{"ejemplo", "luis"}));
    EXPECT_FALSE(altaPresentadorEmisor(*bd, "ana", parte, "86420001**0123456789"));
    EXPECT_EQ(nombres(ClaseParte::Cobros, "ana"), V{"PRE"});
}

TEST_F(Partes, unApostrofoSeAnadeListaCambiaYBorraComoCualquierOtroTexto) {
    const std::string cuenta = "86420001610123456789";
    const AltaOrdenante alta = altaOrdenante(*bd, "o'neil ", " L'ORDENANTE ", " B1234567' ", cuenta, false);
    EXPECT_FALSE(alta.existia);
    EXPECT_EQ(nombres(ClaseParte::Pagos, "o'neil"), (V{"L'ORDENANTE"}));
    // The NIF is compared as stored, trimmed: the same party typed again is found, and a second user linked.
    EXPECT_EQ(altaOrdenante(*bd, "d'Ors", "OTRO", "B1234567'", cuenta, false).id, alta.id);
    EXPECT_EQ(nombres(ClaseParte::Pagos, "d'Ors"), (V{"L'ORDENANTE"}));
    guardarOrdenante(*bd, alta.id, "B7654321'", "86421234  0630000001");
    EXPECT_EQ(leerPresentador(*bd, alta.id)->nif, "B7654321'");
    EXPECT_EQ(leerPresentador(*bd, alta.id)->csb, "pagos");
    bajaOrdenante(*bd, "o'neil", alta.id);
    EXPECT_EQ(nombres(ClaseParte::Pagos, "o'neil"), V{});
    EXPECT_EQ(nombres(ClaseParte::Pagos, "d'Ors"), (V{"L'ORDENANTE"}));
    bajaOrdenante(*bd, "Admin", alta.id);
    EXPECT_FALSE(leerPresentador(*bd, alta.id));
    EXPECT_EQ(usuariosDeClase(*bd, ClaseParte::Pagos), V{});

    const DatosParte datos{"L'PRE", "A1111111'", "00'", "L'EMI", "B2222222'", "0'1", "0001", "", "", "CSB19"};
    EXPECT_TRUE(altaPresentadorEmisor(*bd, "Admin", datos, cuenta));
    EXPECT_FALSE(altaPresentadorEmisor(*bd, "Admin", datos, cuenta));
    const ParteEntrada pre = partesDeUsuario(*bd, ClaseParte::Cobros, "Admin").back();
    const ParteEntrada emi = emisoresDePresentador(*bd, pre.id).at(0);
    EXPECT_EQ(emi.nombre, "L'EMI");
    DatosParte cambio = datos;
    cambio.nifPre = "A9999999'";
    cambio.sufEmi = "9'9";
    guardarPresentadorEmisor(*bd, pre.id, cambio, emi.id, "86420001**0123456789");
    EXPECT_EQ(leerPresentador(*bd, pre.id)->nif, "A9999999'");
    EXPECT_EQ(leerEmisor(*bd, emi.id)->sufijo, "9'9");
    EXPECT_EQ(leerEmisor(*bd, emi.id)->cuenta, "86420001**0123456789");
    bajaEmisor(*bd, emi.id);
    EXPECT_FALSE(leerEmisor(*bd, emi.id));
}

TEST_F(Partes, unaCuentaZOPDaUnOrdenanteZOPEnlazadoComoZOP) {
    const AltaOrdenante alta =
        altaOrdenante(*bd, "ana", "PROVEEDORES", "B12345678", "86421234  0630000001", true);
    EXPECT_EQ(leerPresentador(*bd, alta.id)->csb, "ZOP");
    EXPECT_EQ(usuariosDeTipo(*bd, "ZOP"), V{"ana"});
    EXPECT_TRUE(altaOrdenante(*bd, "Admin", "X", "B12345678", "86421234  0630000001", true).existia);
}

TEST_F(Partes, losEmisoresDeUnPresentadorBorradoNoSeUnenNuncaAUnoNuevo) {
    ASSERT_TRUE(altaPresentadorEmisor(*bd, "Admin", parte, "86420001**0123456789"));
    const std::int64_t viejo = partesDeUsuario(*bd, ClaseParte::Cobros, "Admin").back().id;
    bajaPresentador(*bd, "Admin", viejo);
    EXPECT_EQ(emisoresDePresentador(*bd, viejo).size(), 1u);
    ASSERT_TRUE(altaPresentadorEmisor(*bd, "Admin", parte, "86420001**0123456789"));
    const std::int64_t nuevo = partesDeUsuario(*bd, ClaseParte::Cobros, "Admin").back().id;
    EXPECT_GT(nuevo, viejo);
    EXPECT_EQ(emisoresDePresentador(*bd, nuevo).size(), 1u);
}

TEST_F(Partes, unFalloAMitadDeUnaEscrituraNoDejaNadaEscrito) {
    bd->ejecutarScript(
        "CREATE TRIGGER fallo_emisor BEFORE INSERT ON emisores BEGIN SELECT RAISE(ABORT, 'disco'); END;"
        "CREATE TRIGGER fallo_enlace BEFORE INSERT ON usuarios BEGIN SELECT RAISE(ABORT, 'disco'); END;"
        "CREATE TRIGGER fallo_cambio BEFORE UPDATE ON emisores BEGIN SELECT RAISE(ABORT, 'disco'); END;");
    EXPECT_THROW(altaPresentadorEmisor(*bd, "Admin", parte, "86420001**0123456789"), ErrorBaseDatos);
    EXPECT_THROW(altaOrdenante(*bd, "ana", "ORD", "B12345678", "86420001610123456789", false),
                 ErrorBaseDatos);
    // Nobody would see an ordering party added without a user.
    EXPECT_THROW(altaOrdenante(*bd, " ", "ORD", "B12345678", "86420001610123456789", false), ErrorTrovanel);
    EXPECT_THROW(altaPresentadorEmisor(*bd, "", parte, "86420001**0123456789"), ErrorTrovanel);
    auto presentadores = bd->preparar("SELECT count(*) FROM presentadores");
    presentadores.siguiente();
    EXPECT_EQ(presentadores.entero(0), 1);
    EXPECT_THROW(guardarPresentadorEmisor(*bd, 1, parte, 1, "86420001**0123456789"), ErrorBaseDatos);
    EXPECT_EQ(leerPresentador(*bd, 1)->nif, "B00000000");
}

} // namespace
} // namespace trovanel
