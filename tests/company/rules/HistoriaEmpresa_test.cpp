// The change history: what each save and deletion writes into
// MA_EMPRESAS_HISTORIA, that it goes with a save undone, that a database
// without the table works as before, and the list Ctrl+H shows.
#include "company/rules/HistoriaEmpresa.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QRegularExpression>
#include <QTableWidget>

#include "company/form/FormularioEnBase.h"
#include "company/form/ui/EnlaceDialogos.h"
#include "platform/services/Entorno.h"

namespace {

using testdb::Engine;

class HistoriaDeCambios : public FormularioEnBase {
 public:
  // Operation, column (as the form spells it on every engine), before and after (a picture's hash after
  // its text), oldest first.
  QStringList Historia(const QString& codigo) {
    return testdb::Query(
        base, QStringLiteral("SELECT Operacion, Columna, ValorAnterior, ValorNuevo, HashAnterior, "
                             "HashNuevo FROM MA_EMPRESAS_HISTORIA WHERE IdEmpresa = '%1' ORDER BY Id")
                  .arg(Codigo15(codigo)));
  }
  QString Sha256(const QString& codigo) {
    const QString hex = GetParam() == Engine::Sqlite ? QStringLiteral("hex(Imagen)")
                                                     : QStringLiteral("encode(Imagen, 'hex')");
    const QByteArray bytes = QByteArray::fromHex(
        Uno(QStringLiteral("SELECT %1 FROM P_MA_Empresas WHERE IdEmpresa = '%2'").arg(hex, Codigo15(codigo)))
            .toLatin1());
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
  }
  void CtrlH() { EXPECT_TRUE(L().Form_KeyDown(tecla::Letra('H'), tecla::Control)); }
};

// A new company, changes of some of its columns, a save that changes
// nothing, the logo removed and the deletion: each writes its own rows.
TEST_P(HistoriaDeCambios, CadaGrabacionYBajaDejaSusFilas) {
  Cargar();
  const QString bytes = Uno(QStringLiteral("SELECT LENGTH(Imagen) FROM P_MA_Empresas") +
                            " WHERE IdEmpresa = '" + Codigo15("1") + "'");
  const QString hash = Sha256("1");
  const struct {
    const char* nombre;
    const char* codigo;
    std::function<void()> hacer;
    QStringList filas;  // the company's rows added by it
  } casos[] = {
      {"alta",
       "77",
       [&] {
         Mostrar("77");
         Escribir(1, "Nueva S.A.");
         Escribir(2, "Mitre");
         Accion("GRABAR");
       },
       {"A|IdEmpresa||" + Codigo15("77") + "||", "A|NombreEmpresa||Nueva S.A.||", "A|Calle||Mitre||",
        "A|PideHonorarios||No||"}},
      {"tres campos, uno corto que se guarda alineado",
       "2",
       [&] {
         Mostrar("2");
         Escribir(2, "Av. O'Higgins");
         Escribir(3, "88");
         Escribir(8, "");
         Accion("GRABAR");
       },
       {"M|Calle|Av. Rodríguez Peña|Av. O'Higgins||", "M|Numero|3480|        88||",
        "M|Telefono|(011) 4753-2210|||"}},
      {"sin cambios",
       "2",
       [&] {
         Mostrar("2");
         Accion("GRABAR");
       },
       {}},
      {"logo quitado",
       "1",
       [&] {
         Mostrar("1");
         L().Toolbar1_ButtonClick(QStringLiteral("Eliminar"));
         Accion("GRABAR");
       },
       {"M|Imagen|(imagen, " + bytes + " bytes)||" + hash + "|"}},
      {"baja",
       "3",
       [&] {
         Mostrar("3");
         op->Responder(vb::Yes);
         Accion("BORRAR");
       },
       {"B|NombreEmpresa|Estudio Contable Pereyra & Asociados|||"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QStringList antes = Historia(c.codigo);
    c.hacer();
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Historia(c.codigo).mid(antes.size()), c.filas);
  }
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("3") + "'"), 0);
  EXPECT_EQ(testdb::Query(base, "SELECT DISTINCT Usuario, Estacion FROM MA_EMPRESAS_HISTORIA"),
            QStringList{base.user + "|" + Entorno::Compartido().PrimerIdentificador()});
}

// A save undone whole (the seeding refused, the operator leaves) takes its
// history rows with it.
TEST_P(HistoriaDeCambios, UnaGrabacionDeshechaNoDejaHistoria) {
  Cargar(Rechazo("falla", "INSERT", "V_TA_CPTE", "NEW.EMPRESA <> ''", "rechazada"));
  Mostrar("95");
  Escribir(1, "Deshecha S.A.");
  op->Responder(vb::Abort);
  Accion("GRABAR");
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("95") + "'"), 0);
  EXPECT_EQ(Historia("95"), QStringList());
}

