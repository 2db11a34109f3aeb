#include "platform/widgets/ConversorImagen.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include "platform/client/Recordset.h"
#include "platform/core/Error.h"
#include "platform/widgets/LectorWmf.h"

namespace {

bool SeGuardaTalCual(const QByteArray& formato) {
  const QByteArray f = formato.toLower();
  return f == "jpeg" || f == "jpg" || f == "png" || f == "gif" || f == "bmp";
}

}  // namespace

QString FormatosLegibles() {
  const QList<QByteArray> qt = QImageReader::supportedImageFormats();
  QStringList nombres;
  for (const auto& [formato, nombre] :
       {std::pair{"bmp", "BMP"}, std::pair{"gif", "GIF"}, std::pair{"jpeg", "JPG"}, std::pair{"png", "PNG"}})
    if (qt.contains(formato)) nombres << QString::fromLatin1(nombre);
  nombres << QStringLiteral("WMF");
  const QString ultimo = nombres.takeLast();
  return nombres.join(QStringLiteral(", ")) + QStringLiteral(" y ") + ultimo;
}

qint64 PixelesMaximos() {
  const int megabytes = QImageReader::allocationLimit();
  return qint64(megabytes > 0 ? megabytes : 256) * 1024 * 1024 / 4;
}

namespace {

// A picture Qt's reader refused although it knew the format: too large when
// its pixels, at the depth it would have been decoded to, pass the limit.
bool PasaElLimite(QSize tam, QImage::Format formato) {
  if (!tam.isValid()) return false;
  const qint64 pixeles = qint64(tam.width()) * tam.height();
  if (pixeles > PixelesMaximos()) return true;
  if (formato == QImage::Format_Invalid) return false;
  const int bits = QImage::toPixelFormat(formato).bitsPerPixel();
  return pixeles * bits / 8 > PixelesMaximos() * 4;
}

Rechazo RechazoDe(wmf::Lectura l) {
  switch (l) {
    case wmf::Lectura::Dibujada:
      return Rechazo::Ninguno;
    case wmf::Lectura::NoEsMetarchivo:
      return Rechazo::NoEsImagen;
    case wmf::Lectura::SinMemoria:
      return Rechazo::SinMemoria;
    case wmf::Lectura::SinTiempo:
      return Rechazo::DemasiadoCompleja;
  }
  return Rechazo::NoEsImagen;
}

}  // namespace

Imagen Imagen::DesdeBytes(const QByteArray& datos) {
  Imagen r;
  r.motivo_ = Rechazo::NoEsImagen;
  if (datos.isEmpty()) return r;
  QBuffer buffer;
  buffer.setData(datos);
  buffer.open(QIODevice::ReadOnly);
  QImageReader lector(&buffer);
  const QByteArray formato = lector.format();
  QImage img;
  if (!formato.isEmpty()) {
    // Known before decoding, so that a small file cannot ask for gigabytes.
    const QSize tam = lector.size();
    if (PasaElLimite(tam, QImage::Format_Invalid)) {
      r.motivo_ = Rechazo::DemasiadoGrande;
      return r;
    }
    img = lector.read();
    if (img.isNull() && PasaElLimite(tam, lector.imageFormat())) {
      r.motivo_ = Rechazo::DemasiadoGrande;
      return r;
    }
  }
  const bool metarchivo = img.isNull() && wmf::Parece(datos);
  if (metarchivo) {
    wmf::Dibujo d = wmf::Leer(datos);
    r.motivo_ = RechazoDe(d.lectura);
    img = d.imagen;
  }
  if (img.isNull()) return r;
  r.motivo_ = Rechazo::Ninguno;
  r.imagen_ = img;
  if (metarchivo || SeGuardaTalCual(formato)) {
    r.datos_ = datos;
  } else {
    QBuffer salida(&r.datos_);
    salida.open(QIODevice::WriteOnly);
    img.save(&salida, "PNG");
  }
  return r;
}

Imagen ConversorImagen::CampoAImagen(const ado::Field& campo) const {
  const ado::Value v = campo.GetValue();
  if (ado::IsNull(v) || ado::IsEmpty(v)) return Imagen();
  return Imagen::DesdeBytes(v.toByteArray());
}

void ConversorImagen::ImagenACampo(ado::Field& campo, const Imagen& imagen) const {
  if (imagen.EsNula())
    campo.SetValue(ado::Null());
  else
    campo.SetValue(imagen.Datos());
}

Imagen ConversorImagen::DesdeArchivo(const QString& ruta) const {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly))
    throw ado::Failure(53, QStringLiteral("No se encontró el archivo o no se puede leer: %1").arg(ruta));
  Imagen img = Imagen::DesdeBytes(archivo.readAll());
  switch (img.Motivo()) {
    case Rechazo::Ninguno:
      return img;
    case Rechazo::DemasiadoGrande:
      throw ado::Failure(481, QStringLiteral("La imagen es demasiado grande para leerla: %1. "
                                             "Se leen imágenes de hasta %2 millones de píxeles.")
                                  .arg(ruta, QString::number(PixelesMaximos() / 1000000)));
    case Rechazo::SinMemoria:
      throw ado::Failure(481, QStringLiteral("La imagen es demasiado grande para dibujarla: %1. "
                                             "Dibujarla necesita más de %2 MB de memoria.")
                                  .arg(ruta, QString::number(wmf::kMegabytesDeDibujo)));
    case Rechazo::DemasiadoCompleja:
      throw ado::Failure(481, QStringLiteral("La imagen es demasiado compleja para dibujarla: %1. "
                                             "Dibujarla lleva más de %2 segundos.")
                                  .arg(ruta, QString::number(wmf::kSegundosDeDibujo)));
    case Rechazo::NoEsImagen:
      break;
  }
  throw ado::Failure(481, QStringLiteral("El archivo no es una imagen que el programa pueda leer: %1. "
                                         "Se leen imágenes %2.")
                              .arg(ruta, FormatosLegibles()));
}
