-- A tab inside the presenter's account.
UPDATE presentadores SET cuenta = '3058099027' || char(9) || '720001234' WHERE id_presentador = 100;
