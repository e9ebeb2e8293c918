-- Business database of the embedded engine. Text columns compare as the
-- product's server does (CI_AI: without case or accents); identifiers that
-- come from the mail store (UIDL, IdConversacion) compare exactly.

CREATE TABLE V_MA_EMAILMOV (
    ID              INTEGER PRIMARY KEY AUTOINCREMENT,
    STATUS          TEXT COLLATE CI_AI,
    DE              TEXT COLLATE CI_AI,
    PARA            TEXT COLLATE CI_AI,
    ASUNTO          TEXT COLLATE CI_AI,
    MENSAJE         TEXT COLLATE CI_AI,
    FECHAHORA       TEXT,
    USUARIO         TEXT COLLATE CI_AI,
    NombreDe        TEXT COLLATE CI_AI,
    CC              TEXT COLLATE CI_AI,
    UIDL            TEXT COLLATE BINARY,
    IdConversacion  TEXT COLLATE BINARY,
    CuentaEmail     TEXT COLLATE CI_AI,
    Eliminado       INTEGER DEFAULT 0,
    Leido           INTEGER DEFAULT 0,
    Tipo            TEXT COLLATE CI_AI,
    TC              TEXT COLLATE CI_AI,
    IDCOMPROBANTE   TEXT COLLATE CI_AI DEFAULT '',
    CUENTA          TEXT COLLATE CI_AI DEFAULT ''
);
CREATE UNIQUE INDEX IX_EMAILMOV_UIDL ON V_MA_EMAILMOV (UIDL);
CREATE INDEX IX_EMAILMOV_CONVERSACION ON V_MA_EMAILMOV (IdConversacion);
-- With UIDL, so that an import reads its account's entries from the index alone.
CREATE INDEX IX_EMAILMOV_CUENTA ON V_MA_EMAILMOV (CuentaEmail, UIDL);

CREATE TABLE TA_CONFIGURACION (
    ID               INTEGER PRIMARY KEY AUTOINCREMENT,
    Grupo            TEXT COLLATE CI_AI,
    Clave            TEXT COLLATE CI_AI,
    Valor            TEXT COLLATE CI_AI,
    ValorAux         TEXT COLLATE CI_AI,
    PoliticaNegocio  INTEGER DEFAULT 0
);
CREATE INDEX IX_CONFIGURACION_CLAVE ON TA_CONFIGURACION (Clave);

CREATE TABLE ta_usuarios (
    ID                INTEGER PRIMARY KEY AUTOINCREMENT,
    Nombre            TEXT COLLATE CI_AI,
    eMail_Server      TEXT COLLATE CI_AI,
    email_usuario     TEXT COLLATE CI_AI,
    email_Password    TEXT COLLATE BINARY,
    Email_Nombre      TEXT COLLATE CI_AI,
    email_ServerOtro  TEXT COLLATE CI_AI,
    UNegocio          TEXT COLLATE CI_AI,
    VerProforma       INTEGER DEFAULT 0
);
CREATE INDEX IX_USUARIOS_NOMBRE ON ta_usuarios (Nombre);

CREATE TABLE MA_CUENTAS (
    Codigo       TEXT COLLATE CI_AI PRIMARY KEY,
    Descripcion  TEXT COLLATE CI_AI
);

CREATE TABLE MA_CUENTASADIC (
    codigo    TEXT COLLATE CI_AI PRIMARY KEY,
    TELEFONO  TEXT COLLATE CI_AI,
    mail      TEXT COLLATE CI_AI
);

CREATE TABLE TA_TAREAS (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    USUARIO  TEXT COLLATE CI_AI,
    TAREA    TEXT COLLATE CI_AI
);

CREATE TABLE TA_MENU (
    Clave    TEXT COLLATE CI_AI PRIMARY KEY,
    Proceso  TEXT COLLATE CI_AI,
    Nombre   TEXT COLLATE CI_AI
);

CREATE TABLE Control_Acceso (
    ID             INTEGER PRIMARY KEY AUTOINCREMENT,
    Maquina        TEXT COLLATE CI_AI,
    Usuario        TEXT COLLATE CI_AI,
    Formulario     TEXT COLLATE CI_AI,
    Tarea          TEXT COLLATE CI_AI,
    Ingreso        TEXT,
    NombreUsuario  TEXT COLLATE CI_AI
);

CREATE TABLE AUX_ERR (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    Proceso      TEXT COLLATE CI_AI,
    Fecha        TEXT,
    Error        INTEGER,
    Descripcion  TEXT COLLATE CI_AI,
    SQL          TEXT,
    PC           TEXT COLLATE CI_AI,
    Usuario      TEXT COLLATE CI_AI
);
