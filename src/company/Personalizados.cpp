#include "company/Personalizados.h"

#include "company/LargoDeColumna.h"
#include "db/DB_Dll.h"
#include "platform/client/Recordset.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "platform/widgets/CodigosTecla.h"
#include "session/AsignarValorCampo.h"

namespace {

int MostrarErrorEn(const QString& rutina, const ado::ErrorInfo& e) {
  return Utilidades::Compartido().MostrarError(e, {}, rutina);
}

bool TienePrefijo(const QString& nombre) { return nombre.left(2).compare("P_", Qt::CaseInsensitive) == 0; }

}  // namespace

Personalizados::Personalizados(Grilla& grilla, EditorCelda& editor) : grilla_(grilla), editor_(editor) {}

QString Personalizados::ColumnaDe(const QString& nombre) {
  return TienePrefijo(nombre) ? nombre : QStringLiteral("P_") + nombre;
}

void Personalizados::Inicializa() {
  Descartar();
  grilla_.SetRows(1);
  numericas_ = {false};
  largos_ = {0};
}

void Personalizados::Asignar(ado::Recordset& rs) {
  auto& db = DB_Dll::Instancia();
  std::vector<trampa::Paso> pasos;
  pasos.push_back([&] {
    Descartar();
    grilla_.SetRows(1);
    numericas_ = {false};
    largos_ = {0};
    grilla_.SetTextMatrix(0, 0, QStringLiteral("Campo"));
    grilla_.SetTextMatrix(0, 1, QStringLiteral("Valor"));
  });
  pasos.push_back([&] {
    for (int i = 0; i < rs.FieldCount(); ++i) {
      ado::Field& f = rs.Fields(i);
      if (!TienePrefijo(f.Name())) continue;
      const int fila = grilla_.Rows();
      grilla_.SetRows(fila + 1);
      grilla_.SetTextMatrix(fila, 0, f.Name().mid(2).trimmed());
      numericas_.resize(fila + 1);
      numericas_[fila] = db.ADONumeric(f.Type()) || db.ADOCurrency(f.Type());
      largos_.resize(fila + 1);
      largos_[fila] = LargoDeColumna(f);
      if (!rs.Bof() && !rs.Eof()) {
        grilla_.SetTextMatrix(fila, 1, TextoDe(f.GetValue(), numericas_[fila]));
      }
    }
  });
  pasos.push_back([&] {
    grilla_.SetColWidth(0, 2000);
    grilla_.SetColWidth(1, 4000);
  });
  pasos.push_back([&] {
    if (grilla_.Rows() > 1) grilla_.SetFixedRows(1);
  });
  trampa::Ejecutar(pasos, [](const ado::ErrorInfo& e, std::size_t) {
    return MostrarErrorEn(QStringLiteral("AsignarPersonalizados"), e);
  });
}

QString Personalizados::TextoDe(const ado::Value& v, bool numerica) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {};
  auto& util = Utilidades::Compartido();
  // A number shows as the operator types it ("1e+05" or "1234.5" under a
  // decimal comma would be saved back as another amount).
  return numerica ? util.TextoNumerico(util.ValorPuntoOComa(v)) : util.NuloATexto(v).trimmed();
}

QVector<QPair<QString, QString>> Personalizados::Valores() const {
  QVector<QPair<QString, QString>> r;
  for (int fila = 1; fila < grilla_.Rows(); ++fila)
    r.push_back({ColumnaDe(grilla_.TextMatrix(fila, 0)), grilla_.TextMatrix(fila, 1)});
  return r;
}

void Personalizados::Grabar(ado::Recordset& rs, const QStringList* columnas) {
  if (grilla_.Rows() <= 1) return;
  auto& util = Utilidades::Compartido();
  std::vector<trampa::Paso> pasos;
  for (int fila = 1; fila < grilla_.Rows(); ++fila) {
    pasos.push_back([&, fila] {
      QString columna = ColumnaDe(grilla_.TextMatrix(fila, 0));
      if (columnas && !columnas->contains(columna, Qt::CaseInsensitive)) return;
      QString valor = util.NuloATexto(grilla_.TextMatrix(fila, 1));
      AsignarValorCampo(rs, columna, valor);
    });
  }
  trampa::Ejecutar(pasos, [](const ado::ErrorInfo& e, std::size_t) {
    return MostrarErrorEn(QStringLiteral("GrabarPersonalizados"), e);
  });
}

