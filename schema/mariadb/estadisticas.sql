-- Statistics database "CV_ESTADISTICAS" on MariaDB: its configuration
-- table, where the command time-out is kept. Run with recepcion-sql.

CREATE FUNCTION getdate() RETURNS DATETIME NOT DETERMINISTIC RETURN NOW()

CREATE TABLE TA_CONFIGURACION (
    ID               INT AUTO_INCREMENT PRIMARY KEY,
    Grupo            VARCHAR(50),
    Clave            VARCHAR(100),
    Valor            VARCHAR(4000),
    ValorAux         VARCHAR(4000),
    PoliticaNegocio  INT DEFAULT 0,
    INDEX IX_CONFIGURACION_CLAVE (Clave)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci
