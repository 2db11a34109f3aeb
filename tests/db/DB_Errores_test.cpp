#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>

#include "db/DB_Dll.h"
#include "platform/services/Carpetas.h"
#include "platform/services/Utilidades.h"
#include "support/OperadorGuionado.h"

namespace {

class ErroresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    ASSERT_TRUE(dir.isValid());
    log = dir.filePath("errores.log");
    db.SetArchivoErrores(log);
  }
  void TearDown() override { db.SetArchivoErrores(QString()); }
  QByteArray Log() const {
    QFile f(log);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  DB_Dll& db = DB_Dll::Instancia();
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir dir;
  QString log;
};

TEST_F(ErroresTest, LineaDelRegistroByteAByte) {
  op->Responder(vb::Ignore);
  const QDateTime antes = QDateTime::currentDateTime();
  const short r = db.TratamientoErrores({3021, "   No hay registro actual.", "ADODB"}, {}, "AbrirRecordset");
  const QDateTime despues = QDateTime::currentDateTime();
  EXPECT_EQ(r, vb::Ignore);

  const QByteArray linea = Log();
  ASSERT_GT(linea.size(), 19) << linea.toStdString();
  // Month-day-year, 24-hour clock.
  const QDateTime cuando = QDateTime::fromString(QString::fromLatin1(linea.left(19)), "MM-dd-yyyy HH:mm:ss");
  ASSERT_TRUE(cuando.isValid()) << linea.left(19).toStdString();
  EXPECT_GE(cuando, antes.addMSecs(-antes.time().msec()));
  EXPECT_LE(cuando, despues);
  EXPECT_EQ(linea.mid(19),
            QByteArray(" Rutina: AbrirRecordset - Mensaje Ha ocurrido el Siguiente Error (3021) "
                       "No hay registro actual. Respondi\xF3 : Ignorar\r\n"));

  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, "Ha ocurrido el Siguiente Error (3021) No hay registro actual.");
  EXPECT_EQ(op->mensajes[0].style, vb::Critical + vb::AbortRetryIgnore);
  EXPECT_EQ(op->mensajes[0].title, "ADODBAbrirRecordset -  Aviso al operador!!! ");
}

TEST_F(ErroresTest, PalabraDeCadaRespuesta) {
  const std::pair<int, QByteArray> casos[] = {
      {vb::OK, "Aceptar"},     {vb::Cancel, "Cancelar"}, {vb::Abort, "Abortar"}, {vb::Retry, "Reintentar"},
      {vb::Ignore, "Ignorar"}, {vb::Yes, "S\xED"},       {vb::No, "No"}};
  for (const auto& [respuesta, palabra] : casos) {
    op->Responder(respuesta);
    EXPECT_EQ(db.TratamientoErrores({7, "x", "s"}, vb::YesNo, "R"), respuesta);
    EXPECT_EQ(op->mensajes.back().style, vb::YesNo);
  }
  const QList<QByteArray> lineas = Log().split('\n');
  ASSERT_EQ(lineas.size(), 8);  // seven lines, each ended by CRLF, appended
  for (int i = 0; i < 7; ++i)
    EXPECT_TRUE(lineas[i].endsWith(" Respondi\xF3 : " + casos[i].second + "\r")) << lineas[i].toStdString();
}

TEST_F(ErroresTest, SinRutinaTituloYLinea) {
  op->Responder(vb::Abort);
  db.TratamientoErrores({-2147217900, "Sintaxis", "Proveedor"});
  EXPECT_EQ(op->mensajes[0].title, "Proveedor Aviso al operador!!! ");
  EXPECT_EQ(op->mensajes[0].prompt, "Ha ocurrido el Siguiente Error (-2147217900) Sintaxis");
  EXPECT_TRUE(Log().mid(19).startsWith(" Rutina:  Mensaje Ha ocurrido"));
}

TEST_F(ErroresTest, NumeroCeroNoMuestraNiAnota) {
  EXPECT_EQ(db.TratamientoErrores({0, "nada", "x"}, {}, "R"), 0);
  EXPECT_FALSE(QFile::exists(log));
}