// The history row cannot be left out: with its INSERT refused (a role without
// the privilege on PostgreSQL, a trigger on SQLite), neither a change nor a
// deletion is stored, whatever the answer, and the box offers no Omitir.
TEST_P(HistoriaDeCambios, SinSuFilaDeHistoriaNadaSeGraba) {
  const QString rol = QStringLiteral("ma_sin_historia_%1").arg(QCoreApplication::applicationPid());
  if (GetParam() == Engine::Postgres) {
    testdb::RunSql(base, "DROP ROLE IF EXISTS " + rol + "; CREATE ROLE " + rol +
                             " LOGIN PASSWORD 'clave'; GRANT ALL ON ALL TABLES IN SCHEMA public TO " + rol +
                             "; GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO " + rol +
                             "; REVOKE INSERT ON ma_empresas_historia FROM " + rol + ";");
    base.programString.replace(QRegularExpression("UId=[^;]*;Pwd=[^;]*;"), "UId=" + rol + ";Pwd=clave;");
    Cargar();
  } else {
    Cargar(Rechazo("sin_historia", "INSERT", "MA_EMPRESAS_HISTORIA", QString(), "historia rechazada"));
  }
  const QString empresas = QStringLiteral("SELECT * FROM P_MA_Empresas ORDER BY IdEmpresa");
  const QStringList antes = testdb::Query(base, empresas);
  const struct {
    const char* nombre;
    int respuesta;
    std::function<void()> hacer;
  } casos[] = {
      {"cambio, Cancelar", vb::Cancel,
       [&] {
         Mostrar("2");
         Escribir(2, "Sin historia");
         Accion("GRABAR");
       }},
      {"cambio, Omitir", vb::Ignore, [&] { Accion("GRABAR"); }},
      {"baja, Omitir", vb::Ignore,
       [&] {
         Mostrar("3");
         op->respuestas.push_front(vb::Yes);  // the deletion confirmed, before the failure's box
         Accion("BORRAR");
       }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    op->mensajes.clear();
    op->Responder(c.respuesta);
    c.hacer();
    ASSERT_FALSE(op->mensajes.empty());
    EXPECT_EQ(vb::Buttons(op->mensajes.back().style), vb::RetryCancel) << op->mensajes.back().prompt;
    EXPECT_TRUE(L().EnEdicion());
    EXPECT_EQ(testdb::Query(base, empresas), antes);
  }
  EXPECT_EQ(Cuenta("MA_EMPRESAS_HISTORIA"), 0);
  if (GetParam() == Engine::Postgres) {
    TearDown();
    testdb::RunSql(base, "DROP OWNED BY " + rol + "; DROP ROLE " + rol + ";");
  }
}

// Without the table everything is stored as before, with no box (the
// scripted operator fails on any it was not told of); Ctrl+H says why
// there is nothing to show.
TEST_P(HistoriaDeCambios, SinLaTablaTodoSigueIgual) {
  Cargar(QStringLiteral("DROP TABLE MA_EMPRESAS_HISTORIA;"));
  Mostrar("78");
  Escribir(1, "Sin historia S.A.");
  Accion("GRABAR");
  Mostrar("2");
  Escribir(2, "Otra calle");
  Accion("GRABAR");
  Mostrar("78");
  op->Responder(vb::Yes);
  Accion("BORRAR");
  EXPECT_EQ(Uno("SELECT Calle FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("2") + "'"), "Otra calle");
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("78") + "'"), 0);
  EXPECT_EQ(Titulos(), QStringList{QStringLiteral("Atención!")});

  op->mensajes.clear();
  op->Responder(vb::OK);
  CtrlH();
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt,
            QStringLiteral("Esta base de datos no guarda el historial de cambios de las empresas."));
  EXPECT_TRUE(op->dialogos.isEmpty());
}

// Ctrl+H on the code field lists the company in it, newest first, with the
// form's captions and the operations by name, in a list that cannot be
// edited; Escape closes it.
TEST_P(HistoriaDeCambios, CtrlHMuestraLaEmpresaDeLoMasNuevoALoMasViejo) {
  Cargar();
  Mostrar("4");
  Escribir(2, "Ruta 40");
  Accion("GRABAR");
  Mostrar("4");
  Escribir(12, "Finca nueva");
  Accion("GRABAR");
  Mostrar("4");
  form->show();
  form->activateWindow();
  QApplication::processEvents();
  QString titulo;
  QStringList filas;
  bool editable = true;
  EnlazarDialogos();
  op->MostrarComoElPrograma();
  AlAbrir<QDialog>([&](QDialog* w) {
    titulo = w->windowTitle();
    auto* lista = w->findChild<QTableWidget*>(QStringLiteral("lstHistoria"));
    if (lista) {
      editable = lista->editTriggers() != QAbstractItemView::NoEditTriggers;
      for (int f = 0; f < lista->rowCount(); ++f) {
        QStringList celdas;
        for (int c = 3; c < lista->columnCount(); ++c) celdas << lista->item(f, c)->text();
        filas << celdas.join("|");
        EXPECT_TRUE(QDateTime::fromString(lista->item(f, 0)->text(), "dd/MM/yyyy HH:mm:ss").isValid());
      }
    }
    Tecla(w, Qt::Key_Escape);
  });
  form->txtFields(0)->setFocus();
  QApplication::processEvents();
  QKeyEvent ctrlH(QEvent::KeyPress, Qt::Key_H, Qt::ControlModifier);
  QApplication::sendEvent(form->txtFields(0), &ctrlH);
  EXPECT_EQ(op->dialogos, QStringList{"frmHistoriaEmpresa"});
  EXPECT_EQ(titulo, QStringLiteral("Historial de cambios de la empresa 4"));
  EXPECT_FALSE(editable);
  EXPECT_EQ(filas, (QStringList{"Modificación|Observaciones||Finca nueva",
                                "Modificación|Calle|Ruta Provincial 89|Ruta 40"}));
  EXPECT_EQ(Texto(1), QStringLiteral("Bodegas Valle de Uco S.A."));
}

INSTANTIATE_TEST_SUITE_P(Motores, HistoriaDeCambios, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
