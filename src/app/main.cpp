#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>

#include "app/LineaDeComandos.h"
#include "company/form/ui/EnlaceDialogos.h"
#include "company/form/ui/frmMA_Empresas.h"
#include "platform/widgets/QtOperador.h"
#include "platform/widgets/TraduccionesQt.h"

int main(int argc, char* argv[]) {
  QStringList argumentos;
  for (int i = 1; i < argc; ++i) argumentos << QString::fromLocal8Bit(argv[i]);
  const OrdenesDeLinea ordenes = LeerOrdenes(argumentos);
  if (ordenes.orden == Orden::Reporte) {
    // The sheet is painted (fonts, pictures) but never shown: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("MA_Empresas"));
    return EjecutarOrdenes(ordenes);
  }
  if (ordenes.orden != Orden::Ventana) {
    // No window: no display is needed, whatever the platform setting says.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("MA_Empresas"));
    return EjecutarOrdenes(ordenes);
  }

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
