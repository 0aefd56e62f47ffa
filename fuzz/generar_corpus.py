#!/usr/bin/env python3
"""Writes the seed corpus of every harness into fuzz/corpus/<harness>/.

Small valid inputs and edge cases, built here byte by byte so that they can be regenerated and
changed: fixed-position text, .xlsx packages (entries stored, not deflated, so that mutations reach the
XML), .xls workbooks in their compound file, SQLite files and command lines. Inputs that once crashed a
harness are added to those folders by hand and are never touched by this script: it only rewrites the
files whose names it makes ("semilla-*").
"""

import os
import sqlite3
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from libro_xls import (EOF_, blanco, blancos, bof, booleano_error, cadena_formula, compuesto, etiqueta,  # noqa: E402
                       etiqueta_sst, f64, flujo_libro, formato, formula, mulrk, numero, registro,
                       resultado_no_numerico, rk, rk_centesimas, sst, u16, xf)

RAIZ = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def guardar(arnes, nombre, datos):
    carpeta = os.path.join(RAIZ, arnes)
    os.makedirs(carpeta, exist_ok=True)
    if isinstance(datos, str):
        datos = datos.encode("latin-1")  # byte for byte: \xNN is that byte
    with open(os.path.join(carpeta, "semilla-" + nombre), "wb") as f:
        f.write(datos)


# ---------------------------------------------------------------------------------------------
# Text input: the example template (one receipt per 244-character line) and the multi-line template
# of the harness (lines keyed "01", "02", "03").

PESOS = [1, 2, 4, 8, 5, 10, 9, 7, 3, 6]


def digito(cifras):
    d = 11 - sum(int(c) * p for c, p in zip(cifras, PESOS)) % 11
    return {10: 1, 11: 0}.get(d, d)


def dc(entidad, oficina, cuenta):
    return "%d%d" % (digito("00" + entidad + oficina), digito(cuenta))


def campo(texto, ancho, derecha=False):
    texto = texto[:ancho]
    return texto.rjust(ancho) if derecha else texto.ljust(ancho)


def linea_ejemplo(ref, nombre, entidad, oficina, cuenta, importe, concepto="CUOTA", titular="",
                  direccion="", localidad="", cp="", control=None):
    control = dc(entidad, oficina, cuenta) if control is None else control
    return (campo(ref, 12) + campo(nombre, 40) + campo(entidad, 4) + campo(oficina, 4) + campo(control, 2) +
            campo(cuenta, 10) + campo(importe, 12, True) + campo(concepto, 40) + campo(titular, 40) +
            campo(direccion, 40) + campo(localidad, 35) + campo(cp, 5))


def varias_lineas(ref, nombre, importe, entidad, oficina, cuenta, conceptos=("CUOTA",), direccion="",
                  localidad="", cp=""):
    lineas = ["01" + campo(ref, 8) + campo(nombre, 25) + campo(importe, 12, True),
              "02" + entidad + oficina + dc(entidad, oficina, cuenta) + cuenta + campo(nombre, 25) +
              campo(direccion, 25) + campo(localidad, 15) + campo(cp, 5)]
    if conceptos:
        lineas.append("03" + "".join(campo(c, 20) for c in conceptos))
    return lineas


