#!/usr/bin/env python3
"""Writes tests/data/filas/remesas.xls, an Excel 97-2003 (BIFF8) workbook with two sheets:

- "Recibos": the receipts of tests/data/csb19/linea/entrada.txt, one row per line;
- "Creditos": the credits of tests/data/csb58/linea/entrada.txt, one row per line.

Each row holds the pieces of the line's placed fields, cut as the text reader cuts them, one per column
from A in the template's order, and then the line's number. A piece that starts past the end of its line
leaves no cell. The amounts are numbers, stored as Excel stores them (RK when the value fits one, NUMBER
otherwise); every other piece is a shared string, kept with its blanks. So the workbook gives the bank files
and logs written by hand for those texts. Run it again only when those inputs change:

    python3 scripts/generar_remesas_xls.py
"""

import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from libro_xls import (compuesto, etiqueta_sst, flujo_libro, numero, registro, rk, rk_centesimas,  # noqa: E402
                       u8, u16, u32)

RAIZ = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
DATOS = os.path.join(RAIZ, "tests", "data")

# The placed fields of the one-line norm 19 template of the golden tests (name, first, last position).
CAMPOS_CSB19 = [("CodigoReferencia", 1, 8), ("NombreTitularRecibo", 9, 33), ("Entidad", 34, 37),
                ("Oficina", 38, 41), ("DC", 42, 43), ("Cuenta", 44, 53), ("Importe", 54, 65),
                ("Concepto1", 66, 85), ("Concepto2", 86, 100), ("Concepto4", 101, 115),
                ("Concepto5", 116, 130), ("NombreTitularCuenta", 131, 155), ("Direccion", 156, 180),
                ("Localidad", 181, 195), ("CP", 196, 200)]

XF_CELDA = 15  # the first cell format, after the 15 style formats


def campos_csb58():
    """The placed fields of template 100, from the script that the tests load."""
    with open(os.path.join(DATOS, "csb58", "linea", "plantilla.sql"), encoding="cp1252") as f:
        texto = f.read()
    patron = r"detalleestructura .*? VALUES \(100, (\d+), '(\w+)', (\d+), (\d+),"
    campos = sorted((int(i), nombre, int(a), int(b)) for i, nombre, a, b in re.findall(patron, texto))
    return [(nombre, a, b) for _, nombre, a, b in campos if a > 0]


def filas(ruta, campos):
    """Rows as the tests build them from a text: the pieces (None: no cell), then the line number."""
    with open(ruta, "rb") as f:
        texto = f.read().decode("cp1252")
    resultado = []
    inicio = 0
    while inicio < len(texto):
        fin = texto.find("\n", inicio)
        fin = len(texto) if fin < 0 else fin
        linea = texto[inicio:fin]
        inicio = fin + 1
        if linea.endswith("\r"):
            linea = linea[:-1]
        fila = []
        for nombre, a, b in campos:
            pieza = linea[a - 1:b] if a - 1 < len(linea) else ""
            fila.append((nombre, pieza or None))
        fila.append(("Linea", len(resultado) + 1))
        resultado.append(fila)
    return resultado


def rk_ieee(v):
    """The RK form that keeps the 30 high bits of the double, when they hold it all."""
    bits = struct.unpack("<Q", struct.pack("<d", v))[0]
    return None if bits & 0x3FFFFFFFF else (bits >> 32) & 0xFFFFFFFC


def celda_numero(f, c, v):
    if v == int(v) and -(1 << 29) <= v < (1 << 29):
        return rk(f, c, int(v), XF_CELDA)
    ieee = rk_ieee(v)
    if ieee is not None:
        return registro(0x027E, u16(f) + u16(c) + u16(XF_CELDA) + u32(ieee))
    centesimas = round(v * 100)
    if centesimas / 100 == v and -(1 << 29) <= centesimas < (1 << 29):
        return rk_centesimas(f, c, centesimas, XF_CELDA)
    return numero(f, c, v, XF_CELDA)


