#include "platform/services/Carpetas.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr uid_t kNadie = 65534;

void Escribir(const QString& ruta, const QByteArray& contenido) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(contenido);
}

QByteArray Leer(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A folder that nobody but its owner may write, as an installed program's.
enum class Programa { Escribible, SoloLectura };
enum class Archivo { Ninguno, AlLado, AlLadoSoloLectura, EnDatos };

TEST(ArchivoPropio, LeidoYEscritoDondeCorresponde) {
  const struct {
    Programa programa;
    Archivo archivo;
    const char* leer;  // "programa" or "datos"
    const char* escribir;
  } casos[] = {
      {Programa::Escribible, Archivo::Ninguno, "programa", "programa"},
      {Programa::Escribible, Archivo::AlLado, "programa", "programa"},
      {Programa::Escribible, Archivo::AlLadoSoloLectura, "programa", "datos"},
      {Programa::SoloLectura, Archivo::Ninguno, "programa", "datos"},
      {Programa::SoloLectura, Archivo::AlLado, "programa", "datos"},
      {Programa::Escribible, Archivo::EnDatos, "datos", "datos"},
      {Programa::SoloLectura, Archivo::EnDatos, "datos", "datos"},
  };
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ::chmod(QFile::encodeName(tmp.path()).constData(), 0777);
  int n = 0;
  for (const auto& c : casos) {
    const QString programa = tmp.filePath(QStringLiteral("bin%1").arg(n));
    const QString datos = tmp.filePath(QStringLiteral("datos%1/MA_Empresas").arg(n++));
    ASSERT_TRUE(QDir().mkpath(programa));
    if (c.archivo == Archivo::AlLado || c.archivo == Archivo::AlLadoSoloLectura)
      Escribir(programa + QStringLiteral("/VMERR.LOG"), "antes\r\n");
    if (c.archivo == Archivo::AlLado || c.archivo == Archivo::AlLadoSoloLectura)
      ::chmod(QFile::encodeName(programa + QStringLiteral("/VMERR.LOG")).constData(),
              c.archivo == Archivo::AlLado ? 0666 : 0444);
    if (c.archivo == Archivo::EnDatos) {
      ASSERT_TRUE(QDir().mkpath(datos));
      Escribir(datos + QStringLiteral("/VMERR.LOG"), "antes\r\n");
      // The user's own folder, whoever made it here.
      for (const QString& r : {QFileInfo(datos).path(), datos})
        ::chmod(QFile::encodeName(r).constData(), 0777);
      ::chmod(QFile::encodeName(datos + QStringLiteral("/VMERR.LOG")).constData(), 0666);
    }
    ::chmod(QFile::encodeName(programa).constData(), c.programa == Programa::Escribible ? 0777 : 0555);
    const QString esperadoLeer = (QLatin1String(c.leer) == "datos" ? datos : programa) + "/VMERR.LOG";
    const QString esperadoEscribir = (QLatin1String(c.escribir) == "datos" ? datos : programa) + "/VMERR.LOG";
    const bool habiaArchivo = c.archivo != Archivo::Ninguno;
    // As root every folder can be written: the look-up runs as an unprivileged user.
    EXPECT_EXIT(
        {
          if (geteuid() == 0 && (setgid(kNadie) != 0 || setuid(kNadie) != 0)) std::_Exit(3);
          const ArchivoPropio a = UbicarArchivoPropio(QStringLiteral("VMERR.LOG"), programa, datos);
          const QString ruta = RutaParaActualizar(a);
          QFile f(ruta);
          // What the file held goes on where it is written, and can be written there.
          const bool bien = a.leer == esperadoLeer && a.escribir == esperadoEscribir && ruta == a.escribir &&
                            Leer(ruta) == (habiaArchivo ? QByteArray("antes\r\n") : QByteArray()) &&
                            f.open(QIODevice::Append);
          std::fprintf(stderr, "leer %s escribir %s\n", qPrintable(a.leer), qPrintable(a.escribir));
          std::_Exit(bien ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << esperadoLeer.toStdString() << " / " << esperadoEscribir.toStdString();
  }
}

// Installed, even root's files go to the data folder: removing the package would leave them behind.
TEST(ArchivoPropio, NadaSeEscribeEnLasCarpetasDelSistema) {
  for (const char* carpeta : {"/usr/bin", "/usr/local/bin/", "/opt/MA_Empresas"}) {
    const ArchivoPropio a = UbicarArchivoPropio(QStringLiteral("consultas.vmt"), QLatin1String(carpeta),
                                                QStringLiteral("/nonexistent/datos"));
    EXPECT_EQ(a.escribir, QStringLiteral("/nonexistent/datos/consultas.vmt")) << carpeta;
  }
}

TEST(ArchivoPropio, CarpetaDeDatosSegunXdgDataHome) {
  const QByteArray antes = qgetenv("XDG_DATA_HOME");
  const bool habia = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  const struct {
    const char* valor;  // nullptr: unset
    QString esperado;
  } casos[] = {
      {"/srv/datos/", QStringLiteral("/srv/datos/MA_Empresas")},
      {nullptr, QDir::homePath() + QStringLiteral("/.local/share/MA_Empresas")},
      {"", QDir::homePath() + QStringLiteral("/.local/share/MA_Empresas")},
      {"relativa/datos", QDir::homePath() + QStringLiteral("/.local/share/MA_Empresas")},  // to be ignored
  };
  for (const auto& c : casos) {
    if (c.valor)
      qputenv("XDG_DATA_HOME", c.valor);
    else
      qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(CarpetaDeDatos(), c.esperado) << (c.valor ? c.valor : "(unset)");
  }
  if (habia)
    qputenv("XDG_DATA_HOME", antes);
  else
    qunsetenv("XDG_DATA_HOME");
}

}  // namespace
