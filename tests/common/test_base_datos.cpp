#include "base_datos.hpp"

#include "base_datos_programa.hpp"
#include "cuenta_bancaria.hpp"
#include "soporte_pruebas.hpp"
#include "texto.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace trovanel {
namespace {

namespace fs = std::filesystem;

class BaseDatosPrograma : public testing::Test {
protected:
    BaseDatos abrirNueva() { return abrirBaseDatosPrograma(ruta_); }

    static std::int64_t contar(BaseDatos& bd, std::string_view sql) {
        auto consulta = bd.preparar(sql);
        return consulta.siguiente() ? consulta.entero(0) : -1;
    }

    pruebas::CarpetaTemporal carpeta_;
    fs::path ruta_ = carpeta_ / kNombreBaseDatos;
};

TEST_F(BaseDatosPrograma, unaBaseNuevaTraeLasPlantillasBaseYLaDeEjemplo) {
    BaseDatos bd = abrirNueva();
    struct Plantilla {
        std::int64_t id;
        std::string tipo;
        std::string descripcion;
        std::int64_t campos;
    };
    const std::vector<Plantilla> esperadas = {
        {1, "CSB34N", "Plantilla base Nominas", 21},
        {2, "CSB34T", "Plantilla base Transferencias", 21},
        {3, "CSB34C", "Plantilla base Cheques", 21},
        {4, "CSB34P", "Plantilla base Pagares", 21},
        {5, "PAGOSC", "Plantilla base Pagos Certificados", 21},
        {6, "ZOP", "Plantilla base ZOP", 20},
        {7, "CSB19", "Plantilla base CSB19", 29},
        {8, "CSB58", "Plantilla base CSB58", 31},
        {9, "CSB19", "Ejemplo CSB19", 29},
    };
    auto consulta =
        bd.preparar("SELECT id_estructura, tipo, descripcion, principiolinea, multifactura, "
                    "(SELECT count(*) FROM detalleestructura d WHERE d.id_estructura = e.id_estructura), "
                    "(SELECT count(DISTINCT id_campo) FROM detalleestructura d "
                    " WHERE d.id_estructura = e.id_estructura AND id_campo BETWEEN 0 AND 99) "
                    "FROM estructura e ORDER BY id_estructura");
    for (const Plantilla& esperada : esperadas) {
        ASSERT_TRUE(consulta.siguiente()) << "falta la plantilla " << esperada.id;
        EXPECT_EQ(consulta.entero(0), esperada.id);
        EXPECT_EQ(consulta.texto(1), esperada.tipo);
        EXPECT_EQ(consulta.texto(2), esperada.descripcion);
        EXPECT_EQ(consulta.entero(3), -1) << esperada.id;
        EXPECT_FALSE(consulta.logico(4)) << esperada.id;
        EXPECT_EQ(consulta.entero(5), esperada.campos) << esperada.id;
        EXPECT_EQ(consulta.entero(6), esperada.campos) << "id_campo repetidos, plantilla " << esperada.id;
    }
    EXPECT_FALSE(consulta.siguiente());

    // Field i is row i of its template: the ids run from 0 without gaps.
    EXPECT_EQ(contar(bd,
                     "SELECT count(*) FROM detalleestructura d WHERE id_campo >= "
                     "(SELECT count(*) FROM detalleestructura c WHERE c.id_estructura = d.id_estructura)"),
              0);
    // The base templates place nothing: their fields are filled by each user's own template.
    EXPECT_EQ(
        contar(bd, "SELECT count(*) FROM detalleestructura WHERE id_estructura <= 8 AND (inicio <> 0 "
                   "OR fin <> 0 OR inilinea <> 0 OR finlinea <> 0 OR valorlinea <> '' OR valorcampo <> '')"),
        0);
}

std::string obligatorios(BaseDatos& bd, std::int64_t id) {
    auto consulta = bd.preparar("SELECT id_campo FROM detalleestructura WHERE id_estructura = ? AND "
                                "obligatorio <> 0 ORDER BY id_campo");
    consulta.con(id);
    std::string lista;
    while (consulta.siguiente()) {
        lista += (lista.empty() ? "" : ",") + std::to_string(consulta.entero(0));
    }
    return lista;
}

TEST_F(BaseDatosPrograma, losCamposObligatoriosDeCadaPlantillaBaseSiguenSuNorma) {
    BaseDatos bd = abrirNueva();
    EXPECT_EQ(obligatorios(bd, 1), "0,1,2,4,5,6,7");
    EXPECT_EQ(obligatorios(bd, 2), "0,1,2,4,5,6,7,8");
    EXPECT_EQ(obligatorios(bd, 3), "0,1,2,8,11,12,13");
    EXPECT_EQ(obligatorios(bd, 4), "0,1,2,8,9,11,12,13");
    EXPECT_EQ(obligatorios(bd, 5), "0,1,2,8,11,12,13");
    EXPECT_EQ(obligatorios(bd, 6), "0,1,9,14");
    EXPECT_EQ(obligatorios(bd, 7), "0,1,2,3,4,5,6");
    EXPECT_EQ(obligatorios(bd, 8), "0,1,6,10");
}

// The conversions find their fields by exact name and some by position.
TEST_F(BaseDatosPrograma, losCamposQueBuscanLosConversoresEstanEnSuSitio) {
    BaseDatos bd = abrirNueva();
    struct Campo {
        std::int64_t plantilla;
        std::int64_t idCampo;
        std::string nombre;
        std::int64_t longitud;
    };
    const Campo campos[] = {
        {1, 2, "Importe", 16},
        {1, 18, "Ref16", 16},
        {5, 18, "NumeroFactura", 16},
        {2, 20, "Email", 62},
        {6, 9, "FormaPago", 3},
        {6, 14, "Importe", 16},
        {6, 19, "email", 36},
        {7, 1, "NombreTitularRecibo", 40},
        {7, 10, "NombreTitularCuenta", 40},
        {7, 6, "Importe", 15},
        {7, 28, "Concepto16", 40},
        {8, 10, "FechaVto", 10},
        {8, 15, "CodProvincia", 2},
        {8, 30, "Concepto16", 40},
        {9, 13, "CP", 5},
    };
    for (const Campo& campo : campos) {
        auto consulta = bd.preparar(
            "SELECT campo, longitud FROM detalleestructura WHERE id_estructura = ? AND id_campo = ?");
        consulta.con(campo.plantilla, campo.idCampo);
        ASSERT_TRUE(consulta.siguiente()) << campo.plantilla << "/" << campo.idCampo;
        EXPECT_EQ(consulta.texto(0), campo.nombre) << campo.plantilla << "/" << campo.idCampo;
        EXPECT_EQ(consulta.entero(1), campo.longitud) << campo.plantilla << "/" << campo.idCampo;
    }
}

TEST_F(BaseDatosPrograma, laPlantillaDeEjemploTieneLosCamposDeLaBaseCSB19) {
    BaseDatos bd = abrirNueva();
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM detalleestructura b JOIN detalleestructura e "
                         "ON e.id_estructura = 9 AND b.id_estructura = 7 AND e.id_campo = b.id_campo "
                         "AND e.campo = b.campo COLLATE BINARY AND e.obligatorio = b.obligatorio "
                         "AND e.longitud = b.longitud"),
              29);
}

