-- The presenter and issuer the expected files were written for (100): short NIFs and suffixes, so the
-- records show their blank fill. Template 100: one receipt per line; the town's default is longer than
-- the 35 characters of the record and is cut. Template 101: receipts over several lines, "01" (receipt,
-- opens it), "02" (account and address), "03" (concepts).
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (100, 'cobros', 'A1234567', 'GESTORIA LOPEZ Y ASOCIADOS SL', '01', '30580990272720001234', 'CSB19');
INSERT INTO emisores (id_emi, id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (100, 100, 'B7654321', '5', 'COLEGIO SAN ROQUE SL', '21000418450200051332');
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (100, 'CSB19', 'Remesa en una linea', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo) VALUES
    (100, 0, 'CodigoReferencia', 1, 8, ''),
    (100, 1, 'NombreTitularRecibo', 9, 33, ''),
    (100, 2, 'Entidad', 34, 37, ''),
    (100, 3, 'Oficina', 38, 41, ''),
    (100, 4, 'DC', 42, 43, ''),
    (100, 5, 'Cuenta', 44, 53, ''),
    (100, 6, 'Importe', 54, 65, ''),
    (100, 7, 'Concepto1', 66, 85, ''),
    (100, 8, 'Concepto2', 86, 100, ''),
    (100, 9, 'Concepto4', 101, 115, ''),
    (100, 10, 'Concepto5', 116, 130, ''),
    (100, 11, 'NombreTitularCuenta', 131, 155, ''),
    (100, 12, 'Direccion', 156, 180, ''),
    (100, 13, 'Localidad', 181, 195, 'LOCALIDAD PENDIENTE DE CONFIRMAR POR EL BANCO'),
    (100, 14, 'CP', 196, 200, ''),
    (100, 15, 'ReferenciaInterna', 0, 0, 'LOTE-03');
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (101, 'CSB19', 'Remesa en varias lineas', 0, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (101, 0, 'CodigoReferencia', 3, 10, 1, 2, '01', ''),
    (101, 1, 'NombreTitularRecibo', 11, 35, 1, 2, '01', ''),
    (101, 2, 'Importe', 36, 47, 1, 2, '01', ''),
    (101, 3, 'Entidad', 3, 6, 1, 2, '02', ''),
    (101, 4, 'Oficina', 7, 10, 1, 2, '02', ''),
    (101, 5, 'DC', 11, 12, 1, 2, '02', ''),
    (101, 6, 'Cuenta', 13, 22, 1, 2, '02', ''),
    (101, 7, 'NombreTitularCuenta', 23, 47, 1, 2, '02', ''),
    (101, 8, 'Direccion', 48, 72, 1, 2, '02', ''),
    (101, 9, 'Localidad', 73, 87, 1, 2, '02', ''),
    (101, 10, 'CP', 88, 92, 1, 2, '02', ''),
    (101, 11, 'Concepto1', 3, 22, 1, 2, '03', ''),
    (101, 12, 'Concepto2', 23, 42, 1, 2, '03', ''),
    (101, 13, 'Concepto3', 43, 62, 1, 2, '03', ''),
    (101, 14, 'ReferenciaInterna', 0, 0, 0, 0, '', 'MULTI');
