-- Demo rows: one user with mail settings, accounts with telephone and mail,
-- tasks and menu entries. One statement per line.
DELETE FROM ta_usuarios WHERE Nombre = 'DEMO';
INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, email_ServerOtro, UNegocio, VerProforma) VALUES ('DEMO', 'Otro', 'recepcion@demo.test', 'secreto', 'Recepción Demo', '127.0.0.1:2525', '   1', 0);
DELETE FROM MA_CUENTAS;
INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C0001', 'ALMACÉN LA ESPIGA');
INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C0002', 'Ferretería Núñez');
INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C0003', 'Transportes O''Donnell');
DELETE FROM MA_CUENTASADIC;
INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('C0001', '+34 91 555 01 01', 'pedidos@espiga.test');
INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('C0002', '+34 93 555 02 02', 'nunez@ferreteria.test');
INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('C0003', '+34 96 555 03 03', 'trafico@odonnell.test');
DELETE FROM TA_MENU;
INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('M100', 'RECEPCION-EMAIL', 'Recepción de correo');
INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('M200', 'VENTAS', 'Ventas');
DELETE FROM TA_TAREAS;
INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('DEMO', 'M100');
INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('DEMO', 'M200');
