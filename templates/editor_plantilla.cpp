#include "editor_plantilla.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "error.hpp"
#include "libro_excel.hpp"
#include "origen_access.hpp"
#include "texto.hpp"

#include <algorithm>
#include <limits>

namespace trovanel {

namespace {

constexpr const char* kLongitudIncorrecta = "La longitud del campo no es correcta";
constexpr const char* kCodigoPostal5 = "El Código Postal tiene que tener longitud 5";
constexpr const char* kFaltaFormaPago = "Debe especificar, al menos, una forma de pago";
constexpr const char* kDistintasTablas = "No se pueden coger datos de distintas tablas";
constexpr const char* kFaltanConLongitud =
    "No ha definido los siguientes campos obligatorios, o su longitud es 0. ";
constexpr const char* kFaltan = "No ha definido los siguientes campos obligatorios. ";

// Sign-less families: payroll, transfers and both collection norms carry no negative amounts.
constexpr std::array<std::string_view, 4> kTiposSinSigno = {"CSB34N", "CSB34T", "CSB19", "CSB58"};

const RasgosEditor kTexto{.entrada = TipoEntrada::Texto,
                          .nombre = "frmEstructuras",
                          .titulo = "Mantenimiento de Plantillas",
                          .sufijo = "",
                          .posiciones = true,
                          .colocadoConFin = false,
                          .compruebaAncho = true,
                          .cpAlModificar = true,
                          .unaTabla = false,
                          .principioOrden = true,
                          .recortaValores = true,
                          .faltanAlModificar = kFaltanConLongitud,
                          .tituloOrigen = "",
                          .filtroOrigen = ""};
const RasgosEditor kExcel{.entrada = TipoEntrada::Excel,
                          .nombre = "frmEstructurasExcel",
                          .titulo = "Estructuras Excel",
                          .sufijo = "Ex",
                          .posiciones = false,
                          .colocadoConFin = true,
                          .compruebaAncho = true,
                          .cpAlModificar = false,
                          .unaTabla = false,
                          .principioOrden = false,
                          .recortaValores = false,
                          .faltanAlModificar = kFaltan,
                          .tituloOrigen = "Abrir hoja Excel",
                          .filtroOrigen = "Libros Excel (*.xls *.xlsx)"};
// Before kAccess, which points into it.
const std::string kFiltroBasesDatos = filtroBasesDatos("Base de datos de Access");
const RasgosEditor kAccess{.entrada = TipoEntrada::Access,
                           .nombre = "frmEstructurasAccess",
                           .titulo = "Estructuras Access",
                           .sufijo = "Ac",
                           .posiciones = false,
                           .colocadoConFin = true,
                           .compruebaAncho = false,
                           .cpAlModificar = false,
                           .unaTabla = true,
                           .principioOrden = false,
                           .recortaValores = false,
                           .faltanAlModificar = kFaltan,
                           .tituloOrigen = "Abrir Base de Datos",
                           .filtroOrigen = kFiltroBasesDatos};

// A box holds at most largo characters (0: no limit); a longer text is cut, as the box would.
std::string cortado(std::string texto, int largo) {
    if (largo > 0 && texto.size() > static_cast<std::size_t>(largo)) {
        texto.resize(static_cast<std::size_t>(largo));
    }
    return texto;
}

std::string numeroTexto(std::int64_t valor) {
    return std::to_string(valor);
}

// A whole number other than 0, as the position gates want one.
std::optional<std::int64_t> posicion(const std::string& caja) {
    const auto valor = leerEntero(caja);
    return valor && *valor != 0 ? valor : std::nullopt;
}

// The box's value as a 16-bit whole number; nothing when it does not convert, and the member then
// keeps its value.
void ponerEntero16(std::int64_t& miembro, const std::string& caja) {
    const auto valor = leerEntero(caja);
    if (valor && *valor >= std::numeric_limits<std::int16_t>::min() &&
        *valor <= std::numeric_limits<std::int16_t>::max()) {
        miembro = *valor;
    }
}

std::string codigoBase(std::string_view tipo) {
    const std::string limpio = Trim(tipo);
    if (const auto conocido = buscarTipoPlantilla(limpio)) {
        return std::string(conocido->codigoBase);
    }
    if (limpio.ends_with("Ex") || limpio.ends_with("Ac")) {
        return limpio.substr(0, limpio.size() - 2);
    }
    return limpio;
}

// The kind the display goes by: the first of the four names found in the field's.
enum class Clase { Ninguna, Importe, Fecha, FormaPago, Signo };
Clase claseDe(std::string_view campo) {
    if (contiene(campo, "Importe")) {
        return Clase::Importe;
    }
    if (contiene(campo, "Fecha")) {
        return Clase::Fecha;
    }
    if (contiene(campo, "FormaPago")) {
        return Clase::FormaPago;
    }
    if (contiene(campo, "SignoNegativo")) {
        return Clase::Signo;
    }
    return Clase::Ninguna;
}

} // namespace

const RasgosEditor& rasgosEditor(TipoEntrada entrada) {
    switch (entrada) {
    case TipoEntrada::Excel:
        return kExcel;
    case TipoEntrada::Access:
        return kAccess;
    case TipoEntrada::Texto:
        break;
    }
    return kTexto;
}

EditorPlantilla::EditorPlantilla(TipoEntrada entrada, BaseDatos& baseDatos, Avisos& avisos)
    : rasgos_(rasgosEditor(entrada)), baseDatos_(baseDatos), avisos_(avisos) {}

EditorPlantilla::~EditorPlantilla() = default;

// --- the list and the template in hand

void EditorPlantilla::abrir() {
    cajas.fecha = 0;
    if (llenarLista() && !lista_.empty()) {
        cbEstructuras_Click(0);
    }
}

bool EditorPlantilla::llenarLista() {
    try {
        lista_ = CargarPlantillas(baseDatos_, true);
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(e.what());
        return false;
    }
    ++versionLista_;
    return true;
}

bool EditorPlantilla::cbEstructuras_Click(std::size_t posicion) {
    if (posicion >= lista_.size()) {
        return false;
    }
    // The whole template is read before anything changes, so a failure leaves the one in hand intact.
    Plantilla leida;
    try {
        leida = leerPlantilla(baseDatos_, lista_[posicion].id);
        comprobarPosiciones(leida);
    } catch (const ErrorPlantillaIncorrecta& e) {
        avisos_.informacion(e.what());
        return false;
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se pueden cargar los campos de la plantilla; Error: ") + e.what());
        return false;
    }
    campoEditado_.reset();
    vaciarCajasPosicion();
    if (!rasgos_.posiciones) {
        cajas.columna.clear();
    }
    tipoEstructura_ = codigoBase(leida.tipo) + std::string(rasgos_.sufijo);
    plantilla_ = std::move(leida);
    principioLinea_ = plantilla_.principiolinea;
    hayPlantilla_ = true;
    cajas.id = numeroTexto(plantilla_.id);

    sinColocar_.clear();
    colocados_.clear();
    for (std::size_t i = 0; i < plantilla_.campos.size(); ++i) {
        if (plantilla_.tieneCampo(i)) {
            (colocado(plantilla_.campos[i]) ? colocados_ : sinColocar_).push_back(i);
        }
    }
    seleccionSinColocar_.reset();
    seleccionColocado_.reset();
    return true;
}

std::optional<std::size_t> EditorPlantilla::posicionCargada() const {
    if (!hayPlantilla_) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < lista_.size(); ++i) {
        if (lista_[i].id == plantilla_.id) {
            return i;
        }
    }
    return std::nullopt;
}

