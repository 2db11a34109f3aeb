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

#include "company/ui/frmMA_Empresas.h"
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