def texto():
    buenas = [
        linea_ejemplo("REC-0001", "GARCIA MARTIN LUCIA", "8642", "0101", "3000000101", "125,50",
                      titular="GARCIA MARTIN LUCIA", direccion="CALLE DEL OLMO 14", localidad="MADRID",
                      cp="28013"),
        linea_ejemplo("REC-0002", "PE\xd1A L\xd3PEZ \xc1NGEL", "8642", "0202", "3000000202", "1.250,00"),
    ]
    guardar("texto_csb19", "ejemplo-crlf.txt", "\r\n".join(buenas) + "\r\n")
    guardar("texto_csb19", "ejemplo-lf-sin-final.txt", "\n".join(buenas))
    rechazos = [
        linea_ejemplo("REC-0003", "IMPORTE CERO", "8642", "0101", "3000000101", "0,00"),
        linea_ejemplo("REC-0004", "CUENTA CERO", "8642", "0101", "0000000000", "10,00"),
        linea_ejemplo("REC-0005", "DC MAL", "8642", "0101", "3000000101", "10,00", control="99"),
        linea_ejemplo("REC-0006", "NEGATIVO", "8642", "0101", "3000000101", "-12,50"),
        linea_ejemplo("REC-0007", "LETRAS", "86A2", "01 1", "30000X0101", "12,5O", control="1X"),
        linea_ejemplo("", "", "", "", "", "", control=""),
        "REC-0008CORTA",
        "",
        linea_ejemplo("REC-0009", "MUCHAS CIFRAS", "8642", "0101", "3000000101", "99999999999999,99"),
    ]
    guardar("texto_csb19", "rechazos.txt", "\r\n".join(rechazos) + "\r\n")
    guardar("texto_csb19", "vacio.txt", "")
    guardar("texto_csb19", "solo-finales.txt", "\r\n\r\r\n\n\r")
    guardar("texto_csb19", "cr-sueltos.txt", buenas[0][:100] + "\r" + buenas[0][100:] + "\n" + buenas[1])
    guardar("texto_csb19", "linea-larga.txt", buenas[0] + "X" * 3000 + "\r\n")
    # Receipts written before a line past the harness's cap (half the input) stops the run.
    guardar("texto_csb19", "tope-tras-recibos.txt", "\r\n".join(buenas[:2]) + "\r\n" + "X" * 1200 + "\r\n")
    guardar("texto_csb19", "bytes-nulos.txt", buenas[0][:60] + "\0\0\xff\x80" + buenas[0][64:] + "\r\n")

    multi = (varias_lineas("M0000001", "RUIZ SOLER ANA", "75,00", "8642", "0101", "3000000101",
                           ("CUOTA ENERO", "SEGUNDO CONCEPTO", "ULTIMO"), "PLAZA MAYOR 1", "SORIA", "42001") +
             varias_lineas("M0000002", "SIN CONCEPTOS", "20,00", "8642", "0202", "3000000202", ()) +
             ["01M0000003SOLO CABECERA            5,00"] +
             ["99 LINEA SIN CLAVE", "02" + "1" * 90] +
             varias_lineas("M0000004", "ULTIMO", "1,00", "8642", "0101", "3000000101"))
    guardar("texto_csb19", "varias-lineas.txt", "\r\n".join(multi) + "\r\n")
    guardar("texto_csb19", "varias-lineas-sin-cabecera.txt", "03CONCEPTO HUERFANO\r\n02" + "8642" * 5 + "\r\n")


# ---------------------------------------------------------------------------------------------
# .xlsx: the package parts written by hand, stored without compression.

TIPOS = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Override PartName="/xl/workbook.xml" '
         'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
         '</Types>')
R_OFICINA = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
R_PAQUETE = "http://schemas.openxmlformats.org/package/2006/relationships"
NS_HOJA = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def relaciones(lista):
    cuerpo = "".join('<Relationship Id="%s" Type="%s/%s" Target="%s"%s/>' %
                     (i, R_OFICINA, tipo, destino, ' TargetMode="External"' if externo else "")
                     for i, tipo, destino, externo in lista)
    return '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s">%s</Relationships>' % (R_PAQUETE, cuerpo)


def hoja_xml(filas, prefijo="", extra=""):
    p = prefijo + ":" if prefijo else ""
    xmlns = ' xmlns%s="%s"' % (":" + prefijo if prefijo else "", NS_HOJA)
    return ('<?xml version="1.0" encoding="UTF-8"?><%sworksheet%s><%sdimension ref="A1:C3"/>'
            '<%ssheetData>%s</%ssheetData>%s</%sworksheet>' % (p, xmlns, p, p, filas.replace("<", "<" + p)
                                                              .replace("<" + p + "/", "</" + p), p, extra, p))


