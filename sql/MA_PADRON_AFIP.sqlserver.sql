-- MA_PADRON_AFIP: AFIP's register of taxpayers ("padrón de apellido y nombre o
-- denominación"), SQL Server. One row per CUIT, loaded by
--   MA_Empresas --padron <archivo.zip|archivo.tmp> "<texto de parámetros>"
-- which also creates both tables when they are missing; this script is for a
-- database where the program's user may not create tables.
--   CUIT          the 11 digits as a number
--   DENOMINACION  the registered name, trailing blanks removed
--   GANANCIAS, IVA, MONOTRIBUTO  status codes as AFIP writes them (IVA: AC activo,
--                 EX exento, NA no alcanzado, NI no inscripto, XN, AN)
--   SOCIEDAD, EMPLEADOR  S / N;  ACTIVIDAD  the monotributo activity code
-- MA_PADRON_AFIP_DATOS holds one row: the register's date (from its file name,
-- ….p20out1.AAAAMMDD.tmp; NULL when the name has none), the lines imported and
-- malformed, and when it was imported.
--
-- An import loads MA_PADRON_AFIP_NUEVO and then, in one transaction, drops
-- MA_PADRON_AFIP, renames the new table (sp_rename) and rewrites
-- MA_PADRON_AFIP_DATOS: SQL Server keeps DDL and sp_rename inside the
-- transaction, so readers see the previous register or the new one, never none.
-- The importing user needs CREATE TABLE and ALTER on the schema; readers SELECT.
--
-- Run once per database, e.g.: sqlcmd -S <server> -d <database> -i MA_PADRON_AFIP.sqlserver.sql
IF OBJECT_ID(N'dbo.MA_PADRON_AFIP', N'U') IS NULL
  CREATE TABLE dbo.MA_PADRON_AFIP (
    CUIT BIGINT NOT NULL PRIMARY KEY,
    DENOMINACION VARCHAR(30) NOT NULL,
    GANANCIAS CHAR(2) NULL,
    IVA CHAR(2) NULL,
    MONOTRIBUTO CHAR(2) NULL,
    SOCIEDAD CHAR(1) NULL,
    EMPLEADOR CHAR(1) NULL,
    ACTIVIDAD CHAR(2) NULL
  );
GO
IF OBJECT_ID(N'dbo.MA_PADRON_AFIP_DATOS', N'U') IS NULL
  CREATE TABLE dbo.MA_PADRON_AFIP_DATOS (
    FECHA_PADRON DATETIME NULL,
    LINEAS INT NOT NULL,
    MAL_FORMADAS INT NOT NULL,
    IMPORTADO DATETIME NOT NULL
  );
GO
