#include "filas_plantilla.hpp"

#include "base_datos.hpp"

namespace trovanel {

std::optional<FilasPlantilla> leerFilasPlantilla(BaseDatos& baseDatos, std::int64_t idEstructura) {
    FilasPlantilla plantilla;
    auto fila = baseDatos.preparar("SELECT id_estructura, tipo, descripcion, principiolinea, multifactura "
                                   "FROM estructura WHERE id_estructura = ? ORDER BY id_estructura");
    fila.con(idEstructura);
    if (!fila.siguiente()) {
        return std::nullopt;
    }
    plantilla.id = fila.entero(0);
    plantilla.tipo = fila.texto(1);
    plantilla.descripcion = fila.texto(2);
    plantilla.principiolinea = fila.entero(3);
    plantilla.multifactura = fila.logico(4);

    auto detalle =
        baseDatos.preparar("SELECT id_campo, campo, inicio, fin, valorlinea, valorcampo, inilinea, "
                           "finlinea, obligatorio, longitud FROM detalleestructura "
                           "WHERE id_estructura = ? ORDER BY id_campo");
    detalle.con(idEstructura);
    while (detalle.siguiente()) {
        FilaCampoPlantilla f;
        f.idCampo = detalle.entero(0);
        CampoEstructura& c = f.campo;
        c.campo = detalle.texto(1);
        c.inicio = detalle.entero(2);
        c.fin = detalle.entero(3);
        c.valorlinea = detalle.texto(4);
        c.valorcampo = detalle.texto(5);
        c.inilinea = detalle.entero(6);
        c.finlinea = detalle.entero(7);
        c.obligatorio = detalle.logico(8);
        c.longitud = static_cast<int>(detalle.entero(9));
        plantilla.campos.push_back(std::move(f));
    }

    auto multifactura = baseDatos.preparar("SELECT orden, campos, valor, inicio, fin FROM multifactura "
                                           "WHERE id_estructura = ? ORDER BY orden");
    multifactura.con(idEstructura);
    while (multifactura.siguiente()) {
        FilaMultifacturaPlantilla f;
        f.orden = multifactura.entero(0);
        f.campos = multifactura.texto(1);
        f.valor = multifactura.texto(2);
        f.inicio = multifactura.texto(3);
        f.fin = multifactura.real(4);
        plantilla.filasMultifactura.push_back(std::move(f));
    }
    return plantilla;
}

} // namespace trovanel
