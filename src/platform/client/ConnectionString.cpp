#include "platform/client/ConnectionString.h"

#include "platform/client/Connection.h"

namespace ado::cs {
namespace {

QString Key(const QString& k) { return k.simplified().toLower(); }

bool IsKey(const QString& k, const QStringList& keys) {
  const QString n = Key(k);
  for (const QString& c : keys)
    if (n == c) return true;
  return false;
}

class Builder {
 public:
  void Add(const QString& key, const QString& value) {
    for (const auto& p : pairs_)
      if (Key(p.first) == Key(key)) return;  // the first one given wins
    pairs_.emplace_back(key, value);
  }
  void AddDriver(const QString& name) { Add(QStringLiteral("DRIVER"), name); }
  QString Text() const {
    QString s;
    // Driver names go in braces whatever they hold, as drivers expect them.
    for (const auto& [k, v] : pairs_)
      s += k + '=' + (Key(k) == QLatin1String("driver") ? Braced(v) : QuoteValue(v)) + ';';
    return s;
  }

 private:
  Pairs pairs_;
};

const QStringList kProvider = {"provider"};
const QStringList kServer = {"server", "data source", "address", "addr", "network address"};
const QStringList kDatabase = {"database", "initial catalog"};
const QStringList kUser = {"uid", "user id", "user", "user name", "username"};
const QStringList kPassword = {"pwd", "password"};
const QStringList kLoginTimeout = {"connect timeout", "connection timeout"};
// OLE DB keys that have no ODBC meaning.
const QStringList kDropped = {"persist security info",
                              "extended properties",
                              "prompt",
                              "ole db services",
                              "mode",
                              "use procedure for prepare",
                              "auto translate",
                              "packet size",
                              "use encryption for data",
                              "tag with column collation when possible"};

bool IsPostgresDriver(const QString& driver) {
  return driver.contains("postgres", Qt::CaseInsensitive) || driver.contains("psql", Qt::CaseInsensitive);
}

// The pairs of the OLE DB string that are not among the ones translated, as the
// driver should get them (the program's gExtended text lands here).
void AddExtras(Builder& b, const Pairs& pairs, const QStringList& handled, Kind kind) {
  for (const auto& [k, v] : pairs) {
    const QString n = Key(k);
    if (handled.contains(n) || kDropped.contains(n) || kLoginTimeout.contains(n)) continue;
    if (n == "integrated security") {
      if (kind == Kind::SqlServer) b.Add("Trusted_Connection", "Yes");
      continue;
    }
    if (n == "application name") {
      if (kind == Kind::SqlServer) b.Add("APP", v);
      continue;
    }
    if (n == "workstation id") {
      if (kind == Kind::SqlServer) b.Add("WSID", v);
      continue;
    }
    b.Add(k.trimmed(), v);
  }
}

}  // namespace

QString Braced(const QString& v) { return '{' + QString(v).replace('}', "}}") + '}'; }

QString QuoteValue(const QString& v) {
  const bool quoted = v.startsWith('\'') || v.startsWith('"');
  // A line break would also end the value where passwords are masked in a text.
  const bool salto = v.contains('\r') || v.contains('\n');
  if (quoted || salto || v.contains(';') || v.contains('{') || v.contains('}') || v.contains('=') ||
      v != v.trimmed())
    return Braced(v);
  return v;
}

Pairs Parse(const QString& s) {
  Pairs out;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    const qsizetype eq = s.indexOf('=', i);
    const qsizetype semi = s.indexOf(';', i);
    if (eq < 0 || (semi >= 0 && semi < eq)) {  // a piece without "="
      if (semi < 0) break;
      i = semi + 1;
      continue;
    }
    const QString key = s.mid(i, eq - i);
    qsizetype j = eq + 1;
    while (j < n && s[j] == ' ') ++j;
    QString value;
    if (j < n && (s[j] == '{' || s[j] == '"' || s[j] == '\'')) {
      const QChar close = s[j] == '{' ? QChar('}') : s[j];
      qsizetype k = j + 1;
      while (k < n) {
        if (s[k] == close) {
          if (k + 1 < n && s[k + 1] == close) {  // doubled: a literal closing character
            value += close;
            k += 2;
            continue;
          }
          break;
        }
        value += s[k++];
      }
      i = k + 1;
      const qsizetype next = s.indexOf(';', i);
      i = next < 0 ? n : next + 1;
    } else {
      const qsizetype end = s.indexOf(';', eq + 1);
      value = s.mid(eq + 1, (end < 0 ? n : end) - eq - 1).trimmed();
      i = end < 0 ? n : end + 1;
    }
    if (!key.trimmed().isEmpty()) out.emplace_back(key, value);
  }
  return out;
}

