#pragma once
// What the list lookup dialog does, apart from its widgets: loading the rows
// of the statement, the search boxes, F5 filters, list keys, sorting, the
// stock-shortage report and the return of the chosen values.
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>

#include "lookup/BuscadorLista.h"
#include "lookup/ModeloConsulta.h"
#include "lookup/SolicitudesConsulta.h"
#include "platform/core/Value.h"

namespace teclas {
constexpr int Retroceso = 8;
constexpr int Enter = 13;
constexpr int Espacio = 32;
constexpr int RePag = 33;
constexpr int AvPag = 34;
constexpr int Arriba = 38;
constexpr int Abajo = 40;
constexpr int Insertar = 45;
constexpr int Suprimir = 46;
constexpr int F5 = 116;
constexpr int F12 = 123;
constexpr int ShiftMask = 1;
}  // namespace teclas

// One field of the statement: its name and defined size in characters.
struct CampoLista {
  QString nombre;
  long tamano = 0;
};

class ListaConsulta : public QObject {
  Q_OBJECT
 public:
  using LectorConfiguracion = std::function<QString(const QString& clave)>;
  // Width in twips of a text of n letters "X" in the form's font.
  using AnchoLetras = std::function<double(int n)>;

  static constexpr quint32 ColorFoco = 0xFFFF00;     // &HBBGGRR: cyan
  static constexpr quint32 ColorSinFoco = 0xFFFFFF;  // white

  explicit ListaConsulta(SolicitudLista& solicitud, QObject* padre = nullptr);

  void FijarLector(LectorConfiguracion lector) { lector_ = std::move(lector); }
  void FijarAnchoLetras(AnchoLetras ancho) { anchoLetras_ = std::move(ancho); }
  // Folder of the widths file; unless set, the program's or the user's data folder.
  void FijarCarpeta(const QString& carpeta) { carpeta_ = carpeta; }

  // Form_Load: runs the statement and fills columns, boxes and rows.
  void Cargar();
  // Form_Unload.
  void Descargar();
  // Encolumnar and Leer over fetched data: `datos` is [column][row].
  void Poblar(const QVector<CampoLista>& campos, const QVector<QVector<ado::Value>>& datos);

  // 1-based position of the column titled `columna` (trimmed, any case); 0 when none.
  int IndiceColumna(const QString& columna) const;
  // First row (list order) whose text in column `clave` starts with `valor`; -1 when none.
  int Busqueda(int clave, const QString& valor) const;

  // Operator events.
  void FocoCaja(int caja);
  void CambioCaja(int caja, const QString& texto);
  void TeclaCaja(int caja, int tecla);
  // `texto` is the typed character, if any. True when the key was handled.
  bool TeclaLista(int tecla, int shift, const QString& texto = {});
  bool TeclaFormulario(int tecla);
  void ClickColumna(int columna);
  void SeleccionarFila(int fila);
  // The operator resized a column: the widths are saved when the dialog unloads.
  void FijarAnchoColumna(int columna, double twips);
  void Aceptar();
  void Cancelar();
  void NuevaBusqueda();

  ModeloConsulta& Modelo() { return modelo_; }
  const ModeloConsulta& Modelo() const { return modelo_; }
  SolicitudLista& Solicitud() { return s_; }
  int FilaActual() const { return fila_; }
  const QStringList& TextosCajas() const { return cajas_; }
  const QStringList& CamposCajas() const { return etiquetas_; }
  int CajasVisibles() const { return visibles_; }
  int IndiceBusqueda() const { return indiceBusqueda_; }
  const QVector<double>& Anchos() const { return anchos_; }
  QString TablaConsulta() const { return tablaConsulta_; }
  QString SentenciaBase() const { return sentenciaBase_; }
  QString SentenciaInicial() const { return sentenciaInicial_; }
  bool EsArticulos() const { return esArticulos_; }
  bool Ordenado() const { return ordenado_; }
  int ColumnaOrden() const { return columnaOrden_; }
  Qt::SortOrder Orden() const { return orden_; }
  bool Oculto() const { return oculto_; }

 signals:
  void Recargado();
  void FilaElegida(int fila);
  void TextoCaja(int caja, const QString& texto);
  void FocoEnCaja(int caja);
  void FocoEnLista();
  void Ocultar();

 private:
  void Encolumnar(const QVector<CampoLista>& campos);
  void CargarAnchos();
  QString CarpetaDeAnchos() const;
  void Ordenar();
  void FijarCaja(int caja, const QString& texto, bool buscar);
  // The quantity the operator types in the input box: a number in the
  // workstation's convention as plain text, or "0.######" for none (cancelled
  // or zero); any other text is refused and asked again.
  QString PedirCantidad(const QString& actual);
  void CambiarCantidad(int tecla, int shift);
  QString ValorEnColumna(int fila, int columna) const;

  SolicitudLista& s_;
  ModeloConsulta modelo_;
  mutable BuscadorLista buscador_{modelo_};
  LectorConfiguracion lector_;
  AnchoLetras anchoLetras_;
  QString carpeta_;

  bool esArticulos_ = false;
  QString tablaConsulta_;
  QString sentenciaBase_;
  QString sentenciaInicial_;
  QString parteOrden_;
  int indiceBusqueda_ = 0;
  int fila_ = -1;
  QStringList cajas_;
  QStringList etiquetas_;
  int visibles_ = 0;
  QVector<double> anchos_;
  bool ordenado_ = false;
  int columnaOrden_ = 0;
  Qt::SortOrder orden_ = Qt::AscendingOrder;
  bool oculto_ = false;
};
