-- Business database on SQL Server, for tests and for a company that starts
-- without the product (the program never creates tables on a server).
-- Create the database with COLLATE Latin1_General_CI_AI, as the product's
-- (case, accents and trailing blanks ignored), then run this script with
-- recepcion-sql. UIDL and IdConversacion compare exactly. Each statement
-- keeps its continuation lines inside parentheses.

CREATE TABLE V_MA_EMAILMOV (
    ID              INT IDENTITY(1,1) PRIMARY KEY,
    STATUS          NVARCHAR(20),
    DE              NVARCHAR(255),
    PARA            NVARCHAR(250),
    ASUNTO          NVARCHAR(250),
    MENSAJE         NVARCHAR(MAX),
    FECHAHORA       DATETIME,
    USUARIO         NVARCHAR(50),
    NombreDe        NVARCHAR(255),
    CC              NVARCHAR(1000),
    UIDL            NVARCHAR(255) COLLATE Latin1_General_BIN2,
    IdConversacion  NVARCHAR(255) COLLATE Latin1_General_BIN2,
    CuentaEmail     NVARCHAR(255),
    Eliminado       INT DEFAULT 0,
    Leido           INT DEFAULT 0,
    Tipo            NVARCHAR(10),
    TC              NVARCHAR(10),
    IDCOMPROBANTE   NVARCHAR(50) DEFAULT '',
    CUENTA          NVARCHAR(50) DEFAULT '',
    INDEX IX_EMAILMOV_CONVERSACION (IdConversacion),
    INDEX IX_EMAILMOV_CUENTA (CuentaEmail, UIDL)
)
CREATE UNIQUE INDEX IX_EMAILMOV_UIDL ON V_MA_EMAILMOV (UIDL) WHERE UIDL IS NOT NULL

CREATE TABLE TA_CONFIGURACION (
    ID               INT IDENTITY(1,1) PRIMARY KEY,
    Grupo            NVARCHAR(50),
    Clave            NVARCHAR(100),
    Valor            NVARCHAR(4000),
    ValorAux         NVARCHAR(4000),
    PoliticaNegocio  INT DEFAULT 0,
    INDEX IX_CONFIGURACION_CLAVE (Clave)
)

CREATE TABLE ta_usuarios (
    ID                INT IDENTITY(1,1) PRIMARY KEY,
    Nombre            NVARCHAR(50),
    eMail_Server      NVARCHAR(100),
    email_usuario     NVARCHAR(100),
    email_Password    NVARCHAR(100) COLLATE Latin1_General_BIN2,
    Email_Nombre      NVARCHAR(100),
    email_ServerOtro  NVARCHAR(100),
    UNegocio          NVARCHAR(50),
    VerProforma       INT DEFAULT 0,
    INDEX IX_USUARIOS_NOMBRE (Nombre)
)

CREATE TABLE MA_CUENTAS (
    Codigo       NVARCHAR(20) PRIMARY KEY,
    Descripcion  NVARCHAR(100)
)

CREATE TABLE MA_CUENTASADIC (
    codigo    NVARCHAR(20) PRIMARY KEY,
    TELEFONO  NVARCHAR(50),
    mail      NVARCHAR(100)
)

CREATE TABLE TA_TAREAS (
    ID       INT IDENTITY(1,1) PRIMARY KEY,
    USUARIO  NVARCHAR(50),
    TAREA    NVARCHAR(100)
)

CREATE TABLE TA_MENU (
    Clave    NVARCHAR(50) PRIMARY KEY,
    Proceso  NVARCHAR(100),
    Nombre   NVARCHAR(100)
)

CREATE TABLE Control_Acceso (
    ID             INT IDENTITY(1,1) PRIMARY KEY,
    Maquina        NVARCHAR(50),
    Usuario        NVARCHAR(50),
    Formulario     NVARCHAR(100),
    Tarea          NVARCHAR(100),
    Ingreso        NVARCHAR(30),
    NombreUsuario  NVARCHAR(100)
)

CREATE TABLE AUX_ERR (
    ID           INT IDENTITY(1,1) PRIMARY KEY,
    Proceso      NVARCHAR(100),
    Fecha        NVARCHAR(30),
    Error        INT,
    Descripcion  NVARCHAR(255),
    SQL          NVARCHAR(MAX),
    PC           NVARCHAR(50),
    Usuario      NVARCHAR(50)
)
