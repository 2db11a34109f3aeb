#pragma once
// The login dialog as the connection logic sees it: the four texts, the
// chosen platform and which button closed it.
#include <QString>

#include "platform/services/Operador.h"

class SolicitudAcceso : public DialogoModal {
 public:
  // Entries of the platform list.
  enum Plataforma : int { SqlServer = 0, Oracle = 1 };

  QString Nombre() const override { return QStringLiteral("frmAcceso"); }

  QString TxtDbName;
  QString TxtServidor;
  QString TxtUserId;
  QString TxtUserPassword;
  int CboPlataformaDB = SqlServer;
  // True only when the accept button closed the dialog.
  bool Aceptar = false;
};
