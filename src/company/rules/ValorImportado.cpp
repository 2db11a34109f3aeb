#include "company/rules/ValorImportado.h"

#include "company/rules/EncabezadosImportacion.h"
#include "platform/services/NumeroTecleado.h"
#include "platform/services/Utilidades.h"

namespace {

QString FechaEscrita(const QDateTime& f) {
  return f.time() == QTime(0, 0) ? f.date().toString(QStringLiteral("dd/MM/yyyy"))
                                 : f.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

ValorImportado Rechazo(const QString& motivo) {
  ValorImportado v;
  v.motivo = motivo;
  return v;
}

ValorImportado Leido(const QString& texto) {
  ValorImportado v;
  v.vacio = texto.isEmpty();
  v.texto = texto;
  return v;
}

ValorImportado Logico(std::optional<bool> b) {
  ValorImportado v;
  v.vacio = !b;
  v.logico = b;
  v.texto = !b ? QString() : *b ? QStringLiteral("Sí") : QStringLiteral("No");
  return v;
}

std::optional<bool> PalabraLogica(const QString& texto) {
  const QString t = ClaveDeEncabezado(texto);
  // As people, spreadsheets, the engines (t/f) and the suite's older programs (-1) write them.
  for (const char* s : {"si", "s", "verdadero", "true", "t", "1", "-1", "x", "pedir honorarios"})
    if (t == QLatin1String(s)) return true;
  for (const char* s : {"no", "n", "falso", "false", "f", "0", "pedir sueldo bruto"})
    if (t == QLatin1String(s)) return false;
  return std::nullopt;
}

QString SinSaltos(QString t) { return t.replace(QStringLiteral("\r\n"), QStringLiteral(" ")); }

// A number in a text cell: the workstation's convention, or else the plain one; a
// text both read, as different numbers, is refused rather than guessed.
std::optional<QString> NumeroEscrito(const QString& texto, QString& ambiguo) {
  const auto c = numero::Convencion::DelPuesto();
  const auto puesto = numero::Leer(texto, c);
  const auto plano = numero::LeerPlano(texto.trimmed());
  if (puesto && plano && puesto->Plano() != plano->Plano()) {
    ambiguo = texto.trimmed();
    return std::nullopt;
  }
  if (puesto) return texto;
  if (plano) return plano->Escrito(c);
  return texto;  // refused by the reader, with its message
}

}  // namespace

QString TextoDeCelda(const CeldaPlanilla& celda) {
  switch (celda.clase) {
    case CeldaPlanilla::Clase::Vacia:
      return {};
    case CeldaPlanilla::Clase::Texto:
    case CeldaPlanilla::Clase::Error:
      return celda.texto;
    case CeldaPlanilla::Clase::Numero:
      return numero::DeDouble(celda.numero).Plano();
    case CeldaPlanilla::Clase::Fecha:
      return FechaEscrita(celda.fecha);
    case CeldaPlanilla::Clase::Logico:
      return celda.logico ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
  }
  return {};
}

ValorImportado LeerCelda(const CeldaPlanilla& celda, const ColumnaDestino& col) {
  using Clase = CeldaPlanilla::Clase;
  ValorImportado v;
  if (celda.clase == Clase::Error)
    v = Rechazo(QStringLiteral("La celda de %1 tiene un error (%2)").arg(col.titulo, celda.texto.trimmed()));
  else if (celda.Vacia())
    v = Leido(QString());
  else if (col.clase == ClaseColumna::Logico) {
    std::optional<bool> b;
    if (celda.clase == Clase::Logico)
      b = celda.logico;
    else if (celda.clase == Clase::Numero && (celda.numero == 0 || celda.numero == 1 || celda.numero == -1))
      b = celda.numero != 0;
    else if (celda.clase == Clase::Texto)
      b = PalabraLogica(celda.texto);
    v = b ? Logico(b)
          : Rechazo(QStringLiteral("El campo %1 no acepta \"%2\": escriba Sí o No")
                        .arg(col.titulo, TextoDeCelda(celda).trimmed()));
  } else if (col.clase == ClaseColumna::Texto) {
    const QString t = TextoDeCelda(celda).trimmed();
    v = col.largo > 0 && t.size() > col.largo
            ? Rechazo(QStringLiteral("El campo %1 admite hasta %2 caracteres y \"%3\" tiene %4")
                          .arg(col.titulo)
                          .arg(col.largo)
                          .arg(t)
                          .arg(t.size()))
            : Leido(t);
  } else {
    // As typed on the form, in the workstation's convention.
    const bool fecha = col.tipo.clase == ClaseTecleada::Fecha;
    QString texto, ambiguo;
    if (celda.clase == Clase::Numero && !fecha)
      texto = numero::DeDouble(celda.numero).Escrito(numero::Convencion::DelPuesto());
    else if (celda.clase == Clase::Fecha && fecha)
      texto = FechaEscrita(celda.fecha);
    else if (celda.clase == Clase::Texto && !fecha) {
      if (const auto n = NumeroEscrito(celda.texto, ambiguo)) texto = *n;
    } else if (celda.clase == Clase::Texto)
      texto = celda.texto;
    const auto leido = texto.isEmpty() ? std::nullopt : LeerTecleado(texto, col.tipo);
    if (!ambiguo.isEmpty())
      v = Rechazo(QStringLiteral("El campo %1 no acepta \"%2\": no se sabe si el punto separa miles o "
                                 "decimales; escríbalo sin separador de miles")
                      .arg(col.titulo, ambiguo));
    else if (!leido)
      v = Rechazo(SinSaltos(MensajeRechazo(col.titulo, TextoDeCelda(celda), col.tipo)));
    else
      v = Leido(leido->texto);
  }
  return v;
}

ValorImportado ValorGuardado(const ado::Value& v, const ColumnaDestino& col) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return col.clase == ClaseColumna::Logico ? Logico({}) : Leido({});
  switch (col.clase) {
    case ClaseColumna::Logico:
      return Logico(v.toBool());
    case ClaseColumna::Tecleada:
      return Leido(TextoAlmacenado(v, col.tipo));
    case ClaseColumna::Texto:
      break;
  }
  return Leido(Utilidades::Compartido().NuloATexto(v).trimmed());
}

bool MismoValor(const ValorImportado& a, const ValorImportado& b) {
  if (a.logico || b.logico) return a.logico == b.logico;
  return a.texto == b.texto;
}
