-- MA_PADRON_AFIP: AFIP's register of taxpayers ("padrón de apellido y nombre o
-- denominación"), PostgreSQL 12 or later. One row per CUIT, loaded by
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
-- An import loads MA_PADRON_AFIP_NUEVO (its primary key built once loaded) and
-- then, in one transaction, drops MA_PADRON_AFIP, renames the new table and
-- rewrites MA_PADRON_AFIP_DATOS: PostgreSQL's DDL is transactional, so readers
-- see the previous register or the new one, never none. The drop waits for the
-- readers of the previous table (lock_timeout).
-- The importing user must own the tables (it drops and renames them); readers SELECT.
--
-- Run once per database, e.g.: psql -d <database> -f MA_PADRON_AFIP.postgresql.sql
CREATE TABLE IF NOT EXISTS MA_PADRON_AFIP (
  CUIT BIGINT NOT NULL PRIMARY KEY,
  DENOMINACION VARCHAR(30) NOT NULL,
  GANANCIAS CHAR(2),
  IVA CHAR(2),
  MONOTRIBUTO CHAR(2),
  SOCIEDAD CHAR(1),
  EMPLEADOR CHAR(1),
  ACTIVIDAD CHAR(2)
);
CREATE TABLE IF NOT EXISTS MA_PADRON_AFIP_DATOS (
  FECHA_PADRON TIMESTAMP(3),
  LINEAS INTEGER NOT NULL,
  MAL_FORMADAS INTEGER NOT NULL,
  IMPORTADO TIMESTAMP(3) NOT NULL
);