bool EditorPlantilla::borrarDisponible() const {
    return hayPlantilla_ && plantilla_.id > kUltimaPlantillaSemilla;
}

std::string EditorPlantilla::textoEntrada(std::size_t idCampo) const {
    const CampoEstructura& campo = plantilla_.campos.at(idCampo);
    return numeroTexto(static_cast<std::int64_t>(idCampo)) + "-" + campo.campo +
           (campo.obligatorio ? " (obligatorio)" : std::string(14, ' '));
}

bool EditorPlantilla::colocado(const CampoEstructura& campo) const {
    return campo.inicio != 0 || (rasgos_.colocadoConFin && campo.fin != 0);
}

bool EditorPlantilla::tipoSinSigno() const {
    const std::string base = codigoBase(tipoEstructura_);
    return std::find(kTiposSinSigno.begin(), kTiposSinSigno.end(), base) != kTiposSinSigno.end();
}

void EditorPlantilla::vaciarCajasPosicion() {
    for (std::string* caja : {&cajas.idCheque, &cajas.idTransf, &cajas.idPagoCertif, &cajas.valNegativo}) {
        caja->clear();
    }
    if (rasgos_.posiciones) {
        for (std::string* caja :
             {&cajas.iniCampo, &cajas.finCampo, &cajas.iniLinea, &cajas.finLinea, &cajas.valLinea}) {
            caja->clear();
        }
        cajas.longitud = "0";
        colorAncho_ = ColorAncho::Azul;
    }
}

