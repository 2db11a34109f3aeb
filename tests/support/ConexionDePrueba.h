#pragma once
// The program's connection on a private database of the engine under test,
// handed to DB_Dll as the program does once connected (connection string,
// database name, provider, administrator rights), with the error log in a
// temporary folder and a scripted operator. Header-only so that
// test_support, which sits below the database layer, does not link against it.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "db/DB_Dll.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

class ConexionDePrueba : public ::testing::TestWithParam<testdb::Engine> {
 protected:
  // A fresh copy of the demo database; a fixture that needs another database
  // fills `base` and calls Conectar() itself.
  void SetUp() override {
    base = testdb::FreshDemo(GetParam());
    Conectar();
  }
  void TearDown() override { db.SetCnn(nullptr); }

  void Conectar() {
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    db.SetCnn(cnn);
    db.gConnString = base.programString;
    db.gDBName = base.dbName;
    db.gProveedor = QStringLiteral("SQLOLEDB");
    db.gEsAdmin = true;
    ASSERT_TRUE(logs.isValid());
    db.gLogErr = logs.filePath(QStringLiteral("VMERR.LOG"));
    op = OperadorGuionado::Instalar();
  }

  DB_Dll& db = DB_Dll::Instancia();
  testdb::Database base;
  ado::ConnectionPtr cnn;
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir logs;
};