def libro_xlsx(hojas, textos=None, estilos=None, fecha1904=False, ruta_libro="xl/workbook.xml",
               mayusculas=False):
    """hojas: list of (name, sheet xml, hidden-or-kind)."""
    carpeta = ruta_libro.rsplit("/", 1)[0] + "/"
    partes = [("[Content_Types].xml", TIPOS),
              ("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="%s"><Relationship Id="rId1" '
               'Type="%s/officeDocument" Target="/%s"/></Relationships>' % (R_PAQUETE, R_OFICINA, ruta_libro))]
    rels = []
    lista = ""
    for n, (nombre, xml, clase) in enumerate(hojas, 1):
        tipo = "chartsheet" if clase == "grafico" else "worksheet"
        destino = "worksheets/sheet%d.xml" % n
        rels.append(("rId%d" % n, tipo, destino, False))
        estado = ' state="hidden"' if clase == "oculta" else ""
        lista += '<sheet name="%s" sheetId="%d"%s r:id="rId%d"/>' % (nombre, n, estado, n)
        parte = carpeta + destino
        partes.append((parte.upper() if mayusculas else parte, xml))
    rels.append(("rIdX", "hyperlink", "http://example.invalid/", True))
    if textos is not None:
        rels.append(("rIdT", "sharedStrings", "sharedStrings.xml", False))
        partes.append((carpeta + "sharedStrings.xml", textos))
    if estilos is not None:
        rels.append(("rIdE", "styles", "styles.xml", False))
        partes.append((carpeta + "styles.xml", estilos))
    pr = '<workbookPr date1904="1"/>' if fecha1904 else "<workbookPr/>"
    partes.append((ruta_libro, '<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" xmlns:r="%s">%s'
                   '<sheets>%s</sheets></workbook>' % (NS_HOJA, R_OFICINA, pr, lista)))
    partes.append((carpeta + "_rels/" + ruta_libro.rsplit("/", 1)[1] + ".rels", relaciones(rels)))
    with tempfile.TemporaryDirectory() as tmp:
        ruta = os.path.join(tmp, "l.xlsx")
        with zipfile.ZipFile(ruta, "w", zipfile.ZIP_STORED) as z:
            for nombre, contenido in partes:
                info = zipfile.ZipInfo(nombre, date_time=(2026, 1, 1, 0, 0, 0))
                z.writestr(info, contenido.encode("utf-8"))
        with open(ruta, "rb") as f:
            return f.read()


def textos_sst(cadenas):
    return ('<?xml version="1.0" encoding="UTF-8"?><sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>' %
            (NS_HOJA, len(cadenas), len(cadenas), "".join("<si>%s</si>" % c for c in cadenas)))


ESTILOS = ('<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="%s"><numFmts count="2">'
           '<numFmt numFmtId="164" formatCode="dd/mm/yyyy hh:mm"/>'
           '<numFmt numFmtId="165" formatCode="#,##0.00 &quot;\u20ac&quot;"/></numFmts>'
           '<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/>'
           '<xf numFmtId="10"/></cellXfs></styleSheet>' % NS_HOJA)