TEST_F(BaseDatosPrograma, traeLasCincuentaYDosProvinciasEnMayusculasSinAcentos) {
    BaseDatos bd = abrirNueva();
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM CodigoPostal"), 52);
    for (int cp = 1; cp <= 52; ++cp) {
        const std::string clave = rellenarCeros(std::to_string(cp), 2);
        auto consulta = bd.preparar("SELECT Provincia FROM CodigoPostal WHERE CP = ?");
        consulta.con(clave);
        ASSERT_TRUE(consulta.siguiente()) << clave;
        const std::string nombre = consulta.texto(0);
        EXPECT_FALSE(nombre.empty()) << clave;
        // Bank records are plain upper case: no lower-case letter and no accented vowel.
        EXPECT_EQ(nombre.find_first_of("abcdefghijklmnopqrstuvwxyzÁÉÍÓÚÀÈÌÒÙÜáéíóúàèìòùü"), std::string::npos)
            << clave << " " << nombre;
    }
}

TEST_F(BaseDatosPrograma, traeElPresentadorDeEjemploConSuEmisorYSuUsuario) {
    BaseDatos bd = abrirNueva();
    auto presentador = bd.preparar("SELECT tipo, csb, nifpre, sufpre, nompre, cuenta FROM presentadores "
                                   "WHERE id_presentador = 1");
    ASSERT_TRUE(presentador.siguiente());
    EXPECT_EQ(presentador.texto("tipo"), "cobros");
    EXPECT_EQ(presentador.texto("csb"), "CSB19");
    EXPECT_EQ(presentador.texto("nifpre").size(), 9u);
    EXPECT_EQ(presentador.texto("sufpre"), "000");
    EXPECT_EQ(presentador.texto("nompre"), "EMPRESA DE EJEMPLO SL");
    const std::string cuenta = presentador.texto("cuenta");
    ASSERT_EQ(cuenta.size(), 20u);
    ASSERT_TRUE(soloDigitos(cuenta));
    EXPECT_EQ(Left(cuenta, 4), "8642");
    EXPECT_EQ(CalcularDC(Mid(cuenta, 1, 4), Mid(cuenta, 5, 4), Mid(cuenta, 11, 10)), Mid(cuenta, 9, 2));

    auto emisor = bd.preparar("SELECT cuenta FROM emisores WHERE id_emi = 1 AND id_presentador = 1");
    ASSERT_TRUE(emisor.siguiente());
    const std::string cuentaEmisor = emisor.texto(0);
    if (!cuentaEmisor.empty()) {
        ASSERT_EQ(cuentaEmisor.size(), 20u);
        EXPECT_EQ(CalcularDC(Mid(cuentaEmisor, 1, 4), Mid(cuentaEmisor, 5, 4), Mid(cuentaEmisor, 11, 10)),
                  Mid(cuentaEmisor, 9, 2));
    }

    auto usuario = bd.preparar("SELECT usuario, tipo FROM usuarios WHERE id_presentador = 1");
    ASSERT_TRUE(usuario.siguiente());
    EXPECT_EQ(usuario.texto(0), "ejemplo");
    EXPECT_EQ(usuario.texto(1), "CSB19");
}

