#pragma once
// Placement of the list dialog's parts, in twips (1/1440 inch), from its
// column widths and the form's size.
#include <QVector>

namespace geometria {

struct Columnas {
  QVector<double> cajaIzquierda;  // search box i over column i
  QVector<double> cajaAncho;
  double anchoLista = 0;
  double anchoContenedor = 0;
  double anchoScroll = 0;
  int maximoScroll = 0;
  double anchoFormulario = 0;
};

// CalcularAncho: boxes over their columns, list, container, scroll bar and form widths.
Columnas CalcularAncho(const QVector<double>& anchos, double anchoPantalla);

struct Formulario {
  double altoContenedor, altoLista, anchoContenedor, anchoLista, topMarco, topScroll, anchoScroll,
      izquierdaMarco;
};

// Form_Resize.
Formulario AlRedimensionar(double anchoForm, double altoForm, double altoMarco, double anchoMarco,
                           double altoScroll);

}  // namespace geometria