void Personalizados::IniciarEdicion(int keyAscii) {
  const int fila = grilla_.Row();
  const int columna = grilla_.Col();
  // The header row and the names are fixed: only a value is edited.
  if (fila < 1 || columna < 1 || fila >= grilla_.Rows()) return;
  editor_.SetLargoMaximo(fila < largos_.size() ? largos_[fila] : 0);
  if (keyAscii >= 0 && keyAscii <= 32) {
    editor_.SetText(grilla_.TextMatrix(fila, columna));
    editor_.SetSelStart(1000);
  } else {
    editor_.SetText(QString(QChar(keyAscii)));
    editor_.SetSelStart(1);
  }
  filaEditada_ = fila;
  columnaEditada_ = columna;
  editor_.ColocarSobre(fila, columna);
  editor_.SetVisible(true);
  editor_.SetFocus();
}

void Personalizados::Confirmar() {
  if (!editor_.Visible()) return;
  const int fila = filaEditada_ >= 0 ? filaEditada_ : grilla_.Row();
  const int columna = columnaEditada_ >= 0 ? columnaEditada_ : grilla_.Col();
  // The cell may be gone when the grid was refilled under the editor.
  if (fila < grilla_.Rows() && columna < grilla_.Cols()) grilla_.SetTextMatrix(fila, columna, editor_.Text());
  Descartar();
}

void Personalizados::Descartar() {
  editor_.SetVisible(false);
  filaEditada_ = columnaEditada_ = -1;
}

void Personalizados::TeclaEditor(int keyCode, int, const std::function<void()>& procesarEventos) {
  auto alGrid = [&] {
    grilla_.SetFocus();
    // The grid's focus commits the edit; done here too so that it happens
    // before the current cell moves even when no focus event is delivered.
    Confirmar();
  };
  auto eventos = [&] {
    if (procesarEventos) procesarEventos();
  };
  std::vector<trampa::Paso> pasos;
  switch (keyCode) {
    case tecla::Enter:
      pasos = {alGrid, eventos, [&] {
                 if (grilla_.Col() < grilla_.Cols() - 1) {
                   grilla_.SetCol(grilla_.Col() + 1);
                 } else if (grilla_.Row() < grilla_.Rows() - 1) {
                   grilla_.SetRow(grilla_.Row() + 1);
                   grilla_.SetCol(1);
                 }
               }};
      break;
    case tecla::Escape:
      pasos = {[&] { Descartar(); }, [&] { grilla_.SetFocus(); }};
      break;
    case tecla::Arriba:
      pasos = {alGrid, eventos, [&] {
                 if (grilla_.Row() > grilla_.FixedRows()) grilla_.SetRow(grilla_.Row() - 1);
               }};
      break;
    case tecla::Abajo:
      pasos = {alGrid, eventos, [&] {
                 if (grilla_.Row() < grilla_.Rows() - 1) grilla_.SetRow(grilla_.Row() + 1);
               }};
      break;
    default:
      return;
  }
  trampa::Ejecutar(pasos, [](const ado::ErrorInfo& e, std::size_t) {
    if (e.Number == ado::err::InvalidCall) return trampa::Siguiente;
    return MostrarErrorEn(QStringLiteral("EditKeyCode"), e);
  });
}

bool Personalizados::EsNumerica(int fila) const {
  return fila >= 0 && fila < numericas_.size() && numericas_[fila];
}

void Personalizados::CaracterEditor(int& keyAscii, const QString& separador) const {
  if (grilla_.Col() <= 0) return;
  if (keyAscii != ',' && keyAscii != '.') return;
  const int fila = filaEditada_ >= 0 ? filaEditada_ : grilla_.Row();
  // In a text column a point or comma is just what the operator typed.
  if (!EsNumerica(fila) || separador.isEmpty()) return;
  keyAscii = separador.at(0).unicode();
  if (editor_.Text().trimmed().contains(separador)) keyAscii = 0;
}
