#pragma once
// Numbers as the operator types them: the workstation's decimal separator,
// its group separator only between groups of three, an optional sign. What
// does not read whole as one number is refused, never read as another one.
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

namespace numero {

struct Convencion {
  QChar decimal = QLatin1Char('.');
  QChar grupo;  // null: no grouping accepted

  static Convencion De(const QLocale& idioma);
  // The workstation's, as the default locale has it now.
  static Convencion DelPuesto() { return De(QLocale()); }
};

// An exact decimal: its digits as typed, without leading zeros in `enteros`
// nor trailing zeros in `decimales` (zero is two empty texts, never negative).
struct Decimal {
  bool negativo = false;
  QString enteros;
  QString decimales;

  // "-1234.56" ("." always, "0" for zero): how statements and the client take it.
  QString Plano() const;
  // As the operator types it, without groups: "-1234,56" with a decimal comma.
  QString Escrito(const Convencion& c) const;
  int CifrasSignificativas() const;
};

// The whole text (blanks around it aside) as one number in that convention.
std::optional<Decimal> Leer(QStringView texto, const Convencion& c);
// A number written by the program ("-1234.5", as Plano gives it).
std::optional<Decimal> LeerPlano(QStringView texto);
// The decimal a finite double shows at its shortest ("0.1", not 0.1000000000000000055).
Decimal DeDouble(double valor);

// A number the convention accepts, for the operator's messages: "1.234,56"
// (with `decimales` digits after the separator, none for 0).
QString Ejemplo(const Convencion& c, int decimales);

}  // namespace numero
