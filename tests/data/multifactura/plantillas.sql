-- Parties and multi-invoice templates of the expected files. Order lines carry "000" at positions 1-3:
-- reference 4-11, name 12-36, entity 37-40, office 41-44, check digits 45-46, account 47-56. Invoice lines
-- carry their key at the same positions: amount 4-15, due date 16-21, concept 22-41. Templates 200 to 205,
-- 210 and 211 are the four families' same-key ("001") and counted ("098", "099", "100"...) templates; their
-- first multifactura row names the account field and is overridden by the second, whose valor ("XYZ") is
-- never a key. 206 to 209 cannot tell their invoice lines: refused.
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (200, 'cobros', 'A1234567', 'GESTORIA LOPEZ Y ASOCIADOS SL', '01', '30580990272720001234', 'CSB19');
INSERT INTO emisores (id_emi, id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (200, 200, 'B7654321', '5', 'COLEGIO SAN ROQUE SL', '21000418450200051332');
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (201, 'cobros', 'A1234567', 'GESTORIA LOPEZ Y ASOCIADOS SL', '01', '30580990272720001234', 'CSB58');
INSERT INTO emisores (id_emi, id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (201, 201, 'B7654321', '5', 'COLEGIO SAN ROQUE SL', '21000418450200051332');
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (202, 'pagos', 'B-1234567', 'PAGOS DEL NORTE SL', '', '21000418450200051332', 'pagos');
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (203, 'pagos', 'B-1234567', 'PAGOS DEL NORTE SL', '', '21000418450200051332', 'ZOP');
INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES ('ana', 'CSB19', 200);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (200, 'CSB19', 'Facturas con la misma clave', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (200, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (200, 1, 'NombreTitularRecibo', 12, 36, 1, 3, '000', ''),
    (200, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (200, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (200, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (200, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (200, 6, 'Importe', 4, 15, 1, 3, '001', ''),
    (200, 7, 'Concepto1', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (200, 0, 'Cuenta', '000', 0), (200, 1, 'Importe@SignoNegativo@Concepto1', 'XYZ', 0);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (201, 'CSB19', 'Facturas numeradas', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (201, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (201, 1, 'NombreTitularRecibo', 12, 36, 1, 3, '000', ''),
    (201, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (201, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (201, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (201, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (201, 6, 'Importe', 4, 15, 1, 3, '098', ''),
    (201, 7, 'Concepto1', 22, 41, 1, 3, '098', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (201, 0, 'Cuenta', '000', 0), (201, 1, 'Importe@SignoNegativo@Concepto1', 'XYZ', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (202, 'CSB58', 'Facturas con la misma clave', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (202, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (202, 1, 'NombreTitular', 12, 36, 1, 3, '000', ''),
    (202, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (202, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (202, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (202, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (202, 6, 'Importe', 4, 15, 1, 3, '001', ''),
    (202, 7, 'FechaVto', 16, 21, 1, 3, '001', 'DDMMAA'),
    (202, 8, 'Concepto1', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (202, 0, 'Cuenta', '000', 0), (202, 1, 'Importe@SignoNegativo@FechaVto@Concepto1', 'XYZ', 0);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (203, 'CSB58', 'Facturas numeradas', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (203, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (203, 1, 'NombreTitular', 12, 36, 1, 3, '000', ''),
    (203, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (203, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (203, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (203, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (203, 6, 'Importe', 4, 15, 1, 3, '098', ''),
    (203, 7, 'FechaVto', 16, 21, 1, 3, '098', 'DDMMAA'),
    (203, 8, 'Concepto1', 22, 41, 1, 3, '098', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (203, 0, 'Cuenta', '000', 0), (203, 1, 'Importe@SignoNegativo@FechaVto@Concepto1', 'XYZ', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (204, 'CSB34T', 'Facturas con la misma clave', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (204, 0, 'ClaveBeneficiario', 4, 11, 1, 3, '000', ''),
    (204, 1, 'NombreBeneficiario', 12, 36, 1, 3, '000', ''),
    (204, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (204, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (204, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (204, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (204, 6, 'Gastos', 0, 0, 0, 0, '', '2'),
    (204, 7, 'Importe', 4, 15, 1, 3, '001', ''),
    (204, 8, 'Observacion', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (204, 0, 'Cuenta', '000', 0), (204, 1, 'Importe@SignoNegativo@Observacion', 'XYZ', 0);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (205, 'CSB34T', 'Facturas numeradas', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (205, 0, 'ClaveBeneficiario', 4, 11, 1, 3, '000', ''),
    (205, 1, 'NombreBeneficiario', 12, 36, 1, 3, '000', ''),
    (205, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (205, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (205, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (205, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (205, 6, 'Gastos', 0, 0, 0, 0, '', '2'),
    (205, 7, 'Importe', 4, 15, 1, 3, '098', ''),
    (205, 8, 'Observacion', 22, 41, 1, 3, '098', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (205, 0, 'Cuenta', '000', 0), (205, 1, 'Importe@SignoNegativo@Observacion', 'XYZ', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (210, 'ZOP', 'Facturas con la misma clave', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (210, 0, 'ClaveProveedor', 4, 11, 1, 3, '000', ''),
    (210, 1, 'NombreProveedor', 12, 36, 1, 3, '000', ''),
    (210, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (210, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (210, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (210, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (210, 6, 'FormaPago', 0, 0, 0, 0, '', 'Tipo6'),
    (210, 7, 'Importe', 4, 15, 1, 3, '001', ''),
    (210, 8, 'FechaVto', 16, 21, 1, 3, '001', 'DDMMAA'),
    (210, 9, 'NumeroFactura', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (210, 0, 'Cuenta', '000', 0), (210, 1, 'Importe@SignoNegativo@FechaVto@NumeroFactura', 'XYZ', 0);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (211, 'ZOP', 'Facturas numeradas', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (211, 0, 'ClaveProveedor', 4, 11, 1, 3, '000', ''),
    (211, 1, 'NombreProveedor', 12, 36, 1, 3, '000', ''),
    (211, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (211, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (211, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (211, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (211, 6, 'FormaPago', 0, 0, 0, 0, '', 'Tipo6'),
    (211, 7, 'Importe', 4, 15, 1, 3, '098', ''),
    (211, 8, 'FechaVto', 16, 21, 1, 3, '098', 'DDMMAA'),
    (211, 9, 'NumeroFactura', 22, 41, 1, 3, '098', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (211, 0, 'Cuenta', '000', 0), (211, 1, 'Importe@SignoNegativo@FechaVto@NumeroFactura', 'XYZ', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (206, 'CSB19', 'Clave sin campo', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (206, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (206, 1, 'NombreTitularRecibo', 12, 36, 1, 3, '000', ''),
    (206, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (206, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (206, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (206, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (206, 6, 'Importe', 4, 15, 1, 3, '001', ''),
    (206, 7, 'Concepto1', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (206, 0, 'NumeroFactura@Importe', '001', 0);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (207, 'CSB19', 'Cuenta que no empieza por cifras', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (207, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (207, 1, 'NombreTitularRecibo', 12, 36, 1, 3, '000', ''),
    (207, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (207, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (207, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (207, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (207, 6, 'Importe', 4, 15, 1, 3, '0A8', ''),
    (207, 7, 'Concepto1', 22, 41, 1, 3, '0A8', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (207, 0, 'Importe@SignoNegativo@Concepto1', '0A8', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (208, 'CSB58', 'Cuenta que no empieza por cifras', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (208, 0, 'CodigoReferencia', 4, 11, 1, 3, '000', ''),
    (208, 1, 'NombreTitular', 12, 36, 1, 3, '000', ''),
    (208, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (208, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (208, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (208, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (208, 6, 'Importe', 4, 15, 1, 3, '0A8', ''),
    (208, 7, 'FechaVto', 16, 21, 1, 3, '0A8', 'DDMMAA'),
    (208, 8, 'Concepto1', 22, 41, 1, 3, '0A8', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (208, 0, 'Importe@SignoNegativo@FechaVto@Concepto1', '0A8', 1);
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (209, 'CSB34T', 'Filas sin campos', 0, 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, inilinea, finlinea, valorlinea, valorcampo) VALUES
    (209, 0, 'ClaveBeneficiario', 4, 11, 1, 3, '000', ''),
    (209, 1, 'NombreBeneficiario', 12, 36, 1, 3, '000', ''),
    (209, 2, 'Entidad', 37, 40, 1, 3, '000', ''),
    (209, 3, 'Oficina', 41, 44, 1, 3, '000', ''),
    (209, 4, 'DC', 45, 46, 1, 3, '000', ''),
    (209, 5, 'Cuenta', 47, 56, 1, 3, '000', ''),
    (209, 6, 'Gastos', 0, 0, 0, 0, '', '2'),
    (209, 7, 'Importe', 4, 15, 1, 3, '001', ''),
    (209, 8, 'Observacion', 22, 41, 1, 3, '001', '');
INSERT INTO multifactura (id_estructura, orden, campos, valor, inicio) VALUES (209, 0, '', '001', 0), (209, 1, '', '002', 0);