// --- showing and committing a field

void EditorPlantilla::MostrarCampo(Lista lista) {
    const auto& campos = lista == Lista::SinColocar ? sinColocar_ : colocados_;
    const auto seleccion = lista == Lista::SinColocar ? seleccionSinColocar_ : seleccionColocado_;
    if (!seleccion || *seleccion >= campos.size()) {
        return;
    }
    const std::size_t idCampo = campos[*seleccion];
    const CampoEstructura& campo = plantilla_.campos[idCampo];
    if (rasgos_.posiciones) {
        cajas.iniCampo = cortado(numeroTexto(campo.inicio), kLargoPosicion);
        cajas.finCampo = cortado(numeroTexto(campo.fin), kLargoPosicion);
        cajas.iniLinea = cortado(numeroTexto(campo.inilinea), kLargoPosicion);
        cajas.finLinea = cortado(numeroTexto(campo.finlinea), kLargoPosicion);
        cajas.valLinea = cortado(campo.valorlinea, kLargoValLinea);
        colorAncho_ = ColorAncho::Azul;
        cajas.longitud =
            cortado(cajas.finCampo != "0" ? numeroTexto(campo.fin - campo.inicio + 1) : "0", kLargoPosicion);
    } else {
        cajas.columna = cortado(campo.valorlinea, rasgos_.entrada == TipoEntrada::Excel ? kLargoColumna : 0);
    }

    const Clase clase = claseDe(campo.campo);
    const bool conSigno = !tipoSinSigno();
    visibilidad_ = VisibilidadEditor{};
    const auto valor = [&] { return rasgos_.recortaValores ? Trim(campo.valorcampo) : campo.valorcampo; };
    switch (clase) {
    case Clase::Importe:
        visibilidad_.valNegativo = visibilidad_.labValorNegativo = visibilidad_.labSigno = conSigno;
        cajas.valNegativo = cortado(valor(), kLargoNegativo);
        break;
    case Clase::Signo:
        visibilidad_.negativo = visibilidad_.labValorNegativo = conSigno;
        cajas.negativo = cortado(valor(), kLargoNegativo);
        break;
    case Clase::Fecha:
        visibilidad_.fecha = true;
        for (std::size_t i = 0; i < kFormatosFecha.size(); ++i) {
            if (kFormatosFecha[i] == campo.valorcampo) {
                cajas.fecha = static_cast<int>(i);
            }
        }
        break;
    case Clase::FormaPago: {
        visibilidad_.formasPago = true;
        if (campo.valorcampo.empty()) {
            break;
        }
        std::string* cajasPago[] = {&cajas.idCheque, &cajas.idTransf, &cajas.idPagoCertif};
        std::size_t desde = 0;
        for (std::string* caja : cajasPago) {
            if (desde > campo.valorcampo.size()) {
                break;
            }
            const std::size_t guion = campo.valorcampo.find('-', desde);
            *caja = cortado(campo.valorcampo.substr(desde, guion == std::string::npos ? std::string::npos
                                                                                      : guion - desde),
                            kLargoIdPago);
            desde = guion == std::string::npos ? campo.valorcampo.size() + 1 : guion + 1;
        }
        break;
    }
    case Clase::Ninguna:
        break;
    }
    if (rasgos_.principioOrden) {
        cajas.principioOrden = static_cast<std::int64_t>(idCampo) == principioLinea_;
    }
}

