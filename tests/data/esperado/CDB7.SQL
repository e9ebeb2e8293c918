Create Database CV_ESTADISTICAS COLLATE Latin1_General_CI_AI 
GO
USE CV_ESTADISTICAS
EXEC  sp_addlogin N'CV_ESTADISTICAS', 'RZ_MOLVENTARICO', 'CV_ESTADISTICAS'
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', sysadmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', securityadmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', serveradmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS',  setupadmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', processadmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', diskadmin
EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', dbcreator
EXEC sp_grantdbaccess @loginame = 'CV_ESTADISTICAS' , @name_in_db ='CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_accessadmin', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_backupoperator', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_datareader', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_datawriter', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_ddladmin', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_owner', N'CV_ESTADISTICAS'
EXEC sp_addrolemember N'db_securityadmin', N'CV_ESTADISTICAS'
