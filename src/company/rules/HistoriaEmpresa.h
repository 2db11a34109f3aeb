#pragma once
// The change history of the companies, in the table MA_EMPRESAS_HISTORIA:
// one row per column a save changed, one row per deletion, written inside
// the save's own transaction. A database without the table keeps no
// history and the program works as before, without telling anybody.
#include <QString>
#include <QVector>
#include <optional>

#include "company/rules/CambiosEmpresa.h"
#include "platform/client/Connection.h"
#include "platform/services/Operador.h"

enum class OperacionHistoria { Alta, Modificacion, Baja };

// One history row as the operator reads it.
struct FilaHistoria {
  QString momento, usuario, estacion, operacion, campo, antes, despues;
};

// The read-only list of one company's history, newest first.
class DialogoHistoria : public DialogoModal {
 public:
  QString Nombre() const override { return QStringLiteral("frmHistoriaEmpresa"); }
  QString titulo;
  QVector<FilaHistoria> filas;
};

// A value as the history stores it: its text as the table holds it, and for a picture
// "(imagen, N bytes)" with the SHA-256 of its bytes apart.
struct ValorHistoria {
  ado::Value texto;  // Null for a Null or empty value
  ado::Value hash;   // Null unless a picture
};
ValorHistoria ValorParaHistoria(const ado::Value& v);

class HistoriaEmpresa {
 public:
  static const QString kTabla;

  // Whether the database has the table. Asked once per session, with one
  // statement that must run outside any transaction (a failed statement
  // ends PostgreSQL's).
  bool Disponible(ado::Connection& cnn);
  // The rows of one save or deletion; failures reach the caller. A
  // deletion writes one row, with the company's name as the value before.
  void Escribir(ado::Connection& cnn, const QString& codigo15, OperacionHistoria operacion,
                const QVector<CambioEmpresa>& cambios);
  DialogoHistoria Leer(const ado::ConnectionPtr& cnn, const QString& codigo15);

 private:
  std::optional<bool> disponible_;
};
