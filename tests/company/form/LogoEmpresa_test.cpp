// The company's logo: picking a file through the operator's file dialog, the
// size advice, files that are not pictures, removing it, and what GRABAR and
// CANCELAR do with the column.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>

#include "company/form/FormularioEnBase.h"
#include "company/form/FormEmpresas.h"

namespace {

using testdb::Engine;

class LogoEmpresa : public FormularioEnBase {
 public:
  // A picture file of exactly `bytes` bytes (a PNG with padding after its end).
  QString Dibujo(const QString& nombre, int bytes) {
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    QByteArray datos;
    QBuffer b(&datos);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    datos.append(QByteArray(bytes - datos.size(), '\0'));
    return Archivo(nombre, datos);
  }
  QString Archivo(const QString& nombre, const QByteArray& datos) {
    const QString ruta = archivos.filePath(nombre);
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
    f.write(datos);
    return ruta;
  }
  void Buscar(const QString& ruta) {
    op->ElegirArchivo(ruta);
    L().Toolbar1_ButtonClick(QStringLiteral("Buscar"));
  }
  // A file of the picture reader's fuzzing corpus, copied under `nombre`.
  QString Semilla(const QString& nombre, const char* semilla) {
    QFile f(QStringLiteral(MA_SOURCE_DIR "/fuzz/corpus/imagen_fuzz/") + QLatin1String(semilla));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << semilla;
    return Archivo(nombre, f.readAll());
  }
  QString Bytes(const QString& codigo) {
    const QString hex = GetParam() == Engine::Sqlite ? QStringLiteral("hex(Imagen)")
                                                     : QStringLiteral("encode(Imagen, 'hex')");
    return Uno(
        QStringLiteral("SELECT %1 FROM P_MA_Empresas WHERE IdEmpresa = '%2'").arg(hex, Codigo15(codigo)));
  }
  QString Guardado(const QString& codigo) {
    return Uno(
        QStringLiteral("SELECT CASE WHEN Imagen IS NULL THEN 'Null' ELSE CAST(LENGTH(Imagen) AS VARCHAR(12)) "
                       "END FROM P_MA_Empresas WHERE IdEmpresa = '") +
        Codigo15(codigo) + QStringLiteral("'"));
  }
  QTemporaryDir archivos;
};

// What the operator sees after choosing each kind of file, on a company that
// already shows a logo: a file that is not read changes nothing.
TEST_P(LogoEmpresa, ElegirUnArchivo) {
  Cargar();
  const QString noDibujo = QStringLiteral("no es un dibujo ");
  const struct {
    const char* nombre;
    QString ruta;
    QStringList titulos;
    bool reemplaza;  // the file's picture replaces the logo
    QString dice;    // in the box "Aviso al operador!!!"
  } casos[] = {
      {"199999 bytes", Dibujo("chico.png", 199999), {}, true, {}},
      {"200000 bytes", Dibujo("grande.png", 200000), {"Aviso al operador"}, true, {}},
      {"no es un dibujo",
       Archivo("texto.jpg", noDibujo.toUtf8()),
       {"Aviso al operador!!!"},
       false,
       QStringLiteral("no es una imagen")},
      {"no es un dibujo, y grande",
       Archivo("grande.gif", noDibujo.toUtf8().repeated(12500)),
       {"Aviso al operador!!!", "Aviso al operador"},
       false,
       QStringLiteral("no es una imagen")},
      {"un PNG cortado",
       Semilla("cortado.png", "png_truncado"),
       {"Aviso al operador!!!"},
       false,
       QStringLiteral("no es una imagen")},
      {"un WMF roto",
       Semilla("roto.wmf", "wmf_registro_mayor_enorme"),
       {"Aviso al operador!!!"},
       false,
       QStringLiteral("no es una imagen")},
      {"un PNG demasiado grande",
       Semilla("enorme.png", "png_treinta_mil_pixeles_de_lado"),
       {"Aviso al operador!!!"},
       false,
       QStringLiteral("demasiado grande para leerla")},
      {"cancelado", QString(), {}, false, {}},
      {"un archivo que no existe", archivos.filePath("falta.png"), {}, false, {}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    Mostrar(QStringLiteral("1"));
    ASSERT_FALSE(form->Logo().EsNula());
    const QByteArray antes = form->Logo().Datos();
    const QString rutaAntes = form->Picture1()->toolTip();
    op->mensajes.clear();
    op->filtros.clear();
    op->entradas.clear();
    for (qsizetype i = 0; i < c.titulos.size(); ++i) op->Responder(vb::OK);
    Buscar(c.ruta);
    ASSERT_EQ(op->entradas.size(), 1u);
    EXPECT_EQ(op->entradas[0].prompt, QStringLiteral("Buscar Archivos"));
    EXPECT_EQ(op->filtros, QStringList{FormEmpresas::kFiltroImagenes});
    EXPECT_EQ(Titulos(), c.titulos);
    for (const auto& m : op->mensajes) {
      if (m.title == QLatin1String("Aviso al operador")) {
        EXPECT_EQ(m.prompt, FormEmpresas::kAvisoImagenGrande);
        EXPECT_EQ(vb::Icon(m.style), vb::Question);
      } else {
        EXPECT_EQ(vb::Icon(m.style), vb::Critical);
        EXPECT_TRUE(m.prompt.contains(c.dice)) << m.prompt;
      }
    }
    EXPECT_FALSE(form->Logo().EsNula());
    if (c.reemplaza) {
      EXPECT_EQ(form->Picture1()->toolTip(), c.ruta);
      EXPECT_NE(form->Logo().Datos(), antes);
    } else {
      EXPECT_EQ(form->Picture1()->toolTip(), rutaAntes);
      EXPECT_EQ(form->Logo().Datos(), antes);
    }
  }
}

// A refused file followed by GRABAR keeps the stored logo, and the history
// records no change of it.
TEST_P(LogoEmpresa, UnArchivoRechazadoNoCambiaLoGrabado) {
  Cargar();
  const QString bytes = Bytes("1");
  ASSERT_FALSE(bytes.isEmpty());
  const auto cambiosDelLogo = [&] {
    return Cuenta(QStringLiteral("MA_EMPRESAS_HISTORIA WHERE Columna = 'Imagen' AND IdEmpresa = '%1'")
                      .arg(Codigo15("1")));
  };
  const int antes = cambiosDelLogo();
  Mostrar("1");
  op->Responder(vb::OK);
  Buscar(Semilla("roto.wmf", "wmf_registro_mayor_enorme"));
  Escribir(1, QStringLiteral("Logo intacto S.A."));
  Accion("GRABAR");
  EXPECT_EQ(Uno(QStringLiteral("SELECT NombreEmpresa FROM P_MA_Empresas WHERE IdEmpresa = '%1'")
                    .arg(Codigo15("1"))),
            QStringLiteral("Logo intacto S.A."));
  EXPECT_EQ(Bytes("1"), bytes);
  EXPECT_EQ(cambiosDelLogo(), antes);
  EXPECT_EQ(Titulos(), QStringList{"Aviso al operador!!!"});
}

// GRABAR stores the picture as chosen, Eliminar then GRABAR stores Null, and
// CANCELAR leaves the stored logo as it was.
TEST_P(LogoEmpresa, LoQueGrabarYCancelarHacenConLaColumna) {
  Cargar();
  const QString guardado1 = Guardado("1");
  ASSERT_NE(guardado1, QStringLiteral("Null"));

  Mostrar("1");
  L().Toolbar1_ButtonClick(QStringLiteral("Eliminar"));
  EXPECT_TRUE(form->Logo().EsNula());
  Accion("CANCELAR");
  EXPECT_EQ(Guardado("1"), guardado1);
  Mostrar("1");
  EXPECT_FALSE(form->Logo().EsNula());

  L().Toolbar1_ButtonClick(QStringLiteral("Eliminar"));
  Accion("GRABAR");
  EXPECT_EQ(Guardado("1"), QStringLiteral("Null"));
  Mostrar("1");
  EXPECT_TRUE(form->Logo().EsNula());

  Buscar(Dibujo("logo.png", 150000));
  Accion("GRABAR");
  EXPECT_EQ(Guardado("1"), QStringLiteral("150000"));
  Mostrar("1");
  EXPECT_FALSE(form->Logo().EsNula());
  EXPECT_EQ(form->Logo().Dibujo().size(), QSize(16, 16));

  // A new code typed while company 1 and its logo are on screen: the new
  // company has no logo.
  Mostrar("94");
  EXPECT_TRUE(form->Logo().EsNula());
  Escribir(1, QStringLiteral("Sin logo S.A."));
  Accion("GRABAR");
  EXPECT_EQ(Guardado("94"), QStringLiteral("Null"));
}

INSTANTIATE_TEST_SUITE_P(Motores, LogoEmpresa, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
