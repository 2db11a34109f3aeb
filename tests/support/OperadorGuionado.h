#pragma once
// A scripted operator for tests: records every message box, input box, file
// dialog and modal dialog, and answers from queues.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/services/Operador.h"

class OperadorGuionado : public Operador {
 public:
  struct Mensaje {
    QString prompt;
    int style;
    QString title;
  };
  using Manejador = std::function<void(DialogoModal&)>;

  // Installs a fresh scripted operator and returns it.
  static std::shared_ptr<OperadorGuionado> Instalar();

  // Queued answers; an empty queue answers the box's first button
  // (OK, Abort, Yes or Retry) and records that it had to.
  void Responder(int respuesta) { respuestas.push_back(respuesta); }

  void Escribir(const QString& texto) { textos.push_back(texto); }
  void ElegirArchivo(const QString& ruta) { archivos.push_back(ruta); }
  // Queued handlers for modal dialogs; with none queued the dialog runs
  // through the registered runner (if any) or is left untouched.
  void AlMostrar(Manejador m) { manejadores.push_back(std::move(m)); }

  int MsgBox(const QString& prompt, int style, const QString& title) override;
  QString InputBox(const QString& prompt, const QString& title, const QString& defecto) override;
  QString AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  void MostrarModal(DialogoModal& dialogo) override;
  void CursorEspera(bool enEspera) override;

  std::vector<Mensaje> mensajes;
  std::vector<Mensaje> entradas;  // input boxes: prompt, 0, title
  QStringList dialogos;           // names of the modal dialogs shown
  QStringList filtros;            // file dialog filters
  int sinGuion = 0;               // boxes answered without a queued answer
  int esperas = 0;                // times the wait cursor went on
  bool enEspera = false;          // the wait cursor is on
  int cajasEnEspera = 0;          // boxes shown under the wait cursor
  std::deque<int> respuestas;

  std::deque<QString> textos;
  std::deque<QString> archivos;
  std::deque<Manejador> manejadores;
};
