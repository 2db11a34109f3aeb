#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "lookup/AnchosConsulta.h"
#include "lookup/ArchivoDefiniciones.h"
#include "platform/services/Cp1252.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QByteArray Leer(const QString& ruta) {
  QFile f(ruta);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

void Escribir(const QString& ruta, const QByteArray& b) {
  QFile f(ruta);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(b);
}

QByteArray Relleno(const QByteArray& texto, int largo) {
  return texto + QByteArray(largo - texto.size(), ' ');
}

TEST(Mascaras, RegistroByteAByte) {
  const QByteArray b = mascaras::Codificar({"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|", "Año = 1"});
  ASSERT_EQ(b.size(), 1202);
  EXPECT_EQ(b.mid(0, 100), Relleno("CLIENTES", 100));
  EXPECT_EQ(b.mid(100, 100), Relleno("VT_CLIENTES", 100));
  EXPECT_EQ(b.mid(200, 500), Relleno("|RAZON_SOCIAL|CODIGO|", 500));
  EXPECT_EQ(b.mid(700, 500), Relleno("A\xF1o = 1", 500));  // single-byte code page
  EXPECT_EQ(b.mid(1200), "\r\n");
  // Longer texts are cut at their field.
  EXPECT_EQ(mascaras::Codificar({QString(150, 'T'), "X", "", ""}).mid(0, 101), QByteArray(100, 'T') + 'X');
}

TEST(Mascaras, ArchivoPorDefectoYAgregado) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath("consultas.vmt");
  mascaras::Agregar(ruta, mascaras::PorDefecto());
  const QByteArray todo = Leer(ruta);
  ASSERT_EQ(todo.size(), 7 * 1202);
  const char* tablas[] = {"V_MA_ARTICULOS",  "VT_CLIENTES",   "VT_PROVEEDORES",     "MA_CONTACTOS",
                          "V_TA_VENDEDORES", "V_TA_TECNICOS", "V_MA_MANTENIMIENTOS"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(todo.mid(i * 1202 + 100, 100), Relleno(tablas[i], 100)) << i;
    EXPECT_EQ(todo.mid(i * 1202 + 700, 502), QByteArray(500, ' ') + "\r\n") << i;
  }
  EXPECT_EQ(todo.mid(3 * 1202, 1200), Relleno("CONTACTOS", 100) + Relleno("MA_CONTACTOS", 100) +
                                          Relleno("|Nombre_y_Apellido|Domicilio|Localidad|Telefono|", 500) +
                                          QByteArray(500, ' '));

  // Running it again appends after the existing records.
  mascaras::Agregar(ruta, mascaras::PorDefecto());
  const QByteArray doble = Leer(ruta);
  ASSERT_EQ(doble.size(), 14 * 1202);
  EXPECT_EQ(doble.left(7 * 1202), todo);
  EXPECT_EQ(doble.mid(7 * 1202), todo);
  EXPECT_EQ(mascaras::Leer(ruta).size(), 14);
}

TEST(Mascaras, RegistroIncompletoNoSeLeeNiQuedaEntreMedio) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath("consultas.vmt");
  Escribir(ruta, mascaras::Codificar({"A", "TABLA_A", "|X|Y|", ""}) + QByteArray("TRUNCADO"));
  const auto leidos = mascaras::Leer(ruta);
  ASSERT_EQ(leidos.size(), 1);
  EXPECT_EQ(leidos[0].Tabla.trimmed(), "TABLA_A");
  mascaras::Agregar(ruta, {{"B", "TABLA_B", "|Z|W|", ""}});
  EXPECT_EQ(Leer(ruta).size(), 2 * 1202);
  EXPECT_EQ(mascaras::Leer(ruta)[1].Tabla.trimmed(), "TABLA_B");
  EXPECT_TRUE(mascaras::Leer(dir.filePath("no_existe.vmt")).isEmpty());
}