bool EditorPlantilla::conPosicion() const {
    if (rasgos_.posiciones) {
        return posicion(cajas.iniCampo) && posicion(cajas.finCampo);
    }
    return !enBlanco(cajas.columna);
}

void EditorPlantilla::marcarNegativos() {
    if (enBlanco(cajas.valNegativo)) {
        return;
    }
    for (CampoEstructura& campo : plantilla_.campos) {
        if (contiene(campo.campo, "Importe")) {
            campo.valorcampo = cajas.valNegativo;
        }
    }
}

std::string EditorPlantilla::formaPago() const {
    return cajas.idCheque + "-" + cajas.idTransf + "-" + cajas.idPagoCertif;
}

EditorPlantilla::Compromiso EditorPlantilla::ActualizarCampo(bool avisarSinPosicion) {
    if (!campoEditado_) {
        return Compromiso::Nada;
    }
    if (!conPosicion()) {
        if (avisarSinPosicion) {
            avisos_.critico(kLongitudIncorrecta);
        }
        return Compromiso::Rechazado;
    }
    const std::size_t idCampo = *campoEditado_;
    // The field left the placed list since it was shown: nothing of the boxes belongs to any other.
    if (std::find(colocados_.begin(), colocados_.end(), idCampo) == colocados_.end()) {
        campoEditado_.reset();
        return Compromiso::Nada;
    }
    CampoEstructura& campo = plantilla_.campos[idCampo];
    if (rasgos_.posiciones) {
        const double ancho = static_cast<double>(*leerEntero(cajas.finCampo)) -
                             static_cast<double>(*leerEntero(cajas.iniCampo)) + 1;
        if (!(ancho > 0 && ancho <= campo.longitud)) {
            avisos_.critico(kLongitudIncorrecta);
            return Compromiso::Rechazado;
        }
        ponerEntero16(campo.fin, cajas.finCampo);
        ponerEntero16(campo.finlinea, cajas.finLinea);
        ponerEntero16(campo.inicio, cajas.iniCampo);
        ponerEntero16(campo.inilinea, cajas.iniLinea);
        campo.valorlinea = cajas.valLinea;
    } else {
        campo.valorlinea = cajas.columna;
    }
    marcarNegativos();
    if (rasgos_.principioOrden) {
        if (cajas.principioOrden) {
            principioLinea_ = static_cast<std::int64_t>(idCampo);
            cajas.principioOrden = false;
        } else if (principioLinea_ == static_cast<std::int64_t>(idCampo)) {
            principioLinea_ = -1;
        }
    }
    if (contiene(campo.campo, "SignoNegativo")) {
        campo.valorcampo = cajas.negativo;
    }
    if (contiene(campo.campo, "FormaPago")) {
        campo.valorcampo = formaPago();
        // Transfers and certified payments alone need the account of each payment.
        const bool soloCuenta =
            cajas.idCheque.empty() && (cajas.idTransf.empty() != cajas.idPagoCertif.empty());
        if (soloCuenta) {
            for (CampoEstructura& otro : plantilla_.campos) {
                if (otro.campo == "Entidad" || otro.campo == "Oficina" || otro.campo == "Cuenta" ||
                    otro.campo == "DC") {
                    otro.obligatorio = true;
                }
            }
        }
    }
    if (contiene(campo.campo, "Fecha")) {
        campo.valorcampo = std::string(kFormatosFecha.at(static_cast<std::size_t>(cajas.fecha)));
    }
    return Compromiso::Escrito;
}

