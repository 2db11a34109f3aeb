#pragma once
// The company form loaded on a fresh copy of the demo database, with a
// scripted operator, for each engine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "company/form/ui/frmMA_Empresas.h"
#include "db/DB_Dll.h"
#include "platform/widgets/CodigosTecla.h"
#include "settings/Configuracion.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"
#include "support/VentanasDePrueba.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }

// A company code as stored.
inline QString Codigo15(const QString& c) { return testdb::RightAligned(c, 15); }

class FormularioEnBase : public ::testing::TestWithParam<testdb::Engine> {
 public:
  void SetUp() override {
    App();
    base = testdb::FreshDemo(GetParam());
  }
  void TearDown() override {
    form.reset();
    db.SetCnn(nullptr);
    db.gOpenFlag = false;
  }

  // Opens the program's connection and loads the form; `antes` runs on the
  // database first.
  void Cargar(const QString& antes = {}) {
    if (!antes.isEmpty()) testdb::RunSql(base, antes);
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    db.SetCnn(cnn);
    db.gOpenFlag = true;
    db.gConnString = base.programString;
    db.gDBName = base.dbName;
    db.gUsuario = base.user;
    db.gEsAdmin = true;
    db.gLogErr = logs.filePath(QStringLiteral("VMERR.LOG"));
    gTablaConfiguracion = QStringLiteral("ta_configuracion");
    op = OperadorGuionado::Instalar();
    form = std::make_unique<frmMA_Empresas>();
    ASSERT_TRUE(form->Cargar());
    op->mensajes.clear();
  }

  FormEmpresas& L() { return form->Logica(); }
  // Refuses the third voucher type seeded for a company while the table "falla" has a row.
  QString TerceraRechazada() const {
    return Rechazo(QStringLiteral("tercera"), QStringLiteral("INSERT"), QStringLiteral("V_TA_CPTE"),
                   QStringLiteral("NEW.EMPRESA <> '' AND EXISTS (SELECT 1 FROM falla) AND (SELECT COUNT(*) "
                                  "FROM V_TA_CPTE WHERE EMPRESA = NEW.EMPRESA) = 2"),
                   QStringLiteral("tercera fila rechazada"));
  }
  // The condition that picks one company by its stored code.
  static QString Donde(const QString& codigo) {
    return QStringLiteral(" WHERE IdEmpresa = '") + Codigo15(codigo) + QLatin1Char('\'');
  }
  // A trigger of the engine under test that refuses `evento` (INSERT or UPDATE)
  // on `tabla` with `mensaje` where `condicion` holds (NEW.<columna> and SQL both
  // engines read alike; empty: always).
  QString Rechazo(const QString& nombre, const QString& evento, const QString& tabla,
                  const QString& condicion, const QString& mensaje) const {
    const QString error = QStringLiteral("'") + mensaje + QStringLiteral("'");
    if (GetParam() == testdb::Engine::Sqlite)
      return QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, %5); END;")
          .arg(nombre, evento, tabla, condicion.isEmpty() ? QString() : QStringLiteral("WHEN ") + condicion,
               error);
    const QString cuerpo =
        condicion.isEmpty() ? QStringLiteral("RAISE EXCEPTION %1;").arg(error)
                            : QStringLiteral("IF %1 THEN RAISE EXCEPTION %2; END IF;").arg(condicion, error);
    return QStringLiteral(
               "CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN %2 RETURN NEW; END $$; "
               "CREATE TRIGGER %1 BEFORE %3 ON %4 FOR EACH ROW EXECUTE FUNCTION %1();")
        .arg(nombre, cuerpo, evento, tabla);
  }
  QString Texto(int i) const { return form->Texto(i); }
  void Escribir(int i, const QString& t) { form->PonerTexto(i, t); }
  void Enter(int i) { L().txtFields_KeyDown(i, tecla::Enter, 0); }
  // Types a code into field 0 and confirms it.
  void Mostrar(const QString& codigo) {
    Escribir(0, codigo);
    Enter(0);
  }
  void Accion(const char* clave) { L().ActBar1_Click(QString::fromLatin1(clave)); }
  void Navegar(const char* clave) { L().NavBar1_Click(QString::fromLatin1(clave)); }

  QString Uno(const QString& sql) {
    const QStringList filas = testdb::Query(base, sql);
    return filas.isEmpty() ? QStringLiteral("<sin filas>") : filas.first();
  }
  int Cuenta(const QString& sql) { return Uno(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }

  // The titles of the boxes shown so far.
  QStringList Titulos() const {
    QStringList t;
    for (const auto& m : op->mensajes) t << m.title;
    return t;
  }

  DB_Dll& db = DB_Dll::Instancia();
  testdb::Database base;
  ado::ConnectionPtr cnn;
  std::shared_ptr<OperadorGuionado> op;
  std::unique_ptr<frmMA_Empresas> form;
  QTemporaryDir logs;
};
