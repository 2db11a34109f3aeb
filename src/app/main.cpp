#include <QApplication>
#include <QTimer>
#include <cstdlib>

#include "company/ui/EnlaceDialogos.h"
#include "company/ui/frmMA_Empresas.h"
#include "platform/widgets/QtOperador.h"
#include "platform/widgets/TraduccionesQt.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("MA_Empresas"));
  CargarTraduccionesQt();
  EstablecerOperador(std::make_shared<QtOperador>());
  EnlazarDialogos();

  frmMA_Empresas formulario;
  if (!formulario.Cargar()) return EXIT_FAILURE;
  formulario.show();
  // For the start-up benchmark: a zero timer fires once the queue is drained,
  // i.e. after the first expose and paint, so the process ends as soon as the
  // form is shown and idle.
  if (qEnvironmentVariableIntValue("MA_SALIR_AL_INACTIVAR") == 1)
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}
