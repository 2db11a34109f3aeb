-- MA_PADRON_AFIP: AFIP's register of taxpayers ("padrón de apellido y nombre o
-- denominación"), Oracle 12c or later. One row per CUIT, loaded by
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
-- Oracle commits each DDL statement by itself, so the replacement cannot be one
-- transaction. An import loads MA_PADRON_AFIP_NUEVO, then renames
-- MA_PADRON_AFIP to MA_PADRON_AFIP_VIEJO and MA_PADRON_AFIP_NUEVO to
-- MA_PADRON_AFIP, rewrites MA_PADRON_AFIP_DATOS (one transaction) and drops the
-- old table. Between the two renames (an instant) readers find no register and
-- the form shows none; an import interrupted there leaves MA_PADRON_AFIP_VIEJO,
-- which the next import renames back before it starts. Until the data row is
-- rewritten, it still describes the previous register.
-- The importing user must own the tables (it drops and renames them); readers SELECT.
--
-- Run once, as the suite's schema owner, e.g.: sqlplus <owner>@<service> @MA_PADRON_AFIP.oracle.sql
CREATE TABLE MA_PADRON_AFIP (
  CUIT NUMBER(11) NOT NULL PRIMARY KEY,
  DENOMINACION VARCHAR2(30) NOT NULL,
  GANANCIAS CHAR(2),
  IVA CHAR(2),
  MONOTRIBUTO CHAR(2),
  SOCIEDAD CHAR(1),
  EMPLEADOR CHAR(1),
  ACTIVIDAD CHAR(2)
);
CREATE TABLE MA_PADRON_AFIP_DATOS (
  FECHA_PADRON DATE,
  LINEAS NUMBER(10) NOT NULL,
  MAL_FORMADAS NUMBER(10) NOT NULL,
  IMPORTADO DATE NOT NULL
);
