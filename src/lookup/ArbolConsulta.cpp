#include "lookup/ArbolConsulta.h"

#include <QSet>

#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "lookup/FiltrosConsulta.h"
#include "lookup/ListaConsulta.h"
#include "lookup/TextosConsulta.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

namespace {

trampa::Manejador ErrorA(const QString& contexto) {
  return [contexto](const ado::ErrorInfo& e, std::size_t) {
    return Utilidades::Compartido().MostrarError(e, {}, contexto);
  };
}

QString Codigo(const NodoArbol& n) { return n.clave.mid(1); }

}  // namespace

ArbolConsulta::ArbolConsulta(SolicitudArbol& solicitud, QObject* padre) : QObject(padre), s_(solicitud) {}

void ArbolConsulta::Cargar() {
  oculto_ = false;
  trampa::Ejecutar({
                       [&] { s_.Valores = std::make_shared<Coleccion>(); },
                       [&] { nodos_.clear(); },
                       [&] { Armar(); },
                   },
                   ErrorA(QStringLiteral("FORM_LOAD")));
}

void ArbolConsulta::Armar() {
  ado::Recordset rs;
  QVector<std::pair<QString, QString>> filas;
  bool vacio = true;
  trampa::Ejecutar({
                       [&] {
                         nodos_.clear();
                         seleccionado_ = -1;
                         Construir({});
                       },
                       [&] {
                         DB_Dll::Instancia().AbrirRecordset(s_.SQL, rs, DB_Dll::Instancia().gCnn(),
                                                            ado::adOpenDynamic, ado::adLockReadOnly,
                                                            ado::adOptionUnspecified, true);
                       },
                       // An open that failed was reported there: nothing to show.
                       [&] { vacio = rs.State() == ado::adStateClosed || (rs.Bof() && rs.Eof()); },
                       [&] {
                         if (vacio) return;
                         rs.MoveFirst();
                         const QVector<QVector<ado::Value>> datos = rs.GetRows();
                         const int n = datos.isEmpty() ? 0 : static_cast<int>(datos[0].size());
                         for (int i = 0; i < n; ++i)
                           filas.push_back({textos::DeValor(datos[0][i]),
                                            datos.size() > 1 ? textos::DeValor(datos[1][i]) : QString()});
                         Construir(filas);
                       },
                       [&] { DB_Dll::Instancia().CierraRecordset(rs); },
                   },
                   ErrorA(QStringLiteral("ArmarTreeVAutomatico")));
  emit Reconstruido();
}

void ArbolConsulta::Agregar(int padre, const QString& clave, const QString& texto) {
  NodoArbol n;
  n.clave = clave;
  n.texto = texto;
  n.padre = padre;
  nodos_.push_back(n);
  if (padre >= 0) nodos_[padre].hijos.push_back(static_cast<int>(nodos_.size()) - 1);
}

void ArbolConsulta::Construir(const QVector<std::pair<QString, QString>>& filas) {
  nodos_.clear();
  seleccionado_ = -1;
  Agregar(-1, QStringLiteral("A"), QStringLiteral("Consulta..."));
  QSet<QString> claves{QStringLiteral("A")};
  int actual = 0;
  std::vector<trampa::Paso> pasos;
  pasos.reserve(filas.size());
  for (const auto& fila : filas) {
    pasos.push_back([&, fila] {
      const QString clave = QStringLiteral("A") + fila.first;
      if (claves.contains(clave))
        throw ado::Failure(35602, QStringLiteral("La clave no es única en la colección: ") + clave);
      // Only the lengths place a node: the rows come in hierarchical order.
      while (clave.size() < nodos_[actual].clave.size() && nodos_[actual].padre >= 0)
        actual = nodos_[actual].padre;
      const int padre = clave.size() > nodos_[actual].clave.size() ? actual : nodos_[actual].padre;
      Agregar(padre, clave, fila.first + QStringLiteral(" - ") + fila.second);
      claves.insert(clave);
      actual = static_cast<int>(nodos_.size()) - 1;
    });
  }
  trampa::Ejecutar(pasos, ErrorA(QStringLiteral("ArmarTreeVAutomatico")));
}

void ArbolConsulta::Descargar() {
  trampa::Ejecutar({[&] { nodos_.clear(); }}, [](const ado::ErrorInfo& e, std::size_t) {
    logerrores::Avisar(QStringLiteral("Form_Unload"), e.Description, vb::Critical,
                       QStringLiteral("Aviso al Operador"));
    return trampa::Siguiente;
  });
}

