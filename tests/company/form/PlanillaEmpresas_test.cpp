// The sheet of all companies without its window: the columns, the values as
// the form shows them, the Spanish order of the database, the search and the
// reading page by page, on both engines.
#include "company/form/PlanillaEmpresas.h"

#include <QSet>

#include "company/form/FormularioEnBase.h"
#include "company/form/ui/GrillaFlex.h"
#include "company/form/ui/frmPlanillaEmpresas.h"
#include "platform/widgets/ActBar.h"

namespace {

class Planilla : public FormularioEnBase {
 public:
  std::unique_ptr<PlanillaEmpresas> Abrir() {
    auto p = std::make_unique<PlanillaEmpresas>(cnn, QStringLiteral("P_MA_Empresas"));
    EXPECT_TRUE(p->Abrir());
    return p;
  }
  static void LeerTodo(ModeloPlanilla& m) {
    while (m.canFetchMore({})) m.fetchMore({});
  }
  static QStringList Columna(const ModeloPlanilla& m, const QString& nombre) {
    QStringList r;
    const int c = m.ColumnaDe(nombre);
    for (int f = 0; f < m.rowCount(); ++f) r << m.data(m.index(f, c), Qt::DisplayRole).toString();
    return r;
  }
  static QStringList Titulos(const ModeloPlanilla& m) {
    QStringList r;
    for (int c = 0; c < m.columnCount(); ++c)
      r << m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return r;
  }
};

TEST_P(Planilla, CadaColumnaConLosValoresComoLosMuestraElFormulario) {
  Cargar(QStringLiteral("ALTER TABLE P_MA_Empresas ADD COLUMN p_Cuota NUMERIC(12,2);"
                        "ALTER TABLE P_MA_Empresas ADD COLUMN P_Alta DATE;"
                        "UPDATE P_MA_Empresas SET p_Cuota = 1234.5, P_Alta = '2024-12-31', PideHonorarios = "
                        "TRUE WHERE IdEmpresa = '") +
         Codigo15("1") + QStringLiteral("';"));
  auto p = Abrir();
  ModeloPlanilla& m = p->Modelo();
  const QStringList titulos = Titulos(m);
  for (const char* t :
       {"Empresa", "Nombre", "E-m@il", "Provincia", "Pedir Honorarios", "Rubro", "Zona", "Cuota", "Alta"})
    EXPECT_TRUE(titulos.contains(QString::fromUtf8(t), Qt::CaseInsensitive))
        << t << " in " << titulos.join(',');
  EXPECT_EQ(m.ColumnaDe(QStringLiteral("Imagen")), -1);  // the logo is no cell
  EXPECT_EQ(m.rowCount(), Cuenta(QStringLiteral("P_MA_Empresas")));
  ASSERT_EQ(m.Codigo(0), QStringLiteral("1"));
  EXPECT_EQ(Columna(m, QStringLiteral("IdEmpresa")).first(), QStringLiteral("1"));
  EXPECT_EQ(Columna(m, QStringLiteral("P_Alta")).first(), QStringLiteral("31/12/2024"));
  EXPECT_EQ(Columna(m, QStringLiteral("PideHonorarios")).first(), QStringLiteral("Sí"));
  // The custom fields as the form's grid shows the same company.
  Mostrar(QStringLiteral("1"));
  GrillaFlex& g = *form->MSFlexPers();
  for (int f = 1; f < g.Rows(); ++f)
    EXPECT_EQ(Columna(m, Personalizados::ColumnaDe(g.TextMatrix(f, 0))).first(), g.TextMatrix(f, 1))
        << g.TextMatrix(f, 0);
  EXPECT_EQ(Columna(m, QStringLiteral("NombreEmpresa")).first(), Texto(1));
}

TEST_P(Planilla, OrdenaEnCastellanoSinMirarMayusculasYConAcentos) {
  QString alta;
  const QStringList nombres{"Oso", "Ñandú", "nube", "Beta", "alfa", "ábaco", "Abaco"};
  for (int i = 0; i < nombres.size(); ++i)
    alta += QStringLiteral("INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) VALUES ('%1', '%2');")
                .arg(Codigo15(QString::number(900 + i)), nombres[i]);
  Cargar(alta);
  auto p = Abrir();
  ModeloPlanilla& m = p->Modelo();
  const auto ordenados = [&] {
    QStringList r;
    for (const QString& n : Columna(m, QStringLiteral("NombreEmpresa")))
      if (nombres.contains(n)) r << n;
    return r;
  };
  p->Ordenar(m.ColumnaDe(QStringLiteral("NombreEmpresa")));
  // Letter case aside ("alfa" before "Beta"), an accent after the same letters without it,
  // and ñ after n.
  EXPECT_EQ(ordenados(), (QStringList{"Abaco", "ábaco", "alfa", "Beta", "nube", "Ñandú", "Oso"}));
  p->Ordenar(m.ColumnaDe(QStringLiteral("NombreEmpresa")));
  EXPECT_EQ(m.Orden(), Qt::DescendingOrder);
  EXPECT_EQ(ordenados(), (QStringList{"Oso", "Ñandú", "nube", "Beta", "alfa", "ábaco", "Abaco"}));
}

TEST_P(Planilla, LeePorPaginasYBuscaMasAllaDeLoLeido) {
  Cargar();
  testdb::GrowCompanies(base, 10000, 0, 0);
  const int total = Cuenta(QStringLiteral("P_MA_Empresas"));
  auto p = Abrir();
  ModeloPlanilla& m = p->Modelo();
  // One page at first, however many companies there are.
  EXPECT_EQ(m.rowCount(), ModeloPlanilla::kFilasPorPagina);
  EXPECT_EQ(m.Lecturas(), 1);
  EXPECT_TRUE(m.canFetchMore({}));

  // The search box: a company far past the first page, typed in any letter case, found
  // with one statement to find it and one to read up to it.
  const int nombre = m.ColumnaDe(QStringLiteral("NombreEmpresa"));
  p->FijarColumnaBusqueda(nombre);
  const int fila = p->Buscar(QStringLiteral("EMPRESA DE PRUEBA 9876 "));
  ASSERT_GE(fila, 0);
  EXPECT_EQ(m.Codigo(fila), QStringLiteral("9876"));
  EXPECT_EQ(m.data(m.index(fila, nombre), Qt::DisplayRole).toString().left(22),
            QStringLiteral("Empresa de prueba 9876"));
  EXPECT_EQ(m.Lecturas(), 3);
  EXPECT_LT(m.rowCount(), total);
  // Wildcards typed are plain characters; a text no company starts with finds nothing.
  for (const char* nada : {"%", "Empresa_de", "Zz[a]"})
    EXPECT_EQ(p->Buscar(QString::fromUtf8(nada)), -1) << nada;

  // Every order reads every company once, page after page, ties and empty values included.
  for (const char* columna : {"Localidad", "Piso", "IdEmpresa"}) {
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
      SCOPED_TRACE(std::string(columna) + (vuelta ? " bajando" : " subiendo"));
      p->Ordenar(m.ColumnaDe(QString::fromLatin1(columna)));
      LeerTodo(m);
      ASSERT_EQ(m.rowCount(), total);
      QSet<QString> codigos;
      for (int f = 0; f < m.rowCount(); ++f) codigos.insert(m.Codigo(f));
      EXPECT_EQ(codigos.size(), total);
      // Empty values first going up, last going down, as the suite's server sorts them.
      if (QString::fromLatin1(columna) == QLatin1String("Piso")) {
        const QStringList pisos = Columna(m, QStringLiteral("Piso"));
        EXPECT_EQ(pisos.first().isEmpty(), vuelta == 0);
        EXPECT_EQ(pisos.last().isEmpty(), vuelta == 1);
      }
    }
  }
  // The last company read is deleted by another operator before the next page: the
  // reading goes on from the one before it, and no company is left out.
  p->Ordenar(m.ColumnaDe(QStringLiteral("Localidad")));
  ASSERT_EQ(m.Orden(), Qt::AscendingOrder);
  const QString ultima = m.Codigo(m.rowCount() - 1);
  testdb::RunSql(base,
                 QStringLiteral("DELETE FROM P_MA_Empresas WHERE IdEmpresa = '%1';").arg(Codigo15(ultima)));
  LeerTodo(m);
  EXPECT_EQ(m.rowCount(), total);
}

