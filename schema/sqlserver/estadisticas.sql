-- Statistics database "CV_ESTADISTICAS" on SQL Server (created with
-- COLLATE Latin1_General_CI_AI): its configuration table, where the
-- command time-out is kept. Run with recepcion-sql.

CREATE TABLE TA_CONFIGURACION (
    ID               INT IDENTITY(1,1) PRIMARY KEY,
    Grupo            NVARCHAR(50),
    Clave            NVARCHAR(100),
    Valor            NVARCHAR(4000),
    ValorAux         NVARCHAR(4000),
    PoliticaNegocio  INT DEFAULT 0,
    INDEX IX_CONFIGURACION_CLAVE (Clave)
)
