// The CUIT field as the operator meets it: checked when confirmed and before
// saving, never refused, shown and stored in its usual form, duplicates named.
#include "company/form/FormularioEnBase.h"

namespace {

using testdb::Engine;

constexpr int kCuit = 10;

class CuitEnFormulario : public FormularioEnBase {
 public:
  // As stored, leading blanks of a short text left out.
  QString CuitGuardado(const char* codigo) {
    const QString c =
        Uno(QStringLiteral("SELECT '[' || COALESCE(CUIT, '') || ']' FROM P_MA_Empresas WHERE IdEmpresa = '") +
            Codigo15(codigo) + "'");
    return c.mid(1, c.size() - 2).trimmed();
  }
  // A key pressed in the CUIT field, as the window receives it.
  void Tecla(int qt, const QString& texto) {
    QWidget* w = form->txtFields(kCuit);
    w->setFocus();
    QApplication::processEvents();
    QKeyEvent e(QEvent::KeyPress, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &e);
  }
  // The prompts shown so far, then forgotten.
  QStringList Avisos() {
    QStringList p;
    for (const auto& m : op->mensajes) {
      EXPECT_EQ(m.title, QStringLiteral("Aviso al operador..."));
      p << m.prompt;
    }
    op->mensajes.clear();
    return p;
  }
};

// Enter, Tab and the validation of GRABAR each check the field; the operator's
// answer decides what stays, and what stays is stored.
TEST_P(CuitEnFormulario, ElOperadorDecideQueQueda) {
  Cargar();
  form->show();
  QApplication::processEvents();
  const QString errado = QStringLiteral("El dígito verificador debería ser 1: 30-12345678-1. ¿Corregirlo?");
  const struct {
    const char* escrito;
    int respuesta;  // 0: no box
    const char* queda;
    QStringList avisos;
  } casos[] = {
      {"20123456786", 0, "20-12345678-6", {}},
      {"", 0, "", {}},
      {"30-12345678-7", vb::Yes, "30-12345678-1", {errado}},
      {"30-12345678-7", vb::No, "30-12345678-7", {errado}},
      {"20-1234567", vb::OK, "20-1234567", {QStringLiteral("El CUIT debe tener 11 dígitos y tiene 9.")}},
  };
  enum class Como { Enter, Tab, Grabar };
  for (Como como : {Como::Enter, Como::Tab, Como::Grabar}) {
    for (const auto& c : casos) {
      SCOPED_TRACE(std::string(c.escrito) + " / " + std::to_string(static_cast<int>(como)));
      Mostrar(QStringLiteral("2"));
      Escribir(kCuit, QString::fromUtf8(c.escrito));
      if (c.respuesta) op->Responder(c.respuesta);
      if (como == Como::Enter) Tecla(Qt::Key_Return, QStringLiteral("\r"));
      if (como == Como::Tab) Tecla(Qt::Key_Tab, QStringLiteral("\t"));
      if (como == Como::Grabar) Accion("GRABAR");
      EXPECT_EQ(Avisos(), c.avisos);
      if (como == Como::Grabar) {
        EXPECT_FALSE(L().EnEdicion());  // saved, never refused
        EXPECT_EQ(CuitGuardado("2"), QString::fromUtf8(c.queda));
      } else {
        EXPECT_EQ(Texto(kCuit), QString::fromUtf8(c.queda));
      }
    }
  }
}

// Another company with the same digits, however they are stored, is named;
// the company on screen is not another one.
TEST_P(CuitEnFormulario, NombraLaOtraEmpresaConElMismoCuit) {
  // A code with an apostrophe is still told from the others.
  Cargar(QStringLiteral("UPDATE P_MA_Empresas SET CUIT = '30.70111222 5' WHERE IdEmpresa = '") +
         Codigo15("8") + "'; UPDATE P_MA_Empresas SET IdEmpresa = '" + Codigo15("3'B").replace("'", "''") +
         "' WHERE IdEmpresa = '" + Codigo15("3") + "';");
  const QString aviso =
      QStringLiteral("El CUIT ya está asignado a la empresa 8 - Ferretería Industrial Córdoba S.R.L.");
  const struct {
    const char* empresa;
    const char* escrito;
    QStringList avisos;
  } casos[] = {
      {"2", "30-70111222-5", {aviso}},  {"2", "30701112225", {aviso}},
      {"99", "30 70111222 5", {aviso}},                              // a new company
      {"8", "30-70111222-5", {}},       {"2", "30-70987654-2", {}},  // its own
      {"3'B", "30-30654321-7", {}},     {"3'B", "30-70111222-5", {aviso}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.empresa) + " / " + c.escrito);
    Mostrar(QString::fromLatin1(c.empresa));
    Escribir(kCuit, QString::fromLatin1(c.escrito));
    for (int i = 0; i < c.avisos.size(); ++i) op->Responder(vb::OK);
    Enter(kCuit);
    EXPECT_EQ(Avisos(), c.avisos);
  }
  // Warned, not refused.
  op->Responder(vb::OK);
  Mostrar(QStringLiteral("2"));
  Escribir(kCuit, QStringLiteral("30701112225"));
  Accion("GRABAR");
  EXPECT_EQ(Avisos(), QStringList{aviso});
  EXPECT_EQ(CuitGuardado("2"), QStringLiteral("30-70111222-5"));
}

