// The sheet readers: CSV as spreadsheets and exports write it, XLSX as a
// spreadsheet program writes it (here, python3-openpyxl), and the file's kind
// told by its extension.
#include "platform/services/LectorPlanilla.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/services/LectorCsv.h"
#include "platform/services/LectorXlsx.h"

namespace {

// Each row as "number: cell|cell|...", a cell as its text, one row a line.
std::string Filas(const Planilla& p) {
  QStringList r;
  for (const FilaPlanilla& f : p.filas) {
    QStringList celdas;
    for (const CeldaPlanilla& c : f.celdas) {
      switch (c.clase) {
        case CeldaPlanilla::Clase::Vacia:
          celdas << QString();
          break;
        case CeldaPlanilla::Clase::Texto:
          celdas << c.texto;
          break;
        case CeldaPlanilla::Clase::Numero:
          celdas << QStringLiteral("#") + QString::number(c.numero, 'g', 17);
          break;
        case CeldaPlanilla::Clase::Fecha:
          celdas << QStringLiteral("@") + c.fecha.toString(Qt::ISODate);
          break;
        case CeldaPlanilla::Clase::Logico:
          celdas << (c.logico ? QStringLiteral("?V") : QStringLiteral("?F"));
          break;
        case CeldaPlanilla::Clase::Error:
          celdas << QStringLiteral("!") + c.texto;
          break;
      }
    }
    r << QStringLiteral("%1: %2").arg(f.numero).arg(celdas.join(QLatin1Char('|')));
  }
  return r.join(QLatin1Char('\n')).toStdString();
}

TEST(LectorCsv, RecordsSeparatorsQuotesAndNeutralisedFormulas) {
  const struct {
    const char* nombre;
    QByteArray bytes;
    QStringList filas;
  } casos[] = {
      {"comma, LF", "a,b\n1,2\n", {"1: a|b", "2: 1|2"}},
      {"semicolon, CRLF, BOM",
       "\xEF\xBB\xBF"
       "a;b;x,c\r\n1;2,5\r\n",
       {"1: a|b|x,c", "2: 1|2,5"}},
      {"a tie is a comma", "a,b;c\n", {"1: a|b;c"}},
      {"separator inside quotes does not count", "\"a;b\",c\n", {"1: a;b|c"}},
      {"quotes: separator, doubled quote, line end",
       "a,b\n\"x,y\",\"di \"\"hola\"\"\nchau\"\n",
       {"1: a|b", "2: x,y|di \"hola\"\nchau"}},
      {"last line without its end", "a\nb", {"1: a", "2: b"}},
      {"empty rows, and rows of blanks, are left out, numbers kept",
       "a,b\n,\n\n \t, \f\n1,2\n",
       {"1: a|b", "5: 1|2"}},
      {"missing cells at the end", "a,b,c\n1\n", {"1: a|b|c", "2: 1"}},
      {"an export's apostrophe goes",
       "'=1+1,'+54,'-2,'@x,'\tt,'hola,''\n",
       {"1: =1+1|+54|-2|@x|\tt|'hola|''"}},
      {"not UTF-8: the Windows code page", "Peña,\x80\n", {"1: Pe\u00f1a|\u20ac"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    QByteArray bytes = c.bytes;
    if (QString(c.nombre).startsWith("not UTF-8"))
      bytes = QByteArray(
          "Pe\xF1"
          "a,\x80\n");
    const Planilla p = LeerCsv(bytes);
    EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(Filas(p), c.filas.join(QLatin1Char('\n')).toStdString());
  }
  const Planilla abierta = LeerCsv("a,b\n1,\"sin cerrar\n2,3\n");
  EXPECT_EQ(abierta.error, QStringLiteral("la fila 2 abre comillas que no se cierran"));
  EXPECT_TRUE(abierta.filas.isEmpty());
}

class LectorXlsx : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // A workbook written by openpyxl from a Python snippet that fills `ws` (and may set `wb`).
  QString Libro(const QString& nombre, const QString& codigo) {
    const QString archivo = dir.filePath(nombre);
    QProcess py;
    // Debian's own interpreter, which has python3-openpyxl whatever else the PATH holds.
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import sys, datetime\nimport openpyxl\nwb = openpyxl.Workbook()\n"
                             "ws = wb.active\n%1\nwb.save(sys.argv[1])\n")
                  .arg(codigo),
              archivo});
    EXPECT_TRUE(py.waitForFinished(60000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    return archivo;
  }
  QTemporaryDir dir;
};

TEST_F(LectorXlsx, CellsByTheirKindInTheFirstSheet) {
  const QString archivo =
      Libro("a.xlsx",
            "ws.append(['Empresa', 'Nombre', 'Alta', 'Activa', 'Capital'])\n"
            "ws.append([7, 'Peña & Cía', datetime.date(2024, 2, 29), True, 1234.5])\n"
            "ws.append(['8', '=1+1', datetime.datetime(2024, 12, 31, 13, 45, 10), False, -0.25])\n"
            "ws['A5'] = 'sola'; ws['D5'] = 'lejos'\n"
            "ws['B3'].data_type = 's'\n"
            "ws['C7'] = 45000; ws['C7'].number_format = 'dd/mm/yyyy'\n"
            "ws['C8'] = 45000.5; ws['C8'].number_format = '[$-2C0A]d \"de\" mmmm \"de\" yyyy h:mm'\n"
            "ws['C9'] = 45000; ws['C9'].number_format = '\"d\"0.00'\n"
            "wb.create_sheet('Otra')['A1'] = 'no se lee'\n");
  const Planilla p = LeerPlanilla(archivo);
  ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
  EXPECT_EQ(Filas(p), QStringList({"1: Empresa|Nombre|Alta|Activa|Capital",
                                   "2: #7|Peña & Cía|@2024-02-29T00:00:00|?V|#1234.5",
                                   "3: 8|=1+1|@2024-12-31T13:45:10|?F|#-0.25", "5: sola|||lejos",
                                   "7: ||@2023-03-15T00:00:00", "8: ||@2023-03-15T12:00:00", "9: ||#45000"})
                          .join(QLatin1Char('\n'))
                          .toStdString());
}

TEST_F(LectorXlsx, The1904DateSystem) {
  const QString archivo =
      Libro("b.xlsx",
            "from openpyxl.utils.datetime import CALENDAR_MAC_1904\nwb.epoch = CALENDAR_MAC_1904\n"
            "ws.append([datetime.date(2024, 1, 2)])\n");
  EXPECT_EQ(Filas(LeerPlanilla(archivo)), "1: @2024-01-02T00:00:00");
}

TEST_F(LectorXlsx, WhatIsNoWorkbookIsAnErrorWithTheFileNamed) {
  const QString texto = dir.filePath(QStringLiteral("texto.xlsx"));
  QFile f(texto);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("Empresa,Nombre\n1,x\n");
  f.close();
  const struct {
    QString archivo;
    QString error;
  } casos[] = {
      {texto, texto + ": no es un libro XLSX (no se abre como ZIP)"},
      {dir.filePath("falta.csv"), dir.filePath("falta.csv") + ": No such file or directory"},
      {dir.filePath("hoja.ods"), dir.filePath("hoja.ods") + ": se leen planillas .xlsx y .csv"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.archivo.toStdString());
    const Planilla p = LeerPlanilla(c.archivo);
    EXPECT_EQ(p.error, c.error);
    EXPECT_TRUE(p.filas.isEmpty());
  }
}

}  // namespace
