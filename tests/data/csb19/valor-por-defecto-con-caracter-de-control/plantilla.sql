-- The default of a field the input does not carry, which would go into every record 10 as it is.
UPDATE detalleestructura SET valorcampo = 'LOTE' || char(27) || '03' WHERE id_estructura = 100 AND id_campo = 15;
