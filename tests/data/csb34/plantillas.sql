-- The base template of each kind (1 to 5) with every field placed where linea/entrada.txt carries it:
-- 101 nominas, 102 transferencias, 103 cheques, 104 pagares, 105 pagos certificados. 106: the pagares of
-- 104 with the due date as the base template ships it, mandatory and not placed.
INSERT INTO estructura (id_estructura, tipo, descripcion, principiolinea, multifactura) VALUES
    (101, 'CSB34N', 'Nominas', -1, 0), (102, 'CSB34T', 'Transferencias', -1, 0), (103, 'CSB34C', 'Cheques', -1, 0),
    (104, 'CSB34P', 'Pagares', -1, 0), (105, 'PAGOSC', 'Pagos certificados', -1, 0),
    (106, 'CSB34P', 'Pagares con el vencimiento del dialogo', -1, 0);
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio)
    SELECT id_estructura + 100, id_campo, campo, p.column2, p.column3, p.column4, obligatorio
    FROM detalleestructura JOIN (VALUES ('ClaveBeneficiario', 1, 12, ''), ('NombreBeneficiario', 13, 42, ''),
        ('Importe', 43, 54, ''), ('SignoNegativo', 55, 55, '-'), ('Entidad', 56, 59, ''), ('Oficina', 60, 63, ''),
        ('DC', 64, 65, ''), ('Cuenta', 66, 75, ''), ('Gastos', 76, 76, ''), ('FechaVto', 77, 84, 'AAAAMMDD'),
        ('FechaFactura', 85, 94, 'DD/MM/AAAA'), ('DomicilioBeneficiario', 95, 144, ''), ('CPBeneficiario', 145, 149, ''),
        ('PlazaBeneficiario', 150, 169, ''), ('ProvinciaBeneficiario', 170, 184, ''), ('Observacion', 185, 234, ''),
        ('DNI', 235, 243, ''), ('Ref12', 244, 255, ''), ('Ref16', 256, 271, ''), ('NumeroFactura', 256, 271, ''),
        ('TlfMovil', 272, 280, ''), ('Email', 281, 320, '')) AS p ON p.column1 = campo
    WHERE id_estructura BETWEEN 1 AND 5;
INSERT INTO detalleestructura (id_estructura, id_campo, campo, inicio, fin, valorcampo, obligatorio)
    SELECT 106, id_campo, campo, CASE WHEN campo = 'FechaVto' THEN 0 ELSE inicio END,
        CASE WHEN campo = 'FechaVto' THEN 0 ELSE fin END, CASE WHEN campo = 'FechaVto' THEN '' ELSE valorcampo END,
        obligatorio
    FROM detalleestructura WHERE id_estructura = 104;