void EditorPlantilla::lbCampos_Click(std::size_t posicion) {
    if (posicion >= sinColocar_.size()) {
        return;
    }
    seleccionSinColocar_ = posicion;
    MostrarCampo(Lista::SinColocar);
    campoEditado_.reset();
}

void EditorPlantilla::lbCamposAgregados_Click(std::size_t posicion) {
    if (posicion >= colocados_.size()) {
        return;
    }
    ActualizarCampo(false);
    seleccionColocado_ = posicion;
    MostrarCampo(Lista::Colocados);
    campoEditado_ = colocados_[posicion];
}

// --- placing and removing

void EditorPlantilla::cmdAgregar_Click() {
    // With a field chosen to place, the boxes speak for it, whether it is placed or refused: no later
    // commit may write them into the placed field pressed before.
    if (seleccionSinColocar_ && *seleccionSinColocar_ < sinColocar_.size()) {
        campoEditado_.reset();
    }
    if (rasgos_.unaTabla) {
        const std::string elegida = tablaElegida_ ? tablas_[*tablaElegida_] : std::string();
        if (enBlanco(tabla_)) {
            tabla_ = elegida;
        } else if (elegida != tabla_) {
            if (!colocados_.empty()) {
                avisos_.simple(kDistintasTablas);
                return;
            }
            tabla_ = elegida;
        }
    }
    if (!conPosicion() || !seleccionSinColocar_ || *seleccionSinColocar_ >= sinColocar_.size()) {
        return;
    }
    const std::size_t posicionLista = *seleccionSinColocar_;
    const std::size_t idCampo = sinColocar_[posicionLista];
    CampoEstructura& campo = plantilla_.campos[idCampo];
    if (rasgos_.compruebaAncho) {
        const double ancho = rasgos_.posiciones ? static_cast<double>(*leerEntero(cajas.finCampo)) -
                                                      static_cast<double>(*leerEntero(cajas.iniCampo)) + 1
                                                : static_cast<double>(celdaActual_.size());
        bool aceptado = ancho > 0 && ancho <= campo.longitud;
        if (contiene(campo.campo, "CP")) {
            aceptado = ancho == 5;
            if (!aceptado) {
                avisos_.informacion(kCodigoPostal5);
                return;
            }
        }
        if (!aceptado) {
            avisos_.critico(kLongitudIncorrecta);
            return;
        }
    }
    // Refused before anything is written, so a refused field keeps what it had.
    if (contiene(campo.campo, "FormaPago") && cajas.idCheque.empty() && cajas.idTransf.empty() &&
        cajas.idPagoCertif.empty()) {
        avisos_.informacion(kFaltaFormaPago);
        return;
    }
    if (rasgos_.posiciones) {
        ponerEntero16(campo.fin, cajas.finCampo);
        ponerEntero16(campo.finlinea, cajas.finLinea);
        ponerEntero16(campo.inicio, cajas.iniCampo);
        ponerEntero16(campo.inilinea, cajas.iniLinea);
        campo.valorlinea = cajas.valLinea;
    } else {
        campo.fin = 1;
        campo.valorlinea = cajas.columna;
    }
    marcarNegativos();
    if (rasgos_.principioOrden && cajas.principioOrden) {
        principioLinea_ = static_cast<std::int64_t>(idCampo);
        cajas.principioOrden = false;
    }
    if (contiene(campo.campo, "SignoNegativo")) {
        campo.valorcampo = cajas.negativo;
    }
    if (contiene(campo.campo, "FormaPago")) {
        campo.valorcampo = formaPago();
    }
    if (contiene(campo.campo, "Fecha")) {
        campo.valorcampo = std::string(kFormatosFecha.at(static_cast<std::size_t>(cajas.fecha)));
    }
    colocados_.push_back(idCampo);
    sinColocar_.erase(sinColocar_.begin() + static_cast<std::ptrdiff_t>(posicionLista));
    seleccionSinColocar_.reset();
    vaciarCajasPosicion();
}