QString Find(const Pairs& pairs, const QStringList& keys, bool* found) {
  for (const auto& [k, v] : pairs) {
    if (IsKey(k, keys)) {
      if (found) *found = true;
      return v;
    }
  }
  if (found) *found = false;
  return {};
}

Target Translate(const QString& s, const QString& userArg, const QString& passwordArg,
                 const Environment& env) {
  const Pairs pairs = Parse(s);
  Target t;
  bool hasProvider = false, hasDriver = false, hasDsn = false;
  const QString provider = Find(pairs, kProvider, &hasProvider);
  Find(pairs, {"driver"}, &hasDriver);
  Find(pairs, {"dsn", "filedsn"}, &hasDsn);
  if (!hasProvider && (hasDriver || hasDsn)) {
    t.kind = Kind::PassThrough;
    t.odbc = s;
    return t;
  }
  bool timeoutGiven = false;
  const QString timeout = Find(pairs, kLoginTimeout, &timeoutGiven);
  if (timeoutGiven) {
    bool ok = false;
    const int secs = timeout.toInt(&ok);
    if (ok) t.loginTimeout = secs;
  }

  const QString server = Find(pairs, kServer).trimmed();
  const QString database = Find(pairs, kDatabase).trimmed();
  const QString user = userArg.isEmpty() ? Find(pairs, kUser) : userArg;
  const QString password = passwordArg.isEmpty() ? Find(pairs, kPassword) : passwordArg;
  const QStringList handled = kProvider + kServer + kDatabase + kUser + kPassword;

  Builder b;
  if (provider.contains("oracle", Qt::CaseInsensitive) ||
      provider.compare("MSDAORA", Qt::CaseInsensitive) == 0) {
    t.kind = Kind::Oracle;
    b.AddDriver(env.oracleDriver);
    b.Add("DBQ", server);  // the OLE DB "Data Source" is the TNS name
    b.Add("UID", user);
    b.Add("PWD", password);
    AddExtras(b, pairs, handled, t.kind);
    t.odbc = b.Text();
    return t;
  }
  if (server.compare("SQLITE", Qt::CaseInsensitive) == 0) {
    t.kind = Kind::Sqlite;
    t.sqliteFile = database;
    b.AddDriver(QStringLiteral("SQLite3"));
    b.Add("Database", database);
    AddExtras(b, pairs, handled, t.kind);
    b.Add("Timeout", QString::number(env.sqliteBusyTimeoutMs));
    b.Add("NoCreat", "1");
    b.Add("StepAPI", "1");
    if (!env.sqliteExtension.isEmpty()) b.Add("LoadExt", env.sqliteExtension);
    t.odbc = b.Text();
    return t;
  }
  QString driver;
  if (!server.isEmpty() && env.dataSource && env.dataSource(server, &driver)) {
    t.kind = Kind::DataSource;
    b.Add("DSN", server);
    if (!database.isEmpty()) b.Add("Database", database);
    if (!user.isEmpty()) b.Add("UID", user);
    if (!password.isEmpty()) b.Add("PWD", password);
    AddExtras(b, pairs, handled, t.kind);
    if (IsPostgresDriver(driver)) {
      b.Add("BoolsAsChar", "0");
      b.Add("ByteaAsLongVarBinary", "1");
      // The driver's logs stay off unless asked for: its installation may turn
      // them on for everyone, leaving a file in /tmp at every start.
      for (const char* log : {"CommLog", "Debug"})
        if (!env.dataSourceSets || !env.dataSourceSets(server, QString::fromLatin1(log))) b.Add(log, "0");
      // Parameters written into the statement's text by the driver: one exchange with
      // the server, where preparing it there costs three or four.
      b.Add("UseServerSidePrepare", "0");
      bool given = false;
      Find(pairs, {"pqopt"}, &given);
      if (!env.postgresSession.isEmpty() && !given &&
          !(env.dataSourceSets && env.dataSourceSets(server, QStringLiteral("pqopt")))) {
        b.Add("pqopt", "options='" + env.postgresSession + "'");
        t.sessionInLogin = true;
      }
    }
    t.odbc = b.Text();
    return t;
  }
  t.kind = Kind::SqlServer;
  b.AddDriver(env.sqlServerDriver);
  // "host,port" is how SQL Server clients name a port; FreeTDS wants it apart.
  const qsizetype comma = server.indexOf(',');
  if (comma > 0) {
    b.Add("Server", server.left(comma).trimmed());
    b.Add("Port", server.mid(comma + 1).trimmed());
  } else {
    b.Add("Server", server);
  }
  b.Add("Database", database);
  b.Add("UID", user);
  b.Add("PWD", password);
  AddExtras(b, pairs, handled, t.kind);
  b.Add("ClientCharset", "UTF-8");
  t.odbc = b.Text();
  return t;
}

