// The start-up parameter text.
#include "fuzz/Entrada.h"
#include "session/ParametrosInicio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString texto = entrada::Texto(entrada::Bytes(datos, largo));
  InterpretarParametros(texto);

  // Whatever the last item holds, it runs to its ";" or to the end, and keys
  // that begin like another key never answer for it.
  const QString v = texto;
  const QString t = QStringLiteral("@UsuarioLogeado=pepe;@Usuario=ma_test;@Password=") + v;
  const ParametrosInicio p = InterpretarParametros(t);
  const int fin = v.indexOf(QLatin1Char(';'));
  const QString esperada = (fin < 0 ? v : v.left(fin)).trimmed();
  EXIGIR(p.Password == esperada, t + QStringLiteral(" -> ") + p.Password);
  EXIGIR(p.Usuario == QLatin1String("ma_test"), t + QStringLiteral(" -> ") + p.Usuario);
  EXIGIR(p.UsuarioLogeado == QLatin1String("pepe"), t + QStringLiteral(" -> ") + p.UsuarioLogeado);
  return 0;
}
