-- The ordering party the expected files were written for (100): a NIF with a "-", which supplier
-- payments keep, and an account; and the template of multilinea/entrada.txt (100): "01" opens an order
-- and carries the supplier, the amount and the payment form, "02" the address, "03" the telephone,
-- "04" the fax, "05" the e-mail.
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (100, 'pagos', 'B-1234567', 'PAGOS DEL NORTE SL', '', '21000418450200051332', 'ZOP');
INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES ('tesorero', 'ZOP', 100);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (100, 'ZOP', 'Proveedores en varias lineas', 0, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (100, 0, 'ClaveProveedor', 3, 12, 1, 2, '01', ''),
    (100, 1, 'NombreProveedor', 13, 42, 1, 2, '01', ''),
    (100, 2, 'Importe', 43, 54, 1, 2, '01', ''),
    (100, 3, 'FormaPago', 55, 55, 1, 2, '01', 'C-T-P'),
    (100, 4, 'Direccion', 3, 32, 1, 2, '02', ''),
    (100, 5, 'NumeroCalle', 33, 37, 1, 2, '02', ''),
    (100, 6, 'CP', 38, 42, 1, 2, '02', ''),
    (100, 7, 'Localidad', 43, 62, 1, 2, '02', ''),
    (100, 8, 'Telefono', 3, 13, 1, 2, '03', ''),
    (100, 9, 'Fax', 3, 13, 1, 2, '04', ''),
    (100, 10, 'email', 3, 42, 1, 2, '05', '');