void EditorPlantilla::quitarColocado(std::size_t posicionLista) {
    const std::size_t idCampo = colocados_[posicionLista];
    CampoEstructura& campo = plantilla_.campos[idCampo];
    sinColocar_.push_back(idCampo);
    campo.inicio = campo.fin = campo.inilinea = campo.finlinea = 0;
    campo.valorlinea.clear();
    if (contiene(campo.campo, "Importe")) {
        campo.valorcampo.clear();
    }
    colocados_.erase(colocados_.begin() + static_cast<std::ptrdiff_t>(posicionLista));
    if (campoEditado_ == idCampo) {
        campoEditado_.reset();
    }
}

void EditorPlantilla::Command3_Click() {
    if (seleccionColocado_ && *seleccionColocado_ < colocados_.size()) {
        CampoEstructura& campo = plantilla_.campos[colocados_[*seleccionColocado_]];
        if (contiene(campo.campo, "FormaPago")) {
            campo.valorcampo.clear();
            cajas.idCheque.clear();
            cajas.idPagoCertif.clear();
            cajas.idTransf.clear();
        }
        quitarColocado(*seleccionColocado_);
        seleccionColocado_.reset();
    }
    MostrarCampo(Lista::SinColocar);
}

void EditorPlantilla::cmdTodos_Click() {
    for (std::size_t i = colocados_.size(); i-- > 0;) {
        seleccionColocado_ = i;
        MostrarCampo(Lista::Colocados);
        quitarColocado(i);
    }
    seleccionColocado_.reset();
    campoEditado_.reset();
}

void EditorPlantilla::tbPosicion_KeyUp(bool enFin) {
    bool hayAncho = !cajas.iniCampo.empty() && !cajas.finCampo.empty();
    if (!enFin) {
        hayAncho = hayAncho && posicion(cajas.iniCampo) && posicion(cajas.finCampo);
    }
    if (!hayAncho) {
        cajas.longitud.clear();
        return;
    }
    const std::int64_t ancho =
        leerEntero(cajas.finCampo).value_or(0) - leerEntero(cajas.iniCampo).value_or(0) + 1;
    cajas.longitud = cortado(numeroTexto(ancho), kLargoPosicion);
    if (!seleccionSinColocar_) {
        return;
    }
    // With the placed list focused and nothing chosen there, the colour stays as it was.
    const auto referencia =
        focoAgregados_ ? (seleccionColocado_ ? std::optional(colocados_[*seleccionColocado_]) : std::nullopt)
                       : std::optional(sinColocar_[*seleccionSinColocar_]);
    if (referencia) {
        const int longitud = plantilla_.campos[*referencia].longitud;
        colorAncho_ = ancho > longitud || ancho <= 0 ? ColorAncho::Rojo : ColorAncho::Azul;
    }
}

// --- saving and deleting

std::string EditorPlantilla::faltanObligatorios() const {
    std::string lista;
    for (std::size_t i = 0; i < plantilla_.campos.size(); ++i) {
        const CampoEstructura& campo = plantilla_.campos[i];
        if (plantilla_.tieneCampo(i) && !colocado(campo) && campo.obligatorio) {
            lista += campo.campo + "\r\n";
        }
    }
    return lista;
}

