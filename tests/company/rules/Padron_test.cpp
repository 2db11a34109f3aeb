// AFIP's register: its lines read at their widths, from the zip or its text;
// loaded into MA_PADRON_AFIP replacing the previous register, which stays
// whole when the new one is refused or its load breaks off.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "company/rules/ImportarPadron.h"
#include "company/rules/LectorPadron.h"
#include "support/ConexionDePrueba.h"
#include "support/PadronDePrueba.h"

// Rows read back, readable in a failure.
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << l.join(QStringLiteral(" / ")).toStdString();
}

namespace {

using padron::Defecto;
namespace pp = padron_prueba;

std::int64_t Cuit(std::int64_t diez) { return diez * 10 + pp::Digito(diez); }

QString Campos(const padron::Linea& l) {
  QStringList c{QString::number(l.cuit)};
  for (int i = 1; i < padron::kCampos; ++i) c << l.Valor(static_cast<padron::Campo>(i)).toString();
  return c.join('|');
}

TEST(LectorPadron, EachFieldIsReadAtItsWidthAndABadLineSaysWhy) {
  const QByteArray buena = pp::Linea(Cuit(2012345678),
                                     "PE\xD1"
                                     "A MAR\xCD"
                                     "A",
                                     "AC", "NI", "A", "N", "S", "47");
  const QByteArray sinNueva = buena.chopped(1);
  const QString campos = QString::number(Cuit(2012345678)) + QStringLiteral("|PEÑA MARÍA|AC|NI|A|N|S|47");
  const struct {
    const char* caso;
    QByteArray linea;
    Defecto defecto;
    QString campos;
  } casos[] = {
      {"well formed", sinNueva, Defecto::Ninguno, campos},
      {"CR LF", sinNueva + '\r', Defecto::Ninguno, campos},
      {"longer: the rest ignored", sinNueva + "XYZ", Defecto::Ninguno, campos},
      {"blank codes and a full name",
       pp::Linea(Cuit(3071234567), QByteArray(30, 'X'), "", "EX", "", "", "", "").chopped(1),
       Defecto::Ninguno, QString::number(Cuit(3071234567)) + "|" + QString(30, 'X') + "||EX||||"},
      {"one character short", sinNueva.chopped(1), Defecto::Corta, {}},
      {"letter in the CUIT", "2O" + sinNueva.mid(2), Defecto::CuitNoNumerico, {}},
      {"blank in the CUIT", " " + sinNueva.mid(1), Defecto::CuitNoNumerico, {}},
      {"wrong check digit",
       sinNueva.left(10) + QByteArray::number((pp::Digito(2012345678) + 1) % 10) + sinNueva.mid(11),
       Defecto::DigitoVerificador,
       {}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    padron::Linea l;
    const Defecto d = padron::LeerLinea(std::string_view(c.linea.constData(), c.linea.size()), l);
    EXPECT_EQ(d, c.defecto);
    if (d == Defecto::Ninguno) EXPECT_EQ(Campos(l), c.campos);
  }
}

TEST(LectorPadron, TheDateComesFromTheFileName) {
  const struct {
    const char* nombre;
    QDate fecha;
  } casos[] = {
      {"SELE-SAL-CONSTA.p20out1.20260905.tmp", QDate(2026, 9, 5)},
      {"/descargas/X.P20OUT1.20251231.TMP", QDate(2025, 12, 31)},
      {"padron.tmp", QDate()},
      {"SELE-SAL-CONSTA.p20out1.20261340.tmp", QDate()},
      {"SELE-SAL-CONSTA.p20out1.20260905.tmp.zip", QDate()},
  };
  for (const auto& c : casos)
    EXPECT_EQ(padron::FechaDelNombre(QString::fromLatin1(c.nombre)), c.fecha) << c.nombre;
}

// A register of `lineas` lines with bad ones at known places.
struct Registro {
  QTemporaryDir dir;
  QString texto, zip;
  QVector<padron::Malformada> malas;
  Registro(const QString& nombre, int lineas, const QString& nombreZip = {}) {
    texto = dir.filePath(nombre);
    pp::Escribir(texto, lineas);
    QFile f(texto);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> l = f.readAll().split('\n');
    f.close();
    l.removeLast();
    // Line 3 short, line 10 with a wrong check digit, line 20 repeating line 19, and blank lines.
    l[2] = l[2].left(40);
    l[9][10] = l[9][10] == '9' ? '0' : l[9][10] + 1;
    l[19] = l[18];
    l.insert(25, QByteArray("   "));
    malas = {{3, Defecto::Corta}, {10, Defecto::DigitoVerificador}, {20, Defecto::CuitRepetido}};
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(l.join('\n') + "\n\n");
    f.close();
    zip = dir.filePath(nombreZip.isEmpty() ? QStringLiteral("padron.zip") : nombreZip);
    pp::Comprimir(zip, nombre, texto);
  }
};

TEST(LectorPadron, TheZipAndItsTextGiveTheSameLinesAndCountTheBadOnes) {
  Registro r(QStringLiteral("SELE-SAL-CONSTA.p20out1.20260905.tmp"), 300);
  QStringList leidas[2];
  int i = 0;
  for (const QString& ruta : {r.texto, r.zip}) {
    SCOPED_TRACE(ruta.toStdString());
    auto lector = padron::Lector::Abrir(ruta);
    padron::Linea l;
    while (lector->Siguiente(l)) leidas[i] << Campos(l);
    EXPECT_EQ(lector->Lineas(), 300);
    EXPECT_EQ(lector->Malformadas(), 3);
    EXPECT_EQ(lector->PrimerasMalformadas(), r.malas);
    EXPECT_EQ(lector->Fecha(), QDate(2026, 9, 5));
    EXPECT_EQ(lector->BytesLeidos(), lector->BytesTotales());
    ++i;
  }
  EXPECT_EQ(leidas[0].size(), 297);
  EXPECT_EQ(leidas[0], leidas[1]);

  // The zip's own name gives the date when the text's has none.
  Registro sinFecha(QStringLiteral("padron.tmp"), 50, QStringLiteral("apellido.p20out1.20260101.tmp.zip"));
  EXPECT_EQ(padron::Lector::Abrir(sinFecha.zip)->Fecha(), QDate());
  Registro zipConFecha(QStringLiteral("padron.txt"), 50, QStringLiteral("x.p20out1.20260101.tmp"));
  EXPECT_EQ(padron::Lector::Abrir(zipConFecha.zip)->Fecha(), QDate(2026, 1, 1));
  EXPECT_THROW(padron::Lector::Abrir(r.dir.filePath(QStringLiteral("no-existe.zip"))), std::runtime_error);
}

class ImportarPadron : public ConexionDePrueba {
 protected:
  padron::ResultadoImportacion Importar(const QString& ruta, const padron::OpcionesImportacion& o = {}) {
    auto lector = padron::Lector::Abrir(ruta);
    return padron::Importar(cnn, *lector, o);
  }
  QStringList Q(const QString& sql) { return testdb::Query(base, sql); }
  QStringList Estado() {
    return Q(QStringLiteral("SELECT COUNT(*), MIN(CUIT), MAX(CUIT) FROM MA_PADRON_AFIP")) +
           Q(QStringLiteral("SELECT FECHA_PADRON, LINEAS, MAL_FORMADAS FROM MA_PADRON_AFIP_DATOS"));
  }
  bool HayNueva() {
    const QString sql =
        GetParam() == testdb::Engine::Sqlite
            ? QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'MA_PADRON_AFIP_NUEVO'")
            : QStringLiteral("SELECT COUNT(*) FROM pg_class WHERE relname = 'ma_padron_afip_nuevo'");
    return Q(sql) != QStringList{"0"};
  }
};

TEST_P(ImportarPadron, LoadsTheRegisterAndReplacesThePreviousOne) {
  Registro a(QStringLiteral("SELE-SAL-CONSTA.p20out1.20260905.tmp"), 300);
  padron::OpcionesImportacion pocas;
  pocas.filasPorSentencia = 7;  // statements of every size, the last one short
  const padron::ResultadoImportacion r = Importar(a.zip, pocas);
  EXPECT_EQ(r.importadas, 297);
  EXPECT_EQ(r.malformadas, 3);
  EXPECT_EQ(r.fecha, QDate(2026, 9, 5));
  EXPECT_EQ(Q("SELECT COUNT(*), COUNT(DISTINCT CUIT) FROM MA_PADRON_AFIP"), QStringList{"297|297"});
  EXPECT_EQ(Q("SELECT FECHA_PADRON, LINEAS, MAL_FORMADAS FROM MA_PADRON_AFIP_DATOS"),
            QStringList{"2026-09-05 00:00:00|297|3"});

  // A row as it was written, a Latin-1 name among others.
  const std::int64_t cuit = Cuit(2099999990);
  QFile f(a.texto);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(pp::Linea(cuit,
                    "MU\xD1OZ ACU\xD1"
                    "A JOS\xC9 \xC1NGEL O'HARA \"\\",
                    "EX", "NI", "C", "N", "S", "62"));
  f.close();
  Importar(a.texto);
  EXPECT_EQ(
      Q(QStringLiteral("SELECT CUIT, DENOMINACION, GANANCIAS, IVA, RTRIM(MONOTRIBUTO), SOCIEDAD, EMPLEADOR, "
                       "ACTIVIDAD FROM MA_PADRON_AFIP WHERE CUIT = %1")
            .arg(cuit)),
      QStringList{QString::number(cuit) + QStringLiteral("|MUÑOZ ACUÑA JOSÉ ÁNGEL O'HARA|EX|NI|C|N|S|62")});

  // Another register, without a date in its name, takes its place.
  Registro b(QStringLiteral("padron.tmp"), 120);
  Importar(b.texto);
  EXPECT_EQ(Q("SELECT COUNT(*) FROM MA_PADRON_AFIP"), QStringList{"117"});
  EXPECT_EQ(Q("SELECT FECHA_PADRON, LINEAS, MAL_FORMADAS FROM MA_PADRON_AFIP_DATOS"), QStringList{"|117|3"});
  EXPECT_FALSE(HayNueva());
}

TEST_P(ImportarPadron, ARefusedOrBrokenImportLeavesThePreviousRegisterWhole) {
  Registro a(QStringLiteral("SELE-SAL-CONSTA.p20out1.20260905.tmp"), 300);
  Importar(a.zip);
  const QStringList antes = Estado();
  ASSERT_EQ(antes.size(), 2);

  QTemporaryDir dir;
  // Most lines malformed: seen in the first thousand, or only at the end.
  const QString noEsPadron = dir.filePath(QStringLiteral("otro.p20out1.20261001.tmp"));
  const QString muchasMalas = dir.filePath(QStringLiteral("largo.p20out1.20261001.tmp"));
  for (const auto& [ruta, buenas, malas] :
       {std::tuple{noEsPadron, 40, 1300}, std::tuple{muchasMalas, 600, 700}}) {
    pp::Escribir(ruta, buenas);
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::Append));
    for (int i = 0; i < malas; ++i) f.write("ESTO NO ES UNA LINEA DEL PADRON\n");
  }
  Registro grande(QStringLiteral("SELE-SAL-CONSTA.p20out1.20261001.tmp"), 400);
  // A CUIT again far from its first line: the key refuses it.
  const QString repetido = dir.filePath(QStringLiteral("repetido.p20out1.20261001.tmp"));
  pp::Escribir(repetido, 200);
  {
    QFile f(repetido);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray primera = f.readLine();
    f.seek(f.size());
    f.write(primera);
  }

