-- An escape as the ordering party's suffix, a column the payment windows never write.
UPDATE presentadores SET sufpre = char(27) WHERE id_presentador = 100;
