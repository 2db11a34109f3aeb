#pragma once
// What the tree lookup dialog does, apart from its widgets: the hierarchy
// built from the lengths of the codes, search, F5, check propagation and the
// return of the chosen code.
#include <QObject>
#include <QString>
#include <QVector>
#include <utility>

#include "lookup/SolicitudesConsulta.h"

struct NodoArbol {
  QString clave;  // "A" & code
  QString texto;  // code & " - " & description
  int padre = -1;
  QVector<int> hijos;
  bool marcado = false;
};

class ArbolConsulta : public QObject {
  Q_OBJECT
 public:
  // How deep a check reaches below the node that changed.
  static constexpr int NivelesMarcado = 3;

  explicit ArbolConsulta(SolicitudArbol& solicitud, QObject* padre = nullptr);

  // Form_Load: new Valores, then the tree from the statement.
  void Cargar();
  // ArmarTreeVAutomatico.
  void Armar();
  // The nodes of (code, description) rows, in the rows' order. Node 0 is the root.
  void Construir(const QVector<std::pair<QString, QString>>& filas);
  void Descargar();

  void CambioBusqueda(const QString& texto);
  void TeclaBusqueda(int tecla);
  // The check box of a node changed: descendants down to NivelesMarcado follow it.
  void MarcarNodo(int nodo, bool marcado);
  void SeleccionarNodo(int nodo) { seleccionado_ = nodo; }
  void Aceptar();
  void Cancelar();
  void NuevaBusqueda();

  const QVector<NodoArbol>& Nodos() const { return nodos_; }
  int Seleccionado() const { return seleccionado_; }
  QString TextoBusqueda() const { return busqueda_; }
  QString EtiquetaBusqueda() const { return etiqueta_; }
  SolicitudArbol& Solicitud() { return s_; }
  bool Oculto() const { return oculto_; }

 signals:
  void Reconstruido();
  void NodoElegido(int nodo);
  void MarcasCambiadas();
  void TextoBusquedaCambiado(const QString& texto);
  void FocoEnArbol();
  void Ocultar();

 private:
  void Agregar(int padre, const QString& clave, const QString& texto);

  SolicitudArbol& s_;
  QVector<NodoArbol> nodos_;
  int seleccionado_ = -1;
  QString busqueda_;
  QString etiqueta_;
  QString sentenciaBase_;
  QString parteOrden_;
  bool oculto_ = false;
};
