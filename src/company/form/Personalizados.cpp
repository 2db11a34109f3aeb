#include "company/form/Personalizados.h"

#include <algorithm>

#include "company/rules/LargoDeColumna.h"
#include "db/DB_Dll.h"
#include "platform/client/Recordset.h"
#include "platform/services/NumeroTecleado.h"
#include "platform/services/Operador.h"
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
  tipos_ = {TipoTecleado{}};
  largos_ = {0};
}

void Personalizados::Asignar(ado::Recordset& rs) {
  auto& db = DB_Dll::Instancia();
  std::vector<trampa::Paso> pasos;
  pasos.push_back([&] {
    Descartar();
    grilla_.SetRows(1);
    tipos_ = {TipoTecleado{}};
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
      tipos_.resize(fila + 1);
      // A boolean takes any text, as a text column does.
      tipos_[fila] = db.ADOBoolean(f.Type()) ? TipoTecleado{} : TipoTecleado::De(f);
      largos_.resize(fila + 1);
      largos_[fila] = LargoDeColumna(f);
      if (!rs.Bof() && !rs.Eof()) {
        grilla_.SetTextMatrix(fila, 1, TextoDe(f.GetValue(), tipos_[fila]));
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

QString Personalizados::TextoDe(const ado::Value& v, const TipoTecleado& tipo) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {};
  // A number or date shows as the operator types it ("1e+05" or "1234.5" under
  // a decimal comma would be saved back as another amount).
  if (tipo.clase != ClaseTecleada::Texto) return TextoAlmacenado(v, tipo);
  return Utilidades::Compartido().NuloATexto(v).trimmed();
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
  filaEditada_ = fila;
  columnaEditada_ = columna;
  if (keyAscii >= 0 && keyAscii <= 32) {
    editor_.SetText(grilla_.TextMatrix(fila, columna));
    editor_.SetSelStart(1000);
  } else {
    // The first key is typed as the editor would type it (".5" is 0,5 under a decimal comma).
    keyAscii = MapearSeparador(keyAscii, QString(), numero::Convencion::DelPuesto().decimal);
    editor_.SetText(QString(QChar(keyAscii)));
    editor_.SetSelStart(1);
  }
  editor_.ColocarSobre(fila, columna);
  editor_.SetVisible(true);
  editor_.SetFocus();
}

bool Personalizados::Confirmar() {
  if (!editor_.Visible()) return true;
  if (rechazando_) return false;
  const int fila = filaEditada_ >= 0 ? filaEditada_ : grilla_.Row();
  const int columna = columnaEditada_ >= 0 ? columnaEditada_ : grilla_.Col();
  // The cell may be gone when the grid was refilled under the editor.
  if (fila < grilla_.Rows() && columna < grilla_.Cols()) {
    const TipoTecleado tipo = TipoDe(fila);
    const QString texto = editor_.Text();
    const auto leido = LeerTecleado(texto, tipo);
    if (!leido) {
      rechazando_ = true;
      // Back to the cell and its editor first, so that the box returns the
      // focus there (a focus on the grid would commit, and refuse, again).
      if (grilla_.Row() != fila) grilla_.SetRow(fila);
      editor_.ColocarSobre(fila, columna);
      editor_.SetFocus();
      ElOperador().MsgBox(MensajeRechazo(grilla_.TextMatrix(fila, 0), texto, tipo), vb::Exclamation,
                          QStringLiteral("Aviso al operador..."));
      editor_.SetFocus();
      rechazando_ = false;
      return false;
    }
    grilla_.SetTextMatrix(fila, columna, tipo.clase == ClaseTecleada::Texto ? texto : leido->texto);
  }
  Descartar();
  return true;
}

void Personalizados::Descartar() {
  editor_.SetVisible(false);
  filaEditada_ = columnaEditada_ = -1;
}

void Personalizados::TeclaEditor(int keyCode, int, const std::function<void()>& procesarEventos) {
  // A refused value keeps the editor where it is.
  if (keyCode == tecla::Enter || keyCode == tecla::Arriba || keyCode == tecla::Abajo)
    if (!Confirmar()) return;
  auto alGrid = [&] { grilla_.SetFocus(); };
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

TipoTecleado Personalizados::TipoDe(int fila) const {
  return fila >= 0 && fila < tipos_.size() ? tipos_[fila] : TipoTecleado{};
}

void Personalizados::CaracterEditor(int& keyAscii, const QString& separador) const {
  if (grilla_.Col() <= 0) return;
  keyAscii = MapearSeparador(keyAscii, editor_.Text(), separador);
}

int Personalizados::MapearSeparador(int keyAscii, const QString& antes, const QString& separador) const {
  if (keyAscii != ',' && keyAscii != '.') return keyAscii;
  const int fila = filaEditada_ >= 0 ? filaEditada_ : grilla_.Row();
  // In a text column a point or comma is just what the operator typed.
  if (!TipoDe(fila).EsNumero() || separador.isEmpty()) return keyAscii;
  const QChar decimal = separador.at(0);
  const QChar grupo = numero::Convencion::DelPuesto().grupo;
  // The group separator after a digit, before any decimal separator, groups
  // thousands (1.234,56); a second decimal separator is kept, to be refused.
  const bool agrupa = QChar(keyAscii) == grupo && !antes.contains(decimal) &&
                      std::any_of(antes.begin(), antes.end(), [](QChar c) { return c.isDigit(); });
  return agrupa ? keyAscii : decimal.unicode();
}
