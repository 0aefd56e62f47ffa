-- The index of the template fields made to point at the table's own page: reading the fields through it
-- meets a page of the wrong kind, as a damaged file would give.
PRAGMA writable_schema = ON;
UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM sqlite_master WHERE name = 'detalleestructura')
    WHERE name = 'detalleestructura_plantilla';
PRAGMA writable_schema = RESET;
