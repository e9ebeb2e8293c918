-- Business database on MariaDB, for tests and for a company that starts
-- without the product (the program never creates tables on a server).
-- Run it with recepcion-sql against an empty database. Text compares as
-- the product's server does: utf8mb4_unicode_ci ignores case, accents and
-- trailing blanks; identifiers from the mail store (UIDL, IdConversacion)
-- compare exactly. Each statement keeps its continuation lines inside
-- parentheses: a line break elsewhere ends a statement.

CREATE FUNCTION getdate() RETURNS DATETIME NOT DETERMINISTIC RETURN NOW()
CREATE FUNCTION len(s LONGTEXT) RETURNS INT DETERMINISTIC RETURN CHAR_LENGTH(RTRIM(s))

CREATE TABLE V_MA_EMAILMOV (
    ID              INT AUTO_INCREMENT PRIMARY KEY,
    STATUS          VARCHAR(20),
    DE              VARCHAR(255),
    PARA            VARCHAR(250),
    ASUNTO          VARCHAR(250),
    MENSAJE         LONGTEXT,
    FECHAHORA       DATETIME,
    USUARIO         VARCHAR(50),
    NombreDe        VARCHAR(255),
    CC              VARCHAR(1000),
    UIDL            VARCHAR(255) COLLATE utf8mb4_bin,
    IdConversacion  VARCHAR(255) COLLATE utf8mb4_bin,
    CuentaEmail     VARCHAR(255),
    Eliminado       INT DEFAULT 0,
    Leido           INT DEFAULT 0,
    Tipo            VARCHAR(10),
    TC              VARCHAR(10),
    IDCOMPROBANTE   VARCHAR(50) DEFAULT '',
    CUENTA          VARCHAR(50) DEFAULT '',
    UNIQUE INDEX IX_EMAILMOV_UIDL (UIDL),
    INDEX IX_EMAILMOV_CONVERSACION (IdConversacion),
    INDEX IX_EMAILMOV_CUENTA (CuentaEmail, UIDL)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE TA_CONFIGURACION (
    ID               INT AUTO_INCREMENT PRIMARY KEY,
    Grupo            VARCHAR(50),
    Clave            VARCHAR(100),
    Valor            VARCHAR(4000),
    ValorAux         VARCHAR(4000),
    PoliticaNegocio  INT DEFAULT 0,
    INDEX IX_CONFIGURACION_CLAVE (Clave)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE ta_usuarios (
    ID                INT AUTO_INCREMENT PRIMARY KEY,
    Nombre            VARCHAR(50),
    eMail_Server      VARCHAR(100),
    email_usuario     VARCHAR(100),
    email_Password    VARCHAR(100) COLLATE utf8mb4_bin,
    Email_Nombre      VARCHAR(100),
    email_ServerOtro  VARCHAR(100),
    UNegocio          VARCHAR(50),
    VerProforma       INT DEFAULT 0,
    INDEX IX_USUARIOS_NOMBRE (Nombre)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE MA_CUENTAS (
    Codigo       VARCHAR(20) PRIMARY KEY,
    Descripcion  VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE MA_CUENTASADIC (
    codigo    VARCHAR(20) PRIMARY KEY,
    TELEFONO  VARCHAR(50),
    mail      VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE TA_TAREAS (
    ID       INT AUTO_INCREMENT PRIMARY KEY,
    USUARIO  VARCHAR(50),
    TAREA    VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE TA_MENU (
    Clave    VARCHAR(50) PRIMARY KEY,
    Proceso  VARCHAR(100),
    Nombre   VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE Control_Acceso (
    ID             INT AUTO_INCREMENT PRIMARY KEY,
    Maquina        VARCHAR(50),
    Usuario        VARCHAR(50),
    Formulario     VARCHAR(100),
    Tarea          VARCHAR(100),
    Ingreso        VARCHAR(30),
    NombreUsuario  VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci

CREATE TABLE AUX_ERR (
    ID           INT AUTO_INCREMENT PRIMARY KEY,
    Proceso      VARCHAR(100),
    Fecha        VARCHAR(30),
    Error        INT,
    Descripcion  VARCHAR(255),
    "SQL"        LONGTEXT,
    PC           VARCHAR(50),
    Usuario      VARCHAR(50)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci
