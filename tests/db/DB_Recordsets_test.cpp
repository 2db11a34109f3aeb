// Query helpers of the database class against real databases.
#include <gtest/gtest.h>

#include "support/ConexionDePrueba.h"

namespace {

using testdb::Engine;

class Consultas : public ConexionDePrueba {
 protected:
  QString Uno(const QString& sql) {
    const QStringList filas = testdb::Query(base, sql);
    return filas.isEmpty() ? QStringLiteral("<sin filas>") : filas.first();
  }
};

TEST_P(Consultas, ExisteEnTablaDejaElRecordsetDelLlamadorEnLaFila) {
  ado::Recordset rs;
  EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("P_MA_Empresas"), QStringLiteral("  8 "),
                               QStringLiteral("IdEmpresa"), &rs, 8, QString()));
  ASSERT_EQ(rs.State(), ado::adStateOpen);
  EXPECT_EQ(rs.Fields(QStringLiteral("NombreEmpresa")).GetValue().toString(),
            QStringLiteral("Ferretería Industrial Córdoba S.R.L."));

  EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("P_MA_Empresas"), QStringLiteral("99"),
                                QStringLiteral("IdEmpresa"), &rs, 8, QString()));
  EXPECT_TRUE(rs.Bof());
}

// A company whose code and name hold characters outside the Basic Multilingual
// Plane is stored as the form stores it and found by the code check.
TEST_P(Consultas, EmpresaConEmojiSeGrabaYSeEncuentra) {
  const QString codigo = QString::fromUtf8("🏭7");
  const QString nombre = QString::fromUtf8("Fábrica 🏭 de 🍕 S.A.");
  ado::Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM P_MA_Empresas"), cnn, ado::adOpenDynamic, ado::adLockOptimistic);
  rs.AddNew();
  rs.Fields(QStringLiteral("IdEmpresa")).SetValue(QString(13, QLatin1Char(' ')) + codigo);
  rs.Fields(QStringLiteral("NombreEmpresa")).SetValue(nombre);
  rs.Update();
  rs.Close();

  ado::Recordset encontrado;
  ASSERT_TRUE(db.ExisteEnTabla(QStringLiteral("P_MA_Empresas"), codigo, QStringLiteral("IdEmpresa"),
                               &encontrado, 8, QString()));
  EXPECT_EQ(encontrado.Fields(QStringLiteral("NombreEmpresa")).GetValue().toString(), nombre);
  EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("P_MA_Empresas"), QString::fromUtf8("🏭8"),
                                QStringLiteral("IdEmpresa"), nullptr, 8, QString()));
}

TEST_P(Consultas, ExisteEnTablaPorTipoYCondicion) {
  const QString u = QStringLiteral("ta_usuarios");
  const struct {
    const char* nombre;
    QString valor, campo;
    ado::Value tipo;
    QString condicion;
    bool existe;
  } casos[] = {
      {"texto recortado", QStringLiteral(" operador "), QStringLiteral("nombre"), 8, QString(), true},
      {"texto ausente", QStringLiteral("nadie"), QStringLiteral("nombre"), 8, QString(), false},
      {"numero", QStringLiteral(" 0 "), QStringLiteral("Administrador"), 3, QString(), true},
      {"numero con letras: no es el 0", QStringLiteral("0x"), QStringLiteral("Administrador"), 3, QString(),
       false},
      {"numero ausente", QStringLiteral("7"), QStringLiteral("Administrador"), 3, QString(), false},
      {"condicion sin WHERE", QString(), QString(), 8, QStringLiteral("UNegocio = '2'"), true},
      {"condicion con WHERE", QString(), QString(), 8, QStringLiteral(" WHERE UNegocio = '5'"), false},
  };
  for (const auto& c : casos)
    EXPECT_EQ(db.ExisteEnTabla(u, c.valor, c.campo, nullptr, c.tipo, c.condicion), c.existe) << c.nombre;
  for (const auto& c : casos)
    EXPECT_EQ(db.ExisteEnTablaST(u, c.valor.trimmed(), c.campo, nullptr, c.tipo, c.condicion), c.existe)
        << "ST " << c.nombre;
}

TEST_P(Consultas, ExisteEnTablaSTSoloLecturaAbreElRecordsetDelLlamador) {
  ado::Recordset rs;
  EXPECT_TRUE(db.ExisteEnTablaST(QStringLiteral("ta_usuarios"), QStringLiteral("admin"),
                                 QStringLiteral("nombre"), &rs, 8, QString(), true));
  EXPECT_EQ(rs.Fields(QStringLiteral("UNegocio")).GetValue().toString().trimmed(), QStringLiteral("1"));
}

