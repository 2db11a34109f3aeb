#include "platform/widgets/LectorWmf.h"

#include <fcntl.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QtEndian>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace wmf {
namespace {

constexpr quint32 kMagiaColocable = 0x9AC6CDD7;
constexpr int kLargoColocable = 22;
constexpr int kLargoEstandar = 18;
// The drawing at kLadoMaximo a side is far smaller as PNG; more is not a drawing.
constexpr qsizetype kPngMaximo = qsizetype(kLadoMaximo) * kLadoMaximo * 4 + (1 << 20);
// Processor time is what the child is held to; this only ends a child that
// waits, however loaded the machine.
constexpr int kEsperaMaxima = kSegundosDeDibujo * 15;

quint16 Palabra(const uchar* p) { return qFromLittleEndian<quint16>(p); }
quint64 Doble(const uchar* p) { return qFromLittleEndian<quint32>(p); }

bool EncabezadoEstandar(const uchar* p, qsizetype n) {
  if (n < kLargoEstandar) return false;
  const quint16 tipo = Palabra(p);
  const quint16 largo = Palabra(p + 2);
  const quint16 version = Palabra(p + 4);
  return (tipo == 1 || tipo == 2) && largo == 9 && (version == 0x0100 || version == 0x0300);
}

// The headers and the records against the bytes there are. libwmf allocates
// twice the largest-record field before reading a record, and divides by the
// placeable header's units per inch: neither is taken on trust. The total
// size field, which writers get wrong and libwmf does not use, is left to
// the walk through the records, which finds a file cut short.
bool Cabe(const uchar* p, qsizetype n) {
  qsizetype inicio = 0;
  if (n >= 4 && Doble(p) == kMagiaColocable) {
    if (n < kLargoColocable || Palabra(p + 14) == 0) return false;
    inicio = kLargoColocable;
  }
  if (!EncabezadoEstandar(p + inicio, n - inicio)) return false;
  const quint64 cuerpo = quint64(n - inicio);
  const quint64 mayorRegistro = Doble(p + inicio + 12);
  if (mayorRegistro * 2 > cuerpo) return false;
  qsizetype pos = inicio + kLargoEstandar;
  while (n - pos >= 6) {
    const quint64 tam = Doble(p + pos);
    const quint16 funcion = Palabra(p + pos + 4);
    if (tam == 3 && funcion == 0) return true;
    if (tam < 3 || tam - 3 > mayorRegistro || tam * 2 > quint64(n - pos)) return false;
    pos += qsizetype(tam * 2);
  }
  return false;  // no end record: cut short
}

// The API and everything it allocated go together.
struct Api {
  wmfAPI* api = nullptr;
  ~Api() {
    if (api) wmf_api_destroy(api);
  }
};

// How the child ends, for the parent.
enum Salida : int { kDibujado = 0, kNoDibuja = 1, kSinMemoria = 2 };

Salida SalidaDe(wmf_error_t e) { return e == wmf_E_InsMem ? kSinMemoria : kNoDibuja; }

// In the child: the metafile drawn as a PNG written to `fd`.
Salida DibujarEn(QByteArray& datos, int fd) {
  Api a;
  wmfAPI_Options opciones;
  std::memset(&opciones, 0, sizeof opciones);
  opciones.function = wmf_gd_function;
  // Nothing on the terminal: a picture that cannot be drawn is the caller's to report.
  const unsigned long banderas =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmf_error_t e = wmf_api_create(&a.api, banderas, &opciones);
  if (e != wmf_E_None || !a.api) return SalidaDe(e);
  e = wmf_mem_open(a.api, reinterpret_cast<unsigned char*>(datos.data()), datos.size());
  if (e != wmf_E_None) return SalidaDe(e);
  wmfD_Rect caja;
  e = wmf_scan(a.api, 0, &caja);
  if (e != wmf_E_None) return SalidaDe(e);
  unsigned int ancho = 0, alto = 0;
  e = wmf_display_size(a.api, &ancho, &alto, 96, 96);
  if (e != wmf_E_None) return SalidaDe(e);
  if (ancho == 0 || alto == 0) return kNoDibuja;
  const double escala = std::min(1.0, double(kLadoMaximo) / std::max(ancho, alto));
  ancho = std::max(1u, unsigned(std::lround(ancho * escala)));
  alto = std::max(1u, unsigned(std::lround(alto * escala)));

  wmf_gd_t* gd = WMF_GD_GetData(a.api);
  if (!(gd->flags & WMF_GD_SUPPORTS_PNG)) return kNoDibuja;
  // The library keeps ownership of its own image and frees it with the API.
  gd->type = wmf_gd_png;
  gd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
  gd->sink.context = &fd;
  gd->sink.function = [](void* contexto, char* trozo, int largo) {
    const int destino = *static_cast<int*>(contexto);
    for (int hecho = 0; hecho < largo;) {
      const ssize_t n = ::write(destino, trozo + hecho, size_t(largo - hecho));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return -1;
      hecho += int(n);
    }
    return largo;
  };
  gd->bbox = caja;
  gd->width = ancho;
  gd->height = alto;
  e = wmf_play(a.api, 0, &caja);
  return e == wmf_E_None ? kDibujado : SalidaDe(e);
}

// The address space the program uses now, which the child starts with.
rlim_t MemoriaEnUso() {
  const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char texto[64] = {};
  const ssize_t n = ::read(fd, texto, sizeof texto - 1);
  ::close(fd);
  if (n <= 0) return 0;
  return rlim_t(std::strtoull(texto, nullptr, 10)) * rlim_t(::sysconf(_SC_PAGESIZE));
}

[[noreturn]] void Hijo(QByteArray& datos, int fd, rlim_t memoria) {
  const rlimit cpu{kSegundosDeDibujo, kSegundosDeDibujo + 1};
  const rlimit core{0, 0};
  const rlimit espacio{memoria, memoria};
  ::setrlimit(RLIMIT_CPU, &cpu);
  ::setrlimit(RLIMIT_CORE, &core);
  if (memoria) ::setrlimit(RLIMIT_AS, &espacio);
  ::_exit(DibujarEn(datos, fd));
}

Dibujo Fallo(Lectura l) { return {l, QImage()}; }

}  // namespace

