#pragma once
// The suite's shared services: error dialog, text and number helpers,
// credential encoding, path helper and form preparation.
#include <QString>
#include <functional>
#include <optional>

#include "platform/core/Error.h"
#include "platform/core/Value.h"

class QObject;

class Utilidades {
 public:
  // The program's shared object, created on first use.
  static Utilidades& Compartido();

  // Error dialog; returns the answer (4 retry, 5 next statement, other leave).
  int MostrarError(const ado::ErrorInfo& error, const ado::Value& botones = {},
                   const QString& procedimiento = {});
  // Told of every box MostrarError shows: its procedure, its text and the
  // answer. The program's error log listens here.
  using Testigo = std::function<void(const QString& procedimiento, const QString& texto, int respuesta)>;
  static void FijarTestigoDeErrores(Testigo testigo);
  // Null and Empty become "", anything else its text.
  QString NuloATexto(const ado::Value& valor) const;
  QString QuitarCaracteres(const QString& texto, const QString& c1, const QString& c2 = {},
                           const QString& c3 = {}) const;
  QString Reemplazar(const QString& texto, const QString& buscar, const QString& reemplazo) const;
  // Right-aligned in `ancho` with blanks on the left; no width = the text as it is.
  QString AlinearDerecha(const QString& texto, std::optional<int> ancho = std::nullopt) const;
  // The number an operator typed, in the workstation's convention (its group
  // separator only between groups of three), as a fixed-point value with four
  // decimals. Anything else, more decimals included, is refused with error
  // 3421 naming an accepted form; beyond the fixed point's range (about
  // 9.2e14) it is error 6.
  double ValorNumerico(const QString& texto) const;
  // The whole text as one number with that decimal separator (and that group
  // separator, if any), rounded to four decimals half away from zero;
  // std::nullopt when it is not one. Error 6 beyond the fixed point.
  static std::optional<double> ValorNumericoCon(const QString& texto, const QString& separador,
                                                const QString& grupo = {});
  // The number a stored value holds (a setting, an INI value, a column, a cell
  // the program wrote): a number as it is; a text with "." or a lone "," as its
  // decimal separator, so that it reads the same on every workstation; 0 for
  // Null, Empty and a text that is not a number.
  double ValorPuntoOComa(const ado::Value& valor) const;
  // A number as the operator reads and types it: the workstation's decimal
  // separator, at most four decimals, no grouping, no exponent.
  QString TextoNumerico(double valor) const;
  // The same with an explicit separator. Infinity and NaN are error 6.
  static QString TextoDecimal(double valor, const QString& separador);
  // Printable ASCII without ";" or line breaks, so it can stand as an INI value.
  QString Encriptar(const QString& texto) const;
  // A text that is not an encoding made by Encriptar comes back unchanged.
  QString Desencriptar(const QString& texto) const;
  QString RutaConBarra(const QString& carpeta) const;
  void PrepararFormulario(QObject* formulario, bool bandera = true);
  // Number of words of a text (blank separated).
  int ContarPalabras(const QString& texto) const;
};
