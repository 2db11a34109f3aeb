#include "platform/widgets/LectorWmf.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace wmf {
namespace {

constexpr quint32 kMagiaColocable = 0x9AC6CDD7;
constexpr int kLargoColocable = 22;

// The API and everything it allocated go together.
struct Api {
  wmfAPI* api = nullptr;
  ~Api() {
    if (api) wmf_api_destroy(api);
  }
};

bool EncabezadoEstandar(const uchar* p, qsizetype n) {
  if (n < 18) return false;
  const quint16 tipo = qFromLittleEndian<quint16>(p);
  const quint16 largo = qFromLittleEndian<quint16>(p + 2);
  const quint16 version = qFromLittleEndian<quint16>(p + 4);
  return (tipo == 1 || tipo == 2) && largo == 9 && (version == 0x0100 || version == 0x0300);
}

}  // namespace

bool Parece(const QByteArray& datos) {
  const auto* p = reinterpret_cast<const uchar*>(datos.constData());
  const qsizetype n = datos.size();
  if (n >= 4 && qFromLittleEndian<quint32>(p) == kMagiaColocable)
    return EncabezadoEstandar(p + kLargoColocable, n - kLargoColocable);
  return EncabezadoEstandar(p, n);
}

QImage Leer(const QByteArray& datos) {
  if (!Parece(datos)) return {};
  // Both outlive the API that reads the one and writes the other.
  QByteArray copia = datos;  // libwmf reads it without changing it
  QByteArray png;
  Api a;
  wmfAPI_Options opciones;
  std::memset(&opciones, 0, sizeof opciones);
  opciones.function = wmf_gd_function;
  // Nothing on the terminal: a picture that cannot be drawn is the caller's to report.
  const unsigned long banderas =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&a.api, banderas, &opciones) != wmf_E_None || !a.api) return {};
  if (wmf_mem_open(a.api, reinterpret_cast<unsigned char*>(copia.data()), copia.size()) != wmf_E_None)
    return {};
  wmfD_Rect caja;
  if (wmf_scan(a.api, 0, &caja) != wmf_E_None) return {};
  unsigned int ancho = 0, alto = 0;
  if (wmf_display_size(a.api, &ancho, &alto, 96, 96) != wmf_E_None || ancho == 0 || alto == 0) return {};
  const double escala = std::min(1.0, double(kLadoMaximo) / std::max(ancho, alto));
  ancho = std::max(1u, unsigned(std::lround(ancho * escala)));
  alto = std::max(1u, unsigned(std::lround(alto * escala)));

  wmf_gd_t* gd = WMF_GD_GetData(a.api);
  if (!(gd->flags & WMF_GD_SUPPORTS_PNG)) return {};
  // Drawn into a PNG that comes to us piece by piece: the library keeps
  // ownership of its own image and frees it with the API.
  gd->type = wmf_gd_png;
  gd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
  gd->sink.context = &png;
  gd->sink.function = [](void* contexto, char* datos, int largo) {
    static_cast<QByteArray*>(contexto)->append(datos, largo);
    return largo;
  };
  gd->bbox = caja;
  gd->width = ancho;
  gd->height = alto;
  if (wmf_play(a.api, 0, &caja) != wmf_E_None) return {};
  QImage imagen;
  imagen.loadFromData(png, "PNG");
  return imagen;
}

}  // namespace wmf
