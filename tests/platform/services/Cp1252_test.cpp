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

// A file read and written back keeps every byte, the five the code page
// leaves unassigned included.
TEST(Cp1252, EveryByteRoundTrips) {
  QByteArray todos;
  for (int b = 0; b < 256; ++b) todos.append(static_cast<char>(b));
  const QString texto = DesdeCp1252(todos);
  ASSERT_EQ(texto.size(), 256);
  EXPECT_EQ(HaciaCp1252(texto), todos);
  const std::pair<int, char16_t> casos[] = {{0x80, u'€'}, {0x81, 0x81}, {0x8A, u'Š'}, {0x9D, 0x9D},
                                            {0x9F, u'Ÿ'}, {0xA0, 0xA0}, {0xD1, u'Ñ'}, {0xFF, u'ÿ'}};
  for (const auto& [byte, caracter] : casos) EXPECT_EQ(texto.at(byte).unicode(), caracter) << byte;
}