TEST_F(ErroresTest, RegistroInescribibleNoOcultaElMensaje) {
  for (const QString& ruta : {dir.filePath("no/existe/err.log"), dir.path()}) {
    db.SetArchivoErrores(ruta);
    op->Responder(vb::Retry);
    EXPECT_EQ(db.TratamientoErrores({3704, "Cerrado", "x"}, {}, "CierraRecordset"), vb::Retry);
  }
  EXPECT_EQ(op->mensajes.size(), 2u);
}

TEST_F(ErroresTest, LaClaveNoLlegaAlMensajeNiAlRegistro) {
  op->Responder(vb::Abort);
  db.TratamientoErrores({5, "No se pudo abrir PROVIDER=SQLOLEDB;Server=S;UId=sa;Pwd=Secreta1;", "x"}, {},
                        "R");
  EXPECT_FALSE(op->mensajes[0].prompt.contains("Secreta1")) << op->mensajes[0].prompt.toStdString();
  EXPECT_FALSE(Log().contains("Secreta1"));
}

// Every error box of the program is one whole line of the log, also after a
// line an earlier write left without its end.
TEST_F(ErroresTest, CadaAvisoDeErrorEsUnaLineaDelRegistro) {
  {
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("renglon cortado");
  }
  const struct {
    std::function<void()> accion;
    int respuesta;
    const char* resto;  // what follows the date and time
  } casos[] = {
      {[&] {
         db.TratamientoErrores({3021, "uno\r\ndos\rtres\n", "ADODB"}, {}, "AbrirRecordset");
       },
       vb::Retry,
       "Rutina: AbrirRecordset - Mensaje Ha ocurrido el Siguiente Error \\(3021\\) uno  dos tres "
       "Respondi\xF3 : Reintentar"},
      {[&] {
         Utilidades::Compartido().MostrarError({7, "x\ny", "Prov"}, {}, "Load");
       },
       vb::Ignore,
       "Rutina: Load - Mensaje Se ha producido el error 7 en Load: x y \\(Prov\\) Respondi\xF3 : Ignorar"},
      {[&] { db.ExisteEnTabla("T", "1", "C"); }, vb::Abort,
       "Rutina: ExisteEnTabla - Mensaje .+ Respondi\xF3 : Abortar"},
      {[&] {
         QString sql = "DELETE FROM T";
         long n = 0;
         db.EjecutaConsultaSQL(sql, n);
       },
       vb::OK, "Rutina: EjecutaConsultaSQL - Mensaje .+ Respondi\xF3 : Aceptar"},
  };
  for (const auto& c : casos) {
    op->Responder(c.respuesta);
    c.accion();
  }
  const QList<QByteArray> lineas = Log().split('\n');
  ASSERT_EQ(lineas.size(), std::size(casos) + 2) << Log().toStdString();
  EXPECT_EQ(lineas.front(), "renglon cortado\r");
  EXPECT_EQ(lineas.back(), "");
  for (std::size_t i = 0; i < std::size(casos); ++i) {
    const QString linea = QString::fromLatin1(lineas[i + 1]);
    const QRegularExpression forma(QStringLiteral("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d ") +
                                   QString::fromLatin1(casos[i].resto) + QStringLiteral("\r$"));
    EXPECT_TRUE(forma.match(linea).hasMatch()) << linea.toStdString();
  }
}

TEST_F(ErroresTest, SinArchivoElegidoVaALaCarpetaDelPrograma) {
  db.SetArchivoErrores(QString());
  EXPECT_EQ(db.ArchivoErrores().toString(), "");
  const QString ruta = CarpetaDelPrograma() + "/VMERR.LOG";
  QFile::remove(ruta);
  op->Responder(vb::Abort);
  db.TratamientoErrores({9, "y", "x"}, {}, "R");
  EXPECT_TRUE(QFile::exists(ruta));
  QFile::remove(ruta);
}

}  // namespace
