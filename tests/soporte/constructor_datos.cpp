#include "constructor_datos.hpp"

#include <stdexcept>
#include <utility>

namespace trovanel::pruebas {

ConstructorPlantilla& ConstructorPlantilla::tipo(std::string tipo) {
    tipo_ = std::move(tipo);
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::descripcion(std::string descripcion) {
    descripcion_ = std::move(descripcion);
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::principioLinea(int idCampo) {
    principioLinea_ = idCampo;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::multifactura(bool multifactura) {
    multifactura_ = multifactura;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::campo(std::string nombre, int inicio, int fin) {
    CampoPlantilla nuevo;
    nuevo.campo = std::move(nombre);
    nuevo.inicio = inicio;
    nuevo.fin = fin;
    return campo(std::move(nuevo));
}

ConstructorPlantilla& ConstructorPlantilla::campo(CampoPlantilla campo) {
    campos_.push_back(std::move(campo));
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::campos(const std::vector<CampoPlantilla>& campos) {
    campos_.insert(campos_.end(), campos.begin(), campos.end());
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::valor(std::string valorcampo) {
    ultimo().valorcampo = std::move(valorcampo);
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::clave(std::string valorlinea, int inilinea, int finlinea) {
    CampoPlantilla& c = ultimo();
    c.valorlinea = std::move(valorlinea);
    c.inilinea = inilinea;
    c.finlinea = finlinea;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::obligatorio(bool obligatorio) {
    ultimo().obligatorio = obligatorio;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::longitud(int longitud) {
    ultimo().longitud = longitud;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::principio() {
    ultimo();
    principioLinea_ = static_cast<int>(campos_.size()) - 1;
    return *this;
}

ConstructorPlantilla& ConstructorPlantilla::filaMultifactura(FilaMultifactura fila) {
    filas_.push_back(std::move(fila));
    return *this;
}

CampoPlantilla& ConstructorPlantilla::ultimo() {
    if (campos_.empty()) {
        throw std::logic_error("ConstructorPlantilla: ningún campo al que aplicar el ajuste");
    }
    return campos_.back();
}

std::int64_t ConstructorPlantilla::crear() {
    BaseDatos::Transaccion transaccion(bd_);
    bd_.preparar(
           "INSERT INTO estructura (tipo, descripcion, principiolinea, multifactura) VALUES (?, ?, ?, ?)")
        .con(tipo_, descripcion_, principioLinea_, multifactura_.value_or(!filas_.empty()) ? 1 : 0)
        .ejecutar();
    const std::int64_t id = bd_.ultimoId();
    int idCampo = 0;
    for (const CampoPlantilla& c : campos_) {
        bd_.preparar("INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, "
                     "finlinea, valorlinea, valorcampo, obligatorio, longitud) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .con(id, idCampo++, c.campo, c.inicio, c.fin, c.inilinea, c.finlinea, c.valorlinea, c.valorcampo,
                 c.obligatorio ? 1 : 0, c.longitud)
            .ejecutar();
    }
    int orden = 0;
    for (const FilaMultifactura& f : filas_) {
        bd_.preparar("INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (?, ?, "
                     "?, ?, ?)")
            .con(id, orden++, f.campos, f.valor, f.inicio)
            .ejecutar();
    }
    transaccion.confirmar();
    return id;
}

ConstructorPresentador& ConstructorPresentador::tipo(std::string tipo) {
    tipo_ = std::move(tipo);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::nif(std::string nif) {
    nif_ = std::move(nif);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::nombre(std::string nombre) {
    nombre_ = std::move(nombre);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::sufijo(std::string sufijo) {
    sufijo_ = std::move(sufijo);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::cuenta(std::string cuenta) {
    cuenta_ = std::move(cuenta);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::csb(std::string csb) {
    csb_ = std::move(csb);
    return *this;
}

ConstructorPresentador& ConstructorPresentador::usuario(std::string usuario) {
    usuarios_.push_back(std::move(usuario));
    return *this;
}

std::int64_t ConstructorPresentador::crear() {
    BaseDatos::Transaccion transaccion(bd_);
    bd_.preparar(
           "INSERT INTO presentadores (tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (?, ?, ?, ?, ?, ?)")
        .con(tipo_, nif_, nombre_, sufijo_, cuenta_, csb_)
        .ejecutar();
    const std::int64_t id = bd_.ultimoId();
    for (const std::string& u : usuarios_) {
        enlazarUsuario(bd_, u, csb_, id);
    }
    transaccion.confirmar();
    return id;
}

ConstructorEmisor& ConstructorEmisor::presentador(std::int64_t idPresentador) {
    presentador_ = idPresentador;
    return *this;
}

ConstructorEmisor& ConstructorEmisor::nif(std::string nif) {
    nif_ = std::move(nif);
    return *this;
}

ConstructorEmisor& ConstructorEmisor::sufijo(std::string sufijo) {
    sufijo_ = std::move(sufijo);
    return *this;
}

ConstructorEmisor& ConstructorEmisor::nombre(std::string nombre) {
    nombre_ = std::move(nombre);
    return *this;
}

ConstructorEmisor& ConstructorEmisor::cuenta(std::string cuenta) {
    cuenta_ = std::move(cuenta);
    return *this;
}

std::int64_t ConstructorEmisor::crear() {
    bd_.preparar(
           "INSERT INTO emisores (id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (?, ?, ?, ?, ?)")
        .con(presentador_, nif_, sufijo_, nombre_, cuenta_)
        .ejecutar();
    return bd_.ultimoId();
}

void enlazarUsuario(BaseDatos& bd, const std::string& usuario, const std::string& tipo,
                    std::int64_t idPresentador) {
    bd.preparar("INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES (?, ?, ?)")
        .con(usuario, tipo, idPresentador)
        .ejecutar();
}

} // namespace trovanel::pruebas
