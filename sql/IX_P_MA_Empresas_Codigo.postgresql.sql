-- Index for looking a company up by its code.
--
-- The company program finds a company by its code without the blanks the code
-- is stored with: WHERE LTRIM(RTRIM(IdEmpresa)) = '7'. Without an index on that
-- expression the server reads the whole of P_MA_Empresas for every code typed;
-- an expression index serves the lookup. It takes the column's collation, which
-- the comparison uses (ma_es where the column compares as the suite's server).
--
-- Run once per company database, as the table's owner; running it again changes nothing.

CREATE INDEX IF NOT EXISTS IX_P_MA_Empresas_Codigo ON P_MA_Empresas (LTRIM(RTRIM(IdEmpresa)));