namespace {

bool NamePart(QChar c) { return c.isLetterOrNumber() || c == '_'; }

// Where the value that starts at `j` ends: a value in braces or quotes runs to
// its closing character (doubled ones belong to it), then, like a plain value,
// to the next ";" or line break.
qsizetype ValueEnd(const QString& s, qsizetype j) {
  const qsizetype n = s.size();
  if (j < n && (s[j] == '{' || s[j] == '"' || s[j] == '\'')) {
    const QChar close = s[j] == '{' ? QChar('}') : s[j];
    qsizetype k = j + 1;
    while (k < n) {
      if (s[k] == close) {
        if (k + 1 < n && s[k + 1] == close) {
          k += 2;
          continue;
        }
        break;
      }
      ++k;
    }
    j = k;
  }
  while (j < n && s[j] != ';' && s[j] != '\n' && s[j] != '\r') ++j;
  return j;
}

}  // namespace

QString MaskPasswords(const QString& s) {
  // Any text may quote a connection string (a driver's message, a log line):
  // the keys are looked for wherever they stand as a whole word.
  static const QString kKeys[] = {QStringLiteral("password"), QStringLiteral("pwd")};
  QString out;
  qsizetype copied = 0;
  const qsizetype n = s.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (i > 0 && NamePart(s[i - 1])) continue;
    for (const QString& key : kKeys) {
      if (QStringView(s).mid(i, key.size()).compare(key, Qt::CaseInsensitive) != 0) continue;
      qsizetype j = i + key.size();
      while (j < n && s[j] == ' ') ++j;
      if (j >= n || s[j] != '=') break;
      ++j;
      while (j < n && s[j] == ' ') ++j;
      const qsizetype end = ValueEnd(s, j);
      if (QStringView(s).mid(j, end - j).trimmed().isEmpty()) break;
      out += QStringView(s).mid(copied, j - copied);
      out += QStringLiteral("****");
      copied = end;
      i = end - 1;
      break;
    }
  }
  out += QStringView(s).mid(copied);
  return out;
}

}  // namespace ado::cs

namespace ado {
QString MaskPasswords(const QString& connectionString) { return cs::MaskPasswords(connectionString); }
}  // namespace ado
