"""BIFF records and the compound file that holds them: enough to write small .xls workbooks byte by byte.

Shared by the fuzz seed corpus (fuzz/generar_corpus.py) and the workbooks of the tests
(scripts/generar_remesas_xls.py). Every function returns bytes.
"""

import struct


def u8(v):
    return struct.pack("<B", v & 0xFF)


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def f64(v):
    return struct.pack("<d", v)


def registro(tipo, cuerpo):
    return u16(tipo) + u16(len(cuerpo)) + cuerpo


def bof(dt, biff8=True):
    if biff8:
        return registro(0x0809, u16(0x0600) + u16(dt) + u16(0x0DBB) + u16(0x07CC) + u32(0x41) + u32(6))
    return registro(0x0809, u16(0x0500) + u16(dt) + u16(0x0DBB) + u16(0x07CC))


EOF_ = registro(0x000A, b"")


def numero(f, c, v, xf=0):
    return registro(0x0203, u16(f) + u16(c) + u16(xf) + f64(v))


def rk(f, c, v, xf=0):
    return registro(0x027E, u16(f) + u16(c) + u16(xf) + u32(((v << 2) | 2) & 0xFFFFFFFF))


def rk_centesimas(f, c, v, xf=0):
    return registro(0x027E, u16(f) + u16(c) + u16(xf) + u32(((v << 2) | 3) & 0xFFFFFFFF))


def mulrk(f, c, valores):
    return registro(0x00BD, u16(f) + u16(c) + b"".join(u16(0) + u32((v << 2) | 2) for v in valores) +
                    u16(c + len(valores) - 1))


def etiqueta_sst(f, c, i, xf=0):
    return registro(0x00FD, u16(f) + u16(c) + u16(xf) + u32(i))


def etiqueta(f, c, texto, biff8=True):
    datos = texto.encode("latin-1")
    return registro(0x0204, u16(f) + u16(c) + u16(0) + u16(len(datos)) + (u8(0) if biff8 else b"") + datos)


def blanco(f, c):
    return registro(0x0201, u16(f) + u16(c) + u16(0))


def blancos(f, c, ultima):
    return registro(0x00BE, u16(f) + u16(c) + b"".join(u16(0) for _ in range(c, ultima + 1)) + u16(ultima))


def booleano_error(f, c, valor, error):
    return registro(0x0205, u16(f) + u16(c) + u16(0) + u8(valor) + u8(1 if error else 0))


def formula(f, c, resultado, xf=0):
    return registro(0x0006, u16(f) + u16(c) + u16(xf) + resultado + u16(0) + u32(0) + u16(3) + u8(0x1E) + u16(1))


def resultado_no_numerico(tipo, valor=0):
    return u8(tipo) + u8(0) + u8(valor) + u8(0) + u8(0) + u8(0) + u16(0xFFFF)


def cadena_formula(texto):
    return registro(0x0207, u16(len(texto)) + u8(0) + texto.encode("latin-1"))


def sst(cadenas, corte=None):
    """cadenas: (text, wide). corte cuts the record there into a CONTINUE, with its option byte."""
    cuerpo = u32(len(cadenas)) + u32(len(cadenas))
    for texto, ancha in cadenas:
        cuerpo += u16(len(texto)) + (u8(1) + texto.encode("utf-16-le") if ancha else u8(0) + texto.encode("latin-1"))
    if corte is None:
        return registro(0x00FC, cuerpo)
    primero, resto = cuerpo[:corte], cuerpo[corte:]
    return registro(0x00FC, primero) + registro(0x003C, u8(1) + resto)


def formato(ifmt, texto):
    return registro(0x041E, u16(ifmt) + u16(len(texto)) + u8(1) + texto.encode("utf-16-le"))


def xf(ifmt):
    return registro(0x00E0, u16(0) + u16(ifmt) + bytes(16))


def flujo_libro(globales, hojas, biff8=True, tras_lista=b""):
    """hojas: (name, records, kind in the list, dt in its BOF). tras_lista: global records that go after
    the sheet list (Excel writes its shared strings there)."""
    desplazamiento = len(bof(5, biff8)) + len(globales) + len(tras_lista) + len(EOF_)
    for nombre, _, _, _ in hojas:
        desplazamiento += 4 + 7 + (1 if biff8 else 0) + len(nombre.encode("latin-1"))
    lista = b""
    cuerpos = b""
    for nombre, registros, tipo, dt in hojas:
        n = nombre.encode("latin-1")
        lista += registro(0x0085, u32(desplazamiento + len(cuerpos)) + u8(0) + u8(tipo) + u8(len(n)) +
                          (u8(0) if biff8 else b"") + n)
        cuerpos += bof(dt, biff8) + registros + EOF_
    return bof(5, biff8) + globales + lista + tras_lista + EOF_ + cuerpos


FIN = 0xFFFFFFFE
LIBRE = 0xFFFFFFFF
FAT = 0xFFFFFFFD
DIFAT = 0xFFFFFFFC


