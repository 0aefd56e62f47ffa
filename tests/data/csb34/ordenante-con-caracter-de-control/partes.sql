-- A NUL inside the ordering party's name.
UPDATE presentadores SET nompre = 'PAGOS DEL' || char(0) || 'NORTE SL' WHERE id_presentador = 100;