TEST(Anchos, CamposEntreComillas) {
  const struct {
    const char* linea;
    QStringList campos;
  } casos[] = {
      {R"("VT_CLIENTES","1440|2000|")", {"VT_CLIENTES", "1440|2000|"}},
      {R"( "A" , "1|" )", {"A", "1|"}},
      {R"(A,1|)", {"A", "1|"}},
      {R"("sin cierre)", {"sin cierre"}},
      {"", {}},
  };
  for (const auto& c : casos) EXPECT_EQ(anchos::CamposDeLinea(c.linea), c.campos) << c.linea;
}

TEST(Anchos, LineasDeLaTablaEnOrdenYMalFormadas) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(anchos::Archivo());
  Escribir(ruta,
           "\"VT_CLIENTES\",\"1440|2000|\"\r\n"
           "\"OTRA\",\"9|9|\"\r\n"
           "basura sin comas\r\n"
           "\"vt_clientes\",\"3000|abc|17\"\r\n");
  const auto lineas = anchos::Leer(ruta, "VT_CLIENTES");
  ASSERT_EQ(lineas.size(), 2);
  EXPECT_EQ(lineas[0], (QVector<double>{1440, 2000}));
  // Read as far as it is whole: "17" has no closing bar.
  EXPECT_EQ(lineas[1], (QVector<double>{3000, 0}));
  EXPECT_TRUE(anchos::Leer(dir.filePath("nada"), "VT_CLIENTES").isEmpty());
}

TEST(Anchos, GrabarReemplazaSoloLaLineaDeLaTabla) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath(anchos::Archivo());
  Escribir(ruta, HaciaCp1252("\"OTRA\",\"9|9|\"\r\n\"VT_CLIENTES\",\"1|1|\"\r\n\"Año\",\"5|\"\r\n"));
  anchos::Grabar(dir.path(), "VT_CLIENTES", {1440, 2000.5});
  EXPECT_EQ(Leer(ruta),
            HaciaCp1252("\"OTRA\",\"9|9|\"\r\n\"Año\",\"5|\"\r\n\"VT_CLIENTES\",\"1440|2000.50|\"\r\n"));
  EXPECT_FALSE(QFile::exists(dir.filePath(anchos::Auxiliar())));
  anchos::Grabar(dir.path(), "NUEVA", {100});
  EXPECT_EQ(anchos::Leer(ruta, "nueva"), (QVector<QVector<double>>{{100}}));
}

// Widths no window can take are not read, huge ones are written whole, and a
// table name never breaks its line into lines of other tables.
TEST(Anchos, AnchosFueraDeRangoYNombresQueRompenLaLinea) {
  const QByteArray otra = "\"OTRA\",\"9|\"\r\n";
  EXPECT_EQ(anchos::LeerDe("\"T\",\"1440|99999999999|2000|\"\r\n", "T"), (QVector<QVector<double>>{{1440}}));
  EXPECT_EQ(anchos::LeerDe("\"T\",\"-5|\"\r\n", "T"), (QVector<QVector<double>>{{}}));
  EXPECT_EQ(anchos::Reescribir(otra, "T", {1e20, 1440}), otra + "\"T\",\"100000000000000000000|1440|\"\r\n");

  const QString nombres[] = {"T\r\n\"X\",\"1|", "MI \"TABLA\"", "A\nB"};
  for (const QString& nombre : nombres) {
    const QByteArray nuevo = anchos::Reescribir(otra, nombre, {5});
    EXPECT_EQ(nuevo.count('\n'), 2) << nuevo.toStdString();
    EXPECT_EQ(anchos::LeerDe(nuevo, nombre), (QVector<QVector<double>>{{5}})) << nuevo.toStdString();
    EXPECT_EQ(anchos::LeerDe(nuevo, "OTRA"), (QVector<QVector<double>>{{9}}));
    EXPECT_TRUE(anchos::LeerDe(nuevo, "X").isEmpty());
  }
}

}  // namespace
