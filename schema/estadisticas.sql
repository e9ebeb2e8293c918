-- Statistics database "CV_ESTADISTICAS" of the embedded engine: its own
-- configuration table, where the command time-out is kept.

CREATE TABLE TA_CONFIGURACION (
    ID               INTEGER PRIMARY KEY AUTOINCREMENT,
    Grupo            TEXT COLLATE CI_AI,
    Clave            TEXT COLLATE CI_AI,
    Valor            TEXT COLLATE CI_AI,
    ValorAux         TEXT COLLATE CI_AI,
    PoliticaNegocio  INTEGER DEFAULT 0
);
CREATE INDEX IX_CONFIGURACION_CLAVE ON TA_CONFIGURACION (Clave);