void EditorPlantilla::cmdAceptar_Click() {
    if (!hayPlantilla_) {
        return;
    }
    // An edit still in the boxes is stored with the rest, or nothing is stored; the checks of the name
    // and the template come first.
    if (enBlanco(cajas.nombre)) {
        if (plantilla_.id <= kUltimaPlantillaSemilla) {
            avisos_.informacion("Falta nombre de Plantilla");
            return;
        }
        if (ActualizarCampo(true) == Compromiso::Rechazado) {
            return;
        }
        if (!avisos_.pregunta("¿Desea modificar la plantilla?")) {
            return;
        }
        Plantilla modificada = plantilla_;
        modificada.principiolinea = principioLinea_;
        try {
            comprobarPosiciones(modificada);
            modificarPlantilla(baseDatos_, modificada);
        } catch (const ErrorPlantillaIncorrecta& e) {
            avisos_.informacion(e.what());
            return;
        } catch (const ErrorTrovanel& e) {
            avisos_.simple(std::string("No se puede modificar la plantilla; Error: ") + e.what());
            return;
        }
        plantilla_.principiolinea = principioLinea_;
        if (rasgos_.cpAlModificar) {
            for (std::size_t i = 0; i < plantilla_.campos.size(); ++i) {
                const CampoEstructura& campo = plantilla_.campos[i];
                if (plantilla_.tieneCampo(i) && campo.campo == "CPBeneficiario" && colocado(campo) &&
                    campo.fin - campo.inicio + 1 < 5) {
                    avisos_.informacion("El CP de Beneficiario tiene que tener longitud 5");
                    return;
                }
            }
        }
        if (const std::string faltan = faltanObligatorios(); !faltan.empty()) {
            avisos_.pregunta(std::string(rasgos_.faltanAlModificar) + "\r\n\r\n" + faltan +
                             "\r\n¿Desea rellenarlos ahora?");
        }
        return;
    }
    if (contiene(cajas.nombre, "-")) {
        avisos_.simple("El nombre de la plantilla no puede contener un guión");
        return;
    }
    if (ActualizarCampo(true) == Compromiso::Rechazado) {
        return;
    }
    const std::string nombre = cajas.nombre;
    GuardarPlantilla(nombre);
    cajas.nombre.clear();
}

void EditorPlantilla::GuardarPlantilla(const std::string& nombre) {
    if (const std::string faltan = faltanObligatorios(); !faltan.empty()) {
        if (avisos_.pregunta(std::string(kFaltanConLongitud) + "\r\n\r\n" + faltan +
                             "\r\n¿Desea rellenarlos ahora?")) {
            return;
        }
    }
    // A copy of the template in hand under its new name and this editor's type; it starts single-invoice.
    Plantilla nueva;
    nueva.tipo = tipoEstructura_;
    nueva.descripcion = nombre;
    nueva.principiolinea = principioLinea_;
    nueva.campos = plantilla_.campos;
    nueva.conFila = plantilla_.conFila;
    try {
        comprobarPosiciones(nueva);
        guardarPlantillaNueva(baseDatos_, nueva);
    } catch (const ErrorPlantillaIncorrecta& e) {
        avisos_.informacion(e.what());
        return;
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se pueden guardar la plantilla; Error: ") + e.what());
        return;
    }
    avisos_.informacion("La plantilla ha sido guardada");
    cajas.fecha = 0;
    if (llenarLista() && !lista_.empty()) {
        cbEstructuras_Click(0);
    }
}

void EditorPlantilla::cmdBorrar_Click() {
    if (!borrarDisponible()) {
        return;
    }
    const auto entrada = posicionCargada();
    const std::string texto = entrada ? lista_[*entrada].texto : plantilla_.descripcion;
    if (!avisos_.pregunta("¿Desea borrar la plantilla " + texto + "?")) {
        return;
    }
    try {
        borrarPlantilla(baseDatos_, plantilla_.id);
    } catch (const ErrorTrovanel& e) {
        avisos_.critico(std::string("No se puede borrar la plantilla; Error: ") + e.what());
        return;
    }
    hayPlantilla_ = false;
    if (llenarLista() && !lista_.empty()) {
        cbEstructuras_Click(0);
    }
}

} // namespace trovanel
