-- Index for looking a company up by its code.
--
-- The company program finds a company by its code without the blanks the code
-- is stored with: WHERE LTRIM(RTRIM(IdEmpresa)) = '7'. Without an index on that
-- expression the server reads the whole of P_MA_Empresas for every code typed.
-- SQL Server uses an index for an expression only through a computed column
-- of the same expression: the column IdEmpresaSinBlancos is computed (never
-- written; not persisted, so it takes no room in the table) and indexed.
-- The connections that change P_MA_Empresas need ANSI_NULLS, ANSI_PADDING,
-- ANSI_WARNINGS, ARITHABORT, CONCAT_NULL_YIELDS_NULL and QUOTED_IDENTIFIER on,
-- as ODBC connections have them.
--
-- Run once per company database, as its owner; running it again changes nothing.

IF COL_LENGTH('P_MA_Empresas', 'IdEmpresaSinBlancos') IS NULL
  ALTER TABLE P_MA_Empresas ADD IdEmpresaSinBlancos AS LTRIM(RTRIM(IdEmpresa));
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes
               WHERE name = 'IX_P_MA_Empresas_Codigo' AND object_id = OBJECT_ID('P_MA_Empresas'))
  CREATE INDEX IX_P_MA_Empresas_Codigo ON P_MA_Empresas (IdEmpresaSinBlancos);
GO