TEST_F(BaseDatosPrograma, laPrimeraPlantillaDelUsuarioRecibeElIdDiezYLosIdsNoSeReutilizan) {
    BaseDatos bd = abrirNueva();
    bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)").con("CSB19", "Mía").ejecutar();
    EXPECT_EQ(bd.ultimoId(), 10);
    bd.ejecutarScript("DELETE FROM estructura WHERE id_estructura = 10");
    bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)").con("CSB58", "Otra").ejecutar();
    EXPECT_EQ(bd.ultimoId(), 11);
}

// Type codes, users and province keys are compared without regard to case, as users have typed them.
TEST_F(BaseDatosPrograma, losCodigosSeComparanSinDistinguirMayusculas) {
    BaseDatos bd = abrirNueva();
    auto plantillas = bd.preparar("SELECT count(*) FROM estructura WHERE tipo = ?");
    plantillas.con("csb19");
    ASSERT_TRUE(plantillas.siguiente());
    EXPECT_EQ(plantillas.entero(0), 2);
    auto usuarios = bd.preparar("SELECT count(*) FROM usuarios WHERE usuario = ? AND tipo = ?");
    usuarios.con("EJEMPLO", "Csb19");
    ASSERT_TRUE(usuarios.siguiente());
    EXPECT_EQ(usuarios.entero(0), 1);
}

TEST_F(BaseDatosPrograma, abrirLaCreaCuandoNoExisteYNuncaReescribeUnaExistente) {
    {
        BaseDatos bd = abrirNueva();
        EXPECT_EQ(contar(bd, "SELECT count(*) FROM estructura"), 9);
        bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
            .con("ZOP", "Marca")
            .ejecutar();
        bd.ejecutarScript("DELETE FROM CodigoPostal WHERE CP = '28'");
    }
    BaseDatos bd = abrirNueva();
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM estructura WHERE descripcion = 'Marca'"), 1);
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM CodigoPostal"), 51);
}