  const struct {
    const char* caso;
    QString ruta;
    std::function<void(qint64)> trasLote;
    const char* motivo;
  } casos[] = {
      {"not a register", noEsPadron, {}, "no es un padrón: 1300 de sus 1340 líneas"},
      {"mostly malformed, seen at the end", muchasMalas, {}, "no es un padrón: 700 de sus 1300 líneas"},
      {"broken off after some rows", grande.zip,
       [](qint64 cargadas) {
         if (cargadas >= 100) throw std::runtime_error("cortado");
       },
       "cortado"},
      {"a CUIT on two lines apart",
       repetido,
       {},
       "el archivo repite un CUIT en líneas que no son consecutivas"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    padron::OpcionesImportacion o;
    o.filasPorSentencia = 50;
    o.trasLote = c.trasLote;
    try {
      Importar(c.ruta, o);
      ADD_FAILURE() << "imported";
    } catch (const std::runtime_error& e) {
      EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QString::fromUtf8(c.motivo))) << e.what();
    }
    EXPECT_EQ(Estado(), antes);
    EXPECT_FALSE(HayNueva());
  }

  // A process killed half-way leaves its new table behind: the register in use
  // is untouched, and the next import starts over.
  testdb::RunSql(base,
                 QStringLiteral("CREATE TABLE MA_PADRON_AFIP_NUEVO (CUIT bigint, DENOMINACION varchar(30));\n"
                                "INSERT INTO MA_PADRON_AFIP_NUEVO VALUES (1, 'A MEDIAS');\n"));
  EXPECT_EQ(Estado(), antes);
  Importar(grande.zip);
  EXPECT_EQ(Q("SELECT COUNT(*) FROM MA_PADRON_AFIP"), QStringList{"397"});
  EXPECT_FALSE(HayNueva());
}

INSTANTIATE_TEST_SUITE_P(Motores, ImportarPadron, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
