#include "TestDatabases.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

extern char** environ;

namespace testdb {
namespace {

namespace fs = std::filesystem;

// Child processes are run with posix_spawn and plain files rather than QProcess:
// the clean-up at process exit runs after Qt may be gone.
struct Salida {
  int status = -1;
  std::string out;
  std::string err;
};

std::string LeerArchivo(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void EscribirArchivo(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f << text;
  if (!f) throw std::runtime_error("cannot write " + p.string());
}

Salida Ejecutar(const fs::path& work, const std::vector<std::string>& args, const std::string& input,
                const std::vector<std::string>& extraEnv = {}) {
  static std::atomic<int> serie{0};
  const std::string base = (work / ("run" + std::to_string(++serie))).string();
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  EscribirArchivo(in, input);

  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_addopen(&acciones, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&acciones, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&acciones, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  for (const auto& e : extraEnv) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  Salida r;
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&acciones);
  if (rc != 0) {
    r.err = "cannot run " + args[0] + ": " + std::strerror(rc);
  } else {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = LeerArchivo(out);
    r.err = LeerArchivo(err);
  }
  std::error_code ignorado;
  fs::remove(in, ignorado);
  fs::remove(out, ignorado);
  fs::remove(err, ignorado);
  return r;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The program's SQLite extension: the demo schema's text columns use its collation.
std::string Extension() {
  return Env("MA_SQLITE_TEXT").empty() ? MA_SQLITE_TEXT_BUILT : Env("MA_SQLITE_TEXT");
}

// The server's own psql: the generic wrapper in PATH costs a Perl start-up per call.
std::string PsqlPath() {
  const std::string bin = Env("MA_PG_BIN").empty() ? "/usr/lib/postgresql/15/bin" : Env("MA_PG_BIN");
  return access((bin + "/psql").c_str(), X_OK) == 0 ? bin + "/psql" : "psql";
}

fs::path CarpetaTemporal(const fs::path& under, const std::string& prefix) {
  std::string plantilla = (under / (prefix + "XXXXXX")).string();
  if (!mkdtemp(plantilla.data())) throw std::runtime_error("cannot create a folder under " + under.string());
  return plantilla;
}

struct Servidor {
  std::string dir, port, user, password, dsn, plantilla;
};

class Estado {
 public:
  static Estado& Get() {
    static Estado e;
    return e;
  }

  fs::path Trabajo() {
    std::lock_guard lock(m_);
    return TrabajoLocked();
  }

  int Siguiente() {
    std::lock_guard lock(m_);
    return ++serie_;
  }

  fs::path DemoSqlite() {
    std::lock_guard lock(m_);
    if (demoSqlite_.empty()) {
      const fs::path destino = TrabajoLocked() / "demo_original.sqlite";
      const Salida r =
          Ejecutar(TrabajoLocked(),
                   {"bash", MA_SOURCE_DIR "/demo/create_sqlite.sh", destino.string(), Extension()}, "");
      if (r.status != 0 || !fs::exists(destino))
        throw std::runtime_error("demo/create_sqlite.sh failed: " + r.err + r.out);
      demoSqlite_ = destino;
    }
    return demoSqlite_;
  }

  Servidor Postgres() {
    std::lock_guard lock(m_);
    if (!servidorListo_) {
      IniciarPostgres();
      servidorListo_ = true;
    }
    return servidor_;
  }

  void Creada(const std::string& db) {
    std::lock_guard lock(m_);
    creadas_.push_back(db);
  }

  ~Estado() {
    try {
      if (servidorPropio_) {
        Ejecutar(TrabajoLocked(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "stop", servidor_.dir}, "");
        std::error_code ignorado;
        fs::remove_all(servidor_.dir, ignorado);
      } else if (servidorListo_ && !creadas_.empty()) {
        // The run's shared server outlives this program: give its disk space back.
        std::string script;
        for (const auto& db : creadas_) script += "DROP DATABASE IF EXISTS " + db + " WITH (FORCE);\n";
        Ejecutar(TrabajoLocked(),
                 {PsqlPath(), "-X", "-q", "-h", servidor_.dir, "-p", servidor_.port, "-U", servidor_.user,
                  "-d", "postgres"},
                 script);
      }
    } catch (...) {
    }
    if (!trabajo_.empty()) {
      std::error_code ignorado;
      fs::remove_all(trabajo_, ignorado);
    }
  }

 private:
  fs::path TrabajoLocked() {
    if (trabajo_.empty()) trabajo_ = CarpetaTemporal(fs::temp_directory_path(), "ma_tests.");
    return trabajo_;
  }

  void IniciarPostgres() {
    if (!Env("ODBCINI").empty() && !Env("MA_PG_DIR").empty() && !Env("MA_PG_PORT").empty()) {
      servidor_ = {Env("MA_PG_DIR"),      Env("MA_PG_PORT"), Env("MA_PG_USER"),
                   Env("MA_PG_PASSWORD"), Env("MA_PG_DSN"),  Env("MA_PG_TEMPLATE")};
      if (servidor_.user.empty()) servidor_.user = "ma_test";
      if (servidor_.password.empty()) servidor_.password = "ma_test_pw";
      if (servidor_.dsn.empty()) servidor_.dsn = "MA_PG_TEST";
      if (servidor_.plantilla.empty()) servidor_.plantilla = "ma_demo_template";
      return;
    }
    // Run by hand, outside the test command: a server of our own. Under /tmp so the
    // server's unprivileged user can reach it.
    const fs::path dir = CarpetaTemporal("/tmp", "ma_pg.");
    const Salida r =
        Ejecutar(TrabajoLocked(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "start", dir.string()}, "",
                 {"MA_PG_OWNER_PID=" + std::to_string(getpid())});
    if (r.status != 0) {
      std::error_code ignorado;
      fs::remove_all(dir, ignorado);
      throw std::runtime_error("the private PostgreSQL server did not start: " + r.err + r.out);
    }
    servidorPropio_ = true;
    // Its settings go into this process's environment, where the program's client finds the DSN.
    std::istringstream env(LeerArchivo(dir / "env.sh"));
    for (std::string linea; std::getline(env, linea);) {
      const std::string prefijo = "export ";
      if (linea.rfind(prefijo, 0) != 0) continue;
      const auto igual = linea.find('=');
      if (igual == std::string::npos) continue;
      setenv(linea.substr(prefijo.size(), igual - prefijo.size()).c_str(), linea.substr(igual + 1).c_str(),
             1);
    }
    servidor_ = {dir.string(),          Env("MA_PG_PORT"), Env("MA_PG_USER"),
                 Env("MA_PG_PASSWORD"), Env("MA_PG_DSN"),  Env("MA_PG_TEMPLATE")};
    if (servidor_.port.empty() || servidor_.dsn.empty())
      throw std::runtime_error("the private PostgreSQL server wrote an incomplete " +
                               (dir / "env.sh").string());
  }

  std::mutex m_;
  fs::path trabajo_;
  int serie_ = 0;
  fs::path demoSqlite_;
  bool servidorListo_ = false;
  bool servidorPropio_ = false;
  Servidor servidor_;
  std::vector<std::string> creadas_;
};

std::vector<std::string> Psql(const Servidor& s, const std::string& db) {
  return {PsqlPath(), "-X",  "-q", "-A",   "-t", "-F",   "|",  "-v", "ON_ERROR_STOP=1",
          "-h",       s.dir, "-p", s.port, "-U", s.user, "-d", db};
}

Salida EjecutarSql(const Database& db, const std::string& sql) {
  auto& e = Estado::Get();
  if (!db.port.isEmpty()) {
    Servidor propio = e.Postgres();
    propio.dir = db.socketDir.toStdString();
    propio.port = db.port.toStdString();
    return Ejecutar(e.Trabajo(), Psql(propio, db.dbName.toStdString()), sql);
  }
  if (db.engine == Engine::Sqlite) {
    return Ejecutar(
        e.Trabajo(),
        {"sqlite3", "-bail", "-batch", "-list", "-noheader", "-separator", "|", db.dbName.toStdString()},
        ".load \"" + Extension() + "\"\n" + sql);
  }
  return Ejecutar(e.Trabajo(), Psql(e.Postgres(), db.dbName.toStdString()), sql);
}

QString ProgramString(const Database& d) {
  return "PROVIDER=SQLOLEDB;Server=" + d.server + ";Database =" + d.dbName + ";UId=" + d.user +
         ";Pwd=" + d.password + ";";
}

Database NuevaSqlite(bool demo) {
  auto& e = Estado::Get();
  const int n = e.Siguiente();
  const fs::path archivo = e.Trabajo() / ((demo ? "demo_" : "vacia_") + std::to_string(n) + ".sqlite");
  if (demo) {
    fs::copy_file(e.DemoSqlite(), archivo);
  } else {
    EscribirArchivo(archivo, "");  // SQLite takes an empty file for an empty database
  }
  Database d;
  d.engine = Engine::Sqlite;
  d.server = "SQLITE";
  d.dbName = QString::fromStdString(fs::absolute(archivo).string());
  d.user = "admin";
  d.programString = ProgramString(d);
  d.odbcString = "DRIVER={SQLite3};Database=" + d.dbName + ";";
  return d;
}

Database NuevaPostgres(bool demo) {
  auto& e = Estado::Get();
  const Servidor s = e.Postgres();
  const std::string nombre = "ma_t" + std::to_string(getpid()) + "_" + std::to_string(e.Siguiente());
  const std::string sql = "CREATE DATABASE " + nombre + " OWNER " + s.user + " TEMPLATE " +
                          (demo ? s.plantilla : std::string("template0")) + ";";
  // Copying a template fails while anyone is connected to it: wait that out.
  Salida r;
  for (int intento = 0; intento < 50; ++intento) {
    r = Ejecutar(e.Trabajo(), Psql(s, "postgres"), sql);
    if (r.status == 0 || r.err.find("being accessed by other users") == std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  if (r.status != 0) throw std::runtime_error("CREATE DATABASE failed: " + r.err);
  e.Creada(nombre);
  Database d;
  d.engine = Engine::Postgres;
  d.server = QString::fromStdString(s.dsn);
  d.dbName = QString::fromStdString(nombre);
  d.user = QString::fromStdString(s.user);
  d.password = QString::fromStdString(s.password);
  d.programString = ProgramString(d);
  d.odbcString = "DSN=" + d.server + ";Database=" + d.dbName + ";UID=" + d.user + ";PWD=" + d.password + ";";
  return d;
}

std::string Hex(const std::string& bytes) {
  static const char* digitos = "0123456789abcdef";
  std::string h;
  h.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    h += digitos[c >> 4];
    h += digitos[c & 15];
  }
  return h;
}

std::string Binario(Engine e, const std::string& bytes) {
  return e == Engine::Sqlite ? "X'" + Hex(bytes) + "'" : "'\\x" + Hex(bytes) + "'::bytea";
}

std::string Texto(const std::string& s) {
  std::string r = "'";
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r + "'";
}

}  // namespace

ServidorPropio::ServidorPropio() {
  auto& e = Estado::Get();
  e.Postgres();  // the run's data source, which reaches this server too
  dir_ = CarpetaTemporal("/tmp", "ma_pgp.").string();
  const Salida r = Ejecutar(e.Trabajo(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "start", dir_}, "",
                            {"MA_PG_OWNER_PID=" + std::to_string(getpid())});
  if (r.status != 0) {
    std::error_code ignorado;
    fs::remove_all(dir_, ignorado);
    throw std::runtime_error("the test's own PostgreSQL server did not start: " + r.err + r.out);
  }
  const std::string env = LeerArchivo(fs::path(dir_) / "env.sh");
  const std::string clave = "export MA_PG_PORT=";
  const auto p = env.find(clave);
  if (p == std::string::npos) throw std::runtime_error("no port in " + dir_ + "/env.sh");
  port_ = env.substr(p + clave.size(), env.find('\n', p) - p - clave.size());
}

ServidorPropio::~ServidorPropio() {
  try {
    Ejecutar(Estado::Get().Trabajo(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "stop", dir_}, "");
  } catch (...) {
  }
  std::error_code ignorado;
  fs::remove_all(dir_, ignorado);
}

void ServidorPropio::Detener() {
  const Salida r =
      Ejecutar(Estado::Get().Trabajo(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "stop", dir_}, "");
  if (r.status != 0) throw std::runtime_error("the server did not stop: " + r.err);
}

void ServidorPropio::Reiniciar() {
  const Salida r =
      Ejecutar(Estado::Get().Trabajo(), {"bash", MA_SOURCE_DIR "/scripts/pg_server.sh", "restart", dir_}, "");
  if (r.status != 0) throw std::runtime_error("the server did not restart: " + r.err);
}

Database ServidorPropio::Demo() {
  auto& e = Estado::Get();
  Servidor s = e.Postgres();
  s.dir = dir_;
  s.port = port_;
  const std::string nombre = "ma_p" + std::to_string(e.Siguiente());
  const Salida r =
      Ejecutar(e.Trabajo(), Psql(s, "postgres"),
               "CREATE DATABASE " + nombre + " OWNER " + s.user + " TEMPLATE " + s.plantilla + ";");
  if (r.status != 0) throw std::runtime_error("CREATE DATABASE failed: " + r.err);
  Database d;
  d.engine = Engine::Postgres;
  d.server = QString::fromStdString(s.dsn);
  d.dbName = QString::fromStdString(nombre);
  d.user = QString::fromStdString(s.user);
  d.password = QString::fromStdString(s.password);
  d.socketDir = QString::fromStdString(dir_);
  d.port = QString::fromStdString(port_);
  d.programString = ProgramString(d) + "Port=" + d.port + ";";
  d.odbcString = "DSN=" + d.server + ";Database=" + d.dbName + ";UID=" + d.user + ";PWD=" + d.password +
                 ";Port=" + d.port + ";";
  return d;
}

Database FreshDemo(Engine e) { return e == Engine::Sqlite ? NuevaSqlite(true) : NuevaPostgres(true); }

Database SqliteFile(const QString& path) {
  Database d;
  d.engine = Engine::Sqlite;
  d.server = QStringLiteral("SQLITE");
  d.dbName = path;
  d.user = QStringLiteral("admin");
  d.programString = QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLITE;Database =") + path +
                    QStringLiteral(";UId=admin;Pwd=;");
  return d;
}

Database FreshEmpty(Engine e) { return e == Engine::Sqlite ? NuevaSqlite(false) : NuevaPostgres(false); }

const char* Name(Engine e) { return e == Engine::Sqlite ? "SQLite" : "PostgreSQL"; }

std::vector<Engine> AllEngines() { return {Engine::Sqlite, Engine::Postgres}; }

void RunSql(const Database& db, const QString& sql) {
  const Salida r = EjecutarSql(db, sql.toStdString());
  if (r.status != 0)
    throw std::runtime_error(std::string(Name(db.engine)) + " script failed: " + r.err + "\n" +
                             sql.left(500).toStdString());
}

QStringList Query(const Database& db, const QString& sql) {
  const Salida r = EjecutarSql(db, sql.toStdString());
  if (r.status != 0)
    throw std::runtime_error(std::string(Name(db.engine)) + " query failed: " + r.err + "\n" +
                             sql.toStdString());
  QString salida = QString::fromStdString(r.out);
  if (salida.endsWith('\n')) salida.chop(1);
  return salida.isEmpty() ? QStringList{} : salida.split('\n');
}

QString RightAligned(const QString& code, int width) { return code.trimmed().rightJustified(width, ' '); }

void GrowCompanies(const Database& db, int count, int withLogo, int logoBytes) {
  const QString maximo = db.engine == Engine::Sqlite
                             ? "SELECT COALESCE(MAX(CAST(TRIM(IdEmpresa) AS INTEGER)), 0) FROM P_MA_Empresas;"
                             : "SELECT COALESCE(MAX(CAST(TRIM(IdEmpresa) AS BIGINT)), 0) FROM P_MA_Empresas "
                               "WHERE TRIM(IdEmpresa) COLLATE \"C\" ~ '^[0-9]+$';";
  const QStringList filas = Query(db, maximo);
  const long long desde = filas.isEmpty() ? 0 : filas.first().toLongLong();

  static const char* localidades[] = {"Rosario", "Córdoba", "Mendoza", "Salta", "Neuquén", "Paraná"};
  static const char* provincias[] = {"12", "3", "7", "9", "20", "5"};
  static const char* rubros[] = {"Alimentos", "Servicios", "Comercio", "Logística"};
  std::mt19937 azar(20240601);
  std::uniform_int_distribution<int> byte(0, 255);

  const std::string columnas =
      "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Calle, Numero, Localidad, CodigoPostal, "
      "Telefono, "
      "eMail, CUIT, Actividad, IdProvincia, PideHonorarios, Imagen, P_Rubro, P_Zona) VALUES\n";
  std::string sql = "BEGIN;\n";
  std::string lote;
  int enLote = 0;
  auto cerrarLote = [&] {
    if (enLote == 0) return;
    sql += columnas + lote + ";\n";
    lote.clear();
    enLote = 0;
  };
  for (int i = 0; i < count; ++i) {
    const long long n = desde + 1 + i;
    const std::string num = std::to_string(n);
    std::string imagen = "NULL";
    if (i < withLogo) {
      std::string bytes(static_cast<size_t>(logoBytes), '\0');
      for (auto& c : bytes) c = static_cast<char>(byte(azar));
      imagen = Binario(db.engine, bytes);
    }
    const int k = static_cast<int>(n % 6);
    const std::string fila =
        "(" + Texto(RightAligned(QString::fromStdString(num), 15).toStdString()) + ", " +
        Texto("Empresa de prueba " + num + " S.A.") + ", " + Texto("Calle " + std::to_string(n % 300)) +
        ", " + Texto(std::to_string(100 + n % 4000)) + ", " + Texto(localidades[k]) + ", " +
        Texto(std::to_string(2000 + k)) + ", " + Texto("(0341) 400-" + std::to_string(1000 + n % 9000)) +
        ", " + Texto("empresa" + num + "@ejemplo.com.ar") + ", " +
        Texto("30-" + std::to_string(50000000 + n % 49999999) + "-" + std::to_string(n % 10)) + ", " +
        Texto("Actividad de prueba") + ", " + Texto(provincias[k]) + ", " + (n % 2 ? "TRUE" : "FALSE") +
        ", " + imagen + ", " + Texto(rubros[n % 4]) + ", " + Texto("Zona " + std::to_string(n % 5)) + ")";
    // Logos go one per statement to keep each statement a sane size.
    if (i < withLogo) {
      cerrarLote();
      sql += columnas + fila + ";\n";
      continue;
    }
    lote += (enLote ? ",\n" : "") + fila;
    if (++enLote == 500) cerrarLote();
  }
  cerrarLote();
  sql += "COMMIT;\n";
  const Salida r = EjecutarSql(db, sql);
  if (r.status != 0) throw std::runtime_error("GrowCompanies failed: " + r.err);
}

void CreateWideTable(const Database& db, const QString& table, int rows, int columns) {
  if (columns < 3) throw std::invalid_argument("CreateWideTable needs at least 3 columns");
  const std::string tabla = table.toStdString();
  std::string crear = "CREATE TABLE " + tabla + " (ID INTEGER NOT NULL PRIMARY KEY, CODIGO VARCHAR(10), " +
                      "DESCRIPCION VARCHAR(60)";
  std::string nombres = "ID, CODIGO, DESCRIPCION";
  const std::string importe = db.engine == Engine::Sqlite ? "MONEY" : "NUMERIC(19,4)";
  for (int c = 3; c < columns; ++c) {
    const std::string n = std::to_string(c + 1);
    static const char* prefijos[] = {"TEXTO", "ENTERO", "IMPORTE", "FECHA"};
    const std::string nombre = std::string(prefijos[c % 4]) + n;
    const std::string tipo = c % 4 == 0   ? "VARCHAR(40)"
                             : c % 4 == 1 ? "INTEGER"
                             : c % 4 == 2 ? importe
                                          : "DATE";
    crear += ", " + nombre + " " + tipo;
    nombres += ", " + nombre;
  }
  std::string sql = "BEGIN;\n" + crear + ");\n";
  std::string lote;
  for (int i = 1; i <= rows; ++i) {
    std::string fila = "(" + std::to_string(i) + ", " + Texto("C" + std::to_string(100000 + i)) + ", " +
                       Texto("Descripción del registro " + std::to_string(i));
    for (int c = 3; c < columns; ++c) {
      switch (c % 4) {
        case 0:
          fila += ", " + Texto("Texto " + std::to_string(i) + "-" + std::to_string(c));
          break;
        case 1:
          fila += ", " + std::to_string(i * c);
          break;
        case 2:
          fila += ", " + std::to_string(i) + "." + std::to_string(c % 100);
          break;
        default:
          fila += ", '2024-" + std::to_string(1 + i % 12 + 100).substr(1) + "-" +
                  std::to_string(1 + i % 28 + 100).substr(1) + "'";
      }
    }
    lote += (lote.empty() ? "" : ",\n") + fila + ")";
    if (i % 500 == 0 || i == rows) {
      sql += "INSERT INTO " + tabla + " (" + nombres + ") VALUES\n" + lote + ";\n";
      lote.clear();
    }
  }
  sql += "COMMIT;\n";
  const Salida r = EjecutarSql(db, sql);
  if (r.status != 0) throw std::runtime_error("CreateWideTable failed: " + r.err);
}

}  // namespace testdb
