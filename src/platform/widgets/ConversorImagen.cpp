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

Imagen Imagen::DesdeBytes(const QByteArray& datos) {
  Imagen r;
  if (datos.isEmpty()) return r;
  QBuffer buffer;
  buffer.setData(datos);
  buffer.open(QIODevice::ReadOnly);
  QImageReader lector(&buffer);
  const QByteArray formato = lector.format();
  QImage img = lector.read();
  const bool metarchivo = img.isNull() && wmf::Parece(datos);
  if (metarchivo) img = wmf::Leer(datos);
  if (img.isNull()) return r;
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
  if (img.EsNula())
    throw ado::Failure(481, QStringLiteral("El archivo no es una imagen que el programa pueda leer: %1. "
                                           "Se leen imágenes %2.")
                                .arg(ruta, FormatosLegibles()));
  return img;
}