bool Parece(const QByteArray& datos) {
  const auto* p = reinterpret_cast<const uchar*>(datos.constData());
  const qsizetype n = datos.size();
  if (n >= 4 && Doble(p) == kMagiaColocable)
    return EncabezadoEstandar(p + kLargoColocable, n - kLargoColocable);
  return EncabezadoEstandar(p, n);
}

Dibujo Leer(const QByteArray& datos) {
  if (!Cabe(reinterpret_cast<const uchar*>(datos.constData()), datos.size()))
    return Fallo(Lectura::NoEsMetarchivo);
  QByteArray copia = datos;  // libwmf reads it without changing it
  copia.detach();
  const rlim_t enUso = MemoriaEnUso();
  const rlim_t memoria = enUso ? enUso + rlim_t(kMegabytesDeDibujo) * 1024 * 1024 : 0;
  int tubo[2];
  if (::pipe2(tubo, O_CLOEXEC) != 0) return Fallo(Lectura::SinMemoria);
  const pid_t hijo = ::fork();
  if (hijo == 0) {
    ::close(tubo[0]);
    Hijo(copia, tubo[1], memoria);
  }
  ::close(tubo[1]);
  if (hijo < 0) {
    ::close(tubo[0]);
    return Fallo(Lectura::SinMemoria);
  }

  QByteArray png;
  bool cortado = false;  // the child was ended here
  QElapsedTimer reloj;
  reloj.start();
  for (;;) {
    const qint64 resta = qint64(kEsperaMaxima) * 1000 - reloj.elapsed();
    if (resta <= 0 || png.size() > kPngMaximo) {
      cortado = true;
      break;
    }
    pollfd espera{tubo[0], POLLIN, 0};
    const int r = ::poll(&espera, 1, int(resta));
    if (r < 0 && errno != EINTR) {
      cortado = true;
      break;
    }
    if (r <= 0) continue;
    char trozo[1 << 16];
    const ssize_t n = ::read(tubo[0], trozo, sizeof trozo);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the child is done
    png.append(trozo, n);
  }
  ::close(tubo[0]);
  if (cortado) ::kill(hijo, SIGKILL);
  int estado = 0;
  while (::waitpid(hijo, &estado, 0) < 0 && errno == EINTR) {
  }
  if (cortado) return Fallo(Lectura::SinTiempo);
  if (WIFSIGNALED(estado)) {
    // Past the soft processor limit the child gets SIGXCPU, past the hard one SIGKILL.
    const int senal = WTERMSIG(estado);
    return Fallo(senal == SIGXCPU || senal == SIGKILL ? Lectura::SinTiempo : Lectura::NoEsMetarchivo);
  }
  if (!WIFEXITED(estado)) return Fallo(Lectura::NoEsMetarchivo);
  switch (WEXITSTATUS(estado)) {
    case kDibujado:
      break;
    case kSinMemoria:
      return Fallo(Lectura::SinMemoria);
    default:
      return Fallo(Lectura::NoEsMetarchivo);
  }
  QImage imagen;
  if (!imagen.loadFromData(png, "PNG")) return Fallo(Lectura::NoEsMetarchivo);
  return {Lectura::Dibujada, imagen};
}

}  // namespace wmf
