#include "lookup/ListaConsulta.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "db/TextoSql.h"
#include "lookup/AnchosConsulta.h"
#include "lookup/FiltrosConsulta.h"
#include "lookup/TextosConsulta.h"
#include "platform/services/Carpetas.h"
#include "platform/services/NumeroTecleado.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "settings/Configuracion.h"

namespace {

trampa::Manejador ErrorA(const QString& contexto) {
  return [contexto](const ado::ErrorInfo& e, std::size_t) {
    return Utilidades::Compartido().MostrarError(e, {}, contexto);
  };
}

int Columna(const QVector<CampoLista>& campos, const QString& nombre) {
  for (int i = 0; i < campos.size(); ++i)
    if (campos[i].nombre.compare(nombre, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

// The field's name as the statement spells it, when the statement names it:
// a server that folds unquoted names (PostgreSQL: "nombreempresa") still
// shows the operator "NombreEmpresa". Names in brackets or double quotes
// count; text inside literals does not.
QString NombreComoEnSentencia(const QString& nombre, const QString& sentencia) {
  const QString texto = MascaraLiterales(sentencia);
  const int n = static_cast<int>(texto.size());
  auto esLetra = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
  for (int i = 0; i < n;) {
    const QChar c = texto.at(i);
    int inicio = i, fin = i;
    if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
      const QChar cierre = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
      inicio = i + 1;
      fin = static_cast<int>(texto.indexOf(cierre, inicio));
      if (fin < 0) fin = n;
      i = fin + 1;
    } else if (esLetra(c)) {
      while (fin < n && esLetra(texto.at(fin))) ++fin;
      i = fin;
    } else {
      ++i;
      continue;
    }
    const QString palabra = texto.mid(inicio, fin - inicio);
    if (palabra.compare(nombre, Qt::CaseInsensitive) == 0) return palabra;
  }
  return nombre;
}

// Fixed-point reading of a stock figure; a Null counts as nothing in stock.
double Importe(const ado::Value& v) {
  double d = 0;
  if (v.typeId() == QMetaType::QString)
    d = textos::Numero(v.toString());
  else if (!ado::IsNull(v) && !ado::IsEmpty(v))
    d = v.toDouble();
  return std::round(d * 10000.0) / 10000.0;
}

}  // namespace

ListaConsulta::ListaConsulta(SolicitudLista& solicitud, QObject* padre)
    : QObject(padre),
      s_(solicitud),
      lector_([](const QString& clave) { return Cfg(clave); }),
      anchoLetras_([](int n) { return 120.0 * n; }) {}

void ListaConsulta::Cargar() {
  ado::Recordset rs;
  QVector<CampoLista> campos;
  QVector<QVector<ado::Value>> datos;
  oculto_ = false;
  trampa::Ejecutar(
      {
          [&] {
            // The statement's own text: a filter typed by the operator is no table.
            esArticulos_ = MascaraLiterales(s_.SQL).contains(QLatin1String("articulos"), Qt::CaseInsensitive);
          },
          [&] {
            s_.Valores = std::make_shared<Coleccion>();
            s_.Cantidades = std::make_shared<Coleccion>();
            modelo_.Vaciar();
            fila_ = -1;
          },
          [&] { s_.SQL = QLatin1Char(' ') + s_.SQL; },
          [&] { tablaConsulta_ = filtros::TablaDeConsulta(s_.SQL); },
          [&] {
            if (sentenciaInicial_.isEmpty()) sentenciaInicial_ = s_.SQL;
            sentenciaBase_ = s_.SQL;
          },
          [&] {
            DB_Dll::Instancia().AbrirRecordset(s_.SQL, rs, nullptr, ado::adOpenForwardOnly,
                                               ado::adLockReadOnly, ado::adOptionUnspecified, true);
          },
          [&] { modelo_.MostrarCasillas(s_.CheckBoxes); },
          [&] {
            // An open that failed was reported there; asking again could
            // not open it (a retry here would only ask once more).
            if (rs.State() == ado::adStateClosed) return;
            campos.clear();
            for (int i = 0; i < rs.FieldCount(); ++i)
              campos.push_back({rs.Fields(i).Name(), rs.Fields(i).DefinedSize()});
            datos = rs.Bof() && rs.Eof() ? QVector<QVector<ado::Value>>(campos.size()) : rs.GetRows();
            Poblar(campos, datos);
          },
          [&] {
            if (s_.OrdenarPorLwv) ordenado_ = true;
            Ordenar();
          },
          [&] {
            if (!s_.FiltroInicial.trimmed().isEmpty()) FijarCaja(0, s_.FiltroInicial, true);
          },
          [&] { DB_Dll::Instancia().CierraRecordset(rs); },
          [&] { CargarAnchos(); },
      },
      ErrorA(QStringLiteral("FORM_LOAD")));
  emit Recargado();
  if (fila_ >= 0) emit FilaElegida(fila_);
}

void ListaConsulta::Encolumnar(const QVector<CampoLista>& campos) {
  const QString sentencia = MascaraLiterales(s_.SQL);
  const bool precios = sentencia.contains(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) ||
                       sentencia.contains(QLatin1String("STK_MA_ARTICULOS"), Qt::CaseInsensitive);
  QStringList encabezados;
  anchos_.clear();
  // Boxes loaded for an earlier load stay loaded.
  while (cajas_.size() < campos.size()) {
    cajas_ << QString();
    etiquetas_ << QString();
  }
  for (int d = 0; d < campos.size(); ++d) {
    etiquetas_[d] = campos[d].nombre;
    QString titulo = NombreComoEnSentencia(campos[d].nombre, s_.SQL);
    if (precios) {
      for (int k = 1; k <= 8; ++k) {
        if (titulo.compare(QStringLiteral("PRECIO%1").arg(k), Qt::CaseInsensitive) != 0) continue;
        // A price class without a name keeps the column's own name.
        const QString nombre = lector_(QStringLiteral("NOM_PCLASE%1").arg(k)).trimmed();
        if (!nombre.isEmpty()) titulo = nombre;
      }
    }
    encabezados << titulo;
    // Sizes the driver does not report still get a usable column.
    const long letras = campos[d].tamano > 0 ? std::min<long>(campos[d].tamano, 60) : 10;
    anchos_ << anchoLetras_(static_cast<int>(letras));
  }
  visibles_ = static_cast<int>(campos.size());
  modelo_.Reiniciar(encabezados, {});
}

void ListaConsulta::Poblar(const QVector<CampoLista>& campos, const QVector<QVector<ado::Value>>& datos) {
  Encolumnar(campos);
  const int columnas = static_cast<int>(campos.size());
  const int filas = columnas == 0 || datos.isEmpty() ? 0 : static_cast<int>(datos[0].size());
  const int colPunto = Columna(campos, QStringLiteral("PUNTOPEDIDO"));
  const int colStock = Columna(campos, QStringLiteral("Stock"));
  const int colDevuelto =
      s_.CampoDevuelto.trimmed().isEmpty() ? -1 : Columna(campos, s_.CampoDevuelto.trimmed());
  const bool colorear = s_.MuestraStock.trimmed().compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
  const QString defecto = s_.ValoresDefault;
  const auto n1 = textos::Color(s_.StkNivel1), n2 = textos::Color(s_.StkNivel2),
             n3 = textos::Color(s_.StkNivel3), n4 = textos::Color(s_.StkNivel4);

  QVector<FilaConsulta> salida;
  salida.reserve(filas);
  for (int r = 0; r < filas; ++r) {
    FilaConsulta f;
    f.textos.reserve(columnas);
    for (int c = 0; c < columnas; ++c) {
      // Sub-items are right-aligned by the list service with no width: the text as it is.
      QString t = textos::DeValor(datos[c][r]);
      f.textos << (c == 0 ? t.trimmed() : t);
    }
    if (esArticulos_ && colPunto >= 0 && colStock >= 0) {
      const double punto = Importe(datos[colPunto][r]);
      const double stock = Importe(datos[colStock][r]);
      if (punto == 0 && stock > 0)
        f.color = n1;
      else if (punto > 0 && stock > punto)
        f.color = n2;
      else if (punto > 0 && stock < punto)
        f.color = n3;
      else
        f.color = n4;
      f.negrita = colorear && f.color.has_value();
    }
    if (s_.CheckBoxes && colDevuelto >= 0) {
      const QString clave = textos::DeValor(datos[colDevuelto][r]).trimmed();
      // An empty key is part of every text; it pre-checks nothing.
      f.marcada = !clave.isEmpty() && defecto.contains(clave, Qt::CaseInsensitive);
    }
    salida.push_back(std::move(f));
  }
  modelo_.Reiniciar(modelo_.Encabezados(), std::move(salida));
}

void ListaConsulta::Ordenar() {
  if (ordenado_) modelo_.sort(columnaOrden_, orden_);
}

QString ListaConsulta::CarpetaDeAnchos() const {
  if (!carpeta_.isEmpty()) return carpeta_;
  const QString ruta = RutaParaActualizar(UbicarArchivoPropio(anchos::Archivo()));
  return QFileInfo(ruta).absolutePath();
}

void ListaConsulta::CargarAnchos() {
  const QString ruta = carpeta_.isEmpty() ? UbicarArchivoPropio(anchos::Archivo()).leer
                                          : QDir(carpeta_).filePath(anchos::Archivo());
  if (!QFileInfo::exists(ruta)) return;
  if (tablaConsulta_.compare(QLatin1String("Stk_ma_articulos"), Qt::CaseInsensitive) == 0)
    tablaConsulta_ = QStringLiteral("VT_MA_ARTICULOS");
  for (const QVector<double>& linea : anchos::Leer(ruta, tablaConsulta_))
    for (int i = 0; i < anchos_.size() && i < linea.size(); ++i) anchos_[i] = linea[i];
}

void ListaConsulta::Descargar() {
  trampa::Ejecutar({
                       [&] {
                         if (s_.GrabarCfg) anchos::Grabar(CarpetaDeAnchos(), tablaConsulta_, anchos_);
                       },
                       [&] { modelo_.Vaciar(); },
                   },
                   [](const ado::ErrorInfo& e, std::size_t) {
                     logerrores::Avisar(QStringLiteral("Form_Unload"), e.Description, vb::Critical,
                                        QStringLiteral("Aviso al Operador"));
                     return trampa::Siguiente;
                   });
}

int ListaConsulta::IndiceColumna(const QString& columna) const {
  const QString buscada = columna.trimmed();
  const QStringList& e = modelo_.Encabezados();
  for (int i = 0; i < e.size(); ++i)
    if (e[i].trimmed().compare(buscada, Qt::CaseInsensitive) == 0) return i + 1;
  return 0;
}

int ListaConsulta::Busqueda(int clave, const QString& valor) const {
  return buscador_.Primera(clave < 1 ? 0 : clave, valor);
}

QString ListaConsulta::ValorEnColumna(int fila, int columna) const {
  if (columna < 1) throw ado::Failure(35600, QStringLiteral("El índice está fuera de los límites"));
  return modelo_.Texto(fila, columna - 1);
}

void ListaConsulta::FocoCaja(int caja) { indiceBusqueda_ = caja; }

void ListaConsulta::FijarCaja(int caja, const QString& texto, bool buscar) {
  if (caja < 0) return;
  while (cajas_.size() <= caja) {
    cajas_ << QString();
    etiquetas_ << QString();
  }
  cajas_[caja] = texto;
  emit TextoCaja(caja, texto);
  if (buscar) CambioCaja(caja, texto);
}

void ListaConsulta::CambioCaja(int caja, const QString& texto) {
  if (caja < 0) return;
  while (cajas_.size() <= caja) {
    cajas_ << QString();
    etiquetas_ << QString();
  }
  cajas_[caja] = texto;
  const int fila = Busqueda(caja, texto.trimmed());
  if (fila >= 0) {
    fila_ = fila;
    emit FilaElegida(fila);
  }
}

void ListaConsulta::TeclaCaja(int caja, int tecla) {
  if (caja < 0 || caja >= cajas_.size()) return;
  switch (tecla) {
    case teclas::F5: {
      trampa::IgnorarErrores({[&] {
        QString texto = cajas_[caja];
        filtros::Busqueda modo = filtros::Busqueda::Contiene;
        if (!s_.CfgUsaConsultaLIKE) {
          texto.replace(QLatin1Char('*'), QLatin1Char('%'));
          FijarCaja(caja, texto, false);
          modo = filtros::Busqueda::EmpiezaCon;
        }
        filtros::EstadoFiltro estado{sentenciaBase_, parteOrden_};
        s_.SQL = filtros::FiltrarLista(s_.SQL, etiquetas_[caja], texto, modo, estado);
        parteOrden_ = estado.ParteOrden;
        FijarCaja(caja, QString(), false);
        sentenciaBase_ = s_.SQL;
        Cargar();
      }});
      break;
    }
    case teclas::Abajo:
    case teclas::Arriba:
    case teclas::AvPag:
    case teclas::RePag:
      TeclaLista(tecla, 0);
      emit FocoEnLista();
      break;
    default:
      break;
  }
}

QString ListaConsulta::PedirCantidad(const QString& actual) {
  const auto c = numero::Convencion::DelPuesto();
  const QString cero = QStringLiteral("0.######");
  // Offered as the operator types it, so that accepting it as it stands is no error.
  const auto guardada = numero::LeerPlano(actual);
  QString respuesta = guardada ? guardada->Escrito(c) : actual;
  for (;;) {
    respuesta = ElOperador().InputBox(QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                      QStringLiteral("Carga de Datos"), respuesta);
    // A cancelled box, or zero, leaves no quantity.
    if (respuesta.trimmed().isEmpty() || respuesta.trimmed() == cero) return cero;
    if (const auto n = numero::Leer(respuesta, c))
      return n->Plano() == QLatin1String("0") ? cero : n->Plano();
    // Any other text is no quantity at all: said, and asked again.
    ElOperador().MsgBox(QStringLiteral("La Cantidad no acepta \"%1\".\r\nEscriba un número, como %2.")
                            .arg(respuesta.trimmed(), numero::Ejemplo(c, 2)),
                        vb::Exclamation, QStringLiteral("Carga de Datos"));
  }
}

void ListaConsulta::CambiarCantidad(int tecla, int shift) {
  if (fila_ < 0) return;  // nothing selected: nothing to count
  int columna = 0;
  QString nueva;
  trampa::Ejecutar({
                       [&] {
                         columna = IndiceColumna(QStringLiteral("**Cantidad**")) - 1;
                         if (columna < 0)
                           throw ado::Failure(35600, QStringLiteral("El índice está fuera de los límites"));
                       },
                       [&] {
                         const QString actual = modelo_.Texto(fila_, columna);
                         if (tecla == teclas::Insertar && shift == teclas::ShiftMask) {
                           nueva = textos::FormatoCantidad(PedirCantidad(actual), 2);
                         } else if (tecla == teclas::Insertar) {
                           nueva = textos::FormatoCantidad(textos::Cantidad(actual) + 1, 1);
                         } else {
                           nueva = textos::FormatoCantidad(textos::Cantidad(actual) - 1, 1);
                         }
                       },
                       [&] { modelo_.FijarTexto(fila_, columna, nueva); },
                       [&] {
                         if (tecla == teclas::Insertar) {
                           modelo_.Marcar(fila_, true);
                         } else if (textos::Cantidad(nueva) <= 0) {
                           modelo_.Marcar(fila_, false);
                           modelo_.FijarTexto(fila_, columna, textos::FormatoCantidad(0.0, 2));
                         }
                       },
                   },
                   ErrorA(QStringLiteral("ListView1_KeyDown")));
}

bool ListaConsulta::TeclaLista(int tecla, int shift, const QString& texto) {
  if (tecla == teclas::Espacio && s_.CheckBoxes) return false;  // the list toggles the check itself
  if (tecla == teclas::Enter) {
    Aceptar();
    return true;
  }
  if (s_.UsaCantidades && ((tecla == teclas::Insertar && (shift == teclas::ShiftMask || shift == 0)) ||
                           (tecla == teclas::Suprimir && shift == 0))) {
    CambiarCantidad(tecla, shift);
    return true;
  }
  const bool escribe = (tecla >= 47 && tecla <= 93) || (tecla >= 97 && tecla <= 125) ||
                       tecla == teclas::Retroceso || tecla == teclas::Espacio;
  if (!escribe) return false;
  const int caja = indiceBusqueda_ >= 0 && indiceBusqueda_ < visibles_ ? indiceBusqueda_ : 0;
  if (caja >= cajas_.size()) return true;
  QString actual = cajas_[caja];
  // Backspace takes back the last character; keys that type nothing add nothing.
  if (tecla == teclas::Retroceso) {
    actual.chop(1);
  } else if (!texto.isEmpty() && texto.at(0).isPrint()) {
    actual += texto;
  } else if (texto.isEmpty() && ((tecla >= 47 && tecla <= 93) || tecla == teclas::Espacio)) {
    actual += QChar(tecla);
  } else {
    return true;
  }
  FijarCaja(caja, actual, true);
  emit FocoEnCaja(caja);
  return true;
}

bool ListaConsulta::TeclaFormulario(int tecla) {
  if (tecla != teclas::F12 || !esArticulos_) return false;
  if (fila_ < 0) return true;
  QString id, descripcion;
  const int cId = IndiceColumna(QStringLiteral("idarticulo"));
  const int cDes = IndiceColumna(QStringLiteral("Descripcion"));
  if (cId > 0) id = modelo_.Texto(fila_, cId - 1);
  if (cDes > 0) descripcion = modelo_.Texto(fila_, cDes - 1);
  const QString pregunta = QStringLiteral("Desea informar el articulo ") + id.trimmed() + QLatin1Char(' ') +
                           descripcion.trimmed() + QStringLiteral("\r\ncomo un faltante de stock?");
  if (ElOperador().MsgBox(pregunta, vb::Question | vb::YesNo, QStringLiteral("Atención!")) != vb::Yes)
    return true;
  QString sentencia = filtros::SentenciaFaltante(textos::FechaHoraGeneral(QDateTime::currentDateTime()),
                                                 Utilidades::Compartido().AlinearDerecha(id, 25), descripcion,
                                                 DB_Dll::Instancia().gUsuario);
  long afectadas = 0;
  DB_Dll::Instancia().EjecutaConsultaSQL(sentencia, afectadas);
  return true;
}

void ListaConsulta::ClickColumna(int columna) {
  trampa::IgnorarErrores({[&] {
    ordenado_ = true;
    columnaOrden_ = columna;
    orden_ = orden_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    Ordenar();
  }});
}

void ListaConsulta::SeleccionarFila(int fila) { fila_ = fila >= 0 && fila < modelo_.Filas() ? fila : -1; }

void ListaConsulta::FijarAnchoColumna(int columna, double twips) {
  if (columna < 0 || columna >= anchos_.size() || anchos_[columna] == twips) return;
  anchos_[columna] = twips;
  // The operator's widths are kept for the next lookup on the table.
  s_.GrabarCfg = true;
}

void ListaConsulta::Aceptar() {
  const auto errores = ErrorA(QStringLiteral("HScroll1_Change"));
  if (s_.CheckBoxes) {
    int c = 0;
    trampa::Ejecutar({
                         [&] {
                           if (s_.CampoDevuelto.isEmpty() && modelo_.Columnas() > 0)
                             s_.CampoDevuelto = modelo_.Encabezados().at(0);
                         },
                         [&] { c = IndiceColumna(s_.CampoDevuelto); },
                         [&] {
                           if (!s_.Valores) s_.Valores = std::make_shared<Coleccion>();
                           for (int r = 0; r < modelo_.Filas(); ++r)
                             if (modelo_.Marcada(r)) s_.Valores->append(ValorEnColumna(r, c));
                         },
                     },
                     errores);
  } else if (fila_ >= 0) {
    QString ultimo;
    std::vector<trampa::Paso> pasos;
    pasos.push_back([&] {
      if (!s_.Valores) s_.Valores = std::make_shared<Coleccion>();
    });
    if (s_.CmpsDevueltos) {
      const Coleccion campos = *s_.CmpsDevueltos;
      for (const ado::Value& campo : campos)
        pasos.push_back([&, campo] {
          ultimo = ValorEnColumna(fila_, IndiceColumna(campo.toString()));
          s_.Valores->append(ultimo);
        });
    }
    pasos.push_back([&] {
      const int c = s_.CampoDevuelto.trimmed().isEmpty() ? 0 : IndiceColumna(s_.CampoDevuelto);
      if (c > 0) ultimo = ValorEnColumna(fila_, c);
      s_.ValorDevuelto = ultimo;
    });
    trampa::Ejecutar(pasos, errores);
  }
  oculto_ = true;
  emit Ocultar();
}

void ListaConsulta::Cancelar() {
  s_.DescartarResultados();
  oculto_ = true;
  emit Ocultar();
}

void ListaConsulta::NuevaBusqueda() {
  trampa::IgnorarErrores({
      [&] { s_.SQL = sentenciaInicial_; },
      [&] { Cargar(); },
      [&] { emit FocoEnCaja(0); },
  });
}
