// Reporte (Ctrl+R): usable while a stored company is shown, it shows that
// company's sheet in the print preview.
#include <QDialog>

#include "company/form/FormularioEnBase.h"
#include "company/form/HojaEmpresa.h"
#include "company/form/ui/frmReporteEmpresa.h"
#include "platform/widgets/ActBar.h"

namespace {

class ReporteEnFormulario : public FormularioEnBase {
 public:
  bool CtrlR() { return L().Form_KeyDown(tecla::Letra('R'), tecla::Control); }
  bool Habilitado() { return form->ActBar1()->Habilitado(QStringLiteral("REPORTE")); }
};

TEST_P(ReporteEnFormulario, CtrlRMuestraLaHojaDeLaEmpresaGuardada) {
  Cargar();
  // Nothing stored is shown at load: the key does nothing.
  EXPECT_FALSE(Habilitado());
  CtrlR();
  EXPECT_TRUE(op->dialogos.isEmpty());

  // What another operator stored meanwhile is on the sheet, what this screen has not saved is not.
  Mostrar(QStringLiteral("3"));
  ASSERT_TRUE(Habilitado());
  Escribir(2, QStringLiteral("Sin guardar"));
  testdb::RunSql(base, "UPDATE P_MA_Empresas SET Calle = 'Florida'" + Donde("3"));
  QString titulo;
  QStringList lineas;
  op->AlMostrar([&](DialogoModal& d) {
    auto& r = dynamic_cast<DialogoReporte&>(d);
    titulo = r.titulo + " / " + r.hoja.titulo;
    for (const SeccionHoja& s : r.hoja.secciones)
      for (const LineaHoja& l : s.lineas) lineas << s.titulo + " | " + l.titulo + " " + l.valor;
  });
  EXPECT_TRUE(CtrlR());
  EXPECT_EQ(op->dialogos, QStringList{"frmReporteEmpresa"});
  EXPECT_EQ(titulo, "Reporte de la empresa 3 / Empresa 3 - Estudio Contable Pereyra & Asociados");
  // PostgreSQL keeps unquoted column names in lower case, as the grid shows them there.
  for (const char* l :
       {"Datos Generales | Calle: Florida", "Datos Generales | Provincia 0 - Ciudad Autónoma de Buenos Aires",
        "Datos Generales |  Pedir Honorarios", "Campos Personalizados | Rubro Servicios"})
    EXPECT_TRUE(lineas.contains(QString::fromUtf8(l), Qt::CaseInsensitive)) << l << "\n" << lineas.join('\n');

  // The preview itself, as the program shows it.
  RegistrarFrmReporteEmpresa();
  op->MostrarComoElPrograma();
  QString ventana;
  AlAbrir<QDialog>([&](QDialog* w) {
    ventana = w->windowTitle();
    w->reject();
  });
  CtrlR();
  EXPECT_EQ(ventana, "Reporte de la empresa 3");

  // A company deleted meanwhile has no sheet: the operator is told.
  testdb::RunSql(base, "DELETE FROM P_MA_Empresas" + Donde("3"));
  op->Responder(vb::OK);
  CtrlR();
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, "La empresa 3 ya había sido eliminada.");

  // A new company has nothing stored yet.
  Mostrar(QStringLiteral("40"));
  EXPECT_FALSE(Habilitado());
}

INSTANTIATE_TEST_SUITE_P(Motores, ReporteEnFormulario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
