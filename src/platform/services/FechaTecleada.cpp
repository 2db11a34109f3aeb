#include "platform/services/FechaTecleada.h"

#include <QRegularExpression>

bool FechaDeTexto(const QString& texto, QDate& fecha) {
  static const QRegularExpression diaPrimero(
      QStringLiteral("^\\s*(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})\\s*$"));
  static const QRegularExpression anioPrimero(
      QStringLiteral("^\\s*(\\d{4})([/-])(\\d{1,2})\\2(\\d{1,2})\\s*$"));
  int d = 0, m = 0, a = 0;
  if (const auto r = diaPrimero.match(texto); r.hasMatch()) {
    d = r.captured(1).toInt();
    m = r.captured(3).toInt();
    a = r.captured(4).toInt();
    if (r.captured(4).size() == 2) a += a < 30 ? 2000 : 1900;
  } else if (const auto r2 = anioPrimero.match(texto); r2.hasMatch()) {
    a = r2.captured(1).toInt();
    m = r2.captured(3).toInt();
    d = r2.captured(4).toInt();
  } else {
    return false;
  }
  if (!QDate::isValid(a, m, d)) return false;
  fecha = QDate(a, m, d);
  return true;
}
