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
