-- One credit over several lines (template 101), on the parties of linea/plantilla.sql: lines "01"
-- (credit, opens it), "02" (address), "03" (concepts), "04" (towns), and "D1" to "D8": the mandatory
-- due date in each format a template may name.
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (101, 'CSB58', 'Anticipos en varias lineas', 0, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 0, 'CodigoReferencia', 3, 10, '', 1, 2, '01', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 1, 'NombreTitular', 11, 35, '', 1, 2, '01', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 2, 'Importe', 36, 47, '', 1, 2, '01', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 3, 'Cuenta', 48, 57, '', 1, 2, '01', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 4, 'DomicilioDeudor', 3, 27, '', 1, 2, '02', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 5, 'Concepto2', 3, 22, '', 1, 2, '03', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 6, 'Concepto5', 23, 42, '', 1, 2, '03', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 7, 'LocalidadDeudor', 3, 17, '', 1, 2, '04', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 8, 'CPDeudor', 18, 22, '', 1, 2, '04', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 9, 'CodProvincia', 23, 24, '', 1, 2, '04', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 10, 'LocalidadOrdenante', 25, 39, '', 1, 2, '04', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 11, 'CodigoDevolucion', 0, 0, 'DEV001', 0, 0, '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 12, 'FechaVto', 3, 12, 'AAMMDD', 1, 2, 'D1', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 13, 'FechaVto', 3, 12, 'DDMMAAAA', 1, 2, 'D2', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 14, 'FechaVto', 3, 12, 'AAAAMMDD', 1, 2, 'D3', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 15, 'FechaVto', 3, 12, 'DD/MM/AA', 1, 2, 'D4', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 16, 'FechaVto', 3, 12, 'AA/MM/DD', 1, 2, 'D5', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 17, 'FechaVto', 3, 12, 'DD/MM/AAAA', 1, 2, 'D6', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 18, 'FechaVto', 3, 12, 'AAAA/MM/DD', 1, 2, 'D7', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, inilinea, finlinea, valorlinea, obligatorio) VALUES (101, 19, 'FechaVto', 3, 12, 'DDMMAA', 1, 2, 'D8', 1);
