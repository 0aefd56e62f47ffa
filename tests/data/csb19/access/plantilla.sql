-- Template 190: receipts from the table Table1 of the Access sample files (columns A, B text; C byte;
-- D integer; E long; F double; G date; H currency; I yes/no). Every column but the amount is read as its
-- text; the double amount gets two decimals. "Titular" and "Domicilio" name no column of the table: the
-- account holder takes the receipt holder's name, the address its default. The town is not placed. The
-- postal code comes from the integer column D: a code read from a number gets its leading zeros back.
-- So do the check digits (2 in the byte column C gives 02) and the office (0 in the long column E
-- gives 0000; the receipt is still refused for its entity and account).
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES (190, 'CSB19Ac', 'Recibos de una tabla de Access', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 0, 'CodigoReferencia', 1, 1, 'A', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 1, 'NombreTitularRecibo', 1, 1, 'B', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 2, 'Entidad', 1, 1, 'D', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 3, 'Oficina', 1, 1, 'E', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 4, 'DC', 1, 1, 'C', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 5, 'Cuenta', 1, 1, 'E', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 6, 'Importe', 1, 1, 'F', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 7, 'ReferenciaInterna', 1, 1, 'H', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 8, 'Concepto1', 1, 1, 'G', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 9, 'Concepto3', 1, 1, 'I', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 10, 'NombreTitularCuenta', 1, 1, 'Titular', '', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 11, 'Direccion', 1, 1, 'Domicilio', 'CALLE MAYOR 1', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 12, 'Localidad', 0, 0, '', 'MADRID', 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorlinea, valorcampo, obligatorio) VALUES (190, 13, 'CP', 1, 1, 'D', '', 0);
