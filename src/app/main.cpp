#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QWidget>
#include <cstdlib>

#include "db/DB_Dll.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "platform/widgets/QtOperador.h"
#include "session/inicio/IniciarSesion.h"
#include "session/ui/frmAcceso.h"

#if __has_include("company/ui/frmMA_Empresas.h")
#include "company/ui/frmMA_Empresas.h"
#define MA_CON_FORMULARIO_EMPRESAS 1
#endif

namespace {

#ifndef MA_CON_FORMULARIO_EMPRESAS
QString Motor(const ado::Connection& cnn) {
  switch (cnn.GetDialect()) {
    case ado::Dialect::SqlServer:
      return QStringLiteral("SQL Server");
    case ado::Dialect::Sqlite:
      return QStringLiteral("SQLite");
    case ado::Dialect::Postgres:
      return QStringLiteral("PostgreSQL");
    case ado::Dialect::Oracle:
      return QStringLiteral("Oracle");
    default:
      return QStringLiteral("desconocido");
  }
}

// Shows the session that the start-up opened.
int VentanaDeConexion(QApplication& app) {
  bool conectado = false;
  trampa::Ejecutar({[&] {
                     bool usarIni = false;
                     QString parametros, cadena;
                     IniciarSesion(usarIni, parametros, cadena);
                     conectado = DB_Dll::Instancia().gOpenFlag;
                   }},
                   [](const ado::ErrorInfo& e, std::size_t) {
                     return Utilidades::Compartido().MostrarError(e, {}, QStringLiteral("Load"));
                   });
  if (!conectado) return EXIT_FAILURE;
  DB_Dll& db = DB_Dll::Instancia();
  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("Empresas"));
  auto* filas = new QFormLayout(&ventana);
  filas->addRow(QStringLiteral("Servidor:"), new QLabel(db.gServidor));
  filas->addRow(QStringLiteral("Base de Datos:"), new QLabel(db.gDBName));
  filas->addRow(QStringLiteral("Usuario:"), new QLabel(db.gUsuario));
  filas->addRow(QStringLiteral("Motor:"), new QLabel(Motor(*db.gCnn())));
  ventana.show();
  return app.exec();
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MA_Empresas"));
  EstablecerOperador(std::make_shared<QtOperador>());
  RegistrarFrmAcceso();

#ifdef MA_CON_FORMULARIO_EMPRESAS
  frmMA_Empresas formulario;
  if (!formulario.Cargar()) return EXIT_FAILURE;
  formulario.show();
  return app.exec();
#else
  return VentanaDeConexion(app);
#endif
}
