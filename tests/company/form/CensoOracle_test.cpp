// What Oracle would receive: the form's scenarios run on a SQLite copy of the
// demo database while every statement is also translated for Oracle, and a
// checker written for this test (its own small tokenizer, not the program's)
// looks for SQL Server constructs left in the translated text.
// MA_CENSO_ORACLE=<file> writes the census (scenario, tab, statement) there.
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "company/form/FormularioEnBase.h"
#include "company/form/PlanillaEmpresas.h"
#include "company/rules/ExportarEmpresas.h"
#include "company/rules/VerificarEmpresas.h"
#include "platform/client/Translation.h"
#include "platform/services/ArchivoIni.h"
#include "platform/services/Entorno.h"
#include "session/IniciarSesion.h"

namespace {

struct Token {
  enum Tipo { Palabra, Literal, Corchete, Signo, Otro } tipo;
  QString texto;
};

std::vector<Token> Tokens(const QString& s) {
  std::vector<Token> t;
  for (int i = 0; i < s.size();) {
    const QChar c = s[i];
    if (c.isSpace()) {
      ++i;
    } else if (s.mid(i, 2) == "--") {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (s.mid(i, 2) == "/*") {
      const int f = s.indexOf("*/", i + 2);
      i = f < 0 ? s.size() : f + 2;
    } else if (c == '\'' || c == '"' || c == '[') {
      const QChar cierre = c == '[' ? QChar(']') : c;
      int j = i + 1;
      while (j < s.size() && !(s[j] == cierre && !(j + 1 < s.size() && s[j + 1] == cierre && c != '['))) {
        if (s[j] == cierre) ++j;  // a doubled quote
        ++j;
      }
      // N'text' is one literal.
      if (c == '\'' && !t.empty() && t.back().tipo == Token::Palabra && t.back().texto.toUpper() == "N" &&
          i > 0 && s[i - 1] == 'N')
        t.pop_back();
      t.push_back({c == '\''  ? Token::Literal
                   : c == '[' ? Token::Corchete
                              : Token::Otro,
                   s.mid(i, j + 1 - i)});
      i = j + 1;
    } else if (c.isLetterOrNumber() || c == '_' || c == '@' || c == '#') {
      int j = i;
      while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == '_' || s[j] == '@' || s[j] == '#' ||
                              s[j] == '$' || (c.isDigit() && s[j] == '.')))
        ++j;
      t.push_back({Token::Palabra, s.mid(i, j - i)});
      i = j;
    } else {
      t.push_back({Token::Signo, QString(c)});
      ++i;
    }
  }
  return t;
}

bool Es(const std::vector<Token>& t, size_t i, const char* texto) {
  return i < t.size() && t[i].texto.compare(QLatin1String(texto), Qt::CaseInsensitive) == 0;
}

// Functions whose result is text: "+" next to one of them joins texts.
bool FuncionDeTexto(const QString& nombre) {
  static const QSet<QString> kTexto{"LTRIM", "RTRIM", "UPPER", "LOWER",  "SUBSTR",  "SUBSTRING", "REPLACE",
                                    "TRIM",  "LPAD",  "RPAD",  "CONCAT", "TO_CHAR", "CHAR",      "SPACE"};
  return kTexto.contains(nombre.toUpper());
}

// The SQL Server constructs left in a statement meant for Oracle.
QStringList Restos(const QString& sql) {
  const std::vector<Token> t = Tokens(sql);
  QStringList r;
  std::vector<int> grupo(t.size(), -1), abiertos;
  std::vector<int> pareja(t.size(), -1);
  for (size_t i = 0; i < t.size(); ++i) {
    grupo[i] = abiertos.empty() ? -1 : abiertos.back();
    if (Es(t, i, "(")) abiertos.push_back(static_cast<int>(i));
    if (Es(t, i, ")") && !abiertos.empty()) {
      pareja[i] = abiertos.back();
      abiertos.pop_back();
    }
  }
  QSet<int> conRownum, conOrden;
  bool enSet = false;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i].tipo == Token::Corchete) r << "[corchetes]";
    // Oracle holds '' as NULL: comparing with it is never true (assigning it is fine).
    if (t[i].texto == "''" && i > 0 && !enSet && (Es(t, i - 1, "=") || Es(t, i - 1, ">")))
      r << "comparación con ''";
    if (Es(t, i, "VALUES") || Es(t, i, "SET")) enSet = Es(t, i, "SET");
    if (Es(t, i, "WHERE")) enSet = false;
    if (t[i].tipo != Token::Palabra && !Es(t, i, "+")) continue;
    if (Es(t, i, "TOP")) r << "TOP";
    if (Es(t, i, "WITH") && Es(t, i + 1, "(")) r << "WITH (…)";
    for (const char* f : {"LEN", "ISNULL", "RIGHT", "LEFT", "GETDATE", "CHARINDEX"})
      if (Es(t, i, f) && Es(t, i + 1, "(")) r << f;
    if (Es(t, i, "ROWNUM")) conRownum << grupo[i];
    if (Es(t, i, "ORDER") && Es(t, i + 1, "BY")) conOrden << grupo[i];
    if (Es(t, i, "+") && i > 0) {
      const Token& a = t[i - 1];
      const bool antesTexto = a.tipo == Token::Literal || (Es(t, i - 1, ")") && pareja[i - 1] > 0 &&
                                                           FuncionDeTexto(t[pareja[i - 1] - 1].texto));
      const bool despuesTexto = i + 1 < t.size() && (t[i + 1].tipo == Token::Literal ||
                                                     (FuncionDeTexto(t[i + 1].texto) && Es(t, i + 2, "(")));
      if (antesTexto || despuesTexto) r << "+ entre textos";
    }
  }
  for (int g : conRownum)
    if (conOrden.contains(g)) r << "ROWNUM junto a ORDER BY";
  r.removeDuplicates();
  return r;
}

