// Pictures between binary columns and the screen: the stored bytes are the
// picture file's own whenever its format is kept as it is.
#include "platform/widgets/ConversorImagen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "platform/core/Error.h"
#include "platform/widgets/LectorWmf.h"
#include "support/VentanasDePrueba.h"

namespace {

QByteArray Codificada(const char* formato, int ancho = 40, int alto = 30) {
  QImage img(ancho, alto, QImage::Format_RGB32);
  img.fill(QColor(30, 120, 200));
  QByteArray datos;
  QBuffer b(&datos);
  b.open(QIODevice::WriteOnly);
  EXPECT_TRUE(img.save(&b, formato)) << formato;
  return datos;
}

// A file of the picture reader's fuzzing corpus.
QByteArray Semilla(const char* nombre) {
  QFile f(QStringLiteral(MA_SOURCE_DIR "/fuzz/corpus/imagen_fuzz/") + QLatin1String(nombre));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nombre;
  return f.readAll();
}

TEST(ConversorImagen, FormatosQueSeGuardanTalCual) {
  App();
  for (const char* f : {"PNG", "JPG", "BMP"}) {
    const QByteArray datos = Codificada(f);
    const Imagen img = Imagen::DesdeBytes(datos);
    ASSERT_FALSE(img.EsNula()) << f;
    EXPECT_EQ(img.Datos(), datos) << f << ": not re-encoded";
    EXPECT_EQ(img.Dibujo().size(), QSize(40, 30)) << f;
  }
}

TEST(ConversorImagen, UnMetarchivoSeMuestraYSeGuardaTalCual) {
  App();
  // A placeable metafile: a red rectangle over its whole 100 x 50 picture.
  const QByteArray wmf = QByteArray::fromHex(
      "d7cdc69a0000000000006400320060000000000027570100090000032800000001000700000000000500"
      "00000b0200000000050000000c023200640007000000fc020000ff0000000000040000002d0100000700"
      "00001b043200640000000000030000000000");
  const Imagen img = Imagen::DesdeBytes(wmf);
  ASSERT_FALSE(img.EsNula());
  EXPECT_EQ(img.Datos(), wmf);
  const QImage& d = img.Dibujo();
  EXPECT_EQ(QColor(d.pixel(d.width() / 2, d.height() / 2)), QColor(Qt::red));
  // Its header alone, or cut short, is no picture.
  EXPECT_TRUE(Imagen::DesdeBytes(wmf.left(40)).EsNula());
}

TEST(ConversorImagen, OtroFormatoLegibleSeGuardaComoPng) {
  App();
  const QByteArray ppm = Codificada("PPM");
  const Imagen img = Imagen::DesdeBytes(ppm);
  ASSERT_FALSE(img.EsNula());
  EXPECT_TRUE(img.Datos().startsWith("\x89PNG"));
  EXPECT_EQ(Imagen::DesdeBytes(img.Datos()).Dibujo().size(), QSize(40, 30));
}

TEST(ConversorImagen, BytesQueNoSonImagenDanImagenVacia) {
  App();
  EXPECT_TRUE(Imagen::DesdeBytes(QByteArray()).EsNula());
  EXPECT_TRUE(Imagen::DesdeBytes(QByteArray("esto no es una imagen")).EsNula());
  QByteArray aleatorios(150000, '\0');
  for (int i = 0; i < aleatorios.size(); ++i) aleatorios[i] = static_cast<char>((i * 7919) & 0xFF);
  EXPECT_TRUE(Imagen::DesdeBytes(aleatorios).EsNula());
}

// Small files that are no picture the program reads, and why: the metafiles
// asked libwmf for gigabytes (a largest-record field the file cannot hold)
// or for a minute of drawing (a pen as wide as a 30000-twip frame); the
// fuzzing corpus keeps more of each.
TEST(ConversorImagen, LoQueNoSeLeeDicePorQue) {
  App();
  const struct {
    const char* semilla;
    Rechazo motivo;
  } casos[] = {
      {"texto_llamado_png", Rechazo::NoEsImagen},
      {"png_truncado", Rechazo::NoEsImagen},
      {"wmf_sin_registro_final", Rechazo::NoEsImagen},
      {"wmf_colocable_sin_pulgadas", Rechazo::NoEsImagen},
      {"wmf_registro_mayor_enorme", Rechazo::NoEsImagen},
      {"png_treinta_mil_pixeles_de_lado", Rechazo::DemasiadoGrande},
      {"wmf_pluma_ancha_rectangulo", Rechazo::DemasiadoCompleja},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.semilla);
    const QByteArray datos = Semilla(c.semilla);
    ASSERT_FALSE(datos.isEmpty());
    const Imagen img = Imagen::DesdeBytes(datos);
    EXPECT_TRUE(img.EsNula());
    EXPECT_EQ(img.Motivo(), c.motivo);
    EXPECT_TRUE(img.Datos().isEmpty());
  }
  EXPECT_EQ(Imagen::DesdeBytes(Semilla("wmf_rectangulo_rojo")).Motivo(), Rechazo::Ninguno);
  EXPECT_EQ(Imagen().Motivo(), Rechazo::Ninguno);
}

// A file that cannot be read fails with a message that says why, and what
// the operator can choose instead.
TEST(ConversorImagen, ArchivoQueNoSeLeeFallaDiciendoPorQue) {
  App();
  QTemporaryDir dir;
  ConversorImagen c;
  auto archivo = [&](const QString& nombre, const QByteArray& datos) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(datos);
    return ruta;
  };
  const QString millones = QString::number(PixelesMaximos() / 1000000);
  const struct {
    QString ruta;
    long numero;
    QString dice;
  } casos[] = {
      {dir.filePath(QStringLiteral("no_esta.png")), 53, QStringLiteral("No se encontró el archivo")},
      {archivo(QStringLiteral("nota.jpg"), "hola"), 481,
       QStringLiteral("Se leen imágenes BMP, GIF, JPG, PNG y WMF.")},
      {archivo(QStringLiteral("cortado.png"), Semilla("png_truncado")), 481,
       QStringLiteral("JPG, PNG y WMF")},
      {archivo(QStringLiteral("enorme.png"), Semilla("png_treinta_mil_pixeles_de_lado")), 481,
       QStringLiteral(
           "La imagen es demasiado grande para leerla: %1. Se leen imágenes de hasta %2 millones de "
           "píxeles.")
           .arg(dir.filePath(QStringLiteral("enorme.png")), millones)},
      {archivo(QStringLiteral("pluma.wmf"), Semilla("wmf_pluma_ancha_elipse")), 481,
       QStringLiteral(
           "La imagen es demasiado compleja para dibujarla: %1. Dibujarla lleva más de %2 segundos.")
           .arg(dir.filePath(QStringLiteral("pluma.wmf")), QString::number(wmf::kSegundosDeDibujo))},
  };
  for (const auto& c2 : casos) {
    SCOPED_TRACE(c2.ruta.toStdString());
    try {
      c.DesdeArchivo(c2.ruta);
      ADD_FAILURE() << "read";
    } catch (const ado::Failure& e) {
      EXPECT_EQ(e.Number(), c2.numero);
      EXPECT_TRUE(e.Info().Description.contains(c2.ruta));
      EXPECT_TRUE(e.Info().Description.contains(c2.dice)) << e.Info().Description.toStdString();
    }
  }
  const QByteArray png = Codificada("PNG");  // a PNG named .gif: the content decides
  EXPECT_EQ(c.DesdeArchivo(archivo(QStringLiteral("logo.gif"), png)).Datos(), png);
}

}  // namespace
