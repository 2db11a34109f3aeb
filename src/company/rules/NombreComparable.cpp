#include "company/rules/NombreComparable.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace NombreComparable {
namespace {

// Each suffix written without blanks: the words of "S. DE R. L." and of
// "SOCIEDAD DE RESPONSABILIDAD LIMITADA" run together.
const QStringList& Tipos() {
  static const QStringList tipos = {
      QStringLiteral("SA"),
      QStringLiteral("SAU"),
      QStringLiteral("SOCIEDADANONIMA"),
      QStringLiteral("SOCIEDADANONIMAUNIPERSONAL"),
      QStringLiteral("SRL"),
      QStringLiteral("SDERL"),
      QStringLiteral("SOCIEDADDERESPONSABILIDADLIMITADA"),
      QStringLiteral("SAS"),
      QStringLiteral("SOCIEDADPORACCIONESSIMPLIFICADA"),
      QStringLiteral("SCA"),
      QStringLiteral("SOCIEDADENCOMANDITAPORACCIONES"),
      QStringLiteral("SCS"),
      QStringLiteral("SOCIEDADENCOMANDITASIMPLE"),
      QStringLiteral("SH"),
      QStringLiteral("SOCIEDADDEHECHO"),
      QStringLiteral("SC"),
      QStringLiteral("SOCIEDADCOLECTIVA"),
      QStringLiteral("SE"),
      QStringLiteral("SOCIEDADDELESTADO"),
      QStringLiteral("SACI"),
      QStringLiteral("SAIC"),
      QStringLiteral("SACIF"),
      QStringLiteral("SAICF"),
      QStringLiteral("SACIFI"),
      QStringLiteral("SACIFIA"),
      QStringLiteral("SAICA"),
      QStringLiteral("SAIYC"),
      QStringLiteral("SACIYF"),
      QStringLiteral("LTDA"),
      QStringLiteral("LIMITADA"),
  };
  return tipos;
}

const QSet<QString>& ConjuntoTipos() {
  static const QSet<QString> conjunto(Tipos().begin(), Tipos().end());
  return conjunto;
}

// The longest suffix is "S A C I F I A", seven words.
constexpr int kPalabrasDeTipo = 7;

QString Juntas(const QStringList& palabras) { return palabras.join(QString()); }

// Whether `resto` is how a suffix begins: what a name cut at 30 characters
// keeps of it.
bool ComienzoDeTipo(const QString& resto) {
  if (resto.isEmpty()) return true;
  for (const QString& t : Tipos())
    if (t.startsWith(resto)) return true;
  return false;
}

// Abbreviations both names may use for one word.
QString Entera(const QString& palabra) {
  static const QHash<QString, QString> abreviaturas = {
      {QStringLiteral("COOP"), QStringLiteral("COOPERATIVA")},
      {QStringLiteral("CIA"), QStringLiteral("COMPANIA")},
      {QStringLiteral("HNOS"), QStringLiteral("HERMANOS")},
  };
  return abreviaturas.value(palabra, palabra);
}

}  // namespace

QStringList Palabras(const QString& nombre) {
  QStringList palabras;
  QString actual;
  auto cerrar = [&] {
    if (!actual.isEmpty()) palabras << Entera(actual);
    actual.clear();
  };
  auto agregar = [&](QChar c) {
    if (c.isLetterOrNumber()) {
      actual += c.toUpper();
    } else if (c == QLatin1Char('&')) {
      cerrar();
      palabras << QStringLiteral("Y");
    } else if (!c.isMark()) {
      cerrar();
    }
  };
  for (const QChar c : nombre) {
    if (c.unicode() < 0x80) {
      agregar(c);
      continue;
    }
    // Decomposed, an accented letter is its letter and a mark to drop; "º" is an "O".
    const QString partes = c.decomposition();
    if (partes.isEmpty()) {
      agregar(c);
      continue;
    }
    for (const QChar d : partes) agregar(d);
  }
  cerrar();
  return palabras;
}

QStringList SinTipoSocietario(const QStringList& palabras) {
  // The suffix's words run together, from the last word back.
  QString cola;
  int quitar = 0;
  const int n = static_cast<int>(palabras.size());
  for (int k = 1; k <= std::min(kPalabrasDeTipo, n - 1); ++k) {
    cola.prepend(palabras[n - k]);
    if (ConjuntoTipos().contains(cola)) quitar = k;
  }
  return quitar ? palabras.mid(0, n - quitar) : palabras;
}

bool Coinciden(const QString& enRegistro, const QString& deEmpresa) {
  // Most names are written alike but for case, accents and dots ("S.A." and "SA"):
  // settled without taking them apart into words.
  const QStringList registro = Palabras(enRegistro);
  const QStringList todas = Palabras(deEmpresa);
  if (!registro.isEmpty() && Juntas(registro) == Juntas(todas)) return true;
  const QStringList empresa = SinTipoSocietario(todas);
  if (registro.isEmpty() || empresa.isEmpty()) return registro.isEmpty() && empresa.isEmpty();
  const QString suya = Juntas(empresa);
  if (enRegistro.trimmed().size() >= kLargoRegistro) {
    // Cut short: it holds the beginning of the name, or the whole name and
    // the beginning of a suffix.
    const QString cortado = Juntas(registro);
    if (suya.startsWith(cortado)) return true;
    return cortado.startsWith(suya) && ComienzoDeTipo(cortado.mid(suya.size()));
  }
  const QStringList base = SinTipoSocietario(registro);
  if (Juntas(base) == suya) return true;
  // The register names people surname first; the same words in another order are the same name.
  QStringList a = base, b = empresa;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

}  // namespace NombreComparable
