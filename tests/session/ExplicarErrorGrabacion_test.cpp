// What the operator is told about a failed save, and how the save goes on.
#include "session/ExplicarErrorGrabacion.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "db/DB_Dll.h"
#include "support/ConexionDePrueba.h"
#include "support/OperadorGuionado.h"

namespace {

using testdb::Engine;

const QString kTextoConversion = QStringLiteral(
    "Verifique las siguientes opciones: \r\n\r\n1) Ha ingresado letras donde debe ingresar numeros\r\n\r\n"
    "2) Debe ingresar una fecha y el formato es incorrecto\r\n\r\nEn el campo: CUIT");

class SinBase : public ::testing::Test {
 protected:
  void SetUp() override {
    db.SetCnn(ado::Connection::Create());
    ASSERT_TRUE(logs.isValid());
    db.gLogErr = logs.filePath(QStringLiteral("VMERR.LOG"));
    op = OperadorGuionado::Instalar();
  }
  void TearDown() override { db.SetCnn(nullptr); }
  void ErrorDelProveedor(long nativo) {
    db.gCnn()->Errors().Add({static_cast<long>(0x80040E14), QStringLiteral("detalle"),
                             QStringLiteral("42000"), nativo, QStringLiteral("ODBC")});
  }

  DB_Dll& db = DB_Dll::Instancia();
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir logs;
};

TEST_F(SinBase, TipoEquivocado) {
  op->Responder(vb::OK);
  EXPECT_EQ(ExplicarErrorGrabacion({ado::err::WrongType, QStringLiteral("tipo"), QStringLiteral("x")},
                                   QStringLiteral("CUIT")),
            0);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Error en conversion de datos"));
  EXPECT_EQ(op->mensajes[0].prompt, kTextoConversion);
  EXPECT_EQ(op->mensajes[0].style, vb::Critical);
}

TEST_F(SinBase, ConversionDelProveedorLimpiaLosErrores) {
  ErrorDelProveedor(1010);
  op->Responder(vb::OK);
  EXPECT_EQ(ExplicarErrorGrabacion({static_cast<long>(0x80040E14), QStringLiteral("d"), QString()},
                                   QStringLiteral("CUIT")),
            0);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Error en conversion de datos "));
  EXPECT_EQ(op->mensajes[0].prompt, kTextoConversion);
  EXPECT_EQ(db.gCnn()->Errors().Count(), 0);
}

TEST_F(SinBase, LosDemasErroresVanAlTratamientoComun) {
  const struct {
    long nativo;  // 0: no provider error
    int respuesta;
    short resultado;
  } casos[] = {{0, vb::Abort, 3},     {0, vb::Retry, 4}, {0, vb::Ignore, 5},
               {8152, vb::Ignore, 5}, {0, vb::Yes, 0},   {0, vb::Cancel, 0}};
  for (const auto& c : casos) {
    op = OperadorGuionado::Instalar();
    db.gCnn()->Errors().Clear();
    if (c.nativo) ErrorDelProveedor(c.nativo);
    op->Responder(c.respuesta);
    EXPECT_EQ(
        ExplicarErrorGrabacion({3704, QStringLiteral("cerrado"), QStringLiteral("ado")}, QStringLiteral("X")),
        c.resultado)
        << c.nativo << " " << c.respuesta;
    ASSERT_EQ(op->mensajes.size(), 1u);
    EXPECT_EQ(op->mensajes[0].title, QStringLiteral("adoActualizar Datos -  Aviso al operador!!! "));
  }
}

class ConBase : public ConexionDePrueba {
 protected:
  // Adds a company with the given code and name (Null when empty) and returns the failure.
  ado::ErrorInfo AltaFallida(const QString& codigo, const QString& nombre) {
    ado::Recordset rs;
    QString sql = QStringLiteral("SELECT * FROM P_MA_Empresas WHERE IdEmpresa = 'ninguna'");
    db.AbrirRecordset(sql, rs, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
    try {
      rs.AddNew();
      rs.Fields(QStringLiteral("IdEmpresa")).SetValue(codigo);
      rs.Fields(QStringLiteral("NombreEmpresa"))
          .SetValue(nombre.isEmpty() ? ado::Null() : ado::Value(nombre));
      rs.Update();
    } catch (const ado::Failure& f) {
      return f.Info();
    }
    ADD_FAILURE() << "el alta no fallo";
    return {};
  }
};

TEST_P(ConBase, ClaveDuplicada) {
  const ado::ErrorInfo e = AltaFallida(QStringLiteral("              8"), QStringLiteral("Otra"));
  op->Responder(vb::OK);
  EXPECT_EQ(ExplicarErrorGrabacion(e, QStringLiteral("IdEmpresa")), 0);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Clave Duplicada"));
  EXPECT_TRUE(op->mensajes[0].prompt.startsWith(QLatin1String("Descripcion del Error: 2627 - ")));
  EXPECT_TRUE(op->mensajes[0].prompt.endsWith(QLatin1String(
      "\r\n\r\nLa grabacion se ha cancelado... Cambie el campo principal e intente grabar nuevamente")));
  EXPECT_EQ(op->mensajes[0].style, vb::Critical);
  EXPECT_EQ(cnn->Errors().Count(), 0);
}

TEST_P(ConBase, NulosNoPermitidos) {
  const ado::ErrorInfo e = AltaFallida(QStringLiteral("             99"), QString());
  op->Responder(vb::OK);
  EXPECT_EQ(ExplicarErrorGrabacion(e, QStringLiteral("NombreEmpresa")), 0);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Error en conversion de datos - NULOS NO PERMITIDO"));
  EXPECT_TRUE(op->mensajes[0].prompt.startsWith(QLatin1String("Descripcion del Error: 515 - ")));
  EXPECT_EQ(cnn->Errors().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConBase, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
