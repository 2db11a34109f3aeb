// Pictures between binary columns and the screen: the stored bytes are the
// picture file's own whenever its format is kept as it is.
#include "platform/widgets/ConversorImagen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "platform/core/Error.h"
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

TEST(ConversorImagen, ArchivoAusenteOQueNoEsImagenFalla) {
  App();
  QTemporaryDir dir;
  ConversorImagen c;
  const QString texto = dir.filePath(QStringLiteral("nota.jpg"));
  QFile f(texto);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("hola");
  f.close();
  const struct {
    QString ruta;
    long numero;
  } casos[] = {{dir.filePath(QStringLiteral("no_esta.png")), 53}, {texto, 481}};
  for (const auto& c2 : casos) {
    try {
      c.DesdeArchivo(c2.ruta);
      ADD_FAILURE() << c2.ruta.toStdString();
    } catch (const ado::Failure& e) {
      EXPECT_EQ(e.Number(), c2.numero);
      EXPECT_TRUE(e.Info().Description.contains(c2.ruta));
      // What the operator can choose instead.
      if (c2.numero == 481) EXPECT_TRUE(e.Info().Description.contains(QStringLiteral("JPG, PNG y WMF")));
    }
  }
  const QString gif = dir.filePath(QStringLiteral("logo.gif"));
  QFile g(gif);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  const QByteArray png = Codificada("PNG");  // a PNG named .gif: the content decides
  g.write(png);
  g.close();
  EXPECT_EQ(c.DesdeArchivo(gif).Datos(), png);
}

}  // namespace
