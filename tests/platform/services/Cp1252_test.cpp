#include "platform/services/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, SpanishTextAndTheEuroSignRoundTrip) {
  const QString texto = QString::fromUtf8("Respondió: Sí, año, €, ñÑ, ü");
  const QByteArray bytes = HaciaCp1252(texto);
  EXPECT_EQ(bytes.size(), texto.size());                     // one byte per character
  EXPECT_EQ(static_cast<unsigned char>(bytes.at(8)), 0xF3);  // ó
  EXPECT_EQ(static_cast<unsigned char>(bytes.at(bytes.indexOf(',', 20) - 1)), 0x80);  // €
  EXPECT_EQ(DesdeCp1252(bytes), texto);
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(HaciaCp1252(QString::fromUtf8("a→b")), QByteArray("a?b"));
}

// The five bytes the code page leaves unassigned too: rewriting a file keeps them.
TEST(Cp1252, EveryByteRoundTrips) {
  QByteArray todos;
  for (int b = 0; b < 256; ++b) todos.append(static_cast<char>(b));
  const QString texto = DesdeCp1252(todos);
  EXPECT_EQ(texto.size(), 256);
  EXPECT_EQ(HaciaCp1252(texto), todos);
}
