#include "platform/services/LectorCsv.h"

#include <QStringDecoder>

#include "platform/services/Cp1252.h"

namespace {

QString Decodificar(QByteArray bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString texto = utf8(bytes);
  return utf8.hasError() ? DesdeCp1252(bytes) : texto;
}

// The separator the header row uses most outside quotes; a comma on a tie.
QChar Separador(const QString& t) {
  int comas = 0, puntoYComas = 0;
  bool citado = false;
  for (QChar c : t) {
    if (c == u'"')
      citado = !citado;
    else if (!citado && (c == u'\n' || c == u'\r'))
      break;
    else if (!citado && c == u',')
      ++comas;
    else if (!citado && c == u';')
      ++puntoYComas;
  }
  return puntoYComas > comas ? QLatin1Char(';') : QLatin1Char(',');
}

QString SinNeutralizar(const QString& celda) {
  if (celda.size() < 2 || celda.at(0) != u'\'') return celda;
  const QChar s = celda.at(1);
  return s == u'=' || s == u'+' || s == u'-' || s == u'@' || s == u'\t' || s == u'\r' ? celda.mid(1) : celda;
}

}  // namespace

Planilla LeerCsv(const QByteArray& bytes) {
  Planilla p;
  const QString t = Decodificar(bytes);
  const QChar sep = Separador(t);
  FilaPlanilla fila;
  QString celda;
  bool citado = false, huboComillas = false, conContenido = false;
  int numero = 1;
  auto cerrarCelda = [&] {
    const QString valor = SinNeutralizar(celda);
    fila.celdas.push_back(CeldaPlanilla::DeTexto(valor));
    conContenido = conContenido || !fila.celdas.back().Vacia();
    celda.clear();
    huboComillas = false;
  };
  auto cerrarFila = [&] {
    cerrarCelda();
    fila.numero = numero++;
    if (conContenido) p.filas.push_back(std::move(fila));
    fila = FilaPlanilla();
    conContenido = false;
  };
  const qsizetype n = t.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = t.at(i);
    if (citado) {
      if (c != u'"') {
        celda += c;
      } else if (i + 1 < n && t.at(i + 1) == u'"') {
        celda += c;
        ++i;
      } else {
        citado = false;
      }
    } else if (c == u'"' && celda.isEmpty() && !huboComillas) {
      citado = huboComillas = true;
    } else if (c == sep) {
      cerrarCelda();
    } else if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < n && t.at(i + 1) == u'\n') ++i;
      cerrarFila();
    } else {
      celda += c;
    }
  }
  if (citado) {
    p.filas.clear();
    p.error = QStringLiteral("la fila %1 abre comillas que no se cierran").arg(numero);
    return p;
  }
  if (!celda.isEmpty() || !fila.celdas.isEmpty()) cerrarFila();
  return p;
}