def xlsx():
    celdas = ('<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="inlineStr">'
              '<is><t>Importe</t></is></c></row>'
              '<row r="2"><c r="A2"><v>125.5</v></c><c r="B2" s="1"><v>46096</v></c><c r="C2" s="3"><v>1250.123456</v></c>'
              '<c r="D2" s="2"><v>46096.75</v></c><c r="E2" s="4"><v>0.25</v></c></row>'
              '<row r="3"><c r="A3" t="b"><v>1</v></c><c r="B3" t="e"><v>#DIV/0!</v></c>'
              '<c r="C3" t="str"><f>A1</f><v>calculado</v></c><c r="D3" t="d"><v>2026-03-15T10:30:00</v></c>'
              '<c r="XFD3"><v>1E+300</v></c></row>')
    textos = textos_sst(["<t>Referencia</t>", "<r><t>Nombre </t></r><r><rPr/><t>rico</t></r><rPh><t>x</t></rPh>",
                         "<t xml:space=\"preserve\"> Pe\u00f1a \u20ac </t>"])
    guardar("xlsx", "basico.xlsx", libro_xlsx([("Hoja1", hoja_xml(celdas), "")], textos, ESTILOS))
    guardar("xlsx", "dos-hojas-1904.xlsx",
            libro_xlsx([("Datos", hoja_xml('<row r="1"><c r="A1" s="1"><v>100</v></c></row>'), ""),
                        ("Oculta", hoja_xml('<row><c><v>1</v></c><c><v>2</v></c></row><row><c r="C5"><v>3</v></c></row>'),
                         "oculta"),
                        ("Gr\u00e1fico", '<chartsheet xmlns="%s"/>' % NS_HOJA, "grafico")],
                       None, ESTILOS, fecha1904=True))
    guardar("xlsx", "prefijos-y-huecos.xlsx",
            libro_xlsx([("datos", hoja_xml('<row r="2"><c r="B2" t="s"><v>7</v></c><c r="A2"><v>-0.5</v></c></row>'
                                           '<row r="1048576"><c r="a1048576" t="b"><v>false</v></c></row>',
                                           prefijo="x"), "")],
                       textos_sst(["<t>uno</t>"]), None, ruta_libro="xl/libro.xml", mayusculas=True))
    guardar("xlsx", "hoja-vacia.xlsx", libro_xlsx([("Vacia", hoja_xml(""), "")]))
    guardar("xlsx", "filas-desordenadas.xlsx",
            libro_xlsx([("H", hoja_xml('<row r="3"><c r="A3"><v>1</v></c></row><row r="2"><c r="A2"><v>2</v></c></row>'), "")]))


# ---------------------------------------------------------------------------------------------
# .xls: BIFF records in a compound file (scripts/libro_xls.py).

