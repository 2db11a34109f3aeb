// The start-up benchmark's yardstick: the least a Qt Widgets program does to
// show a window with a table, ended the same way as the company form.
#include <QApplication>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("Base"));
  auto* capa = new QVBoxLayout(&ventana);
  capa->addWidget(new QTableWidget(10, 5, &ventana));
  ventana.resize(820, 600);
  ventana.show();
  if (qEnvironmentVariableIntValue("MA_SALIR_AL_INACTIVAR") == 1)
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}
