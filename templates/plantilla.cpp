#include "plantilla.hpp"

#include "base_datos.hpp"
#include "texto.hpp"
#include "tipos_plantilla.hpp"

#include <limits>

namespace trovanel {

namespace {

constexpr const char* kNoExiste = "La plantilla no existe";
// id_campo is a 16-bit number in the tables: anything beyond is no field of ours.
constexpr std::int64_t kMayorIdCampo = std::numeric_limits<std::int16_t>::max();

std::int64_t enteroONulo(const Sentencia& fila, int columna, std::int64_t siNulo) {
    return fila.esNulo(columna) ? siNulo : fila.entero(columna);
}

} // namespace

void comprobarQueExiste(BaseDatos& baseDatos, std::int64_t id) {
    auto consulta = baseDatos.preparar("SELECT count(*) FROM estructura WHERE id_estructura = ?");
    consulta.con(id);
    if (!consulta.siguiente() || consulta.entero(0) == 0) {
        throw ErrorBaseDatos(kNoExiste);
    }
}

void Plantilla::ponerCampo(std::size_t idCampo, CampoEstructura campo) {
    if (campos.size() <= idCampo) {
        campos.resize(idCampo + 1);
        conFila.resize(idCampo + 1, false);
    }
    campos[idCampo] = std::move(campo);
    conFila[idCampo] = true;
}

Plantilla leerPlantilla(BaseDatos& baseDatos, std::int64_t id) {
    Plantilla plantilla;
    plantilla.id = id;
    auto fila = baseDatos.preparar("SELECT tipo, descripcion, principiolinea, multifactura FROM estructura "
                                   "WHERE id_estructura = ? ORDER BY id_estructura");
    fila.con(id);
    if (!fila.siguiente()) {
        throw ErrorBaseDatos(kNoExiste);
    }
    plantilla.tipo = fila.texto(0);
    plantilla.descripcion = fila.texto(1);
    plantilla.principiolinea = enteroONulo(fila, 2, -1);
    plantilla.multifactura = fila.logico(3);

    auto detalle =
        baseDatos.preparar("SELECT id_campo, campo, inicio, fin, valorlinea, valorcampo, inilinea, "
                           "finlinea, obligatorio, longitud FROM detalleestructura "
                           "WHERE id_estructura = ? ORDER BY id_campo");
    detalle.con(id);
    while (detalle.siguiente()) {
        const std::int64_t idCampo = detalle.entero(0);
        if (detalle.esNulo(0) || idCampo < 0 || idCampo > kMayorIdCampo) {
            continue;
        }
        CampoEstructura campo;
        campo.campo = detalle.texto(1);
        campo.inicio = detalle.entero(2);
        campo.fin = detalle.entero(3);
        campo.valorlinea = detalle.texto(4);
        campo.valorcampo = detalle.texto(5);
        campo.inilinea = detalle.entero(6);
        campo.finlinea = detalle.entero(7);
        campo.obligatorio = detalle.logico(8);
        campo.longitud = static_cast<int>(detalle.entero(9));
        plantilla.ponerCampo(static_cast<std::size_t>(idCampo), std::move(campo));
    }

    auto multifactura = baseDatos.preparar("SELECT orden, campos, valor, inicio, fin FROM multifactura "
                                           "WHERE id_estructura = ? ORDER BY orden");
    multifactura.con(id);
    while (multifactura.siguiente()) {
        plantilla.multifacturas.push_back({multifactura.entero(0), multifactura.texto(1),
                                           multifactura.texto(2), multifactura.entero(3),
                                           multifactura.real(4)});
    }
    return plantilla;
}

std::vector<CampoEstructura> camposParaConversion(const Plantilla& plantilla) {
    std::vector<CampoEstructura> campos = plantilla.campos;
    for (CampoEstructura& campo : campos) {
        campo.campo = Trim(campo.campo);
        campo.valorlinea = Trim(campo.valorlinea);
        campo.valorcampo = Trim(campo.valorcampo);
    }
    return campos;
}

ErrorPlantillaIncorrecta::ErrorPlantillaIncorrecta(const std::string& motivo)
    : ErrorTrovanel("Por favor revise la plantilla.\r\n" + motivo) {}

bool leePorPosiciones(std::string_view tipo) {
    const auto conocido = buscarTipoPlantilla(Trim(tipo));
    return !conocido || conocido->entrada == TipoEntrada::Texto;
}

std::optional<std::string> posicionIncorrecta(const CampoEstructura& campo, std::size_t idCampo,
                                              bool porPosiciones) {
    const std::string nombre = "El campo " + std::to_string(idCampo) + "-" + Trim(campo.campo);
    const struct {
        const char* nombre;
        std::int64_t valor;
    } posiciones[] = {{"inicio", campo.inicio},
                      {"fin", campo.fin},
                      {"inilinea", campo.inilinea},
                      {"finlinea", campo.finlinea}};
    for (const auto& p : posiciones) {
        if (p.valor < 0 || p.valor > kMayorPosicion) {
            return nombre + " tiene " + p.nombre + " " + std::to_string(p.valor) + ", fuera de 0 a " +
                   std::to_string(kMayorPosicion);
        }
    }
    // The default value goes into the records as it is when the input leaves the field blank: a control
    // character would split or corrupt them, so it is refused as the input's values are.
    if (const std::size_t donde = primerControl(campo.valorcampo); donde != campo.valorcampo.size()) {
        return nombre + " tiene en valorcampo un carácter de control (código " +
               std::to_string(static_cast<unsigned char>(campo.valorcampo[donde])) + ")";
    }
    // A sheet or table template holds no positions to order: placing a field there sets fin to 1 and
    // keeps the inicio and the line key of the template it was copied from.
    if (!porPosiciones) {
        return std::nullopt;
    }
    // Within range the subtractions below cannot overflow.
    if ((campo.inicio != 0 || campo.fin != 0) && campo.fin < campo.inicio - 1) {
        return nombre + " termina (fin " + std::to_string(campo.fin) + ") antes de empezar (inicio " +
               std::to_string(campo.inicio) + ")";
    }
    if ((campo.inilinea != 0 || campo.finlinea != 0) && campo.finlinea < campo.inilinea - 1) {
        return nombre + " tiene la clave de línea al revés (inilinea " + std::to_string(campo.inilinea) +
               ", finlinea " + std::to_string(campo.finlinea) + ")";
    }
    // Placed but not cut, with nothing to stand in: the mandatory check would never see it.
    const bool colocadoSinPieza = (campo.inicio != 0 || campo.fin != 0) &&
                                  !piezaCortable(campo.inicio, largoPieza(campo.inicio, campo.fin));
    if (campo.obligatorio && colocadoSinPieza && enBlanco(campo.valorcampo)) {
        return nombre + " es obligatorio y no se puede leer de la entrada ni tiene valor por defecto";
    }
    return std::nullopt;
}

void comprobarPosiciones(const Plantilla& plantilla) {
    const bool porPosiciones = leePorPosiciones(plantilla.tipo);
    for (std::size_t i = 0; i < plantilla.campos.size(); ++i) {
        if (!plantilla.tieneCampo(i)) {
            continue;
        }
        if (auto motivo = posicionIncorrecta(plantilla.campos[i], i, porPosiciones)) {
            throw ErrorPlantillaIncorrecta(*motivo);
        }
    }
}

std::int64_t guardarPlantillaNueva(BaseDatos& baseDatos, const Plantilla& plantilla) {
    BaseDatos::Transaccion transaccion(baseDatos);
    baseDatos
        .preparar(
            "INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) VALUES (?, ?, ?, ?)")
        .con(plantilla.tipo, plantilla.descripcion, plantilla.principiolinea,
             static_cast<std::int64_t>(plantilla.multifactura))
        .ejecutar();
    const std::int64_t id = baseDatos.ultimoId();

    auto campo = baseDatos.preparar("INSERT INTO detalleestructura (id_estructura, campo, inicio, fin, "
                                    "inilinea, finlinea, valorlinea, obligatorio, id_campo, valorcampo, "
                                    "longitud) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < plantilla.campos.size(); ++i) {
        if (!plantilla.tieneCampo(i)) {
            continue;
        }
        const CampoEstructura& c = plantilla.campos[i];
        campo.reiniciar();
        campo.con(id, c.campo, c.inicio, c.fin, c.inilinea, c.finlinea, c.valorlinea,
                  static_cast<std::int64_t>(c.obligatorio), static_cast<std::int64_t>(i), c.valorcampo,
                  c.longitud);
        campo.ejecutar();
    }

    auto fila = baseDatos.preparar("INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio, "
                                   "fin) VALUES (?, ?, ?, ?, ?, ?)");
    for (const MultifacturaPlantilla& m : plantilla.multifacturas) {
        fila.reiniciar();
        fila.con(id, m.orden, m.campos, m.valor, m.inicio, m.fin);
        fila.ejecutar();
    }
    transaccion.confirmar();
    return id;
}

void modificarPlantilla(BaseDatos& baseDatos, const Plantilla& plantilla) {
    BaseDatos::Transaccion transaccion(baseDatos);
    comprobarQueExiste(baseDatos, plantilla.id);
    baseDatos.preparar("UPDATE estructura SET principiolinea = ? WHERE id_estructura = ?")
        .con(plantilla.principiolinea, plantilla.id)
        .ejecutar();
    auto campo = baseDatos.preparar("UPDATE detalleestructura SET inicio = ?, fin = ?, inilinea = ?, "
                                    "finlinea = ?, valorlinea = ?, valorcampo = ?, longitud = ? "
                                    "WHERE id_estructura = ? AND id_campo = ?");
    for (std::size_t i = 0; i < plantilla.campos.size(); ++i) {
        if (!plantilla.tieneCampo(i)) {
            continue;
        }
        const CampoEstructura& c = plantilla.campos[i];
        campo.reiniciar();
        campo.con(c.inicio, c.fin, c.inilinea, c.finlinea, c.valorlinea, c.valorcampo, c.longitud,
                  plantilla.id, static_cast<std::int64_t>(i));
        campo.ejecutar();
    }
    transaccion.confirmar();
}

void borrarPlantilla(BaseDatos& baseDatos, std::int64_t id) {
    BaseDatos::Transaccion transaccion(baseDatos);
    comprobarQueExiste(baseDatos, id);
    baseDatos.preparar("DELETE FROM estructura WHERE id_estructura = ?").con(id).ejecutar();
    transaccion.confirmar();
}

} // namespace trovanel
