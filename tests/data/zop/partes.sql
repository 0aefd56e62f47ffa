-- The ordering party the expected files were written for (100): a NIF with a "-", which supplier
-- payments keep, and an account.
INSERT INTO presentadores (id_presentador, csb, tipo, nompre, nifpre, cuenta, sufpre)
    VALUES (100, 'ZOP', 'pagos', 'PAGOS DEL NORTE SL', 'B-1234567', '21000418450200051332', '');
INSERT INTO usuarios (id_presentador, usuario, tipo) VALUES (100, 'tesorero', 'ZOP');
-- The template of multilinea/entrada.txt (100): "01" opens an order and carries the supplier, the amount
-- and the payment form, "02" the address, "03" the telephone, "04" the fax, "05" the e-mail.
INSERT INTO estructura (id_estructura, principiolinea, multifactura, tipo, descripcion)
    VALUES (100, 0, 0, 'ZOP', 'Proveedores en varias lineas');
INSERT INTO detalleestructura (valorlinea, inilinea, finlinea, id_estructura, id_campo, campo, inicio, fin, valorcampo) VALUES
    ('01', 1, 2, 100, 0, 'ClaveProveedor', 3, 12, ''),
    ('01', 1, 2, 100, 1, 'NombreProveedor', 13, 42, ''),
    ('01', 1, 2, 100, 2, 'Importe', 43, 54, ''),
    ('01', 1, 2, 100, 3, 'FormaPago', 55, 55, 'C-T-P'),
    ('02', 1, 2, 100, 4, 'Direccion', 3, 32, ''),
    ('02', 1, 2, 100, 5, 'NumeroCalle', 33, 37, ''),
    ('02', 1, 2, 100, 6, 'CP', 38, 42, ''),
    ('02', 1, 2, 100, 7, 'Localidad', 43, 62, ''),
    ('03', 1, 2, 100, 8, 'Telefono', 3, 13, ''),
    ('04', 1, 2, 100, 9, 'Fax', 3, 13, ''),
    ('05', 1, 2, 100, 10, 'email', 3, 42, '');
-- The templates of linea/entrada.txt: every field placed (101); the payment form and the due date asked
-- in the missing-data dialog (102); no payment-form field at all (103).
INSERT INTO estructura (id_estructura, principiolinea, multifactura, tipo, descripcion) VALUES
    (101, -1, 0, 'ZOP', 'Proveedores'), (102, -1, 0, 'ZOP', 'Proveedores con datos del dialogo'),
    (103, -1, 0, 'ZOP', 'Proveedores sin forma de pago');
INSERT INTO detalleestructura (id_estructura, id_campo, campo, obligatorio, longitud, inicio, fin, valorcampo)
    SELECT 101, id_campo, campo, obligatorio, longitud, p.column2, p.column3, p.column4
    FROM detalleestructura JOIN (VALUES (0, 1, 10, ''), (1, 11, 40, ''), (2, 41, 70, ''), (3, 71, 76, ''),
        (4, 77, 81, ''), (5, 82, 101, ''), (6, 102, 104, ''), (7, 105, 115, ''), (8, 116, 126, ''),
        (9, 127, 127, 'C-T-P'), (10, 128, 131, ''), (11, 132, 135, ''), (12, 136, 137, ''), (13, 138, 147, ''),
        (14, 148, 159, ''), (15, 160, 160, '-'), (16, 161, 170, 'DD/MM/AAAA'), (17, 171, 186, ''),
        (18, 187, 201, ''), (19, 202, 241, '')) AS p ON p.column1 = id_campo
    WHERE id_estructura = 6;
INSERT INTO detalleestructura (id_estructura, id_campo, campo, obligatorio, longitud, inicio, fin, valorcampo)
    SELECT 102, id_campo, campo, obligatorio OR campo IN ('FormaPago', 'FechaVto'), longitud,
        CASE WHEN campo IN ('FormaPago', 'FechaVto') THEN 0 ELSE inicio END,
        CASE WHEN campo IN ('FormaPago', 'FechaVto') THEN 0 ELSE fin END,
        CASE WHEN campo IN ('FormaPago', 'FechaVto') THEN '' ELSE valorcampo END
    FROM detalleestructura WHERE id_estructura = 101;
INSERT INTO detalleestructura (id_estructura, id_campo, campo, obligatorio, longitud, inicio, fin, valorcampo)
    SELECT 103, id_campo, campo, obligatorio, longitud, inicio, fin, valorcampo
    FROM detalleestructura WHERE id_estructura = 101 AND campo <> 'FormaPago';
-- The template of rechazo-sin-opcionales/entrada.txt (104): that of multilinea/entrada.txt with the sign
-- after the e-mail of line "05", so that both belong to the lines of one order only.
INSERT INTO estructura (id_estructura, principiolinea, multifactura, tipo, descripcion)
    VALUES (104, 0, 0, 'ZOP', 'Proveedores con correo y signo en su propia linea');
INSERT INTO detalleestructura (valorlinea, inilinea, finlinea, id_estructura, id_campo, campo, inicio, fin, valorcampo)
    SELECT valorlinea, inilinea, finlinea, 104, id_campo, campo, inicio, fin, valorcampo
    FROM detalleestructura WHERE id_estructura = 100;
INSERT INTO detalleestructura (valorlinea, inilinea, finlinea, id_estructura, id_campo, campo, inicio, fin, valorcampo)
    VALUES ('05', 1, 2, 104, 11, 'SignoNegativo', 43, 43, '-');
