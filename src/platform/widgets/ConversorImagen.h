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

// Why bytes gave no picture.
enum class Rechazo {
  Ninguno,
  NoEsImagen,
  DemasiadoGrande,    // more pixels than the reader decodes
  SinMemoria,         // a metafile whose drawing needs more memory than granted
  DemasiadoCompleja,  // a metafile whose drawing takes longer than granted
};

class Imagen {
 public:
  Imagen() = default;
  // Empty, with the reason, when the bytes are not a picture the program reads.
  static Imagen DesdeBytes(const QByteArray& datos);

  bool EsNula() const { return imagen_.isNull(); }
  Rechazo Motivo() const { return motivo_; }
  const QImage& Dibujo() const { return imagen_; }
  // The bytes that are stored for this picture.
  const QByteArray& Datos() const { return datos_; }

 private:
  QByteArray datos_;
  QImage imagen_;
  Rechazo motivo_ = Rechazo::Ninguno;
};

// The most pixels a picture may have to be read: what Qt's readers decode
// within their allocation limit at four bytes a pixel.
qint64 PixelesMaximos();

// The picture formats read, for the operator: "BMP, GIF, JPG, PNG y WMF".
QString FormatosLegibles();

class ConversorImagen {
 public:
  // The picture of a binary field; an empty picture for Null or for bytes
  // that are not a picture.
  Imagen CampoAImagen(const ado::Field& campo) const;
  // Stores the picture into the field; an empty picture stores Null.
  void ImagenACampo(ado::Field& campo, const Imagen& imagen) const;
  // Loads a picture file. Throws ado::Failure: 53 missing or unreadable file,
  // 481 a picture the program does not read, the message saying why (not a
  // picture: the formats it reads; too large or too complex: the limit).
  Imagen DesdeArchivo(const QString& ruta) const;
};
