#pragma once
// Pictures between a binary column and the screen. A picture whose format
// the program reads as it is (JPEG, PNG, GIF, BMP, WMF) is stored as the
// file's own bytes, so nothing is re-encoded or enlarged; any other format
// that can be read is stored as PNG.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace ado {
class Field;
}

class Imagen {
 public:
  Imagen() = default;
  // Empty when the bytes are not a picture.
  static Imagen DesdeBytes(const QByteArray& datos);

  bool EsNula() const { return imagen_.isNull(); }
  const QImage& Dibujo() const { return imagen_; }
  // The bytes that are stored for this picture.
  const QByteArray& Datos() const { return datos_; }

 private:
  QByteArray datos_;
  QImage imagen_;
};

// The picture formats read, for the operator: "BMP, GIF, JPG, PNG y WMF".
QString FormatosLegibles();

class ConversorImagen {
 public:
  // The picture of a binary field; an empty picture for Null or for bytes
  // that are not a picture.
  Imagen CampoAImagen(const ado::Field& campo) const;
  // Stores the picture into the field; an empty picture stores Null.
  void ImagenACampo(ado::Field& campo, const Imagen& imagen) const;
  // Loads a picture file. Throws ado::Failure (53 missing or unreadable
  // file, 481 not a picture the program reads: the message names those it does).
  Imagen DesdeArchivo(const QString& ruta) const;
};
