// The logo's picture reader on any bytes, in every format the program offers
// (BMP, GIF, JPG, PNG, WMF, told apart by their content): it answers within
// its limits of time and memory, a refusal says why, and a picture it reads
// comes back the same from the bytes it would store.
#include <sys/resource.h>

#include <QGuiApplication>
#include <ctime>
#include <vector>

#include "fuzz/Entrada.h"
#include "platform/widgets/ConversorImagen.h"
#include "platform/widgets/LectorWmf.h"

namespace {

double Segundos(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// Processor time of this process, and of the metafile drawings it waited for.
struct Consumo {
  double propio = 0, dibujos = 0;
  static Consumo Ahora() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    rusage hijos{};
    ::getrusage(RUSAGE_CHILDREN, &hijos);
    return {double(t.tv_sec) + double(t.tv_nsec) / 1e9, Segundos(hijos.ru_utime) + Segundos(hijos.ru_stime)};
  }
};

// Decoding the largest picture allowed, under the sanitizers, takes a few seconds.
constexpr double kSegundosPropios = 20;

QString Describir(const QByteArray& datos) { return QString::fromLatin1(datos.left(64).toHex()); }

}  // namespace

// Limits of this target over the command line's (later flags win): the
// processor time above is what is judged, so the clock only catches a hang
// on a loaded machine; no allocation may come near the 3.7 GB a metafile's
// header once asked for.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args(*argv, *argv + *argc);
  static char tiempo[] = "-timeout=90";
  static char memoria[] = "-malloc_limit_mb=1024";
  args.push_back(tiempo);
  args.push_back(memoria);
  args.push_back(nullptr);
  *argc = int(args.size()) - 1;
  *argv = args.data();
  static int n = 1;
  static char nombre[] = "imagen_fuzz";
  static char* v[] = {nombre, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(n, v);  // the picture readers' plugins
  // Each broken file makes a reader complain; only the properties below count.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray bytes = entrada::Bytes(datos, largo);
  const Consumo antes = Consumo::Ahora();
  const Imagen img = Imagen::DesdeBytes(bytes);
  const Consumo despues = Consumo::Ahora();
  // The child is stopped at the soft limit, killed one second after.
  EXIGIR(despues.dibujos - antes.dibujos <= wmf::kSegundosDeDibujo + 1.5, Describir(bytes));
  EXIGIR(despues.propio - antes.propio <= kSegundosPropios, Describir(bytes));
  if (img.EsNula()) {
    EXIGIR(img.Motivo() != Rechazo::Ninguno && img.Datos().isEmpty(), Describir(bytes));
    return 0;
  }
  EXIGIR(img.Motivo() == Rechazo::Ninguno && !img.Datos().isEmpty(), Describir(bytes));
  const QSize tam = img.Dibujo().size();
  EXIGIR(qint64(tam.width()) * tam.height() <= PixelesMaximos(), Describir(bytes));
  // What is stored is shown again as it was.
  const Imagen otra = Imagen::DesdeBytes(img.Datos());
  EXIGIR(!otra.EsNula() && otra.Dibujo().size() == tam, Describir(bytes));
  return 0;
}
