// The CUIT rules, and the check digit against an implementation written elsewhere.
#include "company/rules/Cuit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

using Cuit::Problema;

std::string S(const QString& s) { return s.toStdString(); }

TEST(Cuit, ReglasPorCaso) {
  const struct {
    const char* texto;
    Problema problema;
    int esperado;           // -1 when the check digit is not reached
    const char* corregido;  // "" when none
    const char* mensaje;    // "" when the CUIT is accepted as it is
  } casos[] = {
      // valid, one of each prefix group
      {"20-12345678-6", Problema::Ninguno, 6, "", ""},
      {"23123456785", Problema::Ninguno, 5, "", ""},
      {"27-12345678-0", Problema::Ninguno, 0, "", ""},
      {"30-12345678-1", Problema::Ninguno, 1, "", ""},
      {"33 12345678 0", Problema::Ninguno, 0, "", ""},
      {"34.12345678.7", Problema::Ninguno, 7, "", ""},
      {"50-12345678-2", Problema::Ninguno, 2, "", ""},
      {"55-12345678-4", Problema::Ninguno, 4, "", ""},
      {" 2 0.1 2 3-4 5 6 7 8 - 6 ", Problema::Ninguno, 6, "", ""},
      // a result of 11 is 0
      {"20-12345684-0", Problema::Ninguno, 0, "", ""},
      // wrong check digit, with the right number
      {"30-12345678-7", Problema::Digito, 1, "30-12345678-1",
       "El dígito verificador debería ser 1: 30-12345678-1. ¿Corregirlo?"},
      {"20123456780", Problema::Digito, 6, "20-12345678-6",
       "El dígito verificador debería ser 6: 20-12345678-6. ¿Corregirlo?"},
      // a result of 10: no CUIT with that prefix and body; persons get 23, companies 33
      {"20-12345693-9", Problema::SinDigitoValido, 10, "23-12345693-9",
       "Con el prefijo 20 y ese número no existe un CUIT válido: AFIP asigna 23-12345693-9. ¿Corregirlo?"},
      {"27-12345687-0", Problema::SinDigitoValido, 10, "23-12345687-4",
       "Con el prefijo 27 y ese número no existe un CUIT válido: AFIP asigna 23-12345687-4. ¿Corregirlo?"},
      {"30-12345679-5", Problema::SinDigitoValido, 10, "33-12345679-9",
       "Con el prefijo 30 y ese número no existe un CUIT válido: AFIP asigna 33-12345679-9. ¿Corregirlo?"},
      {"23-12345684-1", Problema::SinDigitoValido, 10, "",
       "Con el prefijo 23 y ese número no existe un CUIT válido."},
      {"50-12345688-0", Problema::SinDigitoValido, 10, "",
       "Con el prefijo 50 y ese número no existe un CUIT válido."},
      // unknown prefix
      {"21-12345678-3", Problema::Prefijo, -1, "",
       "El CUIT no puede empezar con 21: los prefijos válidos son 20, 23, 24, 27, 30, 33, 34, 50, 51 y 55."},
      // 10 or 12 digits
      {"20-1234567-8", Problema::Largo, -1, "", "El CUIT debe tener 11 dígitos y tiene 10."},
      {"20-123456789-1", Problema::Largo, -1, "", "El CUIT debe tener 11 dígitos y tiene 12."},
      // letters, other separators, digits of other scripts
      {"20-1234567A-6", Problema::NoNumerico, -1, "",
       "El CUIT sólo puede tener dígitos, blancos, puntos y guiones."},
      {"20/12345678/6", Problema::NoNumerico, -1, "",
       "El CUIT sólo puede tener dígitos, blancos, puntos y guiones."},
      {"٢٠١٢٣٤٥٦٧٨٦", Problema::NoNumerico, -1, "",
       "El CUIT sólo puede tener dígitos, blancos, puntos y guiones."},
      // blank
      {"", Problema::Vacio, -1, "", ""},
      {" - . ", Problema::Vacio, -1, "", ""},
  };
  for (const auto& c : casos) {
    const Cuit::Analisis a = Cuit::Analizar(QString::fromUtf8(c.texto));
    EXPECT_EQ(a.problema, c.problema) << c.texto;
    EXPECT_EQ(a.digitoEsperado, c.esperado) << c.texto;
    EXPECT_EQ(S(a.corregido), c.corregido) << c.texto;
    EXPECT_EQ(S(Cuit::Mensaje(a)), c.mensaje) << c.texto;
    if (a.problema == Problema::Ninguno) {
      EXPECT_EQ(Cuit::Formatear(a.digitos).size(), 13) << c.texto;
      EXPECT_EQ(Cuit::Analizar(Cuit::Formatear(a.digitos)).problema, Problema::Ninguno) << c.texto;
    }
  }
}

