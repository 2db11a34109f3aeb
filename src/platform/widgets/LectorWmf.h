#pragma once
// Windows metafiles (WMF), which Qt's image readers do not read, drawn into
// a picture by libwmf.
#include <QByteArray>
#include <QImage>

namespace wmf {

// The bytes start as a metafile does (with or without the placeable header).
bool Parece(const QByteArray& datos);

// What came of reading a metafile.
enum class Lectura {
  Dibujada,
  NoEsMetarchivo,  // not a metafile libwmf can draw, or its headers do not fit the file
  SinMemoria,      // drawing it needs more memory than the reader grants
  SinTiempo,       // drawing it needs more time than the reader grants
};

struct Dibujo {
  Lectura lectura = Lectura::NoEsMetarchivo;
  QImage imagen;  // null unless Dibujada
};

// The metafile drawn at its own size (at most kLadoMaximo pixels a side).
// A small file can ask for huge work (a pen as wide as the picture), so it
// is drawn by a child process held to kSegundosDeDibujo of processor time
// and kMegabytesDeDibujo of memory, which also keeps a fault of libwmf out
// of the program.
Dibujo Leer(const QByteArray& datos);

constexpr int kLadoMaximo = 2000;
constexpr int kSegundosDeDibujo = 2;
constexpr int kMegabytesDeDibujo = 512;

}  // namespace wmf