// The checker finds each construct, and nothing in what Oracle takes.
TEST(CensoOracle, ElVerificadorVeCadaConstruccion) {
  const struct {
    const char* sql;
    QStringList restos;
  } casos[] = {
      {"SELECT TOP 1 * FROM P_MA_Empresas WHERE IdEmpresa = (SELECT MIN(IdEmpresa) FROM P_MA_Empresas)",
       {"TOP"}},
      {"SELECT a + 'x' FROM T", {"+ entre textos"}},
      {"SELECT RIGHT('    ' + LTRIM(RTRIM(t.Codigo)), 4) FROM T t", {"RIGHT", "+ entre textos"}},
      {"SELECT LTRIM(a) + b FROM T", {"+ entre textos"}},
      {"SELECT [Mi Campo] FROM T WITH (NOLOCK)", {"[corchetes]", "WITH (…)"}},
      {"SELECT LEN(a), ISNULL(b, 0), LEFT(c, 2), GETDATE(), CHARINDEX('a', d) FROM T",
       {"LEN", "ISNULL", "LEFT", "GETDATE", "CHARINDEX"}},
      // What the translation made of --verificar's page before.
      {"SELECT  IdEmpresa FROM P_MA_Empresas WHERE IdEmpresa > 'x'  AND ROWNUM <= 500  ORDER BY IdEmpresa",
       {"ROWNUM junto a ORDER BY"}},
      {"SELECT * FROM (SELECT IdEmpresa FROM P ORDER BY IdEmpresa) WHERE ROWNUM <= 500", {}},
      {"SELECT a + 1, 'TOP [x] + LEN(' FROM T LEFT JOIN U ON 1 = 1 -- TOP\n", {}},
      {"SELECT \"Top\" FROM T WHERE x = N'a' || 'b'", {}},
      {"SELECT * FROM T JOIN U ON U.a = '' WHERE b <> ''", {"comparación con ''"}},
      {"UPDATE T SET a = '', b = '' WHERE c IS NULL", {}},
      {"INSERT INTO T (a, b) VALUES ('x', '')", {}},
  };
  for (const auto& c : casos) EXPECT_EQ(Restos(QString::fromUtf8(c.sql)), c.restos) << c.sql;
}

class CensoOracle : public FormularioEnBase {
 public:
  void SetUp() override {
    FormularioEnBase::SetUp();
    ASSERT_TRUE(carpeta.isValid());
    ado::SetWitness(ado::Dialect::Oracle, [this](const QString& s, bool rechazada) {
      enviadas.push_back({escena, rechazada ? "NO SE TRADUCE: " + s : s});
    });
  }
  void TearDown() override {
    ado::SetWitness(ado::Dialect::Unknown, {});
    ArchivoIni::Compartido().FijarCarpetas({});
    Entorno::Compartido().FijarIdentificadores(std::nullopt, std::nullopt);
    EstablecerFinDelPrograma({});
    FormularioEnBase::TearDown();
  }

  // The start-up as the program runs it, then the form's load.
  void Iniciar() {
    escena = "inicio";
    op = OperadorGuionado::Instalar();
    ArchivoIni::Compartido().FijarCarpetas({carpeta.path()});
    Entorno::Compartido().FijarIdentificadores(QStringLiteral("pc1"), QStringLiteral("juan"));
    EstablecerFinDelPrograma([] { ADD_FAILURE() << "el programa terminó"; });
    db.SetCnn(nullptr);
    db.gLogErr = logs.filePath(QStringLiteral("VMERR.LOG"));
    bool usarIni = false;
    QString parametros = "@Server=" + base.server + ";@DbName=" + base.dbName + ";@Usuario=" + base.user +
                         ";@Password=" + base.password + ";";
    QString connString;
    IniciarSesion(usarIni, parametros, connString);
    ASSERT_TRUE(db.gOpenFlag);
    cnn = db.gCnn();
    form = std::make_unique<frmMA_Empresas>();
    ASSERT_TRUE(form->Cargar());
  }

