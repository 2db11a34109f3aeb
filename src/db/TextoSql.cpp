#include "db/TextoSql.h"

#include <algorithm>

namespace {
const QChar kApostrofe = QLatin1Char('\'');
const QChar kOculto = QChar(0x0001);

bool DeNombre(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }
}  // namespace

QString DuplicarApostrofes(const QString& texto) {
  QString r = texto;
  r.replace(kApostrofe, QStringLiteral("''"));
  return r;
}

QString MascaraLiterales(const QString& sql) {
  QString m = sql;
  bool dentro = false;
  for (int i = 0; i < m.size(); ++i) {
    if (!dentro) {
      if (m[i] == kApostrofe) dentro = true;
      continue;
    }
    if (m[i] == kApostrofe) {
      if (i + 1 < m.size() && m[i + 1] == kApostrofe) {
        m[i] = kOculto;
        m[++i] = kOculto;
      } else {
        dentro = false;
      }
    } else {
      m[i] = kOculto;
    }
  }
  return m;
}

int BuscarFueraDeLiterales(const QString& sql, const QString& buscar, int desde) {
  if (buscar.isEmpty()) return -1;
  return MascaraLiterales(sql).indexOf(buscar, desde, Qt::CaseInsensitive);
}

QString ReemplazarFueraDeLiterales(const QString& sql, const QString& buscar, const QString& poner,
                                   int desde) {
  if (buscar.isEmpty()) return sql;
  const QString mascara = MascaraLiterales(sql);
  QString r;
  r.reserve(sql.size());
  int copiado = 0;
  int p = mascara.indexOf(buscar, desde, Qt::CaseInsensitive);
  while (p >= 0) {
    r += QStringView(sql).mid(copiado, p - copiado);
    r += poner;
    copiado = p + buscar.size();
    p = mascara.indexOf(buscar, copiado, Qt::CaseInsensitive);
  }
  r += QStringView(sql).mid(copiado);
  return r;
}

int BuscarPalabraExterior(const QString& sql, const QString& palabra, int desde) {
  if (palabra.isEmpty()) return -1;
  const QString m = MascaraLiterales(sql);
  const int largo = static_cast<int>(palabra.size());
  int nivel = 0;
  for (int i = std::max(desde, 0); i < m.size(); ++i) {
    if (m.at(i) == QLatin1Char('(')) {
      ++nivel;
      continue;
    }
    if (m.at(i) == QLatin1Char(')')) {
      --nivel;
      continue;
    }
    if (nivel != 0 || QStringView(m).mid(i, largo).compare(palabra, Qt::CaseInsensitive) != 0) continue;
    const bool empieza = i == 0 || !DeNombre(m.at(i - 1)) || !DeNombre(palabra.front());
    const bool termina = i + largo >= m.size() || !DeNombre(m.at(i + largo)) || !DeNombre(palabra.back());
    if (empieza && termina) return i;
  }
  return -1;
}

bool SiguienteLiteral(const QString& sql, int desde, LiteralSql& literal) {
  int i = sql.indexOf(kApostrofe, desde);
  if (i < 0) return false;
  QString contenido;
  for (int j = i + 1; j < sql.size(); ++j) {
    if (sql[j] != kApostrofe) {
      contenido += sql[j];
      continue;
    }
    if (j + 1 < sql.size() && sql[j + 1] == kApostrofe) {
      contenido += kApostrofe;
      ++j;
      continue;
    }
    literal = LiteralSql{i, j + 1, contenido};
    return true;
  }
  return false;
}
