#include "modelo_entrada.hpp"

#include "avisos.hpp"
#include "base_datos.hpp"
#include "base_datos_programa.hpp"
#include "caracteres.hpp"
#include "configuracion.hpp"
#include "conversores.hpp"
#include "entrada_excel_access.hpp"
#include "error.hpp"
#include "estado_ejecucion.hpp"
#include "libro_excel.hpp"
#include "origen_access.hpp"
#include "reloj.hpp"
#include "texto.hpp"
#include "tipos_plantilla.hpp"

namespace trovanel {

namespace {

// The family of a type code, blanks around it ignored.
std::optional<Familia> familiaDe(std::string_view tipoEstructura) {
    const auto tipo = buscarTipoPlantilla(Trim(tipoEstructura));
    return tipo ? std::optional<Familia>(tipo->familia) : std::nullopt;
}

bool esCSB58(std::string_view tipoEstructura) {
    return familiaDe(tipoEstructura) == Familia::CSB58;
}

} // namespace

std::string tipoUsuarioDe(std::string_view tipoEstructura) {
    const auto tipo = buscarTipoPlantilla(Trim(tipoEstructura));
    if (!tipo) {
        return kTipoZOP;
    }
    switch (tipo->familia) {
    case Familia::CSB34:
        // The certified-payment codes count only as they stand, without blanks around them.
        if (tipo->codigoBase == "PAGOSC" && !buscarTipoPlantilla(tipoEstructura)) {
            return kTipoZOP;
        }
        return kTipoPagos;
    case Familia::CSB19:
        return kTipoCSB19;
    case Familia::CSB58:
        return kTipoCSB58;
    case Familia::ZOP:
        return kTipoZOP;
    }
    return kTipoZOP;
}

bool esCobro(std::string_view tipoUsuario) {
    return tipoUsuario != kTipoPagos && tipoUsuario != kTipoZOP;
}

VisibilidadFamilia visibilidadDe(std::string_view tipoUsuario) {
    VisibilidadFamilia v;
    const bool cobro = esCobro(tipoUsuario);
    v.ordenante = !cobro;
    v.presentadorEmisor = cobro;
    v.fechaProceso = tipoUsuario != kTipoCSB58;
    v.cabeceraCSB34 = tipoUsuario == kTipoPagos;
    v.tituloPresentador = cobro ? "Seleccionar Presentador" : "Seleccionar Ordenante";
    return v;
}

std::string mensajeSinPresentadores(std::string_view tipoUsuario) {
    std::string texto =
        esCobro(tipoUsuario) ? "No tiene datos de presentadores" : "No dispone de datos de Ordenante";
    texto += "\r\nPuede importar el fichero de cuentas";
    texto += "\r\no añadir los datos de forma manual desde la opción CABECERAS";
    return texto;
}

std::string cuentaConGuiones(std::string_view cuenta) {
    return Mid(cuenta, 1, 4) + "-" + Mid(cuenta, 5, 4) + "-" + Mid(cuenta, 9, 2) + "-" + Mid(cuenta, 11, 10);
}

TipoEntrada entradaDe(std::string_view tipoEstructura) {
    const std::string sufijo = Right(tipoEstructura, 2);
    if (sufijo == "Ex") {
        return TipoEntrada::Excel;
    }
    if (sufijo == "Ac") {
        return TipoEntrada::Access;
    }
    return TipoEntrada::Texto;
}

std::string filtroEntrada(std::string_view tipoEstructura) {
    switch (entradaDe(tipoEstructura)) {
    case TipoEntrada::Excel:
        return "Libros Excel (*.xls *.xlsx)";
    case TipoEntrada::Access:
        return filtroBasesDatos("Base Datos Access");
    case TipoEntrada::Texto:
        break;
    }
    return "Todos los ficheros (*)";
}

bool dialogo_entrada::FechaCorrecta(const std::string& dia, const std::string& mes, std::string& anio) {
    if (anio.size() == 2) {
        anio = "20" + anio;
    }
    if (anio.size() != 4 || !soloDigitos(anio)) {
        return false;
    }
    const auto numeroMes = leerEntero(mes);
    if (!numeroMes || *numeroMes < 1 || *numeroMes > 12) {
        return false;
    }
    const std::string textoDia = Trim(dia);
    if (!soloDigitos(textoDia)) {
        return false;
    }
    const auto numeroDia = leerEntero(textoDia);
    const auto numeroAnio = leerEntero(anio);
    return numeroDia && numeroAnio &&
           fechaValida(static_cast<int>(*numeroAnio), static_cast<int>(*numeroMes),
                       static_cast<int>(*numeroDia));
}

std::string fechaProcesoDDMMAA(std::string_view dia, std::string_view mes, std::string_view anio) {
    auto dosCifras = [](std::string_view texto) {
        return Trim(texto).size() < 2 ? "0" + std::string(texto) : std::string(texto);
    };
    return dosCifras(dia) + dosCifras(mes) +
           (anio.size() == 4 ? std::string(anio.substr(2, 2)) : std::string(anio));
}

void ModeloEntrada::elegirPlantilla(std::int64_t idEstructura, const std::string& tipo) {
    gTipoEstructura_ = tipo;
    idEstructura_ = idEstructura;
    tipoUsuario_ = tipoUsuarioDe(tipo);
}

bool ModeloEntrada::elegirEntrada(const std::filesystem::path& entrada,
                                  const std::filesystem::path& carpetaPrograma, Avisos& avisos) {
    // The same file by device and inode: another spelling of the path, a link to it, a hard link.
    std::error_code error;
    if (std::filesystem::equivalent(entrada, carpetaPrograma / kNombreBaseDatos, error)) {
        avisos.informacion(kEntradaBaseDatosPrograma);
        return false;
    }
    ficheroEntrada_ = entrada;
    const RutasConversion rutas = derivarRutasConversion(entrada);
    ficheroSalida_ = rutas.salida;
    gFicheroLog_ = rutas.log;
    return true;
}

bool ModeloEntrada::seleccionCompleta(const SeleccionEntrada& seleccion, std::optional<Familia> familia,
                                      Avisos& avisos) const {
    if (enBlanco(seleccion.textoPlantilla)) {
        avisos.informacion("Por favor seleccione una plantilla");
        return false;
    }
    if (enBlanco(seleccion.textoPresentador) || !seleccion.idPresentador) {
        avisos.informacion("Por favor seleccione un presentador");
        return false;
    }
    if (esCobro(tipoUsuario_) && (enBlanco(seleccion.textoEmisor) || !seleccion.idEmisor)) {
        avisos.informacion("Seleccione un emisor");
        return false;
    }
    if (familia == Familia::CSB34 && (seleccion.detalleCargo < 0 || enBlanco(seleccion.domicilioOrdenante) ||
                                      enBlanco(seleccion.plazaOrdenante))) {
        avisos.informacion("Por favor complete los datos de la cabecera");
        return false;
    }
    return true;
}

ParametrosConversion ModeloEntrada::parametrosDe(const SeleccionEntrada& seleccion, Familia familia) const {
    ParametrosConversion parametros;
    parametros.rutaEntrada = ficheroEntrada_;
    parametros.rutaSalida = ficheroSalida_;
    parametros.idEstructura = idEstructura_;
    parametros.idPresentador = *seleccion.idPresentador;
    parametros.gFechaProceso = fechaProceso_;
    parametros.gHojaExcel = hojaExcel_;
    parametros.gTablaAccess = tablaAccess_;
    parametros.gFicheroLog = gFicheroLog_;
    parametros.gTipoEstructura = gTipoEstructura_;
    if (familia == Familia::CSB19 || familia == Familia::CSB58) {
        parametros.idEmisor = *seleccion.idEmisor;
    }
    if (familia == Familia::CSB34) {
        parametros.detalleCargo = seleccion.detalleCargo == 0 ? "0" : "1";
        parametros.domicilioOrdenante = seleccion.domicilioOrdenante;
        parametros.plazaOrdenante = seleccion.plazaOrdenante;
    }
    return parametros;
}

std::optional<ResultadoConversion> ModeloEntrada::procesar(SeleccionEntrada& seleccion, Entorno& entorno,
                                                           const RegistroConversores& registro) {
    // Norm 58 files carry no process date: the dialog hides it.
    if (!esCSB58(gTipoEstructura_) &&
        !dialogo_entrada::FechaCorrecta(seleccion.dia, seleccion.mes, seleccion.anio)) {
        entorno.avisos.informacion("La fecha de proceso es incorrecta");
        return std::nullopt;
    }
    fechaProceso_ = fechaProcesoDDMMAA(seleccion.dia, seleccion.mes, seleccion.anio);

    const std::string codigo = Trim(gTipoEstructura_);
    if (Right(codigo, 2) == "Ex" && entorno.libroEntrada && !entorno.libroEntrada->gLibroAbierto) {
        // The previous Excel run closed the workbook that the file choice opened.
        AbrirLibroExcelRuta(*entorno.libroEntrada, entorno.avisos);
    }

    const auto tipo = buscarTipoPlantilla(codigo);
    if (!seleccionCompleta(seleccion, tipo ? std::optional(tipo->familia) : std::nullopt, entorno.avisos)) {
        return std::nullopt;
    }

    const Conversor* conversor = tipo ? registro.buscar(tipo->familia) : nullptr;
    if (tipo && conversor == nullptr) {
        entorno.avisos.informacion(mensajeSinConversor(tipo->codigoBase));
        return std::nullopt;
    }
    ResultadoConversion resultado;
    if (conversor == nullptr) {
        resultado.clase = ResultadoConversion::Clase::Fallido;
        resultado.mensaje = "Plantilla incorrecta";
        resultado.log = gFicheroLog_;
        entorno.avisos.informacion(resultado.mensaje);
    } else {
        EstadoEjecucion estado;
        ParametrosConversion parametros = parametrosDe(seleccion, tipo->familia);
        // The replacement table is read before the conversion: one that cannot be used stops it, rather
        // than leave a bank file without the replacements asked for. It goes into the bank file as the
        // file is written, so only a file this run puts in place has it, and a failure is the run's.
        if (configuracion_.gCaracteres) {
            auto tabla = CargarCaracteres(entorno.carpetaPrograma, entorno.avisos);
            if (!tabla) {
                return std::nullopt;
            }
            parametros.sustituirCaracteres = std::move(tabla->sustituir);
        }
        resultado = ejecutarConversor(*conversor, estado, entorno, parametros);
        // Refused before anything was read or written: its message was the whole answer, and the bank
        // file it named is someone else's file, not one to rewrite.
        if (resultado.clase == ResultadoConversion::Clase::RechazadoAntesDeLeer) {
            return std::nullopt;
        }
    }
    return resultado;
}

} // namespace trovanel