TEST_P(Consultas, UnFalloDeLaBusquedaPreguntaAlOperador) {
  op->Responder(vb::Abort);
  EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("1"), QStringLiteral("A"),
                                nullptr, 8, QString()));
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Aviso al Operador"));
  EXPECT_EQ(op->mensajes[0].style, vb::Critical + vb::AbortRetryIgnore);
  EXPECT_FALSE(op->mensajes[0].prompt.isEmpty());
}

TEST_P(Consultas, DatosTablaPorTipo) {
  const QString u = QStringLiteral("ta_usuarios");
  const struct {
    const char* nombre;
    QString valor, devuelto, campo;
    ado::Value tipo;
    QString condicion;
    bool recortar;
    QString esperado;
  } casos[] = {
      {"texto", QStringLiteral(" operador "), QStringLiteral("UNegocio"), QStringLiteral("nombre"), 8,
       QString(), true, QStringLiteral("2")},
      {"texto sin recorte en la base", QStringLiteral("operador"), QStringLiteral("NombreCompleto"),
       QStringLiteral("nombre"), 8, QString(), false, QStringLiteral("Operador de carga")},
      {"numero", QStringLiteral("0"), QStringLiteral("nombre"), QStringLiteral("Administrador"), 3, QString(),
       false, QStringLiteral("operador")},
      {"numero con letras: nada", QStringLiteral("0abc"), QStringLiteral("nombre"),
       QStringLiteral("Administrador"), 3, QString(), false, QString()},
      {"numero con condicion", QStringLiteral("1"), QStringLiteral("nombre"), QStringLiteral("Administrador"),
       3, QStringLiteral("nombre = 'ma_test'"), false, QStringLiteral("ma_test")},
      {"sin fila", QStringLiteral("nadie"), QStringLiteral("UNegocio"), QStringLiteral("nombre"), 8,
       QString(), true, QString()},
  };
  for (const auto& c : casos)
    EXPECT_EQ(
        db.DatosTabla(u, c.valor, c.devuelto, c.campo, c.tipo, c.condicion, c.recortar).toString().trimmed(),
        c.esperado)
        << c.nombre;
  // A Null column reads as "".
  EXPECT_EQ(db.DatosTabla(QStringLiteral("P_MA_Empresas"), QStringLiteral("12"), QStringLiteral("eMail"),
                          QStringLiteral("IdEmpresa"), 8, QString(), true)
                .toString(),
            QString());
}

TEST_P(Consultas, ConApostrofeEncuentraExactamenteEseValor) {
  testdb::RunSql(base, QStringLiteral("INSERT INTO ta_usuarios (nombre, Administrador, UNegocio) "
                                      "VALUES ('O''Brien', 0, '7')"));
  const QString u = QStringLiteral("ta_usuarios");
  const QString n = QStringLiteral("nombre");
  EXPECT_TRUE(db.ExisteEnTabla(u, QStringLiteral("O'Brien"), n, nullptr, 8, QString()));
  EXPECT_FALSE(db.ExisteEnTabla(u, QStringLiteral("O'Brie"), n, nullptr, 8, QString()));
  EXPECT_TRUE(db.ExisteEnTablaST(u, QStringLiteral("O'Brien"), n, nullptr, 8, QString(), true));
  EXPECT_EQ(db.DatosTabla(u, QStringLiteral("O'Brien"), QStringLiteral("UNegocio"), n, 8, QString(), true)
                .toString(),
            QStringLiteral("7"));
  // A value written to escape the literal finds nothing and changes nothing.
  EXPECT_FALSE(db.ExisteEnTabla(u, QStringLiteral("x' OR '1'='1"), n, nullptr, 8, QString()));
  EXPECT_EQ(db.DatosTabla(u, QStringLiteral("x' OR '1'='1"), QStringLiteral("nombre"), n, 8, QString(), true)
                .toString(),
            QString());
}

