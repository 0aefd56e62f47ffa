-- A form feed inside the issuer's name, as an import of the accounts file once stored it.
UPDATE emisores SET nomemi = 'COLEGIO' || char(12) || 'SAN ROQUE SL' WHERE id_emi = 100;
