#include "platform/services/Utilidades.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/services/ArchivoIni.h"
#include "platform/services/Cp1252.h"
#include "support/Idioma.h"
#include "support/OperadorGuionado.h"

namespace {

Utilidades& U() { return Utilidades::Compartido(); }

// The whole text is one number in the convention given, or none: never its
// leading digits (NAN = refused).
TEST(ValorNumerico, LeeElTextoEnteroONada) {
  const struct {
    const char *texto, *separador, *grupo;
    double esperado;
  } casos[] = {
      {"12abc", ".", "", NAN},
      {"abc", ".", "", NAN},
      {"", ".", "", NAN},
      {"   -3.14159 ", ".", "", -3.1416},
      {"1,5", ",", "", 1.5},
      {"1,5", ".", "", NAN},
      {"1.5", ",", "", NAN},
      {".5", ".", "", 0.5},
      {"+7", ".", "", 7},
      {"12.", ".", "", 12},
      {"0.00005", ".", "", 0.0001},
      {"1e3", ".", "", NAN},
      {"- 4", ".", "", NAN},
      {"007", ".", "", 7},
      {"1 000", ".", "", NAN},
      {"12 345", ",", ".", NAN},
      {"1.234,56", ",", ".", 1234.56},
      {"1,234.56", ".", ",", 1234.56},
      {"12.345.678", ",", ".", 12345678},
      {"12,345,678", ",", ".", NAN},  // a second decimal separator
      {"1234.567,5", ",", ".", NAN},  // a group of four
      {"1.23,5", ",", ".", NAN},
      {"0.500", ",", ".", NAN},  // a decimal typed with the wrong key
      {"1.234,5.6", ",", ".", NAN},
      {"\u0661\u0662\u0663", ".", "", NAN},  // Arabic-Indic digits
      {"-", ".", "", NAN},
      {",", ",", "", NAN},
  };
  for (const auto& c : casos) {
    const auto v = Utilidades::ValorNumericoCon(QString::fromUtf8(c.texto), QString::fromUtf8(c.separador),
                                                QString::fromUtf8(c.grupo));
    if (std::isnan(c.esperado))
      EXPECT_FALSE(v.has_value()) << c.texto << " con '" << c.separador << "' leído " << v.value_or(0);
    else
      EXPECT_EQ(v, std::optional<double>(c.esperado)) << c.texto << " con '" << c.separador << "'";
  }
}

// The operator's text in each locale, its group separator included; a stored
// text reads the same in both. What is not one number, or has more decimals
// than the fixed point, is refused; past the fixed point: an overflow.
TEST(ValorNumerico, LeeComoEscribeElOperadorEnCadaIdioma) {
  const struct {
    const char *idioma, *texto;
    double operador, guardado;
  } casos[] = {{"C", "1234.5", 1234.5, 1234.5},
               {"C", "1234,5", NAN, 1234.5},
               {"C", "1,234.5", 1234.5, 0},
               {"es_AR", "1234,5", 1234.5, 1234.5},
               {"es_AR", "1.234,5", 1234.5, 0},
               {"es_AR", "1234.5", NAN, 1234.5},
               {"es_AR", "-0,00005", NAN, -0.0001},
               {"es_AR", "12abc", NAN, 0},
               {"C", "999999999999.9999", 999999999999.9999, 999999999999.9999}};
  for (const auto& c : casos) {
    EnIdioma idioma(c.idioma);
    if (std::isnan(c.operador)) {
      try {
        U().ValorNumerico(c.texto);
        ADD_FAILURE() << c.idioma << " " << c.texto << " leído";
      } catch (const ado::Failure& f) {
        EXPECT_EQ(f.Number(), ado::err::WrongType);
      }
    } else {
      EXPECT_EQ(U().ValorNumerico(c.texto), c.operador) << c.idioma << " " << c.texto;
    }
    EXPECT_EQ(U().ValorPuntoOComa(QString(c.texto)), c.guardado) << c.idioma << " " << c.texto;
  }
  EXPECT_THROW(U().ValorNumerico(QString(16, QLatin1Char('9'))), ado::Failure);
  EXPECT_THROW(U().ValorNumerico(QString(400, QLatin1Char('9'))), ado::Failure);
}

TEST(AlinearDerecha, RellenaConBlancosAIzquierda) {
  struct {
    QString texto;
    std::optional<int> ancho;
    QString esperado;
  } casos[] = {
      {"1", 4, "   1"},
      {"", 4, ""},
      {"   ", 4, ""},
      {" 12 ", 4, "  12"},
      {"12345", 4, "12345"},  // never cut
      {"abc", std::nullopt, "abc"},
      {" x ", std::nullopt, " x "},
      {"7", 15, QString(14, QLatin1Char(' ')) + "7"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(U().AlinearDerecha(c.texto, c.ancho), c.esperado) << c.texto.toStdString();
}

TEST(Textos, QuitarReemplazarYNulos) {
  EXPECT_EQ(U().QuitarCaracteres("a=b= c", "="), "ab c");
  EXPECT_EQ(U().QuitarCaracteres("a|b;c=d", "|", ";", "="), "abcd");
  EXPECT_EQ(U().QuitarCaracteres(QString("x") + QChar(0) + "y" + QChar(255), QString(QChar(0)),
                                 QString(QChar(255))),
            "xy");
  EXPECT_EQ(U().Reemplazar("V_MA_ARTICULOS x V_MA_ARTICULOS", "V_MA_", "VT_MA_"),
            "VT_MA_ARTICULOS x VT_MA_ARTICULOS");
  EXPECT_EQ(U().Reemplazar("abc", "", "x"), "abc");
  EXPECT_EQ(U().NuloATexto(ado::Null()), "");
  EXPECT_EQ(U().NuloATexto(ado::Empty()), "");
  EXPECT_EQ(U().NuloATexto(5), "5");
  EXPECT_EQ(U().NuloATexto(QStringLiteral(" a ")), " a ");
}

TEST(Textos, ContarPalabras) {
  const std::pair<QString, int> casos[] = {
      {"", 0}, {"   ", 0}, {"LEN", 1}, {" LEN ", 1}, {"SUBSTRING(a, 1)", 2}, {"a  b\tc\nd", 4}};
  for (const auto& [texto, n] : casos) EXPECT_EQ(U().ContarPalabras(texto), n) << texto.toStdString();
}

TEST(RutaConBarra, TerminaConUnSoloSeparador) {
  const std::pair<QString, QString> casos[] = {{"/opt/app", "/opt/app/"},
                                               {"/opt/app/", "/opt/app/"},
                                               {"/opt/app//", "/opt/app/"},
                                               {"C:\\Suite\\", "C:\\Suite/"},
                                               {"/", "/"},
                                               {"", ""}};
  for (const auto& [dada, esperada] : casos)
    EXPECT_EQ(U().RutaConBarra(dada), esperada) << dada.toStdString();
}

TEST(Encriptar, IdaYVueltaDeCualquierTextoYApto) {
  const QString textos[] = {"",
                            "Velmora",
                            "quillon",
                            "Contraseña con acentos: áéíóú ÁÉÍÓÚ üÜ ñÑ",
                            "punto;y coma = igual",
                            "línea\r\notra\n",
                            "  blancos  ",
                            "€ ™ 日本 😀",
                            QString(300, QLatin1Char('z')),
                            "~41",
                            QChar(0xFEFF) + QStringLiteral("empieza con la marca de orden")};
  for (const QString& t : textos) {
    const QString e = U().Encriptar(t);
    for (QChar c : e) {
      EXPECT_TRUE(c.unicode() >= 0x21 && c.unicode() < 0x7F) << t.toStdString();
      EXPECT_NE(c, QLatin1Char(';'));
    }
    if (!t.isEmpty()) {
      EXPECT_NE(e, t);
    }
    EXPECT_EQ(U().Desencriptar(e), t) << t.toStdString();
    // Through an INI line and back.
    const QByteArray ini = "[S]\r\nClave=" + HaciaCp1252(e) + "\r\n";
    EXPECT_EQ(U().Desencriptar(ValorIni(ini, "s", "clave").value_or("?")), t) << t.toStdString();
  }
}

TEST(Encriptar, UnTextoQueNoEsNuestroVuelveIgual) {
  // "~7B" is the encoding of "!": the same hex in lower case, or with blanks
  // around, is not what Encriptar writes.
  ASSERT_EQ(U().Encriptar("!"), "~7B");
  for (const QString t : {"sa", "abcd", "~", "~XYZW", "~0", "clave secreta", "~7b", " ~7B ", "~7B ", "\t~7B"})
    EXPECT_EQ(U().Desencriptar(t), t);
}

TEST(MostrarError, MuestraElErrorYDevuelveLaRespuesta) {
  auto op = OperadorGuionado::Instalar();
  op->Responder(vb::Retry);
  EXPECT_EQ(U().MostrarError({3021, "  No hay registro actual.", "MA_Empresas"}, {}, "Load"), vb::Retry);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].style, vb::Critical + vb::AbortRetryIgnore);
  EXPECT_TRUE(op->mensajes[0].prompt.contains("3021"));
  EXPECT_TRUE(op->mensajes[0].prompt.contains("Load"));
  EXPECT_TRUE(op->mensajes[0].prompt.contains(":\rNo hay registro actual."));

  op->Responder(vb::OK);
  EXPECT_EQ(U().MostrarError({5, "x", ""}, vb::OKOnly), vb::OK);
  EXPECT_EQ(op->mensajes.back().style, vb::OKOnly);

  EXPECT_EQ(U().MostrarError({0, "nada", ""}), 0);
  EXPECT_EQ(op->mensajes.size(), 2u);
}

}  // namespace
