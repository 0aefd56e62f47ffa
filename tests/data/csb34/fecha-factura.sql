-- 111 to 115: the templates 101 to 105 of plantillas.sql with the invoice date (FechaFactura) mandatory and
-- not placed, so that it is asked when the run starts; in 114 (pagares) the due date is asked too.
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura)
    SELECT id_estructura + 10, tipo, descripcion || ' con la fecha de factura del dialogo', principiolinea, multifactura
    FROM estructura WHERE id_estructura BETWEEN 101 AND 105;
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo,
        obligatorio, longitud)
    SELECT id_estructura + 10, id_campo, campo,
        CASE WHEN campo = 'FechaFactura' OR (id_estructura = 104 AND campo = 'FechaVto') THEN 0 ELSE inicio END,
        CASE WHEN campo = 'FechaFactura' OR (id_estructura = 104 AND campo = 'FechaVto') THEN 0 ELSE fin END,
        inilinea, finlinea, valorlinea, valorcampo, CASE WHEN campo = 'FechaFactura' THEN 1 ELSE obligatorio END,
        longitud
    FROM detalleestructura WHERE id_estructura BETWEEN 101 AND 105;
