-- Template 103: base template 8 as it ships, its due date mandatory and not placed, with every other
-- field placed as template 100 places it (linea/plantilla.sql).
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (103, 'CSB58', 'Anticipos con el vencimiento del dialogo', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio)
    SELECT 103, b.id_campo, b.campo, COALESCE(s.inicio, b.inicio), COALESCE(s.fin, b.fin),
        COALESCE(s.valorcampo, b.valorcampo), b.obligatorio
    FROM detalleestructura b LEFT JOIN detalleestructura s
        ON s.id_estructura = 100 AND s.campo = b.campo AND b.campo <> 'FechaVto'
    WHERE b.id_estructura = 8;