def xls():
    globales = (registro(0x0022, u16(0)) + formato(164, "dd/mm/yyyy") + xf(0) + xf(14) + xf(164) + xf(10) +
                sst([("Referencia", False), ("Pe\u00f1a \u20ac", True), ("Importe", False)]))
    celdas = (etiqueta_sst(0, 0, 0) + etiqueta_sst(0, 1, 1) + etiqueta_sst(0, 2, 2) +
              numero(1, 0, 125.5) + rk(1, 1, 46096, 1) + numero(1, 2, 46096.5, 2) + rk_centesimas(1, 3, 12550) +
              numero(1, 4, 0.25, 3) +
              mulrk(2, 0, [1, 2, 3]) + blancos(2, 3, 5) + blanco(3, 0) +
              booleano_error(4, 0, 1, False) + booleano_error(4, 1, 7, True) +
              formula(5, 0, f64(3.5)) + formula(5, 1, resultado_no_numerico(0)) + cadena_formula("calculado") +
              formula(5, 2, resultado_no_numerico(1, 1)) + formula(5, 3, resultado_no_numerico(2, 0x2A)) +
              etiqueta(6, 255, "ultima columna"))
    libro = flujo_libro(globales, [("Datos", celdas, 0, 0x10),
                                   ("Gr\u00e1fico", b"", 2, 0x20),
                                   ("Segunda", etiqueta_sst(65535, 0, 2) + rk(0, 0, -5), 0, 0x10)])
    guardar("xls", "basico.xls", compuesto(libro))
    guardar("xls", "mini-flujo.xls", compuesto(flujo_libro(registro(0x0022, u16(1)),
                                                           [("H", rk(0, 0, 40000, 0) + etiqueta(1, 1, "x"), 0, 0x10)]),
                                               mini=True))
    # Cells out of row order, and a chart embedded in the sheet with cells of its own.
    desordenada = (etiqueta(3, 0, "tres") + etiqueta(1, 0, "uno") + bof(0x20) + numero(0, 0, 9) + EOF_ +
                   etiqueta(1, 1, "uno-b") + etiqueta(2, 0, "dos"))
    guardar("xls", "desordenada.xls", compuesto(flujo_libro(b"", [("Hoja", desordenada, 0, 0x10)]), mini=False))
    biff5 = flujo_libro(registro(0x0042, u16(1252)), [("Hoja\xf1", etiqueta(0, 0, "Pe\xf1a", False) +
                                                        numero(0, 1, 2.5), 0, 0x10)], biff8=False)
    guardar("xls", "biff5-book.xls", compuesto(biff5, nombre="Book"))
    cortada = flujo_libro(sst([("una cadena partida en dos registros", True), ("corta", False)], corte=31),
                          [("S", etiqueta_sst(0, 0, 0) + etiqueta_sst(0, 1, 1), 0, 0x10)])
    guardar("xls", "sst-continue.xls", compuesto(cortada))

    # The container alone: each layout the reader walks, with a small stream.
    pequeno = flujo_libro(b"", [("H", rk(0, 0, 1), 0, 0x10)])
    guardar("compuesto", "regular.xls", compuesto(pequeno, mini=False))
    guardar("compuesto", "mini.xls", compuesto(pequeno, mini=True))
    guardar("compuesto", "sector-4096.xls", compuesto(pequeno, desplazamiento=12))
    guardar("compuesto", "varios-flujos.xls",
            compuesto(pequeno, otros=[("\x05SummaryInformation", b"\xfe\xff" + bytes(46)), ("Ole", bytes(20))]))
    guardar("compuesto", "book.xls", compuesto(pequeno, nombre="Book", mini=True))
    # More FAT sectors than the header lists: the rest come from a DIFAT sector.
    guardar("compuesto", "difat.xls", compuesto(pequeno, mini=False, fat_minimo=110))
    guardar("compuesto", "firma-sola.xls", b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(504))


# ---------------------------------------------------------------------------------------------
# SQLite input databases.

def sqlite():
    def base(nombre, sentencias):
        with tempfile.TemporaryDirectory() as tmp:
            ruta = os.path.join(tmp, "b.sqlite")
            con = sqlite3.connect(ruta)
            con.execute("PRAGMA page_size=512")
            con.execute("PRAGMA journal_mode=DELETE")
            for s in sentencias:
                con.execute(*s) if isinstance(s, tuple) else con.execute(s)
            con.commit()
            con.execute("VACUUM")
            con.close()
            with open(ruta, "rb") as f:
                guardar("sqlite", nombre, f.read())

    base("recibos.sqlite", [
        "CREATE TABLE Recibos (Referencia TEXT, Nombre TEXT, Importe REAL, Cuenta INTEGER, Foto BLOB, Nota)",
        ("INSERT INTO Recibos VALUES (?, ?, ?, ?, ?, ?)", ("R1", "Pe\u00f1a \u20ac \u4e2d", 125.5, 30000101, b"\0\1", None)),
        ("INSERT INTO Recibos VALUES (?, ?, ?, ?, ?, ?)", ("R2", "", 1e300, -9223372036854775808, None, 0.1)),
        ("INSERT INTO Recibos VALUES (?, ?, ?, ?, ?, ?)", (None, "x" * 300, -0.0, 0, b"", "texto")),
        "CREATE TABLE \"Tabla \"\"rara\"\", 1\" (\"col \u00f1\" TEXT, [otra] NUMERIC)",
        "INSERT INTO \"Tabla \"\"rara\"\", 1\" VALUES ('a', 3.0)",
        "CREATE VIEW Vista AS SELECT * FROM Recibos",
        "CREATE INDEX Indice ON Recibos (Referencia)",
    ])
    base("sin-rowid.sqlite", [
        "CREATE TABLE Clientes (id INTEGER PRIMARY KEY, nif TEXT NOT NULL UNIQUE, alta TEXT DEFAULT '01/01/2026')",
        "CREATE TABLE Pares (a TEXT, b TEXT, PRIMARY KEY (a, b)) WITHOUT ROWID",
        "INSERT INTO Clientes (nif) VALUES ('12345678Z'), ('B00000000')",
        "INSERT INTO Pares VALUES ('x', 'y'), ('z', '')",
    ])
    base("vacia.sqlite", [])
    guardar("sqlite", "no-es-base.sqlite", "SQLite format 3\0" + "x" * 84)


# ---------------------------------------------------------------------------------------------
# Command lines: arguments separated by NUL, as the shell hands them over.

def parametros():
    lineas = {
        "csb19.txt": "remesa.txt,remesa.out,9,1,05032026,1",
        "tabuladores.txt": "C:\\ruta con blancos\\entrada.txt\tsalida.out\t9\t1\t05032026\t1",
        "separadores-seguidos.txt": ",,remesa.txt,,\t,salida,,",
        "argumentos-sueltos.txt": "remesa.txt,\0salida.out\0 9 \0\0",
        "demasiados.txt": ",".join(str(i) for i in range(20)),
        "blancos.txt": "   ",
        "vacia.txt": "",
        "csb34.txt": "e.txt,s.out,1,2,05032026,0,CALLE MAYOR 1,MADRID",
    }
    for nombre, linea in lineas.items():
        guardar("parametros", nombre, linea)


# ---------------------------------------------------------------------------------------------
# Templates with hostile positions: a type byte (CSB19, CSB58, CSB34T, ZOP), principiolinea, then per
# field: id_campo, name (index in the harness's list), mandatory bit, inicio, fin, inilinea and finlinea
# as 64-bit big-endian numbers, a two-byte valorlinea and a valorcampo of the length its byte gives.

def plantilla():
    import struct

    def campo(id_campo, nombre, inicio, fin, inilinea=0, finlinea=0, obligatorio=0, valorlinea=b"  ",
              valorcampo=b""):
        return (bytes([id_campo, nombre, obligatorio]) + struct.pack(">qqqq", inicio, fin, inilinea, finlinea)
                + valorlinea + bytes([len(valorcampo)]) + valorcampo)

    buena = campo(0, 0, 3, 10) + campo(1, 1, 11, 35, obligatorio=1) + campo(2, 4, 36, 39) + \
        campo(3, 5, 40, 43) + campo(4, 6, 44, 45) + campo(5, 7, 46, 55) + campo(6, 3, 62, 71)
    guardar("plantilla", "csb19-valida.bin", bytes([0, 0xFF]) + buena)
    guardar("plantilla", "zop-valida.bin", bytes([3, 0xFF]) + buena)
    guardar("plantilla", "extremos.bin", bytes([0, 0xFF]) + campo(0, 1, -2**63, 2**63 - 1, obligatorio=1)
            + campo(1, 3, 2**63 - 1, -2**63) + campo(2, 0, 1, 5, -2**63, 2**63 - 1))
    guardar("plantilla", "sin-pieza-obligatoria.bin", bytes([1, 0xFF]) + campo(0, 2, 0, 25, obligatorio=1))
    guardar("plantilla", "claves.bin", bytes([2, 0]) + campo(0, 8, 3, 10, 1, 2, valorlinea=b"01")
            + campo(1, 9, 11, 35, 1, 2, valorlinea=b"01") + campo(2, 3, 36, 47, 2, 1, valorlinea=b"01"))
    guardar("plantilla", "valor-con-control.bin", bytes([0, 0xFF]) + campo(0, 1, 0, 0, valorcampo=b"A\x00\x0c\r"))


def main():
    texto()
    xlsx()
    xls()
    sqlite()
    parametros()
    plantilla()
    return 0


if __name__ == "__main__":
    sys.exit(main())
