#include "lookup/GeometriaConsulta.h"

#include <cmath>

namespace geometria {

Columnas CalcularAncho(const QVector<double>& anchos, double anchoPantalla) {
  Columnas g;
  double total = 0;
  for (double a : anchos) {
    g.cajaIzquierda << total;
    g.cajaAncho << a - 50;
    total += a;
  }
  g.anchoLista = total + 360;
  g.anchoContenedor = std::round(total) + 360;
  g.anchoScroll = total;
  g.maximoScroll =
      g.anchoContenedor > 32700 ? 32700 : static_cast<int>(std::lround((g.anchoContenedor + 480) * 0.6));
  g.anchoFormulario = g.anchoLista + 360 >= anchoPantalla ? anchoPantalla - 480 : g.anchoLista + 280;
  return g;
}

Formulario AlRedimensionar(double anchoForm, double altoForm, double altoMarco, double anchoMarco,
                           double altoScroll) {
  Formulario f{};
  f.altoContenedor = altoForm - altoMarco - 480;
  f.altoLista = f.altoContenedor - altoMarco - 600;
  f.anchoContenedor = anchoForm - 120;
  f.anchoLista = f.anchoContenedor - 20;
  f.topMarco = altoForm - altoMarco - 420;
  f.topScroll = f.altoContenedor - altoScroll - 120;
  f.anchoScroll = anchoForm - 120;
  f.izquierdaMarco = anchoForm / 2 - anchoMarco / 2;
  return f;
}

}  // namespace geometria