TEST_F(BaseDatosPrograma, unaSegundaConexionNoPuedeUsarLaBaseMientrasEstaAbierta) {
    BaseDatos primera = abrirNueva();
    EXPECT_THROW(BaseDatos::abrir(ruta_, BaseDatos::Modo::Exclusiva), ErrorBaseDatos);
    EXPECT_THROW(abrirBaseDatosPrograma(ruta_), ErrorBaseDatos);
    EXPECT_THROW(
        {
            BaseDatos lectora = BaseDatos::abrir(ruta_, BaseDatos::Modo::SoloLectura);
            contar(lectora, "SELECT count(*) FROM estructura");
        },
        ErrorBaseDatos);
    // The first connection is not disturbed by the failed attempts.
    EXPECT_EQ(contar(primera, "SELECT count(*) FROM estructura"), 9);

    primera.cerrar();
    BaseDatos segunda = BaseDatos::abrir(ruta_, BaseDatos::Modo::Exclusiva);
    EXPECT_EQ(contar(segunda, "SELECT count(*) FROM estructura"), 9);
}

// Whether another process could take the lock that any SQLite program takes to write: a record lock on
// the bytes from 1 GiB on. Only the file is looked at in the child, which inherits no lock: locks are
// not inherited through fork, and no SQLite state of this process is used there.
bool otroProcesoPodriaEscribir(const fs::path& ruta) {
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        struct flock bloqueo {};
        bloqueo.l_type = F_WRLCK;
        bloqueo.l_whence = SEEK_SET;
        bloqueo.l_start = 0x40000000;
        bloqueo.l_len = 512;
        const int fichero = ::open(ruta.c_str(), O_RDWR);
        const bool libre = ::fcntl(fichero, F_GETLK, &bloqueo) == 0 && bloqueo.l_type == F_UNLCK;
        ::_exit(libre ? 0 : 1);
    }
    int estado = -1;
    ::waitpid(hijo, &estado, 0);
    return WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

// Closing any descriptor of a file drops the process's POSIX locks on it; the file dialog does so when
// it looks at the database file.
TEST_F(BaseDatosPrograma, otroProcesoNoPuedeEscribirAunqueSeCierreOtroDescriptorDelFichero) {
    BaseDatos primera = abrirNueva();
    ::close(::open(ruta_.c_str(), O_RDONLY));
    EXPECT_FALSE(otroProcesoPodriaEscribir(ruta_));
    EXPECT_EQ(contar(primera, "SELECT count(*) FROM estructura"), 9);
    primera.cerrar();
    EXPECT_TRUE(otroProcesoPodriaEscribir(ruta_));
}

TEST_F(BaseDatosPrograma, elTextoConAcentosYComillasVaComoValorYSeGuardaEnUtf8) {
    BaseDatos bd = abrirNueva();
    const std::string descripcion = "Peña's \"año\" 10€; DROP TABLE estructura; --";
    bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
        .con("CSB19", descripcion)
        .ejecutar();
    const std::int64_t id = bd.ultimoId();

    auto consulta = bd.preparar("SELECT descripcion, hex(substr(descripcion, 1, 16)), length(descripcion) "
                                "FROM estructura WHERE id_estructura = ?");
    consulta.con(id);
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_EQ(consulta.texto(0), descripcion);
    // P e ñ a ' s blank " a ñ o " blank 1 0 €
    EXPECT_EQ(consulta.texto(1), "5065C3B1612773202261C3B16F22203130E282AC");
    EXPECT_EQ(consulta.entero(2), static_cast<std::int64_t>(descripcion.size()));

    auto busqueda = bd.preparar("SELECT id_estructura FROM estructura WHERE descripcion = ?");
    busqueda.con(descripcion);
    ASSERT_TRUE(busqueda.siguiente());
    EXPECT_EQ(busqueda.entero(0), id);
}

TEST_F(BaseDatosPrograma, unNombreDeTablaCitadoPuedeLlevarComillasYBlancos) {
    BaseDatos bd = abrirNueva();
    const std::string tabla = "Hoja 1 \"x\"; DROP TABLE estructura";
    bd.ejecutarScript("CREATE TABLE " + citarIdentificador(tabla) + " (valor TEXT)");
    bd.preparar("INSERT INTO " + citarIdentificador(tabla) + " (valor) VALUES (?)").con("uno").ejecutar();
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM " + citarIdentificador(tabla)), 1);
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM estructura"), 9);
    EXPECT_EQ(citarIdentificador("a\"b"), "\"a\"\"b\"");
}

