-- Index for looking a company up by its code.
--
-- The company program finds a company by its code without the blanks the code
-- is stored with: WHERE LTRIM(RTRIM(IdEmpresa)) = '7'. Without an index on that
-- expression the server reads the whole of P_MA_Empresas for every code typed;
-- a function-based index on the same expression serves the lookup.
--
-- Run once per company schema, as its owner.

CREATE INDEX IX_P_MA_Empresas_Codigo ON P_MA_Empresas (LTRIM(RTRIM(IdEmpresa)));
