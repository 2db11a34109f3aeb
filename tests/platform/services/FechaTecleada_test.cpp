#include "platform/services/FechaTecleada.h"

#include <gtest/gtest.h>

namespace {

TEST(FechaTecleada, DiaPrimeroOAnioPrimeroYQueExista) {
  const struct {
    const char* texto;
    QDate fecha;
  } validas[] = {
      {"31/12/2024", QDate(2024, 12, 31)},  {"1-2-2024", QDate(2024, 2, 1)},
      {"31.12.2024", QDate(2024, 12, 31)},  {"31/12/24", QDate(2024, 12, 31)},
      {"1/1/95", QDate(1995, 1, 1)},        {"2024-12-31", QDate(2024, 12, 31)},
      {" 29/02/2024 ", QDate(2024, 2, 29)},
  };
  for (const auto& c : validas) {
    QDate f;
    EXPECT_TRUE(FechaDeTexto(QString::fromUtf8(c.texto), f)) << c.texto;
    EXPECT_EQ(f, c.fecha) << c.texto;
  }
  for (const char* t :
       {"29/02/2023", "12/31/2024", "31/12", "2024", "abc", "", "31/12/2024 10:00", "1/2-2024"}) {
    QDate f;
    EXPECT_FALSE(FechaDeTexto(QString::fromUtf8(t), f)) << t;
  }
}

}  // namespace
