#pragma once
// Windows metafiles (WMF), which Qt's image readers do not read, drawn into
// a picture by libwmf.
#include <QByteArray>
#include <QImage>

namespace wmf {

// The bytes start as a metafile does (with or without the placeable header).
bool Parece(const QByteArray& datos);
// The metafile drawn at its own size (at most kLadoMaximo pixels a side);
// a null image when the bytes are not a metafile libwmf can draw.
QImage Leer(const QByteArray& datos);

constexpr int kLadoMaximo = 2000;

}  // namespace wmf
