#include "platform/services/ArchivoIni.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// As the suite writes it: CP1252, CRLF, comments, blanks around names.
const QByteArray kIni =
    "; Configuraci\xF3n del puesto\r\n"
    "[Iconos]\r\n"
    "IconoDelSistema = ICONO1 \r\n"
    "\r\n"
    "  [ pc1|ju\xC1N ]  \r\n"
    "FlatToolbars=0\r\n"
    ";Servidor=COMENTADO\r\n"
    "Usuario=Pe\xF1"
    "a;Mu\xF1oz\r\n"
    "Vacia=\r\n"
    "Comillas=\"  con blancos  \"\r\n"
    "sin igual\r\n"
    "[PC1|JUANBaseDeDatos]\r\n"
    "Servidor=SRV1\r\n"
    "DbName=GESTI\xD3N\r\n"
    "[Iconos]\r\n"
    "Otra=x\r\n";

TEST(ValorIni, SeccionesYClavesSinDistinguirMayusculas) {
  struct {
    const char* seccion;
    const char* clave;
    std::optional<QString> esperado;
  } casos[] = {
      {"iconos", "ICONODELSISTEMA", QStringLiteral("ICONO1")},
      {"PC1|JUÁN", "flattoolbars", QStringLiteral("0")},
      {"pc1|juán", "usuario", QStringLiteral("Peña;Muñoz")},  // ";" inside a value is not a comment
      {"PC1|JUÁN", "Servidor", std::nullopt},                 // commented out
      {"PC1|JUÁN", "Vacia", QStringLiteral("")},
      {"PC1|JUÁN", "Comillas", QStringLiteral("  con blancos  ")},
      {"PC1|JUÁN", "sin igual", std::nullopt},
      {"PC1|JUANBaseDeDatos", "DbName", QStringLiteral("GESTIÓN")},
      {"PC1|JUANBaseDeDatos", "FlatToolbars", std::nullopt},  // key of another section
      {"Iconos", "Otra", QStringLiteral("x")},                // a repeated section is read too
      {"NoExiste", "Servidor", std::nullopt},
      {"Iconos", "", std::nullopt},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ValorIni(kIni, QString::fromUtf8(c.seccion), QString::fromUtf8(c.clave)), c.esperado)
        << c.seccion << " / " << c.clave;
}

TEST(ValorIni, FinesDeLineaLFYFirmaUtf8) {
  EXPECT_EQ(ValorIni("[a]\nk=v\n[b]\nk=w", "b", "k"), QStringLiteral("w"));
  EXPECT_EQ(ValorIni("\xEF\xBB\xBF[a]\r\nk=Peña\r\n", "A", "K"), QStringLiteral("Peña"));
  EXPECT_EQ(ValorIni("k=fuera\n[a]\n", "", "k"), std::nullopt);
}

class LeerIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(programa.isValid() && usuario.isValid());
    ArchivoIni::Compartido().FijarCarpetas({programa.path(), usuario.path()});
  }
  void TearDown() override { ArchivoIni::Compartido().FijarCarpetas({}); }
  static void Escribir(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir programa, usuario;
  ArchivoIni& ini = ArchivoIni::Compartido();
};

TEST_F(LeerIniTest, DevuelveElDefectoSiFaltaArchivoSeccionOClave) {
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Iconos", "IconoDelSistema", "ICONVELMORA"), "ICONVELMORA");
  Escribir(usuario.filePath("CN000pr.INI"), kIni);
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Iconos", "IconoDelSistema", "ICONVELMORA"), "ICONO1");
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Nada", "IconoDelSistema", "d"), "d");
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Iconos", "Nada", "d"), "d");
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "PC1|JUÁN", "Vacia", "d"), "");
}

TEST_F(LeerIniTest, LaCarpetaDelProgramaManda) {
  Escribir(usuario.filePath("CN000pr.INI"), "[Iconos]\r\nIconoDelSistema=DEL_USUARIO\r\n");
  Escribir(programa.filePath("cn000pr.ini"), "[Iconos]\r\nOtra=1\r\n");
  // The file found first is the only one read.
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Iconos", "IconoDelSistema", "d"), "d");
  EXPECT_EQ(ini.LeerIni("CN000pr.INI", "Iconos", "Otra", "d"), "1");
  EXPECT_EQ(ini.Ubicar("CN000PR.ini"), programa.filePath("cn000pr.ini"));
}

TEST_F(LeerIniTest, RutaCompletaSeLeeTalCual) {
  Escribir(usuario.filePath("otro.ini"), "[s]\nk=v\n");
  EXPECT_EQ(ini.LeerIni(usuario.filePath("otro.ini"), "S", "K", "d"), "v");
  EXPECT_EQ(ini.LeerIni(usuario.filePath("falta.ini"), "S", "K", "d"), "d");
}

}  // namespace
