-- The issuer's town, which the input does not carry: a line feed would split the records that take it.
UPDATE detalleestructura SET valorcampo = 'VALEN' || char(10) || 'CIA' WHERE id_estructura = 100 AND id_campo = 15;
