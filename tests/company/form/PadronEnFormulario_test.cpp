// The line beside the CUIT: what AFIP's register says of the CUIT on screen,
// read from the label as a screen reader reads it; a warning for a CUIT not in
// the register or registered under another name; nothing without a register.
#include <QAccessible>
#include <QFile>

#include "company/form/FormularioEnBase.h"
#include "company/rules/ConsultaPadron.h"
#include "support/PadronEnBase.h"

namespace {

using testdb::Engine;

constexpr int kNombre = 1;
constexpr int kCuit = 10;

class PadronEnFormulario : public FormularioEnBase {
 public:
  QLabel* Linea() { return form->LblPadron(); }
  bool EnAviso() {
    return Linea()->palette().color(QPalette::WindowText) == QColor(frmMA_Empresas::kColorAvisoTablas);
  }
};

TEST_P(PadronEnFormulario, LaLineaDiceLoQueDiceElPadron) {
  Cargar();
  CrearPadron(*cnn, {{"30712345671", "DISTRIBUIDORA DEL LITORAL SA", "AC"},
                     {"30501122331", "VINOS DEL SUR SRL", "EX"},
                     {"20123456786", "PEREZ JUAN", "NI", "B"}});
  const QString fecha = QStringLiteral("padrón del 05/09/2026");
  enum class Paso { Mostrar, Cuit, Nombre };
  const struct {
    Paso paso;
    const char* valor;  // the code shown, or what is typed
    const char* texto;
    const char* motivo;  // the start of the warning; nullptr for none
    int cajas = 0;       // boxes of the CUIT's own check, each answered OK
  } casos[] = {
      {Paso::Mostrar, "1", "AFIP: DISTRIBUIDORA DEL LITORAL SA · IVA responsable inscripto · ", nullptr},
      {Paso::Mostrar, "4", "AFIP: VINOS DEL SUR SRL · IVA exento · ",
       "AFIP registra el CUIT 30-50112233-1 a nombre de VINOS DEL SUR SRL, que no coincide con el nombre de "
       "la "
       "empresa (Bodegas Valle de Uco S.A.)."},
      // the name corrected, then confirmed
      {Paso::Nombre, "Vinos del Sur S.R.L.", "AFIP: VINOS DEL SUR SRL · IVA exento · ", nullptr},
      {Paso::Mostrar, "2", "AFIP: el CUIT no figura en el ",
       "El CUIT 30-70987654-2 no figura en el padrón del 05/09/2026 de AFIP"},
      {Paso::Cuit, "20123456786", "AFIP: PEREZ JUAN · responsable monotributo · ",
       "AFIP registra el CUIT 20-12345678-6 a nombre de PEREZ JUAN"},
      // company 1's CUIT: the duplicate's box, and the register's warning
      {Paso::Cuit, "30-71234567-1", "AFIP: DISTRIBUIDORA DEL LITORAL SA · IVA responsable inscripto · ",
       "AFIP registra el CUIT 30-71234567-1", 1},
      // no CUIT, or none well formed: its own check speaks, the line says nothing
      {Paso::Cuit, "", "", nullptr},
      {Paso::Cuit, "20-1234567", "", nullptr, 1},
      // a new company starts without a line
      {Paso::Mostrar, "99", "", nullptr},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.valor);
    const QString valor = QString::fromUtf8(c.valor);
    switch (c.paso) {
      case Paso::Mostrar:
        Mostrar(valor);
        break;
      case Paso::Cuit:
        Escribir(kCuit, valor);
        for (int i = 0; i < c.cajas; ++i) op->Responder(vb::OK);
        Enter(kCuit);
        break;
      case Paso::Nombre:
        Escribir(kNombre, valor);
        Enter(kNombre);
        break;
    }
    const QString texto = QString::fromUtf8(c.texto);
    EXPECT_EQ(Linea()->text(), texto.isEmpty() ? texto : texto + fecha);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Linea())->text(QAccessible::Name), Linea()->text());
    const QString motivo = QString::fromUtf8(c.motivo ? c.motivo : "");
    if (!motivo.isEmpty())
      EXPECT_TRUE(Linea()->toolTip().startsWith(motivo)) << Linea()->toolTip().toStdString();
    EXPECT_EQ(Linea()->toolTip().isEmpty(), motivo.isEmpty());
    EXPECT_EQ(Linea()->accessibleDescription(),
              motivo.isEmpty() ? QStringLiteral("Padrón de AFIP")
                               : QStringLiteral("Padrón de AFIP: ") + Linea()->toolTip());
    EXPECT_EQ(EnAviso(), !motivo.isEmpty());
  }
  // Warned, never refused: the company under another name is saved.
  Mostrar(QStringLiteral("4"));
  Escribir(kNombre, QStringLiteral("Bodegas del Este S.A."));
  Accion("GRABAR");
  EXPECT_FALSE(L().EnEdicion());
  EXPECT_EQ(Uno("SELECT NombreEmpresa FROM P_MA_Empresas" + Donde("4")),
            QStringLiteral("Bodegas del Este S.A."));
}

// Without a register nothing is shown, nobody is told, no error is logged,
// and a move asks nothing more of the database once that is known.
TEST_P(PadronEnFormulario, SinPadronNoHayLinea) {
  Cargar();
  Mostrar(QStringLiteral("1"));
  EXPECT_EQ(Linea()->text(), QString());
  EXPECT_TRUE(op->mensajes.empty());
  EXPECT_FALSE(QFile::exists(db.gLogErr));
  const long antes = cnn->StatementsSent();
  EXPECT_FALSE(ConsultaPadron::HayPadron());
  EXPECT_EQ(cnn->StatementsSent(), antes);
  Escribir(kCuit, QStringLiteral("30-71234567-2"));
  op->Responder(vb::Yes);
  Enter(kCuit);
  EXPECT_EQ(Linea()->text(), QString());
  // The failed question left nothing behind for the save.
  Accion("GRABAR");
  EXPECT_FALSE(L().EnEdicion());
  EXPECT_FALSE(QFile::exists(db.gLogErr));
}

INSTANTIATE_TEST_SUITE_P(Motores, PadronEnFormulario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
