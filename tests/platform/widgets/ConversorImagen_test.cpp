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

// A placeable metafile: a red rectangle over the whole 100 x 50 picture.
QByteArray Metarchivo() {
  QVector<quint16> w;
  auto dword = [&w](quint32 v) { w << quint16(v & 0xFFFF) << quint16(v >> 16); };
  dword(0x9AC6CDD7);
  w << 0 << 0 << 0 << 100 << 50 << 96;  // handle, bounding box, units per inch
  dword(0);
  quint16 suma = 0;
  for (quint16 x : w) suma ^= x;
  w << suma;
  const QVector<QVector<quint16>> registros = {
      {0x020B, 0, 0},                  // SetWindowOrg
      {0x020C, 50, 100},               // SetWindowExt
      {0x02FC, 0, 0x00FF, 0x0000, 0},  // CreateBrushIndirect: solid, red
      {0x012D, 0},                     // SelectObject
      {0x041B, 50, 100, 0, 0},         // Rectangle
      {0x0000},                        // EOF
  };
  quint32 palabras = 9;
  for (const auto& r : registros) palabras += 2 + r.size();
  w << 1 << 9 << 0x0300;
  dword(palabras);
  w << 1;
  dword(7);
  w << 0;
  for (const auto& r : registros) {
    dword(quint32(2 + r.size()));
    w << r;
  }
  QByteArray datos;
  for (quint16 x : w) datos.append(char(x & 0xFF)).append(char(x >> 8));
  return datos;
}

TEST(ConversorImagen, UnMetarchivoSeMuestraYSeGuardaTalCual) {
  App();
  const QByteArray wmf = Metarchivo();
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
