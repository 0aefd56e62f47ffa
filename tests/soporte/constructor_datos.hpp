#pragma once

// Templates and parties written into a test database with bound values, so each test states only what
// matters to it. crear() writes the rows (templates and presenters in one transaction of their own, so not
// inside another) and returns the new id.
//
//     const auto plantilla = ConstructorPlantilla(bd)
//                                .descripcion("Recibos en varias lineas")
//                                .campo("CodigoReferencia", 3, 10).clave("01", 1, 2).principio()
//                                .campo("Importe", 11, 22).clave("01", 1, 2)
//                                .campo("ReferenciaInterna").valor("LOTE-03")
//                                .crear();
//     const auto pre = ConstructorPresentador(bd).csb("CSB19").nif("B12345678").usuario("ana").crear();
//     const auto emi = ConstructorEmisor(bd).presentador(pre).nif("B12345678").crear();

#include "base_datos.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trovanel::pruebas {

// One row of detalleestructura. Positions 0, 0: the input does not carry the field; inilinea 0: no line
// key. The order of the members lets a table row name only the first ones.
struct CampoPlantilla {
    std::string campo;
    int inicio = 0;
    int fin = 0;
    std::string valorcampo{};
    int inilinea = 0;
    int finlinea = 0;
    std::string valorlinea{};
    bool obligatorio = false;
    int longitud = 0;
};

// One row of multifactura: the fields an invoice line carries joined by "@" (the first names the
// invoice key field), the key value, and inicio (other than 0: the keys count up).
struct FilaMultifactura {
    std::string campos;
    std::string valor{};
    int inicio = 0;
};

// A template (estructura) with its fields in id_campo order 0, 1, 2... and its multi-invoice rows.
// Without other settings: type "CSB19", description "prueba", no order-start field, single invoice.
class ConstructorPlantilla {
public:
    explicit ConstructorPlantilla(BaseDatos& bd) : bd_(bd) {}

    ConstructorPlantilla& tipo(std::string tipo);
    ConstructorPlantilla& descripcion(std::string descripcion);
    // The id_campo whose line key opens an order; -1 for none.
    ConstructorPlantilla& principioLinea(int idCampo);
    // Stored as given; without it the template is multi-invoice when it has multi-invoice rows.
    ConstructorPlantilla& multifactura(bool multifactura);

    // Adds a field; the settings below change the last field added.
    ConstructorPlantilla& campo(std::string nombre, int inicio = 0, int fin = 0);
    ConstructorPlantilla& campo(CampoPlantilla campo);
    ConstructorPlantilla& campos(const std::vector<CampoPlantilla>& campos);
    ConstructorPlantilla& valor(std::string valorcampo);
    ConstructorPlantilla& clave(std::string valorlinea, int inilinea, int finlinea);
    ConstructorPlantilla& obligatorio(bool obligatorio = true);
    ConstructorPlantilla& longitud(int longitud);
    // The last field's line key opens an order.
    ConstructorPlantilla& principio();

    ConstructorPlantilla& filaMultifactura(FilaMultifactura fila);

    // Writes the template; returns its id_estructura.
    std::int64_t crear();

private:
    CampoPlantilla& ultimo();

    BaseDatos& bd_;
    std::string tipo_ = "CSB19";
    std::string descripcion_ = "prueba";
    int principioLinea_ = -1;
    std::optional<bool> multifactura_;
    std::vector<CampoPlantilla> campos_;
    std::vector<FilaMultifactura> filas_;
};

// A presenter or payment ordering party (presentadores), optionally linked to users (usuarios) for the
// kind of file it serves. Unset columns keep the table's defaults ("").
class ConstructorPresentador {
public:
    explicit ConstructorPresentador(BaseDatos& bd) : bd_(bd) {}

    // "cobros" or "pagos".
    ConstructorPresentador& tipo(std::string tipo);
    ConstructorPresentador& nif(std::string nif);
    ConstructorPresentador& nombre(std::string nombre);
    ConstructorPresentador& sufijo(std::string sufijo);
    ConstructorPresentador& cuenta(std::string cuenta);
    // "CSB19", "CSB58", "ZOP" or "pagos": also the type of the user links.
    ConstructorPresentador& csb(std::string csb);
    ConstructorPresentador& usuario(std::string usuario);

    // Writes the party and its user links; returns its id_presentador.
    std::int64_t crear();

private:
    BaseDatos& bd_;
    std::string tipo_;
    std::string nif_;
    std::string nombre_;
    std::string sufijo_;
    std::string cuenta_;
    std::string csb_;
    std::vector<std::string> usuarios_;
};

// An issuer of a collection presenter (emisores). Unset columns keep the table's defaults.
class ConstructorEmisor {
public:
    explicit ConstructorEmisor(BaseDatos& bd) : bd_(bd) {}

    ConstructorEmisor& presentador(std::int64_t idPresentador);
    ConstructorEmisor& nif(std::string nif);
    ConstructorEmisor& sufijo(std::string sufijo);
    ConstructorEmisor& nombre(std::string nombre);
    ConstructorEmisor& cuenta(std::string cuenta);

    // Writes the issuer; returns its id_emi.
    std::int64_t crear();

private:
    BaseDatos& bd_;
    std::int64_t presentador_ = 0;
    std::string nif_;
    std::string sufijo_;
    std::string nombre_;
    std::string cuenta_;
};

// Links a user to a party for one kind of file, as the accounts window does.
void enlazarUsuario(BaseDatos& bd, const std::string& usuario, const std::string& tipo,
                    std::int64_t idPresentador);

} // namespace trovanel::pruebas