TEST_F(BaseDatosPrograma, unNuloSeLeeComoTextoVacioYCero) {
    BaseDatos bd = abrirNueva();
    auto consulta = bd.preparar("SELECT NULL AS Provincia");
    ASSERT_TRUE(consulta.siguiente());
    EXPECT_TRUE(consulta.esNulo(0));
    EXPECT_EQ(consulta.texto("provincia"), "");
    EXPECT_EQ(consulta.entero("PROVINCIA"), 0);
    EXPECT_EQ(consulta.columna("nada"), -1);
    EXPECT_THROW(consulta.texto("nada"), ErrorBaseDatos);
}

TEST_F(BaseDatosPrograma, unaTransaccionSinConfirmarNoDejaRastro) {
    BaseDatos bd = abrirNueva();
    {
        BaseDatos::Transaccion transaccion(bd);
        bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
            .con("ZOP", "A medias")
            .ejecutar();
        bd.ejecutarScript("DELETE FROM detalleestructura WHERE id_estructura = 6");
    }
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM estructura"), 9);
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM detalleestructura WHERE id_estructura = 6"), 20);

    {
        BaseDatos::Transaccion transaccion(bd);
        bd.preparar("INSERT INTO estructura (tipo, descripcion) VALUES (?, ?)")
            .con("ZOP", "Entera")
            .ejecutar();
        transaccion.confirmar();
    }
    EXPECT_EQ(contar(bd, "SELECT count(*) FROM estructura"), 10);
}

TEST_F(BaseDatosPrograma, unFicheroQueNoEsUnaBaseDeDatosNoSeAbreNiSeSustituye) {
    const std::string basura(4096, 'x');
    pruebas::escribirFichero(ruta_, basura);
    EXPECT_THROW(BaseDatos::abrir(ruta_, BaseDatos::Modo::Exclusiva), ErrorBaseDatos);
    EXPECT_THROW(BaseDatos::abrir(ruta_, BaseDatos::Modo::SoloLectura), ErrorBaseDatos);
    EXPECT_THROW(abrirBaseDatosPrograma(ruta_), ErrorBaseDatos);
    EXPECT_EQ(pruebas::leerFichero(ruta_), basura);
}

TEST_F(BaseDatosPrograma, crearEnUnaCarpetaQueNoExisteFallaSinDejarFicheros) {
    const fs::path ruta = carpeta_ / "no_existe" / kNombreBaseDatos;
    EXPECT_THROW(crearBaseDatosPrograma(ruta), ErrorBaseDatos);
    EXPECT_THROW(abrirBaseDatosPrograma(ruta), ErrorBaseDatos);
    EXPECT_FALSE(fs::exists(carpeta_ / "no_existe"));
    EXPECT_TRUE(fs::is_empty(carpeta_.ruta()));
}

// When the finished database cannot take its name, nothing half-made stays behind.
TEST_F(BaseDatosPrograma, siNoPuedeDarleSuNombreNoDejaLaBaseProvisional) {
    const fs::path ruta = carpeta_ / kNombreBaseDatos;
    fs::create_directories(ruta / "ocupado");
    EXPECT_THROW(crearBaseDatosPrograma(ruta), ErrorBaseDatos);
    EXPECT_EQ(pruebas::entradasDe(carpeta_.ruta()), 1u);
    EXPECT_TRUE(fs::is_directory(ruta / "ocupado"));
}

// Paths are UTF-8 on disk and messages Windows-1252: the user must read the folder's name as written.
TEST_F(BaseDatosPrograma, elAvisoDeCreacionFallidaMuestraLaRutaLegible) {
    const fs::path ruta = carpeta_ / "a\xC3\xB1o.db";
    fs::create_directories(ruta / "ocupado");
    try {
        crearBaseDatosPrograma(ruta);
        FAIL() << "sin excepción";
    } catch (const ErrorBaseDatos& e) {
        EXPECT_NE(std::string(e.what()).find("año.db"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace trovanel
