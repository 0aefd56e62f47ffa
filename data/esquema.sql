-- Schema of Estructuras.db: input templates, parties and provinces.
-- Text columns that users search or match by name are NOCASE.

-- One row per input template; tipo is the norm code (CSB19, CSB34T, ZOP...).
-- principiolinea: id_campo whose line key opens an order, -1 when none.
CREATE TABLE estructura (
    id_estructura  INTEGER PRIMARY KEY AUTOINCREMENT,
    tipo           TEXT COLLATE NOCASE DEFAULT '',
    descripcion    TEXT DEFAULT '',
    principiolinea INTEGER DEFAULT -1,
    multifactura   INTEGER DEFAULT 0
);
-- Fields of a template. inicio/fin: 1-based positions in the input line (0,0 = not in
-- the input); inilinea/finlinea/valorlinea: line key that the line must carry;
-- valorcampo: value used when the input does not carry the field.
CREATE TABLE detalleestructura (
    id_estructura INTEGER NOT NULL,
    id_campo      INTEGER NOT NULL,
    campo         TEXT COLLATE NOCASE DEFAULT '',
    inicio        INTEGER DEFAULT 0,
    fin           INTEGER DEFAULT 0,
    inilinea      INTEGER DEFAULT 0,
    finlinea      INTEGER DEFAULT 0,
    valorlinea    TEXT DEFAULT '',
    valorcampo    TEXT DEFAULT '',
    obligatorio   INTEGER DEFAULT 0,
    longitud      INTEGER DEFAULT 0
);
CREATE INDEX detalleestructura_plantilla ON detalleestructura (id_estructura, id_campo);
-- Invoice-line keys of multi-invoice templates.
CREATE TABLE multifactura (
    id_estructura INTEGER NOT NULL,
    orden         INTEGER DEFAULT 0,
    campos        TEXT DEFAULT '',
    valor         TEXT DEFAULT '',
    inicio        INTEGER DEFAULT 0,
    fin           REAL DEFAULT 0
);
CREATE INDEX multifactura_plantilla ON multifactura (id_estructura, orden);
-- Presenters; tipo is 'cobros' or 'pagos', csb the norm they present.
-- cuenta: 20-digit account code (entity, office, check digits, account).
CREATE TABLE presentadores (
    id_presentador INTEGER PRIMARY KEY AUTOINCREMENT,
    tipo           TEXT COLLATE NOCASE DEFAULT '',
    nifpre         TEXT DEFAULT '',
    nompre         TEXT DEFAULT '',
    sufpre         TEXT DEFAULT '',
    cuenta         TEXT DEFAULT '',
    csb            TEXT COLLATE NOCASE DEFAULT ''
);
-- Issuers (ordering parties) of a presenter.
CREATE TABLE emisores (
    id_emi         INTEGER PRIMARY KEY AUTOINCREMENT,
    id_presentador INTEGER DEFAULT 0,
    nifemi         TEXT DEFAULT '',
    sufemi         TEXT DEFAULT '',
    nomemi         TEXT DEFAULT '',
    cuenta         TEXT DEFAULT ''
);
CREATE INDEX emisores_presentador ON emisores (id_presentador);
-- Which presenter a user works with for each norm.
CREATE TABLE usuarios (
    usuario        TEXT COLLATE NOCASE DEFAULT '',
    tipo           TEXT COLLATE NOCASE DEFAULT '',
    id_presentador INTEGER DEFAULT 0
);
-- Province names by the first two digits of a postal code.
CREATE TABLE CodigoPostal (
    CP        TEXT COLLATE NOCASE PRIMARY KEY,
    Provincia TEXT DEFAULT ''
);