  struct Enviada {
    QString escena;
    QString sql;
  };
  std::vector<Enviada> enviadas;
  QString escena;
  QTemporaryDir carpeta;
};

TEST_P(CensoOracle, NadaDeSqlServerLlegaAOracle) {
  Iniciar();
  const struct {
    const char* nombre;
    std::function<void()> hacer;
  } escenas[] = {
      {"movimientos",
       [&] {
         for (const char* k : {"PRIMERO", "SIGUIENTE", "SIGUIENTE", "ANTERIOR", "ULTIMO", "ANTERIOR"})
           Navegar(k);
       }},
      {"codigo + Enter", [&] { Mostrar("2"); }},
      {"GRABAR de una empresa existente",
       [&] {
         Escribir(2, "Otra calle 123");
         Accion("GRABAR");
       }},
      {"GRABAR de una empresa nueva",
       [&] {
         Mostrar("77");
         Escribir(1, "Nueva S.A.");
         Accion("GRABAR");
       }},
      {"historia (Ctrl+H)",
       [&] {
         Mostrar("2");
         op->AlMostrar([](DialogoModal& d) { EXPECT_EQ(d.Nombre(), "frmHistoriaEmpresa"); });
         EXPECT_TRUE(L().Form_KeyDown(tecla::Letra('H'), tecla::Control));
         Accion("CANCELAR");
       }},
      {"BORRAR",
       [&] {
         Mostrar("77");
         op->Responder(vb::Yes);
         Accion("BORRAR");
       }},
      {"--verificar",
       [&] {
         VerificarEmpresas(
             Reparacion::No, [](const LineaVerificacion&) {}, cnn, 2);
       }},
      {"--reparar",
       [&] {
         testdb::RunSql(base, "DELETE FROM V_TA_CPTE WHERE EMPRESA = '" + Codigo15("2") + "'");
         int completadas = 0;
         VerificarEmpresas(
             Reparacion::Completar,
             [&](const LineaVerificacion& l) { completadas += l.tipo == Hallazgo::Completada; }, cnn, 2);
         EXPECT_GT(completadas, 0);
       }},
      {"--exportar", [&] { EXPECT_EQ(ExportarEmpresas(carpeta.filePath("e.xlsx"), 5).error, QString()); }},
      {"planilla (Ctrl+P): páginas, orden, búsqueda",
       [&] {
         testdb::GrowCompanies(base, 500, 0, 0);
         op->AlMostrar([](DialogoModal& d) {
           auto& p = *dynamic_cast<DialogoPlanillaEmpresas&>(d).planilla;
           for (const char* columna : {"Localidad", "Piso"}) {
             p.Ordenar(p.Modelo().ColumnaDe(QString::fromLatin1(columna)));
             p.Ordenar(p.Modelo().ColumnaDe(QString::fromLatin1(columna)));
             p.Modelo().fetchMore({});
           }
           // Going up by town, company 480 (Rosario) lies past the first page.
           p.Ordenar(p.Modelo().ColumnaDe(QStringLiteral("Localidad")));
           p.FijarColumnaBusqueda(p.Modelo().ColumnaDe(QStringLiteral("NombreEmpresa")));
           p.Elegir(p.Buscar(QStringLiteral("Empresa de prueba 480")));
         });
         EXPECT_TRUE(L().Form_KeyDown(tecla::Letra('P'), tecla::Control));
         EXPECT_EQ(Texto(0), QStringLiteral("480"));
         Accion("CANCELAR");
       }},
  };
  for (const auto& e : escenas) {
    escena = e.nombre;
    const size_t antes = enviadas.size();
    e.hacer();
    EXPECT_GT(enviadas.size(), antes) << e.nombre;
  }

  QStringList hallazgos, censo;
  for (const Enviada& e : enviadas) {
    const QStringList restos =
        e.sql.startsWith("NO SE TRADUCE") ? QStringList{"no se traduce"} : Restos(e.sql);
    censo << e.escena + "\t" + (restos.isEmpty() ? "ok" : restos.join(", ")) + "\t" + e.sql.simplified();
    if (!restos.isEmpty()) hallazgos << e.escena + ": " + restos.join(", ") + "\n    " + e.sql.simplified();
  }
  if (const QByteArray destino = qgetenv("MA_CENSO_ORACLE"); !destino.isEmpty()) {
    QFile f(QString::fromLocal8Bit(destino));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(censo.join('\n').toUtf8() + '\n');
  }
  EXPECT_TRUE(hallazgos.isEmpty()) << hallazgos.size() << " de " << enviadas.size() << " sentencias:\n"
                                   << hallazgos.join('\n');
}

// The statements do not depend on the engine under the recording: SQLite answers.
INSTANTIATE_TEST_SUITE_P(Sqlite, CensoOracle, ::testing::Values(testdb::Engine::Sqlite),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