def entrada_directorio(nombre, tipo, izquierda, derecha, hijo, inicio, tamano):
    n = nombre.encode("utf-16-le")
    e = n.ljust(64, b"\0") + u16(len(n) + 2) + u8(tipo) + u8(1) + u32(izquierda) + u32(derecha) + u32(hijo)
    return e.ljust(0x74, b"\0") + u32(inicio) + u32(tamano) + u32(0)


def compuesto(flujo, nombre="Workbook", mini=None, desplazamiento=9, fat_minimo=1, otros=()):
    """A compound file with the workbook stream; mini=True keeps a stream under 4096 bytes in the mini
    stream. otros: further (name, bytes) streams in the root storage, kept in regular chains."""
    sector = 1 << desplazamiento
    if mini is None:
        mini = len(flujo) < 4096
    if not mini and len(flujo) < 4096:
        flujo = flujo.ljust(4096, b"\0")
    cadenas = []  # (what, bytes) laid out after the FAT sectors, in order
    if mini:
        mini_flujo = flujo.ljust((len(flujo) + 63) // 64 * 64, b"\0")
        n_mini = len(mini_flujo) // 64
        fat_mini = b"".join(u32(FIN if i == n_mini - 1 else i + 1) for i in range(n_mini))
        fat_mini = fat_mini.ljust((len(fat_mini) + sector - 1) // sector * sector, b"\xff")
        cadenas.append(("minifat", fat_mini))
        cadenas.append(("mini", mini_flujo))
    else:
        cadenas.append(("flujo", flujo))
    for otro_nombre, otro in otros:
        cadenas.append((otro_nombre, otro.ljust(4096, b"\0")))
    entradas_dir = 2 + len(otros)
    directorio_bytes = entradas_dir * 128
    sectores_dir = (directorio_bytes + sector - 1) // sector
    cadenas.insert(0, ("directorio", b"\0" * directorio_bytes))

    def sectores_de(datos):
        return (len(datos) + sector - 1) // sector

    datos_sectores = sum(sectores_de(d) for _, d in cadenas)
    por_fat = sector // 4
    n_fat = fat_minimo
    n_difat = 0
    while True:
        n_difat = max(0, (n_fat - 109 + por_fat - 2) // (por_fat - 1)) if n_fat > 109 else 0
        if n_fat * por_fat >= n_fat + n_difat + datos_sectores:
            break
        n_fat += 1
    fat = [LIBRE] * (n_fat * por_fat)
    siguiente = 0
    ids_fat = list(range(siguiente, siguiente + n_fat))
    for s in ids_fat:
        fat[s] = FAT
    siguiente += n_fat
    ids_difat = list(range(siguiente, siguiente + n_difat))
    for s in ids_difat:
        fat[s] = DIFAT
    siguiente += n_difat
    inicios = {}
    cuerpo = b""
    for que, datos in cadenas:
        n = sectores_de(datos)
        inicios[que] = siguiente
        for i in range(n):
            fat[siguiente + i] = FIN if i == n - 1 else siguiente + i + 1
        siguiente += n
        cuerpo += datos.ljust(n * sector, b"\0")

    # Directory: root, the workbook stream, then the others as its right siblings.
    raiz_inicio, raiz_tamano = (inicios["mini"], len(cadenas[[q for q, _ in cadenas].index("mini")][1])) \
        if mini else (FIN, 0)
    entradas = [entrada_directorio("Root Entry", 5, LIBRE, LIBRE, 1, raiz_inicio, raiz_tamano)]
    nombres = [(nombre, inicios.get("flujo", 0) if not mini else 0, len(flujo))] + \
              [(n, inicios[n], len(d)) for n, d in otros]
    for i, (n, inicio, tamano) in enumerate(nombres):
        derecha = i + 2 if i + 1 < len(nombres) else LIBRE
        entradas.append(entrada_directorio(n, 2, LIBRE, derecha, LIBRE, inicio, tamano))
    directorio = b"".join(entradas).ljust(sectores_dir * sector, b"\0")
    cuerpo = directorio + cuerpo[len(directorio):]

    cabecera = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(16) + u16(0x3E) + u16(3 if desplazamiento == 9 else 4) +
                u16(0xFFFE) + u16(desplazamiento) + u16(6) + bytes(6) + u32(0 if desplazamiento == 9 else sectores_dir) +
                u32(n_fat) + u32(inicios["directorio"]) + u32(0) + u32(4096) +
                u32(inicios["minifat"] if mini else FIN) + u32(sectores_de(cadenas[1][1]) if mini else 0) +
                u32(ids_difat[0] if ids_difat else FIN) + u32(n_difat))
    for i in range(109):
        cabecera += u32(ids_fat[i] if i < n_fat else LIBRE)
    cabecera = cabecera.ljust(sector, b"\0")
    difat = b""
    resto = ids_fat[109:]
    for k in range(n_difat):
        trozo = resto[k * (por_fat - 1):(k + 1) * (por_fat - 1)]
        difat += b"".join(u32(s) for s in trozo).ljust((por_fat - 1) * 4, b"\xff")
        difat += u32(ids_difat[k + 1] if k + 1 < n_difat else FIN)
    fat_bytes = b"".join(u32(v) for v in fat)
    return cabecera + fat_bytes + difat + cuerpo
