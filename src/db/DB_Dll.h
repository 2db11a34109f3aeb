#pragma once
#include <QHash>
// The program's single gateway to the database: the one shared connection,
// its parameters, and the recordset, literal, schema, table-mapping, Oracle
// and error helpers.
// Members are spread over one source file per concern (DB_Conexion.cpp,
// DB_Literales.cpp, DB_Recordsets.cpp, DB_Esquema.cpp, DB_MapeoTablas.cpp,
// DB_Oracle.cpp, DB_Errores.cpp; the log itself is LogDeErrores).
#include <QString>
#include <functional>
#include <optional>

#include "platform/client/Connection.h"
#include "platform/client/Recordset.h"
#include "platform/core/Error.h"
#include "platform/core/Value.h"

class Utilidades;
class DialogoModal;

// The login dialog's data, shown through the operator interface under the
// name "frmAcceso".
class SolicitudAcceso;

class DB_Dll {
 public:
  static DB_Dll& Instancia();
  DB_Dll();
  ~DB_Dll();
  DB_Dll(const DB_Dll&) = delete;
  DB_Dll& operator=(const DB_Dll&) = delete;

  // ---- public fields ----
  bool gOpenFlag = false;
  ado::Value gIgnoraPassWord;
  ado::RecordsetPtr glrcs;
  ado::Value gCursorLocation;
  QString gProveedor;
  QString gDsn;
  QString gServidor;
  QString gDBName;
  QString gUsuario;
  bool gEsAdmin = false;
  QString gUserPassWord;
  QString gConnString;
  QString gExtended;
  QString gLogErr;
  double ParametrosSQL = 0;

  // THE shared connection; created (unopened) the first time it is touched.
  ado::ConnectionPtr& gCnn();
  void SetCnn(ado::ConnectionPtr c) { cnn_ = std::move(c); }

  // ---- provider names ----
  QString pJETOLEDB40() const { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
  QString pJETOLEDB35() const { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
  QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }

  // ---- connection (DB_Conexion.cpp) ----
  void OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString, bool ValidaAdmin);
  void OpenLocalADODB(const ado::Value& = {}, const ado::Value& = {}, const ado::Value& = {}) {}
  void QConsulta(const ado::Value& = {}, const ado::Value& = {}, const ado::Value& = {},
                 const ado::Value& = {}, const ado::Value& = {}, const ado::Value& = {}) {}
  void QGridConsulta(const ado::Value& = {}, const ado::Value& = {}, const ado::Value& = {},
                     const ado::Value& = {}, const ado::Value& = {}) {}
  QString StripConnect(const QString& rsTblName) const;

  // ---- literals and names (DB_Literales.cpp) ----
  bool adodate(const ado::Value& Qtype) const;
  bool ADOText(const ado::Value& Qtype) const;
  bool ADONumeric(const ado::Value& Qtype) const;
  bool ADOCurrency(const ado::Value& Qtype) const;
  bool ADOBoolean(const ado::Value& Qtype) const;
  ado::Value SQLValue(ado::Value Valor, const QString& Tipo);
  QString stSTF(QString& rsName, short rnPart);
  QString AddBrackets(const QString& rObjName) const;
  QString StripBrackets(const QString& rsObjName) const;
  QString StripOwner(QString& rsTblName) const;
  QString StripFileName(const QString& rsFileName) const;

  // ---- recordset and query helpers (DB_Recordsets.cpp) ----
  // Omitted optional arguments are Empty values / std::nullopt / nullptr.
  ado::Value BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const ado::Value& Tipo = {},
                         const std::optional<QString>& Condicion = std::nullopt);
  ado::Value BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const ado::Value& Tipo = {},
                         const std::optional<QString>& Condicion = std::nullopt);
  ado::Value BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const ado::Value& Tipo = {},
                               const QString& Condicion = {});
  // Whether a row is there, or the check itself failed (the operator was told).
  enum class Existencia { Existe, NoExiste, Fallo };
  Existencia ComprobarEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                              ado::Recordset* Lrcs = nullptr, const ado::Value& TipoDato = {},
                              const QString& Condicion = {});
  bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                       ado::Recordset* Lrcs = nullptr, const ado::Value& TipoDato = {},
                       const QString& Condicion = {}, bool SoloLectura = false);
  bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                     ado::Recordset* Lrcs = nullptr, const ado::Value& TipoDato = {},
                     const QString& Condicion = {});
  ado::Value DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                        const QString& Campo, const ado::Value& TipoDato = {}, const QString& Condicion = {},
                        bool UsaTrim = false);
  // While one lives, DatosTabla reads each statement once: the start-up asks the
  // operator's own row for one column, then for another.
  class UnaLecturaPorSentencia {
   public:
    UnaLecturaPorSentencia();
    ~UnaLecturaPorSentencia();
    UnaLecturaPorSentencia(const UnaLecturaPorSentencia&) = delete;
    UnaLecturaPorSentencia& operator=(const UnaLecturaPorSentencia&) = delete;
  };
  void CierraRecordset(ado::Recordset& LRCSTEMP);
  void EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected);
  void AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs,
                      ado::ConnectionPtr ConexionActiva = nullptr, long CursorType = ado::adOpenForwardOnly,
                      long LockType = ado::adLockReadOnly, long Options = ado::adOptionUnspecified,
                      bool ConvOracle = true);

  // ---- schema (DB_Esquema.cpp) ----
  void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                const ado::Value& ValorDefault = {});
  bool ExisteTablaDB(const QString& Tabla);
  bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
  bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo = {},
                  bool PermiteNulos = true, const ado::Value& ValorDefault = {});

  // ---- table mapping (DB_MapeoTablas.cpp) ----
  QString SS_TSinonimos(const QString& SQL) const;

  // ---- Oracle translation (DB_Oracle.cpp) ----
  QString ORACLE_Dicc(const QString& Valor);

  // ---- error treatment (DB_Errores.cpp) ----
  ado::Value ArchivoErrores() const { return gLogErr; }
  void SetArchivoErrores(const ado::Value& vNewValue) { gLogErr = vNewValue.toString(); }
  short TratamientoErrores(const ado::ErrorInfo& CodErr, const ado::Value& Botones = {},
                           const ado::Value& Rutina = {});

  // The class's own services object, created on first use.
  Utilidades& Servicios();

  // What a trap does with a failure that lost the shared connection: tells
  // the operator, once for each time the link broke, and lets the failing
  // step run again, which reopens the connection.
  bool RecuperarConexion(const ado::ErrorInfo& error);
  static const QString kAvisoConexionPerdida;

 private:
  friend class DB_DllPrueba;
  QString FiltraSentencia(QString& sentencia) const;
  // The existence check of a statement, on the caller's recordset (with its
  // own cursor and lock types unless read-only) or on a private one.
  Existencia Comprobar(const std::function<QString()>& sentencia, ado::Recordset* Lrcs, bool soloLectura,
                       const char* rutina);
  QString EjecutaScriptOracle(QString& script, long& RecordsAffected);
  void PasoLogin();
  void PasoArmado();

  ado::ConnectionPtr cnn_;
  std::unique_ptr<Utilidades> util_;
  // UnaLecturaPorSentencia's rows: by statement, lower-case column -> value; empty when none.
  int lecturasUnicas_ = 0;
  QHash<QString, QHash<QString, ado::Value>> filasLeidas_;
  int perdidasAvisadas_ = 0;
};