// The window, offscreen, reached from the form's keys.
TEST_P(Planilla, CtrlPSoloAlConsultarYEnterEnLaEmpresaHalladaLaMuestra) {
  Cargar();
  form->show();
  form->activateWindow();
  QApplication::processEvents();
  const auto ctrlP = [&] {
    form->txtFields(0)->setFocus();
    QApplication::processEvents();
    QKeyEvent e(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10"));
    QApplication::sendEvent(form->txtFields(0), &e);
  };
  const auto tecla = [](QWidget* w, int qt, const QString& texto) {
    QKeyEvent e(QEvent::KeyPress, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &e);
  };
  // While a company is edited it would drop the changes: Ctrl+P opens nothing.
  Mostrar(QStringLiteral("2"));
  EXPECT_FALSE(form->ActBar1()->Habilitado(QStringLiteral("PLANILLA")));
  ctrlP();
  EXPECT_TRUE(op->dialogos.isEmpty());
  Accion("CANCELAR");
  ASSERT_TRUE(form->ActBar1()->Habilitado(QStringLiteral("PLANILLA")));

  op->MostrarComoElPrograma();
  AlAbrir<frmPlanillaEmpresas>([&](frmPlanillaEmpresas* w) {
    QLineEdit* caja = w->Busqueda();
    EXPECT_EQ(caja->accessibleName(), QStringLiteral("Buscar en Nombre"));
    for (QChar c : QStringLiteral("bodegas")) tecla(caja, c.toUpper().unicode(), QString(c));
    tecla(caja, Qt::Key_Return, QStringLiteral("\r"));
  });
  ctrlP();
  EXPECT_EQ(op->dialogos, QStringList{QStringLiteral("frmPlanillaEmpresas")});
  EXPECT_TRUE(L().EnEdicion());
  EXPECT_EQ(Texto(0), QStringLiteral("4"));
  EXPECT_EQ(Texto(1), QStringLiteral("Bodegas Valle de Uco S.A."));
}

INSTANTIATE_TEST_SUITE_P(Motores, Planilla, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
