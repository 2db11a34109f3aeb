#include <QString>

#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "db/SolicitudAcceso.h"
#include "platform/client/ConnectionString.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

namespace {

const QString kProveedorOracle = QStringLiteral("OraOLEDB.Oracle.1");

QString PreguntaReintento(const ado::ProviderError& e) {
  const QChar cr(13);
  // The driver's text does not carry the password; masked all the same in
  // case a driver quotes the connection string back.
  return QStringLiteral(" Estado de Sql: ") + e.SQLState + cr + QStringLiteral("Numero de Error: ") +
         QString::number(e.Number) + cr + QStringLiteral("Descripcion: ") +
         ado::MaskPasswords(e.Description) + cr + QStringLiteral("Codigo Nativo: ") +
         QString::number(e.NativeError) + cr + QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

}  // namespace

void DB_Dll::PasoLogin() {
  SolicitudAcceso dlg;
  dlg.TxtDbName = gDBName;
  dlg.TxtServidor = gServidor;
  dlg.TxtUserId = gUsuario;
  dlg.TxtUserPassword = gUserPassWord;
  dlg.CboPlataformaDB = SolicitudAcceso::SqlServer;
  dlg.Aceptar = false;
  ElOperador().MostrarModal(dlg);
  if (dlg.Aceptar) {
    gOpenFlag = true;
    gDBName = dlg.TxtDbName;
    gServidor = dlg.TxtServidor;
    gUsuario = dlg.TxtUserId;
    gUserPassWord = dlg.TxtUserPassword;
    if (dlg.CboPlataformaDB > SolicitudAcceso::SqlServer) {
      gProveedor = kProveedorOracle;
      if (!gServidor.contains(QLatin1Char('#'))) gServidor += QLatin1Char('#');
    } else {
      gProveedor = pSQLOLEDB();
    }
  } else {
    gOpenFlag = false;
  }
}

void DB_Dll::PasoArmado() {
  // Values typed in the login dialog may hold what ends or opens an item.
  const auto v = [](const QString& valor) { return ado::cs::QuoteValue(valor); };
  if (gServidor.contains(QLatin1Char('#'))) {
    gConnString = QStringLiteral("Provider=") + kProveedorOracle + QStringLiteral(";Data Source=") +
                  v(gDBName) + QStringLiteral(";User Id=") + v(gUsuario) + QStringLiteral(";Password=") +
                  v(gUserPassWord) + QStringLiteral(";");
    return;
  }
  gConnString = QStringLiteral("PROVIDER=") + pSQLOLEDB() + QStringLiteral(";") + QStringLiteral("Server=") +
                v(gServidor) + QStringLiteral(";") + QStringLiteral("Database =") + v(gDBName) +
                QStringLiteral(";") + QStringLiteral("UId=") + v(gUsuario) + QStringLiteral(";") +
                QStringLiteral("Pwd=") + v(gUserPassWord) + QStringLiteral(";") + gExtended;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString,
                             bool ValidaAdmin) {
  // Set when the operator cancels the login dialog: the rest is skipped.
  bool salir = false;
  auto mientras = [&salir](auto paso) -> trampa::Paso {
    return [&salir, paso] {
      if (!salir) paso();
    };
  };

  const std::vector<trampa::Paso> pasos = {
      mientras([&] {
        gOpenFlag = true;
        if (gProveedor.compare(QString(), Qt::CaseInsensitive) == 0) gProveedor = pSQLOLEDB();
      }),
      mientras([&] {
        if (ConnString.trimmed().isEmpty())
          PasoArmado();
        else
          gConnString = ConnString;
      }),
      mientras([&] {
        if (!PideParametrosSQL) return;
        PasoLogin();
        if (!gOpenFlag) {
          salir = true;
          return;
        }
        PasoArmado();
      }),
      mientras([&] {
        ado::ConnectionPtr& cnn = gCnn();
        cnn->SetCursorLocation(static_cast<int>(lCursor));
        cnn->Open(gConnString, QString(), QString(), -1);
      }),
      mientras([&] {
        if (!ValidaAdmin) {
          gEsAdmin = true;
          return;
        }
        const ado::Value admin =
            DatosTabla(QStringLiteral("ta_usuarios"), gUsuario, QStringLiteral("Administrador"),
                       QStringLiteral("nombre"), 8, QString(), true);
        gEsAdmin = Servicios().ValorPuntoOComa(admin) == 1.0;
      }),
  };

  auto fallo = [&](const ado::ErrorInfo& error, std::size_t) -> int {
    ado::ConnectionPtr& cnn = gCnn();
    if (cnn->Errors().Count() > 0) {
      const ado::ProviderError primero = cnn->Errors().Item(0);
      const int r =
          logerrores::Avisar(QStringLiteral("OpenServerADODB"), PreguntaReintento(primero),
                             vb::YesNo + vb::Critical, QStringLiteral(" Error de Conexion a Base de Datos"));
      if (r != vb::Yes) {
        gOpenFlag = false;
        return 0;
      }
      cnn->Errors().Clear();
      PasoLogin();
      if (!gOpenFlag) return 0;
      PasoArmado();
      return trampa::Reintentar;
    }
    logerrores::Avisar(QStringLiteral("OpenServerADODB"), ado::MaskPasswords(error.Description), vb::OKOnly,
                       QString());
    // A failure that left no connection open must not read as success: the
    // start-up relies on the flag to decide whether the program can go on.
    gOpenFlag = cnn->State() == ado::adStateOpen;
    return 0;
  };

  try {
    trampa::Ejecutar(pasos, fallo);
  } catch (...) {
    // The caller learns the outcome from the flag only; a failure inside the
    // failure path itself (no operator, a broken dialog) ends the attempt.
    gOpenFlag = gCnn()->State() == ado::adStateOpen;
  }
}

QString DB_Dll::StripConnect(const QString& rsTblName) const {
  const int p = rsTblName.indexOf(QStringLiteral("->"), 0, Qt::CaseInsensitive);
  if (p < 0) return rsTblName;
  // p is 0-based: the text before the arrow, less the one character (normally
  // a blank) that precedes it. An arrow at the very start gives "".
  return rsTblName.left(std::max(0, p - 1));
}
