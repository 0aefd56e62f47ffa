-- One credit per line (template 100), the presenter and issuer the expected files were written for (100),
-- and the user "anticipos" who works with them. A NIF of 8 characters: the identification is still
-- NIF (9) and suffix (3). The due date is mandatory and read as DD/MM/AAAA.
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (100, 'CSB58', 'Anticipos en una linea', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 0, 'CodigoReferencia', 1, 8, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 1, 'NombreTitular', 9, 33, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 2, 'Entidad', 34, 37, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 3, 'Oficina', 38, 41, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 4, 'DC', 42, 43, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 5, 'Cuenta', 44, 53, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 6, 'Importe', 54, 65, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 7, 'FechaVto', 66, 75, 'DD/MM/AAAA', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 8, 'Concepto1', 76, 95, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 9, 'Concepto3', 96, 110, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 10, 'Concepto16', 111, 125, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 11, 'DomicilioDeudor', 126, 150, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 12, 'LocalidadDeudor', 151, 165, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 13, 'CPDeudor', 166, 170, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 14, 'CodProvincia', 171, 172, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 15, 'LocalidadOrdenante', 0, 0, 'VALENCIA', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio) VALUES (100, 16, 'ReferenciaInterna', 0, 0, 'LOTE-58', 0);
INSERT INTO presentadores (id_presentador, tipo, nifpre, nompre, sufpre, cuenta, csb) VALUES (100, 'cobros', 'A1234567', 'GESTORÍA PEÑA Y ASOCIADOS SL', '01', '', 'CSB58');
INSERT INTO emisores (id_emi, id_presentador, nifemi, sufemi, nomemi, cuenta) VALUES (100, 100, 'B7654321', '5', 'CAFÉS DE LA MONTAÑA SL', '21000418450200051332');
INSERT INTO usuarios (usuario, tipo, id_presentador) VALUES ('anticipos', 'CSB58', 100);
