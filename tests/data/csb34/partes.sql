-- The ordering party the expected files were written for (100): a NIF with a "-" and an account, as the
-- header records show them; and the template of multilinea/entrada.txt (100): cheques over several lines,
-- "01" opens an order and carries the beneficiary, "02" the address, "03" the concept.
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (100, 'pagos', 'B-1234567', 'PAGOS DEL NORTE SL', '', '21000418450200051332', 'pagos');
INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES ('tesorero', 'pagos', 100);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (100, 'CSB34C', 'Cheques en varias lineas', 0, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (100, 0, 'ClaveBeneficiario', 3, 12, 1, 2, '01', ''),
    (100, 1, 'NombreBeneficiario', 13, 42, 1, 2, '01', ''),
    (100, 2, 'Importe', 43, 54, 1, 2, '01', ''),
    (100, 3, 'Gastos', 0, 0, 0, 0, '', '2'),
    (100, 4, 'DomicilioBeneficiario', 3, 42, 1, 2, '02', ''),
    (100, 5, 'CPBeneficiario', 43, 47, 1, 2, '02', ''),
    (100, 6, 'PlazaBeneficiario', 48, 67, 1, 2, '02', ''),
    (100, 7, 'Observacion', 3, 62, 1, 2, '03', '');
