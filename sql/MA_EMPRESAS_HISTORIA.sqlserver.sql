-- MA_EMPRESAS_HISTORIA: the change history of the companies (P_MA_Empresas), SQL Server.
--
-- The company program writes into it, in the same transaction as the change:
--   * one row per column a save changed (Operacion 'A' for a new company, 'M' for a
--     change), with the value before and after as text;
--   * one row per deletion (Operacion 'B'), Columna NombreEmpresa, the name as it was;
--   * a logo as "(imagen, N bytes)", with the SHA-256 of its bytes (hexadecimal) in
--     HashAnterior / HashNuevo.
-- Usuario is the database login, Estacion the workstation's name, IdEmpresa the
-- company code as the suite stores it (right-aligned to 15). Momento is set by the server.
-- Without this table the program keeps no history and works as before.
--
-- Run once per database, e.g.: sqlcmd -S <server> -d <database> -i MA_EMPRESAS_HISTORIA.sqlserver.sql
-- Operators need INSERT and SELECT on it; nobody needs UPDATE or DELETE.
IF OBJECT_ID(N'dbo.MA_EMPRESAS_HISTORIA', N'U') IS NULL
BEGIN
  CREATE TABLE dbo.MA_EMPRESAS_HISTORIA (
    Id INT IDENTITY(1, 1) NOT NULL CONSTRAINT PK_MA_EMPRESAS_HISTORIA PRIMARY KEY,
    Momento DATETIME NOT NULL CONSTRAINT DF_MA_EMPRESAS_HISTORIA_Momento DEFAULT (GETDATE()),
    Usuario NVARCHAR(128) NULL,
    Estacion NVARCHAR(128) NULL,
    IdEmpresa VARCHAR(15) NOT NULL,
    Operacion CHAR(1) NOT NULL,
    Columna NVARCHAR(128) NULL,
    ValorAnterior NVARCHAR(4000) NULL,
    ValorNuevo NVARCHAR(4000) NULL,
    HashAnterior CHAR(64) NULL,
    HashNuevo CHAR(64) NULL
  );
  CREATE INDEX MA_EMPRESAS_HISTORIA_Empresa ON dbo.MA_EMPRESAS_HISTORIA (IdEmpresa, Momento);
END
GO
