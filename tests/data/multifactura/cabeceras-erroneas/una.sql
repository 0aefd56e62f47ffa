-- A norm 19 multi-invoice template (339) whose order lines carry "000" at 1-3 and whose invoice key
-- ("9", counted) no line of the inputs here carries.
INSERT INTO estructura VALUES(339,'CSB19','Multifactura con clave 000',2,1);
INSERT INTO detalleestructura VALUES(339,0,'CodigoReferencia',4,15,1,3,'000','',1,12);
INSERT INTO detalleestructura VALUES(339,1,'NombreTitularRecibo',16,54,1,3,'000','',1,40);
INSERT INTO detalleestructura VALUES(339,2,'Entidad',55,58,1,3,'000','',1,4);
INSERT INTO detalleestructura VALUES(339,3,'Oficina',59,62,1,3,'000','',1,4);
INSERT INTO detalleestructura VALUES(339,4,'DC',63,64,1,3,'000','',1,2);
INSERT INTO detalleestructura VALUES(339,5,'Cuenta',65,74,1,3,'000','',1,10);
INSERT INTO detalleestructura VALUES(339,6,'NombreTitularCuenta',75,114,1,3,'000','',0,40);
INSERT INTO detalleestructura VALUES(339,7,'Direccion',115,156,1,3,'000','',0,40);
INSERT INTO detalleestructura VALUES(339,8,'CP',157,161,1,3,'000','',0,5);
INSERT INTO detalleestructura VALUES(339,9,'Importe',4,15,1,3,'9','',1,15);
INSERT INTO detalleestructura VALUES(339,10,'Concepto1',16,35,1,3,'9','',0,40);
INSERT INTO detalleestructura VALUES(339,11,'Concepto2',36,55,1,3,'9','',0,40);
INSERT INTO multifactura VALUES(339,0,'Cuenta','000',0,0.0);
INSERT INTO multifactura VALUES(339,1,'Concepto1@Importe@Concepto2','XYZ',1,0.0);