// A CUIT nobody typed is stored back exactly as it was, whatever its form,
// with no box (no form, no correction, no duplicate); for the empty code the
// settings get it as it is too.
TEST_P(CuitEnFormulario, UnCuitSinTocarQuedaComoEstaba) {
  const struct {
    const char* empresa;
    const char* cuit;
  } casos[] = {{"4", "30501122331"}, {"5", "30-50112233-2"}, {"6", "30.50112233.1"}, {"", "30501122331"}};
  QString antes = QStringLiteral(
      "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) VALUES ('               ', 'Casa Matriz');");
  for (const auto& c : casos)
    antes += QStringLiteral("UPDATE P_MA_Empresas SET CUIT = '%1' WHERE IdEmpresa = '%2';")
                 .arg(QString::fromLatin1(c.cuit), Codigo15(c.empresa));
  Cargar(antes);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.empresa);
    Mostrar(QString::fromLatin1(c.empresa));
    EXPECT_EQ(Texto(kCuit), QString::fromLatin1(c.cuit));
    Enter(kCuit);
    Escribir(1, QStringLiteral("Otro nombre"));
    Accion("GRABAR");
    EXPECT_EQ(Avisos(), QStringList());
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(CuitGuardado(c.empresa), QString::fromLatin1(c.cuit));
  }
  EXPECT_EQ(Uno("SELECT VALOR FROM ta_configuracion WHERE CLAVE = 'CUIT'"), QStringLiteral("30501122331"));
}

// A CUIT column too narrow for "NN-NNNNNNNN-N" (the field takes no more) keeps
// the digits, never a form cut short.
TEST_P(CuitEnFormulario, UnaColumnaAngostaGuardaLasCifras) {
  Cargar(
      QStringLiteral("ALTER TABLE P_MA_Empresas RENAME COLUMN CUIT TO CUIT_anterior; "
                     "ALTER TABLE P_MA_Empresas ADD COLUMN CUIT VARCHAR(11);"));
  const struct {
    const char* escrito;
    int respuesta;
    const char* queda;
  } casos[] = {{"20123456786", 0, "20123456786"}, {"30123456787", vb::Yes, "30123456781"}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.escrito);
    Mostrar(QStringLiteral("2"));
    Escribir(kCuit, QString::fromLatin1(c.escrito));
    if (c.respuesta) op->Responder(c.respuesta);
    Enter(kCuit);
    EXPECT_EQ(Texto(kCuit), QString::fromLatin1(c.queda));
    Accion("GRABAR");
    EXPECT_EQ(CuitGuardado("2"), QString::fromLatin1(c.queda));
    op->mensajes.clear();
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, CuitEnFormulario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
