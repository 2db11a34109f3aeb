// SQL Server statements rewritten into Oracle syntax.
#include "db/TraduccionOracle.h"

#include <gtest/gtest.h>

#include "platform/core/Error.h"

namespace {

struct Caso {
  const char* nombre;
  const char* entrada;
  const char* salida;
};

void Traducir(const std::vector<Caso>& casos) {
  for (const Caso& c : casos)
    EXPECT_EQ(TraducirAOracle(QString::fromUtf8(c.entrada)).toStdString(), std::string(c.salida)) << c.nombre;
}

TEST(TraduccionOracle, TopARownum) {
  Traducir({
      // ROWNUM counts rows before they are sorted or grouped: the limit goes outside.
      {"con WHERE y ORDER BY", "SELECT TOP 1 * FROM CLIENTES WHERE CODIGO = '1' ORDER BY NOMBRE",
       "SELECT * FROM (SELECT * FROM CLIENTES WHERE CODIGO = '1' ORDER BY NOMBRE) WHERE ROWNUM <= 1"},
      {"la pagina de la verificacion",
       "SELECT TOP 500 IdEmpresa, NombreEmpresa, CUIT FROM P_MA_Empresas WHERE IdEmpresa > 'x' ORDER BY "
       "IdEmpresa",
       "SELECT * FROM (SELECT IdEmpresa, NombreEmpresa, CUIT FROM P_MA_Empresas WHERE IdEmpresa > 'x' ORDER "
       "BY "
       "IdEmpresa) WHERE ROWNUM <= 500"},
      {"DISTINCT", "SELECT DISTINCT TOP 2 A FROM T",
       "SELECT * FROM (SELECT DISTINCT A FROM T) WHERE ROWNUM <= 2"},
      {"dentro de un INSERT", "INSERT INTO U (A) SELECT TOP 3 A FROM T ORDER BY A",
       "INSERT INTO U (A) SELECT * FROM (SELECT A FROM T ORDER BY A) WHERE ROWNUM <= 3"},
      {"sin WHERE", "SELECT TOP 5 * FROM CLIENTES", "SELECT  * FROM CLIENTES  WHERE ROWNUM <= 5  "},
      {"GROUP BY seguido de ORDER BY",
       "SELECT TOP 3 ZONA, COUNT(*) FROM CLIENTES WHERE A = 1 GROUP BY ZONA ORDER BY ZONA",
       "SELECT * FROM (SELECT ZONA, COUNT(*) FROM CLIENTES WHERE A = 1 GROUP BY ZONA ORDER BY ZONA) WHERE "
       "ROWNUM <= 3"},
      {"dos blancos tras TOP 1", "SELECT TOP 1  * FROM CLIENTES WHERE LTRIM(RTRIM(CODIGO)) ='0001'",
       "SELECT   * FROM CLIENTES WHERE LTRIM(RTRIM(CODIGO)) ='0001'  AND ROWNUM <= 1  "},
      {"\"top \" dentro de un literal no es un TOP", "SELECT * FROM T WHERE NOMBRE = 'top secret'",
       "SELECT * FROM T WHERE NOMBRE = 'top secret'"},
      {"literal con \"top \" y con \" WHERE \" junto a un TOP real",
       "SELECT TOP 2 * FROM T ORDER BY 'x WHERE top '",
       "SELECT * FROM (SELECT * FROM T ORDER BY 'x WHERE top ') WHERE ROWNUM <= 2"},
      {"\"top \" al final de un nombre", "SELECT * FROM LAPTOP WHERE A = 1",
       "SELECT * FROM LAPTOP WHERE A = 1"},
      {"ORDER BY de un literal no es la cola", "SELECT TOP 1 A FROM T WHERE B = 'ORDER BY X'",
       "SELECT  A FROM T WHERE B = 'ORDER BY X'  AND ROWNUM <= 1  "},
      {"condicion con OR entre parentesis", "SELECT TOP 5 * FROM T WHERE a = 1 OR b = 2",
       "SELECT  * FROM T WHERE (a = 1 OR b = 2)   AND ROWNUM <= 5  "},
      {"salto de linea tras el numero", "SELECT TOP 5\nA, B FROM T",
       "SELECT  A, B FROM T  WHERE ROWNUM <= 5  "},
      {"ORDER BY de una subconsulta al final queda en ella",
       "SELECT TOP 5 * FROM T WHERE A IN (SELECT B FROM U ORDER BY B)",
       "SELECT  * FROM T WHERE A IN (SELECT B FROM U ORDER BY B)  AND ROWNUM <= 5  "},
      {"WHERE de una subconsulta no es el de la sentencia",
       "SELECT TOP 2 * FROM (SELECT * FROM T WHERE X = 1) Y",
       "SELECT  * FROM (SELECT * FROM T WHERE X = 1) Y  WHERE ROWNUM <= 2  "},
      {"comentario al final no se traga el limite", "SELECT TOP 3 A FROM T WHERE B = 1 OR C = 2 -- nota",
       "SELECT  A FROM T WHERE (B = 1 OR C = 2 -- nota\n) \n  AND ROWNUM <= 3  "},
      // TOP's operand is a token: a number or a parenthesised expression, whole.
      {"expresion entre parentesis con un literal", "SELECT TOP ('a b') X FROM T",
       "SELECT  X FROM T  WHERE ROWNUM <= ('a b')  "},
      {"parentesis sin blanco", "SELECT TOP(2) X FROM T", "SELECT  X FROM T  WHERE ROWNUM <= (2)  "},
      {"blanco que no es ASCII", "SELECT TOP\u00a05 X FROM T", "SELECT  X FROM T  WHERE ROWNUM <= 5  "},
      {"TOP de una subconsulta", "SELECT A FROM T WHERE B = (SELECT TOP 1 C FROM U ORDER BY C)",
       "SELECT A FROM T WHERE B = (SELECT * FROM (SELECT C FROM U ORDER BY C) WHERE ROWNUM <= 1)"},
      {"la navegacion", "SELECT TOP 1 * FROM P WHERE K = (SELECT MIN(K) FROM P WHERE K > '7')",
       "SELECT  * FROM P WHERE K = (SELECT MIN(K) FROM P WHERE K > '7')  AND ROWNUM <= 1  "},
  });
}

TEST(TraduccionOracle, TopSinOperandoLegibleNoSeTraduce) {
  for (const char* s : {"SELECT TOP ('a b' X FROM T", "SELECT TOP X FROM T", "SELECT TOP 'a b' X FROM T",
                        "SELECT TOP 5x A FROM T", "SELECT TOP 1.5 A FROM T", "SELECT TOP 10 PERCENT A FROM T",
                        "SELECT TOP 3 WITH TIES A FROM T ORDER BY A", "SELECT TOP\u00a0'a b' X FROM T",
                        "SELECT TOP \u0661 A FROM T", "SELECT TOP "}) {
    try {
      const QString r = TraducirAOracle(QString::fromUtf8(s));
      ADD_FAILURE() << s << " -> " << r.toStdString();
    } catch (const ado::Failure& f) {
      EXPECT_EQ(f.Number(), ado::err::CommandText) << s;
      EXPECT_TRUE(f.Info().Description.contains(QStringLiteral("TOP debe ir seguido"))) << s;
    }
  }
}

TEST(TraduccionOracle, ReglasDeTexto) {
  Traducir({
      {"LEN con cero a cuatro blancos", "SELECT LEN(A), LEN (B), LEN  (C), LEN   (D), LEN    (E) FROM T",
       "SELECT LENGTH(A), LENGTH(B), LENGTH(C), LENGTH(D), LENGTH(E) FROM T"},
      {"LEN tras un parentesis o una coma, no en un nombre", "SELECT MAX(LEN(A)),LEN(B), XLEN(C) FROM T",
       "SELECT MAX(LENGTH(A)),LENGTH(B), XLEN(C) FROM T"},
      {"corchetes a comillas dobles, no en literales", "SELECT [MI CAMPO] FROM [MI TABLA] WHERE X = '[a]'",
       "SELECT \"MI CAMPO\" FROM \"MI TABLA\" WHERE X = '[a]'"},
      {"Charindex", "SELECT CHARINDEX('a', X) FROM T", "SELECT InStr('a', X) FROM T"},
      {"CONVERT a TO_CHAR con estilo 103", "SELECT CONVERT(NVARCHAR, FECHA, 103) FROM T",
       "SELECT TO_CHAR( FECHA, 'DD/MM/YYYY') FROM T"},
      {"CONVERT a TO_NUMBER", "SELECT CONVERT(INT, CODIGO) FROM T", "SELECT TO_NUMBER( CODIGO) FROM T"},
      {"103 fuera de TO_CHAR queda", "SELECT * FROM T WHERE CODIGO = 103",
       "SELECT * FROM T WHERE CODIGO = 103"},
      {"103 como parte de otro numero queda", "SELECT TO_CHAR(1103) FROM T", "SELECT TO_CHAR(1103) FROM T"},
      {"SUBSTRING e ISNULL", "SELECT SUBSTRING(A,1,2), ISNULL(B,0) FROM T",
       "SELECT SUBSTR(A,1,2), NVL(B,0) FROM T"},
      {"reglas fuera de literales", "SELECT ISNULL(A, 'ISNULL(x)') FROM T",
       "SELECT NVL(A, 'ISNULL(x)') FROM T"},
  });
}

// Beyond the suite's rules: what this program writes that Oracle lacks.
TEST(TraduccionOracle, LoQueOracleNoTiene) {
  Traducir({
      {"el talonario de la siembra",
       "SELECT MAX(m.TALONARIO) FROM V_TA_CPTE m WHERE m.Codigo = RIGHT('    ' + LTRIM(RTRIM(t.Codigo)), 4)",
       "SELECT MAX(m.TALONARIO) FROM V_TA_CPTE m WHERE m.Codigo = SUBSTR('    ' || LTRIM(RTRIM(t.Codigo)), "
       "GREATEST(LENGTH('    ' || LTRIM(RTRIM(t.Codigo))) - (4) + 1, 1))"},
      {"toda la cadena une textos", "SELECT 'a' + B + C, D + 1 FROM T", "SELECT 'a' || B || C, D + 1 FROM T"},
      {"funcion de texto a la derecha", "UPDATE T SET A = B + UPPER(C) WHERE D = E + 2",
       "UPDATE T SET A = B || UPPER(C) WHERE D = E + 2"},
      {"texto entre parentesis", "SELECT (A + 'x') + B FROM T", "SELECT (A || 'x') || B FROM T"},
      {"+ dentro de un literal", "SELECT 'a+b' FROM T WHERE X = Y + 1",
       "SELECT 'a+b' FROM T WHERE X = Y + 1"},
      {"LEFT y LEFT JOIN", "SELECT LEFT(A, 2) FROM T LEFT JOIN U ON 1 = 1",
       "SELECT SUBSTR(A, 1, 2) FROM T LEFT JOIN U ON 1 = 1"},
      {"RIGHT dentro de RIGHT", "SELECT RIGHT(RIGHT(A, 3), 1) FROM T",
       "SELECT SUBSTR(SUBSTR(A, GREATEST(LENGTH(A) - (3) + 1, 1)), GREATEST(LENGTH(SUBSTR(A, "
       "GREATEST(LENGTH(A) - "
       "(3) + 1, 1))) - (1) + 1, 1)) FROM T"},
      {"GETDATE", "INSERT INTO H (M) VALUES (GETDATE ( ))", "INSERT INTO H (M) VALUES (SYSDATE)"},
      {"GETDATE en un literal", "SELECT 'GETDATE()' FROM T", "SELECT 'GETDATE()' FROM T"},
  });
}

TEST(TraduccionOracle, VacioANulo) {
  Traducir({
      {"comparacion con vacio", "SELECT * FROM T WHERE NOMBRE = ''",
       "SELECT * FROM T WHERE NOMBRE  IS NULL "},
      {"sin blanco y antes del WHERE", "UPDATE T SET A='' WHERE B=''", "UPDATE T SET A='' WHERE B IS NULL "},
      {"distinto de vacio", "SELECT * FROM T WHERE A <> '' AND B!=''",
       "SELECT * FROM T WHERE A  IS NOT NULL  AND B IS NOT NULL "},
      {"la condicion de un JOIN antes del WHERE", "SELECT * FROM T JOIN U ON U.A = '' WHERE T.B = 1",
       "SELECT * FROM T JOIN U ON U.A  IS NULL  WHERE T.B = 1"},
      {"un literal con un apostrofe no es vacio", "SELECT * FROM T WHERE A = ''''",
       "SELECT * FROM T WHERE A = ''''"},
      {"\"= ''\" dentro de un literal", "SELECT * FROM T WHERE A = 'x = '''' y'",
       "SELECT * FROM T WHERE A = 'x = '''' y'"},
  });
}

TEST(TraduccionOracle, LiteralesDeFecha) {
  Traducir({
      {"fecha dia/mes/anio", "SELECT * FROM T WHERE FECHA = '31/12/2024'",
       "SELECT * FROM T WHERE FECHA = TO_DATE('31/12/2024','DD/MM/YYYY')"},
      {"dia y mes de una cifra", "SELECT * FROM T WHERE FECHA >= '1/2/2024' AND FECHA < '1/3/2024'",
       "SELECT * FROM T WHERE FECHA >= TO_DATE('01/02/2024','DD/MM/YYYY') AND FECHA < "
       "TO_DATE('01/03/2024','DD/MM/YYYY')"},
      {"ya envuelta queda envuelta una vez",
       "SELECT * FROM T WHERE FECHA = TO_DATE('31/12/2024','DD/MM/YYYY')",
       "SELECT * FROM T WHERE FECHA = TO_DATE('31/12/2024','DD/MM/YYYY')"},
      {"la misma fecha dos veces", "SELECT * FROM T WHERE A = '31/12/2024' OR B = '31/12/2024'",
       "SELECT * FROM T WHERE A = TO_DATE('31/12/2024','DD/MM/YYYY') OR B = "
       "TO_DATE('31/12/2024','DD/MM/YYYY')"},
      {"con N delante", "SELECT * FROM T WHERE F = N'31/12/2024'",
       "SELECT * FROM T WHERE F = TO_DATE('31/12/2024','DD/MM/YYYY')"},
      {"pegada a otro nombre no es una fecha", "SELECT * FROM T WHERE F = X'31/12/2024'",
       "SELECT * FROM T WHERE F = X'31/12/2024'"},
      {"fecha inexistente no se toca", "SELECT * FROM T WHERE A = '31/02/2024'",
       "SELECT * FROM T WHERE A = '31/02/2024'"},
      {"fecha dentro de otro literal no se toca", "SELECT * FROM T WHERE A = 'x''31/12/2024''y'",
       "SELECT * FROM T WHERE A = 'x''31/12/2024''y'"},
      {"TO_DATE del llamador con su formato", "SELECT * FROM T WHERE F = TO_DATE('2024-12-31','YYYY-MM-DD')",
       "SELECT * FROM T WHERE F = TO_DATE('2024-12-31','YYYY-MM-DD')"},
      {"literal que cita TO_DATE(TO_DATE( queda como esta",
       "SELECT * FROM T WHERE A = 'TO_DATE(TO_DATE(x' AND F = '31/12/2024'",
       "SELECT * FROM T WHERE A = 'TO_DATE(TO_DATE(x' AND F = TO_DATE('31/12/2024','DD/MM/YYYY')"},
  });
}

}  // namespace
