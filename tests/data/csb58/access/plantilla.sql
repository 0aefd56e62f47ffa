-- Template 102: credits from the table Table1 of the Access sample files (columns A, B text; C byte;
-- D integer; E long; F double; G date; H currency; I yes/no). The amount is the currency column, the
-- due date the date column; "Domicilio" names no column of the table, so the debtor's address is its
-- default on every credit. The debtor's town is not placed.
-- The check digits come from the byte column C: 2 gives 02, the zero a number does not keep.
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (102, 'CSB58Ac', 'Anticipos de una tabla de Access', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 0, 'CodigoReferencia', 1, 1, 'A', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 1, 'NombreTitular', 1, 1, 'B', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 2, 'Entidad', 1, 1, 'D', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 3, 'Oficina', 1, 1, 'C', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 4, 'DC', 1, 1, 'C', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 5, 'Cuenta', 1, 1, 'E', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 6, 'Importe', 1, 1, 'H', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 7, 'FechaVto', 1, 1, 'G', 'DD/MM/AAAA', 1);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 8, 'Concepto1', 1, 1, 'I', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 9, 'Concepto4', 1, 1, 'F', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 10, 'DomicilioDeudor', 1, 1, 'Domicilio', 'CALLE MAYOR 1', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 11, 'LocalidadDeudor', 0, 0, '', 'VALENCIA', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 12, 'CPDeudor', 1, 1, 'D', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (102, 13, 'CodProvincia', 1, 1, 'C', '', 0);