TEST_P(Consultas, MaximoMinimoYUltimoCodigo) {
  testdb::RunSql(base, QStringLiteral("CREATE TABLE VACIA (CODIGO INTEGER)"));
  const ado::Value vacio =
      db.BuscaUltimoCodigo(QStringLiteral("VACIA"), QStringLiteral("CODIGO"), {}, QString());
  ASSERT_FALSE(ado::IsEmpty(vacio));
  EXPECT_EQ(vacio.toDouble(), 0.0);
  EXPECT_EQ(db.BuscaMaximo(QStringLiteral("VACIA"), QStringLiteral("CODIGO")).toDouble(), 0.0);
  EXPECT_EQ(db.BuscaMaximo(QStringLiteral("ta_usuarios"), QStringLiteral("Administrador")).toDouble(), 1.0);
  EXPECT_EQ(db.BuscaMinimo(QStringLiteral("ta_usuarios"), QStringLiteral("Administrador")).toDouble(), 0.0);
  EXPECT_EQ(db.BuscaMaximo(QStringLiteral("ta_usuarios"), QStringLiteral("Administrador"), {},
                           QStringLiteral(" nombre = 'operador' "))
                .toDouble(),
            0.0);
  EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("V_TA_CPTE"), QStringLiteral("ProximoNumero"), {},
                                 QStringLiteral("EMPRESA = ''"))
                .toDouble(),
            1.0);
  EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("V_TA_CPTE"), QStringLiteral("ProximoNumero"), {},
                                 QStringLiteral("EMPRESA = '              1'"))
                .toDouble(),
            101.0);
  // A condition passed empty leaves a bare WHERE: the failure reaches the caller.
  EXPECT_THROW(db.BuscaMaximo(QStringLiteral("VACIA"), QStringLiteral("CODIGO"), {}, QString()),
               ado::Failure);
}

TEST_P(Consultas, EjecutaConsultaSQLCuentaYQuitaLaMarca) {
  QString sql = QStringLiteral("UPDATE @Admin_ta_usuarios SET UNegocio = '9' WHERE Administrador = 1");
  long afectados = -1;
  db.EjecutaConsultaSQL(sql, afectados);
  EXPECT_EQ(afectados, 2);
  EXPECT_EQ(sql, QStringLiteral("UPDATE ta_usuarios SET UNegocio = '9' WHERE Administrador = 1"));
  EXPECT_EQ(Uno(QStringLiteral("SELECT UNegocio FROM ta_usuarios WHERE nombre = 'admin'")),
            QStringLiteral("9"));
}

TEST_P(Consultas, EjecutaConsultaSQLCallaLaClaveDuplicadaYLaDejaEnErrores) {
  QString sql = QStringLiteral("INSERT INTO ta_usuarios (nombre, Administrador) VALUES ('admin', 0)");
  long afectados = 0;
  db.EjecutaConsultaSQL(sql, afectados);
  ASSERT_GE(cnn->Errors().Count(), 1);
  EXPECT_EQ(cnn->Errors()[0].NativeError, ado::native::DuplicateKey);
}

TEST_P(Consultas, EjecutaConsultaSQLAvisaLosDemasFallosSalvoEnTransacciones) {
  db.SetCnn(ado::Connection::Create());  // never opened
  QString sql = QStringLiteral("UPDATE ta_usuarios SET UNegocio = '1'");
  long afectados = 0;
  op->Responder(vb::OK);
  db.EjecutaConsultaSQL(sql, afectados);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Aviso al operador!!!"));
  EXPECT_EQ(op->mensajes[0].style, vb::Critical + vb::OKOnly);

  QString trans = QStringLiteral("BEGIN TRANSACTION");
  db.EjecutaConsultaSQL(trans, afectados);
  EXPECT_EQ(op->mensajes.size(), 1u);
}

TEST_P(Consultas, AbrirRecordsetDejaLaSentenciaMapeadaEnLaVariable) {
  db.gEsAdmin = false;
  QString sql = QStringLiteral("SELECT * FROM @Admin_ta_usuarios WHERE nombre = 'admin'");
  ado::Recordset rs;
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(sql, QStringLiteral("SELECT * FROM ta_usuarios WHERE nombre = 'admin'"));
  ASSERT_EQ(rs.State(), ado::adStateOpen);
  EXPECT_FALSE(rs.Bof());
  // Opening again closes the previous rowset first.
  QString otra = QStringLiteral("SELECT * FROM ta_usuarios WHERE nombre = 'nadie'");
  db.AbrirRecordset(otra, rs);
  EXPECT_TRUE(rs.Bof());
  db.CierraRecordset(rs);
  EXPECT_EQ(rs.State(), ado::adStateClosed);
  db.CierraRecordset(rs);
}

TEST_P(Consultas, AbrirRecordsetPasaLosFallosALaTratamientoComun) {
  QString sql = QStringLiteral("SELECT * FROM NO_EXISTE");
  ado::Recordset rs;
  op->Responder(vb::Ignore);
  db.AbrirRecordset(sql, rs);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].title.contains(QLatin1String("AbrirRecordset - ")));
  EXPECT_EQ(op->mensajes[0].style, vb::Critical + vb::AbortRetryIgnore);
  EXPECT_EQ(rs.State(), ado::adStateClosed);
}

INSTANTIATE_TEST_SUITE_P(Motores, Consultas, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