// Debian's python3-stdnum judges many generated numbers. It takes a result of
// 10 as check digit 9; here no check digit makes such a number valid.
TEST(Cuit, CoincideConStdnum) {
  const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                             ? QStringLiteral("/usr/bin/python3")
                             : QStringLiteral("python3");
  const QString guion = QStringLiteral(
      "import sys\n"
      "try:\n"
      "    from stdnum.ar import cuit\n"
      "except ImportError:\n"
      "    sys.exit(77)\n"
      "for l in sys.stdin:\n"
      "    n = l.rstrip('\\n')\n"
      "    d = cuit.compact(n)\n"
      "    print('%d %s' % (cuit.is_valid(n), cuit.calc_check_digit(d[:10]) if len(d) == 11 and d.isdigit() "
      "else '-'))\n");
  // Prefixes known and unknown, bodies spread over their range, every last digit.
  QStringList numeros;
  quint32 x = 12345;
  const QStringList prefijos = Cuit::Prefijos() + QStringList{QStringLiteral("21"), QStringLiteral("99")};
  for (int i = 0; i < 40000; ++i) {
    x = x * 1664525u + 1013904223u;
    const QString cuerpo = QStringLiteral("%1").arg(x % 100000000u, 8, 10, QLatin1Char('0'));
    const QString n = prefijos[i % prefijos.size()] + cuerpo + QString::number((x >> 8) % 10);
    numeros << (i % 3 == 0 ? Cuit::Formatear(n) : n);
  }
  QProcess p;
  p.start(python, {QStringLiteral("-c"), guion});
  ASSERT_TRUE(p.waitForStarted()) << "python3 not found";
  p.write((numeros.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
  p.closeWriteChannel();
  ASSERT_TRUE(p.waitForFinished(120000));
  // The set-up installs it: a missing reference is a failed check, not a passed one.
  ASSERT_NE(p.exitCode(), 77) << "python3-stdnum is not installed: run scripts/setup.sh";
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  const QStringList respuestas =
      QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(respuestas.size(), numeros.size());
  int diez = 0, validos = 0;
  for (int i = 0; i < numeros.size(); ++i) {
    const Cuit::Analisis a = Cuit::Analizar(numeros[i]);
    const QStringList r = respuestas[i].split(QLatin1Char(' '));
    const bool validoAfuera = r[0] == QLatin1String("1");
    const int digito = Cuit::DigitoVerificador(a.digitos.left(10));
    ASSERT_EQ(r[1], QString::number(digito == 10 ? 9 : digito)) << S(numeros[i]);
    if (a.digitoEsperado == 10) {
      ++diez;
      EXPECT_EQ(a.problema, Problema::SinDigitoValido) << S(numeros[i]);
      EXPECT_EQ(validoAfuera, a.digitos.endsWith(QLatin1Char('9'))) << S(numeros[i]);
      continue;
    }
    validos += validoAfuera;
    ASSERT_EQ(a.problema == Problema::Ninguno, validoAfuera) << S(numeros[i]);
  }
  // Enough of each kind to mean something.
  EXPECT_GT(diez, 1000);
  EXPECT_GT(validos, 1000);
}

}  // namespace