void ArbolConsulta::CambioBusqueda(const QString& texto) {
  busqueda_ = texto;
  for (int i = 0; i < nodos_.size(); ++i) {
    const QString& t = nodos_[i].texto;
    const int guion = static_cast<int>(t.indexOf(QLatin1Char('-')));
    const QString codigo = guion < 0 ? QString() : t.left(guion).trimmed();
    const QString descripcion = guion < 0 ? t : t.mid(guion + 1).trimmed();
    if (textos::EmpiezaCon(codigo, texto) || textos::EmpiezaCon(descripcion, texto)) {
      seleccionado_ = i;
      emit NodoElegido(i);
      return;
    }
  }
}

void ArbolConsulta::TeclaBusqueda(int tecla) {
  switch (tecla) {
    case teclas::F5:
      trampa::IgnorarErrores({[&] {
        etiqueta_ = QStringLiteral("Descripcion");
        filtros::EstadoFiltro estado{sentenciaBase_, parteOrden_};
        s_.SQL = filtros::FiltrarArbol(s_.SQL, busqueda_, estado);
        parteOrden_ = estado.ParteOrden;
        busqueda_.clear();
        emit TextoBusquedaCambiado(busqueda_);
        sentenciaBase_ = s_.SQL;
        Cargar();
      }});
      break;
    case teclas::Abajo:
    case teclas::Arriba:
    case teclas::AvPag:
    case teclas::RePag:
      emit FocoEnArbol();
      break;
    default:
      break;
  }
}

void ArbolConsulta::MarcarNodo(int nodo, bool marcado) {
  if (nodo < 0 || nodo >= nodos_.size()) return;
  nodos_[nodo].marcado = marcado;
  QVector<int> nivel{nodo};
  for (int profundidad = 0; profundidad < NivelesMarcado && !nivel.isEmpty(); ++profundidad) {
    QVector<int> siguiente;
    for (int n : nivel)
      for (int h : nodos_[n].hijos) {
        nodos_[h].marcado = nodos_[n].marcado;
        siguiente << h;
      }
    nivel = siguiente;
  }
  emit MarcasCambiadas();
}

void ArbolConsulta::Aceptar() {
  const QString campo = s_.CampoDevuelto.trimmed().toUpper();
  DB_Dll& db = DB_Dll::Instancia();
  std::vector<trampa::Paso> pasos;
  if (s_.CheckBoxes) {
    pasos.push_back([&] {
      if (!s_.Valores) s_.Valores = std::make_shared<Coleccion>();
    });
    // The root stands for no row of the statement; only its descendants are returned.
    for (int i = 1; i < nodos_.size(); ++i) {
      if (!nodos_[i].marcado) continue;
      pasos.push_back([&, i] {
        const QString codigo = Codigo(nodos_[i]);
        if (campo == QLatin1String("IDFAMILIA") || campo == QLatin1String("CODIGO")) {
          s_.Valores->append(codigo.trimmed());
        } else if (campo == QLatin1String("IDPOSICION")) {
          ado::Recordset rs;
          if (db.ExisteEnTabla(QStringLiteral("MA_POSICIONES"), codigo, QStringLiteral("IDPOSICION"), &rs,
                               ado::adBSTR, QString()))
            s_.Valores->append(Utilidades::Compartido().NuloATexto(rs.Fields(s_.CampoDevuelto).GetValue()));
          db.CierraRecordset(rs);
        }
      });
    }
  } else if (seleccionado_ >= 0 && seleccionado_ < nodos_.size()) {
    pasos.push_back([&] {
      const QString codigo = Codigo(nodos_[seleccionado_]);
      QString tabla;
      if (campo == QLatin1String("IDFAMILIA"))
        tabla = QStringLiteral("V_TA_FAMILIAS");
      else if (campo == QLatin1String("IDPOSICION"))
        tabla = QStringLiteral("MA_POSICIONES");
      else if (campo == QLatin1String("CODIGO"))
        tabla = QStringLiteral("TA_CCOSTO");
      if (tabla.isEmpty()) return;
      ado::Recordset rs;
      if (db.ExisteEnTabla(tabla, codigo, campo, &rs, ado::adBSTR, QString()))
        s_.ValorDevuelto = Utilidades::Compartido().NuloATexto(rs.Fields(s_.CampoDevuelto).GetValue());
      else
        s_.ValorDevuelto = QString();
      db.CierraRecordset(rs);
    });
  }
  trampa::Ejecutar(pasos, ErrorA(QStringLiteral("HScroll1_Change")));
  oculto_ = true;
  emit Ocultar();
}

void ArbolConsulta::Cancelar() {
  s_.DescartarResultados();
  oculto_ = true;
  emit Ocultar();
}

void ArbolConsulta::NuevaBusqueda() { Armar(); }