def importe(pieza):
    """The amount text as a number: "." groups thousands, "," is the decimal point."""
    return float(pieza.strip().replace(".", "").replace(",", "."))


class Cadenas:
    """The shared strings: each text once, in order of first use."""

    def __init__(self):
        self.indices = {}
        self.usos = 0

    def indice(self, texto):
        self.usos += 1
        return self.indices.setdefault(texto, len(self.indices))

    def registro(self):
        cuerpo = u32(self.usos) + u32(len(self.indices))
        for texto in self.indices:
            # Latin letters as one byte each, as Excel does; the others' text in UTF-16.
            if all(ord(ch) < 0x80 for ch in texto):
                cuerpo += u16(len(texto)) + u8(0) + texto.encode("latin-1")
            else:
                cuerpo += u16(len(texto)) + u8(1) + texto.encode("utf-16-le")
        assert len(cuerpo) <= 8224, "the shared strings need CONTINUE records"
        return registro(0x00FC, cuerpo)


def hoja(filas_hoja, cadenas, primera):
    celdas = b""
    ultima_columna = 0
    for f, fila in enumerate(filas_hoja):
        for c, (nombre, valor) in enumerate(fila):
            if valor is None:
                continue
            ultima_columna = max(ultima_columna, c)
            if nombre == "Linea":
                celdas += celda_numero(f, c, valor)
            elif nombre == "Importe":
                celdas += celda_numero(f, c, importe(valor))
            else:
                celdas += etiqueta_sst(f, c, cadenas.indice(valor), XF_CELDA)
    dimensiones = registro(0x0200, u32(0) + u32(len(filas_hoja)) + u16(0) + u16(ultima_columna + 1) + u16(0))
    ventana = registro(0x023E, u16(0x06B6 if primera else 0x00B6) + u16(0) + u16(0) + u32(64) + u16(0) +
                       u16(0) + u32(0))
    return dimensiones + celdas + ventana


def fuente():
    nombre = "Arial".encode("latin-1")
    return registro(0x0031, u16(200) + u16(0) + u16(0x7FFF) + u16(400) + u16(0) + u8(0) + u8(0) + u8(0) +
                    u8(0) + u8(len(nombre)) + u8(0) + nombre)


def formato_celda(estilo):
    # Font 0, General, bottom-aligned, no borders, automatic pattern colours.
    return registro(0x00E0, u16(0) + u16(0) + u16(0xFFF5 if estilo else 0x0001) + u8(0x20) + u8(0) + u8(0) +
                    u8(0) + u32(0) + u32(0) + u16(64 | (65 << 7)))


def libro():
    cadenas = Cadenas()
    recibos = hoja(filas(os.path.join(DATOS, "csb19", "linea", "entrada.txt"), CAMPOS_CSB19), cadenas, True)
    creditos = hoja(filas(os.path.join(DATOS, "csb58", "linea", "entrada.txt"), campos_csb58()), cadenas,
                    False)
    globales = (registro(0x0042, u16(1200)) +
                registro(0x003D, u16(0) + u16(0) + u16(0x4000) + u16(0x2000) + u16(0x0038) + u16(0) + u16(0) +
                         u16(1) + u16(0x0258)) +
                registro(0x0022, u16(0)) +
                fuente() * 4 +
                b"".join(formato_celda(True) for _ in range(XF_CELDA)) + formato_celda(False) +
                registro(0x0293, u16(0x8000) + u8(0) + u8(0xFF)))
    flujo = flujo_libro(globales, [("Recibos", recibos, 0, 0x10), ("Creditos", creditos, 0, 0x10)],
                        tras_lista=cadenas.registro())
    return compuesto(flujo, mini=False)


def main():
    carpeta = os.path.join(DATOS, "filas")
    os.makedirs(carpeta, exist_ok=True)
    with open(os.path.join(carpeta, "remesas.xls"), "wb") as f:
        f.write(libro())
    return 0


if __name__ == "__main__":
    sys.exit(main())
