// The export read a page at a time: whatever the page, every company once, in
// code order (letter case ignored, as the suite's server orders), the same file.
#include "company/rules/ExportarEmpresas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/ConexionDePrueba.h"

namespace {

class ExportarPorPaginas : public ConexionDePrueba {};

QByteArray Leer(const QString& archivo) {
  QFile f(archivo);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_P(ExportarPorPaginas, EveryCompanyOnceInCodeOrderWhateverThePage) {
  // Codes that are no numbers, in both letter cases.
  testdb::RunSql(
      base,
      "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) VALUES ('b', 'Be'), ('A', 'A mayúscula'), "
      "('c', 'Ce'), ('B2', 'Be dos');");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString entera = dir.filePath("entera.csv");
  const ResultadoExportacion r = ExportarEmpresas(entera);
  ASSERT_EQ(r.error, QString());
  EXPECT_EQ(r.filas, 16);
  const QByteArray esperada = Leer(entera);
  QStringList codigos;
  for (const QByteArray& linea : esperada.split('\n').mid(1))
    if (!linea.isEmpty()) codigos << QString::fromUtf8(linea.left(linea.indexOf(',')));
  EXPECT_EQ(codigos, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "A", "b",
                                  "B2", "c"}));

  for (int porPagina : {1, 3, 12, 15, 16}) {
    SCOPED_TRACE(porPagina);
    const QString archivo = dir.filePath(QStringLiteral("p%1.csv").arg(porPagina));
    const ResultadoExportacion p = ExportarEmpresas(archivo, porPagina);
    EXPECT_EQ(p.error, QString());
    EXPECT_EQ(p.filas, 16);
    EXPECT_EQ(Leer(archivo), esperada);
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, ExportarPorPaginas, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
